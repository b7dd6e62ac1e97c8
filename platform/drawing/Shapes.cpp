#include "platform/drawing/Shapes.h"

#include <algorithm>

#include "platform/drawing/Modes.h"
#include "platform/drawing/PixelChanges.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Raster.h"
#include "platform/drawing/Recording.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/ShapeRegions.h"
#include "platform/pictures/PictureHooks.h"
#include "platform/pictures/PixPats.h"

namespace platform {

namespace {

Rect32 Intersect(const Rect32& a, const Rect32& b)
{
    return {std::max(a.top, b.top), std::max(a.left, b.left), std::min(a.bottom, b.bottom),
            std::min(a.right, b.right)};
}

// What the port can show: no drawing outside it can change a pixel, so
// the work of a shape is bounded by it.
Rect32 VisibleLimit(GrafPort* port)
{
    if (IsRecordingRegion() || !port || !port->portPixMap || !*port->portPixMap)
        return kAllRows;
    Rect32 limit = ToRect32((*port->portPixMap)->bounds);
    if (RegionData(port->clipRgn))  // an empty clip shows nothing
        limit = Intersect(limit, GetRegionBounds32(port->clipRgn));
    if (!EmptyRgn(port->visRgn))
        limit = Intersect(limit, GetRegionBounds32(port->visRgn));
    return limit;
}

// The rows worth computing for a shape framed afterwards (FrameOf): what
// the port can show, widened by the pen so that the frame never sees the
// cut as an edge.
Rect32 DrawLimit(GrafPort* port)
{
    const Rect32 limit = VisibleLimit(port);
    if (IsRecordingRegion() || !port)
        return limit;
    int32_t padH = std::max<int32_t>(port->pnSize.h, 0) + 1, padV = std::max<int32_t>(port->pnSize.v, 0) + 1;
    return {limit.top - padV, limit.left - padH, limit.bottom + padV, limit.right + padH};
}

// Keeps what lies within the limit (for shapes whose every pixel then
// costs work of its own, such as arcs).
void CutTo(pixman_region32_t* shape, const Rect32& limit)
{
    if (limit.left >= limit.right || limit.top >= limit.bottom) {
        pixman_region32_clear(shape);
        return;
    }
    pixman_region32_intersect_rect(shape, shape, limit.left, limit.top, uint32_t(int64_t(limit.right) - limit.left),
                                   uint32_t(int64_t(limit.bottom) - limit.top));
}

bool PenShows(GrafPort* port)
{
    return port && port->pnVis >= 0;
}

// A pixel pattern set by picture playback stands in for its one-bit pattern.
void Paint(GrafPort* port, const pixman_region32_t* shape, const Pattern& pat, const PixPatTile* pixPat,
           int16_t mode)
{
    if (pixPat)
        PaintPixPatShape(port, shape, *pixPat, mode);
    else
        PaintShape(port, shape, pat, mode);
}

// Draws a closed shape with a verb; frames are recorded as outlines while
// a region is open.
void DrawShape(GrafVerb verb, pixman_region32_t* shape)
{
    GrafPtr port = GetQDGlobalsThePort();
    if (!port)
        return;
    if (verb == kFrame && IsRecordingRegion()) {
        RecordOutline(shape);
        return;
    }
    if (!PenShows(port))
        return;
    switch (verb) {
    case kFrame:
        FrameOf(shape, port->pnSize.h, port->pnSize.v);
        Paint(port, shape, port->pnPat, port->pnPixPat, port->pnMode);
        break;
    case kPaint: Paint(port, shape, port->pnPat, port->pnPixPat, port->pnMode); break;
    case kErase: Paint(port, shape, port->bkPat, port->bkPixPat, patCopy); break;
    case kInvert: InvertShape(port, shape); break;
    case kFill: Paint(port, shape, port->fillPat, port->fillPixPat, patCopy); break;
    }
}

// A round rectangle or oval with a verb. Its frame is made row by row in
// what the port shows, so that a wide pen costs no more than a thin one;
// while a region is recorded, it is the outline that is kept.
void DrawRoundRect(GrafVerb verb, const Rect& r, int32_t ovalWidth, int32_t ovalHeight)
{
    GrafPtr port = GetQDGlobalsThePort();
    ScratchRegion shape;
    if (verb == kFrame && port && !IsRecordingRegion()) {
        if (!PenShows(port))
            return;
        FramedRoundRectShape(&shape.r, ToRect32(r), ovalWidth, ovalHeight, port->pnSize.h, port->pnSize.v,
                             VisibleLimit(port));
        DrawShape(kPaint, &shape.r);
        return;
    }
    RoundRectShape(&shape.r, ToRect32(r), ovalWidth, ovalHeight, DrawLimit(port));
    DrawShape(verb, &shape.r);
}

// How the lines of one DrawLines call may share their pixels: painted once
// where any line covers them (a second painting changes nothing), where an
// odd number do (a second painting undoes the first), or line by line.
enum class Overlap { Any, Odd, Each };

Overlap OverlapOf(int16_t penMode)
{
    switch (KindOf(penMode)) {
    case OpKind::Copy:
    case OpKind::Or:
    case OpKind::Bic:
    case OpKind::Transparent: return Overlap::Any;
    case OpKind::Xor: return Overlap::Odd;
    default: return Overlap::Each;
    }
}

QDProcs* Procs()
{
    GrafPtr port = GetQDGlobalsThePort();
    return port ? port->grafProcs : nullptr;
}

void SetFillPat(const Pattern* pat)
{
    GrafPtr port = GetQDGlobalsThePort();
    if (port && pat)
        port->fillPat = *pat;
}

void RectVerb(GrafVerb verb, const Rect* r)
{
    if (!r)
        return;
    QDProcs* p = Procs();
    if (p && p->rectProc)
        p->rectProc(verb, r);
    else
        StdRect(verb, r);
}

void OvalVerb(GrafVerb verb, const Rect* r)
{
    if (!r)
        return;
    QDProcs* p = Procs();
    if (p && p->ovalProc)
        p->ovalProc(verb, r);
    else
        StdOval(verb, r);
}

void RRectVerb(GrafVerb verb, const Rect* r, int16_t ow, int16_t oh)
{
    if (!r)
        return;
    QDProcs* p = Procs();
    if (p && p->rRectProc)
        p->rRectProc(verb, r, ow, oh);
    else
        StdRRect(verb, r, ow, oh);
}

void ArcVerb(GrafVerb verb, const Rect* r, int16_t start, int16_t arc)
{
    if (!r)
        return;
    QDProcs* p = Procs();
    if (p && p->arcProc)
        p->arcProc(verb, r, start, arc);
    else
        StdArc(verb, r, start, arc);
}

void PolyVerb(GrafVerb verb, PolyHandle poly)
{
    if (!poly || !*poly)
        return;
    QDProcs* p = Procs();
    if (p && p->polyProc)
        p->polyProc(verb, poly);
    else
        StdPoly(verb, poly);
}

void RgnVerb(GrafVerb verb, RgnHandle rgn)
{
    if (!RegionData(rgn))
        return;
    QDProcs* p = Procs();
    if (p && p->rgnProc)
        p->rgnProc(verb, rgn);
    else
        StdRgn(verb, rgn);
}

}  // namespace

void MoveTo(int16_t h, int16_t v)
{
    if (GrafPtr port = GetQDGlobalsThePort())
        port->pnLoc = {v, h};
}

void Move(int16_t dh, int16_t dv)
{
    if (GrafPtr port = GetQDGlobalsThePort())
        port->pnLoc = {ClampTo16(port->pnLoc.v + dv), ClampTo16(port->pnLoc.h + dh)};
}

void LineTo(int16_t h, int16_t v)
{
    QDProcs* p = Procs();
    if (p && p->lineProc)
        p->lineProc({v, h});
    else
        StdLine({v, h});
}

void Line(int16_t dh, int16_t dv)
{
    if (GrafPtr port = GetQDGlobalsThePort())
        LineTo(ClampTo16(port->pnLoc.h + dh), ClampTo16(port->pnLoc.v + dv));
}

void DrawLines(const std::vector<std::pair<Point, Point>>& lines)
{
    GrafPtr port = GetQDGlobalsThePort();
    if (!port || lines.empty())
        return;
    const Overlap overlap = OverlapOf(port->pnMode);
    // A bottleneck or a recording sees every line; so does a mode where
    // each painting counts.
    const QDProcs* procs = port->grafProcs;
    if ((procs && procs->lineProc) || port->picSave || IsRecordingRegion() || IsRecordingPoly() ||
        overlap == Overlap::Each) {
        for (const auto& [from, to] : lines) {
            MoveTo(from.h, from.v);
            LineTo(to.h, to.v);
        }
        return;
    }
    port->pnLoc = lines.back().second;
    if (!PenShows(port))
        return;
    const Rect32 limit = VisibleLimit(port);
    std::vector<pixman_box32_t> boxes;
    ScratchRegion line;
    for (const auto& [from, to] : lines) {
        LineShape(&line.r, from, to, port->pnSize, limit);
        int n = 0;
        const pixman_box32_t* rows = pixman_region32_rectangles(&line.r, &n);
        for (int i = 0; i < n; ++i) {
            const pixman_box32_t b{std::max(rows[i].x1, limit.left), rows[i].y1, std::min(rows[i].x2, limit.right),
                                   rows[i].y2};
            if (b.x1 < b.x2)
                boxes.push_back(b);
        }
    }
    ScratchRegion shape;
    CoveredShape(&shape.r, boxes, overlap == Overlap::Odd);
    Paint(port, &shape.r, port->pnPat, port->pnPixPat, port->pnMode);
}

void StdLine(Point newPt)
{
    GrafPtr port = GetQDGlobalsThePort();
    if (!port)
        return;
    Point from = port->pnLoc;
    RecordLine(from, newPt);
    RecordPolyLine(from, newPt);
    PictRecordLine(port, from, newPt);
    if (PenShows(port)) {
        ScratchRegion shape;
        LineShape(&shape.r, from, newPt, port->pnSize, VisibleLimit(port));
        Paint(port, &shape.r, port->pnPat, port->pnPixPat, port->pnMode);
    }
    port->pnLoc = newPt;
}

void StdRect(GrafVerb verb, const Rect* r)
{
    if (!r)
        return;
    PictRecordShape(GetQDGlobalsThePort(), PictShape::Rect, verb, r, 0, 0);
    ScratchRegion shape;
    RectShape(&shape.r, ToRect32(*r));
    DrawShape(verb, &shape.r);
}

void StdOval(GrafVerb verb, const Rect* r)
{
    if (!r)
        return;
    PictRecordShape(GetQDGlobalsThePort(), PictShape::Oval, verb, r, 0, 0);
    DrawRoundRect(verb, *r, r->right - r->left, r->bottom - r->top);
}

void StdRRect(GrafVerb verb, const Rect* r, int16_t ovalWidth, int16_t ovalHeight)
{
    if (!r)
        return;
    PictRecordShape(GetQDGlobalsThePort(), PictShape::RRect, verb, r, ovalWidth, ovalHeight);
    DrawRoundRect(verb, *r, ovalWidth, ovalHeight);
}

void StdArc(GrafVerb verb, const Rect* r, int16_t startAngle, int16_t arcAngle)
{
    GrafPtr port = GetQDGlobalsThePort();
    PictRecordShape(port, PictShape::Arc, verb, r, startAngle, arcAngle);
    if (!r || !port || !PenShows(port))
        return;  // arcs are not outlines: nothing to record
    // The oval (or its outline) within what the port shows, then the
    // wedge, which looks at every pixel left.
    ScratchRegion shape;
    const Rect32 visible = VisibleLimit(port);
    const int32_t w = int32_t(r->right) - r->left, h = int32_t(r->bottom) - r->top;
    if (verb == kFrame)
        FramedRoundRectShape(&shape.r, ToRect32(*r), w, h, port->pnSize.h, port->pnSize.v, visible);
    else
        OvalShape(&shape.r, ToRect32(*r), visible);
    CutTo(&shape.r, visible);
    ArcWedge(&shape.r, ToRect32(*r), startAngle, arcAngle);
    DrawShape(verb == kFrame ? kPaint : verb, &shape.r);
}

void StdPoly(GrafVerb verb, PolyHandle poly)
{
    GrafPtr port = GetQDGlobalsThePort();
    int32_t n = PolyPointCount(poly);
    const Point* pts = PolyPoints(poly);
    if (!port || n < 1)
        return;
    PictRecordPoly(port, verb, poly);
    if (verb == kFrame) {
        // The pen follows the points; a closed polygon repeats its first
        // point. An open picture has the polygon already, not its lines.
        Point saved = port->pnLoc;
        PictureRecorder* picture = port->picSave;
        port->picSave = nullptr;
        port->pnLoc = pts[0];
        for (int32_t i = 1; i < n; ++i)
            StdLine(pts[i]);
        port->pnLoc = saved;
        port->picSave = picture;
        return;
    }
    std::vector<Edge> edges;
    for (int32_t i = 0; i < n; ++i) {
        const Point& a = pts[i];
        const Point& b = pts[(i + 1) % n];
        edges.push_back({a.h, a.v, b.h, b.v});
    }
    ScratchRegion shape;
    EdgesShape(&shape.r, edges, DrawLimit(port));
    DrawShape(verb, &shape.r);
}

void StdRgn(GrafVerb verb, RgnHandle rgn)
{
    pixman_region32_t* data = RegionData(rgn);
    if (!data)
        return;
    PictRecordRgn(GetQDGlobalsThePort(), verb, rgn);
    ScratchRegion shape;
    pixman_region32_copy(&shape.r, data);
    DrawShape(verb, &shape.r);
}

void SetStdProcs(QDProcs* procs)
{
    if (procs)
        *procs = QDProcs{};
}

void FrameRect(const Rect* r) { RectVerb(kFrame, r); }
void PaintRect(const Rect* r) { RectVerb(kPaint, r); }
void EraseRect(const Rect* r) { RectVerb(kErase, r); }
void InvertRect(const Rect* r) { RectVerb(kInvert, r); }
void FillRect(const Rect* r, const Pattern* pat)
{
    SetFillPat(pat);
    RectVerb(kFill, r);
}

void FrameOval(const Rect* r) { OvalVerb(kFrame, r); }
void PaintOval(const Rect* r) { OvalVerb(kPaint, r); }
void EraseOval(const Rect* r) { OvalVerb(kErase, r); }
void InvertOval(const Rect* r) { OvalVerb(kInvert, r); }
void FillOval(const Rect* r, const Pattern* pat)
{
    SetFillPat(pat);
    OvalVerb(kFill, r);
}

void FrameRoundRect(const Rect* r, int16_t w, int16_t h) { RRectVerb(kFrame, r, w, h); }
void PaintRoundRect(const Rect* r, int16_t w, int16_t h) { RRectVerb(kPaint, r, w, h); }
void EraseRoundRect(const Rect* r, int16_t w, int16_t h) { RRectVerb(kErase, r, w, h); }
void InvertRoundRect(const Rect* r, int16_t w, int16_t h) { RRectVerb(kInvert, r, w, h); }
void FillRoundRect(const Rect* r, int16_t w, int16_t h, const Pattern* pat)
{
    SetFillPat(pat);
    RRectVerb(kFill, r, w, h);
}

void FrameArc(const Rect* r, int16_t s, int16_t a) { ArcVerb(kFrame, r, s, a); }
void PaintArc(const Rect* r, int16_t s, int16_t a) { ArcVerb(kPaint, r, s, a); }
void EraseArc(const Rect* r, int16_t s, int16_t a) { ArcVerb(kErase, r, s, a); }
void InvertArc(const Rect* r, int16_t s, int16_t a) { ArcVerb(kInvert, r, s, a); }
void FillArc(const Rect* r, int16_t s, int16_t a, const Pattern* pat)
{
    SetFillPat(pat);
    ArcVerb(kFill, r, s, a);
}

void FramePoly(PolyHandle poly) { PolyVerb(kFrame, poly); }
void PaintPoly(PolyHandle poly) { PolyVerb(kPaint, poly); }
void ErasePoly(PolyHandle poly) { PolyVerb(kErase, poly); }
void InvertPoly(PolyHandle poly) { PolyVerb(kInvert, poly); }
void FillPoly(PolyHandle poly, const Pattern* pat)
{
    SetFillPat(pat);
    PolyVerb(kFill, poly);
}

void FrameRgn(RgnHandle rgn) { RgnVerb(kFrame, rgn); }
void PaintRgn(RgnHandle rgn) { RgnVerb(kPaint, rgn); }
void EraseRgn(RgnHandle rgn) { RgnVerb(kErase, rgn); }
void InvertRgn(RgnHandle rgn) { RgnVerb(kInvert, rgn); }
void FillRgn(RgnHandle rgn, const Pattern* pat)
{
    SetFillPat(pat);
    RgnVerb(kFill, rgn);
}

Boolean GetPixel(int16_t h, int16_t v)
{
    RGBColor c;
    GetCPixel(h, v, &c);
    return c.red == 0 && c.green == 0 && c.blue == 0;
}

void GetCPixel(int16_t h, int16_t v, RGBColor* color)
{
    if (!color)
        return;
    *color = {0xFFFF, 0xFFFF, 0xFFFF};
    GrafPtr port = GetQDGlobalsThePort();
    if (!port || !port->portPixMap)
        return;
    Surface s = MakeSurface(*port->portPixMap);
    if (s.Empty() || h < s.bounds.left || h >= s.bounds.right || v < s.bounds.top || v >= s.bounds.bottom)
        return;
    uint32_t rgb = s.ReadRGB(h, v);
    auto expand = [](uint32_t c) { return uint16_t((c & 0xFF) * 0x101); };
    *color = {expand(rgb >> 16), expand(rgb >> 8), expand(rgb)};
}

void SetCPixel(int16_t h, int16_t v, const RGBColor* color)
{
    GrafPtr port = GetQDGlobalsThePort();
    if (!color || !port || !port->portPixMap)
        return;
    Surface s = MakeSurface(*port->portPixMap);
    if (s.Empty() || (s.depth != 32 && s.depth != 1) || h < s.bounds.left || h >= s.bounds.right ||
        v < s.bounds.top || v >= s.bounds.bottom)
        return;
    NotePixelsWritten();
    s.WriteRGB(h, v, PackRGB(*color));
}

}  // namespace platform

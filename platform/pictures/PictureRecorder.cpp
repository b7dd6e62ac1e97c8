#include "platform/pictures/PictureRecorder.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/core/Memory.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Recording.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Text.h"
#include "platform/fonts/Fonts.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/pictures/PictLayout.h"
#include "platform/pictures/PictureHooks.h"
#include "platform/pictures/StoredRegions.h"

namespace platform {

namespace {

bool SamePattern(const Pattern& a, const Pattern& b) { return std::memcmp(a.pat, b.pat, 8) == 0; }
bool SameColor(const RGBColor& a, const RGBColor& b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// Runs one recording step; memory running out spoils the picture, never
// the caller's drawing.
template <typename F>
void Guard(PictureRecorder* rec, F step)
{
    // Outlines that define a region or a polygon are not drawing.
    if (!rec || rec->outOfMemory || IsRecordingRegion() || IsRecordingPoly())
        return;
    try {
        step();
    } catch (const std::bad_alloc&) {
        rec->outOfMemory = true;
    }
}

uint16_t VerbOp(uint16_t base, GrafVerb verb) { return uint16_t(base + uint16_t(verb)); }

void SyncFor(PictureRecorder* rec, GrafVerb verb)
{
    rec->SyncCommon();
    GrafPtr port = rec->port;
    PictWriter& w = rec->writer;
    if (verb == kFrame || verb == kPaint)
        rec->SyncPen();
    if (verb == kErase && !SamePattern(rec->bkPat, port->bkPat)) {
        w.Op(opBkPat);
        w.Pat(port->bkPat);
        rec->bkPat = port->bkPat;
    }
    if (verb == kInvert && !(LMGetHiliteMode() & 0x80)) {
        // The next inversion highlights: the picture says so with its colour.
        if (!SameColor(rec->hilite, port->rgbHiliteColor)) {
            w.Op(opHiliteColor);
            w.RGB(port->rgbHiliteColor);
            rec->hilite = port->rgbHiliteColor;
        }
        w.Op(opHiliteMode);
        // The switch serves one inversion, drawn or only recorded.
        if (port->pnVis < 0)
            LMSetHiliteMode(uint8_t(LMGetHiliteMode() | 0x80));
    }
    if (verb == kFill && !SamePattern(rec->fillPat, port->fillPat)) {
        w.Op(opFillPat);
        w.Pat(port->fillPat);
        rec->fillPat = port->fillPat;
    }
}

// Copies the rows of `area` (inside the map) out of a one-bit or indexed
// map as raw bits, rows aligned to even lengths.
std::vector<uint8_t> RawRows(const Surface& s, const Rect& area, int32_t* rowBytes)
{
    const int32_t w = area.right - area.left, h = area.bottom - area.top, d = s.depth;
    *rowBytes = (w * d + 15) / 16 * 2;
    std::vector<uint8_t> rows(size_t(*rowBytes) * size_t(h));
    const int32_t perByte = 8 / d, mask = (1 << d) - 1;
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* src = s.base + int64_t(area.top + y - s.bounds.top) * s.rowBytes;
        uint8_t* dst = rows.data() + int64_t(y) * *rowBytes;
        for (int32_t x = 0; x < w; ++x) {
            int32_t sx = area.left + x - s.bounds.left;
            int32_t v = (src[sx / perByte] >> ((perByte - 1 - sx % perByte) * d)) & mask;
            dst[x / perByte] |= uint8_t(v << ((perByte - 1 - x % perByte) * d));
        }
    }
    return rows;
}

}  // namespace

void PictureRecorder::SyncCommon()
{
    GrafPtr p = port;
    PictWriter& w = writer;
    Point now{p->portRect.top, p->portRect.left};
    if (now.h != origin.h || now.v != origin.v) {
        w.Op(opOrigin);
        w.U16(uint16_t(int16_t(now.h - origin.h)));
        w.U16(uint16_t(int16_t(now.v - origin.v)));
        origin = now;
    }
    if (!EqualRgn(clip, p->clipRgn)) {
        w.Op(opClip);
        if (!AppendStoredRegion(p->clipRgn, &w.bytes())) {
            // Too many rows for a stored region: its bounds stand in.
            RgnHandle box = NewRgn();
            Rect r{};
            GetRegionBounds(p->clipRgn, &r);
            RectRgn(box, &r);
            AppendStoredRegion(box, &w.bytes());
            DisposeRgn(box);
        }
        CopyRgn(p->clipRgn, clip);
    }
    if (!SameColor(fore, p->rgbFgColor)) {
        w.Op(opRGBFgCol);
        w.RGB(p->rgbFgColor);
        fore = p->rgbFgColor;
    }
    if (!SameColor(back, p->rgbBkColor)) {
        w.Op(opRGBBkCol);
        w.RGB(p->rgbBkColor);
        back = p->rgbBkColor;
    }
    if (!SameColor(opColor, p->rgbOpColor)) {
        w.Op(opOpColor);
        w.RGB(p->rgbOpColor);
        opColor = p->rgbOpColor;
    }
}

void PictureRecorder::SyncPen()
{
    GrafPtr p = port;
    PictWriter& w = writer;
    if (pnSize.h != p->pnSize.h || pnSize.v != p->pnSize.v) {
        w.Op(opPnSize);
        w.P(p->pnSize);
        pnSize = p->pnSize;
    }
    if (pnMode != p->pnMode) {
        w.Op(opPnMode);
        w.U16(uint16_t(p->pnMode));
        pnMode = p->pnMode;
    }
    if (!SamePattern(pnPat, p->pnPat)) {
        w.Op(opPnPat);
        w.Pat(p->pnPat);
        pnPat = p->pnPat;
    }
}

void PictureRecorder::SyncText()
{
    GrafPtr p = port;
    PictWriter& w = writer;
    // Numbers differ between systems: the name travels with the picture.
    if (std::find(namedFonts.begin(), namedFonts.end(), p->txFont) == namedFonts.end()) {
        Str255 name{};
        GetFontName(p->txFont, name);
        w.Op(opFontName);
        w.U16(uint16_t(3 + name[0]));
        w.U16(uint16_t(p->txFont));
        w.Bytes(name, size_t(name[0]) + 1);
        namedFonts.push_back(p->txFont);
    }
    if (txFont != p->txFont) {
        w.Op(opTxFont);
        w.U16(uint16_t(p->txFont));
        txFont = p->txFont;
    }
    if (txFace != p->txFace) {
        w.Op(opTxFace);
        w.U8(p->txFace);
        txFace = p->txFace;
    }
    if (txMode != p->txMode) {
        w.Op(opTxMode);
        w.U16(uint16_t(p->txMode));
        txMode = p->txMode;
    }
    if (txSize != p->txSize) {
        w.Op(opTxSize);
        w.U16(uint16_t(p->txSize));
        txSize = p->txSize;
    }
    if (spExtra != p->spExtra) {
        w.Op(opSpExtra);
        w.U32(uint32_t(p->spExtra));
        spExtra = p->spExtra;
    }
    // The picture keeps the character extra in 4.12 fixed point.
    const int32_t chExtra412 = std::clamp<int32_t>(p->chExtra / 16, INT16_MIN, INT16_MAX);
    if (chExtra != chExtra412 * 16) {
        w.Op(opChExtra);
        w.U16(uint16_t(int16_t(chExtra412)));
        chExtra = chExtra412 * 16;
    }
}

void PictureRecorder::TextRun(Point at, const uint8_t* text, int32_t count)
{
    PictWriter& w = writer;
    int32_t dh = int32_t(at.h) - textLoc.h, dv = int32_t(at.v) - textLoc.v;
    bool shortH = dh >= 0 && dh <= 255, shortV = dv >= 0 && dv <= 255;
    if (!textLocKnown || !shortH || !shortV) {
        w.Op(opLongText);
        w.P(at);
    } else if (dv == 0) {
        w.Op(opDHText);
        w.U8(uint8_t(dh));
    } else if (dh == 0) {
        w.Op(opDVText);
        w.U8(uint8_t(dv));
    } else {
        w.Op(opDHDVText);
        w.U8(uint8_t(dh));
        w.U8(uint8_t(dv));
    }
    w.U8(uint8_t(count));
    w.Bytes(text, size_t(count));
    textLoc = at;
    textLocKnown = true;
}

void PictRecordText(GrafPtr port, int16_t byteCount, const void* text, Point numer, Point denom)
{
    PictureRecorder* rec = RecorderOf(port);
    if (!text || byteCount <= 0)
        return;
    Guard(rec, [&] {
        rec->SyncCommon();
        rec->SyncText();
        PictWriter& w = rec->writer;
        if (numer.h != rec->numer.h || numer.v != rec->numer.v || denom.h != rec->denom.h ||
            denom.v != rec->denom.v) {
            w.Op(opTxRatio);
            w.P(numer);
            w.P(denom);
            rec->numer = numer;
            rec->denom = denom;
        }
        // Runs of 255 bytes at most, each placed where the one before ended.
        const auto* bytes = static_cast<const uint8_t*>(text);
        Point at = port->pnLoc;
        for (int32_t done = 0; done < byteCount;) {
            int32_t n = std::min<int32_t>(255, byteCount - done);
            rec->TextRun(at, bytes + done, n);
            done += n;
            if (done < byteCount) {
                Point num = numer, den = denom;
                FontInfo info{};
                int16_t width = StdTxMeas(int16_t(n), bytes + done - n, &num, &den, &info);
                at.h = ClampTo16(at.h + width);
            }
        }
    });
}

void PictRecordLine(GrafPtr port, Point from, Point to)
{
    PictureRecorder* rec = RecorderOf(port);
    Guard(rec, [&] {
        rec->SyncCommon();
        rec->SyncPen();
        rec->writer.Op(opLine);
        rec->writer.P(from);
        rec->writer.P(to);
    });
}

void PictRecordShape(GrafPtr port, PictShape shape, GrafVerb verb, const Rect* r, int16_t a, int16_t b)
{
    PictureRecorder* rec = RecorderOf(port);
    if (!r)
        return;
    Guard(rec, [&] {
        SyncFor(rec, verb);
        PictWriter& w = rec->writer;
        switch (shape) {
        case PictShape::Rect: w.Op(VerbOp(opRect, verb)); break;
        case PictShape::Oval: w.Op(VerbOp(opOval, verb)); break;
        case PictShape::RRect:
            if (rec->ovSize.h != a || rec->ovSize.v != b) {
                rec->ovSize = {b, a};
                w.Op(opOvSize);
                w.P(rec->ovSize);
            }
            w.Op(VerbOp(opRRect, verb));
            break;
        case PictShape::Arc: w.Op(VerbOp(opArc, verb)); break;
        }
        w.R(*r);
        if (shape == PictShape::Arc) {
            w.U16(uint16_t(a));
            w.U16(uint16_t(b));
        }
    });
}

void PictRecordPoly(GrafPtr port, GrafVerb verb, PolyHandle poly)
{
    PictureRecorder* rec = RecorderOf(port);
    int32_t n = PolyPointCount(poly);
    if (n < 1 || 10 + 4 * n > 0x7FFF)
        return;
    Guard(rec, [&] {
        SyncFor(rec, verb);
        PictWriter& w = rec->writer;
        w.Op(VerbOp(opPoly, verb));
        w.U16(uint16_t(10 + 4 * n));
        w.R((*poly)->polyBBox);
        const Point* pts = PolyPoints(poly);
        for (int32_t i = 0; i < n; ++i)
            w.P(pts[i]);
    });
}

void PictRecordRgn(GrafPtr port, GrafVerb verb, RgnHandle rgn)
{
    PictureRecorder* rec = RecorderOf(port);
    Guard(rec, [&] {
        SyncFor(rec, verb);
        std::vector<uint8_t> stored;
        if (!AppendStoredRegion(rgn, &stored))
            return;
        rec->writer.Op(VerbOp(opRgn, verb));
        rec->writer.Bytes(stored.data(), stored.size());
    });
}

void PictRecordBits(GrafPtr port, const BitMap* src, const Rect* srcRect, const Rect* dstRect, int16_t mode,
                    RgnHandle maskRgn)
{
    PictureRecorder* rec = RecorderOf(port);
    if (!rec || !src || !srcRect || !dstRect)
        return;
    Surface s = MakeSurface(src);
    if (s.Empty())
        return;
    // Only the part of the source rectangle that the map holds is stored.
    Rect bounds = ClampToRect(s.bounds), area{};
    if (!SectRect(srcRect, &bounds, &area))
        return;
    Rect dst = area;
    MapRect(&dst, srcRect, dstRect);
    const int32_t w = area.right - area.left, h = area.bottom - area.top;
    Guard(rec, [&] {
        rec->SyncCommon();
        if (s.depth == 32 || (s.depth != 1 && !s.table)) {
            std::vector<uint32_t> px(size_t(w) * size_t(h));
            for (int32_t y = 0; y < h; ++y)
                for (int32_t x = 0; x < w; ++x)
                    px[size_t(y) * size_t(w) + size_t(x)] = s.ReadRGB(area.left + x, area.top + y);
            rec->writer.DirectBits(px.data(), w, h, area, area, dst, mode, maskRgn);
            return;
        }
        int32_t rowBytes = 0;
        std::vector<uint8_t> rows = RawRows(s, area, &rowBytes);
        if (s.indexedAsBits)
            rec->writer.BitmapBits(rows.data(), rowBytes, h, area, area, dst, mode, maskRgn);
        else
            rec->writer.IndexedBits(rows.data(), rowBytes, h, s.depth, area, s.table, s.tableCount, area, dst,
                                    mode, maskRgn);
    });
}

void PictRecordComment(GrafPtr port, int16_t kind, int16_t dataSize, Handle dataHandle)
{
    PictureRecorder* rec = RecorderOf(port);
    Guard(rec, [&] {
        PictWriter& w = rec->writer;
        int32_t size = dataHandle && *dataHandle && dataSize > 0 ? dataSize : 0;
        if (size > 0 && GetHandleSize(dataHandle) < size)
            size = GetHandleSize(dataHandle);
        if (size == 0) {
            w.Op(opShortComment);
            w.U16(uint16_t(kind));
            return;
        }
        w.Op(opLongComment);
        w.U16(uint16_t(kind));
        w.U16(uint16_t(size));
        w.Bytes(*dataHandle, size_t(size));
    });
}

}  // namespace platform

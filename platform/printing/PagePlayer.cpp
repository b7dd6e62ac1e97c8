#include "platform/printing/PagePlayer.h"

#include <cairo-ft.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Recording.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Text.h"
#include "platform/fonts/Fonts.h"

namespace platform {

namespace {

constexpr double kPi = 3.14159265358979323846;

// What the drawing procedures draw into while a page plays.
struct PageTarget {
    cairo_t* cr = nullptr;
    double lineScale = 1.0;  // from the line-width comment
    bool needsRaster = false;
    bool outOfMemory = false;
};
PageTarget* target = nullptr;

GrafPtr Port() { return GetQDGlobalsThePort(); }

void SetColor(cairo_t* cr, const RGBColor& c)
{
    cairo_set_source_rgb(cr, c.red / 65535.0, c.green / 65535.0, c.blue / 65535.0);
}

uint32_t Argb(const RGBColor& c)
{
    return 0xFF000000u | (uint32_t(c.red >> 8) << 16) | (uint32_t(c.green >> 8) << 8) | uint32_t(c.blue >> 8);
}

// Clips to the port's clip region (the picture's clip and the page).
void ApplyClip(cairo_t* cr, GrafPtr port)
{
    if (!port->clipRgn)
        return;
    for (const Rect32& r : GetRegionRects(port->clipRgn))
        cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    cairo_clip(cr);
}

bool ModeDrawable(int16_t mode) { return mode == patCopy || mode == patOr || mode == srcCopy || mode == srcOr; }
bool OrMode(int16_t mode) { return mode == patOr || mode == srcOr; }

// Sets the source for a pattern in the port's colours. False when the
// pattern draws nothing (white in or mode).
bool SetPatternSource(cairo_t* cr, const Pattern& pat, const RGBColor& fore, const RGBColor& back, bool orMode)
{
    bool allInk = true, noInk = true;
    for (uint8_t b : pat.pat) {
        allInk = allInk && b == 0xFF;
        noInk = noInk && b == 0x00;
    }
    if (allInk) {
        SetColor(cr, fore);
        return true;
    }
    if (noInk) {
        if (orMode)
            return false;
        SetColor(cr, back);
        return true;
    }
    cairo_surface_t* tile = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8);
    cairo_surface_flush(tile);
    uint8_t* data = cairo_image_surface_get_data(tile);
    int stride = cairo_image_surface_get_stride(tile);
    for (int v = 0; v < 8; ++v) {
        auto* row = reinterpret_cast<uint32_t*>(data + v * stride);
        for (int h = 0; h < 8; ++h) {
            bool ink = (pat.pat[v] >> (7 - h)) & 1;
            row[h] = ink ? Argb(fore) : (orMode ? 0u : Argb(back));
        }
    }
    cairo_surface_mark_dirty(tile);
    cairo_pattern_t* p = cairo_pattern_create_for_surface(tile);
    cairo_pattern_set_extend(p, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(p, CAIRO_FILTER_NEAREST);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
    cairo_surface_destroy(tile);
    return true;
}

// Chooses what a verb paints with; false when nothing is to be drawn
// (and flags the page for the rasteriser when Cairo cannot draw it).
bool PrepareVerb(cairo_t* cr, GrafPtr port, GrafVerb verb)
{
    if (port->pnVis < 0)
        return false;
    const Pattern* pat = nullptr;
    const PixPatTile* pix = nullptr;
    int16_t mode = patCopy;
    switch (verb) {
    case kFrame:
    case kPaint: pat = &port->pnPat, pix = port->pnPixPat, mode = port->pnMode; break;
    case kErase: pat = &port->bkPat, pix = port->bkPixPat; break;
    case kFill: pat = &port->fillPat, pix = port->fillPixPat; break;
    case kInvert: target->needsRaster = true; return false;
    }
    if (pix || !ModeDrawable(mode)) {
        target->needsRaster = true;
        return false;
    }
    return SetPatternSource(cr, *pat, port->rgbFgColor, port->rgbBkColor, OrMode(mode));
}

// Pen size in the page's units, scaled by the line-width comment.
void PenExtent(GrafPtr port, double* pw, double* ph)
{
    *pw = std::max<int16_t>(port->pnSize.h, 0) * target->lineScale;
    *ph = std::max<int16_t>(port->pnSize.v, 0) * target->lineScale;
}

void EllipsePath(cairo_t* cr, double left, double top, double right, double bottom, bool negative = false)
{
    if (right <= left || bottom <= top)
        return;
    cairo_save(cr);
    cairo_translate(cr, (left + right) / 2, (top + bottom) / 2);
    cairo_scale(cr, (right - left) / 2, (bottom - top) / 2);
    cairo_new_sub_path(cr);
    if (negative)
        cairo_arc_negative(cr, 0, 0, 1, 2 * kPi, 0);
    else
        cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void RoundRectPath(cairo_t* cr, double left, double top, double right, double bottom, double rw, double rh)
{
    if (right <= left || bottom <= top)
        return;
    rw = std::min(rw, (right - left) / 2);
    rh = std::min(rh, (bottom - top) / 2);
    if (rw <= 0 || rh <= 0) {
        cairo_rectangle(cr, left, top, right - left, bottom - top);
        return;
    }
    auto corner = [&](double cx, double cy, double from) {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, rw, rh);
        cairo_arc(cr, 0, 0, 1, from, from + kPi / 2);
        cairo_restore(cr);
    };
    cairo_new_sub_path(cr);
    corner(right - rw, top + rh, -kPi / 2);
    corner(right - rw, bottom - rh, 0);
    corner(left + rw, bottom - rh, kPi / 2);
    corner(left + rw, top + rh, kPi);
    cairo_close_path(cr);
}

// The area a pen of (pw, ph) covers going from a to b: the convex hull of
// the pen's rectangle at both ends.
void PenLinePath(cairo_t* cr, double ax, double ay, double bx, double by, double pw, double ph)
{
    struct P {
        double x, y;
    };
    std::vector<P> pts = {{ax, ay}, {ax + pw, ay}, {ax, ay + ph}, {ax + pw, ay + ph},
                          {bx, by}, {bx + pw, by}, {bx, by + ph}, {bx + pw, by + ph}};
    std::sort(pts.begin(), pts.end(), [](const P& a, const P& b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    auto cross = [](const P& o, const P& a, const P& b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); };
    std::vector<P> hull(16);
    size_t k = 0;
    for (const P& p : pts) {
        while (k >= 2 && cross(hull[k - 2], hull[k - 1], p) <= 0)
            --k;
        hull[k++] = p;
    }
    for (size_t i = pts.size() - 1, t = k + 1; i-- > 0;) {
        while (k >= t && cross(hull[k - 2], hull[k - 1], pts[i]) <= 0)
            --k;
        hull[k++] = pts[i];
    }
    if (k < 4)
        return;
    cairo_move_to(cr, hull[0].x, hull[0].y);
    for (size_t i = 1; i + 1 < k; ++i)
        cairo_line_to(cr, hull[i].x, hull[i].y);
    cairo_close_path(cr);
}

// Fills the current path inside the port's clip.
void FillClipped(cairo_t* cr, GrafPtr port, cairo_fill_rule_t rule)
{
    cairo_path_t* path = cairo_copy_path(cr);
    cairo_new_path(cr);
    cairo_save(cr);
    ApplyClip(cr, port);
    cairo_append_path(cr, path);
    cairo_set_fill_rule(cr, rule);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_path_destroy(path);
}

void DrawRectangular(GrafVerb verb, const Rect* r, double rw, double rh, bool oval)
{
    GrafPtr port = Port();
    cairo_t* cr = target->cr;
    if (!port || !r || r->right <= r->left || r->bottom <= r->top)
        return;
    cairo_new_path(cr);
    if (!PrepareVerb(cr, port, verb))
        return;
    auto shape = [&](double l, double t, double rr, double b, double w, double h) {
        if (oval)
            EllipsePath(cr, l, t, rr, b);
        else
            RoundRectPath(cr, l, t, rr, b, w, h);
    };
    shape(r->left, r->top, r->right, r->bottom, rw, rh);
    if (verb == kFrame) {
        double pw, ph;
        PenExtent(port, &pw, &ph);
        if (r->left + pw < r->right - pw && r->top + ph < r->bottom - ph)
            shape(r->left + pw, r->top + ph, r->right - pw, r->bottom - ph, std::max(rw - pw, 0.0),
                  std::max(rh - ph, 0.0));
    }
    FillClipped(cr, port, CAIRO_FILL_RULE_EVEN_ODD);
}

void CairoRect(GrafVerb verb, const Rect* r) { DrawRectangular(verb, r, 0, 0, false); }
void CairoOval(GrafVerb verb, const Rect* r) { DrawRectangular(verb, r, 0, 0, true); }
void CairoRRect(GrafVerb verb, const Rect* r, int16_t ow, int16_t oh)
{
    DrawRectangular(verb, r, std::max<int16_t>(ow, 0) / 2.0, std::max<int16_t>(oh, 0) / 2.0, false);
}

void CairoArc(GrafVerb verb, const Rect* r, int16_t startAngle, int16_t arcAngle)
{
    GrafPtr port = Port();
    cairo_t* cr = target->cr;
    if (!port || !r || r->right <= r->left || r->bottom <= r->top || arcAngle == 0)
        return;
    cairo_new_path(cr);
    if (!PrepareVerb(cr, port, verb))
        return;
    // Angles run clockwise from twelve o'clock.
    double a0 = (startAngle - 90) * kPi / 180, a1 = (startAngle + arcAngle - 90) * kPi / 180;
    if (a1 < a0)
        std::swap(a0, a1);
    if (a1 - a0 > 2 * kPi)
        a1 = a0 + 2 * kPi;
    auto arc = [&](double l, double t, double rr, double b, bool back) {
        cairo_save(cr);
        cairo_translate(cr, (l + rr) / 2, (t + b) / 2);
        cairo_scale(cr, (rr - l) / 2, (b - t) / 2);
        if (back)
            cairo_arc_negative(cr, 0, 0, 1, a1, a0);
        else
            cairo_arc(cr, 0, 0, 1, a0, a1);
        cairo_restore(cr);
    };
    double cx = (r->left + r->right) / 2.0, cy = (r->top + r->bottom) / 2.0;
    double pw, ph;
    PenExtent(port, &pw, &ph);
    if (verb == kFrame && r->left + pw < r->right - pw && r->top + ph < r->bottom - ph) {
        arc(r->left, r->top, r->right, r->bottom, false);
        arc(r->left + pw, r->top + ph, r->right - pw, r->bottom - ph, true);
    } else {
        cairo_move_to(cr, cx, cy);
        arc(r->left, r->top, r->right, r->bottom, false);
    }
    cairo_close_path(cr);
    FillClipped(cr, port, CAIRO_FILL_RULE_WINDING);
}

void CairoPoly(GrafVerb verb, PolyHandle poly)
{
    GrafPtr port = Port();
    cairo_t* cr = target->cr;
    int32_t count = PolyPointCount(poly);
    const Point* pts = PolyPoints(poly);
    if (!port || count < 1 || !pts)
        return;
    cairo_new_path(cr);
    if (!PrepareVerb(cr, port, verb))
        return;
    if (verb == kFrame) {
        double pw, ph;
        PenExtent(port, &pw, &ph);
        for (int32_t i = 1; i < count; ++i)
            PenLinePath(cr, pts[i - 1].h, pts[i - 1].v, pts[i].h, pts[i].v, pw, ph);
        FillClipped(cr, port, CAIRO_FILL_RULE_WINDING);
        return;
    }
    cairo_move_to(cr, pts[0].h, pts[0].v);
    for (int32_t i = 1; i < count; ++i)
        cairo_line_to(cr, pts[i].h, pts[i].v);
    cairo_close_path(cr);
    FillClipped(cr, port, CAIRO_FILL_RULE_EVEN_ODD);
}

void CairoRgn(GrafVerb verb, RgnHandle rgn)
{
    GrafPtr port = Port();
    cairo_t* cr = target->cr;
    if (!port || !rgn)
        return;
    cairo_new_path(cr);
    if (!PrepareVerb(cr, port, verb))
        return;
    RgnHandle shape = NewRgn();
    if (!shape) {
        target->needsRaster = true;
        return;
    }
    CopyRgn(rgn, shape);
    if (verb == kFrame) {
        RgnHandle inner = NewRgn();
        if (inner) {
            CopyRgn(rgn, inner);
            const int16_t h = std::max<int16_t>(port->pnSize.h, 0), v = std::max<int16_t>(port->pnSize.v, 0);
            if (RanShort([&] { InsetRgn(inner, h, v); }))
                target->outOfMemory = true;
            DiffRgn(shape, inner, shape);
            DisposeRgn(inner);
        }
    }
    for (const Rect32& r : GetRegionRects(shape))
        cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
    DisposeRgn(shape);
    FillClipped(cr, port, CAIRO_FILL_RULE_WINDING);
}

void CairoLine(Point to)
{
    GrafPtr port = Port();
    cairo_t* cr = target->cr;
    if (!port)
        return;
    Point from = port->pnLoc;
    port->pnLoc = to;
    cairo_new_path(cr);
    if (!PrepareVerb(cr, port, kFrame))
        return;
    double pw, ph;
    PenExtent(port, &pw, &ph);
    if (pw <= 0 || ph <= 0)
        return;
    PenLinePath(cr, from.h, from.v, to.h, to.v, pw, ph);
    FillClipped(cr, port, CAIRO_FILL_RULE_WINDING);
}

// Cairo's faces: opened from the pinned files in a FreeType library of
// their own, since Cairo sets sizes and transforms on the faces it draws
// with and our own faces must keep theirs. Made once per file, kept for
// the life of the process. Null when the file cannot be opened.
cairo_font_face_t* CairoFace(FT_Face ours)
{
    static auto* faces = new std::map<std::string, cairo_font_face_t*>;
    static FT_Library library = nullptr;
    const std::string path = FaceFilePath(ours);
    if (path.empty())
        return nullptr;
    auto found = faces->find(path);
    if (found != faces->end())
        return found->second;
    FT_Face face = nullptr;
    if ((!library && FT_Init_FreeType(&library) != 0) || FT_New_Face(library, path.c_str(), 0, &face) != 0)
        return nullptr;
    cairo_font_face_t* made = cairo_ft_font_face_create_for_ft_face(face, 0);
    faces->emplace(path, made);
    return made;
}

void AppendUtf8(std::string* out, char32_t c)
{
    if (c < 0x80) {
        out->push_back(char(c));
    } else if (c < 0x800) {
        out->push_back(char(0xC0 | (c >> 6)));
        out->push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out->push_back(char(0xE0 | (c >> 12)));
        out->push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(char(0x80 | (c & 0x3F)));
    } else {
        out->push_back(char(0xF0 | (c >> 18)));
        out->push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out->push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out->push_back(char(0x80 | (c & 0x3F)));
    }
}

void CairoText(int16_t byteCount, const void* textBuf, Point numer, Point denom)
{
    GrafPtr port = Port();
    cairo_t* cr = target->cr;
    if (!port || byteCount <= 0 || !textBuf || port->pnVis < 0)
        return;
    const auto* bytes = static_cast<const uint8_t*>(textBuf);
    const double sx = denom.h > 0 && numer.h > 0 ? double(numer.h) / denom.h : 1.0;
    const double sy = denom.v > 0 && numer.v > 0 ? double(numer.v) / denom.v : 1.0;
    const Point at = port->pnLoc;
    const double width = TextWidth(bytes, 0, byteCount) * sx;
    port->pnLoc.h = int16_t(std::clamp<double>(at.h + std::lround(width), INT16_MIN, INT16_MAX));
    const Style face = port->txFace;
    if (!ModeDrawable(port->txMode) || (face & (outline | shadow)) || !EnsureFonts()) {
        target->needsRaster = true;
        return;
    }
    const FontFamilyEntry& family = ResolveFontFamily(port->txFont);
    if (family.menuGlyphs) {
        target->needsRaster = true;
        return;
    }
    FaceChoice choice = ChooseFace(family.file, face & bold, face & italic);
    cairo_font_face_t* cairoFace = choice.face ? CairoFace(choice.face) : nullptr;
    if (!cairoFace) {
        target->needsRaster = true;
        return;
    }
    const double size = port->txSize > 0 ? port->txSize : GetDefFontSize();

    // One glyph per byte, placed where our own layout places it.
    std::vector<cairo_glyph_t> glyphs;
    std::vector<cairo_text_cluster_t> clusters;
    std::string utf8;
    for (int16_t i = 0; i < byteCount; ++i) {
        char32_t c = FontByteToUnicode(family, bytes[i]);
        if (c == 0 || c > 0x10FFFF)
            continue;
        size_t before = utf8.size();
        AppendUtf8(&utf8, c);
        double x = at.h + TextWidth(bytes, 0, i) * sx;
        glyphs.push_back({FT_Get_Char_Index(choice.face, FT_ULong(c)), x, double(at.v)});
        clusters.push_back({int(utf8.size() - before), 1});
    }

    cairo_save(cr);
    ApplyClip(cr, port);
    if (port->txMode == srcCopy) {
        FontInfo info;
        GetFontInfo(&info);
        SetColor(cr, port->rgbBkColor);
        cairo_rectangle(cr, at.h, at.v - info.ascent * sy, width, (info.ascent + info.descent) * sy);
        cairo_fill(cr);
    }
    cairo_set_font_face(cr, cairoFace);
    cairo_matrix_t m;
    cairo_matrix_init(&m, size * sx, 0, choice.fakeItalic ? -0.2 * size * sy : 0, size * sy, 0, 0);
    cairo_set_font_matrix(cr, &m);
    SetColor(cr, port->rgbFgColor);
    if (!glyphs.empty()) {
        cairo_show_text_glyphs(cr, utf8.data(), int(utf8.size()), glyphs.data(), int(glyphs.size()),
                               clusters.data(), int(clusters.size()), cairo_text_cluster_flags_t(0));
        if (choice.fakeBold) {
            cairo_glyph_path(cr, glyphs.data(), int(glyphs.size()));
            cairo_set_line_width(cr, size * sy / 24);
            cairo_stroke(cr);
        }
    }
    if (face & underline) {
        cairo_rectangle(cr, at.h, at.v + 1 * sy, width, std::max(1.0, size / 12) * sy);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

// Bit images become images: one-bit maps in the port's colours, colour
// maps as they are. Only the source pixels that land on what the clip (and
// mask) leave of the destination are made into an image, so the work is
// bounded by the destination, whatever the source rectangle claims.
void CairoBits(const BitMap* src, const Rect* srcRect, const Rect* dstRect, int16_t mode, RgnHandle maskRgn)
{
    GrafPtr port = Port();
    cairo_t* cr = target->cr;
    if (!port || !src || !srcRect || !dstRect || port->pnVis < 0)
        return;
    const int16_t base = int16_t(mode & ~64);  // dither asks nothing of us
    Surface s = MakeSurface(src);
    const bool oneBit = s.indexedAsBits;
    const bool plain = port->rgbFgColor.red == 0 && port->rgbFgColor.green == 0 && port->rgbFgColor.blue == 0 &&
                       port->rgbBkColor.red == 0xFFFF && port->rgbBkColor.green == 0xFFFF &&
                       port->rgbBkColor.blue == 0xFFFF;
    if (!(base == srcCopy || (base == srcOr && oneBit)) || (!oneBit && !plain)) {
        target->needsRaster = true;
        return;
    }
    const int64_t w = int64_t(srcRect->right) - srcRect->left, h = int64_t(srcRect->bottom) - srcRect->top;
    const int64_t dw = int64_t(dstRect->right) - dstRect->left, dh = int64_t(dstRect->bottom) - dstRect->top;
    if (w <= 0 || h <= 0 || dw <= 0 || dh <= 0 || s.Empty())
        return;
    // What can change: the destination within the clip's and mask's bounds.
    Rect32 visible{dstRect->top, dstRect->left, dstRect->bottom, dstRect->right};
    auto limit = [&](const Rect32& r) {
        visible = {std::max(visible.top, r.top), std::max(visible.left, r.left), std::min(visible.bottom, r.bottom),
                   std::min(visible.right, r.right)};
    };
    if (port->clipRgn)
        limit(GetRegionBounds32(port->clipRgn));
    if (maskRgn)
        limit(GetRegionBounds32(maskRgn));
    if (visible.right <= visible.left || visible.bottom <= visible.top)
        return;
    // The source columns and rows that land there (nearest sampling), and
    // of those only the ones the source has: the others draw nothing.
    auto firstCovering = [](int64_t at, int64_t extent, int64_t size) { return (at * size) / extent; };
    auto pastCovering = [](int64_t at, int64_t extent, int64_t size) { return (at * size + extent - 1) / extent; };
    int64_t x0 = std::max<int64_t>(firstCovering(visible.left - dstRect->left, dw, w), 0);
    int64_t x1 = std::min<int64_t>(pastCovering(visible.right - dstRect->left, dw, w) + 1, w);
    int64_t y0 = std::max<int64_t>(firstCovering(visible.top - dstRect->top, dh, h), 0);
    int64_t y1 = std::min<int64_t>(pastCovering(visible.bottom - dstRect->top, dh, h) + 1, h);
    x0 = std::max<int64_t>(x0, int64_t(s.bounds.left) - srcRect->left);
    x1 = std::min<int64_t>(x1, int64_t(s.bounds.right) - srcRect->left);
    y0 = std::max<int64_t>(y0, int64_t(s.bounds.top) - srcRect->top);
    y1 = std::min<int64_t>(y1, int64_t(s.bounds.bottom) - srcRect->top);
    if (x1 <= x0 || y1 <= y0)
        return;
    const int iw = int(x1 - x0), ih = int(y1 - y0);
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, iw, ih);
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(image);
        target->needsRaster = true;
        return;
    }
    cairo_surface_flush(image);
    uint8_t* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    const uint32_t fore = Argb(port->rgbFgColor), back = base == srcOr ? 0u : Argb(port->rgbBkColor);
    for (int v = 0; v < ih; ++v) {
        auto* row = reinterpret_cast<uint32_t*>(data + int64_t(v) * stride);
        const int32_t sv = int32_t(srcRect->top + y0 + v);
        for (int x = 0; x < iw; ++x) {
            const int32_t sh = int32_t(srcRect->left + x0 + x);
            row[x] = oneBit ? (s.ReadBit(sh, sv) ? fore : back) : 0xFF000000u | s.ReadRGB(sh, sv);
        }
    }
    cairo_surface_mark_dirty(image);

    cairo_save(cr);
    ApplyClip(cr, port);
    if (maskRgn) {
        for (const Rect32& r : GetRegionRects(maskRgn))
            cairo_rectangle(cr, r.left, r.top, r.right - r.left, r.bottom - r.top);
        cairo_clip(cr);
    }
    cairo_rectangle(cr, dstRect->left, dstRect->top, double(dw), double(dh));
    cairo_clip(cr);
    cairo_translate(cr, dstRect->left, dstRect->top);
    cairo_scale(cr, double(dw) / double(w), double(dh) / double(h));
    cairo_set_source_surface(cr, image, double(x0), double(y0));
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(image);
}

void CairoComment(int16_t kind, int16_t dataSize, Handle data)
{
    if (kind != kSetLineWidthComment || dataSize < 4 || !data || !*data || GetHandleSize(data) < 4)
        return;
    int16_t num = int16_t(ReadBE16(*data)), den = int16_t(ReadBE16(*data + 2));
    if (num > 0 && den > 0)
        target->lineScale = double(num) / den;
}

// The drawing procedures are called from inside the picture's playback:
// running out of memory in one ends the page with memFullErr instead of
// unwinding through the player.
template <auto Proc, class... Args>
void Safely(Args... args)
{
    try {
        Proc(args...);
    } catch (const std::bad_alloc&) {
        target->outOfMemory = true;
    }
}

// Runs the picture through a scratch port of the page's size whose
// drawing procedures go to `page`.
OSErr PlayThroughProcs(PageTarget* page, PicHandle picture, const Rect& frame)
{
    GWorldPtr scratch = nullptr;
    if (NewGWorld(&scratch, 1, &frame, nullptr, nullptr, 0) != noErr || !scratch)
        return memFullErr;
    QDProcs procs;
    procs.textProc = Safely<CairoText, int16_t, const void*, Point, Point>;
    procs.lineProc = Safely<CairoLine, Point>;
    procs.rectProc = Safely<CairoRect, GrafVerb, const Rect*>;
    procs.rRectProc = Safely<CairoRRect, GrafVerb, const Rect*, int16_t, int16_t>;
    procs.ovalProc = Safely<CairoOval, GrafVerb, const Rect*>;
    procs.arcProc = Safely<CairoArc, GrafVerb, const Rect*, int16_t, int16_t>;
    procs.polyProc = Safely<CairoPoly, GrafVerb, PolyHandle>;
    procs.rgnProc = Safely<CairoRgn, GrafVerb, RgnHandle>;
    procs.bitsProc = Safely<CairoBits, const BitMap*, const Rect*, const Rect*, int16_t, RgnHandle>;
    procs.commentProc = Safely<CairoComment, int16_t, int16_t, Handle>;
    scratch->grafProcs = &procs;
    CGrafPtr savedPort;
    GDHandle savedDevice;
    GetGWorld(&savedPort, &savedDevice);
    SetGWorld(scratch, nullptr);
    PageTarget* outer = target;
    target = page;
    DrawPicture(picture, &frame);
    OSErr err = QDError();
    target = outer;
    if (page->outOfMemory && err == noErr)
        err = memFullErr;
    SetGWorld(savedPort, savedDevice);
    scratch->grafProcs = nullptr;
    DisposeGWorld(scratch);
    return err;
}

}  // namespace

OSErr RenderPageImage(PicHandle picture, const Rect& page, double dpi, GWorldPtr* world)
{
    *world = nullptr;
    const double k = dpi / 72.0;
    Rect bounds{0, 0, int16_t(std::clamp<double>(std::lround((page.bottom - page.top) * k), 1, 32767)),
                int16_t(std::clamp<double>(std::lround((page.right - page.left) * k), 1, 32767))};
    if (NewGWorld(world, 32, &bounds, nullptr, nullptr, 0) != noErr || !*world)
        return memFullErr;
    CGrafPtr savedPort;
    GDHandle savedDevice;
    GetGWorld(&savedPort, &savedDevice);
    SetGWorld(*world, nullptr);
    DrawPicture(picture, &bounds);
    OSErr err = QDError();
    SetGWorld(savedPort, savedDevice);
    return err;
}

OSErr PlayPageOnCairo(cairo_t* cr, PicHandle picture, const Rect& page)
{
    if (!cr || !picture)
        return paramErr;
    PageTarget t;
    t.cr = cr;
    cairo_save(cr);
    cairo_rectangle(cr, page.left, page.top, page.right - page.left, page.bottom - page.top);
    cairo_clip(cr);
    cairo_push_group(cr);
    OSErr err = PlayThroughProcs(&t, picture, page);
    cairo_pattern_t* drawn = cairo_pop_group(cr);
    if (!t.needsRaster) {
        cairo_set_source(cr, drawn);
        cairo_paint(cr);
        cairo_pattern_destroy(drawn);
        cairo_restore(cr);
        return err;
    }
    cairo_pattern_destroy(drawn);

    // One image of the whole page from our rasteriser.
    GWorldPtr world = nullptr;
    err = RenderPageImage(picture, page, kPageImageDpi, &world);
    if (world) {
        PixMapHandle pm = GetGWorldPixMap(world);
        const BitMap* bits = pm ? static_cast<const BitMap*>(*pm) : nullptr;
        Surface s = MakeSurface(bits);
        const int32_t w = s.bounds.right - s.bounds.left, h = s.bounds.bottom - s.bounds.top;
        cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
        if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS && !s.Empty()) {
            cairo_surface_flush(image);
            uint8_t* data = cairo_image_surface_get_data(image);
            const int stride = cairo_image_surface_get_stride(image);
            for (int32_t v = 0; v < h; ++v) {
                auto* row = reinterpret_cast<uint32_t*>(data + int64_t(v) * stride);
                for (int32_t x = 0; x < w; ++x)
                    row[x] = s.ReadRGB(s.bounds.left + x, s.bounds.top + v);
            }
            cairo_surface_mark_dirty(image);
            cairo_translate(cr, page.left, page.top);
            cairo_scale(cr, double(page.right - page.left) / w, double(page.bottom - page.top) / h);
            cairo_set_source_surface(cr, image, 0, 0);
            cairo_paint(cr);
        } else if (err == noErr) {
            err = memFullErr;
        }
        cairo_surface_destroy(image);
        DisposeGWorld(world);
    }
    cairo_restore(cr);
    return err;
}

}  // namespace platform

// Rectangles, rounded rectangles, ovals, lines and matrices drawn in the
// current port: the look first when the object has a look style, then the
// plain drawing with the object's pen and patterns.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "forms/drawing/ObjectDrawing.h"
#include "forms/objects/FormObjects.h"
#include "kernel/helpers/KernelColors.h"
#include "looks/LookServices.h"
#include "looks/VIObj.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "toolbox/drawing/CompatFunctions.h"

using namespace platform;

namespace {

constexpr int16_t kRoundFill = 15, kRoundFrame = 10;
// How far a matrix divider's drawing may reach either side of its line.
constexpr int32_t kDividerReach = 64;
constexpr int32_t kGrey = 0x808080, kWhite = 0xFFFFFF, kBlack = 0x000000;
// The kernel's colour code of a sunken frame's shadow.
constexpr int16_t kSunkenShadowCode = 501;

Pattern PatternOf(const uint8_t bytes[8])
{
    Pattern p;
    std::memcpy(p.pat, bytes, 8);
    return p;
}

void Colour(int32_t rgb)
{
    RGBColor c{};
    Long2RGB(rgb, &c);
    RGBForeColor(&c);
}

// The left and top edges, then the bottom and right edges, of r.
void TopLeft(const Rect& r, int32_t rgb)
{
    Colour(rgb);
    MoveTo(r.left, int16_t(r.bottom - 1));
    LineTo(r.left, r.top);
    LineTo(int16_t(r.right - 1), r.top);
}

void BottomRight(const Rect& r, int32_t rgb)
{
    Colour(rgb);
    MoveTo(r.left, int16_t(r.bottom - 1));
    LineTo(int16_t(r.right - 1), int16_t(r.bottom - 1));
    LineTo(int16_t(r.right - 1), r.top);
}

int32_t KernelRGB(int16_t code)
{
    int32_t fore = 0, back = 0;
    OldCol2New(code, 0, &fore, &back);
    return fore < 0 ? kBlack : fore;
}

// The bevelled frames of a negative pen width, drawn with a 1-pixel pen.
void Bevel(const Rect& r, int16_t penWidth)
{
    PenNormal();
    const bool look95 = Look95 != 0;
    switch (penWidth) {
    case -1:
        if (look95) {
            TopLeft(r, kWhite);
            BottomRight(r, kBlack);
        } else {
            Rect inner = r;
            InsetRect(&inner, 1, 1);
            Colour(kGrey);
            FrameRect(&inner);
            Colour(kBlack);
            FrameRect(&r);
        }
        break;
    case -2: {
        EraseWhite(r);
        TopLeft(r, KernelRGB(kSunkenShadowCode));
        BottomRight(r, kWhite);
        break;
    }
    case -3:
        TopLeft(r, kBlack);
        BottomRight(r, look95 ? kWhite : kGrey);
        break;
    default:
        TopLeft(r, look95 ? kWhite : kGrey);
        BottomRight(r, kBlack);
        break;
    }
}

// The look's drawing of a shape; the inside left for the plain drawing.
VIObj LookFirst(LayoutObject* o, const Rect& r)
{
    VIObj context;
    if (o->lookStyle == 0) return context;
    o->InitVIParms(&context, kVIShape, r);
    JumpObjVIProc(&context);
    return context;
}

}  // namespace

void RectObject::DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv)
{
    const Rect r = ObjectRect(this, editor, dh, dv);
    SetupDrawing();
    Rect plain = r;
    if (lookStyle != 0) plain = LookFirst(this, r).inner;
    if (penWidth < 0) {
        Bevel(plain, penWidth);
    } else {
        Pattern grey;
        if (lookStyle == 2) PenPat(GetQDGlobalsGray(&grey));
        if (hasFillPattern) {
            const Pattern fill = PatternOf(fillPattern);
            FillRect(&plain, &fill);
        }
        if (hasPenPattern) FrameRect(&plain);
    }
    RestoreDrawing();
}

void RoundRectObject::DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv)
{
    const Rect r = ObjectRect(this, editor, dh, dv);
    SetupDrawing();
    const VIObj context = LookFirst(this, r);
    if (lookStyle == 0 || context.plainToDo) {
        if (hasFillPattern) {
            const Pattern fill = PatternOf(fillPattern), pen = PatternOf(penPattern);
            PenPat(&fill);
            PaintRoundRect(&r, kRoundFill, kRoundFill);
            PenPat(&pen);
        }
        if (hasPenPattern) FrameRoundRect(&r, kRoundFrame, kRoundFrame);
    }
    RestoreDrawing();
}

void OvalObject::DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv)
{
    const Rect r = ObjectRect(this, editor, dh, dv);
    SetupDrawing();
    if (hasFillPattern) {
        const Pattern fill = PatternOf(fillPattern);
        FillOval(&r, &fill);
    }
    const VIObj context = LookFirst(this, r);
    if (hasPenPattern && (lookStyle == 0 || context.plainToDo)) FrameOval(&r);
    RestoreDrawing();
}

void LineObject::DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv)
{
    Rect r = ObjectRect(this, editor, dh, dv);
    const bool reversed = MakePositiveRect(&r);
    SetupDrawing();
    VIObj context;
    if (lookStyle != 0) {
        InitVIParms(&context, kVIShape, r);
        if (reversed) context.flags |= kVIReversed;
        JumpObjVIProc(&context);
    }
    if (lookStyle == 0 || context.plainToDo) {
        const bool horizontal = r.right - r.left >= r.bottom - r.top;
        if (penWidth < 0) {
            // Engraved: black, then white one pixel below or to the right.
            PenNormal();
            const int16_t dx = horizontal ? 0 : 1, dy = horizontal ? 1 : 0;
            Colour(kBlack);
            MoveTo(r.left, r.top);
            LineTo(horizontal ? int16_t(r.right - 1) : r.left, horizontal ? r.top : int16_t(r.bottom - 1));
            Colour(kWhite);
            MoveTo(int16_t(r.left + dx), int16_t(r.top + dy));
            LineTo(horizontal ? int16_t(r.right - 1) : int16_t(r.left + dx),
                   horizontal ? int16_t(r.top + dy) : int16_t(r.bottom - 1));
        } else if (hasPenPattern) {
            Pattern grey;
            if (lookStyle == 2) PenPat(GetQDGlobalsGray(&grey));
            // The stored corners are where the line's ends lie: the pen's size
            // is added so that drawtrait's ends fall on them.
            Rect line = r;
            line.right = int16_t(line.right + penWidth);
            line.bottom = int16_t(line.bottom + penHeight);
            drawtrait(line, penWidth, penHeight, reversed);
        }
    }
    RestoreDrawing();
}

void MatrixObject::DrawObject(LayoutEditor* editor, int16_t dh, int16_t dv)
{
    const Rect r = ObjectRect(this, editor, dh, dv);
    SetupDrawing();
    if (hasFillPattern) {
        const Pattern fill = PatternOf(fillPattern);
        FillRect(&r, &fill);
    }
    if (lookStyle != 0) LookFirst(this, r);
    else FrameRect(&r);
    // Plain dividers are drawn together, the columns' and then the rows'
    // (apart, each set lies in one band or one column): however many fall
    // on the same pixels, each pixel is painted once.
    std::vector<std::pair<Point, Point>> columns, rows;
    auto divider = [&](const Rect& line, std::vector<std::pair<Point, Point>>* plain) {
        if (lookStyle == 0) {
            plain->push_back({Point{line.top, line.left}, Point{line.bottom, line.right}});
            return;
        }
        VIObj context;
        InitVIParms(&context, kVIDivider, line);
        JumpObjVIProc(&context);
    };
    // A divider where the last one fell, or wholly outside what the port
    // shows, draws nothing new: a matrix of thousands of rows costs the
    // pixels it covers, not its count of rows.
    GrafPtr port = nullptr;
    GetPort(&port);
    Rect shown{-32768, -32768, 32767, 32767};
    if (port) GetPortClipRect(port, &shown);
    const auto outside = [](int32_t at, int32_t pen, int16_t low, int16_t high) {
        const int32_t reach = kDividerReach + std::abs(pen);
        return at + reach <= low || at - reach >= high;
    };
    int32_t x = r.left, lastX = r.left;
    for (int32_t i = 1; i < columnCount; ++i) {
        x += (r.right - x) / (columnCount + 1 - i);
        if ((i > 1 && x == lastX) || outside(x, penWidth, shown.left, shown.right)) continue;
        lastX = x;
        divider(Rect{r.top, int16_t(x), int16_t(r.bottom - penHeight), int16_t(x)}, &columns);
    }
    int32_t y = r.top, lastY = r.top;
    for (int32_t i = 1; i < rowCount; ++i) {
        y += (r.bottom - y) / (rowCount + 1 - i);
        if ((i > 1 && y == lastY) || outside(y, penHeight, shown.top, shown.bottom)) continue;
        lastY = y;
        divider(Rect{int16_t(y), r.left, int16_t(y), int16_t(r.right - penWidth)}, &rows);
    }
    DrawLines(columns);
    DrawLines(rows);
    RestoreDrawing();
}

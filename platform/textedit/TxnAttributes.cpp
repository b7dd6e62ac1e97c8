// The multilingual face's type attributes, background and metrics.
#include <algorithm>

#include "platform/fonts/Fonts.h"
#include "platform/textedit/MultilingualText.h"
#include "platform/textedit/TxnObject.h"

namespace platform {

using namespace txn;

OSStatus TXNSetTypeAttributes(TXNObject o, ItemCount count, const TXNTypeAttributes attributes[], TXNOffset start,
                              TXNOffset end)
{
    return Guard(o, [&]() -> OSStatus {
        if (count > 0 && !attributes) return paramErr;
        uint16_t mode = 0;
        TextAttributes style;
        for (ItemCount i = 0; i < count; ++i) {
            const TXNTypeAttributes& a = attributes[i];
            switch (a.tag) {
            case kTXNQDFontNameAttribute:
                if (!a.data.dataPtr) return paramErr;
                GetFNum(static_cast<ConstStr255Param>(a.data.dataPtr), &style.font);
                mode |= kStyleFont;
                break;
            case kTXNQDFontFamilyIDAttribute:
                style.font = int16_t(a.data.dataValue);
                mode |= kStyleFont;
                break;
            case kTXNQDFontSizeAttribute:
                // Points in two bytes, or a Fixed in four.
                style.size = a.size == 4 ? int16_t(int32_t(a.data.dataValue) >> 16) : int16_t(a.data.dataValue);
                if (style.size <= 0) style.size = 12;
                mode |= kStyleSize;
                break;
            case kTXNQDFontStyleAttribute:
                style.face = Style(a.data.dataValue);
                mode |= kStyleFace;
                break;
            case kTXNQDFontColorAttribute:
                if (!a.data.dataPtr) return paramErr;
                style.color = *static_cast<const RGBColor*>(a.data.dataPtr);
                mode |= kStyleColor;
                break;
            case kTXNTextEncodingAttribute:
                style.encoding = a.data.dataValue;
                mode |= kStyleEncoding;
                break;
            default: return kTXNAttributeTagInvalidForRunErr;
            }
        }
        TextEngine& e = o->engine;
        int32_t from = 0, to = 0;
        if (start == kTXNUseCurrentSelection || end == kTXNUseCurrentSelection) {
            from = e.SelStart();
            to = e.SelEnd();
        } else {
            from = int32_t(std::min<TXNOffset>(start, TXNOffset(e.Length())));
            to = int32_t(std::min<TXNOffset>(end, TXNOffset(e.Length())));
            if (from > to) std::swap(from, to);
        }
        // One style for all the text of a mono-styled object, and for what
        // is typed into an empty one.
        if (o->mono || e.Length() == 0) {
            TextAttributes all = e.StyleAt(0);
            if (mode & kStyleFont) all.font = style.font;
            if (mode & kStyleSize) all.size = style.size;
            if (mode & kStyleFace) all.face = style.face;
            if (mode & kStyleColor) all.color = style.color;
            if (mode & kStyleEncoding) all.encoding = style.encoding;
            e.SetAllStyles(all);
            ++e.changeCount;
            e.Layout();
            e.DrawAll();
        } else {
            e.SetStyle(mode, style, from, to);
        }
        DrawBars(o);
        return noErr;
    });
}

OSStatus TXNGetContinuousTypeAttributes(TXNObject o, TXNContinuousFlags* flags, ItemCount count,
                                        TXNTypeAttributes attributes[])
{
    return Guard(o, [&]() -> OSStatus {
        if (count > 0 && !attributes) return paramErr;
        TextAttributes a;
        const uint16_t held =
            o->engine.ContinuousStyle(kStyleAll | kStyleEncoding, o->engine.SelStart(), o->engine.SelEnd(), &a);
        if (flags) {
            *flags = 0;
            if (held & kStyleFont) *flags |= kTXNFontContinuousMask;
            if (held & kStyleSize) *flags |= kTXNSizeContinuousMask;
            if (held & kStyleFace) *flags |= kTXNStyleContinuousMask;
            if (held & kStyleColor) *flags |= kTXNColorContinuousMask;
        }
        for (ItemCount i = 0; i < count; ++i) {
            TXNTypeAttributes& t = attributes[i];
            switch (t.tag) {
            case kTXNQDFontNameAttribute:
                if (!t.data.dataPtr) return paramErr;
                GetFontName(a.font, static_cast<StringPtr>(t.data.dataPtr));
                break;
            case kTXNQDFontFamilyIDAttribute: t.data.dataValue = uint32_t(uint16_t(a.font)); break;
            case kTXNQDFontSizeAttribute:
                t.data.dataValue = t.size == 4 ? uint32_t(int32_t(a.size) << 16) : uint32_t(a.size);
                break;
            case kTXNQDFontStyleAttribute: t.data.dataValue = a.face; break;
            case kTXNQDFontColorAttribute:
                if (!t.data.dataPtr) return paramErr;
                *static_cast<RGBColor*>(t.data.dataPtr) = a.color;
                break;
            case kTXNTextEncodingAttribute: t.data.dataValue = a.encoding; break;
            default: return kTXNAttributeTagInvalidForRunErr;
            }
        }
        return noErr;
    });
}

OSStatus TXNSetBackground(TXNObject o, const TXNBackground* background)
{
    return Guard(o, [&]() -> OSStatus {
        if (!background || background->bgType != kTXNBackgroundTypeRGB) return paramErr;
        o->engine.hasBackground = true;
        o->engine.background = background->color;
        o->engine.DrawAll();
        return noErr;
    });
}

OSStatus TXNPointToOffset(TXNObject o, Point point, TXNOffset* offset)
{
    return Guard(o, [&]() -> OSStatus {
        if (!offset) return paramErr;
        const Rect32& v = o->engine.view;
        if (point.h < v.left || point.h >= v.right || point.v < v.top || point.v >= v.bottom)
            return kTXNOutsideOfFrameErr;
        bool inside = false;
        const int32_t at = o->engine.OffsetAt(point.h, point.v, &inside);
        if (!inside) return kTXNOutsideOfLineErr;
        *offset = TXNOffset(at);
        return noErr;
    });
}

OSStatus TXNOffsetToPoint(TXNObject o, TXNOffset offset, Point* point)
{
    return Guard(o, [&]() -> OSStatus {
        if (!point) return paramErr;
        int32_t h = 0, v = 0;
        o->engine.PointOf(int32_t(std::min<TXNOffset>(offset, TXNOffset(o->engine.Length()))), &h, &v);
        *point = {int16_t(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX)),
                  int16_t(std::clamp<int32_t>(h, INT16_MIN, INT16_MAX))};
        return noErr;
    });
}

OSStatus TXNGetLineCount(TXNObject o, ItemCount* lines)
{
    return Guard(o, [&]() -> OSStatus {
        if (!lines) return paramErr;
        if (!o->engine.LaidOut()) o->engine.Layout();
        *lines = ItemCount(o->engine.Lines().size());
        return noErr;
    });
}

OSStatus TXNGetLineMetrics(TXNObject o, uint32_t line, Fixed* width, Fixed* height)
{
    return Guard(o, [&]() -> OSStatus {
        if (!o->engine.LaidOut()) o->engine.Layout();
        const auto& lines = o->engine.Lines();
        if (line >= lines.size()) return kTXNOutsideOfLineErr;
        if (width) *width = Fixed(lines[line].width << 16);
        if (height) *height = Fixed(int32_t(lines[line].height) << 16);
        return noErr;
    });
}

void TXNSetFrameBounds(TXNObject o, int32_t top, int32_t left, int32_t bottom, int32_t right, TXNFrameID frameID)
{
    Guard(o, [&]() -> OSStatus {
        if (frameID != 1) return kTXNInvalidFrameIDErr;
        o->frame = {top, left, std::max(top, bottom), std::max(left, right)};
        o->destWidth = 0;
        ApplyGeometry(o);
        if (!o->engine.LaidOut()) o->engine.Layout();
        return noErr;
    });
}

void TXNGetViewRect(TXNObject o, Rect* view)
{
    if (!o || !view) return;
    *view = {int16_t(std::clamp<int32_t>(o->frame.top, INT16_MIN, INT16_MAX)),
             int16_t(std::clamp<int32_t>(o->frame.left, INT16_MIN, INT16_MAX)),
             int16_t(std::clamp<int32_t>(o->frame.bottom, INT16_MIN, INT16_MAX)),
             int16_t(std::clamp<int32_t>(o->frame.right, INT16_MIN, INT16_MAX))};
}

OSStatus TXNGetRectBounds(TXNObject o, Rect* view, TXNLongRect* destination, TXNLongRect* text)
{
    return Guard(o, [&]() -> OSStatus {
        TextEngine& e = o->engine;
        if (!e.LaidOut()) e.Layout();
        auto clamp16 = [](int32_t v) { return int16_t(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX)); };
        if (view) *view = {clamp16(e.view.top), clamp16(e.view.left), clamp16(e.view.bottom), clamp16(e.view.right)};
        if (destination) *destination = {e.dest.top, e.dest.left, e.dest.bottom, e.dest.right};
        if (text) *text = {e.dest.top, e.dest.left, e.dest.top + e.TotalHeight(), e.dest.left + e.WidestLine()};
        return noErr;
    });
}

OSStatus TXNSetRectBounds(TXNObject o, const Rect* view, const TXNLongRect* destination, Boolean update)
{
    return Guard(o, [&]() -> OSStatus {
        TextEngine& e = o->engine;
        if (view) o->frame = {view->top, view->left, std::max(view->top, view->bottom), std::max(view->left, view->right)};
        if (destination) {
            // The scroll the destination stands for, and its width.
            e.dest.left = e.view.left - (view ? view->left - destination->left : e.view.left - destination->left);
            e.dest.top = e.view.top - (view ? view->top - destination->top : e.view.top - destination->top);
            e.dest.right = e.dest.left + (e.view.right - e.view.left);
            e.dest.bottom = e.dest.top + (e.view.bottom - e.view.top);
            o->destWidth = std::max(0, destination->right - destination->left);
        }
        ApplyGeometry(o);
        if (!e.LaidOut()) e.Layout();
        if (update) TXNDraw(o, nullptr);
        return noErr;
    });
}

OSStatus TXNScroll(TXNObject o, TXNScrollUnit vUnit, TXNScrollUnit hUnit, int32_t* vDelta, int32_t* hDelta)
{
    return Guard(o, [&]() -> OSStatus {
        TextEngine& e = o->engine;
        if (!e.LaidOut()) e.Layout();
        const int32_t lineHeight = e.Lines().empty() ? 16 : e.Lines().front().height;
        auto pixels = [&](TXNScrollUnit unit, int32_t delta, int32_t viewSize) -> int64_t {
            if (unit == kTXNScrollUnitsInLines) return int64_t(delta) * lineHeight;
            if (unit == kTXNScrollUnitsInViewRects) return int64_t(delta) * viewSize;
            return delta;
        };
        const int32_t viewH = e.view.bottom - e.view.top, viewW = e.view.right - e.view.left;
        const int32_t maxV = std::max(0, e.TotalHeight() - viewH);
        const int32_t maxH = e.wrap ? 0 : std::max(0, e.WidestLine() - viewW);
        const int32_t nowV = e.view.top - e.dest.top, nowH = e.view.left - e.dest.left;
        const int32_t toV = int32_t(std::clamp<int64_t>(nowV + (vDelta ? pixels(vUnit, *vDelta, viewH) : 0), 0, maxV));
        const int32_t toH = int32_t(std::clamp<int64_t>(nowH + (hDelta ? pixels(hUnit, *hDelta, viewW) : 0), 0, maxH));
        e.Scroll(nowH - toH, nowV - toV);
        if (vDelta) *vDelta = toV - nowV;
        if (hDelta) *hDelta = toH - nowH;
        DrawBars(o);
        return noErr;
    });
}

void TXNRecalcTextLayout(TXNObject o)
{
    Guard(o, [&]() -> OSStatus {
        o->engine.Layout();
        o->engine.DrawAll();
        DrawBars(o);
        return noErr;
    });
}

}  // namespace platform

#include "looks/VIHandler.h"

#include <algorithm>

#include "looks/FormLook.h"
#include "looks/LookServices.h"
#include "looks/VIObj.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/theme/Theme.h"
#include "toolbox/drawing/VLookHandler.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VStr.h"

using namespace platform;

namespace {

constexpr StdLook kFallbackSlot = 6;
constexpr StdColor kStdBackground = 17;
constexpr StdColor kStdText = 25;
constexpr StdColor kStdFieldBackground = 27;

int32_t LongToRGB(uint32_t colorLong)
{
    return int32_t(((colorLong & 0xFF) << 16) | (colorLong & 0xFF00) | ((colorLong >> 16) & 0xFF));
}

void SetRGB(int32_t rgb, bool background)
{
    RGBColor c{uint16_t(((rgb >> 16) & 0xFF) * 0x101), uint16_t(((rgb >> 8) & 0xFF) * 0x101),
               uint16_t((rgb & 0xFF) * 0x101)};
    background ? RGBBackColor(&c) : RGBForeColor(&c);
}

// The painting of one context: a painter bound to the current port with the
// handler's look, the port's drawing state put back afterwards.
class LookPass {
public:
    explicit LookPass(VLookHandler* look, StdLook slot)
    {
        GetPort(reinterpret_cast<GrafPtr*>(&port_));
        GetThemeDrawingState(&state_);
        painter_.SetLook(slot);
        painter_.BeginPaint(port_);
        look_ = look;
    }
    ~LookPass()
    {
        painter_.EndPaint();
        if (state_) SetThemeDrawingState(state_, true);
    }
    LookPass(const LookPass&) = delete;
    LookPass& operator=(const LookPass&) = delete;

    void Paint(PaintMethod method, PaintStatus status, const Rect& r, const VString* text = nullptr)
    {
        if (r.right <= r.left || r.bottom <= r.top) return;
        look_->Paint(&painter_, method, status, r.left, r.top, r.right - r.left, r.bottom - r.top, text, nullptr);
    }

private:
    CGrafPtr port_ = nullptr;
    ThemeDrawingState state_ = nullptr;
    VPainter painter_{nullptr, false};
    VLookHandler* look_ = nullptr;
};

Rect Inset(const Rect& r, int16_t d)
{
    return Rect{int16_t(r.top + d), int16_t(r.left + d), int16_t(r.bottom - d), int16_t(r.right - d)};
}

// A scroll bar: the track between two square arrow boxes.
void PaintScrollBar(LookPass& pass, const Rect& r, PaintStatus status)
{
    const bool vertical = r.bottom - r.top >= r.right - r.left;
    const int16_t side = int16_t(vertical ? r.right - r.left : r.bottom - r.top);
    Rect first = r, last = r, track = r;
    if (vertical) {
        first.bottom = int16_t(std::min<int32_t>(r.bottom, r.top + side));
        last.top = int16_t(std::max<int32_t>(r.top, r.bottom - side));
        track.top = first.bottom, track.bottom = last.top;
    } else {
        first.right = int16_t(std::min<int32_t>(r.right, r.left + side));
        last.left = int16_t(std::max<int32_t>(r.left, r.right - side));
        track.left = first.right, track.right = last.left;
    }
    pass.Paint(vertical ? kPaintVScrollTrack : kPaintHScrollTrack, status, track);
    pass.Paint(vertical ? kPaintScrollArrowUp : kPaintScrollArrowLeft, status, first);
    pass.Paint(vertical ? kPaintScrollArrowDown : kPaintScrollArrowRight, status, last);
}

// The print port's drawing: a white box framed in black, the title inside.
// A white box framed in black.
void PlainBox(const Rect& r)
{
    const RGBColor black{0, 0, 0}, white{0xFFFF, 0xFFFF, 0xFFFF};
    RGBForeColor(&black);
    RGBBackColor(&white);
    PenNormal();
    EraseRect(&r);
    FrameRect(&r);
}

void PlainWidget(VIObj* obj)
{
    const Rect r = obj->rect;
    PlainBox(r);
    if (obj->title[0]) {
        FontInfo fi{};
        GetFontInfo(&fi);
        MoveTo(int16_t(r.left + 3), int16_t(r.top + (r.bottom - r.top + fi.ascent - fi.descent) / 2));
        DrawText(obj->title + 1, 0, obj->title[0]);
    }
}

}  // namespace

StdLook VI_Handler::PaintingLook() const
{
    if (fLook >= 1 && fLook <= 7) return fLook;
    const int16_t structure = GetDBVILook();
    return structure >= 1 && structure <= 7 ? structure : kFallbackSlot;
}

VLookHandler* VI_Handler::ToolboxLook() const { return fPrinting ? nullptr : GetLookHandler(PaintingLook()); }

int32_t VI_Handler::StdRGB(StdColor c) const
{
    VLookHandler* look = ToolboxLook();
    const uint32_t color = look ? look->GetStdColor(c) : kNoColor;
    if (color != kNoColor) return LongToRGB(color);
    return c == kStdText || c == 10 ? 0x000000 : 0xFFFFFF;
}

void VI_Handler::SetColRGBWithProc(int32_t foreground, int32_t background, void*)
{
    fForeground = foreground;
    fBackground = background;
    SetRGB(foreground == -1 ? 0x000000 : foreground & 0xFFFFFF, false);
    SetRGB(background == -2 || background == -1 ? 0xFFFFFF : background & 0xFFFFFF, true);
}

void VI_Handler::SetColRGBByType(int32_t foreground, int32_t background, int16_t, uint8_t)
{
    fForeground = foreground;
    fBackground = background;
}

void VI_Handler::SetCol(VIObj* obj, int16_t)
{
    if (!obj) return;
    int32_t fore = obj->foreColor, back = obj->backColor;
    const bool control = obj->widget != kVIEditField && obj->widget != kVIStaticText && obj->widget != kVIShape &&
                         obj->widget != kVIScrollArea && obj->widget != kVINone;
    if (fPrinting) {
        fore = fore < 0 ? 0x000000 : fore;
        back = back < 0 ? 0xFFFFFF : back;
    } else {
        if (fore < 0) fore = StdRGB(kStdText);
        if (back < 0) back = StdRGB(control ? kStdBackground : kStdFieldBackground);
    }
    fForeground = fore;
    fBackground = back;
    SetRGB(fore & 0xFFFFFF, false);
    SetRGB(back & 0xFFFFFF, true);
}

void VI_Handler::Draw(VIObj* obj, int16_t state, int32_t)
{
    if (!obj) return;
    obj->inner = obj->rect;
    obj->plainToDo = true;
    const int16_t widget = obj->widget;
    if (widget == kVINone) return;
    VLookHandler* look = ToolboxLook();
    const Rect r0 = obj->rect;
    if (!look) {
        // The print port, or no looks made yet: plain widgets, the shapes and
        // texts left to their own drawing.
        if (widget == kVIDivider) {
            const RGBColor black{0, 0, 0};
            RGBForeColor(&black);
            MoveTo(r0.left, r0.top);
            LineTo(r0.right, r0.bottom);
            obj->plainToDo = false;
            return;
        }
        if (widget == kVIStaticText || widget == kVIShape || widget == kVIBackground || widget == kVISubform) {
            if (widget == kVIBackground) {
                const RGBColor white{0xFFFF, 0xFFFF, 0xFFFF};
                RGBBackColor(&white);
                EraseRect(&obj->rect);
                obj->plainToDo = false;
            }
            return;
        }
        PlainWidget(obj);
        obj->plainToDo = false;
        return;
    }
    const PaintStatus status = (obj->flags & kVIEnabled) || state == kVIStateOver ? kStatusNormal : kStatusDisabled;
    VStr<255> title;
    title.FromPString(obj->title, kCharSetMac);
    const VString* text = obj->title[0] ? &title : nullptr;
    LookPass pass(look, PaintingLook());
    const Rect& r = obj->rect;
    switch (widget) {
    case kVIEditField: pass.Paint(kPaintEditField, status, r, text), obj->plainToDo = false; break;
    case kVIStaticText: break;
    case kVIScrollArea: {
        pass.Paint(kPaintEditField, status, r, text);
        const int16_t bar = GetScrollBarSize();
        Rect scroll{r.top, int16_t(std::max<int32_t>(r.left, r.right - bar)), r.bottom, r.right};
        PaintScrollBar(pass, scroll, kStatusInactive);
        obj->plainToDo = false;
        break;
    }
    case kVIShape:
        pass.Paint(obj->lookStyle == 2 ? kPaintSunkenEdge : obj->lookStyle == 3 ? kPaintEtchedFrame : kPaintRaisedEdge,
                   status, r);
        obj->inner = Inset(r, 2);
        break;
    case kVIPushButton: pass.Paint(kPaintPushButton, status, r, text), obj->plainToDo = false; break;
    case kVICheckBox:
        pass.Paint(kPaintCheckBox, status, obj->VIGetBackgroundBounds(this), text), obj->plainToDo = false;
        break;
    case kVIRadioButton:
        pass.Paint(kPaintRadioButton, status, obj->VIGetBackgroundBounds(this), text), obj->plainToDo = false;
        break;
    case kVIBackground: pass.Paint(kPaintPanel, kStatusNormal, r), obj->plainToDo = false; break;
    case kVIGroupFrame: {
        pass.Paint(kPaintEtchedFrame, status, r);
        if (text && obj->style == 3) {
            // The title sits on the top edge, over the look's background.
            FontInfo fi{};
            GetFontInfo(&fi);
            const int16_t w = int16_t(std::min<int32_t>(TextWidth(obj->title + 1, 0, obj->title[0]) + 4,
                                                        std::max(0, r.right - r.left - 16)));
            int16_t left = int16_t(r.left + 8);
            if (obj->justification == -1) left = int16_t(r.right - 8 - w);
            else if (obj->justification == 1) left = int16_t(r.left + (r.right - r.left - w) / 2);
            const Rect band{r.top, left, int16_t(r.top + fi.ascent + fi.descent), int16_t(left + w)};
            Rect box = band;
            OffsetRect(&box, 0, int16_t(-(fi.ascent + fi.descent) / 2));
            pass.Paint(kPaintPanel, kStatusNormal, box);
            ClipSection clip(box);
            SetRGB(obj->foreColor < 0 ? StdRGB(kStdText) : obj->foreColor & 0xFFFFFF, false);
            TextMode(srcOr);
            MoveTo(int16_t(box.left + 2), int16_t(box.top + fi.ascent));
            DrawText(obj->title + 1, 0, obj->title[0]);
        }
        obj->inner = Inset(r, 2);
        break;
    }
    case kVIRaisedFrame: pass.Paint(kPaintRaisedEdge, status, r), obj->inner = Inset(r, 1); break;
    case kVISunkenFrame: pass.Paint(kPaintSunkenEdge, status, r), obj->inner = Inset(r, 1); break;
    case kVIThermometer: case kVIRuler: {
        const bool vertical = r.bottom - r.top > r.right - r.left;
        pass.Paint(vertical ? kPaintVScrollTrack : kPaintHScrollTrack, status, r);
        if (widget == kVIRuler) {
            Rect thumb = r;
            const int16_t side = int16_t(vertical ? r.right - r.left : r.bottom - r.top);
            if (vertical) thumb.bottom = int16_t(std::min<int32_t>(r.bottom, r.top + side));
            else thumb.right = int16_t(std::min<int32_t>(r.right, r.left + side));
            pass.Paint(vertical ? kPaintVScrollThumb : kPaintHScrollThumb, status, thumb);
        }
        obj->plainToDo = false;
        break;
    }
    case kVIDial:
        pass.Paint(kPaintPanel, status, r);
        pass.Paint(kPaintRaisedEdge, status, r);
        obj->plainToDo = false;
        break;
    case kVIPopUp:
        pass.Paint(kPaintPopUpBox, status, r);
        pass.Paint(kPaintPopUpText, status, Inset(r, 1), text);
        obj->plainToDo = false;
        break;
    case kVIComboBox: pass.Paint(kPaintPopUpEditField, status, r, text), obj->plainToDo = false; break;
    case kVISubform: pass.Paint(kPaintSunkenEdge, status, r), obj->inner = Inset(r, 1); break;
    case kVISplitter:
        pass.Paint(r.bottom - r.top > r.right - r.left ? kPaintSplitBar : kPaintSplitBarOther, status, r);
        obj->plainToDo = false;
        break;
    case kVIDivider: {
        // A divider line two pixels thick, etched in the look.
        Rect line = r;
        if (line.right - line.left <= line.bottom - line.top) line.right = int16_t(line.left + 2);
        else line.bottom = int16_t(line.top + 2);
        pass.Paint(kPaintSeparatorLine, status, line);
        obj->plainToDo = false;
        break;
    }
    case kVITabControl:
        pass.Paint(kPaintPanel, kStatusNormal, r);
        pass.Paint(kPaintRaisedEdge, status, Rect{int16_t(std::min<int32_t>(r.bottom, r.top + kTabRowHeight)), r.left,
                                                  r.bottom, r.right});
        obj->inner = Rect{int16_t(r.top + kTabRowHeight + 2), int16_t(r.left + 2), int16_t(r.bottom - 2),
                          int16_t(r.right - 2)};
        obj->plainToDo = false;
        break;
    default: break;
    }
}

void VI_Handler::DrawFakeScrollBar(const Rect& r)
{
    if (r.right <= r.left || r.bottom <= r.top) return;
    VLookHandler* look = ToolboxLook();
    if (!look) {
        PlainBox(r);
        return;
    }
    LookPass pass(look, PaintingLook());
    PaintScrollBar(pass, r, kStatusInactive);
}

VI_Handler* VI_Manager::GetHandler(int16_t look)
{
    static VI_Handler handlers[11] = {VI_Handler(-3), VI_Handler(-2), VI_Handler(-1), VI_Handler(0),
                                      VI_Handler(1),  VI_Handler(2),  VI_Handler(3),  VI_Handler(4),
                                      VI_Handler(5),  VI_Handler(6),  VI_Handler(7)};
    return look >= -3 && look <= 7 ? &handlers[look + 3] : nullptr;
}

VI_Handler* VI_Manager::GetPrintHandler()
{
    static VI_Handler printing(0, true);
    return &printing;
}

int16_t VI_Manager::GetLookFromHandler(const VI_Handler* handler) { return handler ? handler->GetLook() : 0; }

int16_t GetLookFromVIProc(const VI_Handler* handler)
{
    return VI_Manager::GetLookFromHandler(handler ? handler : gVI);
}

bool CompareLook(int16_t look, int16_t other)
{
    return VI_Handler(look).PaintingLook() == VI_Handler(other).PaintingLook();
}

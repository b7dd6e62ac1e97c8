#include "toolbox/drawing/VMacThemeLookHandler.h"

#include <algorithm>
#include <cstring>

#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/ThemeText.h"
#include "platform/drawing/GWorlds.h"
#include "toolbox/drawing/LookCommon.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/foundation/VIcon.h"
#include "toolbox/foundation/VIntlMgr.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/foundation/system/VSystem.h"

using namespace look;
using namespace platform;

void MACTheme_DrawProc_RadioCheck(const Rect* bounds, ThemeButtonKind, const ThemeButtonDrawInfo*, uintptr_t userData,
                                  int16_t, Boolean)
{
    if (bounds && userData) *reinterpret_cast<Rect*>(userData) = *bounds;
}

OSStatus myDrawThemeButton(const Rect* bounds, ThemeButtonKind kind, const ThemeButtonDrawInfo* info,
                           const ThemeButtonDrawInfo* previous, ThemeEraseUPP eraseProc, ThemeButtonDrawUPP labelProc,
                           uintptr_t userData)
{
    CGrafPtr world = nullptr;
    GDHandle device = nullptr;
    GetGWorld(&world, &device);
    return DrawThemeButton(bounds, kind, info, previous, eraseProc, labelProc, userData);
}

namespace {

bool IsSystem10() { return VSystem::GetVersion() >= 0x1000; }

// A colour long from the high bytes of a platform colour.
uint32_t FromHighBytes(const RGBColor& c)
{
    return uint32_t(c.red >> 8) | uint32_t(c.green >> 8) << 8 | uint32_t(c.blue >> 8) << 16;
}

ThemeDrawState ButtonState(PaintStatus status)
{
    switch (status) {
    case kStatusPushed: case kStatusPushedOn: case kStatusOn: case kStatusButton4: return kThemeStatePressed;
    case kStatusDisabled: return kThemeStateInactive;
    default: return kThemeStateActive;
    }
}

// The states of the drop-down arrow and the pop-up box.
ThemeDrawState ArrowState(PaintStatus status)
{
    return status == kStatusDisabled ? kThemeStateInactive
           : status == kStatusPushed ? kThemeStatePressed
                                     : kThemeStateActive;
}

}  // namespace

VMacThemeLookHandler::VMacThemeLookHandler()
    : fAppearance11(look::HasAppearance11()), fLabelProc(NewThemeButtonDrawUPP(MACTheme_DrawProc_RadioCheck))
{
}

VMacThemeLookHandler::~VMacThemeLookHandler()
{
    fContext.Release();
    delete fDropDown;
    DisposeThemeButtonDrawUPP(fLabelProc);
}

Rect VMacThemeLookHandler::PortRect(VPainter* painter, int32_t l, int32_t t, int32_t w, int32_t h) const
{
    int32_t ox = 0, oy = 0, sx = 0, sy = 0;
    painter->GetOffset(ox, oy);
    painter->GetOffscreenOffset(sx, sy);
    // Clamped, not wrapped: a part far off the port stays off it.
    auto clamp = [](int64_t v) { return int16_t(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX)); };
    const int64_t left = int64_t(l) + (int64_t(ox) - sx), top = int64_t(t) + (int64_t(oy) - sy);
    return Rect{clamp(top), clamp(left), clamp(top + h), clamp(left + w)};
}

void VMacThemeLookHandler::ThemeButton(VPainter* painter, const Rect& r, ThemeButtonKind kind, ThemeDrawState state,
                                       ThemeButtonValue value, ThemeButtonAdornment adornment,
                                       ThemeButtonDrawUPP label, void* userData)
{
    const ThemeButtonDrawInfo info{state, value, adornment};
    fContext.UsePainter(painter, &r);
    myDrawThemeButton(&r, kind, &info, nullptr, nullptr, label, reinterpret_cast<uintptr_t>(userData));
    fContext.Release();
}

void VMacThemeLookHandler::Background(VPainter* painter, const Rect& r)
{
    fContext.UsePainter(painter, &r);
    SetThemeBackground(kThemeBrushDialogBackgroundActive, fContext.GetDepth(), true);
    EraseRect(&r);
    fContext.Release();
}

void VMacThemeLookHandler::EditField(VPainter* painter, PaintStatus status, const VString* text, const Rect& r,
                                     int32_t l, int32_t t, int32_t w, int32_t h)
{
    const Pen pen(painter, this);
    pen.Fill(0, l, t, w, h);
    Rect frame = r;
    InsetRect(&frame, 2, 2);
    fContext.UsePainter(painter, &r);
    DrawThemeEditTextFrame(&frame, status == kStatusDisabled ? kThemeStateInactive : kThemeStateActive);
    fContext.Release();
    const StdColor ink = status == kStatusDisabled ? 29 : status == kStatusPushed ? 28 : 25;
    const int32_t in = h < 18 ? 2 : 3;
    Caption(pen, text, ink, kAlignLeft, kAlignCentre, l + in, t + in, w - 2 * in, h - 2 * in, true);
}

void VMacThemeLookHandler::MenuPart(VPainter* painter, PaintMethod method, PaintStatus status, const VString* text,
                                    const Rect& r, int32_t l, int32_t t, int32_t w, int32_t h, void* extra)
{
    const bool title = method == kPaintMenuTitle;
    ThemeMenuState menuState = kThemeMenuActive;
    ThemeDrawState textState = kThemeStateActive;
    ThemeTextColor textColor = title ? kThemeTextColorRootMenuActive : kThemeTextColorMenuItemActive;
    if (status == kStatusDisabled) {
        menuState = kThemeMenuDisabled;
        textState = kThemeStateInactive;
        textColor = title ? kThemeTextColorRootMenuDisabled : kThemeTextColorMenuItemDisabled;
    } else if (status == kStatusPushed) {
        menuState = kThemeMenuSelected;
        textState = kThemeStatePressed;
        textColor = title ? kThemeTextColorRootMenuSelected : kThemeTextColorMenuItemSelected;
    }
    fContext.UsePainter(painter, &r);
    Point corner{r.top, r.left};
    LocalToGlobal(&corner);
    const Rect item{corner.v, corner.h, int16_t(corner.v + (r.bottom - r.top)), int16_t(corner.h + (r.right - r.left))};
    RGBColor ink{0, 0, 0};
    GetThemeTextColor(textColor, fContext.GetDepth(), true, &ink);
    if (title) {
        Rect bar = item;
        if (extra) {
            const VRect& whole = *static_cast<const VRect*>(extra);
            const Rect converted = PortRect(painter, whole.GetLeft(), 0, whole.GetWidth(), 0);
            bar.left = converted.left;
            bar.right = converted.right;
        }
        DrawThemeMenuTitle(&bar, &item, menuState, 0, nullptr, 0);
    } else {
        DrawThemeMenuItem(&item, &item, item.top, item.bottom, menuState, kThemeMenuItemPlain, nullptr, 0);
    }
    fContext.Release();
    if (!text) return;
    if (!IsSystem10()) {
        painter->SetStdFont(method == kPaintMenuItem ? kStdFontMenu : kStdFontSmallMenu);
        painter->SetTextColor(uint32_t(ink.red & 0xFF) | uint32_t(ink.green & 0xFF) << 8 |
                              uint32_t(ink.blue & 0xFF) << 16);
        look::DrawTextBox(painter, *text, title ? kAlignCentre : kAlignLeft, kAlignCentre, l, t, w, h, false);
        return;
    }
    uint8_t bytes[256];
    text->ToCString(bytes, sizeof bytes, kCharSetMac);
    VStr<255> converted;
    converted.FromMacCString(bytes);
    const std::u16string units = converted.GetCFString();
    const ThemeFontID font = method == kPaintMenuItem ? kThemeMenuItemFont : kThemeSmallSystemFont;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    if (CGrafPtr port = painter->GetCurPort()) SetPort(port);
    RGBForeColor(&ink);
    Point size{0, 0};
    int16_t baseline = 0;
    GetThemeTextDimensions(units, font, textState, false, &size, &baseline);
    const int16_t height = size.v;
    const Rect box{int16_t(r.top + (h - height) / 2), r.left, int16_t(r.top + (h + height) / 2), r.right};
    DrawThemeTextBox(units, font, textState, false, &box, title ? teCenter : teFlushLeft, nullptr);
    SetPort(saved);
}

void VMacThemeLookHandler::Button(VPainter* painter, PaintMethod method, PaintStatus status, const VString* text,
                                  const Rect& r, int32_t l, int32_t t, int32_t w, int32_t h)
{
    if (method == kPaintFlatButton && (status == kStatusNormal || status == kStatusDisabled)) {
        Background(painter, r);
        return;
    }
    ThemeButton(painter, r, kThemeSmallBevelButton, ButtonState(status), kThemeButtonOff, kThemeAdornmentNone,
                nullptr, nullptr);
    ButtonCaption(Pen(painter, this), text, status, l, t, w, h);
}

void VMacThemeLookHandler::xDrawCheckOrRadio(VPainter* painter, PaintMethod method, PaintStatus status,
                                             const VString* text, const Rect& r, int32_t l, int32_t t, int32_t w,
                                             int32_t h)
{
    const bool small = IsSystem10() && h < 17;
    const ThemeButtonKind kind = method == kPaintCheckBox ? (small ? kThemeSmallCheckBox : kThemeCheckBox)
                                                          : (small ? kThemeSmallRadioButton : kThemeRadioButton);
    const ThemeButtonValue value = IsOnStatus(status) ? kThemeButtonOn
                                   : IsMixedStatus(status) ? kThemeButtonMixed
                                                           : kThemeButtonOff;
    ThemeDrawState state = kThemeStateActive;
    if (status == kStatusPushed || status == kStatusPushedOn || status == kStatusPushedMixed)
        state = kThemeStatePressed;
    else if (IsDisabledStatus(status)) state = kThemeStateInactive;
    // The label starts where the button does unless the platform says
    // otherwise through the label procedure.
    Rect label = r;
    ThemeButton(painter, r, kind, state, value, kThemeAdornmentNone, fLabelProc, &label);
    const int32_t d = label.left - r.left;
    const Pen pen(painter, this);
    CaptionFont(painter, text, kStdFontControl);
    if (status == kStatusDisabled) {
        Caption(pen, text, 20, kAlignLeft, kAlignCentre, l + d + 1, t + 1, w - d, h);
        Caption(pen, text, 29, kAlignLeft, kAlignCentre, l + d, t, w - d, h);
    } else {
        Caption(pen, text, 25, kAlignLeft, kAlignCentre, l + d, t, w - d, h);
    }
}

void VMacThemeLookHandler::DropDownArrow(VPainter* painter, PaintStatus status, const Rect& r, int32_t l, int32_t t,
                                         int32_t w, int32_t h)
{
    ThemeButton(painter, r, kThemeSmallBevelButton, ArrowState(status), kThemeButtonOff, kThemeAdornmentNone, nullptr,
                nullptr);
    VIcon* icon = LoadIcon(fDropDown, painter, "ArrowBottom");
    if (!icon) return;
    const int32_t ix = l + (w - icon->GetWidth()) / 2, iy = t + (h - icon->GetHeight()) / 2;
    if (status == kStatusNormal) DrawIcon(painter, icon, ix, iy, kIconNormal);
    else if (status == kStatusDisabled) DrawIcon(painter, icon, ix, iy, kIconShadow);
    else if (status == kStatusPushed) DrawIcon(painter, icon, ix + 1, iy + 1, kIconNormal);
}

void VMacThemeLookHandler::xPaintScrollBar(VPainter* painter, PaintStatus status, const Rect& r, int32_t w, int32_t h,
                                           const void* record)
{
    int32_t maximum = 0, value = 0, page = 0, part = 0;
    if (record) {
        const int32_t* fields = static_cast<const int32_t*>(record);
        maximum = fields[1];
        value = fields[2];
        page = fields[3];
        part = fields[4];
    }
    ThemeTrackEnableState enable = kThemeTrackActive;
    if (status == kStatusInactive) enable = kThemeTrackInactive;
    else if (status == kStatusDisabled) enable = maximum || value ? kThemeTrackInactive : kThemeTrackNothingToScroll;
    else if (status == kStatusNormal && !maximum && !value) enable = kThemeTrackNothingToScroll;
    ThemeTrackPressState press = 0;
    if (status == kStatusPushed) {
        if (part == 1) press = kThemeLeftOutsideArrowPressed | kThemeRightInsideArrowPressed;
        else if (part == 2) press = kThemeLeftInsideArrowPressed | kThemeRightOutsideArrowPressed;
        else if (part == 5) press = kThemeThumbPressed;
    }
    const bool horizontal = w > h;
    fContext.UsePainter(painter, &r);
    NormalizeThemeDrawingState();
    Rect track = r;
    DrawThemeScrollBarArrows(&r, enable, press, horizontal, &track);
    ThemeTrackDrawInfo info{};
    info.kind = kThemeScrollBar;
    info.bounds = track;
    info.min = 0;
    const bool nothing = enable == kThemeTrackNothingToScroll;
    info.max = nothing ? 0 : maximum;
    info.value = nothing ? 0 : value;
    info.attributes = ThemeTrackAttributes(kThemeTrackShowThumb | (horizontal ? kThemeTrackHorizontal : 0));
    info.enableState = enable;
    info.trackInfo.scrollbar.viewsize = GetStdBehaviour(0) != 0 ? (nothing ? 0 : page) : 0;
    info.trackInfo.scrollbar.pressState = press;
    DrawThemeTrack(&info, nullptr, nullptr, 0);
    fContext.Release();
}

void VMacThemeLookHandler::DrawListHeaderItem(VPainter* painter, PaintMethod, PaintStatus status, uint16_t flags,
                                              const Rect& r)
{
    const ThemeDrawState state = status == kStatusPushed     ? kThemeStatePressed
                                 : status == kStatusDisabled ? kThemeStateInactive
                                                             : kThemeStateActive;
    ThemeButtonValue value = kThemeButtonOff;
    ThemeButtonAdornment adornment = kThemeAdornmentNone;
    if (flags & 1) {
        value = kThemeButtonOn;
        adornment = kThemeAdornmentHeaderButtonSortUp;
    } else if (flags & 2) {
        value = kThemeButtonOn;
    }
    if (flags & 4) adornment |= kThemeAdornmentHeaderButtonLeftNeighborSelected;
    else if (flags & 8) adornment |= kThemeAdornmentHeaderButtonRightNeighborSelected;
    ThemeButton(painter, r, kThemeListHeaderButton, state, value, adornment, nullptr, nullptr);
}

bool VMacThemeLookHandler::Paint(VPainter* painter, PaintMethod method, PaintStatus status, int32_t l, int32_t t,
                                 int32_t w, int32_t h, const VString* text, void* extra)
{
    if (!fAppearance11) return fCop.Paint(painter, method, status, l, t, w, h, text, extra);
    const Rect r = PortRect(painter, l, t, w, h);
    Preamble(painter);
    switch (method) {
    case kPaintPanel: Background(painter, r); break;
    case kPaintEditField: EditField(painter, status, text, r, l, t, w, h); break;
    case kPaintMenuItem: case kPaintSmallMenuItem: case kPaintMenuTitle:
        MenuPart(painter, method, status, text, r, l, t, w, h, extra);
        break;
    case kPaintPushButton: case kPaintFlatButton: case kPaintHeaderCell:
        Button(painter, method, status, text, r, l, t, w, h);
        break;
    case kPaintRadioButton: case kPaintCheckBox: xDrawCheckOrRadio(painter, method, status, text, r, l, t, w, h); break;
    case kPaintCentredSeparator:
        fContext.UsePainter(painter, &r);
        DrawThemeSeparator(&r, kThemeStateActive);
        fContext.Release();
        break;
    case kPaintDropDownArrow: DropDownArrow(painter, status, r, l, t, w, h); break;
    case kPaintPopUpBox:
        ThemeButton(painter, r, kThemePopupButton, ArrowState(status), kThemeButtonOff, kThemeAdornmentNone, nullptr,
                    nullptr);
        break;
    case kPaintWholeScrollBar: xPaintScrollBar(painter, status, r, w, h, extra); break;
    case kPaintMenuBarBackground:
        fContext.UsePainter(painter, &r);
        DrawThemeMenuBarBackground(&r, kThemeMenuBarNormal, 1);
        fContext.Release();
        break;
    case kPaintListHeaderItem: case kPaintListHeaderItem2: case kPaintListHeaderItem3:
        DrawListHeaderItem(painter, method, status, extra ? *static_cast<const uint16_t*>(extra) : 0, r);
        break;
    case kPaintUnused: case kPaintSortArrowUp: case kPaintSortArrowDown: DefaultBox(painter, l, t, w, h); break;
    default:
        if (method < 0 || method > kPaintLastMethod) DefaultBox(painter, l, t, w, h);
        else return fCop.Paint(painter, method, status, l, t, w, h, text, extra);
        break;
    }
    return true;
}

uint32_t VMacThemeLookHandler::GetStdColor(StdColor c)
{
    RGBColor rgb{};
    switch (c) {
    case 60: return GetThemeBrushAsColor(kThemeBrushSecondaryHighlightColor, 32, true, &rgb) ? kNoColor : FromHighBytes(rgb);
    case 61: return GetThemeBrushAsColor(kThemeBrushBlack, 32, true, &rgb) ? kNoColor : FromHighBytes(rgb);
    case 62:
        return GetThemeBrushAsColor(kThemeBrushAlternatePrimaryHighlightColor, 32, true, &rgb) ? kNoColor
                                                                                                : FromHighBytes(rgb);
    case 63: return GetThemeTextColor(kThemeTextColorDialogActive, 32, true, &rgb) ? kNoColor : FromHighBytes(rgb);
    case 64: return GetThemeTextColor(kThemeTextColorDialogInactive, 32, true, &rgb) ? kNoColor : FromHighBytes(rgb);
    default: return fCop.GetStdColor(c);
    }
}

bool VMacThemeLookHandler::GetStdFont(CGrafPtr port, StdFont font, VString& name, int16_t& size, uint8_t& bold,
                                      uint8_t& italic)
{
    if (!IsSystem10()) return fCop.GetStdFont(port, font, name, size, bold, italic);
    static constexpr ThemeFontID kFonts[8] = {kThemeMenuTitleFont, kThemeMenuTitleFont, kThemePushButtonFont,
                                              kThemePushButtonFont, kThemeLabelFont,     kThemeSmallSystemFont,
                                              kThemeApplicationFont, kThemeSystemFont};
    if (font < 0 || font > 7) return false;
    const ScriptCode script = gDefaultIntl ? gDefaultIntl->GetMacScript() : 0;
    Str255 family{};
    int16_t themeSize = 0;
    Style style = 0;
    if (GetThemeFont(kFonts[font], script, family, &themeSize, &style) != noErr) return false;
    name.FromMacPString(family);
    size = font == kStdFontSmallMenu || font == kStdFontSmallControl ? int16_t(themeSize - 2) : themeSize;
    bold = style & 1;
    italic = (style >> 1) & 1;
    return true;
}

int32_t VMacThemeLookHandler::GetStdBehaviour(StdBehaviour b)
{
    int32_t value = 0;
    switch (b) {
    case 0: {
        ThemeScrollBarThumbStyle style = 0;
        return fAppearance11 && GetThemeScrollBarThumbStyle(&style) == noErr &&
               style == kThemeScrollBarThumbProportional;
    }
    case 1: case 2: case 3:
        GetThemeMetric(kThemeMetricScrollBarWidth, &value);
        return value;
    case 4: {
        ThemeScrollBarArrowStyle style = 0;
        return fAppearance11 && GetThemeScrollBarArrowStyle(&style) == noErr &&
               style == kThemeScrollBarArrowsLowerRight;
    }
    case 6: return 1;
    case 11: return GetThemeMetric(kThemeMetricDisclosureTriangleWidth, &value) == noErr ? value : 13;
    case 12: return GetThemeMetric(kThemeMetricListHeaderHeight, &value) == noErr ? value : 17;
    default: return fCop.GetStdBehaviour(b);
    }
}

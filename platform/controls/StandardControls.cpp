// The standard kinds as definitions: push buttons, check boxes and radio
// buttons (definition 0), scroll bars (1, live 24), progress bars (5), user
// panes (16), static text (18) and pop-up buttons (25, 63).
#include <algorithm>
#include <new>
#include <string>

#include "platform/controls/ControlRecord.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/text/SingleByteSets.h"
#include "platform/theme/Theme.h"

namespace platform {
namespace {

enum : int16_t {
    kButtonDef = 0,
    kScrollBarDef = 1,
    kProgressDef = 5,
    kUserPaneDef = 16,
    kStaticTextDef = 18,
    kLiveScrollBarDef = 24,
    kPopupDef = 25,
    kOldPopupDef = 63,
};

std::u16string Unicode(const unsigned char* bytes, size_t n)
{
    std::u16string s;
    s.reserve(n);
    for (size_t i = 0; i < n; ++i) s.push_back(MacRomanToUnicode(bytes[i]));
    return s;
}
std::u16string Title(const ControlRecord& c) { return Unicode(c.title + 1, c.title[0]); }

ThemeDrawState DrawState(const ControlRecord& c, ControlPartCode pressedPart)
{
    if (c.hilite == kControlInactivePart || c.hilite == kControlDisabledPart) return kThemeStateInactive;
    if (pressedPart != 0 && c.hilite == pressedPart) return kThemeStatePressed;
    return kThemeStateActive;
}

// Under a control: the port's background (a dialog's is white unless the
// application set another).
void EraseBackground(const Rect* bounds, uint32_t, int16_t, Boolean) { EraseRect(bounds); }

void DrawLabel(const Rect* bounds, ThemeButtonKind kind, const ThemeButtonDrawInfo* info, uintptr_t userData,
               int16_t, Boolean)
{
    const ControlRecord& c = *reinterpret_cast<const ControlRecord*>(userData);
    std::u16string text = IsPopupButton(c) ? std::u16string() : Title(c);
    if (IsPopupButton(c) && c.popupMenu && c.value >= 1 && c.value <= CountMenuItems(c.popupMenu)) {
        Str255 item;
        GetMenuItemText(c.popupMenu, MenuItemIndex(c.value), item);
        text = Unicode(item + 1, item[0]);
    }
    const ThemeFontID font = (Variation(c.procID) & useWFont) ? kThemeCurrentPortFont
                             : kind == kThemePushButton        ? kThemePushButtonFont
                                                               : kThemeSystemFont;
    RGBColor fore, color;
    GetForeColor(&fore);
    GetThemeTextColor(info->state == kThemeStateInactive ? kThemeTextColorDialogInactive : kThemeTextColorDialogActive,
                      32, true, &color);
    RGBForeColor(&color);
    DrawThemeTextBox(text, font, info->state, false, bounds, kind == kThemePushButton ? teCenter : teFlushLeft, nullptr);
    RGBForeColor(&fore);
}

void DrawPopupTitle(ControlRecord& c)
{
    if (c.popupTitleWidth <= 0) return;
    Rect box = c.bounds;
    box.right = int16_t(box.left + c.popupTitleWidth);
    EraseBackground(&box, 0, 32, true);
    InsetRect(&box, 0, int16_t(std::max(0, (box.bottom - box.top - 16) / 2)));
    RGBColor fore, color;
    GetForeColor(&fore);
    const ThemeDrawState state = DrawState(c, 0);
    GetThemeTextColor(state == kThemeStateInactive ? kThemeTextColorDialogInactive : kThemeTextColorDialogActive, 32,
                      true, &color);
    RGBForeColor(&color);
    DrawThemeTextBox(Title(c), (Variation(c.procID) & useWFont) ? kThemeCurrentPortFont : kThemeSystemFont, state,
                     false, &box, teFlushLeft, nullptr);
    RGBForeColor(&fore);
}

void DrawButtonKind(ControlRecord& c, ThemeButtonKind kind, ControlPartCode part)
{
    if (kind == kThemePopupButton) {
        DrawPopupTitle(c);
        const Rect button = PopupButtonRect(c);
        ThemeButtonDrawInfo info{DrawState(c, part), kThemeButtonOff, kThemeAdornmentNone};
        DrawThemeButton(&button, kind, &info, nullptr, EraseBackground, DrawLabel, reinterpret_cast<uintptr_t>(&c));
        return;
    }
    ThemeButtonDrawInfo info{DrawState(c, part), ThemeButtonValue(std::clamp<int32_t>(c.value, 0, 2)),
                             kThemeAdornmentNone};
    if (kind == kThemePushButton || kind == kThemePopupButton) info.value = kThemeButtonOff;
    if (kind == kThemePushButton && c.isDefault) info.adornment = kThemeAdornmentDefault;
    DrawThemeButton(&c.bounds, kind, &info, nullptr, EraseBackground, DrawLabel, reinterpret_cast<uintptr_t>(&c));
}

ThemeTrackPressState PressState(const ControlRecord& c)
{
    switch (c.hilite) {
    case kControlUpButtonPart: return kThemeLeftOutsideArrowPressed;
    case kControlDownButtonPart: return kThemeRightOutsideArrowPressed;
    case kControlPageUpPart: return kThemeLeftTrackPressed;
    case kControlPageDownPart: return kThemeRightTrackPressed;
    case kControlIndicatorPart: return kThemeThumbPressed;
    default: return 0;
    }
}

ThemeTrackDrawInfo TrackInfo(const ControlRecord& c, int32_t value)
{
    ThemeTrackDrawInfo info{};
    info.kind = kThemeScrollBar;
    info.bounds = ScrollBarTrack(c);
    info.min = c.min;
    info.max = c.max;
    info.value = value;
    info.attributes = kThemeTrackShowThumb | (ScrollBarHorizontal(c) ? kThemeTrackHorizontal : 0);
    info.enableState = c.hilite == kControlInactivePart ? kThemeTrackInactive
                       : c.max <= c.min                 ? kThemeTrackNothingToScroll
                                                        : kThemeTrackActive;
    info.trackInfo.scrollbar.viewsize = c.viewSize;
    info.trackInfo.scrollbar.pressState = PressState(c);
    return info;
}

void DrawScrollBar(ControlRecord& c)
{
    const ThemeTrackDrawInfo info = TrackInfo(c, c.value);
    Rect track;
    DrawThemeScrollBarArrows(&c.bounds, info.enableState, info.trackInfo.scrollbar.pressState, ScrollBarHorizontal(c),
                             &track);
    RgnHandle ghost = nullptr;
    if (c.ghost) {
        ghost = NewRgn();
        RectRgn(ghost, &c.ghostRect);
    }
    DrawThemeTrack(&info, ghost, nullptr, 0);
    if (ghost) DisposeRgn(ghost);
}

ControlPartCode ScrollBarPart(const ControlRecord& c, Point p)
{
    if (c.max <= c.min) return kControlNoPart;
    const bool h = ScrollBarHorizontal(c);
    const Rect track = ScrollBarTrack(c);
    const int16_t along = h ? p.h : p.v;
    const int16_t start = h ? track.left : track.top;
    const int16_t end = h ? track.right : track.bottom;
    if (along < start) return kControlUpButtonPart;
    if (along >= end) return kControlDownButtonPart;
    Rect thumb;
    if (!ScrollBarThumb(c, c.value, &thumb)) return kControlNoPart;
    if (PtInRect(p, &thumb)) return kControlIndicatorPart;
    return along < (h ? thumb.left : thumb.top) ? kControlPageUpPart : kControlPageDownPart;
}

void DrawProgress(ControlRecord& c)
{
    ThemeTrackDrawInfo info{};
    info.kind = c.indeterminate ? kThemeIndeterminateBar : kThemeProgressBar;
    info.bounds = c.bounds;
    info.min = c.min;
    info.max = c.max;
    info.value = c.value;
    info.attributes = kThemeTrackHorizontal;
    info.enableState = c.hilite == kControlInactivePart ? kThemeTrackInactive : kThemeTrackActive;
    info.trackInfo.progressPhase = c.phase;
    DrawThemeTrack(&info, nullptr, nullptr, 0);
}

void DrawStaticText(ControlRecord& c)
{
    EraseBackground(&c.bounds, 0, 32, true);
    RGBColor fore, color;
    GetForeColor(&fore);
    GetThemeTextColor(c.hilite == kControlInactivePart ? kThemeTextColorDialogInactive : kThemeTextColorDialogActive,
                      32, true, &color);
    RGBForeColor(&color);
    DrawThemeTextBox(Unicode(reinterpret_cast<const unsigned char*>(c.staticText.data()), c.staticText.size()),
                     (Variation(c.procID) & useWFont) ? kThemeCurrentPortFont : kThemeSystemFont,
                     c.hilite == kControlInactivePart ? kThemeStateInactive : kThemeStateActive, true, &c.bounds,
                     teFlushDefault, nullptr);
    RGBForeColor(&fore);
}

void SetRegion(const ControlRecord& c, int16_t message, intptr_t param)
{
    RgnHandle rgn = reinterpret_cast<RgnHandle>(param & ~(intptr_t(1) << (sizeof(intptr_t) * 8 - 1)));
    if (!rgn) return;
    Rect r = c.bounds;
    if (message == calcThumbRgn && IsScrollBar(c) && !ScrollBarThumb(c, c.value, &r)) r = Rect{0, 0, 0, 0};
    RectRgn(rgn, &r);
}

int32_t StandardKinds(int16_t varCode, ControlRef control, int16_t message, intptr_t param);

// Drawing makes small strings: short memory leaves the control undrawn.
int32_t StandardDefinition(int16_t varCode, ControlRef control, int16_t message, intptr_t param)
{
    try {
        return StandardKinds(varCode, control, message, param);
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

int32_t StandardKinds(int16_t varCode, ControlRef control, int16_t message, intptr_t param)
{
    ControlRecord& c = *control;
    const int16_t def = DefinitionId(c.procID);
    switch (message) {
    case drawCntl: {
        if (!c.visible) return 0;
        const ControlPartCode part = ControlPartCode(param);
        (void)part;
        switch (def) {
        case kButtonDef: {
            const int kind = varCode & 7;
            DrawButtonKind(c, kind == 1 ? kThemeCheckBox : kind == 2 ? kThemeRadioButton : kThemePushButton,
                           kind == 0 ? kControlButtonPart : kControlCheckBoxPart);
            break;
        }
        case kScrollBarDef:
        case kLiveScrollBarDef: DrawScrollBar(c); break;
        case kProgressDef: DrawProgress(c); break;
        case kStaticTextDef: DrawStaticText(c); break;
        case kUserPaneDef:
            if (c.paneDraw) c.paneDraw(control, ControlPartCode(param));
            break;
        case kPopupDef:
        case kOldPopupDef: DrawButtonKind(c, kThemePopupButton, kControlMenuPart); break;
        default: break;
        }
        return 0;
    }
    case testCntl: {
        const Point p = UnpackPoint(param);
        if (c.hilite == kControlInactivePart) return 0;
        if (def == kUserPaneDef) return c.paneHitTest ? c.paneHitTest(control, p) : 0;
        if (!PtInRect(p, &c.bounds)) return 0;
        switch (def) {
        case kButtonDef: return (varCode & 7) == 0 ? kControlButtonPart : kControlCheckBoxPart;
        case kScrollBarDef:
        case kLiveScrollBarDef: return ScrollBarPart(c, p);
        case kPopupDef:
        case kOldPopupDef: return kControlMenuPart;
        default: return 0;
        }
    }
    case calcCRgns:
    case calcCntlRgn:
    case calcThumbRgn: SetRegion(c, message, param); return 0;
    case initCntl:
        if (def == kScrollBarDef || def == kLiveScrollBarDef) c.viewSize = 0;
        return 0;
    default: return 0;
    }
}

}  // namespace

bool IsScrollBar(const ControlRecord& c)
{
    const int16_t def = DefinitionId(c.procID);
    return c.def == StandardDefinition && (def == kScrollBarDef || def == kLiveScrollBarDef);
}
bool IsLiveScrollBar(const ControlRecord& c)
{
    return c.def == StandardDefinition && DefinitionId(c.procID) == kLiveScrollBarDef;
}
bool IsPopupButton(const ControlRecord& c)
{
    const int16_t def = DefinitionId(c.procID);
    return c.def == StandardDefinition && (def == kPopupDef || def == kOldPopupDef);
}
bool IsUserPane(const ControlRecord& c)
{
    return c.def == StandardDefinition && DefinitionId(c.procID) == kUserPaneDef;
}
Rect PopupButtonRect(const ControlRecord& c)
{
    Rect r = c.bounds;
    r.left = int16_t(std::min<int32_t>(r.left + c.popupTitleWidth, r.right));
    return r;
}

bool ScrollBarHorizontal(const ControlRecord& c)
{
    return c.bounds.right - c.bounds.left > c.bounds.bottom - c.bounds.top;
}

Rect ScrollBarTrack(const ControlRecord& c)
{
    Rect r = c.bounds;
    if (ScrollBarHorizontal(c)) {
        const int16_t side = int16_t(r.bottom - r.top);
        r.left = int16_t(std::min<int32_t>(r.left + side, r.right));
        r.right = int16_t(std::max<int32_t>(c.bounds.right - side, r.left));
    } else {
        const int16_t side = int16_t(r.right - r.left);
        r.top = int16_t(std::min<int32_t>(r.top + side, r.bottom));
        r.bottom = int16_t(std::max<int32_t>(c.bounds.bottom - side, r.top));
    }
    return r;
}

bool ScrollBarThumb(const ControlRecord& c, int32_t value, Rect* thumb)
{
    const ThemeTrackDrawInfo info = TrackInfo(c, value);
    return GetThemeTrackThumbRect(&info, thumb);
}

int32_t ScrollBarValueAt(const ControlRecord& c, int32_t thumbStart)
{
    Rect thumb;
    if (!ScrollBarThumb(c, c.min, &thumb)) return c.value;
    const bool h = ScrollBarHorizontal(c);
    const Rect track = ScrollBarTrack(c);
    const int32_t size = h ? thumb.right - thumb.left : thumb.bottom - thumb.top;
    const int32_t room = (h ? track.right - track.left : track.bottom - track.top) - size;
    if (room <= 0) return c.min;
    const int64_t offset = std::clamp<int64_t>(thumbStart - (h ? track.left : track.top), 0, room);
    const int64_t range = int64_t(c.max) - c.min;
    return int32_t(c.min + (offset * range + room / 2) / room);
}

ControlDefUPP StandardControlDefinition(int16_t procID)
{
    switch (DefinitionId(procID)) {
    case kButtonDef:
        return (Variation(procID) & 7) <= 2 ? StandardDefinition : nullptr;
    case kScrollBarDef:
    case kLiveScrollBarDef:
    case kProgressDef:
    case kUserPaneDef:
    case kStaticTextDef:
    case kPopupDef:
    case kOldPopupDef: return StandardDefinition;
    default: return nullptr;
    }
}

}  // namespace platform

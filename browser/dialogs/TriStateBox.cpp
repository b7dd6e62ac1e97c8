#include "browser/dialogs/TriStateBox.h"

#include <string>

#include "app/appl/Utilities.h"
#include "app/dialogs/ArrowControl.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/ThemeText.h"
#include "platform/text/SingleByteSets.h"

using namespace platform;

namespace browser {

namespace {

ThemeButtonValue ButtonValue(int16_t value)
{
    switch (value) {
    case 0: return kThemeButtonOff;
    case 1: return kThemeButtonOn;
    default: return kThemeButtonMixed;
    }
}

void Draw(ControlRef control)
{
    if (!IsControlVisible(control)) return;
    Rect bounds{};
    GetControlBounds(control, &bounds);
    const ThemeButtonDrawInfo info{kThemeStateActive, ButtonValue(GetControlValue(control)), kThemeAdornmentNone};
    // The callbacks are made for this drawing alone.
    ThemeEraseUPP erase = NewThemeEraseUPP(ThemeEraseProc);
    ThemeButtonDrawUPP label = NewThemeButtonDrawUPP(ThemeButtonDrawProc);
    DrawThemeButton(&bounds, kThemeCheckBox, &info, nullptr, erase, label, reinterpret_cast<uintptr_t>(control));
    DisposeThemeEraseUPP(erase);
    DisposeThemeButtonDrawUPP(label);
}

int32_t Hit(int16_t variation, ControlRef control, intptr_t param)
{
    if (GetControlHilite(control) == 255) return kControlNoPart;
    Rect zone{};
    GetControlBounds(control, &zone);
    if (variation == kTriStateBoxOnly) {
        Rect box{-6, 2, 6, 14};
        OffsetRect(&box, int16_t(zone.left + 10), int16_t(zone.top + 9));
        zone = box;
    }
    const Point where{int16_t(param >> 16), int16_t(param & 0xFFFF)};
    return PtInRect(where, &zone) ? kControlCheckBoxPart : kControlNoPart;
}

void BoundsRegion(ControlRef control, intptr_t region)
{
    Rect bounds{};
    GetControlBounds(control, &bounds);
    if (auto* rgn = reinterpret_cast<RgnHandle>(region)) RectRgn(rgn, &bounds);
}

}  // namespace

void ThemeEraseProc(const Rect* bounds, uint32_t, int16_t, Boolean)
{
    if (bounds) EraseRect(bounds);
}

void ThemeButtonDrawProc(const Rect* bounds, ThemeButtonKind, const ThemeButtonDrawInfo*, uintptr_t userData, int16_t,
                         Boolean)
{
    auto control = reinterpret_cast<ControlRef>(userData);
    if (!bounds || !control) return;
    Str255 title;
    GetControlTitle(control, title);
    std::u16string text(title[0], u'\0');
    for (int i = 0; i < title[0]; ++i) text[size_t(i)] = MacRomanToUnicode(title[i + 1]);
    DrawThemeTextBox(text, kThemeSystemFont, kThemeStateActive, false, bounds, teFlushDefault, nullptr);
}

int32_t TriStateProc(int16_t variation, ControlRef control, int16_t message, intptr_t param)
{
    if (!control) return 0;
    PenState pen{};
    GetPenState(&pen);
    int32_t result = 0;
    switch (message) {
    case drawCntl: Draw(control); break;
    case testCntl: result = Hit(variation, control, param); break;
    case calcCRgns: BoundsRegion(control, param & ~(intptr_t(1) << (sizeof(intptr_t) * 8 - 1))); break;
    case calcCntlRgn:
    case calcThumbRgn: BoundsRegion(control, param); break;
    default: break;
    }
    SetPenState(&pen);
    return result;
}

void InstallTriStateBox()
{
    SetTriStateProc(TriStateProc);
    if (Is_SystemX()) RegisterAppControlDefinitions();
}

}  // namespace browser

#include "app/dialogs/ArrowControl.h"

#include "app/dialogs/ControlCollection.h"
#include "app/appl/Utilities.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/icons/Icons.h"
#include "platform/resfiles/Resources.h"

using namespace platform;

namespace {

ControlDefProcPtr gTriState = nullptr;

void Grey(uint16_t level)
{
    const RGBColor c{level, level, level};
    RGBForeColor(&c);
}

bool PartEnabled(ControlRef control, int16_t part)
{
    const int16_t value = GetControlValue(control);
    return part <= 2 ? value != GetControlMinimum(control) : value != GetControlMaximum(control);
}

// The rule along the top and right edges of an inactive control.
void LineRect(const Rect& bounds)
{
    MoveTo(bounds.left, bounds.top);
    LineTo(int16_t(bounds.right - 1), bounds.top);
    LineTo(int16_t(bounds.right - 1), int16_t(bounds.bottom - 1));
}

void DrawPlaneTpe(ControlRef control)
{
    const int16_t hilite = GetControlHilite(control);
    if (hilite < 254) {
        for (int16_t part = 1; part <= 4; ++part) {
            const Rect r = GetCtlPartRect(control, part);
            DrawArrowIcon(&r, hilite == part, PartEnabled(control, part), int16_t(kArrowIconBase + 2 * (part - 1)));
        }
        return;
    }
    Rect bounds;
    GetControlBounds(control, &bounds);
    RGBColor fore;
    GetForeColor(&fore);
    Grey(0xDDDD);
    PaintRect(&bounds);
    if (Is_SystemX()) Grey(0x6666);
    else Grey(0);
    LineRect(bounds);
    RGBForeColor(&fore);
}

// Messages 0, 3 and 8 of the definition: only variation 0 is drawn;
// initialising and tracking leave everything to the platform.
void DrawPlControl(int16_t variation, ControlRef control)
{
    if (IsControlVisible(control) && variation == 0) DrawPlaneTpe(control);
}
void InitPlControl(ControlRef) {}
void TrackPlControl(ControlRef) {}

}  // namespace

void myPlotCIcon(const Rect& r, int16_t iconId)
{
    if (CIconHandle icon = GetCIcon(iconId)) {
        const Rect& b = (*icon)->iconPMap.bounds;
        const Rect at{r.top, r.left, int16_t(r.top + (b.bottom - b.top)), int16_t(r.left + (b.right - b.left))};
        PlotCIcon(&at, icon);
        DisposeCIcon(icon);
    }
}

Rect GetCtlPartRect(ControlRef control, int16_t part)
{
    Rect bounds;
    GetControlBounds(control, &bounds);
    const int16_t left = int16_t(bounds.left + 1 + 16 * (part - 1));
    return Rect{int16_t(bounds.top + 1), left, int16_t(bounds.bottom - 1), int16_t(left + 16)};
}

void DrawArrowIcon(const Rect* rect, bool pressed, bool enabled, int16_t iconId)
{
    RGBColor fore, back;
    GetForeColor(&fore);
    GetBackColor(&back);
    Rect r = *rect;
    Grey(pressed ? 0x7777 : 0xDDDD);
    PaintRect(&r);
    InsetRect(&r, 1, 1);
    if (pressed) Grey(0xAAAA);
    else Grey(0xFFFF);
    MoveTo(int16_t(r.left - 1), int16_t(r.bottom - 1));
    LineTo(int16_t(r.left - 1), int16_t(r.top - 1));
    LineTo(int16_t(r.right - 1), int16_t(r.top - 1));
    if (!pressed) {
        Grey(0xAAAA);
        MoveTo(r.right, r.top);
        LineTo(r.right, r.bottom);
        LineTo(r.left, r.bottom);
    }
    if (pressed) OffsetRect(&r, 1, 1);
    myPlotCIcon(r, int16_t(enabled ? iconId : iconId + 1));
    RGBForeColor(&fore);
    RGBBackColor(&back);
}

int16_t FindControlPart(Point where, ControlRef control, int16_t variation)
{
    if (variation != 0) return 0;
    Rect bounds;
    GetControlBounds(control, &bounds);
    if (!PtInRect(where, &bounds)) return 0;
    const int16_t part = int16_t((where.h - bounds.left) / 16 + 1);
    if (part < 1 || part > 4) return 0;
    return PartEnabled(control, part) ? part : 0;
}

int32_t ProcObjCDEF(int16_t variation, ControlRef control, int16_t message, intptr_t param)
{
    if (!control) return 0;
    const int16_t savedRes = CurResFile();
    int32_t result = 0;
    switch (message) {
    case drawCntl: DrawPlControl(variation, control); break;
    case initCntl: InitPlControl(control); break;
    case autoTrack: TrackPlControl(control); break;
    case testCntl: {
        const Point where{int16_t(param >> 16), int16_t(param & 0xFFFF)};
        result = FindControlPart(where, control, variation);
        break;
    }
    case calcCRgns:
    case calcCntlRgn: {
        // Only the top bit of the parameter's own width is a flag: the
        // rest is the whole region pointer.
        auto* region = reinterpret_cast<RgnHandle>(
            message == calcCntlRgn ? param & ~(intptr_t(1) << (sizeof(intptr_t) * 8 - 1)) : param);
        Rect bounds;
        GetControlBounds(control, &bounds);
        if (region) RectRgn(region, &bounds);
        break;
    }
    default: break;
    }
    UseResFile(savedRes);
    return result;
}

void SetTriStateProc(ControlDefProcPtr proc) { gTriState = proc; }

void RegisterAppControlDefinitions()
{
    ControlDefSpec defSpec;
    defSpec.defType = kControlDefProcPtr;
    defSpec.defProc = ProcObjCDEF;
    RegisterControlDefinition(kArrowControlDef, &defSpec, ControlToCollectionProc);
    if (gTriState) {
        defSpec.defProc = gTriState;
        RegisterControlDefinition(kTriStateControlDef, &defSpec, ControlToCollectionProc);
    }
}

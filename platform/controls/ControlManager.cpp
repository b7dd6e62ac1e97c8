// Control records: registration of definitions, creation and disposal,
// drawing, visibility, position, highlighting, values and attributes.
#include <algorithm>
#include <cstring>
#include <map>
#include <new>

#include "platform/collections/Collections.h"
#include "platform/controls/ControlRecord.h"
#include "platform/core/Errors.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"

namespace platform {
namespace {

struct Registration {
    ControlDefUPP def = nullptr;
    ControlCNTLToCollectionUPP conversion = nullptr;
};

std::map<int16_t, Registration>& Registry()
{
    static auto* registry = new std::map<int16_t, Registration>;
    return *registry;
}

std::map<WindowRef, std::vector<ControlRef>>& WindowControls()
{
    static auto* controls = new std::map<WindowRef, std::vector<ControlRef>>;
    return *controls;
}

void ForgetWindow(WindowRef window) { KillControls(window); }

// A definition registered with a conversion procedure gets the control's
// parameters as a collection in its initialisation; it lives only for it.
void InitializeControl(ControlRef c)
{
    ControlCNTLToCollectionUPP conversion = nullptr;
    auto it = Registry().find(DefinitionId(c->procID));
    if (it != Registry().end()) conversion = it->second.conversion;
    Collection collection = conversion ? NewCollection() : nullptr;
    if (collection &&
        conversion(&c->bounds, c->value, c->visible, c->max, c->min, c->procID, c->refCon, c->title, collection) != noErr) {
        DisposeCollection(collection);
        collection = nullptr;
    }
    CallControlDefinition(c, initCntl, reinterpret_cast<intptr_t>(collection));
    DisposeCollection(collection);
}

// Keeps the value within the range.
void Clamp(ControlRecord& c)
{
    if (c.max < c.min) c.max = c.min;
    c.value = std::clamp(c.value, c.min, c.max);
}

// A control whose definition reaches outside its bounds.
bool MeetsRegion(ControlRef control, RgnHandle region)
{
    RgnHandle own = NewRgn();
    if (!own) return false;
    GetControlRegion(control, kControlStructureMetaPart, own);
    SectRgn(own, region, own);
    const bool meets = !EmptyRgn(own);
    DisposeRgn(own);
    return meets;
}

void Redraw(ControlRef control)
{
    if (control->visible) DrawControlInPort(control);
}

// Erases where a control was (what its definition calls its region), in
// its window's port.
void EraseArea(ControlRef control)
{
    RgnHandle area = NewRgn();
    if (!area) return;
    GetControlRegion(control, kControlStructureMetaPart, area);
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(control->owner);
    EraseRgn(area);
    InvalWindowRgn(control->owner, area);
    SetPort(saved);
    DisposeRgn(area);
}

}  // namespace

OSStatus RegisterControlDefinition(int16_t cdefID, const ControlDefSpec* defSpec,
                                   ControlCNTLToCollectionUPP conversionProc)
{
    try {
        if (!defSpec || !defSpec->defProc) {
            Registry().erase(cdefID);
            return noErr;
        }
        if (defSpec->defType != kControlDefProcPtr) return paramErr;
        Registry()[cdefID] = Registration{defSpec->defProc, conversionProc};
        return noErr;
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

void ResetControlDefinitions() { Registry().clear(); }

ControlDefUPP FindControlDefinition(int16_t procID)
{
    auto it = Registry().find(DefinitionId(procID));
    if (it != Registry().end()) return it->second.def;
    return StandardControlDefinition(procID);
}

std::vector<ControlRef>* ControlsOf(WindowRef window, bool create)
{
    auto& all = WindowControls();
    auto it = all.find(window);
    if (it != all.end()) return &it->second;
    if (!create) return nullptr;
    return &all[window];
}

bool IsLiveControl(ControlRef control)
{
    if (!control) return false;
    for (auto& [window, list] : WindowControls())
        if (std::find(list.begin(), list.end(), control) != list.end()) return true;
    return false;
}

int32_t CallControlDefinition(ControlRef control, int16_t message, intptr_t param)
{
    if (!control || !control->def) return 0;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(control->owner);
    const int32_t result = control->def(Variation(control->procID), control, message, param);
    SetPort(saved);
    return result;
}

void DrawControlInPort(ControlRef control)
{
    if (!control->visible || !IsWindowVisible(control->owner)) return;
    CallControlDefinition(control, drawCntl, 0);
}

ControlRef NewControl(WindowRef window, const Rect* bounds, ConstStr255Param title, Boolean visible, int16_t value,
                      int16_t min, int16_t max, int16_t procID, uintptr_t refCon)
{
    if (!IsValidWindowPtr(window) || !bounds) return nullptr;
    ControlDefUPP def = FindControlDefinition(procID);
    if (!def) return nullptr;
    ControlRecord* c = nullptr;
    try {
        std::vector<ControlRef>* list = ControlsOf(window, true);
        list->reserve(list->size() + 1);
        c = new ControlRecord;
        c->owner = window;
        c->bounds = *bounds;
        c->value = value;
        c->min = min;
        c->max = max;
        c->visible = visible;
        if (title) std::memcpy(c->title, title, size_t(title[0]) + 1);
        c->refCon = refCon;
        c->procID = procID;
        c->def = def;
        Clamp(*c);
        list->push_back(c);
    } catch (const std::bad_alloc&) {
        delete c;
        return nullptr;
    }
    AddWindowDisposeHook(ForgetWindow);
    InitializeControl(c);
    if (IsPopupButton(*c) && !c->popupMenu) {
        // The menu id travels in the minimum and the title's width in the
        // maximum; from now on the value is the chosen item.
        c->popupTitleWidth = c->title[0] ? std::clamp<int16_t>(max, 0, int16_t(bounds->right - bounds->left)) : 0;
        c->popupMenu = GetMenuHandle(MenuID(min));
        if (!c->popupMenu) {
            c->popupMenu = GetMenu(min);
            c->ownsPopupMenu = c->popupMenu != nullptr;
        }
        c->min = 1;
        c->max = c->popupMenu ? std::max<int32_t>(1, CountMenuItems(c->popupMenu)) : 1;
        c->value = std::clamp<int32_t>(value, 1, c->max);
    }
    if (c->visible) InvalWindowRect(window, &c->bounds);
    return c;
}

void DisposeControl(ControlRef control)
{
    if (!IsLiveControl(control)) return;
    if (control->visible && IsValidWindowPtr(control->owner)) EraseArea(control);
    CallControlDefinition(control, dispCntl, 0);
    std::vector<ControlRef>* list = ControlsOf(control->owner, false);
    if (list) list->erase(std::remove(list->begin(), list->end(), control), list->end());
    if (control->ownsPopupMenu) DisposeMenu(control->popupMenu);
    delete control;
}

void KillControls(WindowRef window)
{
    std::vector<ControlRef>* list = ControlsOf(window, false);
    if (!list) return;
    while (!list->empty()) {
        ControlRef c = list->back();
        CallControlDefinition(c, dispCntl, 0);
        list->pop_back();
        if (c->ownsPopupMenu) DisposeMenu(c->popupMenu);
        delete c;
    }
    WindowControls().erase(window);
}

void Draw1Control(ControlRef control)
{
    if (IsLiveControl(control)) DrawControlInPort(control);
}

void DrawControls(WindowRef window)
{
    std::vector<ControlRef>* list = ControlsOf(window, false);
    if (!list) return;
    std::vector<ControlRef> copy;
    try {
        copy = *list;  // a definition may add or remove
    } catch (const std::bad_alloc&) {
        return;
    }
    for (ControlRef c : copy)
        if (IsLiveControl(c)) DrawControlInPort(c);
}

void UpdateControls(WindowRef window, RgnHandle region)
{
    std::vector<ControlRef>* list = ControlsOf(window, false);
    if (!list) return;
    std::vector<ControlRef> copy;
    try {
        copy = *list;
    } catch (const std::bad_alloc&) {
        return;
    }
    for (ControlRef c : copy)
        if (IsLiveControl(c) && (!region || RectInRgn(&c->bounds, region) || MeetsRegion(c, region)))
            DrawControlInPort(c);
}

void ShowControl(ControlRef control) { SetControlVisibility(control, true, true); }
void HideControl(ControlRef control) { SetControlVisibility(control, false, true); }
Boolean IsControlVisible(ControlRef control) { return IsLiveControl(control) && control->visible; }

void SetControlVisibility(ControlRef control, Boolean visible, Boolean draw)
{
    if (!IsLiveControl(control) || control->visible == bool(visible)) return;
    control->visible = visible;
    if (!draw) return;
    if (visible) DrawControlInPort(control);
    else EraseArea(control);
}

void MoveControl(ControlRef control, int16_t h, int16_t v)
{
    if (!IsLiveControl(control)) return;
    Rect r = control->bounds;
    OffsetRect(&r, int16_t(h - r.left), int16_t(v - r.top));
    SetControlBounds(control, &r);
}

void SizeControl(ControlRef control, int16_t width, int16_t height)
{
    if (!IsLiveControl(control)) return;
    Rect r = control->bounds;
    r.right = int16_t(r.left + width);
    r.bottom = int16_t(r.top + height);
    SetControlBounds(control, &r);
}

void SetControlBounds(ControlRef control, const Rect* bounds)
{
    if (!IsLiveControl(control) || !bounds) return;
    if (control->visible) EraseArea(control);
    control->bounds = *bounds;
    CallControlDefinition(control, posCntl, 0);
    Redraw(control);
}

OSStatus GetControlRegion(ControlRef control, ControlPartCode part, RgnHandle region)
{
    if (!IsLiveControl(control) || !region) return errUnknownControl;
    SetEmptyRgn(region);
    const int16_t message = part == kControlIndicatorPart ? calcThumbRgn : calcCntlRgn;
    CallControlDefinition(control, message, reinterpret_cast<intptr_t>(region));
    if (EmptyRgn(region) && part != kControlIndicatorPart) RectRgn(region, &control->bounds);
    return noErr;
}

Rect* GetControlBounds(ControlRef control, Rect* bounds)
{
    if (!bounds) return bounds;
    *bounds = IsLiveControl(control) ? control->bounds : Rect{0, 0, 0, 0};
    return bounds;
}

void HiliteControl(ControlRef control, ControlPartCode hiliteState)
{
    if (!IsLiveControl(control)) return;
    const uint8_t state = uint8_t(hiliteState);
    if (control->hilite == state) return;
    control->hilite = state;
    Redraw(control);
}

ControlPartCode GetControlHilite(ControlRef control) { return IsLiveControl(control) ? control->hilite : 0; }

OSErr ActivateControl(ControlRef control)
{
    if (!IsLiveControl(control)) return OSErr(errUnknownControl);
    if (IsUserPane(*control) && control->paneActivate) control->paneActivate(control, true);
    HiliteControl(control, 0);
    return noErr;
}

OSErr DeactivateControl(ControlRef control)
{
    if (!IsLiveControl(control)) return OSErr(errUnknownControl);
    if (IsUserPane(*control) && control->paneActivate) control->paneActivate(control, false);
    HiliteControl(control, kControlInactivePart);
    return noErr;
}

Boolean IsControlActive(ControlRef control)
{
    return IsLiveControl(control) && control->hilite != kControlInactivePart;
}

void SetControl32BitValue(ControlRef control, int32_t value)
{
    if (!IsLiveControl(control)) return;
    const int32_t v = std::clamp(value, control->min, control->max);
    if (v == control->value) return;
    control->value = v;
    Redraw(control);
}
int32_t GetControl32BitValue(ControlRef control) { return IsLiveControl(control) ? control->value : 0; }

void SetControl32BitMinimum(ControlRef control, int32_t min)
{
    if (!IsLiveControl(control)) return;
    control->min = min;
    Clamp(*control);
    Redraw(control);
}
int32_t GetControl32BitMinimum(ControlRef control) { return IsLiveControl(control) ? control->min : 0; }

void SetControl32BitMaximum(ControlRef control, int32_t max)
{
    if (!IsLiveControl(control)) return;
    control->max = std::max(max, control->min);
    Clamp(*control);
    Redraw(control);
}
int32_t GetControl32BitMaximum(ControlRef control) { return IsLiveControl(control) ? control->max : 0; }

// The 16-bit forms see values pinned to their range.
namespace {
int16_t Narrow(int32_t v) { return int16_t(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX)); }
}  // namespace
void SetControlValue(ControlRef control, int16_t value) { SetControl32BitValue(control, value); }
int16_t GetControlValue(ControlRef control) { return Narrow(GetControl32BitValue(control)); }
void SetControlMinimum(ControlRef control, int16_t min) { SetControl32BitMinimum(control, min); }
int16_t GetControlMinimum(ControlRef control) { return Narrow(GetControl32BitMinimum(control)); }
void SetControlMaximum(ControlRef control, int16_t max) { SetControl32BitMaximum(control, max); }
int16_t GetControlMaximum(ControlRef control) { return Narrow(GetControl32BitMaximum(control)); }

void SetControlViewSize(ControlRef control, int32_t viewSize)
{
    if (!IsLiveControl(control)) return;
    control->viewSize = std::max<int32_t>(0, viewSize);
    Redraw(control);
}
int32_t GetControlViewSize(ControlRef control) { return IsLiveControl(control) ? control->viewSize : 0; }

void SetControlReference(ControlRef control, uintptr_t refCon)
{
    if (IsLiveControl(control)) control->refCon = refCon;
}
uintptr_t GetControlReference(ControlRef control) { return IsLiveControl(control) ? control->refCon : 0; }

void SetControlTitle(ControlRef control, ConstStr255Param title)
{
    if (!IsLiveControl(control)) return;
    control->title[0] = 0;
    if (title) std::memcpy(control->title, title, size_t(title[0]) + 1);
    Redraw(control);
}

void GetControlTitle(ControlRef control, Str255 title)
{
    if (!title) return;
    title[0] = 0;
    if (IsLiveControl(control)) std::memcpy(title, control->title, size_t(control->title[0]) + 1);
}

OSStatus SetControlID(ControlRef control, const ControlID* id)
{
    if (!IsLiveControl(control) || !id) return errUnknownControl;
    control->id = *id;
    return noErr;
}

OSStatus GetControlID(ControlRef control, ControlID* id)
{
    if (!IsLiveControl(control) || !id) return errUnknownControl;
    *id = control->id;
    return noErr;
}

WindowRef GetControlOwner(ControlRef control) { return IsLiveControl(control) ? control->owner : nullptr; }

void SetControlAction(ControlRef control, ControlActionUPP action)
{
    if (IsLiveControl(control)) control->action = action;
}
ControlActionUPP GetControlAction(ControlRef control) { return IsLiveControl(control) ? control->action : nullptr; }

ControlRef GetFirstControl(WindowRef window)
{
    std::vector<ControlRef>* list = ControlsOf(window, false);
    return list && !list->empty() ? list->back() : nullptr;
}

void IdleControls(WindowRef window)
{
    std::vector<ControlRef>* list = ControlsOf(window, false);
    if (!list) return;
    std::vector<ControlRef> copy;
    try {
        copy = *list;
    } catch (const std::bad_alloc&) {
        return;
    }
    for (ControlRef c : copy) {
        if (!IsLiveControl(c)) continue;
        if (IsUserPane(*c) && c->paneIdle) c->paneIdle(c);
        if (c->indeterminate) {
            c->phase = uint8_t(c->phase + 1);
            Redraw(c);
        }
    }
}

}  // namespace platform

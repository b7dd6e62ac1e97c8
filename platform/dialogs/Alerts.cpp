// Alerts: a dialog from 'ALRT' and its 'DITL', with the Stop, Note or
// Caution icon, the stage's beeps and its default item; and the beep.
#include <algorithm>

#include "platform/backends/HeadlessBackend.h"
#include "platform/core/Clock.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/dialogs/DialogRecord.h"
#include "platform/dialogs/DialogTemplates.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/resfiles/Resources.h"
#include "platform/screen/Screen.h"

namespace platform {
namespace {

struct AlertState {
    int16_t lastAlert = 0;
    bool any = false;
    int16_t stage = 0;  // 0..3
    uint32_t beeps = 0;
};

AlertState& State()
{
    static AlertState state;
    return state;
}

DialogItemIndex RunAlert(int16_t alertID, ModalFilterUPP filter, int16_t icon)
{
    Handle h = GetResource(FourCC("ALRT"), alertID);
    if (!h) return -1;
    AlertTemplate t;
    HLock(h);
    const bool ok = ParseAlertTemplate(reinterpret_cast<const uint8_t*>(*h), size_t(GetHandleSize(h)), &t);
    HUnlock(h);
    if (!ok) {
        SetResError(resNotFound);
        return -1;
    }
    AlertState& s = State();
    s.stage = s.any && s.lastAlert == alertID ? int16_t(std::min(s.stage + 1, 3)) : int16_t(0);
    s.lastAlert = alertID;
    s.any = true;
    const unsigned stage = (t.stages >> (4 * s.stage)) & 0xF;
    for (unsigned i = 0; i < (stage & 3); ++i) SysBeep(30);

    Handle items = GetResource(FourCC("DITL"), t.itemsID);
    if (!items) return -1;
    const Rect bounds = PlaceWindowBounds(t.bounds, t.position ? t.position : kWindowAlertPositionMainScreen,
                                          ScreenBounds(), GetMBarHeight());
    const unsigned char empty[1] = {0};
    DialogRef d = NewDialog(nullptr, &bounds, empty, false, dBoxProc, kFirstWindowOfClass, false, 0, items);
    if (!d) return -1;
    d->alertIcon = icon;
    d->alertID = alertID;
    const DialogItemIndex defaultItem = (stage & 8) ? 2 : 1;
    SetDialogDefaultItem(d, defaultItem);
    // Every stage shows the alert: an alert no one sees cannot be answered.
    ShowWindow(d->window);
    SelectWindow(d->window);
    GrafPtr saved = nullptr;
    GetPort(&saved);
    DialogItemIndex hit = 0;
    ModalDialog(filter, &hit);
    DisposeDialog(d);
    SetPort(saved);
    return hit;
}

}  // namespace

DialogItemIndex Alert(int16_t alertID, ModalFilterUPP filter) { return RunAlert(alertID, filter, -1); }
DialogItemIndex StopAlert(int16_t alertID, ModalFilterUPP filter) { return RunAlert(alertID, filter, kStopIcon); }
DialogItemIndex NoteAlert(int16_t alertID, ModalFilterUPP filter) { return RunAlert(alertID, filter, kNoteIcon); }
DialogItemIndex CautionAlert(int16_t alertID, ModalFilterUPP filter)
{
    return RunAlert(alertID, filter, kCautionIcon);
}

int16_t GetAlertStage() { return State().any ? State().stage : 0; }

void ResetAlertStage()
{
    State().any = false;
    State().stage = 0;
}

void SysBeep(int16_t)
{
    ++State().beeps;
    if (!CurrentBackend() || dynamic_cast<HeadlessBackend*>(CurrentBackend())) return;
    // Live: the menu bar flashes.
    CGrafPtr bar = GetMenuBarPort();
    if (!bar) return;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(bar);
    const Rect area = MenuBarRect();
    InvertRect(&area);
    uint32_t done = 0;
    Delay(6, &done);
    InvertRect(&area);
    SetPort(saved);
}

uint32_t SysBeepCount() { return State().beeps; }
void ResetSysBeepCount() { State().beeps = 0; }

}  // namespace platform

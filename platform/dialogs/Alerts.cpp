// Alerts: a dialog from 'ALRT' and its 'DITL', with the Stop, Note or
// Caution icon, the stage's beeps and its default item; and the beep.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/backends/HeadlessBackend.h"
#include "platform/core/Clock.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/dialogs/DialogRecord.h"
#include "platform/dialogs/DialogTemplates.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
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

// Each static text grows to the height its text takes, wrapped to its
// width with ^0-^3 put in; what lies below it moves down as far and the
// alert grows as much, so that no text is ever cut.
void FitTexts(std::vector<ItemTemplate>* items, Rect* bounds)
{
    std::vector<size_t> order(items->size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return (*items)[a].box.top < (*items)[b].box.top; });
    for (const size_t i : order) {
        ItemTemplate& text = (*items)[i];
        if ((text.type & 0x7F) != statText) continue;
        const int16_t width = int16_t(text.box.right - text.box.left);
        const int16_t grow = int16_t(StaticTextHeight(ExpandParams(text.data), width) - (text.box.bottom - text.box.top));
        if (grow <= 0) continue;
        for (ItemTemplate& other : *items)
            if (&other != &text && other.box.top >= text.box.bottom) OffsetRect(&other.box, 0, grow);
        text.box.bottom = int16_t(text.box.bottom + grow);
        bounds->bottom = int16_t(bounds->bottom + grow);
    }
}

// Shows the alert made of `items` and answers the item hit; -1 when it
// cannot be made.
DialogItemIndex RunAlertItems(std::vector<ItemTemplate> items, Rect bounds, uint16_t position, int16_t alertID,
                              int16_t icon, DialogItemIndex defaultItem, ModalFilterUPP filter)
{
    FitTexts(&items, &bounds);
    bounds = PlaceWindowBounds(bounds, position ? position : kWindowAlertPositionMainScreen, ScreenBounds(),
                               GetMBarHeight());
    const unsigned char empty[1] = {0};
    DialogRef d = NewDialogOfItems(bounds, empty, false, dBoxProc, kFirstWindowOfClass, false, 0, items);
    if (!d) return -1;
    d->alertIcon = icon;
    d->alertID = alertID;
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

    std::vector<ItemTemplate> items;
    if (!ReadItemList(GetResource(FourCC("DITL"), t.itemsID), &items)) return -1;
    return RunAlertItems(std::move(items), t.bounds, t.position, alertID, icon, (stage & 8) ? 2 : 1, filter);
}

}  // namespace

DialogItemIndex Alert(int16_t alertID, ModalFilterUPP filter) { return RunAlert(alertID, filter, -1); }
DialogItemIndex StopAlert(int16_t alertID, ModalFilterUPP filter) { return RunAlert(alertID, filter, kStopIcon); }
DialogItemIndex NoteAlert(int16_t alertID, ModalFilterUPP filter) { return RunAlert(alertID, filter, kNoteIcon); }
DialogItemIndex CautionAlert(int16_t alertID, ModalFilterUPP filter)
{
    return RunAlert(alertID, filter, kCautionIcon);
}

OSErr StandardAlert(AlertType type, const std::string& error, const std::string& explanation,
                    const AlertStdAlertParamRec* param, DialogItemIndex* outItemHit)
{
    // The texts one under the other, right of the icon; the buttons at the
    // bottom right, the default one rightmost. The texts grow as they need.
    constexpr int16_t kWidth = 420, kRight = kWidth - 12, kButton = 86, kTop = 52;
    const std::string defaultText = param && !param->defaultText.empty() ? param->defaultText : "OK";
    const std::string cancelText = param ? param->cancelText : std::string();
    const uint8_t text = kStaticTextDialogItem | itemDisable;
    std::vector<ItemTemplate> items;
    items.push_back({{kTop, kRight - kButton, kTop + 20, kRight}, kButtonDialogItem, defaultText});
    if (!cancelText.empty())
        items.push_back({{kTop, kRight - 12 - 2 * kButton, kTop + 20, kRight - 12 - kButton}, kButtonDialogItem, cancelText});
    items.push_back({{12, 72, 28, kRight}, text, error});
    if (!explanation.empty()) items.push_back({{36, 72, 44, kRight}, text, explanation});
    const int16_t icons[] = {kStopIcon, kNoteIcon, kCautionIcon, -1};
    const bool cancelFirst = param && param->defaultButton == kAlertStdAlertCancelButton && !cancelText.empty();
    const DialogItemIndex defaultItem = cancelFirst ? kAlertStdAlertCancelButton : kAlertStdAlertOKButton;
    const DialogItemIndex hit = RunAlertItems(std::move(items), Rect{0, 0, kTop + 32, kWidth}, 0, 0,
                                              icons[type >= 0 && type <= 3 ? type : 3], defaultItem, nullptr);
    if (outItemHit) *outItemHit = hit;
    return hit < 0 ? OSErr(memFullErr) : OSErr(noErr);
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

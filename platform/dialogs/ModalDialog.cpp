// Dialog events: the standard filter's keys, clicks on items, updates, the
// modal loop and the scripted answers of headless runs.
#include <algorithm>

#include "platform/core/Errors.h"
#include "platform/cursors/Cursors.h"
#include "platform/dialogs/DialogRecord.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/events/Backend.h"
#include "platform/events/DialogAnswers.h"
#include "platform/events/Modals.h"
#include "platform/menus/Menus.h"
#include "platform/text/Utf8.h"

namespace platform {
namespace {

ScriptedAnswerObserver gAnswerObserver = nullptr;

constexpr uint8_t kReturn = 0x0D;
constexpr uint8_t kEnter = 0x03;
constexpr uint8_t kEscape = 0x1B;
// Null events for the caret and the cursor; input ends the wait at once.
constexpr uint32_t kModalSleep = 15;

bool Pressable(DialogRef d, DialogItemIndex index)
{
    const DialogItem* item = ItemAt(d, index);
    return item && !item->hidden && item->Enabled() &&
           (!item->control || (IsControlActive(item->control) && IsControlVisible(item->control)));
}

WindowRef EventWindow(const EventRecord& e)
{
    switch (e.what) {
    case updateEvt:
    case activateEvt: return reinterpret_cast<WindowRef>(e.message);
    case mouseDown: {
        WindowRef w = nullptr;
        FindWindow(e.where, &w);
        return w;
    }
    default: return FrontWindow();
    }
}

// The cursor over an edit text is the I-beam.
void TrackCursor(DialogRef d)
{
    if (!d->tracksCursor) return;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(d->window);
    Point p;
    GetMouse(&p);
    SetPort(saved);
    const DialogItemIndex under = FindDialogItem(d, p);
    const DialogItem* item = under >= 0 ? ItemAt(d, DialogItemIndex(under + 1)) : nullptr;
    SetThemeCursor(item && item->IsEditText() ? kThemeIBeamCursor : kThemeArrowCursor);
}

Boolean StandardFilter(DialogRef d, EventRecord* e, DialogItemIndex* itemHit)
{
    if (!IsLiveDialog(d) || !e) return false;
    if (e->what == nullEvent || e->what == osEvt) TrackCursor(d);
    if (e->what != keyDown && e->what != autoKey) return false;
    const uint8_t ch = uint8_t(e->message & charCodeMask);
    DialogItemIndex item = 0;
    if ((ch == kReturn || ch == kEnter) && !(e->modifiers & cmdKey)) item = d->defaultItem;
    else if (IsCancelKey(*e)) item = d->cancelItem;
    if (item == 0 || !Pressable(d, item)) return false;
    FlashButton(d, item);
    if (itemHit) *itemHit = item;
    return true;
}

// The Edit menu's commands on the focused text; any other choice does
// nothing (the bar offers none while the dialog is up).
void ServeEditChoice(DialogRef d, int32_t choice)
{
    MenuCommand command = 0;
    if (GetMenuItemCommandID(GetMenuHandle(MenuID(choice >> 16)), MenuItemIndex(choice & 0xFFFF), &command) != noErr)
        return;
    switch (command) {
    case kHICommandCut: DialogCut(d); break;
    case kHICommandCopy: DialogCopy(d); break;
    case kHICommandPaste: DialogPaste(d); break;
    case kHICommandClear: DialogDelete(d); break;
    case kHICommandSelectAll:
        if (d->focus) SelectDialogItemText(d, d->focus, 0, 32767);
        break;
    default: break;
    }
}

void ServeUpdate(WindowRef w)
{
    BeginUpdate(w);
    if (DialogRef d = GetDialogFromWindow(w)) DrawDialog(d);
    EndUpdate(w);
}

// What a person would call the dialog: an alert by its resource, a dialog
// by its resource and title, each with the start of its first static text.
std::string ModalName(DialogRef d)
{
    std::string name = d->alertID    ? "alert " + std::to_string(d->alertID)
                       : d->dialogID ? "dialog " + std::to_string(d->dialogID)
                                     : std::string("dialog");
    Str255 title{};
    GetWTitle(d->window, title);
    if (title[0]) name += " '" + MacRomanToUtf8String(title + 1, title[0]) + "'";
    for (const DialogItem& item : d->items) {
        if (item.Kind() != statText || item.hidden) continue;
        std::string text = ExpandParams(HandleText(item.text));
        if (text.empty()) continue;
        if (text.size() > 80) text = text.substr(0, 77) + "...";
        for (char& c : text)
            if (c == '\r') c = ' ';
        name += " \"" + MacRomanToUtf8String(reinterpret_cast<const uint8_t*>(text.data()), int32_t(text.size())) + "\"";
        break;
    }
    return name;
}

// The item that answers for a person who is not there, or who asked to
// quit: the cancel item, else the default one, else the first.
DialogItemIndex CancelAnswer(DialogRef d)
{
    return d->cancelItem ? d->cancelItem : d->defaultItem ? d->defaultItem : 1;
}

DialogItemIndex ClickItem(DialogRef d, const EventRecord& e, bool* hit)
{
    *hit = false;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(d->window);
    Point local = e.where;
    GlobalToLocal(&local);
    DialogItemIndex result = 0;
    for (size_t i = 0; i < d->items.size(); ++i) {
        DialogItem& item = d->items[i];
        const DialogItemIndex index = DialogItemIndex(i + 1);
        if (item.hidden || !PtInRect(local, &item.box)) continue;
        if (item.control) {
            if (!IsControlVisible(item.control)) continue;
            const ControlPartCode part = TrackControl(item.control, local, nullptr);
            *hit = part != kControlNoPart && IsLiveDialog(d) && item.Enabled();
        } else if (item.IsEditText()) {
            EditTextClick(d, index, local, (e.modifiers & shiftKey) != 0);
            *hit = item.Enabled();
        } else {
            *hit = item.Enabled();
        }
        result = index;
        break;
    }
    SetPort(saved);
    return result;
}

}  // namespace

bool IsCancelKey(const EventRecord& e)
{
    if (e.what != keyDown && e.what != autoKey) return false;
    const uint8_t ch = uint8_t(e.message & charCodeMask);
    return ch == kEscape || ((e.modifiers & cmdKey) && ch == '.');
}

OSErr GetStdFilterProc(ModalFilterUPP* proc)
{
    if (!proc) return paramErr;
    *proc = StandardFilter;
    return noErr;
}

Boolean IsDialogEvent(const EventRecord* event)
{
    if (!event) return false;
    return GetDialogFromWindow(EventWindow(*event)) != nullptr;
}

Boolean DialogSelect(const EventRecord* event, DialogRef* dialog, DialogItemIndex* itemHit)
{
    if (!event) return false;
    DialogRef d = GetDialogFromWindow(EventWindow(*event));
    if (dialog) *dialog = d;
    if (!d) return false;
    switch (event->what) {
    case updateEvt: ServeUpdate(d->window); return false;
    case activateEvt: {
        // Controls the application dimmed stay dimmed when the dialog
        // comes back to the front.
        const bool active = (event->modifiers & activeFlag) != 0;
        for (DialogItem& item : d->items) {
            if (!item.control) continue;
            if (!active && item.latentHilite < 0) {
                item.latentHilite = GetControlHilite(item.control);
                DeactivateControl(item.control);
            } else if (active && item.latentHilite >= 0) {
                HiliteControl(item.control, item.latentHilite);
                item.latentHilite = -1;
            }
        }
        if (d->focus) RedrawItem(d, d->focus);
        return false;
    }
    case mouseDown: {
        WindowRef w = nullptr;
        if (FindWindow(event->where, &w) != inContent || w != d->window) return false;
        bool hit = false;
        const DialogItemIndex item = ClickItem(d, *event, &hit);
        if (hit && itemHit) *itemHit = item;
        return hit;
    }
    case keyDown:
    case autoKey: {
        if (event->modifiers & cmdKey) return false;
        if (!d->focus || !EditTextKey(d, *event)) return false;
        const DialogItem* item = ItemAt(d, d->focus);
        if (!item || !item->Enabled()) return false;
        if (itemHit) *itemHit = d->focus;
        return true;
    }
    case nullEvent:
        EditTextIdle(d);
        IdleControls(d->window);
        return false;
    default: return false;
    }
}

void SetScriptedAnswerObserver(ScriptedAnswerObserver observer) { gAnswerObserver = observer; }

void ModalDialog(ModalFilterUPP filter, DialogItemIndex* itemHit)
{
    DialogItemIndex scratch = 0;
    if (!itemHit) itemHit = &scratch;
    *itemHit = 0;
    // The front window's dialog; else the newest one, so that a caller
    // waiting for an item never spins on a dialog it cannot reach.
    DialogRef d = GetDialogFromWindow(FrontWindow());
    if (!d && !Dialogs().empty()) d = Dialogs().back();
    if (!d) return;
    if (!d->drawn) {
        // Drawn before anything else happens, so that a scripted answer
        // comes from a dialog that showed.
        DrawDialog(d);
        Rect all;
        GetPortBounds(GetWindowPort(d->window), &all);
        ValidWindowRect(d->window, &all);
    }
    const bool editsText = std::any_of(d->items.begin(), d->items.end(),
                                       [](const DialogItem& item) { return item.IsEditText() && !item.hidden; });
    ModalScope modal(ModalName(d), editsText);
    for (;;) {
        if (!IsLiveDialog(d)) return;
        int16_t answer = 0;
        if (TakeDialogAnswer(&answer)) {
            if (gAnswerObserver) gAnswerObserver(d);
            *itemHit = answer;
            return;
        }
        if (ModalMustCancel()) {
            // No one will answer, or a quit waits: it goes on once the
            // dialog is gone.
            *itemHit = CancelAnswer(d);
            return;
        }
        EventRecord e{};
        // High-level events (quit, open documents) wait for the main loop.
        if (!WaitNextEvent(uint16_t(everyEvent & ~highLevelEventMask), &e, kModalSleep, nullptr))
            e.what = nullEvent;
        DialogItemIndex item = 0;
        // The cancel keys are the standard filter's before the caller's
        // filter sees them: a filter that takes every key cancels too.
        if (IsCancelKey(e) && StandardFilter(d, &e, &item)) {
            *itemHit = item;
            return;
        }
        if (filter && filter(d, &e, &item)) {
            *itemHit = item;
            return;
        }
        if (!IsLiveDialog(d)) return;
        if (StandardFilter(d, &e, &item)) {
            *itemHit = item;
            return;
        }
        if (e.what == updateEvt) {
            // Other windows keep their pixels; their update is taken so that
            // the loop does not see it again.
            ServeUpdate(reinterpret_cast<WindowRef>(e.message));
            continue;
        }
        if (e.what == mouseDown) {
            WindowRef w = nullptr;
            const WindowPartCode part = FindWindow(e.where, &w);
            if (part == inMenuBar) {
                // The bar offers the Edit menu's commands alone.
                ServeEditChoice(d, MenuSelect(e.where));
                HiliteMenu(0);
                continue;
            }
            if (w != d->window) {
                SysBeep(1);
                continue;
            }
            if (part == inDrag) {
                const Rect limits = Rect{0, 0, 32767, 32767};
                DragWindow(w, e.where, &limits);
                continue;
            }
        }
        if ((e.what == keyDown || e.what == autoKey) && (e.modifiers & cmdKey)) {
            const uint8_t ch = uint8_t(e.message & charCodeMask);
            if (const int32_t choice = MenuKey(ch)) {
                ServeEditChoice(d, choice);
            } else if (MenuChoice() == 0) {
                // No menu has the key: the usual ones still edit.
                if (ch == 'x' || ch == 'X') DialogCut(d);
                else if (ch == 'c' || ch == 'C') DialogCopy(d);
                else if (ch == 'v' || ch == 'V') DialogPaste(d);
            }
            HiliteMenu(0);
            continue;
        }
        DialogRef which = nullptr;
        if (DialogSelect(&e, &which, &item) && which == d) {
            *itemHit = item;
            return;
        }
    }
}

}  // namespace platform

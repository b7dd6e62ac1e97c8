#include "app/dialogs/WaitDialog.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/appl/Menus.h"
#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/Messages.h"
#include "app/appl/Utilities.h"
#include "platform/controls/Controls.h"
#include "platform/core/Clock.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/events/Events.h"
#include "platform/events/Modals.h"
#include "platform/menus/Menus.h"
#include "platform/resfiles/Resources.h"
#include "platform/text/Utf8.h"
#include "platform/textedit/TextEdit.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace {

Rect ItemBox(DialogRef dialog, int16_t item)
{
    DialogItemType type = 0;
    Handle h = nullptr;
    Rect box{0, 0, 0, 0};
    GetDialogItem(dialog, DialogItemIndex(item), &type, &h, &box);
    return box;
}

// The 'DLOG' template centred on the screen, in the loaded template.
void CentreTemplate(int16_t id)
{
    Handle h = GetResource(FourCC("DLOG"), id);
    if (!h || !*h || GetHandleSize(h) < 8) return;
    auto* p = reinterpret_cast<uint8_t*>(*h);
    Rect r{int16_t(ReadBE16(p)), int16_t(ReadBE16(p + 2)), int16_t(ReadBE16(p + 4)), int16_t(ReadBE16(p + 6))};
    DialogCenter(&r);
    WriteBE16(p, uint16_t(r.top));
    WriteBE16(p + 2, uint16_t(r.left));
    WriteBE16(p + 4, uint16_t(r.bottom));
    WriteBE16(p + 6, uint16_t(r.right));
}

// The wait dialogs on the screen, noted as the modal the program is in for
// a run that ends while one is up.
std::vector<std::pair<const WaitParamRec*, uint32_t>>& Shown()
{
    static auto* shown = new std::vector<std::pair<const WaitParamRec*, uint32_t>>;
    return *shown;
}

auto FindShown(const WaitParamRec* rec)
{
    return std::find_if(Shown().begin(), Shown().end(), [&](const auto& s) { return s.first == rec; });
}

void NoteShown(const WaitParamRec* rec)
{
    if (!IsWindowVisible(GetDialogWindow(rec->dialog))) return;
    if (FindShown(rec) != Shown().end()) return;
    Str255 title{};
    GetWTitle(GetDialogWindow(rec->dialog), title);
    const uint32_t token = PushModal("wait dialog '" + MacRomanToUtf8String(title + 1, title[0]) + "'");
    try {
        Shown().emplace_back(rec, token);
    } catch (const std::bad_alloc&) {
        PopModal(token);
    }
}

void NoteGone(const WaitParamRec* rec)
{
    auto found = FindShown(rec);
    if (found == Shown().end()) return;
    PopModal(found->second);
    Shown().erase(found);
}

bool Cancel(WaitParamRec* rec, GrafPtr savedPort)
{
    rec->cancelled = 1;
    SetPort(savedPort);
    return true;
}

// Follows the mouse on Stop while the button is down, the area inverted
// while the mouse is over it; true when released over it. The mouse is
// read before the button, so a release already made outside counts as one.
bool TrackStop(const Rect& stop)
{
    bool inside = false;
    do {
        Point p;
        GetMouse(&p);
        const bool now = PtInRect(p, &stop);
        if (now != inside) {
            InvertRoundRect(&stop, 10, 10);
            inside = now;
        }
    } while (StillDown());
    if (inside) InvertRoundRect(&stop, 10, 10);
    return inside;
}

// Draws the kept message in item 4 of a visible dialog: application font
// and size, plain, "or" mode, wrapped flush left.
void DrawMessage(WaitParamRec* rec, uint32_t now)
{
    const int16_t state = CursPause();
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(GetDialogWindow(rec->dialog));
    const Rect box = ItemBox(rec->dialog, 4);
    EraseRect(&box);
    TextFont(MyApplFont);
    TextSize(MyApplSize);
    TextFace(0);
    TextMode(srcOr);
    TETextBox(rec->message + 1, rec->message[0], &box, teFlushLeft);
    SetPort(saved);
    CursResume(state);
    rec->messagePending = false;
    rec->messageDrawn = true;
    rec->drawnAt = now;
}

// After the whole dialog was drawn (shown, updated) or before it goes: the
// latest message is the one on screen.
void ShowLatestMessage(WaitParamRec* rec, uint32_t now, bool wholeDialogDrawn)
{
    if (!rec->showMessage || !IsWindowVisible(GetDialogWindow(rec->dialog))) return;
    if (rec->messagePending || (wholeDialogDrawn && rec->messageDrawn)) DrawMessage(rec, now);
}

}  // namespace

void SetWaitDialog(WaitParamRec* rec, int16_t messageIndex, const unsigned char* title, int32_t start,
                   int32_t maximum, int16_t dialogId, int32_t delay)
{
    const int16_t savedFile = CurResFile();
    if (G_MainResFile > 0) UseResFile(G_MainResFile);
    Str255 text = {0};
    if (title) std::memcpy(text, title, size_t(title[0]) + 1);
    if (!rec->dialog) {
        CentreTemplate(dialogId);
        rec->dialog = MyGetNewDialog(dialogId, nullptr, reinterpret_cast<WindowRef>(-1));
    }
    if (rec->dialog) {
        WindowRef window = GetDialogWindow(rec->dialog);
        SetWTitle(window, text);
        Str255 message;
        MyGetIndString(message, 1011, messageIndex);
        SetText(rec->dialog, 3, message);
        if (delay == 0) ShowWindow(window);
        GrafPtr savedPort = nullptr;
        GetPort(&savedPort);
        SetPortWindowPort(window);
        if (IsWindowVisible(window)) DrawDialog(rec->dialog);
        rec->stopArea = ItemBox(rec->dialog, 1);
        rec->progressArea = ItemBox(rec->dialog, 2);
        SetPort(savedPort);
    }
    rec->start = rec->current = start;
    rec->maximum = maximum;
    rec->cancelled = 0;
    rec->showMessage = 1;
    rec->lastPoll = TickCount();
    rec->showAt = delay > 0 ? rec->lastPoll + uint32_t(delay) : 0;
    CursInstall();
    UseResFile(savedFile);
}

int16_t WaitPercent(const WaitParamRec& rec)
{
    if (rec.maximum <= 0) return 0;
    int64_t percent = int64_t(rec.current) * 100 / rec.maximum;
    if (percent < 0) percent = 0;
    if (percent > 100) percent = 100;
    return int16_t(percent);
}

void DrawWait(WaitParamRec* rec)
{
    if (!rec->dialog) return;
    rec->shownPercent = WaitPercent(*rec);
    ControlRef bar = nullptr;
    if (GetDialogItemAsControl(rec->dialog, 2, &bar) == noErr && bar) SetControlValue(bar, rec->shownPercent);
}

void DrawWaitDialog(WaitParamRec* rec)
{
    if (!rec->dialog) return;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(GetDialogWindow(rec->dialog));
    DrawDialog(rec->dialog);
    DrawWait(rec);
    SetPort(saved);
}

void WaitMess(WaitParamRec* rec, const unsigned char* text)
{
    if (!rec->dialog) return;
    if (rec->showMessage && text) {
        std::memcpy(rec->message, text, size_t(text[0]) + 1);
        rec->messagePending = true;
        // A hidden dialog takes no drawing (and no clock read): it draws
        // the kept text when it shows.
        if (IsWindowVisible(GetDialogWindow(rec->dialog))) {
            const uint32_t now = TickCount();
            if (!rec->messageDrawn || now != rec->drawnAt) DrawMessage(rec, now);
        }
    }
    DrawWait(rec);
}

bool ChkWait(WaitParamRec* rec, bool)
{
    if (!rec->dialog) return false;
    if (rec->cancelled) return true;
    // The system asked the program to end: the operation stops as if Stop
    // had been pressed, and the quit follows. A quit event waits for the end.
    if (TerminationRequestPending()) {
        rec->cancelled = 1;
        return true;
    }
    WindowRef window = GetDialogWindow(rec->dialog);
    const uint32_t now = TickCount();
    if (rec->showAt != 0) {
        if (int32_t(now - rec->showAt) <= 0) return false;
        ShowWindow(window);
        DrawWaitDialog(rec);
        ShowLatestMessage(rec, now, true);
        rec->showAt = 0;
    }
    NoteShown(rec);
    if (now - rec->lastPoll <= 20) return false;

    GrafPtr savedPort = nullptr;
    GetPort(&savedPort);
    SetPortWindowPort(window);
    Point mouse;
    GetMouse(&mouse);
    if (PtInRect(mouse, &rec->stopArea)) CursRmve();
    else CursInstall();

    // High-level events (quit, open documents) stay for the main loop.
    EventRecord e{};
    bool got = false;
    {
        BusyPoll busy;
        got = WaitNextEvent(uint16_t(everyEvent & ~highLevelEventMask), &e, 1, nullptr);
    }
    if (got) {
        switch (e.what) {
        case keyDown: {
            Rect port{}, both{};
            GetPortBounds(GetWindowPort(window), &port);
            if ((e.modifiers & cmdKey) && uint8_t(e.message & charCodeMask) == '.' &&
                SectRect(&rec->stopArea, &port, &both)) {
                InvertRoundRect(&rec->stopArea, 10, 10);
                return Cancel(rec, savedPort);
            }
            break;
        }
        case mouseDown: {
            WindowRef w = nullptr;
            const WindowPartCode part = FindWindow(e.where, &w);
            if (part == inMenuBar) {
                SetArrowCursor();
                SelectFromMenuBar(e.where);
                HiliteMenu(0);
                CursInstall();
            } else if (part == inDrag && w == window) {
                SetArrowCursor();
                DragWindow(window, e.where, nullptr);
                CursInstall();
            } else if (part == inContent && w == window) {
                Point local = e.where;
                GlobalToLocal(&local);
                if (PtInRect(local, &rec->stopArea) && TrackStop(rec->stopArea)) return Cancel(rec, savedPort);
            }
            break;
        }
        case mouseUp: {
            WindowRef w = nullptr;
            Point local = e.where;
            GlobalToLocal(&local);
            if (FindWindow(e.where, &w) == inContent && w == window && PtInRect(local, &rec->stopArea)) {
                InvertRoundRect(&rec->stopArea, 10, 10);
                return Cancel(rec, savedPort);
            }
            break;
        }
        case updateEvt:
            if (reinterpret_cast<WindowRef>(e.message) == window) {
                TextFont(0);
                TextSize(12);
                TextFace(0);
                BeginUpdate(window);
                DrawDialog(rec->dialog);
                ShowLatestMessage(rec, now, true);
                EndUpdate(window);
            } else {
                ServeUpdate(e, window);
            }
            break;
        default:
            break;  // consumed: long operations take no other input
        }
    }
    SetPortWindowPort(window);
    rec->lastPoll = TickCount();
    ShowLatestMessage(rec, rec->lastPoll, false);
    DrawWait(rec);
    SetPort(savedPort);
    return false;
}

void ReSetWaitDialog(WaitParamRec* rec, bool)
{
    if (!rec->dialog) return;
    rec->current = rec->maximum;
    rec->lastPoll = 0;
    ChkWait(rec);
    ShowLatestMessage(rec, rec->lastPoll, false);
    DrawWait(rec);
    CursRmve();
    SetArrowCursor();
    NoteGone(rec);
    DisposeDialog(rec->dialog);
    rec->dialog = nullptr;
}

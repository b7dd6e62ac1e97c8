// The event loop: the only place where the application waits for input.
#include "app/appl/AppGlobals.h"
#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/ClickSeries.h"
#include "app/appl/CommandStacks.h"
#include "app/appl/MemoryShort.h"
#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "app/appl/Preferences.h"
#include "app/appl/TAppl.h"
#include "platform/appleevents/AppleEvents.h"
#include "platform/core/Clock.h"
#include "platform/core/Memory.h"
#include "platform/events/Events.h"
#include "platform/drawing/Ports.h"
#include "platform/menus/Menus.h"
#include "platform/windows/Windows.h"
#include "network/NetComponents.h"

using namespace platform;

namespace {

bool IsAppWindow(WindowRef w) { return w && GetWindowKind(w) == 8 && GetTWindow(w); }

// A posted command that must still run in critical memory: quit, close and save.
bool RunsInCriticalMemory(int16_t command) { return command == 19 || (command >= 3 && command <= 7); }

// How long the loop may sleep when no event comes. Input and quit requests
// end the sleep at once, so an idle program waits instead of polling: a
// posted command runs at the next pass; documents from a server poll their
// connection every tick; otherwise the front window's idle (the caret, the
// cursor) and the documents' idle need a pass about twice a second, and a
// moved mouse brings one sooner.
uint32_t ActiveSleep(TAppl* appl)
{
    if (FuncPending()) return 0;
    for (TDocument* doc = appl->fDocList; doc; doc = doc->fNext)
        if (doc->IsMember(2) && doc->fRemote) return 1;
    return GetCaretTime();
}

// What the loop keeps from one event to the next: the clicks that make a
// series, and the last event that was not a null one.
struct LoopState {
    ClickSeries series;
    EventRecord last{};
};

LoopState& Loop()
{
    static LoopState state;
    return state;
}

void Dispatch(TAppl* appl, EventRecord& event);

}  // namespace

int16_t DoNetWorkErr()
{
    if (MyAppl)
        for (TDocument* doc = MyAppl->fDocList; doc; doc = doc->fNext)
            if (doc->IsMember(2) && doc->fRemote) {
                doc->Do_Func(4);
                break;
            }
    G_NetWorkErr = 0;
    return 0;
}

void TAppl::Run()
{
    fQuit = false;
    Loop() = LoopState{};
    Loop().last.what = nullEvent;
    Loop().last.when = TickCount();
    CompactMem(0x7FFFFFF0);
    // Left-over input goes; the documents named on the command line stay.
    FlushEvents(everyEvent & ~highLevelEventMask, 0);

    while (true) {
        ApplGetScrap();
        EventRecord event{};
        WaitNextEvent(everyEvent, &event, fSuspended ? 600 : ActiveSleep(this), nullptr);
        DoEvent(event);
        if (fQuit) {
            ClosePrefResFile();
            deinitcomm();
            return;
        }
    }
}

void TAppl::DoEvent(EventRecord& event)
{
    RunCommand([&] { Dispatch(this, event); });
    if (event.what != nullEvent) Loop().last = event;
}

namespace {

void Dispatch(TAppl* appl, EventRecord& event)
{
    ClickSeries& series = Loop().series;
    const EventRecord& last = Loop().last;
    if (G_IsGenerique && (event.what == mouseDown || event.what == keyDown)) {
        WindowRef w = nullptr;
        const WindowPartCode part = FindWindow(event.where, &w);
        if (!(event.what == mouseDown && part == inDrag && w == FrontWindow())) {
            appl->EraseAbout();
            FlushEvents(everyEvent & ~highLevelEventMask, 0);
        }
    }

    switch (event.what) {
    case nullEvent: {
        int16_t command = 0;
        if (GetFunc(&command)) {
            if (!G_NoMem || RunsInCriticalMemory(command)) appl->Do_Func(command);
            break;
        }
        if (appl->fSuspended) break;
        WindowRef front = FrontWindow();
        if (front && IsWindowVisible(front) && GetTWindow(front)) GetTWindow(front)->Idle(event);
        if (G_NetWorkErr != 0) DoNetWorkErr();
        if (event.when - last.when > 20) {
            appl->IdleDoc();
            if (!appl->CheckMemory(51200)) {
                if (G_LowMem) {
                    G_LowMem = false;
                    if (WindowRef w = FrontWindow()) {
                        Str255 title;
                        GetWTitle(w, title);
                        SetWTitle(w, title);
                    }
                }
            } else if (!GromMemHdl && !G_NoMem) {
                NoMemory(2);
                G_NoMem = G_LowMem = true;
                for (int32_t k = 1; k <= NbMenus; ++k)
                    if (TheMenus[k]) DisableMenu(TheMenus[k]->menu);
                // The platform's Quit, last of the application menu, stays.
                if (TheMenus[1] && TheMenus[1]->menu) {
                    EnableMenuItem(TheMenus[1]->menu, 0);
                    EnableMenuItem(TheMenus[1]->menu, CountMenuItems(TheMenus[1]->menu));
                }
                for (int16_t command2 : {19, 3, 4, 5, 6, 7}) EnableFunc(command2);
                DrawMenuBar();
            } else if (!G_LowMem) {
                NoMemory(1);
                G_LowMem = true;
                DisableFunc(50);
            }
            if (G_LowMem) LowMemIdle();
        }
        break;
    }
    case mouseDown: {
        WindowRef w = nullptr;
        const WindowPartCode part = FindWindow(event.where, &w);
        const int16_t clicks = NextClickCount(&series, event, w);
        TWindow* tw = GetTWindow(w);
        switch (part) {
        case inMenuBar:
            SetArrowCursor();
            appl->Commande(SelectFromMenuBar(event.where));
            break;
        case inContent:
            if (G_NoMem || !tw) break;
            if (w == FrontWindow()) tw->Click(event, clicks);
            else SelectWindow(w);
            break;
        case inDrag:
            if (tw) {
                tw->Drag(event);
            } else {
                if (w != FrontWindow()) SelectWindow(w);
                else SetPortWindowPort(w);
                DragWindow(w, event.where, nullptr);
            }
            break;
        case inGrow:
            if (!G_NoMem && tw) tw->grow(event);
            break;
        case inGoAway:
            if (TrackGoAway(w, event.where) && tw) {
                const uint16_t mods = tw->IsMember(1) ? 0 : event.modifiers;
                if (mods & optionKey) {
                    if (mods & shiftKey) PostFunc(5);
                    else if (TWindow* f = GetTWindow(FrontWindow())) f->Do_Func(4);
                } else if (GetWindowKind(w) == 8) {
                    tw->Close();
                }
            }
            break;
        case inZoomIn:
        case inZoomOut:
            if (!G_NoMem && tw) tw->Zoom(event, part);
            break;
        default:
            break;
        }
        break;
    }
    case keyDown:
    case autoKey: {
        const uint8_t ch = uint8_t(event.message & charCodeMask);
        WindowRef front = FrontWindow();
        if ((event.modifiers & cmdKey) && ch > 27) {
            if (!front) {
                if (const int32_t choice = MenuKey(ch); choice & 0xFFFF) appl->Commande(choice);
            } else if (GetWindowKind(front) > 0) {
                const int32_t choice = MenuKey(ch);
                if (choice & 0xFFFF) appl->Commande(choice);
                else if (IsAppWindow(front)) GetTWindow(front)->key(event);
            }
        } else if (!G_NoMem && IsAppWindow(front)) {
            GetTWindow(front)->key(event);
        }
        break;
    }
    case updateEvt: {
        auto w = reinterpret_cast<WindowRef>(event.message);
        if (!IsValidWindowPtr(w) || !IsWindowVisible(w)) break;
        // The update ends and the port goes back however the drawing ends.
        struct Updating {
            WindowRef window;
            GrafPtr saved = nullptr;
            bool begun = false;
            ~Updating()
            {
                if (begun) EndUpdate(window);
                SetPort(saved);
            }
        } updating{w};
        GetPort(&updating.saved);
        SetPortWindowPort(w);
        if (GetWindowKind(w) == 8) {
            BeginUpdate(w);
            updating.begun = true;
            if (TWindow* tw = GetTWindow(w)) tw->update(event);
        }
        break;
    }
    case activateEvt: {
        auto w = reinterpret_cast<WindowRef>(event.message);
        if (w == gFirstWind) break;
        if (GetWindowKind(w) == 8) {
            if (TWindow* tw = GetTWindow(w)) tw->Activate(event);
        } else if (event.modifiers & activeFlag) {
            appl->ApplPutScrap();
        } else {
            appl->ApplGetScrap();
        }
        break;
    }
    case osEvt: {
        if ((event.message >> 24) == suspendResumeMessage) appl->fSuspended = !(event.message & resumeFlag);
        if (!appl->fSuspended) {
            appl->ApplGetScrap();
        } else {
            appl->ApplPutScrap();
            if (G_IsGenerique) appl->EraseAbout();
        }
        WindowRef front = FrontWindow();
        if (!front) {
            SetArrowCursor();
        } else {
            event.modifiers = appl->fSuspended ? 0 : activeFlag;
            HiliteWindow(front, !appl->fSuspended);
            if (IsAppWindow(front)) GetTWindow(front)->Activate(event);
        }
        break;
    }
    case kHighLevelEvent:
        AEProcessAppleEvent(&event);
        break;
    default:
        break;
    }
}

}  // namespace

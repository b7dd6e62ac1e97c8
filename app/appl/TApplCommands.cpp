// Menu choices and commands: routing to the application, the front window,
// its panes and its document, and the menu state of the window set.
#include "app/appl/AppGlobals.h"
#include "app/dialogs/BusyCursor.h"
#include "app/appl/CommandStacks.h"
#include "app/appl/Menus.h"
#include "app/dialogs/Messages.h"
#include "app/documents/RecentList.h"
#include "app/appl/TAppl.h"
#include "app/appl/UndoRecords.h"
#include "platform/core/FourCC.h"
#include "platform/drawing/Ports.h"
#include "platform/events/Events.h"
#include "platform/menus/Menus.h"
#include "platform/resfiles/Resources.h"
#include "platform/screen/Screen.h"
#include "platform/windows/Windows.h"

using namespace platform;

void TAppl::Commande(int32_t menuResult)
{
    if (!fSuspended) HiliteMenu(0);
    const int16_t menuId = int16_t(uint32_t(menuResult) >> 16);
    const int16_t item = int16_t(menuResult & 0xFFFF);
    if (item == 0) {
        // Released on a disabled item or a submenu's parent.
        int16_t command = 0, index = 0;
        GetFunc(MenuChoice(), &command, &index);
        if (command == 11) Dispatch_Func(12, 1);
        else if (command == 126) Dispatch_Func(13, 1);
        else if (command == 127) Dispatch_Func(2, 1);
        return;
    }
    if (menuId == 500) return;
    if (menuId == 128) {
        if (item == 1) ShowAbout();
        return;  // the platform's application menu holds nothing else of ours
    }
    int16_t command = 0, index = 0;
    GetFunc(menuResult, &command, &index);
    if (CheckGroupe(command)) {
        const int16_t count = NbSFunc(command);
        for (int32_t i = 1; i <= count; ++i) SetFuncMark(command, i, 0);
        SetFuncMark(command, index, checkMark);
    }
    Dispatch_Func(command, index);
}

int16_t TAppl::Dispatch_Func(int16_t command, int16_t index)
{
    if (command == 11 || command == 34 || (command >= 100 && command <= 103)) {
        if (const OSErr err = PushInteger(index); err != noErr) return err;
    }
    return Do_Func(command);
}

int16_t TAppl::Do_Func(int16_t command)
{
    int16_t result = Do_If_MyFunc(command);
    if (result == -1)
        if (TWindow* front = GetTWindow(FrontWindow())) result = front->Do_Func(command);
    return result;
}

namespace {

// True (after the message) when memory is short for a new document.
bool ShortOfMemory()
{
    if (!MyAppl->CheckMemory(30720)) return false;
    NoMemory(0);
    return true;
}

}  // namespace

int16_t TAppl::Do_If_MyFunc(int16_t command)
{
    switch (command) {
    case 1:
        return ShortOfMemory() ? int16_t(memFullErr) : NewLibDoc(1);
    case 2:
        return ShortOfMemory() ? int16_t(memFullErr) : OpenMainDoc();
    case 5:
        return Close();
    case 9:
        SetDlogEditMenu();
        PageSetUp();
        return 0;
    case 11:
        return OpenSpecial();
    case 13:
        return Preferences();
    case 14:
        return ShortOfMemory() ? int16_t(memFullErr) : OpenServerMainDoc();
    case 15:
        // The bar offers nothing while the dialog is up.
        return ConflictPreferences();
    case 16:
        return BlockingPreferences();
    case 19:
        // A document that refuses to close cancels a quit, not the end the
        // system asked for: what is left open is closed on the way out.
        fQuit = true;
        if (Close() != 0 && !TerminationRequestPending()) fQuit = false;
        return 0;
    case 20:
        return ShortOfMemory() ? int16_t(memFullErr) : NewLibDoc(0);
    case 27:
        if (fClipBoard) {
            if (fClipBoard->Visible()) fClipBoard->Hide();
            else fClipBoard->Show();
        }
        return 0;
    case 30:
        return ShortOfMemory() ? int16_t(memFullErr) : OpenSQL();
    case 32:
        StackWindows();
        return 0;
    case 33:
        TileWindows();
        return 0;
    case 34:
        return SelectMenuWindow();
    case 40:
    case 41:
    case 42:
        return ShortOfMemory() ? 0 : NewRefWindow(int16_t(128 + command - 40), -1, 0);
    case 43:
        return ShortOfMemory() ? 0 : NewRefWindow(128, GroupFilterID(), 1);
    case 54:
        return DoEditFilters();
    case 32000:
        MakeActive();
        return 0;
    case 32001:
        MakeInActive();
        return 0;
    case 32003:
        return GetDragObj();
    default:
        return -1;
    }
}

void TAppl::MakeActive()
{
    if (CountDocWindow() > 1) {
        for (int16_t c : {32, 33, 5}) EnableFunc(c);
    } else {
        for (int16_t c : {32, 33, 5}) DisableFunc(c);
    }
}

void TAppl::MakeInActive()
{
    for (int16_t c : {22, 23, 25, 24}) DisableFunc(c);
    SetUndoMenu(nullptr);
    for (int16_t c : {32, 33, 5, 4, 40, 41, 42, 18, 55, 26}) DisableFunc(c);
    DrawMenuBar();
    fDefaultRect = DefaultWindowRect();
}

int16_t TAppl::GetDragObj()
{
    void* pane = nullptr;
    if (PopPtr(&pane)) return 0;  // nothing was posted with it
    auto* dest = static_cast<TPlan*>(pane);
    // The pane's window may have closed since the drop: its arguments go.
    if (!IsLivePane(dest)) {
        DropArguments(sizeof(void*) + 2);
        return 0;
    }
    return dest->fWindow->GetDragObj(dest);
}

void TAppl::SetMenus()
{
    BuildMenus();
    UpdateOpenSpecialMenu();
}

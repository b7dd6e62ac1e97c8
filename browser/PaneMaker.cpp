// The browser's panes, made for the application's browser windows.
#include <new>

#include "app/longlist/LongListHooks.h"
#include "app/appl/Menus.h"
#include "app/windows/PaneHooks.h"
#include "app/appl/Preferences.h"
#include "browser/CallPanes.h"
#include "browser/dialogs/FilterDialog.h"
#include "browser/dialogs/RenameDialog.h"
#include "browser/dialogs/TriStateBox.h"
#include "browser/editors/EditorPanes.h"
#include "design/objects/ObjQz.h"
#include "design/preview/PreviewFrame.h"

namespace browser {

namespace {
bool gEnabled[512] = {};
}

void EnableFunc(int16_t command)
{
    if (command >= 0 && command < 512) gEnabled[command] = true;
    ::EnableFunc(command);
}

void DisableFunc(int16_t command)
{
    if (command >= 0 && command < 512) gEnabled[command] = false;
    ::DisableFunc(command);
}

bool CommandEnabled(int16_t command) { return command >= 0 && command < 512 && gEnabled[command]; }

::TPlan* MakeRefPlane(int16_t kind)
{
    switch (kind) {
    case 0: return new (std::nothrow) TLstPlane;
    case 1: return new (std::nothrow) TCalledPlane;
    case 2: return new (std::nothrow) TCallingPlane;
    case 3: return new (std::nothrow) TDisplayPlane;
    default: return nullptr;
    }
}

void InstallBrowserPanes()
{
    PaneHooks().makeRefPlane = MakeRefPlane;
    PaneHooks().makeClipPlane = MakeClipPlane;
    PaneHooks().makeDocPlane = MakeDocPlane;
    PaneHooks().makeStrPlane = MakeStrPlane;
    PaneHooks().setDocFlag = [](TObjQz* obj) {
        if (obj) obj->SetDocFlag();
    };
    // A linked window's cross-reference panes show the object's own lists.
    PaneHooks().objectLinks = [](TObjQz* obj, bool callers) -> char** {
        if (!obj) return nullptr;
        return reinterpret_cast<char**>(callers ? obj->usedBy : obj->uses);
    };
    PaneHooks().filterRecord = [](int16_t id) -> char** { return ::GetFilter(id); };
    PaneHooks().editFilters = EditFilters;
    PaneHooks().updateFilters = DoUpdateFilters;
    RegisterListDefinitions();
    InstallTriStateBox();
    InstallRenameDialog();
    SetPreviewScrollHook(PreviewClickScrolled);
    LongListHooks hooks = CurrentLongListHooks();
    hooks.getLevel = [](void* obj) -> int16_t { return obj ? static_cast<TObjQz*>(obj)->GetLevel() : 0; };
    hooks.openable = [](void* obj) { return obj && static_cast<TObjQz*>(obj)->Openable(); };
    hooks.dragable = [](void* obj) { return obj && static_cast<TObjQz*>(obj)->Dragable(); };
    // Rows dragged over another window find their drop target there.
    hooks.dragCell = [](TWindow* window, platform::Point where) { window->DragCell(where); };
    hooks.dragCellSelect = [](::TPlan* pane, bool on) {
        if (auto* target = dynamic_cast<TPlan*>(pane)) target->DragCellSelect(on);
    };
    SetLongListHooks(hooks);
}

}  // namespace browser

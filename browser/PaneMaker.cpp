// The browser's panes, made for the application's browser windows.
#include <new>

#include "app/LongListHooks.h"
#include "app/PaneHooks.h"
#include "browser/Panes.h"
#include "design/ObjQz.h"

namespace browser {

::TPlan* MakeRefPlane(int16_t kind)
{
    // The cross-reference and preview panes come later: a plain pane holds
    // their place in the layout.
    if (kind == 0) return new (std::nothrow) TLstPlane;
    return new (std::nothrow) TPlan;
}

void InstallBrowserPanes()
{
    PaneHooks().makeRefPlane = MakeRefPlane;
    LongListHooks hooks = CurrentLongListHooks();
    hooks.getLevel = [](void* obj) -> int16_t { return obj ? static_cast<TObjQz*>(obj)->GetLevel() : 0; };
    hooks.openable = [](void* obj) { return obj && static_cast<TObjQz*>(obj)->Openable(); };
    hooks.dragable = [](void* obj) { return obj && static_cast<TObjQz*>(obj)->Dragable(); };
    SetLongListHooks(hooks);
}

}  // namespace browser

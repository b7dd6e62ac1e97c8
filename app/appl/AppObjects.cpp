#include "app/appl/AppObjects.h"

#include <unordered_set>

#include "app/appl/AppGlobals.h"
#include "app/windows/PaneHooks.h"
#include "app/appl/TAppl.h"

using namespace platform;

namespace {

std::unordered_set<const TWindow*>& LiveWindows()
{
    static auto* set = new std::unordered_set<const TWindow*>;
    return *set;
}

std::unordered_set<const TPlan*>& LivePanes()
{
    static auto* set = new std::unordered_set<const TPlan*>;
    return *set;
}

}  // namespace

TWindow::TWindow() { LiveWindows().insert(this); }
TWindow::~TWindow() { LiveWindows().erase(this); }

TPlan::TPlan() { LivePanes().insert(this); }
TPlan::~TPlan() { LivePanes().erase(this); }

TWindow* GetTWindow(WindowRef window)
{
    if (!window || !IsValidWindowPtr(window)) return nullptr;
    // Other windows keep numbers of their own there: only a live window
    // object that names this window is taken.
    auto* object = reinterpret_cast<TWindow*>(GetWRefCon(window));
    if (!object || LiveWindows().count(object) == 0 || object->fWindow != window) return nullptr;
    return object;
}

bool IsLivePane(const TPlan* pane)
{
    if (!pane || LivePanes().count(pane) == 0 || !pane->fWindow) return false;
    for (WindowRef w = GetWindowList(); w; w = GetNextWindow(w))
        if (GetTWindow(w) == pane->fWindow) return true;
    return false;
}

bool IsLiveWindow(const TWindow* window) { return window && LiveWindows().count(window) != 0; }

AppPaneHooks& PaneHooks()
{
    static AppPaneHooks hooks;
    return hooks;
}

#include "resources/AppHooks.h"

#include "resources/CPseudoResManager.h"

ResAppHooks& AppHooks()
{
    static ResAppHooks hooks;
    return hooks;
}

void resQzhook(platform::ResType type, int16_t id, int16_t marker, int16_t action)
{
    if (ResChangeHook hook = CPseudoResManager::ChangeHook()) hook(type, id, marker, action);
}

void mySelectWindow(platform::WindowRef window)
{
    if (AppHooks().selectWindow) AppHooks().selectWindow(window);
}

void myShowWindow(platform::WindowRef window)
{
    if (AppHooks().showWindow) AppHooks().showWindow(window);
}

void myModalDialog(void* filterProc, int16_t* item)
{
    if (AppHooks().modalDialog) AppHooks().modalDialog(filterProc, item);
}

#include "app/documents/DocHooks.h"

AppDocHooks& DocHooks()
{
    static AppDocHooks hooks;
    return hooks;
}

void ResetDocHooks() { DocHooks() = AppDocHooks(); }

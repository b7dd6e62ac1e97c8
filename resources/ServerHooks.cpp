#include "resources/ServerHooks.h"

ResServerHooks& ServerHooks()
{
    static ResServerHooks hooks;
    return hooks;
}

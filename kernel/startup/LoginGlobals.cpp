#include "kernel/startup/LoginGlobals.h"

unsigned char gStartupUserName[32] = {};
unsigned char gStartupPassword[32] = {};
int16_t DefaultDBUser = 0;
uint8_t gIsRuntime = 0;
uint8_t DisableQzGroups = 0;

void ResetLoginGlobals()
{
    gStartupUserName[0] = gStartupPassword[0] = 0;
    DefaultDBUser = 0;
    gIsRuntime = DisableQzGroups = 0;
}

#include "looks/FormLook.h"

#include "looks/LookManager.h"

namespace {
int16_t gFormLook = 0;
}

void SetDBVIProc(int16_t look) { gFormLook = look; }

int16_t GetDBVILook() { return gFormLook; }

// One handler draws every look here.
VI_Handler* GetDBVIProc() { return gVI; }

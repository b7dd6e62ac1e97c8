#include "looks/FormLook.h"

#include "kernel/helpers/KernelColors.h"
#include "looks/LookManager.h"

namespace {
int16_t gFormLook = 0;
}

void SetDBVIProc(int16_t look)
{
    gFormLook = look;
    // The kernel's bevels follow the Windows looks.
    const StdLook slot = VI_Handler(look).PaintingLook();
    Look95 = slot == 2 || slot == 3 ? 1 : 0;
}

int16_t GetDBVILook() { return gFormLook; }

VI_Handler* GetDBVIProc()
{
    VI_Handler* handler = VI_Manager::GetHandler(gFormLook);
    return handler ? handler : gVI;
}

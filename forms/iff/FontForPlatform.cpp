#include "forms/iff/Iff.h"
#include "kernel/startup/KernelGlobals.h"

void AdjusteFontForPlatform(uint8_t flag)
{
    if (!flag) return;
    mysmalsize = int16_t(mysmalsize * 3 / 4);
    mymesssize = int16_t(mymesssize * 3 / 4);
    mybigsize = int16_t(mybigsize * 3 / 4);
}

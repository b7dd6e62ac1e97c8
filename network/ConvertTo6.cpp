#include "network/ConvertTo6.h"

#include "kernel/handles/KernelHandles.h"
#include "kernel/prefs/UPrefs.h"
#include "platform/core/FourCC.h"

void convert_to_6(const platform::FSSpec& fileSpec)
{
    (void)fileSpec;
    createur = platform::FourCC("Qz+6");
    erreure = 4;
}

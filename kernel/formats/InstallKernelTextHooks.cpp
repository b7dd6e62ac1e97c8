#include "kernel/formats/InstallKernelTextHooks.h"

#include "kernel/formats/NumericFormats.h"
#include "kernel/formats/StringFormats.h"
#include "toolbox/foundation/KernelTextHooks.h"

void InstallKernelTextHooks()
{
    gKernelTextHooks.realToText = strreel2;
    gKernelTextHooks.applyNumericFormat = transusing;
    gKernelTextHooks.applyStringFormat = sstransusing;
}

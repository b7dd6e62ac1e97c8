// The program's 'kind' resource, read for the open dialog's client name.
#include <cstddef>
#include <cstdint>

#include "toolbox/files/KindResource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    uint8_t name[256];
    ReadKindAppName(data, size, name);
    return 0;
}

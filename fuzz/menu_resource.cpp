// Menus as stored in 'MENU' resources.
#include <cstddef>
#include <cstdint>

#include "platform/menus/MenuRecord.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    platform::MenuResourceData menu;
    platform::ReadMenuResource(data, size, &menu);
    return 0;
}

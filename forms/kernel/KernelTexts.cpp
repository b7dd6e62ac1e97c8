#include "forms/kernel/KernelTexts.h"

#include <algorithm>
#include <cstring>

#include "forms/kernel/KernelForm.h"
#include "kernel/startup/KernelGlobals.h"

void ReformatSuperGlobal(unsigned char* name)
{
    if (name[0] <= 2 || name[1] != '<' || name[2] != '>') return;
    unsigned char rest[256];
    rest[0] = uint8_t(name[0] - 2);
    std::memcpy(rest + 1, name + 3, rest[0]);
    const uint8_t prefix = stglobglob[0];
    std::memcpy(name + 1, stglobglob + 1, prefix);
    const uint8_t kept = uint8_t(std::min<int32_t>(rest[0], 255 - prefix));
    std::memcpy(name + 1 + prefix, rest + 1, kept);
    name[0] = uint8_t(prefix + kept);
}

void adjustefont(int16_t* font, int16_t* size)
{
    if (platformResourceMode && *font == 1 && *size == 12) *size = 10;
}

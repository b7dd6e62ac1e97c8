#include "kernel/prefs/FileExtensions.h"

#include <cstdint>
#include <cstring>

void RemoveFileExtension(unsigned char* name)
{
    const int last = name[0];
    for (int i = last; i >= 1 && i > last - 4; --i)
        if (name[i] == '.') {
            name[0] = uint8_t(i - 1);
            return;
        }
}

void SetExtension(unsigned char* name, const char* extension)
{
    RemoveFileExtension(name);
    const size_t length = std::strlen(extension);
    if (name[0] + length + 1 > 255) return;
    name[name[0] + 1] = '.';
    std::memcpy(name + name[0] + 2, extension, length);
    name[0] = uint8_t(name[0] + length + 1);
}

void TruncateDos_KeepExt(const unsigned char* source, unsigned char* destination)
{
    std::memmove(destination, source, size_t(source[0]) + 1);
}

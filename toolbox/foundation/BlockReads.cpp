#include "toolbox/foundation/BlockReads.h"

#include <cstring>

#include "toolbox/foundation/VStream.h"

int16_t ReadFromBlock(const char* data, uint32_t size, uint32_t& pos, void* buffer, uint32_t* length)
{
    if (pos > size) {
        *length = 0;
        return kStreamEndOfData;
    }
    int16_t result = 0;
    const uint32_t remaining = size - pos;
    if (*length > remaining) {
        *length = remaining;
        result = kStreamEndOfData;
    }
    if (*length) std::memcpy(buffer, data + pos, *length);
    pos += *length;
    return result;
}

uint32_t FindInBlock(const char* data, uint32_t size, uint32_t from, const void* value, uint32_t valueSize)
{
    if (!data || size < valueSize) return 0;
    for (uint32_t at = from; at <= size - valueSize; ++at)
        if (std::memcmp(data + at, value, valueSize) == 0) return at + 1;
    return 0;
}

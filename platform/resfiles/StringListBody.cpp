#include "platform/resfiles/StringListBody.h"

#include <algorithm>

namespace platform {

uint32_t StringListCount(const uint8_t* bytes, size_t size)
{
    return bytes && size >= 2 ? uint32_t(bytes[0]) << 8 | bytes[1] : 0;
}

bool ReadStringListBody(const uint8_t* bytes, size_t size, std::vector<std::string>* strings)
{
    strings->clear();
    const uint32_t count = StringListCount(bytes, size);
    size_t at = 2;
    for (uint32_t i = 0; i < count; ++i) {
        if (at >= size) return false;
        const size_t n = std::min<size_t>(bytes[at], size - at - 1);
        strings->emplace_back(reinterpret_cast<const char*>(bytes + at + 1), n);
        if (n < bytes[at]) return false;
        at += 1 + n;
    }
    return true;
}

}  // namespace platform

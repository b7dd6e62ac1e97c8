// Records converted between byte orders with the shipped templates: by
// resource type (the store's conversion of contents read from or written to
// a little-endian file or server) and by template number, never touching a
// byte past the record.
// Input: a 4-byte resource type (or, with the top bit of the first byte
// set, a template number in the low 15 bits of the first two bytes), then
// the record.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "fuzz/support/FuzzSupport.h"
#include "kernel/byteswap/SwapTemplates.h"
#include "resources/swap/SwapResource.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    if (!fuzz::LoadShippedTemplates()) std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4) return 0;
    const uint32_t selector = uint32_t(data[0]) << 24 | uint32_t(data[1]) << 16 | uint32_t(data[2]) << 8 | data[3];
    const size_t length = size - 4;
    // Exactly the record's size, so that any access past it is seen.
    std::unique_ptr<uint8_t[]> record(new uint8_t[length]);
    std::copy(data + 4, data + size, record.get());

    if (selector & 0x80000000u) {
        const int32_t number = int32_t((selector >> 16) & 0x7FFF);
        int32_t consumed = 0;
        if (SwapBytes2(number, record.get(), 1, &consumed, int32_t(length)) == 0 &&
            (consumed < 0 || size_t(consumed) > length))
            std::abort();
        std::copy(data + 4, data + size, record.get());
        SwapBytesEnvoi2(number, record.get(), 1, &consumed, int32_t(length));
    } else {
        SwapResource(1, selector, int32_t(length), record.get());
        std::copy(data + 4, data + size, record.get());
        SwapResourceEnvoi(1, selector, int32_t(length), record.get());
    }
    return 0;
}

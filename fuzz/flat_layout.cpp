// Any bytes as a form of the older flat layout read into objects
// (ReadLayoutData): a leading 13 and a page count read page by page, any
// other data as one run; every object then destroyed. The bytes lie in a
// block of exactly their size, so a read past them is caught.
#include <cstdint>
#include <cstring>
#include <memory>

#include "forms/layout/FormContainer.h"
#include "forms/objects/FormObjects.h"
#include "forms/reader/FlatLayout.h"
#include "forms/reader/FormReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1 << 20)) return 0;
    std::unique_ptr<char[]> block(new char[size ? size : 1]);
    if (size) std::memcpy(block.get(), data, size);
    formTableCount = 3;
    ResetObjIndex();
    char* at = block.get();
    int32_t remaining = int32_t(size);
    int32_t pages = 1;
    if (size >= 4 && data[0] == 13) {
        pages = int32_t(data[2]) << 8 | data[3];
        at += 4;
        remaining -= 4;
    }
    for (int32_t page = 0; page < pages && remaining >= 0; ++page) {
        LayoutObject* last = nullptr;
        DestroyObjects(ReadLayoutData(&at, &remaining, nullptr, &last));
        if (remaining == 0) break;
    }
    return 0;
}

// Arrays of pointers, 32-bit and 16-bit integers: VArray with the
// comparison of their element kind. Pointers are native pointers.
#pragma once

#include <cstdint>

#include "kernel/arrays/VArray.h"

class VPtrArray : public VArray {
public:
    explicit VPtrArray(int16_t growthStep = 10, uint16_t flags = 0);
    int32_t _oCompare(const void* a, const void* b) override;
    int32_t oAddPtrElem(void* pointer);
};

class VLongArray : public VArray {
public:
    explicit VLongArray(int16_t growthStep = 10, uint16_t flags = 0);
    int32_t _oCompare(const void* a, const void* b) override;
};

class VWordArray : public VArray {
public:
    explicit VWordArray(int16_t growthStep = 10, uint16_t flags = 0);
    int32_t _oCompare(const void* a, const void* b) override;
};

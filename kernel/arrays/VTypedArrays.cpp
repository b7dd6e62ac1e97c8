#include "kernel/arrays/VTypedArrays.h"

#include <cstring>

namespace {

template <typename T>
int32_t CompareStored(const void* a, const void* b)
{
    T x, y;
    std::memcpy(&x, a, sizeof(T));
    std::memcpy(&y, b, sizeof(T));
    return x > y ? 1 : (x < y ? -1 : 0);
}

}  // namespace

VPtrArray::VPtrArray(int16_t growthStep, uint16_t flags) : VArray(int16_t(sizeof(void*)), growthStep, flags) {}

int32_t VPtrArray::_oCompare(const void* a, const void* b) { return CompareStored<uintptr_t>(a, b); }

int32_t VPtrArray::oAddPtrElem(void* pointer) { return oAddElem(&pointer); }

VLongArray::VLongArray(int16_t growthStep, uint16_t flags) : VArray(4, growthStep, flags) {}

int32_t VLongArray::_oCompare(const void* a, const void* b) { return CompareStored<int32_t>(a, b); }

VWordArray::VWordArray(int16_t growthStep, uint16_t flags) : VArray(2, growthStep, flags) {}

int32_t VWordArray::_oCompare(const void* a, const void* b) { return CompareStored<int16_t>(a, b); }

#include "kernel/arrays/VArray.h"

#include <cstring>

#include "platform/core/Memory.h"

using platform::GetHandleSize;
using platform::HLock;
using platform::HUnlock;
using platform::MemError;

VArray::VArray(int16_t elementSize, int16_t growthStep, uint16_t flags)
    : fGrowthStep(growthStep), fElementSize(elementSize > 0 ? elementSize : 1), fFlags(flags)
{
    fBlock = platform::NewHandle(0);
}

VArray::~VArray()
{
    if (fBlock) platform::DisposeHandle(fBlock);
    fBlock = nullptr;
    fCount = 0;
}

int32_t VArray::oReadFromStream(VStream*, int32_t) { return 0; }

int32_t VArray::oWriteToStream(VStream*) { return 0; }

bool VArray::ResizeSlots(int64_t slots)
{
    const int64_t bytes = slots * fElementSize;
    if (slots < 0 || bytes > 0x7FFFFFFF) return false;
    if (!fBlock) {
        fBlock = platform::NewHandle(platform::Size(bytes));
        return fBlock != nullptr;
    }
    platform::SetHandleSize(fBlock, platform::Size(bytes));
    return MemError() == 0;
}

uint8_t VArray::CopyFrom(VArray* source)
{
    if (source == this) return true;  // already a copy of itself
    oReinitArray();
    if (!source) return false;
    const int32_t n = source->oGetNbElem();
    if (n == 0) return true;
    if (source->fElementSize != fElementSize) return false;
    if (oAddNSpaces(n, false) < 0) return false;
    oLockArray();
    source->oLockArray();
    std::memcpy(ElementAt(0), source->ElementAt(0), size_t(n) * size_t(fElementSize));
    source->oUnlockArray();
    oUnlockArray();
    return true;
}

int32_t VArray::oAddElem(const void* element)
{
    if (!(fFlags & kSorted)) return _oAddElem(element);
    int32_t index;
    xDicoFind(element, &index);
    return oInsertElem(element, index) ? index : -1;
}

int32_t VArray::_oAddElem(const void* element)
{
    if (!xAddOneSlot()) return -1;
    std::memcpy(ElementAt(fCount), element, size_t(fElementSize));
    return fCount++;
}

int32_t VArray::oAddNSpaces(int32_t number, uint8_t clear)
{
    if (number < 0) return -1;
    oReserveRoom(number, false);
    if (fCapacity - fCount < number) return -1;
    if (clear && number > 0) std::memset(ElementAt(fCount), 0, size_t(number) * size_t(fElementSize));
    const int32_t first = fCount;
    fCount += number;
    return first;
}

uint8_t VArray::oInsertElem(const void* element, int32_t index)
{
    if (index >= fCount) return _oAddElem(element) >= 0;
    if (!xAddOneSlot()) return false;
    if (index < 0) index = 0;
    std::memmove(ElementAt(index + 1), ElementAt(index), size_t(fCount - index) * size_t(fElementSize));
    std::memcpy(ElementAt(index), element, size_t(fElementSize));
    ++fCount;
    return true;
}

void VArray::oGetElem(int32_t index, void* destination)
{
    if (index >= 0 && index < fCount)
        std::memcpy(destination, ElementAt(index), size_t(fElementSize));
    else
        std::memset(destination, 0, size_t(fElementSize));
}

void VArray::oDeleteElem(int32_t index) { oDeleteNElems(index, 1); }

void VArray::oDeleteNElems(int32_t first, int32_t number)
{
    if (first < 0 || first >= fCount || number <= 0) return;
    if (number > fCount - first) number = fCount - first;
    const int32_t behind = fCount - first - number;
    std::memmove(ElementAt(first), ElementAt(first + number), size_t(behind) * size_t(fElementSize));
    fCount -= number;
}

void VArray::oDeleteLastElem()
{
    if (fCount > 0) oDeleteElem(oGetNbElem() - 1);
}

void VArray::oReinitArray()
{
    if (fBlock) {
        if (fLockCount > 0) HUnlock(fBlock);
        platform::SetHandleSize(fBlock, 0);
    }
    fCount = fCapacity = 0;
    fLockCount = 0;
}

int32_t VArray::oFindElem(const void* key)
{
    if (fFlags & kSorted) {
        int32_t index;
        return xDicoFind(key, &index) ? index : -1;
    }
    int32_t found = -1;
    oLockArray();
    for (int32_t i = 0; i < fCount && found < 0; ++i)
        if (_oCompare(key, ElementAt(i)) == 0) found = i;
    oUnlockArray();
    return found;
}

void VArray::oReserveRoom(int32_t number, uint8_t addStep)
{
    if (int64_t(fCapacity) >= int64_t(fCount) + number) return;
    const int64_t slots = int64_t(number) + fCount + (addStep && fGrowthStep > 0 ? fGrowthStep : 0);
    if (slots <= 0x7FFFFFFF && ResizeSlots(slots)) fCapacity = int32_t(slots);
}

int32_t VArray::oGetNbElem() { return fCount; }

void VArray::oLockArray()
{
    if (!fBlock) return;
    if (fLockCount++ == 0) HLock(fBlock);
}

void VArray::oUnlockArray()
{
    if (!fBlock || fLockCount == 0) return;
    if (--fLockCount == 0) HUnlock(fBlock);
}

void VArray::oSort(uint8_t ascending)
{
    oLockArray();
    if (ascending)
        _oSortAscending(0, fCount);
    else
        _oSortDescending(0, fCount);
    oUnlockArray();
}

int32_t VArray::aGetMemUsage() { return fBlock ? GetHandleSize(fBlock) : 0; }

int32_t VArray::_oCompare(const void* a, const void* b)
{
    const auto x = reinterpret_cast<uintptr_t>(a);
    const auto y = reinterpret_cast<uintptr_t>(b);
    return x > y ? 1 : (x < y ? -1 : 0);
}

void VArray::_oSortAscending(int32_t from, int32_t to)
{
    while (to - from > 1) {
        int32_t i = from + 1;
        int32_t j = to - 1;
        for (;;) {
            while (i < to && _oCompare(ElementAt(i), ElementAt(from)) <= 0) ++i;
            while (j > from && _oCompare(ElementAt(j), ElementAt(from)) >= 0) --j;
            if (i >= j) break;
            xSwapElements(i, j);
        }
        if (j == from) {
            ++from;
            continue;
        }
        xSwapElements(from, j);
        if (j - from >= to - (j + 1)) {
            _oSortAscending(j + 1, to);
            to = j;
        } else {
            _oSortAscending(from, j);
            from = j + 1;
        }
    }
}

void VArray::_oSortDescending(int32_t from, int32_t to)
{
    while (to - from > 1) {
        int32_t i = from + 1;
        int32_t j = to - 1;
        for (;;) {
            while (i < to && _oCompare(ElementAt(i), ElementAt(from)) >= 0) ++i;
            while (j > from && _oCompare(ElementAt(j), ElementAt(from)) <= 0) --j;
            if (i >= j) break;
            xSwapElements(i, j);
        }
        if (j == from) {
            ++from;
            continue;
        }
        xSwapElements(from, j);
        if (j - from >= to - (j + 1)) {
            _oSortDescending(j + 1, to);
            to = j;
        } else {
            _oSortDescending(from, j);
            from = j + 1;
        }
    }
}

void* VArray::oGetPtrOnFirstElem() { return fBlock ? *fBlock : nullptr; }

const void* VArray::oGetPtrOnFirstElem() const { return fBlock ? *fBlock : nullptr; }

bool VArray::xAddOneSlot()
{
    if (fCount < fCapacity) return true;
    // A step of 0 or less never makes room (and must not shrink the block).
    if (fGrowthStep <= 0) return false;
    if (ResizeSlots(int64_t(fCapacity) + fGrowthStep)) fCapacity += fGrowthStep;
    return fCount < fCapacity;
}

bool VArray::xDicoFind(const void* key, int32_t* index)
{
    const int32_t n = oGetNbElem();
    oLockArray();
    int32_t low = 0;
    int32_t high = n;
    bool found = false;
    while (high > low) {
        const int32_t middle = (low + high) >> 1;
        const int32_t c = _oCompare(key, ElementAt(middle));
        if (c < 0) {
            high = middle;
        } else if (c > 0) {
            low = middle + 1;
        } else {
            low = middle;
            found = true;
            break;
        }
    }
    oUnlockArray();
    *index = low;
    return found;
}

void VArray::xSwapElements(int32_t a, int32_t b)
{
    char* x = ElementAt(a);
    char* y = ElementAt(b);
    int32_t left = fElementSize;
    char tmp[8];
    while (left > 0) {
        const int32_t n = left >= 8 ? 8 : left;
        std::memcpy(tmp, x, size_t(n));
        std::memcpy(x, y, size_t(n));
        std::memcpy(y, tmp, size_t(n));
        x += n;
        y += n;
        left -= n;
    }
}

#include "toolbox/foundation/VStack.h"

#include <cstring>

#include "toolbox/foundation/VMemoryMgr.h"

namespace {
constexpr int32_t kGrowth = 10;
}

VStack::~VStack()
{
    if (fHandle) {
        gMemory->UnlockHandle(fHandle);
        gMemory->DisposeHandle(fHandle);
    }
}

char* VStack::PushSlot()
{
    if (fCount >= fCapacity) {
        const int64_t capacity = int64_t(fCapacity) + kGrowth;
        const int64_t bytes = capacity * fElementSize;
        if (bytes > 0x7FFFFFFF) return nullptr;
        if (fHandle) {
            gMemory->UnlockHandle(fHandle);
            const bool grown = gMemory->SetHandleSizeClear(fHandle, uint32_t(bytes));
            fElements = gMemory->LockHandle(fHandle);
            if (!grown || !fElements) return nullptr;
        } else {
            fHandle = gMemory->NewHandleClear(uint32_t(bytes), 0);
            if (!fHandle) return nullptr;
            fElements = gMemory->LockHandle(fHandle);
            if (!fElements) return nullptr;
        }
        fCapacity = int32_t(capacity);
    }
    ++fCount;
    return fElements + int64_t(fCount - 1) * fElementSize;
}

const char* VStack::PopSlot()
{
    if (fCount < 1 || !fElements) return nullptr;
    --fCount;
    return fElements + int64_t(fCount) * fElementSize;
}

void VWordStack::Push(int16_t value)
{
    if (char* slot = PushSlot()) std::memcpy(slot, &value, sizeof value);
}

int16_t VWordStack::Pop()
{
    int16_t value = 0;
    if (const char* slot = PopSlot()) std::memcpy(&value, slot, sizeof value);
    return value;
}

void VLongStack::Push(int32_t value)
{
    if (char* slot = PushSlot()) std::memcpy(slot, &value, sizeof value);
}

int32_t VLongStack::Pop()
{
    int32_t value = 0;
    if (const char* slot = PopSlot()) std::memcpy(&value, slot, sizeof value);
    return value;
}

#include "toolbox/foundation/VHandleStream.h"

#include "toolbox/foundation/BlockReads.h"

#include <cstring>

#include "toolbox/foundation/VMemoryMgr.h"

namespace {

// Room added beyond the need on every growth.
constexpr uint32_t kGrowthSlack = 1024;
constexpr uint64_t kMaxHandleSize = 0x7FFFFFFF;

}  // namespace

VHandleStream::VHandleStream(char*** handleRef)
{
    if (handleRef && *handleRef) {
        fHandle = *handleRef;
    } else {
        fHandle = gMemory->NewHandle();
        if (handleRef)
            *handleRef = fHandle;
        else
            fOwnsHandle = fHandle != nullptr;
    }
    if (fHandle) fSize = fAllocated = uint32_t(gMemory->GetHandleSize(fHandle));
}

VHandleStream::~VHandleStream()
{
    if (fOpen && fData) gMemory->UnlockHandle(fHandle);
    if (fOwnsHandle) gMemory->DisposeHandle(fHandle);
}

void VHandleStream::Reset()
{
    fData = nullptr;
    fPos = fSize = fAllocated = 0;
    fOpen = 0;
    fWriting = 0;
    fError = kStreamNotOpen;
}

int16_t VHandleStream::OpenReading()
{
    if (fOpen) return kStreamAlreadyOpen;
    if (!fHandle) return kStreamNoHandle;
    char* data = gMemory->LockHandle(fHandle);
    if (!data) {
        fError = kStreamNoReadAddress;
        return fError;
    }
    fData = data;
    fOpen = 1;
    fWriting = 0;
    fError = 0;
    fPos = 0;
    fSize = fAllocated = uint32_t(gMemory->GetHandleSize(fHandle));
    return fError;
}

int16_t VHandleStream::OpenWriting()
{
    if (fOpen) return kStreamAlreadyOpen;
    if (!fHandle) return kStreamNoHandle;
    if (gMemory->IsLocked(fHandle)) return kStreamHandleLocked;
    const uint32_t handleSize = uint32_t(gMemory->GetHandleSize(fHandle));
    char* data = nullptr;
    if (handleSize != 0) {
        data = gMemory->LockHandle(fHandle);
        if (!data) {
            fError = kStreamNoWriteAddress;
            return fError;
        }
    }
    fData = data;
    fOpen = 1;
    fWriting = 1;
    fError = 0;
    fPos = 0;
    fSize = 0;
    fAllocated = handleSize;
    return fError;
}

int16_t VHandleStream::CloseReading()
{
    if (!fOpen) return fError;
    if (fWriting) return kStreamOpenForWriting;
    gMemory->UnlockHandle(fHandle);
    const int16_t before = fError;
    Reset();
    return before;
}

int16_t VHandleStream::CloseWriting(uint8_t setSize)
{
    if (!fOpen) return fError;
    if (!fWriting) return kStreamOpenForReading;
    // The handle is unlocked whatever happened, so that it can be used again.
    if (fData) gMemory->UnlockHandle(fHandle);
    if (fError <= kStreamEndOfData && setSize) gMemory->SetHandleSize(fHandle, fSize);
    const int16_t before = fError;
    Reset();
    return before;
}

bool VHandleStream::Resize(uint32_t size)
{
    if (fData) gMemory->UnlockHandle(fHandle);
    const bool resized = gMemory->SetHandleSize(fHandle, size);
    const uint32_t physical = uint32_t(gMemory->GetHandleSize(fHandle));
    fData = physical != 0 ? gMemory->LockHandle(fHandle) : nullptr;
    if (physical != 0 && !fData) return false;
    fAllocated = physical;
    return resized;
}

int16_t VHandleStream::PutData(const void* data, uint32_t length)
{
    if (fError != 0) return fError;
    if (!fWriting) return kStreamOpenForReading;
    if (length == 0) return 0;
    const uint64_t end = uint64_t(fPos) + length;
    if (!fData || end > fAllocated) {
        if (end + kGrowthSlack > kMaxHandleSize || !Resize(uint32_t(end + kGrowthSlack)) ||
            end > fAllocated) {
            fError = kStreamCannotGrow;
            return fError;
        }
    }
    // A position set beyond the data leaves no stale bytes in between.
    if (fPos > fSize) std::memset(fData + fSize, 0, fPos - fSize);
    std::memcpy(fData + fPos, data, length);
    fPos = uint32_t(end);
    if (fSize < fPos) fSize = fPos;
    return 0;
}

int16_t VHandleStream::GetData(void* buffer, uint32_t* length)
{
    if (fError != 0) return fError;
    if (fWriting) return kStreamOpenForWriting;
    fError = ReadFromBlock(fData, fSize, fPos, buffer, length);
    return fError;
}

int32_t VHandleStream::GetPos()
{
    if (!fOpen || fError > kStreamEndOfData) return -1;
    return int32_t(fPos);
}

int16_t VHandleStream::SetSize(uint32_t size)
{
    if (fError != 0) return fError;
    if (!fWriting) return kStreamOpenForReading;
    if (size > kMaxHandleSize || !Resize(size)) {
        fError = kStreamCannotGrow;
        return fError;
    }
    // Data cut off by a smaller handle is no longer data.
    if (fSize > fAllocated) fSize = fAllocated;
    return 0;
}

int16_t VHandleStream::SetPos(uint32_t pos)
{
    if (fError < kStreamNotOpen) {
        fError = 0;
        fPos = pos;
    }
    return fError;
}

int16_t VHandleStream::SetPosByOffset(uint32_t offset) { return SetPos(fPos + offset); }

uint32_t VHandleStream::Find(const void* value, uint32_t size)
{
    if (fError != 0) return 0;
    return FindInBlock(fData, fSize, fPos, value, size);
}

uint32_t VHandleStream::FindByte(char value) { return Find(&value, 1); }
uint32_t VHandleStream::FindWord(int16_t value) { return Find(&value, 2); }
uint32_t VHandleStream::FindLong(int32_t value) { return Find(&value, 4); }

#include "toolbox/foundation/TextHandle.h"

#include <cstring>

#include "toolbox/foundation/VMemoryMgr.h"

namespace {
// What an absent handle reads as.
char16_t gEmptyText = 0;
}  // namespace

TextHandle::TextHandle(int32_t unitSize, uint32_t initialBytes) : fUnitSize(unitSize)
{
    fHandle = gMemory->NewHandleClear(initialBytes, 0);
}

TextHandle::TextHandle(const TextHandle& other) : fLength(other.fLength), fUnitSize(other.fUnitSize)
{
    fHandle = other.fHandle != nullptr ? gMemory->NewHandle(other.fHandle) : nullptr;
    if (fHandle == nullptr) fLength = 0;
}

TextHandle& TextHandle::operator=(const TextHandle& other)
{
    if (this == &other) return *this;
    if (fHandle != nullptr) gMemory->DisposeHandle(fHandle);
    fUnitSize = other.fUnitSize;
    fLength = other.fLength;
    fHandle = other.fHandle != nullptr ? gMemory->NewHandle(other.fHandle) : nullptr;
    if (fHandle == nullptr) fLength = 0;
    return *this;
}

TextHandle::~TextHandle()
{
    if (fHandle != nullptr) gMemory->DisposeHandle(fHandle);
}

bool TextHandle::SetLength(int32_t length)
{
    if (length < 0) return false;
    const uint64_t bytes = (static_cast<uint64_t>(length) + 1) * static_cast<uint64_t>(fUnitSize);
    if (bytes > 0x7FFFFFFFu) return false;
    if (fHandle == nullptr) {
        fHandle = gMemory->NewHandleClear(static_cast<uint32_t>(bytes), 0);
        if (fHandle == nullptr) return false;
    } else if (!gMemory->SetHandleSize(fHandle, static_cast<uint32_t>(bytes))) {
        return false;
    }
    fLength = length;
    Terminate();
    return true;
}

void TextHandle::Clear(bool release, uint32_t releasedBytes)
{
    fLength = 0;
    if (fHandle == nullptr) return;
    if (release) gMemory->SetHandleSize(fHandle, releasedBytes);
    if (gMemory->GetHandleSize(fHandle) >= fUnitSize) Terminate();
}

void TextHandle::Terminate()
{
    if (fHandle == nullptr) return;
    std::memset(*fHandle + static_cast<int64_t>(fLength) * fUnitSize, 0, static_cast<size_t>(fUnitSize));
}

void* TextHandle::Lock() const
{
    if (fHandle == nullptr) return &gEmptyText;
    return gMemory->LockHandle(fHandle);
}

void TextHandle::Unlock() const
{
    if (fHandle != nullptr) gMemory->UnlockHandle(fHandle);
}

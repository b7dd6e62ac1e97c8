#include "toolbox/foundation/VMemoryMgr.h"

#include <cstring>

#include "platform/core/Memory.h"
#include "toolbox/foundation/VCppMemMgr.h"

namespace {

// Sizes above the platform's signed range are refused, never wrapped.
constexpr uint32_t kMaxBlockSize = 0x7FFFFFFF;

VMemoryMgr_Mac gPlatformMemory;

}  // namespace

VMemoryMgr* gMemory = &gPlatformMemory;
VCppMemMgr* gCppMem = nullptr;

void InitMemoryManagers()
{
    if (!gCppMem) gCppMem = new VCppMemMgr;
    gMemory = &gPlatformMemory;
}

void CopyBlock(const char* src, char* dst, uint32_t count)
{
    if (count) std::memmove(dst, src, count);
}

void CopyBlock(const void* src, void* dst, uint32_t count)
{
    if (count) std::memmove(dst, src, count);
}

// --- VMemoryMgr --------------------------------------------------------

VMemoryMgr::~VMemoryMgr() = default;

char** VMemoryMgr::NewHandle() { return NewHandle(uint32_t(0), uint16_t(0)); }

char** VMemoryMgr::NewHandle(const VString&) { return nullptr; }

char** VMemoryMgr::IncrementHandleRefCount(char** h) { return NewHandle(h); }

void VMemoryMgr::DecrementHandleRefCount(char** h) { DisposeHandle(h); }

int32_t VMemoryMgr::GetHandleRefCount(char** h) { return h ? 1 : 0; }

void VMemoryMgr::Fill(char* p, int32_t count, uint8_t value)
{
    if (!p || count <= 0) return;
    auto* b = reinterpret_cast<unsigned char*>(p);
    size_t n = size_t(count);
    while (n && (reinterpret_cast<uintptr_t>(b) & 3)) {
        *b++ = value;
        --n;
    }
    const uint32_t word = uint32_t(value) * 0x01010101u;
    for (; n >= 4; n -= 4, b += 4) std::memcpy(b, &word, 4);
    while (n--) *b++ = value;
}

// --- VMemoryMgr_Mac ----------------------------------------------------

char** VMemoryMgr_Mac::NewHandle(char* data, int32_t size)
{
    if (size < 0 || (size > 0 && !data)) return nullptr;
    char** h = platform::NewHandle(size);
    if (h && size > 0) std::memcpy(*h, data, size_t(size));
    return h;
}

char** VMemoryMgr_Mac::NewHandle(char** source)
{
    if (!source) return nullptr;
    char** h = source;
    return platform::HandToHand(&h) == 0 ? h : nullptr;
}

char** VMemoryMgr_Mac::NewHandle(uint32_t size, uint16_t)
{
    return size > kMaxBlockSize ? nullptr : platform::NewHandle(platform::Size(size));
}

char** VMemoryMgr_Mac::NewHandleClear(uint32_t size, uint16_t)
{
    return size > kMaxBlockSize ? nullptr : platform::NewHandleClear(platform::Size(size));
}

void VMemoryMgr_Mac::DisposeHandle(char** h) { platform::DisposeHandle(h); }

char* VMemoryMgr_Mac::LockHandle(char** h)
{
    if (!h) return nullptr;
    platform::HLock(h);
    return platform::MemError() == 0 ? *h : nullptr;
}

void VMemoryMgr_Mac::UnlockHandle(char** h) { platform::HUnlock(h); }

int32_t VMemoryMgr_Mac::GetHandleSize(char** h) { return platform::GetHandleSize(h); }

uint8_t VMemoryMgr_Mac::SetHandleSize(char** h, uint32_t size)
{
    if (!h || size > kMaxBlockSize) return false;
    platform::SetHandleSize(h, platform::Size(size));
    return platform::GetHandleSize(h) == platform::Size(size);
}

uint8_t VMemoryMgr_Mac::SetHandleSizeClear(char** h, uint32_t size)
{
    if (!h) return false;
    const int32_t oldSize = platform::GetHandleSize(h);
    const uint8_t done = SetHandleSize(h, size);
    if (done && int64_t(size) > oldSize) Fill(*h + oldSize, int32_t(size) - oldSize, 0);
    return done;
}

uint8_t VMemoryMgr_Mac::IsLocked(char** h)
{
    return h && (platform::HGetState(h) & platform::kHandleLockedBit) != 0;
}

char** VMemoryMgr_Mac::ForgetTrueHandle(char** h, uint8_t)
{
    platform::HUnlock(h);
    return h;
}

char** VMemoryMgr_Mac::InsertTrueHandle(char** h, uint8_t) { return h; }

char* VMemoryMgr_Mac::NewPtr(char** source)
{
    if (!source) return nullptr;
    const int32_t size = platform::GetHandleSize(source);
    char* p = platform::NewPtr(size);
    if (p && size > 0) std::memcpy(p, *source, size_t(size));
    return p;
}

char* VMemoryMgr_Mac::NewPtr(int32_t size) { return platform::NewPtr(size); }

char* VMemoryMgr_Mac::NewPtrClear(int32_t size) { return platform::NewPtrClear(size); }

void VMemoryMgr_Mac::DisposePtr(char* p) { platform::DisposePtr(p); }

int32_t VMemoryMgr_Mac::GetFreeMemory() { return platform::FreeMem(); }

// The parameter block through which the toolbox calls its host. Fields are
// named after their offsets in the host interface; numbers are in host byte
// order. The slots at 266..284 carry a 32-bit number or, by selector, an
// address, so they are pointer-sized here.
//
// A new block is zero throughout: every call sees zero in the fields that
// its caller does not set.
#pragma once

#include <cstdint>
#include <cstring>

#include "platform/core/MacTypes.h"

// A 32-bit number or an address.
class ParmSlot {
public:
    int32_t Long() const { return int32_t(uint32_t(bits_)); }
    void SetLong(int32_t v) { bits_ = uintptr_t(uint32_t(v)); }
    template <typename T = void>
    T* Ptr() const
    {
        return reinterpret_cast<T*>(bits_);
    }
    void SetPtr(const void* p) { bits_ = reinterpret_cast<uintptr_t>(p); }
    void Clear() { bits_ = 0; }

private:
    uintptr_t bits_;
};

struct parm {
    parm() { std::memset(static_cast<void*>(this), 0, sizeof *this); }

    int16_t resFile0;          // 0: resource file reference (design file)
    int16_t resFile2;          // 2: second resource file reference
    uint8_t flag8;             // 8: operation (1 compress, 0 decompress), lock, answer...
    platform::Str255 name10;   // 10: length-prefixed name or text
    ParmSlot slot266;          // 266: handle, pointer, object or method
    int16_t error270;          // 270: error code, 0 = success
    ParmSlot slot272;          // 272: type, task, value or pointer
    ParmSlot slot276;          // 276: id, index, ticks, result or pointer
    ParmSlot slot280;          // 280: count, size or pointer
    ParmSlot slot284;          // 284: size or pointer
    double real288;            // 288: real number
    int32_t result304;         // 304: result; current resource file on -56
    platform::Str255 text310;  // 310: length-prefixed text
};

// The host entry: a selector and a parameter block.
using HostEntryProc = void (*)(int16_t selector, parm* block);

// Selectors of the host entry that the host serves; it ignores every other.
constexpr int16_t kSelBlockCompress = 441;   // compress or decompress a block
constexpr int16_t kSelEngineReset = -56;     // 304 <- the current resource file
constexpr int16_t kSelFreeStack = -255;      // 276 <- 272
constexpr int16_t kSelClearMethod = -551;    // 266 <- 0
constexpr int16_t kSelFormatReal = -47;      // 310 <- the text of the real at 288
constexpr int16_t kSelEvalTime = 61;         // 304 <- the time in the text at 310
constexpr int16_t kSelCenturyInfo = 531;     // 272 <- pivot, 276 <- century

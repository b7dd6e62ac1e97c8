// Text of any toolbox character set as the Mac Roman bytes the platform
// draws and measures: Mac Roman is used in place, Windows ANSI and UTF-16
// are converted, short runs into a buffer inside the object, long ones on
// the heap.
#pragma once

#include <cstdint>
#include <memory>
#include <new>

#include "toolbox/foundation/VString.h"

// Converts count UTF-16 units; both pointers advance.
void MacRomanFromUnicode(const char16_t*& src, uint8_t*& dst, const uint8_t* dstEnd, int32_t count);

template <int32_t kLocal>
class MacRomanRun {
public:
    // length: characters (bytes or UTF-16 units) of text in set.
    MacRomanRun(const void* text, int32_t length, CharSet set)
    {
        if (!text || length <= 0) return;
        if (set == kCharSetMac) {
            fData = static_cast<const uint8_t*>(text);
            fLength = length;
            return;
        }
        uint8_t* out = fLocal;
        if (length > kLocal / 2) {
            fHeap.reset(new (std::nothrow) uint8_t[size_t(length) * 2]);
            if (!fHeap) return;
            out = fHeap.get();
        }
        uint8_t* dst = out;
        const uint8_t* end = out + (length > kLocal / 2 ? size_t(length) * 2 : size_t(kLocal));
        if (set == kCharSetAnsi) {
            const uint8_t* src = static_cast<const uint8_t*>(text);
            vAnsi2Mac(src, dst, end, length);
        } else {
            const char16_t* src = static_cast<const char16_t*>(text);
            MacRomanFromUnicode(src, dst, end, length);
        }
        fData = out;
        fLength = int32_t(dst - out);
    }
    MacRomanRun(const MacRomanRun&) = delete;
    MacRomanRun& operator=(const MacRomanRun&) = delete;

    const uint8_t* data() const { return fData; }
    // At most what one platform call takes.
    int16_t length() const { return int16_t(fLength > 0x7FFF ? 0x7FFF : fLength); }

private:
    uint8_t fLocal[kLocal];
    std::unique_ptr<uint8_t[]> fHeap;
    const uint8_t* fData = nullptr;
    int32_t fLength = 0;
};

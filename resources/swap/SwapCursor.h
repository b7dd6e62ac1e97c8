// Bounds-checked reversal of the fields of one resource's contents, for
// the dedicated conversion routines.
#pragma once

#include <cstdint>

#include "kernel/byteswap/SwapTemplates.h"
#include "platform/core/Endian.h"

class SwapCursor {
public:
    SwapCursor(uint8_t* data, int32_t size, bool reading) : fData(data), fSize(size), fReading(reading) {}

    int32_t Size() const { return fSize; }
    uint8_t* At(int64_t offset) const { return fData + offset; }

    // True when n bytes at the offset lie inside; otherwise errSwap := 1.
    bool Fits(int64_t offset, int64_t n) const
    {
        if (offset >= 0 && n >= 0 && offset + n <= fSize) return true;
        errSwap = 1;
        return false;
    }
    // Reverses the value at the offset; *value receives its host-order value.
    bool Word(int64_t offset, int32_t* value = nullptr, bool isSigned = false)
    {
        return Reverse(offset, 2, value, isSigned);
    }
    bool Long(int64_t offset, uint32_t* value = nullptr)
    {
        int32_t v = 0;
        const bool ok = Reverse(offset, 4, &v, true);
        if (ok && value) *value = uint32_t(v);
        return ok;
    }
    // The host-order value of the word at the offset, without converting it.
    bool PeekWord(int64_t offset, int32_t* value, bool isSigned = false) const
    {
        if (!Fits(offset, 2)) return false;
        uint16_t v = platform::ReadBE16(fData + offset);
        if (fReading) v = platform::Swap16(v);
        *value = isSigned ? int32_t(int16_t(v)) : int32_t(v);
        return true;
    }
    // The host-order value of the long at the offset, without converting it.
    bool PeekLong(int64_t offset, uint32_t* value) const
    {
        if (!Fits(offset, 4)) return false;
        uint32_t v = platform::ReadBE32(fData + offset);
        if (fReading) v = platform::Swap32(v);
        *value = v;
        return true;
    }
    // The template over length bytes at the offset, in the direction's own
    // form or, with readForm, always as a record that arrives.
    bool Template(int32_t number, int64_t offset, int64_t length, bool readForm = false,
                  int32_t* consumed = nullptr)
    {
        if (!Fits(offset, length)) return false;
        const int32_t result = fReading || readForm
                                   ? SwapBytes2(number, fData + offset, -1, consumed, int32_t(length))
                                   : SwapBytesEnvoi2(number, fData + offset, -1, consumed, int32_t(length));
        return result == 0;
    }

private:
    bool Reverse(int64_t offset, int32_t width, int32_t* value, bool isSigned)
    {
        if (!Fits(offset, width)) return false;
        uint8_t* p = fData + offset;
        if (!fReading && value) *value = Read(p, width, isSigned);
        platform::ReverseBytes(p, size_t(width));
        if (fReading && value) *value = Read(p, width, isSigned);
        return true;
    }
    static int32_t Read(const uint8_t* p, int32_t width, bool isSigned)
    {
        if (width == 4) return platform::ReadBES32(p);
        return isSigned ? int32_t(platform::ReadBES16(p)) : int32_t(platform::ReadBE16(p));
    }

    uint8_t* fData;
    int32_t fSize;
    bool fReading;
};

// (length byte + 2) rounded down to even: a padded length-prefixed string.
inline int64_t PaddedStringBytes(uint8_t length) { return (int64_t(length) + 2) & ~int64_t(1); }
inline int64_t RoundUpEven(int64_t n) { return (n + 1) & ~int64_t(1); }

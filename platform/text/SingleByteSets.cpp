#include "platform/text/SingleByteSets.h"

#include <algorithm>
#include <array>

#include "platform/text/TextTables.h"

namespace platform {

namespace {

// Unicode -> byte, indexed by the UTF-16 unit; 0 means "none" except for U+0000.
using ReverseTable = std::array<uint8_t, 0x10000>;

ReverseTable Invert(const char16_t (&forward)[256])
{
    ReverseTable reverse{};
    for (int byte = 255; byte > 0; --byte)
        reverse[forward[byte]] = uint8_t(byte);
    return reverse;
}

const ReverseTable& UnicodeToMacRomanTable()
{
    static const ReverseTable table = Invert(kMacRomanToUnicode);
    return table;
}

const ReverseTable& UnicodeToWindows1252Table()
{
    static const ReverseTable table = Invert(kWindows1252ToUnicode);
    return table;
}

bool Lookup(const ReverseTable& table, char16_t ch, uint8_t* byte)
{
    uint8_t found = table[ch];
    if (found == 0 && ch != 0)
        return false;
    *byte = found;
    return true;
}

bool IsHighSurrogate(char16_t ch) { return ch >= 0xD800 && ch <= 0xDBFF; }
bool IsLowSurrogate(char16_t ch) { return ch >= 0xDC00 && ch <= 0xDFFF; }

ConversionResult BytesToUtf16(const char16_t (&table)[256], const uint8_t* src, int32_t srcLength,
                              char16_t* dst, int32_t dstCapacity)
{
    ConversionResult r;
    int32_t n = std::min(std::max(srcLength, 0), std::max(dstCapacity, 0));
    for (int32_t i = 0; i < n; ++i)
        dst[i] = table[src[i]];
    r.consumed = r.produced = n;
    if (n < srcLength)
        r.status = ConversionStatus::destinationFull;
    return r;
}

ConversionResult Utf16ToBytes(const ReverseTable& table, const char16_t* src, int32_t srcLength,
                              uint8_t* dst, int32_t dstCapacity)
{
    ConversionResult r;
    while (r.consumed < srcLength) {
        if (r.produced >= dstCapacity) {
            r.status = ConversionStatus::destinationFull;
            break;
        }
        char16_t ch = src[r.consumed++];
        if (IsHighSurrogate(ch) && r.consumed < srcLength && IsLowSurrogate(src[r.consumed]))
            ++r.consumed;  // a supplementary character: one substitute for the pair
        if (!Lookup(table, ch, &dst[r.produced])) {
            dst[r.produced] = kSubstituteByte;
            ++r.substituted;
        }
        ++r.produced;
    }
    return r;
}

ConversionResult BytesToBytes(const uint8_t (&table)[256], const uint8_t* src, int32_t srcLength,
                              uint8_t* dst, int32_t dstCapacity)
{
    ConversionResult r;
    int32_t n = std::min(std::max(srcLength, 0), std::max(dstCapacity, 0));
    for (int32_t i = 0; i < n; ++i)
        dst[i] = table[src[i]];
    r.consumed = r.produced = n;
    if (n < srcLength)
        r.status = ConversionStatus::destinationFull;
    return r;
}

}  // namespace

char16_t MacRomanToUnicode(uint8_t byte) { return kMacRomanToUnicode[byte]; }
char16_t Windows1252ToUnicode(uint8_t byte) { return kWindows1252ToUnicode[byte]; }

bool UnicodeToMacRoman(char16_t ch, uint8_t* byte) { return Lookup(UnicodeToMacRomanTable(), ch, byte); }
bool UnicodeToWindows1252(char16_t ch, uint8_t* byte) { return Lookup(UnicodeToWindows1252Table(), ch, byte); }

uint8_t MacRomanToWindows1252(uint8_t byte) { return kMacRomanToWindows1252[byte]; }
uint8_t Windows1252ToMacRoman(uint8_t byte) { return kWindows1252ToMacRoman[byte]; }

ConversionResult MacRomanToUtf16(const uint8_t* src, int32_t srcLength, char16_t* dst, int32_t dstCapacity)
{
    return BytesToUtf16(kMacRomanToUnicode, src, srcLength, dst, dstCapacity);
}

ConversionResult Windows1252ToUtf16(const uint8_t* src, int32_t srcLength, char16_t* dst, int32_t dstCapacity)
{
    return BytesToUtf16(kWindows1252ToUnicode, src, srcLength, dst, dstCapacity);
}

ConversionResult Utf16ToMacRoman(const char16_t* src, int32_t srcLength, uint8_t* dst, int32_t dstCapacity)
{
    return Utf16ToBytes(UnicodeToMacRomanTable(), src, srcLength, dst, dstCapacity);
}

ConversionResult Utf16ToWindows1252(const char16_t* src, int32_t srcLength, uint8_t* dst, int32_t dstCapacity)
{
    return Utf16ToBytes(UnicodeToWindows1252Table(), src, srcLength, dst, dstCapacity);
}

ConversionResult MacRomanToWindows1252(const uint8_t* src, int32_t srcLength, uint8_t* dst, int32_t dstCapacity)
{
    return BytesToBytes(kMacRomanToWindows1252, src, srcLength, dst, dstCapacity);
}

ConversionResult Windows1252ToMacRoman(const uint8_t* src, int32_t srcLength, uint8_t* dst, int32_t dstCapacity)
{
    return BytesToBytes(kWindows1252ToMacRoman, src, srcLength, dst, dstCapacity);
}

}  // namespace platform

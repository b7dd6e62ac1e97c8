#include "toolbox/foundation/intl/UtfConversion.h"

#include "toolbox/foundation/VIntlMgr.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The smallest value of a sequence of n + 1 bytes: anything less is an
// over-long form.
constexpr char32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};

bool IsContinuation(uint8_t b) { return (b & 0xC0) == 0x80; }

}  // namespace

const uint8_t gUTFBytes[256] = {
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 0x00
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 0x10
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 0x20
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 0x30
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 0x40
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 0x50
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 0x60
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 0x70
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 0x80
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 0x90
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 0xA0
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 0xB0
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,  // 0xC0
    1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1,  // 0xD0
    2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2,  // 0xE0
    3, 3, 3, 3, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5,  // 0xF0
};
const uint32_t gUTFOffsets[6] = {0x00000000, 0x00003080, 0x000E2080, 0x03C82080, 0xFA082080, 0x82082080};
const uint8_t gFirstByteMark[7] = {0x00, 0x00, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC};

bool VIntlMgr::UTF8ToUTF16(const uint8_t* src, int32_t srcLength, int32_t& consumed, char16_t* dst,
                           int32_t dstCapacity, int32_t& produced) const
{
    consumed = 0;
    produced = 0;
    while (consumed < srcLength && produced < dstCapacity) {
        const uint8_t lead = src[consumed];
        const int32_t trailing = gUTFBytes[lead];
        const int32_t available = srcLength - consumed - 1;
        // A stray continuation byte, or a lead of a sequence longer than any
        // character, is invalid on its own.
        bool valid = lead < 0x80 || (lead >= 0xC0 && trailing <= 3);
        int32_t used = 1;
        uint32_t value = lead;
        if (valid) {
            for (int32_t i = 1; i <= trailing && i <= available; ++i) {
                if (!IsContinuation(src[consumed + i])) {
                    valid = false;
                    break;
                }
                value = (value << 6) + src[consumed + i];
                used = i + 1;
            }
            // Cut off by the end of the source: left for the next call.
            if (valid && trailing > available) break;
        }
        char32_t ch = kReplacement;
        if (valid) {
            value -= gUTFOffsets[trailing];
            if (value >= kSmallest[trailing] && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF))
                ch = value;
            else
                used = 1;
        }
        if (ch > 0xFFFF) {
            if (dstCapacity - produced < 2) break;
            dst[produced++] = char16_t(((ch - 0x10000) >> 10) + 0xD800);
            dst[produced++] = char16_t((ch & 0x3FF) + 0xDC00);
        } else {
            dst[produced++] = char16_t(ch);
        }
        consumed += used;
    }
    return true;
}

bool VIntlMgr::UTF16ToUTF8(const char16_t* src, int32_t srcCount, int32_t& consumed, uint8_t* dst,
                           int32_t dstCapacity, int32_t& produced) const
{
    consumed = 0;
    produced = 0;
    while (consumed < srcCount) {
        char32_t ch = src[consumed];
        int32_t units = 1;
        if (ch >= 0xD800 && ch <= 0xDBFF) {
            // The pair's second half lies past the source: left for the next call.
            if (consumed + 1 >= srcCount) break;
            const char32_t low = src[consumed + 1];
            if (low >= 0xDC00 && low <= 0xDFFF) {
                ch = ((ch - 0xD800) << 10) + low + 0x2400;
                units = 2;
            } else {
                ch = kReplacement;
            }
        } else if (ch >= 0xDC00 && ch <= 0xDFFF) {
            ch = kReplacement;
        }
        const int32_t bytes = ch < 0x80 ? 1 : ch < 0x800 ? 2 : ch < 0x10000 ? 3 : 4;
        if (dstCapacity - produced < bytes) break;
        for (int32_t i = bytes - 1; i > 0; --i) {
            dst[produced + i] = uint8_t((ch | 0x80) & 0xBF);
            ch >>= 6;
        }
        dst[produced] = uint8_t(ch | gFirstByteMark[bytes]);
        produced += bytes;
        consumed += units;
    }
    return true;
}

#include "toolbox/foundation/VIntlMgr.h"
#include "toolbox/foundation/intl/VIntlConverterData.h"

#include "platform/text/SingleByteSets.h"
#include "platform/text/TextConversion.h"

// The one-character routines a manager carries. A routine that cannot
// finish its character (the destination has no room, or the source is
// empty) returns false and moves neither pointer.

namespace {

constexpr char16_t kReplacement = u'\uFFFD';
constexpr uint8_t kSubstitute = '?';

uint16_t BE16(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }

const uint8_t* ToUni(const VIntlConverterData& data, bool windows) { return data.Table(windows ? 2 : 0); }
const uint8_t* FromUni(const VIntlConverterData& data, bool windows) { return data.Table(windows ? 3 : 1); }

bool PutUnit(char16_t*& dst, const char16_t* dstEnd, char16_t ch)
{
    if (dst >= dstEnd) return false;
    *dst++ = ch;
    return true;
}

bool PutBytes(uint8_t*& dst, const uint8_t* dstEnd, const uint8_t* bytes, int32_t count)
{
    if (dstEnd - dst < count) return false;
    for (int32_t i = 0; i < count; ++i) *dst++ = bytes[i];
    return true;
}

}  // namespace

bool VIntlMgr::_Multi2UniNew_SingleByte(const VIntlConverterData& data, bool windows, const uint8_t*& src, const uint8_t* srcEnd,
                             char16_t*& dst, const char16_t* dstEnd)
{
    if (src >= srcEnd || !PutUnit(dst, dstEnd, BE16(ToUni(data, windows) + 2 * *src))) return false;
    ++src;
    return true;
}

bool VIntlMgr::_Multi2UniNew_DoubleByte(const VIntlConverterData& data, bool windows, const uint8_t*& src, const uint8_t* srcEnd,
                             char16_t*& dst, const char16_t* dstEnd)
{
    if (src >= srcEnd) return false;
    const uint8_t lead = *src;
    if (lead < 0x80) {
        if (!PutUnit(dst, dstEnd, lead)) return false;
        ++src;
        return true;
    }
    const uint8_t* chars = ToUni(data, windows) + 512;
    int32_t used = 1;
    uint32_t code = lead;
    char16_t ch;
    if (data.LeadBytes(windows)[lead] != 0) {
        // A lead byte that ends the source has no trail: it is invalid.
        if (srcEnd - src < 2) {
            ch = kReplacement;
        } else {
            code = (uint32_t(lead) << 8) | src[1];
            used = 2;
            ch = BE16(chars + 2 * code);
        }
    } else {
        ch = BE16(chars + 2 * code);
    }
    if (ch == 0) ch = kReplacement;
    if (!PutUnit(dst, dstEnd, ch)) return false;
    src += used;
    return true;
}

bool VIntlMgr::_Multi2UniOld(const VIntlConverterData& data, bool windows, const uint8_t*& src, const uint8_t* srcEnd,
                       char16_t*& dst, const char16_t* dstEnd)
{
    if (src >= srcEnd) return false;
    const uint8_t first = *src;
    if (first < 0x80) {
        if (!PutUnit(dst, dstEnd, first)) return false;
        ++src;
        return true;
    }
    const uint8_t* table = ToUni(data, windows);
    const int16_t width = int16_t(BE16(table));
    if (width == 1) {
        if (!PutUnit(dst, dstEnd, BE16(table + 2 + 2 * first))) return false;
        ++src;
        return true;
    }
    // Entries are in ascending byte order: a binary search by the source
    // bytes, never reading past the source's end.
    const int32_t count = int16_t(BE16(table + 2));
    const int32_t entrySize = ((width + 1) & ~1) + 2;
    const int32_t available = int32_t(srcEnd - src);
    int32_t low = 0, high = count - 1;
    while (low <= high) {
        const int32_t mid = low + (high - low) / 2;
        const uint8_t* entry = table + 4 + mid * entrySize;
        const uint8_t* bytes = entry + 2;
        int32_t i = 0, order = 0;
        for (; i < width && bytes[i] != 0; ++i) {
            const int32_t s = i < available ? src[i] : -1;
            if (s != bytes[i]) {
                order = s < bytes[i] ? -1 : 1;
                break;
            }
        }
        // An entry without bytes matches nothing: it sorts below every
        // source byte, so a match always consumes at least one.
        if (order == 0 && i == 0) order = 1;
        if (order == 0) {
            if (!PutUnit(dst, dstEnd, BE16(entry))) return false;
            src += i;
            return true;
        }
        if (order < 0)
            high = mid - 1;
        else
            low = mid + 1;
    }
    ++src;  // no such character: dropped
    return true;
}

bool VIntlMgr::Multi2UniPlatform(const VIntlConverterData&, bool windows, const uint8_t*& src, const uint8_t* srcEnd,
                       char16_t*& dst, const char16_t* dstEnd)
{
    if (src >= srcEnd) return false;
    const char16_t ch = windows ? platform::Windows1252ToUnicode(*src) : platform::MacRomanToUnicode(*src);
    if (!PutUnit(dst, dstEnd, ch)) return false;
    ++src;
    return true;
}

bool VIntlMgr::_Uni2MultiNew_SingleByte(const VIntlConverterData& data, bool windows, const char16_t*& src, uint8_t*& dst,
                             const uint8_t* dstEnd)
{
    const char16_t ch = *src;
    uint8_t byte = FromUni(data, windows)[ch];
    if (byte == 0 && ch != 0) byte = kSubstitute;
    if (!PutBytes(dst, dstEnd, &byte, 1)) return false;
    ++src;
    return true;
}

bool VIntlMgr::_Uni2MultiNew_DoubleByte(const VIntlConverterData& data, bool windows, const char16_t*& src, uint8_t*& dst,
                             const uint8_t* dstEnd)
{
    const char16_t ch = *src;
    uint8_t bytes[2] = {uint8_t(ch), 0};
    int32_t count = 1;
    if (ch >= 0x80) {
        const uint16_t code = BE16(FromUni(data, windows) + 2 * ch);
        if (code > 0xFF) {
            bytes[0] = uint8_t(code >> 8);
            bytes[1] = uint8_t(code);
            count = 2;
        } else {
            bytes[0] = code == 0 ? kSubstitute : uint8_t(code);
        }
    }
    if (!PutBytes(dst, dstEnd, bytes, count)) return false;
    ++src;
    return true;
}

bool VIntlMgr::_Uni2MultiOld(const VIntlConverterData& data, bool windows, const char16_t*& src, uint8_t*& dst,
                       const uint8_t* dstEnd)
{
    const char16_t ch = *src;
    if (ch < 0x80) {
        const auto byte = uint8_t(ch);
        if (!PutBytes(dst, dstEnd, &byte, 1)) return false;
        ++src;
        return true;
    }
    const uint8_t* table = FromUni(data, windows);
    const int16_t width = int16_t(BE16(table));
    const int32_t ranges = int16_t(BE16(table + 2));
    const int32_t entrySize = (width + 1) & ~1;
    const uint8_t* at = table + 4;
    for (int32_t r = 0; r < ranges; ++r) {
        const uint16_t first = BE16(at), last = BE16(at + 2);
        if (first > ch) break;
        if (ch <= last) {
            const uint8_t* entry = at + 4 + (ch - first) * entrySize;
            int32_t count = 0;
            while (count < width && entry[count] != 0) ++count;
            if (!PutBytes(dst, dstEnd, entry, count)) return false;
            ++src;
            return true;
        }
        at += 4 + (last - first + 1) * entrySize;
    }
    ++src;  // no such character: dropped
    return true;
}

bool VIntlMgr::Uni2MultiPlatform(const VIntlConverterData&, bool windows, const char16_t*& src, uint8_t*& dst,
                       const uint8_t* dstEnd)
{
    uint8_t byte = kSubstitute;
    if (windows)
        platform::UnicodeToWindows1252(*src, &byte);
    else
        platform::UnicodeToMacRoman(*src, &byte);
    if (!PutBytes(dst, dstEnd, &byte, 1)) return false;
    ++src;
    return true;
}

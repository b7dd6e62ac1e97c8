#include "kernel/collation/ScriptCompare.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "kernel/collation/CaseAndSearch.h"
#include "kernel/collation/CollationGlobals.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/text/RomanCompare.h"
#include "platform/text/ScriptManager.h"

using platform::CharacterByteType;
using platform::smSystemScript;

namespace {

int16_t FromPlatform(int16_t r) { return r == -1 ? kSmaller : kGreater; }
int16_t FromJapanese(int16_t r) { return r == 0 ? kEqual : r == -1 ? kSmaller : kGreater; }

bool IsOneByte(const uint8_t* text, int32_t offset)
{
    return CharacterByteType(text, static_cast<int16_t>(std::min(offset, 32767)), smSystemScript) ==
           platform::smSingleByte;
}

// ---- Japanese and Korean characters ----

// Entry `index` of a table of big-endian words; 0 outside it.
int32_t TableWord(platform::Handle table, int32_t index)
{
    if (table == nullptr || *table == nullptr || index < 0) return 0;
    if ((index + 1) * 2 > platform::GetHandleSize(table)) return 0;
    return platform::ReadBE16(*table + index * 2);
}

int32_t TwoByteIndex(int32_t code) { return ((code >> 8) - 128) * 256 + (code & 0xFF); }

struct JChar {
    int32_t classCode;
    int32_t weight;
    int32_t length;  // bytes taken
};

JChar ReadJChar(const uint8_t* text, int32_t length, int32_t pos)
{
    const int32_t byte = text[pos];
    const int32_t next = pos + 1 < length ? text[pos + 1] : -1;
    const int32_t pairLength = next >= 0 ? 2 : 1;
    if (specialKoree != 0) {
        if (byte > 127) {
            const int32_t code = byte * 256 + std::max(next, 0);
            return {code, code, pairLength};
        }
        const int32_t folded = (byte >= 'a' && byte <= 'z') ? byte - 'a' + 'A' : byte;
        return {folded, byte, 1};
    }
    if (TableWord(Jtablecomp, byte) != 0) {
        const int32_t kana = TableWord(Jtablekana1, byte);
        if (kana != 0 && (next == 222 || next == 223)) {
            const int32_t code = next == 222 ? kana : (byte - 202) * 3 + 33648;
            const int32_t index = TwoByteIndex(code);
            return {TableWord(Jtablecomp, index), TableWord(Jtabletri, index), 2};
        }
        return {TableWord(Jtablecomp, byte), TableWord(Jtabletri, byte), 1};
    }
    const int32_t second = std::max(next, 0);
    if (byte >= 129 && byte <= 131) {
        const int32_t index = (byte - 128) * 256 + second;
        return {TableWord(Jtablecomp, index), TableWord(Jtabletri, index), pairLength};
    }
    const int32_t code = byte * 256 + second + 65536;
    return {code, code, pairLength};
}

int16_t Sign(int32_t d) { return d < 0 ? -1 : d > 0 ? 1 : 0; }

// The weight of a class code in Jegalstr.
int32_t ClassWeight(int32_t code)
{
    if (code < 256) return TableWord(Jtabletri, code);
    if (code >= 65536) return code;
    const int32_t lead = code >> 8;
    if (lead >= 129 && lead <= 131) return TableWord(Jtabletri, (lead - 128) * 256 + (code & 0xFF));
    return code & 0xFF;
}

bool IsOneByteWildcard(const uint8_t* pattern, int32_t length, int32_t pos)
{
    if (pattern[pos] != (wildchar & 0xFF)) return false;
    return ReadJChar(pattern, length, pos).length == 1;
}

}  // namespace

int16_t Jrelptr(const uint8_t* a, const uint8_t* b, int32_t aLength, int32_t bLength)
{
    aLength = std::max(aLength, 0);
    bLength = std::max(bLength, 0);
    int32_t ia = 0, ib = 0;
    int16_t remembered = 0;
    while (ia < aLength && ib < bLength) {
        const JChar ca = ReadJChar(a, aLength, ia), cb = ReadJChar(b, bLength, ib);
        ia += ca.length;
        ib += cb.length;
        if (ca.classCode != cb.classCode) {
            // Korean: the class decides; Japanese: the weights.
            const int16_t r = specialKoree != 0 ? Sign(ca.classCode - cb.classCode) : Sign(ca.weight - cb.weight);
            if (r != 0) return r;
            continue;
        }
        if (ca.weight != cb.weight) remembered = Sign(ca.weight - cb.weight);
    }
    if (ia < aLength) return 1;
    if (ib < bLength) return -1;
    return remembered;
}

int16_t Jegalstr(const uint8_t* a, const uint8_t* b, int32_t aLength, int32_t bLength, bool noWildcard)
{
    const bool prefix = bLength < 0;
    bLength = bLength < 0 ? -bLength : bLength;
    aLength = std::max(aLength, 0);
    int32_t ia = 0, ib = 0;
    for (;;) {
        if (ib < bLength && !noWildcard && IsOneByteWildcard(b, bLength, ib) &&
            (strcmpbehavior == 0 || ib == 0 || ib == bLength - 1))
            return 0;
        if (prefix && ib >= bLength) return 0;
        if (ia >= aLength) return ib < bLength ? -1 : 0;
        if (ib >= bLength) return 1;
        const JChar ca = ReadJChar(a, aLength, ia), cb = ReadJChar(b, bLength, ib);
        ia += ca.length;
        ib += cb.length;
        if (ca.classCode == cb.classCode) continue;
        if (specialKoree != 0) return Sign(ca.classCode - cb.classCode);
        const int16_t r = Sign(ClassWeight(ca.classCode) - ClassWeight(cb.classCode));
        if (r != 0) return r;
    }
}

int32_t Jinptr(const uint8_t* text, const uint8_t* pattern, int32_t textLength, int32_t patternLength,
               bool noWildcard)
{
    const bool atEnd = textLength < 0;
    textLength = textLength < 0 ? -textLength : textLength;
    if (textLength == 0 || patternLength <= 0) return 0;
    for (int32_t pos = 0; pos < textLength;) {
        const int32_t rest = textLength - pos;
        const int16_t r = atEnd ? Jegalstr(text + pos, pattern, rest, patternLength, noWildcard)
                                : Jegalstr(text + pos, pattern, rest, -patternLength, noWildcard);
        if (r == 0) return pos + 1;
        pos += ReadJChar(text, textLength, pos).length;
    }
    return 0;
}

int16_t scriptrelptr(const uint8_t* a, const uint8_t* b, int32_t aLength, int32_t bLength, bool wildcards)
{
    aLength = std::max(aLength, 0);
    bLength = std::max(bLength, 0);
    std::vector<uint8_t> aFolded, bFolded;
    const int16_t selector = CollationSelector();
    if (selector >= 10 && selector <= 12 && specialjapon == 0) {
        aFolded.assign(a, a + aLength);
        upstr(aFolded.data(), aLength);
        aLength = lz3;
        bFolded.assign(b, b + bLength);
        upstr(bFolded.data(), bLength);
        bLength = lz3;
        a = aFolded.data();
        b = bFolded.data();
    }
    auto isWildcard = [&](int32_t k) { return wildcards && b[k] == (wildchar & 0xFF) && IsOneByte(b, k); };
    const bool leading = bLength > 0 && isWildcard(0);
    const bool trailing = bLength > 1 && isWildcard(bLength - 1);
    if (leading && bLength == 1) return kEqual;  // the wildcard alone
    const int32_t p = bLength - 1;

    if (leading && trailing) {  // contains
        const int32_t coreLength = bLength - 2;
        if (specialjapon != 0) return Jinptr(a, b + 1, aLength, coreLength, true) != 0 ? kEqual : kGreater;
        if (coreLength == 0) return kEqual;
        std::vector<uint8_t> text(a, a + aLength), core(b + 1, b + 1 + coreLength);
        auto fold = scriptmanager != 0 ? upstr : pupstr;
        fold(text.data(), aLength);
        fold(core.data(), coreLength);
        for (int32_t start = 0; start + coreLength <= aLength; ++start) {
            if (start > 0 && scriptmanager != 0 &&
                CharacterByteType(a, static_cast<int16_t>(std::min(start, 32767)), smSystemScript) > 0)
                continue;  // inside a two-byte character
            if (std::memcmp(text.data() + start, core.data(), static_cast<size_t>(coreLength)) == 0)
                return kEqual;
        }
        return kGreater;
    }
    if (trailing) {  // starts with
        if (specialjapon != 0) return FromJapanese(Jegalstr(a, b, aLength, -p, true));
        if (aLength < p) return FromPlatform(platform::CompareText(a, aLength, b, bLength));
        if (platform::IdenticalText(a, p, b, p) == 0) return kEqual;
        return FromPlatform(platform::CompareText(a, aLength, b, p));
    }
    if (leading) {  // ends with
        if (specialjapon != 0) return Jinptr(a, b + 1, -aLength, p, true) != 0 ? kEqual : kGreater;
        if (aLength < p) return kGreater;
        return platform::IdenticalText(a + aLength - p, p, b + 1, p) == 0 ? kEqual : kGreater;
    }
    if (specialjapon != 0) return FromJapanese(Jegalstr(a, b, aLength, bLength, true));
    if (aLength == bLength && platform::IdenticalText(a, aLength, b, bLength) == 0) return kEqual;
    return FromPlatform(platform::CompareText(a, aLength, b, bLength));
}

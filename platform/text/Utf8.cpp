#include "platform/text/Utf8.h"

#include <algorithm>

#include "platform/text/CompositionPairs.h"
#include "platform/text/SingleByteSets.h"

namespace platform {

namespace {

enum class Decoded : uint8_t { character, invalid, truncated };

struct Utf8Sequence {
    Decoded kind;
    int32_t length;  // bytes the sequence (or its invalid part) occupies
    char32_t value;
};

// Reads one sequence of at most `available` bytes (available > 0). Each
// lead byte admits a narrower range for its first continuation byte, which
// rules out over-long forms, surrogates and values above U+10FFFF.
Utf8Sequence DecodeOne(const uint8_t* p, int32_t available)
{
    uint8_t lead = p[0];
    if (lead < 0x80)
        return {Decoded::character, 1, lead};

    int32_t trailing = 0;
    uint8_t low = 0x80, high = 0xBF;
    char32_t value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trailing = 1;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trailing = 2;
        value = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trailing = 3;
        value = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return {Decoded::invalid, 1, 0};
    }

    for (int32_t i = 1; i <= trailing; ++i) {
        if (i >= available)
            return {Decoded::truncated, i, 0};
        uint8_t b = p[i];
        if (b < low || b > high)
            return {Decoded::invalid, i, 0};
        low = 0x80;
        high = 0xBF;
        value = (value << 6) | (b & 0x3F);
    }
    return {Decoded::character, trailing + 1, value};
}

// One UTF-8 character at a time for the converters below: `emit` writes the
// character or answers false when it does not fit.
template <typename Emit>
ConversionResult DecodeRun(const uint8_t* src, int32_t srcLength, bool endOfInput, Emit emit)
{
    ConversionResult r;
    while (r.consumed < srcLength) {
        Utf8Sequence seq = DecodeOne(src + r.consumed, srcLength - r.consumed);
        if (seq.kind == Decoded::truncated && !endOfInput) {
            r.status = ConversionStatus::truncatedSource;
            break;
        }
        bool valid = seq.kind == Decoded::character;
        if (!emit(valid ? seq.value : char32_t(kReplacementCharacter), valid, r.produced)) {
            r.status = ConversionStatus::destinationFull;
            break;
        }
        r.consumed += seq.length;
    }
    return r;
}

int32_t Utf8Length(char32_t value)
{
    return value < 0x80 ? 1 : value < 0x800 ? 2 : value < 0x10000 ? 3 : 4;
}

void EncodeUtf8(char32_t value, uint8_t* out, int32_t length)
{
    static constexpr uint8_t kLeadMark[5] = {0, 0x00, 0xC0, 0xE0, 0xF0};
    for (int32_t i = length - 1; i > 0; --i) {
        out[i] = uint8_t(0x80 | (value & 0x3F));
        value >>= 6;
    }
    out[0] = uint8_t(kLeadMark[length] | value);
}

// Utf8ToMacRoman, writing `substitute` for what Mac Roman lacks. A letter
// followed by a combining accent (as names made on some systems come) is
// one character: it is composed first.
ConversionResult ToMacRoman(const uint8_t* src, int32_t srcLength, uint8_t* dst, int32_t dstCapacity,
                            bool endOfInput, uint8_t substitute)
{
    int32_t substituted = 0;
    char16_t last = 0;        // the character the last byte written stands for
    bool lastHeld = false;    // whether that byte is it, not the substitute
    ConversionResult r = DecodeRun(src, srcLength, endOfInput, [&](char32_t value, bool valid, int32_t& produced) {
        uint8_t byte = 0;
        const char16_t composite = produced > 0 && valid && value < 0x10000 ? ComposedPair(last, char16_t(value)) : 0;
        if (composite) {
            const bool held = UnicodeToMacRoman(composite, &byte);
            dst[produced - 1] = held ? byte : substitute;
            substituted += int32_t(lastHeld && !held) - int32_t(!lastHeld && held);
            last = composite;
            lastHeld = held;
            return true;
        }
        if (produced >= dstCapacity)
            return false;
        if (!valid || value >= 0x10000 || !UnicodeToMacRoman(char16_t(value), &byte)) {
            byte = substitute;
            ++substituted;
            lastHeld = false;
        } else {
            lastHeld = true;
        }
        last = valid && value < 0x10000 ? char16_t(value) : 0;
        dst[produced++] = byte;
        return true;
    });
    r.substituted = substituted;
    return r;
}

}  // namespace

ConversionResult Utf8ToUtf16(const uint8_t* src, int32_t srcLength, char16_t* dst, int32_t dstCapacity,
                             bool endOfInput)
{
    return DecodeRun(src, srcLength, endOfInput, [&](char32_t value, bool, int32_t& produced) {
        if (value >= 0x10000) {
            if (dstCapacity - produced < 2)
                return false;
            value -= 0x10000;
            dst[produced++] = char16_t(0xD800 + (value >> 10));
            dst[produced++] = char16_t(0xDC00 + (value & 0x3FF));
            return true;
        }
        if (produced >= dstCapacity)
            return false;
        dst[produced++] = char16_t(value);
        return true;
    });
}

ConversionResult Utf16ToUtf8(const char16_t* src, int32_t srcLength, uint8_t* dst, int32_t dstCapacity,
                             bool endOfInput)
{
    ConversionResult r;
    while (r.consumed < srcLength) {
        char32_t value = src[r.consumed];
        int32_t units = 1;
        if (value >= 0xD800 && value <= 0xDBFF) {
            if (r.consumed + 1 >= srcLength && !endOfInput) {
                r.status = ConversionStatus::truncatedSource;
                break;
            }
            char32_t next = r.consumed + 1 < srcLength ? src[r.consumed + 1] : 0;
            if (next >= 0xDC00 && next <= 0xDFFF) {
                value = 0x10000 + ((value - 0xD800) << 10) + (next - 0xDC00);
                units = 2;
            } else {
                value = kReplacementCharacter;
            }
        } else if (value >= 0xDC00 && value <= 0xDFFF) {
            value = kReplacementCharacter;
        }
        int32_t length = Utf8Length(value);
        if (dstCapacity - r.produced < length) {
            r.status = ConversionStatus::destinationFull;
            break;
        }
        EncodeUtf8(value, dst + r.produced, length);
        r.produced += length;
        r.consumed += units;
    }
    return r;
}

ConversionResult MacRomanToUtf8(const uint8_t* src, int32_t srcLength, uint8_t* dst, int32_t dstCapacity)
{
    ConversionResult r;
    while (r.consumed < srcLength) {
        char32_t value = MacRomanToUnicode(src[r.consumed]);
        int32_t length = Utf8Length(value);
        if (dstCapacity - r.produced < length) {
            r.status = ConversionStatus::destinationFull;
            break;
        }
        EncodeUtf8(value, dst + r.produced, length);
        r.produced += length;
        ++r.consumed;
    }
    return r;
}

ConversionResult Utf8ToMacRoman(const uint8_t* src, int32_t srcLength, uint8_t* dst, int32_t dstCapacity,
                                bool endOfInput)
{
    return ToMacRoman(src, srcLength, dst, dstCapacity, endOfInput, kSubstituteByte);
}

std::string MacRomanToUtf8String(const uint8_t* text, int32_t length)
{
    if (length <= 0)
        return {};
    std::string out(size_t(length) * 3, '\0');  // no Mac Roman character needs more
    auto* dst = reinterpret_cast<uint8_t*>(out.data());
    ConversionResult r = MacRomanToUtf8(text, length, dst, int32_t(out.size()));
    out.resize(size_t(r.produced));
    return out;
}

std::string Utf8ToMacRomanString(std::string_view utf8, int32_t* substituted, uint8_t substitute)
{
    if (utf8.size() > size_t(INT32_MAX))
        utf8 = utf8.substr(0, size_t(INT32_MAX));
    std::string out(utf8.size(), '\0');  // never more bytes than the source
    auto* src = reinterpret_cast<const uint8_t*>(utf8.data());
    auto* dst = reinterpret_cast<uint8_t*>(out.data());
    ConversionResult r = ToMacRoman(src, int32_t(utf8.size()), dst, int32_t(out.size()), true, substitute);
    out.resize(size_t(r.produced));
    if (substituted)
        *substituted = r.substituted;
    return out;
}

bool IsUtf8(std::string_view text)
{
    const auto* p = reinterpret_cast<const uint8_t*>(text.data());
    for (size_t at = 0; at < text.size();) {
        const Utf8Sequence seq = DecodeOne(p + at, int32_t(std::min<size_t>(text.size() - at, 4)));
        if (seq.kind != Decoded::character)
            return false;
        at += size_t(seq.length);
    }
    return true;
}

}  // namespace platform

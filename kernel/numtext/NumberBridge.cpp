#include "kernel/numtext/NumberBridge.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "kernel/collation/CollationGlobals.h"
#include "platform/text/ScriptManager.h"

namespace {

void SetPString(StringPtr dest, const std::string& text)
{
    const size_t n = std::min<size_t>(text.size(), 255);
    dest[0] = static_cast<uint8_t>(n);
    std::memcpy(dest + 1, text.data(), n);
}

std::string FloatingText(double magnitude, int32_t digits)
{
    char buffer[64];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific,
                                 digits - 1);
    std::string text(buffer, r.ptr);
    // to_chars pads the exponent to two digits; keep it as short as it goes.
    const size_t e = text.find('e');
    std::string mantissa = text.substr(0, e);
    int32_t exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(), exponent);
    return mantissa + (exponent < 0 ? "e-" : "e+") + std::to_string(std::abs(exponent));
}

}  // namespace

void Num2Str(const decform& form, const double* value, StringPtr dest)
{
    const double v = *value;
    if (std::isnan(v)) return SetPString(dest, "NAN");
    if (std::isinf(v)) return SetPString(dest, v < 0 ? "-INF" : "INF");
    const std::string sign = std::signbit(v) ? "-" : " ";
    const double magnitude = std::fabs(v);
    if (form.style == decform::kFixed) {
        char buffer[400];
        const int32_t digits = std::clamp<int32_t>(form.digits, 0, 80);
        const auto r = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed, digits);
        return SetPString(dest, sign + std::string(buffer, r.ptr));
    }
    const int32_t digits = std::clamp<int32_t>(form.digits, 1, 28);
    SetPString(dest, sign + FloatingText(magnitude, digits));
}

namespace {

// Length of the number at text[pos..end) and whether the whole run is a
// number or the beginning of one.
struct Scan {
    int32_t numberEnd;  // end of the longest number, pos when there is none
    bool validPrefix;
};

bool StartsWithWord(const uint8_t* p, const uint8_t* end, const char* word, bool* partial)
{
    const size_t n = std::strlen(word);
    size_t i = 0;
    while (i < n && p + i < end && (p[i] == word[i] || p[i] == word[i] + 32)) ++i;
    *partial = p + i == end && i < n;
    return i == n;
}

Scan ScanNumber(const uint8_t* text, int32_t pos, int32_t end)
{
    const uint8_t* p = text + pos;
    const uint8_t* stop = text + end;
    while (p < stop && (*p == ' ' || *p == '\t')) ++p;
    if (p < stop && (*p == '+' || *p == '-')) ++p;
    if (p == stop) return {pos, true};
    bool partial = false;
    for (const char* word : {"INF", "NAN"}) {
        if (StartsWithWord(p, stop, word, &partial)) return {int32_t(p + 3 - text), p + 3 == stop};
        if (partial) return {pos, true};
    }
    const uint8_t* digitsStart = p;
    int32_t digits = 0;
    while (p < stop && *p >= '0' && *p <= '9') ++p, ++digits;
    if (p < stop && *p == '.') {
        ++p;
        while (p < stop && *p >= '0' && *p <= '9') ++p, ++digits;
    }
    if (digits == 0) return {pos, p == stop && p > digitsStart};
    const uint8_t* numberEnd = p;
    if (p < stop && (*p == 'e' || *p == 'E')) {
        const uint8_t* q = p + 1;
        if (q < stop && (*q == '+' || *q == '-')) ++q;
        const uint8_t* expDigits = q;
        while (q < stop && *q >= '0' && *q <= '9') ++q;
        if (q > expDigits) numberEnd = q;
        if (q == expDigits) return {int32_t(numberEnd - text), q == stop};
    }
    return {int32_t(numberEnd - text), numberEnd == stop};
}

double ParseNumber(const uint8_t* text, int32_t pos, int32_t end)
{
    std::string s;
    for (int32_t i = pos; i < end; ++i)
        if (text[i] != ' ' && text[i] != '\t' && text[i] != '+') s.push_back(char(text[i]));
    if (s.empty()) return 0.0;
    const bool negative = s[0] == '-';
    std::string body = negative ? s.substr(1) : s;
    if (!body.empty() && (body[0] == 'I' || body[0] == 'i'))
        return negative ? -std::numeric_limits<double>::infinity() : std::numeric_limits<double>::infinity();
    if (!body.empty() && (body[0] == 'N' || body[0] == 'n')) return std::numeric_limits<double>::quiet_NaN();
    if (!body.empty() && body[0] == '.') body.insert(body.begin(), '0');
    double value = 0.0;
    std::from_chars(body.data(), body.data() + body.size(), value);
    return negative ? -value : value;
}

}  // namespace

void Str2Dec(ConstStr255Param text, int16_t* index, decimal* d, uint8_t* validPrefix)
{
    const int32_t length = text[0];
    const int32_t pos = std::clamp<int32_t>(*index, 1, length + 1);
    const Scan scan = ScanNumber(text, pos, length + 1);
    d->value = scan.numberEnd > pos ? ParseNumber(text, pos, scan.numberEnd) : 0.0;
    *validPrefix = scan.validPrefix ? 1 : 0;
    *index = static_cast<int16_t>(scan.numberEnd);
}

double Str2Num(ConstStr255Param text)
{
    int16_t index = 1;
    decimal d;
    uint8_t valid = 0;
    Str2Dec(text, &index, &d, &valid);
    return d.value;
}

int32_t Num2Longint(const double* value)
{
    const double v = *value;
    if (std::isnan(v)) return 0;
    const double r = std::nearbyint(v);
    if (r >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (r <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(r);
}

bool isundefreal(const double* value) { return std::isnan(*value); }

int32_t evalint(ConstStr255Param text)
{
    const int32_t length = std::min<int32_t>(text[0], 80);
    uint32_t value = 0;
    bool negative = false;
    for (int32_t i = 1; i <= length; ++i) {
        const uint8_t c = text[i];
        if (scriptmanager != 0 &&
            platform::CharacterByteType(text + 1, static_cast<int16_t>(i - 1), platform::smSystemScript) ==
                platform::smFirstByte) {
            ++i;  // a two-byte character is skipped whole
            continue;
        }
        if (c >= '0' && c <= '9')
            value = value * 10u + (c - '0');
        else if (c == '-')
            negative = !negative;
    }
    return static_cast<int32_t>(negative ? 0u - value : value);
}

void strlongHex(int32_t value, StringPtr dest, bool prefix)
{
    static const char kDigits[] = "0123456789ABCDEF";
    const uint32_t v = static_cast<uint32_t>(value);
    std::string digits;
    for (int32_t shift = 28; shift >= 0; shift -= 4) {
        const uint32_t nibble = (v >> shift) & 0xF;
        if (nibble != 0 || !digits.empty() || shift == 0) digits.push_back(kDigits[nibble]);
    }
    if (prefix) {
        const size_t width = digits.size() <= 4 ? 4 : 8;
        digits = "0x" + std::string(width - digits.size(), '0') + digits;
    }
    SetPString(dest, digits);
}

void strint(int32_t value, StringPtr dest) { SetPString(dest, std::to_string(value)); }

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "kernel/collation/CollationGlobals.h"
#include "kernel/formats/FormatChars.h"
#include "kernel/formats/FormatText.h"
#include "kernel/formats/StringFormats.h"
#include "kernel/numtext/IntegerText.h"
#include "kernel/numtext/NumberBridge.h"
#include "platform/text/ScriptManager.h"

using namespace formattext;

namespace {

constexpr int32_t kSignificantDigits = 19;

std::string Converted(double magnitude, int16_t digits)
{
    decform form{FLOATDECIMAL, int16_t(digits)};
    platform::Str255 text;
    Num2Str(&form, &magnitude, text);
    std::string s = Take(text);
    std::erase(s, ' ');
    return s;
}

// The fixed-point text of a 19-digit mantissa "d.ddd..." with exponent x
// (-15 <= x <= 15).
std::string FixedPoint(const std::string& mantissa, int32_t x, char sep)
{
    std::string digits;
    for (char c : mantissa)
        if (c != '.') digits.push_back(c);
    if (x >= 0) return digits.substr(0, size_t(x) + 1) + sep + digits.substr(size_t(x) + 1);
    return std::string("0") + sep + std::string(size_t(-x - 1), '0') + digits;
}

// Cleans up the noise in the last digits: a run of '9' rounds up, a run of
// '0' goes; any other digit there keeps all digits.
void CleanNoise(std::string& t, char sep, int32_t noise)
{
    const size_t p = t.find(sep);  // 0-based
    if (t.size() <= 15 || p == std::string::npos || p + 1 + size_t(noise) >= t.size()) return;
    size_t pos = t.size() - size_t(noise) - 1;  // 0-based position length - K
    if (t[pos] == '9') {
        while (pos > p + 1 && t[pos] == '9') --pos;
        t.resize(pos + 1);
        for (size_t k = t.size();;) {
            if (k == 0) {
                t.insert(t.begin(), '1');
                break;
            }
            --k;
            if (k == p) {
                t.resize(p);
            } else if (t[k] == '9') {
                t[k] = '0';
            } else {
                ++t[k];
                break;
            }
        }
    } else if (t[pos] == '0') {
        while (pos > p && t[pos] == '0') --pos;
        t.resize(pos == p ? p : pos + 1);
    }
}

void StoreText(const std::string& text, const double* value, StringPtr dest)
{
    Put(text, dest, 80);
    std::memcpy(dest + 1 + dest[0], value, sizeof(double));
}

}  // namespace

void strreel2(const double* value, StringPtr dest, int32_t dotSeparator)
{
    const char sep = dotSeparator != 0 ? '.' : char(decpoint[1]);
    const double v = *value;
    if (isundefreal(value)) return StoreText("", value, dest);
    const bool negative = v < 0;
    const double magnitude = std::fabs(v);
    std::string t = Converted(magnitude, kSignificantDigits);
    if (magnitude == 0 || t == "0.0") {
        t = "0";
    } else if (const size_t e = t.find_first_of("Ee"); e != std::string::npos) {
        const int32_t x = std::stoi(t.substr(e + 1));
        if (x < -15 || x > 15) {
            std::string s = Converted(magnitude, 6);
            if (const size_t dot = s.find('.'); dot != std::string::npos) s[dot] = sep;
            if (negative) s.insert(s.begin(), '-');
            return StoreText(s, value, dest);
        }
        t = FixedPoint(t.substr(0, e), x, sep);
        CleanNoise(t, sep, NoiseDigitCount());
    }
    if (negative) t.insert(t.begin(), '-');
    if (t.find(sep) != std::string::npos) {
        while (!t.empty() && t.back() == '0') t.pop_back();
        if (!t.empty() && t.back() == sep) t.pop_back();
    }
    StoreText(t, value, dest);
}

namespace {
bool Kept(char c, char sep) { return (c >= '0' && c <= '9') || c == '-' || c == 'E' || c == 'e' || c == sep; }

double ToNumber(const std::string& text)
{
    platform::Str255 s;
    Put(text, s);
    return Str2Num(s);
}

bool IsValidPrefix(const std::string& text)
{
    platform::Str255 s;
    Put(text, s);
    int16_t index = 1;
    decimal d;
    bool valid = false;
    Str2Dec(s, &index, &d, &valid);
    return valid;
}
}  // namespace

void evalreel(ConstStr255Param text, double* value, int32_t dotSeparator)
{
    const char sep = dotSeparator != 0 ? '.' : char(decpoint[1]);
    const std::string copy = Take(text, 80);
    std::string kept;
    if (scriptmanager != 0 && platform::GetScriptManagerVariable(platform::smDoubleByte) != 0) {
        if (!copy.empty() && IsValidPrefix(copy)) {
            *value = ToNumber(copy);
            return;
        }
        for (char c : copy)
            if (Kept(c, sep)) kept.push_back(c == sep ? '.' : c);
        *value = ToNumber(kept.empty() ? "0" : kept);
        return;
    }
    for (char c : copy)
        if (Kept(c, sep)) kept.push_back(c);
    if (sep != '.') std::replace(kept.begin(), kept.end(), sep, '.');
    if (kept == ".") kept.clear();
    while (!kept.empty() && !IsValidPrefix(kept)) kept.erase(kept.begin());
    *value = ToNumber(kept.empty() ? "0" : kept);
}

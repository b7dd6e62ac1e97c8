#include "kernel/formats/NumericFormats.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "kernel/collation/CaseAndSearch.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/formats/FormatChars.h"
#include "kernel/formats/FormatText.h"
#include "kernel/helpers/ResourceStrings.h"
#include "kernel/formats/StringFormats.h"
#include "kernel/numtext/NumberBridge.h"
#include "kernel/numtext/DateText.h"
#include "kernel/numtext/IntegerText.h"
#include "platform/text/ScriptManager.h"

using namespace formattext;
using platform::Str255;
using platform::StringPtr;

namespace {

constexpr size_t kFormatLimit = 80;
constexpr size_t kPartLimit = 31;

bool IsMinus(const std::string& s, size_t i)
{
    if (scriptmanager != 0) return IsFormatChar(s, i, moinschar);
    return i < s.size() && s[i] == '-';
}

// ---- special forms ----

std::string PrefixedHex(const std::string& format, StringPtr text)
{
    Str255 digits;
    strlongHex(evalint(text), digits, false);
    // The result holds at most kPartLimit characters: a wide format gives up
    // padding zeros, never the value's own digits.
    const size_t width = std::min<size_t>({format.size() - 2, 32, kPartLimit - 1});
    std::string hex = Take(digits);
    if (hex.size() < width) hex.insert(0, width - hex.size(), '0');
    return "$" + hex;
}

std::string ZeroXHex(StringPtr text)
{
    Str255 digits;
    strlongHex(evalint(text), digits, true);
    return Take(digits);
}

std::string TimeForm(const std::string& format, StringPtr text)
{
    int32_t seconds;
    if (poschar(decpoint[1], text) != 0) {
        double value = 0;
        evalreel(text, &value, 0);
        seconds = Num2Longint(&value);
    } else {
        seconds = evalint(text);
    }
    // A format that stops after the '/' uses the first style.
    const int16_t style = format.size() >= 3 ? static_cast<int16_t>(uint8_t(format[2]) - '0') : 0;
    Str255 result;
    strtime(seconds, result, style);
    return Take(result);
}

std::string Scientific(const std::string& format, StringPtr text)
{
    Str255 count;
    Put(format.substr(1), count);
    int32_t n = evalint(count);
    if (n < 1) n = 3;
    if (n > 18) n = 18;
    // The value sits behind the text in the caller's 256-byte buffer; a text
    // too long to leave room for it is read as a number instead.
    double value = 0;
    if (size_t(text[0]) + 1 + sizeof value <= 256)
        std::memcpy(&value, text + 1 + text[0], sizeof value);
    else
        evalreel(text, &value, 0);
    decform form{FLOATDECIMAL, static_cast<int16_t>(n)};
    Str255 result;
    Num2Str(&form, &value, result);
    return Take(result, kFormatLimit);
}

// ---- patterns ----

struct Placing {
    bool zeroFraction = true;
    size_t unplaced = 0;
};

// Fills the fraction placeholders after separator c from the left.
bool PlaceFraction(std::string& r, size_t c, const std::string& fraction)
{
    std::vector<std::pair<size_t, char>> covered;
    bool significant = false;
    size_t next = 0;
    for (size_t k = c + 1; k < r.size() && next < fraction.size(); ++k) {
        if (!IsPlaceholder(r, k)) continue;
        const char placeholder = r[k];
        r[k] = fraction[next++];
        if (IsNonZeroDigit(uint8_t(r[k])))
            significant = true;
        else
            covered.emplace_back(k, placeholder);
    }
    if (!significant)
        for (const auto& [k, placeholder] : covered) r[k] = placeholder;
    return !significant;
}

// Fills the integer placeholders left of `end` from the right; answers the
// number of characters of the integer part that found no place.
size_t PlaceInteger(std::string& r, size_t end, const std::string& integer)
{
    size_t left = integer.size();
    bool significant = false;
    size_t heldZero = std::string::npos;
    for (size_t k = end; k-- > 0 && left > 0;) {
        if (!IsPlaceholder(r, k)) continue;
        const uint8_t ch = uint8_t(integer[left - 1]);
        if (!significant && heldZero == std::string::npos && IsZeroDigit(ch)) {
            heldZero = k;  // a leading zero shows only when a digit follows
            --left;
            continue;
        }
        r[k] = char(ch);
        --left;
        if (IsNonZeroDigit(ch)) significant = true;
    }
    if (heldZero != std::string::npos && significant) r[heldZero] = char(scriptmanager != 0 ? digit1 : '0');
    return left;
}

struct Extent {
    size_t first = std::string::npos, last = 0;
    bool Found() const { return first != std::string::npos; }
};

Extent FindExtent(const std::string& r, uint8_t ch, size_t from, size_t to)
{
    Extent e;
    for (size_t k = from; k < to; ++k)
        if (IsFormatChar(r, k, ch)) {
            if (!e.Found()) e.first = k;
            e.last = k;
        }
    return e;
}

void CleanFraction(std::string& r, size_t c, bool zeroFraction)
{
    const Extent stars = FindExtent(r, star, c + 1, r.size());
    const Extent spaces = FindExtent(r, hardspace, c + 1, r.size());
    const Extent hashes = FindExtent(r, diese, c + 1, r.size());
    if (stars.Found())
        for (size_t k = stars.first; k <= stars.last; ++k) r[k] = char(star);
    if (spaces.Found())
        for (size_t k = zeroFraction ? c : spaces.first; k <= spaces.last; ++k) r[k] = char(hardspace2);
    if (hashes.Found()) {
        const size_t from = (zeroFraction && hashes.first == c + 1) ? c : hashes.first;
        r.erase(from, hashes.last - from + 1);
    }
}

// One clean-up run of the integer area [0, e): from the first to the last
// placeholder of its kind, then on to the right up to the first digit.
struct Run {
    size_t first, last;
    bool sign;
};

Run ExtendRun(const std::string& r, size_t first, size_t last, size_t e, bool sectioned)
{
    Run run{first, last, false};
    while (run.last + 1 < e) {
        const size_t next = run.last + 1;
        if (IsDigit(uint8_t(r[next])) && IsFormatChar(r, next, uint8_t(r[next]))) break;
        if (!sectioned && IsMinus(r, next)) run.sign = true;
        run.last = next;
    }
    return run;
}

void CleanInteger(std::string& r, size_t e, bool sectioned)
{
    const Extent stars = FindExtent(r, star, 0, e);
    const Extent spaces = FindExtent(r, hardspace, 0, e);
    Extent hashes = FindExtent(r, diese, 0, e);
    bool forceSign = false;
    if (!hashes.Found() && !sectioned && IsMinus(r, 0)) {
        hashes.first = hashes.last = 0;
        forceSign = true;
    }
    if (stars.Found()) {
        const Run run = ExtendRun(r, stars.first, stars.last, e, sectioned);
        for (size_t k = run.first; k <= run.last; ++k) r[k] = char(star);
        if (run.sign) r[run.last] = char(scriptmanager != 0 ? moinschar : '-');
    }
    if (spaces.Found()) {
        const Run run = ExtendRun(r, spaces.first, spaces.last, e, sectioned);
        for (size_t k = run.first; k <= run.last; ++k) r[k] = char(hardspace2);
        if (run.sign) r[run.last] = char(scriptmanager != 0 ? moinschar : '-');
    }
    if (hashes.Found()) {
        const Run run = ExtendRun(r, hashes.first, hashes.last, e, sectioned);
        r.erase(run.first, run.last - run.first + 1);
        if (run.sign || forceSign) r.insert(run.first, 1, '-');
    }
}

// In two-byte mode, when the system text runs right to left: the digits and
// signs of a result that starts with a non-ASCII character are reversed.
void ReverseForRightToLeft(std::string& r)
{
    if (scriptmanager == 0 || platform::GetSysDirection() != -1 || r.empty() || uint8_t(r[0]) < 0x80) return;
    size_t first = std::string::npos, last = 0;
    for (size_t k = 0; k < r.size(); ++k)
        if (IsDigit(uint8_t(r[k])) || IsFormatChar(r, k, moinschar)) {
            if (first == std::string::npos) first = k;
            last = k;
        }
    if (first != std::string::npos) std::reverse(r.begin() + std::ptrdiff_t(first), r.begin() + std::ptrdiff_t(last) + 1);
}

bool IsSingleZero(const std::string& number)
{
    if (number.size() != 1) return false;
    if (scriptmanager == 0) return number[0] == '0';
    const uint8_t ch = uint8_t(number[0]);
    return ch == (digit1 & 0xFF) || ch == (digit2 & 0xFF) || ch == (digit3 & 0xFF);
}

// The pattern forms; false when the text stays as it is.
bool ApplyPattern(std::string format, std::string& number, std::string& result)
{
    if (format.empty() || FindFormatChar(number, 'e') != std::string::npos) return false;
    bool sectioned = false;
    if (const size_t p = FindFormatChar(format, semicol); p != std::string::npos) {
        sectioned = true;
        if (const size_t q = FindFormatChar(format, semicol, p + 1); q != std::string::npos) {
            if (IsSingleZero(number)) {
                result = format.substr(q + 1);
                return true;
            }
            format.resize(q);
        }
        if (const size_t minus = number.find('-'); minus != std::string::npos) {
            number.erase(minus, 1);
            format = format.substr(p + 1);
        } else {
            format.resize(p);
        }
    }
    std::string integer = number, fraction;
    if (const size_t d = number.find(char(decpoint[1])); decpoint[0] != 0 && d != std::string::npos) {
        integer = number.substr(0, d);
        fraction = number.substr(d + 1);
    }
    integer = integer.substr(0, kPartLimit);
    fraction = fraction.substr(0, kPartLimit);

    std::string r = format;
    const size_t c = FindFormatChar(r, comma);
    const bool hasSeparator = c != std::string::npos;
    const bool zeroFraction = hasSeparator ? PlaceFraction(r, c, fraction) : true;
    const size_t unplaced = PlaceInteger(r, hasSeparator ? c : r.size(), integer);
    if (hasSeparator) CleanFraction(r, c, zeroFraction);
    CleanInteger(r, hasSeparator ? c : r.size(), sectioned);
    if (unplaced > 0 && unplaced < integer.size()) r.assign(r.size(), '<');
    result = r;
    return true;
}

}  // namespace

void transusing(StringPtr text, platform::ConstStr255Param format)
{
    if (text[0] == 0) return;
    std::string w = Take(format, kFormatLimit);
    if (w.size() < 2 && (w.empty() || uint8_t(w[0]) < 0x20)) w.clear();
    if (!w.empty() && w[0] == '|') {
        Str255 named;
        findstyle(named, format);
        w = Take(named, kFormatLimit);
    }
    std::string result;
    if (!w.empty() && IsFormatChar(w, 0, ampersand)) {
        const char second = w.size() >= 2 ? w[1] : 0;
        if (w.size() >= 2 && second == '$')
            result = PrefixedHex(w, text);
        else if (w.size() >= 2 && (second == 'x' || second == 'X'))
            result = ZeroXHex(text);
        else if (w.size() >= 2 && second == '/')
            result = TimeForm(w, text);
        else
            result = Scientific(w, text);
    } else {
        std::string number = Take(text);
        if (!ApplyPattern(w, number, result)) return;
    }
    ReverseForRightToLeft(result);
    Put(result, text);
}

#include "kernel/numtext/NumberBridge.h"

#include <cfenv>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "kernel/numtext/NumTextGlobals.h"

namespace {

void PutPString(const std::string& text, platform::StringPtr dest)
{
    const size_t n = text.size() < 255 ? text.size() : 255;
    dest[0] = uint8_t(n);
    std::memcpy(dest + 1, text.data(), n);
}

template <typename T>
T RoundedClamped(double value)
{
    if (std::isnan(value)) return std::numeric_limits<T>::min();
    const double r = std::nearbyint(value);
    if (r >= double(std::numeric_limits<T>::max())) return std::numeric_limits<T>::max();
    if (r <= double(std::numeric_limits<T>::min())) return std::numeric_limits<T>::min();
    return T(r);
}

}  // namespace

void Num2Str(const decform* form, const double* value, platform::StringPtr dest)
{
    const double v = *value;
    if (std::isnan(v)) return PutPString("NAN", dest);
    if (std::isinf(v)) return PutPString(v < 0 ? "-INF" : "INF", dest);
    char text[400];
    std::to_chars_result r;
    if (form->style == FIXEDDECIMAL) {
        const int32_t digits = form->digits < 0 ? 0 : form->digits > 60 ? 60 : form->digits;
        r = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, digits);
    } else {
        const int32_t digits = form->digits < 1 ? 1 : form->digits > 19 ? 19 : form->digits;
        r = std::to_chars(text, text + sizeof text, std::fabs(v), std::chars_format::scientific, digits - 1);
        if (r.ec != std::errc()) return PutPString("?", dest);
        // The floating form: a sign place (space or '-'), the mantissa, then
        // the exponent with its sign and no leading zeros (" 1.5e+3").
        std::string s(text, r.ptr);
        const size_t e = s.find('e');
        std::string exponent = s.substr(e + 2);
        exponent.erase(0, std::min(exponent.find_first_not_of('0'), exponent.size() - 1));
        std::string out(1, std::signbit(v) ? '-' : ' ');
        out.append(s, 0, e + 2);
        out += exponent;
        return PutPString(out, dest);
    }
    PutPString(r.ec == std::errc() ? std::string(text, r.ptr) : std::string("?"), dest);
}

void Str2Dec(platform::ConstStr255Param text, int16_t* index, decimal* d, bool* validPrefix)
{
    const int32_t length = text[0];
    int32_t i = *index < 1 ? 1 : *index;
    d->sgn = 0;
    d->exp = 0;
    d->sig[0] = 1;
    d->sig[1] = '0';
    *validPrefix = true;
    auto at = [&](int32_t k) -> uint8_t { return k <= length ? text[k] : 0; };

    while (at(i) == ' ' || at(i) == '\t') ++i;
    const int32_t start = i;
    if (at(i) == '+' || at(i) == '-') d->sgn = at(i++) == '-' ? 1 : 0;
    auto word = [&](const char* w) {
        for (int32_t k = 0; w[k] != 0; ++k)
            if ((at(i + k) | 0x20) != uint8_t(w[k])) return false;
        return true;
    };
    if (word("inf") || word("nan")) {
        d->sig[1] = (at(i) | 0x20) == 'i' ? 'I' : 'N';
        *index = int16_t(i + 3);
        return;
    }
    int32_t digits = 0, dropped = 0, exponent = 0;
    bool any = false, point = false;
    for (;; ++i) {
        const uint8_t ch = at(i);
        if (ch >= '0' && ch <= '9') {
            any = true;
            if (digits == 0 && ch == '0') {
                if (point) --exponent;
            } else if (digits < 20) {
                d->sig[1 + digits++] = ch;
                if (point) --exponent;
            } else if (!point) {
                ++dropped;
            }
        } else if (ch == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!any) {
        *validPrefix = i > length;  // only a sign or a point so far
        *index = int16_t(start);
        return;
    }
    if ((at(i) | 0x20) == 'e') {
        int32_t k = i + 1;
        bool negative = false;
        if (at(k) == '+' || at(k) == '-') negative = at(k++) == '-';
        if (at(k) >= '0' && at(k) <= '9') {
            int32_t e = 0;
            for (; at(k) >= '0' && at(k) <= '9'; ++k) e = e < 100000 ? e * 10 + (at(k) - '0') : e;
            exponent += negative ? -e : e;
            i = k;
        } else if (k > length) {
            i = k;  // "1e" may still become a number
        }
    }
    if (digits == 0) {
        d->sig[0] = 1;
        d->sig[1] = '0';
        exponent = 0;
    } else {
        d->sig[0] = uint8_t(digits);
    }
    exponent += dropped;
    d->exp = int16_t(exponent > 32767 ? 32767 : exponent < -32767 ? -32767 : exponent);
    // Anything after the number ("12-5", "3x") leaves a text that no longer
    // begins a number as a whole.
    *validPrefix = i > length;
    *index = int16_t(i);
}

double dec2num(const decimal* d)
{
    double value;
    if (d->sig[0] >= 1 && d->sig[1] == 'I')
        value = std::numeric_limits<double>::infinity();
    else if (d->sig[0] >= 1 && d->sig[1] == 'N')
        value = std::numeric_limits<double>::quiet_NaN();
    else {
        std::string text(reinterpret_cast<const char*>(d->sig + 1), d->sig[0] > 20 ? 20 : d->sig[0]);
        text += 'e';
        text += std::to_string(d->exp);
        value = 0;
        const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
        if (r.ec == std::errc::result_out_of_range)
            value = d->exp > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return d->sgn ? -value : value;
}

double Str2Num(platform::ConstStr255Param text)
{
    int16_t index = 1;
    decimal d;
    bool valid;
    Str2Dec(text, &index, &d, &valid);
    return dec2num(&d);
}

void Convert10To8(const extended80* source, double* dest)
{
    const uint8_t* b = source->bytes;
    const bool negative = b[0] & 0x80;
    const int32_t exponent = ((b[0] & 0x7F) << 8) | b[1];
    uint64_t significand = 0;
    for (int32_t k = 2; k < 10; ++k) significand = (significand << 8) | b[k];
    double value;
    if (exponent == 0x7FFF)
        value = (significand << 1) == 0 ? std::numeric_limits<double>::infinity()
                                        : std::numeric_limits<double>::quiet_NaN();
    else
        value = std::ldexp(double(significand), exponent - 16383 - 63);
    *dest = negative ? -value : value;
}

void Convert8To10(const double* source, extended80* dest)
{
    const double v = *source;
    uint8_t* b = dest->bytes;
    std::memset(b, 0, 10);
    const bool negative = std::signbit(v);
    int32_t exponent = 0;
    uint64_t significand = 0;
    if (std::isnan(v)) {
        exponent = 0x7FFF;
        significand = 0xC000000000000000ull;
    } else if (std::isinf(v)) {
        exponent = 0x7FFF;
        significand = 0x8000000000000000ull;
    } else if (v != 0) {
        int32_t e;
        const double m = std::frexp(std::fabs(v), &e);  // m in [0.5, 1)
        significand = uint64_t(std::ldexp(m, 64));
        exponent = e - 1 + 16383;
    }
    b[0] = uint8_t((negative ? 0x80 : 0) | ((exponent >> 8) & 0x7F));
    b[1] = uint8_t(exponent);
    for (int32_t k = 9; k >= 2; --k, significand >>= 8) b[k] = uint8_t(significand);
}

int16_t Num2Integer(const double* value) { return RoundedClamped<int16_t>(*value); }
int32_t Num2Longint(const double* value) { return RoundedClamped<int32_t>(*value); }
double Cos(const double* value) { return std::cos(*value); }
double Sin(const double* value) { return std::sin(*value); }

void SetRound(int16_t mode)
{
    static constexpr int kModes[4] = {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO};
    if (mode >= 0 && mode < 4) std::fesetround(kModes[mode]);
}

bool isundefreal(const double* value) { return std::isnan(*value); }
bool egall(const double* a, const double* b) { return std::fabs(*a - *b) <= epsilon; }

#include "platform/scrap/ScrapText.h"

#include <algorithm>

#include "platform/text/Utf8.h"

namespace platform {
namespace {

// CR LF and lone CR become LF; LF stays.
std::string CrToLf(std::string s)
{
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r') {
            out += '\n';
            if (i + 1 < s.size() && s[i + 1] == '\n') ++i;
        } else {
            out += s[i];
        }
    }
    return out;
}

// CR LF and lone LF become CR.
std::string LfToCr(const std::string& s)
{
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') continue;
        out += s[i] == '\n' ? '\r' : s[i];
    }
    return out;
}

}  // namespace

std::string MacRomanCrToUtf8Lf(const std::vector<uint8_t>& text)
{
    return CrToLf(MacRomanToUtf8String(text.data(), int32_t(text.size())));
}

std::string Utf16CrToUtf8Lf(const std::vector<uint8_t>& text)
{
    std::u16string units(text.size() / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i) units[i] = char16_t((text[2 * i] << 8) | text[2 * i + 1]);
    std::string out(units.size() * 3, '\0');
    ConversionResult r = Utf16ToUtf8(units.data(), int32_t(units.size()), reinterpret_cast<uint8_t*>(out.data()),
                                     int32_t(out.size()), true);
    out.resize(size_t(r.produced));
    return CrToLf(out);
}

std::vector<uint8_t> Utf8LfToMacRomanCr(const std::string& utf8, int32_t* substituted)
{
    const std::string roman = Utf8ToMacRomanString(LfToCr(utf8), substituted);
    return std::vector<uint8_t>(roman.begin(), roman.end());
}

std::vector<uint8_t> Utf8LfToUtf16Cr(const std::string& utf8)
{
    const std::string text = LfToCr(utf8);
    std::u16string units(text.size() + 1, u'\0');
    ConversionResult r = Utf8ToUtf16(reinterpret_cast<const uint8_t*>(text.data()), int32_t(text.size()),
                                     units.data(), int32_t(units.size()), true);
    std::vector<uint8_t> out;
    out.reserve(size_t(r.produced) * 2);
    for (int32_t i = 0; i < r.produced; ++i) {
        out.push_back(uint8_t(units[size_t(i)] >> 8));
        out.push_back(uint8_t(units[size_t(i)]));
    }
    return out;
}

}  // namespace platform

#include "kernel/formats/FormatText.h"

#include <algorithm>
#include <cstring>

#include "kernel/collation/CollationGlobals.h"
#include "kernel/formats/FormatChars.h"
#include "platform/text/ScriptManager.h"

namespace formattext {

std::string Take(platform::ConstStr255Param s, size_t limit)
{
    return std::string(reinterpret_cast<const char*>(s + 1), std::min<size_t>(s[0], limit));
}

void Put(const std::string& text, platform::StringPtr dest, size_t limit)
{
    const size_t n = std::min({text.size(), limit, size_t(255)});
    dest[0] = static_cast<uint8_t>(n);
    std::memcpy(dest + 1, text.data(), n);
}

bool IsFormatChar(const std::string& text, size_t i, uint8_t ch)
{
    if (i >= text.size() || static_cast<uint8_t>(text[i]) != ch) return false;
    if (scriptmanager == 0) return true;
    return platform::CharacterByteType(reinterpret_cast<const uint8_t*>(text.data()), static_cast<int16_t>(i),
                                       platform::smSystemScript) == platform::smSingleByte;
}

bool IsPlaceholder(const std::string& text, size_t i)
{
    return IsFormatChar(text, i, diese) || IsFormatChar(text, i, zeroforce) || IsFormatChar(text, i, star) ||
           IsFormatChar(text, i, hardspace);
}

size_t FindFormatChar(const std::string& text, uint8_t ch, size_t from)
{
    for (size_t i = from; i < text.size(); ++i)
        if (IsFormatChar(text, i, ch)) return i;
    return std::string::npos;
}

namespace {
bool InRanges(uint8_t ch, int32_t first, int32_t last)
{
    if (ch >= '0' + first && ch <= '0' + last) return true;
    if (scriptmanager == 0) return false;
    for (uint16_t zero : {digit1, digit2, digit3}) {
        const int32_t z = zero & 0xFF;
        if (ch >= z + first && ch <= z + last) return true;
    }
    return false;
}
}  // namespace

bool IsDigit(uint8_t ch) { return InRanges(ch, 0, 9); }
bool IsNonZeroDigit(uint8_t ch) { return InRanges(ch, 1, 9); }
bool IsZeroDigit(uint8_t ch) { return InRanges(ch, 0, 0); }

}  // namespace formattext

#include "design/objects/ObjText.h"

#include <algorithm>
#include <cstring>

#include "kernel/pstrings/PStrings.h"
#include "platform/core/Clock.h"
#include "platform/text/IntlSettings.h"

void PAppend(unsigned char* text, const unsigned char* more) { pstrconcat(text, text, more); }

void PAppend(unsigned char* text, const std::string& more)
{
    const int n = std::min<int>(int(more.size()), 255 - text[0]);
    std::memcpy(text + 1 + text[0], more.data(), size_t(n));
    text[0] = uint8_t(text[0] + n);
}

void PAppendChar(unsigned char* text, char c)
{
    if (text[0] < 255) text[++text[0]] = uint8_t(c);
}

void PSet(unsigned char* text, const std::string& value)
{
    CToPStr(value.data(), int32_t(std::min<size_t>(value.size(), 255)), text);
}

std::string PString(const unsigned char* text) { return std::string(reinterpret_cast<const char*>(text + 1), text[0]); }

std::string ShortDate(uint32_t seconds)
{
    const platform::CivilDay d = platform::MacSecondsToDay(seconds);
    return platform::DateText(d.day, d.month, d.year, platform::shortDate);
}

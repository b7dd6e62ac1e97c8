#include "design/ObjText.h"

#include <algorithm>
#include <cstring>

#include "kernel/pstrings/PStrings.h"
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
    // Days since 1904-01-01 (24,107 days before 1970) to a civil date.
    const int64_t z = int64_t(seconds / 86400) - 24107 + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int32_t day = int32_t(doy - (153 * mp + 2) / 5 + 1);
    const int32_t month = int32_t(mp < 10 ? mp + 3 : mp - 9);
    const int32_t year = int32_t(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return platform::DateText(day, month, year, platform::shortDate);
}

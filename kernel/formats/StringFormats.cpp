#include "kernel/formats/StringFormats.h"

#include <cstring>

#include "kernel/collation/CollationGlobals.h"
#include "kernel/formats/FormatChars.h"
#include "kernel/formats/FormatText.h"
#include "kernel/helpers/ResourceStrings.h"

using namespace formattext;

int16_t poschar(int16_t ch, ConstStr255Param s)
{
    if (ch < 0 || ch > 255) return 0;
    const size_t i = FindFormatChar(Take(s), static_cast<uint8_t>(ch));
    return i == std::string::npos ? 0 : static_cast<int16_t>(i + 1);
}

void sstransusing(StringPtr text, ConstStr255Param format)
{
    std::string pattern = Take(format, 80);
    if (pattern.size() < 2 || text[0] == 0) return;
    if (pattern[0] == '|') {
        platform::Str255 named;
        findstyle(named, format);
        pattern = Take(named, 80);
        if (pattern.size() < 2) return;
    }
    const std::string source = Take(text, 80);
    std::string result = pattern;
    size_t left = source.size();
    for (size_t k = result.size(); k-- > 0 && left > 0;)
        if (IsPlaceholder(result, k)) result[k] = source[--left];
    const size_t first = FindFormatChar(result, diese);
    if (first != std::string::npos) {
        size_t last = first;
        for (size_t k = first; k < result.size(); ++k)
            if (IsFormatChar(result, k, diese)) last = k;
        result.erase(first, last - first + 1);
    }
    Put(result, text);
}

#include "kernel/collation/CaseAndSearch.h"

#include <algorithm>
#include <cstring>

#include "kernel/collation/CollationGlobals.h"
#include "platform/text/RomanCase.h"
#include "platform/text/ScriptManager.h"

using platform::CharacterByteType;
using platform::smSystemScript;

void upstr(uint8_t* text, int32_t length)
{
    length = std::max(length, 0);
    if (scriptmanager == 0) {
        platform::UppercaseStripDiacritics(text, length);
    } else {
        // Upper-cases the one-byte ASCII letters only, as the script's
        // transliteration does. The kana foldings of selectors 10-12 need a
        // Japanese script, which the platform does not have: they keep the
        // text as it is.
        for (int32_t i = 0; i < length; ++i)
            if (text[i] < 0x80 && CharacterByteType(text, static_cast<int16_t>(std::min(i, 32767)), smSystemScript) ==
                                      platform::smSingleByte)
                text[i] = platform::RomanUppercase(text[i]);
    }
    lz3 = static_cast<int16_t>(std::min(length, 32767));
}

void pupstr(uint8_t* text, int32_t length)
{
    length = std::max(length, 0);
    platform::UppercaseText(text, length);
    lz3 = static_cast<int16_t>(std::min(length, 32767));
}

void upstr2(uint8_t* text, int32_t length)
{
    length = std::clamp(length, 0, 255);
    uint8_t copy[256];
    std::memcpy(copy, text, static_cast<size_t>(length));
    upstr(copy, length);
    std::memcpy(text, copy, static_cast<size_t>(std::min<int32_t>(lz3, length)));
}

void truncate(platform::StringPtr s, int16_t n)
{
    if (n < 0 || s[0] < n) return;
    if (n > 0 && scriptmanager != 0 &&
        CharacterByteType(s + 1, static_cast<int16_t>(n - 1), smSystemScript) == platform::smFirstByte)
        --n;
    s[0] = static_cast<uint8_t>(n);
}

int16_t Pos(platform::ConstStr255Param pattern, platform::ConstStr255Param text)
{
    const int32_t p = pattern[0], t = text[0];
    if (p == 0 || p > t) return 0;
    if (p == t && std::memcmp(pattern + 1, text + 1, static_cast<size_t>(p)) == 0) return 1;
    const int16_t firstKind =
        scriptmanager != 0 ? CharacterByteType(pattern + 1, 0, smSystemScript) : platform::smSingleByte;
    for (int32_t start = 0; start + p <= t; ++start) {
        if (std::memcmp(pattern + 1, text + 1 + start, static_cast<size_t>(p)) != 0) continue;
        if (scriptmanager != 0 &&
            CharacterByteType(text + 1, static_cast<int16_t>(start), smSystemScript) != firstKind)
            continue;
        return static_cast<int16_t>(start + 1);
    }
    return 0;
}

// A string value of the platform's string service: UTF-16 units, copied
// freely (no reference counting here). The file layer's path conversions
// and the keyboard layouts' names speak it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

struct CFString {
    std::u16string units;

    bool operator==(const CFString&) const = default;
};

CFString CFStringCreateWithCharacters(const char16_t* chars, int32_t count);
// Invalid UTF-8 becomes U+FFFD, as everywhere in the text service.
CFString CFStringCreateWithUTF8(std::string_view utf8);
int32_t CFStringGetLength(const CFString& string);
// Copies at most `capacity` units; answers how many were copied.
int32_t CFStringGetCharacters(const CFString& string, char16_t* buffer, int32_t capacity);
std::string CFStringGetUTF8(const CFString& string);

enum CFComparisonResult : int32_t { kCFCompareLessThan = -1, kCFCompareEqualTo = 0, kCFCompareGreaterThan = 1 };
// Orders by UTF-16 units (no case or canonical folding); a text that is a
// prefix of the other comes first.
CFComparisonResult CFStringCompare(const CFString& a, const CFString& b);

}  // namespace platform

#include "platform/text/CFString.h"

#include <algorithm>
#include <vector>

#include "platform/text/Utf8.h"

namespace platform {

CFString CFStringCreateWithCharacters(const char16_t* chars, int32_t count)
{
    if (!chars || count <= 0) return CFString{};
    return CFString{std::u16string(chars, size_t(count))};
}

CFString CFStringCreateWithUTF8(std::string_view utf8)
{
    // Never more units than bytes.
    std::vector<char16_t> units(utf8.size());
    const ConversionResult r = Utf8ToUtf16(reinterpret_cast<const uint8_t*>(utf8.data()), int32_t(utf8.size()),
                                           units.data(), int32_t(units.size()), true);
    return CFString{std::u16string(units.data(), size_t(r.produced))};
}

int32_t CFStringGetLength(const CFString& string) { return int32_t(string.units.size()); }

int32_t CFStringGetCharacters(const CFString& string, char16_t* buffer, int32_t capacity)
{
    if (!buffer || capacity <= 0) return 0;
    const int32_t count = std::min<int32_t>(capacity, int32_t(string.units.size()));
    std::copy_n(string.units.data(), count, buffer);
    return count;
}

std::string CFStringGetUTF8(const CFString& string)
{
    // At most three bytes a unit (a pair of units makes four).
    std::vector<uint8_t> bytes(string.units.size() * 3);
    const ConversionResult r = Utf16ToUtf8(string.units.data(), int32_t(string.units.size()), bytes.data(),
                                           int32_t(bytes.size()), true);
    return std::string(reinterpret_cast<const char*>(bytes.data()), size_t(r.produced));
}

CFComparisonResult CFStringCompare(const CFString& a, const CFString& b)
{
    const int c = a.units.compare(b.units);
    return c < 0 ? kCFCompareLessThan : c > 0 ? kCFCompareGreaterThan : kCFCompareEqualTo;
}

}  // namespace platform

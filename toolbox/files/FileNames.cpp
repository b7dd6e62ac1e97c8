#include "toolbox/files/FileNames.h"

#include <vector>

#include "platform/text/Utf8.h"
#include "toolbox/foundation/VString.h"

std::string ToUtf8(const VString& text)
{
    const int32_t length = text.GetLength();
    if (length <= 0) return std::string();
    std::vector<char16_t> units(size_t(length) + 1);
    const int32_t count = text.ToUniBlock(units.data(), 0, length + 1);
    std::string out(size_t(count) * 3, '\0');
    const platform::ConversionResult r = platform::Utf16ToUtf8(
        units.data(), count, reinterpret_cast<uint8_t*>(out.data()), int32_t(out.size()), true);
    out.resize(size_t(r.produced));
    return out;
}

void FromUtf8(const std::string& utf8, VString& text)
{
    std::vector<char16_t> units(utf8.size() + 1);
    const platform::ConversionResult r =
        platform::Utf8ToUtf16(reinterpret_cast<const uint8_t*>(utf8.data()), int32_t(utf8.size()), units.data(),
                              int32_t(units.size()), true);
    text.SetNull(false);
    text.FromUniBlock(units.data(), 0, r.produced);
}

// Text from the system clipboard (another program's copy) and the scrap's
// text flavours on their way out.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/scrap/ScrapText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string utf8(reinterpret_cast<const char*>(data), size);
    platform::Utf8LfToMacRomanCr(utf8);
    platform::Utf8LfToUtf16Cr(utf8);
    const std::vector<uint8_t> bytes(data, data + size);
    platform::MacRomanCrToUtf8Lf(bytes);
    platform::Utf16CrToUtf8Lf(bytes);
    return 0;
}

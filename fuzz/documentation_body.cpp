// A structure's general documentation ('QzHE' 0) as the program stores it
// without the styled text converter: the text is read only as far as the
// bytes go.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/documents/Documentation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    std::string text;
    if (ReadPlainDocBody(bytes.data(), bytes.size(), &text) && text.size() + 8 > bytes.size()) __builtin_trap();
    return 0;
}

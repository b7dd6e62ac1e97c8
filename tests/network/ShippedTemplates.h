// The byte-swap templates the program ships, loaded as the server layer
// converts resources with them.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "kernel/byteswap/SwapTemplates.h"

namespace networktest {

// InitTokensFromText's result for resources/ByteSwap.txt.
inline int16_t LoadShippedTemplates()
{
    std::ifstream file(std::string(std::getenv("QZ_TEST_SOURCE_DIR")) + "/resources/ByteSwap.txt");
    std::stringstream text;
    text << file.rdbuf();
    return InitTokensFromText(text.str().data(), int32_t(text.str().size()));
}

}  // namespace networktest

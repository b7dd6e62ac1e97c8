// Documentation resources from a little-endian container keep their
// version and state words apart, for every documentation type.
#include <gtest/gtest.h>

#include "kernel/byteswap/SwapTemplates.h"
#include "platform/core/FourCC.h"
#include "resources/swap/SwapResource.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Version 1, state `state`, text "abc" (padded), empty style record and
// table, as a little-endian machine writes them.
Bytes LittleEndianDoc(uint8_t state)
{
    return {1, 0, state, 0, 3, 0, 0, 0, 'a', 'b', 'c', 0, 0, 0, 0, 0, 0, 0, 0, 0};
}

const Bytes kBigEndianDoc1 = {0, 1, 0, 1, 0, 0, 0, 3, 'a', 'b', 'c', 0, 0, 0, 0, 0, 0, 0, 0, 0};

TEST(SwapDocumentation, VersionAndStateStayInPlace)
{
    for (uint32_t type : {platform::FourCC("FIHE"), platform::FourCC("CCHE"), platform::FourCC("MEHE"),
                          uint32_t(0x48450005) /* a field of table 5 */, uint32_t(0x4845FFFF)}) {
        Bytes b = LittleEndianDoc(1);
        EXPECT_EQ(SwapResource(1, type, int32_t(b.size()), b.data()), 1u) << std::hex << type;
        EXPECT_EQ(errSwap, 0);
        EXPECT_EQ(b, kBigEndianDoc1) << std::hex << type;
        // And back the same way.
        EXPECT_EQ(SwapResourceEnvoi(1, type, int32_t(b.size()), b.data()), 1u);
        EXPECT_EQ(b, LittleEndianDoc(1));
    }
}

TEST(SwapDocumentation, StreamFormKeepsItsTagWhole)
{
    // 'HECO', 128, an empty style scrap, no text: little-endian 32-bit values.
    Bytes b = {'O', 'C', 'E', 'H', 128, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(SwapResource(1, platform::FourCC("FIHE"), int32_t(b.size()), b.data()), 1u);
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 8), (Bytes{'H', 'E', 'C', 'O', 0, 0, 0, 128}));
}

}  // namespace

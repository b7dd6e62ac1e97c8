#include <gtest/gtest.h>

#include <vector>

#include "kernel/hostentry/HostEntry.h"
#include "tests/kernel/TestCorpus.h"
#include "toolbox/foundation/VEngine.h"

namespace {

int16_t gLastSelector = 0;
parm gLastBlock;

void RecordingHost(int16_t selector, parm* block)
{
    gLastSelector = selector;
    gLastBlock = *block;
    block->result304 = 77;
}

}  // namespace

TEST(EngineCompression, FillsTheBlockForSelector441)
{
    VEngine engine(RecordingHost);
    std::vector<uint8_t> src(10, 1), dst(10);
    EXPECT_EQ(VEngine::Compress(1, src.data(), 10, dst.data()), 77);
    EXPECT_EQ(gLastSelector, 441);
    EXPECT_EQ(gLastBlock.flag8, 1);
    EXPECT_EQ(gLastBlock.slot266.Long(), 1);
    EXPECT_EQ(gLastBlock.slot272.Ptr(), src.data());
    EXPECT_EQ(gLastBlock.slot276.Long(), 10);
    EXPECT_EQ(gLastBlock.slot280.Ptr(), dst.data());
    EXPECT_EQ(gLastBlock.slot284.Long(), 0);

    EXPECT_EQ(VEngine::Decompress(2, src.data(), 4, dst.data(), 10), 77);
    EXPECT_EQ(gLastBlock.flag8, 0);
    EXPECT_EQ(gLastBlock.slot266.Long(), 2);
    EXPECT_EQ(gLastBlock.slot272.Ptr(), dst.data());
    EXPECT_EQ(gLastBlock.slot276.Long(), 10);
    EXPECT_EQ(gLastBlock.slot280.Ptr(), src.data());
    EXPECT_EQ(gLastBlock.slot284.Long(), 4);
}

TEST(EngineCompression, BlocksRoundTripThroughTheKernelHost)
{
    VEngine engine(entreeexterne);
    const auto text = testdata::Text(20000, 5);
    for (int32_t method : {1, 0}) {
        std::vector<uint8_t> packed(text.size());
        const int32_t n = VEngine::Compress(method, text.data(), int32_t(text.size()), packed.data());
        ASSERT_GT(n, 0);
        std::vector<uint8_t> plain(text.size());
        EXPECT_EQ(VEngine::Decompress(method, packed.data(), n, plain.data(), int32_t(plain.size())),
                  int32_t(text.size()));
        EXPECT_EQ(plain, text);
    }
    // Random bytes gain nothing: the caller stores them as they are.
    const auto noise = testdata::RandomBytes(4096, 9);
    std::vector<uint8_t> packed(noise.size());
    EXPECT_EQ(VEngine::Compress(1, noise.data(), 4096, packed.data()), 0);
    gCallQz = nullptr;
}

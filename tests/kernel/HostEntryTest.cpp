#include <gtest/gtest.h>

#include "platform/core/Faults.h"
#include "platform/resfiles/Resources.h"

#include <cstring>
#include <vector>

#include "kernel/compress/CompressResults.h"
#include "kernel/hostentry/HostEntry.h"
#include "tests/kernel/TestCorpus.h"

namespace {

bool SameBytes(const parm& a, const parm& b) { return std::memcmp(&a, &b, sizeof(parm)) == 0; }

int32_t CallCompress(uint8_t method, const std::vector<uint8_t>& src, std::vector<uint8_t>& dst,
                     int32_t capacity = 0)
{
    parm p;
    if (capacity > 0) p.slot284.SetLong(capacity);
    p.slot266.SetLong(method);
    p.flag8 = 1;
    p.slot272.SetPtr(src.data());
    p.slot276.SetLong(int32_t(src.size()));
    p.slot280.SetPtr(dst.data());
    entreeexterne(kSelBlockCompress, &p);
    return p.result304;
}

int32_t CallDecompress(uint8_t method, const std::vector<uint8_t>& src, int32_t srcLen, std::vector<uint8_t>& dst)
{
    parm p;
    p.slot266.SetLong(method);
    p.slot272.SetPtr(dst.data());
    p.slot276.SetLong(int32_t(dst.size()));
    p.slot280.SetPtr(src.data());
    p.slot284.SetLong(srcLen);
    entreeexterne(kSelBlockCompress, &p);
    return p.result304;
}

}  // namespace

TEST(HostEntry, SmallSelectorsAndUnservedOnes)
{
    parm p;
    int value = 0;
    p.slot272.SetPtr(&value);
    entreeexterne(kSelFreeStack, &p);
    EXPECT_EQ(p.slot276.Ptr<int>(), &value);

    p.slot266.SetLong(77);
    entreeexterne(kSelClearMethod, &p);
    EXPECT_EQ(p.slot266.Long(), 0);

    p.name10[0] = 3;
    p.real288 = 1.5;
    const parm before = p;
    for (int16_t sel : {int16_t(-249), int16_t(0), int16_t(442)}) {
        entreeexterne(sel, &p);
        EXPECT_TRUE(SameBytes(p, before)) << sel;
    }

    entreeexterne(kSelEngineReset, &p);
    EXPECT_EQ(p.result304, platform::CurResFile());
    SetHostCurResFileProc([]() -> int16_t { return -2; });
    entreeexterne(kSelEngineReset, &p);
    EXPECT_EQ(p.result304, -2);  // sign-extended
    SetHostCurResFileProc(nullptr);
}

TEST(HostEntry, BlockCompressionReportsNoGainAsZero)
{
    std::vector<uint8_t> dst(64);
    EXPECT_EQ(CallCompress(kMethodLZ3A, {'a', 'b', 'c', 'd', 'e'}, dst), 0);

    const auto random = testdata::RandomBytes(4096, 3);
    dst.assign(8192, 0);
    EXPECT_EQ(CallCompress(kMethodLZ3A, random, dst), 0);
    EXPECT_EQ(CallCompress(0, random, dst), 0);

    // Room for the stored copy is still no gain; no room at all is none either.
    EXPECT_EQ(CallCompress(kMethodLZ3A, {'a', 'b', 'c', 'd', 'e'}, dst, 64), 0);
    EXPECT_EQ(CallCompress(kMethodLZ3A, random, dst, 100), 0);
    EXPECT_EQ(CallCompress(0, random, dst, 100), 0);

    // No memory to work in is no gain either, never a length.
    const auto text = testdata::Mixed(8192, 5);
    platform::ScopedFault noMemory(platform::FaultKind::Allocation, 0, -1);
    EXPECT_EQ(CallCompress(0, text, dst), 0);
}

TEST(HostEntry, DecompressionWithoutMemoryReportsZero)
{
    const auto text = testdata::Mixed(8192, 5);
    for (uint8_t method : {kMethodLZ3A, uint8_t(0)}) {
        std::vector<uint8_t> packed(16384), plain(text.size());
        const int32_t n = CallCompress(method, text, packed);
        ASSERT_GT(n, 0);
        platform::ScopedFault noMemory(platform::FaultKind::Allocation, 0, -1);
        const int32_t got = CallDecompress(method, packed, n, plain);
        EXPECT_TRUE(got == 0 || got == int32_t(text.size())) << got;
    }
}

TEST(HostEntry, BlockRoundTripsThroughBothMethods)
{
    const auto text = testdata::Mixed(32768, 17);
    for (uint8_t method : {kMethodLZ3A, uint8_t(0), uint8_t(2)}) {
        std::vector<uint8_t> packed(65536);
        const int32_t n = CallCompress(method, text, packed);
        ASSERT_GT(n, 0);
        ASSERT_LT(n, int32_t(text.size()));
        std::vector<uint8_t> plain(text.size());
        EXPECT_EQ(CallDecompress(method, packed, n, plain), int32_t(text.size()));
        EXPECT_EQ(plain, text);

        packed[n / 2] ^= 0x10;
        packed.resize(size_t(n / 2 + 1));
        const int32_t bad = CallDecompress(method, packed, int32_t(packed.size()), plain);
        EXPECT_NE(bad, int32_t(text.size()));  // the caller fails the read
        EXPECT_NE(bad, 0);
    }
}

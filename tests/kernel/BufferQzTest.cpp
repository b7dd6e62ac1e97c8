#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "kernel/buffer/BufferQz.h"
#include "kernel/byteswap/SwapTemplates.h"
#include "platform/core/Faults.h"
#include "platform/core/Memory.h"
#include "tests/kernel/SwapTestText.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Contents(platform::Handle h)
{
    return Bytes(reinterpret_cast<uint8_t*>(*h), reinterpret_cast<uint8_t*>(*h) + platform::GetHandleSize(h));
}

}  // namespace

TEST(SerialisationBuffer, GrowsByWholeBlocksAndHandsOverItsBlock)
{
    for (uint8_t allocation : {uint8_t(0), uint8_t(1)}) {
        buffertemp b;
        ASSERT_EQ(InitBufTempForWrite(&b, 0, allocation), 0);
        EXPECT_EQ(b.capacity, 4096);
        const Bytes data(5000, 7);
        EXPECT_EQ(AddToBuff(&b, data.data(), 5000), 0);
        EXPECT_EQ(b.capacity, 16384);
        EXPECT_EQ(b.length, 5000);
        EXPECT_EQ(AddToBuff(&b, data.data(), -1), 0);  // a negative count adds nothing
        EXPECT_EQ(b.length, 5000);
        KillBuff(&b);
        EXPECT_EQ(b.block, nullptr);
        EXPECT_EQ(b.capacity, 0);
        EXPECT_EQ(b.length, 0);
        EXPECT_EQ(AddToBuff(&b, "x", 1), 0);  // a killed buffer takes nothing
        EXPECT_EQ(b.length, 0);
    }
    buffertemp b;
    ASSERT_EQ(InitBufTempForWrite(&b, 0, 1), 0);
    const unsigned char empty[1] = {0};
    const unsigned char abc[4] = {3, 'a', 'b', 'c'};
    AddStrToBuff(&b, empty);
    AddStrToBuff(&b, abc);
    AddShortToBuff(&b, -2);
    AddToBuff(&b, "xy", 2);
    platform::Handle h = GetBuffHandle(&b);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(Contents(h), (Bytes{0, 3, 'a', 'b', 'c', 0xFF, 0xFE, 'x', 'y'}));

    CReadBufferHandle reader(h, 0);
    unsigned char s[256];
    buffertemp r;
    InitBufTempForRead(&r, 0, h);
    EXPECT_EQ(GetStrFromBuf(&r, s), 0);
    EXPECT_EQ(s[0], 0);
    EXPECT_EQ(GetStrFromBuf(&r, s), 0);
    EXPECT_EQ(std::memcmp(s, abc, 4), 0);
    int16_t err = 1;
    EXPECT_EQ(GetShortFromBuf(&r, &err), -2);
    EXPECT_EQ(err, 0);
    EXPECT_EQ(GetFromBuf(&r, s, 2), 0);
    EXPECT_EQ(GetFromBuf(&r, s, 0), 0);  // nothing left, nothing asked

    // Past the end: -1, sticky, destinations untouched.
    std::memset(s, 0x5A, sizeof s);
    EXPECT_EQ(GetFromBuf(&r, s, 1), -1);
    EXPECT_EQ(GetStrFromBuf(&r, s), -1);
    EXPECT_EQ(GetLongFromBuf(&r, &err), 0);
    EXPECT_EQ(err, -1);
    EXPECT_EQ(s[0], 0x5A);

    // The object reads the same block; the handle stays ours.
    EXPECT_FALSE(reader.IsEOF());
    EXPECT_EQ(reader.Read(s, 9), 9);
    EXPECT_TRUE(reader.IsEOF());
    EXPECT_EQ(reader.ReadShort(), 0);
    EXPECT_EQ(reader.GetError(), -1);
    platform::DisposeHandle(h);
    EXPECT_TRUE(CReadBufferHandle(nullptr, 0).IsEOF());
}

TEST(SerialisationBuffer, NoMemoryIsReportedWithItsCode)
{
    for (uint8_t allocation : {uint8_t(0), uint8_t(1)}) {
        buffertemp b;
        {
            platform::ScopedFault noMemory(platform::FaultKind::Allocation, 0, -1);
            EXPECT_EQ(InitBufTempForWrite(&b, 0, allocation), -1);
        }
        EXPECT_EQ(b.block, nullptr);
        EXPECT_EQ(b.error, platform::memFullErr);
        ASSERT_EQ(InitBufTempForWrite(&b, 0, allocation), 0);
        EXPECT_EQ(AddToBuff(&b, "x", 0), 0);
        EXPECT_EQ(b.length, 0);
        KillBuff(&b);
    }
}

TEST(SerialisationBuffer, TenBytesGiveATenByteHandle)
{
    buffertemp b;
    ASSERT_EQ(InitBufTempForWrite(&b, 0, 0), 0);
    AddToBuff(&b, "0123456789", 10);
    platform::Handle h = GetBuffHandle(&b);
    EXPECT_EQ(platform::GetHandleSize(h), 10);
    KillBuff(&b);
}

TEST(SerialisationBuffer, TheSwapFlagStoresTheOtherOrder)
{
    buffertemp plain, swapped;
    ASSERT_EQ(InitBufTempForWrite(&plain, 0, 1), 0);
    ASSERT_EQ(InitBufTempForWrite(&swapped, 1, 1), 0);
    AddShortToBuff(&plain, 0x0102);
    AddShortToBuff(&swapped, 0x0102);
    AddLongToBuff(&plain, 0x01020304);
    AddLongToBuff(&swapped, 0x01020304);
    EXPECT_EQ(Contents(GetBuffHandle(&plain)), (Bytes{1, 2, 1, 2, 3, 4}));
    EXPECT_EQ(Contents(GetBuffHandle(&swapped)), (Bytes{2, 1, 4, 3, 2, 1}));
    buffertemp r;
    InitBufTempForRead(&r, 1, swapped.block);
    int16_t err = 0;
    EXPECT_EQ(GetShortFromBuf(&r, &err), 0x0102);
    EXPECT_EQ(GetLongFromBuf(&r, &err), 0x01020304);
    KillBuff(&plain);
    KillBuff(&swapped);
}

TEST(SerialisationBuffer, StructuresConvertByTemplateAndOverrunsStick)
{
    ASSERT_EQ(swaptest::Load({"Rec 130", "word", "long", "end", "Long 131", "long [2]", "end"}), 0);
    const Bytes rec{0, 1, 0, 0, 0, 2};
    buffertemp b;
    ASSERT_EQ(InitBufTempForWrite(&b, 1, 1), 0);
    EXPECT_EQ(AddStructToBuff(&b, rec.data(), 6, 130), 0);
    EXPECT_EQ(Bytes(*b.block, *b.block + 6), (Bytes{1, 0, 2, 0, 0, 0}));
    EXPECT_EQ(AddStructToBuff(&b, rec.data(), 6, 131), kSwapOverrunErr);
    EXPECT_EQ(AddShortToBuff(&b, 1), kSwapOverrunErr);
    EXPECT_EQ(b.length, 12);

    buffertemp r;
    InitBufTempForRead(&r, 1, b.block);
    Bytes back(6);
    EXPECT_EQ(GetStructFromBuf(&r, back.data(), 6, 130), 0);
    EXPECT_EQ(back, rec);
    EXPECT_EQ(GetStructFromBuf(&r, back.data(), 6, 131), kSwapOverrunErr);
    EXPECT_EQ(GetFromBuf(&r, back.data(), 0), kSwapOverrunErr);
    KillBuff(&b);
    ResetSwapTemplates();
}

TEST(SerialisationBuffer, MemoryFailuresAreSticky)
{
    buffertemp b;
    {
        platform::ScopedFault fault(platform::FaultKind::Allocation, 0);
        EXPECT_EQ(InitBufTempForWrite(&b, 0, 1), -1);
    }
    EXPECT_EQ(b.capacity, 0);
    EXPECT_EQ(b.error, platform::memFullErr);
    EXPECT_EQ(AddToBuff(&b, "x", 1), platform::memFullErr);

    ASSERT_EQ(InitBufTempForWrite(&b, 0, 0), 0);
    AddToBuff(&b, "abc", 3);
    const Bytes big(5000, 1);
    {
        platform::ScopedFault fault(platform::FaultKind::Allocation, 0);
        EXPECT_EQ(AddToBuff(&b, big.data(), 5000), platform::memFullErr);
    }
    EXPECT_EQ(AddToBuff(&b, "d", 1), platform::memFullErr);
    EXPECT_EQ(b.length, 3);
    EXPECT_EQ(Bytes(*b.block, *b.block + 3), (Bytes{'a', 'b', 'c'}));
    KillBuff(&b);
}

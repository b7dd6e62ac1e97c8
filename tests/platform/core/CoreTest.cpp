#include <gtest/gtest.h>

#include "platform/core/Clock.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"

using namespace platform;

TEST(FourCC, FirstCharacterInHighByte)
{
    static_assert(FourCC("TEXT") == 0x54455854u);
    EXPECT_EQ(FourCCText(FourCC("DDUX")), "DDUX");
}

TEST(Endian, AccessorsInBothOrders)
{
    uint8_t b[8] = {};
    WriteBE32(b, 0x01020304);
    EXPECT_EQ(b[0], 1);
    EXPECT_EQ(b[3], 4);
    EXPECT_EQ(ReadBE32(b), 0x01020304u);
    EXPECT_EQ(ReadLE32(b), 0x04030201u);
    WriteLE16(b, 0xA1B2);
    EXPECT_EQ(ReadBE16(b), 0xB2A1);
    WriteBE64(b, 0x0102030405060708ull);
    EXPECT_EQ(ReadLE64(b), 0x0807060504030201ull);
    ReverseBytes(b, 3);
    EXPECT_EQ(b[0], 3);
    EXPECT_EQ(b[2], 1);
}

TEST(Clock, VirtualClockMovesOnlyWhenTold)
{
    VirtualClock clock(100);
    SetClock(&clock);
    EXPECT_EQ(TickCount(), 100u);
    uint32_t final = 0;
    Delay(60, &final);
    EXPECT_EQ(final, 160u);
    uint32_t secs = 0;
    GetDateTime(&secs);
    EXPECT_EQ(secs, VirtualClock::kDefaultSeconds + 1);
    SetClock(nullptr);
}

TEST(Clock, LocalSecondsRoundTrip)
{
    const int64_t unix = 946684800;  // 2000-01-01 UTC
    EXPECT_EQ(MacLocalToUnix(UnixToMacLocal(unix)), unix);
}

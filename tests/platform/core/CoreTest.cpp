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

TEST(Clock, SecondsSince1904GiveTheirCalendarDay)
{
    struct Case {
        uint32_t seconds;
        int32_t day, month, year;
    };
    const Case cases[] = {
        {0, 1, 1, 1904},           {5097600, 29, 2, 1904},       {5097600 - 1, 28, 2, 1904},
        {2082844800, 1, 1, 1970},  {3034627200 + 86399, 29, 2, 2000}, {3034713600, 1, 3, 2000},
        {4294967295u, 6, 2, 2040},
    };
    for (const Case& c : cases) {
        const CivilDay d = MacSecondsToDay(c.seconds);
        EXPECT_EQ(d.day, c.day) << c.seconds;
        EXPECT_EQ(d.month, c.month) << c.seconds;
        EXPECT_EQ(d.year, c.year) << c.seconds;
    }
}

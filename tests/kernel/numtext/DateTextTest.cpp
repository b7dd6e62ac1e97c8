#include <gtest/gtest.h>

#include "kernel/numtext/DateText.h"
#include "tests/kernel/numtext/NumTextTestSupport.h"

namespace {

datum Date(platform::ConstStr255Param text)
{
    datum d{-1, -1, -1};
    evaldate(text, &d);
    return d;
}

std::string DateString(datum d, int32_t code)
{
    platform::Str255 out;
    mystrdate(d, out, code);
    return Text(out);
}

std::string TimeString(int32_t seconds, int32_t code)
{
    platform::Str255 out;
    strtime(seconds, out, code);
    return Text(out);
}

}  // namespace

TEST(DateText, IsoFormBothWays)
{
    DmySettings settings;
    datum d;
    int32_t seconds = -1;
    EXPECT_TRUE(evaltimedateT(PStr("2004-02-30T10:00:00"), &d, &seconds));
    EXPECT_EQ(d.day, 30);
    EXPECT_EQ(d.month, 2);
    EXPECT_EQ(d.year, 2004);
    EXPECT_EQ(seconds, 36000);
    EXPECT_FALSE(evaltimedateT(PStr("2004-02-30 10:00:00"), &d, &seconds));
    EXPECT_EQ(d.year, 0);
    EXPECT_EQ(seconds, 0);
    EXPECT_FALSE(evaltimedateT(PStr("2004-02-30T10:00:0"), &d, &seconds));

    platform::Str255 out;
    strtimedateT({5, 3, 7}, out, 3661);
    EXPECT_EQ(Text(out), "0007-03-05T01:01:01");
    strtimedateT({5, 3, 7}, out, 0);
    EXPECT_EQ(Text(out), "0007-03-05T00:00:00");
    strtimedateT({5, 3, 12345}, out, 90061);  // the year modulo 10000, the hours modulo 24
    EXPECT_EQ(Text(out), "2345-03-05T01:01:01");
}

TEST(DateText, EvaldateUsesTheOrderAndTheCenturyWindow)
{
    DmySettings settings;
    EXPECT_EQ(Date(PStr("5.3.79")).year, 2079);
    const datum d = Date(PStr("5.3.80"));
    EXPECT_EQ(d.day, 5);
    EXPECT_EQ(d.month, 3);
    EXPECT_EQ(d.year, 1980);
    EXPECT_EQ(Date(PStr("5.3")).year, 0);
    EXPECT_EQ(Date(PStr("0/3/1999")).month, 0);  // day 0: the null date
    EXPECT_EQ(Date(PStr("1999-12-31T00:00:00")).day, 31);

    platform::IntlSettings ymd;
    ymd.dateOrder = platform::ymd;
    platform::SetIntlSettings(ymd);
    const datum y = Date(PStr("2001 x 2 y 3"));
    EXPECT_EQ(y.year, 2001);
    EXPECT_EQ(y.month, 2);
    EXPECT_EQ(y.day, 3);

    // Without a default century the clock's epoch decides: 1900, pivot 30.
    DefaultCentury = 0;
    EXPECT_EQ(WindowedYear(29), 2029);
    EXPECT_EQ(WindowedYear(30), 1930);
    // And a reset goes back to that window.
    DefaultCentury = 19;
    PivotYear = 80;
    ResetNumTextGlobals();
    EXPECT_EQ(WindowedYear(29), 2029);
    EXPECT_EQ(WindowedYear(30), 1930);
}

TEST(DateText, Validity)
{
    EXPECT_TRUE(datevalide({29, 2, 2000}));
    EXPECT_TRUE(datevalide({0, 0, 0}));
    EXPECT_FALSE(datevalide({29, 2, 1900}));
    EXPECT_FALSE(datevalide({1, 1, 22001}));
    EXPECT_FALSE(datevalide({31, 4, 2001}));
    EXPECT_FALSE(datevalide({1, 13, 2001}));
    // Every month's last day, and the day after it.
    const int16_t last[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int16_t m = 1; m <= 12; ++m) {
        EXPECT_TRUE(datevalide({last[m - 1], m, 2001})) << m;
        EXPECT_FALSE(datevalide({int16_t(last[m - 1] + 1), m, 2001})) << m;
    }
}

TEST(DateText, Formats)
{
    DmySettings settings;
    EXPECT_EQ(DateString({5, 3, 1985}, 0), "05/03/85");
    EXPECT_EQ(DateString({5, 3, 1985}, 7), "05/03/1985");
    EXPECT_EQ(DateString({5, 3, 2085}, 0), "05/03/2085");
    EXPECT_EQ(DateString({5, 3, 1980}, 0), "05/03/80");  // the window's first year
    EXPECT_EQ(DateString({5, 3, 2079}, 0), "05/03/79");  // and its last
    EXPECT_EQ(DateString({5, 3, 1979}, 0), "05/03/1979");
    EXPECT_EQ(DateString({5, 3, 1985}, 8), "1985-03-05T00:00:00");
    EXPECT_EQ(DateString({0, 0, 0}, 3), "00/00/00");
    EXPECT_EQ(DateString({5, 3, 1985}, 1), "5/3/85");
    EXPECT_EQ(DateString({5, 3, 1985}, 2), "Tue, Mar 5, 1985");
    EXPECT_EQ(DateString({5, 3, 1985}, 3), "Tuesday, March 5, 1985");
    EXPECT_EQ(DateString({1, 1, 12000}, 5), "Saturday, January 1, 12000");
    EXPECT_EQ(DateString({1, 1, 12000}, 6), "Sat, Jan 1, 12000");
    EXPECT_EQ(DateString({1, 1, 12000}, 20), "Sat, Jan 1, 12000");
    EXPECT_EQ(DateString({1, 1, 12000}, 2), "Sat, Jan 1, 2000");  // the plain abbreviated form keeps four
}

TEST(DateText, TimeFormats)
{
    DmySettings settings;
    EXPECT_EQ(TimeString(90061, 0), "25:01:01");
    EXPECT_EQ(TimeString(3661, 2), "01:01");
    EXPECT_EQ(TimeString(0, 5), "12:00 AM");
    EXPECT_EQ(TimeString(12 * 3600 + 5 * 60, 5), "12:05 PM");
    EXPECT_EQ(TimeString(13 * 3600, 5), "1:00 PM");
    EXPECT_EQ(TimeString(3661, 3), "1 hour 1 minute 1 second");
    EXPECT_EQ(TimeString(7322, 4), "2 hours 2 minutes");
    EXPECT_EQ(TimeString(5, 3), "5 seconds");
    EXPECT_EQ(TimeString(3661, 6), "0000-00-00T01:01:01");
    EXPECT_EQ(TimeString(3605, 7), "1:0:5");
}

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "ValueTestSupport.h"
#include "toolbox/foundation/VBoolean.h"
#include "toolbox/foundation/VDate.h"
#include "toolbox/foundation/VEmpty.h"
#include "toolbox/foundation/VHour.h"
#include "toolbox/foundation/VLong.h"
#include "toolbox/foundation/VPtrStream.h"
#include "toolbox/foundation/VReal.h"
#include "toolbox/foundation/VStr.h"

namespace {

DateBlock Normalised(int16_t day, int16_t month, int16_t year)
{
    VDate date;
    date.FromDate(DateBlock{day, month, year});
    DateBlock out;
    date.ToDate(out);
    return out;
}

bool Same(const DateBlock& a, const DateBlock& b) { return a.day == b.day && a.month == b.month && a.year == b.year; }

}  // namespace

TEST(Values, DateArithmetic)
{
    EXPECT_EQ(VDate(1, 1, 0).GetSecondsSinceYear0(), 0);
    EXPECT_EQ(VDate(2, 1, 0).GetSecondsSinceYear0(), 86400);
    EXPECT_EQ(VDate(1, 3, 0).GetSecondsSinceYear0(), 60 * 86400);
    EXPECT_EQ(VDate(1, 1, 2000).GetSecondsSinceYear0(), 63113904000);
    EXPECT_EQ(VDate(2, 1, -1).GetSecondsSinceYear0(), -86400);

    EXPECT_TRUE(Same(Normalised(31, 4, 2000), DateBlock{1, 5, 2000}));
    EXPECT_TRUE(Same(Normalised(0, 3, 2000), DateBlock{29, 2, 2000}));
    EXPECT_TRUE(Same(Normalised(0, 3, 1900), DateBlock{28, 2, 1900}));
    EXPECT_TRUE(Same(Normalised(15, 13, 1999), DateBlock{15, 1, 2000}));
    EXPECT_TRUE(Same(Normalised(29, 2, 2001), DateBlock{1, 3, 2001}));
    EXPECT_TRUE(Same(Normalised(0, 1, 2000), DateBlock{31, 12, 1999}));
    EXPECT_TRUE(Same(Normalised(17, 8, 1987), DateBlock{17, 8, 1987}));

    EXPECT_EQ(VDate(5, 3, 2000).CompareTo(DateBlock{4, 4, 2000}), -1);
    EXPECT_EQ(VDate(5, 3, 2001).CompareTo(VDate(4, 4, 2000)), 1);
}

TEST(Values, StreamFormsOnBigEndianStream)
{
    EXPECT_EQ(WrittenBigEndian([](VStream& s) { s.PutValue(VDate(5, 3, 2000), true); }),
              (ByteList{0, 0, 0, 7, 0x07, 0xD0, 0, 3, 0, 5}));
    VBoolean flag;
    flag.FromBoolean(2);
    EXPECT_TRUE(flag.GetBoolean());
    EXPECT_EQ(flag.GetLong(), 2);
    EXPECT_EQ(WrittenBigEndian([&](VStream& s) { s.PutValue(flag, false); }), (ByteList{0, 2}));
    EXPECT_EQ(WrittenBigEndian([](VStream& s) { s.PutValue(VLong(-2), true); }),
              (ByteList{0, 0, 0, 3, 0xFF, 0xFF, 0xFF, 0xFE}));
    EXPECT_EQ(WrittenBigEndian([](VStream& s) { s.PutValue(VEmpty(), true); }), (ByteList{0, 0, 0, 0}));
    // Values without storage write zeros.
    EXPECT_EQ(WrittenBigEndian([](VStream& s) { s.PutValue(VDateInMem(), false); }), (ByteList(6, 0)));

    // Read back: the boolean word becomes 0 or 1, the date words go to year, month, day.
    char data[] = {0, 7, 0x07, static_cast<char>(0xD0), 0, 12, 0, 31, 0x40, 0x09, 0x21, static_cast<char>(0xFB),
                   0x54, 0x44, 0x2D, 0x18};
    VPtrStream stream(data, sizeof data);
    stream.SetCpuKind(kCpuPowerPC, kCpuIntel);
    stream.OpenReading();
    VBoolean b;
    VDate d;
    VReal r;
    EXPECT_EQ(stream.GetValue(b), 0);
    EXPECT_EQ(b.GetLong(), 1);
    EXPECT_EQ(stream.GetValue(d), 0);
    EXPECT_TRUE(Same(DateBlock{31, 12, 2000}, [&] { DateBlock x; d.ToDate(x); return x; }()));
    EXPECT_EQ(stream.GetValue(r), 0);
    EXPECT_DOUBLE_EQ(r.GetReal(), 3.141592653589793);
    VLong past;
    EXPECT_EQ(stream.GetValue(past), kStreamEndOfData);
}

TEST(Values, ConversionsSaturateAndFollowNullFlags)
{
    VLong n;
    n.FromReal(2.9);
    EXPECT_EQ(n.GetLong(), 2);
    n.FromReal(-2.9);
    EXPECT_EQ(n.GetLong(), -2);
    n.FromReal(1e12);
    EXPECT_EQ(n.GetLong(), 2147483647);
    n.FromReal(NAN);
    EXPECT_EQ(n.GetLong(), INT32_MIN);
    n.FromLong8(0x100000005);
    EXPECT_EQ(n.GetLong(), 5);
    EXPECT_EQ(VReal(-1e30).GetLong8(), INT64_MIN);
    EXPECT_EQ(VReal(65537.5).GetWord(), 1);

    // A null long cloned gives a not-null VLong holding the number.
    VLong nullLong(42);
    nullLong.SetNull(true);
    std::unique_ptr<VValue> clone(nullLong.Clone());
    EXPECT_EQ(clone->GetValueKind(), kValueLong);
    EXPECT_FALSE(clone->IsNull());
    EXPECT_EQ(clone->GetLong(), 42);

    // FromValue takes the source's flag.
    VReal real(3.7);
    real.SetNull(true);
    VLong target(1);
    target.FromValue(real);
    EXPECT_TRUE(target.IsNull());
    EXPECT_EQ(target.GetLong(), 3);

    EXPECT_FALSE(VHour(3600).GetBoolean());
    VHour hour;
    hour.FromBoolean(1);
    EXPECT_EQ(hour.GetHour(), 0);

    // In-memory values work on their caller's storage; without it they read zero.
    int32_t field = 7;
    VLongInMem inMem(&field);
    inMem.FromLong(9);
    EXPECT_EQ(field, 9);
    VLongInMem none;
    none.FromLong(9);
    EXPECT_EQ(none.GetLong(), 0);
}

TEST(Values, Comparisons)
{
    EXPECT_EQ(VLong(3).CompareTo(VReal(3.7)), 0);
    EXPECT_EQ(VReal(3.7).CompareTo(VLong(3)), 1);
    EXPECT_EQ(VReal(NAN).CompareTo(VReal(1)), -1);
    EXPECT_EQ(VEmpty().CompareTo(VLong(1)), kValuesNotComparable);
    EXPECT_EQ(VEmpty().CompareTo(VEmpty()), kValuesNotComparable);
    VBoolean two;
    two.FromBoolean(2);
    EXPECT_EQ(two.CompareTo(VBoolean(1)), 0);
    EXPECT_EQ(VBoolean(0).CompareTo(VLong(5)), -1);
    // Dates that differ in the day alone still differ.
    EXPECT_EQ(VDate(2, 1, 2000).CompareTo(VDate(1, 1, 2000)), 1);
    EXPECT_EQ(VDate(1, 1, 2000).CompareTo(VDate(2, 1, 2000)), -1);
    // A date read from a null text is null.
    VDate parsed(9, 10, 2011);
    VStr<255> dateText;
    dateText.SetNull(true);
    parsed.FromString(dateText);
    EXPECT_TRUE(parsed.IsNull());

    VEmpty empty;
    empty.SetNull(false);
    EXPECT_TRUE(empty.IsNull());
}

TEST(Values, PointerFormsRoundTrip)
{
    unsigned char buffer[32] = {};
    VLong a(-5);
    VReal b(0.25);
    VDate c(9, 10, 2011);
    VBoolean d(1);
    void* p = buffer;
    p = a.WriteToPtr(p);
    p = b.WriteToPtr(p);
    p = c.WriteToPtr(p);
    p = d.WriteToPtr(p);
    EXPECT_EQ(static_cast<unsigned char*>(p) - buffer, 4 + 8 + 6 + 1);

    VLong a2;
    VReal b2;
    VDate c2;
    VBoolean d2;
    a2.SetNull(true);
    p = buffer;
    p = a2.LoadFromPtr(p);
    p = b2.LoadFromPtr(p);
    p = c2.LoadFromPtr(p);
    d2.LoadFromPtr(p);
    EXPECT_FALSE(a2.IsNull());
    EXPECT_EQ(a2.GetLong(), -5);
    EXPECT_EQ(b2.GetReal(), 0.25);
    EXPECT_EQ(c2.CompareTo(c), 0);
    EXPECT_TRUE(d2.GetBoolean());
}

TEST(Values, TextConversions)
{
    VStr<255> text;
    VReal(0.1).ToString(text);
    VReal back;
    back.FromString(text);
    EXPECT_EQ(back.GetReal(), 0.1);
    VReal(-1234.5e-3).ToString(text);
    back.FromString(text);
    EXPECT_EQ(back.GetReal(), -1.2345);

    VLong(-2147483647).ToString(text);
    VLong n;
    n.FromString(text);
    EXPECT_EQ(n.GetLong(), -2147483647);

    text.FromMacCString(reinterpret_cast<const uint8_t*>("-1.5e2"));
    EXPECT_EQ(text.GetLong(), -150);
    text.FromMacCString(reinterpret_cast<const uint8_t*>("12.9"));
    EXPECT_EQ(text.GetLong(), 12);
    text.FromMacCString(reinterpret_cast<const uint8_t*>("2.5e-1"));
    EXPECT_EQ(text.GetReal(), 0.25);
}

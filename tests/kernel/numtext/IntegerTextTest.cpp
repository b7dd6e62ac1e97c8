#include <gtest/gtest.h>

#include <cstring>

#include <cmath>
#include <limits>

#include "kernel/numtext/IntegerText.h"
#include "kernel/numtext/NumberBridge.h"
#include "tests/kernel/numtext/NumTextTestSupport.h"

TEST(IntegerText, DecimalAndHexadecimal)
{
    platform::Str255 out;
    strint(std::numeric_limits<int32_t>::min(), out);
    EXPECT_EQ(Text(out), "-2147483648");
    strint(0, out);
    EXPECT_EQ(Text(out), "0");
    str(out, 42);
    EXPECT_EQ(Text(out), "42");

    strlongHex(255, out, true);
    EXPECT_EQ(Text(out), "0x00FF");
    strlongHex(0x12345, out, true);
    EXPECT_EQ(Text(out), "0x00012345");
    strlongHex(255, out, false);
    EXPECT_EQ(Text(out), "FF");
    strlongHex(0xFFFFFFFFu, out, false);
    EXPECT_EQ(Text(out), "FFFFFFFF");
    strlongHex(0, out, false);
    EXPECT_EQ(Text(out), "0");
}

TEST(IntegerText, EvalintSkipsWhatIsNotADigitAndFlipsOnEveryMinus)
{
    EXPECT_EQ(evalint(PStr("1-2a3")), -123);
    EXPECT_EQ(evalint(PStr("--5")), 5);
    EXPECT_EQ(evalint(PStr("")), 0);
    // Wraps at 32 bits; only the first 80 characters count.
    EXPECT_EQ(evalint(PStr("4294967297")), 1);
    EXPECT_EQ(evalint(PStr(std::string(80, 'x') + "7")), 0);
    // A text of 79 digits ends at its length, not at the byte after it.
    PStr digits(std::string(78, '0') + "1");
    digits.buffer[80] = '5';
    EXPECT_EQ(evalint(digits), 1);
}

TEST(IntegerText, SixtyFourBitConversionsAreReal)
{
    platform::Str255 out = {3, 'a', 'b', 'c'};
    int64_t v = -9223372036854775807LL - 1;
    strlong8(&v, out);
    EXPECT_EQ(Text(out), "-9223372036854775808");
    v = int64_t(1) << 40;
    EXPECT_EQ(llong2integer(&v), std::numeric_limits<int32_t>::max());
    v = -(int64_t(1) << 40);
    EXPECT_EQ(llong2integer(&v), std::numeric_limits<int32_t>::min());
    v = -77;
    EXPECT_EQ(llong2integer(&v), -77);
}

TEST(NumberBridge, DecimalTextBothWays)
{
    platform::Str255 out;
    double v = 3.14159;
    decform fixed{FIXEDDECIMAL, 2};
    Num2Str(&fixed, &v, out);
    EXPECT_EQ(Text(out), "3.14");
    decform floating{FLOATDECIMAL, 3};
    Num2Str(&floating, &v, out);
    EXPECT_EQ(Text(out), " 3.14e+0");
    v = -0.00125;
    Num2Str(&floating, &v, out);
    EXPECT_EQ(Text(out), "-1.25e-3");

    PStr text("  -12.50e2xyz");
    int16_t index = 1;
    decimal d;
    bool valid = false;
    Str2Dec(text, &index, &d, &valid);
    EXPECT_FALSE(valid);  // text follows the number
    EXPECT_EQ(index, 11);  // stops at the 'x'
    EXPECT_EQ(dec2num(&d), -1250.0);
    EXPECT_EQ(Str2Num(PStr("0.25")), 0.25);
    EXPECT_EQ(Str2Num(PStr("1e400")), std::numeric_limits<double>::infinity());
    EXPECT_EQ(Str2Num(PStr("1e-400")), 0.0);
    EXPECT_TRUE(std::isnan(Str2Num(PStr("nan"))));

    index = 1;
    Str2Dec(PStr("-"), &index, &d, &valid);
    EXPECT_TRUE(valid);  // a sign alone may still become a number
    index = 1;
    Str2Dec(PStr("-x"), &index, &d, &valid);
    EXPECT_FALSE(valid);
    // A minus after the digits ends the number and spoils the whole.
    index = 1;
    Str2Dec(PStr("12-5"), &index, &d, &valid);
    EXPECT_FALSE(valid);
    EXPECT_EQ(index, 3);
    EXPECT_EQ(dec2num(&d), 12.0);
    // One stray character at the very end spoils it too.
    index = 1;
    Str2Dec(PStr("5x"), &index, &d, &valid);
    EXPECT_FALSE(valid);
    EXPECT_EQ(Str2Num(PStr("3e19")), 3e19);  // every exponent digit, 9 included
    // A record that claims more than its 20 digits is read for 20.
    std::memset(&d, '7', sizeof d);
    d.sgn = 0;
    d.exp = 0;
    d.sig[0] = 21;
    EXPECT_EQ(dec2num(&d), 77777777777777777777.0);
    // Past 20 significant digits the integer's digits still count.
    EXPECT_EQ(Str2Num(PStr("1234567890123456789012345")), 1234567890123456789012345.0);
    // Zero and the special values fill the whole record, whatever it held.
    for (const char* special : {"0.000", "inf", "nan"}) {
        std::memset(&d, 0x7F, sizeof d);
        index = 1;
        Str2Dec(PStr(special), &index, &d, &valid);
        EXPECT_EQ(d.sig[0], 1) << special;
    }
    EXPECT_EQ(dec2num(&d) == dec2num(&d), false);  // the last one is a NaN
    for (const char* prefix : {"-5", "1e", "1e-", "-.5", "2.5e-1"}) {
        index = 1;
        Str2Dec(PStr(prefix), &index, &d, &valid);
        EXPECT_TRUE(valid) << prefix;
    }
}

TEST(NumberBridge, ExtendedRoundTripAndRounding)
{
    for (double v : {0.0, 1.0, -2.5, 1e300, 5e-324, std::numeric_limits<double>::infinity()}) {
        extended80 e;
        double back = 0;
        Convert8To10(&v, &e);
        Convert10To8(&e, &back);
        EXPECT_EQ(back, v);
    }
    double one = 1.0;
    extended80 e;
    Convert8To10(&one, &e);
    EXPECT_EQ(e.bytes[0], 0x3F);
    EXPECT_EQ(e.bytes[1], 0xFF);
    EXPECT_EQ(e.bytes[2], 0x80);

    double v = 2.5;
    SetRound(0);
    EXPECT_EQ(Num2Longint(&v), 2);
    SetRound(1);
    EXPECT_EQ(Num2Longint(&v), 3);
    SetRound(0);
    v = 1e12;
    EXPECT_EQ(Num2Integer(&v), 32767);
    EXPECT_EQ(Num2Longint(&v), 2147483647);

    double a = 1.0, b = 1.0 + 5e-7, c = 1.01, d = 1.0 + 5e-6;
    epsilon = 0.1;
    ResetNumTextGlobals();  // one millionth
    EXPECT_TRUE(egall(&a, &b));
    EXPECT_FALSE(egall(&a, &c));
    EXPECT_FALSE(egall(&a, &d));
}

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/CustRecord.h"
#include "kernel/formats/FormatChars.h"
#include "kernel/formats/InstallKernelTextHooks.h"
#include "kernel/formats/StringFormats.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "tests/kernel/formats/FormatTestSupport.h"
#include "toolbox/foundation/KernelTextHooks.h"
#include "toolbox/foundation/VStr.h"

namespace {

class RealText : public testing::Test {
protected:
    void SetUp() override
    {
        platform::ResetResourceManager();
        ResetFormatChars();
        ResetCollation();
    }
    void TearDown() override
    {
        DisposeCust();
        ResetKernelTextHooks();
    }

    static std::string Text(double value, int32_t dot = 1)
    {
        platform::Str255 text;
        std::memset(text, 0xEE, sizeof text);
        strreel2(&value, text, dot);
        double stored;
        std::memcpy(&stored, text + 1 + text[0], sizeof stored);
        EXPECT_TRUE(std::memcmp(&stored, &value, sizeof value) == 0) << "value stored behind " << value;
        return FromPString(text);
    }

    static double Read(const std::string& text, int32_t dot = 1)
    {
        platform::Str255 s;
        ToPString(text, s);
        double value = -99;
        evalreel(s, &value, dot);
        return value;
    }
};

TEST_F(RealText, NoiseDigitsAreCleanedUp)
{
    EXPECT_EQ(Text(1.3), "1.3");
    EXPECT_EQ(Text(1.2), "1.2");
    EXPECT_EQ(Text(0.1), "0.1");
    EXPECT_EQ(Text(12), "12");
    EXPECT_EQ(Text(0), "0");
    EXPECT_EQ(Text(1), "1");
    EXPECT_EQ(Text(-1), "-1");
    EXPECT_EQ(Text(-2.5), "-2.5");
    EXPECT_EQ(Text(0.9999999999999999), "1");  // the carry runs through the separator
    EXPECT_EQ(Text(99.99999999999999), "100");
    EXPECT_EQ(Text(0.3 - 0.1), "0.2");
    EXPECT_EQ(Text(1234567.125), "1234567.125");
}

TEST_F(RealText, NineteenDigitsWhenTheCleanUpDoesNotApply)
{
    EXPECT_EQ(Text(1.0 / 3.0), "0.3333333333333333148");
    EXPECT_EQ(Text(2.0 / 3.0), "0.6666666666666666297");
}

TEST_F(RealText, ScientificOutsideFifteenDigits)
{
    EXPECT_EQ(Text(1e20), "1.00000e+20");
    EXPECT_EQ(Text(-1e20), "-1.00000e+20");
    EXPECT_EQ(Text(1.5e-17), "1.50000e-17");
    EXPECT_EQ(Text(std::numeric_limits<double>::quiet_NaN()), "");
    EXPECT_EQ(Text(std::numeric_limits<double>::infinity()), "INF");
}

TEST_F(RealText, SeparatorChoice)
{
    decpoint[1] = ',';
    EXPECT_EQ(Text(2.5, 0), "2,5");
    EXPECT_EQ(Text(2.5, 1), "2.5");
    EXPECT_EQ(Text(1e20, 0), "1,00000e+20");
    EXPECT_EQ(Read("1,5", 1), 15);  // with the period choice the comma is dropped
    EXPECT_EQ(Read("1,5", 0), 1.5);
}

TEST_F(RealText, NoiseDigitCountComesFromTheSettingsRecord)
{
    EXPECT_EQ(NoiseDigitCount(), 5);
    cust = platform::NewHandleClear(kCustSize);
    platform::WriteBE16(*cust + kCustNoiseDigits, 2);
    EXPECT_EQ(NoiseDigitCount(), 2);
    EXPECT_EQ(Text(1.3), "1.3");
    // With one noise digit the last digit but one of 1.3 is a 4: all digits stay.
    platform::WriteBE16(*cust + kCustNoiseDigits, 1);
    EXPECT_EQ(Text(1.3), "1.300000000000000044");
    platform::WriteBE16(*cust + kCustNoiseDigits, static_cast<uint16_t>(-3));
    EXPECT_EQ(NoiseDigitCount(), 5);
}

TEST_F(RealText, LenientReading)
{
    EXPECT_EQ(Read("abc12.5xyz"), 12.5);
    EXPECT_EQ(Read(""), 0);
    EXPECT_EQ(Read("."), 0);
    EXPECT_EQ(Read("no digits"), 0);
    EXPECT_EQ(Read("-3.25"), -3.25);
    EXPECT_EQ(Read("1.5e3"), 1500);
    EXPECT_EQ(Read("e5"), 5);
    EXPECT_EQ(Read(std::string(200, '7')), Read(std::string(80, '7')));  // 80 characters read
}

TEST_F(RealText, ToolboxStringsReachTheKernelThroughTheHooks)
{
    InstallKernelTextHooks();
    VStr<80> text;
    text.AppendReal(0.1);
    uint8_t p[256];
    text.ToPString(p, 255, kCharSetMac);
    EXPECT_EQ(FromPString(p), "0.1");
    text.FromMacCString(reinterpret_cast<const uint8_t*>(""));
    text.AppendReal(0.3 - 0.1);  // the kernel's text, not the shortest round trip
    text.ToPString(p, 255, kCharSetMac);
    EXPECT_EQ(FromPString(p), "0.2");

    VStr<80> format;
    format.FromMacCString(reinterpret_cast<const uint8_t*>("###,##0.00"));
    text.FromMacCString(reinterpret_cast<const uint8_t*>("1234.5"));
    text.ApplyNumericFormat(format);
    text.ToPString(p, 255, kCharSetMac);
    EXPECT_EQ(FromPString(p), "1,234.50");

    format.FromMacCString(reinterpret_cast<const uint8_t*>("(###) ###-####"));
    text.FromMacCString(reinterpret_cast<const uint8_t*>("5551234567"));
    text.ApplyStringFormat(format);
    text.ToPString(p, 255, kCharSetMac);
    EXPECT_EQ(FromPString(p), "(555) 123-4567");
}

}  // namespace

#include "toolbox/foundation/VEngine.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/core/Memory.h"
#include "platform/text/IntlSettings.h"
#include "toolbox/foundation/KernelTextHooks.h"
#include "toolbox/foundation/VDate.h"
#include "toolbox/foundation/VStr.h"

namespace {

int16_t gSeenSelector;
std::string gSeenText;
int32_t gSeenValue;

void FakeHost(int16_t selector, parm* block)
{
    gSeenSelector = selector;
    gSeenText.assign(reinterpret_cast<const char*>(block->text310 + 1), block->text310[0]);
    gSeenValue = block->slot272.Long();
    block->result304 = 47100;
}

}  // namespace

TEST(Engine, EvalTimeAsksTheHostWithTheTextAndAZeroedBlock)
{
    VStr<255> text;
    text.FromCString(reinterpret_cast<const uint8_t*>("13:05"), kCharSetMac);
    EXPECT_EQ(VEngine::EvalTime(text), 0) << "no host: no time";
    gCallQz = FakeHost;
    EXPECT_EQ(VEngine::EvalTime(text), 47100);
    EXPECT_EQ(gSeenSelector, kSelEvalTime);
    EXPECT_EQ(gSeenText, "13:05");
    EXPECT_EQ(gSeenValue, 11);
    gCallQz = nullptr;
}

TEST(Engine, BlockCompressionAndPostedEventsGoToTheHost)
{
    char src[8] = "abcdefg", dst[8] = {};
    EXPECT_EQ(VEngine::Compress(1, src, 8, dst), 0) << "no host: nothing compressed";
    EXPECT_EQ(VEngine::Decompress(1, src, 8, dst, 8), 0);
    gCallQz = FakeHost;
    gSeenSelector = 0;
    EXPECT_EQ(VEngine::Compress(1, src, 8, dst), 47100);
    EXPECT_EQ(gSeenSelector, kSelBlockCompress);
    gSeenSelector = 0;
    EXPECT_EQ(VEngine::Decompress(1, src, 8, dst, 8), 47100);
    EXPECT_EQ(gSeenSelector, kSelBlockCompress);
    VEngine::ProcessPostQzEvent(nullptr, 42);
    EXPECT_EQ(gSeenSelector, kSelProcessPostQzEvent);
    EXPECT_EQ(gSeenValue, 42);
    gCallQz = nullptr;
}

namespace {

double gSeenReal;

// Formats reals the way a host with a comma separator would, and keeps its
// two-digit years in 1950..2049.
void TextHost(int16_t selector, parm* block)
{
    gSeenSelector = selector;
    gSeenValue = block->slot272.Long();
    gSeenText.assign(reinterpret_cast<const char*>(block->text310 + 1), block->text310[0]);
    if (selector == kSelFormatReal) {
        gSeenReal = block->real288;
        std::memcpy(block->text310, "\x03" "2,5", 4);
    } else if (selector == kSelCenturyInfo) {
        block->slot272.SetLong(50);
        block->slot276.SetLong(19);
    }
}

struct DayMonthYear {
    DayMonthYear()
    {
        platform::IntlSettings s;
        s.dateOrder = platform::dmy;
        platform::SetIntlSettings(s);
    }
    ~DayMonthYear()
    {
        platform::ResetIntlSettings();
        gCallQz = nullptr;
    }
};

// Reading text into a date value replaces the date it held.
TEST(Engine, DateValuesReadTheirText)
{
    DayMonthYear settings;
    VDate date(DateBlock{1, 2, 2003});
    VStr<255> text;
    text.FromUniCString(u"5/3/1985");
    date.FromString(text);
    EXPECT_FALSE(date.IsNull());
    DateBlock read;
    date.ToDate(read);
    EXPECT_EQ(read.day, 5);
    EXPECT_EQ(read.month, 3);
    EXPECT_EQ(read.year, 1985);
}

DateBlock DateOf(const char16_t* text)
{
    VStr<255> s;
    s.FromUniCString(text);
    DateBlock date{};
    s.ToDate(date);
    return date;
}

}  // namespace

TEST(Engine, RealTextAndCenturyWindowComeFromTheHost)
{
    DayMonthYear settings;
    VStr<255> text;
    text.FromReal(0.25);
    EXPECT_EQ(text.GetCFString(), u"0.25") << "no host: the toolbox's own text";
    int32_t pivot = -1, century = -1;
    EXPECT_EQ(VEngine::GetCenturyInfo(pivot, century), 0);
    EXPECT_EQ(pivot, 0);
    EXPECT_EQ(century, 0);

    gCallQz = TextHost;
    text.FromReal(2.5);
    EXPECT_EQ(gSeenSelector, kSelFormatReal);
    EXPECT_EQ(gSeenValue, 1);
    EXPECT_EQ(gSeenReal, 2.5);
    EXPECT_EQ(gSeenText, "") << "the default form has an empty format";
    EXPECT_EQ(text.GetCFString(), u"2,5");
    VStr<20> format;
    format.FromUniCString(u"0.00");
    VEngine::FormatReal(2.5, format, text);
    EXPECT_EQ(gSeenText, "0.00") << "a format goes with the value";
    // Integers shown as reals take the same road.
    text.FromLong(3, NumericFormat{2});
    EXPECT_EQ(gSeenReal, 3.0);

    VEngine::GetCenturyInfo(pivot, century);
    EXPECT_EQ(pivot, 50);
    EXPECT_EQ(century, 19);
    EXPECT_EQ(DateOf(u"1/2/49").year, 2049);
    EXPECT_EQ(DateOf(u"1/2/50").year, 1950);
    EXPECT_EQ(DateOf(u"1/2/1849").year, 1849);
}

// Without a host the kernel's own text services answer: reals in their dot
// form, the century window as they keep it.
TEST(Engine, WithoutAHostTheKernelsTextServicesAnswer)
{
    static int32_t seenDot = -1;
    gKernelTextHooks.realToText = [](const double*, uint8_t* dest, int32_t dot) {
        seenDot = dot;
        dest[0] = 1;
        dest[1] = 'k';
    };
    gKernelTextHooks.centuryInfo = [](int32_t* pivot, int32_t* century) { *pivot = 30, *century = 20; };
    VStr<255> text;
    text.FromReal(1.5);
    EXPECT_EQ(text.GetCFString(), u"k");
    EXPECT_EQ(seenDot, 1);
    int32_t pivot = -1, century = -1;
    VEngine::GetCenturyInfo(pivot, century);
    EXPECT_EQ(pivot, 30);
    EXPECT_EQ(century, 20);
    ResetKernelTextHooks();
}

// A picture value's picture: handed over when no copy is asked for, else
// copied and left with the value.
TEST(Engine, APicturesPictureIsCopiedOrHandedOver)
{
    static platform::Handle held = nullptr;
    static int32_t detached = 0;
    VImageDataAccess access;
    access.getPicture = [](const VImageData&) { return held; };
    access.getImageKind = [](const VImageData&) { return kImageKindPicture; };
    access.detachPicture = [](VImageData&) { return ++detached, held; };
    SetImageDataAccess(access);
    held = platform::NewHandle(4);
    std::memcpy(*held, "PICT", 4);
    alignas(16) char storage[64] = {};  // the access procedures never look inside
    VImageData& image = *reinterpret_cast<VImageData*>(storage);
    platform::Handle copy = VEngine::GetMacPicture(image, true, false);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::memcmp(*copy, "PICT", 4), 0);
    EXPECT_EQ(detached, 0);
    platform::DisposeHandle(copy);
    platform::Handle own = VEngine::GetMacPicture(image, false, false);
    EXPECT_EQ(detached, 1);
    platform::DisposeHandle(own);
    SetImageDataAccess({});
}

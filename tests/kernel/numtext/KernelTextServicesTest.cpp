#include <gtest/gtest.h>

#include "kernel/hostentry/HostEntry.h"
#include "kernel/numtext/KernelTextServices.h"
#include "tests/kernel/numtext/NumTextTestSupport.h"
#include "toolbox/foundation/KernelTextHooks.h"
#include "toolbox/foundation/VStr.h"

TEST(KernelTextServices, HostSelectorsAndToolboxHooks)
{
    DmySettings settings;
    parm block;
    block.real288 = 2.5;
    entreeexterne(kSelFormatReal, &block);
    EXPECT_EQ(Text(block.text310), "2.5");

    parm time;
    const PStr text("1:30 PM");
    std::memcpy(time.text310, text.buffer, 8);
    entreeexterne(kSelEvalTime, &time);
    EXPECT_EQ(time.result304, 48600);
    // A text of the full 255 characters is read to its last one.
    time.text310[0] = 255;
    std::memset(time.text310 + 1, ' ', 248);
    std::memcpy(time.text310 + 249, "1:30 PM", 7);
    entreeexterne(kSelEvalTime, &time);
    EXPECT_EQ(time.result304, 48600);

    parm century;
    entreeexterne(kSelCenturyInfo, &century);
    EXPECT_EQ(century.slot272.Long(), 80);
    EXPECT_EQ(century.slot276.Long(), 19);

    InstallKernelTextServices();
    VStr<255> s;
    s.FromReal(0.25);
    EXPECT_EQ(s.GetReal(), 0.25);
    s.FromHour(90061, HourFormat{});
    EXPECT_EQ(s.GetCFString(), u"25:01:01");
    s.FromDate(DateBlock{5, 3, 1985}, DateFormat{7});
    EXPECT_EQ(s.GetCFString(), u"05/03/1985");
    DateBlock date;
    s.FromUniCString(u"31/12/79");
    s.ToDate(date);
    EXPECT_EQ(date.year, 2079);
    ResetKernelTextHooks();
}

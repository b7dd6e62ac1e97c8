#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "kernel/hostentry/HostEntry.h"
#include "kernel/numtext/NumTextGlobals.h"
#include "kernel/startup/KernelGlobals.h"
#include "kernel/startup/StartupServices.h"
#include "kernel/tasks/TaskRecords.h"
#include "looks/Startup.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/system/VSystem.h"

using platform::FourCC;

namespace {

// The shipped resources, at the bottom of the chain, and the shipped
// templates in the build tree's extensions folder.
TEST(Startup, RunsInOrderAgainstTheShippedResources)
{
    setenv("QZ_EXTENSIONS_DIR", QZ_EXTENSIONS, 1);
    const int16_t ref = platform::OpenResFile(QZ_APP_RESOURCES, platform::fsRdPerm, platform::ResFileFork::Data);
    ASSERT_GT(ref, 0);

    ASSERT_EQ(StartQz(), 0) << StartQzMessage();
    EXPECT_EQ(gCallQz, entreeexterne);
    EXPECT_NE(gDefaultIntl, nullptr);
    ASSERT_NE(gSystem, nullptr);
    EXPECT_TRUE(gSystem->IsValidFileKind(kAnyFileKind));
    EXPECT_TRUE(gSystem->IsValidFileKind(FourCC("HTML")));
    EXPECT_EQ(gSystem->GetWinKindFromVirtualKind(FourCC("BASA")), FourCC("REA ") & 0xFFFFFF00u)
        << "the program's document kind";
    EXPECT_EQ(gSystem->GetTimeSeparator(), u':');

    EXPECT_EQ(undefint, 32767);
    EXPECT_EQ(undeflong, 2147483647);
    EXPECT_DOUBLE_EQ(epsilon, 1e-6);
    EXPECT_EQ(createur, FourCC("Qz+6"));
    EXPECT_EQ(applres, ref);
    ASSERT_NE(curtu, nullptr);
    EXPECT_EQ(curtu->tasknum, 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(curtu->name + 1), curtu->name[0]), "Main task");
    EXPECT_EQ(DefaultCentury, 19);
    EXPECT_EQ(PivotYear, 80);
    EXPECT_EQ(myfont, 0);
    EXPECT_EQ(mybigsize, 12);
    EXPECT_EQ(mysmalsize, 9);
    ASSERT_NE(cust, nullptr);
    EXPECT_GE(platform::GetHandleSize(cust), kCustMinSize);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(macQzXFolder + 1), macQzXFolder[0]), "MacQzX");

    platform::CloseResFile(ref);
}

}  // namespace

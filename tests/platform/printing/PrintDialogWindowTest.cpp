// The page set-up and print dialogs on the virtual screen, driven by
// scripted clicks and keys, as sheets calling their completion once.
#include <gtest/gtest.h>

#include "platform/printing/Printing.h"
#include "tests/platform/controls/ControlFixture.h"
#include "tests/platform/printing/PrintTestSupport.h"

namespace platform::testing {
namespace {

int completions = 0;
Boolean completedWith = false;
void Done(PMPrintSession, WindowRecord*, Boolean accepted)
{
    ++completions;
    completedWith = accepted;
}

class PrintDialogWindowTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        ASSERT_EQ(PMCreateSession(&session), kPMNoError);
        PMCreatePrintSettings(&settings);
        PMCreatePageFormat(&format);
        PMSessionDefaultPrintSettings(session, settings);
        PMSessionDefaultPageFormat(session, format);
        completions = 0;
    }
    void TearDown() override
    {
        PMRelease(format);
        PMRelease(settings);
        PMRelease(session);
        ControlTest::TearDown();
    }
    static Point At(int16_t h, int16_t v) { return printtest::DialogPoint(h, v); }
    PMPrintSession session = nullptr;
    PMPrintSettings settings = nullptr;
    PMPageFormat format = nullptr;
};

TEST_F(PrintDialogWindowTest, PageSetupTakesPaperOrientationAndScaleAsASheet)
{
    WindowRef document = Window();
    ASSERT_EQ(PMSessionUseSheets(session, document, Done), kPMNoError);
    const Point a4 = At(290, 24), landscape = At(290, 56), scale = At(146, 92);
    Script script;
    script.Wait(5).Click(a4.h, a4.v).Wait(2).Click(landscape.h, landscape.v).Wait(2);
    script.DoubleClick(scale.h, scale.v).Wait(2).Type("50").Key("return");
    Play(std::move(script));
    Boolean accepted = false;
    ASSERT_EQ(PMSessionPageSetupDialog(session, format, &accepted), kPMNoError);
    EXPECT_TRUE(accepted);
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(completedWith);
    PMPaper paper;
    PMOrientation orientation;
    double percent = 0;
    PMGetPaper(format, &paper);
    PMGetOrientation(format, &orientation);
    PMGetScale(format, &percent);
    EXPECT_EQ(paper, PMPaper::A4);
    EXPECT_EQ(orientation, kPMLandscape);
    EXPECT_DOUBLE_EQ(percent, 50);
    EXPECT_TRUE(run->watchdogMessage.empty()) << run->watchdogMessage;
}

TEST_F(PrintDialogWindowTest, PrintTakesCopiesAndPagesAndCancelKeepsThem)
{
    const Point copies = At(116, 24), from = At(120, 80), fromField = At(180, 80), toField = At(266, 80);
    Script script;
    script.Wait(5).DoubleClick(copies.h, copies.v).Wait(2).Type("3").Click(from.h, from.v).Wait(2);
    script.DoubleClick(fromField.h, fromField.v).Wait(2).Type("2").Click(toField.h, toField.v).Wait(2).Type("4");
    script.Key("return");
    script.Wait(10);
    // The second dialog is cancelled with Escape: nothing changes.
    script.DoubleClick(copies.h, copies.v).Wait(2).Type("9").Key("escape");
    Play(std::move(script));
    Boolean accepted = false;
    ASSERT_EQ(PMSessionPrintDialog(session, settings, format, &accepted), kPMNoError);
    EXPECT_TRUE(accepted);
    uint32_t n = 0, first = 0, last = 0;
    PMGetCopies(settings, &n);
    PMGetFirstPage(settings, &first);
    PMGetLastPage(settings, &last);
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(first, 2u);
    EXPECT_EQ(last, 4u);
    ASSERT_EQ(PMSessionPrintDialog(session, settings, format, &accepted), kPMNoError);
    EXPECT_FALSE(accepted);
    PMGetCopies(settings, &n);
    EXPECT_EQ(n, 3u);
    EXPECT_EQ(completions, 0);  // no sheets asked for
}

}  // namespace
}  // namespace platform::testing

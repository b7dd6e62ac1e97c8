// The print dialogs at their edges: a last page before the first refused,
// clicks on the last row of a button and just below one, and the buttons
// showing the settings the dialog was given.
#include <gtest/gtest.h>

#include <vector>

#include "platform/printing/Printing.h"
#include "tests/platform/controls/ControlFixture.h"
#include "tests/platform/printing/PrintTestSupport.h"

namespace platform::testing {
namespace {

class PrintDialogEdges : public ControlTest {
protected:
    static Point At(int16_t h, int16_t v) { return printtest::DialogPoint(h, v); }
    // The values of the front dialog's items, read while it shows.
    static std::vector<int16_t> Values(const std::vector<DialogItemIndex>& items)
    {
        std::vector<int16_t> values;
        DialogRef d = GetDialogFromWindow(FrontWindow());
        for (DialogItemIndex item : items) {
            ControlRef c = nullptr;
            values.push_back(d && GetDialogItemAsControl(d, item, &c) == noErr ? GetControlValue(c) : int16_t(-1));
        }
        return values;
    }
    printtest::Session objects;
    PMPrintSession session = objects.session;
    PMPrintSettings settings = objects.settings;
    PMPageFormat format = objects.format;
};

TEST_F(PrintDialogEdges, ALastPageBeforeTheFirstIsRefusedAndTheSettingsStay)
{
    const Point from = At(120, 80), fromField = At(180, 80), toField = At(266, 80);
    Script script;
    script.Wait(5).Click(from.h, from.v).Wait(2).DoubleClick(fromField.h, fromField.v).Wait(2).Type("4");
    script.Click(toField.h, toField.v).Wait(2).Type("2").Key("return");
    script.Wait(5).Key("escape");
    Play(std::move(script));
    const uint32_t beeps = SysBeepCount();
    Boolean accepted = true;
    ASSERT_EQ(PMSessionPrintDialog(session, settings, format, &accepted), kPMNoError);
    EXPECT_FALSE(accepted);
    EXPECT_EQ(SysBeepCount(), beeps + 1) << "the refusal beeps once";
    uint32_t first = 0, last = 0;
    PMGetFirstPage(settings, &first);
    PMGetLastPage(settings, &last);
    EXPECT_EQ(first, 1u);
    EXPECT_EQ(last, kPMPrintAllPages);
}

TEST_F(PrintDialogEdges, OnePageAndTheMostCopiesAreTakenOneMoreCopyIsRefused)
{
    const Point from = At(120, 80), fromField = At(180, 80), toField = At(266, 80), copies = At(116, 24);
    struct Case {
        const char* copies;
        const char* first;
        const char* last;
        bool accepted;
        uint32_t wantCopies, wantFirst, wantLast;
    };
    const Case cases[] = {
        {"1", "4", "4", true, 1, 4, 4},                           // one page: from and to the same
        {"999", nullptr, nullptr, true, 999, 1, kPMPrintAllPages},
        {"1000", nullptr, nullptr, false, 1, 1, kPMPrintAllPages},
    };
    for (const Case& k : cases) {
        printtest::Session fresh;
        Script script;
        script.Wait(5).DoubleClick(copies.h, copies.v).Wait(2).Type(k.copies);
        if (k.first) {
            script.Click(from.h, from.v).Wait(2).DoubleClick(fromField.h, fromField.v).Wait(2).Type(k.first);
            script.Click(toField.h, toField.v).Wait(2).Type(k.last);
        }
        script.Key("return");
        if (!k.accepted) script.Wait(5).Key("escape");
        Play(std::move(script));
        const uint32_t beeps = SysBeepCount();
        Boolean accepted = !k.accepted;
        ASSERT_EQ(PMSessionPrintDialog(fresh.session, fresh.settings, fresh.format, &accepted), kPMNoError);
        EXPECT_EQ(bool(accepted), k.accepted) << k.copies;
        EXPECT_EQ(SysBeepCount(), beeps + (k.accepted ? 0 : 1)) << k.copies;
        uint32_t n = 0, first = 0, last = 0;
        PMGetCopies(fresh.settings, &n);
        PMGetFirstPage(fresh.settings, &first);
        PMGetLastPage(fresh.settings, &last);
        EXPECT_EQ(n, k.wantCopies) << k.copies;
        EXPECT_EQ(first, k.wantFirst) << k.copies;
        EXPECT_EQ(last, k.wantLast) << k.copies;
    }
}

TEST_F(PrintDialogEdges, TheButtonsShowTheFormatAndTheirLastRowTakesAClick)
{
    PMSetOrientation(format, kPMLandscape, false);
    // Letter (4), A4 (5), Portrait (7), Landscape (8).
    std::vector<int16_t> shown, afterClick;
    const Point a4LastRow = At(290, 31);
    Script script;
    script.Wait(5).Screenshot("shown").Click(a4LastRow.h, a4LastRow.v).Wait(2).Screenshot("after");
    script.Key("return");
    PlayWithProbe(std::move(script), [&](const std::string& name) {
        (name == "shown" ? shown : afterClick) = Values({4, 5, 7, 8});
    });
    Boolean accepted = false;
    ASSERT_EQ(PMSessionPageSetupDialog(session, format, &accepted), kPMNoError);
    EXPECT_TRUE(accepted);
    EXPECT_EQ(shown, (std::vector<int16_t>{1, 0, 0, 1}));
    EXPECT_EQ(afterClick, (std::vector<int16_t>{0, 1, 0, 1}));
    PMPaper paper = PMPaper::Letter;
    PMGetPaper(format, &paper);
    EXPECT_EQ(paper, PMPaper::A4);
}

TEST_F(PrintDialogEdges, AClickJustBelowARadioButtonChoosesNothing)
{
    // "From:" spans rows 72 to 87; row 88 is below it.
    std::vector<int16_t> after;
    const Point below = At(120, 88), above = At(120, 87);
    Script script;
    script.Wait(5).Click(below.h, below.v).Wait(2).Screenshot("below").Click(above.h, above.v).Wait(2);
    script.Screenshot("above").Key("escape");
    std::vector<int16_t> onRow87;
    PlayWithProbe(std::move(script), [&](const std::string& name) {
        (name == "below" ? after : onRow87) = Values({7, 8});
    });
    Boolean accepted = true;
    ASSERT_EQ(PMSessionPrintDialog(session, settings, format, &accepted), kPMNoError);
    EXPECT_FALSE(accepted);
    EXPECT_EQ(after, (std::vector<int16_t>{1, 0})) << "All stays chosen";
    EXPECT_EQ(onRow87, (std::vector<int16_t>{0, 1}));
}

}  // namespace
}  // namespace platform::testing

// The page set-up and print dialogs on the virtual screen, driven by
// scripted clicks and keys, as sheets calling their completion once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "platform/printing/Printing.h"
#include "tests/platform/controls/ControlFixture.h"
#include "tests/platform/filedialogs/NavTestSupport.h"
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

// The PDF files a job makes are named after it: Save as PDF proposes its
// file's name followed by its words and ".pdf", the file's name cut at a
// character so that the whole keeps its type (253 bytes); the printer
// spools into the documents folder under that name, then " 2.pdf" and on.
// Without a name the job is "Print". Each proposal taken makes its file,
// and the Print button prints to the printer again after a Save as PDF.
TEST_F(PrintDialogWindowTest, ThePdfFilesAreNamedAfterTheJob)
{
    const std::string euro = "\xE2\x82\xAC";
    struct Row {
        std::string file, proposed, second;  // the PDF files' names before " objects"
    };
    std::vector<Row> rows = {
        {"Out.QzB", "Out.QzB", "Out.QzB"},
        {"D\xC3\xA9mo \xE2\x82\xAC.QzB", "D\xC3\xA9mo \xE2\x82\xAC.QzB", "D\xC3\xA9mo \xE2\x82\xAC.QzB"},
        {"a:b.QzB", "a:b.QzB", "a:b.QzB"},
        {"\xE3\x83\x87\xE3\x83\xA2.QzB", "\xE3\x83\x87\xE3\x83\xA2.QzB", "\xE3\x83\x87\xE3\x83\xA2.QzB"},
    };
    for (size_t length = 245; length <= 255; ++length) {
        rows.push_back({std::string(length - 4, 'n') + ".QzB", std::string(241, 'n'), std::string(239, 'n')});
        std::string euros;
        for (size_t i = 0; i < (length - 6) / 3; ++i) euros += euro;
        const std::string cut = "ab" + euros.substr(0, 237);
        if ((length - 6) % 3 == 0) rows.push_back({"ab" + euros + ".QzB", cut, cut});
    }
    rows.push_back({"", "Print", "Print"});  // no job name: " objects" not said
    navtest::Folder folder;
    const std::string documents = folder.Path("Sub");
    ::setenv("QZ_DOCUMENTS_DIR", documents.c_str(), 1);
    const Point saveAsPdf = At(72, 160);
    auto madeThere = [&] {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(documents)) {
            const std::string name = e.path().filename();
            if (name != "c.QzB" && name.rfind("._", 0) != 0) names.push_back(name);
            if (name != "c.QzB") std::filesystem::remove(e.path());
        }
        std::sort(names.begin(), names.end());
        return names;
    };
    auto print = [&] {
        ASSERT_EQ(PMSessionBeginDocument(session, settings, format), kPMNoError);
        ASSERT_EQ(PMSessionBeginPage(session, format, nullptr), kPMNoError);
        ASSERT_EQ(PMSessionEndPage(session), kPMNoError);
        ASSERT_EQ(PMSessionEndDocument(session), kPMNoError);
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        const std::string words = row.file.empty() ? "" : " objects";
        ASSERT_EQ(PMPrintSettingsSetJobName(settings, row.file, words), kPMNoError);
        // The printer, twice.
        for (int n = 0; n < 2; ++n) {
            ASSERT_EQ(PMSessionSetDestination(session, settings, kPMDestinationPrinter, "", ""), kPMNoError);
            print();
        }
        EXPECT_EQ(madeThere(),
                  (std::vector<std::string>{row.second + words + " 2.pdf", row.proposed + words + ".pdf"}));
        // Save as PDF, the proposal taken.
        Script script;
        script.Wait(5).Click(saveAsPdf.h, saveAsPdf.v).Wait(10).AnswerFileDialog("choose");
        Play(std::move(script));
        Boolean accepted = false;
        ASSERT_EQ(PMSessionPrintDialog(session, settings, format, &accepted), kPMNoError);
        ASSERT_TRUE(accepted);
        PMDestinationType type = kPMDestinationInvalid;
        std::string location;
        PMSessionGetDestinationType(session, settings, &type);
        PMSessionCopyDestinationLocation(session, settings, &location);
        EXPECT_EQ(std::tuple(type, location),
                  std::tuple(kPMDestinationFile, documents + "/" + row.proposed + words + ".pdf"));
        print();
        EXPECT_EQ(madeThere(), std::vector<std::string>{row.proposed + words + ".pdf"});
        EXPECT_TRUE(run->watchdogMessage.empty()) << run->watchdogMessage;
    }
    // The Print button then prints to the printer again, not to that file.
    const Point printButton = At(308, 160);
    Script script;
    script.Wait(5).Click(printButton.h, printButton.v);
    Play(std::move(script));
    Boolean accepted = false;
    ASSERT_EQ(PMSessionPrintDialog(session, settings, format, &accepted), kPMNoError);
    ASSERT_TRUE(accepted);
    PMDestinationType type = kPMDestinationInvalid;
    std::string location = "?";
    PMSessionGetDestinationType(session, settings, &type);
    PMSessionCopyDestinationLocation(session, settings, &location);
    EXPECT_EQ(std::tuple(type, location), std::tuple(kPMDestinationPrinter, std::string()));
    ::unsetenv("QZ_DOCUMENTS_DIR");
}

}  // namespace
}  // namespace platform::testing

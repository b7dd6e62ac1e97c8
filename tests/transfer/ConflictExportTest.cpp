// The conflict list as text: its exact bytes, the members of records that
// are not shown, texts cut at 255 characters, and a file replaced only
// once the new one is whole.
#include <algorithm>

#include "platform/core/Faults.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/files/FileSpec.h"
#include "tests/transfer/DemoConflictsFixture.h"
#include "tests/transfer/TransferFixture.h"
#include "transfer/dialogs/ConflictExport.h"
#include "transfer/dialogs/ConflictTexts.h"

namespace transfertest {
namespace {

std::string Text(const transfer::ExportText& t) { return std::string(t.begin(), t.end()); }
std::string Text(C_ListHdl list, const std::string& title = "T")
{
    unsigned char p[256];
    apptest::ToP(title, p);
    transfer::ExportText out;
    transfer::ConflictListText(p, list, &out);
    return Text(out);
}

using ExportTest = DemoConflicts;

TEST_F(ExportTest, OneRecordWritesItsThreeLinesAndChainedOnesAreMarked)
{
    TObjQz* method = Find(2, "Log_Event");
    Record(list_, method, 6, 1, In(&target_, 2, "Log_Event"));
    EXPECT_EQ(Text(list_), "T\r\r"
                           "Copied: Log_Event (6) \r"
                           "     * the destination has a method of that name.\r"
                           "       -> Copy under a new name Log_Event\r"
                           "\r");

    // A table with a member linked to a field of the target: the member's
    // lines hang under the table's; a shown table exports all its members.
    transfer::DisposeC_List(list_);
    ASSERT_EQ(transfer::NewC_List(&list_, transfer::kC_ListRoom), 0);
    TObjQz* customers = Find(1, "Customers");
    TConflict* table = Record(list_, customers, 2, 4, In(&target_, 1, "Customers"));
    TConflict* field = nullptr;
    ASSERT_EQ(transfer::ChainConflict(table, Members(&doc_, customers)[0], 104, &field), 0);
    field->fChoice = 8;
    field->fDest = Members(&target_, In(&target_, 1, "Customers"))[0];
    field->fVisible = false;
    table->fVisible = true;
    EXPECT_EQ(Text(list_), "T\r\r"
                           "Copied: [Customers] (2) \r"
                           "     * the destination has a table of that name with other fields.\r"
                           "       -> Use the destination's\r"
                           "\r"
                           "       |Used or member: [Customers]Name (104) \r"
                           "       |     * the destination table has an equal field.\r"
                           "       |       -> Link to another\xC9 [Customers]Name\r"
                           "\r");
    // Not shown, with no member shown: nothing but the title.
    table->fVisible = false;
    EXPECT_EQ(Text(list_), "T\r\r");
}

TEST_F(ExportTest, AMemberShownUnderATableNotShownIsWrittenWithoutItsTable)
{
    RecordDemoConflicts();
    const std::string text = Text(list_);
    // Lines equals the target's table (not shown); its form clashes.
    EXPECT_EQ(text.find("[Lines] (1)"), std::string::npos);
    EXPECT_NE(text.find("\rCopied: [Lines]: Line_Entry (3) \r     * the destination table has a form of that name.\r"),
              std::string::npos)
        << text;
    for (const char* shown : {"[Customers] (2)", "Log_Event (6)", "Invoice_Texts (9)", "File (15)", "Heading (16)"})
        EXPECT_NE(text.find(shown), std::string::npos) << shown;
}

TEST_F(ExportTest, TheFileIsReplacedOnlyWhenTheNewOneIsWhole)
{
    Record(list_, Find(2, "Log_Event"), 6, 1);
    const std::string path = folder_ / "Conflicts.txt";
    ASSERT_EQ(platform::WriteFileAtomically(path, "old", 3), 0);
    unsigned char name[256], title[256];
    apptest::ToP("Conflicts.txt", name);
    apptest::ToP("T", title);
    platform::ClearFileDialogAnswers();

    platform::FileDialogAnswer cancel;
    cancel.kind = platform::FileDialogAnswer::Kind::Cancel;
    platform::PushFileDialogAnswer(cancel);
    EXPECT_NE(transfer::ExportC_List(name, title, list_), 0);
    {
        platform::ScopedFault full(platform::FaultKind::DiskFull, 0, -1);
        platform::PushFileDialogAnswer(path);
        EXPECT_EQ(transfer::ExportC_List(name, title, list_), platform::dskFulErr);
    }
    EXPECT_EQ(FileBytes(path), Bytes({'o', 'l', 'd'}));
    EXPECT_EQ(AlertCount(), 1);  // the disk-full message, not the cancel

    platform::PushFileDialogAnswer(path);
    ASSERT_EQ(transfer::ExportC_List(name, title, list_), 0);
    // The file's lines end with LF, as a text file's here.
    std::string lines = Text(list_);
    std::replace(lines.begin(), lines.end(), '\r', '\n');
    EXPECT_EQ(Text(FileBytes(path)), lines);
    platform::FSSpec spec;
    platform::FSMakeFSSpec(path, &spec);
    platform::FInfo info;
    ASSERT_EQ(platform::FSpGetFInfo(spec, &info), 0);
    EXPECT_EQ(info.fdType, platform::FourCC("TEXT"));
    EXPECT_EQ(info.fdCreator, platform::FourCC("MACA"));
}

// Texts of the program's own making that reach 255 characters stop there.
class TextCutTest : public TransferFixture {};

TEST_F(TextCutTest, DescriptionAndChoiceTextsStopAt255Characters)
{
    const std::string longText(240, 'x');
    UseAppResources("'STR#' 1008 { \"methods\" \"methods\" }\n"
                    "'STR#' 1016 { \"\" \"\" \"\" \"\" \"\" \"" + longText + "\" }\n"
                    "'STR#' 1018 { \"" + longText + "\" }\n"
                    "'STR#' 1024 { \" - \" }\n",
                    true, {Resource(FourCC("C_Pm"), 0, C_Pm({{6, {{1, 3, 0, 1}}, 2, 0x0006}}))});
    TObjQz source;
    source.kind = 2;
    apptest::ToP(std::string(33, 'n'), source.name);
    C_ListHdl list = NewList();
    TConflict* r = Record(list, &source, 6, 1);
    unsigned char text[256];
    const struct {
        const char* what;
        void (*make)(TConflict*, unsigned char*);
        char last;
    } cases[] = {{"description", transfer::DescriptionText, 'x'}, {"choice", transfer::ChoiceText, 'n'}};
    for (const auto& c : cases) {
        c.make(r, text);
        EXPECT_EQ(text[0], 255) << c.what;
        EXPECT_EQ(text[255], c.last) << c.what;
    }
    transfer::DescriptionText(r, text);
    EXPECT_EQ(apptest::P(text).substr(0, 8 + 33 + 3), "methods " + std::string(33, 'n') + " - ");
    transfer::ChoiceText(r, text);
    EXPECT_EQ(apptest::P(text).substr(0, 240), longText);
    transfer::DisposeC_List(list);
}

}  // namespace
}  // namespace transfertest

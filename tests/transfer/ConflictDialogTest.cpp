// The conflict dialog run headless on the demo's conflicts with DemoTarget:
// when it shows, its title, the keys and window parts that end or size it,
// the picks that run a record's Edit, and the conflict preferences.
#include "app/dialogs/DrawingUtilities.h"
#include "app/longlist/LongListHooks.h"
#include "platform/core/Endian.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/screen/Screen.h"
#include "platform/windows/Windows.h"
#include "tests/platform/events/HeadlessFixture.h"
#include "tests/transfer/DemoConflictsFixture.h"
#include "transfer/conflicts/ConflictPrefs.h"
#include "transfer/dialogs/ConflictDialog.h"
#include "transfer/dialogs/ConflictListDef.h"
#include "transfer/dialogs/ConflictPreferences.h"
#include "transfer/dialogs/ConflictTexts.h"

using namespace platform;
using platform::testing::HeadlessRun;
using Bytes = std::vector<uint8_t>;

namespace transfertest {
namespace {

class DialogTest : public DemoConflicts {
protected:
    DialogRef Open()
    {
        const unsigned char title[] = "\x05Title";
        return transfer::OpenConflictDialog(title, list_, &transfer_, &doc_, &target_, false);
    }
    static Rect Part(DialogRef d, WindowRegionCode code)
    {
        Rect r{};
        GetWindowBounds(GetDialogWindow(d), code, &r);
        return r;
    }
    static Point Centre(const Rect& r) { return Point{int16_t((r.top + r.bottom) / 2), int16_t((r.left + r.right) / 2)}; }
    // The global centre of the choice box of `row`.
    static Point BoxOf(DialogRef d, int32_t row)
    {
        const Rect content = Part(d, kWindowContentRgn);
        Rect cell = GetCellRect(row, G_LongListHdl);
        const Rect box = transfer::ChoiceBoxRect(cell, static_cast<TConflict*>(LongLRowObject(row, G_LongListHdl)));
        return Point{int16_t(content.top + (box.top + box.bottom) / 2), int16_t(content.left + box.left + 100)};
    }
    int16_t Run(DialogRef d, Script script)
    {
        HeadlessRun run(std::move(script));
        return transfer::RunConflictDialog(d);
    }
};

TEST_F(DialogTest, ShowsOnlyWhenARecordIsVisibleUnderItsTitle)
{
    Record(list_, Find(1, "Lines"), 1, 4, In(&target_, 1, "Lines"));  // equal table: not shown
    {
        HeadlessRun run(Script().Wait(5));
        EXPECT_TRUE(transfer::SolveConflicts(&transfer_, list_, &doc_, &target_));
        EXPECT_FALSE(transfer::SolveC_Pref(list_));
    }
    EXPECT_EQ(FrontWindow(), nullptr);

    Record(list_, Find(2, "Log_Event"), 6, 1, In(&target_, 2, "Log_Event"));
    for (int16_t answer : {1, 2}) {
        HeadlessRun run(Script().Wait(5).Choose(answer));
        EXPECT_EQ(transfer::SolveConflicts(&transfer_, list_, &doc_, &target_), answer == 1);
    }
    unsigned char title[256], shown[256];
    transfer::ConflictTitle(&doc_, &target_, title);
    EXPECT_EQ(readtest::P(title), "Copy from Demo.QzB to DemoTarget.QzB");
    DialogRef d = transfer::OpenConflictDialog(title, list_, &transfer_, &doc_, &target_, false);
    ASSERT_NE(d, nullptr);
    GetWTitle(GetDialogWindow(d), shown);
    EXPECT_EQ(readtest::P(shown), readtest::P(title));
    EXPECT_EQ(G_LongListHdl->rowCount, 1);
    transfer::CloseConflictDialog(d);
    EXPECT_EQ(G_LongListHdl, nullptr);
}

// A record copied under a new name reads, from the dialog on, a name the
// destination does not hold; any other choice keeps the source's name.
TEST_F(DialogTest, ACopyUnderANewNameProposesAFreeName)
{
    const struct {
        TConflict* record;
        const char* choice;
    } rows[] = {
        {Record(list_, Find(12, "Heading"), 16, 1, In(&target_, 12, "Heading")), "Copy under a new name Heading_2"},
        {Record(list_, Find(2, "Log_Event"), 6, 1, In(&target_, 2, "Log_Event")), "Copy under a new name Log_Event_2"},
        {Record(list_, Find(2, "Close_Invoice"), 6, 1), "Copy under a new name Close_Invoice"},
        {Record(list_, Find(1, "Lines"), 1, 4, In(&target_, 1, "Lines")), "Use the destination's"},
    };
    HeadlessRun run(Script().Wait(5).Choose(2));
    EXPECT_FALSE(transfer::SolveConflicts(&transfer_, list_, &doc_, &target_));
    for (const auto& row : rows) {
        unsigned char text[256];
        transfer::ChoiceText(row.record, text);
        EXPECT_EQ(readtest::P(text), row.choice);
    }
    EXPECT_EQ(readtest::P(static_cast<TRConflict*>(rows[3].record)->fNewName), "Lines");
}

TEST_F(DialogTest, ReturnAndTheCloseBoxConfirmAndSizesKeepTheirLimits)
{
    Record(list_, Find(2, "Log_Event"), 6, 1, In(&target_, 2, "Log_Event"));
    DialogRef d = Open();
    ASSERT_NE(d, nullptr);
    Script enter;
    ASSERT_TRUE(enter.Key("return"));
    EXPECT_EQ(Run(d, std::move(enter)), transfer::kC_OK);
    const Point close = Centre(Part(d, kWindowCloseBoxRgn));
    EXPECT_EQ(Run(d, Script().Click(close.h, close.v)), transfer::kC_OK);
    EXPECT_EQ(Run(d, Script().Wait(5).Choose(2)), transfer::kC_Cancel);

    const Rect screen = ScreenBounds();
    const Rect before = Part(d, kWindowContentRgn);
    const int16_t width = int16_t(before.right - before.left);
    Rect okBefore{};
    DialogItemType type = 0;
    Handle h = nullptr;
    GetDialogItem(d, transfer::kC_OK, &type, &h, &okBefore);
    const struct {
        int16_t dv;
        int16_t height;
    } grows[] = {{2000, int16_t(screen.bottom - screen.top - 24)}, {-2000, transfer::kC_MinHeight}, {60, 260}};
    for (const auto& g : grows) {
        const Point grow = Centre(Part(d, kWindowGrowRgn));
        Run(d, Script().Drag(grow.h, grow.v, int16_t(grow.h + 50), int16_t(grow.v + g.dv), 10).Choose(1));
        const Rect now = Part(d, kWindowContentRgn);
        EXPECT_EQ(now.bottom - now.top, g.height) << g.dv;
        EXPECT_EQ(now.right - now.left, width) << g.dv;
        Rect ok{}, list{};
        GetDialogItem(d, transfer::kC_OK, &type, &h, &ok);
        GetDialogItem(d, transfer::kC_List, &type, &h, &list);
        EXPECT_EQ((now.bottom - now.top) - ok.bottom, (before.bottom - before.top) - okBefore.bottom) << g.dv;
        EXPECT_EQ(G_LongListHdl->rView.bottom, list.bottom - 1) << g.dv;
    }
    const Point zoom = Centre(Part(d, kWindowZoomBoxRgn));
    Run(d, Script().Click(zoom.h, zoom.v).Choose(1));
    const Rect zoomed = Part(d, kWindowContentRgn);
    const Rect usable = GetWScreenRect(GetDialogWindow(d));
    EXPECT_EQ(zoomed.bottom - zoomed.top, usable.bottom - usable.top);
    EXPECT_EQ(zoomed.right - zoomed.left, width);
    transfer::CloseConflictDialog(d);
}

TEST_F(DialogTest, PickingLinkAgainRunsEditAndAFixedChoiceOffersNothing)
{
    TObjQz* customers = Find(1, "Customers");
    TConflict* table = Record(list_, customers, 2, 8);
    ChainMembers(table);
    // A chained row shown under its table is drawn indented: left of its
    // box is no box.
    TConflict* member = static_cast<TRConflict*>(table)->fSubList->At(0);
    member->fCode = 104, member->fChoice = 8, member->fVisible = true;
    TConflict* fixed = Record(list_, Find(12, "Heading"), 16, 9);
    fixed->fVisible = true;
    DialogRef d = Open();
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(G_LongListHdl->rowCount, 3);
    const Point tableBox = BoxOf(d, 0), fixedBox = BoxOf(d, 2);
    const Point leftOfIndented{BoxOf(d, 1).v, int16_t(tableBox.h - 100 + 10)};
    // The fixed row: no pop-up, no Edit. The table's link picked again:
    // its link dialog (OK at once) links it to the target's first table.
    Run(d, Script()
               .Click(leftOfIndented.h, leftOfIndented.v)
               .Click(fixedBox.h, fixedBox.v)
               .Press(tableBox.h, tableBox.v)
               .Wait(5)
               .Release()
               .Wait(5)
               .Choose(1)
               .Wait(5)
               .Choose(1));
    EXPECT_FALSE(fixed->fClicked);
    EXPECT_FALSE(member->fClicked);
    EXPECT_EQ(fixed->fChoice, 9);
    EXPECT_TRUE(table->fClicked);
    EXPECT_EQ(table->fPrevChoice, 8);
    EXPECT_EQ(table->fDest, GetObjListe(target_.fTypeList, 1)->At(0));
    // The members settled again, not quietly: fields with code 104.
    TConflict* name = transfer::C_SearchInChain(list_, Members(&doc_, customers)[0]);
    EXPECT_EQ(name->fCode, 104);
    EXPECT_EQ(name->fChoice, transfer::Cc_Dflt(104));
    transfer::CloseConflictDialog(d);
}

TEST_F(DialogTest, PreferencesOfferEveryCodeWithPreferenceChoicesAndSaveOnlyWhenConfirmed)
{
    OpenPrefResFile();
    ASSERT_NE(G_PrefResFile, -1);
    const int16_t saved = CurResFile();
    UseResFile(G_PrefResFile);
    Handle pairs = Get1Resource(FourCC("C_PR"), 0);
    if (!pairs) {
        pairs = NewHandle(0);
        AddResource(pairs, FourCC("C_PR"), 0, reinterpret_cast<const unsigned char*>(""));
    }
    SetHandleSize(pairs, 8);
    WriteBE32(reinterpret_cast<uint8_t*>(*pairs), 0x00060003);      // code 6: replace
    WriteBE32(reinterpret_cast<uint8_t*>(*pairs) + 4, 0x00060004);  // a later pair is not read
    ChangedResource(pairs);
    UpdateResFile(G_PrefResFile);
    UseResFile(saved);
    auto stored = [] {
        const int16_t keep = CurResFile();
        UseResFile(G_PrefResFile);
        Handle h = Get1Resource(FourCC("C_PR"), 0);
        UseResFile(keep);
        return h ? Bytes(*h, *h + GetHandleSize(h)) : Bytes{};
    };
    const Bytes before = stored();
    G_C_Hide = false;
    {
        HeadlessRun run(Script().Wait(5).Choose(2));
        EXPECT_EQ(transfer::C_Preferences(), 0);
    }
    EXPECT_EQ(stored(), before);
    EXPECT_FALSE(G_C_Hide);
    EXPECT_FALSE(transfer::G_TempBool);
    {
        HeadlessRun run(Script().Wait(5).Choose(1));
        EXPECT_EQ(transfer::C_Preferences(), 0);
    }
    const Bytes after = stored();
    // One pair per code offering a choice to the preferences (17, 23,
    // 121, 124 and 125 offer none), in 'C_Pm' order; code 6 keeps the
    // user's choice, the others their factory defaults.
    ASSERT_EQ(after.size(), 4u * 46);
    for (size_t i = 0; i < after.size(); i += 4) {
        const int16_t code = int16_t(ReadBE16(after.data() + i)), choice = int16_t(ReadBE16(after.data() + i + 2));
        EXPECT_TRUE(code != 17 && code != 23 && code != 121 && code != 124 && code != 125) << code;
        if (code == 6) {
            EXPECT_EQ(choice, 3);
        } else if (code == 1) {
            EXPECT_EQ(choice, 4);
        }
    }
    EXPECT_FALSE(G_C_Hide);
}

}  // namespace
}  // namespace transfertest

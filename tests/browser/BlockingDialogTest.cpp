// The blocking preferences run headless on the preferences' 'Oblk' 0: the
// header blocks or frees every row, OK rewrites the pairs in place and
// ends them (growing an unterminated table by its terminator), pairs of
// kinds without a name go, and the kind table is read again either way.
#include "browser/dialogs/BlockingDialog.h"
#include "browser/dialogs/SearchDialog.h"
#include "design/filters/ObjFilter.h"
#include "design/objects/DesignGlobals.h"
#include "platform/drawing/Text.h"
#include "tests/browser/DialogFixture.h"

using namespace platform;

namespace browsertest {
namespace {

class BlockingDialogTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        place_ = Place(browser::kBlockingDialog);
    }

    void SetPairs(const Bytes* pairs)
    {
        const int16_t saved = CurResFile();
        UseResFile(G_PrefResFile);
        if (Handle old = Get1Resource(FourCC("Oblk"), 0)) {
            RemoveResource(old);
            DisposeHandle(old);
        }
        if (pairs) {
            Handle h = nullptr;
            ASSERT_EQ(PtrToHand(pairs->data(), &h, Size(pairs->size())), noErr);
            AddResource(h, FourCC("Oblk"), 0, PName(""));
        }
        UpdateResFile(G_PrefResFile);
        UseResFile(saved);
    }
    static Bytes Pairs()
    {
        const int16_t saved = CurResFile();
        UseResFile(G_PrefResFile);
        Handle h = Get1Resource(FourCC("Oblk"), 0);
        UseResFile(saved);
        return h ? Bytes(reinterpret_cast<uint8_t*>(*h), reinterpret_cast<uint8_t*>(*h) + GetHandleSize(h)) : Bytes{0xEE};
    }
    void Run(Script script)
    {
        platform::testing::HeadlessRun run(std::move(script));
        EXPECT_EQ(browser::BlockingPref(), 0);
        EXPECT_EQ(run.watchdogMessage, "");
    }
    Point Row(int16_t row) const { return place_.Row(browser::kBlockList, row, rowHeight_, 40); }

    DialogPlace place_;
};

TEST_F(BlockingDialogTest, OKWritesTheRowsInPlaceThenTheirEnd)
{
    const Point header = place_.At(browser::kBlockHeader);
    struct Case {
        Bytes pairs;
        uint16_t headerMods;  // 0xFFFF: no header click
        int16_t clickedRow;   // -1: none
        Bytes expected;
    } cases[] = {
        {{1, 0, 2, 1, 24, 0, 0}, 0, -1, {1, 1, 2, 1, 24, 1, 0}},
        {{1, 0, 2, 1, 24, 0, 0}, optionKey, -1, {1, 0, 2, 0, 24, 0, 0}},
        {{1, 0, 2, 1, 24, 0, 0}, 0xFFFF, 1, {1, 0, 2, 0, 24, 0, 0}},  // a click frees a blocked row
        // Kind 31 has no name: its pair goes, the table keeps its size.
        {{1, 1, 31, 1, 2, 0, 0}, 0xFFFF, -1, {1, 1, 2, 0, 0, 0, 0}},
        // Unterminated: the walk stops at the end; OK adds the end.
        {{1, 1, 2, 1}, 0xFFFF, -1, {1, 1, 2, 1, 0}},
        {{1, 1, 2}, 0xFFFF, -1, {1, 1, 2, 0, 0}},
        // Past the end mark nothing is read, and what lies there stays.
        {{1, 1, 0, 2, 1}, 0xFFFF, 0, {1, 0, 0, 2, 1}},
    };
    for (const Case& c : cases) {
        SetPairs(&c.pairs);
        Script s;
        s.Wait(5);
        if (c.headerMods != 0xFFFF) s.Click(header.h, header.v, c.headerMods);
        if (c.clickedRow >= 0) s.Click(Row(c.clickedRow).h, Row(c.clickedRow).v);
        s.Wait(5).Choose(1);
        Run(std::move(s));
        EXPECT_EQ(Pairs(), c.expected) << c.pairs.size() << " " << c.headerMods << " " << c.clickedRow;
    }
    // Without a table the list is empty and OK adds none.
    SetPairs(nullptr);
    Run(Script().Wait(5).Choose(1));
    EXPECT_EQ(Pairs(), Bytes{0xEE});
}

// The header's caption is the list's name ('STR# 1001 item 43'), one line
// centred in its frame: its ink spans the text's width.
TEST_F(BlockingDialogTest, TheHeaderShowsItsCaptionOnOneLine)
{
    const Bytes pairs = {1, 0, 0};
    SetPairs(&pairs);
    const Rect box = place_.items.at(size_t(browser::kBlockHeader - 1));
    Rect ink{};
    WhenAnswered([&](DialogRef d) {
        ink = InkIn(d, Rect{int16_t(box.top + 3), int16_t(box.left + 3), int16_t(box.bottom - 3), int16_t(box.right - 3)});
        // The dialog's own text is back to its font once the list is drawn.
        EXPECT_EQ(GetPortTextSize(GetDialogPort(d)), 12);
        EXPECT_EQ(GetPortTextFont(GetDialogPort(d)), 0);
    });
    // The caller's resource file is current again afterwards.
    UseResFile(G_MainResFile);
    Run(Script().Wait(5).Choose(2));
    EXPECT_EQ(CurResFile(), G_MainResFile);
    unsigned char caption[256];
    MyGetIndString(caption, 1001, 43);
    ASSERT_EQ(P(caption), "Kinds that hold back what they use");
    SetPortWindowPort(window_->fWindow);
    TextFont(GetResFont(0));
    TextSize(GetResSize(0));
    const int width = StringWidth(caption);
    FontInfo info{};
    GetFontInfo(&info);
    ASSERT_GT(ink.right, ink.left) << "no caption drawn";
    EXPECT_NEAR(ink.right - ink.left, width, 3);
    EXPECT_NEAR((ink.left + ink.right) / 2, (box.left + box.right) / 2, 3) << "centred";
    EXPECT_LE(ink.bottom - ink.top, info.ascent + info.descent) << "one line";
}

TEST_F(BlockingDialogTest, TheKindTableIsReadAgainEitherWayAndTheBlockedCriterionFollowsIt)
{
    const Bytes pairs = {1, 0, 2, 0, 0};
    SetPairs(&pairs);
    for (int16_t answer : {2, 1}) {
        std::fill(std::begin(G_Block), std::end(G_Block), uint8_t(1));
        Script s;
        s.Wait(5).Click(Row(1).h, Row(1).v).Wait(5).Choose(answer);
        Run(std::move(s));
        EXPECT_EQ(G_Block[0], 0) << answer;
        EXPECT_EQ(G_Block[1], answer == 1 ? 1 : 0) << answer;
        EXPECT_EQ(G_Block[23], 0) << answer;
    }
    // Blocked objects pass a filter asking for blocked ones; the others
    // one asking for the unblocked.
    TObjQz* method = Make(2, "Close_Invoice", 1);
    TObjQz* table = Make(1, "Invoices", 2);
    for (bool wanted : {true, false}) {
        Bytes b = FilterBytes(0x7FFFFFFE);
        b[6] = uint8_t(0x80 | (wanted ? 0x40 : 0));
        Handle record = nullptr;
        ASSERT_EQ(PtrToHand(b.data(), &record, Size(b.size())), noErr);
        EXPECT_EQ(ObjFilter(record, method), wanted);
        EXPECT_EQ(ObjFilter(record, table), !wanted);
        DisposeHandle(record);
    }
}

}  // namespace
}  // namespace browsertest

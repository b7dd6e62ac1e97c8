// The criteria dialog run headless on a filter record: each subject keeps
// its own text, a date that is no date gives way to today's, kinds without
// a name keep their bits, the three-way boxes and the inner-text box
// reach bits 32-37 and 41, and a record too short for its term opens
// empty and is written whole.
#include "browser/dialogs/SearchDialog.h"
#include "app/appl/AppGlobals.h"
#include "kernel/numtext/DateText.h"
#include "platform/core/Clock.h"
#include "platform/core/Endian.h"
#include "platform/drawing/Text.h"
#include "platform/events/Events.h"
#include "platform/menus/MenuText.h"
#include "tests/browser/DialogFixture.h"

using namespace platform;

namespace browsertest {
namespace {

class SearchDialogTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        place_ = Place(browser::kSearchDialog);
        // A line of a pop-up menu: the menu font's, 4 pixels apart.
        const menus::MenuFontMetrics m = menus::MenuMetrics();
        menuLine_ = int16_t(m.ascent + m.descent + m.leading + 4);
    }
    void TearDown() override
    {
        if (record_) DisposeHandle(record_);
        DialogFixture::TearDown();
    }

    int16_t Run(Script script, bool isSearch = false, uint8_t* scope = nullptr)
    {
        platform::testing::HeadlessRun run(std::move(script));
        const int16_t result = browser::GetSearchFilter(record_, scope, isSearch);
        EXPECT_EQ(run.watchdogMessage, "");
        return result;
    }
    void Record(const Bytes& b)
    {
        if (record_) DisposeHandle(record_);
        ASSERT_EQ(PtrToHand(b.data(), &record_, Size(b.size())), noErr);
    }
    Bytes Stored() const
    {
        return Bytes(reinterpret_cast<uint8_t*>(*record_), reinterpret_cast<uint8_t*>(*record_) + GetHandleSize(record_));
    }
    std::string StoredText() const
    {
        const Bytes b = Stored();
        return std::string(b.begin() + 13, b.begin() + 13 + b[12]);
    }

    Script& ClickItem(Script& s, int16_t item, uint16_t mods = 0)
    {
        const Point p = place_.At(item);
        return s.Click(p.h, p.v, mods);
    }
    // Chooses entry `to` of a pop-up whose current entry is `from`.
    Script& PopUp(Script& s, int16_t item, int16_t from, int16_t to)
    {
        const Point press = place_.Corner(item, 4, 20);
        const int16_t v = int16_t(place_.Corner(item, 0, 0).v + (to - from) * menuLine_ + menuLine_ / 2);
        return s.Press(press.h, press.v).Move(int16_t(press.h + 4), v).Wait(2).Release().Wait(3);
    }
    Point KindRow(int16_t row) const { return place_.Row(browser::kKindList, row, rowHeight_, 40); }

    // Today as the headless runs' clock has it.
    static std::string Today()
    {
        platform::testing::HeadlessRun run{Script()};
        uint32_t now = 0;
        GetDateTime(&now);
        const CivilDay day = MacSecondsToDay(now);
        Str255 text;
        mystrdate(datum{int16_t(day.day), int16_t(day.month), int16_t(day.year)}, text, 0);
        return P(text);
    }

    Handle record_ = nullptr;
    DialogPlace place_;
    int16_t menuLine_ = 18;
};

TEST_F(SearchDialogTest, EachSubjectKeepsItsTextAndADateThatIsNoneGivesWayToToday)
{
    struct Case {
        Bytes record;
        std::vector<std::pair<int16_t, int16_t>> subjects;  // pop-up moves
        uint8_t subject;
        std::string text;
    } cases[] = {
        {FilterBytes(Kind(2), "", 2), {{1, 2}}, 1, Today()},
        {FilterBytes(Kind(2), "", 2), {{1, 2}, {2, 1}}, 0, "Inv"},
        {FilterBytes(Kind(2), "", 2), {{1, 3}}, 2, "1"},
    };
    for (const Case& c : cases) {
        Record(c.record);
        Script s;
        s.Wait(5).Type("Inv");
        for (auto [from, to] : c.subjects) PopUp(s, browser::kSubjectPopUp, from, to);
        s.Wait(5).Choose(1);
        EXPECT_EQ(Run(std::move(s)), 1);
        EXPECT_EQ(Stored()[8], c.subject) << c.text;
        EXPECT_EQ(Stored()[9], 0) << "a new subject starts at its first operator";
        EXPECT_EQ(StoredText(), c.text);
    }
    // Stored as a date, a text that is no date opens as today's.
    Bytes notADate = FilterBytes(Kind(2), "soon", 1);
    notADate[8] = 1;
    Record(notADate);
    EXPECT_EQ(Run(Script().Wait(5).Choose(1)), 1);
    EXPECT_EQ(StoredText(), Today());
}

// The operator pop-up shows the record's operator in the words of its
// subject.
TEST_F(SearchDialogTest, TheOperatorPopUpShowsTheOperatorOfItsSubject)
{
    const Rect box = place_.items.at(size_t(browser::kOperatorPopUp - 1));
    const struct {
        uint8_t subject, op;
        const char* text;
    } cases[] = {{0, 2, "does not contain"}, {1, 1, "is before"}, {1, 3, "is not"}, {2, 2, "is less than"}};
    for (const auto& c : cases) {
        Bytes b = FilterBytes(Kind(2), c.subject == 1 ? "1/2/2024" : "7", uint8_t(c.op + 1));
        b[8] = c.subject;
        Record(b);
        std::vector<uint32_t> shown;
        WhenAnswered([&](DialogRef d) { shown = PixelsIn(GetDialogWindow(d), box); });
        Run(Script().Wait(5).Choose(2));
        SetPortWindowPort(window_->fWindow);
        EraseRect(&box);
        pp_Brz_PopUpDraw(&box, 0, 0, PName(c.text));
        EXPECT_EQ(shown, PixelsIn(window_->fWindow, box)) << c.text;
    }
}

TEST_F(SearchDialogTest, AKindWithoutANameHasNoRowAndKeepsItsBit)
{
    // Project methods (kind 2) nameless; the other names as shipped.
    std::string names = "'STR#' 1008 { \"tables\" \"\"";
    for (int k = 3; k <= 33; ++k) names += " \"kind " + std::to_string(k) + "\"";
    UseAppResources(names + " }", false);
    Record(FilterBytes(Kind(1) | Kind(2) | Kind(24)));
    int16_t rows = -1;
    WhenAnswered([&](DialogRef) {
        ListBounds bounds{};
        GetListDataBounds(browser::G_2ListHdl, &bounds);
        rows = bounds.bottom;
    });
    Script s;
    s.Wait(5);
    ClickItem(s, browser::kNoKind).Wait(5).Choose(1);
    EXPECT_EQ(Run(std::move(s)), 1);
    EXPECT_EQ(rows, 23);
    EXPECT_EQ(ReadBE32(Stored().data() + 2), Kind(2));
}

TEST_F(SearchDialogTest, ThreeWayBoxesAndTheInsideBoxWriteTheirBitsAndLeaveThePaneBits)
{
    struct Case {
        int documented, unused, blocked, inside;
        uint8_t byte6, byte7;
    } cases[] = {
        {0, 0, 0, 0, 0x03, 0x00},  // 2 2 2: nothing tested
        {1, 2, 3, 1, 0x2F, 0x40},  // 0 1 2: documented clear, unused set, blocked back to untested
        {3, 1, 2, 2, 0xCB, 0x00},  // 2 0 1: unused tested clear, blocked set
    };
    for (const Case& c : cases) {
        Bytes b = FilterBytes(Kind(1));
        b[6] = 0x03;  // offered in the where-used and main lists
        Record(b);
        Script s;
        s.Wait(5);
        for (int i = 0; i < c.documented; ++i) ClickItem(s, browser::kDocumentedBox);
        for (int i = 0; i < c.unused; ++i) ClickItem(s, browser::kUnusedBox);
        for (int i = 0; i < c.blocked; ++i) ClickItem(s, browser::kBlockedBox);
        for (int i = 0; i < c.inside; ++i) ClickItem(s, browser::kSearchInside);
        s.Wait(5).Choose(1);
        EXPECT_EQ(Run(std::move(s)), 1);
        EXPECT_EQ(Stored()[6], c.byte6) << c.documented << c.unused << c.blocked;
        EXPECT_EQ(Stored()[7], c.byte7) << c.inside;
    }
}

TEST_F(SearchDialogTest, AnInvalidDateOnOKBeepsShowsTodayAndKeepsTheDialog)
{
    Bytes b = FilterBytes(Kind(1), Today(), 2);
    b[8] = 1;
    Record(b);
    const Bytes before = Stored();
    const uint32_t beeps = SysBeepCount();
    std::string shown;
    WhenAnswered([&](DialogRef d) { shown = ItemText(d, browser::kCriterionText); });
    Script s;
    s.Wait(5).Type("zz");
    ClickItem(s, browser::kSearchOK).Wait(5).Choose(2);
    EXPECT_EQ(Run(std::move(s)), 0);
    EXPECT_EQ(SysBeepCount(), beeps + 1);
    EXPECT_EQ(shown, Today());
    EXPECT_EQ(Stored(), before);
}

TEST_F(SearchDialogTest, ARecordTooShortForItsTermOpensEmptyAndIsWrittenWhole)
{
    Record({0, 1, 0x40, 0});
    uint8_t scope = 9;
    EXPECT_EQ(Run(Script().Wait(5).Choose(1), true, &scope), 1);
    EXPECT_EQ(Stored(), (Bytes{0, 1, 0x40, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(scope, 1) << "the whole document";
}

TEST_F(SearchDialogTest, TheHeaderAndADragCheckRowsAndTheScopeNarrowsTheSearch)
{
    Record(FilterBytes(0x7FFFFFFE));
    Script s;
    s.Wait(5);
    ClickItem(s, browser::kKindHeader, optionKey);  // none
    const Point first = KindRow(0), third = KindRow(2);
    s.Drag(first.h, first.v, third.h, third.v, 6);  // tables, forms, project methods
    PopUp(s, browser::kScopePopUp, 1, 2);
    s.Wait(5).Choose(1);
    uint8_t scope = 9;
    EXPECT_EQ(Run(std::move(s), true, &scope), 1);
    // Kinds 20 to 22 and 28 to 30 have no row: their bits stay.
    const uint32_t rowless = Kind(20) | Kind(21) | Kind(22) | Kind(28) | Kind(29) | Kind(30);
    EXPECT_EQ(ReadBE32(Stored().data() + 2), Kind(1) | Kind(24) | Kind(2) | rowless);
    EXPECT_EQ(scope, 0) << "the rows shown";
    EXPECT_EQ(G_SearchWhere, 2);
}

}  // namespace
}  // namespace browsertest

// The filter dialog run headless on the preferences' filters: saving
// renumbers them by name behind the default, the save rules and the pane
// columns reach the stored records, the default row can only be renamed,
// a failed save keeps the old filters, Cancel keeps what the criteria
// dialog changed out of the records, and the panes' menus follow.
#include <cstring>
#include <fstream>
#include <iterator>

#include "browser/dialogs/FilterDialog.h"
#include "browser/dialogs/SearchDialog.h"
#include "platform/core/Endian.h"
#include "platform/drawing/Text.h"
#include "platform/events/Events.h"
#include "tests/browser/DialogFixture.h"

using namespace platform;

namespace browsertest {
namespace {

constexpr uint8_t kOffered = 0x03;  // bits 38, 39 in byte 6: where-used and main list

class FilterDialogTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        place_ = Place(browser::kFilterDialog);
        criteria_ = Place(browser::kSearchDialog);
        const int16_t saved = CurResFile();
        UseResFile(G_PrefResFile);
        while (Handle h = Get1IndResource(FourCC("FLT2"), 1)) {
            RemoveResource(h);
            DisposeHandle(h);
        }
        UseResFile(saved);
        AddFilter(128, "All objects", FilterBytes(0x7FFFFFFE));
        AddFilter(129, "Tables", FilterBytes(Kind(1)));
        AddFilter(130, "Project methods", FilterBytes(Kind(2)));
        AddFilter(131, "Forms", FilterBytes(Kind(24)));
        UpdateResFile(G_PrefResFile);
    }

    void Run(Script script)
    {
        platform::testing::HeadlessRun run(std::move(script));
        browser::EditFilters();
        EXPECT_EQ(run.watchdogMessage, "");
    }

    // A row of the list, `dh` from the rows' left edge.
    Point Row(int16_t row, int16_t dh = 20) const { return place_.Row(browser::kFilterList, row, rowHeight_, dh); }
    Point Flag(int16_t row, int16_t column) const { return Row(row, int16_t(158 + 16 * column + 8)); }
    Point HeaderColumn(int16_t column) const
    {
        return place_.Corner(browser::kFilterHeader, 9, int16_t(152 + 16 * column + 8));
    }
    static Script& ClickAt(Script& s, Point p, uint16_t mods = 0) { return s.Click(p.h, p.v, mods); }

    static std::string PrefsFileBytes()
    {
        std::ifstream in(gPrefFileSpec.path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    DialogPlace place_, criteria_;
};

TEST_F(FilterDialogTest, SavingRenumbersByNameBehindTheDefaultAndAnAddedFilterMovesTheOthers)
{
    Run(Script().Wait(5).Choose(1));
    EXPECT_EQ(Names(Filters()),
              (std::vector<std::string>{"128 All objects", "129 Forms", "130 Project methods", "131 Tables"}));
    // Saved, fields and subtables follow tables.
    EXPECT_EQ(ReadBE32(Filters().at(131).bytes.data() + 2), Kind(1) | Kind(28) | Kind(29));

    Script add;
    const Point button = place_.At(browser::kFilterAdd);
    add.Wait(5).Type("Alpha").Click(button.h, button.v).Wait(5).Choose(1).Wait(5).Choose(1);
    Run(std::move(add));
    const StoredFilters after = Filters();
    EXPECT_EQ(Names(after), (std::vector<std::string>{"128 All objects", "129 Alpha", "130 Forms",
                                                      "131 Project methods", "132 Tables"}));
    // A copy of the default, fields and table balloons following tables
    // and field balloons, offered where the default is.
    EXPECT_EQ(after.at(129).bytes, after.at(128).bytes);
}

TEST_F(FilterDialogTest, TheDefaultRowCanBeRenamedButNotEditedOrDeletedAndADuplicateAddsNothing)
{
    std::vector<int16_t> hilites;
    size_t rows = 0;
    WhenAnswered([&](DialogRef d) {
        if (!browser::G_ListHdl) return;
        hilites = {GetHiLight(d, browser::kFilterEdit), GetHiLight(d, browser::kFilterRename),
                   GetHiLight(d, browser::kFilterDelete)};
        ListBounds bounds{};
        GetListDataBounds(browser::G_ListHdl, &bounds);
        rows = size_t(bounds.bottom);
    });
    Script s;
    s.Wait(5);
    ClickAt(s, Row(0));
    for (int i = 0; i < 11; ++i) s.Key("delete");
    s.Type("Everything");
    ClickAt(s, place_.At(browser::kFilterRename));
    ClickAt(s, place_.At(browser::kFilterDelete));  // dimmed: nothing
    s.Wait(5).Choose(1);
    Run(std::move(s));
    EXPECT_EQ(hilites, (std::vector<int16_t>{255, 0, 255}));
    EXPECT_EQ(rows, 4u);
    EXPECT_EQ(Filters().at(128).name, "Everything");

    // "Tables" exists: the alert, and no fifth row.
    const int32_t alerts = AlertCount();
    Script dup;
    const Point add = place_.At(browser::kFilterAdd);
    dup.Wait(5).Type("Tables").Click(add.h, add.v).Wait(5).Choose(1).Wait(5).Choose(2);
    Run(std::move(dup));
    EXPECT_EQ(AlertCount(), alerts + 1);
    EXPECT_EQ(LastAlert().text, "A filter of that name exists already. Choose another name.");
    EXPECT_EQ(rows, 4u);
}

TEST_F(FilterDialogTest, HeaderColumnsAndDragsSetThePaneFlagsOfTheRows)
{
    for (auto [id, name, kind] : {std::tuple{128, "All objects", 0x7FFFFFFEu}, {129, "Tables", Kind(1)},
                                  {130, "Project methods", Kind(2)}, {131, "Forms", Kind(24)}}) {
        Bytes b = FilterBytes(kind);
        b[6] = kOffered;  // bits 38 and 39 on, 40 off
        AddFilter(int16_t(id), name, b);
    }
    Script s;
    s.Wait(5);
    ClickAt(s, HeaderColumn(2));                   // every row offered in the uses pane
    ClickAt(s, HeaderColumn(0), optionKey);        // none in the where-used pane
    const Point from = Flag(1, 1), to = Flag(3, 1);
    s.Drag(from.h, from.v, to.h, to.v, 6);         // rows 1-3 off the main list
    ClickAt(s, Flag(2, 2));                        // a short click: row 2 off the uses pane
    s.Wait(5).Choose(1);
    Run(std::move(s));
    // Rows at opening: 128 All objects, 129 Tables, 130 Project methods,
    // 131 Forms; saved by name behind the default.
    const StoredFilters after = Filters();
    const std::map<std::string, uint8_t> expected = {
        {"All objects", 0x01}, {"Forms", 0x00}, {"Project methods", 0x00}, {"Tables", 0x00}};
    const std::map<std::string, uint8_t> uses = {
        {"All objects", 0x80}, {"Forms", 0x80}, {"Project methods", 0x00}, {"Tables", 0x80}};
    for (const auto& [id, f] : after) {
        EXPECT_EQ(f.bytes[6] & 0x03, expected.at(f.name)) << f.name;
        EXPECT_EQ(f.bytes[7] & 0x80, uses.at(f.name)) << f.name;
    }
}

TEST_F(FilterDialogTest, AFullDiskKeepsTheOldFiltersByteForByteAndSaysSo)
{
    const StoredFilters before = Filters();
    const std::string file = PrefsFileBytes();
    {
        ScopedFault full(FaultKind::DiskFull, 0, -1);
        Script s;
        const Point add = place_.At(browser::kFilterAdd);
        s.Wait(5).Type("Alpha").Click(add.h, add.v).Wait(5).Choose(1).Wait(5).Choose(1).Wait(5).Choose(1);
        Run(std::move(s));
        EXPECT_EQ(LastAlert().text, "The disk is full. Make room on it and try again.");
    }
    EXPECT_EQ(Filters(), before);
    EXPECT_EQ(PrefsFileBytes(), file);
    UpdateResFile(G_PrefResFile);
    EXPECT_EQ(ResError(), noErr);
    EXPECT_EQ(Filters(), before);
}

TEST_F(FilterDialogTest, AFilterThatCannotGoStopsTheSaveWithTheOldSetInPlace)
{
    // The last of the old filters cannot be removed: the new set, already
    // added under spare ids, goes again, and the others come back.
    const int16_t saved = CurResFile();
    UseResFile(G_PrefResFile);
    SetResAttrs(Get1Resource(FourCC("FLT2"), 131), resProtected);
    UseResFile(saved);
    const StoredFilters before = Filters();
    const int32_t alerts = AlertCount();
    Script s;
    const Point add = place_.At(browser::kFilterAdd);
    s.Wait(5).Type("Alpha").Click(add.h, add.v).Wait(5).Choose(1).Wait(5).Choose(1).Wait(5).Choose(1);
    Run(std::move(s));
    EXPECT_EQ(AlertCount(), alerts + 1);
    EXPECT_EQ(Filters(), before);
}

// Saving with every allocation failing in turn: each failed save leaves
// the old filters as they were, and the one that runs through stores the
// whole new set.
TEST_F(FilterDialogTest, AShortageAtAnyStepOfASaveKeepsTheOldFilters)
{
    const StoredFilters before = Filters();
    const Rect view{10, 10, 200, 300};
    const ListBounds bounds{0, 0, 0, 1};
    ListHandle list = LNew(&view, &bounds, Point{16, 290}, 0, window_->fWindow, false, false, false, true);
    ASSERT_NE(list, nullptr);
    browser::EditFiltersLink link;
    // Rows as the dialog keeps them: the default, then a new filter copied
    // from it, then the stored ones but "Tables".
    const std::vector<std::pair<int16_t, std::string>> rows = {
        {128, "All objects"}, {0, "Alpha"}, {131, "Forms"}, {130, "Project methods"}};
    for (const auto& [id, name] : rows) {
        Handle h = GetFilter(id ? id : int16_t(128));
        if (!id) {
            ASSERT_EQ(HandToHand(&h), noErr);
        }
        link.records.push_back(h);
        link.loaded.push_back(id != 0);
        link.opened.emplace_back(reinterpret_cast<uint8_t*>(*h), reinterpret_cast<uint8_t*>(*h) + GetHandleSize(h));
        uint8_t cell[browser::kRowLength] = {0};
        PName p(name);
        std::memcpy(cell, p.bytes, size_t(p.bytes[0]) + 1);
        WriteBE16(cell + browser::kRowId, uint16_t(id));
        WriteBE32(cell + browser::kRowSlot, uint32_t(link.records.size() - 1));
        cell[browser::kRowList] = 1;
        const int16_t row = LAddRow(1, 4, list);
        LSetCell(cell, browser::kRowLength, Cell{row, 0}, list);
    }
    OSErr err = noErr;
    int32_t failures = 0;
    for (int32_t after = 0; after < 200; ++after) {
        InjectFault(FaultKind::Allocation, after, 1);
        err = browser::SaveFilters(list, link);
        const bool fired = !IsFaultArmed(FaultKind::Allocation);
        ClearFault(FaultKind::Allocation);
        if (err == noErr) break;
        ++failures;
        EXPECT_TRUE(fired) << after;
        ASSERT_EQ(Filters(), before) << "after " << after << " allocations: " << err;
    }
    ASSERT_EQ(err, noErr);
    EXPECT_GT(failures, 3);
    EXPECT_EQ(Names(Filters()), (std::vector<std::string>{"128 All objects", "129 Alpha", "130 Forms",
                                                          "131 Project methods"}));
    DisposeHandle(link.records[1]);
    LDispose(list);
}

// A row draws its name in the list's font and size, whatever the port
// had, as a box of text from its left edge.
TEST_F(FilterDialogTest, ARowDrawsItsNameInTheListsFont)
{
    SetPortWindowPort(window_->fWindow);
    const Rect view{10, 10, 200, 400};
    const ListBounds bounds{0, 0, 0, 1};
    ListHandle list = LNew(&view, &bounds, Point{16, 390}, 0, window_->fWindow, false, false, false, true);
    ASSERT_NE(list, nullptr);
    uint8_t cell[browser::kRowLength] = {0};
    const PName name("Tables");
    std::memcpy(cell, name.bytes, size_t(name.bytes[0]) + 1);
    LAddRow(1, 0, list);
    LSetCell(cell, browser::kRowLength, Cell{0, 0}, list);
    Rect row{20, 20, 36, 400};
    TextFont(0);
    TextSize(12);
    browser::FilterListIdProc(lDrawMsg, false, &row, Cell{0, 0}, 0, browser::kRowLength, list);
    const Rect nameBox{20, 20, 36, int16_t(20 + browser::kFlagColumnLeft)};
    const std::vector<uint32_t> drawn = PixelsIn(window_->fWindow, nameBox);
    EraseRect(&nameBox);
    TextFont(GetResFont(0));
    TextSize(GetResSize(0));
    TextFace(0);
    TextMode(srcCopy);
    const std::string text = " Tables" + std::string(64, ' ');
    TETextBox(text.data(), int32_t(text.size()), &nameBox, teFlushLeft);
    EXPECT_EQ(drawn, PixelsIn(window_->fWindow, nameBox));
    // Highlighting marks the whole row: no white is left in it; the
    // port's background is given back after either message.
    TextFont(0);
    TextSize(12);
    const RGBColor grey{30000, 30000, 30000};
    RGBBackColor(&grey);
    const std::vector<uint32_t> before = PixelsIn(window_->fWindow, row);
    browser::FilterListIdProc(lHiliteMsg, true, &row, Cell{0, 0}, 0, browser::kRowLength, list);
    const std::vector<uint32_t> inverted = PixelsIn(window_->fWindow, row);
    ASSERT_EQ(inverted.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) ASSERT_NE(inverted[i], 0xFFFFFFu) << i << " was " << before[i];
    RGBColor back{};
    GetBackColor(&back);
    EXPECT_EQ(back.red, grey.red);
    browser::FilterListIdProc(lDrawMsg, false, &row, Cell{0, 0}, 0, browser::kRowLength, list);
    GetBackColor(&back);
    EXPECT_EQ(back.red, grey.red);
    const RGBColor white{65535, 65535, 65535};
    RGBBackColor(&white);
    LDispose(list);
}

// A double click on a row opens its criteria, as Criteria... does.
TEST_F(FilterDialogTest, ADoubleClickOnARowOpensItsCriteria)
{
    Script s;
    s.Wait(5);
    const Point row = Row(1), none = criteria_.At(browser::kNoKind);
    s.DoubleClick(row.h, row.v).Wait(5).Click(none.h, none.v).Wait(5).Choose(1).Wait(5).Choose(1);
    Run(std::move(s));
    bool found = false;
    for (const auto& [id, f] : Filters()) {
        if (f.name != "Tables") continue;
        found = true;
        EXPECT_EQ(ReadBE32(f.bytes.data() + 2), 0u) << "no kind left";
    }
    EXPECT_TRUE(found);
}

TEST_F(FilterDialogTest, CancelGivesTheRecordsTheirBytesOfTheOpeningBack)
{
    const StoredFilters before = Filters();
    Script s;
    s.Wait(5);
    ClickAt(s, Row(1));
    ClickAt(s, place_.At(browser::kFilterEdit));
    const Point none = criteria_.At(browser::kNoKind);
    s.Wait(5).Click(none.h, none.v).Wait(5).Choose(1).Wait(5).Choose(2);
    Run(std::move(s));
    EXPECT_EQ(Filters(), before);
}

TEST_F(FilterDialogTest, UpdatedMenusOfferEachFilterWhereItsBitsSayAndResetEveryPaneToTheDefault)
{
    OpenPanes();
    struct Case {
        int16_t id;
        uint8_t byte6, byte7;
    } cases[] = {{128, 0x03, 0x80}, {129, 0x01, 0x00}, {130, 0x02, 0x00}, {131, 0x00, 0x80}};
    for (const Case& c : cases) {
        Bytes b = FilterBytes(Kind(1));
        b[6] = c.byte6;
        b[7] = c.byte7;
        AddFilter(c.id, "F" + std::to_string(c.id), b);
    }
    // A stray record below the first id is none of the filters.
    Bytes stray = FilterBytes(Kind(1));
    stray[6] = 0x03;
    stray[7] = 0x80;
    AddFilter(127, "Stray", stray);
    main_->SetFilter(129);
    window_->UpdateFilters();
    auto offered = [](browser::TRefPlane* p) {
        std::vector<int16_t> ids(size_t(p->fMenuCount));
        // Behind the menu's 2-byte head, as the pop-up reads them.
        EXPECT_EQ(GetHandleSize(p->fFilterMenu), Size(2 + 2 * ids.size()));
        if (!ids.empty()) std::memcpy(ids.data(), *p->fFilterMenu + 2, ids.size() * 2);
        return std::make_pair(ids, p->GetFilter());
    };
    EXPECT_EQ(offered(main_), (std::pair{std::vector<int16_t>{128, 129}, int16_t(128)}));
    EXPECT_EQ(offered(calling_), (std::pair{std::vector<int16_t>{128, 130}, int16_t(128)}));
    EXPECT_EQ(offered(called_), (std::pair{std::vector<int16_t>{128, 131}, int16_t(128)}));
}

}  // namespace
}  // namespace browsertest

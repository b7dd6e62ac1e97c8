// The drawing procedures of the call panes' rows and the dialogs' lists,
// read back from the window's pixels.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/icons/Icons.h"
#include "platform/lists/Lists.h"
#include "platform/text/ScriptManager.h"
#include "platform/textedit/TextEdit.h"
#include "browser/dialogs/FilterDialog.h"
#include "tests/browser/PanesFixture.h"

using namespace platform;

namespace browsertest {
namespace {

class ListDefs : public PanesFixture {
protected:
    void SetUp() override
    {
        PanesFixture::SetUp();
        window_ = NewWindow();
        SetPortWindowPort(window_->fWindow);
        const Rect view{10, 10, 300, 400};
        const ListBounds bounds{0, 0, 0, 1};
        list_ = LNew(&view, &bounds, Point{16, 390}, 0, window_->fWindow, false, false, false, false);
        ASSERT_NE(list_, nullptr);
    }
    void TearDown() override
    {
        if (list_) LDispose(list_);
        SetSysDirection(0);
        PanesFixture::TearDown();
    }
    // Draws `bytes` as the list's only cell with `proc` into `cell`.
    void Draw(ListDefProcPtr proc, const std::vector<uint8_t>& bytes, const Rect& cell, bool selected = false)
    {
        LDelRow(0, 0, list_);
        LAddRow(1, 0, list_);
        LSetCell(bytes.data(), int16_t(bytes.size()), Cell{0, 0}, list_);
        int32_t offset = 0;
        int16_t length = 0;
        ASSERT_TRUE(GetCellDataLocation32(&offset, &length, Cell{0, 0}, list_));
        SetPortWindowPort(window_->fWindow);
        const Rect port = window_->fWindow ? Rect{0, 0, 400, 600} : Rect{};
        ClipRect(&port);
        Rect r = cell;
        proc(lDrawMsg, selected, &r, Cell{0, 0}, offset, length, list_);
    }
    static std::vector<uint8_t> Record(const std::string& name, size_t size)
    {
        std::vector<uint8_t> b(size, 0);
        if (size > 0) b[0] = uint8_t(name.size());
        for (size_t i = 0; i < name.size() && i + 1 < size; ++i) b[i + 1] = uint8_t(name[i]);
        return b;
    }
    // Columns holding a dark pixel in `r`.
    std::vector<int> InkColumns(const Rect& r)
    {
        std::vector<int> cols;
        for (int h = r.left; h < r.right; ++h)
            for (int v = r.top; v < r.bottom; ++v)
                if ((Pixel(h, v) & 0xFF) < 0x80 && ((Pixel(h, v) >> 8) & 0xFF) < 0x80) {
                    cols.push_back(h);
                    break;
                }
        return cols;
    }
    // The pixels of `r` cut to the box of its ink (anything not white).
    struct Ink {
        int width = 0, height = 0;
        std::vector<uint32_t> pixels;
        bool operator==(const Ink& o) const { return width == o.width && height == o.height && pixels == o.pixels; }
    };
    Ink InkOf(const Rect& r)
    {
        int left = r.right, top = r.bottom, right = r.left, bottom = r.top;
        for (int v = r.top; v < r.bottom; ++v)
            for (int h = r.left; h < r.right; ++h)
                if (Pixel(h, v) != 0xFFFFFF) {
                    left = std::min(left, h), right = std::max(right, h + 1);
                    top = std::min(top, v), bottom = std::max(bottom, v + 1);
                }
        Ink ink;
        if (right <= left) return ink;
        ink.width = right - left;
        ink.height = bottom - top;
        ink.pixels = Pixels(Rect{int16_t(top), int16_t(left), int16_t(bottom), int16_t(right)});
        return ink;
    }
    // The check mark as the list font draws its mark character (STR#
    // 1024 item 2) through QuickDraw, on white in a spare corner.
    Ink CheckMark()
    {
        const Rect spare{320, 500, 340, 540};
        EraseRect(&spare);
        TextFont(GetResFont(0));
        TextSize(GetResSize(0));
        TextFace(0);
        TextMode(srcOr);
        MoveTo(510, 334);
        DrawChar(0x12);
        const Ink ink = InkOf(spare);
        EraseRect(&spare);
        return ink;
    }
    int CountRed(const Rect& r)
    {
        int n = 0;
        for (uint32_t p : Pixels(r)) n += (p >> 16) > 0x80 && ((p >> 8) & 0xFF) < 0x40 && (p & 0xFF) < 0x40;
        return n;
    }
    ListHandle list_ = nullptr;
};

TEST_F(ListDefs, ObjectRowsShowTheKindIconAndUnusedObjectsInRed)
{
    called_ = Add<browser::TCalledPlane>(window_, {0, 50, 100, 100});
    TObjQz* unused = Make(2, "Helper", 1);
    TObjQz* startup = Make(2, "startup", 2);
    TObjQz* table = Make(1, "Clients", 3);
    SetPortWindowPort(window_->fWindow);
    LongListHandle rows = called_->fList;
    LongLDoDraw(false, rows);
    LongLAddRow(3, 0, rows);
    for (int32_t r = 0; r < 3; ++r) {
        TObjQz* o = r == 0 ? unused : r == 1 ? startup : table;
        LongLSetCell(&o, kObjectRowLength, r, rows);
    }
    const Rect port{0, 0, 400, 600};
    ClipRect(&port);
    const Rect cell0{200, 10, 216, 300}, cell1{220, 10, 236, 300}, cell2{240, 10, 256, 300};
    browser::CallProcIdProc(kLongLDrawMsg, false, &cell0, 0, 0, rows);
    browser::CallProcIdProc(kLongLDrawMsg, false, &cell1, 1, 0, rows);
    browser::CallProcIdProc(kLongLDrawMsg, false, &cell2, 2, 0, rows);

    EXPECT_GT(CountRed(Rect{200, 26, 216, 300}), 10);
    EXPECT_EQ(CountRed(Rect{220, 26, 236, 300}), 0);

    // The icon square is the kind's colour icon, plotted alone.
    const std::vector<uint32_t> icon = Pixels(Rect{240, 10, 256, 26});
    const Rect spare{300, 10, 316, 26};
    EraseRect(&spare);
    CIconHandle h = GetCIcon(2041);
    ASSERT_NE(h, nullptr);
    PlotCIcon(&spare, h);
    DisposeCIcon(h);
    EXPECT_EQ(Pixels(spare), icon);

    // A selected row is inverted; a hilite message inverts it back.
    const std::vector<uint32_t> plain = Pixels(cell2);
    browser::CallProcIdProc(kLongLHiliteMsg, false, &cell2, 2, 0, rows);
    EXPECT_NE(Pixels(cell2), plain);
    browser::CallProcIdProc(kLongLHiliteMsg, false, &cell2, 2, 0, rows);
    EXPECT_EQ(Pixels(cell2), plain);
}

TEST_F(ListDefs, CheckListsResourceListsAndCommandRowsPlaceTheirFields)
{
    // Kind check list: the check in the cell's last 18 pixels.
    const Rect cell{20, 10, 36, 310};
    std::vector<uint8_t> checked = Record("Tables", 259);
    checked[256] = 0;
    checked[257] = 1;
    checked[258] = 1;
    Draw(browser::SearchListIdProc, checked, cell);
    const Ink check = CheckMark();
    ASSERT_GT(check.width, 2);
    EXPECT_TRUE(InkOf(Rect{20, 292, 36, 310}) == check) << "the check glyph";
    EXPECT_FALSE(InkColumns(Rect{20, 10, 36, 100}).empty());
    // The name after one space, pixel for pixel as a text box draws it.
    {
        const Rect spare{60, 10, 76, 310};
        EraseRect(&spare);
        TextFont(GetResFont(0));
        TextSize(GetResSize(0));
        TextFace(0);
        TextMode(srcCopy);
        TETextBox(" Tables", 7, &spare, teFlushLeft);
        EXPECT_TRUE(Pixels(Rect{20, 10, 36, 290}) == Pixels(Rect{60, 10, 76, 290}));
    }
    std::vector<uint8_t> unchecked = checked;
    unchecked[258] = 0;
    Draw(browser::SearchListIdProc, unchecked, cell);
    EXPECT_TRUE(InkColumns(Rect{20, 292, 36, 310}).empty());
    // A cell cut before the check byte reads it as absent.
    Draw(browser::SearchListIdProc, std::vector<uint8_t>(checked.begin(), checked.begin() + 258), cell);
    EXPECT_TRUE(InkColumns(Rect{20, 292, 36, 310}).empty());

    // String lists: the id right-aligned within left + 110 to 170.
    std::vector<uint8_t> res = Record("Messages", 260);
    res[256] = 0x03;
    res[257] = 0xE9;  // 1001
    res[258] = 0;
    res[259] = 7;
    Draw(browser::ResListIdProc, res, cell);
    const std::vector<int> idInk = InkColumns(Rect{20, 120, 36, 180});
    ASSERT_FALSE(idInk.empty());
    EXPECT_GE(idInk.back(), 170);
    EXPECT_LE(idInk.back(), 180);
    EXPECT_GT(idInk.front(), 140);
    EXPECT_FALSE(InkColumns(Rect{20, 290, 36, 310}).empty());
    // Without the count field, nothing is drawn at the right.
    Draw(browser::ResListIdProc, std::vector<uint8_t>(res.begin(), res.begin() + 258), cell);
    EXPECT_TRUE(InkColumns(Rect{20, 250, 36, 310}).empty());
    EXPECT_FALSE(InkColumns(Rect{20, 120, 36, 180}).empty());

    // Command rows: the key 40 pixels from the right, only when present.
    std::vector<uint8_t> cmd = Record("Save", 522);
    cmd[521] = 'S';
    Draw(browser::SpecialListIdProc, cmd, cell);
    const std::vector<int> keyInk = InkColumns(Rect{20, 270, 36, 310});
    ASSERT_FALSE(keyInk.empty());
    EXPECT_GE(keyInk.front(), 270);
    Draw(browser::SpecialListIdProc, std::vector<uint8_t>(cmd.begin(), cmd.begin() + 521), cell);
    EXPECT_TRUE(InkColumns(Rect{20, 270, 36, 310}).empty());
}

TEST_F(ListDefs, ShortAndDamagedCellsReadNothingPastTheirData)
{
    // Seeded cells of every short length with length bytes claiming more.
    uint32_t seed = 12345;
    const Rect cell{20, 10, 36, 310};
    for (int i = 0; i < 200; ++i) {
        seed = seed * 1103515245u + 12345u;
        std::vector<uint8_t> bytes(size_t(seed >> 16) % 530);
        for (auto& b : bytes) {
            seed = seed * 1103515245u + 12345u;
            b = uint8_t(seed >> 24);
        }
        for (ListDefProcPtr proc : {browser::SearchListIdProc, browser::ResListIdProc, browser::SpecialListIdProc})
            Draw(proc, bytes, cell, i % 2 == 0);
    }
    SUCCEED();
}

TEST_F(ListDefs, FilterRowsBoxTheNameThenCheckEachOfferedPaneInItsColumn)
{
    const Rect cell{20, 10, 36, 310};
    std::vector<uint8_t> row = Record("A name long enough to run past the first hundred and fifty pixels", 268);
    row[265] = 1;  // where-used
    row[266] = 0;  // main list
    row[267] = 1;  // uses
    const Ink check = CheckMark();
    Draw(browser::FilterListIdProc, row, cell);
    const std::vector<int> name = InkColumns(Rect{20, 10, 36, 10 + 158});
    ASSERT_FALSE(name.empty());
    // The box ends the name at a word that fits it.
    EXPECT_LT(name.back(), 10 + 158);
    EXPECT_GT(name.back(), 10 + 100);
    struct Column {
        int16_t left;
        bool inked;
    } columns[] = {{10 + 158, true}, {10 + 174, false}, {10 + 190, true}};
    for (const Column& c : columns) {
        const std::vector<int> ink = InkColumns(Rect{20, c.left, 36, int16_t(c.left + 16)});
        EXPECT_EQ(!ink.empty(), c.inked) << c.left;
        if (!ink.empty()) {
            EXPECT_LT(ink.front(), c.left + 8) << "the glyph starts its box";
            EXPECT_TRUE(InkOf(Rect{20, c.left, 36, int16_t(c.left + 16)}) == check) << "the check glyph at " << c.left;
        }
    }
    // Past the third column nothing is drawn; a cut row shows no flags.
    EXPECT_TRUE(InkColumns(Rect{20, 10 + 206, 36, 310}).empty());
    Draw(browser::FilterListIdProc, std::vector<uint8_t>(row.begin(), row.begin() + 266), cell);
    EXPECT_FALSE(InkColumns(Rect{20, 10 + 158, 36, 10 + 174}).empty());
    EXPECT_TRUE(InkColumns(Rect{20, 10 + 190, 36, 10 + 206}).empty());
}

// Labels right to left are the same ink as left to right, moved so that
// the text ends 4 pixels inside the cell's right edge.
TEST_F(ListDefs, RightToLeftLabelsOfBothListsEndFourPixelsFromTheRightEdge)
{
    main_ = Add<browser::TLstPlane>(window_, {0, 0, 100, 50}, doc_.fTypeList);
    called_ = Add<browser::TCalledPlane>(window_, {0, 50, 100, 100});
    TObjQz* method = Make(2, "Close_Invoice", 1);
    TObjQz* ghost = ConstructObjOfKind(1);
    ghost->kind = 1;
    std::memcpy(ghost->name, PName("Ghost"), 6);
    TObjQz* tableMethod = ConstructObjOfKind(26);
    tableMethod->kind = 26;
    static_cast<TStructObjQz*>(tableMethod)->ownerObj = ghost;
    unsigned char prefix[256], text[256];
    browser::RowText(tableMethod, prefix, text);
    EXPECT_EQ(P(text), "[Ghost]") << "a table the document does not list";
    TObjQz* variable = Make(9, "Total", 3);
    static_cast<TVarObjQz*>(variable)->method = method;
    for (LongListHandle rows : {main_->fList, called_->fList}) {
        LongLDoDraw(false, rows);
        LongLAddRow(3, 0, rows);
        TObjQz* objects[3] = {method, tableMethod, variable};
        for (int32_t r = 0; r < 3; ++r) LongLSetCell(&objects[r], kObjectRowLength, r, rows);
    }
    SetPortWindowPort(window_->fWindow);
    const Rect port{0, 0, 400, 600};
    ClipRect(&port);
    TextFont(GetResFont(0));
    TextSize(GetResSize(0));
    for (int32_t r = 0; r < 3; ++r) {
        for (bool mainList : {true, false}) {
            LongListHandle rows = mainList ? main_->fList : called_->fList;
            auto draw = mainList ? browser::ListProcIdProc : browser::CallProcIdProc;
            const int16_t textLeft = mainList ? 32 : 16;
            const Rect ltr{int16_t(100 + 40 * r), 10, int16_t(116 + 40 * r), 400};
            const Rect rtl{int16_t(120 + 40 * r), 10, int16_t(136 + 40 * r), 400};
            SetSysDirection(0);
            draw(kLongLDrawMsg, false, &ltr, r, 0, rows);
            SetSysDirection(-1);
            draw(kLongLDrawMsg, false, &rtl, r, 0, rows);
            auto* obj = static_cast<TObjQz*>(LongLRowObject(r, rows));
            browser::RowText(obj, prefix, text);
            TextFace(italic);
            int16_t width = prefix[0] ? StringWidth(prefix) : 0;
            TextFace(0);
            width = int16_t(width + StringWidth(text));
            const int16_t shift = int16_t((rtl.right - 4 - width) - (ltr.left + textLeft + 4));
            ASSERT_GT(shift, 0);
            for (int16_t v = 0; v < 16; ++v)
                for (int16_t h = int16_t(ltr.left + textLeft); h + shift < rtl.right; ++h)
                    ASSERT_EQ(Pixel(h + shift, rtl.top + v), Pixel(h, ltr.top + v))
                        << (mainList ? "main list" : "pick list") << " row " << r << " at " << h << ", " << v;
        }
    }
    static_cast<TStructObjQz*>(tableMethod)->ownerObj = nullptr;
    tableMethod->Dispose();
    ghost->Dispose();
}

}  // namespace
}  // namespace browsertest

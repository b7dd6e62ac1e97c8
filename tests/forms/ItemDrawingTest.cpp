// An item list drawn: each case compares the list's pixels with the same
// texts and icons drawn straight by platform calls at the places the rows
// promise; the in-place edit end; the status look-ups of long lists.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "forms/lists/ItemDrawing.h"
#include "platform/core/Faults.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Text.h"
#include "platform/icons/Icons.h"
#include "platform/resfiles/Resources.h"
#include "tests/forms/DrawnPage.h"
#include "toolbox/foundation/Colors.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VText.h"
#include "toolbox/views/VFrameTextEdit.h"

using namespace platform;

namespace {

constexpr int16_t kSide = 200;
constexpr int16_t kRow = 16;
constexpr int16_t kLeft = 8, kTop = 4;

std::basic_string<unsigned char> P(const std::string& s)
{
    std::basic_string<unsigned char> p(1, uint8_t(s.size()));
    p.append(s.begin(), s.end());
    return p;
}

// Highlight colours a test can tell apart: text red, ground green.
bool Hilites(StdColor c, uint32_t* colour)
{
    if (c == kHiliteTextColour) *colour = 0x0000FF;
    else if (c == kHiliteBackColour) *colour = 0x00FF00;
    else return false;
    return true;
}

class ItemDrawing : public ::testing::Test {
protected:
    void SetUp() override
    {
        appRes_ = OpenResFile(QZ_APP_RESOURCES, fsRdPerm, ResFileFork::Data);
        ASSERT_GT(appRes_, 0);
        ASSERT_TRUE(page_.Made());
        InitList();
    }
    void InitList()
    {
        initqlist(&list_, 0, 255);
        list_.area = Rect{kTop, kLeft, int16_t(kTop + 8 * kRow), 180};
        list_.rowHeight = kRow;
        list_.rowsShown = 8;
        list_.baselineOffsets[0] = 12;
        list_.size = 10;
        list_.markHeight = 9;
    }
    void TearDown() override
    {
        SetStdColorHook(nullptr);
        ClearAllFaults();
        deinitqlist(&list_);
        CloseResFile(appRes_);
    }

    ItemHandle Add(const std::string& text, ItemHandle* first, ItemHandle* last, int16_t mark = 0)
    {
        return addqlist(&list_, P(text).c_str(), 0, mark, nullptr, nullptr, 0, 0, 0, first, last);
    }
    // A (open) holding A1 (open, holding A1a) and A2; then B.
    void Tree()
    {
        ItemHandle f = nullptr, l = nullptr, bf = nullptr, bl = nullptr, cf = nullptr, cl = nullptr;
        a_ = Add("A", &f, &l);
        Add("B", &f, &l);
        a1_ = Add("A1", &bf, &bl);
        Add("A2", &bf, &bl);
        Add("A1a", &cf, &cl);
        (*a_)->firstChild = bf;
        (*a1_)->firstChild = cf;
        SetOpenState(&list_, a_, true);
        SetOpenState(&list_, a1_, true);
        list_.first = f;
        transliste(&list_);
    }
    std::vector<uint32_t> Pixels(const std::function<void()>& draw) { return page_.Drawn(draw); }
    std::string Differ(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) { return page_.Differ(a, b); }
    // Where row n drawn alone first differs from `expected`, "" nowhere.
    std::string RowAgainst(int32_t n, bool selected, const std::function<void()>& expected)
    {
        return Differ(Pixels([&] { dessitem(&list_, n, selected, false); }), Pixels(expected));
    }

    // The reference of one row: its text at x in the list's font.
    void Text(const std::string& text, int16_t x, int32_t row, StyleField face = normal)
    {
        TextFont(list_.font);
        TextSize(list_.size);
        TextFace(face);
        MoveTo(x, int16_t(kTop + kRow * (row - 1) + 12));
        DrawText(text.data(), 0, int16_t(text.size()));
        TextFace(normal);
    }
    static void Icon(int16_t id, const Rect& r)
    {
        CIconHandle icon = GetCIcon(id);
        ASSERT_NE(icon, nullptr) << id;
        PlotCIcon(&r, icon);
        DisposeCIcon(icon);
    }

    int16_t appRes_ = 0;
    drawntest::Page page_{kSide, kSide};
    itemlistrec list_;
    ItemHandle a_ = nullptr, a1_ = nullptr;
};

}  // namespace

TEST_F(ItemDrawing, TextStartsWhereEachStyleIndentsItsLevel)
{
    struct Case {
        uint8_t treeStyle;
        int16_t indent;
        int16_t x;  // of A1a, level 2
    };
    for (const Case& c : {Case{1, 12, kLeft + 2 * 10 + 2 + 12}, Case{0, 16, kLeft + 2 * 16 + 6 + 16},
                          Case{0, 0, kLeft + 2 * 1 + 6 + 0}}) {
        deinitqlist(&list_);
        InitList();
        Tree();
        list_.treeStyle = c.treeStyle;
        list_.indent = c.indent;
        const auto drawn = Pixels([&] { dessitem(&list_, 3, false, true); });
        EXPECT_EQ(Differ(drawn, Pixels([&] { Text("A1a", c.x, 3); })), "") << int(c.treeStyle) << " " << c.indent;
    }
    // Without branches the text starts 2 pixels in.
    deinitqlist(&list_);
    InitList();
    ItemHandle f = nullptr, l = nullptr;
    Add("Flat", &f, &l);
    list_.first = f;
    list_.indent = 30;
    transliste(&list_);
    EXPECT_EQ(RowAgainst(1, false, [&] { Text("Flat", kLeft + 2, 1); }), "");
}

TEST_F(ItemDrawing, DisclosureIconsOpenAndClosedInEachStyle)
{
    Tree();
    list_.indent = 12;
    // Triangles at left + 2; boxes 4 pixels into their level; each in a
    // 32-pixel square whose top centres the 9-pixel mark on the row.
    const int16_t top = kTop + (kRow - 9) / 2;
    for (bool open : {true, false}) {
        SetOpenState(&list_, a_, open);
        transliste(&list_);
        for (uint8_t style : {1, 0}) {
            list_.treeStyle = style;
            const int16_t id = int16_t((style ? 140 : 138) + (open ? 1 : 0)), at = style ? kLeft + 2 : kLeft + 4;
            EXPECT_EQ(RowAgainst(1, false, [&] {
                          Icon(id, Rect{top, at, int16_t(top + 32), int16_t(at + 32)});
                          Text("A", style ? kLeft + 2 + 12 : kLeft + 6 + 12, 1);
                      }),
                      "")
                << "style " << int(style) << (open ? " open" : " closed");
        }
    }
}

TEST_F(ItemDrawing, DottedLinesAlternateTheirPatternWithTheRow)
{
    Pattern even, odd;
    BuildLinePattern(2, &even);
    BuildLinePattern(3, &odd);
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(even.pat[k], k % 2 ? 0x55 : 0xAA) << k;
        EXPECT_EQ(odd.pat[k], k % 2 ? 0xAA : 0x55) << k;
    }
    Tree();
    list_.treeStyle = 0;
    list_.indent = 16;
    // Row 2 (A1, which has a next sibling): its parent's column runs the
    // whole row in the pattern. Row 4 (A2, the last child): half a row.
    const int16_t column = kLeft + 4 + 9 / 2;
    for (const auto& [row, bottom] : {std::pair{2, int(kRow)}, std::pair{4, kRow / 2 + 1}}) {
        const auto drawn = Pixels([&, row = row] { dessitem(&list_, row, false, false); });
        Pattern pat;
        BuildLinePattern(row, &pat);
        for (int dv = 0; dv < kRow; ++dv) {
            const int v = kTop + kRow * (row - 1) + dv;
            const bool dot = dv < bottom && (pat.pat[v & 7] & (0x80 >> (column & 7)));
            EXPECT_EQ(drawn[size_t(v * kSide + column)], dot ? 0u : 0xFFFFFFu) << "row " << row << " v " << v;
        }
    }
}

// Marks right-aligned 2 pixels in; an item's icon centred on the row, its
// text 4 pixels after it; a selected row in the highlight colours.
TEST_F(ItemDrawing, MarksIconsAndTheSelectedRow)
{
    CIconHandle icon = GetCIcon(2044);
    ASSERT_NE(icon, nullptr);
    const int16_t w = int16_t((*icon)->iconPMap.bounds.right - (*icon)->iconPMap.bounds.left);
    const int16_t h = int16_t((*icon)->iconPMap.bounds.bottom - (*icon)->iconPMap.bounds.top);
    DisposeCIcon(icon);
    struct Case {
        int16_t mark;
        std::string text;
        int32_t icon;
    };
    for (const Case& c : {Case{12, "12", 0}, Case{-1, "\x12", 0}, Case{-18, "\x12", 0}, Case{-65, "A", 2044},
                          Case{0, "", 2044}}) {
        ItemHandle f = nullptr, l = nullptr;
        emptyqlist(&list_);
        (*Add("Item", &f, &l, c.mark))->icon = c.icon;
        list_.first = f;
        transliste(&list_);
        EXPECT_EQ(RowAgainst(1, false, [&] {
                      const int16_t top = int16_t(kTop + (kRow - h) / 2);
                      if (c.icon) Icon(2044, Rect{top, kLeft + 2, int16_t(top + h), int16_t(kLeft + 2 + w)});
                      Text("Item", int16_t(kLeft + 2 + (c.icon ? w + 4 : 0)), 1);
                      Text(c.text, int16_t(180 - 2 - TextWidth(c.text.data(), 0, int16_t(c.text.size()))), 1);
                  }),
                  "")
            << "mark " << c.mark;
    }
    int16_t dw = 0, dh = 0;
    GetListIconDims(2044, &dw, &dh);
    EXPECT_EQ(std::pair(dw, dh), std::pair(w, h));
    for (int32_t none : {0, 0x00030001, 0x00000FFF}) {
        GetListIconDims(none, &dw, &dh);
        EXPECT_EQ(dw + dh, 0) << none;
    }
    // Selected: ground in colour 30, text in colour 28.
    (*list_.first)->icon = 0;
    SetStdColorHook(Hilites);
    EXPECT_EQ(RowAgainst(1, true, [&] {
                  const RGBColor green{0, 0xFFFF, 0}, red{0xFFFF, 0, 0};
                  RGBBackColor(&green);
                  const Rect row{kTop, kLeft, kTop + kRow, 180};
                  EraseRect(&row);
                  RGBForeColor(&red);
                  Text("Item", kLeft + 2, 1);
              }),
              "");
}

TEST_F(ItemDrawing, ThePopUpShowsTheSelectedTextInAShadowedBox)
{
    Tree();
    list_.mode = 2;
    list_.area = Rect{20, 20, 40, 120};
    list_.selected = 2;
    const auto expected = Pixels([&] {
        const Rect box{20, 20, 38, 118};
        FrameRect(&box);
        MoveTo(21, 38);
        LineTo(118, 38);
        LineTo(118, 21);
        TextFont(list_.font);
        TextSize(list_.size);
        FontInfo info{};
        GetFontInfo(&info);
        ClipRect(&box);
        MoveTo(22, int16_t(21 + info.ascent));
        DrawString(P("A1").c_str());
    });
    const Rect all{0, 0, kSide, kSide};
    ClipRect(&all);
    EXPECT_EQ(Differ(Pixels([&] { DrawxPopup(&list_); }), expected), "");
}

TEST_F(ItemDrawing, TheListDrawsOnlyTheRowsShownClippedToItsArea)
{
    Tree();
    list_.firstShown = 1;
    list_.rowsShown = 3;
    list_.area.bottom = int16_t(kTop + 2 * kRow + 6);  // the third row shown is cut
    const auto expected = Pixels([&] {
        ClipRect(&list_.area);
        const int16_t top = kTop + (kRow - 9) / 2;
        Icon(141, Rect{top, kLeft + 2, int16_t(top + 32), kLeft + 34});  // A1 is open
        for (const auto& [text, row, x] : {std::tuple{"A1", 1, 12}, std::tuple{"A1a", 2, 22}, std::tuple{"A2", 3, 12}})
            Text(text, int16_t(kLeft + x), row);
    });
    const Rect all{0, 0, kSide, kSide};
    ClipRect(&all);
    EXPECT_EQ(Differ(Pixels([&] { dessliste(&list_); }), expected), "");
}

TEST_F(ItemDrawing, EndingAnEditStoresTheTextUnlessTheLayoutKeepsIt)
{
    Tree();
    auto edit = [&](const std::string& text) {
        const VRect r(0, 0, 80, 16);
        auto* frame = new VFrameTextEdit(nullptr, 0x44, &r);
        VText t;
        t.FromMacPString(P(text).c_str());
        frame->SetText(t);
        list_.editFrame = frame;
    };
    list_.selected = 2;
    edit("Edited");
    list_.keepEditing = 1;
    transliste(&list_);
    ASSERT_NE(list_.editFrame, nullptr);
    list_.keepEditing = 0;
    transliste(&list_);
    EXPECT_EQ(list_.editFrame, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(ItemText(a1_) + 1), ItemText(a1_)[0]), "Edited");
    EXPECT_EQ(std::pair(list_.lastEdited, int32_t(list_.edited)), std::pair(2, 1));
    // No valid row: the frame goes, no item changes.
    list_.edited = 0;
    list_.selected = 9;
    edit("Lost");
    StopEditInList(&list_);
    EXPECT_EQ(list_.editFrame, nullptr);
    EXPECT_EQ(list_.edited, 0);
}

TEST_F(ItemDrawing, LongListsFindEveryItemsStatusWithOrWithoutTheTable)
{
    constexpr int kItems = 3000;
    for (bool outOfMemory : {false, true}) {
        emptyqlist(&list_);
        std::vector<ItemHandle> items;
        ItemHandle f = nullptr, l = nullptr;
        for (int i = 0; i < kItems; ++i) items.push_back(Add("x", &f, &l));
        // Without room for the table the entries are searched instead.
        if (outOfMemory) InjectFault(FaultKind::Allocation, 0, -1);
        for (int i = 0; i < kItems; i += 3) SetOpenState(&list_, items[size_t(i)], true);
        ClearAllFaults();
        int open = 0;
        for (int i = 0; i < kItems; ++i) open += IsOpen(&list_, items[size_t(i)]) == (i % 3 == 0);
        EXPECT_EQ(open, kItems) << outOfMemory;
        // An item first seen by a setter gets one entry, found afterwards.
        ItemHandle stranger = newqlist(&list_, P("s").c_str(), 0, 0, nullptr, nullptr, 0, 0, 0);
        SetItemLevel(&list_, stranger, 7);
        EXPECT_EQ(GetItemLevel(&list_, stranger), 7);
        platform::DisposeHandle(reinterpret_cast<Handle>(stranger));
    }
}


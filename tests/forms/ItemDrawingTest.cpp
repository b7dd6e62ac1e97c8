// An item list drawn: each case compares the list's pixels with the same
// texts and icons drawn straight by platform calls at the places the rows
// promise; the in-place edit end; the status look-ups of long lists.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>
#include <string>
#include <vector>

#include "forms/lists/ItemDrawing.h"
#include "platform/core/Faults.h"
#include "platform/core/Memory.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/fonts/Fonts.h"
#include "platform/icons/Icons.h"
#include "platform/resfiles/Resources.h"
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
        const Rect bounds{0, 0, kSide, kSide};
        ASSERT_EQ(NewGWorld(&world_, 32, &bounds, nullptr, nullptr, 0), noErr);
        GetGWorld(&saved_, &device_);
        SetGWorld(world_, nullptr);
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
        SetGWorld(saved_, device_);
        DisposeGWorld(world_);
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

    // The world's pixels after `draw` on a white page.
    std::vector<uint32_t> Pixels(const std::function<void()>& draw)
    {
        const Rect bounds{0, 0, kSide, kSide};
        PenNormal();
        ForeColor(blackColor);
        BackColor(whiteColor);
        EraseRect(&bounds);
        draw();
        const Surface s = MakeSurface(reinterpret_cast<const BitMap*>(*GetGWorldPixMap(world_)));
        std::vector<uint32_t> out;
        for (int v = 0; v < kSide; ++v)
            for (int h = 0; h < kSide; ++h) out.push_back(s.ReadRGB(h, v) & 0xFFFFFF);
        return out;
    }
    // Where two drawings first differ, "" when they agree.
    static std::string Differ(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b)
    {
        for (size_t i = 0; i < a.size(); ++i)
            if (a[i] != b[i]) return "(" + std::to_string(i % kSide) + ", " + std::to_string(i / kSide) + ")";
        return "";
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
    GWorldPtr world_ = nullptr;
    CGrafPtr saved_ = nullptr;
    GDHandle device_ = nullptr;
    itemlistrec list_;
    ItemHandle a_ = nullptr, a1_ = nullptr;
};

}  // namespace

TEST_F(ItemDrawing, TextStartsWhereEachStyleIndentsItsLevel)
{
    struct Case {
        uint8_t treeStyle;
        int16_t indent;
        int32_t row;  // A1a, level 2
        int16_t x;
    };
    for (const Case& c : {Case{1, 12, 3, kLeft + 2 * 10 + 2 + 12}, Case{0, 16, 3, kLeft + 2 * 16 + 6 + 16},
                          Case{0, 0, 3, kLeft + 2 * 1 + 6 + 0}}) {
        deinitqlist(&list_);
        InitList();
        Tree();
        list_.treeStyle = c.treeStyle;
        list_.indent = c.indent;
        const auto drawn = Pixels([&] { dessitem(&list_, c.row, false, true); });
        const auto expected = Pixels([&] { Text("A1a", c.x, c.row); });
        EXPECT_EQ(Differ(drawn, expected), "") << int(c.treeStyle) << " indent " << c.indent;
    }
    // Without branches the text starts 2 pixels in.
    deinitqlist(&list_);
    InitList();
    ItemHandle f = nullptr, l = nullptr;
    Add("Flat", &f, &l);
    list_.first = f;
    list_.indent = 30;
    transliste(&list_);
    EXPECT_EQ(Differ(Pixels([&] { dessitem(&list_, 1, false, false); }), Pixels([&] { Text("Flat", kLeft + 2, 1); })), "");
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
            const int16_t id = int16_t((style ? 140 : 138) + (open ? 1 : 0));
            const int16_t at = style ? kLeft + 2 : kLeft + 4;
            const int16_t text = style ? kLeft + 2 + 12 : kLeft + 6 + 12;
            const auto drawn = Pixels([&] { dessitem(&list_, 1, false, false); });
            const auto expected = Pixels([&] {
                Icon(id, Rect{top, at, int16_t(top + 32), int16_t(at + 32)});
                Text("A", text, 1);
            });
            EXPECT_EQ(Differ(drawn, expected), "") << "style " << int(style) << (open ? " open" : " closed");
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
        const auto drawn = Pixels([&] { dessitem(&list_, row, false, false); });
        Pattern pat;
        BuildLinePattern(row, &pat);
        for (int dv = 0; dv < kRow; ++dv) {
            const int v = kTop + kRow * (row - 1) + dv;
            const bool dot = dv < bottom && (pat.pat[v & 7] & (0x80 >> (column & 7)));
            EXPECT_EQ(drawn[size_t(v * kSide + column)], dot ? 0u : 0xFFFFFFu) << "row " << row << " v " << v;
        }
    }
}

TEST_F(ItemDrawing, MarksAreDrawnRightAlignedAndSelectedRowsInTheHighlight)
{
    for (const auto& [mark, text] : {std::pair<int16_t, std::string>{12, "12"}, {-1, "\x12"}, {-18, "\x12"},
                                      {-65, "A"}, {0, ""}}) {
        ItemHandle f = nullptr, l = nullptr;
        emptyqlist(&list_);
        Add("Item", &f, &l, mark);
        list_.first = f;
        transliste(&list_);
        const auto drawn = Pixels([&] { dessitem(&list_, 1, false, false); });
        const auto expected = Pixels([&] {
            Text("Item", kLeft + 2, 1);
            const int16_t w = TextWidth(text.data(), 0, int16_t(text.size()));
            Text(text, int16_t(180 - 2 - w), 1);
        });
        EXPECT_EQ(Differ(drawn, expected), "") << "mark " << mark;
    }
    // A selected row: ground in colour 30, text in colour 28.
    SetStdColorHook(Hilites);
    const auto drawn = Pixels([&] { dessitem(&list_, 1, true, false); });
    const auto expected = Pixels([&] {
        const RGBColor green{0, 0xFFFF, 0}, red{0xFFFF, 0, 0};
        RGBBackColor(&green);
        const Rect row{kTop, kLeft, kTop + kRow, 180};
        EraseRect(&row);
        RGBForeColor(&red);
        Text("Item", kLeft + 2, 1);
        ForeColor(blackColor);
        BackColor(whiteColor);
    });
    EXPECT_EQ(Differ(drawn, expected), "");
}

TEST_F(ItemDrawing, AnItemsIconIsCentredAndItsTextFollowsIt)
{
    ItemHandle f = nullptr, l = nullptr;
    ItemHandle item = Add("Listed", &f, &l);
    (*item)->icon = 2044;  // an icon family of the program
    list_.first = f;
    transliste(&list_);
    CIconHandle icon = GetCIcon(2044);
    ASSERT_NE(icon, nullptr);
    const Rect b = (*icon)->iconPMap.bounds;
    DisposeCIcon(icon);
    const int16_t w = int16_t(b.right - b.left), h = int16_t(b.bottom - b.top);
    int16_t dw = 0, dh = 0;
    GetListIconDims(2044, &dw, &dh);
    EXPECT_EQ(dw, w);
    EXPECT_EQ(dh, h);
    const auto drawn = Pixels([&] { dessitem(&list_, 1, false, false); });
    const auto expected = Pixels([&] {
        const int16_t top = int16_t(kTop + (kRow - h) / 2);
        Icon(2044, Rect{top, int16_t(kLeft + 2), int16_t(top + h), int16_t(kLeft + 2 + w)});
        Text("Listed", int16_t(kLeft + 2 + w + 4), 1);
    });
    EXPECT_EQ(Differ(drawn, expected), "");
    for (int32_t none : {0, 0x00030001, 0x00000FFF}) {
        GetListIconDims(none, &dw, &dh);
        EXPECT_EQ(dw + dh, 0) << none;
    }
}

TEST_F(ItemDrawing, ThePopUpShowsTheSelectedTextInAShadowedBox)
{
    Tree();
    list_.mode = 2;
    list_.area = Rect{20, 20, 40, 120};
    list_.selected = 2;
    const auto drawn = Pixels([&] { DrawxPopup(&list_); });
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
        const Rect all{0, 0, kSide, kSide};
        ClipRect(&all);
    });
    EXPECT_EQ(Differ(drawn, expected), "");
}

TEST_F(ItemDrawing, TheListDrawsOnlyTheRowsShownClippedToItsArea)
{
    Tree();
    list_.firstShown = 1;
    list_.rowsShown = 3;
    list_.area.bottom = int16_t(kTop + 2 * kRow + 6);  // the third row shown is cut
    const auto drawn = Pixels([&] { dessliste(&list_); });
    const auto expected = Pixels([&] {
        const Rect area = list_.area;
        ClipRect(&area);
        const int16_t top = kTop + (kRow - 9) / 2;
        Icon(141, Rect{top, kLeft + 2, int16_t(top + 32), kLeft + 34});  // A1 is open
        for (const auto& [text, row, x] : {std::tuple{"A1", 2, kLeft + 10 + 2}, std::tuple{"A1a", 3, kLeft + 20 + 2},
                                          std::tuple{"A2", 4, kLeft + 10 + 2}})
            Text(text, int16_t(x), row - 1);
        const Rect all{0, 0, kSide, kSide};
        ClipRect(&all);
    });
    EXPECT_EQ(Differ(drawn, expected), "");
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
    const unsigned char* t = ItemText(a1_);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(t + 1), t[0]), "Edited");
    EXPECT_EQ(list_.lastEdited, 2);
    EXPECT_EQ(list_.edited, 1);
    // No valid row: the frame goes, no item changes.
    list_.edited = 0;
    list_.selected = 9;
    edit("Lost");
    StopEditInList(&list_);
    EXPECT_EQ(list_.editFrame, nullptr);
    EXPECT_EQ(list_.edited, 0);
    EXPECT_TRUE(UseNatifControl());
}

TEST_F(ItemDrawing, LongListsFindEveryItemsStatusWithOrWithoutTheTable)
{
    constexpr int kItems = 3000;
    for (int fault : {-1, 0}) {
        emptyqlist(&list_);
        std::vector<ItemHandle> items;
        ItemHandle f = nullptr, l = nullptr;
        for (int i = 0; i < kItems; ++i) items.push_back(Add("x", &f, &l));
        list_.first = f;
        // Out of memory for the table: the entries are searched instead.
        if (fault == 0) InjectFault(FaultKind::Allocation, 0, -1);
        for (int i = 0; i < kItems; i += 3) SetOpenState(&list_, items[size_t(i)], true);
        ClearAllFaults();
        int open = 0;
        for (int i = 0; i < kItems; ++i) open += IsOpen(&list_, items[size_t(i)]) == (i % 3 == 0);
        EXPECT_EQ(open, kItems) << "fault " << fault;
        // An item first seen by a setter gets one entry, found afterwards.
        ItemHandle stranger = newqlist(&list_, P("s").c_str(), 0, 0, nullptr, nullptr, 0, 0, 0);
        SetItemLevel(&list_, stranger, 7);
        EXPECT_EQ(GetItemLevel(&list_, stranger), 7);
        platform::DisposeHandle(reinterpret_cast<Handle>(stranger));
    }
}

TEST_F(ItemDrawing, TheUserItemDrawsItsDialogsListGreyedWhileNotShown)
{
    Tree();
    auto* dialog = reinterpret_cast<DialogRef>(uintptr_t(0x1000));
    auto* other = reinterpret_cast<DialogRef>(uintptr_t(0x2000));
    LliRec entries[3] = {};
    entries[0].dialog = dialog;
    entries[1].dialog = other;
    entries[2].dialog = dialog;
    entries[2].lists[4] = &list_;  // item 5 of the last entry
    llidlg = entries;
    nlli = 3;
    EXPECT_EQ(quellli(dialog), 3);
    EXPECT_EQ(quellli(other), 2);
    EXPECT_EQ(quellli(nullptr), 0);
    // Items without a list, or out of range, draw nothing.
    const auto blank = Pixels([] {});
    for (DialogItemIndex item : {0, 4, 51}) EXPECT_EQ(Differ(Pixels([&] { itemlist(dialog, item); }), blank), "") << item;
    for (uint8_t mode : {1, 2}) {
        list_.mode = mode;
        list_.shown = 0;
        const auto drawn = Pixels([&] { itemlist(dialog, 5); });
        const auto expected = Pixels([&] {
            if (mode == 1) dessliste(&list_);
            else DrawxPopup(&list_);
            Pattern gray;
            PenPat(GetQDGlobalsGray(&gray));
            PenMode(patBic);
            PaintRect(&list_.area);
            PenNormal();
        });
        EXPECT_EQ(Differ(drawn, expected), "") << "mode " << int(mode);
    }
    llidlg = nullptr;
    nlli = 0;
}

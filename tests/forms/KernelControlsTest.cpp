// The kernel's control drawings of variables, each compared pixel for pixel
// with its parts drawn by the platform's calls at the expected places, and
// the drawing record a variable fills for them.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "forms/drawing/KernelControls.h"
#include "forms/drawing/StyleSheetsInUse.h"
#include "forms/objects/EditableObjects.h"
#include "looks/LookServices.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "tests/forms/DrawnPage.h"

using namespace platform;

namespace {

constexpr int16_t kSide = 64;
const Rect kR{4, 6, 24, 56};  // 50 wide, 20 high

void Line(int16_t h0, int16_t v0, int16_t h1, int16_t v1)
{
    MoveTo(h0, v0);
    LineTo(h1, v1);
}

void In(int32_t rgb)
{
    const RGBColor c{uint16_t(((rgb >> 16) & 0xFF) * 0x101), uint16_t(((rgb >> 8) & 0xFF) * 0x101),
                     uint16_t((rgb & 0xFF) * 0x101)};
    RGBForeColor(&c);
}

// Rows of 6, 4 and 2 pixels from (left, top) down.
void Arrow(int16_t left, int16_t top)
{
    Line(left, top, int16_t(left + 5), top);
    Line(int16_t(left + 1), int16_t(top + 1), int16_t(left + 4), int16_t(top + 1));
    Line(int16_t(left + 2), int16_t(top + 2), int16_t(left + 3), int16_t(top + 2));
}

void Black(const Rect& r)
{
    In(0x000000);
    PaintRect(&r);
}

LienObj Record(int16_t subType, const char* title, bool keep = false)
{
    LienObj rec;
    rec.rect = kR;
    rec.subType = subType;
    rec.keepBackground = keep;
    rec.title[0] = uint8_t(std::strlen(title));
    std::memcpy(rec.title + 1, title, rec.title[0]);
    return rec;
}

TEST(KernelControls, EachControlAsItsPartsDrawnByThePlatform)
{
    drawntest::Page page(kSide, kSide);
    ASSERT_TRUE(page.Made());
    const Rect whole{0, 0, kSide, kSide};
    const unsigned char none[] = "";
    struct Case {
        const char* what;
        std::function<void()> draw;
        std::function<void()> expected;
    };
    const Case cases[] = {
        {"pop-up: a box, its shadow and the arrow",
         [&] { const LienObj r = Record(5, ""); DrawPopupInStruct(&r, none, none); },
         [&] {
             const Rect box{4, 6, 23, 55};
             FrameRect(&box);
             Line(8, 23, 55, 23), Line(55, 6, 55, 23);
             Arrow(45, 12);
         }},
        {"pop-up over black: erased inside its box",
         [&] { Black(whole); const LienObj r = Record(5, ""); DrawPopupInStruct(&r, none, none); },
         [&] {
             Black(whole);
             const Rect box{4, 6, 23, 55};
             EraseRect(&box);
             FrameRect(&box);
             Line(8, 23, 55, 23), Line(55, 6, 55, 23);
             Arrow(45, 12);
         }},
        {"pop-up kept over black: nothing erased, drawn in its colour",
         [&] {
             Black(whole);
             LienObj r = Record(5, "", true);
             r.foreColor = 0xFFFFFF;
             DrawPopupInStruct(&r, none, none);
         },
         [&] {
             Black(whole);
             In(0xFFFFFF);
             const Rect box{4, 6, 23, 55};
             FrameRect(&box);
             Line(8, 23, 55, 23), Line(55, 6, 55, 23);
             Arrow(45, 12);
         }},
        {"combo box: the box and a button of the scroll bar width",
         [&] { const LienObj r = Record(21, ""); DrawComboInStruct(&r, none); },
         [&] {
             FrameRect(&kR);
             Line(40, 4, 40, 23);
             Arrow(45, 12);
         }},
        {"raised frame", [&] { Black(whole); const LienObj r = Record(19, ""); Draw3DFrameInStruct(&r, kR, nullptr); },
         [&] {
             Black(whole);
             In(0xFFFFFF), Line(6, 23, 6, 4), Line(6, 4, 55, 4);
             In(0x808080), Line(7, 23, 55, 23), Line(55, 5, 55, 23);
         }},
        {"sunken frame", [&] { Black(whole); const LienObj r = Record(20, ""); Draw3DFrameInStruct(&r, kR, nullptr); },
         [&] {
             Black(whole);
             In(0x808080), Line(6, 23, 6, 4), Line(6, 4, 55, 4);
             In(0xFFFFFF), Line(7, 23, 55, 23), Line(55, 5, 55, 23);
         }},
        {"etched frame", [&] { Black(whole); const LienObj r = Record(18, ""); Draw3DFrameInStruct(&r, kR, nullptr); },
         [&] {
             Black(whole);
             const Rect light{5, 7, 24, 56}, dark{4, 6, 23, 55};
             In(0xFFFFFF), FrameRect(&light);
             In(0x808080), FrameRect(&dark);
         }},
        {"button grid of one cell", [&] { const LienObj r = Record(22, ""); DrawButtonGridInStruct(&r); },
         [&] { FrameRect(&kR); }},
        {"button grid of three cells, the last taking the rest",
         [&] { const LienObj r = Record(22, ";;"); DrawButtonGridInStruct(&r); },
         [&] {
             for (const Rect& cell : {Rect{4, 6, 24, 22}, Rect{4, 22, 24, 38}, Rect{4, 38, 24, 56}}) FrameRect(&cell);
         }},
        {"one tab, in front",
         [&] { const LienObj r = Record(16, ""); DrawTabInStruct(&r, kR, none, nullptr, nullptr); },
         [&] { Line(6, 23, 6, 5), Line(7, 4, 21, 4), Line(22, 5, 22, 23); }},
        {"two tabs, the second behind",
         [&] { const LienObj r = Record(16, ";"); DrawTabInStruct(&r, kR, none, nullptr, nullptr); },
         [&] {
             Line(6, 23, 6, 5), Line(7, 4, 21, 4), Line(22, 5, 22, 23);
             Line(22, 23, 22, 7), Line(23, 6, 37, 6), Line(38, 7, 38, 23);
         }},
        {"plain inversion", [&] { InvertHilite(kR, true); }, [&] { PaintRect(&kR); }},
        {"highlight inversion",
         [&] { InvertHilite(kR, false); },
         [&] {
             RGBColor hilite{};
             GetHiliteColor(&hilite);
             RGBForeColor(&hilite);
             PaintRect(&kR);
         }},
    };
    for (const Case& c : cases) {
        const auto drawn = page.Drawn(c.draw);
        EXPECT_EQ(page.Differ(drawn, page.Drawn(c.expected)), "") << c.what;
    }
}

TEST(KernelControls, FormatEntriesAreSeparatedBySemicolons)
{
    struct Case {
        const char* text;
        int16_t count;
        const char* second;
    };
    const Case cases[] = {{"", 0, ""}, {"A", 1, ""}, {"Address;Contacts", 2, "Contacts"}, {";;", 3, ""},
                          {"a;bc;d", 3, "bc"}};
    for (const Case& c : cases) {
        unsigned char text[256], out[256];
        text[0] = uint8_t(std::strlen(c.text));
        std::memcpy(text + 1, c.text, text[0]);
        EXPECT_EQ(FormatEntryCount(text), c.count) << c.text;
        FormatEntry(text, 2, out);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(out + 1), out[0]), c.second) << c.text;
    }
    EXPECT_EQ(PopupButtonProc(nullptr), 0);
}

// A style-sheet table of one entry (id 7) whose blocks name the built-in
// font 3 in sizes 10 to 13, bold.
Handle OneStyleSheet()
{
    std::vector<uint8_t> t{0, 1, 0, 0};
    std::vector<uint8_t> e(34, 0);
    e[0] = 1, e[1] = 's';
    WriteBE16(&e[32], 7);
    e.push_back(0), e.push_back(5);
    for (int i = 0; i < 5; ++i) {
        std::vector<uint8_t> b(68, 0);
        b[0] = uint8_t(int8_t(-5));
        b[66] = uint8_t(10 + i);
        b[67] = 1;
        e.insert(e.end(), b.begin(), b.end());
    }
    t.insert(t.end(), e.begin(), e.end());
    Handle h = NewHandle(Size(t.size()));
    if (h) std::memcpy(*h, t.data(), t.size());
    return h;
}

TEST(KernelControls, AVariablesRecordTakesItsStyleSheetWithItsOwnFaceAdded)
{
    DisposeStyleSheets();
    curStyles = OneStyleSheet();
    ASSERT_NE(curStyles, nullptr);
    InitStyleSheet(curStyles);
    int16_t f = 0, s = 0, fc = 0;
    GetStyleInfo(-1, &f, &s, &fc);  // forgets the cached look-up
    struct Case {
        int16_t styleSheet;
        uint8_t keep;
        int16_t font, size, face;
    };
    const Case cases[] = {{-1, 0, 4, 9, 2}, {7, 1, 3, 13, 3}, {8, 0, 4, 9, 2}};  // 8: no such sheet
    for (const Case& c : cases) {
        VarObject v(nullptr);
        v.bounds[0] = 1, v.bounds[1] = 2, v.bounds[2] = 3, v.bounds[3] = 4;
        v.fontID = 4, v.fontSize = 9, v.face = 2, v.justification = 2;
        v.styleSheet = c.styleSheet;
        v.editOption2 = c.keep;
        v.subType = 26;
        v.foreColor = 0x112233, v.backColor = 0x445566;
        const unsigned char format[] = "\x01!";
        v.SetDisplayFormat(format);
        LienObj rec;
        const Rect r{10, 20, 30, 40};
        v.BuildLienObj(&rec, r);
        EXPECT_EQ(rec.font, c.font) << c.styleSheet;
        EXPECT_EQ(rec.size, c.size) << c.styleSheet;
        EXPECT_EQ(rec.face, c.face) << c.styleSheet;
        EXPECT_EQ(rec.keepBackground, c.keep != 0);
        EXPECT_EQ(rec.rect.left, 20);
        EXPECT_EQ(rec.justification, -1);  // stored 2: right
        EXPECT_EQ(rec.subType, 26);
        EXPECT_EQ(rec.foreColor, 0x112233);
        EXPECT_EQ(rec.backColor, 0x445566);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(rec.title + 1), rec.title[0]), "!");
    }
    DisposeStyleSheets();
}

}  // namespace

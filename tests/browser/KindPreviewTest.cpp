// Previews and printed contents of string lists and styles: each drawn as
// the platform's text calls draw the same lines, scrolled as a redraw
// moved, printed with its numbers and strings, and from damaged lists only
// what their bytes hold.
#include <gtest/gtest.h>

#include <cstring>

#include "app/appl/Preferences.h"
#include "app/documents/Documentation.h"
#include "platform/core/FourCC.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/Resources.h"
#include "tests/browser/EditorFixture.h"

using namespace platform;

namespace browsertest {
namespace {

constexpr const char* kKinds =
    "structure Kinds date 2024-03-01\n"
    "strings Texts id 15000\n  \"Invoice\"\n  \"Printed on\"\n  \"\"\n  \"Thank you for your order.\"\n"
    "style Heading \"Helvetica 14 bold\"\n";

class KindPreview : public EditorFixture {
protected:
    // Pixels of a 300 x 200 world after `draw`.
    static std::vector<uint32_t> World(const std::function<void()>& draw)
    {
        const Rect bounds{0, 0, 200, 300};
        GWorldPtr world = nullptr;
        EXPECT_EQ(NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0), noErr);
        CGrafPtr saved;
        GDHandle device;
        GetGWorld(&saved, &device);
        SetGWorld(world, nullptr);
        EraseRect(&bounds);
        draw();
        SetGWorld(saved, device);
        const Surface s = MakeSurface(reinterpret_cast<const BitMap*>(*GetGWorldPixMap(world)));
        std::vector<uint32_t> out;
        for (int v = 0; v < 200; ++v)
            for (int h = 0; h < 300; ++h) out.push_back(s.ReadRGB(h, v) & 0xFFFFFF);
        DisposeGWorld(world);
        return out;
    }
    static void Text(const std::string& s, int16_t h, int16_t top, StyleField face)
    {
        TextFont(MyApplFont);
        TextSize(MyApplSize);
        TextFace(face);
        FontInfo fi{};
        GetFontInfo(&fi);
        MoveTo(h, int16_t(top + fi.ascent));
        DrawText(s.data(), 0, int16_t(s.size()));
    }
    // Measures in a world of its own (the text calls need a port).
    static int16_t Measure(const std::function<int16_t()>& m)
    {
        int16_t n = 0;
        World([&] { n = m(); });
        return n;
    }
    static int16_t Line()
    {
        TextFont(MyApplFont);
        TextSize(MyApplSize);
        TextFace(normal);
        FontInfo fi{};
        GetFontInfo(&fi);
        return int16_t(fi.ascent + fi.descent + fi.leading);
    }
    static int16_t Width(const std::string& s, StyleField face)
    {
        TextFace(face);
        return TextWidth(s.data(), 0, int16_t(s.size()));
    }
    // The object's preview drawn at (5, 5), then scrolled by (0, -10).
    static void Preview(TObjQz* obj, std::vector<uint32_t>* shown, std::vector<uint32_t>* scrolled,
                        int16_t* width, int16_t* height)
    {
        const Rect r{5, 5, 195, 295};
        Handle display = nullptr;
        int16_t a = 0, b = 0, c = 0;
        *shown = World([&] {
            ASSERT_EQ(obj->InitDisplay(&display, r, width, height, &a, &b, &c, false), 0);
            obj->Display(display, r);
        });
        *scrolled = World([&] {
            obj->Display(display, r);
            obj->Scroll(display, r, 0, -10);
        });
        obj->DisposeDisplay(&display);
        EXPECT_EQ(display, nullptr);
    }
};

TEST_F(KindPreview, StringListsShowTheirHeadingAndNumberedStrings)
{
    Load(kKinds);
    TObjQz* list = Find(11, "Texts");
    std::vector<uint32_t> shown, scrolled;
    int16_t width = 0, height = 0;
    Preview(list, &shown, &scrolled, &width, &height);
    const std::vector<std::string> strings = {"Invoice", "Printed on", "", "Thank you for your order."};
    const int16_t line = Measure(Line);
    const std::string heading = "Texts ID: 15000";
    auto draw = [&](int16_t dv) {
        const int16_t top = int16_t(15 + dv);
        Text(heading, 15, top, underline);
        for (size_t i = 0; i < strings.size(); ++i) {
            const std::string n = std::to_string(i + 1);
            Text(n, int16_t(5 + 60 - Width(n, normal)), int16_t(top + line * int16_t(i + 1)), normal);
            Text(strings[i], 75, int16_t(top + line * int16_t(i + 1)), normal);
        }
    };
    const auto want = World([&] { draw(0); });
    size_t d = 0;
    while (d < want.size() && want[d] == shown[d]) ++d;
    EXPECT_EQ(d, want.size()) << d % 300 << "," << d / 300;
    EXPECT_EQ(scrolled, World([&] { draw(-10); }));
    EXPECT_EQ(width, Measure([&] { return int16_t(70 + Width(strings[3], normal) + 18); }));
    EXPECT_EQ(height, 10 + 5 * line);
}

TEST_F(KindPreview, StylesShowTheirDescription)
{
    Load(kKinds);
    TObjQz* style = Find(12, "Heading");
    std::vector<uint32_t> shown, scrolled;
    int16_t width = 0, height = 0;
    Preview(style, &shown, &scrolled, &width, &height);
    EXPECT_EQ(shown, World([&] { Text("Helvetica 14 bold", 15, 15, normal); }));
    EXPECT_EQ(scrolled, World([&] { Text("Helvetica 14 bold", 15, 5, normal); }));
    EXPECT_EQ(width, Measure([] {
                  TextFont(MyApplFont);
                  TextSize(MyApplSize);
                  return int16_t(Width("Helvetica 14 bold", normal) + 28);
              }));
    EXPECT_EQ(height, Measure(Line) + 11);
}

// Lists cut short (one counting 32,768 strings too): the strings their
// bytes hold, nothing past them.
TEST_F(KindPreview, DamagedListsShowWhatTheyHold)
{
    Load(kKinds);
    auto* list = static_cast<TSTRObjQz*>(Find(11, "Texts"));
    const int16_t saved = CurResFile();
    UseResFile(doc_.fRsrFile);
    Handle h = Get1Resource(FourCC("STR#"), 15000);
    UseResFile(saved);
    for (const auto& [bytes, want] :
         {std::pair{readtest::Bytes{0, 9, 2, 'a', 'b', 5, 'c'}, std::vector<std::string>{"ab", "c"}},
          std::pair{readtest::Bytes{0x80, 0, 1, 'a'}, std::vector<std::string>{"a"}},
          std::pair{readtest::Bytes{0}, std::vector<std::string>{}}}) {
        PtrToXHand(bytes.data(), h, Size(bytes.size()));
        std::vector<std::string> got;
        unsigned char name[256];
        EXPECT_TRUE(list->Strings(&got, name));
        EXPECT_EQ(got, want);
        std::vector<uint32_t> shown, scrolled;
        int16_t width = 0, height = 0;
        Preview(list, &shown, &scrolled, &width, &height);
        EXPECT_EQ(height, 10 + int16_t(want.size() + 1) * Measure(Line));
    }
}

// Printed: the heading in bold as the export writes it, then each number
// at 20 and its string at 60 on one line.
TEST_F(KindPreview, StringListsPrintTheirNumberedStrings)
{
    Load(kKinds);
    TObjQz* list = Find(11, "Texts");
    OutPutParmRec o;
    o.contents = 1;
    auto printed = World([&] {
        P_PageRect = Rect{0, 0, 200, 300};
        P_CrtHeight = 0;
        list->PrintObj(&o);
    });
    auto expected = World([&] {
        auto at = [&](const std::string& s, int16_t indent, int n, StyleField face) {
            TextFont(GetResFont(2));
            TextSize(GetResSize(2));
            TextFace(face);
            FontInfo fi{};
            GetFontInfo(&fi);
            MoveTo(int16_t(indent + 30), int16_t(n * (fi.ascent + fi.descent + fi.leading) + fi.ascent));
            DrawText(s.data(), 0, int16_t(s.size()));
        };
        at("String list Texts ID:15000", 0, 0, bold);
        const char* strings[] = {"Invoice", "Printed on", "", "Thank you for your order."};
        for (int i = 0; i < 4; ++i) {
            at(std::to_string(i + 1), 20, 2 + i, normal);
            at(strings[i], 60, 2 + i, normal);
        }
    });
    EXPECT_EQ(printed, expected);
}

}  // namespace
}  // namespace browsertest

namespace browsertest {
namespace {

constexpr const char* kMore =
    "structure More date 2024-03-01\n"
    "strings Texts id 15000\n  \"Invoice\"\n  \"Printed on\"\n"
    "table Customers\n"
    "  field Name alpha 40 attributes 0x25\n"
    "  field Odd type 5\n"
    "  subtable Contacts\n    field Phone alpha 20\n"
    "table Invoices\n"
    "  field Customer alpha 40 relation Customers.Name\n"
    "method Run\n  comment \"r\"\n"
    "method Hidden_One\n  comment \"h\"\n"
    "menu File id 1\n"
    "  item \"New/N\" method Run\n  item \"-\" separator\n  item \":15000,2\" key P bold\n"
    "menu :15000,1 id 2\n  item \"Close\" method Run\n"
    "menubar Main\n  menu File\n  menu :15000,1\n"
    "balloon Tip \"Short help\"\n"
    "stylesheet Standard font Geneva size 10\n"
    "stylesheet Titles font Helvetica size 18 face 3\n"
    "group Tools\n  method Run\n  method Hidden_One\n  table Invoices\n";

class KindOutput : public KindPreview {
protected:
    void SetUp() override
    {
        KindPreview::SetUp();
        Load(kMore);
    }
    TObjQz* Member(TObjQz* owner, const std::string& name)
    {
        for (int32_t i = 0; owner && owner->members && i < owner->members->Size(); ++i)
            if (P(owner->members->At(i)->name) == name) return owner->members->At(i);
        return nullptr;
    }
    // What `write` puts into a new file.
    std::string Exported(const std::function<int16_t(int16_t)>& write, int16_t* result = nullptr)
    {
        FSSpec fileRef;
        FSMakeFSSpec(folder_ / ("out" + std::to_string(++files_) + ".txt"), &fileRef);
        EXPECT_EQ(FSpCreate(fileRef, FourCC("MACA"), FourCC("TEXT")), noErr);
        int16_t ref = 0;
        EXPECT_EQ(FSpOpenDF(fileRef, fsRdWrPerm, &ref), noErr);
        const int16_t r = write(ref);
        if (result) *result = r;
        FSClose(ref);
        std::vector<uint8_t> bytes;
        ReadWholeFile(fileRef.path, &bytes);
        return std::string(bytes.begin(), bytes.end());
    }
    static void PrintText(const std::string& s, int16_t indent, int row, StyleField face)
    {
        TextFont(GetResFont(2));
        TextSize(GetResSize(2));
        TextFace(face);
        FontInfo fi{};
        GetFontInfo(&fi);
        MoveTo(int16_t(indent + 30), int16_t(row * (fi.ascent + fi.descent + fi.leading) + fi.ascent));
        DrawText(s.data(), 0, int16_t(s.size()));
    }
    // The heading the base frame writes: full name and information line.
    static std::string Heading(TObjQz* obj, bool printing = false)
    {
        unsigned char name[256], info[256];
        obj->GetFullName(name);
        obj->GetMoreInfo(info, printing);
        return P(name) + P(info);
    }
    int files_ = 0;
};

// A field's description: type (with an alpha's length; none for a type
// without a name), the related field, then its attributes set and clear.
TEST_F(KindOutput, FieldsDescribeTypeRelationAndAttributes)
{
    TObjQz* customers = Find(1, "Customers");
    TObjQz* invoices = Find(1, "Invoices");
    ASSERT_TRUE(customers && invoices);
    const struct {
        TObjQz* field;
        std::vector<std::string> lines;
    } cases[] = {
        // 0x25 and the relation's 0x82.
        {Member(customers, "Name"),
         {"Type: Alpha (40)", "Attributes:", "Mandatory", "Enterable", "Not modifiable", "Indexed", "Display only"}},
        {Member(customers, "Odd"), {"Type:", "Attributes:", "Not enterable", "Not modifiable"}},
        {Member(invoices, "Customer"),
         {"Type: Alpha (40)", "Related to [Customers]Name", "Attributes:", "Not enterable", "Not modifiable", "Indexed"}},
        {Member(Member(customers, "Contacts"), "Phone"), {"Type: Alpha (20)", "Attributes:", "Not enterable", "Not modifiable"}},
    };
    for (const auto& c : cases) {
        ASSERT_NE(c.field, nullptr);
        std::string want;
        for (const std::string& l : c.lines) want += "     " + l + "\n";
        EXPECT_EQ(Exported([&](int16_t f) { return c.field->SaveObj(f); }), want) << P(c.field->name);
    }
    // The preview: the type and relation lines from (10, 10), a line more,
    // the heading underlined, the attributes two lines right and below it.
    TObjQz* field = Member(invoices, "Customer");
    std::vector<uint32_t> shown, scrolled;
    int16_t width = 0, height = 0;
    Preview(field, &shown, &scrolled, &width, &height);
    const int16_t line = Measure(Line);
    auto draw = [&](int16_t dv) {
        const int16_t top = int16_t(15 + dv);
        Text("Type: Alpha (40)", 15, top, normal);
        Text("Related to [Customers]Name", 15, int16_t(top + line), normal);
        Text("Attributes:", 15, int16_t(top + 3 * line), underline);
        const char* attributes[] = {"Not enterable", "Not modifiable", "Indexed"};
        for (int i = 0; i < 3; ++i) Text(attributes[i], int16_t(15 + 2 * line), int16_t(top + (5 + i) * line), normal);
    };
    EXPECT_EQ(shown, World([&] { draw(0); }));
    EXPECT_EQ(scrolled, World([&] { draw(-10); }));
    EXPECT_EQ(height, 10 + 9 * line + 1);
    EXPECT_EQ(width, Measure([&] { return int16_t(10 + Width("Related to [Customers]Name", normal) + 18); }));
}

// A closed table row brings its fields in field order (a subtable's
// fields too); in the older format a subtable has no line of its own.
TEST_F(KindOutput, ClosedTablesBringTheirFields)
{
    TObjQz* customers = Find(1, "Customers");
    TObjQz* contacts = Member(customers, "Contacts");
    OutPutParmRec o{};
    o.rowClosed = 1;
    std::string want = "\n" + Heading(customers) + "\n\n";
    for (TObjQz* m : {Member(customers, "Name"), Member(customers, "Odd"), contacts, Member(contacts, "Phone")})
        want += "\n" + Heading(m) + "\n\n";
    EXPECT_EQ(Exported([&](int16_t f) { return customers->Save(f, &o); }), want);
    o.rowClosed = 0;
    EXPECT_EQ(Exported([&](int16_t f) { return customers->Save(f, &o); }), "\n" + Heading(customers) + "\n\n");
    EXPECT_EQ(Exported([&](int16_t f) { return customers->SaveOldFormat(f); }),
              "[Customers]\t0\t\n[Customers]Name\t0\t\n[Customers]Odd\t0\t\n[Customers]Contacts'Phone\t0\t\n");
}

// A closed group lists the members the list would show, hidden ones not.
TEST_F(KindOutput, ClosedGroupsListTheirShownMembers)
{
    TObjQz* group = Find(23, "Tools");
    ASSERT_NE(group, nullptr);
    Find(2, "Hidden_One")->SetFlag(kFlagHidden, true);
    OutPutParmRec o{};
    for (uint8_t closed : {0, 1}) {
        o.rowClosed = closed;
        EXPECT_EQ(Exported([&](int16_t f) { return group->Save(f, &o); }),
                  "\n" + Heading(group) + "\n\n" +
                      (closed ? "  " + Heading(Find(2, "Run"), true) + "\n  " + Heading(Find(1, "Invoices"), true) + "\n"
                              : ""))
            << int(closed);
    }
}

// The bar's strip: its mark then the titles, each box its text + 12 wide,
// as stored or resolved; 25 more to the right, one menu bar high.
TEST_F(KindOutput, MenuBarsShowTheirTitlesAsStoredOrResolved)
{
    TObjQz* bar = Find(5, "Main");
    ASSERT_NE(bar, nullptr);
    for (int16_t mode : {0, 1}) {
        const std::vector<std::string> titles = {"Qz", "File", mode ? "Invoice" : ":15000,1"};
        std::vector<uint32_t> shown, scrolled;
        int16_t width = mode, height = 0;
        Preview(bar, &shown, &scrolled, &width, &height);
        int16_t right = 0;
        auto draw = [&](int16_t dv) {
            TextFont(0);
            TextSize(12);
            TextFace(normal);
            FontInfo fi{};
            GetFontInfo(&fi);
            const Rect pane{5, 5, 195, 295};
            ClipRect(&pane);
            const Rect strip{int16_t(5 + dv), 5, int16_t(25 + dv), int16_t(5 + width)};
            PaintRect(&strip);
            EraseRoundRect(&strip, 16, 16);
            int16_t h = 5;
            for (const std::string& t : titles) {
                MoveTo(int16_t(h + 6), int16_t(strip.top + (20 - (fi.ascent + fi.descent + fi.leading)) / 2 + fi.ascent));
                DrawText(t.data(), 0, int16_t(t.size()));
                h = int16_t(h + TextWidth(t.data(), 0, int16_t(t.size())) + 12);
            }
            right = int16_t(h - 5);
            FrameRect(&strip);
        };
        EXPECT_EQ(shown, World([&] { draw(0); })) << mode;
        EXPECT_EQ(scrolled, World([&] { draw(-10); })) << mode;
        EXPECT_EQ(width, right + 25);
        EXPECT_EQ(height, 20);
    }
}

// Printed: the title at 20, items at 40, each key right-aligned to end
// with the widest item, the method underlined 20 points further.
TEST_F(KindOutput, MenusPrintItemsKeysAndMethods)
{
    TObjQz* menu = Find(6, "File");
    ASSERT_NE(menu, nullptr);
    OutPutParmRec o{};
    o.contents = 1;
    const auto printed = World([&] {
        P_PageRect = Rect{0, 0, 200, 300};
        P_CrtHeight = 0;
        menu->PrintObj(&o);
    });
    const auto expected = World([&] {
        PrintText(Heading(menu, true), 0, 0, bold);
        PrintText("File", 20, 2, normal);
        TextFace(normal);
        auto width = [](const std::string& s, StyleField face) {
            TextFace(face);
            return int16_t(TextWidth(s.data(), 0, int16_t(s.size())));
        };
        const int16_t widest = std::max(width("New  " "  Ctrl-N", normal), width("Printed on  " "  Ctrl-P", bold));
        PrintText("New", 40, 3, normal);
        PrintText("-N", int16_t(widest + 40 - width("-N", normal)), 3, normal);
        PrintText("Run", int16_t(widest + 60), 3, underline);
        PrintText("-", 40, 4, normal);
        PrintText("Printed on", 40, 5, bold);
        PrintText("-P", int16_t(widest + 40 - width("-P", normal)), 5, normal);
    });
    size_t d = 0;
    while (d < expected.size() && expected[d] == printed[d]) ++d;
    EXPECT_EQ(d, expected.size()) << d % 300 << "," << d / 300;
}

// A balloon shows its text 2 points in, scrolls as a redraw moved, and
// exports it with a line end; a text resource of one byte is empty.
TEST_F(KindOutput, BalloonsShowAndExportTheirText)
{
    TObjQz* tip = Find(10, "Tip");
    ASSERT_NE(tip, nullptr);
    // The record draws in the port it was made in: each world makes its own.
    const Rect r{5, 5, 195, 295};
    int16_t width = 0, height = 0;
    auto show = [&](int16_t dv) {
        return World([&] {
            Handle display = nullptr;
            int16_t a = 0, b = 0, c = 0;
            ASSERT_EQ(tip->InitDisplay(&display, r, &width, &height, &a, &b, &c, false), 0);
            tip->Display(display, r);
            if (dv) tip->Scroll(display, r, 0, dv);
            tip->DisposeDisplay(&display);
            EXPECT_EQ(display, nullptr);
        });
    };
    EXPECT_EQ(show(0), World([&] { Text("Short help", 7, 7, normal); }));
    EXPECT_EQ(show(-10), World([&] {
                  ClipRect(&r);
                  Text("Short help", 7, -3, normal);
              }));
    EXPECT_EQ(width, 290);
    EXPECT_EQ(height, Measure(Line) + 20);
    EXPECT_EQ(Exported([&](int16_t f) { return tip->SaveObj(f); }), "Short help\n");
    const int16_t id = tip->id;
    CloseDoc();
    Replace(built_.dataPath, FourCC("HEQz"), id, readtest::Bytes{0});
    ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    Open(built_);
    ASSERT_EQ(Read(), 0);
    EXPECT_EQ(Exported([&](int16_t f) { return Find(10, "Tip")->SaveObj(f); }), "\n");
}

// A style sheet: one line for each of the platform styles 0, 2, 3 and 4.
TEST_F(KindOutput, StyleSheetsListTheirPlatformStyles)
{
    const struct {
        const char* name;
        const char* line;
    } cases[] = {{"Standard", "Geneva, 10 pt, Plain"}, {"Titles", "Helvetica, 18 pt, Bold Italic"}};
    for (const auto& c : cases) {
        TObjQz* sheet = Find(19, c.name);
        ASSERT_NE(sheet, nullptr);
        std::string want;
        for (const char* label : {"Mac OS: ", "Windows: ", "Mac OS X: ", "Windows, newer: "})
            want += std::string("   ") + label + c.line + "\n";
        EXPECT_EQ(Exported([&](int16_t f) { return sheet->SaveObj(f); }), want);
    }
    TObjQz* sheet = Find(19, "Standard");
    std::vector<uint32_t> shown, scrolled;
    int16_t width = 0, height = 0;
    Preview(sheet, &shown, &scrolled, &width, &height);
    const int16_t line = Measure(Line);
    const char* labels[] = {"Mac OS: ", "Windows: ", "Mac OS X: ", "Windows, newer: "};
    EXPECT_EQ(shown, World([&] {
                  for (int i = 0; i < 4; ++i)
                      Text(std::string(labels[i]) + "Geneva, 10 pt, Plain", 15, int16_t(15 + i * line), normal);
              }));
    EXPECT_EQ(height, 20 + 4 * line);
}

}  // namespace
}  // namespace browsertest

namespace browsertest {
namespace {

// Records counting past their ends show what their bytes hold: a bar of
// "9" menus holding two, a menu of "9" items holding one and a half.
TEST_F(KindOutput, DamagedMenusShowWhatTheyHold)
{
    TObjQz* bar = Find(5, "Main");
    TObjQz* menu = Find(6, "File");
    ASSERT_TRUE(bar && menu);
    const int16_t barId = bar->id, menuId = menu->id;
    auto widthOf = [&](TObjQz* obj) {
        std::vector<uint32_t> shown, scrolled;
        int16_t width = 0, height = 0;
        Preview(obj, &shown, &scrolled, &width, &height);
        return std::pair{width, height};
    };
    const auto wholeBar = widthOf(bar);
    readtest::Bytes menuBytes(24 + 86 + 40, 0);
    menuBytes[1] = 9;
    menuBytes[2] = 4;
    std::memcpy(&menuBytes[3], "File", 4);
    menuBytes[24] = 3;
    std::memcpy(&menuBytes[25], "New", 3);
    CloseDoc();
    Replace(built_.dataPath, FourCC("BAQz"), barId, readtest::Bytes{0, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 2});
    Replace(built_.dataPath, FourCC("MENQ"), menuId, menuBytes);
    ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    Open(built_);
    ASSERT_EQ(Read(), 0);
    EXPECT_EQ(widthOf(FindId(5, barId)), wholeBar);
    // The title and the one whole item: two rows of the menu's line.
    const auto cut = widthOf(FindId(6, menuId));
    EXPECT_EQ(cut.second, Measure([] {
                  auto line = [](int16_t font, int16_t size, StyleField face) {
                      TextFont(font);
                      TextSize(size);
                      TextFace(face);
                      FontInfo fi{};
                      GetFontInfo(&fi);
                      return int16_t(fi.ascent + fi.descent + fi.leading);
                  };
                  return int16_t(8 + 2 * std::max(line(0, 12, normal), line(MyApplFont, MyApplSize, underline)) + 6 + 2);
              }));
}

}  // namespace
}  // namespace browsertest

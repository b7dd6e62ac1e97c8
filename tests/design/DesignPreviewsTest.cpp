// The demo's objects shown in the preview pane, printed and exported: a
// help balloon's text record, a field's description, a style sheet's
// platform lines, string lists and menus, at their exact sizes and pixels.
#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "design/objects/OutputOptions.h"
#include "design/objects/OutputSupport.h"
#include "design/preview/PreviewFrame.h"
#include "forms/stylesheets/StyleSheets.h"
#include "platform/drawing/CallCounts.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/files/Forks.h"
#include "platform/fonts/Fonts.h"
#include "platform/pictures/Pictures.h"
#include "platform/screen/Screen.h"
#include "platform/textedit/TextEdit.h"
#include "tests/design/MethodTextFixture.h"
#include "tests/design/PrintedPages.h"

namespace readtest {
namespace {

class DesignPreviews : public MethodTextFixture {
protected:
    void SetUp() override
    {
        MethodTextFixture::SetUp();
        ASSERT_TRUE(ReadDemo());
    }
    // What the object exports into a new file, line by line.
    std::vector<std::string> ExportedLines(TObjQz* obj, int16_t* err = nullptr)
    {
        int16_t result = 0;
        const Bytes written = ExportedBytes(obj, &result);
        if (err) *err = result;
        std::vector<std::string> lines(1);
        for (uint8_t c : written) {
            if (c == '\r' || c == '\n') lines.emplace_back();
            else lines.back() += char(c);
        }
        if (lines.back().empty()) lines.pop_back();
        return lines;
    }
    // The line height of the application font, plain.
    static int16_t PlainLine()
    {
        SavedFont saved;
        ApplicationFont(platform::normal);
        return CurrentLine();
    }
    // `draw` into an erased 32-bit world of width x height: its pixels.
    static std::vector<uint32_t> Drawn(int16_t width, int16_t height, const std::function<void()>& draw)
    {
        const platform::Rect r{0, 0, height, width};
        platform::GWorldPtr world = nullptr;
        EXPECT_EQ(platform::NewGWorld(&world, 32, &r, nullptr, nullptr, 0), 0);
        platform::CGrafPtr saved = nullptr;
        platform::GDHandle device = nullptr;
        platform::GetGWorld(&saved, &device);
        platform::SetGWorld(world, nullptr);
        platform::EraseRect(&r);
        draw();
        std::vector<uint32_t> pixels = PortPixels(world, r);
        platform::SetGWorld(saved, nullptr);
        platform::DisposeGWorld(world);
        return pixels;
    }
    // The pixels of a display's picture.
    static std::vector<uint32_t> Shown(platform::Handle display, int16_t width, int16_t height)
    {
        PreviewRec* rec = PreviewOf(display);
        EXPECT_TRUE(rec && rec->picture);
        return Drawn(width, height, [&] {
            const platform::Rect r{0, 0, height, width};
            if (rec && rec->picture) platform::DrawPicture(rec->picture, &r);
        });
    }
    // The object's picture made from a scratch port, as its pane asks for
    // it; answers the line height of the application's font, underlined,
    // in that port.
    static int16_t MadeDisplay(TObjQz* obj, const platform::Rect& bounds, platform::Handle* display, int16_t* width,
                               int16_t* height)
    {
        int16_t pageMin = 0, pageMax = 0, page = 0, line = 0;
        Drawn(1, 1, [&] {
            EXPECT_EQ(obj->InitDisplay(display, bounds, width, height, &pageMin, &pageMax, &page, false), 0);
            ApplicationFont(platform::underline);
            line = CurrentLine();
        });
        return line;
    }
    TObjQz* Field(const std::string& table, const std::string& name) { return Member(Find(1, table), name); }
    static TObjQz* Member(TObjQz* t, const std::string& name)
    {
        for (int32_t i = 0; t && t->members && i < t->members->Size(); ++i)
            if (P(t->members->At(i)->name) == name) return t->members->At(i);
        return nullptr;
    }
};

// A balloon is a text record as wide as the pane and as deep as its lines
// and 20; sized again, it follows the pane; shown, its text starts two
// pixels in and may run 2047 pixels down and across.
TEST_F(DesignPreviews, ABalloonIsItsTextRecord)
{
    TObjQz* balloon = Find(10, "Name_Help");
    ASSERT_NE(balloon, nullptr);
    platform::Handle display = nullptr;
    int16_t width = 0, height = 0, pageMin = 9, pageMax = 9, page = 9;
    const platform::Rect pane{10, 20, 210, 520};
    ASSERT_EQ(balloon->InitDisplay(&display, pane, &width, &height, &pageMin, &pageMax, &page, false), 0);
    ASSERT_NE(display, nullptr);
    auto te = reinterpret_cast<platform::TEHandle>(display);
    EXPECT_EQ(std::string(*(**te).hText, size_t((**te).teLength)), "Enter the name as it appears on the contract.");
    ASSERT_EQ((**te).nLines, 1);
    const int16_t line = (**te).lineHeight;
    ASSERT_GT(line, 0);
    EXPECT_EQ(width, 500);
    EXPECT_EQ(height, line + 20);
    EXPECT_EQ(pageMax, 0);

    int16_t right = -1, bottom = -1;
    const platform::Rect narrow{0, 0, 300, 120};
    balloon->SizeDisplay(display, narrow, &right, &bottom);
    EXPECT_EQ(right, 120);
    EXPECT_EQ(bottom, int16_t((**te).nLines * line + 20));
    EXPECT_GT((**te).nLines, 1) << "the narrower pane wraps the text";
    EXPECT_EQ((**te).viewRect.right, 120);

    const platform::Rect shown{30, 40, 130, 240};
    balloon->Display(display, shown);
    const platform::Rect dest = (**te).destRect;
    EXPECT_EQ(dest.top, 32);
    EXPECT_EQ(dest.left, 42);
    EXPECT_EQ(dest.bottom, 32 + 2047);
    EXPECT_EQ(dest.right, 42 + 2047);
    balloon->DisposeDisplay(&display);
    EXPECT_EQ(display, nullptr);

    EXPECT_EQ(ExportedLines(balloon), std::vector<std::string>{"Enter the name as it appears on the contract."});
}

// A field's description: its type, its attributes under their heading,
// exported line by line and shown one line below the other.
TEST_F(DesignPreviews, AFieldIsDescribedByItsTypeAndAttributes)
{
    struct Case {
        const char* table;
        const char* field;
        std::vector<std::string> lines;
    } cases[] = {
        {"Customers", "Name", {"Type: Alpha (40)", "Attributes:", "Mandatory", "Enterable", "Not modifiable", "Indexed", "Display only"}},
        {"Customers", "Credit_Limit", {"Type: Real", "Attributes:", "Not enterable", "Not modifiable"}},
        {"Customers", "Since", {"Type: Date", "Attributes:", "Not enterable", "Not modifiable"}},
        {"Invoices", "Customer", {"Type: Alpha (40)", "Related to [Customers]Name", "Attributes:", "Not enterable", "Not modifiable", "Indexed"}},
        {"Lines", "Quantity", {"Type: Integer", "Attributes:", "Not enterable", "Not modifiable"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        TObjQz* field = Field(c.table, c.field);
        ASSERT_NE(field, nullptr);
        int16_t err = -1;
        std::vector<std::string> indented;
        for (const std::string& l : c.lines) indented.push_back("     " + l);
        EXPECT_EQ(ExportedLines(field, &err), indented);
        EXPECT_EQ(err, 0);

        const size_t handles = platform::LiveHandleCount();
        platform::Handle display = nullptr;
        int16_t width = 0, height = 0, pageMin = 0, pageMax = 0, page = 0;
        ASSERT_EQ(field->InitDisplay(&display, platform::Rect{0, 0, 400, 400}, &width, &height, &pageMin, &pageMax,
                                     &page, false),
                  0);
        // Ten above, a line each, one more before the heading and after
        // it, a line and a pixel below.
        const int16_t line = PlainLine();
        EXPECT_EQ(height, 10 + int16_t(c.lines.size()) * line + 2 * line + line + 1);
        EXPECT_GE(width, 10 + 18);
        PreviewRec* rec = PreviewOf(display);
        ASSERT_NE(rec, nullptr);
        platform::Rect frame{};
        platform::QDGetPictureBounds(rec->picture, &frame);
        EXPECT_EQ(frame.right - frame.left, width);
        EXPECT_EQ(frame.bottom - frame.top, height);
        int16_t right = -1, bottom = -1;
        field->SizeDisplay(display, platform::Rect{5, 5, 50, 50}, &right, &bottom);
        EXPECT_EQ(right, width);
        EXPECT_EQ(bottom, height);
        EXPECT_EQ(rec->where.top, 5);
        field->DisposeDisplay(&display);
        EXPECT_EQ(display, nullptr);
        EXPECT_EQ(platform::LiveHandleCount(), handles) << "the picture goes with the display";
    }
}

// Each stored type is described by its own name, whatever the entry's
// other bytes (an alpha field adds its length, here 0).
TEST_F(DesignPreviews, EachStoredTypeIsDescribedByItsName)
{
    TObjQz* since = Field("Customers", "Since");
    ASSERT_NE(since, nullptr);
    UseQzRes(doc_.fResFile);
    platform::Handle fiqz = xget1res(FourCC("FIQz"), Find(1, "Customers")->id);
    ASSERT_NE(fiqz, nullptr);
    ASSERT_GE(platform::GetHandleSize(fiqz), 30 + 3 * 66);
    const std::pair<uint8_t, const char*> cases[] = {
        {0, "Type: Alpha (0)"}, {1, "Type: Real"},     {2, "Type: Text"},         {3, "Type: Picture"},
        {4, "Type: Date"},      {5, "Type:"},          {6, "Type: Boolean"},      {8, "Type: Integer"},
        {9, "Type: Long integer"}, {11, "Type: Time"}, {30, "Type: BLOB"},        {31, "Type:"},
    };
    for (const auto& [type, line] : cases) {
        (*fiqz)[30 + 2 * 66 + 32] = char(type);  // the third field's type, in memory only
        EXPECT_EQ(ExportedLines(since).at(0), std::string("     ") + line) << int(type);
    }
}

// Every field of the demo's tables, as its description writes it (a word
// for its type, and an alpha field's length), is stored with the type
// that word means and shown by that type's name.
TEST_F(DesignPreviews, TheDemosFieldsAreTheTypesTheirDescriptionGives)
{
    struct Meaning {
        const char* word;
        uint8_t code;
        const char* name;
    };
    const Meaning meanings[] = {{"alpha", 0, "Alpha"},   {"real", 1, "Real"},          {"text", 2, "Text"},
                                {"picture", 3, "Picture"}, {"date", 4, "Date"},        {"boolean", 6, "Boolean"},
                                {"integer", 8, "Integer"}, {"longint", 9, "Long integer"}, {"time", 11, "Time"},
                                {"blob", 30, "BLOB"}};
    std::ifstream in(std::string(QZ_SOURCE_DIR) + "/resources/demo/Demo.qzdoc");
    TObjQz* table = nullptr;
    TObjQz* holder = nullptr;  // the table or subtable whose fields follow
    int fields = 0;
    for (std::string line; std::getline(in, line);) {
        std::istringstream words(line);
        std::string statement, name, type, length;
        words >> statement >> name >> type >> length;
        const size_t indent = line.find_first_not_of(' ');
        if (indent == 0) table = holder = statement == "table" ? Find(1, name) : nullptr;
        if (!table || indent == 0) continue;
        if (indent == 2) holder = statement == "subtable" ? Member(table, name) : statement == "field" ? table : nullptr;
        if (statement != "field" || !holder || indent != (holder == table ? 2u : 4u)) continue;
        SCOPED_TRACE(line);
        const Meaning* meaning = nullptr;
        for (const Meaning& m : meanings)
            if (type == m.word) meaning = &m;
        ASSERT_NE(meaning, nullptr);
        auto* field = static_cast<TCritObjQz*>(Member(holder, name));
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(uint16_t(field->typeWord) >> 8, meaning->code);
        const std::string shown = std::string(meaning->name) + (meaning->code == 0 ? " (" + length + ")" : "");
        EXPECT_EQ(ExportedLines(field).at(0), "     Type: " + shown);
        ++fields;
    }
    EXPECT_EQ(fields, 15);
}

// A platform's font name is read to 63 characters at most, whatever its
// length byte says; a size and a plain face follow.
TEST_F(DesignPreviews, APlatformsFontNameStopsAt63Characters)
{
    for (const int length : {5, 63, 64, 127}) {
        std::vector<uint8_t> entry(size_t(36 + 5 * kFontBlockSize), 0);
        uint8_t* block = entry.data() + 36 + 2 * kFontBlockSize;
        block[0] = uint8_t(length);
        for (int i = 1; i < kFontBlockSize; ++i) block[i] = uint8_t('a' + i % 26);
        block[66] = 12;
        block[67] = 0;
        unsigned char text[256];
        GetPlatformStyle(entry.data(), text, 2);
        const int kept = std::min(length, 63);
        std::string name;
        for (int i = 1; i <= kept; ++i) name += char('a' + i % 26);
        EXPECT_EQ(P(text), "Windows: " + name + ", 12 pt, ") << length;
    }
}

// A style sheet: one line per platform, each naming its font, size and
// face; shown ten pixels in, twenty pixels and a line each deep.
TEST_F(DesignPreviews, AStyleSheetListsItsPlatformStyles)
{
    TObjQz* titles = Find(19, "Titles");
    ASSERT_NE(titles, nullptr);
    const std::vector<std::string> lines = ExportedLines(titles);
    EXPECT_EQ(lines, (std::vector<std::string>{"   Mac OS: Helvetica, 18 pt, ", "   Windows: Helvetica, 18 pt, ",
                                               "   Mac OS X: Helvetica, 18 pt, ", "   Windows, newer: Helvetica, 18 pt, "}));
    platform::Handle display = nullptr;
    int16_t width = 0, height = 0, pageMin = 0, pageMax = 0, page = 0;
    ASSERT_EQ(titles->InitDisplay(&display, platform::Rect{0, 0, 400, 400}, &width, &height, &pageMin, &pageMax, &page,
                                  false),
              0);
    EXPECT_EQ(height, 20 + int16_t(lines.size()) * PlainLine());
    titles->DisposeDisplay(&display);
}

// A string list shows its heading and one line per string, numbered: ten
// pixels and a line of the underlined font each deep.
TEST_F(DesignPreviews, AStringListIsAsDeepAsItsStrings)
{
    auto* list = static_cast<TSTRObjQz*>(Find(11, "Invoice_Texts"));
    ASSERT_NE(list, nullptr);
    std::vector<std::string> strings;
    unsigned char resName[256];
    ASSERT_TRUE(list->Strings(&strings, resName));
    EXPECT_EQ(strings, (std::vector<std::string>{"Invoice", "Printed on", "Thank you for your order."}));
    platform::Handle display = nullptr;
    int16_t width = 0, height = 0, pageMin = 0, pageMax = 0, page = 0;
    ASSERT_EQ(list->InitDisplay(&display, platform::Rect{0, 0, 300, 300}, &width, &height, &pageMin, &pageMax, &page,
                                false),
              0);
    int16_t line = 0;
    {
        SavedFont saved;
        ApplicationFont(platform::underline);
        line = CurrentLine();
    }
    EXPECT_EQ(height, 10 + 4 * line);
    EXPECT_GE(width, 70 + 18);
    list->DisposeDisplay(&display);
}

// The look the structure's forms are drawn in: 'Look' 128's first byte;
// none without a document.
TEST_F(DesignPreviews, TheStructuresLookIsItsLookResource)
{
    EXPECT_EQ(StructureLook(&doc_), 4);
    EXPECT_EQ(StructureLook(nullptr), -1);
}

// Printed, a string list is its heading and an empty line, then with its
// contents a line per string and an empty line; a balloon prints its text
// and a menu bar without its contents prints its heading alone.
TEST_F(DesignPreviews, PrintingTakesTheLinesOfWhatIsShown)
{
    TObjQz* list = Find(11, "Invoice_Texts");
    TObjQz* balloon = Find(10, "Name_Help");
    TObjQz* bar = Find(5, "Main");
    ASSERT_TRUE(list && balloon && bar);
    const unsigned char empty[1] = {0};
    int16_t normal = 0, bold = 0, heading = 0, whole = 0, barResult = -1, balloonResult = -1;
    PrintPages(folder_.path(), "preview-", [&] {
        // What a print takes of the page once the list's end placed its heading.
        auto advance = [](const std::function<void()>& print) {
            const int16_t before = P_CrtHeight;
            print();
            PlaceHeldHeadings(nullptr, 0);
            return int16_t(P_CrtHeight - before);
        };
        UsePrintStyle(platform::normal);
        normal = advance([&] { list->PrintNewLine(empty, 0); });
        UsePrintStyle(platform::bold);
        bold = advance([&] { list->PrintNewLine(empty, 0); });
        OutPutParmRec options;
        heading = advance([&] { EXPECT_EQ(list->PrintObj(&options), 0); });
        barResult = bar->PrintObj(&options);
        PlaceHeldHeadings(nullptr, 0);
        options.contents = 1;
        whole = advance([&] { EXPECT_EQ(list->PrintObj(&options), 0); });
        balloonResult = balloon->PrintObj(&options);
    });
    ASSERT_GT(normal, 0);
    EXPECT_EQ(heading, bold + normal);
    EXPECT_EQ(whole, bold + normal + 3 * normal + normal);
    EXPECT_EQ(barResult, 0);
    EXPECT_EQ(balloonResult, 0);
}

// A menu bar is a strip as deep as the bar, black outside corners rounded
// by 16 points; a menu's title is drawn bold 14 points in, eight down; a
// menu is as deep as its rows of the deeper of its two fonts.
TEST_F(DesignPreviews, MenusShowTheirBarAndTheirTitle)
{
    TObjQz* bar = Find(5, "Main");
    ASSERT_NE(bar, nullptr);
    platform::Handle display = nullptr;
    int16_t width = 1, height = 0, pageMin = 0, pageMax = 0, page = 0;
    // Asked from the pane's port, as the pane does.
    Drawn(1, 1, [&] {
        EXPECT_EQ(bar->InitDisplay(&display, platform::Rect{0, 0, 400, 800}, &width, &height, &pageMin, &pageMax,
                                   &page, false),
                  0);
    });
    ASSERT_EQ(height, platform::GetMBarHeight());
    ASSERT_GT(width, 25);
    const std::vector<uint32_t> shown = Shown(display, width, height);
    const std::vector<uint32_t> strip = Drawn(width, height, [&] {
        const platform::Rect r{0, 0, height, width};
        platform::PaintRect(&r);
        platform::EraseRoundRect(&r, 16, 16);
        platform::FrameRect(&r);
    });
    // The lowest four rows hold no title.
    for (int16_t v = int16_t(height - 4); v < height; ++v)
        for (int16_t h = 0; h < width; ++h)
            ASSERT_EQ(shown[size_t(v * width + h)], strip[size_t(v * width + h)]) << h << ", " << v;
    bar->DisposeDisplay(&display);

    TObjQz* file = Find(6, "File");
    ASSERT_NE(file, nullptr);
    width = 1;
    platform::FontInfo menu{};
    const int16_t appLine = MadeDisplay(file, platform::Rect{0, 0, 400, 800}, &display, &width, &height);
    const std::vector<uint32_t> title = Drawn(width, height, [&] {
        platform::TextFont(platform::systemFont);
        platform::TextSize(12);
        platform::TextFace(platform::bold);
        platform::GetFontInfo(&menu);
        platform::MoveTo(14, int16_t(8 + menu.ascent));
        platform::DrawText("File", 0, 4);
    });
    const int16_t line = std::max<int16_t>(int16_t(menu.ascent + menu.descent + menu.leading), appLine);
    EXPECT_EQ(height, 8 + 5 * line + 6 + 2) << "four items and the title";
    const std::vector<uint32_t> drawn = Shown(display, width, height);
    bool inked = false;
    for (int16_t v = 8; v < 8 + menu.ascent + menu.descent; ++v)
        for (int16_t h = 5; h < width - 4; ++h) {
            ASSERT_EQ(drawn[size_t(v * width + h)], title[size_t(v * width + h)]) << h << ", " << v;
            inked = inked || title[size_t(v * width + h)] != 0xFFFFFF;
        }
    EXPECT_TRUE(inked) << "the title's letters are drawn";
    file->DisposeDisplay(&display);
}

// A string list's picture: the heading's line, then each string's line
// below it, each drawn on its own base line.
TEST_F(DesignPreviews, AStringListsLinesAreDrawnOneBelowTheOther)
{
    TObjQz* list = Find(11, "Invoice_Texts");
    ASSERT_NE(list, nullptr);
    platform::Handle display = nullptr;
    int16_t width = 0, height = 0;
    const int16_t line = MadeDisplay(list, platform::Rect{0, 0, 300, 300}, &display, &width, &height);
    ASSERT_GT(line, 0);
    ASSERT_EQ(height, 10 + 4 * line);
    const std::vector<uint32_t> shown = Shown(display, width, height);
    auto inked = [&](int32_t top) {
        for (int32_t v = top; v < top + line; ++v)
            for (int32_t h = 0; h < width; ++h)
                if (shown[size_t(v * width + h)] != 0xFFFFFF) return true;
        return false;
    };
    for (int32_t row = 0; row < 4; ++row) EXPECT_TRUE(inked(10 + row * line)) << row;
    list->DisposeDisplay(&display);
}

// Scrolled, a preview draws within the port's clip only; without a port,
// the saved font puts nothing back.
TEST_F(DesignPreviews, ScrollingKeepsToTheClipAndNoPortKeepsItsFont)
{
    TObjQz* field = Field("Customers", "Name");
    ASSERT_NE(field, nullptr);
    platform::Handle display = nullptr;
    int16_t width = 0, height = 0, pageMin = 0, pageMax = 0, page = 0;
    std::vector<uint32_t> after;
    after = Drawn(100, 100, [&] {
        EXPECT_EQ(field->InitDisplay(&display, platform::Rect{0, 0, 100, 100}, &width, &height, &pageMin, &pageMax,
                                     &page, false),
                  0);
        const platform::Rect all{0, 0, 100, 100}, clip{50, 0, 100, 100};
        platform::PaintRect(&all);
        platform::ClipRect(&clip);
        field->Scroll(display, all, 0, 20);
        platform::ClipRect(&all);
    });
    // The rows scrolled in lie above the clip: untouched.
    for (int32_t v = 0; v < 50; ++v)
        for (int32_t h = 0; h < 100; ++h) ASSERT_EQ(after[size_t(v * 100 + h)], 0u) << h << ", " << v;
    field->DisposeDisplay(&display);

    platform::GrafPtr port = nullptr;
    platform::GetPort(&port);
    platform::SetPort(nullptr);
    platform::ResetDrawingCallCounts();
    { SavedFont none; }
    EXPECT_EQ(platform::DrawingCallCount(platform::DrawingCall::TextFont), 0u);
    platform::SetPort(port);
}

// In the stored mode a menu item shows its text as stored, a string-list
// reference included; the style sheet's lines are drawn in the
// application's font and size.
TEST_F(DesignPreviews, AMenuShowsStoredTextsAndAStyleSheetTheApplicationsFont)
{
    TObjQz* file = Find(6, "File");
    ASSERT_NE(file, nullptr);
    // The first item given a key in its text, in memory only: "Save" shows.
    UseQzRes(doc_.fResFile);
    platform::Handle stored1 = xget1res(FourCC("MENQ"), 1);
    ASSERT_NE(stored1, nullptr);
    ASSERT_GE(platform::GetHandleSize(stored1), 24 + 32);
    std::memcpy(*stored1 + 24, "\x06Save/S", 7);
    platform::Handle display = nullptr;
    int16_t width = 0, height = 0;
    platform::FontInfo menu{};
    const int16_t appLine = MadeDisplay(file, platform::Rect{0, 0, 400, 800}, &display, &width, &height);
    const std::string stored = ":15000,1";
    int16_t textWidth = 0;
    const std::vector<uint32_t> reference = Drawn(width, height, [&] {
        platform::TextFont(platform::systemFont);
        platform::TextSize(12);
        platform::TextFace(platform::normal);
        platform::GetFontInfo(&menu);
        const int16_t line = std::max<int16_t>(int16_t(menu.ascent + menu.descent + menu.leading), appLine);
        textWidth = std::max(Width(stored), Width("Save"));
        platform::MoveTo(14, int16_t(8 + 4 * line + menu.ascent));
        platform::DrawText(stored.data(), 0, int16_t(stored.size()));
        platform::MoveTo(14, int16_t(8 + line + menu.ascent));
        platform::DrawText("Save", 0, 4);
    });
    const int16_t line = std::max<int16_t>(int16_t(menu.ascent + menu.descent + menu.leading), appLine);
    const std::vector<uint32_t> shown = Shown(display, width, height);
    for (const int32_t row : {1, 4})
        for (int32_t v = 8 + row * line + 1; v < 8 + row * line + menu.ascent + menu.descent; ++v)  // under the rule
            for (int32_t h = 5; h < 14 + textWidth; ++h)
                ASSERT_EQ(shown[size_t(v * width + h)], reference[size_t(v * width + h)]) << h << ", " << v;
    file->DisposeDisplay(&display);

    TObjQz* titles = Find(19, "Titles");
    ASSERT_NE(titles, nullptr);
    const int16_t font = MyApplFont, size = MyApplSize;
    MyApplFont = platform::systemFont;
    MyApplSize = 18;
    std::vector<std::string> lines;
    for (const std::string& l : ExportedLines(titles)) lines.push_back(l.substr(3));
    MadeDisplay(titles, platform::Rect{0, 0, 400, 800}, &display, &width, &height);
    const std::vector<uint32_t> sheet = Drawn(width, height, [&] {
        platform::TextFont(platform::systemFont);
        platform::TextSize(18);
        platform::TextFace(platform::normal);
        platform::FontInfo fi{};
        platform::GetFontInfo(&fi);
        const int16_t l = int16_t(fi.ascent + fi.descent + fi.leading);
        for (size_t i = 0; i < lines.size(); ++i) {
            platform::MoveTo(10, int16_t(10 + int32_t(i) * l + fi.ascent));
            platform::DrawText(lines[i].data(), 0, int16_t(lines[i].size()));
        }
    });
    MyApplFont = font;
    MyApplSize = size;
    EXPECT_EQ(Shown(display, width, height), sheet);
    titles->DisposeDisplay(&display);
}

// A string list prints its heading as the export writes it (kind, name,
// the id's label and the id), as its own line printing would.
TEST_F(DesignPreviews, AStringListPrintsItsHeading)
{
    auto* list = static_cast<TSTRObjQz*>(Find(11, "Invoice_Texts"));
    ASSERT_NE(list, nullptr);
    const std::string heading = "String list Invoice_Texts ID:15000";
    PrintPages(folder_.path(), "list-", [&] {
        OutPutParmRec options;
        EXPECT_EQ(list->PrintObj(&options), 0);
    });
    PrintPages(folder_.path(), "heading-", [&] {
        unsigned char text[256], empty[1] = {0};
        apptest::ToP(heading, text);
        UsePrintStyle(platform::bold);
        list->PrintNewLine(text, 0);
        platform::TextFace(platform::normal);
        list->PrintNewLine(empty, 0);
    });
    PageImage printed(folder_ / "list-1.png"), expected(folder_ / "heading-1.png");
    ASSERT_TRUE(printed.ok && expected.ok);
    bool inked = false;
    for (int32_t v = 0; v < 120; ++v)
        for (int32_t h = 0; h < 400; ++h) {
            ASSERT_EQ(printed.At(h, v), expected.At(h, v)) << h << ", " << v;
            inked = inked || expected.At(h, v) != 0xFFFFFF;
        }
    EXPECT_TRUE(inked);
}

}  // namespace
}  // namespace readtest

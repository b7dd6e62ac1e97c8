// Previews and printed contents of string lists and styles: each drawn as
// the platform's text calls draw the same lines, scrolled as a redraw
// moved, printed with its numbers and strings, and from damaged lists only
// what their bytes hold.
#include <gtest/gtest.h>

#include "app/appl/Preferences.h"
#include "app/documents/Documentation.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
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

// Lists cut short: the strings their bytes hold, nothing past them.
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
          std::pair{readtest::Bytes{0x80, 0, 1, 'a'}, std::vector<std::string>{}},
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

// Printed: the heading in bold, then each number at 20 and its string at
// 60 on one line.
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
        at("Texts ID :15000", 0, 0, bold);
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

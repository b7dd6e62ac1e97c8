// The cursor on the composed screen, and the scrap's flavours and
// references.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/cursors/Cursors.h"
#include "platform/scrap/Scrap.h"
#include "platform/screen/Screen.h"
#include "tests/platform/windows/WindowFixture.h"

namespace platform {
namespace {

class CursorTest : public testing::WindowTest {};

// A cursor whose whole 16 x 16 square is black, hot spot (3, 5).
Cursor Block()
{
    Cursor c{};
    for (int i = 0; i < 16; ++i) c.data[i] = c.mask[i] = 0xFFFF;
    c.hotSpot = Point{3, 5};
    return c;
}

TEST_F(CursorTest, ShowsAtMouseLessHotSpotAndCountsHides)
{
    Play(Script().Move(200, 100));
    Point mouse;
    GetGlobalMouse(&mouse);
    ASSERT_EQ(mouse.h, 200);
    InitCursor();
    const uint32_t desk = ScreenPixel(300, 300);
    Cursor c = Block();
    SetCursor(&c);
    EXPECT_EQ(ScreenPixel(195, 97), 0x000000u);  // top-left = mouse - hot spot
    EXPECT_EQ(ScreenPixel(210, 112), 0x000000u);
    EXPECT_EQ(ScreenPixel(194, 97), desk);
    EXPECT_EQ(ScreenPixel(211, 112), desk);

    HideCursor();
    HideCursor();
    ShowCursor();
    EXPECT_EQ(ScreenPixel(200, 100), desk);  // two hides, one show: hidden
    ShowCursor();
    EXPECT_EQ(ScreenPixel(200, 100), 0x000000u);
    ShowCursor();  // no deeper than shown
    EXPECT_EQ(CursorLevel(), 0);
}

TEST_F(CursorTest, ObscuredUntilTheMouseMoves)
{
    Play(Script().Move(200, 100).Wait(5).Move(201, 100));
    Point mouse;
    GetGlobalMouse(&mouse);
    InitCursor();
    Cursor c = Block();
    SetCursor(&c);
    const uint32_t desk = ScreenPixel(300, 300);
    ObscureCursor();
    for (int i = 0; i < 3; ++i) {
        GetGlobalMouse(&mouse);
        EXPECT_EQ(ScreenPixel(200, 100), desk);
    }
    while (mouse.h != 201) GetGlobalMouse(&mouse);
    EXPECT_EQ(ScreenPixel(200, 100), 0x000000u);
}

TEST_F(CursorTest, SystemCursorsAndResources)
{
    for (int16_t id = 1; id <= 4; ++id) {
        CursHandle h = GetCursor(id);
        ASSERT_NE(h, nullptr) << id;
        Cursor back{};
        ASSERT_TRUE(ReadCursorResource(SystemCursorResource(id), 68, &back));
        EXPECT_EQ(std::memcmp((*h)->data, back.data, sizeof back.data), 0);
    }
    EXPECT_EQ(GetCursor(5), nullptr);
    EXPECT_FALSE(ReadCursorResource(SystemCursorResource(1), 67, nullptr));
    EXPECT_EQ(SetThemeCursor(kThemeIBeamCursor), noErr);
    EXPECT_EQ(SetThemeCursor(99), themeBadCursorIndexErr);
    EXPECT_EQ(SetAnimatedThemeCursor(kThemeIBeamCursor, 1), themeBadCursorIndexErr);
    // The watch moves its hand from frame to frame.
    Play(Script().Move(100, 100));
    Point mouse;
    GetGlobalMouse(&mouse);
    uint32_t frames[2][16 * 16];
    for (int f = 0; f < 2; ++f) {
        ASSERT_EQ(SetAnimatedThemeCursor(kThemeWatchCursor, uint32_t(f)), noErr);
        for (int i = 0; i < 256; ++i) frames[f][i] = ScreenPixel(int16_t(95 + i % 16), int16_t(92 + i / 16));
    }
    EXPECT_NE(std::memcmp(frames[0], frames[1], sizeof frames[0]), 0);
}

TEST(ColorCursor, ReadsPixelsThroughItsTableAndRefusesShortData)
{
    // Header, pixel map at 96, 2-bit pixels at 146, colour table at 210.
    std::vector<uint8_t> r(210 + 8 + 4 * 8, 0);
    auto put16 = [&](size_t at, uint16_t v) { r[at] = uint8_t(v >> 8); r[at + 1] = uint8_t(v); };
    auto put32 = [&](size_t at, uint32_t v) { put16(at, uint16_t(v >> 16)); put16(at + 2, uint16_t(v)); };
    put16(0, 0x8001);
    put32(2, 96);
    put32(6, 146);
    for (int i = 0; i < 16; ++i) put16(20 + 32 + 2 * i, 0xFFFF);  // mask
    put16(96 + 4, 0x8004);  // row bytes 4
    put16(96 + 10, 16);
    put16(96 + 12, 16);
    put16(96 + 32, 2);  // depth
    put32(96 + 42, 210);
    r[146] = 0x1B;  // pixels 0, 1, 2, 3
    put16(210 + 6, 3);  // four entries
    for (uint16_t i = 0; i < 4; ++i) {
        put16(218 + 8 * i, i);
        put16(218 + 8 * i + 2, uint16_t(i * 0x5500));
    }
    CCrsr c{};
    ASSERT_TRUE(ReadColorCursorResource(r.data(), r.size(), &c));
    EXPECT_EQ(c.pixels[0][0], 0x000000u);
    EXPECT_EQ(c.pixels[0][1], 0x550000u);
    EXPECT_EQ(c.pixels[0][3], 0xFF0000u);
    EXPECT_FALSE(ReadColorCursorResource(r.data(), r.size() - 1, &c));
    put32(96 + 42, 0xFFFFFFF0);
    EXPECT_FALSE(ReadColorCursorResource(r.data(), r.size(), &c));
}

class ScrapTest : public ::testing::Test {
protected:
    void SetUp() override { ResetScrap(); }
};

TEST_F(ScrapTest, FlavoursReadBackAndAbsentOnesAreNamed)
{
    ScrapRef scrap;
    ASSERT_EQ(ClearCurrentScrap(), noErr);
    ASSERT_EQ(GetCurrentScrap(&scrap), noErr);
    EXPECT_EQ(PutScrapFlavor(scrap, FourCC("TEXT"), 0, 5, "hello"), noErr);
    EXPECT_EQ(PutScrapFlavor(scrap, FourCC("TEXT"), 0, 1, "x"), duplicateScrapFlavorErr);
    Size size = 0;
    EXPECT_EQ(GetScrapFlavorSize(scrap, FourCC("TEXT"), &size), noErr);
    EXPECT_EQ(size, 5);
    char out[8] = {};
    size = 3;
    EXPECT_EQ(GetScrapFlavorData(scrap, FourCC("TEXT"), &size, out), noErr);
    EXPECT_EQ(std::string(out, 3), "hel");  // never more than the room given
    size = 99;
    EXPECT_EQ(GetScrapFlavorSize(scrap, FourCC("PICT"), &size), noTypeErr);
    EXPECT_EQ(size, 0);
    ScrapFlavorFlags flags = 7;
    EXPECT_EQ(GetScrapFlavorFlags(scrap, FourCC("PICT"), &flags), noTypeErr);
}

TEST_F(ScrapTest, EveryClearAndOutsideCopyGivesANewReference)
{
    // UTF-8 text with a character Mac Roman lacks.
    testing::HeadlessRun run(Script().Wait(2).Clipboard("a\xC3\xA9\xE2\x98\x83\r"));
    ScrapRef first, second, third;
    GetCurrentScrap(&first);
    ClearCurrentScrap();
    GetCurrentScrap(&second);
    EXPECT_NE(first, second);
    EXPECT_EQ(PutScrapFlavor(first, FourCC("TEXT"), 0, 1, "x"), badScrapRefErr);  // an old reference
    // Another program copies: the script's clipboard step.
    Point mouse;
    for (int i = 0; i < 4; ++i) GetGlobalMouse(&mouse);
    GetCurrentScrap(&third);
    EXPECT_NE(third, second);
    EXPECT_NE(third, first);
    char out[8] = {};
    Size size = 8;
    EXPECT_EQ(GetScrapFlavorData(third, FourCC("TEXT"), &size, out), noErr);
    EXPECT_EQ(std::string(out, size_t(size)), "a\x8E?\r");
    char utxt[16] = {};
    size = sizeof utxt;
    EXPECT_EQ(GetScrapFlavorData(third, FourCC("utxt"), &size, utxt), noErr);
    EXPECT_EQ(std::string(utxt, size_t(size)), std::string("\0a\0\xE9\x26\x03\0\r", 8));  // big-endian UTF-16
}

// Another program's text, copied on the desktop or by the script's step:
// CR LF, LF and CR are each one line end, a CR in both text flavours.
TEST_F(ScrapTest, AnotherProgramsLineEndsAreOneEach)
{
    const std::pair<std::string, std::string> rows[] = {
        {"a\r\nb", "a\rb"}, {"a\nb", "a\rb"}, {"a\rb", "a\rb"}, {"\r\n\n\r\r\n\xC3\xA9\n\r", "\r\r\r\r\x8E\r\r"}};
    for (const auto& [copied, text] : rows) {
        ExternalClipboardChanged("old");
        {
            testing::HeadlessRun run(Script().Clipboard(copied));
        }
        ScrapRef scrap;
        GetCurrentScrap(&scrap);
        std::string roman(64, '\0'), utxt(128, '\0');
        Size size = Size(roman.size());
        EXPECT_EQ(GetScrapFlavorData(scrap, FourCC("TEXT"), &size, roman.data()), noErr);
        roman.resize(size_t(size));
        size = Size(utxt.size());
        EXPECT_EQ(GetScrapFlavorData(scrap, FourCC("utxt"), &size, utxt.data()), noErr);
        utxt.resize(size_t(size));
        std::string wide;
        for (char c : text) wide += c == '\x8E' ? std::string("\0\xE9", 2) : std::string{'\0', c};
        EXPECT_EQ(std::tuple(roman, utxt), std::tuple(text, wide)) << copied;
    }
}

}  // namespace
}  // namespace platform

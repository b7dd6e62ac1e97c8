// The styled text buffer, its move into a text record, the 14 method
// styles and menu keys.
#include "app/appl/Preferences.h"
#include "design/objects/NameRules.h"
#include "design/objects/ObjText.h"
#include "design/text/TextBuffers.h"
#include "platform/text/ScriptManager.h"
#include "tests/design/DesignFixture.h"

namespace designtest {
namespace {

using namespace platform;

class TextBuffer : public DesignFixture {
protected:
    void TearDown() override
    {
        DeleteText(buffer_);
        DesignFixture::TearDown();
    }
    tText buffer_ = NewText();
};

TEST_F(TextBuffer, AnAppendThatWouldReachTheLimitIsIgnored)
{
    EXPECT_EQ(GetHandleSize(buffer_), 1048);
    EXPECT_EQ(GetHandleSize(TextOf(buffer_)->text), 1024);
    struct Case {
        int32_t before, count;
        bool appended;
        int32_t capacity;  // afterwards: the new length + 1,024 once passed
    };
    const Case cases[] = {
        {0, 0, true, 1024},       {0, 1024, true, 1024},     {1024, 1, true, 2049},
        {32756, 10, true, 33779}, {32757, 10, false, 33780}, {32760, 10, false, 33783},
        {32766, 1, false, 33789}, {100, -1, false, 1024},
    };
    const std::string source = "0123456789" + std::string(40000, 'z');
    for (const Case& c : cases) {
        DeleteText(buffer_);
        buffer_ = NewText();
        // Grown one byte short of the length, then the last byte.
        if (c.before > 1) {
            ASSERT_TRUE(TextAppend(source.data() + 10, c.before - 1, buffer_));
        }
        if (c.before > 0) {
            ASSERT_TRUE(TextAppend("z", 1, buffer_));
        }
        EXPECT_EQ(TextAppend(source.data(), c.count, buffer_), c.appended) << c.before << "+" << c.count;
        EXPECT_EQ(TextOf(buffer_)->length, c.before + (c.appended ? c.count : 0)) << c.before << "+" << c.count;
        EXPECT_EQ(TextOf(buffer_)->textCapacity, c.capacity) << c.before << "+" << c.count;
        if (c.appended && c.count == 10) {
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(TextBytesOf(buffer_)) + c.before, 10), "0123456789");
        }
    }
}

TEST_F(TextBuffer, StylesMakeRunsThatGrowBy128)
{
    EXPECT_TRUE(TextSetStyle(3, buffer_));
    EXPECT_TRUE(TextSetStyle(3, buffer_));
    ASSERT_EQ(TextOf(buffer_)->runCount, 1);
    EXPECT_EQ(TextRunsOf(buffer_)[0].start, 0);
    TextAppend("abcde", 5, buffer_);
    for (int32_t i = 1; i < 128; ++i) ASSERT_TRUE(TextSetStyle(i % 2, buffer_));
    EXPECT_EQ(TextRunsOf(buffer_)[1].start, 5);
    EXPECT_EQ(GetHandleSize(buffer_), 24 + 8 * 128);
    ASSERT_TRUE(TextSetStyle(7, buffer_));
    EXPECT_EQ(TextOf(buffer_)->runCapacity, 256);
    EXPECT_EQ(GetHandleSize(buffer_), 24 + 8 * 256);
    EXPECT_EQ(TextRunsOf(buffer_)[128].style, 7);
    // Runs stop one short of 32,767.
    for (int32_t i = 129; i < 32766; ++i) ASSERT_TRUE(TextSetStyle(i % 2, buffer_)) << i;
    EXPECT_FALSE(TextSetStyle(9, buffer_));
    EXPECT_EQ(TextOf(buffer_)->runCount, 32766);
}

TEST_F(TextBuffer, TheRecordGetsTheTextAndOneStyleChangePerRun)
{
    TETextStyle styles[kMethodStyleCount];
    for (int32_t i = 0; i < kMethodStyleCount; ++i)
        styles[i] = TETextStyle{int16_t(3 + i % 2), Style(i % 3), int16_t(9 + i), RGBColor{uint16_t(i * 1000), 0, 0}};
    // Text before the first run, an empty run, a repeated style.
    TextAppend("xy", 2, buffer_);
    TextSetStyle(1, buffer_);
    TextAppend("abc", 3, buffer_);
    TextSetStyle(5, buffer_);
    TextSetStyle(6, buffer_);
    TextAppend("de", 2, buffer_);
    TextSetStyle(13, buffer_);
    TextAppend("fg\r", 3, buffer_);
    const Rect r{0, 0, 400, 400};
    TEHandle te = TEStyleNew(&r, &r);
    TextTohTE(buffer_, nullptr, styles);  // no record: nothing to fill
    TextTohTE(buffer_, te, styles);
    ASSERT_EQ(std::string(*(**te).hText, size_t((**te).teLength)), "xyabcdefg\r");
    const int16_t expected[10] = {0, 0, 1, 1, 1, 6, 6, 13, 13, 13};
    for (int16_t at = 0; at < 10; ++at) {
        TETextStyle got{};
        int16_t height = 0, ascent = 0;
        TEGetStyle(at, &got, &height, &ascent, te);
        const TETextStyle& want = styles[expected[at]];
        EXPECT_EQ(std::tuple(got.tsFont, got.tsFace, got.tsSize, got.tsColor.red),
                  std::tuple(want.tsFont, want.tsFace, want.tsSize, want.tsColor.red))
            << at;
    }
    TEDispose(te);
}

TEST_F(TextBuffer, MethodStylesTakeTheUsersSettings)
{
    // Setting s: face s and red s; the entries take them by the mapping.
    for (int s = 0; s < 14; ++s) {
        g_styles[s] = uint8_t(s);
        g_colors[s] = RGBColor{uint16_t(s << 8), 0, 0};
    }
    TETextStyle styles[kMethodStyleCount];
    MyTEInitStyles(styles, 21, 11);
    const int16_t settings[14] = {0, 3, 10, 12, 11, 9, 8, 7, 4, 5, 6, 1, 13, 2};
    for (int32_t i = 0; i < kMethodStyleCount; ++i)
        EXPECT_EQ(std::tuple(styles[i].tsFont, styles[i].tsSize, styles[i].tsFace, styles[i].tsColor.red),
                  std::tuple(21, 11, settings[i], settings[i] << 8))
            << i;

}

int16_t FakeTwoByte(const uint8_t* text, int16_t offset)
{
    if (offset > 0 && text[offset - 1] == 0x81) return smLastByte;
    return text[offset] == 0x81 ? smFirstByte : smSingleByte;
}

// Appending to a string stops at 255 bytes, the exact fit included.
TEST(PascalText, AppendsAndSetsStopAtTheFullString)
{
    struct Case {
        size_t start;
        std::string more;
        size_t length;
    } cases[] = {{254, "a", 255}, {255, "a", 255}, {250, "abcdefgh", 255}, {0, "", 0}, {3, "ab", 5}};
    for (const Case& c : cases) {
        for (int how = 0; how < 2; ++how) {
            unsigned char text[256];
            apptest::ToP(std::string(c.start, 'x'), text);
            if (how == 0) PAppend(text, c.more);
            else for (char ch : c.more) PAppendChar(text, ch);
            EXPECT_EQ(text[0], c.length) << c.start << " " << how;
            EXPECT_EQ(PString(text), (std::string(c.start, 'x') + c.more).substr(0, c.length)) << c.start << " " << how;
        }
    }
    unsigned char text[256];
    for (size_t n : {254u, 255u, 300u}) {
        PSet(text, std::string(n, 'y'));
        EXPECT_EQ(PString(text), std::string(std::min<size_t>(n, 255), 'y')) << n;
    }
}

TEST(MenuKeys, AnItemSplitsAtItsFirstSlashOfOneByte)
{
    struct Case {
        std::string item;
        bool twoByte, found;
        std::string name;
        unsigned char key;
    };
    const Case cases[] = {
        {"Save/S", false, true, "Save", 'S'},  {"Save", false, false, "Save", 0},
        {"", false, false, "", 0},             {"A/B/C", false, true, "A", 'B'},
        {"Quit/", false, true, "Quit", 0},     {"\x81/x/K", false, true, "\x81", 'x'},
        {"\x81/x/K", true, true, "\x81/x", 'K'}, {"\x81/", true, false, "\x81/", 0},
        {"\x81x/K", true, true, "\x81x", 'K'},
    };
    for (const Case& c : cases) {
        unsigned char item[256], name[256], key = 0xFF;
        apptest::ToP(c.item, item);
        EXPECT_EQ(GetMenuKeyIn(item, name, &key, c.twoByte, FakeTwoByte), c.found) << c.item;
        EXPECT_EQ(std::tuple(apptest::P(name), key), std::tuple(c.name, c.key)) << c.item;
    }
    unsigned char item[256], name[256], key = 0;
    apptest::ToP("Open/O", item);
    EXPECT_TRUE(GetMenuKey(item, name, &key));
    EXPECT_EQ(key, 'O');
}

}  // namespace
}  // namespace designtest

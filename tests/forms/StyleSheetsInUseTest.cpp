// The style sheets forms are drawn with: loading from the structure, the
// companion file, the older table or the application's default, and the
// look-up by id.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "forms/drawing/StyleSheetsInUse.h"
#include "forms/objects/ObjectWriting.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Text.h"
#include "platform/fonts/Fonts.h"
#include "platform/resfiles/Resources.h"
#include "tests/kernel/AppResourceFile.h"
#include "tests/resources/StoreTestSupport.h"

using platform::FourCC;
using storetest::Bytes;
using storetest::Contents;
using storetest::MakeHandle;

namespace {

// A font block: a name (or a built-in number as a negative length), a
// size and a face.
Bytes Block(const std::string& font, uint8_t size, uint8_t face, int8_t builtIn = 0)
{
    Bytes b(68, 0);
    b[0] = builtIn ? uint8_t(builtIn) : uint8_t(font.size());
    std::memcpy(&b[1], font.data(), font.size());
    b[66] = size;
    b[67] = face;
    return b;
}

Bytes Entry(int16_t id, int blocks, const Bytes& block)
{
    Bytes e(34, 0);
    e[0] = 1, e[1] = uint8_t('a' + id % 26);
    platform::WriteBE16(&e[32], uint16_t(id));
    if (blocks == 5) e.push_back(0), e.push_back(5);
    for (int i = 0; i < blocks; ++i) {
        Bytes b = block;
        b[66] = uint8_t(block[66] + i);  // each block its own size
        e.insert(e.end(), b.begin(), b.end());
    }
    return e;
}

Bytes Table(std::initializer_list<Bytes> entries)
{
    Bytes t{0, uint8_t(entries.size()), 0, 0};
    for (const Bytes& e : entries) t.insert(t.end(), e.begin(), e.end());
    return t;
}

struct Style {
    int16_t font, size, face;
    bool found;
    bool operator==(const Style&) const = default;
};

Style Info(int16_t id)
{
    Style s{};
    s.found = GetStyleInfo(id, &s.font, &s.size, &s.face);
    return s;
}

class StyleSheetsInUse : public storetest::StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        platform::ResetResourceManager();
        DisposeStyleSheets();
        ref_ = CreateFile("structure.qzb");
        ASSERT_NE(ref_, 0);
    }
    void TearDown() override
    {
        DisposeStyleSheets();
        if (app_ > 0) platform::CloseResFile(app_);
        platform::ResetResourceManager();
        StoreTest::TearDown();
    }
    void Add(const char (&type)[5], int16_t id, const Bytes& b)
    {
        ASSERT_TRUE(xaddres(MakeHandle(b), FourCC(type), id));
    }
    void OpenApp(const std::vector<platform::ResourceImage>& resources)
    {
        app_ = kerneltest::OpenAppFile(Path("app.rsrc"), resources);
        ASSERT_GT(app_, 0);
    }

    int16_t ref_ = 0;
    int16_t app_ = -1;
};

}  // namespace

TEST_F(StyleSheetsInUse, LookUpsByIdLastEntryWinsAndMinusOneForgets)
{
    Add("Stlx", 128, Table({Entry(5, 5, Block("Geneva", 10, 1)), Entry(7, 5, Block("Geneva", 20, 0)),
                            Entry(5, 5, Block("Geneva", 30, 2))}));
    CreateStyleSheet();
    ASSERT_NE(curStyles, nullptr);
    struct Case {
        int16_t id;
        Style want;
    } cases[] = {
        {5, {3, 33, 2, true}},   // the last entry of id 5, block 3: size 30 + 3
        {7, {3, 23, 0, true}},
        {6, {1, 0, 0, false}},   // no such id: font 1, size 0, face 0
        {-1, {1, 0, 0, false}},
    };
    for (const Case& c : cases) EXPECT_EQ(Info(c.id), c.want) << c.id;

    // Id 5 is cached at its entry; a table swapped under the cache is read
    // at the cached entry until -1 forgets it.
    EXPECT_TRUE(Info(5).found);
    platform::Handle other = MakeHandle(Table({Entry(5, 5, Block("Geneva", 40, 4))}));
    platform::Handle kept = curStyles;
    curStyles = other;
    Info(-1);
    EXPECT_EQ(Info(5), (Style{0, 43, 4, true}));  // font number 0 until InitStyleSheet
    curStyles = kept;
    platform::DisposeHandle(other);
    RestoreStyleSheet(kept);
    EXPECT_EQ(Info(5).size, 33);
}

TEST_F(StyleSheetsInUse, FontNumbersComeFromNamesOrBuiltInLengths)
{
    struct Case {
        int8_t length;
        int16_t font;
    } cases[] = {{-5, 3}, {-2, 0}, {-3, 1}};
    for (const Case& c : cases) {
        platform::Handle table = MakeHandle(Table({Entry(1, 5, Block("", 9, 0, c.length))}));
        InitStyleSheet(table);
        RestoreStyleSheet(table);
        EXPECT_EQ(Info(1).font, c.font) << int(c.length);
        RestoreStyleSheet(nullptr);
        platform::DisposeHandle(table);
    }
}

// The table a form is drawn with is held in memory: the structure gains
// no 'Stlx' 128 (its style-sheet objects stay what a fresh open shows).
TEST_F(StyleSheetsInUse, AnOlderTableIsConvertedInMemoryOnly)
{
    Add("Styl", 128, Table({Entry(3, 3, Block("Geneva", 10, 0))}));
    CreateStyleSheet();
    ASSERT_NE(curStyles, nullptr);
    EXPECT_EQ(compteres(FourCC("Stlx"), false), 0);
    const Bytes stored = Contents(curStyles);
    ASSERT_EQ(stored.size(), size_t(4 + 376));
    EXPECT_EQ(platform::ReadBE16(&stored[2]), 376);
    EXPECT_EQ(platform::ReadBE16(&stored[4 + 34]), 5);
    // Blocks 0, 1, 2 as they were; 3 repeats 0 and 4 repeats 2 (sizes 10, 11, 12).
    const uint8_t sizes[5] = {10, 11, 12, 10, 12};
    for (int b = 0; b < 5; ++b) EXPECT_EQ(stored[4 + 36 + b * 68 + 66], sizes[b]) << b;
    EXPECT_EQ(Info(3).size, 10);
}

TEST_F(StyleSheetsInUse, WithoutTablesTheApplicationDefaultIsOneEntry)
{
    Bytes dflt = Entry(9, 5, Block("Geneva", 12, 1));
    dflt[35] = 0;  // the block count comes from the entry as it is made
    OpenApp({{FourCC("Styl"), 803, false, "", 0, dflt}});
    CreateStyleSheet();
    ASSERT_NE(curStyles, nullptr);
    EXPECT_EQ(compteres(FourCC("Stlx"), false), 0);
    const Bytes stored = Contents(curStyles);
    ASSERT_EQ(stored.size(), size_t(4 + 376));
    EXPECT_EQ(platform::ReadBE16(&stored[0]), 1);
    EXPECT_EQ(platform::ReadBE16(&stored[4 + 34]), 5);
    int16_t geneva = 0;
    unsigned char name[] = "\x06Geneva";
    platform::GetFNum(name, &geneva);
    EXPECT_EQ(Info(9), (Style{geneva, 15, 1, true}));

    // Loaded once: a table added later is not read.
    Add("Stlx", 129, Table({}));
    platform::Handle before = curStyles;
    CreateStyleSheet();
    EXPECT_EQ(curStyles, before);
}

// Two structures open: each one's forms are drawn with its own table,
// loaded again when the other's was the last one loaded.
TEST_F(StyleSheetsInUse, EachStoreHasItsOwnTableLoaded)
{
    Add("Stlx", 128, Table({Entry(1, 5, Block("Geneva", 10, 0))}));
    const int16_t other = CreateFile("other.qzb");
    ASSERT_NE(other, 0);
    Add("Stlx", 128, Table({Entry(1, 5, Block("Geneva", 20, 0)), Entry(2, 5, Block("Geneva", 30, 0))}));
    struct Case {
        int16_t store;
        int16_t size1;  // style sheet 1's size (block 3: + 3)
        bool has2;
    };
    for (const Case& c : {Case{ref_, 13, false}, Case{other, 23, true}, Case{other, 23, true}, Case{ref_, 13, false}}) {
        useres(c.store);
        CreateStyleSheet();
        EXPECT_EQ(Info(1).size, c.size1) << c.store;
        EXPECT_EQ(Info(2).found, c.has2) << c.store;
    }
    closeres(other, false);
}

TEST_F(StyleSheetsInUse, TheCompanionsTableIsDrawnWithTheStructuresKept)
{
    const Bytes own = Table({Entry(1, 5, Block("Geneva", 10, 0))});
    Add("Stlx", 128, own);
    const Bytes companion = Table({Entry(2, 5, Block("Geneva", 14, 0))});
    ASSERT_GT(kerneltest::OpenAppFile(Path(kStyleSheetCompanion), {{FourCC("Stlx"), 128, false, "", 0, companion}}), 0);
    platform::CloseResFile(platform::CurResFile());
    CreateStyleSheet();
    EXPECT_EQ(compteres(FourCC("Stlx"), false), 1);
    EXPECT_EQ(Contents(xget1res(FourCC("Stlx"), 128)), own);
    EXPECT_FALSE(Info(1).found);
    EXPECT_EQ(Info(2).size, 17);
}

TEST_F(StyleSheetsInUse, LineHeightsOfLoadedStylesOnly)
{
    Add("Stlx", 128, Table({Entry(4, 5, Block("Geneva", 9, 0))}));
    EXPECT_EQ(GetStyleSheetHeight(4), -1) << "nothing loaded yet";
    CreateStyleSheet();
    platform::CGrafPtr port = platform::CreateNewPort();
    platform::SetPort(port);
    platform::TextSize(20);
    SetupStyle(4, 0);
    platform::FontInfo fi{};
    platform::GetFontInfo(&fi);
    platform::TextSize(20);
    EXPECT_EQ(GetStyleSheetHeight(4), fi.ascent + fi.descent + fi.leading);
    EXPECT_EQ(platform::GetPortTextSize(port), 20) << "the port's font is kept";
    EXPECT_EQ(GetStyleSheetHeight(8), -1);
    platform::SetPort(nullptr);
    platform::DisposePort(port);
}

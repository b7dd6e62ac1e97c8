// Font numbers, names and metrics: the fixed mapping, metrics and widths
// as FreeType computes them from the pinned files, the same in a process
// whose font configuration and home folder point elsewhere.
#include <gtest/gtest.h>

#include <ft2build.h>
#include FT_FREETYPE_H

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Text.h"
#include "platform/fonts/FontFiles.h"
#include "platform/fonts/Fonts.h"
#include "platform/fonts/GlyphCache.h"
#include "platform/fonts/SystemResFile.h"
#include "platform/resfiles/Resources.h"

namespace {

using namespace platform;

const std::string kDejaVu = "/usr/share/fonts/truetype/dejavu/";

char32_t MacRomanByteChar(uint8_t byte) { return FontByteToUnicode(ResolveFontFamily(systemFont), byte); }

std::string Name(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

// What FreeType itself says of a file at a pixel size: metrics rounded
// outward, light-hinted advances rounded.
struct Reference {
    int ascent = 0, descent = 0, leading = 0, widMax = 0;
    int Width(const char* text) const
    {
        int w = 0;
        for (const char* p = text; *p; ++p) w += advances[uint8_t(*p)];
        return w;
    }
    int advances[256] = {};
};

Reference Measure(const std::string& file, int size)
{
    Reference r;
    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    EXPECT_EQ(FT_Init_FreeType(&lib), 0);
    EXPECT_EQ(FT_New_Face(lib, file.c_str(), 0, &face), 0);
    FT_Set_Pixel_Sizes(face, 0, FT_UInt(size));
    const FT_Size_Metrics& m = face->size->metrics;
    r.ascent = int((m.ascender + 63) >> 6);
    r.descent = int((-m.descender + 63) >> 6);
    r.leading = std::max(0, int((m.height + 32) >> 6) - r.ascent - r.descent);
    r.widMax = int((m.max_advance + 32) >> 6);
    for (int c = 32; c < 127; ++c) {
        FT_Load_Char(face, FT_ULong(c), FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP);
        r.advances[c] = int((face->glyph->advance.x + 32) >> 6);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
    return r;
}

struct Answers {
    FontInfo info;
    int16_t hello;
    int16_t helloBold;
};

Answers Ask()
{
    ResetDrawingState();
    CGrafPtr port = CreateNewPort();
    SetPort(port);
    TextFont(applFont);
    TextSize(12);
    Answers a{};
    GetFontInfo(&a.info);
    a.hello = StringWidth(reinterpret_cast<const unsigned char*>("\x05Hello"));
    TextFace(bold);
    a.helloBold = StringWidth(reinterpret_cast<const unsigned char*>("\x05Hello"));
    DisposePort(port);
    ResetDrawingState();
    return a;
}

TEST(Fonts, ApplicationFontMetricsAndWidthsAreFreeTypesOwn)
{
    const Reference plain = Measure(kDejaVu + "DejaVuSans.ttf", 12);
    const Reference boldRef = Measure(kDejaVu + "DejaVuSans-Bold.ttf", 12);
    const Answers a = Ask();
    EXPECT_EQ(a.info.ascent, plain.ascent);
    EXPECT_EQ(a.info.descent, plain.descent);
    EXPECT_EQ(a.info.leading, plain.leading);
    EXPECT_EQ(a.info.widMax, plain.widMax);
    EXPECT_EQ(a.hello, plain.Width("Hello"));
    EXPECT_EQ(a.helloBold, boldRef.Width("Hello"));
    // The figures the rest of the program is laid out with.
    EXPECT_EQ(a.info.ascent, 12);
    EXPECT_EQ(a.info.descent, 3);
    EXPECT_EQ(a.info.leading, 0);
    EXPECT_EQ(a.info.widMax, 22);
    EXPECT_EQ(a.hello, 29);
    EXPECT_EQ(a.helloBold, 34);
}

TEST(Fonts, AnotherProcessWithOtherSettingsMeasuresTheSame)
{
    const Answers here = Ask();
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(fds[0]);
        setenv("FONTCONFIG_FILE", "/nonexistent/fonts.conf", 1);
        setenv("HOME", "/nonexistent-home", 1);
        UnloadFontFiles();
        ResetGlyphCache();
        const Answers there = Ask();
        const bool ok = write(fds[1], &there, sizeof there) == ssize_t(sizeof there);
        _exit(ok ? 0 : 1);
    }
    close(fds[1]);
    Answers there{};
    const ssize_t got = read(fds[0], &there, sizeof there);
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_EQ(got, ssize_t(sizeof there));
    EXPECT_EQ(std::memcmp(&here, &there, sizeof here), 0);
}

TEST(Fonts, NumbersAndNamesFollowTheFixedMapping)
{
    int16_t n = -1;
    GetFNum(reinterpret_cast<const unsigned char*>("\x06Geneva"), &n);
    EXPECT_EQ(n, kFontIDGeneva);
    GetFNum(reinterpret_cast<const unsigned char*>("\x05times"), &n);
    EXPECT_EQ(n, kFontIDTimes) << "names compare without case";
    GetFNum(reinterpret_cast<const unsigned char*>("\x07Nothing"), &n);
    EXPECT_EQ(n, 0);
    GetFNum(reinterpret_cast<const unsigned char*>("\x05%Menu"), &n);
    EXPECT_EQ(n, kFontIDMenuGlyphs);
    Str255 name;
    GetFontName(0, name);
    EXPECT_EQ(Name(name), "Lucida Grande");
    GetFontName(1, name);
    EXPECT_EQ(Name(name), "Geneva");
    GetFontName(kFontIDBullets, name);
    EXPECT_EQ(Name(name), "%Bullets");
    EXPECT_TRUE(RealFont(kFontIDCourier, 10));
    EXPECT_TRUE(RealFont(kFontIDBullets, 12));
    EXPECT_FALSE(RealFont(101, 12));
    EXPECT_EQ(GetDefFontSize(), 12);
}

// A password field's font: every character that draws is a bullet, as
// wide as the bullet of the system font; control characters draw nothing.
TEST(Fonts, TheBulletFamilyDrawsEveryCharacterAsABullet)
{
    ASSERT_EQ(InitFonts(), noErr);
    const FontFamilyEntry& bullets = ResolveFontFamily(kFontIDBullets);
    ASSERT_TRUE(bullets.bullets);
    Strike* strike = FindStrike(kFontIDBullets, 12, false, false);
    Strike* plain = FindStrike(systemFont, 12, false, false);
    ASSERT_NE(strike, nullptr);
    ASSERT_NE(plain, nullptr);
    const int16_t bulletWidth = CharAdvance(plain, U'\u2022');
    ASSERT_GT(bulletWidth, 0);
    for (const uint8_t byte : {uint8_t(' '), uint8_t('W'), uint8_t('i'), uint8_t(0xA5), uint8_t(0xFF)}) {
        EXPECT_EQ(FontByteToUnicode(bullets, byte), U'\u2022') << int(byte);
        EXPECT_EQ(ByteAdvance(strike, byte), bulletWidth) << int(byte);
        EXPECT_EQ(CharAdvance(strike, MacRomanByteChar(byte)), bulletWidth) << int(byte);
    }
    for (const uint8_t byte : {uint8_t(0x00), uint8_t(0x0D), uint8_t(0x1F), uint8_t(0x7F)})
        EXPECT_EQ(FontByteToUnicode(bullets, byte), 0u) << int(byte);
    EXPECT_EQ(FamilyChar(bullets, U'\r'), U'\r');
    EXPECT_EQ(FamilyChar(ResolveFontFamily(systemFont), U'W'), U'W');
}

TEST(Fonts, SystemFileListsTheVisibleFamiliesBelowTheOthers)
{
    ResetResourceManager();
    ASSERT_EQ(InitFonts(), noErr);
    const int16_t sys = SystemResFileRef();
    ASSERT_NE(sys, -1);
    EXPECT_EQ(CurResFile(), sys);
    std::vector<std::string> names;
    for (int16_t i = 1; i <= CountResources(FourCC("FOND")); ++i) {
        Handle h = GetIndResource(FourCC("FOND"), i);
        ASSERT_NE(h, nullptr);
        int16_t id = 0;
        Str255 resName;
        GetResInfo(h, &id, nullptr, resName);
        names.push_back(Name(resName));
        int16_t number = -1;
        GetFNum(resName, &number);
        EXPECT_EQ(number, id) << names.back();
        ASSERT_GE(GetHandleSize(h), 60);
        EXPECT_EQ(ReadBE16(*h + 2), uint16_t(id)) << "the record holds its family number";
    }
    const std::vector<std::string> visible = {"Arial",     "Courier",  "Courier New", "Geneva",
                                              "Helvetica", "Lucida Grande", "Monaco", "New York",
                                              "Symbol",    "Times",    "Times New Roman"};
    EXPECT_EQ(names, visible) << "every visible family, in name order";
    // Read-only, and a second start keeps the one file.
    Handle h = GetResource(FourCC("FOND"), kFontIDGeneva);
    ASSERT_NE(h, nullptr);
    AddResource(NewHandle(4), FourCC("TEST"), 1, nullptr);
    EXPECT_NE(ResError(), noErr);
    ASSERT_EQ(InitFonts(), noErr);
    EXPECT_EQ(SystemResFileRef(), sys);
    ResetResourceManager();
}

TEST(Fonts, AMissingFileStopsLoadingNamingItsPackage)
{
    char folder[] = "/tmp/qzfontsXXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string root = folder;
    ASSERT_EQ(mkdir((root + "/dejavu").c_str(), 0700), 0);
    for (const char* f : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSansMono.ttf", "DejaVuSansMono-Bold.ttf"})
        ASSERT_EQ(symlink((kDejaVu + f).c_str(), (root + "/dejavu/" + f).c_str()), 0);
    EXPECT_EQ(LoadFontFiles(root), fnfErr);
    EXPECT_NE(std::string(FontFilesMessage()).find("fonts-liberation2"), std::string::npos) << FontFilesMessage();
    EXPECT_FALSE(FontFilesLoaded());
    for (const char* f : {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSansMono.ttf", "DejaVuSansMono-Bold.ttf"})
        unlink((root + "/dejavu/" + f).c_str());
    rmdir((root + "/dejavu").c_str());
    rmdir(folder);
    // The pinned folder loads again, and drawing finds its fonts.
    ASSERT_EQ(LoadFontFiles(), noErr);
    EXPECT_NE(FindStrike(applFont, 12, false, false), nullptr);
}

TEST(Fonts, StylesUseTheirOwnFilesElseAreMadeUp)
{
    ASSERT_TRUE(EnsureFonts());
    const FaceChoice serifItalic = ChooseFace(FileFamily::Serif, false, true);
    EXPECT_FALSE(serifItalic.fakeItalic) << "Liberation Serif has its italic";
    const FaceChoice sansBold = ChooseFace(FileFamily::Sans, true, false);
    EXPECT_FALSE(sansBold.fakeBold);
    EXPECT_STREQ(sansBold.face->style_name, "Bold");
    const FaceChoice monoBoldItalic = ChooseFace(FileFamily::SansMono, true, true);
    EXPECT_TRUE(monoBoldItalic.fakeItalic) << "no oblique file is pinned: sheared";
    EXPECT_FALSE(monoBoldItalic.fakeBold);
    const FaceChoice plain = ChooseFace(FileFamily::Sans, false, false);
    EXPECT_STREQ(plain.face->style_name, "Book");

    // A made-up italic keeps the advance and leans the ink right.
    Strike* upright = FindStrike(kFontIDMonaco, 20, false, false);
    Strike* leaning = FindStrike(kFontIDMonaco, 20, false, true);
    ASSERT_NE(upright, nullptr);
    ASSERT_NE(leaning, nullptr);
    EXPECT_EQ(ByteAdvance(upright, '|'), ByteAdvance(leaning, '|'));
    const GlyphImage& a = ByteGlyph(upright, '|', true);
    const int uprightRight = a.left + a.width, uprightWidth = a.width;
    const GlyphImage& b = ByteGlyph(leaning, '|', true);
    EXPECT_GT(b.left + b.width, uprightRight);
    EXPECT_GE(b.width, uprightWidth + 3) << "a bar leans over its whole height";
}

TEST(Fonts, CharactersNoFileHasDrawAsABoxAndTheCacheStaysBounded)
{
    Strike* s = FindStrike(applFont, 12, false, false);
    ASSERT_NE(s, nullptr);
    const GlyphImage& box = CharGlyph(s, U'\U000F0000', true);  // private use: in no pinned file
    ASSERT_GT(box.width, 1);
    ASSERT_GT(box.rows, 2);
    EXPECT_EQ(box.coverage[0], 255);
    EXPECT_EQ(box.coverage[size_t(box.width) + 1], 0) << "a frame, hollow inside";
    EXPECT_GT(CharAdvance(s, U'\U000F0000'), box.width);
    // Characters Liberation lacks come from DejaVu Sans.
    Strike* serif = FindStrike(kFontIDTimes, 12, false, false);
    EXPECT_GT(ByteAdvance(serif, 0x11), 0);
    EXPECT_GT(ByteGlyph(serif, 0x11, false).width, 0);

    // Many sizes: old strikes go, and what is asked for still works.
    for (int16_t size = 1; size <= 120; ++size) {
        Strike* k = FindStrike(kFontIDCourier, size, size % 2 == 0, size % 3 == 0);
        ASSERT_NE(k, nullptr);
        for (int c = 32; c < 256; c += 7) (void)ByteGlyph(k, uint8_t(c), size % 5 == 0);
        EXPECT_LE(GlyphCacheBytes(), size_t(16) << 20);
    }
    Strike* again = FindStrike(applFont, 12, false, false);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(ByteAdvance(again, 'H'), 9);
}

}  // namespace

#include "tools/rescompile/ResourceCompiler.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "tests/platform/files/TempFolder.h"

using namespace platform;
using platform::testing::TempFolder;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes HandleBytes(Handle h) { return h ? Bytes(*h, *h + GetHandleSize(h)) : Bytes(); }

std::string Write(const TempFolder& dir, const std::string& name, const std::string& text)
{
    std::string path = dir / name;
    std::ofstream(path) << text;
    return path;
}

Bytes Compile(const std::string& source)
{
    ResourceFileImage image;
    std::string error;
    EXPECT_TRUE(rescompile::CompileSource(source, "test.r", &image, &error)) << error;
    return image.resources.empty() ? Bytes() : image.resources[0].data;
}

std::string ErrorOf(const std::string& source)
{
    ResourceFileImage image;
    std::string error;
    EXPECT_FALSE(rescompile::CompileSource(source, "bad.r", &image, &error)) << source;
    return error;
}

void PString(Bytes& b, const std::string& s)
{
    b.push_back(uint8_t(s.size()));
    b.insert(b.end(), s.begin(), s.end());
}

void Word(Bytes& b, uint16_t v)
{
    b.push_back(uint8_t(v >> 8));
    b.push_back(uint8_t(v));
}

void Rect4(Bytes& b, uint16_t t, uint16_t l, uint16_t bo, uint16_t r)
{
    Word(b, t), Word(b, l), Word(b, bo), Word(b, r);
}

const char* kDialogSource = R"(
# Messages of the test.
'STR#' 128 "Messages" { "one" "two" "thr\xA5e" }
# A menu.
'MENU' 130 {
    title "File"
    item "Open…" key "O"
    separator
    item "Close" disabled
}
'DLOG' 200 "Find" { bounds 40 40 140 340 title "Find" goaway refcon 7 }
'DITL' 200 {
    button 70 220 90 290 "OK"
    static 10 10 30 200 "Name:" disabled
    icon 10 220 42 252 128
    user 0 0 10 10
}
'ALRT' 300 purgeable { bounds 10 20 110 320 items 200 stages 0x7777 }
'ICN#' 128 "Document" {
    image
)"
                           R"(      "################################"
)"
                           R"(      "#oooooooooooooooooooooooooooooo#"
)"
                           R"(      "#..............................#"
)"
                           R"(      "XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX"
)";

std::string IconRows()
{
    std::string rows;
    for (int i = 4; i < 32; ++i) rows += "      \"X..............................X\"\n";
    return rows;
}

std::string CursorSource()
{
    std::string s = "'CURS' 129 { hotspot 1 2 image\n";
    for (int i = 0; i < 16; ++i) s += i == 0 ? "\"XXXXXXXXoooooooo\"\n" : "\"................\"\n";
    return s + "}\n";
}

TEST(ResourceCompiler, AuthoredResourcesReadBackExactly)
{
    TempFolder dir;
    std::string source = std::string(kDialogSource) + IconRows() + "}\n" + CursorSource();
    std::string src = Write(dir, "dialogs.r", source);
    std::string out = dir / "Test.rsrc";
    std::string error;
    ASSERT_TRUE(rescompile::CompileFiles({src}, out, &error)) << error;

    ResetResourceManager();
    int16_t ref = OpenResFile(out, fsRdPerm, ResFileFork::Data);
    ASSERT_NE(ref, -1) << ResError();

    Bytes strList = {0, 3};
    PString(strList, "one"), PString(strList, "two"), PString(strList, "thr\xA5" "e");
    EXPECT_EQ(HandleBytes(GetNamedResource(FourCC("STR#"), (const unsigned char*)"\x08Messages")), strList);
    Str255 item;
    GetIndString(item, 128, 2);
    EXPECT_EQ(std::string((char*)item + 1, item[0]), "two");
    GetIndString(item, 128, 3);
    EXPECT_EQ(std::string((char*)item + 1, item[0]), "thr\xA5" "e");  // UTF-8 bullet stored as Mac Roman

    Bytes menu;
    Word(menu, 130), Word(menu, 0), Word(menu, 0), Word(menu, 0), Word(menu, 0);
    menu.insert(menu.end(), {0xFF, 0xFF, 0xFF, 0xF3});  // items 2 (separator) and 3 disabled
    PString(menu, "File");
    PString(menu, "Open\xC9"), menu.insert(menu.end(), {0, 'O', 0, 0});
    PString(menu, "-"), menu.insert(menu.end(), {0, 0, 0, 0});
    PString(menu, "Close"), menu.insert(menu.end(), {0, 0, 0, 0});
    menu.push_back(0);
    EXPECT_EQ(HandleBytes(GetResource(FourCC("MENU"), 130)), menu);

    Bytes dlog;
    Rect4(dlog, 40, 40, 140, 340);
    Word(dlog, 1), dlog.insert(dlog.end(), {1, 0, 1, 0, 0, 0, 0, 7});
    Word(dlog, 200), PString(dlog, "Find"), dlog.push_back(0), Word(dlog, 0);
    EXPECT_EQ(HandleBytes(GetNamedResource(FourCC("DLOG"), (const unsigned char*)"\x04" "Find")), dlog);

    Bytes ditl;
    Word(ditl, 3);
    ditl.insert(ditl.end(), 4, 0), Rect4(ditl, 70, 220, 90, 290), ditl.push_back(4), PString(ditl, "OK");
    ditl.insert(ditl.end(), 4, 0), Rect4(ditl, 10, 10, 30, 200), ditl.push_back(0x88), PString(ditl, "Name:");
    ditl.push_back(0);
    ditl.insert(ditl.end(), 4, 0), Rect4(ditl, 10, 220, 42, 252), ditl.push_back(32), ditl.push_back(2);
    Word(ditl, 128);
    ditl.insert(ditl.end(), 4, 0), Rect4(ditl, 0, 0, 10, 10), ditl.push_back(0), ditl.push_back(0);
    EXPECT_EQ(HandleBytes(GetIndResource(FourCC("DITL"), 1)), ditl);

    Bytes alrt;
    Rect4(alrt, 10, 20, 110, 320), Word(alrt, 200), Word(alrt, 0x7777), Word(alrt, 0);
    Handle alert = GetResource(FourCC("ALRT"), 300);
    EXPECT_EQ(HandleBytes(alert), alrt);
    EXPECT_EQ(GetResAttrs(alert), resPurgeable);

    Handle icon = GetNamedResource(FourCC("ICN#"), (const unsigned char*)"\x08" "Document");
    Bytes iconBytes = HandleBytes(icon);
    ASSERT_EQ(iconBytes.size(), 256u);
    EXPECT_EQ(Bytes(iconBytes.begin(), iconBytes.begin() + 16),
              Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0, 0, 1, 0x80, 0, 0, 1, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(Bytes(iconBytes.begin() + 128, iconBytes.begin() + 144),
              Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0, 0, 1, 0xFF, 0xFF, 0xFF, 0xFF}));
    int16_t iconId = 0;
    GetResInfo(icon, &iconId, nullptr, nullptr);
    EXPECT_EQ(iconId, 128);

    Bytes cursor = HandleBytes(GetResource(FourCC("CURS"), 129));
    ASSERT_EQ(cursor.size(), 68u);
    EXPECT_EQ(cursor[0], 0xFF); EXPECT_EQ(cursor[1], 0x00); EXPECT_EQ(cursor[32], 0xFF); EXPECT_EQ(cursor[33], 0xFF);
    EXPECT_EQ(Bytes(cursor.begin() + 64, cursor.end()), Bytes({0, 1, 0, 2}));
    CloseResFile(ref);
    ResetResourceManager();
}

TEST(ResourceCompiler, OtherLayouts)
{
    EXPECT_EQ(Compile("'STR ' 1 { \"Hi\\\"\" }"), Bytes({3, 'H', 'i', '"'}));
    EXPECT_EQ(Compile("'xyzw' 1 { $\"0102 03\" $\"FF\" }"), Bytes({1, 2, 3, 0xFF}));
    EXPECT_EQ(Compile("'PAT#' 1 { pattern $\"AA55AA55AA55AA55\" }"),
              Bytes({0, 1, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55}));
    Bytes vers = Compile("'vers' 1 { version 12 3 4 stage beta release 2 short \"12.3.4\" long \"L\" }");
    EXPECT_EQ(Bytes(vers.begin(), vers.begin() + 6), Bytes({0x12, 0x34, 0x60, 2, 0, 0}));

    Bytes pltt = Compile("'pltt' 1 { colour 0xDD0806 usage 2 rgb 1 2 3 }");
    ASSERT_EQ(pltt.size(), 16u + 32u);
    EXPECT_EQ(Bytes(pltt.begin(), pltt.begin() + 2), Bytes({0, 2}));
    EXPECT_EQ(Bytes(pltt.begin() + 16, pltt.begin() + 26), Bytes({0xDD, 0xDD, 0x08, 0x08, 0x06, 0x06, 0, 2, 0, 0}));
    EXPECT_EQ(Compile("'clut' 1 { seed 9 colour 0xFFFFFF value 5 colour 0 }"),
              Bytes({0, 0, 0, 9, 0, 0, 0, 1, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 5, 0, 0, 0, 0, 0, 0}));

    Bytes styles = Compile("'STQz' 0 { style \"Bold\" \"B;12\" style \"X\" \"\" }");
    ASSERT_EQ(styles.size(), 2u + 2 * 114);
    EXPECT_EQ(styles[1], 2); EXPECT_EQ(styles[2], 4); EXPECT_EQ(styles[2 + 32], 4); EXPECT_EQ(styles[2 + 33], 'B');
    EXPECT_EQ(styles[2 + 114], 1);

    // A 3-colour 4 x 2 icon: depth 2, pixel rows of 2 bytes, bitmap rows of 2.
    Bytes cicn = Compile("'cicn' 1 { colour \"k\" 0 colour \"w\" 0xFFFFFF colour \"r\" 0xFF0000 "
                         "image \"kwr.\" \"rrrr\" }");
    ASSERT_EQ(cicn.size(), 50u + 14 + 14 + 4 + 4 + 4 + 8 + 3 * 8 + 4);
    EXPECT_EQ(cicn[4], 0x80); EXPECT_EQ(cicn[5], 2);     // row bytes with the pixel-map flag
    EXPECT_EQ(cicn[33], 2);                              // pixel size
    EXPECT_EQ(cicn[82], 0xE0); EXPECT_EQ(cicn[84], 0xF0);  // mask rows
    EXPECT_EQ(cicn[86], 0xA0); EXPECT_EQ(cicn[88], 0xF0);  // black-and-white rows: black and red are dark
    EXPECT_EQ(cicn[96], 0); EXPECT_EQ(cicn[97], 2);       // three colours
    EXPECT_EQ(cicn[122], 0x18); EXPECT_EQ(cicn[124], 0xAA);  // pixels k w r . and r r r r

    std::string rows;
    for (int i = 0; i < 16; ++i) rows += i == 15 ? "\"X..............X\" " : "\"................\" ";
    Bytes sicn = Compile("'SICN' 1 { icon " + rows + " icon " + rows + "}");
    ASSERT_EQ(sicn.size(), 64u);
    EXPECT_EQ(sicn[30], 0x80); EXPECT_EQ(sicn[31], 0x01); EXPECT_EQ(sicn[63], 0x01);
}

TEST(ResourceCompiler, BadSourcesNameFileAndLine)
{
    EXPECT_EQ(ErrorOf("\n'STR#' 1 { \"a\" 12 }"), "bad.r:2: expected a string for a list item");
    EXPECT_EQ(ErrorOf("'STR#' 1 { \"a\""), "bad.r:1: expected a string for a list item (at the end of the file)");
    EXPECT_EQ(ErrorOf("'STR' 1 {}"), "bad.r:1: a type is four characters in single quotes");
    EXPECT_EQ(ErrorOf("'STR ' 40000 {}"), "bad.r:1: the resource id must lie between -32768 and 32767");
    EXPECT_EQ(ErrorOf("'STR ' 1 {\n\"a\"}\n'STR ' 1 { \"b\" }"), "bad.r:3: 'STR ' 1 is defined twice");
    EXPECT_EQ(ErrorOf("'x   ' 1 { $\"123\" }"), "bad.r:1: hex data has an odd number of digits");
    EXPECT_EQ(ErrorOf("'STR ' 1 { \"\xE4\xB8\x80\" }"), "bad.r:1: the string holds a character Mac Roman lacks");
    EXPECT_EQ(ErrorOf("'STR ' 1 { \"open\n}"), "bad.r:1: the string is not closed on its line");
    EXPECT_EQ(ErrorOf("'MENU' 1 { item \"A\" }"), "bad.r:1: a menu needs a title");
    EXPECT_EQ(ErrorOf("'DITL' 1 {\n  knob 0 0 1 1 }"), "bad.r:2: unknown item kind 'knob'");
    EXPECT_EQ(ErrorOf("'DLOG' 1 { bounds 10 10 5 5 }"), "bad.r:1: the rectangle is top, left, bottom, right");
    EXPECT_EQ(ErrorOf("'CURS' 1 { image \"XX\" }"), "bad.r:1: each row of the image is 16 characters");
    EXPECT_EQ(ErrorOf("'SICN' 1 { icon " + std::string(16, 'a') + " }"), "bad.r:1: the image needs 16 rows");
    EXPECT_EQ(ErrorOf("'cicn' 1 { colour \"k\" 0 image \"kz\" }"),
              "bad.r:1: 'z' in the image is not a declared colour");
    EXPECT_EQ(ErrorOf("'STR ' 1 shiny { \"a\" }"), "bad.r:1: unknown attribute 'shiny'");
    std::string longText = "'STR ' 1 { \"" + std::string(256, 'a') + "\" }";
    EXPECT_EQ(ErrorOf(longText), "bad.r:1: the string is longer than 255 bytes");

    TempFolder dir;
    std::string error;
    std::string out = dir / "out.rsrc";
    EXPECT_FALSE(rescompile::CompileFiles({dir / "missing.r"}, out, &error));
    EXPECT_EQ(error, dir / "missing.r" + ": cannot be read");
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST(ResourceCompiler, ShippedSourcesCompile)
{
    const char* root = std::getenv("QZ_TEST_SOURCE_DIR");
    ASSERT_NE(root, nullptr);
    std::vector<std::string> sources;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(root) + "/resources/app"))
        if (entry.path().extension() == ".r") sources.push_back(entry.path().string());
    ASSERT_FALSE(sources.empty());
    TempFolder dir;
    std::string out = dir / "Qz Resources.rsrc";
    std::string error;
    ASSERT_TRUE(rescompile::CompileFiles(sources, out, &error)) << error;

    ResetResourceManager();
    ASSERT_NE(OpenResFile(out, fsRdPerm, ResFileFork::Data), -1);
    Str255 name;
    GetIndString(name, 1000, 6);
    EXPECT_GT(name[0], 0);
    Handle palette = GetResource(FourCC("pltt"), 1010);
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(GetHandleSize(palette), 16 + 256 * 16);
    EXPECT_NE(GetResource(FourCC("STQz"), 0), nullptr);
    ResetResourceManager();
}

}  // namespace

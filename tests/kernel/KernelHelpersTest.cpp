#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <unistd.h>

#include "kernel/formhooks/FormServices.h"
#include "kernel/helpers/EntryAttributes.h"
#include "kernel/helpers/KernelColors.h"
#include "kernel/helpers/KernelFiles.h"
#include "platform/files/DirectoryIds.h"
#include "kernel/helpers/HandleCopies.h"
#include "kernel/helpers/ResourceStrings.h"
#include "kernel/standins/EncrypteText.h"
#include "kernel/standins/QzFolders.h"
#include "kernel/standins/PasswordKey.h"
#include "kernel/store/StoreAccess.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"
#include "tests/kernel/AppResourceFile.h"
#include "tests/platform/files/TempFolder.h"

using namespace platform;
using kerneltest::OpenAppFile;
using kerneltest::StrList;
using platform::testing::TempFolder;

namespace {

std::string Text(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p) + 1, p[0]); }

struct P {
    explicit P(const std::string& s) : bytes(1, uint8_t(s.size())) { bytes.insert(bytes.end(), s.begin(), s.end()); }
    const unsigned char* get() const { return bytes.data(); }
    std::vector<uint8_t> bytes;
};

std::vector<uint8_t> StyleTable(std::initializer_list<std::pair<std::string, std::string>> styles)
{
    std::vector<uint8_t> b(2 + 114 * styles.size());
    WriteBE16(b.data(), uint16_t(styles.size()));
    size_t at = 2;
    for (const auto& [name, text] : styles) {
        b[at] = uint8_t(name.size());
        std::memcpy(&b[at + 1], name.data(), name.size());
        b[at + 32] = uint8_t(text.size());
        std::memcpy(&b[at + 33], text.data(), text.size());
        at += 114;
    }
    return b;
}

std::vector<uint8_t> Palette(const std::vector<uint32_t>& colours)
{
    std::vector<uint8_t> b(16);
    WriteBE16(b.data(), uint16_t(colours.size()));
    for (uint32_t c : colours) {
        uint8_t e[16] = {uint8_t(c >> 16), uint8_t(c >> 16), uint8_t(c >> 8), uint8_t(c >> 8), uint8_t(c), uint8_t(c)};
        b.insert(b.end(), e, e + 16);
    }
    return b;
}

// 256 entries: white, 0x123456, zeros, 0x111111 at 254, 0xABCDEF last.
std::vector<uint32_t> FullPalette()
{
    std::vector<uint32_t> colours(256, 0);
    colours[0] = 0xFFFFFF;
    colours[1] = 0x123456;
    colours[254] = 0x111111;
    colours[255] = 0xABCDEF;
    return colours;
}

class KernelResources : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetResourceManager();
        ResetStringCache();
        ResetKernelColours();
        doissetpalette = 0;  // start-up turns the window palettes on
        globpalette = nullptr;
        // The third style's name claims its whole room of 32 and more.
        std::vector<uint8_t> styles = StyleTable({{"Bold", "B;12"}, {"Title", "T;18"}, {std::string(31, 'N'), "N;9"}});
        styles[2 + 2 * 114] = 32;
        ref = OpenAppFile(dir / "app.rsrc",
                          {{FourCC("STR#"), 130, false, "", 0, StrList({"one", "two", "three"})},
                           {FourCC("STR#"), 131, false, "", 0, {0, 9, 3, 'b', 'a'}},  // damaged: 9 items claimed
                           {FourCC("STQz"), 0, false, "", 0, styles},
                           {FourCC("pltt"), 1010, false, "", 0, Palette(FullPalette())}});
        ASSERT_NE(ref, -1);
    }
    void TearDown() override
    {
        ResetStringCache();
        ResetKernelColours();
        ResetResourceManager();
    }

    TempFolder dir;
    int16_t ref = -1;
};

TEST_F(KernelResources, StringListsReadThroughTheCache)
{
    Str255 s;
    int32_t before = StringCacheSteps();
    gs(s, 130, 1); EXPECT_EQ(Text(s), "one");
    gs(s, 130, 2); EXPECT_EQ(Text(s), "two");
    gs(s, 130, 3); EXPECT_EQ(Text(s), "three");
    EXPECT_EQ(StringCacheSteps() - before, 2);  // one walk over the list
    gs(s, 130, 4); EXPECT_EQ(Text(s), "");
    gs(s, 130, 0); EXPECT_EQ(Text(s), "");
    gs(s, 130, 2); EXPECT_EQ(Text(s), "two");  // an earlier item walks from the start
    gs(s, 999, 1); EXPECT_EQ(Text(s), "");     // no such list
    gs(s, 131, 1); EXPECT_EQ(Text(s), "");     // the item runs past the resource
    gs(s, 131, 5); EXPECT_EQ(Text(s), "");
    gs(s, 130, 3); EXPECT_EQ(Text(s), "three");
}

TEST_F(KernelResources, StylesAreFoundByName)
{
    Str255 s;
    findstyle(s, P("|Title").get());
    EXPECT_EQ(Text(s), "T;18");
    findstyle(s, P("|" + std::string(31, 'n')).get());
    EXPECT_EQ(Text(s), "N;9");  // read for the 31 characters its room holds
    findstyle(s, P("|Italic").get());
    EXPECT_EQ(Text(s), "");
    findstyle(s, P("").get());
    EXPECT_EQ(Text(s), "");
}

TEST_F(KernelResources, ColourCodes)
{
    int32_t fore = 0, back = 0;
    OldCol2New(0, 0, &fore, &back);
    EXPECT_EQ(fore, 0x000000);
    EXPECT_EQ(back, 0xFFFFFF);
    OldCol2New(1, 1, &fore, &back);
    EXPECT_EQ(fore, 0xFFFFFF);
    EXPECT_EQ(back, 0x000000);
    OldCol2New(2, 7, &fore, &back);
    EXPECT_EQ(fore, 0xDD0806);
    EXPECT_EQ(back, 0xFCF305);
    OldCol2New(1000, 1001, &fore, &back);
    EXPECT_EQ(fore, -1);
    EXPECT_EQ(back, -2);
    OldCol2New(256, 255, &fore, &back);  // the first palette code; the last undefined one
    EXPECT_EQ(fore, 0xFFFFFF);
    EXPECT_EQ(back, 0xFFFFFF);
    OldCol2New(255, 256, &fore, &back);
    EXPECT_EQ(fore, 0x000000);
    EXPECT_EQ(back, 0xFFFFFF);
    OldCol2New(257, 700, &fore, &back);  // palette entry 1; codes past 511 count as 511, the last entry
    EXPECT_EQ(fore, 0x123456);
    EXPECT_EQ(back, 0xABCDEF);
    EXPECT_EQ(GetRGB24FromPalette(-1), 0xABCDEF);
    EXPECT_EQ(GetRGB24FromPalette(0), 0xFFFFFF);
    EXPECT_EQ(GetRGB24FromPalette(300), 0xABCDEF);

    // The colours reach the port: codes 0 and 1 swap for the background;
    // palette codes and the defaults as their 24-bit values.
    GWorldPtr world = nullptr;
    Rect bounds{0, 0, 4, 4};
    ASSERT_EQ(NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0), noErr);
    CGrafPtr savedPort = nullptr;
    GDHandle savedDevice = nullptr;
    GetGWorld(&savedPort, &savedDevice);
    SetGWorld(world, nullptr);
    auto portFore = [] { RGBColor c; GetForeColor(&c); return RGB2Long(&c); };
    auto portBack = [] { RGBColor c; GetBackColor(&c); return RGB2Long(&c); };
    setcol(0, 0);
    EXPECT_EQ(portFore(), 0x000000);
    EXPECT_EQ(portBack(), 0xFFFFFF);
    setcol(1, 1);
    EXPECT_EQ(portFore(), 0xFFFFFF);
    EXPECT_EQ(portBack(), 0x000000);
    setcol(257, 257);
    EXPECT_EQ(portFore(), 0x123456);
    EXPECT_EQ(portBack(), 0x123456);
    setcol(1000, 1001);
    EXPECT_EQ(portFore(), 0x000000);
    EXPECT_EQ(portBack(), 0xFFFFFF);
    // A window's own palette, longer than 256: codes past 511 take entry 255.
    std::vector<uint32_t> own(300, 0);
    own[1] = 0x654321;
    own[255] = 0x00FF00;
    own[256] = 0x0000FF;
    const std::vector<uint8_t> ownBytes = Palette(own);
    globpalette = NewHandle(int32_t(ownBytes.size()));
    std::memcpy(*globpalette, ownBytes.data(), ownBytes.size());
    doissetpalette = 1;
    setcol(257, 700);
    EXPECT_EQ(portFore(), 0x654321);
    EXPECT_EQ(portBack(), 0x00FF00);
    doissetpalette = 0;
    DisposeHandle(globpalette);
    globpalette = nullptr;
    SetGWorld(savedPort, savedDevice);
    DisposeGWorld(world);

    CloseResFile(ref);  // the palette stays loaded
    EXPECT_EQ(GetRGB24FromPalette(1), 0x123456);
    ResetKernelColours();
    EXPECT_EQ(GetRGB24FromPalette(1), 0);

    RGBColor c;
    Long2RGB(0x12AB00, &c);
    EXPECT_EQ(c.red, 0x1212);
    EXPECT_EQ(c.green, 0xABAB);
    EXPECT_EQ(c.blue, 0);
    EXPECT_EQ(RGB2Long(&c), 0x12AB00);
}

TEST(KernelHandles, AllocationAndRelease)
{
    // A negative size fails with its own code, whatever the last call left.
    platform::DisposeHandle(nouvhandle(1));
    Handle h = nouvhandle(-1);
    EXPECT_EQ(h, nullptr);
    EXPECT_EQ(erreure, platform::memSCErr);
    h = nouvhandle(8);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(erreure, 0);
    std::memcpy(*h, "abcdefgh", 8);
    Handle copy = nullptr;
    handletohandle(h, &copy);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::memcmp(*copy, "abcdefgh", 8), 0);
    EXPECT_EQ(set2hsize(copy, 3), 0);
    // Nothing to copy: no copy.
    Handle none = h;
    handle2handle(nullptr, &none);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(erreure, nilHandleErr);
    none = h;
    handletohandle(nullptr, &none);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(iscritic, 1);
    erreure = platform::memFullErr;
    effhandle(&copy);
    EXPECT_EQ(copy, nullptr);
    EXPECT_EQ(erreure, 0);  // the freeing's own result

    // A list of two handles with a count claiming five frees only the two.
    const size_t live = platform::LiveHandleCount() - 1;  // h goes with the list
    Handle list = nouvhandle(2 * sizeof(Handle));
    reinterpret_cast<Handle*>(*list)[0] = h;
    reinterpret_cast<Handle*>(*list)[1] = nouvhandle(4);
    int16_t count = -5;
    effcalc(&list, &count);
    EXPECT_EQ(list, nullptr);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(platform::LiveHandleCount(), live);
    // Three held and a count of two: the third is not the list's to free.
    Handle kept = nouvhandle(4);
    list = nouvhandle(3 * sizeof(Handle));
    reinterpret_cast<Handle*>(*list)[0] = nouvhandle(4);
    reinterpret_cast<Handle*>(*list)[1] = nouvhandle(4);
    reinterpret_cast<Handle*>(*list)[2] = kept;
    count = 2;
    effcalc(&list, &count);
    EXPECT_EQ(platform::LiveHandleCount(), live + 1);
    EXPECT_TRUE(platform::IsValidHandle(kept));
    DisposeHandle(kept);

    // An empty handle is a handle; disposing of one forgets it.
    Handle empty = nouvhandle(0);
    ASSERT_NE(empty, nullptr);
    myDisposeHandle(&empty);
    EXPECT_EQ(empty, nullptr);
    EXPECT_EQ(platform::LiveHandleCount(), live);

    Handle satt = newsatt();
    ASSERT_NE(satt, nullptr);
    EXPECT_EQ(GetHandleSize(satt), kEntryAttributesSize);
    // The stored defaults, byte for byte, and zeros elsewhere (the record is
    // saved as it is): new and check share one table, so only fixed bytes
    // tell a wrong default.
    std::vector<uint8_t> expected(71, 0);
    for (int at : {0, 1, 4, 5, 8, 9}) expected[size_t(at)] = 0xFF;
    expected[10] = 5;
    expected[22] = 5;
    expected[34] = 1;
    EXPECT_EQ(std::vector<uint8_t>(*satt, *satt + 71), expected);
    delsatt(&satt);
    EXPECT_EQ(satt, nullptr);
    // A record still at its defaults goes; the spare, next and before-filter
    // bytes may hold anything, and so may the bytes past an empty string.
    const struct {
        int32_t offset;
        uint8_t value;
        bool deleted;
    } rows[] = {{3, 9, true},  {35, 7, true},  {37, 'x', true}, {69, 5, true},
                {36, 1, false}, {68, 1, false}, {70, 1, false}, {34, 0, false}};
    for (const auto& r : rows) {
        satt = newsatt();
        (*satt)[r.offset] = char(r.value);
        delchecksatt(&satt, 0);
        EXPECT_EQ(satt == nullptr, r.deleted) << r.offset;
        if (satt) delsatt(&satt);
    }
}

TEST(KernelNames, UserNameIsCutAt255Characters)
{
    const char* saved = std::getenv("USER");
    const std::string keep = saved ? saved : "";
    ::setenv("USER", std::string(300, 'u').c_str(), 1);
    unsigned char name[256];
    GetNameInformation(5, name);
    EXPECT_EQ(name[0], 255);
    EXPECT_EQ(name[255], 'u');
    ::setenv("USER", "qz", 1);
    GetNameInformation(5, name);
    EXPECT_EQ(Text(name), "qz");
    if (saved) ::setenv("USER", keep.c_str(), 1);
    else ::unsetenv("USER");
}

TEST(KernelFiles, NamesPathsAndTheLockTest)
{
    Str255 folder, file;
    longname_SplitPathFile(P("abc").get(), folder, file);
    EXPECT_EQ(Text(folder), "");
    EXPECT_EQ(Text(file), "abc");
    longname_SplitPathFile(P("Disk:docs:a.txt").get(), folder, file);
    EXPECT_EQ(Text(folder), "Disk:docs:");
    EXPECT_EQ(Text(file), "a.txt");
    // Exactly the name's bytes are written, whatever the buffer held.
    std::memset(file, 0xEE, sizeof file);
    longname_SplitPathFile(P("Disk:b").get(), folder, file);
    EXPECT_EQ(Text(file), "b");
    EXPECT_EQ(file[2], 0xEE);

    TempFolder dir;
    FSSpec folderSpec;
    ASSERT_EQ(FSMakeFSSpec(dir.path(), &folderSpec), noErr);
    Str255 colon;
    colon[0] = 9;
    converttofullpath(colon, FSSpec{dir / std::string(300, 'x')});
    EXPECT_EQ(colon[0], 0) << "a path past 255 characters gives none";
    converttofullpath(colon, folderSpec);
    std::string path = Text(colon) + "made.txt";
    FSSpec fileSpec;
    EXPECT_EQ(longname_GetFSSpecIfFileExists(0, 0, P(path).get(), &fileSpec), fnfErr);
    EXPECT_EQ(longname_GetFSSpecIfFileExists(0, 0, P(Text(colon) + "nowhere:x").get(), &fileSpec), fnfErr);
    ASSERT_EQ(longname_CreateFile(0, 0, P(path).get(), false, FourCC("TEXT"), FourCC("abcd"), &fileSpec), noErr);
    EXPECT_EQ(fileSpec.path, dir / "made.txt");
    EXPECT_EQ(longname_CreateFile(0, 0, P(path).get(), false, FourCC("TEXT"), FourCC("wxyz"), &fileSpec), noErr);
    FInfo info;
    ASSERT_EQ(FSpGetFInfo(fileSpec, &info), noErr);
    EXPECT_EQ(info.fdCreator, FourCC("wxyz"));
    EXPECT_EQ(longname_GetFSSpecIfFileExists(0, 0, P(path).get(), &fileSpec), noErr);

    // The lock test writes nothing: contents and modification time stay.
    int16_t refNum = 0;
    ASSERT_EQ(FSpOpenDF(fileSpec, fsRdWrPerm, &refNum), noErr);
    writef("hello", 5, refNum);
    EXPECT_EQ(erreure, 0);
    int32_t length = 0;
    EXPECT_EQ(BGGetEOF(refNum, &length), noErr);
    EXPECT_EQ(length, 5);
    seekf(2, refNum);
    int32_t position = -1;
    EXPECT_EQ(BGGetFPos(refNum, &position), noErr);
    EXPECT_EQ(position, 2);
    closef(refNum);
    // Made again: kept as it is, or emptied when it replaces.
    for (const bool replace : {false, true}) {
        ASSERT_EQ(longname_CreateFile(0, 0, P(path).get(), replace, FourCC("TEXT"), FourCC("wxyz"), &fileSpec), noErr);
        EXPECT_EQ(std::filesystem::file_size(fileSpec.path), replace ? 0u : 5u);
    }
    // Flushing the volume, or one that does not exist, changes nothing.
    erreure = 0;
    FlushVolAsync(nullptr, kOnlyVolume);
    FlushVolAsync(nullptr, 12);
    EXPECT_EQ(erreure, 0);
    auto stamp = std::filesystem::last_write_time(fileSpec.path);
    auto sidecarStamp = std::filesystem::last_write_time(dir / "._made.txt");
    EXPECT_FALSE(isflocked(fileSpec, false));
    EXPECT_FALSE(isflocked(fileSpec, true));
    EXPECT_EQ(std::filesystem::last_write_time(fileSpec.path), stamp);
    EXPECT_EQ(std::filesystem::last_write_time(dir / "._made.txt"), sidecarStamp);
    ASSERT_EQ(FSpSetPermissions(fileSpec, 0444), noErr);
    if (::geteuid() != 0) {
        EXPECT_TRUE(isflocked(fileSpec, false));
    }
    ASSERT_EQ(FSpOpenDF(fileSpec, fsRdPerm, &refNum), noErr);
    EXPECT_TRUE(isflocked(fileSpec, false) || ::geteuid() == 0);
    FSClose(refNum);
}

}  // namespace

namespace {

int16_t gCurrentFile = 0;
int16_t gAskedId = -99;
bool gAskedEnciphered = true;
platform::Handle FakeGetRes(platform::ResType type, int16_t id, bool includeEnciphered)
{
    gAskedId = id;
    gAskedEnciphered = includeEnciphered;
    return type == platform::FourCC("PICT") ? platform::NewHandle(1) : nullptr;
}

}  // namespace

TEST(FormServices, StaticPicturesComeFromTheCurrentStoreFileOnly)
{
    KernelStoreAccess access;
    access.xcurres = [] { return gCurrentFile; };
    access.xgetres = FakeGetRes;
    SetKernelStoreAccess(access);
    gAskedId = -99;
    gAskedEnciphered = true;

    gCurrentFile = 0;
    EXPECT_EQ(GetStaticPict(128, 0), nullptr);  // no current file
    EXPECT_EQ(gAskedId, -99);
    gCurrentFile = 3;
    EXPECT_EQ(GetStaticPict(-1, 0), nullptr);
    EXPECT_EQ(gAskedId, -99);
    platform::Handle pict = GetStaticPict(0, 0);  // id 0 is a picture like any other
    ASSERT_NE(pict, nullptr);
    EXPECT_EQ(gAskedId, 0);
    EXPECT_FALSE(gAskedEnciphered);  // enciphered pictures stay hidden
    platform::DisposeHandle(pict);
    SetKernelStoreAccess({});
}

TEST(Encipher, FixedKeyGivesFixedBytesAndTouchesNothingElse)
{
    // Zeros enciphered show the key itself, wrapping after its 11 bytes.
    uint8_t bytes[14] = {};
    bytes[13] = 0x55;
    encryptetext(bytes, 13, PasswordKey());
    const uint8_t expected[13] = {0x9B, 0x3F, 0xD2, 0x64, 0x17, 0xAE, 0x58, 0xC1, 0x2B, 0xF6, 0x8D, 0x9B, 0x3F};
    EXPECT_EQ(std::memcmp(bytes, expected, 13), 0);
    EXPECT_EQ(bytes[13], 0x55);
    encryptetext(bytes, 13, PasswordKey());
    for (int i = 0; i < 13; ++i) EXPECT_EQ(bytes[i], 0) << i;

    const unsigned char empty[2] = {0, 0xFF};
    encryptetext(bytes, 13, empty);
    encryptetext(bytes, 13, nullptr);
    for (int i = 0; i < 13; ++i) EXPECT_EQ(bytes[i], 0) << i;
}

TEST(KernelFolders, UnknownKindsAreNoFolder)
{
    platform::FSSpec folder;
    EXPECT_FALSE(FindQzFolder(KindQzFolder(3), 1, &folder));
}

#include "platform/files/ColonPath.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/core/Errors.h"
#include "platform/files/FileSpec.h"
#include "platform/files/MacNames.h"
#include "tests/platform/files/TempFolder.h"

using namespace platform;

TEST(ColonPath, FirstNameIsTheVolume)
{
    std::string posix, colon;
    EXPECT_EQ(ColonPathToPosix("Vol:Folder:File", &posix), noErr);
    EXPECT_EQ(posix, "/Vol/Folder/File");
    EXPECT_EQ(ColonPathToPosix("Vol:Folder:", &posix), noErr);
    EXPECT_EQ(posix, "/Vol/Folder/");
    EXPECT_EQ(ColonPathToPosix("Vol:", &posix), noErr);
    EXPECT_EQ(posix, "/Vol/");
    EXPECT_EQ(ColonPathToPosix("", &posix), noErr);
    EXPECT_EQ(posix, "/");

    EXPECT_EQ(PosixPathToColon("/Vol/Folder/File", &colon), noErr);
    EXPECT_EQ(colon, "Vol:Folder:File");
    EXPECT_EQ(PosixPathToColon("/Vol/Folder/", &colon), noErr);
    EXPECT_EQ(colon, "Vol:Folder:");
    EXPECT_EQ(PosixPathToColon("/Vol", &colon), noErr);
    EXPECT_EQ(colon, "Vol:");
    EXPECT_EQ(PosixPathToColon("/", &colon), noErr);
    EXPECT_EQ(colon, "");
}

TEST(ColonPath, NamesHoldingSeparatorsRoundTrip)
{
    const char* paths[] = {"/tmp/a:b/c/d", "/x/Report 1:2/é ü.txt", "/v/::/x", "/v/a:b:c/", "/vol/"};
    for (const char* p : paths) {
        std::string colon, back;
        ASSERT_EQ(PosixPathToColon(p, &colon), noErr) << p;
        ASSERT_EQ(ColonPathToPosix(colon, &back), noErr) << colon;
        EXPECT_EQ(back, p);
    }
    std::string colon;
    ASSERT_EQ(PosixPathToColon("/tmp/a:b/c", &colon), noErr);
    EXPECT_EQ(colon, "tmp:a/b:c");
    std::string posix;
    ASSERT_EQ(ColonPathToPosix("Vol:either/or", &posix), noErr);
    EXPECT_EQ(posix, "/Vol/either:or");
    EXPECT_EQ(ColonNameToPosix("either/or"), "either:or");
    EXPECT_EQ(PosixNameToColon("a:b/c"), "a/b:c");
}

TEST(ColonPath, RefusesRelativeAndEmptyNames)
{
    std::string out = "x";
    EXPECT_EQ(ColonPathToPosix(":Folder:File", &out), bdNamErr);
    EXPECT_EQ(out, "");
    EXPECT_EQ(ColonPathToPosix("Vol::File", &out), bdNamErr);
    EXPECT_EQ(ColonPathToPosix("Vol:..:File", &out), bdNamErr);
    EXPECT_EQ(PosixPathToColon("relative/path", &out), bdNamErr);
    EXPECT_EQ(PosixPathToColon("/a//b", &out), bdNamErr);
    EXPECT_EQ(PosixPathToColon("/a/../b", &out), bdNamErr);
}

// The program's names against the file system's: ':' and '/' trade
// places, UTF-8 against Mac Roman; a file name is cut at a character's
// boundary, a letter with its accents; a colon path whose names hold '?'
// for characters Mac Roman lacks finds the one item of each folder that
// shows so, and none where two show alike.
TEST(MacNames, ConvertBothWaysAndFindItemsMacRomanCannotName)
{
    EXPECT_EQ(MacNameOf("D\xC3\xA9mo \xE2\x82\xAC \xC3\x9F:1.QzB"), "D\x8Emo \xDB \xA7/1.QzB");
    EXPECT_EQ(FileNameOf("D\x8Emo \xDB \xA7/1.QzB"), "D\xC3\xA9mo \xE2\x82\xAC \xC3\x9F:1.QzB");
    EXPECT_EQ(MacNameOf("\xE3\x83\x87\xE3\x83\xA2.QzB"), "??.QzB");
    EXPECT_EQ(MacNameOf("Cafe\xCC\x81.QzB"), "Caf\x8E.QzB");  // a decomposed accent
    const std::string longName = std::string(250, 'n') + "\xC3\xA9\xC3\xA9\xC3\xA9";  // 256 bytes
    EXPECT_EQ(FileNameOf(std::string(250, 'n') + "\x8E\x8E\x8E"), std::string(250, 'n') + "\xC3\xA9\xC3\xA9");
    EXPECT_EQ(CutFileName(longName), std::string(250, 'n') + "\xC3\xA9\xC3\xA9");
    EXPECT_EQ(CutFileName("ab\xE2\x82\xAC", 4), "ab");
    EXPECT_EQ(CutFileName("abe\xCC\x81\xCC\xA7", 5), "ab");  // a letter with its two accents

    platform::testing::TempFolder dir;
    const std::string folder = "F\xC3\xB6\xE2\x82\xAC\xE6\x97\xA5";
    std::filesystem::create_directories(dir / folder);
    for (const char* name : {"\xE3\x83\x87\xE3\x83\xA2.QzB", "\xE6\x97\xA5.QzB", "\xE4\xB8\xAD.QzB", "a?.QzB",
                             "Cafe\xCC\x81.QzB"})
        std::ofstream(dir / folder + "/" + name) << "x";
    std::string macFolder;
    ASSERT_EQ(FSpGetMacColonPath(FSSpec{dir / folder}, &macFolder), noErr);
    EXPECT_EQ(macFolder.substr(macFolder.size() - 6), ":F\x9A\xDB?:");
    FSSpec found;
    EXPECT_EQ(FSMakeFSSpecFromMacColonPath(macFolder + "??.QzB", &found), noErr);
    EXPECT_EQ(found.path, dir / folder + "/\xE3\x83\x87\xE3\x83\xA2.QzB");
    EXPECT_EQ(FSMakeFSSpecFromMacColonPath(macFolder + "a?.QzB", &found), noErr);  // the name as it is first
    EXPECT_EQ(found.path, dir / folder + "/a?.QzB");
    EXPECT_EQ(FSMakeFSSpecFromMacColonPath(macFolder + "Caf\x8E.QzB", &found), noErr);
    EXPECT_EQ(found.path, dir / folder + "/Cafe\xCC\x81.QzB");
    EXPECT_EQ(FSMakeFSSpecFromMacColonPath(macFolder + "?.QzB", &found), fnfErr);  // two show alike
    EXPECT_EQ(FSMakeFSSpecFromMacColonPath(macFolder + "new.QzB", &found), fnfErr);
    EXPECT_EQ(found.path, dir / folder + "/new.QzB");
}

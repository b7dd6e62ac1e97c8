#include "platform/files/ColonPath.h"

#include <gtest/gtest.h>

#include "platform/core/Errors.h"

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

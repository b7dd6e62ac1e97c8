#include <gtest/gtest.h>

#include "tests/toolbox/files/FileTestSupport.h"
#include "toolbox/files/VFile.h"
#include "toolbox/files/VFolder.h"

using namespace files_testing;

namespace {

std::string TargetName(const char* path)
{
    VText name;
    VPath::GetTargetName(Text(path), name);
    return ToUtf8(name);
}

std::string ParentPath(const char* path, PathFormat format = kPathColon)
{
    VText parent;
    VPath::GetParentPath(Text(path), parent, format);
    return ToUtf8(parent);
}

std::string Extension(const char* path)
{
    VFile file(Text(path), 1);
    VText extension;
    file.GetExtension(extension);
    return ToUtf8(extension);
}

}  // namespace

TEST(Paths, TargetNameIsTheLastName)
{
    EXPECT_EQ(TargetName("Vol:Folder:File"), "File");
    EXPECT_EQ(TargetName("Vol:Folder:"), "Folder");
    EXPECT_EQ(TargetName("Vol:"), "Vol");
    EXPECT_EQ(TargetName("bare"), "bare");
    EXPECT_EQ(TargetName(""), "");
    EXPECT_EQ(TargetName("Vol:Été ☃"), "Été ☃");
}

TEST(Paths, ParentOfABareNameIsEmpty)
{
    EXPECT_EQ(ParentPath("Vol:Folder:File"), "Vol:Folder");
    EXPECT_EQ(ParentPath("Vol:Folder:"), "Vol");
    EXPECT_EQ(ParentPath("Vol:File"), "Vol");
    EXPECT_EQ(ParentPath("File"), "");
    EXPECT_EQ(ParentPath(":File"), "");
    EXPECT_EQ(ParentPath("Vol:"), "");
    EXPECT_EQ(ParentPath("/home/me/file", kPathPosix), "/home/me");
    EXPECT_EQ(ParentPath("C\\dir\\file", kPathBackslash), "C\\dir");
    VText parent;
    VPath::GetParentPath(Text("File"), parent, kPathColon);
    EXPECT_FALSE(parent.IsNull()) << "no parent is an empty text, not a missing one";
}

TEST(Paths, ExtensionNeedsADot)
{
    EXPECT_EQ(Extension("Vol:Doc.txt"), ".txt");
    EXPECT_EQ(Extension("Vol:README"), "");
    EXPECT_EQ(Extension("Vol:a.b:README"), "");
    EXPECT_EQ(Extension("Vol:archive.tar.gz"), ".gz");
    VFolder folder(Text("Vol:Folder.app"));
    VText extension;
    folder.GetExtension(extension);
    EXPECT_EQ(ToUtf8(extension), "");
}

TEST(Paths, FolderPathEndsWithColon)
{
    VFolder folder(Text("Vol:Folder"));
    EXPECT_EQ(ToUtf8(folder.GetPath()), "Vol:Folder:");
    VFolder again(Text("Vol:Folder:"));
    EXPECT_EQ(ToUtf8(again.GetPath()), "Vol:Folder:");

    uint8_t buffer[8];
    folder.BuildPath(buffer, sizeof buffer, kCharSetMac);
    EXPECT_STREQ(reinterpret_cast<char*>(buffer), "Vol:Fol");
    VFolder accented(Text("Vol:é"));
    accented.BuildPath(buffer, 6, kCharSetUtf8);  // room for "Vol:" and one of é's two bytes
    EXPECT_STREQ(reinterpret_cast<char*>(buffer), "Vol:");
    accented.BuildPath(buffer, sizeof buffer, kCharSetAnsi);
    EXPECT_STREQ(reinterpret_cast<char*>(buffer), "Vol:\xE9:");
    accented.BuildPath(buffer, sizeof buffer, kCharSetMac);
    EXPECT_STREQ(reinterpret_cast<char*>(buffer), "Vol:\x8E:");
}

TEST(Paths, NamesHoldingSlashAndColonRoundTrip)
{
    TempFolder dir;
    const std::string posix = dir / "a:b";
    WriteText(posix, "x");
    const VText colon = ColonOf(posix);
    EXPECT_EQ(ToUtf8(colon).substr(ToUtf8(colon).rfind(':') + 1), "a/b");
    VFile file(colon, 1);
    ASSERT_TRUE(file.Exists());
    VText unixPath;
    ASSERT_EQ(file.GetUnixPath(unixPath), 0);
    EXPECT_EQ(ToUtf8(unixPath), posix);
    VText name;
    file.GetName(name);
    EXPECT_EQ(ToUtf8(name), "a/b");

    // A name made by the toolbox with '/' lands on Linux with ':'.
    VFolder folder(ColonOf(dir.path() + "/"));
    VFile made(folder, Text("x/y"), 1);
    ASSERT_EQ(made.Create(false), 0);
    made.Close();
    EXPECT_EQ(ReadText(dir / "x:y"), "");
    VText path;
    made.GetFullPath(path);
    EXPECT_EQ(ToUtf8(path), ToUtf8(ColonOf(dir.path() + "/")) + "x/y");
}

// Names cross to the system as UTF-8: a pair of surrogates is one
// character, and the text converted into is a value even when empty.
TEST(Paths, NamesConvertToAndFromUtf8Whole)
{
    for (const std::string name : {"", "a", "Grüße ☃", "\xF0\x9D\x84\x9E clef"}) {
        SCOPED_TRACE(name);
        VText text;
        text.SetNull(true);
        FromUtf8(name, text);
        EXPECT_FALSE(text.IsNull());
        EXPECT_EQ(ToUtf8(text), name);
    }
}

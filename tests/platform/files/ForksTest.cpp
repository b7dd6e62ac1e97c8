#include "platform/files/Forks.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/core/Faults.h"
#include "platform/core/FourCC.h"
#include "platform/files/ExtensionKinds.h"
#include "platform/files/FileSpec.h"
#include "platform/files/TextFiles.h"
#include "tests/platform/files/TempFolder.h"

using namespace platform;
using platform::testing::TempFolder;

namespace {

FSSpec MakeFile(const TempFolder& dir, const std::string& name, size_t size)
{
    FSSpec fileSpec;
    FSMakeFSSpec(dir / name, &fileSpec);
    std::ofstream out(fileSpec.path, std::ios::binary);
    for (size_t i = 0; i < size; ++i) out.put(char(i));
    return fileSpec;
}

class Forks : public ::testing::Test {
protected:
    void TearDown() override
    {
        CloseAllForks();
        ClearAllFaults();
    }
    TempFolder dir;
};

}  // namespace

TEST_F(Forks, ReadWritePositionAndEnd)
{
    FSSpec fileSpec = MakeFile(dir, "f", 100);
    int16_t ref = 0;
    ASSERT_EQ(FSpOpenDF(fileSpec, fsRdWrPerm, &ref), noErr);
    EXPECT_NE(ref, 0);

    uint8_t buf[16] = {};
    ASSERT_EQ(SetFPos(ref, fsFromStart, 95), noErr);
    int64_t count = 10;
    EXPECT_EQ(FSRead(ref, &count, buf), eofErr);
    EXPECT_EQ(count, 5);
    EXPECT_EQ(buf[0], 95);
    int64_t pos = 0;
    GetFPos(ref, &pos);
    EXPECT_EQ(pos, 100);

    EXPECT_EQ(SetFPos(ref, fsFromLEOF, -10), noErr);
    EXPECT_EQ(SetFPos(ref, fsFromMark, -200), posErr);
    GetFPos(ref, &pos);
    EXPECT_EQ(pos, 90);
    EXPECT_EQ(SetFPos(ref, fsFromStart, 150), eofErr);
    GetFPos(ref, &pos);
    EXPECT_EQ(pos, 100);

    count = 4;
    ASSERT_EQ(FSWrite(ref, &count, "wxyz"), noErr);
    int64_t eof = 0;
    GetEOF(ref, &eof);
    EXPECT_EQ(eof, 104);
    ASSERT_EQ(SetEOF(ref, 10), noErr);
    GetFPos(ref, &pos);
    EXPECT_EQ(pos, 10);
    ASSERT_EQ(SetEOF(ref, int64_t(5) << 32), noErr);  // sizes are 64-bit
    GetEOF(ref, &eof);
    EXPECT_EQ(eof, int64_t(5) << 32);
    ASSERT_EQ(SetEOF(ref, 10), noErr);
    ASSERT_EQ(FSClose(ref), noErr);
    EXPECT_EQ(FSClose(ref), rfNumErr);
    count = 1;
    EXPECT_EQ(FSRead(ref, &count, buf), rfNumErr);
    EXPECT_EQ(count, 0);
}

TEST_F(Forks, PermissionsAndBusyFiles)
{
    FSSpec fileSpec = MakeFile(dir, "f", 10);
    int16_t reader = 0, writer = 0, other = 0;
    ASSERT_EQ(FSpOpenDF(fileSpec, fsRdPerm, &reader), noErr);
    int64_t count = 1;
    EXPECT_EQ(FSWrite(reader, &count, "x"), wrPermErr);
    EXPECT_EQ(SetEOF(reader, 0), wrPermErr);

    ASSERT_EQ(FSpOpenDF(fileSpec, fsRdWrPerm, &writer), noErr);
    EXPECT_EQ(FSpOpenDF(fileSpec, fsWrPerm, &other), opWrErr);
    EXPECT_EQ(FSpOpenDF(fileSpec, fsRdWrShPerm, &other), opWrErr);
    ASSERT_EQ(FSpOpenDF(fileSpec, fsCurPerm, &other), noErr);  // falls back to reading
    SInt8 perm = 0;
    GetForkInfo(other, nullptr, &perm, nullptr);
    EXPECT_EQ(perm, fsRdPerm);
    EXPECT_EQ(FSpDelete(fileSpec), fBsyErr);
    FSClose(writer);
    FSClose(other);
    FSClose(reader);

    // Shared writers admit each other.
    ASSERT_EQ(FSpOpenDF(fileSpec, fsRdWrShPerm, &writer), noErr);
    ASSERT_EQ(FSpOpenDF(fileSpec, fsRdWrShPerm, &other), noErr);
    FSClose(writer);
    FSClose(other);

    // An open fork follows its file through a rename.
    ASSERT_EQ(FSpOpenRF(fileSpec, fsRdWrPerm, &writer), noErr);
    ASSERT_EQ(FSpRename(fileSpec, "g"), noErr);
    count = 3;
    FSWrite(writer, &count, "abc");
    ASSERT_EQ(FSClose(writer), noErr);
    FSSpec renamed;
    FSMakeFSSpec(dir / "g", &renamed);
    CatInfo info;
    FSpGetCatInfo(renamed, &info);
    EXPECT_EQ(info.rsrcSize, 3);

    ASSERT_EQ(FSpSetPermissions(renamed, 0444), noErr);
    ASSERT_EQ(FSpOpenDF(renamed, fsRdPerm, &reader), noErr);
    FSClose(reader);
    if (::geteuid() != 0) {
        EXPECT_EQ(FSpOpenDF(renamed, fsRdWrPerm, &writer), permErr);
    }

    FSSpec missing;
    FSMakeFSSpec(dir / "missing", &missing);
    EXPECT_EQ(FSpOpenDF(missing, fsRdPerm, &reader), fnfErr);
    EXPECT_EQ(FSpOpenDF(FSSpec{dir.path()}, fsRdPerm, &reader), notAFileErr);
    EXPECT_EQ(FSpOpenDF(renamed, 9, &reader), paramErr);
}

TEST_F(Forks, InjectedFaults)
{
    FSSpec fileSpec = MakeFile(dir, "f", 10);
    int16_t ref = 0;
    {
        ScopedFault busy(FaultKind::FileBusy, 0);
        EXPECT_EQ(FSpOpenDF(fileSpec, fsRdWrPerm, &ref), opWrErr);
        EXPECT_EQ(ref, 0);
    }
    ASSERT_EQ(FSpOpenDF(fileSpec, fsRdWrPerm, &ref), noErr);
    {
        ScopedFault full(FaultKind::DiskFull, 0, -1);
        int64_t count = 4;
        EXPECT_EQ(FSWrite(ref, &count, "abcd"), dskFulErr);
        EXPECT_EQ(count, 0);
        EXPECT_EQ(SetEOF(ref, 1000), dskFulErr);
        EXPECT_EQ(SetEOF(ref, 5), noErr);  // shrinking needs no room
        FSSpec made;
        FSMakeFSSpec(dir / "new", &made);
        EXPECT_EQ(FSpCreate(made, 0, 0), dskFulErr);
        EXPECT_FALSE(FSpExists(made));
    }
    FSClose(ref);

    // A resource fork whose sidecar cannot be written reports it on close
    // and leaves the old sidecar as it was.
    ASSERT_EQ(FSpOpenRF(fileSpec, fsRdWrPerm, &ref), noErr);
    int64_t count = 2;
    FSWrite(ref, &count, "rs");
    ASSERT_EQ(FSClose(ref), noErr);
    ASSERT_EQ(FSpOpenRF(fileSpec, fsRdWrPerm, &ref), noErr);
    count = 2;
    SetFPos(ref, fsFromStart, 0);
    FSWrite(ref, &count, "XY");
    {
        ScopedFault full(FaultKind::DiskFull, 0);
        EXPECT_EQ(FSClose(ref), dskFulErr);
    }
    ASSERT_EQ(FSpOpenRF(fileSpec, fsRdPerm, &ref), noErr);
    char back[2] = {};
    count = 2;
    ASSERT_EQ(FSRead(ref, &count, back), noErr);
    EXPECT_EQ(std::memcmp(back, "rs", 2), 0);
}

TEST_F(Forks, OnlyRegularFilesOpen)
{
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0666), 0);
    int16_t ref = 0;
    // Would block waiting for a writer if it were opened.
    EXPECT_EQ(FSpOpenDF(FSSpec{dir / "pipe"}, fsRdPerm, &ref), notAFileErr);
    EXPECT_EQ(ref, 0);
}

// Positioned reads and gathered writes leave the mark alone, extend the
// fork with a zero gap, resume across more slices than one system call
// takes, and refuse what the plain calls refuse.
TEST_F(Forks, PositionedReadsAndGatheredWrites)
{
    FSSpec fileSpec = MakeFile(dir, "f", 10);
    int16_t ref = 0;
    ASSERT_EQ(FSpOpenDF(fileSpec, fsRdWrPerm, &ref), noErr);
    ASSERT_EQ(SetFPos(ref, fsFromStart, 3), noErr);
    const ForkSlice abc[] = {{"ab", 2}, {"", 0}, {"c", 1}};
    ASSERT_EQ(FSWriteAt(ref, 1, abc, 3), noErr);
    const ForkSlice tail[] = {{"xyz", 3}};
    ASSERT_EQ(FSWriteAt(ref, 20, tail, 1), noErr);
    int64_t mark = 0, eof = 0;
    GetFPos(ref, &mark);
    GetEOF(ref, &eof);
    EXPECT_EQ(mark, 3);
    EXPECT_EQ(eof, 23);
    char back[23] = {};
    int64_t count = 23;
    ASSERT_EQ(FSReadAt(ref, 0, &count, back), noErr);
    const char want[23] = {0, 'a', 'b', 'c', 4, 5, 6, 7, 8, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 'x', 'y', 'z'};
    EXPECT_EQ(std::memcmp(back, want, 23), 0);
    count = 5;
    EXPECT_EQ(FSReadAt(ref, 20, &count, back), eofErr);
    EXPECT_EQ(count, 3);

    // 3,000 slices of 0 to 6 bytes: several calls, each resuming mid-list.
    std::vector<std::vector<uint8_t>> parts;
    std::vector<ForkSlice> slices;
    std::vector<uint8_t> expected;
    for (int i = 0; i < 3000; ++i) {
        parts.emplace_back(size_t(i % 7), uint8_t(i));
        expected.insert(expected.end(), parts.back().begin(), parts.back().end());
    }
    for (const auto& part : parts) slices.push_back({part.data(), int64_t(part.size())});
    ASSERT_EQ(FSWriteAt(ref, 100, slices.data(), int32_t(slices.size())), noErr);
    std::vector<uint8_t> read(expected.size());
    count = int64_t(read.size());
    ASSERT_EQ(FSReadAt(ref, 100, &count, read.data()), noErr);
    EXPECT_EQ(read, expected);

    EXPECT_EQ(FSWriteAt(ref, -1, abc, 3), paramErr);
    EXPECT_EQ(FSWriteAt(999, 0, abc, 3), rfNumErr);
    {
        ScopedFault full(FaultKind::DiskFull, 0);
        EXPECT_EQ(FSWriteAt(ref, 0, abc, 3), dskFulErr);
    }
    FSClose(ref);
    ASSERT_EQ(FSpOpenDF(fileSpec, fsRdPerm, &ref), noErr);
    EXPECT_EQ(FSWriteAt(ref, 0, abc, 3), wrPermErr);
    FSClose(ref);

    // The resource fork, held in memory, takes the same calls.
    ASSERT_EQ(FSpOpenRF(fileSpec, fsRdWrPerm, &ref), noErr);
    ASSERT_EQ(FSWriteAt(ref, 2, abc, 3), noErr);
    char rf[5] = {1, 1, 1, 1, 1};
    count = 5;
    ASSERT_EQ(FSReadAt(ref, 0, &count, rf), noErr);
    EXPECT_EQ(std::memcmp(rf, "\0\0abc", 5), 0);
    FSClose(ref);
}

// Renaming a folder moves the open forks inside it, and only those: a
// sibling whose name starts the same stays where it is.
TEST_F(Forks, RenamedFoldersTakeTheirOpenForksAlong)
{
    ::mkdir((dir / "a").c_str(), 0777);
    ::mkdir((dir / "ab").c_str(), 0777);
    MakeFile(dir, "a/in", 4);
    MakeFile(dir, "ab/next", 4);
    int16_t inside = 0, sibling = 0;
    ASSERT_EQ(FSpOpenDF(FSSpec{dir / "a/in"}, fsRdPerm, &inside), noErr);
    ASSERT_EQ(FSpOpenDF(FSSpec{dir / "ab/next"}, fsRdPerm, &sibling), noErr);
    ASSERT_EQ(FSpRename(FSSpec{dir / "a"}, "z"), noErr);
    FSSpec where;
    ASSERT_EQ(GetForkInfo(inside, &where, nullptr, nullptr), noErr);
    EXPECT_EQ(where.path, dir / "z/in");
    ASSERT_EQ(GetForkInfo(sibling, &where, nullptr, nullptr), noErr);
    EXPECT_EQ(where.path, dir / "ab/next");
}

TEST_F(Forks, PositionsOfUnknownForksReadAsZero)
{
    int64_t position = 99;
    EXPECT_EQ(GetFPos(999, &position), rfNumErr);
    EXPECT_EQ(position, 0);
}

// Text written as a text file is a text file's here: UTF-8, CR and CR LF
// become LF, anything else stays; the count is the text's.
TEST_F(Forks, TextFilesAreUtf8AndEndTheirLinesWithLineFeeds)
{
    const struct {
        std::string text, file;
    } cases[] = {{"a\rb\r", "a\nb\n"}, {"a\r\nb", "a\nb"}, {"a\nb\tc", "a\nb\tc"}, {"\r\r", "\n\n"},
                 {"Cl\x9As\xDB\xD2q\xD3\xD1\r", "Cl\xC3\xB6s\xE2\x82\xAC\xE2\x80\x9Cq\xE2\x80\x9D\xE2\x80\x94\n"}};
    auto bytes = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    for (const auto& c : cases) {
        FSSpec fileSpec = MakeFile(dir, "t", 0);
        int16_t ref = 0;
        ASSERT_EQ(FSpOpenDF(fileSpec, fsRdWrPerm, &ref), noErr);
        int64_t count = int64_t(c.text.size());
        EXPECT_EQ(FSWriteText(ref, &count, c.text.data()), noErr);
        EXPECT_EQ(count, int64_t(c.text.size()));
        FSClose(ref);
        EXPECT_EQ(bytes(fileSpec.path), c.file);
        ASSERT_EQ(WriteTextFileAtomically(dir / "whole", c.text.data(), c.text.size()), noErr);
        EXPECT_EQ(bytes(dir / "whole"), c.file);
    }
}

TEST(ExtensionKinds, KnownExtensionsGiveTheirKindOthersNothing)
{
    SetExtensionKind("qzx", FourCC("QZXT"), FourCC("QzBr"));
    OSType type = 0, creator = 0;
    EXPECT_TRUE(KindFromExtension("notes.QZX", &type, &creator));  // any case
    EXPECT_EQ(type, FourCC("QZXT"));
    EXPECT_EQ(creator, FourCC("QzBr"));
    type = 7;
    EXPECT_FALSE(KindFromExtension("notes.none", &type, nullptr));
    EXPECT_FALSE(KindFromExtension(".qzx", &type, nullptr));  // a hidden name, no extension
    EXPECT_FALSE(KindFromExtension("notes.", &type, nullptr));
    EXPECT_EQ(type, 7u);
    ResetExtensionKinds();
}

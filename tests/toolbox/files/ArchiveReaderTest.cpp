#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "kernel/hostentry/HostEntry.h"
#include "platform/core/Faults.h"
#include "platform/events/FileDialogAnswers.h"
#include "tests/toolbox/files/ArchiveTestSupport.h"
#include "toolbox/files/PartDialogHooks.h"
#include "toolbox/files/VFileFolderUnStream.h"
#include "toolbox/files/VFileStream.h"
#include "toolbox/foundation/VEngine.h"

using namespace archive_testing;
using files_testing::ColonOf;
using files_testing::TempFolder;
namespace fs = std::filesystem;

namespace {

void DecliningHost(int16_t, parm* block) { block->result304 = 0; }

ArchiveEntry Entry(const std::string& path, const Bytes& data, uint32_t type = platform::FourCC("TEXT"),
                   uint32_t creator = platform::FourCC("ttxt"))
{
    ArchiveEntry e;
    e.path = path;
    e.data = data;
    e.type = type;
    e.creator = creator;
    return e;
}

std::vector<ArchiveEntry> ThreeEntries()
{
    std::vector<ArchiveEntry> entries = {Entry("./a", BytesOf("hello")),
                                         Entry("./sub/b.bin", MixedBytes(70000, 7), platform::FourCC("BINA")),
                                         Entry("./sub/deeper/c", MixedBytes(5000, 8))};
    entries[2].resource = MixedBytes(3000, 9);
    entries[2].hasResource = true;
    return entries;
}

Bytes ResourceFork(const std::string& posix)
{
    VFile file(ColonOf(posix));
    VFileStream s(&file, true);
    Bytes out;
    if (s.OpenReading() != 0) return out;
    out.resize(s.GetSize());
    uint32_t n = uint32_t(out.size());
    s.GetData(out.data(), &n);
    s.CloseReading();
    return out;
}

class ArchiveReader : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedHost_ = gCallQz;
        gCallQz = entreeexterne;
        platform::SetRandomSeed(7);
        platform::ClearFileDialogAnswers();
        ResetPartDialogHooks();
        fs::create_directories(tmp / "in");
    }
    void TearDown() override
    {
        gCallQz = savedHost_;
        platform::ClearAllFaults();
    }

    std::string Archive() const { return tmp / "in/Arch.zip"; }
    std::string Dest() const { return tmp / "out"; }

    int16_t Write(const ArchiveLayout& layout, const std::vector<ArchiveEntry>& entries)
    {
        return WriteArchive(ColonOf(Archive()), layout, entries);
    }

    int16_t Extract(const std::string& dest, ProgressCallBack callback = nullptr, const std::string& archive = "")
    {
        VFileFolderUnStream reader;
        VText input = ColonOf(archive.empty() ? Archive() : archive);
        reader.SetInputFile(input);
        if (!dest.empty()) {
            VText out = ColonOf(dest + "/");
            if (int16_t err = reader.SetDestinationFolder(out); err != 0) return err;
        }
        if (callback) reader.SetProgressCallBack(callback);
        return reader.Proceed();
    }

    void ExpectExtracted(const std::vector<ArchiveEntry>& entries)
    {
        for (const auto& e : entries) {
            const std::string posix = Dest() + "/" + e.path.substr(2);
            EXPECT_EQ(ReadFile(posix), e.data) << e.path;
            VFile file(ColonOf(posix));
            EXPECT_EQ(file.GetKind(), e.type) << e.path;
            EXPECT_EQ(file.GetCreator(), e.creator) << e.path;
            if (e.hasResource) {
                EXPECT_EQ(ResourceFork(posix), e.resource) << e.path;
            }
        }
    }

    TempFolder tmp;

private:
    HostEntryProc savedHost_ = nullptr;
};

}  // namespace

TEST_F(ArchiveReader, PlainArchiveIsByteForByteAndExtracts)
{
    gCallQz = DecliningHost;  // the header block stays stored
    const std::vector<ArchiveEntry> one = {Entry("./a", BytesOf("hello"))};
    ASSERT_EQ(Write({}, one), 0);
    const Bytes bytes = ReadFile(Archive());
    ASSERT_EQ(bytes.size(), 118u);
    EXPECT_EQ(BE32(bytes, 12), platform::FourCC("Comp"));
    EXPECT_EQ(BE32(bytes, 60), platform::FourCC("VFFS"));
    EXPECT_EQ(BE32(bytes, 109), platform::FourCC("File"));
    ASSERT_EQ(Extract(Dest()), 0);
    ExpectExtracted(one);
}

// Only an empty path is passed over; a path of one character is read and
// judged like any other (a bare name is refused).
TEST_F(ArchiveReader, OnlyAnEmptyPathIsPassedOver)
{
    gCallQz = DecliningHost;
    ASSERT_EQ(Write({}, {Entry("", BytesOf("x")), Entry("./a", BytesOf("hello"))}), 0);
    EXPECT_EQ(Extract(Dest()), 0);
    ASSERT_EQ(Write({}, {Entry("b", BytesOf("bee")), Entry("./a", BytesOf("hello"))}), 0);
    EXPECT_EQ(Extract(Dest()), kArchiveErrBadData);
    EXPECT_FALSE(fs::exists(Dest() + "/b"));
}

TEST_F(ArchiveReader, StackedArchiveWithForksAndFoldersExtracts)
{
    std::vector<ArchiveEntry> entries = ThreeEntries();
    entries.push_back(Entry("./Plugins/Tool.bundle/Contents/Info", BytesOf("plist")));
    ASSERT_EQ(Write({1, 2, 4, 30000}, entries), 0);
    EXPECT_TRUE(fs::exists(tmp / "in/Arch.part004.zip"));
    const std::string firstPart = tmp / "in/Arch.part001.zip";
    // An older file of the same name is replaced.
    fs::create_directories(Dest());
    WriteFile(Dest() + "/a", BytesOf("old contents"));
    std::vector<int> actions;
    uint64_t lastDone = 0, lastTotal = 0;
    ASSERT_EQ(Extract(Dest(),
                      [&](ProgressCallBackAction a, uint64_t done, uint64_t total, bool&) {
                          actions.push_back(a);
                          if (a == kProgressStep) lastDone = done, lastTotal = total;
                      },
                      firstPart),
              0);
    ExpectExtracted(entries);
    EXPECT_TRUE(fs::is_directory(Dest() + "/Plugins/Tool.bundle/Contents"));
    EXPECT_EQ(actions.front(), kProgressStart);
    EXPECT_EQ(actions.back(), kProgressEnd);
    EXPECT_EQ(lastTotal, 5u + 70000 + 5000 + 5);
    EXPECT_EQ(lastDone, lastTotal + 3000);  // resource forks count as done only
    // No temporary file is left behind.
    for (const auto& item : fs::recursive_directory_iterator(Dest()))
        EXPECT_EQ(item.path().filename().string().rfind(".qz-", 0), std::string::npos) << item.path();
}

TEST_F(ArchiveReader, ArchivesWrittenLittleEndianExtract)
{
    const auto entries = ThreeEntries();
    ArchiveLayout layout{1, 2, 4, 0};
    layout.little = true;
    ASSERT_EQ(Write(layout, entries), 0);
    const Bytes bytes = ReadFile(Archive());
    EXPECT_EQ(std::string(bytes.begin() + 12, bytes.begin() + 16), "pmoC");
    ASSERT_EQ(Extract(Dest()), 0);
    ExpectExtracted(entries);
}

TEST_F(ArchiveReader, SkipModeChecksEverythingAndWritesNothing)
{
    const auto entries = ThreeEntries();
    ASSERT_EQ(Write({1, 2, 4, 0}, entries), 0);
    EXPECT_EQ(Extract(""), 0);
    EXPECT_FALSE(fs::exists(Dest()));
    EXPECT_EQ(fs::directory_iterator(tmp.path()) == fs::directory_iterator(), false);

    Bytes damaged = ReadFile(Archive());
    damaged[damaged.size() - 100] ^= 0xFF;  // inside the last group's parity or data
    damaged[damaged.size() - 5000] ^= 0xFF;
    damaged[damaged.size() - 4000] ^= 0xFF;
    WriteFile(Archive(), damaged);
    const int16_t err = Extract("");
    EXPECT_TRUE(err == 0 || err == kArchiveErrBadData) << err;
    EXPECT_FALSE(fs::exists(Dest()));
}

TEST_F(ArchiveReader, AStopDuringACopyEndsWith218AfterTheEndCall)
{
    ASSERT_EQ(Write({1, 0, 0, 0}, ThreeEntries()), 0);
    std::vector<int> actions;
    const int16_t err = Extract(Dest(), [&](ProgressCallBackAction a, uint64_t done, uint64_t, bool& stop) {
        actions.push_back(a);
        if (a == kProgressStep && done > 40000) stop = true;
    });
    EXPECT_EQ(err, kFileErrCancelled);
    EXPECT_EQ(actions.back(), kProgressEnd);
    EXPECT_TRUE(fs::exists(Dest() + "/a"));
    EXPECT_FALSE(fs::exists(Dest() + "/sub/b.bin"));
    EXPECT_FALSE(fs::exists(Dest() + "/sub/deeper"));
}

TEST_F(ArchiveReader, PathsLeavingTheDestinationAreRefusedAndTheRestExtracted)
{
    fs::create_directories(tmp / "outside");
    fs::create_directories(Dest());
    fs::create_directory_symlink(tmp / "outside", Dest() + "/link");
    const std::vector<ArchiveEntry> good = {Entry("./ok1", BytesOf("one")), Entry("./dir/ok2", BytesOf("two"))};
    std::vector<ArchiveEntry> entries = {Entry("./../x", BytesOf("x")),    good[0],
                                         Entry("Vol:etc:x", BytesOf("x")), Entry("./a/../../b", BytesOf("x")),
                                         Entry("./a:b", BytesOf("x")),     Entry("./link/x", BytesOf("x")),
                                         Entry("./", BytesOf("x")),        Entry("./c//d", BytesOf("x")),
                                         Entry("/abs", BytesOf("x")),      Entry("", BytesOf("x")),
                                         good[1]};
    ASSERT_EQ(Write({1, 2, 4, 0}, entries), 0);
    EXPECT_EQ(Extract(Dest()), kArchiveErrBadData);
    ExpectExtracted(good);
    EXPECT_TRUE(fs::is_empty(tmp / "outside"));
    std::set<std::string> made;
    for (const auto& item : fs::recursive_directory_iterator(tmp.path(), fs::directory_options::none))
        made.insert(item.path().lexically_relative(tmp.path()).string());
    // Each file has its sidecar for the type and creator.
    const std::set<std::string> expected = {"in",      "in/Arch.zip", "outside", "out",           "out/link",
                                            "out/ok1", "out/._ok1",   "out/dir", "out/dir/ok2", "out/dir/._ok2"};
    EXPECT_EQ(made, expected);
}

TEST_F(ArchiveReader, HeaderDamageAndListsEndingOnAFullBlock)
{
    // A list that fills its block exactly is followed by an empty block.
    // 21 header bytes, then 25 bytes and the path per entry.
    std::vector<ArchiveEntry> many;
    size_t listBytes = 21;
    for (int i = 0; i < 262; ++i) {
        const size_t length = i < 261 ? 100 : 97;
        char name[16];
        std::snprintf(name, sizeof name, "./f%05d", i);
        std::string path = name;
        path.resize(length, 'x');
        many.push_back(Entry(path, BytesOf(std::to_string(i))));
        listBytes += 25 + length;
    }
    ASSERT_EQ(listBytes, 32768u);
    ASSERT_EQ(Write({0, 0, 0, 0}, many), 0);
    ASSERT_EQ(Extract(Dest()), 0);
    ExpectExtracted(many);

    // Version, marker and path lengths are checked.
    gCallQz = DecliningHost;
    ASSERT_EQ(Write({}, {Entry("./a", BytesOf("hello"))}), 0);
    const Bytes good = ReadFile(Archive());
    auto damaged = [&](size_t at, uint8_t value) {
        Bytes b = good;
        b[at] = value;
        // The digests are mended so that only the field is wrong.
        uint8_t digest[16];
        VChecksumMD5().NewChecksum(&b[60], 49, digest);
        std::memcpy(&b[28], digest, 16);
        std::memcpy(&b[44], digest, 16);
        WriteFile(Archive(), b);
        return Extract(Dest());
    };
    EXPECT_EQ(damaged(67, 3), kArchiveErrBadData);    // version 3
    EXPECT_EQ(damaged(60, 'W'), kArchiveErrBadData);  // marker
    EXPECT_EQ(damaged(81, 0x10), kArchiveErrBadData);  // a path of 1 MB
    // 16 M entries in a list of one: reading on asks for a next part.
    EXPECT_EQ(damaged(77, 0x10), kFileErrMissing);
    EXPECT_EQ(damaged(109, 'X'), kArchiveErrBadData); // the 'File' marker
    EXPECT_EQ(Extract(Dest(), nullptr, tmp / "in/none.zip"), kFileErrMissing);
}

TEST_F(ArchiveReader, DamagedArchivesGiveTheExactFilesOrAClearError)
{
    const auto entries = ThreeEntries();
    ASSERT_EQ(Write({1, 2, 4, 0}, entries), 0);
    const Bytes good = ReadFile(Archive());
    const Bytes old = BytesOf("the old file");
    auto check = [&](const Bytes& archive, const std::string& what) {
        fs::remove_all(Dest());
        fs::create_directories(Dest() + "/sub/deeper");
        for (const auto& e : entries) WriteFile(Dest() + "/" + e.path.substr(2), old);
        WriteFile(Archive(), archive);
        const int16_t err = Extract(Dest());
        EXPECT_TRUE(err == 0 || err == kStreamEndOfData || err == kFileErrMissing || err == kArchiveErrBadData)
            << what << ": " << err;
        for (const auto& e : entries) {
            const Bytes now = ReadFile(Dest() + "/" + e.path.substr(2));
            EXPECT_TRUE(now == e.data || (err != 0 && now == old)) << what << " " << e.path;
        }
        size_t items = 0;
        for (auto it = fs::recursive_directory_iterator(tmp.path()); it != fs::recursive_directory_iterator(); ++it)
            ++items;
        // in, the archive, out, sub, deeper, three files and one sidecar at most each.
        EXPECT_LE(items, 12u) << what;
    };
    for (int i = 1; i <= 50; ++i) {
        const size_t at = good.size() * size_t(i) / 51;
        check(Bytes(good.begin(), good.begin() + at), "cut at " + std::to_string(at));
    }
    uint32_t x = 12345;
    for (int i = 0; i < 200; ++i) {
        x = x * 1103515245u + 12345u;
        const size_t at = (x >> 8) % good.size();
        Bytes bad = good;
        bad[at] ^= uint8_t(1u << (x % 8));
        check(bad, "flip at " + std::to_string(at));
    }
}

TEST_F(ArchiveReader, ADiskFullSpoilsOnlyItsOwnEntry)
{
    const auto entries = ThreeEntries();
    ASSERT_EQ(Write({1, 2, 4, 0}, entries), 0);
    fs::create_directories(Dest() + "/sub/deeper");
    const Bytes old = BytesOf("the old second file");
    WriteFile(Dest() + "/sub/b.bin", old);
    const int16_t err = Extract(Dest(), [&](ProgressCallBackAction a, uint64_t done, uint64_t, bool&) {
        // The first entry is done: the next write fails.
        if (a == kProgressStep && done == 5) platform::InjectFault(platform::FaultKind::DiskFull, 0, 1);
    });
    EXPECT_EQ(err, kFileErrDiskFull);
    EXPECT_EQ(ReadFile(Dest() + "/a"), entries[0].data);
    EXPECT_EQ(ReadFile(Dest() + "/sub/b.bin"), old);
    EXPECT_EQ(ReadFile(Dest() + "/sub/deeper/c"), entries[2].data);
    EXPECT_EQ(ResourceFork(Dest() + "/sub/deeper/c"), entries[2].resource);
}

TEST_F(ArchiveReader, AFolderThatCannotBeMadeFailsOnlyItsEntry)
{
    // A file stands where the second entry needs a folder.
    fs::create_directories(Dest());
    WriteFile(Dest() + "/sub", BytesOf("a file, not a folder"));
    const std::vector<ArchiveEntry> entries = {Entry("./a", BytesOf("one")), Entry("./sub/b", BytesOf("two")),
                                               Entry("./c", BytesOf("three"))};
    ASSERT_EQ(Write({1, 0, 0, 0}, entries), 0);
    const int16_t err = Extract(Dest());
    EXPECT_NE(err, 0);
    EXPECT_NE(err, kArchiveErrBadData);  // the folder's own failure, not a misread marker
    EXPECT_EQ(ReadFile(Dest() + "/a"), entries[0].data);
    EXPECT_EQ(ReadFile(Dest() + "/sub"), BytesOf("a file, not a folder"));
    EXPECT_EQ(ReadFile(Dest() + "/c"), entries[2].data);
}

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/core/Faults.h"
#include "platform/events/FileDialogAnswers.h"
#include "tests/toolbox/files/ArchiveTestSupport.h"
#include "toolbox/files/PartDialogHooks.h"

using namespace archive_testing;
using files_testing::ColonOf;
using files_testing::TempFolder;

namespace {

int16_t WriteParts(const std::string& posix, uint32_t maxPart, const Bytes& data)
{
    VFile file(ColonOf(posix));
    VFileStreamCutter cutter(&file, maxPart);
    if (int16_t err = cutter.OpenWriting(); err != 0) return err;
    cutter.PutData(data.data(), uint32_t(data.size()));
    return cutter.CloseWriting(1);
}

int16_t ReadParts(const std::string& posix, Bytes& out, size_t n)
{
    VFile file(ColonOf(posix));
    VFileStreamCutter cutter(&file, 0);
    if (int16_t err = cutter.OpenReading(); err != 0) return err;
    const int16_t err = ReadAll(cutter, out, n, 7);
    cutter.CloseReading();
    return err;
}

Bytes Part(uint32_t marker, int32_t id, uint32_t number, const Bytes& data, bool little = false)
{
    Bytes b(12);
    auto put = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(little ? v >> (8 * i) : v >> (24 - 8 * i));
    };
    put(0, marker);
    put(4, uint32_t(id));
    put(8, number);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

class Cutter : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::SetRandomSeed(42);
        platform::ClearFileDialogAnswers();
        ResetPartDialogHooks();
    }
    TempFolder tmp;
};

}  // namespace

TEST_F(Cutter, SplitsIntoNumberedPartsAndJoinsThemAgain)
{
    const Bytes data = MixedBytes(250, 1);
    ASSERT_EQ(WriteParts(tmp / "Arch.zip", 100, data), 0);
    EXPECT_FALSE(std::filesystem::exists(tmp / "Arch.zip"));
    const Bytes p1 = ReadFile(tmp / "Arch.part001.zip");
    const Bytes p2 = ReadFile(tmp / "Arch.part002.zip");
    const Bytes p3 = ReadFile(tmp / "Arch.part003.zip");
    ASSERT_EQ(p1.size(), 100u);
    ASSERT_EQ(p2.size(), 100u);
    ASSERT_EQ(p3.size(), 86u);
    EXPECT_EQ(BE32(p1, 0), platform::FourCC("VFSC"));
    EXPECT_EQ(BE32(p1, 8), 1u);
    EXPECT_EQ(BE32(p2, 4), BE32(p1, 4));
    EXPECT_EQ(BE32(p3, 8), 3u);
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + 88, p1.begin() + 12));
    EXPECT_TRUE(std::equal(data.begin() + 176, data.end(), p3.begin() + 12));

    // The first part named by its numbered name leads to the others.
    Bytes back;
    EXPECT_EQ(ReadParts(tmp / "Arch.part001.zip", back, 250), 0);
    EXPECT_EQ(back, data);

    // Cut again over longer parts of an earlier run: no stale tail is kept.
    WriteFile(tmp / "Old.part001.zip", Bytes(500, 0xEE));
    WriteFile(tmp / "Old.part002.zip", Bytes(500, 0xEE));
    ASSERT_EQ(WriteParts(tmp / "Old.zip", 100, data), 0);
    EXPECT_EQ(ReadFile(tmp / "Old.part001.zip").size(), 100u);
    EXPECT_EQ(ReadFile(tmp / "Old.part002.zip").size(), 100u);
}

TEST_F(Cutter, FittingDataKeepsThePlainNameAndAFullPartLeavesAnEmptyNext)
{
    ASSERT_EQ(WriteParts(tmp / "Small.zip", 100, MixedBytes(50, 2)), 0);
    EXPECT_EQ(ReadFile(tmp / "Small.zip").size(), 62u);
    EXPECT_FALSE(std::filesystem::exists(tmp / "Small.part001.zip"));

    ASSERT_EQ(WriteParts(tmp / "Full.zip", 100, MixedBytes(88, 3)), 0);
    EXPECT_EQ(ReadFile(tmp / "Full.part001.zip").size(), 100u);
    ASSERT_TRUE(std::filesystem::exists(tmp / "Full.part002.zip"));
    EXPECT_EQ(ReadFile(tmp / "Full.part002.zip").size(), 0u);
    Bytes back;
    EXPECT_EQ(ReadParts(tmp / "Full.part001.zip", back, 88), 0);
    EXPECT_EQ(back, MixedBytes(88, 3));
    // Past the end: the empty part has no header to read.
    EXPECT_EQ(ReadParts(tmp / "Full.part001.zip", back, 89), kStreamEndOfData);
}

TEST_F(Cutter, OnlyTheTrailingExtensionAndNumberAreTakenFromTheName)
{
    // Folder names holding the extension or ".part001" stay whole.
    std::filesystem::create_directories(tmp / "a.zip.d.part001.zip");
    const std::string dir = tmp / "a.zip.d.part001.zip";
    ASSERT_EQ(WriteParts(dir + "/Arch.zip", 60, MixedBytes(120, 4)), 0);
    EXPECT_TRUE(std::filesystem::exists(dir + "/Arch.part001.zip"));
    EXPECT_TRUE(std::filesystem::exists(dir + "/Arch.part003.zip"));
    EXPECT_FALSE(std::filesystem::exists(tmp / "a.d.part001.zip"));
    Bytes back;
    EXPECT_EQ(ReadParts(dir + "/Arch.part001.zip", back, 120), 0);
    EXPECT_EQ(back, MixedBytes(120, 4));
}

TEST_F(Cutter, PartHeadersAreCheckedAndLittleEndianPartsRead)
{
    const Bytes data = BytesOf("0123456789");
    WriteFile(tmp / "LE.zip", Part(platform::FourCC("VFSC"), 77, 1, data, true));
    Bytes back;
    EXPECT_EQ(ReadParts(tmp / "LE.zip", back, 10), 0);
    EXPECT_EQ(back, data);

    WriteFile(tmp / "Id.part001.zip", Part(platform::FourCC("VFSC"), 5, 1, data));
    WriteFile(tmp / "Id.part002.zip", Part(platform::FourCC("VFSC"), 6, 2, data));
    EXPECT_EQ(ReadParts(tmp / "Id.part001.zip", back, 20), kArchiveErrBadData);
    EXPECT_EQ(back, data);

    WriteFile(tmp / "No.part001.zip", Part(platform::FourCC("VFSC"), 5, 1, data));
    WriteFile(tmp / "No.part002.zip", Part(platform::FourCC("VFSC"), 5, 3, data));
    EXPECT_EQ(ReadParts(tmp / "No.part001.zip", back, 20), kArchiveErrBadData);

    WriteFile(tmp / "Bad.zip", Part(platform::FourCC("VFSX"), 5, 1, data));
    EXPECT_EQ(ReadParts(tmp / "Bad.zip", back, 5), kArchiveErrBadData);
}

TEST_F(Cutter, AMissingPartIsAskedForAndACancelledQuestionIs208)
{
    const Bytes data = MixedBytes(250, 5);
    ASSERT_EQ(WriteParts(tmp / "Arch.zip", 100, data), 0);
    std::filesystem::rename(tmp / "Arch.part002.zip", tmp / "elsewhere.bin");
    Bytes back;
    EXPECT_EQ(ReadParts(tmp / "Arch.part001.zip", back, 250), kFileErrMissing);
    EXPECT_EQ(back.size(), 88u);

    platform::PushFileDialogAnswer(tmp / "elsewhere.bin");
    EXPECT_EQ(ReadParts(tmp / "Arch.part001.zip", back, 250), 0);
    EXPECT_EQ(back, data);

    // A cancelled scripted answer is no file at all, not a file of no name.
    platform::PushFileDialogAnswer(platform::FileDialogAnswer{platform::FileDialogAnswer::Kind::Cancel, {}, 0, {}});
    EXPECT_EQ(LocateMissingPart(files_testing::Text("Arch.part002.zip")), nullptr);
    // Nor is a path that names no place.
    platform::PushFileDialogAnswer(std::string("/tmp/../elsewhere.bin"));
    EXPECT_EQ(LocateMissingPart(files_testing::Text("Arch.part002.zip")), nullptr);

    // The dialog above this layer plugs in through the hook.
    static std::string asked;
    PartDialogHooks hooks;
    hooks.locatePart = [](const VString& name) -> VFile* {
        asked = ToUtf8(name);
        return nullptr;
    };
    SetPartDialogHooks(hooks);
    EXPECT_EQ(ReadParts(tmp / "Arch.part001.zip", back, 250), kFileErrMissing);
    EXPECT_EQ(asked, "Arch.part002.zip");
}

TEST_F(Cutter, ReopeningResumesAndWrongDirectionsAreRefused)
{
    const Bytes data = MixedBytes(250, 6);
    ASSERT_EQ(WriteParts(tmp / "Arch.zip", 100, data), 0);
    VFile file(ColonOf(tmp / "Arch.part001.zip"));
    VFileStreamCutter cutter(&file, 0);
    uint32_t n = 1;
    uint8_t byte = 0;
    EXPECT_EQ(cutter.GetData(&byte, &n), kStreamNotOpen);
    EXPECT_EQ(cutter.PutData(&byte, 1), kStreamNotOpen);
    EXPECT_EQ(cutter.CloseReading(), kStreamNotOpen);
    ASSERT_EQ(cutter.OpenReading(), 0);
    EXPECT_EQ(cutter.OpenReading(), kStreamAlreadyOpen);
    EXPECT_EQ(cutter.PutData(&byte, 1), kStreamOpenForReading);
    EXPECT_EQ(cutter.CloseWriting(1), kStreamOpenForReading);
    Bytes first, rest;
    ASSERT_EQ(ReadAll(cutter, first, 130, 1000), 0);
    ASSERT_EQ(cutter.CloseReading(), 0);
    ASSERT_EQ(cutter.OpenReading(), 0);
    ASSERT_EQ(ReadAll(cutter, rest, 120, 1000), 0);
    first.insert(first.end(), rest.begin(), rest.end());
    EXPECT_EQ(first, data);

    VFile out(ColonOf(tmp / "W.zip"));
    VFileStreamCutter writer(&out, 0);
    ASSERT_EQ(writer.OpenWriting(), 0);
    EXPECT_EQ(writer.GetData(&byte, &n), kStreamOpenForWriting);
    EXPECT_EQ(writer.CloseReading(), kStreamOpenForWriting);
    EXPECT_EQ(writer.GetSize(), uint32_t(-2));
    EXPECT_EQ(writer.FindLong(1), 0u);
    writer.PutData("abc", 3);
    ASSERT_EQ(writer.CloseWriting(1), 0);
    // Writing again appends behind what was written.
    ASSERT_EQ(writer.OpenWriting(), 0);
    writer.PutData("def", 3);
    ASSERT_EQ(writer.CloseWriting(1), 0);
    EXPECT_EQ(ReadFile(tmp / "W.zip").size(), 18u);
}

TEST_F(Cutter, TinyPartsStillCarryDataAndAFailedWriteIsNotAFineClose)
{
    // A maximum that leaves no room behind the header would make empty
    // parts without end: every part carries at least one byte.
    ASSERT_EQ(WriteParts(tmp / "T.zip", 5, BytesOf("abc")), 0);
    EXPECT_EQ(ReadFile(tmp / "T.part001.zip").size(), 13u);
    EXPECT_EQ(ReadFile(tmp / "T.part003.zip").size(), 13u);
    Bytes back;
    EXPECT_EQ(ReadParts(tmp / "T.part001.zip", back, 3), 0);
    EXPECT_EQ(back, BytesOf("abc"));

    VFile file(ColonOf(tmp / "Full.zip"));
    VFileStreamCutter cutter(&file, 100);
    ASSERT_EQ(cutter.OpenWriting(), 0);
    platform::ScopedFault full(platform::FaultKind::DiskFull, 0, -1);
    const Bytes data = MixedBytes(250, 9);
    EXPECT_NE(cutter.PutData(data.data(), uint32_t(data.size())), 0);
    EXPECT_NE(cutter.CloseWriting(1), 0);
}

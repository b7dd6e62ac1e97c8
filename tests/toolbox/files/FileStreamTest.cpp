#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/core/Faults.h"
#include "tests/toolbox/files/FileTestSupport.h"
#include "toolbox/files/VFile.h"
#include "toolbox/files/VFileStream.h"

using namespace files_testing;

namespace {

std::string Bytes(size_t count)
{
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i) bytes[i] = char('a' + i % 23);
    return bytes;
}

}  // namespace

TEST(FileStream, ReadingPastTheEndGivesWhatIsThere)
{
    TempFolder dir;
    WriteText(dir / "f", Bytes(100));
    VFile file(ColonOf(dir / "f"), 1);
    VFileStream stream(&file);
    ASSERT_EQ(stream.OpenReading(), 0);
    EXPECT_EQ(stream.GetBufferCapacity(), 100u);
    EXPECT_EQ(file.GetStatus(), kPathOpenRead);
    EXPECT_EQ(stream.OpenReading(), kStreamAlreadyOpen);
    EXPECT_EQ(stream.OpenWriting(), kStreamAlreadyOpen);

    char buffer[10];
    uint32_t count = 10;
    ASSERT_EQ(stream.SetPos(95), 0);
    EXPECT_EQ(stream.GetData(buffer, &count), kStreamEndOfData);
    EXPECT_EQ(count, 5u);
    EXPECT_EQ(std::string(buffer, 5), Bytes(100).substr(95));
    EXPECT_EQ(stream.GetPos(), 100);
    count = 1;
    EXPECT_EQ(stream.GetData(buffer, &count), kStreamEndOfData);  // sticky
    EXPECT_EQ(count, 0u);
    ASSERT_EQ(stream.SetPos(0), 0);  // back inside clears it
    count = 4;
    EXPECT_EQ(stream.GetData(buffer, &count), 0);
    EXPECT_EQ(std::string(buffer, 4), "abcd");
    EXPECT_EQ(stream.PutData("x", 1), kStreamOpenForReading);

    // A read larger than the buffer goes straight to the file.
    std::vector<char> big(150);
    count = 150;
    EXPECT_EQ(stream.GetData(big.data(), &count), kStreamEndOfData);
    EXPECT_EQ(count, 96u);
    EXPECT_EQ(stream.CloseReading(), 0);
    EXPECT_EQ(file.GetStatus(), kPathExists);  // closed by the stream that opened it
    EXPECT_EQ(stream.GetPos(), -1);

    WriteText(dir / "empty", "");
    VFile empty(ColonOf(dir / "empty"), 1);
    VFileStream emptyStream(&empty);
    EXPECT_EQ(emptyStream.OpenReading(), 0);
    EXPECT_EQ(emptyStream.GetBufferCapacity(), 0u);
    count = 1;
    EXPECT_EQ(emptyStream.GetData(buffer, &count), kStreamEndOfData);
}

TEST(FileStream, WritingThenCuttingToTheWrittenSize)
{
    TempFolder dir;
    WriteText(dir / "f", "");
    VFile file(ColonOf(dir / "f"), 1);
    VFileStream writer(&file);
    ASSERT_EQ(writer.OpenWriting(), 0);
    ASSERT_EQ(writer.PutData("0123456789", 10), 0);
    EXPECT_EQ(writer.GetPos(), 10);
    uint32_t count = 1;
    char c;
    EXPECT_EQ(writer.GetData(&c, &count), kStreamOpenForWriting);
    EXPECT_EQ(writer.CloseWriting(true), 0);
    EXPECT_EQ(ReadText(dir / "f"), "0123456789");
    EXPECT_EQ(file.GetWriter(), nullptr);

    // Opened read-only by the caller: the stream may not write.
    ASSERT_EQ(file.Open(kAccessRead), 0);
    EXPECT_EQ(writer.OpenWriting(), kFileErrNotWritable);
    file.Close();

    // Rewriting overwrites in place; a position past the end grows the
    // file and the gap reads as zeros.
    ASSERT_EQ(writer.OpenWriting(), 0);
    EXPECT_EQ(writer.GetSize(), 10u);
    ASSERT_EQ(writer.PutData("AB", 2), 0);
    ASSERT_EQ(writer.SetPos(20), 0);
    ASSERT_EQ(writer.PutData("z", 1), 0);
    ASSERT_EQ(writer.CloseWriting(false), 0);
    EXPECT_EQ(ReadText(dir / "f"), std::string("AB23456789") + std::string(10, '\0') + "z");

    // Cutting: the buffered bytes past the new size go too.
    ASSERT_EQ(writer.OpenWriting(), 0);
    ASSERT_EQ(writer.PutData("abcdef", 6), 0);
    ASSERT_EQ(writer.SetSize(4), 0);
    ASSERT_EQ(writer.CloseWriting(true), 0);
    EXPECT_EQ(ReadText(dir / "f"), "abcd");

    // Growing on a full disk fails, and the failure stays the stream's.
    ASSERT_EQ(writer.OpenWriting(), 0);
    {
        platform::ScopedFault diskFull(platform::FaultKind::DiskFull, 0);
        EXPECT_EQ(writer.SetSize(1000), kFileErrDiskFull);
    }
    EXPECT_EQ(writer.CloseWriting(true), kFileErrDiskFull);
    EXPECT_EQ(ReadText(dir / "f"), "abcd");
}

TEST(FileStream, AReaderSeesAWritersUnflushedBytes)
{
    TempFolder dir;
    WriteText(dir / "f", "");
    VFile file(ColonOf(dir / "f"), 1);
    ASSERT_EQ(file.Open(kAccessReadWrite), 0);
    VFileStream writer(&file), reader(&file), second(&file);
    ASSERT_EQ(writer.OpenWriting(), 0);
    EXPECT_EQ(second.OpenWriting(), kFileErrBusy);
    ASSERT_EQ(writer.PutData("hello", 5), 0);
    EXPECT_EQ(file.GetSize(), 5u);  // counts the buffered bytes
    ASSERT_EQ(reader.OpenReading(), 0);
    char buffer[5];
    uint32_t count = 5;
    EXPECT_EQ(reader.GetData(buffer, &count), 0);
    EXPECT_EQ(std::string(buffer, count), "hello");
    EXPECT_EQ(reader.CloseReading(), 0);
    EXPECT_EQ(writer.CloseWriting(false), 0);
    EXPECT_EQ(file.GetStatus(), kPathOpenBase + kAccessReadWrite);  // the caller's to close
    file.Close();
}

TEST(FileStream, AReaderDoesNotTakeAFailedWritersGapForData)
{
    TempFolder dir;
    WriteText(dir / "f", "");
    VFile file(ColonOf(dir / "f"), 1);
    ASSERT_EQ(file.Open(kAccessReadWrite), 0);
    VFileStream writer(&file), reader(&file);
    ASSERT_EQ(writer.OpenWriting(), 0);
    ASSERT_EQ(writer.PutData("hello", 5), 0);  // buffered
    ASSERT_EQ(reader.OpenReading(), 0);
    char buffer[5] = {'?', '?', '?', '?', '?'};
    uint32_t count = 5;
    {
        platform::ScopedFault diskFull(platform::FaultKind::DiskFull, 0);
        EXPECT_EQ(reader.GetData(buffer, &count), kFileErrDiskFull);
    }
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(writer.CloseWriting(false), kFileErrDiskFull);
    reader.CloseReading();
    file.Close();

    // Reading the file itself: the old bytes under an unwritten change are
    // not handed out as if they were current.
    WriteText(dir / "g", "abc");
    VFile other(ColonOf(dir / "g"), 1);
    ASSERT_EQ(other.Open(kAccessReadWrite), 0);
    VFileStream changer(&other);
    ASSERT_EQ(changer.OpenWriting(), 0);
    ASSERT_EQ(changer.PutData("XYZ", 3), 0);
    count = 3;
    {
        platform::ScopedFault diskFull(platform::FaultKind::DiskFull, 0);
        EXPECT_EQ(other.GetData(buffer, count, 0), kFileErrDiskFull);
    }
    EXPECT_EQ(count, 0u);
    changer.CloseWriting(false);
    other.Close();
}

TEST(FileStream, FindsValuesAcrossTheBufferEdge)
{
    TempFolder dir;
    std::string bytes(70000, '\0');
    bytes[65535] = '\x12';
    bytes[65536] = '\x34';
    bytes[69000] = '\x7F';
    WriteText(dir / "f", bytes);
    VFile file(ColonOf(dir / "f"), 1);
    VFileStream stream(&file);
    ASSERT_EQ(stream.OpenReading(), 0);
    char first;
    uint32_t count = 1;
    ASSERT_EQ(stream.GetData(&first, &count), 0);  // fills the 64 KB buffer
    int16_t word;
    std::memcpy(&word, "\x12\x34", 2);
    EXPECT_EQ(stream.FindWord(word), 65536u);  // 1-based offset of 65535
    EXPECT_EQ(stream.FindByte('\x7F'), 69001u);
    EXPECT_EQ(stream.FindLong(0x7F7F7F7F), 0u);
    EXPECT_EQ(stream.GetPos(), 1);
    stream.CloseReading();
}

TEST(FileStream, AFailedFlushMakesTheCloseFail)
{
    TempFolder dir;
    WriteText(dir / "f", "");
    VFile file(ColonOf(dir / "f"), 1);
    VFileStream writer(&file);
    ASSERT_EQ(writer.OpenWriting(), 0);
    ASSERT_EQ(writer.PutData("data", 4), 0);  // buffered
    {
        platform::ScopedFault diskFull(platform::FaultKind::DiskFull, 0);
        EXPECT_EQ(writer.CloseWriting(true), kFileErrDiskFull);
    }
    EXPECT_EQ(file.GetStatus(), kPathExists);
    EXPECT_EQ(file.GetWriter(), nullptr);
    VFileErrorStack& errors = writer.GetFileErrorStack();
    ASSERT_GE(errors.GetCount(), 1);
    EXPECT_EQ(ToUtf8(errors.GetFileError(errors.GetCount())->GetFullDescription()), "OSErr =-34");
}

TEST(FileStream, AWriterDestroyedOpenFlushesAndDetaches)
{
    TempFolder dir;
    WriteText(dir / "f", "");
    VFile file(ColonOf(dir / "f"), 1);
    {
        auto* writer = new VFileStream(&file);
        ASSERT_EQ(writer->OpenWriting(), 0);
        ASSERT_EQ(writer->PutData("kept", 4), 0);
        delete writer;
    }
    EXPECT_EQ(file.GetWriter(), nullptr);
    EXPECT_EQ(file.GetStatus(), kPathExists);
    EXPECT_EQ(ReadText(dir / "f"), "kept");
    // The file is usable afterwards: nothing points at freed memory.
    ASSERT_EQ(file.Open(kAccessRead), 0);
    char buffer[4];
    uint32_t count = 4;
    EXPECT_EQ(file.GetData(buffer, &count), 0);
    file.Close();
}

TEST(FileStream, TypedValuesRoundTripThroughTheBuffer)
{
    TempFolder dir;
    WriteText(dir / "f", "");
    VFile file(ColonOf(dir / "f"), 1);
    VFileStream stream(&file);
    ASSERT_EQ(stream.OpenWriting(), 0);
    for (int32_t i = 0; i < 40000; ++i) ASSERT_EQ(stream.PutLong(i), 0);  // spans three buffers
    ASSERT_EQ(stream.CloseWriting(true), 0);
    ASSERT_EQ(stream.OpenReading(), 0);
    EXPECT_EQ(stream.GetSize(), 160000u);
    for (int32_t i = 0; i < 40000; ++i) ASSERT_EQ(stream.GetLong(), i);
    EXPECT_EQ(stream.CloseReading(), 0);
}

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/core/Faults.h"
#include "platform/core/Memory.h"
#include "toolbox/foundation/VHandleStream.h"
#include "toolbox/foundation/VMacString.h"
#include "toolbox/foundation/VMemoryMgr.h"
#include "toolbox/foundation/VPtrStream.h"
#include "toolbox/foundation/VValue.h"

namespace {

std::vector<uint8_t> Bytes(char** h)
{
    const auto* p = reinterpret_cast<const uint8_t*>(*h);
    return std::vector<uint8_t>(p, p + platform::GetHandleSize(h));
}

// Writes with the given kinds into a fresh handle and returns its bytes.
template <typename Write>
std::vector<uint8_t> Written(CpuKind data, CpuKind host, Write write)
{
    char** h = nullptr;
    std::vector<uint8_t> bytes;
    {
        VHandleStream stream(&h);
        stream.SetCpuKind(data, host);
        EXPECT_EQ(stream.OpenWriting(), 0);
        write(stream);
        EXPECT_EQ(stream.CloseWriting(true), 0);
        bytes = Bytes(h);
    }
    platform::DisposeHandle(h);
    return bytes;
}

using ByteList = std::vector<uint8_t>;

TEST(Stream, NewStreamIsBigEndianDataOnThisHost)
{
    VHandleStream stream(nullptr);
    EXPECT_EQ(stream.GetDataKind(), kCpuPowerPC);
    EXPECT_EQ(stream.GetHostKind(), kCpuIntel);
    stream.SetCpuKind(kCpuSelectIntel, kCpuUnchanged);
    EXPECT_EQ(stream.GetDataKind(), kCpuIntel);
    EXPECT_EQ(stream.GetHostKind(), kCpuIntel);
    stream.SetCpuKind(kCpuSelectPowerPC, kCpu68K);
    EXPECT_EQ(stream.GetDataKind(), kCpuPowerPC);
    EXPECT_EQ(stream.GetHostKind(), kCpu68K);
}

TEST(Stream, WordsAndLongsFollowTheKinds)
{
    auto putLong = [](VStream& s) { s.PutLong(0x01020304); };
    EXPECT_EQ(Written(1, 2, putLong), (ByteList{1, 2, 3, 4}));
    EXPECT_EQ(Written(0, 2, putLong), (ByteList{1, 2, 3, 4}));
    EXPECT_EQ(Written(2, 2, putLong), (ByteList{4, 3, 2, 1}));
    // Host kind 1 means values in memory are big-endian already.
    EXPECT_EQ(Written(1, 1, putLong), (ByteList{4, 3, 2, 1}));
    EXPECT_EQ(Written(2, 1, putLong), (ByteList{1, 2, 3, 4}));

    const int16_t words[2] = {0x0102, 0x0304};
    const int32_t longs[1] = {0x0A0B0C0D};
    auto arrays = [&](VStream& s) {
        s.PutWords(words, 2);
        s.PutLongs(longs, 1);
        s << int16_t(0x0506);
    };
    EXPECT_EQ(Written(1, 2, arrays), (ByteList{1, 2, 3, 4, 0x0A, 0x0B, 0x0C, 0x0D, 5, 6}));
    EXPECT_EQ(Written(2, 2, arrays), (ByteList{2, 1, 4, 3, 0x0D, 0x0C, 0x0B, 0x0A, 6, 5}));
    EXPECT_EQ(words[0], 0x0102);  // the caller's array is left alone
}

TEST(Stream, RealsInTheThreeForms)
{
    auto putReal = [](VStream& s) { EXPECT_EQ(s.PutReal(1.5), 0); };
    EXPECT_EQ(Written(0, 2, putReal), (ByteList{0x3F, 0xFF, 0xC0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Written(1, 2, putReal), (ByteList{0x3F, 0xF8, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Written(2, 2, putReal), (ByteList{0, 0, 0, 0, 0, 0, 0xF8, 0x3F}));

    for (CpuKind kind : {kCpu68K, kCpuPowerPC, kCpuIntel}) {
        char** h = nullptr;
        VHandleStream stream(&h);
        stream.SetCpuKind(kind, kCpuUnchanged);
        stream.OpenWriting();
        stream << 1.5 << -1234.0625;
        stream.PutLong(7);
        stream.CloseWriting(true);
        ASSERT_EQ(stream.OpenReading(), 0);
        EXPECT_EQ(stream.GetReal(), 1.5) << kind;
        EXPECT_EQ(stream.GetReal(), -1234.0625) << kind;
        EXPECT_EQ(stream.GetLong(), 7);
        EXPECT_EQ(stream.GetReal(), 0.0);  // past the end
        stream.CloseReading();
        platform::DisposeHandle(h);
    }
}

TEST(HandleStream, ShortReadsStopUntilThePositionIsSet)
{
    char two[] = {1, 2};
    char** h = gMemory->NewHandle(two, 2);
    VHandleStream stream(&h);
    ASSERT_EQ(stream.OpenReading(), 0);
    EXPECT_EQ(stream.GetLong(), 0);
    int32_t value = 99;
    EXPECT_EQ(stream.GetLong(value), kStreamEndOfData);
    EXPECT_EQ(value, 99);
    EXPECT_EQ(stream.GetByte(), 0);
    EXPECT_EQ(stream.SetPos(0), 0);
    EXPECT_EQ(stream.GetByte(), 1);
    EXPECT_EQ(stream.SetPosByOffset(uint32_t(-1)), 0);  // back one byte
    EXPECT_EQ(stream.GetPos(), 0);
    EXPECT_EQ(stream.PutByte(3), kStreamOpenForReading);
    EXPECT_EQ(stream.CloseWriting(true), kStreamOpenForReading);
    EXPECT_EQ(stream.OpenReading(), kStreamAlreadyOpen);
    EXPECT_EQ(stream.CloseReading(), 0);
    EXPECT_EQ(stream.GetPos(), -1);
    EXPECT_EQ(stream.GetByte(), 0);
    EXPECT_FALSE(gMemory->IsLocked(h));
    gMemory->DisposeHandle(h);
}

TEST(HandleStream, AWriteThatCannotGrowTheHandleIsAnError)
{
    char** h = nullptr;
    VHandleStream stream(&h);
    ASSERT_EQ(stream.OpenWriting(), 0);
    EXPECT_EQ(stream.PutByte(1), 0);
    EXPECT_EQ(stream.SetPos(0x7FFFFF00u), 0);  // past what a handle may hold
    EXPECT_EQ(stream.PutData("x", 1), kStreamCannotGrow);
    EXPECT_EQ(stream.PutData("x", 1), kStreamCannotGrow) << "the error stands";
    stream.CloseWriting(false);
    gMemory->DisposeHandle(h);
}

TEST(HandleStream, ArraysDeliverWhatRemains)
{
    const char six[] = {0, 1, 0, 2, 0, 3};
    char** h = gMemory->NewHandle(const_cast<char*>(six), 6);
    VHandleStream stream(&h);
    stream.OpenReading();
    int16_t words[5] = {};
    int32_t count = 5;
    EXPECT_EQ(stream.GetWords(words, &count), kStreamEndOfData);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(words[2], 3);
    // Data in the host's own order is not swapped.
    stream.SetCpuKind(kCpuIntel, kCpuIntel);
    stream.SetPos(0);
    count = 3;
    EXPECT_EQ(stream.GetWords(words, &count), 0);
    EXPECT_EQ(words[0], 0x0100);
    EXPECT_EQ(words[2], 0x0300);
    stream.SetCpuKind(kCpuPowerPC, kCpuIntel);
    stream.SetPos(0);
    char bytes[10];
    int32_t n = 10;
    EXPECT_EQ(stream.GetBytes(bytes, &n), kStreamEndOfData);
    EXPECT_EQ(n, 6);
    n = 1;
    EXPECT_EQ(stream.GetBytes(bytes, &n), kStreamEndOfData);
    EXPECT_EQ(n, 0);
    stream.SetPos(100);
    EXPECT_EQ(stream.GetByte(), 0);
    stream.SetPos(1);
    EXPECT_EQ(stream.FindByte(3), 6u);
    EXPECT_EQ(stream.FindWord(int16_t(0x0300)), 5u);  // memory order
    stream.SetPos(3);
    EXPECT_EQ(stream.FindLong(0), 0u);  // fewer than 4 bytes
    stream.CloseReading();
    gMemory->DisposeHandle(h);
}

TEST(HandleStream, WritingSizesTheHandleToTheBytesWritten)
{
    char** h = gMemory->NewHandleClear(100, 0);
    {
        VHandleStream stream(&h);
        ASSERT_EQ(stream.OpenWriting(), 0);
        EXPECT_EQ(stream.GetSize(), 0u);
        EXPECT_EQ(stream.PutBytes("0123456789", 10), 0);
        EXPECT_EQ(stream.CloseWriting(true), 0);
    }
    EXPECT_EQ(platform::GetHandleSize(h), 10);
    EXPECT_EQ(std::memcmp(*h, "0123456789", 10), 0);
    gMemory->DisposeHandle(h);

    h = nullptr;
    VHandleStream stream(&h);
    ASSERT_NE(h, nullptr);
    stream.OpenWriting();
    stream.PutByte('x');
    EXPECT_EQ(platform::GetHandleSize(h), 1025);
    stream.SetPos(4);  // a gap reads back as zeros
    stream.PutByte('y');
    stream.CloseWriting(true);
    EXPECT_EQ(Bytes(h), (ByteList{'x', 0, 0, 0, 'y'}));
    stream.OpenWriting();
    stream.PutHexBytes("\x0F\xA0", 2);
    stream.CloseWriting(true);
    EXPECT_EQ(std::string(*h, 4), "0FA0");
    EXPECT_FALSE(gMemory->IsLocked(h));
    gMemory->DisposeHandle(h);
}

TEST(HandleStream, FailedGrowthIsReportedAndTheHandleReleased)
{
    char** h = nullptr;
    VHandleStream stream(&h);
    stream.OpenWriting();
    stream.PutLong(1);
    stream.SetCpuKind(kCpuSelectIntel, kCpuSelectPowerPC);
    const int32_t longs[2] = {1, 2};
    {
        platform::ScopedFault fault(platform::FaultKind::Allocation, 0, -1);
        // The swap copy cannot be had: nothing is written.
        EXPECT_EQ(stream.PutLongs(longs, 2), kStreamCannotGrow);
    }
    EXPECT_EQ(stream.GetSize(), 4u);
    stream.SetPos(4);
    {
        platform::ScopedFault fault(platform::FaultKind::Allocation, 0, -1);
        std::vector<char> big(4000, 'z');
        EXPECT_EQ(stream.PutBytes(big.data(), int32_t(big.size())), kStreamCannotGrow);
        EXPECT_EQ(stream.PutByte(1), kStreamCannotGrow);  // sticky
    }
    EXPECT_EQ(stream.CloseWriting(true), kStreamCannotGrow);
    EXPECT_FALSE(gMemory->IsLocked(h));
    EXPECT_EQ(stream.OpenWriting(), 0);  // usable again
    stream.CloseWriting(false);
    gMemory->DisposeHandle(h);

    platform::HLock(h = gMemory->NewHandle(uint32_t(4), 0));
    VHandleStream locked(&h);
    EXPECT_EQ(locked.OpenWriting(), kStreamHandleLocked);
    platform::HUnlock(h);
    gMemory->DisposeHandle(h);

    platform::ScopedFault fault(platform::FaultKind::Allocation, 0, -1);
    VHandleStream noHandle(nullptr);
    EXPECT_EQ(noHandle.OpenWriting(), kStreamNoHandle);
    EXPECT_EQ(noHandle.OpenReading(), kStreamNoHandle);
}

TEST(PtrStream, ReadsOnlyWithinItsBuffer)
{
    char data[] = {1, 2, 3, 4, 5};
    VPtrStream stream(data, 5);
    EXPECT_EQ(stream.GetByte(), 0);  // not open
    EXPECT_EQ(stream.GetPos(), -1);
    EXPECT_EQ(VPtrStream(nullptr, 5).GetSize(), 0u);  // no buffer, no bytes
    char some[4] = {};
    int32_t asked = 3;
    EXPECT_NE(stream.GetBytes(some, &asked), 0);
    EXPECT_EQ(asked, 0);
    ASSERT_EQ(stream.OpenReading(), 0);
    EXPECT_EQ(stream.PutByte(9), kStreamNotSupported);
    stream.SetPos(0);
    EXPECT_EQ(stream.OpenWriting(), kStreamNotSupported);
    EXPECT_EQ(stream.SetSize(1), kStreamNotSupported);
    EXPECT_EQ(stream.CloseWriting(true), kStreamNotSupported);
    EXPECT_EQ(stream.SetPos(6), kStreamEndOfData);
    EXPECT_EQ(stream.SetPos(5), 0);
    EXPECT_EQ(stream.GetByte(), 0);
    EXPECT_EQ(stream.GetPos(), 5);  // the end reached is no error of position
    stream.SetPos(1);
    EXPECT_EQ(stream.GetWord(), 0x0203);
    uint16_t word = 0;
    EXPECT_EQ(stream.GetWord(word), 0);
    EXPECT_EQ(word, 0x0405);
    stream.SetPos(3);
    EXPECT_EQ(stream.FindByte(5), 5u);
    int32_t present, absent;
    const char bytesPresent[4] = {2, 3, 4, 5}, bytesAbsent[4] = {2, 3, 4, 9};
    std::memcpy(&present, bytesPresent, 4);
    std::memcpy(&absent, bytesAbsent, 4);
    stream.SetPos(0);
    EXPECT_EQ(stream.FindLong(present), 2u);
    stream.SetPos(0);
    EXPECT_EQ(stream.FindLong(absent), 0u);
    // Past the end: what was there, then nothing more while the error stands.
    stream.SetPos(3);
    char tail[4] = {};
    int32_t wanted = 4;
    EXPECT_EQ(stream.GetBytes(tail, &wanted), kStreamEndOfData);
    EXPECT_EQ(wanted, 2);
    uint32_t more = 4;
    EXPECT_EQ(stream.GetData(tail, &more), kStreamEndOfData);
    EXPECT_EQ(more, 0u);
    EXPECT_EQ(stream.CloseReading(), 0);
    EXPECT_EQ(data[0], 1);
}

class Monitor : public VStreamMonitor {
public:
    bool Query(uint32_t count) override
    {
        seen.push_back(count);
        return count > 100;
    }
    std::vector<uint32_t> seen;
};

TEST(Stream, MonitorSeesEveryTransferAndMayStopIt)
{
    char** h = nullptr;
    VHandleStream stream(&h);
    Monitor monitor;
    stream.SetMonitor(&monitor);
    stream.SetCpuKind(kCpu68K, kCpuUnchanged);
    stream.OpenWriting();
    stream.PutWord(1);
    stream.PutReal(2.0);
    stream.PutHexBytes("ab", 2);
    std::vector<char> big(101);
    EXPECT_EQ(stream.PutBytes(big.data(), 101), kStreamStopped);
    EXPECT_EQ(monitor.seen, (std::vector<uint32_t>{2, 10, 4, 101}));
    EXPECT_EQ(stream.GetSize(), 16u);
    stream.CloseWriting(true);
    gMemory->DisposeHandle(h);

    // A stopped reading finds nothing more.
    std::vector<char> text(200, 0);
    text[150] = 'Z';
    h = gMemory->NewHandle(text.data(), 200);
    VHandleStream reading(&h);
    reading.SetMonitor(&monitor);
    reading.OpenReading();
    EXPECT_EQ(reading.FindByte('Z'), 151u);
    int32_t n = 101;
    EXPECT_EQ(reading.GetBytes(big.data(), &n), kStreamStopped);
    EXPECT_EQ(reading.FindByte('Z'), 0u);
    reading.CloseReading();
    gMemory->DisposeHandle(h);
}

class Number : public VValue {
public:
    int32_t ReadFromStream(VStream* stream, int32_t) override { return stream->GetLong(value); }
    int32_t WriteToStream(VStream* stream, int32_t tag) const override
    {
        if (tag == kValueTag) stream->PutLong(3);
        return stream->PutLong(value);
    }
    VValue* Clone() const override { return nullptr; }
    bool CanBeEvaluated() const override { return true; }
    ValueKind GetValueKind() const override { return kValueLong; }
    int32_t CompareTo(const VValue&, uint8_t, int32_t) const override { return 0; }
    int32_t value = 0;
};

TEST(Stream, ObjectsThroughHandlesAndPointers)
{
    Number n;
    n.value = 0x11223344;
    char** h = nullptr;
    EXPECT_EQ(n.WriteToHandle(&h, kValueTag), 0);
    EXPECT_EQ(Bytes(h), (ByteList{0, 0, 0, 3, 0x11, 0x22, 0x33, 0x44}));

    Number m;
    VHandleStream stream(&h);
    stream.OpenReading();
    EXPECT_EQ(stream.GetLong(), 3);
    EXPECT_EQ(stream.GetValue(m), 0);
    EXPECT_EQ(m.value, 0x11223344);
    EXPECT_EQ(stream.GetValue(m), kStreamEndOfData);
    stream.CloseReading();

    char bytes[] = {0, 0, 1, 0};
    EXPECT_EQ(m.ReadFromPtr(bytes, 4, 0), 0);
    EXPECT_EQ(m.value, 256);
    EXPECT_EQ(m.ReadFromHandle(h, 0), 0);
    EXPECT_EQ(m.value, 3);
    EXPECT_EQ(m.ReadFromPtr(bytes, 2, 0), kStreamEndOfData);

    VObject plain;
    EXPECT_EQ(plain.ReadFromHandle(h, 0), -2);
    EXPECT_EQ(plain.ReadFromPtr(bytes, 4, 0), -2);
    EXPECT_EQ(plain.WriteToHandle(&h, 0), -2);
    EXPECT_EQ(plain.ReadFromHandle(nullptr, 0), -2);
    gMemory->DisposeHandle(h);
}

TEST(Stream, HexDigitsAndErrorStack)
{
    EXPECT_EQ(HexToByte('0'), 0);
    EXPECT_EQ(HexToByte('f'), 15);
    EXPECT_EQ(HexToByte('B'), 11);
    EXPECT_EQ(HexToByte('g'), -1);
    EXPECT_EQ(HexToByte(':'), -1);

    VPtrStream stream(nullptr, 0);
    VFileErrorStack& errors = stream.GetFileErrorStack();
    EXPECT_EQ(errors.GetCount(), 0);
    VFileError error;
    error.SetOSError(uint32_t(-43));
    error.SetVError(208);
    VMacStr<40> text;
    text.FromMacCString(reinterpret_cast<const uint8_t*>("OSErr =-43"));
    error.SetFullDescription(text);
    errors.Add(error);
    errors.Add(new VFileError);
    errors.Add(static_cast<VFileError*>(nullptr));
    ASSERT_EQ(errors.GetCount(), 2);
    EXPECT_EQ(errors.GetFileError(1)->GetVError(), 208u);
    EXPECT_EQ(errors.GetFileError(1)->GetFullDescription().CompareTo(text, true), 0);
    EXPECT_EQ(errors.GetFileError(2)->GetVError(), 0u);  // the last one
    EXPECT_EQ(errors.GetFileError(0), nullptr);
    EXPECT_EQ(errors.GetFileError(3), nullptr);
}

}  // namespace

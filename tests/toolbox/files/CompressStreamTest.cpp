#include <gtest/gtest.h>

#include "kernel/hostentry/HostEntry.h"
#include "tests/toolbox/files/ArchiveTestSupport.h"
#include "toolbox/foundation/VEngine.h"

using namespace archive_testing;

namespace {

void DecliningHost(int16_t, parm* block) { block->result304 = 0; }

// Runs the test body with the host given, then puts the previous one back.
class HostScope {
public:
    explicit HostScope(HostEntryProc host) : saved_(gCallQz) { gCallQz = host; }
    ~HostScope() { gCallQz = saved_; }

private:
    HostEntryProc saved_;
};

Bytes Compress(const Bytes& plain)
{
    MemoryStream inner;
    VCompressStream s(&inner, 0);
    EXPECT_EQ(s.OpenWriting(), 0);
    EXPECT_EQ(s.PutData(plain.data(), uint32_t(plain.size())), 0);
    EXPECT_EQ(s.CloseWriting(1), 0);
    return inner.data;
}

int16_t Expand(const Bytes& stored, Bytes& out, size_t n, uint32_t piece = 100000)
{
    MemoryStream inner;
    inner.data = stored;
    VCompressStream s(&inner, 0);
    EXPECT_EQ(s.OpenReading(), 0);
    return ReadAll(s, out, n, piece);
}

Bytes Header(uint32_t stored, uint32_t plain)
{
    Bytes h(48, 0);
    h[0] = 'C', h[1] = 'o', h[2] = 'm', h[3] = 'p';
    for (int i = 0; i < 4; ++i) {
        h[8 + i] = uint8_t(stored >> (24 - 8 * i));
        h[12 + i] = uint8_t(plain >> (24 - 8 * i));
    }
    return h;
}

}  // namespace

TEST(CompressStream, BlocksOfAHostThatDeclinesAreStoredWithTheirDigests)
{
    HostScope host(DecliningHost);
    const Bytes plain = MixedBytes(70000, 1);
    const Bytes out = Compress(plain);
    ASSERT_EQ(out.size(), 70144u);
    const Bytes head(out.begin(), out.begin() + 16);
    EXPECT_EQ(Hex(head.data(), 16), "436f6d70000000000000800000008000");
    EXPECT_EQ(Hex(&out[16], 16), Md5Hex(plain.data(), 32768));
    EXPECT_EQ(Hex(&out[32], 16), Md5Hex(plain.data(), 32768));
    EXPECT_EQ(BE32(out, 48 + 32768 + 12), 32768u);
    EXPECT_EQ(BE32(out, 2 * (48 + 32768) + 8), 4464u);
    EXPECT_EQ(BE32(out, 2 * (48 + 32768) + 12), 4464u);
    Bytes back;
    EXPECT_EQ(Expand(out, back, plain.size(), 10), 0);
    EXPECT_EQ(back, plain);

    // Two full blocks are followed by an empty one.
    const Bytes even = Compress(MixedBytes(65536, 2));
    ASSERT_EQ(even.size(), 2 * (48 + 32768) + 48u);
    const size_t last = even.size() - 48;
    EXPECT_EQ(BE32(even, last + 8), 0u);
    EXPECT_EQ(BE32(even, last + 12), 0u);
    EXPECT_EQ(Hex(&even[last + 16], 16), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Hex(&even[last + 32], 16), "d41d8cd98f00b204e9800998ecf8427e");
}

TEST(CompressStream, TheCoderShrinksAndEveryFlippedBitIsCaught)
{
    HostScope host(entreeexterne);
    const Bytes zeros(32768, 0);
    const Bytes packed = Compress(zeros);
    EXPECT_LT(packed.size(), 2000u);
    EXPECT_LT(BE32(packed, 8), BE32(packed, 12));
    Bytes back;
    EXPECT_EQ(Expand(packed, back, zeros.size()), 0);
    EXPECT_EQ(back, zeros);
    for (size_t at : {size_t(20), size_t(40), size_t(50), packed.size() / 2}) {
        Bytes bad = packed;
        bad[at] ^= 0x10;
        EXPECT_EQ(Expand(bad, back, zeros.size()), kArchiveErrBadData) << at;
    }

    // A stored block is checked too: its data and both digest fields.
    HostScope declining(DecliningHost);
    const Bytes stored = Compress(MixedBytes(1000, 3));
    for (size_t at : {size_t(20), size_t(40), size_t(60), stored.size() - 50}) {
        Bytes bad = stored;
        bad[at] ^= 0x01;
        EXPECT_EQ(Expand(bad, back, 1000), kArchiveErrBadData) << at;
    }
}

TEST(CompressStream, ReadsInAnySizeAndCompletesAHeaderCutShort)
{
    HostScope host(entreeexterne);
    const Bytes plain = MixedBytes(40000, 4);
    const Bytes packed = Compress(plain);
    MemoryStream inner;
    inner.data = packed;
    inner.available = 20;
    VCompressStream s(&inner, 0);
    ASSERT_EQ(s.OpenReading(), 0);
    uint8_t ten[10];
    uint32_t n = 10;
    EXPECT_EQ(s.GetData(ten, &n), kStreamEndOfData);
    EXPECT_EQ(n, 0u);
    inner.available = SIZE_MAX;
    n = 10;
    ASSERT_EQ(s.GetData(ten, &n), 0);
    EXPECT_TRUE(std::equal(ten, ten + 10, plain.begin()));
    Bytes rest;
    ASSERT_EQ(ReadAll(s, rest, 32768, 32768), 0);
    EXPECT_TRUE(std::equal(rest.begin(), rest.end(), plain.begin() + 10));
    ASSERT_EQ(ReadAll(s, rest, plain.size() - 32778, 1), 0);
    EXPECT_TRUE(std::equal(rest.begin(), rest.end(), plain.begin() + 32778));
    n = 1;
    EXPECT_EQ(s.GetData(ten, &n), kStreamEndOfData);
    EXPECT_EQ(s.CloseReading(), 0);
}

TEST(CompressStream, HeadersNoWriterMakesAreRefused)
{
    HostScope host(entreeexterne);
    Bytes back;
    const std::pair<uint32_t, uint32_t> bad[] = {{70000, 32768}, {100, 40000}, {200, 100}, {10, 0}};
    for (const auto& [stored, plain] : bad) {
        Bytes block = Header(stored, plain);
        block.resize(block.size() + stored, 0);
        EXPECT_EQ(Expand(block, back, 1), kArchiveErrBadData) << stored << " " << plain;
    }
    Bytes wrong = Header(0, 0);
    wrong[0] = 'X';
    EXPECT_EQ(Expand(wrong, back, 1), kArchiveErrBadData);

    // A byte-reversed marker says the numbers are little-endian.
    HostScope declining(DecliningHost);
    MemoryStream inner;
    inner.SetCpuKind(kCpuSelectIntel, kCpuUnchanged);
    VCompressStream writer(&inner, 0);
    ASSERT_EQ(writer.OpenWriting(), 0);
    writer.PutData("little", 6);
    ASSERT_EQ(writer.CloseWriting(1), 0);
    EXPECT_EQ(inner.data[0], 'p');
    EXPECT_EQ(Expand(inner.data, back, 6), 0);
    EXPECT_EQ(back, BytesOf("little"));

    VCompressStream closed(&inner, 0);
    uint32_t n = 1;
    EXPECT_EQ(closed.GetData(&n, &n), kStreamNotOpen);
    char some[4];
    uint32_t wanted = 4;
    EXPECT_EQ(closed.GetData(some, &wanted), kStreamNotOpen);
    EXPECT_EQ(wanted, 0u) << "nothing read is reported as nothing";
    EXPECT_EQ(closed.PutData("x", 1), kStreamNotOpen);
    ASSERT_EQ(closed.OpenWriting(), 0);
    EXPECT_EQ(closed.GetData(&n, &n), kStreamOpenForWriting);
    EXPECT_EQ(closed.CloseReading(), kStreamOpenForWriting);
}

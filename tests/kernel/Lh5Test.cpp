#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "kernel/compress/Lh5.h"
#include "platform/core/Faults.h"
#include "tests/kernel/TestCorpus.h"
#include "tests/platform/files/TempFolder.h"

namespace {

std::vector<uint8_t> Compress(const std::vector<uint8_t>& src)
{
    std::vector<uint8_t> dst(src.size() + src.size() / 8 + 64);
    const int32_t n = ARCOMPACTE(src.data(), dst.data(), int32_t(src.size()), int32_t(dst.size()));
    EXPECT_GT(n, 0);
    dst.resize(size_t(n > 0 ? n : 0));
    return dst;
}

std::vector<uint8_t> Decompress(const std::vector<uint8_t>& stream, size_t length)
{
    std::vector<uint8_t> out(length);
    EXPECT_EQ(ARDECOMPACTE(stream.data(), out.data(), int32_t(length), int32_t(stream.size())),
              int32_t(length));
    return out;
}

void PutLE(std::vector<uint8_t>& v, uint32_t x, int bytes)
{
    for (int i = 0; i < bytes; ++i) v.push_back(uint8_t(x >> (8 * i)));
}

uint16_t Crc16(const std::vector<uint8_t>& data)
{
    uint16_t crc = 0;
    for (uint8_t b : data) {
        crc ^= b;
        for (int k = 0; k < 8; ++k) crc = (crc & 1) ? uint16_t((crc >> 1) ^ 0xA001) : uint16_t(crc >> 1);
    }
    return crc;
}

// A one-file archive with a level-0 header around a -lh5- stream.
std::vector<uint8_t> LhaArchive(const std::vector<uint8_t>& plain, const std::vector<uint8_t>& packed)
{
    const std::string name = "plain.txt";
    std::vector<uint8_t> h = {0, 0, '-', 'l', 'h', '5', '-'};
    PutLE(h, uint32_t(packed.size()), 4);
    PutLE(h, uint32_t(plain.size()), 4);
    PutLE(h, 0x28210000u, 4);  // 2000-01-01 00:00
    h.push_back(0x20);         // attribute
    h.push_back(0);            // header level
    h.push_back(uint8_t(name.size()));
    h.insert(h.end(), name.begin(), name.end());
    PutLE(h, Crc16(plain), 2);
    h[0] = uint8_t(h.size() - 2);
    uint8_t sum = 0;
    for (size_t i = 2; i < h.size(); ++i) sum = uint8_t(sum + h[i]);
    h[1] = sum;
    h.insert(h.end(), packed.begin(), packed.end());
    h.push_back(0);
    return h;
}

}  // namespace

TEST(Lh5, RoundTripsRunsTextAndRandomData)
{
    const std::vector<uint8_t> runs(8192, 'x');
    const auto packed = Compress(runs);
    EXPECT_LT(packed.size(), 100u);
    EXPECT_EQ(Decompress(packed, runs.size()), runs);

    const auto text = testdata::Text(100000, 2);
    const auto textPacked = Compress(text);
    EXPECT_LT(textPacked.size(), text.size() / 2);
    EXPECT_EQ(Decompress(textPacked, text.size()), text);

    const auto random = testdata::RandomBytes(65536, 4);
    const auto randomPacked = Compress(random);
    EXPECT_GT(randomPacked.size(), random.size());  // reported, not hidden
    EXPECT_EQ(Decompress(randomPacked, random.size()), random);

    for (size_t n : {1u, 2u, 3u, 255u, 8448u, 8449u, 40000u}) {
        const auto mixed = testdata::Mixed(n, uint32_t(n));
        EXPECT_EQ(Decompress(Compress(mixed), n), mixed) << n;
    }
}

TEST(Lh5, SparseAlphabetsRoundTrip)
{
    // Bytes far apart leave runs of unused codes of every length in the
    // code-length table (the runs of 3 to 18 and past 19 are coded apart).
    for (int gap : {4, 5, 12, 19, 20, 40}) {
        std::vector<uint8_t> text(20000);
        uint32_t x = uint32_t(gap);
        for (auto& b : text) {
            x = x * 1103515245u + 12345u;
            b = uint8_t((x >> 16) % 6 * gap);
        }
        EXPECT_EQ(Decompress(Compress(text), text.size()), text) << gap;
    }
}

TEST(Lh5, ShorterLengthDecodesThePrefix)
{
    const auto text = testdata::Mixed(30000, 8);
    const auto packed = Compress(text);
    const auto prefix = Decompress(packed, 12345);
    EXPECT_TRUE(std::equal(prefix.begin(), prefix.end(), text.begin()));
}

TEST(Lh5, OutputIsBoundedByTheDestination)
{
    const auto random = testdata::RandomBytes(10000, 6);
    std::vector<uint8_t> dst(random.size());
    EXPECT_EQ(ARCOMPACTE(random.data(), dst.data(), int32_t(random.size()), int32_t(dst.size())), 0);
    EXPECT_EQ(ARCOMPACTE(random.data(), dst.data(), 0, int32_t(dst.size())), 0);
}

TEST(Lh5, StreamIsReadByAnIndependentDecoder)
{
    if (std::system("command -v lhasa >/dev/null 2>&1") != 0) GTEST_SKIP() << "lhasa is not installed";
    const auto text = testdata::Mixed(60000, 12);
    const auto archive = LhaArchive(text, Compress(text));
    const platform::testing::TempFolder dir;
    const std::filesystem::path path = dir / "text.lzh";
    {
        std::ofstream f(path, std::ios::binary);
        f.write(reinterpret_cast<const char*>(archive.data()), std::streamsize(archive.size()));
    }
    const std::string command = "lhasa pq '" + path.string() + "'";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::vector<uint8_t> printed;
    uint8_t chunk[4096];
    for (size_t n; (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;) printed.insert(printed.end(), chunk, chunk + n);
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_EQ(printed, text);
}

TEST(Lh5, DamagedStreamsNeverWritePastTheDestination)
{
    const auto text = testdata::Mixed(20000, 13);
    const auto packed = Compress(text);
    std::mt19937 rng(21);
    int refused = 0;
    for (int trial = 0; trial < 400; ++trial) {
        std::vector<uint8_t> bad(packed);
        if (trial % 4 == 0)
            bad.resize(rng() % bad.size());
        else
            for (int k = 0; k < 1 + trial % 3; ++k) bad[rng() % bad.size()] ^= uint8_t(1u << (rng() % 8));
        std::vector<uint8_t> dst(text.size());  // exact size: ASan catches any overrun
        const int32_t n = ARDECOMPACTE(bad.data(), dst.data(), int32_t(dst.size()), int32_t(bad.size()));
        EXPECT_TRUE(n == kDamagedBlockErr || n == int32_t(dst.size()));
        refused += n == kDamagedBlockErr;
    }
    EXPECT_GT(refused, 100);

    // A stream cut short cannot deliver the full length.
    std::vector<uint8_t> half(packed.begin(), packed.begin() + std::ptrdiff_t(packed.size() / 2));
    std::vector<uint8_t> dst(text.size());
    EXPECT_EQ(ARDECOMPACTE(half.data(), dst.data(), int32_t(dst.size()), int32_t(half.size())), kDamagedBlockErr);
}

TEST(Lh5, MemoryShortageIsReportedAndTheCodeBufferShrinksToAFloor)
{
    const auto text = testdata::Text(50000, 14);
    std::vector<uint8_t> dst(60000);
    {
        platform::ScopedFault fault(platform::FaultKind::Allocation, 0);
        EXPECT_EQ(ARCOMPACTE(text.data(), dst.data(), 50000, 60000), kCompressNoMemory);
    }
    {
        // The three working arrays succeed, the code buffer never does.
        platform::ScopedFault fault(platform::FaultKind::Allocation, 3, -1);
        EXPECT_EQ(ARCOMPACTE(text.data(), dst.data(), 50000, 60000), kCompressNoMemory);
    }
    int32_t n = 0;
    {
        // Two refusals: the buffer settles at 81% of its size.
        platform::ScopedFault fault(platform::FaultKind::Allocation, 3, 2);
        n = ARCOMPACTE(text.data(), dst.data(), 50000, 60000);
    }
    ASSERT_GT(n, 0);
    dst.resize(size_t(n));
    EXPECT_EQ(Decompress(dst, text.size()), text);

    std::vector<uint8_t> out(100);
    platform::ScopedFault fault(platform::FaultKind::Allocation, 0);
    EXPECT_EQ(ARDECOMPACTE(dst.data(), out.data(), 100, n), kCompressNoMemory);
}

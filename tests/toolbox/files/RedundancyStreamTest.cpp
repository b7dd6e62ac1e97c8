#include <gtest/gtest.h>

#include "platform/core/Faults.h"
#include "toolbox/files/VSecuredBlock.h"

#include "tests/toolbox/files/ArchiveTestSupport.h"

using namespace archive_testing;

namespace {

constexpr size_t kGroup4 = 4 + 2048 * 5;

Bytes Protect(const Bytes& plain, uint32_t n)
{
    MemoryStream inner;
    VRedundancyStream s(&inner, n);
    EXPECT_EQ(s.OpenWriting(), 0);
    EXPECT_EQ(s.PutData(plain.data(), uint32_t(plain.size())), 0);
    EXPECT_EQ(s.CloseWriting(1), 0);
    return inner.data;
}

int16_t Recover(const Bytes& stored, uint32_t n, Bytes& out, size_t size, uint32_t piece = 100000)
{
    MemoryStream inner;
    inner.data = stored;
    VRedundancyStream s(&inner, n);
    EXPECT_EQ(s.OpenReading(), 0);
    return ReadAll(s, out, size, piece);
}

size_t Record(size_t group, size_t record) { return group * kGroup4 + 4 + record * 2048; }

}  // namespace

TEST(RedundancyStream, GroupsCarryCheckedRecordsAndTheirParity)
{
    const Bytes plain = MixedBytes(10000, 1);
    const Bytes out = Protect(plain, 4);
    ASSERT_EQ(out.size(), 2 * kGroup4);
    EXPECT_EQ(BE32(out, 0), platform::FourCC("RDCY"));
    EXPECT_EQ(BE32(out, kGroup4), platform::FourCC("RDCY"));
    EXPECT_EQ(BE32(out, Record(0, 0)), platform::FourCC("SCB2"));
    EXPECT_EQ(BE32(out, Record(0, 0) + 4), 2024u);
    Bytes hashed(plain.begin(), plain.begin() + 2024);
    for (uint8_t b : {0x00, 0x00, 0x07, 0xE8}) hashed.push_back(b);
    EXPECT_EQ(Hex(&out[Record(0, 0) + 2032], 16), Md5Hex(hashed.data(), uint32_t(hashed.size())));
    EXPECT_EQ(BE32(out, Record(1, 0) + 4), 10000u - 4 * 2024);
    for (size_t r = 1; r < 4; ++r) {
        EXPECT_EQ(BE32(out, Record(1, r) + 4), 0u);
        EXPECT_EQ(Hex(&out[Record(1, r) + 2032], 16), "02a18579c0f8c3919bef3efe8eda0852");
    }
    Bytes big, small;
    EXPECT_EQ(Recover(out, 4, big, plain.size()), 0);
    EXPECT_EQ(big, plain);
    EXPECT_EQ(Recover(out, 4, small, plain.size(), 1), 0);
    EXPECT_EQ(small, plain);

    // Data ending on a group still gets a last group, all records empty.
    const Bytes even = Protect(MixedBytes(4 * 2024, 2), 4);
    ASSERT_EQ(even.size(), 2 * kGroup4);
    EXPECT_EQ(BE32(even, Record(1, 0) + 4), 0u);
}

TEST(RedundancyStream, OneDamagedRecordAGroupIsRebuiltTwoAreRefused)
{
    const Bytes plain = MixedBytes(10000, 3);
    const Bytes good = Protect(plain, 4);
    Bytes back;
    // Data, digest, marker or length of one record in each group; the parity.
    const size_t hits[][2] = {{Record(0, 1) + 100, Record(1, 0) + 2040},
                              {Record(0, 3) + 2035, Record(1, 2) + 9},
                              {Record(0, 0) + 1, Record(1, 3) + 6},
                              {Record(0, 2) + 5, Record(1, 4) + 50},
                              {Record(0, 4) + 3, Record(0, 4) + 2040}};
    for (const auto& hit : hits) {
        Bytes bad = good;
        bad[hit[0]] ^= 0x5A;
        bad[hit[1]] ^= 0x5A;
        EXPECT_EQ(Recover(bad, 4, back, plain.size()), 0) << hit[0] << " " << hit[1];
        EXPECT_EQ(back, plain);
    }
    Bytes two = good;
    two[Record(0, 0) + 50] ^= 1;
    two[Record(0, 3) + 50] ^= 1;
    EXPECT_EQ(Recover(two, 4, back, plain.size()), kArchiveErrBadData);
    // A damaged record whose parity is damaged too cannot be rebuilt right.
    Bytes withParity = good;
    withParity[Record(0, 1) + 50] ^= 1;
    withParity[Record(0, 4) + 50] ^= 1;
    EXPECT_EQ(Recover(withParity, 4, back, plain.size()), kArchiveErrBadData);
    // So is a rebuilt length beyond a record's room.
    Bytes longer = good;
    longer[Record(0, 1) + 9] ^= 1;
    longer[Record(0, 4) + 4] ^= 0x10;
    EXPECT_EQ(Recover(longer, 4, back, plain.size()), kArchiveErrBadData);
    Bytes unmarked = good;
    unmarked[kGroup4] = 'X';
    EXPECT_EQ(Recover(unmarked, 4, back, plain.size()), kArchiveErrBadData);
    EXPECT_EQ(back.size(), 4 * 2024u);
}

TEST(RedundancyStream, ShortGroupsEndWithTheInnerErrorAndBadSettingsAreRefused)
{
    const Bytes plain = MixedBytes(3000, 4);
    Bytes cut = Protect(plain, 2);
    cut.resize(cut.size() - 1);
    Bytes back;
    EXPECT_EQ(Recover(cut, 2, back, plain.size()), kStreamEndOfData);
    EXPECT_TRUE(back.empty());

    MemoryStream inner;
    VRedundancyStream huge(&inner, 0x100000);
    EXPECT_EQ(huge.OpenReading(), kArchiveErrBadData);
    EXPECT_EQ(huge.OpenWriting(), kArchiveErrBadData);
    VRedundancyStream none(nullptr, 3);
    EXPECT_EQ(none.OpenReading(), kStreamNoHandle);
    EXPECT_EQ(none.OpenWriting(), kStreamNoHandle);
    VRedundancyStream s(&inner, 3);
    EXPECT_EQ(s.PutData("x", 1), kStreamNotOpen);
    ASSERT_EQ(s.OpenReading(), 0);
    EXPECT_EQ(s.PutData("x", 1), kStreamOpenForReading);
    EXPECT_EQ(s.CloseWriting(1), kStreamNotOpen);
    EXPECT_EQ(s.GetSize(), 0u);
}

TEST(RedundancyStream, OlderRecordsAreReadWithTheirOwnDigest)
{
    Bytes group(4 + 2048 * 2, 0);
    group[0] = 'R', group[1] = 'D', group[2] = 'C', group[3] = 'Y';
    uint8_t* rec = &group[4];
    rec[0] = 'S', rec[1] = 'C', rec[2] = 'B', rec[3] = 'K';
    rec[5] = 1;   // sequence number 1
    rec[7] = 5;   // length 5
    std::memcpy(rec + 8, "older", 5);
    Bytes hashed(rec + 8, rec + 8 + 2024);
    hashed.insert(hashed.end(), 4, 0);
    uint8_t digest[16];
    VChecksumMD5().NewChecksum(hashed.data(), uint32_t(hashed.size()), digest);
    std::memcpy(rec + 2032, digest, 16);
    Bytes back;
    EXPECT_NE(Recover(group, 1, back, 100), 0);  // the record's own length ends the data
    EXPECT_EQ(back, BytesOf("older"));
}

TEST(RedundancyStream, EitherBufferMissingRefusesTheOpening)
{
    for (int32_t which : {0, 1}) {
        MemoryStream inner;
        inner.data = Protect(MixedBytes(100, 2), 2);
        VRedundancyStream s(&inner, 2);
        platform::ScopedFault noMemory(platform::FaultKind::Allocation, which, 1);
        EXPECT_EQ(s.OpenReading(), kFileErrMemory) << which;
    }
}

TEST(RedundancyStream, SecuredBlocksTakeTheStreamsLastBytesAndClearTheRest)
{
    MemoryStream inner;
    inner.data = BytesOf("abc");
    ASSERT_EQ(inner.OpenReading(), 0);
    VSecuredBlock block;
    std::memset(block.GetData(), 0xEE, kSecuredDataSize);
    EXPECT_EQ(block.FromStream(&inner), 0);
    EXPECT_EQ(block.GetLength(), 3u);
    EXPECT_EQ(block.GetCount(), 1u);
    EXPECT_EQ(block.GetData()[2], 'c');
    EXPECT_EQ(block.GetData()[3], 0);
    EXPECT_EQ(block.GetData()[kSecuredDataSize - 1], 0);

    MemoryStream one;
    one.data = BytesOf("d");
    ASSERT_EQ(one.OpenReading(), 0);
    EXPECT_EQ(block.FromStream(&one), 0);  // the one byte left is taken
    EXPECT_EQ(block.GetLength(), 4u);
    EXPECT_EQ(block.GetCount(), 1u) << "still the same record";
    EXPECT_EQ(block.GetData()[3], 'd');
    block.Clear();
    EXPECT_EQ(block.GetLength(), 0u);
    EXPECT_EQ(block.GetData()[0], 0);
    EXPECT_EQ(block.GetData()[kSecuredDataSize - 1], 0);
}

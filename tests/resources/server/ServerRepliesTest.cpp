#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/server/ServerClient.h"
#include "resources/server/ServerConnection.h"
#include "resources/server/ServerReplies.h"

using platform::FourCC;

namespace {

// A map in the given order: further-byte count, then `types` type lists.
std::vector<uint8_t> Map(bool little, uint16_t count, int16_t firstId)
{
    std::vector<uint8_t> m(4, 0);
    auto put16 = [&](uint16_t v) {
        uint8_t b[2];
        little ? platform::WriteLE16(b, v) : platform::WriteBE16(b, v);
        m.insert(m.end(), b, b + 2);
    };
    auto put32 = [&](uint32_t v) {
        uint8_t b[4];
        little ? platform::WriteLE32(b, v) : platform::WriteBE32(b, v);
        m.insert(m.end(), b, b + 4);
    };
    put16(1);
    put16(count);
    put32(FourCC("TEXT"));
    for (uint16_t i = 0; i < count; ++i) put16(uint16_t(firstId + i));
    for (uint16_t i = 0; i < count; ++i) put32(5000u + i);
    return m;
}

TEST(ServerReplies, MapDecodesInEitherOrderAndStaysInsideItsBytes)
{
    for (bool little : {false, true}) {
        std::vector<uint8_t> m = Map(little, 2, 128);
        std::vector<ServerMapType> map;
        ASSERT_EQ(DecodeServerMap(m.data(), int32_t(m.size()), little, &map), 0);
        ASSERT_EQ(map.size(), 1u);
        EXPECT_EQ(map[0].type, FourCC("TEXT"));
        EXPECT_EQ(map[0].ids, (std::vector<int16_t>{128, 129}));
        EXPECT_EQ(map[0].stamps, (std::vector<uint32_t>{5000, 5001}));

        // Every shorter prefix is refused; so is a byte too many.
        for (size_t n = 0; n < m.size(); ++n)
            EXPECT_EQ(DecodeServerMap(m.data(), int32_t(n), little, &map), kServerBadReplyErr) << n;
        m.push_back(0);
        EXPECT_EQ(DecodeServerMap(m.data(), int32_t(m.size()), little, &map), kServerBadReplyErr);
        EXPECT_TRUE(map.empty());
    }
}

TEST(ServerReplies, FileListNamesTheStructureAndStopsAtTheEnd)
{
    std::vector<uint8_t> list = {0, 3,
                                 0, 0, 0, 7, 'B', 'A', 'S', '5', 0, 0, 4, 'B', 'a', 's', 'e',
                                 0, 0, 0, 9, 'X', 'X', 'X', 'X', 0, 0, 0,
                                 0, 0, 0, 8, 'A', 'l', 'D', 'B', 0, 0, 3, 'A', 'l', 't'};
    ServerFileList files = DecodeFileList(list.data(), int32_t(list.size()), false);
    EXPECT_EQ(files.files.size(), 3u);
    EXPECT_EQ(files.structureFile, 7);
    EXPECT_EQ(files.alternativeFile, 8);
    EXPECT_EQ(files.files[0].name, "Base");

    // Entries past the count are not taken, whole as they may be.
    list[1] = 2;
    files = DecodeFileList(list.data(), int32_t(list.size()), false);
    EXPECT_EQ(files.files.size(), 2u);
    EXPECT_EQ(files.alternativeFile, 0);

    // A name running past the end is not read; the count is not trusted.
    list[0] = 0;
    list[1] = 100;
    files = DecodeFileList(list.data(), int32_t(list.size()) - 1, false);
    EXPECT_EQ(files.files.size(), 2u);
    EXPECT_EQ(files.alternativeFile, 0);
}

TEST(ServerReplies, StampsRequestsAndTheCacheRule)
{
    platform::Handle h = platform::NewHandle(7);
    std::memcpy(*h, "abc\x00\x00\x01\x02", 7);
    EXPECT_EQ(TakeStamp(h, false), 0x102u);
    EXPECT_EQ(platform::GetHandleSize(h), 3);
    EXPECT_EQ(TakeStamp(h, false), 0u);  // too short to hold a stamp
    EXPECT_EQ(platform::GetHandleSize(h), 3);
    platform::DisposeHandle(h);

    EXPECT_EQ(AnnounceClientPayload(),
              (std::vector<uint8_t>{0xFF, 0xFF, 0xEE, 0xA4, 0, 0, 0, 0, 0, 0, 0, 0}));
    std::vector<uint8_t> contents = ResContentsRecord(7, FourCC("TEXT"), -2, "xy", 2);
    EXPECT_EQ(contents, (std::vector<uint8_t>{0, 0, 0, 7, 'T', 'E', 'X', 'T', 0xFF, 0xFE, 'x', 'y'}));

    EXPECT_FALSE(CachedStampIsStale(1030, 1000));
    EXPECT_TRUE(CachedStampIsStale(1031, 1000));
    EXPECT_TRUE(CachedStampIsStale(1000, 1031));           // older on the server counts too
    EXPECT_FALSE(CachedStampIsStale(0x800010u, 0x000000u)); // modulo 2^23
}

TEST(ServerReplies, WithoutAConnectionRequestsFail)
{
    platform::OSErr err = 0;
    EXPECT_EQ(SendServerRequest(41, nullptr, 0, 0, 0, &err), nullptr);
    EXPECT_EQ(err, kServerNotConnectedErr);
    std::vector<ServerMapType> map;
    EXPECT_EQ(FetchServerMap(7, &map), kServerNotConnectedErr);
}

}  // namespace

// Numbers of files opened from the server count up from the first and start
// over there before they would overflow.
TEST(ServerClient, PseudoFileNumbersCountUpAndStartOver)
{
    ResetServerClient();
    const int16_t first = NextPseudoRef();
    EXPECT_EQ(first, kFirstPseudoRef);
    EXPECT_EQ(NextPseudoRef(), kFirstPseudoRef + 1);
    int16_t last = 0;
    for (int32_t n = kFirstPseudoRef + 2; n < INT16_MAX; ++n) last = NextPseudoRef();
    EXPECT_EQ(last, INT16_MAX - 1);
    EXPECT_EQ(NextPseudoRef(), kFirstPseudoRef);
    ResetServerClient();
}

// The server reads a name request as a fixed 38-byte record: the type, two
// bytes it ignores, then a 32-byte Pascal string cut at 31 characters.
TEST(ServerRequests, IdByNameIsAFixedRecord)
{
    const unsigned char longName[] = "\x28" "0123456789012345678901234567890123456789";
    const std::vector<uint8_t> p = IdByNamePayload(FourCC("TEXT"), longName);
    ASSERT_EQ(p.size(), 38u);
    EXPECT_EQ(platform::ReadBE32(p.data()), FourCC("TEXT"));
    EXPECT_EQ(p[6], 31);
    EXPECT_EQ(std::memcmp(p.data() + 7, longName + 1, 31), 0);
    std::vector<uint8_t> unnamed(38, 0);
    std::memcpy(unnamed.data(), "TEXT", 4);
    EXPECT_EQ(IdByNamePayload(FourCC("TEXT"), nullptr), unnamed);
}

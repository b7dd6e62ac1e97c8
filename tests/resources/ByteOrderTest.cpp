// Both byte orders: a big-endian file of mixed resource types survives a
// commit and a reopen, and its little-endian twin reads the same, takes a
// write-back and stays little-endian.
#include "resources/container/ContainerLayout.h"
#include "resources/container/Scrambler.h"
#include "resources/swap/SwapResource.h"
#include "tools/docbuilder/LittleEndianTwin.h"
#include "tests/resources/StoreTestSupport.h"

namespace storetest {
namespace {

using namespace container;
using platform::ReadBE16;
using platform::ReverseBytes;

struct Sample {
    ResType type;
    int16_t id;
    Bytes contents;
};

Bytes Words(std::initializer_list<uint32_t> values, int width)
{
    Bytes b;
    for (uint32_t v : values)
        for (int i = width - 1; i >= 0; --i) b.push_back(uint8_t(v >> (8 * i)));
    return b;
}

std::vector<Sample> MixedSamples()
{
    std::vector<Sample> s;
    for (int16_t i = 0; i < 4; ++i) s.push_back({FourCC("QzQz"), int16_t(10 + i), Words({1u + i, 0x01020304, 0xA0B0C0D0}, 4)});
    for (int16_t i = 0; i < 4; ++i) s.push_back({FourCC("#GRP"), int16_t(20 + i), Words({1u + i, 0x0102, 0xFFFE, 7}, 2)});
    for (int16_t i = 0; i < 3; ++i) {
        Bytes b = Words({0x00010203u + i}, 4);
        b.insert(b.end(), {'t', 'e', 'x', 't'});
        s.push_back({FourCC("pver"), int16_t(i), b});
    }
    for (int16_t i = 0; i < 3; ++i) s.push_back({FourCC("PRQz"), int16_t(30 + i), Words({0x11223344u + i}, 4)});
    for (auto& sample : s)
        if (sample.type == FourCC("PRQz")) {
            Bytes w = Words({0x0506, 0x0708, 0x090A}, 2);
            sample.contents.insert(sample.contents.end(), w.begin(), w.end());
        }
    // Colour tables: seed, flags, count - 1, then value, red, green, blue.
    for (int16_t i = 0; i < 3; ++i) {
        Bytes b = Words({0x12345678u + i}, 4);
        Bytes rest = Words({0x8000, 1, 0, 0xFFFF, 0x1234, 0x5678, 1, 0, 0xABCD, 0}, 2);
        b.insert(b.end(), rest.begin(), rest.end());
        s.push_back({FourCC("clut"), int16_t(40 + i), b});
    }
    s.push_back({FourCC("TEXT"), 50, Bytes{'p', 'l', 'a', 'i', 'n'}});
    s.push_back({FourCC("TEXT"), 51, Pattern(301, 51)});
    s.push_back({FourCC("TEXT"), 52, Bytes{}});
    return s;  // 20 resources
}

using docbuilder::LittleEndianTwin;

class ByteOrderTest : public StoreTest {
protected:
    void ExpectSamples(const std::vector<Sample>& samples)
    {
        for (const Sample& s : samples) EXPECT_EQ(Contents(xget1res(s.type, s.id)), s.contents) << platform::FourCCText(s.type) << s.id;
        platform::Str255 name;
        ASSERT_TRUE(xgetresname(FourCC("TEXT"), 51, name, false));
        EXPECT_EQ(std::string(reinterpret_cast<char*>(name + 1), name[0]), "Long text");
        EXPECT_TRUE(xiscryptedres(xget1res(FourCC("TEXT"), 50)));
        EXPECT_TRUE(xiscryptedres(xget1res(FourCC("QzQz"), 10)));
    }
};

TEST_F(ByteOrderTest, MixedTypesSurviveInBothOrders)
{
    const std::vector<Sample> samples = MixedSamples();
    ASSERT_EQ(samples.size(), 20u);
    int16_t ref = CreateFile("be.qzb");
    for (const Sample& s : samples) ASSERT_TRUE(xaddres(MakeHandle(s.contents), s.type, s.id));
    const unsigned char name[] = "\x09" "Long text";
    ASSERT_TRUE(xsetresname(FourCC("TEXT"), 51, name, false));
    ASSERT_TRUE(hcrypteres(xget1res(FourCC("TEXT"), 50), true));
    ASSERT_TRUE(hcrypteres(xget1res(FourCC("QzQz"), 10), false));
    ASSERT_TRUE(updateres(ref));
    ASSERT_TRUE(closeres(ref, true));

    // Each order read one resource at a time, then every type loaded at once.
    auto loadEveryType = [&] {
        for (const Sample& s : samples) loadallres(s.type);
    };
    for (bool atOnce : {false, true}) {
        ref = openres(Spec("be.qzb"), false);
        ASSERT_NE(ref, 0);
        EXPECT_TRUE(IsNatif(ref));
        if (atOnce) loadEveryType();
        ExpectSamples(samples);
        closeres(ref, false);
    }

    const Bytes be = ReadWholeFile(Path("be.qzb"));
    WriteWholeFile(Path("le.qzb"), LittleEndianTwin(be));
    EXPECT_EQ(BE32(ReadWholeFile(Path("le.qzb")), 0), 0x58554444u);
    ref = openres(Spec("le.qzb"), false);
    ASSERT_NE(ref, 0) << reserr;
    EXPECT_FALSE(IsNatif(ref));
    loadEveryType();
    ExpectSamples(samples);
    closeres(ref, false);
    ref = openres(Spec("le.qzb"), false);
    ASSERT_NE(ref, 0) << reserr;
    ExpectSamples(samples);

    // A write-back and a commit keep the file little-endian.
    Handle h = xget1res(FourCC("QzQz"), 11);
    const Bytes longer = Words({9, 8, 7, 6, 5}, 4);
    ASSERT_EQ(platform::PtrToXHand(longer.data(), h, platform::Size(longer.size())), 0);
    ASSERT_TRUE(xwriteres(h));
    ASSERT_TRUE(xaddres(MakeHandle(Words({0xCAFE, 0xBEEF}, 2)), FourCC("#GRP"), 99));
    ASSERT_TRUE(closeres(ref, true));
    const Bytes after = ReadWholeFile(Path("le.qzb"));
    EXPECT_EQ(BE32(after, 0), 0x58554444u);

    ref = openres(Spec("le.qzb"), false);
    ASSERT_NE(ref, 0);
    EXPECT_EQ(Contents(xget1res(FourCC("QzQz"), 11)), longer);
    EXPECT_EQ(Contents(xget1res(FourCC("#GRP"), 99)), Words({0xCAFE, 0xBEEF}, 2));
    for (const Sample& s : samples)
        if (!(s.type == FourCC("QzQz") && s.id == 11)) {
            EXPECT_EQ(Contents(xget1res(s.type, s.id)), s.contents);
        }
    closeres(ref, false);
    // Stored little-endian: the new '#GRP' words are reversed on disk.
    const Bytes expected = {0xFE, 0xCA, 0xEF, 0xBE};
    EXPECT_NE(std::search(after.begin(), after.end(), expected.begin(), expected.end()), after.end());
}

}  // namespace
}  // namespace storetest

// Scrambling under the fixed table, word by word: a round trip would hide a
// wrong table word or a skipped one, so the bytes are checked as they are.
TEST(Scrambler, FixedTableGivesFixedBytes)
{
    uint8_t payload[4 * 17 + 3] = {};
    for (int i = 68; i < 71; ++i) payload[i] = uint8_t(i);
    container::AdjustSwapRes(payload, sizeof payload, 0x01020304);
    EXPECT_EQ(platform::ReadBE32(payload), 0x9E3779B9u ^ 0x01020304u);            // first word
    EXPECT_EQ(platform::ReadBE32(payload + 4 * 15), 0x629A292Au ^ 0x01020304u);   // last table word
    EXPECT_EQ(platform::ReadBE32(payload + 4 * 16), 0x9E3779B9u ^ 0x01020304u);   // the table wraps
    EXPECT_EQ(payload[68], 68);  // trailing bytes stay
    EXPECT_EQ(payload[70], 70);
    container::AdjustSwapRes(payload, sizeof payload, 0x01020304);
    for (int i = 0; i < 68; ++i) EXPECT_EQ(payload[i], 0) << i;
}

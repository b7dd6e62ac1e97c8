// Module records byte by byte: both byte orders, the format versions, the
// cipher, and records that do not fit.
#include "transfer/modules/ModuleCipher.h"
#include "transfer/modules/ModuleRecords.h"
#include "tests/transfer/TransferFixture.h"

namespace transfertest {
namespace {

using transfer::EncodeModule;
using transfer::ReadModule;

// A record as the component code makes one: one public, one protected
// entry; and a map row.
void Fill(Module* m, int16_t format = 769)
{
    m->fFormat = format;
    m->fName.FromMacPString(reinterpret_cast<const uint8_t*>("\x07Reports"));
    m->fDate.FromMacPString(reinterpret_cast<const uint8_t*>("\x0A" "2024-03-01"));
    m->fComments.FromMacPString(reinterpret_cast<const uint8_t*>("\x05" "notes"));
    m->fVersionNb = 201;
    m->fLists[0]->Add(ObjetQz{36, 1, 0});
    m->fLists[0]->Add(ObjetQz{37, 2, 0x12345678});
    m->fLists[9]->Add(ObjetQz{4, 3, 0xCAFEF00D});
}

std::vector<ObjetQz> Entries(Module& m)
{
    std::vector<ObjetQz> all;
    for (auto* list : m.fLists)
        for (int32_t i = 1; i <= list->GetCount(); ++i) all.push_back(list->GetNth(i));
    return all;
}

bool Same(Module& a, Module& b)
{
    const auto ea = Entries(a), eb = Entries(b);
    return a.fFormat == b.fFormat && a.fName.CompareTo(b.fName, 1) == 0 && a.fDate.CompareTo(b.fDate, 1) == 0 &&
           a.fComments.CompareTo(b.fComments, 1) == 0 && a.fVersionNb == b.fVersionNb && ea.size() == eb.size() &&
           std::equal(ea.begin(), ea.end(), eb.begin(), [](const ObjetQz& x, const ObjetQz& y) {
               return x.id == y.id && x.state == y.state && x.key == y.key;
           });
}

TEST(ModuleRecords, EveryFormatAndByteOrderReadsBackTheRecord)
{
    for (int16_t format : {767, 768, 769, 512, 1023}) {
        Module written;
        Fill(&written, format);
        Bytes big, little;
        ASSERT_EQ(EncodeModule(written, false, &big), 0);
        ASSERT_EQ(EncodeModule(written, true, &little), 0);
        EXPECT_EQ(big[0], 1);
        EXPECT_EQ(little[0], 2);
        // Ten zero words from 768 on.
        Module older;
        Fill(&older, 767);
        Bytes plain;
        EncodeModule(older, false, &plain);
        EXPECT_EQ(big.size(), plain.size() + (format >= 768 ? 40 : 0)) << format;
        for (const Bytes& bytes : {big, little}) {
            Module read;
            ASSERT_EQ(ReadModule(bytes.data(), int32_t(bytes.size()), nullptr, 0, &read), 0) << format;
            EXPECT_TRUE(Same(read, written)) << format;
        }
    }
    // Below 768 the lists stand plain after the strings: the last entry's key
    // is the record's last four bytes.
    Module older;
    Fill(&older, 767);
    Bytes plain;
    EncodeModule(older, false, &plain);
    EXPECT_EQ(platform::ReadBE32(&plain[plain.size() - 4]), 0xCAFEF00Du);
}

TEST(ModuleRecords, VersionsOutsideTheRangeAndRecordsThatDoNotFitAreRefused)
{
    Module written;
    Fill(&written);
    Bytes good;
    ASSERT_EQ(EncodeModule(written, false, &good), 0);
    auto withVersion = [&](uint16_t v) {
        Bytes b = good;
        platform::WriteBE16(&b[1], v);
        return b;
    };
    struct Row {
        const char* what;
        Bytes bytes;
        int16_t result;
    };
    Bytes badOrder = good;
    badOrder[0] = 3;
    Bytes longName = good;
    platform::WriteBE32(&longName[3], 32);  // the name claims 32 characters
    std::vector<Row> rows = {{"511", withVersion(511), 1},  {"1024", withVersion(1024), 2},
                             {"512", withVersion(512), 0},  {"order 3", badOrder, 1},
                             {"empty", Bytes{}, 1},         {"name of 32", longName, 1}};
    // Every cut: the string lengths, the zeros and the list counts are
    // checked against what is left.
    for (size_t cut = 1; cut < good.size(); ++cut) rows.push_back({"cut", Bytes(good.begin(), good.begin() + cut), 1});
    for (const Row& row : rows) {
        Module read;
        EXPECT_EQ(ReadModule(row.bytes.data(), int32_t(row.bytes.size()), nullptr, 0, &read), row.result)
            << row.what << " " << row.bytes.size();
    }
    // A map row count past its bytes.
    Bytes map;
    ResIDMapMgr rows2;
    rows2.Add(FourCC("PICT"), 128, 15000);
    ASSERT_EQ(transfer::EncodeResIDMap(rows2.GetList(), true, &map), 0);
    Module read;
    ASSERT_EQ(ReadModule(good.data(), int32_t(good.size()), map.data(), int32_t(map.size()), &read), 0);
    ASSERT_NE(read.fMap, nullptr);
    EXPECT_EQ(read.fMap->GetNth(1).newId, 15000);
    map[3] = 9;  // little-endian count 9
    Module damaged;
    EXPECT_EQ(ReadModule(good.data(), int32_t(good.size()), map.data(), int32_t(map.size()), &damaged), 1);
}

TEST(ModuleRecords, ThePublicKeyIsZeroAndTheCipherUndoesItselfLeavingAPartialWordPlain)
{
    Module m;
    Fill(&m);
    m.fLists[1]->Add(ObjetQz{9, 1, 0x55555555});  // a public key is never stored
    Bytes bytes;
    ASSERT_EQ(EncodeModule(m, false, &bytes), 0);
    Module read;
    ASSERT_EQ(ReadModule(bytes.data(), int32_t(bytes.size()), nullptr, 0, &read), 0);
    EXPECT_EQ(read.fLists[1]->GetNth(1).key, 0u);
    // The key follows the name's 2nd and 3rd units and the date's; a name
    // of one character reads zero units past its end.
    const char16_t name[] = u"Kit", one[] = u"K";
    EXPECT_EQ(transfer::ModuleTextWord(name, 3), 0x74006900u);
    EXPECT_EQ(transfer::ModuleTextWord(one, 1), 0u);
    for (size_t size : {0u, 3u, 4u, 11u, 64u, 67u}) {
        Bytes data(size);
        for (size_t i = 0; i < size; ++i) data[i] = uint8_t(i * 7);
        Bytes shaken = data;
        transfer::ModuleShake(shaken.data(), size, 0x01020304);
        const size_t whole = size / 4 * 4;
        EXPECT_TRUE(std::equal(shaken.begin() + std::ptrdiff_t(whole), shaken.end(), data.begin() + std::ptrdiff_t(whole)))
            << size;
        if (whole) {
            EXPECT_NE(Bytes(shaken.begin(), shaken.begin() + 4), Bytes(data.begin(), data.begin() + 4));
        }
        transfer::ModuleShake(shaken.data(), size, 0x01020304);
        EXPECT_EQ(shaken, data) << size;
    }
}

}  // namespace
}  // namespace transfertest

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "kernel/collation/CaseAndSearch.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/CollationTables.h"
#include "kernel/collation/Compare.h"
#include "kernel/collation/CustRecord.h"
#include "platform/core/Endian.h"
#include "platform/core/Faults.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/Resources.h"
#include "tests/platform/files/TempFolder.h"

using platform::FourCC;

namespace {

struct P {
    explicit P(const std::string& s) : bytes(1, uint8_t(s.size())) { bytes.insert(bytes.end(), s.begin(), s.end()); }
    operator const unsigned char*() const { return bytes.data(); }
    std::vector<unsigned char> bytes;
};

int16_t Rel(const std::string& a, const std::string& b) { return relstr(P(a), P(b)); }
int16_t Match(const std::string& text, const std::string& pattern) { return matchstr(P(text), P(pattern)); }

class Collation : public testing::Test {
protected:
    void SetUp() override
    {
        platform::ResetResourceManager();
        ResetCollation();
    }
    void TearDown() override
    {
        platform::ResetResourceManager();
        ResetCollation();
    }

    // A resource file holding the given resources, open and current.
    int16_t OpenFixture(const std::vector<std::tuple<uint32_t, int16_t, std::vector<uint8_t>>>& resources)
    {
        platform::FSSpec fileSpec;
        platform::FSMakeFSSpec(dir / "fixture.rsrc", &fileSpec);
        path = dir / "fixture.rsrc";
        platform::FSpCreateResFile(fileSpec, FourCC("Qz  "), FourCC("rsrc"), 0, platform::ResFileFork::Data);
        int16_t ref = platform::FSpOpenResFile(fileSpec, platform::fsRdWrPerm, platform::ResFileFork::Data);
        for (const auto& [type, id, data] : resources) {
            platform::Handle h = nullptr;
            platform::PtrToHand(data.data(), &h, platform::Size(data.size()));
            platform::AddResource(h, type, id, nullptr);
        }
        platform::CloseResFile(ref);
        return platform::FSpOpenResFile(fileSpec, platform::fsRdWrPerm, platform::ResFileFork::Data);
    }

    std::string FileBytes() const
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    platform::testing::TempFolder dir;
    std::string path;
};

TEST_F(Collation, OrderingIgnoresCaseAndDiacritics)
{
    EXPECT_EQ(Rel("abc", "ABC"), kEqual);
    EXPECT_EQ(Rel("abd", "abc"), kGreater);
    EXPECT_EQ(Rel("abc", "abd"), kSmaller);
    EXPECT_EQ(Rel("\x8E" "t\x8E", "ETE"), kEqual);  // été
    EXPECT_EQ(Rel("abcd", "abc"), kGreater);
    EXPECT_EQ(Rel("ab", "abc"), kSmaller);
    EXPECT_EQ(Rel("", ""), kEqual);
    EXPECT_EQ(tabfiltre3[0], 0);
}

// Before start-up comparisons already follow the system's order. A fresh
// copy of the test program checks it, its collation untouched by any test.
TEST(CollationBeforeStartUp, FollowsTheSystemsOrder)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::_Exit(Rel("abd", "ABC") == kGreater && Rel("\x8E" "t\x8E", "ETE") == kEqual ? 0 : 1),
                ::testing::ExitedWithCode(0), "");
}

TEST_F(Collation, WildcardPatterns)
{
    EXPECT_EQ(Match("apple", "A@"), kEqual);
    EXPECT_EQ(Match("Apple", "A@"), kEqual);
    EXPECT_NE(Match("banana", "A@"), kEqual);
    EXPECT_EQ(Match("crumb", "@b"), kEqual);
    EXPECT_NE(Match("crumbs", "@b"), kEqual);
    EXPECT_EQ(Match("abbbc", "a@c"), kEqual);
    EXPECT_EQ(Match("ac", "a@c"), kEqual);
    EXPECT_EQ(Match("abxbc", "a@b@c"), kEqual);
    EXPECT_EQ(Match("anything", "@"), kEqual);
    EXPECT_NE(Match("ab", "a@ab"), kEqual);  // a wildcard takes nothing from before it

    // Sorting sees the at sign as an ordinary character.
    EXPECT_EQ(Rel("apple", "A@"), kGreater);
    EXPECT_EQ(Rel("A@", "apple"), kSmaller);
    EXPECT_EQ(Rel("a@c", "A@C"), kEqual);

    strcmpbehavior = 1;
    EXPECT_NE(Match("abbbc", "a@c"), kEqual);
    EXPECT_EQ(Match("a@c", "a@c"), kEqual);
    EXPECT_EQ(Match("apple", "A@"), kEqual);  // a last wildcard still counts
    EXPECT_EQ(Match("crumb", "@b"), kEqual);  // and a first one
}

TEST_F(Collation, GermanSelectorCountsSharpSAsTwoLetters)
{
    cust = platform::NewHandleClear(kCustSize);
    platform::WriteBE16(*cust + kCustCollation, kCollateGerman);
    EXPECT_EQ(Rel("Stra\xA7" "e", "Strasse"), kEqual);
    EXPECT_EQ(Rel("Strasse", "STRA\xA7" "E"), kEqual);
    EXPECT_EQ(Rel("Stra\xA7" "e", "Strase"), kGreater);
    platform::WriteBE16(*cust + kCustCollation, 0);
    EXPECT_NE(Rel("Stra\xA7" "e", "Strasse"), kEqual);
}

TEST_F(Collation, RandomNamesSortInATotalOrder)
{
    std::mt19937 random(1234);
    std::vector<std::string> names(10000);
    for (auto& name : names) {
        name.resize(random() % 12);
        for (auto& c : name) c = random() % 4 == 0 ? '@' : char(random() % 256);  // at signs too
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return Rel(a, b) == kSmaller; });
    for (size_t i = 0; i + 1 < names.size(); ++i) {
        ASSERT_NE(Rel(names[i], names[i + 1]), kGreater) << i;
        ASSERT_NE(Rel(names[i + 1], names[i]), kSmaller) << i;
    }
    for (int k = 0; k < 20000; ++k) {
        size_t i = random() % names.size(), j = random() % names.size();
        if (i > j) std::swap(i, j);
        const int16_t forward = Rel(names[i], names[j]), backward = Rel(names[j], names[i]);
        ASSERT_NE(forward, kGreater) << i << " " << j;
        ASSERT_EQ(forward == kEqual, backward == kEqual);
        ASSERT_EQ(forward == kSmaller, backward == kGreater);
    }
}

TEST_F(Collation, ExactComparisonAndCompiledReferences)
{
    EXPECT_EQ(CompareStringQz(P("abc"), P("abc"), false), kEqual);
    EXPECT_EQ(CompareStringQz(P("abc"), P("ABC"), false), kGreater);  // upper case first
    EXPECT_EQ(CompareStringQz(P("a@"), P("abc"), false), kSmaller);   // no wildcards
    const auto* xyz = reinterpret_cast<const uint8_t*>("xyz");
    const auto* xyWild = reinterpret_cast<const uint8_t*>("XY@");
    EXPECT_EQ(relxptr(xyz, xyWild, 3, 3), kGreater);
    EXPECT_EQ(MatchStringQz(xyz, xyWild, 3, 3), kEqual);

    const std::string process("\x07\x00\x00\x00\x02", 5), global("\x01\x00\x00\x00\x05", 5);
    EXPECT_EQ(rel2str(P(process), P(global)), kGreater);  // as text: byte 7 after byte 1
    testcompilo_relstr = 1;
    gProcessTableBase = -100;
    EXPECT_EQ(rel2str(P(process), P(global)), kSmaller);  // -100 + 2 against 5
    EXPECT_EQ(rel2str(P(global), P(process)), kGreater);
    EXPECT_EQ(rel2str(P(global), P(global)), kEqual);
    const std::string other("\x08\x00\x00\x00\x01", 5);  // kind 8 is no reference: text
    EXPECT_EQ(rel2str(P(other), P(global)), kGreater);
    gGlobalTableBase = -1000;
    EXPECT_EQ(rel2str(P(process), P(global)), kGreater);  // -98 against -995

    // The strict comparison: letters that differ only in case are told
    // apart by their order, after the length.
    uint8_t classes[256], order[256];
    for (int c = 0; c < 256; ++c) {
        classes[c] = uint8_t(c >= 'a' && c <= 'z' ? c - 32 : c);
        order[c] = uint8_t(c);
    }
    const auto* lower = reinterpret_cast<const uint8_t*>("abc");
    const auto* upper = reinterpret_cast<const uint8_t*>("ABD");
    EXPECT_EQ(relptrstrict(classes, order, lower, upper, 2, 2), kGreater);
    EXPECT_EQ(relptrstrict(classes, order, upper, lower, 2, 2), kSmaller);
    EXPECT_EQ(relptrstrict(classes, order, lower, upper, 2, 3), kSmaller);
}

TEST_F(Collation, CaseTruncationAndSearch)
{
    std::string text = "caf\x8E";
    upstr(reinterpret_cast<uint8_t*>(text.data()), 4);
    EXPECT_EQ(text, "CAFE");
    EXPECT_EQ(lz3, 4);
    text = "caf\x8E";
    pupstr(reinterpret_cast<uint8_t*>(text.data()), 4);
    EXPECT_EQ(text, "CAF\x83");
    pupstr(reinterpret_cast<uint8_t*>(text.data()), 3);
    EXPECT_EQ(lz3, 3);
    // The copying upper-case touches exactly the length given, none for 0 or less.
    for (const int32_t length : {2, 0, -5}) {
        text = "abc";
        upstr2(reinterpret_cast<uint8_t*>(text.data()), length);
        EXPECT_EQ(text, length == 2 ? "ABc" : "abc") << length;
    }

    P s("hello");
    truncate(s.bytes.data(), 3);
    EXPECT_EQ(s.bytes[0], 3);
    truncate(s.bytes.data(), 9);
    EXPECT_EQ(s.bytes[0], 3);
    truncate(s.bytes.data(), 0);
    EXPECT_EQ(s.bytes[0], 0);

    EXPECT_EQ(Pos(P(""), P("abc")), 0);
    EXPECT_EQ(Pos(P("abc"), P("abc")), 1);
    EXPECT_EQ(Pos(P("c"), P("abcabc")), 3);
    EXPECT_EQ(Pos(P("abcd"), P("abc")), 0);
    EXPECT_EQ(Pos(P("ab"), P("xxab")), 3);  // at the very end
    // Bytes past the text's length are not searched.
    const uint8_t shortText[] = {2, 'a', 'b', 'c'};
    EXPECT_EQ(Pos(P("c"), shortText), 0);
}

TEST_F(Collation, SettingsRecordIsExtendedWithZeros)
{
    std::vector<uint8_t> record(60, 0x11);
    OpenFixture({{FourCC("CUST"), 0, record}});
    init_Strings();
    ASSERT_NE(cust, nullptr);
    ASSERT_EQ(platform::GetHandleSize(cust), kCustSize);
    EXPECT_EQ(uint8_t((*cust)[59]), 0x11);
    for (int32_t i = 60; i < kCustSize; ++i) EXPECT_EQ((*cust)[i], 0) << i;
    // Words of the record from its very first to its last; none outside.
    EXPECT_EQ(CustWord(0), 0x1111);
    EXPECT_EQ(CustWord(59), 0x1100);
    EXPECT_EQ(CustWord(-1), 0);
    EXPECT_EQ(CustWord(kCustSize - 1), 0);
    (*cust)[kCustSize - 2] = 0x22;
    (*cust)[kCustSize - 1] = 0x33;
    EXPECT_EQ(CustWord(kCustSize - 2), 0x2233);  // the last whole word
    // No memory for the record: reported, and no record is left.
    platform::ScopedFault fault(platform::FaultKind::Allocation, 0);
    EXPECT_FALSE(LoadCust());
    EXPECT_EQ(cust, nullptr);
}

TEST_F(Collation, CustomOrderingIsBuiltInMemoryOnly)
{
    // A custom order that puts the digits after the letters.
    std::vector<uint8_t> order, upper(256), classes(256);
    for (int c = 0; c < 256; ++c)
        if (c < '0' || c > '9') order.push_back(uint8_t(c));
    for (int c = '0'; c <= '9'; ++c) order.push_back(uint8_t(c));
    for (int c = 0; c < 256; ++c) upper[c] = classes[c] = uint8_t(c >= 'a' && c <= 'z' ? c - 32 : c);
    OpenFixture({{FourCC("TRIC"), 0, order},
                 {FourCC("TRIC"), 1, upper},
                 {FourCC("TRIC"), 2, classes},
                 {FourCC("TRIC"), 3, {0x12, 0x34}}});
    const std::string before = FileBytes();
    std::fill(tabmajnodiac, tabmajnodiac + 256, 0);  // no class left from before
    init_Strings();
    EXPECT_EQ(nouveaucomp, 1);
    EXPECT_EQ(curtric, 0x1234);
    EXPECT_EQ(Rel("1", "z"), kGreater);
    EXPECT_EQ(Rel("abc", "ABC"), kEqual);
    EXPECT_EQ(Rel("\xFF", "\xFE"), kGreater);  // the last class is loaded too
    // The German selector keeps the custom order's case folding.
    if (cust == nullptr) cust = platform::NewHandleClear(kCustSize);
    platform::WriteBE16(*cust + kCustCollation, kCollateGerman);
    EXPECT_EQ(Rel("abc", "ABC"), kEqual);
    EXPECT_EQ(Match("abcd", "AB@"), kEqual);
    platform::WriteBE16(*cust + kCustCollation, 0);
    EXPECT_EQ(platform::Get1Resource(FourCC("TRI#"), 20), nullptr);
    platform::CloseResFile(platform::CurResFile());
    EXPECT_EQ(FileBytes(), before);
}

TEST_F(Collation, DamagedTablesAreReplacedByTheBuiltOnes)
{
    // A short 'TRI#' 9 and a custom order without its class table.
    OpenFixture({{FourCC("TRI#"), 9, std::vector<uint8_t>(40, 'X')}, {FourCC("TRIC"), 0, std::vector<uint8_t>(256, 0)}});
    const std::string before = FileBytes();
    uint8_t expected[256];
    uint8_t expectedIntl[256];
    BuildFilterTable(expected);
    BuildFilterIntlTable(expectedIntl);
    std::fill(tabfiltre, tabfiltre + 256, 0);
    std::fill(tabfiltre3, tabfiltre3 + 256, 'X');
    curtric = 7;
    init_Strings();
    EXPECT_EQ(nouveaucomp, 0);
    EXPECT_EQ(curtric, 0);  // no custom order, no number
    EXPECT_TRUE(std::equal(tabfiltre, tabfiltre + 256, expected));
    EXPECT_TRUE(std::equal(tabfiltre3, tabfiltre3 + 256, expectedIntl));
    EXPECT_EQ(tabfiltre3[0], 0);
    platform::CloseResFile(platform::CurResFile());
    EXPECT_EQ(FileBytes(), before);
}

TEST_F(Collation, RepeatedEntriesOfACustomOrderLeaveNoWeightsFromBefore)
{
    // Every character takes the place of 'A': all but 'A' weigh 0.
    std::vector<uint8_t> order(256, 'A'), upper(256), classes(256);
    for (int c = 0; c < 256; ++c) upper[c] = classes[c] = uint8_t(c >= 'a' && c <= 'z' ? c - 32 : c);
    OpenFixture({{FourCC("TRIC"), 0, order}, {FourCC("TRIC"), 1, upper}, {FourCC("TRIC"), 2, classes}});
    for (int c = 0; c < 256; ++c) tabvalue[c] = uint8_t(c);
    init_Strings();
    ASSERT_EQ(nouveaucomp, 1);
    EXPECT_EQ(Rel("b", "c"), kEqual);
    EXPECT_EQ(Rel("a", "c"), kGreater);
}

TEST_F(Collation, ScriptSelectorComparesThePlatformsWay)
{
    cust = platform::NewHandleClear(kCustSize);
    platform::WriteBE16(*cust + kCustCollation, kCollateScript);
    EXPECT_EQ(Match("xxabcxx", "@abc@"), kEqual);
    EXPECT_EQ(Match("xxabdxx", "@abc@"), kGreater);
    EXPECT_EQ(Match("xxab", "@abc@"), kGreater);
    EXPECT_EQ(Match("abc", "@abc"), kEqual);  // ends with it, exactly
    EXPECT_EQ(Match("bc", "@abc"), kGreater);
    EXPECT_NE(Rel("\x8E" "t\x8E", "ETE"), kEqual);  // no folding of accents here
}

// The shipped tables are the ones the program would build.
TEST_F(Collation, ShippedTablesMatchTheBuiltOnes)
{
    const char* root = std::getenv("QZ_TEST_SOURCE_DIR");
    if (root == nullptr) GTEST_SKIP() << "QZ_TEST_SOURCE_DIR is not set";
    std::ifstream in(std::string(root) + "/resources/app/collation.r");
    ASSERT_TRUE(in.good());
    std::map<int, std::vector<uint8_t>> tables;
    std::string line;
    int current = -1;
    while (std::getline(in, line)) {
        if (line.rfind("'TRI#' ", 0) == 0) current = std::atoi(line.c_str() + 7);
        const size_t open = line.find("$\"");
        if (open == std::string::npos || current < 0) continue;
        const size_t close = line.find('"', open + 2);
        std::string hex;
        for (char c : line.substr(open + 2, close - open - 2))
            if (c != ' ') hex.push_back(c);
        for (size_t i = 0; i + 1 < hex.size(); i += 2)
            tables[current].push_back(uint8_t(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    uint8_t built[256];
    BuildFilter2Table(built);
    EXPECT_EQ(tables[kFilter2Id], std::vector<uint8_t>(built, built + 256));
    BuildFilterIntlTable(built);
    EXPECT_EQ(tables[kFilterIntlId], std::vector<uint8_t>(built, built + 256));
    BuildFilterTable(built);
    EXPECT_EQ(tables[kFilterId], std::vector<uint8_t>(built, built + 256));
}

}  // namespace

TEST(CollationReset, PutsTheWildcardAndTableBasesBack)
{
    wildchar = '*';
    gGlobalTableBase = 5;
    gProcessTableBase = 6;
    nouveaucomp = 1;
    ResetCollation();
    EXPECT_EQ(wildchar, '@');
    EXPECT_EQ(gGlobalTableBase, 0);
    EXPECT_EQ(gProcessTableBase, 0);
    EXPECT_EQ(nouveaucomp, 0);
}

// Name-code tables, string tables and the name rows of a list.
#include "design/objects/NameTables.h"
#include "platform/core/Endian.h"
#include "platform/core/Faults.h"
#include "platform/core/Memory.h"
#include "tests/design/DesignFixture.h"

namespace designtest {
namespace {

using NameTablesTest = DesignFixture;

// A stored table of `names` (code = name + "!") as another machine wrote
// it: the header in little-endian order, step 10.
platform::Handle LittleEndianTable(const std::vector<std::string>& names)
{
    platform::Handle h = platform::NewHandleClear(kNameCodeHeader + int32_t(names.size() + 2) * kNameCodeEntry);
    auto* p = reinterpret_cast<uint8_t*>(*h);
    p[0] = uint8_t(names.size());  // count, little-endian
    p[4] = 2;                      // free
    p[8] = 0x0A;                   // step 10 stored as 0A 00
    for (size_t i = 0; i < names.size(); ++i) {
        uint8_t* e = p + kNameCodeHeader + i * kNameCodeEntry;
        apptest::ToP(names[i], e);
        apptest::ToP(names[i] + "!", e + 34);
    }
    return h;
}

TEST_F(NameTablesTest, OtherByteOrderIsConvertedByTheFirstUse)
{
    for (int use = 0; use < 3; ++use) {
        platform::Handle t = LittleEndianTable({"Alpha", "Beta"});
        unsigned char code[256];
        if (use == 0) {
            ASSERT_TRUE(GetCode(t, PName("Beta"), code));
            EXPECT_EQ(P(code), "Beta!");
        } else if (use == 1) {
            EXPECT_EQ(SetCode(&t, PName("Gamma"), PName("G")), 0);
            EXPECT_EQ(NameCodeCount(t), 3);
        } else {
            SortNameCode(t);
        }
        EXPECT_EQ(NameCodeStep(t), 10) << use;
        EXPECT_GE(NameCodeCount(t), 2);
        platform::DisposeHandle(t);
    }
}

TEST_F(NameTablesTest, InsertsKeepOrderAndCodesAreUnique)
{
    platform::Handle t = nullptr;
    for (const char* n : {"delta", "alpha", "charlie", "bravo", "echo", "alpha"})
        EXPECT_EQ(SetCode(&t, PName(n), PName(std::string(n) + "Code")), 0);
    ASSERT_EQ(NameCodeCount(t), 5);  // alpha once
    for (int32_t i = 1; i < 5; ++i)
        EXPECT_EQ(CompareStringQz(NameCodeName(t, i - 1), NameCodeName(t, i), false), kSmaller);
    int32_t pos = 0;
    EXPECT_FALSE(SearchNameCode(&t, PName("c"), &pos));
    EXPECT_EQ(pos, 3);
    platform::Handle empty = nullptr;  // made by the search: the first place
    EXPECT_FALSE(SearchNameCode(&empty, PName("c"), &pos));
    EXPECT_EQ(pos, 1);
    platform::DisposeHandle(empty);
    unsigned char code[256];
    apptest::ToP("charlieCode", code);
    EXPECT_FALSE(IsNewCode(t, code));
    apptest::ToP("CHARLIECODE", code);  // the strict collation tells case apart
    EXPECT_TRUE(IsNewCode(t, code));
    apptest::ToP("nothing", code);
    EXPECT_TRUE(IsNewCode(t, code));
    EXPECT_TRUE(IsNewCode(nullptr, code));
    // A 40-character name is stored cut to 33.
    EXPECT_EQ(SetCode(&t, PName(std::string(40, 'z')), PName("z")), 0);
    EXPECT_EQ(NameCodeName(t, 5)[0], 33);
    platform::DisposeHandle(t);
}

TEST_F(NameTablesTest, DamagedCountersReadOnlyWhatTheTableHolds)
{
    platform::Handle t = LittleEndianTable({"a", "b"});
    auto* p = reinterpret_cast<uint8_t*>(*t);
    p[0] = 0xFF;  // count far past the size
    p[1] = 0xFF;
    p[4] = 0xFF;
    p[14] = 200;  // a name whose length runs past its field
    unsigned char code[256];
    EXPECT_FALSE(GetCode(t, PName("zz"), code));
    EXPECT_LE(NameCodeCount(t), 4);
    SortNameCode(t);
    EXPECT_EQ(SetCode(&t, PName("new"), PName("n")), 0);
    platform::DisposeHandle(t);
    // Shorter than its header: read as empty, and an insert starts it anew.
    for (int size : {0, 5}) {
        platform::Handle shortTable = platform::NewHandleClear(size);
        EXPECT_FALSE(GetCode(shortTable, PName("a"), code));
        EXPECT_EQ(SetCode(&shortTable, PName("a"), PName("b")), 0);
        EXPECT_TRUE(GetCode(shortTable, PName("a"), code));
        EXPECT_EQ(P(code), "b");
        platform::DisposeHandle(shortTable);
    }
}

TEST_F(NameTablesTest, ACodeThatCannotBeStoredIsReportedAndTheTableKept)
{
    NameCodeHdl t = nullptr;
    ASSERT_EQ(NewNameCode(&t, 1), 0);
    ASSERT_EQ(SetCode(&t, PName("a"), PName("A")), 0);
    {
        // The table is full: the insert must grow it, and growing fails.
        platform::ScopedFault fault(platform::FaultKind::Allocation, 0);
        EXPECT_EQ(SetCode(&t, PName("b"), PName("B")), platform::memFullErr);
    }
    EXPECT_EQ(NameCodeCount(t), 1);
    unsigned char code[256];
    EXPECT_FALSE(GetCode(t, PName("b"), code));
    EXPECT_TRUE(GetCode(t, PName("a"), code));
    EXPECT_EQ(SetCode(&t, PName("b"), PName("B")), 0) << "and stored once memory allows";
    EXPECT_TRUE(GetCode(t, PName("b"), code));
    platform::DisposeHandle(t);

    NameCodeHdl none = nullptr;
    {
        platform::ScopedFault fault(platform::FaultKind::Allocation, 0);
        EXPECT_EQ(SetCode(&none, PName("a"), PName("A")), platform::memFullErr) << "no table could be made";
    }
    EXPECT_EQ(none, nullptr);
}

TEST_F(NameTablesTest, StringTableFindsOrInserts)
{
    platform::Handle strings = platform::NewHandle(0);
    int16_t id = 20, index = 1;
    EXPECT_FALSE(SearchStringList(PName("Hello"), strings, &id, &index));
    id = 20, index = 2;
    EXPECT_FALSE(SearchStringList(PName("Apple"), strings, &id, &index));
    id = 21, index = 1;
    EXPECT_FALSE(SearchStringList(PName("Zebra"), strings, &id, &index));
    EXPECT_EQ(platform::GetHandleSize(strings), 3 * kStrListEntry);
    id = index = 0;
    EXPECT_TRUE(SearchStringList(PName("hello"), strings, &id, &index));
    EXPECT_EQ(id, 20);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(P(reinterpret_cast<unsigned char*>(*strings)), "Apple");
    {
        platform::ScopedFault fault(platform::FaultKind::Allocation, 0, -1);
        EXPECT_FALSE(SearchStringList(PName("More"), strings, &id, &index));
    }
    EXPECT_EQ(platform::GetHandleSize(strings), 0);  // emptied, nothing inserted
    platform::DisposeHandle(strings);
}

}  // namespace
}  // namespace designtest

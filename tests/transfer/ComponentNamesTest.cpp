// The code names of a generated component's hidden members and the walks
// over a member tree: exact code bytes at the character boundaries, the
// prefix and variable markers, codes found again by name, a seed of 0
// that still ends, and member lists that hold each other visited once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/documents/MainDoc.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/Groups.h"
#include "design/objects/ObjFactory.h"
#include "kernel/startup/KernelGlobals.h"
#include "platform/core/Endian.h"
#include "platform/core/Faults.h"
#include "platform/core/Memory.h"
#include "tests/app/AppFixture.h"
#include "transfer/components/ComponentGroups.h"
#include "transfer/components/NameCodes.h"

namespace transfertest {
namespace {

std::string P(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

std::vector<int> Bytes(const unsigned char* p) { return std::vector<int>(p + 1, p + 1 + p[0]); }

class ComponentNames : public apptest::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ASSERT_EQ(NewNameCode(&table_, 2), 0);
        apptest::ToP("<>", stglobglob);
        apptest::ToP("$", stlocalvar);
    }
    void TearDown() override
    {
        platform::ClearAllFaults();
        platform::DisposeHandle(table_);
        AppFixture::TearDown();
    }
    std::string Name(const std::string& prefix, const std::string& name, uint32_t seed, int16_t* err = nullptr)
    {
        unsigned char p[256], n[256], out[256];
        apptest::ToP(prefix, p);
        apptest::ToP(name, n);
        const int16_t e = transfer::M_GetName(&table_, p, n, out, seed);
        if (err) *err = e;
        return e == 0 ? P(out) : std::string();
    }
    static std::string Code(uint32_t seed, uint32_t counter)
    {
        unsigned char code[16];
        transfer::MakeNameCode(seed, counter, code);
        return P(code);
    }

    platform::Handle table_ = nullptr;
};

TEST_F(ComponentNames, ACodeIsTenTheSeedAndTheProductWithItsCharactersFolded)
{
    const struct {
        uint32_t seed, counter;
        std::vector<int> code;
    } cases[] = {
        // Below 10 raised by 10; 10 itself kept.
        {0x01020304, 1, {10, 12, 13, 14, 11, 12, 13, 14}},
        {0x000A0909, 1, {10, 10, 19, 19, 10, 10, 19, 19}},
        // 127 kept; 128 lowered to 1 and raised to 11; 137 lowered to 10
        // and kept; 255 lowered to 128.
        {0x007F8089, 1, {10, 127, 11, 10, 10, 127, 11, 10}},
        {0x00FF0000, 1, {10, 128, 10, 10, 10, 128, 10, 10}},
        // The product wraps in 32 bits.
        {0x7F000001, 2, {10, 10, 10, 11, 127, 10, 10, 12}},
    };
    for (const auto& c : cases) {
        unsigned char code[16];
        transfer::MakeNameCode(c.seed, c.counter, code);
        EXPECT_EQ(Bytes(code), c.code) << std::hex << c.seed;
    }
}

TEST_F(ComponentNames, TheNameKeepsItsFirstCharacterAndMarkerAndTakesThePrefixAndTheCode)
{
    const uint32_t seed = 0x01020304;
    const struct {
        std::string prefix, name, made;
    } cases[] = {
        {"rp", "rpHelper", "r" "rp" + Code(seed, 1)},
        // The same name without the prefix finds the code made for it.
        {"rp", "Helper", "H" "rp" + Code(seed, 1)},
        {"rp", "Other", "O" "rp" + Code(seed, 2)},
        {"", "<>gCount", "<>g" + Code(seed, 3)},
        {"x", "$tmp", "$tx" + Code(seed, 4)},
    };
    for (const auto& c : cases) EXPECT_EQ(Name(c.prefix, c.name, seed), c.made) << c.name;
    EXPECT_EQ(NameCodeCount(table_), 4);
    EXPECT_EQ(transfer::NameCodeCounter(table_), 4u);
}

TEST_F(ComponentNames, ACodeTakenAlreadyMakesTheCounterMoveOn)
{
    // Two objects of one seed: the second's first code is the first's.
    EXPECT_EQ(Name("", "Alpha", 7), "A" + Code(7, 1));
    transfer::SetNameCodeCounter(table_, 0);
    EXPECT_EQ(Name("", "Beta", 7), "B" + Code(7, 2));
    EXPECT_EQ(transfer::NameCodeCounter(table_), 2u);
}

TEST_F(ComponentNames, ASeedOfZeroStillFindsNewCodes)
{
    EXPECT_EQ(Name("", "One", 0), "O" + Code(1, 1));
    EXPECT_EQ(Name("", "Two", 0), "T" + Code(1, 2));
}

TEST_F(ComponentNames, ATableThatCannotGrowKeepsItsCodesAndSaysSo)
{
    EXPECT_EQ(Name("", "One", 5), "O" + Code(5, 1));
    EXPECT_EQ(Name("", "Two", 5), "T" + Code(5, 2));
    int16_t err = 0;
    {
        platform::ScopedFault full(platform::FaultKind::Allocation, 0, -1);
        EXPECT_EQ(Name("", "Three", 5, &err), "");
    }
    EXPECT_EQ(err, platform::memFullErr);
    EXPECT_EQ(NameCodeCount(table_), 2);
}

TEST_F(ComponentNames, ADamagedTableGivesAnErrorNotANameWithoutItsCode)
{
    unsigned char name[256], code[256];
    apptest::ToP("Helper", name);
    apptest::ToP("abc", code);
    ASSERT_EQ(SetCode(&table_, name, code), 0);
    int16_t err = 0;
    EXPECT_EQ(Name("", "Helper", 5, &err), "");
    EXPECT_EQ(err, 1003);
    // A growth step above 255 whichever way its bytes are read.
    platform::WriteBE16(reinterpret_cast<uint8_t*>(*table_) + 8, 0x66FF);
    EXPECT_EQ(Name("", "Other", 5, &err), "");
    EXPECT_EQ(err, 1003);
}

// Groups built in memory; member lists set directly, as damaged lists read
// them.
class MemberTrees : public apptest::AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ResetDesignGlobals();
        ASSERT_EQ(NewTypeList(&doc_.fTypeList), 0);
    }
    void TearDown() override
    {
        DisposeTypeList(doc_.fTypeList);
        doc_.fTypeList = nullptr;
        ResetDesignGlobals();
        AppFixture::TearDown();
    }
    TObjQz* Make(int16_t kind, const std::string& name, int16_t id)
    {
        unsigned char n[256];
        apptest::ToP(name, n);
        return NewObj_Id(&doc_, kind, n, id, true);
    }
    static void Hold(TObjQz* group, TObjQz* member)
    {
        AddObjList(&group->members, member);
        if (!member->parent) member->parent = static_cast<TGroupObjQz*>(group);
    }

    TMainDoc doc_;
};

TEST_F(MemberTrees, GroupsHoldingEachOtherAreCountedAndSearchedOnce)
{
    TObjQz* a = Make(23, "A", 1);
    TObjQz* b = Make(23, "B", 2);
    TObjQz* m1 = Make(2, "M1", 11);
    TObjQz* m2 = Make(2, "M2", 12);
    TObjQz* outside = Make(2, "Out", 13);
    Hold(a, m1);
    Hold(a, b);
    Hold(b, m2);
    Hold(b, a);
    auto* ga = static_cast<TGroupObjQz*>(a);
    // a: m1, b; b: m2, a (the members of each counted once).
    EXPECT_EQ(transfer::RecursiveGroupCount(ga), 4);
    EXPECT_TRUE(transfer::GroupHolds(ga, m2));
    EXPECT_FALSE(transfer::GroupHolds(ga, outside));
    EXPECT_EQ(transfer::RecursiveDelGroup(ga, transfer::kTablesPass), 0);
    EXPECT_EQ(transfer::RecursiveUnGroup(&doc_, ga), 0);
    // Both groups went; the members stay in the document, in no group.
    EXPECT_EQ(SearchObj_Name(&doc_, 23, reinterpret_cast<const unsigned char*>("\x01" "A")), nullptr);
    EXPECT_EQ(SearchObj_Name(&doc_, 23, reinterpret_cast<const unsigned char*>("\x01" "B")), nullptr);
    for (TObjQz* m : {m1, m2}) {
        EXPECT_EQ(m->parent, nullptr);
        EXPECT_EQ(SearchObj_Name(&doc_, 2, m->name), m);
    }
}

TEST_F(MemberTrees, TheUninstallPassesDeleteTablesThenFormsThenTheRest)
{
    TObjQz* component = Make(32, "C", 1);
    TObjQz* folder = Make(33, "F", 2);
    TObjQz* inner = Make(23, "Inner", 3);
    TObjQz* method = Make(2, "M", 11);
    TObjQz* nested = Make(2, "N", 12);
    Hold(component, folder);
    Hold(folder, method);
    Hold(folder, inner);
    Hold(inner, nested);
    auto* root = static_cast<TGroupObjQz*>(component);
    // Passes 1 and 2 meet no table and no form: nothing goes.
    EXPECT_EQ(transfer::RecursiveDelGroup(root, transfer::kTablesPass), 0);
    EXPECT_EQ(transfer::RecursiveDelGroup(root, transfer::kFormsPass), 0);
    EXPECT_EQ(transfer::RecursiveGroupCount(root), 4);
    EXPECT_EQ(transfer::RecursiveDelGroup(root, transfer::kOthersPass), 0);
    // The folder and its nested group went with their content.
    EXPECT_EQ(transfer::RecursiveGroupCount(root), 0);
    EXPECT_EQ(SearchObj_Name(&doc_, 2, reinterpret_cast<const unsigned char*>("\x01" "M")), nullptr);
    EXPECT_EQ(SearchObj_Name(&doc_, 2, reinterpret_cast<const unsigned char*>("\x01" "N")), nullptr);
}

}  // namespace
}  // namespace transfertest

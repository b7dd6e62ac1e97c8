#include "design/filters/ObjFilter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/core/Memory.h"
#include "platform/windows/Windows.h"
#include "tests/design/DesignFixture.h"

using namespace platform;

namespace designtest {
namespace {

Handle Bytes(const std::vector<uint8_t>& b)
{
    Handle h = nullptr;
    PtrToHand(b.data(), &h, Size(b.size()));
    return h;
}

// One entry: kinds, conditions, criterion and comparison (both 1-based),
// pattern.
std::vector<uint8_t> EntryBytes(uint32_t kinds, uint8_t conditions, uint8_t criterion, uint8_t comparison,
                                const std::string& pattern, uint8_t options = 0)
{
    std::vector<uint8_t> e = {uint8_t(kinds >> 24), uint8_t(kinds >> 16), uint8_t(kinds >> 8), uint8_t(kinds),
                              conditions, options, uint8_t(criterion - 1), uint8_t(comparison - 1), 0, 0,
                              uint8_t(pattern.size())};
    e.insert(e.end(), pattern.begin(), pattern.end());
    if (e.size() % 2) e.push_back(0);
    return e;
}

Handle Filter(const std::vector<std::vector<uint8_t>>& entries)
{
    std::vector<uint8_t> b = {0, uint8_t(entries.size())};
    for (const auto& e : entries) b.insert(b.end(), e.begin(), e.end());
    return Bytes(b);
}

constexpr uint32_t Kind(int k) { return 0x80000000u >> k; }

class ObjFilterTest : public DesignFixture {
protected:
    void TearDown() override
    {
        for (Handle h : handles_) DisposeHandle(h);
        if (list_) LongLDispose(list_);
        if (window_) DisposeWindow(window_);
        DesignFixture::TearDown();
    }
    Handle Keep(Handle h)
    {
        handles_.push_back(h);
        return h;
    }
    LongListHandle NewList()
    {
        const Rect bounds{40, 40, 400, 400};
        const unsigned char none[1] = {0};
        window_ = NewCWindow(nullptr, &bounds, none, false, 0, reinterpret_cast<WindowRef>(-1), false, 0);
        const Rect view{0, 0, 300, 300};
        list_ = LongLNew(&view, 0, kObjectRowLength, Point{16, 280}, 0, window_, false, nullptr);
        return list_;
    }
    std::vector<std::string> Rows() const
    {
        std::vector<std::string> out;
        for (int32_t r = 0; r < list_->rowCount; ++r)
            out.push_back(P(static_cast<TObjQz*>(LongLRowObject(r, list_))->name));
        return out;
    }
    void PutInGroup(TObjQz* obj, TObjQz* group)
    {
        obj->parent = static_cast<TGroupObjQz*>(group);
        obj->level = uint8_t(group->level + 1);
    }

    std::vector<Handle> handles_;
    LongListHandle list_ = nullptr;
    WindowRef window_ = nullptr;
};

TEST_F(ObjFilterTest, ANameEntryAdmitsItsKindByPattern)
{
    // One entry: methods (kind 2) whose name contains "ab".
    Handle f = Keep(Bytes({0x00, 0x01, 0x20, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x01, 0x00, 0x00, 0x02, 0x61,
                           0x62, 0x00}));
    TObjQz* xaby = Make(2, "xaby");
    TObjQz* xy = Make(2, "xy");
    TObjQz* table = Make(1, "abab", 1);
    EXPECT_TRUE(ObjFilter(f, xaby));
    EXPECT_FALSE(ObjFilter(f, xy));
    EXPECT_FALSE(ObjFilter(f, table));
    EXPECT_EQ(GetOrFlags(f), Kind(2));

    // Comparison 3 inverts; 4 and 5 anchor at the start and the end.
    EXPECT_TRUE(ObjFilter(Keep(Filter({EntryBytes(Kind(2), 0, 1, 3, "ab")})), xy));
    EXPECT_FALSE(ObjFilter(Keep(Filter({EntryBytes(Kind(2), 0, 1, 3, "ab")})), xaby));
    EXPECT_TRUE(ObjFilter(Keep(Filter({EntryBytes(Kind(2), 0, 1, 4, "xa")})), xaby));
    EXPECT_FALSE(ObjFilter(Keep(Filter({EntryBytes(Kind(2), 0, 1, 4, "ab")})), xaby));
    EXPECT_TRUE(ObjFilter(Keep(Filter({EntryBytes(Kind(2), 0, 1, 5, "by")})), xaby));
    EXPECT_TRUE(ObjFilter(Keep(Filter({EntryBytes(Kind(2), 0, 1, 1, "XABY")})), xaby));

    // No filter: everything but the hidden and the trashed.
    EXPECT_TRUE(ObjFilter(nullptr, xy));
    xy->SetFlag(kFlagHidden, true);
    EXPECT_FALSE(ObjFilter(nullptr, xy));
    table->SetFlag(kFlagInTrash, true);
    EXPECT_FALSE(ObjFilter(nullptr, table));
    EXPECT_FALSE(ObjFilter(nullptr, nullptr));
}

TEST_F(ObjFilterTest, TheGroupBitAloneAdmitsMembersAndGroups)
{
    Handle f = Keep(Filter({EntryBytes(Kind(23), 0, 1, 1, "")}));
    TObjQz* group = Make(23, "G", 1);
    TObjQz* member = Make(2, "inside");
    TObjQz* outside = Make(2, "outside");
    PutInGroup(member, group);
    EXPECT_TRUE(ObjFilter(f, group));
    EXPECT_TRUE(ObjFilter(f, member));
    EXPECT_FALSE(ObjFilter(f, outside));
}

// A component and its folders are groups: the filters that let groups
// through (all objects, groups) show them, an opened component's folder
// rows included; a filter of other kinds does not.
TEST_F(ObjFilterTest, ComponentsAndTheirFoldersAnswerToTheGroupBit)
{
    TObjQz* component = Make(32, "Tools", 20);
    TObjQz* folder = Make(33, "Public", 21);
    PutInGroup(folder, component);
    const struct {
        const char* filter;
        uint32_t kinds;
        bool passes;
    } cases[] = {
        {"all objects", 0x7FFFFDFEu, true},
        {"groups", Kind(23), true},
        {"project methods", Kind(2), false},
        {"tables and forms", Kind(1) | Kind(24), false},
    };
    for (const auto& c : cases) {
        Handle f = Keep(Filter({EntryBytes(c.kinds, 0, 1, 1, "")}));
        EXPECT_EQ(ObjFilter(f, component), c.passes) << c.filter;
        EXPECT_EQ(ObjFilter(f, folder), c.passes) << c.filter;
    }
}

TEST_F(ObjFilterTest, ConditionsDatesAndCallerCounts)
{
    TObjQz* m = Make(2, "m");
    TObjQz* caller = Make(2, "caller");
    // Documented and unused wanted.
    EXPECT_FALSE(ObjFilter(Keep(Filter({EntryBytes(Kind(2), 0x20 | 0x10, 1, 1, "")})), m));
    m->SetFlag(kFlagHasDoc, true);
    EXPECT_TRUE(ObjFilter(Keep(Filter({EntryBytes(Kind(2), 0x20 | 0x10, 1, 1, "")})), m));
    EXPECT_TRUE(ObjFilter(Keep(Filter({EntryBytes(Kind(2), 0x08 | 0x04, 1, 1, "")})), m));
    ASSERT_EQ(AddObjList(&m->usedBy, caller), 0);
    EXPECT_FALSE(ObjFilter(Keep(Filter({EntryBytes(Kind(2), 0x08 | 0x04, 1, 1, "")})), m));

    // Callers: 1 equal, 2 more than, 3 fewer than.
    EXPECT_TRUE(ObjFilter(Keep(Filter({EntryBytes(Kind(2), 0, 3, 1, "1")})), m));
    EXPECT_TRUE(ObjFilter(Keep(Filter({EntryBytes(Kind(2), 0, 3, 2, "0")})), m));
    EXPECT_FALSE(ObjFilter(Keep(Filter({EntryBytes(Kind(2), 0, 3, 3, "1")})), m));
    EXPECT_TRUE(ObjFilter(Keep(Filter({EntryBytes(Kind(2), 0, 3, 3, "1")})), caller));

    // Dates: comparison 2 passes earlier dates; never-parsed objects never pass.
    const uint32_t day = 86400;
    const uint32_t jan2 = uint32_t(kSeconds1904To1970) + 10957u * day + day + 3600;  // 2000-01-02
    m->resTime = jan2;
    caller->resTime = 0;
    Handle before = Keep(Filter({EntryBytes(Kind(2), 0, 2, 2, "03/01/2000")}));
    Handle equal = Keep(Filter({EntryBytes(Kind(2), 0, 2, 1, "02/01/2000")}));
    Handle after = Keep(Filter({EntryBytes(Kind(2), 0, 2, 3, "03/01/2000")}));
    const bool dayFirst = ObjFilter(equal, m);
    if (!dayFirst) {  // month-first settings
        before = Keep(Filter({EntryBytes(Kind(2), 0, 2, 2, "01/03/2000")}));
        equal = Keep(Filter({EntryBytes(Kind(2), 0, 2, 1, "01/02/2000")}));
        after = Keep(Filter({EntryBytes(Kind(2), 0, 2, 3, "01/03/2000")}));
    }
    EXPECT_TRUE(ObjFilter(equal, m));
    EXPECT_TRUE(ObjFilter(before, m));
    EXPECT_FALSE(ObjFilter(after, m));
    EXPECT_FALSE(ObjFilter(before, caller));
}

TEST_F(ObjFilterTest, EntriesThatDoNotFitEndTheWalk)
{
    // Two entries claimed; the second's pattern runs past the record.
    std::vector<uint8_t> b = {0, 2};
    const auto first = EntryBytes(Kind(1), 0, 1, 1, "zz");
    b.insert(b.end(), first.begin(), first.end());
    auto second = EntryBytes(Kind(2), 0, 1, 1, "");
    second[10] = 200;  // pattern length past the end
    b.insert(b.end(), second.begin(), second.end());
    Handle f = Keep(Bytes(b));
    EXPECT_EQ(GetOrFlags(f), Kind(1));
    EXPECT_FALSE(ObjFilter(f, Make(2, "m")));
    // A count far past the bytes, and a record shorter than an entry head.
    Handle lying = Keep(Bytes({0x7F, 0xFF, 0x20, 0, 0, 0}));
    EXPECT_EQ(GetOrFlags(lying), 0u);
    EXPECT_FALSE(ObjFilter(lying, Make(2, "n")));
    Handle negative = Keep(Bytes({0xFF, 0xFD}));
    EXPECT_FALSE(ObjFilter(negative, Make(2, "o")));
}

TEST_F(ObjFilterTest, FilteringFillsAndTrimsTheListRows)
{
    Make(2, "alpha");
    Make(2, "beta");
    Make(2, "gamma");
    LongListHandle list = NewList();
    ASSERT_NE(list, nullptr);
    Handle all = Keep(Filter({EntryBytes(Kind(2), 0, 1, 1, "")}));
    EXPECT_EQ(DoFilter(all, list, List(2)), 0);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"alpha", "beta", "gamma"}));
    DoMoreFilter(Keep(Filter({EntryBytes(Kind(2), 0, 1, 2, "ta")})), list, true);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"alpha", "gamma"}));
    DoMoreFilter(Keep(Filter({EntryBytes(Kind(2), 0, 1, 2, "al")})), list, false);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"alpha"}));
    EXPECT_EQ(DoFilter(nullptr, list, List(2)), 0);
    EXPECT_EQ(list->rowCount, 0);
}

TEST_F(ObjFilterTest, MembersGoUnderTheirGroups)
{
    TObjQz* a = Make(2, "a");
    TObjQz* group = Make(23, "G", 1);
    TObjQz* sub = Make(23, "S", 2);
    TObjQz* m1 = Make(2, "m1");
    TObjQz* m2 = Make(2, "m2");
    PutInGroup(sub, group);
    PutInGroup(m1, group);
    PutInGroup(m2, sub);
    LongListHandle list = NewList();
    ASSERT_NE(list, nullptr);
    // Rows in list order, members first: the walk moves each under its owner.
    for (TObjQz* o : {m2, a, m1, sub, group}) {
        const int32_t row = LongLAddRow(1, list->rowCount, list);
        LongLSetCell(&o, kObjectRowLength, row, list);
    }
    MajGroupList(list);
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 5u);
    auto at = [&](const char* n) { return std::find(rows.begin(), rows.end(), n) - rows.begin(); };
    EXPECT_LT(at("G"), at("S"));
    EXPECT_EQ(at("m2"), at("S") + 1);
    EXPECT_GT(at("m1"), at("G"));

    // A member whose group has no row brings the group in, at the end.
    LongLDelRow(list->rowCount, 0, list);
    int32_t row = -1;
    AddOwner(m2, list, &row);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"G", "S", "m2"}));
    EXPECT_EQ(row, 2);
    EXPECT_TRUE(IsOpenCell(0, list));
    AddOwner(a, list, &row);  // no owner
    EXPECT_EQ(row, -1);

    // A damaged chain, two groups each the other's owner: no row at all.
    LongLDelRow(list->rowCount, 0, list);
    auto* loopA = static_cast<TGroupObjQz*>(Make(23, "LoopA", 3));
    auto* loopB = static_cast<TGroupObjQz*>(Make(23, "LoopB", 4));
    TObjQz* inLoop = Make(2, "inLoop");
    loopA->parent = loopB;
    loopB->parent = loopA;
    inLoop->parent = loopA;
    AddOwner(inLoop, list, &row);
    EXPECT_EQ(row, -1);
    EXPECT_EQ(list->rowCount, 0);
    loopA->parent = loopB->parent = inLoop->parent = nullptr;
}

// "Contains" finds the pattern whole, at either end and inside, under the
// collation (case and accents aside), for patterns of any length.
TEST(TextMatching, ContainsFindsThePatternAnywhere)
{
    struct Case {
        std::string text, pattern;
        bool found;
    } cases[] = {
        {"Invoice", "Invoice", true},  {"Invoice_Close", "invoice", true}, {"Close_Invoice", "INVOICE", true},
        {"Print_Invoice_Now", "voice", true}, {"Invoic", "Invoice", false}, {"Close", "Invoice", false},
        {"Log_Event", "", true},       {"Log_Event", "g_E", true},         {"LogEvent", "g_E", false},
        {"x", std::string(254, 'x'), false}, {std::string(200, 'x'), std::string(254, 'x'), false},
        // Patterns too long for two wildcards: found only whole, never cut.
        {"y" + std::string(254, 'x'), std::string(254, 'x'), true},
        {std::string(254, 'x') + "y", std::string(254, 'x'), true},
        {"y" + std::string(253, 'x') + "y", std::string(254, 'x'), false},
        {std::string(255, 'x'), std::string(255, 'x'), true},
        {"y" + std::string(254, 'x'), std::string(255, 'x'), false},
        {std::string(254, 'x') + "y", std::string(255, 'x'), false},
    };
    for (const Case& c : cases)
        for (int16_t mode : {2, 3}) {
            unsigned char text[256], pattern[256];
            apptest::ToP(c.text, text);
            apptest::ToP(c.pattern, pattern);
            EXPECT_EQ(StringMatch(text, pattern, mode), c.found) << c.text << " / " << c.pattern.size() << " " << mode;
        }
}

// "Begins with" and "ends with" a pattern with no room left for a wildcard
// find it only whole.
TEST(TextMatching, EndsTakeALongPatternOnlyWhole)
{
    const std::string x254(254, 'x'), x255(255, 'x');
    struct Case {
        std::string text, pattern;
        bool begins, ends;
    } cases[] = {
        {x254 + "y", x254, true, false}, {"y" + x254, x254, false, true},
        {x255, x255, true, true},        {x254 + "y", x255, false, false}, {"y" + x254, x255, false, false},
    };
    for (const Case& c : cases) {
        unsigned char text[256], pattern[256];
        apptest::ToP(c.text, text);
        apptest::ToP(c.pattern, pattern);
        EXPECT_EQ(StringMatch(text, pattern, 4), c.begins) << c.text.front() << c.text.back() << " " << c.pattern.size();
        EXPECT_EQ(StringMatch(text, pattern, 5), c.ends) << c.text.front() << c.text.back() << " " << c.pattern.size();
    }
}

TEST(TextMatching, ReplaceAndMatch)
{
    uint8_t buffer[32] = {'a', 'a', 'a'};
    int32_t length = 3;
    const unsigned char a[2] = {1, 'a'}, aa[3] = {2, 'a', 'a'};
    EXPECT_EQ(Do_TxtReplace(buffer, &length, a, aa), 0);
    EXPECT_EQ(length, 6);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 6), "aaaaaa");

    unsigned char text[256] = {5, 'x', 'a', 'y', 'a', 'z'};
    const unsigned char bb[3] = {2, 'b', 'b'};
    EXPECT_TRUE(ReplaceChars(text, a, bb));
    EXPECT_EQ(P(text), "xbbyaz");
    const unsigned char q[2] = {1, 'q'};
    EXPECT_FALSE(ReplaceChars(text, q, bb));
    // Grown past 255 characters: cut.
    unsigned char full[256];
    full[0] = 255;
    std::memset(full + 1, 'a', 255);
    EXPECT_TRUE(ReplaceChars(full, a, bb));
    EXPECT_EQ(full[0], 255);

    const uint8_t run[] = {'h', 'e', 'l', 'l', 'o'};
    const unsigned char ell[4] = {3, 'e', 'l', 'l'}, lo[3] = {2, 'l', 'o'}, he[3] = {2, 'h', 'e'}, no[3] = {2, 'x', 'y'};
    EXPECT_TRUE(TextMatch(run, 5, ell, 0));
    EXPECT_TRUE(TextMatch(run, 5, lo, 0));
    EXPECT_TRUE(TextMatch(run, 5, he, 0));
    EXPECT_FALSE(TextMatch(run, 5, no, 0));
}

}  // namespace
}  // namespace designtest

// The object-list sorts on keys give the order the diminishing-gap
// exchanges give, ties included.
#include <random>

#include "design/objects/ObjSorts.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "tests/design/DesignFixture.h"

namespace designtest {
namespace {

using SortTest = DesignFixture;

TEST(GapSortOrder, MatchesTheExchangesOnTwentyThousandKeysWithTies)
{
    // Few distinct ranks make long runs of ties; sizes around powers of two
    // change the gaps.
    for (const auto& [n, distinct] : std::vector<std::pair<int, uint32_t>>{
             {0, 1}, {1, 1}, {2, 1}, {3, 2}, {17, 3}, {1024, 5}, {1025, 40}, {20000, 7}, {20000, 20000}}) {
        std::mt19937 random(uint32_t(n) * 31 + distinct);
        std::vector<uint32_t> rank(static_cast<size_t>(n));
        for (auto& r : rank) r = random() % distinct;
        std::vector<int32_t> reference(static_cast<size_t>(n));
        for (int32_t i = 0; i < n; ++i) reference[size_t(i)] = i;
        DiminishingGapSort(
            n, [&](int32_t i, int32_t j) { return rank[size_t(reference[size_t(i)])] > rank[size_t(reference[size_t(j)])]; },
            [&](int32_t i, int32_t j) { std::swap(reference[size_t(i)], reference[size_t(j)]); });
        EXPECT_EQ(GapSortOrder(rank), reference) << n << " entries, " << distinct << " ranks";
    }
}

// The sorts as they were: the exchanges over a comparison of two objects.
void ReferenceSort(ObjListHdl list, bool full)
{
    TObjQz** e = list->entries;
    auto kind = [](const TObjQz* o) { return o->kind == 23 ? 32767 : o->kind; };
    DiminishingGapSort(
        list->Size(),
        [&](int32_t i, int32_t j) {
            if (kind(e[i]) != kind(e[j])) return kind(e[i]) > kind(e[j]);
            unsigned char a[256], b[256];
            full ? e[i]->GetFullName(a) : e[i]->GetStructName(a);
            full ? e[j]->GetFullName(b) : e[j]->GetStructName(b);
            const bool atA = a[0] && a[1] == '@', atB = b[0] && b[1] == '@';
            if (atA != atB) return atB;
            return (full ? rel2str(a, b) : CompareStringQz(a, b, false)) == kGreater;
        },
        [&](int32_t i, int32_t j) { std::swap(e[i], e[j]); });
}

TEST_F(SortTest, ShellSortsGiveTheOrderOfTheExchangesTiesIncluded)
{
    // Names that tie under the ordering collation (case, accents) and under
    // both (the same name twice), with "@" names and groups among them.
    static const std::string alphabet = "aAbB@1\x87\xE7";  // "1" collates before "@"
    std::mt19937 random(5);
    std::vector<TObjQz*> objects;
    for (int i = 0; i < 3000; ++i) {
        std::string name(1 + random() % 3, ' ');
        for (auto& c : name) c = alphabet[random() % alphabet.size()];
        const int16_t kinds[] = {2, 4, 23, 18};
        objects.push_back(Make(kinds[random() % 4], name, int16_t(i + 1), true));
    }
    for (bool full : {false, true}) {
        SCOPED_TRACE(full ? "ShellSortFullName" : "ShellSort");
        ObjListHdl ours = nullptr, theirs = nullptr;
        ASSERT_EQ(NewObjList(&ours, 10), 0);
        ASSERT_EQ(NewObjList(&theirs, 10), 0);
        std::shuffle(objects.begin(), objects.end(), random);
        for (TObjQz* o : objects) {
            ASSERT_EQ(AddObjList(&ours, o), 0);
            ASSERT_EQ(AddObjList(&theirs, o), 0);
        }
        full ? ShellSortFullName(ours) : ShellSort(ours);
        ReferenceSort(theirs, full);
        EXPECT_TRUE(std::equal(ours->entries, ours->entries + ours->Size(), theirs->entries));
        // Sorting again changes nothing.
        full ? ShellSortFullName(ours) : ShellSort(ours);
        EXPECT_TRUE(std::equal(ours->entries, ours->entries + ours->Size(), theirs->entries));
        FreeObjList(ours);
        FreeObjList(theirs);
    }
}

TEST_F(SortTest, IdSortOrdersKindThenIdAndCompiledReferencesSortByComparing)
{
    ObjListHdl list = nullptr;
    ASSERT_EQ(NewObjList(&list, 10), 0);
    for (TObjQz* o : {Make(23, "g", 5), Make(2, "b", 7), Make(2, "a", -3), Make(4, "c", 1), Make(2, "d", 2)})
        ASSERT_EQ(AddObjList(&list, o), 0);
    Shell_IdSort(list);
    std::vector<int16_t> ids;
    for (int i = 0; i < list->Size(); ++i) ids.push_back(list->At(i)->id);
    EXPECT_EQ(ids, (std::vector<int16_t>{-3, 2, 7, 1, 5}));
    FreeObjList(list);

    // With compiled references compared as numbers no key says the order:
    // the comparison itself sorts, as before.
    testcompilo_relstr = 1;
    ObjListHdl ours = nullptr, theirs = nullptr;
    ASSERT_EQ(NewObjList(&ours, 10), 0);
    ASSERT_EQ(NewObjList(&theirs, 10), 0);
    for (const char* n : {"b", "A", "@z", "a", "c", "B"}) {
        TObjQz* o = Make(2, n, 0, true);
        ASSERT_EQ(AddObjList(&ours, o), 0);
        ASSERT_EQ(AddObjList(&theirs, o), 0);
    }
    ShellSortFullName(ours);
    ReferenceSort(theirs, true);
    testcompilo_relstr = 0;
    EXPECT_TRUE(std::equal(ours->entries, ours->entries + ours->Size(), theirs->entries));
    FreeObjList(ours);
    FreeObjList(theirs);
}

}  // namespace
}  // namespace designtest

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/core/Faults.h"
#include "platform/core/Memory.h"
#include "toolbox/foundation/VArrayList.h"
#include "toolbox/foundation/VChainList.h"

namespace {

using platform::FaultKind;
using platform::ScopedFault;

struct ResIDMap {
    uint32_t type;
    int16_t oldID;
    int16_t newID;
};

template <class T>
std::vector<T> Contents(const VListOf<T>& list)
{
    std::vector<T> out;
    for (int32_t i = 1; i <= list.GetCount(); ++i) out.push_back(list.GetNth(i));
    return out;
}

// Counts its own destructions.
struct Tracked : VObject {
    explicit Tracked(int* deaths) : fDeaths(deaths) {}
    ~Tracked() override { ++*fDeaths; }
    int* fDeaths;
};

TEST(ArrayList, GrowsTenElementsPastTheNeed)
{
    VArrayListOf<int32_t> list(0);
    const int64_t before = platform::MemoryInUse();
    std::vector<int64_t> grown;
    for (int32_t i = 1; i <= 12; ++i) {
        const int64_t used = platform::MemoryInUse();
        list.Add(i);
        if (platform::MemoryInUse() != used) grown.push_back(platform::MemoryInUse() - before);
    }
    EXPECT_EQ(grown, (std::vector<int64_t>{11 * 4, 22 * 4}));
    list.DeleteNth(1, kListForget);
    EXPECT_EQ(platform::MemoryInUse() - before, 22 * 4);  // removals keep the block
    list.Destroy(kListForget);
    EXPECT_EQ(platform::MemoryInUse(), before);
    EXPECT_TRUE(list.IsEmpty());
}

TEST(ArrayList, ReadsOutsideAnswerTheNullDatumAndPositionsAreClamped)
{
    VArrayListOf<ResIDMap> list(0);
    EXPECT_EQ(list.GetFirst().type, 0u);
    EXPECT_EQ(list.GetLast().oldID, 0);
    list.Destroy(kListDeleteData);

    list.AddNth({1, 1, 1}, 0);
    list.AddNth({2, 2, 2}, -5);
    list.AddNth({3, 3, 3}, list.GetCount() + 7);
    list.AddNth({4, 4, 4}, 2);
    std::vector<uint32_t> types;
    for (const ResIDMap& m : Contents(list)) types.push_back(m.type);
    EXPECT_EQ(types, (std::vector<uint32_t>{2, 4, 1, 3}));
    EXPECT_EQ(list.GetNth(0).type, 0u);
    EXPECT_EQ(list.GetNth(5).newID, 0);

    // Positions outside 1..count are ignored by SetNth and DeleteNth.
    list.SetNth({9, 9, 9}, 5);
    list.SetNth({9, 9, 9}, 0);
    list.DeleteNth(7, kListForget);
    EXPECT_EQ(list.GetCount(), 4);
    list.SetNth({9, 9, 9}, 4);
    EXPECT_EQ(list.GetLast().type, 9u);
}

TEST(ArrayList, SearchesAnchorsAndUniqueFlag)
{
    VArrayListOf<int16_t> list(0);
    for (int16_t v : {10, 20, 30, 20}) list.Add(v);
    EXPECT_EQ(list.FindPos(20), 2);
    EXPECT_EQ(list.FindPos(99), 0);
    EXPECT_EQ(list.Next(20), 30);
    EXPECT_EQ(list.Next(99), 10);  // an absent element: the first one
    EXPECT_EQ(list.Previous(10), 0);
    EXPECT_EQ(list.Previous(99), 0);

    list.AddAfter(25, 20);
    list.AddBefore(5, 99);  // an absent anchor puts it at the head
    list.AddAfter(6, 99);
    EXPECT_EQ(Contents<int16_t>(list), (std::vector<int16_t>{6, 5, 10, 20, 25, 30, 20}));

    list.SetUnique(true);
    list.Add(30);
    list.AddHead(10);
    EXPECT_EQ(list.GetCount(), 7);  // existing duplicates stay too
    list.Delete(20, kListForget);
    EXPECT_EQ(Contents<int16_t>(list), (std::vector<int16_t>{6, 5, 10, 25, 30, 20}));
}

TEST(ArrayList, FailedGrowthAddsNothing)
{
    VArrayListOf<int32_t> list(0);
    for (int32_t i = 1; i <= 11; ++i) list.Add(i);
    {
        ScopedFault fault(FaultKind::Allocation, 0, -1);
        list.Add(12);
        list.AddHead(0);
    }
    EXPECT_EQ(list.GetCount(), 11);
    EXPECT_EQ(list.GetFirst(), 1);
    list.Add(12);
    EXPECT_EQ(list.GetLast(), 12);
}

TEST(ArrayList, LockAndGetFirstSeesTheElements)
{
    VArrayListOf<uint32_t> list(0);
    list.Add(7);
    list.Add(8);
    uint32_t* first = list.LockAndGetFirst();
    list.Add(9);  // room left: the locked block keeps its place
    EXPECT_EQ(first[2], 9u);
    EXPECT_EQ(list.GetNth(3), 9u);
    list.Unlock();
}

TEST(PointerLists, DeleteOnlyWhenAskedAndCompareByIdentity)
{
    int deaths = 0;
    {
        VArrayListPtrOf<Tracked*> list(0);
        auto* a = new Tracked(&deaths);
        auto* b = new Tracked(&deaths);
        list.Add(a);
        list.Add(b);
        list.Add(nullptr);
        list.DeleteNth(1, kListDeleteData);
        EXPECT_EQ(deaths, 1);
        list.Delete(b, kListForget);
        EXPECT_EQ(deaths, 1);
        list.Add(b);
        list.Destroy(kListDeleteData);
        EXPECT_EQ(deaths, 2);
    }
    auto* kept = new Tracked(&deaths);
    {
        VChainListPtrOf<VObject*> chain(0);
        chain.Add(kept);
        chain.Add(new Tracked(&deaths));
        chain.DeleteNth(2, kListDeleteData);
        EXPECT_EQ(deaths, 3);
    }  // the destructor only forgets
    EXPECT_EQ(deaths, 3);
    delete kept;
}

TEST(ChainList, PositionsAnchorsAndNeighbours)
{
    VChainListOf<int32_t> list(7);
    EXPECT_EQ(list.GetObjType(), 7);
    EXPECT_EQ(list.GetFirst(), 0);
    for (int32_t v : {1, 2, 3, 4, 5}) list.Add(v);
    list.AddNth(10, 4);
    list.AddNth(0, -1);
    list.AddNth(99, 100);
    EXPECT_EQ(Contents<int32_t>(list), (std::vector<int32_t>{0, 1, 2, 3, 10, 4, 5, 99}));
    for (int32_t n = 1; n <= 8; ++n) EXPECT_EQ(list.GetNth(n), Contents<int32_t>(list)[n - 1]);

    list.AddAfter(11, 10);
    list.AddBefore(9, 10);
    list.AddAfter(50, 77);  // an absent anchor appends
    EXPECT_EQ(Contents<int32_t>(list), (std::vector<int32_t>{0, 1, 2, 3, 9, 10, 11, 4, 5, 99, 50}));
    EXPECT_EQ(list.Next(77), 0);  // unlike the array list
    EXPECT_EQ(list.Next(50), 0);
    EXPECT_EQ(list.Previous(1), 0);
    EXPECT_EQ(list.Previous(9), 3);

    list.SetNth(-1, 11);
    list.SetNth(-2, 12);
    list.DeleteNth(0, kListForget);
    list.Delete(3, kListForget);
    list.DeleteNth(1, kListForget);
    EXPECT_EQ(Contents<int32_t>(list), (std::vector<int32_t>{1, 2, 9, 10, 11, 4, 5, 99, -1}));
    EXPECT_EQ(list.GetLast(), -1);

    list.SetUnique(true);
    list.AddHead(10);
    list.AddNth(5, 3);
    EXPECT_EQ(list.GetCount(), 9);
}

TEST(ChainList, StealListLeavesTheSourceEmptyAndUsable)
{
    VChainListOf<int32_t> source(3), target(0);
    source.SetUnique(true);
    source.Add(1);
    source.Add(2);
    target.Add(9);
    target.StealList(source);
    EXPECT_EQ(Contents<int32_t>(target), (std::vector<int32_t>{1, 2}));
    EXPECT_TRUE(target.GetUnique());
    EXPECT_EQ(target.GetObjType(), 3);
    EXPECT_TRUE(source.IsEmpty());
    EXPECT_EQ(source.GetFirst(), 0);
    source.Add(5);
    EXPECT_EQ(Contents<int32_t>(source), (std::vector<int32_t>{5}));
}

TEST(Iterators, ArrayCursorWrapsAroundAndChainCursorStaysOff)
{
    VArrayListOf<int32_t> array(0);
    array.Add(1);
    array.Add(2);
    std::unique_ptr<VIteratorOf<int32_t>> a(array.NewIterator(-1));
    EXPECT_EQ(a->Next(), 1);
    EXPECT_EQ(a->Next(), 2);
    EXPECT_EQ(a->Next(), 0);
    EXPECT_EQ(a->GetPos(), 0);
    EXPECT_EQ(a->Next(), 1);
    EXPECT_EQ(a->Last(), 2);
    EXPECT_EQ(a->Current(), 2);
    EXPECT_EQ(a->Previous(), 1);
    EXPECT_EQ(a->Previous(), 0);
    a->SetPos(5);
    EXPECT_EQ(a->GetPos(), 0);
    a->SetCurrent(2);
    EXPECT_EQ(a->GetPos(), 2);
    array.Destroy(kListForget);
    EXPECT_EQ(a->Current(), 0);  // the list shrank below the cursor

    VChainListOf<int32_t> chain(0);
    chain.Add(1);
    chain.Add(2);
    std::unique_ptr<VIteratorOf<int32_t>> c(chain.NewIterator(-1));
    EXPECT_EQ(c->Next(), 1);
    EXPECT_EQ(c->Next(), 2);
    EXPECT_EQ(c->Next(), 0);
    EXPECT_EQ(c->Next(), 0);
    EXPECT_EQ(c->GetPos(), 0);
    c->SetPos(-1);
    EXPECT_EQ(c->Previous(), 2);
    EXPECT_EQ(c->GetPos(), 2);
    EXPECT_EQ(c->Previous(), 1);
    EXPECT_EQ(c->Previous(), 0);
    c->SetPos(2);
    EXPECT_EQ(c->Current(), 2);
    c->SetCurrent(1);
    EXPECT_EQ(c->GetPos(), 1);
    c->SetCurrent(7);
    EXPECT_EQ(c->GetPos(), 0);
    EXPECT_EQ(c->Current(), 0);

    // A chain cursor over a list of another kind has no list.
    VChainIteratorOf<int32_t> foreign(&array);
    EXPECT_EQ(foreign.Next(), 0);
}

}  // namespace

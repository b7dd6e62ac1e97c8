#include <gtest/gtest.h>

#include <vector>

#include "platform/core/Faults.h"
#include "platform/core/Memory.h"
#include "toolbox/foundation/VIndexedList.h"
#include "toolbox/foundation/VStack.h"

namespace {

using platform::FaultKind;
using platform::ScopedFault;

struct Tracked : VObject {
    explicit Tracked(int* deaths) : fDeaths(deaths) {}
    ~Tracked() override { ++*fDeaths; }
    int* fDeaths;
};

std::vector<int32_t> Indices(const VIndexedList& list)
{
    std::vector<int32_t> out;
    VIndexedIterator it(&list);
    while (it.Next()) out.push_back(it.GetPos());
    return out;
}

TEST(Stacks, PopOrderEmptyStackAndGrowth)
{
    VWordStack words;
    EXPECT_EQ(words.Pop(), 0);
    EXPECT_TRUE(words.IsEmpty());
    words.Push(-3);
    words.Push(7);
    EXPECT_EQ(words.Pop(), 7);
    EXPECT_EQ(words.Pop(), -3);
    EXPECT_EQ(words.Pop(), 0);

    VLongStack longs;
    const int64_t before = platform::MemoryInUse();
    for (int32_t i = 1; i <= 10; ++i) longs.Push(i * 100000);
    EXPECT_EQ(platform::MemoryInUse() - before, 40);
    longs.Push(11);
    EXPECT_EQ(platform::MemoryInUse() - before, 80);
    EXPECT_EQ(longs.Pop(), 11);
    EXPECT_EQ(longs.Pop(), 1000000);
    longs.EmptyIt();
    EXPECT_TRUE(longs.IsEmpty());
    EXPECT_EQ(platform::MemoryInUse() - before, 80);  // the block is kept
}

TEST(Stacks, APushThatCannotGrowIsDropped)
{
    VLongStack stack;
    for (int32_t i = 1; i <= 10; ++i) stack.Push(i);
    {
        ScopedFault fault(FaultKind::Allocation, 0, -1);
        stack.Push(99);
    }
    stack.Push(11);  // grows now, to the size it would have had
    EXPECT_EQ(stack.Pop(), 11);
    EXPECT_EQ(stack.Pop(), 10);

    VWordStack fresh;
    {
        ScopedFault fault(FaultKind::Allocation, 0, -1);
        fresh.Push(5);
    }
    EXPECT_TRUE(fresh.IsEmpty());
    EXPECT_EQ(fresh.Pop(), 0);
}

TEST(IndexedList, DepthFollowsTheLargestIndex)
{
    EXPECT_EQ(VIndexedList(300).GetMaxIndex(), 65536);
    EXPECT_EQ(VIndexedList(200).GetMaxIndex(), 256);
    EXPECT_EQ(VIndexedList(70000).GetMaxIndex(), 16777216);
    EXPECT_EQ(VIndexedList(0x7FFFFFFF).GetMaxIndex(), 0x7FFFFFFF);
    EXPECT_EQ(VIndexedList(-1).GetMaxIndex(), 0x7FFFFFFF);
}

TEST(IndexedList, PagesComeAndGoWithTheirEntries)
{
    VIndexedList list(0x7FFFFFFF);
    VObject a, b;
    const size_t pages = platform::LivePtrCount();
    list.SetNth(&a, 70000);
    EXPECT_EQ(platform::LivePtrCount() - pages, 4u);
    EXPECT_EQ(list.GetNth(70000), &a);
    EXPECT_EQ(list.GetNth(70001), nullptr);
    list.SetNth(&b, 70000);
    EXPECT_EQ(list.GetCount(), 1);
    list.SetNth(&a, 0x7FFFFFFF);
    EXPECT_EQ(list.GetCount(), 2);
    list.SetNth(nullptr, 70000);
    list.DeleteNth(0x7FFFFFFF, kListForget);
    list.SetNth(nullptr, 5000000);  // nothing stored: no page made
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(platform::LivePtrCount(), pages);
    EXPECT_TRUE(Indices(list).empty());

    // A page that cannot be made stores nothing.
    {
        ScopedFault fault(FaultKind::Allocation, 2);
        list.SetNth(&a, 5);
    }
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetNth(5), nullptr);
    EXPECT_EQ(platform::LivePtrCount(), pages);
}

TEST(IndexedList, RefusesIndicesBeyondItsDepth)
{
    VIndexedList list(200);
    VObject a;
    list.SetNth(&a, 257);
    list.SetNth(&a, 0);
    list.SetNth(&a, -1);
    EXPECT_EQ(list.GetCount(), 0);
    list.SetNth(&a, 1);
    EXPECT_EQ(list.GetNth(257), nullptr);  // would alias index 1
    list.DeleteNth(257, kListForget);
    EXPECT_EQ(list.GetCount(), 1);

    // An insertion that would push an entry past the maximum moves nothing.
    list.SetNth(&a, 250);
    list.Insert(100, 10);
    EXPECT_EQ(Indices(list), (std::vector<int32_t>{1, 250}));
    // Nor may the maximum drop below an entry.
    list.SetMaxIndex(0x7FFFFFFF);
    list.SetNth(&a, 70000);
    list.SetMaxIndex(300);
    EXPECT_EQ(list.GetMaxIndex(), 0x7FFFFFFF);
    list.SetNth(nullptr, 70000);
    list.SetMaxIndex(300);
    EXPECT_EQ(list.GetMaxIndex(), 65536);
    EXPECT_EQ(Indices(list), (std::vector<int32_t>{1, 250}));
    list.Insert(100, 10);
    EXPECT_EQ(Indices(list), (std::vector<int32_t>{1, 260}));
}

TEST(IndexedList, IteratesInIndexOrderAndMovesRanges)
{
    VIndexedList list(0x7FFFFFFF);
    VObject e5, e300, e70000;
    list.SetNth(&e70000, 70000);
    list.SetNth(&e5, 5);
    list.SetNth(&e300, 300);
    VIndexedIterator it(&list);
    EXPECT_EQ(it.GetPos(), 0);
    EXPECT_EQ(it.Current(), nullptr);
    EXPECT_EQ(it.Next(), &e5);
    EXPECT_EQ(it.GetPos(), 5);
    EXPECT_EQ(it.Next(), &e300);
    EXPECT_EQ(it.GetPos(), 300);
    EXPECT_EQ(it.Current(), &e300);
    EXPECT_EQ(it.Next(), &e70000);
    EXPECT_EQ(it.GetPos(), 70000);
    EXPECT_EQ(it.Next(), nullptr);
    EXPECT_EQ(it.GetPos(), 0);
    EXPECT_EQ(it.Next(), nullptr);

    VIndexedList small(0x7FFFFFFF);
    small.SetNth(&e5, 9);
    small.SetNth(&e300, 10);
    small.Insert(11, 3);  // past the largest index: nothing
    EXPECT_EQ(Indices(small), (std::vector<int32_t>{9, 10}));
    small.Insert(10, 3);
    EXPECT_EQ(Indices(small), (std::vector<int32_t>{9, 13}));
    small.Remove(9, 2, kListForget);
    EXPECT_EQ(Indices(small), (std::vector<int32_t>{11}));
    EXPECT_EQ(small.GetNth(11), &e300);
    EXPECT_EQ(small.GetCount(), 1);
}

TEST(IndexedList, RemoveDeletesOnlyWhenAskedAndCopiesShareEntries)
{
    int deaths = 0;
    VIndexedList list(1000);
    for (int32_t n : {1, 2, 3, 600}) list.SetNth(new Tracked(&deaths), n);
    VObject* kept = list.GetNth(600);
    {
        VIndexedList copy(list);
        EXPECT_EQ(copy.GetCount(), 4);
        EXPECT_EQ(copy.GetNth(600), kept);
    }
    EXPECT_EQ(deaths, 0);
    list.Remove(2, 2, kListDeleteData);
    EXPECT_EQ(deaths, 2);
    EXPECT_EQ(Indices(list), (std::vector<int32_t>{1, 598}));
    EXPECT_EQ(list.GetNth(598), kept);

    // A rebuild that cannot make its pages leaves the list as it was.
    {
        ScopedFault fault(FaultKind::Allocation, 0, -1);
        list.Remove(1, 1, kListDeleteData);
        list.Insert(1, 5);
    }
    EXPECT_EQ(deaths, 2);
    EXPECT_EQ(Indices(list), (std::vector<int32_t>{1, 598}));
    list.Destroy(kListDeleteData);
    EXPECT_EQ(deaths, 4);
    EXPECT_TRUE(list.IsEmpty());
}

}  // namespace

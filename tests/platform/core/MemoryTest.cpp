#include "platform/core/Memory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/core/Faults.h"
#include "tests/platform/core/FailingNewDefinitions.h"

using namespace platform;

#ifdef NDEBUG
constexpr bool kMovesByDefault = false;  // as the memory manager starts
#else
constexpr bool kMovesByDefault = true;
#endif

TEST(Handles, KeepContentsAndLockStateAcrossResize)
{
    Handle h = NewHandle(4);
    ASSERT_NE(h, nullptr);
    std::memcpy(*h, "abcd", 4);

    SetHandlesMoveOnResize(true);
    char* before = *h;
    SetHandleSize(h, 4000);
    EXPECT_EQ(MemError(), noErr);
    EXPECT_NE(*h, before) << "an unlocked handle moves when resized";
    EXPECT_EQ(std::memcmp(*h, "abcd", 4), 0);
    EXPECT_EQ(GetHandleSize(h), 4000);

    HLock(h);
    EXPECT_EQ(HGetState(h) & kHandleLockedBit, kHandleLockedBit);
    char* locked = *h;
    SetHandleSize(h, 10);
    EXPECT_EQ(MemError(), noErr);
    EXPECT_EQ(*h, locked) << "a locked handle never moves";
    EXPECT_NE(HGetState(h) & kHandleLockedBit, 0) << "resizing keeps the lock state";
    SetHandleSize(h, 5000);
    EXPECT_EQ(MemError(), memFullErr) << "a locked block cannot grow past its room";
    EXPECT_EQ(GetHandleSize(h), 10);

    int8_t state = HGetState(h);
    HUnlock(h);
    HPurge(h);
    EXPECT_EQ(HGetState(h), int8_t((state & ~kHandleLockedBit) | kHandlePurgeableBit));
    HSetState(h, state);
    EXPECT_EQ(HGetState(h), state);
    DisposeHandle(h);
    EXPECT_FALSE(IsValidHandle(h));
}

TEST(Handles, CopyAndAppend)
{
    Handle h = NewHandle(3);
    std::memcpy(*h, "xyz", 3);
    Handle copy = h;
    ASSERT_EQ(HandToHand(&copy), noErr);
    EXPECT_NE(copy, h);
    EXPECT_EQ(GetHandleSize(copy), 3);
    EXPECT_EQ(std::memcmp(*copy, "xyz", 3), 0);

    ASSERT_EQ(HandAndHand(h, copy), noErr);
    EXPECT_EQ(GetHandleSize(copy), 6);
    EXPECT_EQ(std::memcmp(*copy, "xyzxyz", 6), 0);
    // Appending a handle's own bytes to itself.
    ASSERT_EQ(PtrAndHand(*copy, copy, 6), noErr);
    EXPECT_EQ(std::memcmp(*copy, "xyzxyzxyzxyz", 12), 0);

    Handle made = nullptr;
    ASSERT_EQ(PtrToHand("hello", &made, 5), noErr);
    EXPECT_EQ(GetHandleSize(made), 5);

    DisposeHandle(h);
    DisposeHandle(copy);
    DisposeHandle(made);
}

TEST(Handles, ReportBadHandles)
{
    EXPECT_EQ(GetHandleSize(nullptr), 0);
    EXPECT_EQ(MemError(), nilHandleErr);
    char* fake = nullptr;
    Handle foreign = &fake;
    DisposeHandle(foreign);
    EXPECT_EQ(MemError(), memWZErr);
    EXPECT_EQ(NewHandle(-1), nullptr);
    EXPECT_EQ(MemError(), memSCErr);
}

TEST(Handles, EmptyHandleHasAnAddress)
{
    Handle h = NewHandle(0);
    ASSERT_NE(h, nullptr);
    EXPECT_NE(*h, nullptr);
    EXPECT_EQ(GetHandleSize(h), 0);
    DisposeHandle(h);
}

TEST(Memory, FaultInjectionAndBudget)
{
    {
        ScopedFault fault(FaultKind::Allocation, 1);
        Handle first = NewHandle(10);
        EXPECT_NE(first, nullptr);
        EXPECT_EQ(NewHandle(10), nullptr);
        EXPECT_EQ(MemError(), memFullErr);
        Handle third = NewHandle(10);
        EXPECT_NE(third, nullptr) << "only the injected number of calls fail";
        DisposeHandle(first);
        DisposeHandle(third);
    }
    {
        ScopedFault fault(FaultKind::Allocation, 0, -1);
        EXPECT_EQ(NewPtr(1), nullptr);
        EXPECT_EQ(NewPtr(1), nullptr);
    }

    const int64_t budget = MemoryBudget();
    SetMemoryBudget(MemoryInUse() + 1000);
    EXPECT_LE(FreeMem(), 1000);
    Handle h = NewHandle(100);
    ASSERT_NE(h, nullptr);
    SetHandleSize(h, 5000);
    EXPECT_EQ(MemError(), memFullErr);
    EXPECT_EQ(GetHandleSize(h), 100) << "a failed resize keeps the old size";
    DisposeHandle(h);
    SetMemoryBudget(budget);
}

// The registry of blocks may fail to grow after the block was taken: the
// block goes back (LeakSanitizer sees any that does not) and the budget
// with it.
TEST(Memory, RegistryFailureGivesTheBlockBack)
{
    const int64_t inUse = MemoryInUse();
    const size_t handles = LiveHandleCount(), ptrs = LivePtrCount();
    int failures = 0;
    for (int64_t n = 0; n < 8; ++n) {
        testfaults::FailNthNew(n);
        Handle h = NewHandle(100);
        const OSErr handleErr = MemError();
        testfaults::FailNthNew(n);
        Ptr p = NewPtr(100);
        const OSErr ptrErr = MemError();
        testfaults::StopFailingNew();
        if (!h) {
            EXPECT_EQ(handleErr, memFullErr);
            ++failures;
        }
        if (!p) {
            EXPECT_EQ(ptrErr, memFullErr);
            ++failures;
        }
        if (h) DisposeHandle(h);
        if (p) DisposePtr(p);
        EXPECT_EQ(MemoryInUse(), inUse);
        EXPECT_EQ(LiveHandleCount(), handles);
        EXPECT_EQ(LivePtrCount(), ptrs);
    }
    EXPECT_GE(failures, 1) << "a handle's master pointer failed";
}

// A handle that grows from a size it had takes room for half as much
// again (one grown from empty gets none): grown a byte at a time to 100,000
// it moves a dozen times, not once a byte.
TEST(Handles, GrowingLittleByLittleMovesRarely)
{
    SetHandlesMoveOnResize(false);
    Handle h = NewHandle(0);
    int moves = 0;
    for (Size size = 1000; size < 100000; ++size) {
        const char* before = *h;
        SetHandleSize(h, size);
        (*h)[size - 1] = char(size);
        moves += *h != before;
        // From empty to 1,000, then 1,001 (room 1,500), 1,501 (2,250)...
        if (size <= 2251) {
            EXPECT_EQ(*h != before, size == 1000 || size == 1001 || size == 1501 || size == 2251) << size;
        }
    }
    for (Size i = 999; i < 99999; ++i) ASSERT_EQ((*h)[i], char(i + 1));
    EXPECT_EQ(moves, 13);  // 1,000, then 1,001 and each time past half as much again
    DisposeHandle(h);
    SetHandlesMoveOnResize(kMovesByDefault);
}

TEST(Pointers, SizeAndCopy)
{
    Ptr p = NewPtrClear(8);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(GetPtrSize(p), 8);
    EXPECT_EQ(p[7], 0);
    SetPtrSize(p, 4);
    EXPECT_EQ(GetPtrSize(p), 4);
    SetPtrSize(p, 16);
    EXPECT_EQ(MemError(), memFullErr);

    char buf[8] = "abcdef";
    BlockMove(buf, buf + 1, 5);
    EXPECT_STREQ(buf, "aabcde");
    DisposePtr(p);
    EXPECT_FALSE(IsValidPtr(p));
}

namespace {

Handle gSpare = nullptr;
Handle gSeenSaved = nullptr;
int gGrowCalls = 0;
Size gAsked = 0;

// Frees the spare block once; allocates itself to show it is not re-entered.
int32_t FreeSpare(Size needed)
{
    ++gGrowCalls;
    gAsked = needed;
    gSeenSaved = GZSaveHnd();
    EXPECT_EQ(NewHandle(1 << 20), nullptr) << "no second call from inside";
    if (!gSpare) return 0;
    DisposeHandle(gSpare);
    gSpare = nullptr;
    return 1;
}

}  // namespace

TEST(Memory, TheGrowZoneFreesRoomAndTheAllocationIsRetried)
{
    const int64_t budget = MemoryBudget();
    gSpare = NewHandle(5000);
    SetMemoryBudget(MemoryInUse() + 100);
    SetGrowZone(FreeSpare);
    Handle h = NewHandle(2000);
    EXPECT_NE(h, nullptr) << "the spare went and the allocation was retried";
    EXPECT_EQ(gGrowCalls, 1);
    EXPECT_EQ(gAsked, 2000) << "asked with the size wanted";
    EXPECT_EQ(gSeenSaved, nullptr) << "a new handle has no handle being resized";

    SetHandleSize(h, 100000);
    EXPECT_EQ(MemError(), memFullErr) << "nothing more to free: it fails";
    EXPECT_EQ(gGrowCalls, 2);
    EXPECT_EQ(gSeenSaved, h) << "the handle being resized is protected";
    EXPECT_EQ(GetHandleSize(h), 2000);

    {
        ScopedFault fault(FaultKind::Allocation, 0);
        EXPECT_EQ(NewHandle(1), nullptr);
        EXPECT_EQ(gGrowCalls, 2) << "injected failures never call it";
    }
    SetGrowZone(nullptr);
    DisposeHandle(h);
    SetMemoryBudget(budget);
    EXPECT_EQ(CompactMem(0), MaxBlock());
    Size grow = -1;
    EXPECT_EQ(MaxMem(&grow), MaxBlock());
    EXPECT_EQ(grow, 0);
}

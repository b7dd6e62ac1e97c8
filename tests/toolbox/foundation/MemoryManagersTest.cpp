#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "platform/core/Faults.h"
#include "platform/core/Memory.h"
#include "toolbox/foundation/VCppMemMgr.h"
#include "toolbox/foundation/VMemoryMgr.h"
#include "toolbox/foundation/VObject.h"

namespace {

ptrdiff_t Distance(void* a, void* b) { return static_cast<char*>(b) - static_cast<char*>(a); }

TEST(CppMemMgr, RoundsRequestsToFourBytesWithSixteenAtLeast)
{
    VCppMemMgr mem;
    // Consecutive blocks from a fresh heap lie payload + 12 bytes apart.
    void* a = mem.NewPtr(0, 0);
    void* b = mem.NewPtr(1, 0);
    void* c = mem.NewPtr(16, 0);
    void* d = mem.NewPtr(17, 0);
    void* e = mem.NewPtr(4, 0);
    EXPECT_EQ(Distance(a, b), 16 + 12);
    EXPECT_EQ(Distance(b, c), 16 + 12);
    EXPECT_EQ(Distance(c, d), 16 + 12);
    EXPECT_EQ(Distance(d, e), 20 + 12);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(a) % 4, 0u);
    EXPECT_EQ(mem.GetHeapCount(), 1);
    EXPECT_EQ(mem.GetTotalHeapBytes(), 65535);
}

TEST(CppMemMgr, SplitsOnlyWhenTwentyEightBytesAreLeftOver)
{
    VCppMemMgr mem;
    // A free 44-byte block between two blocks in use; a request of 20 leaves
    // 24 over: the block is handed out whole.
    void* before = mem.NewPtr(16, 0);
    void* hole = mem.NewPtr(44, 0);
    void* after = mem.NewPtr(16, 0);
    mem.DisposePtr(hole);
    EXPECT_EQ(mem.NewPtr(20, 0), hole);
    void* elsewhere = mem.NewPtr(16, 0);
    EXPECT_GT(elsewhere, after);

    // The split is measured from the rounded request: 21 bytes take 24, so
    // a 48-byte block, 27 bytes larger than asked, goes whole; 1 byte takes
    // 16, so a 40-byte block goes whole as well and leaves no tail behind.
    for (const auto& [block, request] : {std::pair<uint32_t, uint32_t>{48, 21}, {40, 1}}) {
        void* hole3 = mem.NewPtr(block, 0);
        void* guard3 = mem.NewPtr(16, 0);
        mem.DisposePtr(hole3);
        EXPECT_EQ(mem.NewPtr(request, 0), hole3) << request;
        EXPECT_GT(mem.NewPtr(16, 0), guard3) << request;
    }

    // A free 48-byte block leaves 28 over: split, the tail serves the next
    // 16-byte request.
    void* hole2 = mem.NewPtr(48, 0);
    void* guard = mem.NewPtr(16, 0);
    mem.DisposePtr(hole2);
    EXPECT_EQ(mem.NewPtr(20, 0), hole2);
    EXPECT_EQ(mem.NewPtr(16, 0), static_cast<char*>(hole2) + 32);
    (void)before;
    (void)guard;
}

TEST(CppMemMgr, MergesAdjacentFreeBlocksInAnyOrder)
{
    VCppMemMgr mem;
    mem.NewPtr(16, 0);
    void* first = mem.NewPtr(16, 0);
    void* second = mem.NewPtr(20, 0);
    void* third = mem.NewPtr(24, 0);
    mem.NewPtr(16, 0);
    mem.DisposePtr(first);
    mem.DisposePtr(third);
    mem.DisposePtr(second);
    // One free block of 16 + 20 + 24 + 24 bytes: an exact fit starts at first.
    EXPECT_EQ(mem.NewPtr(84, 0), first);
    // Freeing twice or freeing a foreign pointer changes nothing.
    char foreign[32];
    mem.DisposePtr(foreign);
    mem.DisposePtr(nullptr);
    // Nor does an address inside a block: no later block overlaps it.
    char* held = static_cast<char*>(mem.NewPtr(64, 0));
    std::memset(held, 0, 64);
    mem.DisposePtr(held + 16);
    EXPECT_EQ(std::count(held, held + 64, 0), 64) << "the block keeps its bytes";
    for (int i = 0; i < 40; ++i) {
        char* p = static_cast<char*>(mem.NewPtr(16, 0));
        EXPECT_TRUE(p + 16 <= held || p >= held + 64) << i;
    }
}

TEST(CppMemMgr, BestFitTakesTheSmallestBlockThatFits)
{
    VCppMemMgr mem;
    void* big = mem.NewPtr(64, 0);
    mem.NewPtr(16, 0);
    void* small = mem.NewPtr(32, 0);
    mem.NewPtr(16, 0);
    void* same = mem.NewPtr(32, 0);
    mem.NewPtr(16, 0);
    mem.DisposePtr(big);
    mem.DisposePtr(small);
    mem.DisposePtr(same);
    // Two free blocks of 32 (a chain) and one of 64.
    void* x = mem.NewPtr(32, 0);
    void* y = mem.NewPtr(32, 0);
    EXPECT_TRUE((x == small && y == same) || (x == same && y == small));
    EXPECT_EQ(mem.NewPtr(40, 0), big);
}

TEST(CppMemMgr, GrowsByHeapsAndHonoursTheLimit)
{
    VCppMemMgr mem;
    // Larger than the first heap: a heap exactly that large.
    void* large = mem.NewPtr(70001, 0);
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(mem.GetHeapCount(), 2);
    EXPECT_EQ(mem.GetTotalHeapBytes(), 65535 + 70004);
    std::memset(large, 0xAB, 70001);
    mem.DisposePtr(large);

    VCppMemMgr limited;
    limited.SetLimit(65535 + 1000);  // less than 4096 bytes of room
    EXPECT_EQ(limited.NewPtr(70000, 0), nullptr);
    EXPECT_EQ(limited.GetHeapCount(), 1);
    limited.SetLimit(65535 + 5000);  // room enough: the heap may pass it
    EXPECT_NE(limited.NewPtr(70000, 0), nullptr);

    VCppMemMgr fixed;
    fixed.SetMayGrow(false);
    EXPECT_EQ(fixed.NewPtr(70000, 0), nullptr);
}

TEST(CppMemMgr, RandomUseKeepsBlocksApartAndIntact)
{
    VCppMemMgr mem;
    struct Live {
        uint8_t* p;
        uint32_t size;
        uint8_t fill;
    };
    std::vector<Live> live;
    uint32_t seed = 99;
    auto next = [&seed] { return (seed = seed * 1664525u + 1013904223u) >> 8; };
    for (int step = 0; step < 4000; ++step) {
        if (live.empty() || next() % 3 != 0) {
            const uint32_t size = next() % 3000;
            auto* p = static_cast<uint8_t*>(mem.NewPtr(size, 0));
            ASSERT_NE(p, nullptr);
            const uint8_t fill = uint8_t(next());
            std::memset(p, fill, size);
            live.push_back({p, size, fill});
        } else {
            const size_t i = next() % live.size();
            for (uint32_t k = 0; k < live[i].size; ++k) ASSERT_EQ(live[i].p[k], live[i].fill);
            mem.DisposePtr(live[i].p);
            live[i] = live.back();
            live.pop_back();
        }
    }
    for (const Live& block : live) {
        for (uint32_t k = 0; k < block.size; ++k) ASSERT_EQ(block.p[k], block.fill);
        mem.DisposePtr(block.p);
    }
    // Everything merged back: each heap is one free block again.
    const int32_t heaps = mem.GetHeapCount();
    EXPECT_NE(mem.NewPtr(65532, 0), nullptr);
    EXPECT_EQ(mem.GetHeapCount(), heaps);
}

int32_t gRetries = 0;
int32_t RetryOnce(int32_t) { return gRetries++ == 0; }

TEST(CppMemMgr, AsksTheOutOfMemoryProcedureBeforeFailing)
{
    VCppMemMgr mem;
    mem.SetOutOfMemoryProc(RetryOnce);
    platform::ScopedFault fault(platform::FaultKind::Allocation, 0, -1);
    gRetries = 0;
    EXPECT_EQ(mem.NewPtr(100000, 0), nullptr);
    EXPECT_EQ(gRetries, 2);
}

TEST(MemoryMgr, HandlesThroughThePlatform)
{
    VMemoryMgr& mem = *gMemory;
    char text[] = "abcdef";
    char** h = mem.NewHandle(text, 6);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(mem.GetHandleSize(h), 6);

    char** copy = mem.IncrementHandleRefCount(h);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, h);
    EXPECT_EQ(std::memcmp(*copy, "abcdef", 6), 0);
    EXPECT_EQ(mem.GetHandleRefCount(copy), 1);
    EXPECT_EQ(mem.GetHandleRefCount(nullptr), 0);
    mem.DecrementHandleRefCount(copy);

    EXPECT_TRUE(mem.SetHandleSizeClear(h, 10));
    EXPECT_EQ(std::memcmp(*h, "abcdef\0\0\0\0", 10), 0);
    EXPECT_TRUE(mem.SetHandleSizeClear(h, 3));
    EXPECT_EQ(mem.GetHandleSize(h), 3);

    EXPECT_FALSE(mem.IsLocked(h));
    EXPECT_EQ(mem.LockHandle(h), *h);
    EXPECT_TRUE(mem.IsLocked(h));
    EXPECT_EQ(mem.ForgetTrueHandle(h, 0), h);
    EXPECT_FALSE(mem.IsLocked(h));

    char* p = mem.NewPtr(h);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(std::memcmp(p, "abc", 3), 0);
    mem.DisposePtr(p);
    mem.DisposeHandle(h);
    EXPECT_EQ(mem.GetLastError(), 0);
}

TEST(MemoryMgr, FailedAllocationsAnswerNullOrFalse)
{
    VMemoryMgr& mem = *gMemory;
    char** h = mem.NewHandle(uint32_t(4), 0);
    ASSERT_NE(h, nullptr);
    {
        platform::ScopedFault fault(platform::FaultKind::Allocation, 0, -1);
        EXPECT_EQ(mem.NewHandle(uint32_t(10), 0), nullptr);
        EXPECT_EQ(platform::MemError(), platform::memFullErr);
        EXPECT_FALSE(mem.SetHandleSizeClear(h, 1000));
        EXPECT_EQ(mem.GetHandleSize(h), 4);
        EXPECT_EQ(mem.NewPtr(int32_t(10)), nullptr);
        char data[3] = {1, 2, 3};
        EXPECT_EQ(mem.NewHandle(data, 3), nullptr);  // nothing copied into no handle
    }
    EXPECT_EQ(mem.NewHandle(uint32_t(0x80000000u), 0), nullptr);
    mem.DisposeHandle(h);
}

TEST(MemoryMgr, FillAndCopyBlock)
{
    char buffer[37];
    std::memset(buffer, 0, sizeof buffer);
    VMemoryMgr::Fill(buffer + 1, 35, 0x5A);
    EXPECT_EQ(buffer[0], 0);
    EXPECT_EQ(buffer[36], 0);
    for (int i = 1; i < 36; ++i) ASSERT_EQ(buffer[i], 0x5A) << i;

    char overlap[] = "0123456789";
    CopyBlock(overlap, overlap + 2, 6);
    EXPECT_STREQ(overlap, "0101234589");
}

class Counted : public IRefCountable {
public:
    explicit Counted(int* destroyed) : fDestroyed(destroyed) {}
    ~Counted() override { ++*fDestroyed; }

private:
    int* fDestroyed;
};

TEST(RefCountable, LastReleaseDestroys)
{
    int destroyed = 0;
    auto* object = new Counted(&destroyed);
    object->Retain();
    object->Release();
    EXPECT_EQ(destroyed, 0);
    EXPECT_EQ(object->GetRefCount(), 1);
    object->Release();
    EXPECT_EQ(destroyed, 1);
}

TEST(MemoryManagers, InitCreatesTheSmallBlockManagerOnce)
{
    InitMemoryManagers();
    VCppMemMgr* first = gCppMem;
    ASSERT_NE(first, nullptr);
    InitMemoryManagers();
    EXPECT_EQ(gCppMem, first);
    EXPECT_NE(gMemory, nullptr);
}

}  // namespace

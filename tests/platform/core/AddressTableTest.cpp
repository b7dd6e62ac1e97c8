#include "platform/core/AddressTable.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <new>
#include <random>
#include <vector>

#include "tests/platform/core/FailingNew.h"

using platform::AddressTable;

namespace {

const void* At(uintptr_t a) { return reinterpret_cast<const void*>(a); }

// Every address the oracle holds is found with its value, every other one
// of the universe is not, and the counts agree.
void ExpectSame(AddressTable& table, const std::map<uintptr_t, int32_t>& oracle, const std::vector<uintptr_t>& universe)
{
    ASSERT_EQ(table.Count(), oracle.size());
    for (uintptr_t a : universe) {
        const auto it = oracle.find(a);
        int32_t* found = table.Find(At(a));
        if (it == oracle.end()) {
            ASSERT_EQ(found, nullptr) << a;
        } else {
            ASSERT_NE(found, nullptr) << a;
            ASSERT_EQ(*found, it->second) << a;
        }
    }
}

}  // namespace

// Random puts and removals over universes that crowd the table (addresses
// 16 apart, as blocks are, and addresses sharing their low bits), checked
// against a map after each step: a removal that did not shift the entries
// behind it back would lose them.
TEST(AddressTable, FollowsAMapThroughPutsAndRemovals)
{
    struct Case {
        uintptr_t base, stride;
        int universe;
    };
    for (const Case c : {Case{0x10000, 16, 300}, Case{0x7f0000000010, 4096, 300}, Case{0x20, 1 << 20, 200},
                         Case{0x10, 16, 40}}) {
        std::vector<uintptr_t> universe;
        for (int i = 0; i < c.universe; ++i) universe.push_back(c.base + uintptr_t(i) * c.stride);
        AddressTable table;
        std::map<uintptr_t, int32_t> oracle;
        std::mt19937 random(uint32_t(c.stride));
        for (int step = 0; step < 3000; ++step) {
            const uintptr_t a = universe[random() % universe.size()];
            if (random() % 3 == 0) {
                EXPECT_EQ(table.Remove(At(a)), oracle.erase(a) == 1);
            } else {
                const int32_t value = int32_t(random() % 1000);
                table.Put(At(a), value);
                oracle[a] = value;
            }
            ExpectSame(table, oracle, universe);
        }
        for (uintptr_t a : universe) table.Remove(At(a));
        EXPECT_EQ(table.Count(), 0u);
    }
}

TEST(AddressTable, NullAndAbsentAddressesAreNeverFound)
{
    AddressTable table;
    EXPECT_EQ(table.Find(nullptr), nullptr);
    EXPECT_FALSE(table.Remove(At(0x40)));
    table.Put(At(0x40), 7);
    EXPECT_EQ(table.Find(nullptr), nullptr);
    EXPECT_FALSE(table.Remove(nullptr));
    EXPECT_FALSE(table.Contains(At(0x50)));
    table.Put(At(0x40), 9);
    EXPECT_EQ(table.Count(), 1u) << "a second put replaces";
    EXPECT_EQ(*table.Find(At(0x40)), 9);
}

// Growth that cannot allocate throws and leaves the table as it was: 64
// slots hold 32 addresses, the 33rd makes the table grow.
TEST(AddressTable, AFailedGrowthChangesNothing)
{
    AddressTable table;
    std::vector<uintptr_t> universe;
    std::map<uintptr_t, int32_t> oracle;
    for (uintptr_t a = 0x100; oracle.size() < 32; a += 16) {
        universe.push_back(a);
        testfaults::FailNthNew(oracle.empty() ? 1 : 0);  // only the first put allocates
        table.Put(At(a), int32_t(a));
        testfaults::StopFailingNew();
        oracle[a] = int32_t(a);
    }
    const uintptr_t next = universe.back() + 16;
    universe.push_back(next);
    testfaults::FailNthNew(0);
    EXPECT_THROW(table.Put(At(next), 1), std::bad_alloc);
    testfaults::StopFailingNew();
    ExpectSame(table, oracle, universe);
    table.Put(At(next), 1);
    oracle[next] = 1;
    ExpectSame(table, oracle, universe);
}

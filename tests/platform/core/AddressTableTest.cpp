#include "platform/core/AddressTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <new>
#include <random>

#include "tests/platform/core/FailingNew.h"

// Random puts and removals over address sets that crowd the table, checked
// against a map after each step: a removal that did not shift the entries
// behind it back would lose them. Only growth allocates (the first put
// makes 64 slots, an address past half the slots doubles them), and a
// growth that cannot allocate throws and changes nothing.
TEST(AddressTable, FollowsAMapThroughPutsRemovalsAndFailedGrowth)
{
    struct Case {
        uintptr_t base, stride;
        uint32_t count;
    };
    for (const Case c : {Case{0x10000, 16, 300}, Case{0x7f0000000010, 4096, 300}, Case{0x20, 1 << 20, 200}, Case{0x10, 16, 40}}) {
        platform::AddressTable table;
        std::map<uint32_t, int32_t> oracle;  // by the address's index
        std::mt19937 random(uint32_t(c.stride));
        size_t slots = 0;  // none until the first put makes 64
        auto at = [&](uint32_t i) { return reinterpret_cast<const void*>(c.base + i * c.stride); };
        for (int step = 0; step < 3000; ++step) {
            const uint32_t i = random() % c.count;
            const auto value = int32_t(random() % 1000);
            const bool grows = value % 3 && (table.Count() + 1) * 2 > slots && !oracle.count(i);
            if (value % 3 == 0) {
                EXPECT_EQ(table.Remove(at(i)), oracle.erase(i) == 1);
            }
            testfaults::FailNthNew(0);
            if (grows && slots) {
                EXPECT_THROW(table.Put(at(i), value), std::bad_alloc);
            }
            testfaults::FailNthNew(grows ? 1 : 0);
            if (value % 3) table.Put(at(i), value);
            testfaults::StopFailingNew();
            if (value % 3) oracle[i] = value, slots = grows ? std::max<size_t>(64, 2 * slots) : slots;
            ASSERT_EQ(table.Count(), oracle.size());
            for (uint32_t k = 0; k < c.count; ++k)
                ASSERT_EQ(table.Find(at(k)) ? *table.Find(at(k)) : -1, oracle.count(k) ? oracle[k] : -1) << step;
        }
        EXPECT_EQ(table.Find(nullptr), nullptr);
        EXPECT_FALSE(table.Remove(nullptr));
    }
}

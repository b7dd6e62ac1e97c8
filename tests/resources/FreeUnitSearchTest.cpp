// The search for free units passes full and empty bitmap pages in one step
// and keeps a hint of the first free unit: the places it finds must be
// exactly those of a plain first-fit scan over every unit.
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "platform/core/Errors.h"
#include "resources/container/BitmapPages.h"
#include "resources/container/ContainerLayout.h"

namespace {

using container::BitmapPages;
using container::kUnitSize;
using container::kUnitsPerPage;

// First fit over every unit; when nothing fits, the free run that ends the
// last page, else the logical end.
uint64_t PlainFirstFit(const BitmapPages& bits, uint64_t wanted)
{
    const uint64_t total = uint64_t(bits.PageCount()) * kUnitsPerPage;
    uint64_t run = 0, start = 0;
    for (uint64_t u = 0; u < total; ++u) {
        if (bits.IsUnitSet(uint32_t(u))) {
            run = 0;
            continue;
        }
        if (run++ == 0) start = u;
        if (run >= wanted) return start;
    }
    return run > 0 ? start : bits.LogicalEnd() / kUnitSize;
}

TEST(FreeUnitSearch, PlacesAreThoseOfAPlainFirstFitScan)
{
    BitmapPages bits;
    bits.InitNew();
    std::mt19937 rng(17);
    std::vector<std::pair<uint32_t, uint32_t>> held;
    for (int step = 0; step < 600; ++step) {
        // Mostly small places, some larger than a page, and a commit now
        // and then that gives back a third of what is held.
        const uint32_t roll = rng() % 100;
        const uint32_t size = roll < 5 ? 300000 + rng() % 400000 : roll < 20 ? 4000 + rng() % 60000 : 1 + rng() % 900;
        const uint64_t want = PlainFirstFit(bits, (size + kUnitSize - 1) / kUnitSize);
        uint32_t place = 0;
        ASSERT_EQ(bits.FindPlace(size, &place), platform::noErr);
        ASSERT_EQ(place, want * kUnitSize) << "step " << step << ", " << size << " bytes";
        held.emplace_back(place, size);
        if (step % 50 == 49) {
            for (size_t i = 0; i < held.size();) {
                if (rng() % 3 == 0) {
                    bits.FreePlace(held[i].first, held[i].second);
                    held[i] = held.back();
                    held.pop_back();
                } else {
                    ++i;
                }
            }
            bits.ReleaseFreed();
        }
    }
    EXPECT_GT(bits.PageCount(), 20u);

    // A full first page, then three pages emptied again: the search passes
    // the full page and starts its run at the first empty one.
    BitmapPages pages;
    pages.InitNew();
    uint32_t first = 0, big = 0, small = 0;
    const uint32_t rest = (kUnitsPerPage - pages.LogicalEnd() / kUnitSize) * kUnitSize;
    ASSERT_EQ(pages.FindPlace(rest, &first), platform::noErr);
    ASSERT_EQ(pages.FindPlace(3 * container::kBytesPerPage, &big), platform::noErr);
    ASSERT_EQ(big, container::kBytesPerPage);
    pages.FreePlace(big, 3 * container::kBytesPerPage);
    pages.ReleaseFreed();
    const uint64_t want = PlainFirstFit(pages, 2);
    ASSERT_EQ(pages.FindPlace(100, &small), platform::noErr);
    EXPECT_EQ(small, want * kUnitSize);
    EXPECT_EQ(small, container::kBytesPerPage);
}

}  // namespace

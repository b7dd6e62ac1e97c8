// The search for free units passes full and empty bitmap pages in one step
// and keeps a hint of the first free unit: the places it finds must be
// exactly those of a plain first-fit scan over every unit.
#include <gtest/gtest.h>

#include <random>
#include <string>
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
    // Each: the seed, how often a commit gives back a third of what is
    // held, and how often a place just found is given back at once (fresh:
    // its units are free before the next search).
    struct Case {
        uint32_t seed, commitEvery, freshBackPercent;
    };
    for (const Case& c : {Case{17, 50, 0}, Case{5, 50, 30}, Case{23, 1000, 45}, Case{9, 7, 60}}) {
        SCOPED_TRACE("seed " + std::to_string(c.seed));
        BitmapPages bits;
        bits.InitNew();
        std::mt19937 rng(c.seed);
        std::vector<std::pair<uint32_t, uint32_t>> held, fresh;
        for (uint32_t step = 0; step < 600; ++step) {
            // Mostly small places, some larger than a page.
            const uint32_t roll = rng() % 100;
            const uint32_t size = roll < 5 ? 300000 + rng() % 400000 : roll < 20 ? 4000 + rng() % 60000 : 1 + rng() % 900;
            const uint64_t want = PlainFirstFit(bits, (size + kUnitSize - 1) / kUnitSize);
            uint32_t place = 0;
            ASSERT_EQ(bits.FindPlace(size, &place), platform::noErr);
            ASSERT_EQ(place, want * kUnitSize) << "step " << step << ", " << size << " bytes";
            fresh.emplace_back(place, size);
            if (rng() % 100 < c.freshBackPercent) {
                // One of the places found since the commit, its units free at once.
                const size_t pick = rng() % fresh.size();
                bits.FreePlace(fresh[pick].first, fresh[pick].second);
                ASSERT_FALSE(bits.IsUnitSet(fresh[pick].first / kUnitSize));
                fresh[pick] = fresh.back();
                fresh.pop_back();
            }
            if (step % c.commitEvery == c.commitEvery - 1) {
                held.insert(held.end(), fresh.begin(), fresh.end());
                fresh.clear();
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
        EXPECT_GT(bits.PageCount(), 5u);
    }

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

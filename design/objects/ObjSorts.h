// The diminishing-gap exchange sort shared by the object-list sorts, the
// name-code sort and the name rows of a list: the gap halves from n; at
// each gap, passes exchange entries i and i + gap ordered the wrong way
// until a pass exchanges nothing. Equal keys are never exchanged.
//
// The object-list sorts make each entry's key once and give the order
// this scheme gives, without its cost: a pass at one gap is a bubble pass
// over each chain i, i + gap, i + 2 gap..., so the passes at a gap leave
// every chain stably sorted (GapSortOrder).
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

// after(i, j): entry i (0-based) belongs after entry j; swap(i, j).
void DiminishingGapSort(int32_t n, const std::function<bool(int32_t, int32_t)>& after,
                        const std::function<void(int32_t, int32_t)>& swap);

// The order DiminishingGapSort leaves n entries in, given the rank of each
// entry's key (equal ranks for equal keys): entry i of the result is the
// index the entry had before.
std::vector<int32_t> GapSortOrder(const std::vector<uint32_t>& rank);

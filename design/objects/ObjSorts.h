// The diminishing-gap exchange sort shared by the object-list sorts, the
// name-code sort and the name rows of a list: the gap halves from n; at
// each gap, passes exchange entries i and i + gap ordered the wrong way
// until a pass exchanges nothing. Equal keys are never exchanged.
#pragma once

#include <cstdint>
#include <functional>

// after(i, j): entry i (0-based) belongs after entry j; swap(i, j).
void DiminishingGapSort(int32_t n, const std::function<bool(int32_t, int32_t)>& after,
                        const std::function<void(int32_t, int32_t)>& swap);

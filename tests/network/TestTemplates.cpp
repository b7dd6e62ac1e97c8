#include "tests/network/TestTemplates.h"

#include <utility>

namespace {

// Field widths of each template: 2 or 4 reverses, a negative width skips.
struct Layout {
    int32_t number;
    int8_t fields[4];
};

constexpr Layout kLayouts[] = {
    {39, {2, 0, 0, 0}},      // one 16-bit word
    {66, {4, 0, 0, 0}},      // one 32-bit long
    {95, {4, 4, 2, -2}},     // file, type, id, padding
    {105, {4, 2, 4, -2}},    // type, id, file, action and a spare byte
    {138, {4, 2, 0, 0}},     // type, id (the name follows)
};

int32_t Swap(int32_t number, void* data, int32_t swap, int32_t* consumed, int32_t limit)
{
    if (consumed) *consumed = 0;
    if (number == 0 || swap == 0) return 0;
    auto* p = static_cast<uint8_t*>(data);
    for (const Layout& layout : kLayouts) {
        if (layout.number != number) continue;
        int32_t at = 0;
        for (int8_t width : layout.fields) {
            if (width == 0) break;
            if (width < 0) {
                at -= width;
                continue;
            }
            if (limit >= 0 && at + width > limit) {
                at += width;  // would straddle the end
                break;
            }
            if (width == 2) std::swap(p[at], p[at + 1]);
            if (width == 4) {
                std::swap(p[at], p[at + 3]);
                std::swap(p[at + 1], p[at + 2]);
            }
            at += width;
        }
        if (consumed) *consumed = at;
        return limit >= 0 && at > limit ? -193 : 0;
    }
    return 0;
}

}  // namespace

int32_t TestSwapReceived(int32_t number, void* data, int32_t swap, int32_t* consumed,
                         int32_t limit)
{
    return Swap(number, data, swap, consumed, limit);
}

int32_t TestSwapSending(int32_t number, void* data, int32_t swap, int32_t* consumed,
                        int32_t limit)
{
    return Swap(number, data, swap, consumed, limit);
}

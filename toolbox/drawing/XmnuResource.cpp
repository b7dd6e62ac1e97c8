#include "toolbox/drawing/XmnuResource.h"

#include <algorithm>
#include <cstring>

namespace {

uint16_t Word(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }
uint32_t Long(const uint8_t* p) { return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3]; }

// A length byte past 31 would read into the next field.
void Title(const uint8_t* p, uint8_t out[32])
{
    std::memcpy(out, p, 32);
    out[0] = std::min<uint8_t>(out[0], 31);
}

}  // namespace

void ReadXmnu(const uint8_t* data, size_t size, XmnuMenu& menu)
{
    menu = XmnuMenu{};
    if (data == nullptr || size < kXmnuHeaderSize) return;
    Title(data, menu.title);
    menu.command = int32_t(Long(data + 32));
    const int16_t count = int16_t(Word(data + 36));
    const size_t fit = (size - kXmnuHeaderSize) / kXmnuItemSize;
    const size_t n = count > 0 ? std::min(size_t(count), fit) : 0;
    menu.items.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* p = data + kXmnuHeaderSize + i * kXmnuItemSize;
        XmnuItem item;
        Title(p, item.title);
        item.iconID = int16_t(Word(p + 32));
        item.reserved = int16_t(Word(p + 34));
        item.command = int32_t(Long(p + 36));
        item.kind = Long(p + 40);
        item.flags = p[44];
        item.argument = int16_t(Word(p + 46));
        menu.items.push_back(item);
    }
}

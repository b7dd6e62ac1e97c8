#include "toolbox/drawing/XmnuResource.h"

#include <algorithm>
#include <cstring>

#include "platform/core/Endian.h"

namespace {

using platform::ReadBE16;
using platform::ReadBE32;

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
    menu.command = int32_t(ReadBE32(data + 32));
    const int16_t count = int16_t(ReadBE16(data + 36));
    const size_t fit = (size - kXmnuHeaderSize) / kXmnuItemSize;
    const size_t n = count > 0 ? std::min(size_t(count), fit) : 0;
    menu.items.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* p = data + kXmnuHeaderSize + i * kXmnuItemSize;
        XmnuItem item;
        Title(p, item.title);
        item.iconID = int16_t(ReadBE16(p + 32));
        item.reserved = int16_t(ReadBE16(p + 34));
        item.command = int32_t(ReadBE32(p + 36));
        item.kind = ReadBE32(p + 40);
        item.flags = p[44];
        item.argument = int16_t(ReadBE16(p + 46));
        menu.items.push_back(item);
    }
}

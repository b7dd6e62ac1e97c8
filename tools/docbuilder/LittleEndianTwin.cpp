#include "tools/docbuilder/LittleEndianTwin.h"

#include <utility>

#include "platform/core/Endian.h"
#include "resources/container/ContainerLayout.h"
#include "resources/container/Scrambler.h"
#include "resources/swap/SwapResource.h"

namespace docbuilder {

std::vector<uint8_t> LittleEndianTwin(const std::vector<uint8_t>& be)
{
    const size_t size = be.size();
    auto fits = [&](size_t at, size_t n) { return at <= size && n <= size - at; };
    if (!fits(0, 36)) return {};
    using namespace container;
    using platform::ReadBE16;
    using platform::ReadBE32;
    using platform::ReverseBytes;
    std::vector<uint8_t> le = be;
    const uint32_t logicalEnd = ReadBE32(&be[4]), map = ReadBE32(&be[8]), table = ReadBE32(&be[12]);
    const uint32_t pages = (logicalEnd + kBytesPerPage - 1) / kBytesPerPage;
    if (!fits(table, size_t(pages) * 4) || !fits(map, 2)) return {};
    for (size_t at = 0; at < 36; at += 4) ReverseBytes(&le[at], 4);
    for (uint32_t p = 0; p < pages; ++p) ReverseBytes(&le[table + 4 * p], 4);
    size_t at = map;
    const uint16_t types = ReadBE16(&be[at]);
    ReverseBytes(&le[at], 2);
    at += 2;
    for (uint16_t t = 0; t < types; ++t) {
        if (!fits(at, 6)) return {};
        const uint16_t count = ReadBE16(&be[at]);
        const uint32_t type = ReadBE32(&be[at + 2]);
        ReverseBytes(&le[at], 2);
        ReverseBytes(&le[at + 2], 4);
        at += 6;
        for (uint16_t r = 0; r < count; ++r, at += 20) {
            if (!fits(at, 20)) return {};
            const uint32_t offset = ReadBE32(&be[at + 4]), length = ReadBE32(&be[at + 8]), stamp = ReadBE32(&be[at + 16]);
            const uint16_t attributes = ReadBE16(&be[at + 12]);
            for (auto [field, width] : {std::pair{0, 4}, {4, 4}, {8, 4}, {12, 2}, {14, 2}, {16, 4}})
                ReverseBytes(&le[at + size_t(field)], size_t(width));
            if (length < 8) continue;
            if (!fits(offset, length)) return {};
            ReverseBytes(&le[offset], 2);
            ReverseBytes(&le[offset + 2], 4);
            ReverseBytes(&le[offset + 6], 2);
            uint8_t* payload = &le[offset + 8];
            const uint32_t key = (attributes & kAttrKeyVariant) ? stamp * 5 : stamp;
            if (attributes & kAttrEnciphered) AdjustSwapRes(payload, length - 8, key);
            SwapResourceEnvoi(1, type, int32_t(length - 8), payload);
            if (attributes & kAttrEnciphered) AdjustSwapRes(payload, length - 8, key);
        }
    }
    return le;
}

}  // namespace docbuilder

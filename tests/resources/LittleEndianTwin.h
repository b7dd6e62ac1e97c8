// Makes the little-endian twin of a big-endian container: every word of
// the header, the page table, the map and the block headers reversed, and
// the contents converted by type (unscrambled first, scrambled again).
// Shared by the tests of the store and the test database server.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "platform/core/Endian.h"
#include "resources/container/ContainerLayout.h"
#include "resources/container/Scrambler.h"
#include "resources/swap/SwapResource.h"

namespace containertest {

inline std::vector<uint8_t> LittleEndianTwin(const std::vector<uint8_t>& be)
{
    using namespace container;
    using platform::ReadBE16;
    using platform::ReadBE32;
    using platform::ReverseBytes;
    std::vector<uint8_t> le = be;
    const uint32_t logicalEnd = ReadBE32(&be[4]), map = ReadBE32(&be[8]), table = ReadBE32(&be[12]);
    for (size_t at = 0; at < 36; at += 4) ReverseBytes(&le[at], 4);
    for (uint32_t p = 0; p < (logicalEnd + kBytesPerPage - 1) / kBytesPerPage; ++p) ReverseBytes(&le[table + 4 * p], 4);
    size_t at = map;
    const uint16_t types = ReadBE16(&be[at]);
    ReverseBytes(&le[at], 2);
    at += 2;
    for (uint16_t t = 0; t < types; ++t) {
        const uint16_t count = ReadBE16(&be[at]);
        const uint32_t type = ReadBE32(&be[at + 2]);
        ReverseBytes(&le[at], 2);
        ReverseBytes(&le[at + 2], 4);
        at += 6;
        for (uint16_t r = 0; r < count; ++r, at += 20) {
            const uint32_t offset = ReadBE32(&be[at + 4]), length = ReadBE32(&be[at + 8]), stamp = ReadBE32(&be[at + 16]);
            const uint16_t attributes = ReadBE16(&be[at + 12]);
            for (auto [field, width] : {std::pair{0, 4}, {4, 4}, {8, 4}, {12, 2}, {14, 2}, {16, 4}})
                ReverseBytes(&le[at + size_t(field)], size_t(width));
            if (length < 8) continue;
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

}  // namespace containertest

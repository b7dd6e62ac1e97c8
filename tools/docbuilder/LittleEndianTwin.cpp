#include "tools/docbuilder/LittleEndianTwin.h"

#include <utility>

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "resources/container/ContainerLayout.h"
#include "resources/container/Scrambler.h"
#include "resources/swap/SwapResource.h"

namespace docbuilder {
namespace {

// Reverses the framing of `be` into `le` (a copy of it); each payload goes
// to `payload` (type, its bytes, the scrambling key when enciphered).
template <class Payload>
bool Frame(const std::vector<uint8_t>& be, std::vector<uint8_t>& le, Payload payload)
{
    const size_t size = be.size();
    auto fits = [&](size_t at, size_t n) { return at <= size && n <= size - at; };
    if (!fits(0, 36)) return false;
    using namespace container;
    using platform::ReadBE16;
    using platform::ReadBE32;
    using platform::ReverseBytes;
    const uint32_t logicalEnd = ReadBE32(&be[4]), map = ReadBE32(&be[8]), table = ReadBE32(&be[12]);
    const uint32_t pages = (logicalEnd + kBytesPerPage - 1) / kBytesPerPage;
    if (!fits(table, size_t(pages) * 4) || !fits(map, 2)) return false;
    for (size_t at = 0; at < 36; at += 4) ReverseBytes(&le[at], 4);
    for (uint32_t p = 0; p < pages; ++p) ReverseBytes(&le[table + 4 * p], 4);
    size_t at = map;
    const uint16_t types = ReadBE16(&be[at]);
    ReverseBytes(&le[at], 2);
    at += 2;
    for (uint16_t t = 0; t < types; ++t) {
        if (!fits(at, 6)) return false;
        const uint16_t count = ReadBE16(&be[at]);
        const uint32_t type = ReadBE32(&be[at + 2]);
        ReverseBytes(&le[at], 2);
        ReverseBytes(&le[at + 2], 4);
        at += 6;
        for (uint16_t r = 0; r < count; ++r, at += 20) {
            if (!fits(at, 20)) return false;
            const uint32_t offset = ReadBE32(&be[at + 4]), length = ReadBE32(&be[at + 8]), stamp = ReadBE32(&be[at + 16]);
            const uint16_t attributes = ReadBE16(&be[at + 12]);
            for (auto [field, width] : {std::pair{0, 4}, {4, 4}, {8, 4}, {12, 2}, {14, 2}, {16, 4}})
                ReverseBytes(&le[at + size_t(field)], size_t(width));
            if (length < 8) continue;
            if (!fits(offset, length)) return false;
            ReverseBytes(&le[offset], 2);
            ReverseBytes(&le[offset + 2], 4);
            ReverseBytes(&le[offset + 6], 2);
            const uint32_t key = (attributes & kAttrKeyVariant) ? stamp * 5 : stamp;
            payload(type, &le[offset + 8], length - 8, (attributes & kAttrEnciphered) != 0, key);
        }
    }
    return true;
}

}  // namespace

// The names of the resources, a record the store itself keeps ('NAM#'
// 128): a group count, then per group its type and entry count and the
// entries, each a 16-bit id and a 32-byte name. False when it is cut short.
bool NamesInOrder(uint8_t* p, uint32_t size)
{
    using platform::ReadBE32;
    using platform::ReverseBytes;
    if (size < 4) return size == 0;
    const uint32_t groups = ReadBE32(p);
    ReverseBytes(p, 4);
    uint32_t at = 4;
    for (uint32_t g = 0; g < groups; ++g) {
        if (size - at < 8) return false;
        const uint32_t entries = ReadBE32(p + at + 4);
        ReverseBytes(p + at, 4);
        ReverseBytes(p + at + 4, 4);
        at += 8;
        if (entries > (size - at) / 34) return false;
        for (uint32_t e = 0; e < entries; ++e, at += 34) ReverseBytes(p + at, 2);
    }
    return true;
}

std::vector<uint8_t> LittleEndianFraming(const std::vector<uint8_t>& be)
{
    std::vector<uint8_t> le = be;
    bool names = true;
    const bool framed = Frame(be, le, [&](uint32_t type, uint8_t* payload, uint32_t length, bool, uint32_t) {
        if (type == platform::FourCC("NAM#")) names = names && NamesInOrder(payload, length);
    });
    return framed && names ? le : std::vector<uint8_t>{};
}

std::vector<uint8_t> LittleEndianTwin(const std::vector<uint8_t>& be)
{
    std::vector<uint8_t> le = be;
    const bool ok = Frame(be, le, [](uint32_t type, uint8_t* payload, uint32_t length, bool enciphered, uint32_t key) {
        if (enciphered) container::AdjustSwapRes(payload, length, key);
        SwapResourceEnvoi(1, type, int32_t(length), payload);
        if (enciphered) container::AdjustSwapRes(payload, length, key);
    });
    return ok ? le : std::vector<uint8_t>{};
}

}  // namespace docbuilder

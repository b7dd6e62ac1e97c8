// The cipher of module records: the member lists of a 'MODQ' are
// enciphered with a key made from the component's name and date. The same
// operation enciphers and deciphers. The mask and the table are this
// program's own constants, kept here alone; the document builder includes
// this header to write records the reader accepts.
#pragma once

#include <cstddef>
#include <cstdint>

namespace transfer {

constexpr uint32_t kModuleKeyMask = 0x5FCEE9C2;
constexpr uint32_t kModuleCipherTable[16] = {
    0xC2787C4A, 0xD5D95D3F, 0xDE01770B, 0x10822726, 0x0523CA4D, 0xDE689DE5, 0x8D6976A2, 0x77D59C82,
    0xB8C738BE, 0xD9C9D4C9, 0x5D088CA4, 0xFBEE83E8, 0x38715BE3, 0x8BAAD925, 0x38D3CF63, 0x4C31EFA1};

// The word of a text: its 2nd and 3rd UTF-16 units (zero units past the
// end of a shorter text) as four bytes in memory order, reversed.
constexpr uint32_t ModuleTextWord(const char16_t* units, int32_t length)
{
    const uint16_t c2 = length >= 2 ? uint16_t(units[1]) : 0;
    const uint16_t c3 = length >= 3 ? uint16_t(units[2]) : 0;
    return uint32_t(c3 & 0xFF) << 24 | uint32_t(c3 >> 8) << 16 | uint32_t(c2 & 0xFF) << 8 | uint32_t(c2 >> 8);
}

// The record key: the date's word shifted right by 8 (its sign kept), or
// the name's word, then the mask.
constexpr uint32_t ModuleRecordKey(const char16_t* name, int32_t nameLength, const char16_t* date, int32_t dateLength)
{
    const int32_t d = int32_t(ModuleTextWord(date, dateLength));
    return (uint32_t(d >> 8) | ModuleTextWord(name, nameLength)) ^ kModuleKeyMask;
}

// Enciphers or deciphers `bytes` in place: each whole big-endian 32-bit
// word i takes key ^ table[i mod 16]; the 1 to 3 bytes of a last partial
// word stay as they are.
inline void ModuleShake(uint8_t* bytes, size_t size, uint32_t key)
{
    for (size_t i = 0; i + 4 <= size; i += 4) {
        const uint32_t x = key ^ kModuleCipherTable[(i / 4) % 16];
        bytes[i] ^= uint8_t(x >> 24);
        bytes[i + 1] ^= uint8_t(x >> 16);
        bytes[i + 2] ^= uint8_t(x >> 8);
        bytes[i + 3] ^= uint8_t(x);
    }
}

}  // namespace transfer

// Picture bytes written by hand from the published layout, for the tests
// of the picture walker and of picture values.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/core/Memory.h"

namespace picttest {

class PictBuilder {
public:
    // Size, frame, version 2 and the 24-byte header: the first drawing
    // opcode stands at byte 40.
    explicit PictBuilder(int16_t top = 0, int16_t left = 0, int16_t bottom = 20, int16_t right = 30)
    {
        W(0);
        W(uint16_t(top)), W(uint16_t(left)), W(uint16_t(bottom)), W(uint16_t(right));
        W(0x0011), W(0x02FF), W(0x0C00);
        W(0xFFFE), W(0), L(0x00480000), L(0x00480000);
        W(uint16_t(top)), W(uint16_t(left)), W(uint16_t(bottom)), W(uint16_t(right));
        L(0);
    }

    void B(uint8_t v) { bytes.push_back(v); }
    void W(uint16_t v)
    {
        B(uint8_t(v >> 8));
        B(uint8_t(v));
    }
    void L(uint32_t v)
    {
        W(uint16_t(v >> 16));
        W(uint16_t(v));
    }
    void R(int16_t t, int16_t l, int16_t b, int16_t r) { W(uint16_t(t)), W(uint16_t(l)), W(uint16_t(b)), W(uint16_t(r)); }
    void Fill(size_t n, uint8_t v = 0) { bytes.insert(bytes.end(), n, v); }
    void Pad()
    {
        if (bytes.size() & 1) B(0);
    }
    // The offset of the opcode written.
    size_t Op(uint16_t op)
    {
        Pad();
        const size_t at = bytes.size();
        W(op);
        return at;
    }

    size_t ClipRegion(int16_t size = 10)
    {
        const size_t at = Op(0x0001);
        W(uint16_t(size));
        Fill(size_t(size) - 2);
        return at;
    }

    // The pixel map fields after rowBytes and bounds.
    void PixMapRest(int16_t packType, int16_t pixelType, int16_t pixelSize, int16_t cmpCount, int16_t cmpSize)
    {
        W(0), W(uint16_t(packType)), L(0), L(0x00480000), L(0x00480000);
        W(uint16_t(pixelType)), W(uint16_t(pixelSize)), W(uint16_t(cmpCount)), W(uint16_t(cmpSize));
        L(0), L(0), L(0);
    }

    // DirectBitsRect (or Rgn) of rows rows; packType 1 stores rowBytes a
    // row, packType 4 a count byte or word and that many bytes.
    size_t DirectBits(int16_t top, int16_t left, int16_t rows, int16_t width, int16_t rowBytes, int16_t pixelSize,
                      int16_t cmpSize, int16_t packType, bool region = false)
    {
        const size_t at = Op(region ? 0x009B : 0x009A);
        L(0x000000FF);
        W(uint16_t(0x8000 | rowBytes));
        R(top, left, int16_t(top + rows), int16_t(left + width));
        PixMapRest(packType, 16, pixelSize, 3, cmpSize);
        R(0, 0, rows, width), R(0, 0, rows, width);
        W(0);
        if (region) W(10), R(0, 0, rows, width);
        if (packType == 2 && rowBytes >= 8)
            Fill(size_t(width) * 3 * size_t(rows), 0x22);  // the pad byte of each pixel left out
        else
            Rows(rowBytes, rows, packType != 1);
        return at;
    }

    // Packed rows: each a count and that many bytes (the bytes need not be
    // real PackBits for walking).
    void Rows(int32_t rowBytes, int32_t rows, bool packed)
    {
        if (!packed || rowBytes < 8) {
            Fill(size_t(rowBytes) * size_t(rows), 0x55);
            return;
        }
        for (int32_t r = 0; r < rows; ++r) {
            const int32_t count = 3 + r % 2;
            if (rowBytes > 250) W(uint16_t(count));
            else B(uint8_t(count));
            Fill(size_t(count), 0x11);
        }
    }

    // The end opcode and the size word.
    size_t End()
    {
        const size_t at = Op(0x00FF);
        bytes[0] = uint8_t(bytes.size() >> 8);
        bytes[1] = uint8_t(bytes.size());
        return at;
    }

    platform::Handle ToHandle(size_t size = SIZE_MAX) const
    {
        if (size > bytes.size()) size = bytes.size();
        platform::Handle h = platform::NewHandle(platform::Size(size));
        if (h && size) std::memcpy(*h, bytes.data(), size);
        return h;
    }

    std::vector<uint8_t> bytes;
};

inline int16_t CmpSizeAt(platform::Handle h, size_t opcodeOffset)
{
    const uint8_t* p = reinterpret_cast<const uint8_t*>(*h) + opcodeOffset + 38;
    return int16_t(p[0] << 8 | p[1]);
}

}  // namespace picttest

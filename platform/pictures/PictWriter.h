// Writes picture bytes by the published layout: the header, opcodes at
// even offsets with their data, pixel maps and their packed rows, the end.
// Used by picture recording and by the image importers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

class PictWriter {
public:
    // Size placeholder, frame, version 2 and the header: the resolution
    // form (-2) when `extended`, else the fixed-point frame form (-1).
    void Begin(const Rect& frame, bool extended, Fixed hRes, Fixed vRes, const Rect& srcRect);
    // The end opcode and the size word.
    void Finish();

    void Op(uint16_t op)
    {
        Align();
        U16(op);
    }
    void Align()
    {
        if (bytes_.size() & 1)
            bytes_.push_back(0);
    }
    void U8(uint8_t v) { bytes_.push_back(v); }
    void U16(uint16_t v)
    {
        bytes_.push_back(uint8_t(v >> 8));
        bytes_.push_back(uint8_t(v));
    }
    void U32(uint32_t v)
    {
        U16(uint16_t(v >> 16));
        U16(uint16_t(v));
    }
    void R(const Rect& r);
    void P(Point p);
    void Pat(const Pattern& p) { Bytes(p.pat, 8); }
    void RGB(const RGBColor& c);
    void Bytes(const void* p, size_t n);

    // Pixel operations; `mask` adds the region form of the opcode.
    // 32-bit pixels (0x00RRGGBB, `width` per row): DirectBitsRect, packType 4.
    void DirectBits(const uint32_t* pixels, int32_t width, int32_t height, const Rect& bounds, const Rect& srcRect,
                    const Rect& dstRect, int16_t mode, RgnHandle mask);
    // Indexed rows of `rowBytes` at `depth` bits with their colours:
    // PackBitsRect with a pixel map and its colour table.
    void IndexedBits(const uint8_t* rows, int32_t rowBytes, int32_t height, int16_t depth, const Rect& bounds,
                     const ColorSpec* table, int32_t tableCount, const Rect& srcRect, const Rect& dstRect,
                     int16_t mode, RgnHandle mask);
    // One-bit rows: PackBitsRect with a plain bitmap.
    void BitmapBits(const uint8_t* rows, int32_t rowBytes, int32_t height, const Rect& bounds, const Rect& srcRect,
                    const Rect& dstRect, int16_t mode, RgnHandle mask);

    const std::vector<uint8_t>& bytes() const { return bytes_; }
    std::vector<uint8_t>& bytes() { return bytes_; }
    size_t size() const { return bytes_.size(); }

private:
    void PixMapFields(int32_t rowBytes, const Rect& bounds, int16_t packType, int16_t pixelType, int16_t pixelSize,
                      int16_t cmpCount, int16_t cmpSize);
    void Tail(const Rect& srcRect, const Rect& dstRect, int16_t mode, RgnHandle mask);
    // One row: raw when rowBytes < 8, else a byte or word count and PackBits.
    void Row(const uint8_t* row, int32_t rowBytes, int32_t packedOf);

    std::vector<uint8_t> bytes_;
    std::vector<uint8_t> scratch_;
};

}  // namespace platform

#include "platform/pictures/PictWriter.h"

#include "platform/pictures/PackBits.h"
#include "platform/pictures/PictLayout.h"
#include "platform/pictures/StoredRegions.h"

namespace platform {

namespace {

constexpr Fixed k72dpi = 72 << 16;

}  // namespace

void PictWriter::Begin(const Rect& frame, bool extended, Fixed hRes, Fixed vRes, const Rect& srcRect)
{
    bytes_.clear();
    U16(0);
    R(frame);
    U16(opVersion);
    U16(kVersion2);
    U16(opHeader);
    if (extended) {
        U16(0xFFFE);
        U16(0);
        U32(uint32_t(hRes));
        U32(uint32_t(vRes));
        R(srcRect);
        U32(0);
    } else {
        U16(0xFFFF);
        U16(0xFFFF);
        U32(uint32_t(int32_t(frame.left) * 65536));
        U32(uint32_t(int32_t(frame.top) * 65536));
        U32(uint32_t(int32_t(frame.right) * 65536));
        U32(uint32_t(int32_t(frame.bottom) * 65536));
        U32(0);
    }
}

void PictWriter::Finish()
{
    Op(opEndPic);
    uint16_t size = uint16_t(bytes_.size());
    bytes_[0] = uint8_t(size >> 8);
    bytes_[1] = uint8_t(size);
}

void PictWriter::R(const Rect& r)
{
    U16(uint16_t(r.top));
    U16(uint16_t(r.left));
    U16(uint16_t(r.bottom));
    U16(uint16_t(r.right));
}

void PictWriter::P(Point p)
{
    U16(uint16_t(p.v));
    U16(uint16_t(p.h));
}

void PictWriter::RGB(const RGBColor& c)
{
    U16(c.red);
    U16(c.green);
    U16(c.blue);
}

void PictWriter::Bytes(const void* p, size_t n)
{
    const auto* b = static_cast<const uint8_t*>(p);
    bytes_.insert(bytes_.end(), b, b + n);
}

void PictWriter::PixMapFields(int32_t rowBytes, const Rect& bounds, int16_t packType, int16_t pixelType,
                              int16_t pixelSize, int16_t cmpCount, int16_t cmpSize)
{
    U16(uint16_t(0x8000 | rowBytes));
    R(bounds);
    U16(0);  // pmVersion
    U16(uint16_t(packType));
    U32(0);  // packSize
    U32(uint32_t(k72dpi));
    U32(uint32_t(k72dpi));
    U16(uint16_t(pixelType));
    U16(uint16_t(pixelSize));
    U16(uint16_t(cmpCount));
    U16(uint16_t(cmpSize));
    U32(0);  // planeBytes
    U32(0);  // pmTable
    U32(0);  // reserved
}

void PictWriter::Tail(const Rect& srcRect, const Rect& dstRect, int16_t mode, RgnHandle mask)
{
    R(srcRect);
    R(dstRect);
    U16(uint16_t(mode));
    if (mask)
        AppendStoredRegion(mask, &bytes_);
}

void PictWriter::Row(const uint8_t* row, int32_t rowBytes, int32_t packedOf)
{
    if (rowBytes < 8) {
        Bytes(row, size_t(rowBytes));
        return;
    }
    scratch_.clear();
    PackBits(row, size_t(packedOf), 1, &scratch_);
    if (rowBytes > 250)
        U16(uint16_t(scratch_.size()));
    else
        U8(uint8_t(scratch_.size()));
    Bytes(scratch_.data(), scratch_.size());
}

void PictWriter::DirectBits(const uint32_t* pixels, int32_t width, int32_t height, const Rect& bounds,
                            const Rect& srcRect, const Rect& dstRect, int16_t mode, RgnHandle mask)
{
    const int32_t rowBytes = width * 4;
    const bool packed = rowBytes >= 8;
    Op(mask ? opDirectBitsRgn : opDirectBitsRect);
    U32(kDirectBaseAddr);
    PixMapFields(rowBytes, bounds, packed ? 4 : 1, RGBDirect, 32, 3, 8);
    Tail(srcRect, dstRect, mode, mask);
    std::vector<uint8_t> row(static_cast<size_t>(rowBytes));
    for (int32_t y = 0; y < height; ++y) {
        const uint32_t* src = pixels + int64_t(y) * width;
        if (packed) {
            // Component planes: all reds, then greens, then blues.
            for (int32_t x = 0; x < width; ++x) {
                row[size_t(x)] = uint8_t(src[x] >> 16);
                row[size_t(width + x)] = uint8_t(src[x] >> 8);
                row[size_t(2 * width + x)] = uint8_t(src[x]);
            }
            Row(row.data(), rowBytes, width * 3);
        } else {
            for (int32_t x = 0; x < width; ++x) {
                row[size_t(4 * x)] = 0;
                row[size_t(4 * x + 1)] = uint8_t(src[x] >> 16);
                row[size_t(4 * x + 2)] = uint8_t(src[x] >> 8);
                row[size_t(4 * x + 3)] = uint8_t(src[x]);
            }
            Row(row.data(), rowBytes, rowBytes);
        }
    }
}

void PictWriter::IndexedBits(const uint8_t* rows, int32_t rowBytes, int32_t height, int16_t depth,
                             const Rect& bounds, const ColorSpec* table, int32_t tableCount, const Rect& srcRect,
                             const Rect& dstRect, int16_t mode, RgnHandle mask)
{
    Op(mask ? opPackBitsRgn : opPackBitsRect);
    PixMapFields(rowBytes, bounds, 0, 0, depth, 1, depth);
    U32(0);  // ctSeed
    U16(0);  // ctFlags
    U16(uint16_t(tableCount - 1));
    for (int32_t i = 0; i < tableCount; ++i) {
        U16(uint16_t(i));
        RGB(table[i].rgb);
    }
    Tail(srcRect, dstRect, mode, mask);
    for (int32_t y = 0; y < height; ++y)
        Row(rows + int64_t(y) * rowBytes, rowBytes, rowBytes);
}

void PictWriter::BitmapBits(const uint8_t* rows, int32_t rowBytes, int32_t height, const Rect& bounds,
                            const Rect& srcRect, const Rect& dstRect, int16_t mode, RgnHandle mask)
{
    Op(mask ? opPackBitsRgn : opPackBitsRect);
    U16(uint16_t(rowBytes));
    R(bounds);
    Tail(srcRect, dstRect, mode, mask);
    for (int32_t y = 0; y < height; ++y)
        Row(rows + int64_t(y) * rowBytes, rowBytes, rowBytes);
}

}  // namespace platform

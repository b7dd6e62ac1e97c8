// Reading the bitmaps and pixel maps of picture opcodes (bits, packed bits,
// direct bits and pixel patterns) into pixels that CopyBits can take. Each
// field is checked against the picture before anything is allocated.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/drawing/QuickDrawTypes.h"
#include "platform/pictures/PictCursor.h"

namespace platform {

struct PictPixMapHeader {
    int32_t rowBytes = 0;
    Rect bounds{};
    bool isPixMap = false;
    int16_t packType = 0;
    int16_t pixelSize = 1;
    int16_t cmpCount = 1;
    std::vector<RGBColor> colors;  // indexed maps: by pixel value
};

enum class PixelReadResult : uint8_t { Ok, Damaged, NoMemory };

// Decoded pixels: 32-bit maps as 0x00RRGGBB words, others as the picture's
// own rows (1 to 8 bits, with their colour table).
class PictPixels {
public:
    PictPixels() = default;
    ~PictPixels();
    PictPixels(const PictPixels&) = delete;
    PictPixels& operator=(const PictPixels&) = delete;

    // The map for CopyBits (valid while this object lives).
    const BitMap* bits() const { return reinterpret_cast<const BitMap*>(&map_); }
    int32_t width() const { return map_.bounds.right - map_.bounds.left; }
    int32_t height() const { return map_.bounds.bottom - map_.bounds.top; }
    uint32_t RGBAt(int32_t col, int32_t row) const;

    PixelReadResult Read(PictCursor& in, const PictPixMapHeader& header, bool packed);
    // 32-bit pixels from another decoder (JPEG), rows of `width` words.
    PixelReadResult Adopt32(int32_t width, int32_t height);
    uint32_t* Pixels32() { return reinterpret_cast<uint32_t*>(data_); }

private:
    Ptr data_ = nullptr;
    PixMap map_{};
    CTabHandle table_ = nullptr;
};

// Reads rowBytes and bounds, and the rest of the pixel map when rowBytes
// says it is one (allowed only in version 2). `baseAddr`: the direct
// opcodes' leading base address.
bool ReadPictPixMapHeader(PictCursor& in, bool baseAddr, bool allowPixMap, PictPixMapHeader* out);
// The colour table of an indexed pixel map.
bool ReadPictColorTable(PictCursor& in, PictPixMapHeader* header);
// Walks past the pixels PictPixels::Read would take, with its checks of
// the header and of the rows' lengths, without decoding them. The runs
// inside packed rows (*runsUnchecked) are left for the decoding to check.
PixelReadResult SkipPictPixels(PictCursor& in, const PictPixMapHeader& header, bool packed, bool* runsUnchecked);

}  // namespace platform

// Pixel patterns: a tile of colours repeated from the port's origin, as
// pictures set them for the pen, the background and fills.
#pragma once

#include <pixman.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

struct PixPatTile {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows of `width`

    // Whether the tile holds a pixel for each place; one that does not
    // paints nothing.
    bool Paints() const { return width > 0 && height > 0 && pixels.size() >= size_t(width) * size_t(height); }

    uint32_t At(int32_t h, int32_t v) const
    {
        int32_t x = h % width, y = v % height;
        if (x < 0)
            x += width;
        if (y < 0)
            y += height;
        return pixels[size_t(y) * size_t(width) + size_t(x)];
    }
};

// Paints the shape (local coordinates) with the tile in `mode`, within
// the port's clip and visible regions. Copy modes put the tile's colours
// as they are; the others combine them as CopyBits does.
void PaintPixPatShape(GrafPort* port, const pixman_region32_t* shape, const PixPatTile& tile, int16_t mode);

}  // namespace platform

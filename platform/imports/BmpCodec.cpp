#include "platform/imports/BmpCodec.h"

#include "platform/core/Endian.h"
#include "platform/pictures/PictLayout.h"

namespace platform {

namespace {

constexpr size_t kFileHeader = 14;

struct BmpLayout {
    int32_t width = 0, height = 0;
    bool topDown = false;
    uint16_t depth = 0;
    size_t pixelOffset = 0, stride = 0;
    size_t palette = 0, paletteCount = 0, paletteEntry = 4;
};

ImageReadResult Layout(const uint8_t* d, size_t size, BmpLayout* l)
{
    if (size < kFileHeader + 12 || d[0] != 'B' || d[1] != 'M')
        return ImageReadResult::Damaged;
    const uint32_t infoSize = ReadLE32(d + 14);
    if (infoSize < 12 || kFileHeader + infoSize > size)
        return ImageReadResult::Damaged;
    int64_t w = 0, h = 0;
    uint32_t compression = 0, used = 0;
    if (infoSize == 12) {  // the oldest header: 16-bit sizes, 3-byte palette entries
        w = ReadLE16(d + 18);
        h = int16_t(ReadLE16(d + 20));
        l->depth = ReadLE16(d + 24);
        l->paletteEntry = 3;
    } else {
        if (infoSize < 40)
            return ImageReadResult::Damaged;
        w = int32_t(ReadLE32(d + 18));
        h = int32_t(ReadLE32(d + 22));
        l->depth = ReadLE16(d + 28);
        compression = ReadLE32(d + 30);
        used = ReadLE32(d + 46);
    }
    if (compression != 0 || w <= 0 || h == 0 || h == INT32_MIN)
        return ImageReadResult::Damaged;
    if (l->depth != 1 && l->depth != 4 && l->depth != 8 && l->depth != 24 && l->depth != 32)
        return ImageReadResult::Damaged;
    l->topDown = h < 0;
    if (h < 0)
        h = -h;
    if (w > kMaxPixMapWidth || h > kMaxPixMapHeight)
        return ImageReadResult::TooLarge;
    l->width = int32_t(w);
    l->height = int32_t(h);
    l->stride = ((size_t(w) * l->depth + 31) / 32) * 4;
    l->pixelOffset = ReadLE32(d + 10);
    l->palette = kFileHeader + infoSize;
    if (l->depth <= 8) {
        const size_t most = size_t(1) << l->depth;
        l->paletteCount = used == 0 || used > most ? most : used;
        if (l->palette + l->paletteCount * l->paletteEntry > size)
            return ImageReadResult::Damaged;
    }
    // Every row must be in the file before the pixels are made.
    if (l->pixelOffset < l->palette || l->pixelOffset > size || (size - l->pixelOffset) / l->stride < size_t(h))
        return ImageReadResult::Damaged;
    return ImageReadResult::Ok;
}

}  // namespace

ImageReadResult ReadBmpSize(const uint8_t* data, size_t size, int32_t* width, int32_t* height)
{
    BmpLayout l;
    ImageReadResult r = data ? Layout(data, size, &l) : ImageReadResult::Damaged;
    *width = l.width;
    *height = l.height;
    return r;
}

ImageReadResult DecodeBmp(const uint8_t* data, size_t size, PictPixels* out)
{
    BmpLayout l;
    if (!data || !out)
        return ImageReadResult::Damaged;
    if (ImageReadResult r = Layout(data, size, &l); r != ImageReadResult::Ok)
        return r;
    PixelReadResult made = out->Adopt32(l.width, l.height);
    if (made != PixelReadResult::Ok)
        return made == PixelReadResult::NoMemory ? ImageReadResult::NoMemory : ImageReadResult::Damaged;
    uint32_t* px = out->Pixels32();
    for (int32_t row = 0; row < l.height; ++row) {
        const uint8_t* src = data + l.pixelOffset + size_t(l.topDown ? row : l.height - 1 - row) * l.stride;
        uint32_t* dst = px + size_t(row) * size_t(l.width);
        for (int32_t x = 0; x < l.width; ++x) {
            if (l.depth >= 24) {
                const uint8_t* p = src + size_t(x) * (l.depth / 8);
                dst[x] = uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
                continue;
            }
            const size_t bit = size_t(x) * l.depth;
            const uint32_t index = (src[bit / 8] >> (8 - l.depth - bit % 8)) & ((1u << l.depth) - 1);
            if (index >= l.paletteCount) {
                dst[x] = 0;  // outside the palette: black
                continue;
            }
            const uint8_t* e = data + l.palette + index * l.paletteEntry;
            dst[x] = uint32_t(e[2]) << 16 | uint32_t(e[1]) << 8 | e[0];
        }
    }
    return ImageReadResult::Ok;
}

}  // namespace platform

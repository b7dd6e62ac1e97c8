// libpng reports errors by jumping back to the decoder: nothing between
// the setjmp and the jump owns memory that needs a destructor.
#include "platform/imports/PngCodec.h"

#include <csetjmp>

#include <png.h>

#include "platform/core/Memory.h"
#include "platform/pictures/PictLayout.h"

namespace platform {

namespace {

struct Source {
    const uint8_t* data;
    size_t size;
    size_t pos;
};

void ReadBytes(png_structp png, png_bytep out, png_size_t length)
{
    auto* s = static_cast<Source*>(png_get_io_ptr(png));
    if (length > s->size - s->pos)
        png_error(png, "cut short");
    for (png_size_t i = 0; i < length; ++i)
        out[i] = s->data[s->pos + i];
    s->pos += length;
}

void Quiet(png_structp, png_const_charp) {}

ImageReadResult Decode(const uint8_t* data, size_t size, PictPixels* out, int32_t* width, int32_t* height)
{
    if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0)
        return ImageReadResult::Damaged;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Quiet, Quiet);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return ImageReadResult::NoMemory;
    }
    Source source{data, size, 0};
    Ptr volatile rows = nullptr;
    volatile ImageReadResult result = ImageReadResult::Damaged;
    if (setjmp(png_jmpbuf(png))) {
        if (rows)
            DisposePtr(rows);
        png_destroy_read_struct(&png, &info, nullptr);
        return result;
    }
    png_set_read_fn(png, &source, ReadBytes);
    png_read_info(png, info);
    const png_uint_32 w = png_get_image_width(png, info), h = png_get_image_height(png, info);
    *width = int32_t(w > 0x7FFFFFFF ? 0x7FFFFFFF : w);
    *height = int32_t(h > 0x7FFFFFFF ? 0x7FFFFFFF : h);
    if (!out || w > uint32_t(kMaxPixMapWidth) || h > uint32_t(kMaxPixMapHeight)) {
        png_destroy_read_struct(&png, &info, nullptr);
        return out ? ImageReadResult::TooLarge : ImageReadResult::Ok;
    }
    // Deflate shrinks at most about a thousand-fold: fewer bytes than that
    // cannot hold the rows, and are refused before the pixels are made.
    if (uint64_t(size) * 1032 + 4096 < uint64_t(png_get_rowbytes(png, info)) * h)
        longjmp(png_jmpbuf(png), 1);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t(w) * 4)
        longjmp(png_jmpbuf(png), 1);
    PixelReadResult made = out->Adopt32(int32_t(w), int32_t(h));
    rows = made == PixelReadResult::Ok ? NewPtr(Size(sizeof(png_bytep) * h)) : nullptr;
    if (!rows) {
        result = made == PixelReadResult::Damaged ? ImageReadResult::Damaged : ImageReadResult::NoMemory;
        longjmp(png_jmpbuf(png), 1);
    }
    auto* rowPointers = reinterpret_cast<png_bytep*>(rows);
    auto* pixels = reinterpret_cast<png_bytep>(out->Pixels32());
    for (png_uint_32 y = 0; y < h; ++y)
        rowPointers[y] = pixels + size_t(y) * w * 4;
    png_read_image(png, rowPointers);
    png_read_end(png, nullptr);
    DisposePtr(rows);
    rows = nullptr;
    png_destroy_read_struct(&png, &info, nullptr);
    // R, G, B, A bytes become 0x00RRGGBB over white.
    uint32_t* px = out->Pixels32();
    for (size_t i = 0; i < size_t(w) * h; ++i) {
        const auto* b = reinterpret_cast<const uint8_t*>(px + i);
        uint32_t a = b[3], c = 0;
        for (int k = 0; k < 3; ++k)
            c = (c << 8) | ((b[k] * a + 255 * (255 - a) + 127) / 255);
        px[i] = c;
    }
    return ImageReadResult::Ok;
}

}  // namespace

ImageReadResult ReadPngSize(const uint8_t* data, size_t size, int32_t* width, int32_t* height)
{
    return Decode(data, size, nullptr, width, height);
}

ImageReadResult DecodePng(const uint8_t* data, size_t size, PictPixels* out)
{
    int32_t w = 0, h = 0;
    if (!out)
        return ImageReadResult::Damaged;
    return Decode(data, size, out, &w, &h);
}

}  // namespace platform

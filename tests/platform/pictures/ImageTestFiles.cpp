#include "tests/platform/pictures/ImageTestFiles.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>
#include <png.h>

namespace picturetest {

std::vector<uint8_t> EncodeJpeg(int width, int height, const std::vector<uint32_t>& pixels, bool grey)
{
    jpeg_compress_struct info;
    jpeg_error_mgr err;
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    for (int c = 0; c < info.num_components; ++c)
        info.comp_info[c].h_samp_factor = info.comp_info[c].v_samp_factor = 1;
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row(size_t(width) * 3);
    while (info.next_scanline < info.image_height) {
        for (int x = 0; x < width; ++x) {
            uint32_t p = pixels[size_t(info.next_scanline) * size_t(width) + size_t(x)];
            if (grey) {
                row[size_t(x)] = uint8_t(p);
            } else {
                row[size_t(3 * x)] = uint8_t(p >> 16);
                row[size_t(3 * x + 1)] = uint8_t(p >> 8);
                row[size_t(3 * x + 2)] = uint8_t(p);
            }
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&info, &r, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> bytes(out, out + size);
    std::free(out);
    return bytes;
}

namespace {

void Append(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void Flush(png_structp) {}

}  // namespace

std::vector<uint8_t> EncodePng(int width, int height, const std::vector<uint32_t>& pixels, PngKind kind)
{
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, Append, Flush);
    int type = kind == PngKind::RGBA ? PNG_COLOR_TYPE_RGB_ALPHA
               : kind == PngKind::Palette ? PNG_COLOR_TYPE_PALETTE
                                          : PNG_COLOR_TYPE_GRAY;
    png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8, type, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    if (kind == PngKind::Palette) {
        for (uint32_t p : pixels) {
            png_color c{png_byte(p >> 16), png_byte(p >> 8), png_byte(p)};
            bool known = false;
            for (const auto& e : palette)
                known |= e.red == c.red && e.green == c.green && e.blue == c.blue;
            if (!known)
                palette.push_back(c);
        }
        png_set_PLTE(png, info, palette.data(), int(palette.size()));
    }
    png_write_info(png, info);
    const int channels = kind == PngKind::RGBA ? 4 : 1;
    std::vector<uint8_t> row(size_t(width) * size_t(channels));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t p = pixels[size_t(y) * size_t(width) + size_t(x)];
            if (kind == PngKind::RGBA) {
                row[size_t(4 * x)] = uint8_t(p >> 16);
                row[size_t(4 * x + 1)] = uint8_t(p >> 8);
                row[size_t(4 * x + 2)] = uint8_t(p);
                row[size_t(4 * x + 3)] = uint8_t(p >> 24);
            } else if (kind == PngKind::Grey) {
                row[size_t(x)] = uint8_t(p);
            } else {
                for (size_t i = 0; i < palette.size(); ++i)
                    if (palette[i].red == uint8_t(p >> 16) && palette[i].green == uint8_t(p >> 8) &&
                        palette[i].blue == uint8_t(p))
                        row[size_t(x)] = uint8_t(i);
            }
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

}  // namespace picturetest

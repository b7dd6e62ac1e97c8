#include "platform/core/Errors.h"
#include "platform/drawing/PngExport.h"

#include <png.h>

#include <cstdio>

#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"

namespace platform {

namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

}  // namespace

OSErr EncodePNG(const BitMap* bits, std::vector<uint8_t>& out)
{
    out.clear();
    Surface s = MakeSurface(bits);
    if (s.Empty())
        return paramErr;
    const uint32_t width = uint32_t(s.bounds.right - s.bounds.left);
    const uint32_t height = uint32_t(s.bounds.bottom - s.bounds.top);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return memFullErr;
    png_infop info = png_create_info_struct(png);
    std::vector<uint8_t> row(size_t(width) * 3);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, info ? &info : nullptr);
        out.clear();
        return memFullErr;
    }
    png_set_write_fn(png, &out, AppendBytes, NoFlush);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int32_t v = s.bounds.top; v < s.bounds.bottom; ++v) {
        for (int32_t h = s.bounds.left; h < s.bounds.right; ++h) {
            uint32_t rgb = s.ReadRGB(h, v);
            uint8_t* p = &row[size_t(h - s.bounds.left) * 3];
            p[0] = uint8_t(rgb >> 16);
            p[1] = uint8_t(rgb >> 8);
            p[2] = uint8_t(rgb);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return noErr;
}

OSErr WritePNG(const BitMap* bits, const char* path)
{
    if (!path)
        return paramErr;
    std::vector<uint8_t> data;
    if (OSErr err = EncodePNG(bits, data))
        return err;
    std::FILE* f = std::fopen(path, "wb");
    if (!f)
        return ioErr;
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    ok = std::fclose(f) == 0 && ok;
    return ok ? noErr : ioErr;
}

OSErr WritePortPNG(CGrafPtr port, const char* path)
{
    return WritePNG(GetPortBitMapForCopyBits(port), path);
}

}  // namespace platform

// libjpeg reports fatal errors through a callback that must not return:
// it jumps back to the decoder, so nothing between the setjmp and the jump
// may own resources that need a destructor.
#include "platform/pictures/JpegCodec.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

#include "platform/pictures/PictLayout.h"

namespace platform {

namespace {

struct ErrorTrap {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

[[noreturn]] void ErrorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorTrap*>(info->err)->jump, 1);
}

void Quiet(j_common_ptr, int) {}
void QuietOutput(j_common_ptr) {}

// Internal buffers of any one image stay below this.
constexpr int64_t kDecoderMemory = int64_t(256) * 1024 * 1024;

bool Plausible(size_t size, int64_t width, int64_t height)
{
    // Even a flat image costs a few bits per 8 x 8 block: data far smaller
    // than that is cut short, and is refused before the pixels are made.
    return int64_t(size) * 1024 >= width * height;
}

ImageReadResult Decode(const uint8_t* data, size_t size, PictPixels* out, int32_t* width, int32_t* height)
{
    jpeg_decompress_struct info;
    ErrorTrap trap;
    info.err = jpeg_std_error(&trap.mgr);
    trap.mgr.error_exit = ErrorExit;
    trap.mgr.emit_message = Quiet;
    trap.mgr.output_message = QuietOutput;
    volatile ImageReadResult result = ImageReadResult::Damaged;
    if (setjmp(trap.jump)) {
        jpeg_destroy_decompress(&info);
        return result;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kDecoderMemory;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    *width = int32_t(info.image_width);
    *height = int32_t(info.image_height);
    if (!out) {
        jpeg_destroy_decompress(&info);
        return ImageReadResult::Ok;
    }
    if (info.image_width > uint32_t(kMaxPixMapWidth) || info.image_height > uint32_t(kMaxPixMapHeight)) {
        jpeg_destroy_decompress(&info);
        return ImageReadResult::TooLarge;
    }
    if (!Plausible(size, info.image_width, info.image_height)) {
        jpeg_destroy_decompress(&info);
        return ImageReadResult::Damaged;
    }
    info.out_color_space = JCS_EXT_XRGB;  // no conversion left to do
    PixelReadResult made = out->Adopt32(int32_t(info.image_width), int32_t(info.image_height));
    if (made != PixelReadResult::Ok) {
        jpeg_destroy_decompress(&info);
        return made == PixelReadResult::NoMemory ? ImageReadResult::NoMemory : ImageReadResult::Damaged;
    }
    jpeg_start_decompress(&info);
    uint32_t* pixels = out->Pixels32();
    while (info.output_scanline < info.output_height) {
        auto* row = reinterpret_cast<JSAMPROW>(pixels + size_t(info.output_scanline) * info.image_width);
        jpeg_read_scanlines(&info, &row, 1);
        // The library writes X, R, G, B bytes: make them 0x00RRGGBB words.
        uint32_t* px = reinterpret_cast<uint32_t*>(row);
        for (uint32_t x = 0; x < info.image_width; ++x) {
            const auto* b = reinterpret_cast<const uint8_t*>(px + x);
            px[x] = (uint32_t(b[1]) << 16) | (uint32_t(b[2]) << 8) | b[3];
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return ImageReadResult::Ok;
}

}  // namespace

ImageReadResult ReadJpegSize(const uint8_t* data, size_t size, int32_t* width, int32_t* height)
{
    if (!data || size < 4)
        return ImageReadResult::Damaged;
    return Decode(data, size, nullptr, width, height);
}

ImageReadResult DecodeJpeg(const uint8_t* data, size_t size, PictPixels* out)
{
    int32_t w = 0, h = 0;
    if (!data || size < 4 || !out)
        return ImageReadResult::Damaged;
    return Decode(data, size, out, &w, &h);
}

}  // namespace platform

#include "platform/imports/GifCodec.h"

#include <gif_lib.h>

#include <cstring>
#include <vector>

#include "platform/pictures/PictLayout.h"

namespace platform {

namespace {

struct Source {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
};

int ReadBytes(GifFileType* gif, GifByteType* buffer, int count)
{
    auto* src = static_cast<Source*>(gif->UserData);
    const size_t n = count <= 0 ? 0 : std::min(size_t(count), src->size - src->at);
    std::memcpy(buffer, src->data + src->at, n);
    src->at += n;
    return int(n);
}

struct Closer {
    GifFileType* gif;
    ~Closer()
    {
        int err = 0;
        if (gif) DGifCloseFile(gif, &err);
    }
};

// LZW codes are at least 3 bits and stand for at most 4096 pixels: a file
// cannot describe more pixels than this, whatever its header says.
bool Plausible(size_t size, int64_t pixels) { return pixels <= int64_t(size) * 8 / 3 * 4096; }

ImageReadResult Decode(const uint8_t* data, size_t size, PictPixels* out, int32_t* width, int32_t* height)
{
    Source src{data, size};
    int err = 0;
    Closer closer{DGifOpen(&src, ReadBytes, &err)};
    GifFileType* gif = closer.gif;
    if (!gif)
        return err == D_GIF_ERR_NOT_ENOUGH_MEM ? ImageReadResult::NoMemory : ImageReadResult::Damaged;
    *width = gif->SWidth;
    *height = gif->SHeight;
    if (gif->SWidth <= 0 || gif->SHeight <= 0)
        return ImageReadResult::Damaged;
    if (gif->SWidth > kMaxPixMapWidth || gif->SHeight > kMaxPixMapHeight)
        return ImageReadResult::TooLarge;
    if (!Plausible(size, int64_t(gif->SWidth) * gif->SHeight))
        return ImageReadResult::Damaged;
    if (!out)
        return ImageReadResult::Ok;

    int transparent = -1;
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    while (DGifGetRecordType(gif, &type) == GIF_OK && type != TERMINATE_RECORD_TYPE) {
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* ext = nullptr;
            if (DGifGetExtension(gif, &code, &ext) != GIF_OK)
                return ImageReadResult::Damaged;
            if (code == GRAPHICS_EXT_FUNC_CODE && ext && ext[0] >= 4 && (ext[1] & 1))
                transparent = ext[4];
            while (ext)
                if (DGifGetExtensionNext(gif, &ext) != GIF_OK)
                    return ImageReadResult::Damaged;
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(gif) != GIF_OK)
            return ImageReadResult::Damaged;
        const GifImageDesc& desc = gif->Image;
        const ColorMapObject* colours = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        if (!colours || desc.Width <= 0 || desc.Height <= 0 || desc.Left < 0 || desc.Top < 0 ||
            desc.Width > kMaxPixMapWidth || desc.Height > kMaxPixMapHeight ||
            !Plausible(size, int64_t(desc.Width) * desc.Height))
            return ImageReadResult::Damaged;
        PixelReadResult made = out->Adopt32(gif->SWidth, gif->SHeight);
        if (made != PixelReadResult::Ok)
            return made == PixelReadResult::NoMemory ? ImageReadResult::NoMemory : ImageReadResult::Damaged;
        uint32_t* px = out->Pixels32();
        std::fill(px, px + size_t(gif->SWidth) * size_t(gif->SHeight), 0x00FFFFFFu);
        std::vector<GifPixelType> line(static_cast<size_t>(desc.Width));
        // Interlaced rows come in four passes.
        const int starts[4] = {0, 4, 2, 1}, steps[4] = {8, 8, 4, 2};
        const int passes = desc.Interlace ? 4 : 1;
        for (int pass = 0; pass < passes; ++pass) {
            const int first = desc.Interlace ? starts[pass] : 0, step = desc.Interlace ? steps[pass] : 1;
            for (int row = first; row < desc.Height; row += step) {
                if (DGifGetLine(gif, line.data(), desc.Width) != GIF_OK)
                    return ImageReadResult::Damaged;
                const int y = desc.Top + row;
                if (y >= gif->SHeight)
                    continue;
                for (int x = 0; x < desc.Width && desc.Left + x < gif->SWidth; ++x) {
                    const int index = line[size_t(x)];
                    if (index == transparent || index >= colours->ColorCount)
                        continue;
                    const GifColorType& c = colours->Colors[index];
                    px[size_t(y) * size_t(gif->SWidth) + size_t(desc.Left + x)] =
                        uint32_t(c.Red) << 16 | uint32_t(c.Green) << 8 | c.Blue;
                }
            }
        }
        return ImageReadResult::Ok;
    }
    return ImageReadResult::Damaged;  // no image in the file
}

}  // namespace

ImageReadResult ReadGifSize(const uint8_t* data, size_t size, int32_t* width, int32_t* height)
{
    *width = *height = 0;
    return data ? Decode(data, size, nullptr, width, height) : ImageReadResult::Damaged;
}

ImageReadResult DecodeGif(const uint8_t* data, size_t size, PictPixels* out)
{
    int32_t w = 0, h = 0;
    return data && out ? Decode(data, size, out, &w, &h) : ImageReadResult::Damaged;
}

}  // namespace platform

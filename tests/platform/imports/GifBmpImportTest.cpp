// GIF and BMP files imported as pictures: their pixels at their size,
// damaged or oversized headers refused before pixel memory is taken; a
// damaged picture file refused whole.
#include <gtest/gtest.h>

#include <gif_lib.h>

#include <vector>

#include "platform/core/Endian.h"
#include "platform/core/Faults.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/GWorlds.h"
#include "platform/imports/GraphicsImport.h"
#include "platform/pictures/Pictures.h"
#include "tests/platform/drawing/DrawingTestSupport.h"

namespace {

using namespace platform;

const uint32_t kPixels[6] = {0xFF0000, 0x00FF00, 0x0000FF, 0x000000, 0xFFFFFF, 0x336699};

std::vector<uint8_t> Bmp(int32_t w, int32_t h, uint16_t depth, bool topDown = false)
{
    const size_t stride = ((size_t(w) * depth + 31) / 32) * 4;
    const size_t palette = depth <= 8 ? 6 * 4 : 0;
    // Only the 3 x 2 image gets its rows: larger ones are headers alone.
    std::vector<uint8_t> b(14 + 40 + palette + (w == 3 && h == 2 ? stride * 2 : 0));
    b[0] = 'B', b[1] = 'M';
    WriteLE32(&b[2], uint32_t(b.size()));
    WriteLE32(&b[10], uint32_t(14 + 40 + palette));
    WriteLE32(&b[14], 40);
    WriteLE32(&b[18], uint32_t(w));
    WriteLE32(&b[22], uint32_t(topDown ? -h : h));
    WriteLE16(&b[26], 1);
    WriteLE16(&b[28], depth);
    if (depth <= 8) WriteLE32(&b[46], 6);
    for (size_t i = 0; i < palette / 4; ++i) {
        b[54 + i * 4] = uint8_t(kPixels[i]);
        b[55 + i * 4] = uint8_t(kPixels[i] >> 8);
        b[56 + i * 4] = uint8_t(kPixels[i] >> 16);
    }
    if (w != 3 || h != 2) return b;
    for (int32_t y = 0; y < 2; ++y) {
        uint8_t* row = &b[14 + 40 + palette + stride * size_t(topDown ? y : 1 - y)];
        for (int32_t x = 0; x < 3; ++x) {
            const uint32_t c = kPixels[y * 3 + x];
            if (depth == 8) {
                row[x] = uint8_t(y * 3 + x);
            } else if (depth == 4) {
                row[x / 2] |= uint8_t((y * 3 + x) << (x % 2 ? 0 : 4));
            } else {
                uint8_t* p = row + x * (depth / 8);
                p[0] = uint8_t(c), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c >> 16);
            }
        }
    }
    return b;
}

int WriteBytes(GifFileType* gif, const GifByteType* data, int count)
{
    auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
    out->insert(out->end(), data, data + count);
    return count;
}

std::vector<uint8_t> Gif(int w, int h, bool interlace)
{
    std::vector<uint8_t> out;
    int err = 0;
    GifFileType* gif = EGifOpen(&out, WriteBytes, &err);
    GifColorType colours[8] = {};
    for (int i = 0; i < 6; ++i)
        colours[i] = {GifByteType(kPixels[i] >> 16), GifByteType(kPixels[i] >> 8), GifByteType(kPixels[i])};
    ColorMapObject* map = GifMakeMapObject(8, colours);
    EGifPutScreenDesc(gif, w, h, 3, 0, map);
    EGifPutImageDesc(gif, 0, 0, w, h, interlace, nullptr);
    // Interlaced: the rows of a 2-row image come row 0 then row 1 as well.
    for (int y = 0; y < h; ++y) {
        std::vector<GifPixelType> line(static_cast<size_t>(w));
        for (int x = 0; x < w; ++x) line[size_t(x)] = GifPixelType((y * 3 + x) % 6);
        EGifPutLine(gif, line.data(), w);
    }
    EGifCloseFile(gif, &err);
    GifFreeMapObject(map);
    return out;
}

// Imports the bytes and plays them into the world, which is current; the
// picture's frame too.
OSErr ImportAndPlay(OSType kind, const std::vector<uint8_t>& bytes, drawingtest::World& /*current*/, Rect* frame)
{
    PicHandle pic = nullptr;
    const OSErr err = ImportPictureFromBytes(kind, bytes.data(), bytes.size(), &pic);
    if (err != noErr) return err;
    QDGetPictureBounds(pic, frame);
    DrawPicture(pic, frame);
    KillPicture(pic);
    return QDError();
}

TEST(GifBmpImport, ThreeByTwoFilesPlayAsTheirPixels)
{
    struct Case {
        const char* name;
        OSType kind;
        std::vector<uint8_t> bytes;
    };
    const Case cases[] = {
        {"bmp 24", FourCC("BMPf"), Bmp(3, 2, 24)},
        {"bmp 32 top-down", FourCC("BMPf"), Bmp(3, 2, 32, true)},
        {"bmp 8", FourCC("BMPf"), Bmp(3, 2, 8)},
        {"bmp 4", FourCC("BMPf"), Bmp(3, 2, 4)},
        {"gif", FourCC("GIFf"), Gif(3, 2, false)},
        {"gif interlaced", FourCC("GIFf"), Gif(3, 2, true)},
    };
    for (const Case& c : cases) {
        drawingtest::World world(8, 8);
        Rect frame{};
        ASSERT_EQ(ImportAndPlay(c.kind, c.bytes, world, &frame), noErr) << c.name;
        EXPECT_EQ(frame.right - frame.left, 3) << c.name;
        EXPECT_EQ(frame.bottom - frame.top, 2) << c.name;
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(world.At(x, y) & 0xFFFFFF, kPixels[y * 3 + x]) << c.name << " at " << x << "," << y;
    }
}

TEST(GifBmpImport, DamageAndHugeHeadersAreRefusedWithoutPixelMemory)
{
    PicHandle pic = nullptr;
    for (OSType kind : {FourCC("BMPf"), FourCC("GIFf")}) {
        std::vector<uint8_t> whole = kind == FourCC("BMPf") ? Bmp(3, 2, 24) : Gif(3, 2, false);
        for (size_t cut : {size_t(0), size_t(10), whole.size() / 2, whole.size() - 3}) {
            std::vector<uint8_t> part(whole.begin(), whole.begin() + std::ptrdiff_t(cut));
            EXPECT_NE(ImportPictureFromBytes(kind, part.data(), part.size(), &pic), noErr) << cut;
            EXPECT_EQ(pic, nullptr);
        }
        {
            ScopedFault fault(FaultKind::Allocation, 0, -1);
            EXPECT_EQ(ImportPictureFromBytes(kind, whole.data(), whole.size(), &pic), memFullErr);
            EXPECT_EQ(pic, nullptr);
        }
    }
    // 100,000 x 100,000 declared in a file of a few bytes.
    const int64_t before = MemoryInUse();
    std::vector<uint8_t> huge = Bmp(100000, 100000, 24);
    EXPECT_EQ(ImportPictureFromBytes(FourCC("BMPf"), huge.data(), huge.size(), &pic), imageTooLargeErr);
    std::vector<uint8_t> tall = Bmp(4000, 30000, 24);
    EXPECT_EQ(ImportPictureFromBytes(FourCC("BMPf"), tall.data(), tall.size(), &pic), codecBadDataErr)
        << "rows beyond the file's end";
    std::vector<uint8_t> wideGif = Gif(3, 2, false);
    WriteLE16(&wideGif[6], 60000);
    EXPECT_EQ(ImportPictureFromBytes(FourCC("GIFf"), wideGif.data(), wideGif.size(), &pic), imageTooLargeErr);
    std::vector<uint8_t> bigGif = Gif(3, 2, false);
    WriteLE16(&bigGif[6], 4000), WriteLE16(&bigGif[8], 30000);
    EXPECT_EQ(ImportPictureFromBytes(FourCC("GIFf"), bigGif.data(), bigGif.size(), &pic), codecBadDataErr)
        << "more pixels than the bytes can describe";
    EXPECT_EQ(pic, nullptr);
    EXPECT_EQ(MemoryInUse(), before);
}

TEST(GifBmpImport, DamagedPictureFileIsRefusedWhole)
{
    // A picture file: 512 bytes of header, then a version 2 picture whose
    // second opcode claims more bytes than there are.
    std::vector<uint8_t> file(512, 0);
    const uint8_t pict[] = {0x00, 0x00, 0, 0, 0, 0, 0, 2, 0, 3,  // size, frame 0,0,2,3
                            0x00, 0x11, 0x02, 0xFF,              // version 2
                            0x00, 0xA1, 0x00, 0x01, 0xFF, 0xF0}; // long comment past the end
    file.insert(file.end(), pict, pict + sizeof pict);
    PicHandle pic = nullptr;
    EXPECT_EQ(ImportPictureFromBytes(FourCC("PICT"), file.data(), file.size(), &pic), codecBadDataErr);
    EXPECT_EQ(pic, nullptr);
}

}  // namespace

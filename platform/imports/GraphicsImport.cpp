#include "platform/imports/GraphicsImport.h"

#include <algorithm>
#include <cctype>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/files/FileSpec.h"
#include "platform/files/WholeFile.h"
#include "platform/imports/BmpCodec.h"
#include "platform/imports/GifCodec.h"
#include "platform/imports/PngCodec.h"
#include "platform/pictures/JpegCodec.h"
#include "platform/pictures/PictLayout.h"
#include "platform/pictures/PictWriter.h"
#include "platform/pictures/PicturePlayer.h"

namespace platform {

struct GraphicsImporter {
    OSType kind = 0;
    std::vector<uint8_t> bytes;
    CGrafPtr port = nullptr;
    GDHandle device = nullptr;
};

namespace {

constexpr OSType kPNG = FourCC("PNGf"), kJPEG = FourCC("JPEG"), kPICT = FourCC("PICT"), kGIF = FourCC("GIFf"),
                 kBMP = FourCC("BMPf");

bool Known(OSType kind) { return kind == kPNG || kind == kJPEG || kind == kPICT || kind == kGIF || kind == kBMP; }
constexpr size_t kPictFileHeader = 512;

OSType KindOf(const FSSpec& file)
{
    std::string name = FSpGetName(file);
    size_t dot = name.rfind('.');
    std::string ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    if (ext == "png")
        return kPNG;
    if (ext == "jpg" || ext == "jpeg" || ext == "jpe")
        return kJPEG;
    if (ext == "pict" || ext == "pct" || ext == "pic")
        return kPICT;
    if (ext == "gif")
        return kGIF;
    if (ext == "bmp" || ext == "dib")
        return kBMP;
    FInfo info{};
    if (FSpGetFInfo(file, &info) == noErr && Known(info.fdType))
        return info.fdType;
    return 0;
}

OSErr FromResult(ImageReadResult r)
{
    switch (r) {
    case ImageReadResult::Ok: return noErr;
    case ImageReadResult::TooLarge: return imageTooLargeErr;
    case ImageReadResult::NoMemory: return memFullErr;
    default: return codecBadDataErr;
    }
}

OSErr NaturalSize(OSType kind, const uint8_t* bytes, size_t size, int32_t* w, int32_t* h)
{
    if (kind == kPICT) {
        if (size < kPictFileHeader + 10)
            return codecBadDataErr;
        const uint8_t* p = bytes + kPictFileHeader;
        *w = int32_t(ReadBES16(p + 8)) - ReadBES16(p + 4);
        *h = int32_t(ReadBES16(p + 6)) - ReadBES16(p + 2);
        return *w > 0 && *h > 0 ? noErr : codecBadDataErr;
    }
    const ImageReadResult r = kind == kPNG   ? ReadPngSize(bytes, size, w, h)
                              : kind == kGIF ? ReadGifSize(bytes, size, w, h)
                              : kind == kBMP ? ReadBmpSize(bytes, size, w, h)
                                             : ReadJpegSize(bytes, size, w, h);
    OSErr err = FromResult(r);
    if (err == noErr && (*w <= 0 || *h <= 0))
        return codecBadDataErr;
    if (err == noErr && (*w > kMaxPixMapWidth || *h > kMaxPixMapHeight))
        return imageTooLargeErr;
    return err;
}

OSErr ToHandle(const std::vector<uint8_t>& bytes, PicHandle* picture)
{
    Handle h = nullptr;
    OSErr err = PtrToHand(bytes.data(), &h, Size(bytes.size()));
    *picture = err == noErr ? h : nullptr;
    return err == noErr ? noErr : memFullErr;
}

// The JPEG stays compressed: one compressed-image opcode with an image
// description of the 'jpeg' codec.
void WriteJpegPicture(PictWriter& w, const uint8_t* jpeg, size_t size, int32_t width, int32_t height)
{
    const Rect frame{0, 0, int16_t(height), int16_t(width)};
    w.Begin(frame, true, 72 << 16, 72 << 16, frame);
    const uint32_t described = 68 + 86 + uint32_t(size);
    w.Op(opCompressedQuickTime);
    w.U32(described);
    w.U16(0);  // version
    const uint32_t identity[9] = {0x10000, 0, 0, 0, 0x10000, 0, 0, 0, 0x40000000};
    for (uint32_t m : identity)
        w.U32(m);
    w.U32(0);  // matte size
    w.R({0, 0, 0, 0});
    w.U16(srcCopy);
    w.R(frame);
    w.U32(0);  // accuracy
    w.U32(0);  // mask size
    w.U32(86);
    w.U32(FourCC("jpeg"));
    w.U32(0), w.U16(0), w.U16(0);            // reserved, data reference
    w.U16(0), w.U16(0), w.U32(0);            // version, revision, vendor
    w.U32(0), w.U32(0x200);                  // temporal, spatial quality
    w.U16(uint16_t(width)), w.U16(uint16_t(height));
    w.U32(72 << 16), w.U32(72 << 16);
    w.U32(uint32_t(size));
    w.U16(1);
    const uint8_t name[32] = {12, 'P', 'h', 'o', 't', 'o', ' ', '-', ' ', 'J', 'P', 'E', 'G'};
    w.Bytes(name, sizeof name);
    w.U16(24), w.U16(0xFFFF);  // depth, no colour table
    w.Bytes(jpeg, size);
    w.Finish();
}

// A picture file is played once, into a one-pixel world, before it is
// taken: a damaged opcode anywhere refuses the file.
OSErr CheckPicture(const uint8_t* bytes, size_t size)
{
    GWorldPtr world = nullptr;
    const Rect one{0, 0, 1, 1};
    if (NewGWorld(&world, 32, &one, nullptr, nullptr, 0) != noErr || !world)
        return memFullErr;
    CGrafPtr savedPort = nullptr;
    GDHandle savedDevice = nullptr;
    GetGWorld(&savedPort, &savedDevice);
    SetGWorld(world, nullptr);
    const OSErr err = PlayPicture(bytes, size, one);
    SetGWorld(savedPort, savedDevice);
    DisposeGWorld(world);
    return err;
}

OSErr Import(OSType kind, const uint8_t* bytes, size_t size, PicHandle* picture)
{
    *picture = nullptr;
    int32_t w = 0, h = 0;
    OSErr err = NaturalSize(kind, bytes, size, &w, &h);
    if (err != noErr)
        return err;
    if (kind == kPICT) {
        if ((err = CheckPicture(bytes + kPictFileHeader, size - kPictFileHeader)) != noErr)
            return err;
        return ToHandle(std::vector<uint8_t>(bytes + kPictFileHeader, bytes + size), picture);
    }
    PictWriter writer;
    if (kind == kJPEG) {
        WriteJpegPicture(writer, bytes, size, w, h);
        return ToHandle(writer.bytes(), picture);
    }
    PictPixels pixels;
    const ImageReadResult decoded = kind == kPNG   ? DecodePng(bytes, size, &pixels)
                                    : kind == kGIF ? DecodeGif(bytes, size, &pixels)
                                                   : DecodeBmp(bytes, size, &pixels);
    if ((err = FromResult(decoded)) != noErr)
        return err;
    const Rect frame{0, 0, int16_t(h), int16_t(w)};
    writer.Begin(frame, true, 72 << 16, 72 << 16, frame);
    writer.DirectBits(pixels.Pixels32(), w, h, frame, frame, frame, srcCopy, nullptr);
    writer.Finish();
    return ToHandle(writer.bytes(), picture);
}

template <typename F>
OSErr Guarded(F f)
{
    try {
        return f();
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

}  // namespace

OSErr ImportPictureFromBytes(OSType kind, const uint8_t* bytes, size_t size, PicHandle* picture)
{
    if (!picture || (!bytes && size))
        return paramErr;
    *picture = nullptr;
    if (!Known(kind))
        return cantFindHandler;
    return Guarded([&] { return Import(kind, bytes, size, picture); });
}

OSErr GetGraphicsImporterForFile(const FSSpec* theFile, GraphicsImportComponent* gi)
{
    if (!theFile || !gi)
        return paramErr;
    *gi = nullptr;
    return Guarded([&] {
        OSType kind = KindOf(*theFile);
        if (!kind)
            return cantFindHandler;
        auto importer = std::make_unique<GraphicsImporter>();
        importer->kind = kind;
        OSErr err = ReadWholeFile(theFile->path, &importer->bytes);
        if (err != noErr)
            return err;
        *gi = importer.release();
        return noErr;
    });
}

ComponentResult GraphicsImportGetNaturalBounds(GraphicsImportComponent gi, Rect* naturalBounds)
{
    if (!gi || !naturalBounds)
        return paramErr;
    int32_t w = 0, h = 0;
    OSErr err = Guarded([&] { return NaturalSize(gi->kind, gi->bytes.data(), gi->bytes.size(), &w, &h); });
    *naturalBounds = err == noErr ? Rect{0, 0, int16_t(h), int16_t(w)} : Rect{0, 0, 0, 0};
    return err;
}

ComponentResult GraphicsImportGetAsPicture(GraphicsImportComponent gi, PicHandle* picture)
{
    if (!gi || !picture)
        return paramErr;
    return ImportPictureFromBytes(gi->kind, gi->bytes.data(), gi->bytes.size(), picture);
}

ComponentResult GraphicsImportSetGWorld(GraphicsImportComponent gi, CGrafPtr port, GDHandle gdh)
{
    if (!gi)
        return paramErr;
    gi->port = port;
    gi->device = gdh;
    return noErr;
}

ComponentResult GraphicsImportDraw(GraphicsImportComponent gi)
{
    if (!gi)
        return paramErr;
    PicHandle picture = nullptr;
    OSErr err = GraphicsImportGetAsPicture(gi, &picture);
    if (err != noErr)
        return err;
    CGrafPtr savedPort = nullptr;
    GDHandle savedDevice = nullptr;
    GetGWorld(&savedPort, &savedDevice);
    if (gi->port)
        SetGWorld(gi->port, gi->device);
    Rect bounds{};
    QDGetPictureBounds(picture, &bounds);
    DrawPicture(picture, &bounds);
    err = QDError();
    SetGWorld(savedPort, savedDevice);
    KillPicture(picture);
    return err;
}

OSErr CloseComponent(ComponentInstance ci)
{
    delete ci;
    return noErr;
}

}  // namespace platform

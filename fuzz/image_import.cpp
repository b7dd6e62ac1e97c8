// Image import on hostile files. Input: one byte choosing the kind (PNG,
// JPEG, picture file, GIF, BMP), then the file's bytes. An import gives a picture
// that plays, or an error; nothing else.
#include <cstdint>
#include <cstdlib>

#include "fuzz/support/FuzzSupport.h"
#include "platform/core/FourCC.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/imports/GraphicsImport.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::FuzzBytes in(data, size);
    const OSType kinds[] = {FourCC("PNGf"), FourCC("JPEG"), FourCC("PICT"), FourCC("GIFf"), FourCC("BMPf")};
    const OSType kind = kinds[in.Byte() % 5];
    const fuzz::Bytes file = in.Rest();
    ResetDrawingState();
    GWorldPtr world = nullptr;
    const Rect all{0, 0, 32, 32};
    if (NewGWorld(&world, 32, &all, nullptr, nullptr, 0) != noErr)
        return 0;
    SetGWorld(world, nullptr);
    PicHandle pic = nullptr;
    OSErr err = ImportPictureFromBytes(kind, file.data(), file.size(), &pic);
    if ((err == noErr) != (pic != nullptr))
        std::abort();
    if (err != noErr && err != codecBadDataErr && err != imageTooLargeErr && err != memFullErr)
        std::abort();
    if (pic) {
        Rect bounds{};
        QDGetPictureBounds(pic, &bounds);
        if (kind != FourCC("PICT") && (bounds.right <= 0 || bounds.bottom <= 0))
            std::abort();
        DrawPicture(pic, &all);
        KillPicture(pic);
    }
    DisposeGWorld(world);
    return 0;
}

// Picture playback on hostile bytes: the input is a picture, played into
// the middle of a world filled with a sentinel colour. Playback must end,
// report noErr, damage or memory shortage, and leave every pixel outside
// the destination alone.
#include <cstdint>
#include <cstdlib>

#include "platform/core/Memory.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/pictures/Pictures.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0;
    ResetDrawingState();
    GWorldPtr world = nullptr;
    const Rect all{0, 0, 48, 64}, dst{8, 8, 40, 56};
    if (NewGWorld(&world, 32, &all, nullptr, nullptr, 0) != noErr)
        return 0;
    SetGWorld(world, nullptr);
    RGBColor sentinel{0x1212, 0x3434, 0x5656};
    RGBBackColor(&sentinel);
    EraseRect(&all);
    Handle pic = nullptr;
    if (PtrToHand(data, &pic, Size(size)) == noErr) {
        DrawPicture(pic, &dst);
        OSErr err = QDError();
        if (err != noErr && err != codecBadDataErr && err != memFullErr)
            std::abort();
        DisposeHandle(pic);
    }
    Surface s = MakeSurface(GetPortBitMapForCopyBits(world));
    for (int32_t v = 0; v < 48; ++v)
        for (int32_t h = 0; h < 64; ++h)
            if ((h < dst.left || h >= dst.right || v < dst.top || v >= dst.bottom) && s.ReadRGB(h, v) != 0x123456)
                std::abort();
    DisposeGWorld(world);
    return 0;
}

// Colour icon resources on hostile bytes: the input is a 'cicn'. Reading it
// gives an icon that plots or no icon with damage or memory shortage.
#include <cstdint>
#include <cstdlib>

#include "platform/core/Errors.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/icons/Icons.h"
#include "platform/pictures/Pictures.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1u << 20))
        return 0;
    CIconHandle icon = nullptr;
    OSErr err = CIconFromResource(data, int32_t(size), &icon);
    if ((err == noErr) != (icon != nullptr) || (err != noErr && err != codecBadDataErr && err != memFullErr))
        std::abort();
    if (!icon)
        return 0;
    ResetDrawingState();
    GWorldPtr world = nullptr;
    const Rect all{0, 0, 40, 40};
    if (NewGWorld(&world, 32, &all, nullptr, nullptr, 0) == noErr) {
        SetGWorld(world, nullptr);
        const Rect r{4, 4, 36, 36};
        PlotCIcon(&r, icon);
        DisposeGWorld(world);
    }
    DisposeCIcon(icon);
    return 0;
}

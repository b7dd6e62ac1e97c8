// The colour menu's palette on hostile bytes: the input is a 'pltt'. Every
// entry reads as a colour or as none, and the swatches draw either way.
#include <cstdint>
#include <cstdlib>

#include "app/dialogs/ColorMenu.h"
#include "fuzz/support/FuzzSupport.h"
#include "kernel/helpers/KernelColors.h"
#include "platform/core/Memory.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Palettes.h"
#include "platform/drawing/Ports.h"

using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Handle h = fuzz::HandleOf(data, size, 1u << 16);
    if (!h) return 0;
    RGBColor c{};
    for (int16_t i = -1; i < 300; ++i) GetEntryColor(h, i, &c);
    globpalette = h;
    ResetDrawingState();
    GWorldPtr world = nullptr;
    const Rect all{0, 0, 170, 170};
    if (NewGWorld(&world, 32, &all, nullptr, nullptr, 0) == noErr) {
        SetGWorld(world, nullptr);
        DrawColors(int16_t(size % 300), &all);
        DisposeGWorld(world);
    }
    globpalette = nullptr;
    DisposeHandle(h);
    return 0;
}

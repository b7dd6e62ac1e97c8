// Kernel picture drawing: the installed repair runs first, iscritic is
// clear while the platform draws and comes back as it was.
#include <gtest/gtest.h>

#include "kernel/handles/KernelHandles.h"
#include "kernel/helpers/KernelPictures.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/pictures/Pictures.h"

namespace {

using namespace platform;

TEST(KernelPictures, RepairRunsFirstAndIscriticComesBack)
{
    ResetDrawingState();
    GWorldPtr world = nullptr;
    Rect bounds{0, 0, 10, 10};
    ASSERT_EQ(NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0), noErr);
    SetGWorld(world, nullptr);
    PicHandle pic = OpenPicture(&bounds);
    Rect r{0, 0, 5, 5};
    PaintRect(&r);
    ClosePicture();

    static Handle repaired = nullptr;
    static uint8_t criticWhileRepairing = 9;
    repaired = nullptr;
    KernelPictureHooks hooks;
    hooks.repairForDrawing = [](Handle h) {
        repaired = h;
        criticWhileRepairing = iscritic;
    };
    SetKernelPictureHooks(hooks);
    for (uint8_t before : {uint8_t(1), uint8_t(0)}) {
        iscritic = before;
        mydrawpicture(pic, &bounds);
        EXPECT_EQ(iscritic, before);
        EXPECT_EQ(repaired, pic);
        EXPECT_EQ(criticWhileRepairing, 0);
    }
    RGBColor c{};
    GetCPixel(2, 2, &c);
    EXPECT_EQ(c.red, 0);
    ResetKernelPictureHooks();
    repaired = nullptr;
    mydrawpicture(pic, &bounds);
    EXPECT_EQ(repaired, nullptr);
    iscritic = 1;
    KillPicture(pic);
    DisposeGWorld(world);
}

}  // namespace

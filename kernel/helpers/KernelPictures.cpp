#include "kernel/helpers/KernelPictures.h"

#include "kernel/handles/KernelHandles.h"
#include "platform/pictures/Pictures.h"

namespace {

KernelPictureHooks gHooks;

}  // namespace

void SetKernelPictureHooks(const KernelPictureHooks& hooks) { gHooks = hooks; }
void ResetKernelPictureHooks() { gHooks = KernelPictureHooks{}; }

void mydrawpicture(platform::Handle picture, const platform::Rect* r)
{
    const uint8_t critic = iscritic;
    iscritic = 0;
    if (gHooks.repairForDrawing && picture)
        gHooks.repairForDrawing(picture);
    platform::DrawPicture(picture, r);
    iscritic = critic;
}

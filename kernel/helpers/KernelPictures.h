// Stored pictures drawn for kernel code. The repair that makes a stored
// picture fit for fast drawing belongs to the drawing layer above: it
// installs it here, and until then pictures are drawn as they are.
#pragma once

#include "platform/core/MacTypes.h"

struct KernelPictureHooks {
    void (*repairForDrawing)(platform::Handle picture) = nullptr;
};
void SetKernelPictureHooks(const KernelPictureHooks& hooks);
void ResetKernelPictureHooks();

// Repairs the picture, then draws it into the rectangle of the current
// port, with iscritic cleared meanwhile and set back to what it was.
void mydrawpicture(platform::Handle picture, const platform::Rect* r);

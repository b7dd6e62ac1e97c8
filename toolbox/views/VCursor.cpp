#include "toolbox/views/VCursor.h"

VCursor* gCursor = nullptr;

VCursor::VCursor() { UseCursor(); }

VCursor::~VCursor() = default;

void VCursor::SetCursor(uint32_t id)
{
    if (id == fCurrent) return;
    fCurrent = id;
    if (id != kCursorUnchanged) UseCursor();
}

void VCursor::UseCursor()
{
    // Loaded cursors belong to the resource manager: forgetting is enough.
    fHandle = nullptr;
    uint32_t id = fCurrent;
    if (id == kCursorUnchanged) return;
    if (id == kCursorStartWatch) id = kCursorWatch;
    if (id != kCursorArrow && id <= 0x7FFF) fHandle = platform::GetCursor(int16_t(id));
    if (fHandle && *fHandle) {
        platform::SetCursor(*fHandle);
        fShown = id;
    } else {
        platform::InitCursor();
        fShown = kCursorArrow;
    }
}

void MakeStartupCursor()
{
    if (!gCursor) gCursor = new VCursor;
}

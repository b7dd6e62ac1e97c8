#include "toolbox/views/VCursor.h"

#include "platform/screen/Screen.h"

VCursor* gCursor = nullptr;

VCursor::VCursor() { platform::SetScreenCursor(platform::ArrowScreenCursor()); }

VCursor::~VCursor() = default;

void MakeStartupCursor()
{
    if (!gCursor) gCursor = new VCursor;
}

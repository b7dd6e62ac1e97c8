// Window titles in the title bar: the system font at 12, centred, cut with
// an ellipsis when too long, grey in an inactive window.
#pragma once

#include "platform/screen/ScreenPixels.h"
#include "platform/windows/Windows.h"

namespace platform {

constexpr int16_t kTitleFontSize = 12;
constexpr uint32_t kTitleTextColor = 0x000000;
constexpr uint32_t kInactiveTitleTextColor = 0x808080;

// False when no font can draw it (the caller shows a stand-in).
bool DrawWindowTitle(WindowRef window, const PixelTarget& screen, const Rect& titleArea, bool active);

}  // namespace platform

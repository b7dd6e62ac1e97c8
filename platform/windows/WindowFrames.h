// Drawing the windows onto the screen: each visible window's frame, drawn
// by us, and its content from its backing world, back to front.
#pragma once

#include <cstdint>

#include "platform/screen/ScreenPixels.h"
#include "platform/windows/Windows.h"

namespace platform {

void PaintWindowsOnScreen(const PixelTarget& screen);
// Mixes into `hash` everything of the window list that the frames and the
// placing of the contents depend on: equal values, equal pictures (given
// the same content pixels).
uint64_t MixWindowFrames(uint64_t hash);

// Titles are drawn by DrawWindowTitle unless a drawer is installed here;
// without fonts, a bar as long as the title stands in for the text.
using WindowTitleDrawer = void (*)(WindowRef window, const PixelTarget& screen, const Rect& titleArea,
                                   bool active);
void SetWindowTitleDrawer(WindowTitleDrawer drawer);

// Frame colours, for tests that read the screen.
constexpr uint32_t kFrameColor = 0x000000;
constexpr uint32_t kInactiveFrameColor = 0x808080;
constexpr uint32_t kActiveTitleColor = 0xD8D8D8;
constexpr uint32_t kTitleStripeColor = 0x9A9A9A;
constexpr uint32_t kInactiveTitleColor = 0xF0F0F0;
constexpr uint32_t kTitlePlaceholderColor = 0x404040;

}  // namespace platform

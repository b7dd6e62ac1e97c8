// Text in menus and their titles: the system font at the menu size, in
// the item's style, drawn in a colour without touching the port's settings.
#pragma once

#include <cstdint>
#include <string>

namespace platform::menus {

constexpr int16_t kMenuFontSize = 12;

struct MenuFontMetrics {
    int16_t ascent;
    int16_t descent;
    int16_t leading;
};
MenuFontMetrics MenuMetrics();
int16_t MenuTextWidth(const std::string& macRoman, uint8_t style);
// Draws with the baseline's left end at (h, v) in the current port.
void DrawMenuText(const std::string& macRoman, uint8_t style, int16_t h, int16_t v, uint32_t rgb);

}  // namespace platform::menus

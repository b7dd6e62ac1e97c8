#include "toolbox/foundation/Colors.h"

namespace {

StdColorHook gStdColorHook = nullptr;

constexpr uint32_t kStdColors[] = {
    0xFFFFFF, 0xE6E6E6, 0xCCCCCC, 0xB3B3B3, 0x999999, 0x808080, 0x686868, 0x4D4D4D, 0x343434,
    0x1A1A1A, 0x000000, 0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF0FFF, 0xFFFF00,
};

}  // namespace

void MakeRGB(uint32_t color, uint8_t& red, uint8_t& green, uint8_t& blue)
{
    red = uint8_t(color);
    green = uint8_t(color >> 8);
    blue = uint8_t(color >> 16);
}

void MAC_MakeRGB(uint8_t red, uint8_t green, uint8_t blue, platform::RGBColor* rgb)
{
    rgb->red = uint16_t(red * 257);
    rgb->green = uint16_t(green * 257);
    rgb->blue = uint16_t(blue * 257);
}

void MAC_MakeRGB(uint32_t color, platform::RGBColor* rgb)
{
    uint8_t red, green, blue;
    MakeRGB(color, red, green, blue);
    MAC_MakeRGB(red, green, blue, rgb);
}

uint32_t MakeStdColor(StdColor c)
{
    uint32_t color;
    if (gStdColorHook && gStdColorHook(c, &color)) return color;
    const uint32_t index = uint32_t(c);
    return index < sizeof(kStdColors) / sizeof(kStdColors[0]) ? kStdColors[index] : 0xFFFFFFFFu;
}

void SetStdColorHook(StdColorHook hook) { gStdColorHook = hook; }

#include "looks/GrayLevels.h"

void pp_getGray(int16_t level, platform::RGBColor* color)
{
    if (level < 0) level = 0;
    if (level > 15) level = 15;
    const uint16_t v = uint16_t(level * 0x1111);
    *color = platform::RGBColor{v, v, v};
}

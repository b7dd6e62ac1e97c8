// Colour longs (0x00BBGGRR, red in the lowest byte) and the standard
// colours.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

// Standard colour number; compared as an unsigned number.
using StdColor = int32_t;

void MakeRGB(uint32_t color, uint8_t& red, uint8_t& green, uint8_t& blue);
// Each 8-bit channel c becomes c × 257 in the platform colour.
void MAC_MakeRGB(uint32_t color, platform::RGBColor* rgb);
void MAC_MakeRGB(uint8_t red, uint8_t green, uint8_t blue, platform::RGBColor* rgb);

// The colour of a standard colour: the current look's answer when the
// drawing layer has one, else the fixed table.
uint32_t MakeStdColor(StdColor c);

// The drawing layer's way in: answers true with the colour when a look
// handler exists for the current look. Null (the default) means none.
using StdColorHook = bool (*)(StdColor c, uint32_t* color);
void SetStdColorHook(StdColorHook hook);

// Kernel colour codes, used for a foreground and a background colour:
//   0 black on white, 1 white on black, 2..7 red, green, blue, cyan,
//   magenta, yellow; 256..511 entry code - 256 of the palette 'pltt' 1010
//   (higher codes count as 511); 1000 the default text colour, 1001 the
//   default background. 24-bit values are 0xRRGGBB.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

// Set by the looks layer while the Windows-style look is in force.
extern uint8_t Look95;
// When set, palette codes take their colour from globpalette.
extern uint8_t doissetpalette;
extern platform::Handle globpalette;

void setcol(int16_t foreground, int16_t background);
// Black on white, and the platform's normal theme drawing state (plain pen,
// white background pattern) in the current port.
void SetBWCol();
// 1000 gives -1 and 1001 -2 (the default colours).
void OldCol2New(int16_t foreground, int16_t background, int32_t* outForeground, int32_t* outBackground);
// An index outside the palette gives its last entry; no palette gives 0.
int32_t GetRGB24FromPalette(int32_t index);
platform::Handle GetOldPalette();
void Long2RGB(int32_t rgb24, platform::RGBColor* colour);
int32_t RGB2Long(const platform::RGBColor* colour);

// Passed on to the looks layer, which installs them.
using SetColRGBWithProcHook = void (*)(int32_t foreground, int32_t background, void* proc);
using SetColRGBByTypeHook = void (*)(int32_t foreground, int32_t background, int16_t type, uint8_t flag);
void SetColRGBWithProc(int32_t foreground, int32_t background, void* proc);
void SetColRGBByType(int32_t foreground, int32_t background, int16_t type, uint8_t flag);
void SetKernelColourHooks(SetColRGBWithProcHook withProc, SetColRGBByTypeHook byType);

// Forgets the loaded palette (tests).
void ResetKernelColours();

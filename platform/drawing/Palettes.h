// Palettes: the colours of a 'pltt' resource. A palette here is a handle
// holding the resource's bytes (a 16-byte header whose first word counts
// the entries, then 16-byte entries starting with red, green and blue), so
// code that keeps the stored bytes and code that asks for colours share it.
#pragma once

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

using PaletteHandle = Handle;

// A copy of palette `id` from the resource chain, detached from its file;
// null when there is none, it holds no whole entry or memory runs out.
PaletteHandle GetNewPalette(int16_t id);
void DisposePalette(PaletteHandle palette);

// The entries the palette really holds: its count, cut to the bytes there.
int16_t PaletteEntryCount(PaletteHandle palette);

// Entry `entry` (from 0) into *color. An entry the palette does not hold
// leaves *color unchanged and answers false.
bool GetEntryColor(PaletteHandle palette, int16_t entry, RGBColor* color);

}  // namespace platform

// Offscreen graphics worlds and graphics devices.
#pragma once

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

using GWorldFlags = uint32_t;
using QDErr = int16_t;

enum : uint32_t {
    pixPurge = 1u << 0,
    noNewDevice = 1u << 1,
    useTempMem = 1u << 2,
    keepLocal = 1u << 3,
    pixelsPurgeable = 1u << 6,
    pixelsLocked = 1u << 7,
    mapPix = 1u << 16,
    newDepth = 1u << 17,
    alignPix = 1u << 18,
    newRowBytes = 1u << 19,
    reallocPix = 1u << 20,
    clipPix = 1u << 28,
    stretchPix = 1u << 29,
    ditherPix = 1u << 30,
    gwFlagErr = 1u << 31,
};

// Depth 1 makes a 1-bit world; 0 (the device's depth), 2, 4, 8, 16, 24 and
// 32 make a 32-bit world. Pixels start white. The world's port rectangle
// and map bounds are `bounds`.
QDErr NewGWorld(GWorldPtr* world, int16_t depth, const Rect* bounds, CTabHandle table, GDHandle device,
                GWorldFlags flags);
void DisposeGWorld(GWorldPtr world);
// Changes depth or size; with clipPix the old pixels are kept where they
// overlap, with stretchPix they are scaled to the new size. Answers the
// flags of what changed (reallocPix, newDepth) or gwFlagErr (see QDError).
GWorldFlags UpdateGWorld(GWorldPtr* world, int16_t depth, const Rect* bounds, CTabHandle table,
                         GDHandle device, GWorldFlags flags);
PixMapHandle GetGWorldPixMap(GWorldPtr world);
Boolean LockPixels(PixMapHandle pm);
void UnlockPixels(PixMapHandle pm);
GWorldFlags GetPixelsState(PixMapHandle pm);
void SetPixelsState(PixMapHandle pm, GWorldFlags state);

void GetGWorld(CGrafPtr* port, GDHandle* device);
void SetGWorld(CGrafPtr port, GDHandle device);

// Devices: one main screen device (1280 x 800, 32 bits until the screen
// configures it).
GDHandle GetMainDevice();
GDHandle GetGDevice();
void SetGDevice(GDHandle device);
GDHandle GetMaxDevice(const Rect* globalRect);
// The screen sets its rectangle and its pixels (null: none yet).
void ConfigureMainDevice(const Rect* bounds, PixMapHandle screenPixMap);

}  // namespace platform

// Pixel maps, 1-bit bitmaps and colour tables.
#pragma once

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

// Colour tables live in memory-manager handles.
CTabHandle NewCTable(int16_t entryCount);
void DisposeCTable(CTabHandle table);
ColorSpec* CTabEntries(CTabHandle table);
int32_t CTabEntryCount(CTabHandle table);

// An empty 32-bit pixel map record without pixels (the caller supplies
// baseAddr, rowBytes and bounds); disposing it leaves the pixels alone.
PixMapHandle NewPixMap();
void DisposePixMap(PixMapHandle pm);

// A cleared 1-bit bitmap over `bounds` for icons and masks, and its release.
OSErr NewBitMap(BitMap* bits, const Rect* bounds);
void DisposeBitMap(BitMap* bits);

Ptr GetPixBaseAddr(PixMapHandle pm);
int32_t GetPixRowBytes(PixMapHandle pm);
int16_t GetPixDepth(PixMapHandle pm);
Boolean IsPixMap(const BitMap* bits);

}  // namespace platform

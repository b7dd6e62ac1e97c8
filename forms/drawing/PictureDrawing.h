// Pictures on forms: drawn with white left out (transparent), and tiled
// over a rectangle; the port's bits procedure that makes every copy
// transparent.
#pragma once

#include <cstdint>

#include "platform/drawing/QuickDrawTypes.h"

// The current port's bottleneck procedures before SetTransparentQDProcs,
// and the ones it installed.
struct SavedQDProcs {
    platform::QDProcsPtr previous = nullptr;
    platform::QDProcs own{};
    bool installed = false;
};

// Copies in transparent mode (36) with white as the background colour.
void TransparentBits(const platform::BitMap* src, const platform::Rect* srcRect, const platform::Rect* dstRect,
                     int16_t mode, platform::RgnHandle maskRgn);
// Puts bits in the procedures (the standard ones filled in where null).
void ChangeBitsProc(platform::QDProcs* procs,
                    void (*bits)(const platform::BitMap*, const platform::Rect*, const platform::Rect*, int16_t,
                                 platform::RgnHandle));
// Installs TransparentBits on the current port (nothing on the print port)
// and gives the port its own procedures back.
void SetTransparentQDProcs(SavedQDProcs* saved);
void RestoreQDProcs(SavedQDProcs* saved);

// The picture in r; with transparent (and not on the print port) its white
// pixels leave what is under them.
void DrawPictureTransparent(platform::Handle picture, const platform::Rect& r, bool transparent, bool flag);
// Tiles the picture over r from r's top-left corner in steps of its frame's
// size, limited to the port's visible and clip areas (only the clip while a
// picture is recorded). A frame of no width or height draws nothing.
void DrawReplicatedPicture(platform::Handle picture, const platform::Rect& r, bool transparent, bool flag);

// Ports: the current port, origin and clipping, the pen, colours, the text
// settings (kept here for the text services) and coordinate conversion.
#pragma once

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

void GetPort(GrafPtr* port);
void SetPort(GrafPtr port);
GrafPtr GetQDGlobalsThePort();
// Whether the port is a window's, a world's or a scratch port that still
// exists.
Boolean IsValidPort(CGrafPtr port);

// A scratch port over the main screen's rectangle that owns no pixels:
// drawing into it changes nothing, measuring works.
CGrafPtr CreateNewPort();
void DisposePort(CGrafPtr port);

Rect* GetPortBounds(CGrafPtr port, Rect* r);
PixMapHandle GetPortPixMap(CGrafPtr port);
const BitMap* GetPortBitMapForCopyBits(CGrafPtr port);
RgnHandle GetPortClipRegion(CGrafPtr port, RgnHandle into);
RgnHandle GetPortVisibleRegion(CGrafPtr port, RgnHandle into);
void SetPortClipRegion(CGrafPtr port, RgnHandle rgn);
void SetPortVisibleRegion(CGrafPtr port, RgnHandle rgn);

// The current port: its local coordinates put the port rectangle's top left
// at (h, v); the clip region stays where it is in local coordinates.
void SetOrigin(int16_t h, int16_t v);
void ClipRect(const Rect* r);
void SetClip(RgnHandle rgn);
void GetClip(RgnHandle rgn);

// Local ⇄ global (screen) coordinates of the current port.
void LocalToGlobal(Point* pt);
void GlobalToLocal(Point* pt);
// Where the pixel (0, 0) of the port's map appears on the screen; the
// window manager sets it for a window's backing store.
void SetPortGlobalOffset(CGrafPtr port, Point offset);

// Pen.
void PenNormal();
void PenSize(int16_t width, int16_t height);
void PenMode(int16_t mode);
void PenPat(const Pattern* pat);
void BackPat(const Pattern* pat);
void GetPenState(PenState* state);
void SetPenState(const PenState* state);
void GetPen(Point* pt);
void HidePen();
void ShowPen();

// Colours.
void RGBForeColor(const RGBColor* color);
void RGBBackColor(const RGBColor* color);
void GetForeColor(RGBColor* color);
void GetBackColor(RGBColor* color);
void ForeColor(int32_t color);  // one of the eight old colours
void BackColor(int32_t color);
void OpColor(const RGBColor* color);  // weights of the blend mode
void HiliteColor(const RGBColor* color);
void GetHiliteColor(RGBColor* color);
// The highlight switch: clearing the top bit (pHiliteBit, counted from the
// most significant bit) makes the next inversion highlight instead.
constexpr int16_t pHiliteBit = 0;
uint8_t LMGetHiliteMode();
void LMSetHiliteMode(uint8_t mode);

// Text settings of the current port.
void TextFont(int16_t font);
void TextFace(StyleField face);
void TextMode(int16_t mode);
void TextSize(int16_t size);
void SpaceExtra(Fixed extra);
// Widens every character drawn and measured by `extra` pixels (16.16).
void CharExtra(Fixed extra);
int16_t GetPortTextFont(CGrafPtr port);
StyleField GetPortTextFace(CGrafPtr port);
int16_t GetPortTextSize(CGrafPtr port);

// Result of the last world or port operation that can fail.
OSErr QDError();

// Brings back the process-wide drawing state (current port, highlight
// switch, open recordings); for tests.
void ResetDrawingState();

// For the drawing services: set up a port record over a pixel map.
void InitPortRecord(GrafPort* port, PixMapHandle pixMap, const Rect& portRect);
void ReleasePortRecord(GrafPort* port);
void SetQDError(OSErr err);
uint32_t PackRGB(const RGBColor& c);

}  // namespace platform

// Drawing services shared by the windows and dialogs: screens, dialog
// templates, small icons, clipping, grow boxes, white backgrounds, 3D
// frames and lines, theme pop-ups, colour tables, and the transfer that
// turns an icon's magenta into the dialog colour.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "platform/windows/Windows.h"

// The usable rectangle of the screen holding the window: below the menu
// bar and the window's title bar, inset by 4; for no window, the main
// screen's below the menu bar, inset by 4.
platform::Rect GetWScreenRect(platform::WindowRef window);

// Centres the 'DLOG' or 'ALRT' template's rectangle (in the loaded
// template) and answers it; empty when the template is missing. Nothing of
// the screen is saved: *savedBits is null.
void DLogSaveScreen(platform::ResType type, int16_t id, platform::Handle* resource, platform::Handle* savedBits,
                    platform::Rect* rect);
// Releases the template and makes the memory reserve again when it went.
void DLogRestoreScreen(platform::Handle resource, platform::Handle savedBits, const platform::Rect* rect, bool flag);

// Icon `index` (from 0) of 'SICN' id into `r` of the current port.
void DrawSmallIcon(int16_t id, int16_t index, const platform::Rect* r);
// The clip becomes its intersection with `r`; the old one goes to `save`.
void SectClip(const platform::Rect* r, platform::RgnHandle save);
void SqrDrawGrowIcon(platform::WindowRef window);
void SqrEraseGrowIcon(platform::WindowRef window);
void EraseGrowIcon();
void SetWhiteBackGround(platform::RGBColor* saved);
void ResetWhiteBackGround(const platform::RGBColor* saved);
void EraseWinBkRect(const platform::Rect* r, int32_t unused);
void DrawLine(platform::Point from, platform::Point to);
inline void FrameButton(const platform::Rect*) {}
void Draw3DFrame(const platform::Rect* r);
void pp_DrawFrame(const platform::Rect* r, int16_t raised);
void Draw3dLine(platform::Point from, platform::Point to);
void pp_Brz_PopUpDraw(const platform::Rect* r, int32_t unused1, int32_t unused2, const unsigned char* title);
// Entry `index` of 'clut' `tableId`; black when missing or index 0.
void Mydrawgetcol(platform::RGBColor* color, int16_t index, int16_t tableId);

// The bits procedure of G_qdTransp: magenta pixels (and the first magenta
// entry of an indexed map's colours) take the dialog content colour in a
// copy, then the standard procedure draws it.
void m_BitsProcChangeCol(const platform::BitMap* src, const platform::Rect* srcRect, const platform::Rect* dstRect,
                         int16_t mode, platform::RgnHandle mask);
extern platform::QDProcs G_qdTransp;
void InitTransparentProcs();

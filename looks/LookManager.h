// The look manager: which look is in force and the colours it gives the
// kernel's default colour codes. Built out as form drawing needs it.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

class VIcon;

class VI_Handler {
public:
    // Colours as 24-bit 0xRRGGBB values.
    void SetColRGBWithProc(int32_t foreground, int32_t background, void* proc);
    void SetColRGBByType(int32_t foreground, int32_t background, int16_t type, uint8_t flag);
    int32_t GetForeground() const { return fForeground; }
    int32_t GetBackground() const { return fBackground; }

private:
    int32_t fForeground = 0x000000;
    int32_t fBackground = 0xFFFFFF;
};

extern VI_Handler* gVI;

// The handlers of the looks a form object may name.
class VI_Manager {
public:
    // The handler of look -3 to 7 (one for each, made on first use); null
    // for any other number.
    static VI_Handler* GetHandler(int16_t look);
};

// Makes the look manager (once) and passes the kernel's colour calls to it.
void InitVI();

// Makes the font the current port's text font: 0 is the system font and 1
// the application font.
void myTextFont(int16_t font);

// Colour icons in the rectangle: as they are, disabled, dimmed to a level
// (0..255 of the way to the background) or with their colours changed.
void WinPlotCIcon(const platform::Rect& r, const VIcon* icon);
void WinPlotCIconDisabled(const platform::Rect& r, const VIcon* icon);
void WinPlotCIconDimmed(const platform::Rect& r, const VIcon* icon, int16_t level);
void WinPlotCIconChangeCols(const platform::Rect& r, const VIcon* icon);

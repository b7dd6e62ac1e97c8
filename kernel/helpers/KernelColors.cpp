#include "kernel/helpers/KernelColors.h"

#include "kernel/helpers/ResourceStrings.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Palettes.h"
#include "platform/drawing/Ports.h"
#include "platform/theme/Theme.h"

using namespace platform;

uint8_t Look95 = 0;
uint8_t doissetpalette = 0;
Handle globpalette = nullptr;

namespace {

constexpr int32_t kFixed[8] = {0x000000, 0xFFFFFF, 0xDD0806, 0x008011, 0x0000D4, 0x02ABEA, 0xF20884, 0xFCF305};
// The platform's eight classic colours, black to yellow.
constexpr int32_t kClassic[8] = {33, 30, 205, 341, 409, 273, 137, 69};

Handle gPalette = nullptr;
SetColRGBWithProcHook gWithProc = nullptr;
SetColRGBByTypeHook gByType = nullptr;

// Codes past the palette take its last entry.
int32_t PaletteEntry(Handle palette, int32_t index)
{
    const int16_t count = PaletteEntryCount(palette);
    if (count <= 0) return 0;
    if (index < 0 || index >= count) index = count - 1;
    RGBColor c{};
    GetEntryColor(palette, int16_t(index), &c);
    return (int32_t(c.red >> 8) << 16) | (int32_t(c.green >> 8) << 8) | (c.blue >> 8);
}

// The 24-bit value of a code; -1 and -2 for the default colours.
int32_t CodeColour(int16_t code, bool background)
{
    if (code == 1000) return -1;
    if (code == 1001) return -2;
    if (code >= 256) return GetRGB24FromPalette((code > 511 ? 511 : code) - 256);
    if (code == 0 || code == 1) return kFixed[background ? 1 - code : code];
    if (code >= 2 && code <= 7) return kFixed[code];
    return background ? 0xFFFFFF : 0x000000;  // undefined codes: the plain colours
}

void SetColour(int16_t code, bool background)
{
    if (code >= 0 && code <= 7) {
        int32_t index = code <= 1 && background ? 1 - code : code;
        background ? BackColor(kClassic[index]) : ForeColor(kClassic[index]);
        return;
    }
    int32_t rgb = CodeColour(code, background);
    if (code >= 256 && doissetpalette) rgb = PaletteEntry(globpalette, (code > 511 ? 511 : code) - 256);
    if (rgb == -1) rgb = 0x000000;  // the default text colour
    if (rgb == -2) rgb = 0xFFFFFF;  // the default background
    RGBColor c;
    Long2RGB(rgb, &c);
    background ? RGBBackColor(&c) : RGBForeColor(&c);
}

}  // namespace

void setcol(int16_t foreground, int16_t background)
{
    SetColour(foreground, false);
    SetColour(background, true);
}

void SetBWCol()
{
    // The normal state is itself black on white; the colours are set again
    // for a port the theme cannot normalise.
    NormalizeThemeDrawingState();
    const RGBColor black{0, 0, 0}, white{0xFFFF, 0xFFFF, 0xFFFF};
    RGBForeColor(&black);
    RGBBackColor(&white);
}

void OldCol2New(int16_t foreground, int16_t background, int32_t* outForeground, int32_t* outBackground)
{
    *outForeground = CodeColour(foreground, false);
    *outBackground = CodeColour(background, true);
}

Handle GetOldPalette()
{
    if (!gPalette) {
        // A copy of its own, so that closing the resource file leaves it valid.
        Handle res = getres(FourCC("pltt"), 1010);
        if (res && *res && HandToHand(&res) == noErr) gPalette = res;
    }
    return gPalette;
}

int32_t GetRGB24FromPalette(int32_t index) { return PaletteEntry(GetOldPalette(), index); }

void Long2RGB(int32_t rgb24, RGBColor* colour)
{
    colour->red = uint16_t(((rgb24 >> 16) & 0xFF) * 0x101);
    colour->green = uint16_t(((rgb24 >> 8) & 0xFF) * 0x101);
    colour->blue = uint16_t((rgb24 & 0xFF) * 0x101);
}

int32_t RGB2Long(const RGBColor* colour)
{
    return (int32_t(colour->red >> 8) << 16) | (int32_t(colour->green >> 8) << 8) | (colour->blue >> 8);
}

void SetColRGBWithProc(int32_t foreground, int32_t background, void* proc)
{
    if (gWithProc) gWithProc(foreground, background, proc);
}

void SetColRGBByType(int32_t foreground, int32_t background, int16_t type, uint8_t flag)
{
    if (gByType) gByType(foreground, background, type, flag);
}

void SetKernelColourHooks(SetColRGBWithProcHook withProc, SetColRGBByTypeHook byType)
{
    gWithProc = withProc;
    gByType = byType;
}

void ResetKernelColours()
{
    if (gPalette) DisposeHandle(gPalette);
    gPalette = nullptr;
}

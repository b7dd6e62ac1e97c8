#include "looks/LookManager.h"

#include "kernel/helpers/KernelColors.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "toolbox/foundation/VIcon.h"

VI_Handler* gVI = nullptr;

namespace {

// The classic numbers of the system and application font families.
constexpr int16_t kSystemFontFamily = 0;
constexpr int16_t kApplicationFontFamily = 1;
constexpr int16_t kGenevaFamily = 3;

void WithProc(int32_t fg, int32_t bg, void* proc)
{
    if (gVI) gVI->SetColRGBWithProc(fg, bg, proc);
}

void ByType(int32_t fg, int32_t bg, int16_t type, uint8_t flag)
{
    if (gVI) gVI->SetColRGBByType(fg, bg, type, flag);
}

// Draws the icon's pixels through its mask; an icon without pixels draws
// nothing.
void PlotIcon(const platform::Rect& r, const VIcon* icon)
{
    const VIcon* vicon = icon;
    if (!vicon || !vicon->GetPixMap() || !vicon->GetMask()) return;
    platform::GrafPtr port = nullptr;
    platform::GetPort(&port);
    if (!port) return;
    const platform::BitMap* pix = *vicon->GetPixMap();
    const auto* mask = reinterpret_cast<const platform::BitMap*>(*vicon->GetMask());
    platform::CopyMask(pix, mask, platform::GetPortBitMapForCopyBits(port), &pix->bounds, &mask->bounds, &r);
}

// Greys what was drawn by clearing every other pixel to the background.
void Veil(const platform::Rect& r, bool dark)
{
    platform::PenState saved;
    platform::GetPenState(&saved);
    platform::Pattern pat;
    platform::PenPat(dark ? platform::GetQDGlobalsDarkGray(&pat) : platform::GetQDGlobalsGray(&pat));
    platform::PenMode(platform::patBic);
    platform::PaintRect(&r);
    platform::SetPenState(&saved);
}

}  // namespace

void InitVI()
{
    if (!gVI) gVI = VI_Manager::GetHandler(0);
    Look95 = 0;
    SetKernelColourHooks(WithProc, ByType);
}

void myTextFont(int16_t font)
{
    // Both stand-in numbers name the interface family here.
    if (font == kSystemFontFamily || font == kApplicationFontFamily) font = kGenevaFamily;
    platform::TextFont(font);
}

void WinPlotCIcon(const platform::Rect& r, const VIcon* icon) { PlotIcon(r, icon); }

void WinPlotCIconDisabled(const platform::Rect& r, const VIcon* icon)
{
    PlotIcon(r, icon);
    Veil(r, false);
}

void WinPlotCIconDimmed(const platform::Rect& r, const VIcon* icon, int16_t level)
{
    PlotIcon(r, icon);
    if (level > 0) Veil(r, level < 128);
}

void WinPlotCIconChangeCols(const platform::Rect& r, const VIcon* icon) { PlotIcon(r, icon); }

#include "forms/drawing/LayoutBackground.h"

#include "forms/drawing/DrawingPorts.h"
#include "looks/FormLook.h"
#include "looks/LookServices.h"
#include "looks/VIHandler.h"
#include "looks/VIObj.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"

using namespace platform;

namespace {

constexpr StdColor kStdBackground = 17;
constexpr StdColor kStdDarkGrey = 21;

RGBColor Rgb(int32_t rgb)
{
    return RGBColor{uint16_t(((rgb >> 16) & 0xFF) * 0x101), uint16_t(((rgb >> 8) & 0xFF) * 0x101),
                    uint16_t((rgb & 0xFF) * 0x101)};
}

}  // namespace

void EraseLayoutBackground(const Rect* r, VI_Handler* look, void*)
{
    if (!r || r->right <= r->left || r->bottom <= r->top) return;
    RGBColor saved{};
    GetBackColor(&saved);
    VIObj background;
    background.SetRect(*r);
    background.widget = kVIBackground;
    background.VIDraw(kVIStateNormal, DrawingToPrintPort() ? VI_Manager::GetPrintHandler() : look ? look : gVI);
    RGBBackColor(&saved);
}

void DisableBackground(const Rect& r)
{
    GrafPtr port = nullptr;
    GetPort(&port);
    if (!port || port->grafProcs || RecordingPicture()) return;
    Rect bounds{}, area{};
    GetPortBounds(port, &bounds);
    if (!SectRect(&r, &bounds, &area)) return;
    const Rect local{0, 0, int16_t(area.bottom - area.top), int16_t(area.right - area.left)};
    GWorldPtr mask = nullptr;
    if (NewGWorld(&mask, 1, &local, nullptr, nullptr, 0) != noErr) return;
    VI_Handler* look = GetDBVIProc();
    if (!look) look = gVI;
    ForeBack saved;
    SaveForeBack(&saved);
    const RGBColor black{0, 0, 0}, white{0xFFFF, 0xFFFF, 0xFFFF};
    RGBForeColor(&black);
    RGBBackColor(&white);
    const BitMap* portBits = GetPortBitMapForCopyBits(port);
    const BitMap* maskBits = GetPortBitMapForCopyBits(mask);
    CopyBits(portBits, maskBits, &area, &local, srcCopy, nullptr);
    const RGBColor background = Rgb(look ? look->StdRGB(kStdBackground) : 0xFFFFFF);
    RGBBackColor(&background);
    EraseRect(&area);
    ClipSection clip(area);
    RGBBackColor(&saved.back);
    Rect shifted = area;
    OffsetRect(&shifted, 1, 1);
    CopyBits(maskBits, portBits, &local, &shifted, srcBic, nullptr);
    const RGBColor dark = Rgb(look ? look->StdRGB(kStdDarkGrey) : 0x666666);
    RGBForeColor(&dark);
    CopyBits(maskBits, portBits, &local, &area, srcOr, nullptr);
    RestoreForeBack(&saved);
    DisposeGWorld(mask);
}

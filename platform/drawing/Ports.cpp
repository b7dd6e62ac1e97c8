#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Text.h"

#include <algorithm>
#include <new>
#include <vector>

#include "platform/drawing/CallCounts.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Patterns.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Recording.h"
#include "platform/pictures/Pictures.h"

namespace platform {

namespace {

GrafPtr gThePort = nullptr;
uint8_t gHiliteMode = 0xFF;
OSErr gQDError = noErr;
// Every port record alive now, so that a port kept by a caller can be
// checked before it is made current again. Never destroyed: ports may be
// released by other static objects at exit.
std::vector<GrafPtr>& LivePorts()
{
    static auto* ports = new std::vector<GrafPtr>;
    return *ports;
}

constexpr Rect kWideOpen{-32768, -32768, 32767, 32767};

RGBColor OldColor(int32_t color)
{
    switch (color) {
    case whiteColor: return {0xFFFF, 0xFFFF, 0xFFFF};
    case yellowColor: return {0xFC00, 0xF37D, 0x052F};
    case magentaColor: return {0xF2D7, 0x0856, 0x84EC};
    case redColor: return {0xDD6B, 0x08C2, 0x06A2};
    case cyanColor: return {0x0241, 0xAB54, 0xEAFF};
    case greenColor: return {0x0000, 0x8000, 0x11B0};
    case blueColor: return {0x0000, 0x0000, 0xD400};
    default: return {0, 0, 0};  // blackColor and anything unknown
    }
}

struct ScratchPort : GrafPort {
    PixMap pixMap;
    PixMap* master = nullptr;
};

}  // namespace

uint32_t PackRGB(const RGBColor& c)
{
    return (uint32_t(c.red >> 8) << 16) | (uint32_t(c.green >> 8) << 8) | uint32_t(c.blue >> 8);
}

OSErr QDError() { return gQDError; }
void SetQDError(OSErr err)
{
    gQDError = err;
    // Whoever drew learns from the count that the drawing is not whole.
    if (err == memFullErr) NoteMemoryShortfall();
}

void InitPortRecord(GrafPort* port, PixMapHandle pixMap, const Rect& portRect)
{
    port->portPixMap = pixMap;
    port->portRect = portRect;
    port->visRgn = NewRgn();
    port->clipRgn = NewRgn();
    RectRgn(port->visRgn, &portRect);
    RectRgn(port->clipRgn, &kWideOpen);
    GetQDGlobalsWhite(&port->bkPat);
    GetQDGlobalsBlack(&port->pnPat);
    GetQDGlobalsBlack(&port->fillPat);
    try {
        LivePorts().push_back(port);
    } catch (const std::bad_alloc&) {
        // The port works; it only cannot be vouched for by IsValidPort.
    }
}

void ReleasePortRecord(GrafPort* port)
{
    if (gThePort == port)
        gThePort = nullptr;
    std::vector<GrafPtr>& live = LivePorts();
    live.erase(std::remove(live.begin(), live.end(), port), live.end());
    AbandonPicture(port);
    DisposeRgn(port->visRgn);
    DisposeRgn(port->clipRgn);
    port->visRgn = port->clipRgn = nullptr;
}

void GetPort(GrafPtr* port)
{
    if (port)
        *port = gThePort;
}

void SetPort(GrafPtr port) { gThePort = port; }
GrafPtr GetQDGlobalsThePort() { return gThePort; }

Boolean IsValidPort(CGrafPtr port)
{
    const std::vector<GrafPtr>& live = LivePorts();
    return port && std::find(live.begin(), live.end(), port) != live.end();
}

CGrafPtr CreateNewPort()
{
    auto* port = new (std::nothrow) ScratchPort;
    if (!port) {
        SetQDError(memFullErr);
        return nullptr;
    }
    Rect screen{};
    GDHandle main = GetMainDevice();
    if (main)
        screen = (*main)->gdRect;
    port->pixMap.bounds = screen;
    port->pixMap.rowBytes = kPixMapFlag;
    port->pixMap.pixelType = RGBDirect;
    port->pixMap.pixelSize = 32;
    port->pixMap.cmpCount = 3;
    port->pixMap.cmpSize = 8;
    port->master = &port->pixMap;
    InitPortRecord(port, &port->master, screen);
    SetPort(port);
    return port;
}

void DisposePort(CGrafPtr port)
{
    if (!port || port->isOffscreen)
        return;
    ReleasePortRecord(port);
    delete static_cast<ScratchPort*>(port);
}

Rect* GetPortBounds(CGrafPtr port, Rect* r)
{
    if (r)
        *r = port ? port->portRect : Rect{0, 0, 0, 0};
    return r;
}

PixMapHandle GetPortPixMap(CGrafPtr port) { return port ? port->portPixMap : nullptr; }

const BitMap* GetPortBitMapForCopyBits(CGrafPtr port)
{
    return port && port->portPixMap ? *port->portPixMap : nullptr;
}

RgnHandle GetPortClipRegion(CGrafPtr port, RgnHandle into)
{
    if (port)
        CopyRgn(port->clipRgn, into);
    return into;
}

RgnHandle GetPortVisibleRegion(CGrafPtr port, RgnHandle into)
{
    if (port)
        CopyRgn(port->visRgn, into);
    return into;
}

void SetPortClipRegion(CGrafPtr port, RgnHandle rgn)
{
    if (port)
        CopyRgn(rgn, port->clipRgn);
}

void SetPortVisibleRegion(CGrafPtr port, RgnHandle rgn)
{
    if (port)
        CopyRgn(rgn, port->visRgn);
}

void SetOrigin(int16_t h, int16_t v)
{
    GrafPtr p = gThePort;
    if (!p)
        return;
    int16_t dh = int16_t(h - p->portRect.left), dv = int16_t(v - p->portRect.top);
    if (!dh && !dv)
        return;
    auto shift = [&](Rect& r) {
        r = {ClampTo16(r.top + dv), ClampTo16(r.left + dh), ClampTo16(r.bottom + dv), ClampTo16(r.right + dh)};
    };
    shift(p->portRect);
    if (p->portPixMap && *p->portPixMap)
        shift((*p->portPixMap)->bounds);
    OffsetRgn(p->visRgn, dh, dv);
}

void ClipRect(const Rect* r)
{
    if (gThePort && r)
        RectRgn(gThePort->clipRgn, r);
}

void SetClip(RgnHandle rgn)
{
    if (gThePort)
        CopyRgn(rgn, gThePort->clipRgn);
}

void GetClip(RgnHandle rgn)
{
    if (gThePort)
        CopyRgn(gThePort->clipRgn, rgn);
}

void LocalToGlobal(Point* pt)
{
    GrafPtr p = gThePort;
    if (!pt || !p || !p->portPixMap || !*p->portPixMap)
        return;
    const Rect& b = (*p->portPixMap)->bounds;
    pt->h = ClampTo16(pt->h - b.left + p->globalOffset.h);
    pt->v = ClampTo16(pt->v - b.top + p->globalOffset.v);
}

void GlobalToLocal(Point* pt)
{
    GrafPtr p = gThePort;
    if (!pt || !p || !p->portPixMap || !*p->portPixMap)
        return;
    const Rect& b = (*p->portPixMap)->bounds;
    pt->h = ClampTo16(pt->h + b.left - p->globalOffset.h);
    pt->v = ClampTo16(pt->v + b.top - p->globalOffset.v);
}

void SetPortGlobalOffset(CGrafPtr port, Point offset)
{
    if (port)
        port->globalOffset = offset;
}

void PenNormal()
{
    if (!gThePort)
        return;
    gThePort->pnSize = {1, 1};
    gThePort->pnMode = patCopy;
    GetQDGlobalsBlack(&gThePort->pnPat);
}

void PenSize(int16_t width, int16_t height)
{
    CountDrawingCall(DrawingCall::PenSize);
    if (gThePort)
        gThePort->pnSize = {height, width};
}

void PenMode(int16_t mode)
{
    CountDrawingCall(DrawingCall::PenMode);
    if (gThePort)
        gThePort->pnMode = mode;
}

void PenPat(const Pattern* pat)
{
    CountDrawingCall(DrawingCall::PenPat);
    if (gThePort && pat)
        gThePort->pnPat = *pat;
}

void BackPat(const Pattern* pat)
{
    CountDrawingCall(DrawingCall::BackPat);
    if (gThePort && pat)
        gThePort->bkPat = *pat;
}

void GetPenState(PenState* state)
{
    if (!gThePort || !state)
        return;
    *state = {gThePort->pnLoc, gThePort->pnSize, gThePort->pnMode, gThePort->pnPat};
}

void SetPenState(const PenState* state)
{
    if (!gThePort || !state)
        return;
    gThePort->pnLoc = state->pnLoc;
    gThePort->pnSize = state->pnSize;
    gThePort->pnMode = state->pnMode;
    gThePort->pnPat = state->pnPat;
}

void GetPen(Point* pt)
{
    if (gThePort && pt)
        *pt = gThePort->pnLoc;
}

void HidePen()
{
    if (gThePort)
        --gThePort->pnVis;
}

void ShowPen()
{
    if (gThePort)
        ++gThePort->pnVis;
}

void RGBForeColor(const RGBColor* color)
{
    CountDrawingCall(DrawingCall::RGBForeColor);
    if (gThePort && color)
        gThePort->rgbFgColor = *color;
}

void RGBBackColor(const RGBColor* color)
{
    CountDrawingCall(DrawingCall::RGBBackColor);
    if (gThePort && color)
        gThePort->rgbBkColor = *color;
}

void GetForeColor(RGBColor* color)
{
    if (color)
        *color = gThePort ? gThePort->rgbFgColor : RGBColor{0, 0, 0};
}

void GetBackColor(RGBColor* color)
{
    if (color)
        *color = gThePort ? gThePort->rgbBkColor : RGBColor{0xFFFF, 0xFFFF, 0xFFFF};
}

void ForeColor(int32_t color)
{
    if (!gThePort)
        return;
    gThePort->fgColor = color;
    gThePort->rgbFgColor = OldColor(color);
}

void BackColor(int32_t color)
{
    if (!gThePort)
        return;
    gThePort->bkColor = color;
    gThePort->rgbBkColor = OldColor(color);
}

void OpColor(const RGBColor* color)
{
    if (gThePort && color)
        gThePort->rgbOpColor = *color;
}

void HiliteColor(const RGBColor* color)
{
    if (gThePort && color)
        gThePort->rgbHiliteColor = *color;
}

void GetHiliteColor(RGBColor* color)
{
    if (color)
        *color = gThePort ? gThePort->rgbHiliteColor : RGBColor{0xB5B5, 0xD5D5, 0xFFFF};
}

uint8_t LMGetHiliteMode() { return gHiliteMode; }
void LMSetHiliteMode(uint8_t mode) { gHiliteMode = mode; }

void TextFont(int16_t font)
{
    CountDrawingCall(DrawingCall::TextFont);
    if (gThePort)
        gThePort->txFont = font;
}

void TextFace(StyleField face)
{
    CountDrawingCall(DrawingCall::TextFace);
    if (gThePort)
        gThePort->txFace = Style(face);
}

void TextMode(int16_t mode)
{
    CountDrawingCall(DrawingCall::TextMode);
    if (gThePort)
        gThePort->txMode = mode;
}

void TextSize(int16_t size)
{
    CountDrawingCall(DrawingCall::TextSize);
    if (gThePort)
        gThePort->txSize = size;
}

int16_t GetPortTextFont(CGrafPtr port) { return port ? port->txFont : 0; }
StyleField GetPortTextFace(CGrafPtr port) { return port ? StyleField(port->txFace) : 0; }
int16_t GetPortTextSize(CGrafPtr port) { return port ? port->txSize : 0; }

void SpaceExtra(Fixed extra)
{
    if (gThePort)
        gThePort->spExtra = extra;
}

void CharExtra(Fixed extra)
{
    if (gThePort)
        gThePort->chExtra = extra;
}

void ResetDrawingState()
{
    gThePort = nullptr;
    gHiliteMode = 0xFF;
    gQDError = noErr;
    ResetRecordings();
    ResetPictures();
    ResetTextState();
    SetGDevice(GetMainDevice());
}

}  // namespace platform

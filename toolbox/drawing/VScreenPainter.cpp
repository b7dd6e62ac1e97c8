#include "toolbox/drawing/VScreenPainter.h"

#include <algorithm>
#include <new>

#include "platform/drawing/Blits.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/windows/Windows.h"
#include "toolbox/drawing/IPainterFrame.h"
#include "toolbox/foundation/MacPort.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VRegion.h"

using namespace platform;

namespace {

int16_t Clamp16(int64_t v) { return int16_t(std::clamp<int64_t>(v, -32768, 32767)); }

int32_t Saturate(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

Rect MakeRect(int64_t left, int64_t top, int64_t width, int64_t height)
{
    return Rect{Clamp16(top), Clamp16(left), Clamp16(top + height), Clamp16(left + width)};
}

}  // namespace

VScreenPainter::VScreenPainter(CGrafPtr port) : VPainter(port, true) {}

VScreenPainter::~VScreenPainter() { ForgetOffscreen(); }

void VScreenPainter::Reset()
{
    ForgetOffscreen();
    VPainter::Reset();
}

void VScreenPainter::BackOnWindow()
{
    ForgetAppliedState();
    fTextModeDirty = true;
}

void VScreenPainter::BeginOffscreen(IPainterFrame* frame)
{
    if (!frame || !fOwnPort || IsOffscreenOpen()) return;
    int32_t x = 0, y = 0, gx = 0, gy = 0;
    frame->GetPosInWindow(x, y);
    frame->GetPosInDesktop(gx, gy);
    const int32_t width = frame->GetWidth(), height = frame->GetHeight();

    // The deepest screen under the frame, so the copy back needs no
    // depth conversion.
    Rect area = MakeRect(gx, gy, width, height);
    GDHandle device = GetMaxDevice(&area);
    area = MakeRect(0, 0, width, height);
    if (!device) device = GetMaxDevice(&area);
    CTabHandle table = device && *device && (*device)->gdPMap && *(*device)->gdPMap ? (*(*device)->gdPMap)->pmTable
                                                                                     : nullptr;
    GWorldPtr world = nullptr;
    if (NewGWorld(&world, 0, &area, table, device, noNewDevice | useTempMem) != noErr || !world) return;

    OffscreenRecord record{frame, nullptr, nullptr, x, y, world, NewRgn()};
    GetGWorld(&record.previousPort, &record.previousDevice);
    try {
        fOffscreens.push_back(record);
    } catch (const std::bad_alloc&) {
        DisposeRgn(record.savedClip);
        DisposeGWorld(world);
        return;
    }
    LockPixels(GetGWorldPixMap(world));
    GetPortClipRegion(fOwnPort, record.savedClip);
    Rect bounds;
    RgnHandle whole = NewRgn();
    RectRgn(whole, GetPortBounds(fOwnPort, &bounds));
    SetPortClipRegion(fOwnPort, whole);
    DisposeRgn(whole);

    AddOffset(-x, -y);
    SetGWorld(world, nullptr);
    ClipRect(&area);
    fCurPort = world;
    ForgetAppliedState();
}

void VScreenPainter::EndOffscreen(bool keep) { EndOffscreen(nullptr, nullptr, keep); }
void VScreenPainter::EndOffscreen(const VRect& rect, bool keep) { EndOffscreen(&rect, nullptr, keep); }
void VScreenPainter::EndOffscreen(const VRegion& region, bool keep) { EndOffscreen(nullptr, &region, keep); }

void VScreenPainter::EndOffscreen(const VRect* rect, const VRegion* region, bool keep)
{
    if (!IsOffscreenOpen() || fOffscreens.empty()) return;
    const OffscreenRecord record = fOffscreens.back();
    if (!keep) fOffscreens.pop_back();
    int32_t sx = 0, sy = 0;
    if (record.frame->IsAScrolledView()) record.frame->GetScrollPos(sx, sy);

    SetGWorld(record.previousPort, record.previousDevice);
    Rect src;
    GetPortBounds(record.world, &src);
    if (rect || region) {
        const VShape& part = rect ? static_cast<const VShape&>(*rect) : *region;
        src = MakeRect(int64_t(src.left) + fOffsetX + part.GetLeft() - sx,
                       int64_t(src.top) + fOffsetY + part.GetTop() - sy, part.GetWidth(), part.GetHeight());
    }
    const Rect dst{Clamp16(int64_t(src.top) + record.y), Clamp16(int64_t(src.left) + record.x),
           Clamp16(int64_t(src.bottom) + record.y), Clamp16(int64_t(src.right) + record.x)};

    CGrafPtr remembered;
    GDHandle rememberedDevice;
    GetGWorld(&remembered, &rememberedDevice);
    fCurPort = fOwnPort;
    SetMacPort(fOwnPort);
    SetClip(record.savedClip);
    if (!keep) DisposeRgn(record.savedClip);

    RGBColor savedFore, savedBack;
    GetForeColor(&savedFore);
    GetBackColor(&savedBack);
    const RGBColor black{0, 0, 0}, white{0xFFFF, 0xFFFF, 0xFFFF};
    RGBForeColor(&black);
    RGBBackColor(&white);
    RgnHandle mask = nullptr;
    VRegion maskCopy;
    if (region) {
        maskCopy = *region;
        mask = maskCopy.GetRgnRef(false);
        OffsetRgn32(mask, Saturate(int64_t(record.x) + fOffsetX - sx), Saturate(int64_t(record.y) + fOffsetY - sy));
    }
    CopyBits(GetPortBitMapForCopyBits(record.world), GetPortBitMapForCopyBits(fOwnPort), &src, &dst, srcCopy, mask);
    RGBForeColor(&savedFore);
    RGBBackColor(&savedBack);

    DrawPendingGrowIcon();
    SetGWorld(remembered, rememberedDevice);

    if (!keep) {
        UnlockPixels(GetGWorldPixMap(record.world));
        DisposeGWorld(record.world);
        RestoreOffset();
        BackOnWindow();
    } else {
        fCurPort = record.world;
        LockPixels(GetGWorldPixMap(record.world));
    }
}

// The window's port is current.
void VScreenPainter::DrawPendingGrowIcon()
{
    if (!fGrowIconPending) return;
    fGrowIconPending = false;
    WindowRef window = GetWindowFromPort(fOwnPort);
    if (!window) return;
    RgnHandle saved = NewRgn();
    GetClip(saved);
    Rect bounds;
    GetPortBounds(fOwnPort, &bounds);
    const Rect corner{Clamp16(int32_t(bounds.bottom) - 15), Clamp16(int32_t(bounds.right) - 15), bounds.bottom,
                      bounds.right};
    ClipRect(&corner);
    ::platform::DrawGrowIcon(window);
    SetClip(saved);
    DisposeRgn(saved);
}

void VScreenPainter::ForgetOffscreen()
{
    if (!IsOffscreenOpen() || fOffscreens.empty()) return;
    RestoreOffset();
    const OffscreenRecord record = fOffscreens.back();
    fOffscreens.pop_back();
    SetGWorld(record.previousPort, record.previousDevice);
    UnlockPixels(GetGWorldPixMap(record.world));
    DisposeGWorld(record.world);
    fCurPort = fOwnPort;
    SetPortClipRegion(fOwnPort, record.savedClip);
    DisposeRgn(record.savedClip);
    BackOnWindow();
}

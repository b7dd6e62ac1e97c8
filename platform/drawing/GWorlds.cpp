#include "platform/drawing/GWorlds.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/core/Errors.h"
#include "platform/core/Faults.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/CallCounts.h"
#include "platform/drawing/PixMaps.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"

namespace platform {

namespace {

struct World : GrafPort {
    PixMap pixMap;
    PixMap* master = nullptr;
    uint8_t* pixels = nullptr;
    CTabHandle ownTable = nullptr;
    GWorldFlags pixelState = 0;
};

struct DeviceBlock {
    GDevice* master;
    GDevice device;
};

DeviceBlock gMainDevice{nullptr, {}};
GDHandle gCurrentDevice = nullptr;

GDHandle MainDevice()
{
    if (!gMainDevice.master) {
        gMainDevice.master = &gMainDevice.device;
        gMainDevice.device.gdRect = {0, 0, 800, 1280};
    }
    return &gMainDevice.master;
}

struct PixelBuffer {
    uint8_t* pixels = nullptr;
    int32_t rowBytes = 0;
};

// Rows of 32-bit maps are 16-byte aligned; rows of 1-bit maps 4-byte.
OSErr AllocatePixels(int16_t depth, const Rect& bounds, PixelBuffer& out)
{
    int32_t width = int32_t(bounds.right) - bounds.left, height = int32_t(bounds.bottom) - bounds.top;
    if (width < 0 || height < 0)
        return paramErr;
    int32_t rowBytes = depth == 1 ? ((width + 31) / 32) * 4 : ((width * 4 + 15) / 16) * 16;
    if (rowBytes > kRowBytesMask)
        return paramErr;
    if (ShouldFail(FaultKind::Allocation))
        return memFullErr;
    size_t size = size_t(rowBytes) * size_t(height);
    auto* p = static_cast<uint8_t*>(std::aligned_alloc(16, size ? (size + 15) / 16 * 16 : 16));
    if (!p)
        return memFullErr;
    if (depth == 1)
        std::memset(p, 0, size);  // white
    else
        for (size_t i = 0; i < size / 4; ++i)
            reinterpret_cast<uint32_t*>(p)[i] = 0x00FFFFFF;
    out = {p, rowBytes};
    return noErr;
}

int16_t EffectiveDepth(int16_t depth)
{
    switch (depth) {
    case 1: return 1;
    case 0: case 2: case 4: case 8: case 16: case 24: case 32: return 32;
    default: return 0;
    }
}

void DescribePixMap(World* w, int16_t depth, const Rect& bounds, const PixelBuffer& buf)
{
    PixMap& pm = w->pixMap;
    pm.baseAddr = reinterpret_cast<Ptr>(buf.pixels);
    pm.rowBytes = int16_t(kPixMapFlag | buf.rowBytes);
    pm.bounds = bounds;
    pm.pixelSize = depth;
    pm.pixelType = depth == 32 ? RGBDirect : 0;
    pm.cmpCount = depth == 32 ? 3 : 1;
    pm.cmpSize = depth == 32 ? 8 : 1;
    pm.pmTable = depth == 1 ? w->ownTable : nullptr;
}

}  // namespace

QDErr NewGWorld(GWorldPtr* world, int16_t depth, const Rect* bounds, CTabHandle, GDHandle, GWorldFlags)
{
    CountDrawingCall(DrawingCall::NewGWorld);
    if (!world || !bounds)
        return paramErr;
    *world = nullptr;
    int16_t d = EffectiveDepth(depth);
    if (!d || bounds->right < bounds->left || bounds->bottom < bounds->top)
        return paramErr;
    if (ShouldFail(FaultKind::Allocation))
        return memFullErr;
    auto* w = new (std::nothrow) World;
    if (!w)
        return memFullErr;
    PixelBuffer buf;
    if (OSErr err = AllocatePixels(d, *bounds, buf)) {
        delete w;
        return err;
    }
    if (d == 1) {
        w->ownTable = NewCTable(2);
        if (!w->ownTable) {
            std::free(buf.pixels);
            delete w;
            return memFullErr;
        }
        CTabEntries(w->ownTable)[0].rgb = {0xFFFF, 0xFFFF, 0xFFFF};
        CTabEntries(w->ownTable)[1].rgb = {0, 0, 0};
    }
    w->pixels = buf.pixels;
    w->master = &w->pixMap;
    DescribePixMap(w, d, *bounds, buf);
    w->isOffscreen = true;
    w->gworldDevice = MainDevice();
    InitPortRecord(w, &w->master, *bounds);
    if (!w->visRgn || !w->clipRgn) {
        DisposeGWorld(w);
        return memFullErr;
    }
    *world = w;
    return noErr;
}

void DisposeGWorld(GWorldPtr world)
{
    if (!world || !world->isOffscreen)
        return;
    CountDrawingCall(DrawingCall::DisposeGWorld);
    auto* w = static_cast<World*>(world);
    ReleasePortRecord(w);
    std::free(w->pixels);
    DisposeCTable(w->ownTable);
    delete w;
}

GWorldFlags UpdateGWorld(GWorldPtr* world, int16_t depth, const Rect* bounds, CTabHandle, GDHandle,
                         GWorldFlags flags)
{
    if (!world || !*world || !(*world)->isOffscreen || !bounds) {
        SetQDError(paramErr);
        return gwFlagErr;
    }
    auto* w = static_cast<World*>(*world);
    int16_t d = depth == 0 ? w->pixMap.pixelSize : EffectiveDepth(depth);
    if (!d || bounds->right < bounds->left || bounds->bottom < bounds->top) {
        SetQDError(paramErr);
        return gwFlagErr;
    }
    Rect oldBounds = w->pixMap.bounds;
    int32_t oldW = oldBounds.right - oldBounds.left, oldH = oldBounds.bottom - oldBounds.top;
    int32_t newW = bounds->right - bounds->left, newH = bounds->bottom - bounds->top;
    GWorldFlags result = 0;
    if (d == w->pixMap.pixelSize && oldW == newW && oldH == newH) {
        // Only the coordinates change.
        w->portRect = *bounds;
        w->pixMap.bounds = *bounds;
        RectRgn(w->visRgn, bounds);
        SetQDError(noErr);
        return 0;
    }
    PixelBuffer buf;
    if (OSErr err = AllocatePixels(d, *bounds, buf)) {
        SetQDError(err);
        return gwFlagErr;
    }
    if (d == 1 && !w->ownTable) {
        w->ownTable = NewCTable(2);
        if (!w->ownTable) {
            std::free(buf.pixels);
            SetQDError(memFullErr);
            return gwFlagErr;
        }
        CTabEntries(w->ownTable)[0].rgb = {0xFFFF, 0xFFFF, 0xFFFF};
        CTabEntries(w->ownTable)[1].rgb = {0, 0, 0};
    }
    // Keep the old pixels in a temporary map to copy from.
    PixMap old = w->pixMap;
    uint8_t* oldPixels = w->pixels;
    if (d != w->pixMap.pixelSize)
        result |= newDepth;
    result |= reallocPix;
    w->pixels = buf.pixels;
    DescribePixMap(w, d, *bounds, buf);
    if (flags & (clipPix | stretchPix)) {
        Rect src = old.bounds, dst = *bounds;
        if (flags & clipPix) {
            // Pixels keep their place relative to the top left.
            int32_t w2 = std::min(oldW, newW), h2 = std::min(oldH, newH);
            src = {old.bounds.top, old.bounds.left, int16_t(old.bounds.top + h2), int16_t(old.bounds.left + w2)};
            dst = {bounds->top, bounds->left, int16_t(bounds->top + h2), int16_t(bounds->left + w2)};
        }
        RGBColor fg = w->rgbFgColor, bg = w->rgbBkColor;
        CopyBitsWithColors(&old, &w->pixMap, &src, &dst, srcCopy, nullptr, RGBColor{0, 0, 0},
                           RGBColor{0xFFFF, 0xFFFF, 0xFFFF});
        w->rgbFgColor = fg;
        w->rgbBkColor = bg;
        result |= (flags & (clipPix | stretchPix));
    }
    std::free(oldPixels);
    w->portRect = *bounds;
    RectRgn(w->visRgn, bounds);
    SetQDError(noErr);
    return result;
}

PixMapHandle GetGWorldPixMap(GWorldPtr world) { return world ? world->portPixMap : nullptr; }

Boolean LockPixels(PixMapHandle pm)
{
    // Pixels never move or get purged; locking only records the state.
    return pm && *pm && (*pm)->baseAddr;
}

void UnlockPixels(PixMapHandle) {}

GWorldFlags GetPixelsState(PixMapHandle pm)
{
    return pm && *pm ? GWorldFlags(pixelsLocked) : 0u;
}

void SetPixelsState(PixMapHandle, GWorldFlags) {}

void GetGWorld(CGrafPtr* port, GDHandle* device)
{
    if (port)
        GetPort(port);
    if (device)
        *device = GetGDevice();
}

void SetGWorld(CGrafPtr port, GDHandle device)
{
    SetPort(port);
    if (port && port->isOffscreen)
        SetGDevice(port->gworldDevice);
    else if (device)
        SetGDevice(device);
}

GDHandle GetMainDevice() { return MainDevice(); }

GDHandle GetGDevice()
{
    if (!gCurrentDevice)
        gCurrentDevice = MainDevice();
    return gCurrentDevice;
}

void SetGDevice(GDHandle device) { gCurrentDevice = device ? device : MainDevice(); }

GDHandle GetMaxDevice(const Rect*) { return MainDevice(); }

void ConfigureMainDevice(const Rect* bounds, PixMapHandle screenPixMap)
{
    GDHandle main = MainDevice();
    if (bounds)
        (*main)->gdRect = *bounds;
    (*main)->gdPMap = screenPixMap;
}

}  // namespace platform

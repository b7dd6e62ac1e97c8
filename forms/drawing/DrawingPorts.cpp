#include "forms/drawing/DrawingPorts.h"

#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/pictures/Pictures.h"

using namespace platform;

namespace {

CGrafPtr gPrintPort = nullptr;

struct BitmapState {
    GWorldPtr world = nullptr;
    CGrafPtr window = nullptr;
    Rect bounds{};
    int16_t users = 0;
    int16_t current = 0, next = 0;
    int16_t fastLevel = 0;
};
BitmapState gBitmap;

CGrafPtr CurrentPort()
{
    GrafPtr port = nullptr;
    GetPort(&port);
    return port;
}

}  // namespace

void SetPrintPort(CGrafPtr port) { gPrintPort = port; }

CGrafPtr GetPrintPort() { return gPrintPort; }

bool DrawingToPrintPort() { return gPrintPort && CurrentPort() == gPrintPort; }

bool RecordingPicture()
{
    CGrafPtr port = CurrentPort();
    return port && IsPortPictureBeingDefined(port);
}

GWorldPtr OpenBitmapPort(CGrafPtr window, const Rect& r)
{
    const Rect bounds{0, 0, int16_t(r.bottom - r.top), int16_t(r.right - r.left)};
    if (gBitmap.world && (gBitmap.bounds.right != bounds.right || gBitmap.bounds.bottom != bounds.bottom)) {
        if (gBitmap.users > 0) return nullptr;
        xDisposeBitmap();
    }
    if (!gBitmap.world && NewGWorld(&gBitmap.world, 32, &bounds, nullptr, nullptr, 0) != noErr) {
        gBitmap.world = nullptr;
        return nullptr;
    }
    gBitmap.window = window;
    gBitmap.bounds = bounds;
    ++gBitmap.users;
    gBitmap.current = kOffScreenBitmap;
    return gBitmap.world;
}

void CloseBitmapPort()
{
    if (gBitmap.users > 0) --gBitmap.users;
}

int16_t SetOffScreenType(int16_t kind)
{
    const int16_t previous = gBitmap.next;
    if (kind == kOffScreenBitmap) kind = 0;
    if (gBitmap.users == 0) {
        if (gBitmap.current == kOffScreenBitmap && kind != kOffScreenFast) xDisposeBitmap();
        else if (gBitmap.current == kOffScreenFast && kind != kOffScreenFast && gBitmap.fastLevel < 1) {
            xDisposeBitmap();
            gBitmap.fastLevel = 0;
        }
    }
    gBitmap.next = kind;
    gBitmap.current = kind;
    return previous;
}

void EnterFastScreen() { ++gBitmap.fastLevel; }

void LeaveFastScreen()
{
    if (gBitmap.fastLevel > 0) --gBitmap.fastLevel;
}

GWorldPtr GetBitmapPort() { return gBitmap.users > 0 ? gBitmap.world : nullptr; }

CGrafPtr GetNonBMPort(CGrafPtr port)
{
    if (port && port == gBitmap.world && gBitmap.window) return gBitmap.window;
    return port;
}

void xDisposeBitmap()
{
    if (gBitmap.world) DisposeGWorld(gBitmap.world);
    gBitmap.world = nullptr;
    gBitmap.window = nullptr;
    gBitmap.users = 0;
}

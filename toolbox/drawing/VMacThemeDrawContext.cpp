#include "toolbox/drawing/VMacThemeDrawContext.h"

#include "platform/drawing/Blits.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/pictures/Pictures.h"
#include "platform/theme/Theme.h"
#include "toolbox/drawing/VPainter.h"

using namespace platform;

VMacThemeDrawContext::~VMacThemeDrawContext() { Release(); }

void VMacThemeDrawContext::UsePainter(VPainter* painter, const Rect* rect)
{
    Release();
    CGrafPtr port = painter ? painter->GetCurPort() : nullptr;
    GetPort(&fSavedPort);
    if (port) SetPort(port);
    fSavedState = nullptr;
    GetThemeDrawingState(&fSavedState);
    GetGWorld(&fSavedWorld, &fSavedDevice);
    fDepth = 32;
    if (PixMapHandle pm = fSavedWorld ? GetPortPixMap(fSavedWorld) : nullptr; pm && *pm) fDepth = (*pm)->pixelSize;
    fRect = rect ? *rect : Rect{};
    fWorld = nullptr;
    if (port && (IsPortPictureBeingDefined(port) || painter->IsPrinterPainter())) {
        GWorldPtr world = nullptr;
        if (NewGWorld(&world, fDepth, &fRect, nullptr, nullptr, 4) == noErr && world) {
            PixMapHandle src = GetPortPixMap(port), dst = GetGWorldPixMap(world);
            LockPixels(src);
            LockPixels(dst);
            CopyBits(GetPortBitMapForCopyBits(port), GetPortBitMapForCopyBits(world), &fRect, &fRect, srcCopy,
                     nullptr);
            UnlockPixels(dst);
            UnlockPixels(src);
            fWorld = world;
            SetGWorld(world, nullptr);
        }
    }
    fInUse = 1;
}

void VMacThemeDrawContext::Release()
{
    if (!fInUse) return;
    if (fWorld) {
        const RGBColor black{0, 0, 0}, white{0xFFFF, 0xFFFF, 0xFFFF};
        RGBForeColor(&black);
        RGBBackColor(&white);
        SetGWorld(fSavedWorld, fSavedDevice);
        CopyBits(GetPortBitMapForCopyBits(fWorld), GetPortBitMapForCopyBits(fSavedWorld), &fRect, &fRect, srcCopy,
                 nullptr);
        DisposeGWorld(fWorld);
        fWorld = nullptr;
    }
    if (fSavedState) SetThemeDrawingState(fSavedState, true);
    fSavedState = nullptr;
    SetPort(fSavedPort);
    fInUse = 0;
}

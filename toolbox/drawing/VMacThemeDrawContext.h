// The frame of one theme drawing: the painter's port made current, the
// theme drawing state saved, and, when the port records a picture or the
// painter prints, an offscreen copy of the rectangle to draw into, copied
// back when released (theme drawing can be neither recorded nor printed).
#pragma once

#include <cstdint>

#include "platform/drawing/QuickDrawTypes.h"

namespace platform {
struct OpaqueThemeDrawingState;
}

class VPainter;

class VMacThemeDrawContext {
public:
    VMacThemeDrawContext() = default;
    virtual ~VMacThemeDrawContext();
    VMacThemeDrawContext(const VMacThemeDrawContext&) = delete;
    VMacThemeDrawContext& operator=(const VMacThemeDrawContext&) = delete;

    // rect: the port rectangle the drawing covers.
    void UsePainter(VPainter* painter, const platform::Rect* rect);
    void Release();

    int16_t GetDepth() const { return fDepth; }
    bool IsInUse() const { return fInUse != 0; }
    bool IsOffscreen() const { return fWorld != nullptr; }

private:
    int32_t fInUse = 0;
    platform::GrafPtr fSavedPort = nullptr;
    platform::CGrafPtr fSavedWorld = nullptr;
    platform::GDHandle fSavedDevice = nullptr;
    platform::OpaqueThemeDrawingState* fSavedState = nullptr;
    int16_t fDepth = 32;
    platform::GWorldPtr fWorld = nullptr;
    platform::Rect fRect{};
};

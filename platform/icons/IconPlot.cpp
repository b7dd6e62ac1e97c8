#include "platform/icons/IconPlot.h"

#include "platform/core/Memory.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/icons/Icons.h"

namespace platform {

namespace {

uint32_t Transform(uint32_t c, int16_t transform)
{
    uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        uint32_t v = (c >> shift) & 0xFF;
        if (transform == kTransformDisabled)
            v = (v + 255) / 2;
        else if (transform == kTransformSelected)
            v = v / 2;
        out |= v << shift;
    }
    return out;
}

}  // namespace

bool PlotMaskedImage(const BitMap* image, const BitMap* mask, const Rect* dst, int16_t transform)
{
    GrafPtr port = GetQDGlobalsThePort();
    if (!port || !image || !mask || !dst)
        return true;
    Surface s = MakeSurface(image);
    if (s.Empty())
        return true;
    // The image as 32-bit colours, transformed, copied through the mask
    // with plain black and white so the port's colours do not tint it.
    const int32_t w = s.bounds.right - s.bounds.left, h = s.bounds.bottom - s.bounds.top;
    Ptr pixels = NewPtr(Size(int64_t(w) * h * 4));
    if (!pixels)
        return false;
    auto* px = reinterpret_cast<uint32_t*>(pixels);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            uint32_t c = s.indexedAsBits ? (s.ReadBit(s.bounds.left + x, s.bounds.top + y) ? 0 : 0xFFFFFF)
                                         : s.ReadRGB(s.bounds.left + x, s.bounds.top + y);
            px[int64_t(y) * w + x] = Transform(c, transform);
        }
    PixMap deep{};
    deep.baseAddr = pixels;
    deep.rowBytes = int16_t(kPixMapFlag | (w * 4));
    deep.bounds = image->bounds;
    deep.pixelType = RGBDirect;
    deep.pixelSize = 32;
    deep.cmpCount = 3;
    deep.cmpSize = 8;
    RGBColor fore = port->rgbFgColor, back = port->rgbBkColor;
    RGBColor black{0, 0, 0}, white{0xFFFF, 0xFFFF, 0xFFFF};
    RGBForeColor(&black);
    RGBBackColor(&white);
    CopyDeepMask(reinterpret_cast<const BitMap*>(&deep), mask, GetPortBitMapForCopyBits(port), &image->bounds,
                 &mask->bounds, dst, srcCopy, nullptr);
    RGBForeColor(&fore);
    RGBBackColor(&back);
    DisposePtr(pixels);
    return true;
}

}  // namespace platform

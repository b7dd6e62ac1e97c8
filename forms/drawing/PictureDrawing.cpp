#include "forms/drawing/PictureDrawing.h"

#include <algorithm>

#include "forms/drawing/CachedBitmap.h"
#include "forms/drawing/DrawingPorts.h"
#include "looks/LookServices.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Shapes.h"
#include "platform/pictures/Pictures.h"
#include "toolbox/drawing/CompatFunctions.h"

using namespace platform;

namespace {

const RGBColor kBlack{0, 0, 0};
const RGBColor kWhite{0xFFFF, 0xFFFF, 0xFFFF};

CGrafPtr CurrentPort()
{
    GrafPtr port = nullptr;
    GetPort(&port);
    return port;
}

// Black on white while pixels are copied, the port's colours afterwards.
class PlainColours {
public:
    PlainColours()
    {
        SaveForeBack(&saved_);
        RGBForeColor(&kBlack);
        RGBBackColor(&kWhite);
    }
    ~PlainColours() { RestoreForeBack(&saved_); }
    PlainColours(const PlainColours&) = delete;
    PlainColours& operator=(const PlainColours&) = delete;

private:
    ForeBack saved_;
};

GWorldPtr NewWorld(int16_t width, int16_t height)
{
    const Rect bounds{0, 0, height, width};
    GWorldPtr world = nullptr;
    return NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0) == noErr ? world : nullptr;
}

// The picture played once into a white world of its size.
GWorldPtr TileOf(Handle picture, int16_t w, int16_t h)
{
    GWorldPtr tile = NewWorld(w, h);
    if (!tile) return nullptr;
    CGrafPtr saved = nullptr;
    GDHandle device = nullptr;
    GetGWorld(&saved, &device);
    SetGWorld(tile, nullptr);
    RGBForeColor(&kBlack);
    RGBBackColor(&kWhite);
    const Rect bounds{0, 0, h, w};
    EraseRect(&bounds);
    DrawPicture(picture, &bounds);
    SetGWorld(saved, device);
    return tile;
}

// The tiles of a w x h step that meet `area`, from the one holding its
// top-left corner; r's top-left corner is a tile's.
template <typename Draw>
void EachTile(const Rect& r, const Rect& area, int16_t w, int16_t h, Draw draw)
{
    const int32_t x0 = r.left + (area.left - r.left) / w * w;
    const int32_t y0 = r.top + (area.top - r.top) / h * h;
    for (int32_t y = y0; y < area.bottom; y += h)
        for (int32_t x = x0; x < area.right; x += w)
            draw(Rect{int16_t(y), int16_t(x), int16_t(y + h), int16_t(x + w)});
}

}  // namespace

void TransparentBits(const BitMap* src, const Rect* srcRect, const Rect* dstRect, int16_t, RgnHandle maskRgn)
{
    RGBColor back{};
    GetBackColor(&back);
    RGBBackColor(&kWhite);
    StdBits(src, srcRect, dstRect, transparent, maskRgn);
    RGBBackColor(&back);
}

void ChangeBitsProc(QDProcs* procs, void (*bits)(const BitMap*, const Rect*, const Rect*, int16_t, RgnHandle))
{
    if (!procs) return;
    if (!procs->lineProc) SetStdProcs(procs);
    procs->bitsProc = bits;
}

void SetTransparentQDProcs(SavedQDProcs* saved)
{
    saved->installed = false;
    CGrafPtr port = CurrentPort();
    if (!port || DrawingToPrintPort()) return;
    saved->previous = port->grafProcs;
    saved->own = port->grafProcs ? *port->grafProcs : QDProcs{};
    ChangeBitsProc(&saved->own, TransparentBits);
    port->grafProcs = &saved->own;
    saved->installed = true;
}

void RestoreQDProcs(SavedQDProcs* saved)
{
    if (!saved->installed) return;
    if (CGrafPtr port = CurrentPort(); port && port->grafProcs == &saved->own) port->grafProcs = saved->previous;
    saved->installed = false;
}

void DrawPictureTransparent(Handle picture, const Rect& r, bool transparentCopy, bool)
{
    if (!picture || !*picture) return;
    if (!transparentCopy || DrawingToPrintPort()) {
        DrawPicture(picture, &r);
        return;
    }
    SavedQDProcs saved;
    SetTransparentQDProcs(&saved);
    DrawPicture(picture, &r);
    RestoreQDProcs(&saved);
}

void DrawReplicatedPicture(Handle picture, const Rect& r, bool transparentCopy, bool flag)
{
    if (!picture || !*picture) return;
    Rect frame{};
    QDGetPictureBounds(picture, &frame);
    const int16_t w = int16_t(frame.right - frame.left), h = int16_t(frame.bottom - frame.top);
    // A frame of no size would never step on.
    if (w <= 0 || h <= 0) return;
    CGrafPtr port = CurrentPort();
    if (!port) return;
    const bool recording = RecordingPicture();
    Rect area{}, limit{};
    GetPortClipRect(port, &limit);
    if (!SectRect(&r, &limit, &area)) return;
    if (!recording) {
        GetPortVisibleRect(port, &limit);
        if (!SectRect(&area, &limit, &area)) return;
    }
    ClipSection clip(area);
    const int16_t mode = transparentCopy ? transparent : srcCopy;
    if (port == GetBitmapPort() && !recording) {
        if (VCachedBitmap* bitmap = VCachedBitmap::FromPicHandle(picture)) {
            EachTile(r, area, w, h, [&](const Rect& tile) { bitmap->Draw(tile, transparentCopy, 0xFFFFFF, flag); });
            bitmap->Release();
        }
        return;
    }
    GWorldPtr tile = TileOf(picture, w, h);
    if (!tile) return;
    const Rect tileRect{0, 0, h, w};
    const BitMap* portBits = GetPortBitMapForCopyBits(port);
    PlainColours colours;
    // The tiles are put together off screen first, then copied at once.
    GWorldPtr compose = port != GetBitmapPort() ? NewWorld(int16_t(area.right - area.left),
                                                           int16_t(area.bottom - area.top))
                                                : nullptr;
    if (compose) {
        const BitMap* composeBits = GetPortBitMapForCopyBits(compose);
        const Rect local{0, 0, int16_t(area.bottom - area.top), int16_t(area.right - area.left)};
        CopyBits(portBits, composeBits, &area, &local, srcCopy, nullptr);
        EachTile(r, area, w, h, [&](Rect t) {
            OffsetRect(&t, int16_t(-area.left), int16_t(-area.top));
            CopyBits(GetPortBitMapForCopyBits(tile), composeBits, &tileRect, &t, mode, nullptr);
        });
        CopyBits(composeBits, portBits, &local, &area, srcCopy, nullptr);
        DisposeGWorld(compose);
    } else {
        EachTile(r, area, w, h,
                 [&](const Rect& t) { CopyBits(GetPortBitMapForCopyBits(tile), portBits, &tileRect, &t, mode, nullptr); });
    }
    DisposeGWorld(tile);
}

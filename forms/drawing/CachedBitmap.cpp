#include "forms/drawing/CachedBitmap.h"

#include <new>
#include <vector>

#include "forms/drawing/StaticPictures.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/pictures/Pictures.h"

using namespace platform;

VResBitmapCache* VResBitmapCache::sBitmapResCache = nullptr;

namespace {

const RGBColor kBlack{0, 0, 0};
const RGBColor kWhite{0xFFFF, 0xFFFF, 0xFFFF};

// The picture played into a new white 32-bit world of w x h; null when the
// world cannot be made or the picture is damaged.
GWorldPtr Render(Handle picture, int16_t w, int16_t h)
{
    if (!picture || !*picture || w <= 0 || h <= 0) return nullptr;
    const Rect bounds{0, 0, h, w};
    GWorldPtr world = nullptr;
    if (NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0) != noErr) return nullptr;
    CGrafPtr saved = nullptr;
    GDHandle device = nullptr;
    GetGWorld(&saved, &device);
    SetGWorld(world, nullptr);
    RGBForeColor(&kBlack);
    RGBBackColor(&kWhite);
    EraseRect(&bounds);
    DrawPicture(picture, &bounds);
    const bool damaged = QDError() != noErr;
    SetGWorld(saved, device);
    if (damaged) {
        DisposeGWorld(world);
        return nullptr;
    }
    return world;
}

const BitMap* Bits(GWorldPtr world) { return GetPortBitMapForCopyBits(world); }

const BitMap* CurrentBits()
{
    GrafPtr port = nullptr;
    GetPort(&port);
    return port ? GetPortBitMapForCopyBits(port) : nullptr;
}

}  // namespace

VCachedBitmap::VCachedBitmap(Handle picture, Handle mask, int16_t width, int16_t height)
{
    Rect frame{};
    if (picture && *picture) QDGetPictureBounds(picture, &frame);
    fWidth = width ? width : int16_t(frame.right - frame.left);
    fHeight = height ? height : int16_t(frame.bottom - frame.top);
    fPixels = Render(picture, fWidth, fHeight);
    if (fPixels && mask) fMask = Render(mask, fWidth, fHeight);
}

VCachedBitmap::~VCachedBitmap()
{
    if (fInCache && VResBitmapCache::sBitmapResCache) VResBitmapCache::sBitmapResCache->_Remove(this);
    if (fPixels) DisposeGWorld(fPixels);
    if (fMask) DisposeGWorld(fMask);
}

VCachedBitmap* VCachedBitmap::FromPicHandle(Handle picture)
{
    auto* bitmap = new VCachedBitmap(picture, nullptr, 0, 0);
    if (bitmap && !bitmap->HasPixels()) {
        bitmap->Release();
        return nullptr;
    }
    return bitmap;
}

void VCachedBitmap::Draw(const Rect& r, bool transparent, uint32_t color, bool)
{
    if (!fPixels) return;
    if (fMask) {
        _AlphaBlend(r);
        return;
    }
    if (transparent) {
        DrawTransparent(r, color);
        return;
    }
    const BitMap* dst = CurrentBits();
    if (!dst) return;
    RGBColor fore{}, back{};
    GetForeColor(&fore);
    GetBackColor(&back);
    RGBForeColor(&kBlack);
    RGBBackColor(&kWhite);
    const Rect src{0, 0, fHeight, fWidth};
    CopyBits(Bits(fPixels), dst, &src, &r, srcCopy, nullptr);
    RGBForeColor(&fore);
    RGBBackColor(&back);
}

void VCachedBitmap::DrawTransparent(const Rect& r, uint32_t color)
{
    if (!fPixels) return;
    if (fMask) {
        _AlphaBlend(r);
        return;
    }
    const BitMap* dst = CurrentBits();
    if (!dst) return;
    RGBColor back{};
    GetBackColor(&back);
    const RGBColor key{uint16_t(((color >> 16) & 0xFF) * 0x101), uint16_t(((color >> 8) & 0xFF) * 0x101),
                       uint16_t((color & 0xFF) * 0x101)};
    RGBBackColor(&key);
    const Rect src{0, 0, fHeight, fWidth};
    CopyBits(Bits(fPixels), dst, &src, &r, transparent, nullptr);
    RGBBackColor(&back);
}

void VCachedBitmap::_AlphaBlend(const Rect& r)
{
    const BitMap* dst = CurrentBits();
    if (!dst) return;
    const Rect src{0, 0, fHeight, fWidth};
    CopyDeepMask(Bits(fPixels), Bits(fMask), dst, &src, &src, &r, srcCopy, nullptr);
}

VResBitmapCache::~VResBitmapCache()
{
    for (auto& [id, bitmap] : fBitmaps) bitmap->fInCache = false;
}

void VResBitmapCache::Init()
{
    if (!sBitmapResCache) sBitmapResCache = new VResBitmapCache;
}

VCachedBitmap* VResBitmapCache::Find(int16_t id) const
{
    const auto it = fBitmaps.find(id);
    return it == fBitmaps.end() ? nullptr : it->second;
}

bool VResBitmapCache::Add(int16_t id, VCachedBitmap* bitmap)
{
    if (!bitmap) return false;
    if (VCachedBitmap* held = Find(id)) return held == bitmap;
    if (bitmap->fInCache) return false;
    try {
        fBitmaps.emplace(id, bitmap);
    } catch (const std::bad_alloc&) {
        return false;
    }
    bitmap->fInCache = true;
    bitmap->fCacheKey = id;
    return true;
}

VCachedBitmap* VResBitmapCache::GetPictBitmap(int16_t id)
{
    if (VCachedBitmap* held = Find(id)) return held;
    VCachedBitmap* bitmap = VCachedBitmap::FromPicHandle(GetStaticPict(id, nullptr));
    if (bitmap && !Add(id, bitmap)) {
        bitmap->Release();
        return nullptr;
    }
    return bitmap;
}

void VResBitmapCache::Clear()
{
    std::vector<VCachedBitmap*> held;
    for (auto& [id, bitmap] : fBitmaps) held.push_back(bitmap);
    for (VCachedBitmap* bitmap : held) bitmap->Release();
    fBitmaps.clear();
}

void VResBitmapCache::_Remove(VCachedBitmap* bitmap)
{
    const auto it = fBitmaps.find(bitmap->fCacheKey);
    if (it != fBitmaps.end() && it->second == bitmap) fBitmaps.erase(it);
    bitmap->fInCache = false;
}

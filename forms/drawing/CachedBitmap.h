// Pictures rendered once into 32-bit pixels (with an optional mask rendered
// from a second picture) and drawn by copying, and the shared cache of such
// bitmaps by resource id.
#pragma once

#include <cstdint>
#include <map>

#include "platform/drawing/QuickDrawTypes.h"
#include "toolbox/foundation/VObject.h"

class VResBitmapCache;

class VCachedBitmap : public VObject, public IRefCountable {
public:
    // Renders the picture (and, when it rendered, the mask picture) at
    // width x height, or the picture frame's size where they are 0.
    VCachedBitmap(platform::Handle picture, platform::Handle mask, int16_t width, int16_t height);
    ~VCachedBitmap() override;
    VCachedBitmap(const VCachedBitmap&) = delete;
    VCachedBitmap& operator=(const VCachedBitmap&) = delete;

    // A bitmap of the picture at its frame's size (null without pixels).
    static VCachedBitmap* FromPicHandle(platform::Handle picture);

    // Nothing without pixels; transparent without a mask: DrawTransparent;
    // with a mask: the masked copy; else a plain copy in black on white
    // (the port's colours kept).
    void Draw(const platform::Rect& r, bool transparent, uint32_t color, bool flag);
    // Pixels of `color` (0xRRGGBB) left out, or the masked copy.
    void DrawTransparent(const platform::Rect& r, uint32_t color);

    bool HasPixels() const { return fPixels != nullptr; }
    bool HasMask() const { return fMask != nullptr; }
    int16_t GetWidth() const { return fWidth; }
    int16_t GetHeight() const { return fHeight; }
    bool InCache() const { return fInCache; }
    int16_t CacheKey() const { return fCacheKey; }

private:
    friend class VResBitmapCache;
    void _AlphaBlend(const platform::Rect& r);

    platform::GWorldPtr fPixels = nullptr;
    platform::GWorldPtr fMask = nullptr;
    int16_t fWidth = 0, fHeight = 0;
    bool fInCache = false;
    int16_t fCacheKey = 0;
};

class VResBitmapCache : public VObject {
public:
    VResBitmapCache() = default;
    // Every bitmap still held is told it left the cache.
    ~VResBitmapCache() override;
    VResBitmapCache(const VResBitmapCache&) = delete;
    VResBitmapCache& operator=(const VResBitmapCache&) = delete;

    // Makes sBitmapResCache (once).
    static void Init();
    // The bitmap of that id (not retained), null when none.
    VCachedBitmap* Find(int16_t id) const;
    // Keeps the bitmap under the id, taking over the caller's reference;
    // false when the id is taken by another bitmap.
    bool Add(int16_t id, VCachedBitmap* bitmap);
    // The bitmap of the picture resource `id` (GetStaticPict), made and
    // kept on first use; null when the picture does not render.
    VCachedBitmap* GetPictBitmap(int16_t id);
    // Releases every bitmap held (shut-down and tests).
    void Clear();
    int32_t Count() const { return int32_t(fBitmaps.size()); }

    void _Remove(VCachedBitmap* bitmap);

    static VResBitmapCache* sBitmapResCache;

private:
    std::map<int16_t, VCachedBitmap*> fBitmaps;
};

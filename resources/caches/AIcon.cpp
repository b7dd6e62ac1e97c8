#include "resources/caches/AIcon.h"

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/Ports.h"
#include "platform/resfiles/Resources.h"

namespace {

const AIconLookServices* gLookServices = nullptr;

// A 'cicn' opens with its pixel map (50 bytes, bounds at 6), the mask and
// bitmap headers (14 bytes each) and the icon data handle (4).
constexpr int32_t kColourIconHeader = 50 + 14 + 14 + 4;
constexpr int32_t kBlackAndWhiteIconSize = 128;  // 32 rows of 4 bytes

platform::Rect Centred(const platform::Rect& r, int16_t width, int16_t height)
{
    platform::Rect c;
    c.left = int16_t(r.left + (r.right - r.left - width) / 2);
    c.top = int16_t(r.top + (r.bottom - r.top - height) / 2);
    c.right = int16_t(c.left + width);
    c.bottom = int16_t(c.top + height);
    return c;
}

}  // namespace

void SetIconLookServices(const AIconLookServices* services) { gLookServices = services; }

AIconBitmap::~AIconBitmap() = default;

AIcon::AIcon(int16_t id, bool fallback) : fID(id), fFallback(fallback)
{
    platform::Handle resource = platform::GetResource(platform::FourCC("cicn"), id);
    if (resource == nullptr || platform::GetHandleSize(resource) < kColourIconHeader) return;
    // Our own copy, as the platform's colour icons are.
    platform::Handle copy = resource;
    if (platform::HandToHand(&copy) == platform::noErr) fColourIcon = copy;
}

AIcon::~AIcon()
{
    if (fColourIcon != nullptr) platform::DisposeHandle(fColourIcon);
}

void AIcon::aGetDimensions(int16_t* width, int16_t* height) const
{
    int16_t w = 0;
    int16_t h = 0;
    if (fColourIcon != nullptr) {
        const uint8_t* bounds = reinterpret_cast<const uint8_t*>(*fColourIcon) + 6;
        h = int16_t(int16_t(platform::ReadBE16(bounds + 4)) - int16_t(platform::ReadBE16(bounds)));
        w = int16_t(int16_t(platform::ReadBE16(bounds + 6)) - int16_t(platform::ReadBE16(bounds + 2)));
    }
    if (width != nullptr) *width = w;
    if (height != nullptr) *height = h;
}

void AIcon::aDraw(const platform::Rect& r, bool disabled, bool centred, bool)
{
    Draw(r, centred, disabled ? Form::Disabled : Form::Normal, 0);
}

void AIcon::aDrawDimmed(const platform::Rect& r, bool centred, int16_t level, bool)
{
    Draw(r, centred, Form::Dimmed, level);
}

void AIcon::aDrawChangedCol(const platform::Rect& r, bool centred) { Draw(r, centred, Form::ChangedColours, 0); }

void AIcon::Draw(platform::Rect r, bool centred, Form form, int16_t level)
{
    if (fColourIcon == nullptr) {
        if (!fFallback) return;
        PlotFallback(centred ? Centred(r, 32, 32) : r);
        return;
    }
    if (centred) {
        int16_t width;
        int16_t height;
        aGetDimensions(&width, &height);
        r = Centred(r, width, height);
    }
    if (form == Form::Normal && fBitmap != nullptr) {
        platform::Rect at = {r.top, r.left, int16_t(r.top + fBitmap->GetHeight()),
                             int16_t(r.left + fBitmap->GetWidth())};
        fBitmap->Draw(at, 1, 0xFFFFFF, false);
        return;
    }
    if (gLookServices == nullptr) return;
    switch (form) {
    case Form::Normal:
        if (gLookServices->plot) gLookServices->plot(r, fColourIcon);
        break;
    case Form::Disabled:
        if (gLookServices->plotDisabled) gLookServices->plotDisabled(r, fColourIcon);
        break;
    case Form::Dimmed:
        if (gLookServices->plotDimmed) gLookServices->plotDimmed(r, fColourIcon, level);
        break;
    case Form::ChangedColours:
        if (gLookServices->plotChangedColours) gLookServices->plotChangedColours(r, fColourIcon);
        break;
    }
}

// The 32 by 32 one-bit 'ICON', scaled into the rectangle of the current port.
void AIcon::PlotFallback(const platform::Rect& r)
{
    platform::Handle icon = platform::GetResource(platform::FourCC("ICON"), fID);
    if (icon == nullptr || platform::GetHandleSize(icon) < kBlackAndWhiteIconSize) return;
    platform::GrafPtr port = nullptr;
    platform::GetPort(&port);
    if (port == nullptr) return;
    int8_t state = platform::HGetState(icon);
    platform::HLock(icon);
    platform::BitMap source;
    source.baseAddr = *icon;
    source.rowBytes = 4;
    source.bounds = {0, 0, 32, 32};
    platform::CopyBits(&source, platform::GetPortBitMapForCopyBits(port), &source.bounds, &r, platform::srcCopy,
                       nullptr);
    platform::HSetState(icon, state);
}

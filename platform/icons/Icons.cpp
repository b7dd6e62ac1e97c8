#include "platform/icons/Icons.h"

#include <algorithm>
#include <cstring>

#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/PixMaps.h"
#include "platform/drawing/Ports.h"
#include "platform/icons/IconPlot.h"
#include "platform/pictures/Pictures.h"
#include "platform/resfiles/Resources.h"

namespace platform {

namespace {

// 'cicn', big-endian:
//  off size
//   0  50  pixel map: base address, rowBytes 4, bounds 6, pmVersion 14,
//          packType 16, ... pixelSize 32, cmpCount 34, cmpSize 36, ...
//  50  14  mask bitmap: base address, rowBytes 54, bounds 56
//  64  14  image bitmap: base address, rowBytes 68 (0: none), bounds 70
//  78   4  data handle
//  82      mask rows, image rows, colour table (seed 4, flags 2, size 2,
//          size + 1 entries of value 2 and RGB 6), pixel rows
//  Anything that does not fit in the resource: damaged, no icon.
constexpr int32_t kHeader = 82;
constexpr int32_t kMaxSide = 1024;

Rect RectAt(const uint8_t* p) { return {ReadBES16(p), ReadBES16(p + 2), ReadBES16(p + 4), ReadBES16(p + 6)}; }

bool SaneBits(int32_t rowBytes, const Rect& b, int32_t depth, bool mayBeEmpty)
{
    int32_t w = int32_t(b.right) - b.left, h = int32_t(b.bottom) - b.top;
    if (mayBeEmpty && rowBytes == 0)
        return true;
    return w > 0 && h > 0 && w <= kMaxSide && h <= kMaxSide && rowBytes >= (w * depth + 7) / 8 &&
           rowBytes <= kRowBytesMask;
}

}  // namespace

OSErr CIconFromResource(const uint8_t* r, int32_t size, CIconHandle* out)
{
    *out = nullptr;
    if (size < kHeader)
        return codecBadDataErr;
    const int32_t pixRB = ReadBE16(r + 4) & kRowBytesMask;
    const Rect pixBounds = RectAt(r + 6);
    const int16_t depth = ReadBES16(r + 32);
    const int32_t maskRB = ReadBE16(r + 54) & kRowBytesMask;
    const Rect maskBounds = RectAt(r + 56);
    const int32_t bmapRB = ReadBE16(r + 68) & kRowBytesMask;
    const Rect bmapBounds = RectAt(r + 70);
    if ((depth != 1 && depth != 2 && depth != 4 && depth != 8) || !SaneBits(pixRB, pixBounds, depth, false) ||
        !SaneBits(maskRB, maskBounds, 1, false) || !SaneBits(bmapRB, bmapBounds, 1, true))
        return codecBadDataErr;
    const int64_t maskBytes = int64_t(maskRB) * (maskBounds.bottom - maskBounds.top);
    const int64_t bmapBytes = bmapRB ? int64_t(bmapRB) * (bmapBounds.bottom - bmapBounds.top) : 0;
    int64_t at = kHeader + maskBytes + bmapBytes;
    if (at + 8 > size)
        return codecBadDataErr;
    const int32_t entries = int32_t(ReadBES16(r + at + 6)) + 1;
    const uint16_t flags = ReadBE16(r + at + 4);
    if (entries < 1 || entries > 256 || at + 8 + int64_t(entries) * 8 > size)
        return codecBadDataErr;
    const uint8_t* table = r + at + 8;
    at += 8 + int64_t(entries) * 8;
    const int64_t pixBytes = int64_t(pixRB) * (pixBounds.bottom - pixBounds.top);
    if (at + pixBytes > size)
        return codecBadDataErr;

    auto icon = reinterpret_cast<CIconHandle>(NewHandleClear(Size(sizeof(CIcon))));
    Handle pixels = icon ? NewHandle(Size(pixBytes)) : nullptr;
    Handle masks = pixels ? NewHandle(Size(std::max<int64_t>(maskBytes + bmapBytes, 1))) : nullptr;
    CTabHandle colours = masks ? NewCTable(int16_t(1 << depth)) : nullptr;
    if (!colours) {
        if (masks)
            DisposeHandle(masks);
        if (pixels)
            DisposeHandle(pixels);
        if (icon)
            DisposeHandle(reinterpret_cast<Handle>(icon));
        return memFullErr;
    }
    std::memcpy(*masks, r + kHeader, size_t(maskBytes + bmapBytes));
    std::memcpy(*pixels, r + at, size_t(pixBytes));
    ColorSpec* e = CTabEntries(colours);
    const int32_t room = 1 << depth;
    for (int32_t i = 0; i < room; ++i)
        e[i] = {int16_t(i), {0, 0, 0}};
    for (int32_t i = 0; i < entries; ++i) {
        const uint8_t* c = table + i * 8;
        // Device tables list entries in order; others name their index.
        int32_t index = (flags & 0x8000) ? i : ReadBE16(c);
        if (index < room)
            e[index].rgb = {ReadBE16(c + 2), ReadBE16(c + 4), ReadBE16(c + 6)};
    }
    CIcon& ci = **icon;
    ci.iconPMap.rowBytes = int16_t(kPixMapFlag | pixRB);
    ci.iconPMap.bounds = pixBounds;
    ci.iconPMap.pixelType = 0;
    ci.iconPMap.pixelSize = depth;
    ci.iconPMap.cmpCount = 1;
    ci.iconPMap.cmpSize = depth;
    ci.iconPMap.hRes = ci.iconPMap.vRes = 72 << 16;
    ci.iconPMap.pmTable = colours;
    ci.iconMask.rowBytes = int16_t(maskRB);
    ci.iconMask.bounds = maskBounds;
    ci.iconBMap.rowBytes = int16_t(bmapRB);
    ci.iconBMap.bounds = bmapBounds;
    ci.iconData = pixels;
    ci.iconMaskData = masks;
    *out = icon;
    return noErr;
}

namespace {

// The one-bit icon and mask of an 'ICN#' or 'ics#' of `side` pixels.
struct OneBitIcon {
    BitMap image{}, mask{};
    OneBitIcon(Handle h, int16_t side)
    {
        int16_t rowBytes = int16_t((side + 7) / 8);
        image.baseAddr = *h;
        image.rowBytes = rowBytes;
        image.bounds = {0, 0, side, side};
        mask = image;
        mask.baseAddr = *h + rowBytes * side;
    }
};

struct IconSuite {
    Handle large;       // 'ICN#'
    Handle small;       // 'ics#'
    CIconHandle colour;
};

Handle OneBitResource(const char (&type)[5], int16_t id, int16_t side)
{
    Handle h = GetResource(FourCC(type), id);
    return h && GetHandleSize(h) >= Size(2 * side * side / 8) ? h : nullptr;
}

Rect Place(const Rect& r, int16_t w, int16_t h, int16_t align)
{
    int32_t rw = r.right - r.left, rh = r.bottom - r.top;
    if (w > rw || h > rh) {
        // Too big for the rectangle: scaled down, keeping its proportions.
        int32_t sw = rw, sh = rh;
        if (int64_t(w) * rh > int64_t(h) * rw)
            sh = int32_t(int64_t(h) * rw / w);
        else
            sw = int32_t(int64_t(w) * rh / h);
        w = int16_t(std::max(sw, 1));
        h = int16_t(std::max(sh, 1));
    }
    int32_t left = r.left + (rw - w) / 2, top = r.top + (rh - h) / 2;
    switch (align & 3) {
    case kAlignTop: top = r.top; break;
    case kAlignBottom: top = r.bottom - h; break;
    default: break;
    }
    switch (align & 12) {
    case kAlignLeft: left = r.left; break;
    case kAlignRight: left = r.right - w; break;
    default: break;
    }
    return {int16_t(top), int16_t(left), int16_t(top + h), int16_t(left + w)};
}

bool PlotColourIcon(const Rect* r, CIconHandle icon, int16_t transform)
{
    CIcon& ci = **icon;
    int8_t pixState = HGetState(ci.iconData), maskState = HGetState(ci.iconMaskData);
    HLock(ci.iconData);
    HLock(ci.iconMaskData);
    PixMap pm = ci.iconPMap;
    pm.baseAddr = *ci.iconData;
    BitMap mask = ci.iconMask;
    mask.baseAddr = *ci.iconMaskData;
    bool ok = PlotMaskedImage(reinterpret_cast<const BitMap*>(&pm), &mask, r, transform);
    HSetState(ci.iconData, pixState);
    HSetState(ci.iconMaskData, maskState);
    return ok;
}

}  // namespace

CIconHandle GetCIcon(int16_t iconId)
{
    Handle res = GetResource(FourCC("cicn"), iconId);
    if (!res) {
        SetQDError(resNotFound);
        return nullptr;
    }
    CIconHandle icon = nullptr;
    int8_t state = HGetState(res);
    HLock(res);
    OSErr err = CIconFromResource(reinterpret_cast<const uint8_t*>(*res), GetHandleSize(res), &icon);
    HSetState(res, state);
    SetQDError(err);
    return icon;
}

void PlotCIcon(const Rect* theRect, CIconHandle theIcon)
{
    if (!theRect || !theIcon || !*theIcon)
        return;
    SetQDError(PlotColourIcon(theRect, theIcon, kTransformNone) ? noErr : memFullErr);
}

void DisposeCIcon(CIconHandle theIcon)
{
    if (!theIcon || !*theIcon)
        return;
    DisposeCTable((*theIcon)->iconPMap.pmTable);
    DisposeHandle((*theIcon)->iconData);
    DisposeHandle((*theIcon)->iconMaskData);
    DisposeHandle(reinterpret_cast<Handle>(theIcon));
}

Handle GetIcon(int16_t iconId)
{
    Handle h = GetResource(FourCC("ICON"), iconId);
    return h && GetHandleSize(h) >= 128 ? h : nullptr;
}

void PlotIcon(const Rect* theRect, Handle theIcon)
{
    GrafPtr port = GetQDGlobalsThePort();
    if (!port || !theRect || !theIcon || !*theIcon || GetHandleSize(theIcon) < 128)
        return;
    int8_t state = HGetState(theIcon);
    HLock(theIcon);
    BitMap bits{*theIcon, 4, {0, 0, 32, 32}};
    RGBColor fore = port->rgbFgColor, back = port->rgbBkColor;
    RGBColor black{0, 0, 0}, white{0xFFFF, 0xFFFF, 0xFFFF};
    RGBForeColor(&black);
    RGBBackColor(&white);
    CopyBits(&bits, GetPortBitMapForCopyBits(port), &bits.bounds, theRect, srcCopy, nullptr);
    RGBForeColor(&fore);
    RGBBackColor(&back);
    HSetState(theIcon, state);
}

OSErr GetIconSuite(IconSuiteRef* theIconSuite, int16_t theResID, IconSelectorValue selector)
{
    if (!theIconSuite)
        return paramErr;
    *theIconSuite = nullptr;
    IconSuite suite{nullptr, nullptr, nullptr};
    if (selector & kSelectorLarge1Bit)
        suite.large = OneBitResource("ICN#", theResID, 32);
    if (selector & kSelectorSmall1Bit)
        suite.small = OneBitResource("ics#", theResID, 16);
    if (selector & kSelectorColorIcon)
        suite.colour = GetCIcon(theResID);
    if (!suite.large && !suite.small && !suite.colour)
        return resNotFound;
    Handle h = NewHandle(Size(sizeof(IconSuite)));
    if (!h) {
        if (suite.large)
            ReleaseResource(suite.large);
        if (suite.small)
            ReleaseResource(suite.small);
        DisposeCIcon(suite.colour);
        return memFullErr;
    }
    std::memcpy(*h, &suite, sizeof suite);
    *theIconSuite = h;
    return noErr;
}

OSErr PlotIconSuite(const Rect* theRect, IconAlignmentType align, IconTransformType transform,
                    IconSuiteRef theIconSuite)
{
    if (!theRect || !theIconSuite || !*theIconSuite || GetHandleSize(theIconSuite) < Size(sizeof(IconSuite)))
        return paramErr;
    IconSuite suite;
    std::memcpy(&suite, *theIconSuite, sizeof suite);
    const int32_t side = std::min(theRect->right - theRect->left, theRect->bottom - theRect->top);
    if (suite.colour && (side >= 32 || (!suite.small && !suite.large))) {
        const Rect& b = (*suite.colour)->iconPMap.bounds;
        Rect at = Place(*theRect, int16_t(b.right - b.left), int16_t(b.bottom - b.top), align);
        return PlotColourIcon(&at, suite.colour, transform) ? noErr : memFullErr;
    }
    Handle h = (side < 32 && suite.small) || !suite.large ? suite.small : suite.large;
    if (!h)
        return resNotFound;
    int16_t iconSide = h == suite.small ? 16 : 32;
    Rect at = Place(*theRect, iconSide, iconSide, align);
    int8_t state = HGetState(h);
    HLock(h);
    OneBitIcon icon(h, iconSide);
    bool ok = PlotMaskedImage(&icon.image, &icon.mask, &at, transform);
    HSetState(h, state);
    return ok ? noErr : memFullErr;
}

OSErr PlotIconID(const Rect* theRect, IconAlignmentType align, IconTransformType transform, int16_t theResID)
{
    IconSuiteRef suite = nullptr;
    OSErr err = GetIconSuite(&suite, theResID, kSelectorAllAvailableData);
    if (err != noErr)
        return err;
    err = PlotIconSuite(theRect, align, transform, suite);
    // The resources stay: other callers may hold the same handles.
    DisposeIconSuite(suite, false);
    return err;
}

OSErr DisposeIconSuite(IconSuiteRef theIconSuite, Boolean disposeData)
{
    if (!theIconSuite || !*theIconSuite)
        return paramErr;
    IconSuite suite;
    std::memcpy(&suite, *theIconSuite, sizeof suite);
    if (disposeData) {
        if (suite.large)
            ReleaseResource(suite.large);
        if (suite.small)
            ReleaseResource(suite.small);
    }
    // The colour icon is the suite's own copy of its resource.
    DisposeCIcon(suite.colour);
    DisposeHandle(theIconSuite);
    return noErr;
}

}  // namespace platform

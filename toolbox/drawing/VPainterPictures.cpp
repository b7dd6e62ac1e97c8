// The image side of a painter: pictures placed in their frames, colour
// icons in their four states, and text turned by the text angle.
#include <algorithm>
#include <cstring>

#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/PixMaps.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/pictures/Pictures.h"
#include "toolbox/drawing/RotatePixels.h"
#include "toolbox/drawing/VFontBuffer.h"
#include "toolbox/drawing/VImageData.h"
#include "toolbox/drawing/VImageParser.h"
#include "toolbox/drawing/VPainter.h"
#include "toolbox/drawing/VPicture.h"
#include "toolbox/foundation/Colors.h"
#include "toolbox/foundation/RealTruncation.h"
#include "toolbox/foundation/VIcon.h"
#include "toolbox/foundation/VMemoryMgr.h"

using namespace platform;

namespace {

int16_t Clamp16(int64_t v) { return int16_t(std::clamp<int64_t>(v, -32768, 32767)); }
int32_t Clamp32(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

Rect ToRect(const LongRect& r) { return Rect{Clamp16(r.top), Clamp16(r.left), Clamp16(r.bottom), Clamp16(r.right)}; }

// Printers take pen widths as a ratio after this comment.
constexpr int16_t kLineWidthComment = 182;

// The port's colours, put back when the scope ends.
class SavedColors {
public:
    SavedColors()
    {
        GetForeColor(&fFore);
        GetBackColor(&fBack);
    }
    ~SavedColors()
    {
        RGBForeColor(&fFore);
        RGBBackColor(&fBack);
    }
    SavedColors(const SavedColors&) = delete;
    SavedColors& operator=(const SavedColors&) = delete;

private:
    RGBColor fFore{}, fBack{};
};

RGBColor PlatformColor(uint32_t color)
{
    RGBColor c;
    MAC_MakeRGB(color, &c);
    return c;
}

// An icon handle holds its map's header, then its bits.
template <class Map>
Map MapOf(char** handle)
{
    Map map;
    std::memcpy(&map, *handle, sizeof(Map));
    map.baseAddr = *handle + sizeof(Map);
    return map;
}

}  // namespace

// --- pictures --------------------------------------------------------------

void VPainter::_MakePictureRect(const VPicture& picture, LongRect& imageRect, LongRect& frameRect, double scale) const
{
    const int64_t px0 = picture.GetLeft(), py0 = picture.GetTop();
    const int64_t fw = picture.GetWidth(), fh = picture.GetHeight();
    int32_t nw = 0, nh = 0;
    const VImageData* image = picture.GetImageData();
    if (image) image->GetWidthHeight(nw, nh);
    int64_t px = px0, py = py0, w = 0, h = 0;
    if (image) {
        switch (picture.GetDisplayMode()) {
        case kPictureCentred:
            w = nw, h = nh;
            px += TruncateToLong8(scale * ((fw - nw) >> 1));
            py += TruncateToLong8(scale * ((fh - nh) >> 1));
            break;
        case kPictureScaled:
        case kPictureScaledCentred: {
            // An image of no size has no proportions: nothing to place.
            if (nw <= 0 || nh <= 0) break;
            const float fx = float(fw) / float(nw), fy = float(fh) / float(nh);
            if (fy <= fx) {
                w = TruncateToLong8(nw * fy), h = TruncateToLong8(nh * fy);
                if (picture.GetDisplayMode() == kPictureScaledCentred) px += TruncateToLong8(scale * ((fw - w) >> 1));
            } else {
                w = TruncateToLong8(nw * fx), h = TruncateToLong8(nh * fx);
                if (picture.GetDisplayMode() == kPictureScaledCentred) py += TruncateToLong8(scale * ((fh - h) >> 1));
            }
            break;
        }
        case kPictureStretched: w = fw, h = fh; break;
        default: w = nw, h = nh; break;  // top left, tiled
        }
    }
    const double sx = fScaling ? fScaleX : 1.0, sy = fScaling ? fScaleY : 1.0;
    const int64_t left = TruncateToLong8(px * sx + fOffsetX), top = TruncateToLong8(py * sy + fOffsetY);
    imageRect = {Clamp32(top), Clamp32(left), Clamp32(TruncateToLong8(h * scale * sy + double(top))),
                 Clamp32(TruncateToLong8(w * scale * sx + double(left)))};
    if (!image) imageRect = {0, 0, 0, 0};
    const int64_t fl = TruncateToLong8(px0 * sx + fOffsetX), ft = TruncateToLong8(py0 * sy + fOffsetY);
    frameRect = {Clamp32(ft), Clamp32(fl), Clamp32(TruncateToLong8(scale * fh * sy + double(ft))),
                 Clamp32(TruncateToLong8(scale * fw * sx + double(fl)))};
}

bool VPainter::CopyPictureTiles(Handle picture, const LongRect& imageRect, int32_t columns, int32_t rows,
                                int16_t mode)
{
    const int32_t w = imageRect.right - imageRect.left, h = imageRect.bottom - imageRect.top;
    const Rect bounds{0, 0, Clamp16(h), Clamp16(w)};
    GWorldPtr world = nullptr;
    GDHandle device = GetGDevice();
    CTabHandle table = device && *device && (*device)->gdPMap ? (*(*device)->gdPMap)->pmTable : nullptr;
    if (NewGWorld(&world, 0, &bounds, table, nullptr, useTempMem) != noErr || !world) return false;
    CGrafPtr savedPort;
    GDHandle savedDevice;
    GetGWorld(&savedPort, &savedDevice);
    SetGWorld(world, nullptr);
    EraseRect(&bounds);
    DrawPicture(picture, &bounds);
    SetGWorld(savedPort, savedDevice);
    {
        SavedColors saved;
        const RGBColor fore = PlatformColor(GetStdColor(10)), back = PlatformColor(GetStdColor(0));
        RGBForeColor(&fore);
        RGBBackColor(&back);
        const BitMap* from = GetPortBitMapForCopyBits(world);
        const BitMap* to = GetPortBitMapForCopyBits(fCurPort);
        for (int32_t c = 0; c < columns; ++c)
            for (int32_t r = 0; r < rows; ++r) {
                const int64_t left = int64_t(imageRect.left) + int64_t(c) * w;
                const int64_t top = int64_t(imageRect.top) + int64_t(r) * h;
                const Rect dst{Clamp16(top), Clamp16(left), Clamp16(top + h), Clamp16(left + w)};
                CopyBits(from, to, &bounds, &dst, mode, nullptr);
            }
    }
    DisposeGWorld(world);
    return true;
}

void VPainter::DrawVPicture(VPicture& picture, double scale)
{
    VImageData* image = picture.GetImageData();
    if (!image || !image->IsValid() || !SelectPort()) return;
    // Another kind is drawn through a picture made from it, which the
    // value never sees: the image stays as it was.
    VPictData converted;
    Handle data = image->GetData();
    if (image->GetImageKind() != kImagePICT) {
        converted.FromImage(*image);
        data = converted.GetData();
    }
    if (!data) return;

    const bool printer = IsPrinterPainter();
    if (printer) {
        if (Handle ratio = NewHandle(4)) {
            WriteBE16(*ratio, 1);
            WriteBE16(*ratio + 2, 1);
            PicComment(kLineWidthComment, 4, ratio);
            DisposeHandle(ratio);
        }
    }
    LongRect imageRect, frameRect;
    _MakePictureRect(picture, imageRect, frameRect, scale);
    const int64_t iw = int64_t(imageRect.right) - imageRect.left, ih = int64_t(imageRect.bottom) - imageRect.top;
    const int64_t fw = int64_t(frameRect.right) - frameRect.left, fh = int64_t(frameRect.bottom) - frameRect.top;
    SelectPort();
    FastRepairPicture(data);

    const int16_t mode = picture.GetDisplayMode();
    const bool clip = mode == kPictureTiled ||
                      ((mode == kPictureTopLeft || mode == kPictureCentred) && (iw > fw || ih > fh));
    RgnHandle savedClip = nullptr;
    if (clip) {
        savedClip = NewRgn();
        GetClip(savedClip);
        const Rect frame = ToRect(frameRect);
        RgnHandle rgn = NewRgn();
        RectRgn(rgn, &frame);
        ApplyClip(rgn, true);
        DisposeRgn(rgn);
    }
    const bool transparentCopy = picture.GetTransferMode() == kPictureTransparent;
    const int16_t copyMode = transparentCopy ? int16_t(transparent) : int16_t(srcCopy);
    if (iw <= 0 || ih <= 0) {
        // An image of no size draws nothing (and tiles none).
    } else if (mode == kPictureTiled) {
        const int32_t columns = int32_t(std::max<int64_t>(fw, 0) / iw + 1);
        const int32_t rows = int32_t(std::max<int64_t>(fh, 0) / ih + 1);
        if (!CopyPictureTiles(data, imageRect, columns, rows, copyMode)) {
            for (int32_t c = 0; c < columns; ++c)
                for (int32_t r = 0; r < rows; ++r) {
                    const int64_t left = imageRect.left + c * iw, top = imageRect.top + r * ih;
                    const Rect dst{Clamp16(top), Clamp16(left), Clamp16(top + ih), Clamp16(left + iw)};
                    DrawPicture(data, &dst);
                }
        }
    } else if (!transparentCopy || !CopyPictureTiles(data, imageRect, 1, 1, copyMode)) {
        const Rect dst = ToRect(imageRect);
        DrawPicture(data, &dst);
    }
    if (savedClip) {
        SetClip(savedClip);
        DisposeRgn(savedClip);
    }
    // Playing a picture changes the port's pen, colours and text settings.
    fAppliedBack = fAppliedFore = kNoColor;
    fLineDirty = fFillDirty = fEraseDirty = fTextModeDirty = true;
    fFontDirty |= 2;
    if (printer) _UpdateLineBrush();
}

// --- icons -----------------------------------------------------------------

void VPainter::DrawVIcon(const VIcon& icon, IconState state)
{
    char** bitmap = icon.GetBitmap();
    char** mask = icon.GetMask();
    PixMapHandle pixMap = icon.GetPixMap();
    if (!bitmap || !mask || !pixMap || state < 0 || state > 3 || !SelectPort()) return;
    const Rect dst = MapRect(icon.GetLeft(), icon.GetTop(), icon.GetWidth(), icon.GetHeight());
    const BitMap* port = GetPortBitMapForCopyBits(fCurPort);
    SavedColors saved;
    const RGBColor fore = PlatformColor(GetStdColor(10)), back = PlatformColor(GetStdColor(0));
    RGBForeColor(&fore);
    RGBBackColor(&back);
    if (state == 3) {
        const BitMap bits = MapOf<BitMap>(bitmap);
        CopyBits(&bits, port, &bits.bounds, &dst, srcBic, nullptr);
        return;
    }
    const BitMap maskBits = MapOf<BitMap>(mask);
    CopyBits(&maskBits, port, &maskBits.bounds, &dst, srcOr, nullptr);
    CopyBits(&maskBits, port, &maskBits.bounds, &dst, srcXor, nullptr);
    PixMap colors = MapOf<PixMap>(reinterpret_cast<char**>(pixMap));
    // Grey and pale icons are drawn through a changed copy of the table;
    // the icon's own table is never touched.
    CTabHandle changed = nullptr;
    if ((state == 1 || state == 2) && colors.pmTable) {
        const int32_t count = CTabEntryCount(colors.pmTable);
        changed = NewCTable(int16_t(count));
        if (!changed) return;
        **changed = **colors.pmTable;
        const ColorSpec* from = CTabEntries(colors.pmTable);
        ColorSpec* to = CTabEntries(changed);
        for (int32_t i = 0; i < count; ++i) {
            to[i] = from[i];
            if (state == 1) {
                DimColor(&to[i].rgb);
            } else {
                to[i].rgb.red = uint16_t((uint32_t(to[i].rgb.red) + 65535) / 2);
                to[i].rgb.green = uint16_t((uint32_t(to[i].rgb.green) + 65535) / 2);
                to[i].rgb.blue = uint16_t((uint32_t(to[i].rgb.blue) + 65535) / 2);
            }
        }
        colors.pmTable = changed;
    }
    // Through the mask: dimmed or paled white around the icon is no
    // longer the background colour, and must not box the icon in.
    CopyDeepMask(&colors, &maskBits, port, &colors.bounds, &maskBits.bounds, &dst, transparent, nullptr);
    if (changed) DisposeCTable(changed);
}

// --- rotated text ------------------------------------------------------------

bool VPainter::_PrepareForDrawingRotatedText(const Rect& rect, GWorldPtr& world, CGrafPtr& savedPort,
                                             GDHandle& savedDevice, PixMapHandle& pixMap)
{
    if (fTextAngle == 0) return false;
    if (world) DisposeGWorld(world);
    world = nullptr;
    if (NewGWorld(&world, 32, &rect, nullptr, nullptr, useTempMem) != noErr || !world) {
        world = nullptr;
        return false;
    }
    pixMap = GetGWorldPixMap(world);
    if (!LockPixels(pixMap)) return false;
    GetGWorld(&savedPort, &savedDevice);
    SetGWorld(world, nullptr);
    LookUpFontNum();
    TextFont(fFontNum);
    TextSize(Clamp16(TruncateToLong8(fFontSize)));
    TextFace(fFace);
    TextMode(srcOr);
    const RGBColor back = PlatformColor(fEraseColor), fore = PlatformColor(fTextColor);
    RGBBackColor(&back);
    RGBForeColor(&fore);
    EraseRect(&rect);
    return true;
}

void VPainter::_FinishDrawingRotatedText(const Rect& rect, CGrafPtr savedPort, GDHandle savedDevice,
                                         PixMapHandle pixMap, int32_t x, int32_t y)
{
    if (fTextAngle == 0 || !pixMap) return;
    SetGWorld(savedPort, savedDevice);
    const int32_t ascent = fFontCache ? fFontCache->Ascent() : 0;
    int32_t outLeft = 0, outTop = 0, outWidth = 0, outHeight = 0;
    // Corners no pixel reaches take the background, which the copy skips.
    const uint8_t fill = (fEraseColor & 0xFFFFFF) == 0xFFFFFF ? 0xFF : 0;
    char* turned = RotatePixels(fTextAngle, GetPixBaseAddr(pixMap), GetPixRowBytes(pixMap), 0, -ascent,
                                int32_t(rect.right) - rect.left, int32_t(rect.bottom) - rect.top, outLeft, outTop,
                                outWidth, outHeight, 32, 16, fill);
    UnlockPixels(pixMap);
    if (!turned) return;
    PixMap map;
    map.baseAddr = turned;
    map.rowBytes = int16_t(GetRowBytes(outWidth, 32, 16) | kPixMapFlag);
    map.bounds = Rect{0, 0, Clamp16(outHeight), Clamp16(outWidth)};
    map.hRes = map.vRes = 72 << 16;
    map.pixelType = RGBDirect;
    map.pixelSize = 32;
    map.cmpCount = 3;
    map.cmpSize = 8;
    map.pmTable = (*pixMap)->pmTable;
    const Rect dst{Clamp16(int64_t(y) + outTop), Clamp16(int64_t(x) + outLeft),
                   Clamp16(int64_t(y) + outTop + outHeight), Clamp16(int64_t(x) + outLeft + outWidth)};
    if (SelectPort()) {
        const RGBColor back = PlatformColor(fEraseColor);
        RGBBackColor(&back);
        fAppliedBack = fEraseColor;
        CopyBits(&map, GetPortBitMapForCopyBits(fCurPort), &map.bounds, &dst, transparent, nullptr);
    }
    gMemory->DisposePtr(turned);
}

#include "app/dialogs/DrawingUtilities.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/BusyCursor.h"
#include "app/appl/Utilities.h"
#include "looks/GrayLevels.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Blits.h"
#include "platform/drawing/PixMaps.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Rects.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/ThemeText.h"
#include "platform/resfiles/Resources.h"
#include "platform/screen/Screen.h"
#include "platform/text/SingleByteSets.h"
#include "platform/theme/Theme.h"

using namespace platform;

QDProcs G_qdTransp;

namespace {

// Keeps the pen colours and restores them when it goes.
class ColourSaver {
public:
    ColourSaver()
    {
        GetForeColor(&fore_);
        GetBackColor(&back_);
    }
    ~ColourSaver()
    {
        RGBForeColor(&fore_);
        RGBBackColor(&back_);
    }

private:
    RGBColor fore_, back_;
};

void Gray(int16_t level)
{
    RGBColor c;
    pp_getGray(level, &c);
    RGBForeColor(&c);
}

void Line(int16_t h1, int16_t v1, int16_t h2, int16_t v2)
{
    MoveTo(h1, v1);
    LineTo(h2, v2);
}

uint32_t ContentPixel()
{
    return (uint32_t(G_DlogContentColor.red >> 8) << 16) | (uint32_t(G_DlogContentColor.green >> 8) << 8) |
           uint32_t(G_DlogContentColor.blue >> 8);
}

}  // namespace

Rect GetWScreenRect(WindowRef window)
{
    Rect r = ScreenBounds();
    // One screen, at (0, 0): the menu bar is on it.
    r.top = int16_t(r.top + MenuBarHeight());
    if (window && IsValidWindowPtr(window)) {
        Rect structure{}, content{};
        if (GetWindowBounds(window, kWindowStructureRgn, &structure) == noErr &&
            GetWindowBounds(window, kWindowContentRgn, &content) == noErr)
            r.top = int16_t(r.top + (content.top - structure.top));
    }
    InsetRect(&r, 4, 4);
    return r;
}

void DLogSaveScreen(ResType type, int16_t id, Handle* resource, Handle* savedBits, Rect* rect)
{
    SetArrowCursor();
    *savedBits = nullptr;
    *rect = Rect{0, 0, 0, 0};
    *resource = GetResource(type, id);
    if (!*resource || !**resource || GetHandleSize(*resource) < 8) return;
    uint8_t* p = reinterpret_cast<uint8_t*>(**resource);
    Rect r{int16_t(ReadBE16(p)), int16_t(ReadBE16(p + 2)), int16_t(ReadBE16(p + 4)), int16_t(ReadBE16(p + 6))};
    DialogCenter(&r);
    WriteBE16(p, uint16_t(r.top));
    WriteBE16(p + 2, uint16_t(r.left));
    WriteBE16(p + 4, uint16_t(r.bottom));
    WriteBE16(p + 6, uint16_t(r.right));
    *rect = r;
}

void DLogRestoreScreen(Handle resource, Handle, const Rect*, bool)
{
    if (resource) ReleaseResource(resource);
    if (!GromMemHdl) GromMemHdl = NewHandle(kReserveSize);
}

void DrawSmallIcon(int16_t id, int16_t index, const Rect* r)
{
    Handle sicn = GetResource(FourCC("SICN"), id);
    if (!sicn || !*sicn || index < 0 || GetHandleSize(sicn) < Size(32 * (index + 1))) return;
    BitMap bits;
    bits.baseAddr = *sicn + 32 * index;
    bits.rowBytes = 2;
    bits.bounds = Rect{0, 0, 16, 16};
    GrafPtr port = nullptr;
    GetPort(&port);
    CopyBits(&bits, GetPortBitMapForCopyBits(port), &bits.bounds, r, srcCopy, nullptr);
}

void SectClip(const Rect* r, RgnHandle save)
{
    RgnHandle clip = NewRgn();
    RgnHandle box = NewRgn();
    if (!clip || !box) {
        if (clip) DisposeRgn(clip);
        if (box) DisposeRgn(box);
        return;
    }
    GetClip(clip);
    if (save) CopyRgn(clip, save);
    RectRgn(box, r);
    SectRgn(clip, box, clip);
    SetClip(clip);
    DisposeRgn(clip);
    DisposeRgn(box);
}

namespace {

// Runs `draw` clipped to the window's bottom-right 15-pixel square.
template <class Draw>
void InGrowSquare(WindowRef window, Draw draw)
{
    if (!window) return;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(window);
    Rect port{};
    GetPortBounds(GetWindowPort(window), &port);
    const Rect square{int16_t(port.bottom - 15), int16_t(port.right - 15), port.bottom, port.right};
    RgnHandle old = NewRgn();
    if (old) {
        SectClip(&square, old);
        // Short of memory, the square is left for the next update: the
        // clip and the port go back all the same.
        try {
            draw(square);
        } catch (const std::bad_alloc&) {
        }
        SetClip(old);
        DisposeRgn(old);
    }
    SetPort(saved);
}

}  // namespace

void SqrDrawGrowIcon(WindowRef window)
{
    InGrowSquare(window, [window](const Rect&) { DrawGrowIcon(window); });
}

void SqrEraseGrowIcon(WindowRef window)
{
    InGrowSquare(window, [](const Rect& square) { EraseRect(&square); });
}

void EraseGrowIcon()
{
    GrafPtr port = nullptr;
    GetPort(&port);
    Rect r{};
    GetPortBounds(port, &r);
    const Rect right{r.top, int16_t(r.right - 15), 32000, r.right};
    const Rect bottom{int16_t(r.bottom - 15), r.left, r.bottom, 32000};
    EraseRect(&right);
    EraseRect(&bottom);
}

void SetWhiteBackGround(RGBColor* saved)
{
    if (saved) GetBackColor(saved);
    const RGBColor white{65535, 65535, 65535};
    RGBBackColor(&white);
}

void ResetWhiteBackGround(const RGBColor* saved)
{
    if (saved) RGBBackColor(saved);
}

void EraseWinBkRect(const Rect* r, int32_t) { EraseRect(r); }

void DrawLine(Point from, Point to)
{
    MoveTo(from.h, from.v);
    LineTo(to.h, to.v);
}

void Draw3DFrame(const Rect* r) { pp_DrawFrame(r, 1); }

void pp_DrawFrame(const Rect* r, int16_t raised)
{
    ColourSaver colours;
    Gray(raised ? 10 : 8);
    FrameRect(r);
    Gray(5);
    Line(int16_t(r->left - 1), r->bottom, int16_t(r->left - 1), int16_t(r->top - 1));
    LineTo(int16_t(r->right - 1), int16_t(r->top - 1));
    Gray(2);
    Line(r->right, int16_t(r->top + 1), r->right, r->bottom);
    LineTo(r->left, r->bottom);
}

void Draw3dLine(Point from, Point to)
{
    int16_t dh = 0, dv = 0;
    if (from.h == to.h) dh = 1;
    else if (from.v == to.v) dv = 1;
    else return;
    ColourSaver colours;
    Gray(5);
    Line(from.h, from.v, to.h, to.v);
    Gray(2);
    Line(int16_t(from.h + dh), int16_t(from.v + dv), int16_t(to.h + dh), int16_t(to.v + dv));
}

namespace {

void EraseBounds(const Rect* bounds, uint32_t, int16_t, Boolean) { EraseRect(bounds); }

void DrawPopUpTitle(const Rect* bounds, ThemeButtonKind, const ThemeButtonDrawInfo*, uintptr_t userData, int16_t,
                    Boolean)
{
    const auto* title = reinterpret_cast<const unsigned char*>(userData);
    std::u16string text;
    for (int i = 1; i <= title[0]; ++i) text += MacRomanToUnicode(title[i]);
    DrawThemeTextBox(text, kThemeSystemFont, kThemeStateActive, false, bounds, 0, nullptr);
}

}  // namespace

void pp_Brz_PopUpDraw(const Rect* r, int32_t, int32_t, const unsigned char* title)
{
    static const unsigned char empty[1] = {0};
    // Off: a mixed value would draw its bar across the title.
    const ThemeButtonDrawInfo info{kThemeStateActive, kThemeButtonOff, kThemeAdornmentNone};
    DrawThemeButton(r, kThemePopupButton, &info, nullptr, EraseBounds, DrawPopUpTitle,
                    reinterpret_cast<uintptr_t>(title ? title : empty));
}

void Mydrawgetcol(RGBColor* color, int16_t index, int16_t tableId)
{
    *color = RGBColor{0, 0, 0};
    Handle clut = GetResource(FourCC("clut"), tableId);
    if (!clut || !*clut || index <= 0 || GetHandleSize(clut) < 8) return;
    const auto* p = reinterpret_cast<const uint8_t*>(*clut);
    const int32_t entries = (GetHandleSize(clut) - 8) / 8;
    const int32_t count = std::min<int32_t>(int16_t(ReadBE16(p + 6)) + 1, entries);
    if (index >= count) return;
    const uint8_t* e = p + 8 + 8 * index;
    *color = RGBColor{ReadBE16(e + 2), ReadBE16(e + 4), ReadBE16(e + 6)};
}

void m_BitsProcChangeCol(const BitMap* src, const Rect* srcRect, const Rect* dstRect, int16_t mode, RgnHandle mask)
{
    if (!src || !(src->rowBytes & kPixMapFlag)) return StdBits(src, srcRect, dstRect, mode, mask);
    const auto* pm = static_cast<const PixMap*>(src);
    const int32_t rowBytes = pm->rowBytes & kRowBytesMask;
    const int32_t height = pm->bounds.bottom - pm->bounds.top;
    if (pm->pixelSize == 32 && pm->baseAddr && rowBytes > 0 && height > 0) {
        // The caller's pixels stay as they are: a recoloured copy is drawn.
        std::vector<uint32_t> pixels(size_t(rowBytes) * size_t(height) / 4);
        std::memcpy(pixels.data(), pm->baseAddr, pixels.size() * 4);
        const uint32_t content = ContentPixel();
        for (uint32_t& px : pixels)
            if ((px & 0x00FFFFFF) == 0x00FF00FF) px = (px & 0xFF000000) | content;
        PixMap copy = *pm;
        copy.baseAddr = reinterpret_cast<Ptr>(pixels.data());
        return StdBits(&copy, srcRect, dstRect, mode, mask);
    }
    if (pm->pixelSize <= 8 && pm->pmTable && *pm->pmTable) {
        Handle table = reinterpret_cast<Handle>(pm->pmTable);
        if (HandToHand(&table) != noErr) return StdBits(src, srcRect, dstRect, mode, mask);
        auto tab = reinterpret_cast<CTabHandle>(table);
        ColorSpec* entries = CTabEntries(tab);
        for (int16_t i = 0; i <= (*tab)->ctSize; ++i) {
            RGBColor& c = entries[i].rgb;
            // Magenta, as in direct pixels: white must stay white.
            if (c.red == 65535 && c.blue == 65535 && c.green == 0) {
                c = G_DlogContentColor;
                break;
            }
        }
        PixMap copy = *pm;
        copy.pmTable = tab;
        StdBits(&copy, srcRect, dstRect, mode, mask);
        DisposeHandle(table);
        return;
    }
    StdBits(src, srcRect, dstRect, mode, mask);
}

void InitTransparentProcs()
{
    SetStdProcs(&G_qdTransp);
    G_qdTransp.bitsProc = m_BitsProcChangeCol;
}

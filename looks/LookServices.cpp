#include "looks/LookServices.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "looks/VIHandler.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/theme/Theme.h"

using namespace platform;

namespace {

constexpr int16_t kDefaultScrollBar = 16;
constexpr int16_t kBoolBox = 10;
constexpr int32_t kTabHeader = 8;

RGBColor Rgb(int32_t rgb)
{
    return RGBColor{uint16_t(((rgb >> 16) & 0xFF) * 0x101), uint16_t(((rgb >> 8) & 0xFF) * 0x101),
                    uint16_t((rgb & 0xFF) * 0x101)};
}

VI_Handler* Resolved(VI_Handler* handler) { return handler ? handler : gVI ? gVI : VI_Manager::GetHandler(0); }

}  // namespace

void VISysForeColor(StdColor color, VI_Handler* handler)
{
    const RGBColor c = Rgb(Resolved(handler)->StdRGB(color));
    RGBForeColor(&c);
}

void VISysBackColor(StdColor color, VI_Handler* handler)
{
    const RGBColor c = Rgb(Resolved(handler)->StdRGB(color));
    RGBBackColor(&c);
}

void SaveForeBack(ForeBack* saved)
{
    GetForeColor(&saved->fore);
    GetBackColor(&saved->back);
}

void RestoreForeBack(const ForeBack* saved)
{
    RGBForeColor(&saved->fore);
    RGBBackColor(&saved->back);
}

int16_t GetScrollBarSize()
{
    int32_t width = 0;
    if (GetThemeMetric(kThemeMetricScrollBarWidth, &width) == noErr && width > 0 && width < 100)
        return int16_t(width);
    return kDefaultScrollBar;
}

bool MakePositiveRect(Rect* r)
{
    const bool h = r->right < r->left, v = r->bottom < r->top;
    if (h) std::swap(r->left, r->right);
    if (v) std::swap(r->top, r->bottom);
    return h != v;
}

int16_t TransformJustif(int16_t justification)
{
    switch (justification) {
    case -2: case -1: case 0: case 1: return justification;
    case 2: return -1;
    case 3: return 1;
    default: return 0;
    }
}

void drawtrait(const Rect& r, int16_t penWidth, int16_t penHeight, bool reversed)
{
    PenSize(std::max<int16_t>(penWidth, 1), std::max<int16_t>(penHeight, 1));
    const int16_t right = int16_t(std::max<int32_t>(r.left, r.right - std::max<int16_t>(penWidth, 1)));
    const int16_t bottom = int16_t(std::max<int32_t>(r.top, r.bottom - std::max<int16_t>(penHeight, 1)));
    if (reversed) {
        MoveTo(r.left, bottom);
        LineTo(right, r.top);
    } else {
        MoveTo(r.left, r.top);
        LineTo(right, bottom);
    }
}

void drawbool(const Rect& r, bool on, const unsigned char* title)
{
    const int16_t top = int16_t(r.top + (r.bottom - r.top - kBoolBox) / 2);
    const Rect box{top, r.left, int16_t(top + kBoolBox), int16_t(r.left + kBoolBox)};
    PenNormal();
    EraseRect(&box);
    FrameRect(&box);
    if (on) {
        MoveTo(box.left, box.top);
        LineTo(int16_t(box.right - 1), int16_t(box.bottom - 1));
        MoveTo(box.left, int16_t(box.bottom - 1));
        LineTo(int16_t(box.right - 1), box.top);
    }
    if (!title || !title[0]) return;
    FontInfo fi{};
    GetFontInfo(&fi);
    MoveTo(int16_t(box.right + 4), int16_t(r.top + (r.bottom - r.top + fi.ascent - fi.descent) / 2));
    DrawText(title + 1, 0, title[0]);
}

ClipSection::ClipSection(const Rect& r)
{
    saved_ = NewRgn();
    RgnHandle section = NewRgn();
    if (!saved_ || !section) {
        if (section) DisposeRgn(section);
        return;
    }
    GetClip(saved_);
    RectRgn(section, &r);
    SectRgn(section, saved_, section);
    SetClip(section);
    DisposeRgn(section);
}

ClipSection::~ClipSection()
{
    if (!saved_) return;
    SetClip(saved_);
    DisposeRgn(saved_);
}

Handle NewTab(int32_t elementSize)
{
    if (elementSize <= 0) return nullptr;
    Handle h = NewHandleClear(kTabHeader);
    if (h) WriteBE32(reinterpret_cast<uint8_t*>(*h) + 4, uint32_t(elementSize));
    return h;
}

int32_t TabCount(Handle table)
{
    if (!table || !*table || GetHandleSize(table) < kTabHeader) return 0;
    return int32_t(ReadBE32(reinterpret_cast<const uint8_t*>(*table)));
}

int32_t Add1Elem(Handle table)
{
    if (!table || !*table || GetHandleSize(table) < kTabHeader) return -1;
    const auto* head = reinterpret_cast<const uint8_t*>(*table);
    const int32_t count = int32_t(ReadBE32(head)), size = int32_t(ReadBE32(head + 4));
    if (count < 0 || size <= 0 || int64_t(count) * size != GetHandleSize(table) - kTabHeader) return -1;
    const int64_t grown = kTabHeader + int64_t(count + 1) * size;
    if (grown > 0x7FFFFFFF) return -1;
    SetHandleSize(table, Size(grown));
    if (MemError() != noErr) return -1;
    auto* bytes = reinterpret_cast<uint8_t*>(*table);
    std::memset(bytes + kTabHeader + int64_t(count) * size, 0, size_t(size));
    WriteBE32(bytes, uint32_t(count + 1));
    return count;
}

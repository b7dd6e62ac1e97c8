// The kernel's control drawings of variables, from their drawing records.
#include "forms/drawing/KernelControls.h"

#include <algorithm>
#include <cstring>

#include "looks/LookManager.h"
#include "looks/LookServices.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"

using namespace platform;

namespace {

constexpr int32_t kLightEdge = 0xFFFFFF, kDarkEdge = 0x808080;
constexpr int16_t kArrowWidth = 6;  // rows of 6, 4 and 2 pixels
constexpr int16_t kFrameRaised = 19, kFrameSunken = 20;

RGBColor RGBOf(int32_t rgb)
{
    const auto part = [rgb](int shift) { return uint16_t(((rgb >> shift) & 0xFF) * 0x101); };
    return RGBColor{part(16), part(8), part(0)};
}

void Fore(int32_t rgb)
{
    const RGBColor c = RGBOf(rgb);
    RGBForeColor(&c);
}

// The port set for the record: its font, colours and a plain pen; all of
// it comes back when the drawing ends.
class RecordPort {
public:
    explicit RecordPort(const LienObj* record)
    {
        SaveForeBack(&colours_);
        GetPenState(&pen_);
        GrafPtr port = nullptr;
        GetPort(&port);
        if (port) font_ = port->txFont, size_ = port->txSize, face_ = StyleField(port->txFace), mode_ = port->txMode;
        myTextFont(record->font);
        TextSize(record->size);
        TextFace(StyleField(record->face & 0xFF));
        TextMode(srcOr);
        PenNormal();
        fore_ = record->foreColor < 0 ? 0x000000 : record->foreColor & 0xFFFFFF;
        back_ = record->backColor < 0 ? 0xFFFFFF : record->backColor & 0xFFFFFF;
        Fore(fore_);
        const RGBColor back = RGBOf(back_);
        RGBBackColor(&back);
    }
    ~RecordPort()
    {
        TextFont(font_), TextSize(size_), TextFace(face_), TextMode(mode_);
        SetPenState(&pen_);
        RestoreForeBack(&colours_);
    }
    RecordPort(const RecordPort&) = delete;
    RecordPort& operator=(const RecordPort&) = delete;
    int32_t fore_ = 0, back_ = 0xFFFFFF;

private:
    ForeBack colours_;
    PenState pen_{};
    int16_t font_ = 0, size_ = 12, mode_ = srcOr;
    StyleField face_ = 0;
};

// The baseline that centres a line of the port's font in r.
int16_t CentredBaseline(const Rect& r)
{
    FontInfo fi{};
    GetFontInfo(&fi);
    return int16_t(r.top + (r.bottom - r.top + fi.ascent - fi.descent) / 2);
}

// The text in r: from `inset` pixels in (centred with `centred`), clipped
// to r.
void TextIn(const unsigned char* text, const Rect& r, int16_t inset, bool centred)
{
    if (!text[0] || r.right <= r.left || r.bottom <= r.top) return;
    ClipSection clip(r);
    int16_t left = int16_t(r.left + inset);
    if (centred) left = int16_t(r.left + (r.right - r.left - StringWidth(text)) / 2);
    MoveTo(left, CentredBaseline(r));
    DrawString(text);
}

// A down arrow of rows 6, 4 and 2 pixels wide, its top row's left at
// (left, top).
void DownArrow(int16_t left, int16_t top)
{
    for (int16_t i = 0; i < kArrowWidth / 2; ++i) {
        MoveTo(int16_t(left + i), int16_t(top + i));
        LineTo(int16_t(left + kArrowWidth - 1 - i), int16_t(top + i));
    }
}

void Segment(int16_t h0, int16_t v0, int16_t h1, int16_t v1)
{
    MoveTo(h0, v0);
    LineTo(h1, v1);
}

}  // namespace

void FormatEntry(const unsigned char* text, int16_t n, unsigned char* out)
{
    out[0] = 0;
    int16_t entry = 1;
    for (int32_t i = 1; i <= text[0]; ++i) {
        if (text[i] == ';') {
            if (++entry > n) return;
            continue;
        }
        if (entry == n) out[++out[0]] = text[i];
    }
}

int16_t FormatEntryCount(const unsigned char* text)
{
    if (!text[0]) return 0;
    return int16_t(1 + std::count(text + 1, text + 1 + text[0], ';'));
}

void DrawPopupInStruct(const LienObj* record, const unsigned char* title, const unsigned char* format)
{
    const Rect& r = record->rect;
    if (r.right - r.left < 3 || r.bottom - r.top < 3) return;
    RecordPort port(record);
    ClipSection clip(r);
    const Rect box{r.top, r.left, int16_t(r.bottom - 1), int16_t(r.right - 1)};
    if (!record->keepBackground) EraseRect(&box);
    FrameRect(&box);
    // The shadow, one pixel right of and below the box.
    Segment(int16_t(box.left + 2), box.bottom, box.right, box.bottom);
    Segment(box.right, int16_t(box.top + 2), box.right, box.bottom);
    const int16_t arrowLeft = int16_t(box.right - kPopupArrowRoom + (kPopupArrowRoom - kArrowWidth) / 2);
    DownArrow(arrowLeft, int16_t(box.top + (box.bottom - box.top - kArrowWidth / 2) / 2));
    unsigned char text[256];
    if (title && title[0]) std::memcpy(text, title, size_t(title[0]) + 1);
    else if (format) FormatEntry(format, 1, text);
    else text[0] = 0;
    const Rect room{int16_t(box.top + 1), int16_t(box.left + 1), int16_t(box.bottom - 1),
                    int16_t(box.right - kPopupArrowRoom)};
    TextIn(text, room, kControlTextInset - 1, false);
}

void DrawComboInStruct(const LienObj* record, const unsigned char* title)
{
    const Rect& r = record->rect;
    if (r.right - r.left < 3 || r.bottom - r.top < 3) return;
    RecordPort port(record);
    ClipSection clip(r);
    if (!record->keepBackground) EraseRect(&r);
    FrameRect(&r);
    const int16_t button = int16_t(std::max<int32_t>(r.left, r.right - GetScrollBarSize()));
    Segment(button, r.top, button, int16_t(r.bottom - 1));
    DownArrow(int16_t(button + (r.right - button - kArrowWidth) / 2),
              int16_t(r.top + (r.bottom - r.top - kArrowWidth / 2) / 2));
    if (title) TextIn(title, Rect{int16_t(r.top + 1), int16_t(r.left + 1), int16_t(r.bottom - 1), button},
                      kControlTextInset - 1, false);
}

void DrawTabInStruct(const LienObj* record, const Rect& r, const unsigned char* label, Handle, VI_Handler*)
{
    if (r.right - r.left < 3 || r.bottom - r.top < 3) return;
    RecordPort port(record);
    ClipSection clip(r);
    const int16_t count = std::max<int16_t>(FormatEntryCount(record->title), 1);
    const int16_t row = int16_t(std::min<int32_t>(kTabRowHeight, r.bottom - r.top));
    int16_t left = r.left;
    for (int32_t n = 1; n <= count && left < r.right; ++n) {
        unsigned char text[256];
        if (FormatEntryCount(record->title)) FormatEntry(record->title, n, text);
        else std::memcpy(text, label, size_t(label[0]) + 1);
        const int16_t right = int16_t(std::min<int32_t>(r.right - 1, left + StringWidth(text) + 2 * kTabPadding));
        // The tab in front reaches the top; those behind start 2 pixels
        // lower.
        const int16_t top = int16_t(n == 1 ? r.top : r.top + 2);
        // Inside its edges, so the edge shared with the tab before stays.
        const Rect inside{int16_t(top + 1), int16_t(left + 1), int16_t(r.top + row), right};
        if (!record->keepBackground) EraseRect(&inside);
        Segment(left, int16_t(r.top + row - 1), left, int16_t(top + 1));
        Segment(int16_t(left + 1), top, int16_t(right - 1), top);
        Segment(right, int16_t(top + 1), right, int16_t(r.top + row - 1));
        TextIn(text, Rect{int16_t(top + 1), int16_t(left + 1), int16_t(r.top + row), right}, 0, true);
        left = right;
    }
}

void Draw3DFrameInStruct(const LienObj* record, const Rect& r, VI_Handler*)
{
    if (r.right - r.left < 2 || r.bottom - r.top < 2) return;
    RecordPort port(record);
    const int16_t right = int16_t(r.right - 1), bottom = int16_t(r.bottom - 1);
    if (record->subType == kFrameRaised || record->subType == kFrameSunken) {
        const bool raised = record->subType == kFrameRaised;
        Fore(raised ? kLightEdge : kDarkEdge);
        Segment(r.left, bottom, r.left, r.top);
        Segment(r.left, r.top, right, r.top);
        Fore(raised ? kDarkEdge : kLightEdge);
        Segment(int16_t(r.left + 1), bottom, right, bottom);
        Segment(right, int16_t(r.top + 1), right, bottom);
        return;
    }
    // Etched: a grey frame with a white one a pixel right of and below it.
    Fore(kLightEdge);
    const Rect light{int16_t(r.top + 1), int16_t(r.left + 1), r.bottom, r.right};
    FrameRect(&light);
    Fore(kDarkEdge);
    const Rect dark{r.top, r.left, bottom, right};
    FrameRect(&dark);
}

void DrawButtonGridInStruct(const LienObj* record)
{
    const Rect& r = record->rect;
    if (r.right - r.left < 2 || r.bottom - r.top < 2) return;
    RecordPort port(record);
    ClipSection clip(r);
    const int16_t count = std::max<int16_t>(FormatEntryCount(record->title), 1);
    const int16_t width = int16_t((r.right - r.left) / count);
    for (int32_t n = 1; n <= count; ++n) {
        const int16_t left = int16_t(r.left + (n - 1) * width);
        const Rect cell{r.top, left, r.bottom, n == count ? r.right : int16_t(left + width)};
        if (!record->keepBackground) EraseRect(&cell);
        FrameRect(&cell);
        unsigned char text[256];
        FormatEntry(record->title, n, text);
        TextIn(text, Rect{int16_t(cell.top + 1), int16_t(cell.left + 1), int16_t(cell.bottom - 1),
                          int16_t(cell.right - 1)}, 0, true);
    }
}

void InvertHilite(const Rect& r, bool plain)
{
    const uint8_t saved = LMGetHiliteMode();
    if (!plain) LMSetHiliteMode(uint8_t(saved & ~(0x80 >> pHiliteBit)));
    InvertRect(&r);
    LMSetHiliteMode(saved);
}

int16_t PopupButtonProc(const EventRecord* event)
{
    // Pop-up buttons take no event of their own: every kind passes.
    (void)(event ? event->what : 0);
    return noErr;
}

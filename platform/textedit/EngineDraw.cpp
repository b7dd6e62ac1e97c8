// Drawing: the lines of the text in the view, the selection hilited (an
// outline, or nothing, when inactive), the blinking caret, scrolling, and
// the redraw of only the lines an edit changed.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/core/Clock.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Raster.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/drawing/TextRuns.h"
#include "platform/events/InputState.h"
#include "platform/events/Events.h"
#include "platform/pictures/PictureRecorder.h"
#include "platform/text/SingleByteSets.h"
#include "platform/textedit/TextEngine.h"

namespace platform {

namespace {

Rect32 Intersect(const Rect32& a, const Rect32& b)
{
    Rect32 r{std::max(a.top, b.top), std::max(a.left, b.left), std::min(a.bottom, b.bottom), std::min(a.right, b.right)};
    if (r.top >= r.bottom || r.left >= r.right) return {0, 0, 0, 0};
    return r;
}

bool Empty(const Rect32& r) { return r.top >= r.bottom || r.left >= r.right; }

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c < 0xE000; }

// Port state that drawing changes and gives back.
class PortScope {
public:
    explicit PortScope(GrafPtr port)
    {
        GetPort(&saved_);
        SetPort(port);
        clip_ = NewRgn();
        GetClip(clip_);
        GetPenState(&pen_);
        GetForeColor(&fore_);
        GetBackColor(&back_);
    }
    ~PortScope()
    {
        SetClip(clip_);
        DisposeRgn(clip_);
        SetPenState(&pen_);
        RGBForeColor(&fore_);
        RGBBackColor(&back_);
        SetPort(saved_);
    }
    PortScope(const PortScope&) = delete;
    PortScope& operator=(const PortScope&) = delete;
    // Clips to the area within the clip the port had.
    void ClipTo(const Rect32& area)
    {
        RgnHandle r = NewRgn();
        SetRectRgn32(r, area);
        SectRgn(r, clip_, r);
        SetClip(r);
        DisposeRgn(r);
    }

private:
    GrafPtr saved_ = nullptr;
    RgnHandle clip_ = nullptr;
    PenState pen_{};
    RGBColor fore_{}, back_{};
};

// Draws a run with the port's text calls, in the run's font, size, face
// and colour; its width as the engine measures it.
int32_t RecordSpan(const TextAttributes& attr, const std::u32string& chars, int16_t h, int16_t v)
{
    std::string bytes;
    for (char32_t c : chars) {
        uint8_t b = '?';
        if (c == 0) continue;
        if (c < 0x10000) UnicodeToMacRoman(char16_t(c), &b);
        bytes.push_back(char(b));
    }
    GrafPtr port = nullptr;
    GetPort(&port);
    const int16_t font = GetPortTextFont(port), size = GetPortTextSize(port);
    const StyleField face = GetPortTextFace(port);
    TextFont(attr.font);
    TextSize(attr.size);
    TextFace(attr.face);
    RGBForeColor(&attr.color);
    MoveTo(h, v);
    DrawText(bytes.data(), 0, int16_t(std::min<size_t>(bytes.size(), 32767)));
    TextFont(font);
    TextSize(size);
    TextFace(face);
    const TextStyle ts = MakeTextStyle(attr.font, attr.size, attr.face, 0);
    return SpanWidth(ts, {nullptr, chars.data(), int32_t(chars.size())});
}

}  // namespace

void TextEngine::CaretRect(Rect32* r) const
{
    int32_t h = 0, v = 0;
    PointOf(selEnd_, &h, &v);
    const int32_t height = lines_.empty() ? 0 : lines_[size_t(LineOf(selEnd_))].height;
    *r = {v, h - 1, v + height, h};
    if (r->left < dest.left) *r = {v, dest.left, v + height, dest.left + 1};
}

void TextEngine::DrawCaret()
{
    if (!port || !visible || !laidOut_) return;
    Rect32 r;
    CaretRect(&r);
    r = Intersect(r, view);
    if (Empty(r)) return;
    PortScope scope(port);
    scope.ClipTo(view);
    const Rect q = ClampToRect(r);
    InvertRect(&q);
}

void TextEngine::ShowCaret(bool on)
{
    const bool canShow = port && visible && laidOut_ && selStart_ == selEnd_ && selectionShown &&
                         (active || drawCaretWhenInactive);
    if (on && !canShow) return;
    if (on != caretShown_) {
        DrawCaret();
        caretShown_ = on;
    }
    if (on) caretTick_ = EventTicks();
}

void TextEngine::Idle()
{
    if (!active || selStart_ != selEnd_) return;
    // The caret's time is the events' clock: its blink lets no tick pass
    // (a headless run's modal with a text field waits as any other).
    const uint32_t now = EventTicks();
    if (now - caretTick_ < GetCaretTime()) return;
    ShowCaret(!caretShown_);
    caretTick_ = now;
}

void TextEngine::SetActive(bool on)
{
    if (on == active) return;
    if (caretShown_) ShowCaret(false);
    active = on;
    if (laidOut_ && port && selStart_ != selEnd_) RedrawLines(LineOf(selStart_), LineOf(selEnd_), false);
    if (on) ShowCaret(true);
}

void TextEngine::Draw(const Rect32& area)
{
    if (!port || !visible) return;
    if (!laidOut_) Layout();
    const Rect32 box = Intersect(area, view);
    if (Empty(box)) return;
    PortScope scope(port);
    scope.ClipTo(box);
    PenNormal();
    if (hasBackground) RGBBackColor(&background);
    const Rect erase = ClampToRect(box);
    if (eraseFirst) EraseRect(&erase);

    const bool hilite = selectionShown && selStart_ != selEnd_ && (active || outlineWhenInactive);
    const RGBColor back = port->rgbBkColor;
    auto first = std::upper_bound(lines_.begin(), lines_.end(), box.top - dest.top,
                                  [](int32_t y, const LineBox& l) { return y < l.top + l.height; });
    for (auto it = first; it != lines_.end() && dest.top + it->top < box.bottom; ++it) {
        const int32_t i = int32_t(it - lines_.begin());
        const LineBox& l = *it;
        const int32_t top = dest.top + l.top, bottom = top + l.height;
        const int32_t end = LineEnd(i);
        if (hilite && selStart_ < end && selEnd_ > l.start) {
            int32_t x1 = dest.left, x2 = dest.right;
            if (selStart_ > l.start) PointOf(selStart_, &x1, nullptr);
            // A selection going on to the next line is hilited to the edge.
            if (selEnd_ < end || i + 1 == int32_t(lines_.size())) PointOf(std::min(selEnd_, end), &x2, nullptr);
            if (x2 > x1) {
                const Rect r = ClampToRect({top, x1, bottom, x2});
                if (active) {
                    RGBColor hiliteColor = port->rgbHiliteColor;
                    RGBForeColor(&hiliteColor);
                    PaintRect(&r);
                } else {
                    const RGBColor black{0, 0, 0};
                    RGBForeColor(&black);
                    FrameRect(&r);
                }
            }
        }
        // The glyphs, run by run, in each run's colour.
        pixman_region32_t shape, allowed;
        pixman_region32_init_rect(&shape, box.left, std::max(top, box.top), uint32_t(box.right - box.left),
                                  uint32_t(std::max(0, std::min(bottom, box.bottom) - std::max(top, box.top))));
        pixman_region32_init(&allowed);
        const Surface surface = ClipToPort(port, &shape, &allowed);
        int32_t x = LineLeft(i);
        std::u32string chars;
        for (int32_t r = RunIndexAt(l.start); r < int32_t(runs_.size()) && runs_[size_t(r)].start < end; ++r) {
            const int32_t a = std::max(l.start, runs_[size_t(r)].start);
            const int32_t b = std::min(end, size_t(r) + 1 < runs_.size() ? runs_[size_t(r) + 1].start : Length());
            const TextAttributes& attr = styles_[size_t(runs_[size_t(r)].style)].attr;
            chars.clear();
            for (int32_t k = a; k < b; ++k) {
                const char16_t c = text_[size_t(k)];
                char32_t shown = c;
                if (c == u'\r' || c == u'\n') shown = 0;
                else if (echo) shown = IsLowSurrogate(c) ? 0 : echo;
                else if (c == u'\t') shown = U' ';
                else if (IsHighSurrogate(c) && size_t(k) + 1 < text_.size() && IsLowSurrogate(text_[size_t(k) + 1]))
                    shown = 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text_[size_t(k) + 1]) - 0xDC00);
                else if (IsLowSurrogate(c) && k > 0 && IsHighSurrogate(text_[size_t(k) - 1]))
                    shown = 0;
                chars.push_back(shown);
            }
            const TextStyle ts = MakeTextStyle(attr.font, attr.size, attr.face, 0);
            TextPaint paint;
            paint.mode = srcOr;
            paint.fore = PackRGB(attr.color);
            paint.back = PackRGB(back);
            if (chars.empty()) continue;
            if (RecorderOf(port)) {
                // A picture being recorded (a printed page) keeps only what
                // goes through the text calls: pixels painted past them
                // would be missing from it.
                x += RecordSpan(attr, chars, int16_t(x), int16_t(top + l.ascent));
                continue;
            }
            x += PaintSpan(surface, &allowed, ts, {nullptr, chars.data(), int32_t(chars.size())}, x, top + l.ascent,
                           paint);
        }
        pixman_region32_fini(&allowed);
        pixman_region32_fini(&shape);
    }
    // The caret was erased with its line: put back what of it lies here.
    if (caretShown_) {
        Rect32 c;
        CaretRect(&c);
        c = Intersect(c, box);
        if (!Empty(c)) {
            const Rect q = ClampToRect(c);
            InvertRect(&q);
        }
    }
}

void TextEngine::RedrawLines(int32_t first, int32_t last, bool toBottom)
{
    if (!port || !visible || lines_.empty()) return;
    first = std::clamp(first, 0, int32_t(lines_.size()) - 1);
    last = std::clamp(last, first, int32_t(lines_.size()) - 1);
    const int32_t top = dest.top + lines_[size_t(first)].top;
    const int32_t bottom = toBottom ? view.bottom : dest.top + lines_[size_t(last)].top + lines_[size_t(last)].height;
    Draw({top, view.left, bottom, view.right});
}

void TextEngine::AfterTextChange(int32_t from, int32_t removed, int32_t inserted, int32_t oldLines)
{
    // Keep the selection on the same text.
    const int32_t delta = inserted - removed;
    auto move = [&](int32_t o) {
        if (o >= from + removed) return o + delta;
        if (o > from) return from + inserted;
        return o;
    };
    selStart_ = move(selStart_);
    selEnd_ = move(selEnd_);
    anchor_ = std::clamp(move(anchor_), 0, Length());
    if (!laidOut_) return;
    const bool caretWas = caretShown_;
    caretShown_ = false;  // the redraw below erases it
    const int32_t oldTotal = TotalHeight();
    const int32_t oldFirst = std::max(0, LineOf(from) - 1);
    Relayout(from, removed, inserted);
    const bool shifted = int32_t(lines_.size()) != oldLines || TotalHeight() != oldTotal;
    const int32_t last = LineOf(from + inserted) + 1;
    if (port && visible) RedrawLines(oldFirst, last, shifted);
    caretShown_ = false;
    if (caretWas) ShowCaret(true);
}

void TextEngine::Scroll(int32_t dh, int32_t dv)
{
    if (dh == 0 && dv == 0) return;
    const bool caretWas = caretShown_;
    caretShown_ = false;
    dest.left += dh;
    dest.right += dh;
    dest.top += dv;
    dest.bottom += dv;
    Draw(view);
    if (caretWas) ShowCaret(true);
}

void TextEngine::ShowSelection(bool showEnd)
{
    if (!laidOut_) Layout();
    const int32_t offset = showEnd ? selEnd_ : selStart_;
    int32_t h = 0, v = 0;
    PointOf(offset, &h, &v);
    const int32_t height = lines_.empty() ? 0 : lines_[size_t(LineOf(offset))].height;
    int32_t dv = 0, dh = 0;
    if (v < view.top)
        dv = view.top - v;
    else if (v + height > view.bottom)
        dv = std::max(view.bottom - (v + height), view.top - v);
    if (h < view.left)
        dh = view.left - h;
    else if (h >= view.right)
        dh = view.right - 1 - h;
    Scroll(dh, dv);
}

}  // namespace platform

// Line breaking and geometry: lines are broken at a return, or (wrapping)
// after the spaces that follow a word, or between characters when a word
// alone is wider than the destination. After an edit only the lines from
// the one before the change are broken again, until a line starts where an
// old one did.
#include <algorithm>

#include "platform/drawing/TextRuns.h"
#include "platform/textedit/TextEngine.h"

namespace platform {

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c < 0xE000; }

}  // namespace

// Walks the characters of a text run by run with each run's font: the one
// place where widths are measured.
struct EngineLayout {
    const TextEngine& e;
    int32_t run = 0;
    int32_t runEnd = 0;
    TextStyle style;

    EngineLayout(const TextEngine& engine, int32_t offset) : e(engine) { Seek(offset); }

    void Seek(int32_t offset)
    {
        run = e.RunIndexAt(offset);
        Load();
    }
    void Load()
    {
        const TextAttributes& a = e.styles_[size_t(e.runs_[size_t(run)].style)].attr;
        style = MakeTextStyle(a.font, a.size, a.face, 0);
        runEnd = size_t(run) + 1 < e.runs_.size() ? e.runs_[size_t(run) + 1].start : INT32_MAX;
    }
    char32_t Shown(int32_t i) const
    {
        const char16_t c = e.text_[size_t(i)];
        if (c == u'\r' || c == u'\n') return 0;
        if (e.echo) return IsLowSurrogate(c) ? 0 : e.echo;
        if (IsHighSurrogate(c) && size_t(i) + 1 < e.text_.size() && IsLowSurrogate(e.text_[size_t(i) + 1]))
            return 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(e.text_[size_t(i) + 1]) - 0xDC00);
        if (IsLowSurrogate(c) && i > 0 && IsHighSurrogate(e.text_[size_t(i) - 1])) return 0;
        if (c == u'\t') return U' ';
        return c;
    }
    // Advance of the character at i (i rising from the seek position).
    int32_t Advance(int32_t i)
    {
        while (i >= runEnd) {
            ++run;
            Load();
        }
        const char32_t c = Shown(i);
        if (c == 0 || !style.strike) return 0;
        const int32_t a = CharAdvance(style.strike, c);
        if (a == 0 && c != U' ') return 0;
        return std::max(0, a + style.extra);
    }
};

int32_t TextEngine::BreakLine(int32_t start, LineBox* box) const
{
    const int32_t n = Length();
    const int32_t limit = wrap ? std::max<int32_t>(1, dest.right - dest.left) : INT32_MAX;
    EngineLayout m(*this, start);
    int32_t width = 0;
    int32_t end = start;
    int32_t lastBreak = -1;  // after the spaces that follow a word
    while (end < n) {
        const char16_t c = text_[size_t(end)];
        if (c == u'\r') {
            ++end;
            break;
        }
        const int32_t a = m.Advance(end);
        if (c == u' ') {
            width += a;
            ++end;
            continue;
        }
        if (end > start && text_[size_t(end - 1)] == u' ') lastBreak = end;
        if (width + a > limit && end > start) {
            if (lastBreak > start) {
                end = lastBreak;
            } else if (IsLowSurrogate(c) && end - 1 > start) {
                --end;
            }
            break;
        }
        width += a;
        ++end;
    }
    if (box) {
        box->start = start;
        // Height and ascent from the tallest run on the line; an empty line
        // takes the style that typing there would take.
        int16_t height = 0, ascent = 0;
        if (end > start) {
            for (int32_t r = RunIndexAt(start); r < int32_t(runs_.size()) && runs_[size_t(r)].start < end; ++r) {
                const StyleSlot& s = styles_[size_t(runs_[size_t(r)].style)];
                height = std::max(height, s.height);
                ascent = std::max(ascent, s.ascent);
            }
        } else {
            const TextAttributes a = hasNullStyle_ && start == selStart_ ? nullStyle_ : StyleAt(start - 1);
            const FontInfo fi = StyleFontInfo(MakeTextStyle(a.font, a.size, a.face, 0));
            height = int16_t(fi.ascent + fi.descent + fi.leading);
            ascent = fi.ascent;
        }
        box->height = height;
        box->ascent = ascent;
        int32_t visibleEnd = end;
        while (visibleEnd > start && (text_[size_t(visibleEnd - 1)] == u' ' || text_[size_t(visibleEnd - 1)] == u'\r'))
            --visibleEnd;
        box->width = WidthOf(start, visibleEnd);
    }
    return end;
}

int32_t TextEngine::WidthOf(int32_t from, int32_t to) const
{
    from = std::clamp(from, 0, Length());
    to = std::clamp(to, from, Length());
    if (to == from) return 0;
    EngineLayout m(*this, from);
    int32_t w = 0;
    for (int32_t i = from; i < to; ++i) w += m.Advance(i);
    return w;
}

void TextEngine::Layout()
{
    lines_.clear();
    int32_t start = 0, top = 0;
    for (;;) {
        LineBox box;
        const int32_t next = BreakLine(start, &box);
        box.top = top;
        top += box.height;
        lines_.push_back(box);
        if (next >= Length()) {
            // A text ending in a return has an empty last line.
            if (next > start && text_[size_t(next - 1)] == u'\r') {
                BreakLine(next, &box);
                box.top = top;
                lines_.push_back(box);
            }
            break;
        }
        start = next;
    }
    laidOut_ = true;
}

void TextEngine::Relayout(int32_t from, int32_t removed, int32_t inserted)
{
    if (!laidOut_ || lines_.empty()) {
        Layout();
        return;
    }
    const int32_t delta = inserted - removed;
    // Old lines that start after the changed text keep their breaks once a
    // new line starts where one of them (moved by delta) did.
    std::vector<LineBox> old;
    old.swap(lines_);
    int32_t k = 0;
    {
        auto it = std::upper_bound(old.begin(), old.end(), from,
                                   [](int32_t o, const LineBox& l) { return o < l.start; });
        k = std::max<int32_t>(0, int32_t(it - old.begin()) - 2);
    }
    lines_.assign(old.begin(), old.begin() + k);
    int32_t start = old[size_t(k)].start;
    int32_t top = old[size_t(k)].top;
    size_t j = size_t(k);
    const int32_t changedEnd = from + inserted;
    for (;;) {
        LineBox box;
        const int32_t next = BreakLine(start, &box);
        box.top = top;
        top += box.height;
        lines_.push_back(box);
        if (next >= Length()) {
            if (next > start && text_[size_t(next - 1)] == u'\r') {
                BreakLine(next, &box);
                box.top = top;
                lines_.push_back(box);
            }
            break;
        }
        if (next > changedEnd) {
            while (j < old.size() && (old[j].start < from + removed || old[j].start + delta < next)) ++j;
            if (j < old.size() && old[j].start + delta == next && old[j].start >= from + removed) {
                for (; j < old.size(); ++j) {
                    LineBox l = old[j];
                    l.start += delta;
                    l.top = top;
                    top += l.height;
                    lines_.push_back(l);
                }
                break;
            }
        }
        start = next;
    }
}

int32_t TextEngine::LineOf(int32_t offset) const
{
    if (lines_.empty()) return 0;
    auto it = std::upper_bound(lines_.begin(), lines_.end(), offset,
                               [](int32_t o, const LineBox& l) { return o < l.start; });
    return std::max<int32_t>(0, int32_t(it - lines_.begin()) - 1);
}

int32_t TextEngine::LineEnd(int32_t line) const
{
    if (line + 1 < int32_t(lines_.size())) return lines_[size_t(line) + 1].start;
    return Length();
}

int32_t TextEngine::TotalHeight() const
{
    if (lines_.empty()) return 0;
    return lines_.back().top + lines_.back().height;
}

int32_t TextEngine::LineHeightAt(int32_t offset) const
{
    if (lines_.empty()) return 0;
    return lines_[size_t(LineOf(offset))].height;
}

int32_t TextEngine::LineLeft(int32_t line) const
{
    const int32_t room = dest.right - dest.left;
    const int32_t w = lines_.empty() ? 0 : lines_[size_t(line)].width;
    switch (align) {
    case Alignment::Center: return dest.left + (room - w) / 2;
    case Alignment::Right: return dest.right - w;
    default: return dest.left;
    }
}

int32_t TextEngine::WidestLine() const
{
    int32_t w = 0;
    for (const LineBox& l : lines_) w = std::max(w, l.width);
    return w;
}

int32_t TextEngine::OffsetAt(int32_t h, int32_t v, bool* inside) const
{
    if (inside) *inside = false;
    if (lines_.empty()) return 0;
    const int32_t y = v - dest.top;
    int32_t line = 0;
    if (y >= TotalHeight()) {
        line = int32_t(lines_.size()) - 1;
    } else if (y >= 0) {
        auto it = std::upper_bound(lines_.begin(), lines_.end(), y, [](int32_t o, const LineBox& l) { return o < l.top; });
        line = std::max<int32_t>(0, int32_t(it - lines_.begin()) - 1);
    }
    const LineBox& l = lines_[size_t(line)];
    const int32_t left = LineLeft(line);
    int32_t end = LineEnd(line);
    const bool inLines = y >= 0 && y < TotalHeight();
    if (inside) *inside = inLines && h >= left && h < left + l.width;
    // The caret never stands after a line's return or after a soft
    // break's last space when there is a next line.
    if (end > l.start && end <= Length() && (text_[size_t(end - 1)] == u'\r' || line + 1 < int32_t(lines_.size())))
        --end;
    EngineLayout m(*this, l.start);
    int32_t x = left;
    for (int32_t i = l.start; i < end; ++i) {
        const int32_t a = m.Advance(i);
        if (h < x + (a + 1) / 2) return i;
        x += a;
    }
    return end;
}

void TextEngine::PointOf(int32_t offset, int32_t* h, int32_t* v) const
{
    offset = std::clamp(offset, 0, Length());
    const int32_t line = LineOf(offset);
    const LineBox& l = lines_.empty() ? LineBox{} : lines_[size_t(line)];
    if (h) *h = LineLeft(line) + WidthOf(l.start, offset);
    if (v) *v = dest.top + l.top;
}

}  // namespace platform

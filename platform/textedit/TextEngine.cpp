// The engine's text and style model: replacing text, runs and the style
// table with reference counts, the null style, continuous styles.
#include "platform/textedit/TextEngine.h"

#include <algorithm>

#include "platform/drawing/TextRuns.h"

namespace platform {

namespace {

bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c < 0xE000; }

// Applies the masked attributes of `s` to `a`; `clearFace` when toggling
// off a face that the whole range had.
TextAttributes Apply(uint16_t mode, TextAttributes a, const TextAttributes& s, bool clearFace)
{
    if (mode & kStyleFont) a.font = s.font;
    if (mode & kStyleFace) {
        if (mode & kStyleToggle)
            a.face = clearFace ? Style(a.face & ~s.face) : Style(a.face | s.face);
        else
            a.face = s.face;
    }
    if (mode & kStyleAddSize)
        a.size = int16_t(std::clamp<int32_t>(int32_t(a.size) + s.size, 1, 512));
    else if (mode & kStyleSize)
        a.size = s.size > 0 ? s.size : int16_t(12);
    if (mode & kStyleColor) a.color = s.color;
    if (mode & kStyleEncoding) a.encoding = s.encoding;
    return a;
}

}  // namespace

TextEngine::TextEngine(const TextAttributes& base)
{
    styles_.push_back({base, 1, 0, 0});
    runs_.push_back({0, 0});
    nullStyle_ = base;
    MeasureStyles();
}

void TextEngine::MeasureStyles()
{
    for (StyleSlot& s : styles_) {
        const TextStyle ts = MakeTextStyle(s.attr.font, s.attr.size, s.attr.face, 0);
        const FontInfo fi = StyleFontInfo(ts);
        s.ascent = fi.ascent;
        s.height = int16_t(fi.ascent + fi.descent + fi.leading);
    }
}

int32_t TextEngine::RunIndexAt(int32_t offset) const
{
    auto it = std::upper_bound(runs_.begin(), runs_.end(), offset,
                               [](int32_t o, const StyleRun& r) { return o < r.start; });
    return it == runs_.begin() ? 0 : int32_t(it - runs_.begin()) - 1;
}

TextAttributes TextEngine::StyleAt(int32_t offset) const
{
    if (offset >= Length()) offset = Length() - 1;
    if (offset < 0) offset = 0;
    return styles_[size_t(runs_[size_t(RunIndexAt(offset))].style)].attr;
}

int16_t TextEngine::FindOrAddStyle(const TextAttributes& a)
{
    for (size_t i = 0; i < styles_.size(); ++i)
        if (styles_[i].attr == a) return int16_t(i);
    for (size_t i = 0; i < styles_.size(); ++i)
        if (styles_[i].count == 0) {
            // Taken at once: a later look-up in the same edit must not
            // reuse it before the runs are counted again.
            styles_[i] = {a, 1, 0, 0};
            const TextStyle ts = MakeTextStyle(a.font, a.size, a.face, 0);
            const FontInfo fi = StyleFontInfo(ts);
            styles_[i].ascent = fi.ascent;
            styles_[i].height = int16_t(fi.ascent + fi.descent + fi.leading);
            return int16_t(i);
        }
    // The stored table's count is 16-bit: past that, share the last slot.
    if (styles_.size() >= 0x7FFF) return int16_t(styles_.size() - 1);
    StyleSlot slot{a, 1, 0, 0};
    const FontInfo fi = StyleFontInfo(MakeTextStyle(a.font, a.size, a.face, 0));
    slot.ascent = fi.ascent;
    slot.height = int16_t(fi.ascent + fi.descent + fi.leading);
    styles_.push_back(slot);
    return int16_t(styles_.size() - 1);
}

void TextEngine::SplitRunAt(int32_t offset)
{
    if (offset <= 0 || offset >= Length()) return;
    const int32_t i = RunIndexAt(offset);
    if (runs_[size_t(i)].start == offset) return;
    runs_.insert(runs_.begin() + i + 1, StyleRun{offset, runs_[size_t(i)].style});
}

// Joins neighbours of one style, drops runs that start at or past the end
// (keeping one for an empty text) and counts the table's uses again.
void TextEngine::MergeRuns()
{
    std::vector<StyleRun> out;
    out.reserve(runs_.size());
    for (const StyleRun& r : runs_) {
        if (!out.empty() && r.start >= Length()) continue;
        if (!out.empty() && out.back().start == r.start) {
            out.back().style = r.style;
            continue;
        }
        if (!out.empty() && out.back().style == r.style) continue;
        out.push_back(r);
    }
    if (out.empty()) out.push_back({0, 0});
    out.front().start = 0;
    runs_.swap(out);
    for (StyleSlot& s : styles_) s.count = 0;
    for (const StyleRun& r : runs_) ++styles_[size_t(r.style)].count;
}

int32_t TextEngine::Replace(int32_t from, int32_t to, const StyledFragment& fragment)
{
    from = std::clamp(from, 0, Length());
    to = std::clamp(to, from, Length());
    int32_t n = int32_t(fragment.text.size());
    if (maxLength_ > 0 && Length() - (to - from) + n > maxLength_) {
        n = std::max(0, maxLength_ - (Length() - (to - from)));
        // Never keep half of a surrogate pair.
        if (n > 0 && n < int32_t(fragment.text.size()) && IsLowSurrogate(fragment.text[size_t(n)])) --n;
    }
    if (from == to && n == 0) return 0;

    // The style new text takes when the fragment has none.
    TextAttributes landing;
    if (hasNullStyle_ && from == to)
        landing = nullStyle_;
    else
        landing = StyleAt(to > from ? from : from - 1);

    const int32_t oldLines = int32_t(lines_.size());
    // Remove [from, to).
    if (to > from) {
        SplitRunAt(from);
        SplitRunAt(to);
        const int32_t removed = to - from;
        std::vector<StyleRun> kept;
        kept.reserve(runs_.size());
        for (const StyleRun& r : runs_) {
            if (r.start >= from && r.start < to) continue;
            kept.push_back({r.start >= to ? r.start - removed : r.start, r.style});
        }
        if (kept.empty()) kept.push_back({0, FindOrAddStyle(landing)});
        runs_.swap(kept);
        text_.erase(size_t(from), size_t(removed));
    }
    // Insert n units at from.
    if (n > 0) {
        SplitRunAt(from);
        // An empty text's run moves past the new text and is dropped.
        for (StyleRun& r : runs_)
            if (r.start >= from) r.start += n;
        text_.insert(size_t(from), fragment.text, 0, size_t(n));
        std::vector<StyleRun> added;
        if (fragment.runs.empty()) {
            added.push_back({from, FindOrAddStyle(landing)});
        } else {
            for (const auto& [start, attr] : fragment.runs)
                if (start < n) added.push_back({from + std::max(0, start), FindOrAddStyle(attr)});
            if (added.empty() || added.front().start != from) added.insert(added.begin(), {from, FindOrAddStyle(landing)});
        }
        auto at = std::lower_bound(runs_.begin(), runs_.end(), from,
                                   [](const StyleRun& r, int32_t o) { return r.start < o; });
        runs_.insert(at, added.begin(), added.end());
    }
    MergeRuns();
    hasNullStyle_ = false;
    ++changeCount;
    AfterTextChange(from, to - from, n, oldLines);
    return n;
}

StyledFragment TextEngine::Extract(int32_t from, int32_t to) const
{
    from = std::clamp(from, 0, Length());
    to = std::clamp(to, from, Length());
    StyledFragment f;
    f.text = text_.substr(size_t(from), size_t(to - from));
    if (to == from) return f;
    for (int32_t i = RunIndexAt(from); i < int32_t(runs_.size()) && runs_[size_t(i)].start < to; ++i)
        f.runs.emplace_back(std::max(0, runs_[size_t(i)].start - from), styles_[size_t(runs_[size_t(i)].style)].attr);
    return f;
}

void TextEngine::SetPlainText(const std::u16string& text, const TextAttributes& style)
{
    text_ = text;
    if (maxLength_ > 0 && Length() > maxLength_) {
        int32_t n = maxLength_;
        if (IsLowSurrogate(text_[size_t(n)])) --n;
        text_.resize(size_t(n));
    }
    for (StyleSlot& s : styles_) s.count = 0;
    runs_.assign(1, StyleRun{0, FindOrAddStyle(style)});
    MergeRuns();
    hasNullStyle_ = false;
    selStart_ = selEnd_ = anchor_ = 0;
    ++changeCount;
    laidOut_ = false;
}

void TextEngine::InstallStyles(std::vector<StyleRun> runs, std::vector<StyleSlot> table)
{
    runs_ = std::move(runs);
    styles_ = std::move(table);
    if (styles_.empty()) styles_.push_back({nullStyle_, 0, 0, 0});
    if (runs_.empty()) runs_.push_back({0, 0});
    MeasureStyles();
    // Keep the stored order of runs and table: no merging, only counts.
    for (StyleSlot& s : styles_) s.count = 0;
    for (const StyleRun& r : runs_) ++styles_[size_t(r.style)].count;
    hasNullStyle_ = false;
    laidOut_ = false;
}

void TextEngine::SetStyle(uint16_t mode, const TextAttributes& style, int32_t from, int32_t to)
{
    from = std::clamp(from, 0, Length());
    to = std::clamp(to, from, Length());
    bool toggleOff = false;
    if ((mode & kStyleToggle) && (mode & kStyleFace) && style.face != 0) {
        TextAttributes c;
        ContinuousStyle(kStyleFace, from, to, &c);
        toggleOff = (c.face & style.face) == style.face;
    }
    if (from == to) {
        nullStyle_ = Apply(mode, hasNullStyle_ ? nullStyle_ : StyleAt(from > 0 ? from - 1 : 0), style, toggleOff);
        hasNullStyle_ = true;
        return;
    }
    SplitRunAt(from);
    SplitRunAt(to);
    for (size_t i = size_t(RunIndexAt(from)); i < runs_.size() && runs_[i].start < to; ++i) {
        const TextAttributes next = Apply(mode, styles_[size_t(runs_[i].style)].attr, style, toggleOff);
        runs_[i].style = FindOrAddStyle(next);
    }
    MergeRuns();
    ++changeCount;
    AfterTextChange(from, to - from, to - from, int32_t(lines_.size()));
}

void TextEngine::SetAllStyles(const TextAttributes& style)
{
    for (StyleSlot& s : styles_) s.count = 0;
    runs_.assign(1, StyleRun{0, FindOrAddStyle(style)});
    MergeRuns();
    nullStyle_ = style;
    hasNullStyle_ = false;
    laidOut_ = false;
}

uint16_t TextEngine::ContinuousStyle(uint16_t mode, int32_t from, int32_t to, TextAttributes* style) const
{
    from = std::clamp(from, 0, Length());
    to = std::clamp(to, from, Length());
    if (from == to) {
        if (style) *style = hasNullStyle_ ? nullStyle_ : StyleAt(from > 0 ? from - 1 : 0);
        return mode;
    }
    const int32_t first = RunIndexAt(from);
    const TextAttributes a = styles_[size_t(runs_[size_t(first)].style)].attr;
    TextAttributes out = a;
    uint16_t held = mode;
    for (size_t i = size_t(first) + 1; i < runs_.size() && runs_[i].start < to; ++i) {
        const TextAttributes& b = styles_[size_t(runs_[i].style)].attr;
        if (b.font != a.font) held &= uint16_t(~kStyleFont);
        if (b.face != a.face) held &= uint16_t(~kStyleFace);
        if (b.size != a.size) held &= uint16_t(~kStyleSize);
        if (b.color.red != a.color.red || b.color.green != a.color.green || b.color.blue != a.color.blue)
            held &= uint16_t(~kStyleColor);
        if (b.encoding != a.encoding) held &= uint16_t(~kStyleEncoding);
        out.face = Style(out.face & b.face);
    }
    if (style) *style = out;
    return held;
}

void TextEngine::SetSelection(int32_t start, int32_t end)
{
    start = std::clamp(start, 0, Length());
    end = std::clamp(end, 0, Length());
    if (start > end) std::swap(start, end);
    if (start == selStart_ && end == selEnd_) return;
    const int32_t lo = std::min(start, selStart_), hi = std::max(end, selEnd_);
    const bool wasCaret = selStart_ == selEnd_;
    if (wasCaret && caretShown_) DrawCaret();  // take the caret away
    caretShown_ = false;
    selStart_ = start;
    selEnd_ = end;
    anchor_ = start;
    hasNullStyle_ = false;
    goalH_ = -1;
    if (laidOut_ && port && (!wasCaret || start != end)) RedrawLines(LineOf(lo), LineOf(hi), false);
    if (start == end) ShowCaret(true);
}

void TextEngine::AdoptSelection(int32_t start, int32_t end)
{
    start = std::clamp(start, 0, Length());
    end = std::clamp(end, 0, Length());
    if (start > end) std::swap(start, end);
    if (start == selStart_ && end == selEnd_) return;
    if (caretShown_) DrawCaret();
    caretShown_ = false;
    selStart_ = anchor_ = start;
    selEnd_ = end;
    hasNullStyle_ = false;
}

bool TextEngine::IsWordChar(char16_t c)
{
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    // Letters beyond ASCII: Latin, Greek, Cyrillic and the rest of the
    // alphabetic blocks, less the punctuation and symbols of Latin-1.
    if (c < 0xC0) return c == 0xAA || c == 0xB5 || c == 0xBA;
    if (c == 0xD7 || c == 0xF7) return false;
    if (c >= 0x2000 && c < 0x2C00) return false;  // punctuation, symbols, arrows, boxes
    if (c >= 0x3000 && c < 0x3040) return false;
    if (c >= 0xD800 && c < 0xF900) return false;  // surrogates, private use
    if (c >= 0xFE00 && c < 0xFF10) return false;
    return true;
}

int32_t TextEngine::WordStart(int32_t offset) const
{
    offset = std::clamp(offset, 0, Length());
    while (offset > 0 && IsWordChar(text_[size_t(offset - 1)])) --offset;
    return offset;
}

int32_t TextEngine::WordEnd(int32_t offset) const
{
    offset = std::clamp(offset, 0, Length());
    while (offset < Length() && IsWordChar(text_[size_t(offset)])) ++offset;
    return offset;
}

}  // namespace platform

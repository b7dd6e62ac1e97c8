// Keys and the mouse: typing, deleting, caret movement (by character, by
// word with option, to line and text ends with command, by page), and
// selection by clicking and dragging (by word after a double click, by
// line after a triple click) with auto-scroll while the mouse is outside.
#include <algorithm>

#include "platform/core/Clock.h"
#include "platform/drawing/Ports.h"
#include "platform/events/Events.h"
#include "platform/textedit/TextEngine.h"

namespace platform {

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c < 0xDC00; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c < 0xE000; }

enum : uint8_t {
    kHome = 1,
    kEnter = 3,
    kEnd = 4,
    kBackspace = 8,
    kTab = 9,
    kPageUp = 11,
    kPageDown = 12,
    kReturn = 13,
    kLeft = 28,
    kRight = 29,
    kUp = 30,
    kDown = 31,
    kDelete = 127,
};

}  // namespace

int32_t TextEngine::VerticalMove(int32_t offset, int32_t lines) const
{
    if (lines_.empty()) return offset;
    const int32_t line = LineOf(offset);
    const int32_t target = line + lines;
    if (target < 0) return 0;
    if (target >= int32_t(lines_.size())) return Length();
    int32_t h = goalH_;
    if (h < 0) PointOf(offset, &h, nullptr);
    return OffsetAt(h, dest.top + lines_[size_t(target)].top, nullptr);
}

void TextEngine::MoveCaretTo(int32_t offset, bool extend)
{
    offset = std::clamp(offset, 0, Length());
    const int32_t anchor = anchor_;
    const int32_t goal = goalH_;
    if (extend) {
        SetSelection(std::min(anchor, offset), std::max(anchor, offset));
        anchor_ = anchor;
    } else {
        SetSelection(offset, offset);
    }
    goalH_ = goal;
}

bool TextEngine::Key(uint8_t charCode, char16_t unicode, uint16_t modifiers)
{
    if (!laidOut_) Layout();
    const bool shift = (modifiers & shiftKey) != 0;
    const bool option = (modifiers & optionKey) != 0;
    const bool command = (modifiers & cmdKey) != 0;
    // The end that moves when extending: the one away from the anchor.
    const int32_t moving = anchor_ == selStart_ ? selEnd_ : selStart_;
    const bool empty = selStart_ == selEnd_;
    auto prevChar = [&](int32_t o) {
        if (o <= 0) return 0;
        --o;
        if (o > 0 && IsLowSurrogate(text_[size_t(o)]) && IsHighSurrogate(text_[size_t(o - 1)])) --o;
        return o;
    };
    auto nextChar = [&](int32_t o) {
        if (o >= Length()) return Length();
        ++o;
        if (o < Length() && IsLowSurrogate(text_[size_t(o)]) && IsHighSurrogate(text_[size_t(o - 1)])) ++o;
        return o;
    };
    auto prevWord = [&](int32_t o) {
        while (o > 0 && !IsWordChar(text_[size_t(o - 1)])) --o;
        return WordStart(o);
    };
    auto nextWord = [&](int32_t o) {
        while (o < Length() && !IsWordChar(text_[size_t(o)])) ++o;
        return WordEnd(o);
    };
    auto lineStart = [&](int32_t o) { return lines_[size_t(LineOf(o))].start; };
    auto lineEnd = [&](int32_t o) {
        const int32_t line = LineOf(o);
        int32_t end = LineEnd(line);
        if (end > lines_[size_t(line)].start &&
            (text_[size_t(end - 1)] == u'\r' || line + 1 < int32_t(lines_.size())))
            --end;
        return end;
    };
    const int32_t pageLines = std::max<int32_t>(1, (view.bottom - view.top) / std::max<int32_t>(1, LineHeightAt(moving)));

    switch (charCode) {
    case kLeft:
    case kRight:
    case kUp:
    case kDown:
    case kHome:
    case kEnd:
    case kPageUp:
    case kPageDown: {
        if (!selectionShown) return false;
        const int32_t from = shift ? moving : (charCode == kLeft || charCode == kUp ? selStart_ : selEnd_);
        int32_t to = from;
        const int32_t goal = goalH_;
        switch (charCode) {
        case kLeft: to = option ? prevWord(from) : command ? lineStart(from) : (!empty && !shift) ? from : prevChar(from); break;
        case kRight: to = option ? nextWord(from) : command ? lineEnd(from) : (!empty && !shift) ? from : nextChar(from); break;
        case kUp: to = command ? 0 : VerticalMove(from, -1); break;
        case kDown: to = command ? Length() : VerticalMove(from, 1); break;
        case kHome: to = 0; break;
        case kEnd: to = Length(); break;
        case kPageUp: to = VerticalMove(from, -pageLines); break;
        case kPageDown: to = VerticalMove(from, pageLines); break;
        default: break;
        }
        if ((charCode == kUp || charCode == kDown || charCode == kPageUp || charCode == kPageDown) && !command) {
            if (goal < 0) PointOf(from, &goalH_, nullptr);
        } else {
            goalH_ = -1;
        }
        const int32_t keepGoal = goalH_;
        if (charCode == kPageUp || charCode == kPageDown) {
            const int32_t dv = (charCode == kPageUp ? 1 : -1) * pageLines * std::max<int32_t>(1, LineHeightAt(from));
            const int32_t room = TotalHeight() - (view.bottom - view.top);
            const int32_t scrolled = view.top - dest.top;
            const int32_t want = std::clamp(scrolled - dv, 0, std::max(0, room));
            Scroll(0, scrolled - want);
        }
        MoveCaretTo(to, shift);
        goalH_ = keepGoal;
        if (autoView) ShowSelection(selEnd_ == to);  // the end that moved
        return true;
    }
    case kBackspace:
    case kDelete: {
        if (readOnly) return false;
        int32_t from = selStart_, to = selEnd_;
        if (from == to) {
            if (charCode == kBackspace)
                from = option ? prevWord(to) : command ? lineStart(to) : prevChar(to);
            else
                to = option ? nextWord(from) : command ? lineEnd(from) : nextChar(from);
        }
        if (from == to) return true;
        if (willType) willType(willTypeRefCon, from, to, std::u16string());
        Replace(from, to, StyledFragment{});
        MoveCaretTo(from, false);
        if (autoView) ShowSelection(true);
        return true;
    }
    default: break;
    }

    char16_t typed = unicode;
    if (charCode == kReturn || charCode == kEnter) {
        if (singleLine) return false;
        typed = u'\r';
    } else if (charCode == kTab) {
        typed = u'\t';
    } else if (typed < 0x20 || typed == 0x7F) {
        return false;  // escape and the other controls type nothing
    }
    if (readOnly) return false;
    const std::u16string one(1, typed);
    const int32_t from = selStart_, to = selEnd_;
    if (maxLength_ > 0 && Length() - (to - from) + 1 > maxLength_) return false;
    if (willType) willType(willTypeRefCon, from, to, one);
    StyledFragment f;
    f.text = one;
    Replace(from, to, f);
    MoveCaretTo(from + 1, false);
    if (autoView) ShowSelection(true);
    return true;
}

void TextEngine::AutoScrollTo(int32_t h, int32_t v)
{
    const int32_t step = std::max<int32_t>(1, lines_.empty() ? 16 : lines_.front().height);
    int32_t dv = 0, dh = 0;
    if (v < view.top && dest.top < view.top)
        dv = std::min(step, view.top - dest.top);
    else if (v >= view.bottom && dest.top + TotalHeight() > view.bottom)
        dv = -std::min(step, dest.top + TotalHeight() - view.bottom);
    const int32_t right = dest.left + (wrap ? dest.right - dest.left : WidestLine());
    if (h < view.left && dest.left < view.left)
        dh = std::min(step, view.left - dest.left);
    else if (h >= view.right && right > view.right)
        dh = -std::min(step, right - view.right);
    Scroll(dh, dv);
}

void TextEngine::Click(int32_t h, int32_t v, bool extend)
{
    if (!laidOut_) Layout();
    if (!selectionShown) return;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    if (port) SetPort(port);
    const uint32_t now = TickCount();
    const int32_t offset = OffsetAt(h, v, nullptr);
    if (!extend && clickCount_ > 0 && now - lastClickTick_ <= GetDblTime() && std::abs(offset - lastClickOffset_) <= 1)
        clickCount_ = clickCount_ >= 3 ? 1 : clickCount_ + 1;
    else
        clickCount_ = 1;
    lastClickOffset_ = offset;

    // The unit the click selects: a caret, a word, a line.
    auto unit = [&](int32_t o, int32_t* a, int32_t* b) {
        if (clickCount_ == 2) {
            const bool onWord = (o < Length() && IsWordChar(text_[size_t(o)])) || (o > 0 && IsWordChar(text_[size_t(o - 1)]));
            if (onWord) {
                *a = WordStart(o);
                *b = WordEnd(o);
            } else {
                *a = o;
                *b = std::min(o + 1, Length());
            }
        } else if (clickCount_ == 3) {
            const int32_t line = LineOf(o);
            *a = lines_[size_t(line)].start;
            *b = LineEnd(line);
        } else {
            *a = *b = o;
        }
    };
    int32_t anchor = anchor_;
    if (extend) {
        if (offset < selStart_) anchor = selEnd_;
        else if (offset > selEnd_) anchor = selStart_;
        wordAnchorStart_ = wordAnchorEnd_ = anchor;
        clickCount_ = 1;
    } else {
        unit(offset, &wordAnchorStart_, &wordAnchorEnd_);
        anchor = wordAnchorStart_;
    }
    auto select = [&](int32_t o) {
        int32_t a = 0, b = 0;
        unit(o, &a, &b);
        const int32_t s = std::min(a, wordAnchorStart_), e = std::max(b, wordAnchorEnd_);
        SetSelection(s, e);
        anchor_ = o < wordAnchorStart_ ? wordAnchorEnd_ : wordAnchorStart_;
        if (extend) anchor_ = anchor;
    };
    select(offset);
    while (StillDown()) {
        Point p{};
        GetMouse(&p);
        if (p.h < view.left || p.h >= view.right || p.v < view.top || p.v >= view.bottom) {
            if (clickLoop) {
                if (!clickLoop(clickLoopRefCon)) break;
                if (port) SetPort(port);
            } else if (autoView) {
                AutoScrollTo(p.h, p.v);
            }
        }
        select(OffsetAt(p.h, p.v, nullptr));
    }
    lastClickTick_ = TickCount();
    SetPort(saved);
}

}  // namespace platform

#include "platform/drawing/TextLayout.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/drawing/Ports.h"
#include "platform/drawing/Text.h"
#include "platform/drawing/TextRuns.h"

namespace platform {

namespace {

bool IsBlank(uint8_t c) { return c == ' ' || c == '\t' || c == 0xCA; }
bool IsLineEnd(uint8_t c) { return c == '\r' || c == '\n'; }

// Widths through the port's measuring procedure, as the text will draw.
int32_t Width(const uint8_t* text, int32_t length)
{
    if (length <= 0) return 0;
    int32_t total = 0;
    while (length > 0) {
        const int16_t part = int16_t(std::min<int32_t>(length, 0x7FFF));
        total += TextWidth(text, 0, part);
        text += part;
        length -= part;
    }
    return total;
}

// Cuts text[0..length) to fit `width` with an ellipsis, into `out`.
int16_t Truncate(int32_t width, const uint8_t* text, int32_t length, TruncCode where, std::vector<uint8_t>* out)
{
    out->assign(text, text + length);
    if (width < 0) width = 0;
    if (Width(text, length) <= width) return notTruncated;
    const uint8_t ellipsis = kEllipsisByte;
    const int32_t room = width - Width(&ellipsis, 1);
    out->clear();
    if (room < 0) return truncated;
    // The text kept, head...tail; measured whole, as it will draw: parts
    // measured apart round apart.
    const auto join = [&](int32_t head, int32_t tail) {
        out->assign(text, text + head);
        out->push_back(ellipsis);
        out->insert(out->end(), text + length - tail, text + length);
        return Width(out->data(), int32_t(out->size())) <= width;
    };
    int32_t head = 0, tail = 0;
    if (where == truncMiddle) {
        // As many characters as fit, taken alternately from each end.
        for (bool fromHead = true;; fromHead = !fromHead) {
            if (head + tail >= length) break;
            const int32_t h2 = head + (fromHead ? 1 : 0), t2 = tail + (fromHead ? 0 : 1);
            if (Width(text, h2) + Width(text + length - t2, t2) > room) {
                // The other end may still take one.
                const int32_t h3 = head + (fromHead ? 0 : 1), t3 = tail + (fromHead ? 1 : 0);
                if (Width(text, h3) + Width(text + length - t3, t3) > room) break;
                head = h3;
                tail = t3;
                continue;
            }
            head = h2;
            tail = t2;
        }
    } else {
        head = length;
        while (head > 0 && Width(text, head) > room) --head;
    }
    while (!join(head, tail) && head + tail > 0) {
        if (head >= tail) --head;
        else --tail;
    }
    return truncated;
}

}  // namespace

static int16_t TruncStringUnguarded(int16_t width, Str255 theString, TruncCode truncWhere)
{
    if (!theString || (truncWhere != truncEnd && truncWhere != truncMiddle)) return truncErr;
    std::vector<uint8_t> out;
    const int16_t result = Truncate(width, theString + 1, theString[0], truncWhere, &out);
    theString[0] = uint8_t(std::min<size_t>(out.size(), 255));
    if (!out.empty()) std::memcpy(theString + 1, out.data(), theString[0]);
    return result;
}

static int16_t TruncTextUnguarded(int16_t width, Ptr textPtr, int16_t* length, TruncCode truncWhere)
{
    if (!textPtr || !length || *length < 0 || (truncWhere != truncEnd && truncWhere != truncMiddle))
        return truncErr;
    std::vector<uint8_t> out;
    const int16_t result = Truncate(width, reinterpret_cast<const uint8_t*>(textPtr), *length, truncWhere, &out);
    // The ellipsis takes one byte, never more than what it replaces.
    const size_t n = std::min<size_t>(out.size(), size_t(*length));
    if (n) std::memcpy(textPtr, out.data(), n);
    *length = int16_t(n);
    return result;
}

static StyledLineBreakCode StyledLineBreakUnguarded(Ptr textPtr, int32_t textLen, int32_t textStart, int32_t textEnd,
                                                    int32_t flags, Fixed* textWidth, int32_t* textOffset)
{
    (void)flags;
    if (!textPtr || !textWidth || !textOffset || textStart < 0 || textEnd > textLen || textStart > textEnd) {
        if (textOffset) *textOffset = std::max(textStart, 0);
        return smBreakWord;
    }
    const auto* text = reinterpret_cast<const uint8_t*>(textPtr);
    const bool firstOnLine = *textOffset != 0;
    const int32_t n = textEnd - textStart;
    const TextStyle style = PortTextStyle(GetQDGlobalsThePort());
    // Width after each character of the run, in fixed point.
    std::vector<int64_t> after(size_t(n) + 1, 0);
    for (int32_t i = 0; i < n; ++i) {
        const TextSpan one{text + textStart + i, nullptr, 1};
        after[size_t(i) + 1] = after[size_t(i)] + SpanWidthFixed(style, one);
    }
    const int64_t avail = *textWidth;
    for (int32_t i = 0; i < n; ++i) {
        const uint8_t c = text[textStart + i];
        if (IsLineEnd(c)) {
            *textOffset = textStart + i + 1;
            return smBreakWord;
        }
        if (after[size_t(i) + 1] <= avail || IsBlank(c)) continue;
        // Character i overflows: end the line after the last blank before it.
        for (int32_t j = i; j > 0; --j)
            if (IsBlank(text[textStart + j - 1])) {
                *textOffset = textStart + j;
                return smBreakWord;
            }
        if (!firstOnLine) {
            *textOffset = textStart;
            return smBreakWord;
        }
        *textOffset = textStart + std::max(i, int32_t(1));
        return smBreakChar;
    }
    *textWidth = Fixed(std::max<int64_t>(avail - after[size_t(n)], INT32_MIN));
    *textOffset = textEnd;
    return smBreakOverflow;
}

int16_t TruncString(int16_t width, Str255 theString, TruncCode truncWhere)
{
    return TextGuarded(truncErr, [&] { return TruncStringUnguarded(width, theString, truncWhere); });
}

int16_t TruncText(int16_t width, Ptr textPtr, int16_t* length, TruncCode truncWhere)
{
    return TextGuarded(truncErr, [&] { return TruncTextUnguarded(width, textPtr, length, truncWhere); });
}

StyledLineBreakCode StyledLineBreak(Ptr textPtr, int32_t textLen, int32_t textStart, int32_t textEnd, int32_t flags,
                                    Fixed* textWidth, int32_t* textOffset)
{
    const int code = TextGuarded(-1, [&] {
        return int(StyledLineBreakUnguarded(textPtr, textLen, textStart, textEnd, flags, textWidth, textOffset));
    });
    if (code >= 0) return StyledLineBreakCode(code);
    // Out of memory: the line ends where the run starts.
    if (textOffset) *textOffset = std::max(textStart, 0);
    return smBreakWord;
}

int32_t VisibleLength(Ptr textPtr, int32_t textLength)
{
    if (!textPtr || textLength <= 0) return 0;
    const auto* text = reinterpret_cast<const uint8_t*>(textPtr);
    while (textLength > 0 && (IsBlank(text[textLength - 1]) || IsLineEnd(text[textLength - 1]))) --textLength;
    return textLength;
}

}  // namespace platform

// Documentation resources: either a list of 20-byte entries, or text with
// its style record and style table.
#include "resources/swap/SwapCursor.h"
#include "resources/swap/SwapResource.h"

namespace {

bool Words(SwapCursor& c, int64_t at, int32_t count)
{
    for (int32_t i = 0; i < count; ++i)
        if (!c.Word(at + 2 * i)) return false;
    return true;
}

void EntryList(SwapCursor& c)
{
    int32_t n = 0;
    if (!c.Long(4) || !c.Long(8) || !c.Word(12, &n, true)) return;
    int64_t at = 14;
    for (int32_t i = 0; i < n; ++i, at += 20)
        if (!c.Long(at) || !Words(c, at + 4, 8)) return;
    c.Long(at);
}

void StyledText(SwapCursor& c)
{
    uint32_t textLength = 0, styleLength = 0, tableLength = 0;
    if (!c.Long(4, &textLength)) return;
    int64_t at = 8 + RoundUpEven(textLength);
    if (!c.Long(at, &styleLength)) return;
    at += 4;
    const int64_t style = at;
    if (!c.Fits(style, RoundUpEven(styleLength))) return;
    int32_t runs = 0, entries = 0;
    if (styleLength > 0) {
        if (!c.Fits(style, 20) || !c.Word(style, &runs) || !c.Word(style + 2, &entries)) return;
        if (20 + 4 * int64_t(runs) > int64_t(styleLength)) {
            errSwap = 1;
            return;
        }
        for (int32_t i = 0; i < 4; ++i)
            if (!c.Long(style + 4 + 4 * i)) return;
        // The run one past the end of the text follows the runs when the
        // record holds it (the text engine always writes it).
        const bool closing = 20 + 4 * (int64_t(runs) + 1) <= int64_t(styleLength);
        if (!Words(c, style + 20, 2 * (runs + (closing ? 1 : 0)))) return;
    }
    at = style + RoundUpEven(styleLength);
    if (!c.Long(at, &tableLength)) return;
    at += 4;
    if (!c.Fits(at, RoundUpEven(tableLength))) return;
    if (18 * int64_t(entries) > int64_t(tableLength)) {
        errSwap = 1;
        return;
    }
    for (int32_t i = 0; i < entries; ++i, at += 18)
        if (!Words(c, at, 4) || !Words(c, at + 10, 4)) return;
}

}  // namespace

void SwapDoc(uint8_t direction, int32_t size, uint8_t* contents)
{
    if (size < 1) return;
    SwapCursor c(contents, size, direction == kSwapReading);
    uint32_t tag = 0;
    if (!c.PeekLong(0, &tag)) return;
    const uint8_t layout = uint8_t(tag >> 24);
    if (layout == 'H' || layout == 'O') {
        // The stream form: 'HECO' and the rest, all 32-bit values.
        c.Long(0);
        EntryList(c);
        return;
    }
    // Text: the version and state are two words; reversed as one value they
    // would trade places.
    if (!c.Word(0) || !c.Word(2)) return;
    StyledText(c);
}

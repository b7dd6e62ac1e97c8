// Dedicated conversions of colour tables, picture lists, name and font
// lists, style sheets and small fixed records.
#include "resources/swap/SwapCursor.h"
#include "resources/swap/SwapResource.h"

namespace {

void Fields(SwapCursor& c, int64_t at, std::initializer_list<int> widths)
{
    for (int w : widths) {
        if (!(w == 2 ? c.Word(at) : c.Long(at))) return;
        at += w;
    }
}

}  // namespace

void SwapClut(uint8_t direction, int32_t size, uint8_t* contents)
{
    SwapCursor c(contents, size, direction == kSwapReading);
    int32_t last = 0;  // the entry count less one
    if (!c.Long(0) || !c.Word(4) || !c.Word(6, &last, true)) return;
    for (int32_t i = 0; i <= last; ++i)
        for (int32_t k = 0; k < 4; ++k)
            if (!c.Word(8 + 8 * int64_t(i) + 2 * k)) return;
}

void SwapQuickTimeSettings(uint8_t, int32_t size, uint8_t* contents)
{
    SwapCursor c(contents, size, true);
    Fields(c, 0, {4, 4, 4, 4, 4, 2, 4, 4, 4, 4});
}

void SwapPictListPref(uint8_t direction, int32_t size, uint8_t* contents)
{
    SwapCursor c(contents, size, direction == kSwapReading);
    Fields(c, 0, {4, 2, 2, 4, 4});
}

void SwapPictureWizardSetting(uint8_t direction, int32_t size, uint8_t* contents)
{
    SwapCursor c(contents, size, direction == kSwapReading);
    Fields(c, 0, {4, 4, 2, 2, 2, 2});
}

void SwapPictList(uint8_t direction, int32_t size, uint8_t* contents)
{
    if (size < 2) return;
    SwapCursor c(contents, size, direction == kSwapReading);
    int32_t n = 0;
    c.Word(0, &n);
    if (int64_t(size) != 2 + 34 * int64_t(n)) return;  // only the count is trusted
    for (int32_t i = 0; i < n; ++i) c.Word(2 + 34 * int64_t(i) + 32);
}

void SwapNameList(uint8_t direction, int32_t size, uint8_t* contents)
{
    SwapCursor c(contents, size, direction == kSwapReading);
    uint32_t groups = 0;
    if (!c.Long(0, &groups)) return;
    int64_t at = 4;
    for (uint32_t g = 0; g < groups && at < size; ++g) {
        uint32_t entries = 0;
        if (!c.Long(at) || !c.Long(at + 4, &entries)) return;
        at += 8;
        for (uint32_t e = 0; e < entries && at < size; ++e) {
            if (!c.Fits(at, 34)) return;
            c.Word(at);
            at += 34;
        }
    }
}

void SwapFontList(uint8_t direction, int32_t size, uint8_t* contents)
{
    SwapCursor c(contents, size, direction == kSwapReading);
    int32_t n = 0;
    if (!c.Word(0, &n)) return;
    int64_t at = 2;
    for (int32_t i = 0; i < n; ++i) {
        if (!c.Fits(at, 3)) return;
        const int64_t name = PaddedStringBytes(*c.At(at + 2));
        if (!c.Fits(at + 2, name)) return;
        c.Word(at);
        at += 2 + name;
    }
}

void SwapStyleSheets(uint8_t direction, int32_t size, uint8_t* contents)
{
    if (size < 4) return;
    SwapCursor c(contents, size, direction == kSwapReading);
    int32_t count = 0;
    c.PeekWord(0, &count);
    const int64_t sheets = int64_t(size) - 4;
    int64_t sheet;
    if (sheets == 376 * int64_t(count))
        sheet = 376;
    else if (sheets == 238 * int64_t(count))
        sheet = 238;
    else {
        errSwap = 1;  // the size does not tell the layout: leave it as it is
        return;
    }
    c.Word(0);
    c.Word(2);
    for (int32_t i = 0; i < count; ++i) {
        const int64_t base = 4 + sheet * i;
        c.Word(base + 32);
        if (sheet == 376) c.Word(base + 34);  // the font count; the fonts stay as they are
    }
}

#include "forms/drawing/TextBoxes.h"

#include <algorithm>
#include <vector>

#include "kernel/formhooks/FormServices.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "toolbox/views/NativeTextBox.h"

using namespace platform;

namespace {

constexpr int32_t kMostLineBytes = 1000;
constexpr uint8_t kReturn = 13;

int16_t LineHeight(FontInfo* fi)
{
    GetFontInfo(fi);
    return int16_t(fi->ascent + fi->descent + fi->leading);
}

// Where a line of that width starts within a box of `boxWidth`.
int16_t Offset(int16_t justification, int16_t boxWidth, int16_t lineWidth)
{
    switch (justification) {
    case -2: return 1;
    case 1: return int16_t((boxWidth - lineWidth) / 2);
    case -1: return int16_t(boxWidth - lineWidth);
    case 0: return GetLowBAC() == -1 ? int16_t(boxWidth - lineWidth) : int16_t(0);
    default: return 0;
    }
}

bool NeedsWidth(int16_t justification)
{
    return justification == 1 || justification == -1 || (justification == 0 && GetLowBAC() == -1);
}

int16_t Width(const uint8_t* text, int32_t n) { return TextWidth(text, 0, int16_t(std::min(n, kMostLineBytes))); }

int32_t UpToReturn(const uint8_t* text, int32_t from, int32_t length)
{
    int32_t end = from;
    while (end < length && text[end] != kReturn) ++end;
    return end;
}

// The line of the text at `pos` broken at `width` (bytes taken), and past
// what separates it from the next one.
struct BoxLine {
    int32_t start = 0, count = 0;
    bool broken = false;
};

BoxLine NextLine(const uint8_t* text, int32_t length, int32_t pos, int16_t width)
{
    const int32_t end = UpToReturn(text, pos, length);
    BoxLine line{pos, 0, false};
    line.count = TEGetLineBreak(text + pos, std::min(end - pos, kMostLineBytes), width);
    line.broken = pos + line.count < end;
    return line;
}

int32_t Skip(const uint8_t* text, int32_t length, int32_t pos)
{
    if (pos < length && text[pos] == kReturn) return pos + 1;
    while (pos < length && text[pos] <= 32) ++pos;
    return pos;
}

int32_t WithoutTrailingBlanks(const uint8_t* text, const BoxLine& line)
{
    int32_t n = line.count;
    while (n > 0 && text[line.start + n - 1] <= 32) --n;
    return n;
}

}  // namespace

void MyTextBox(const uint8_t* text, int32_t length, const Rect& r, int16_t justification)
{
    if (!text || length <= 0) return;
    FontInfo fi{};
    const int16_t lh = LineHeight(&fi);
    const int16_t boxWidth = int16_t(r.right - r.left);
    if (2 * (r.bottom - r.top) <= 3 * lh) {
        int32_t n = std::min(UpToReturn(text, 0, length), kMostLineBytes);
        int16_t w = Width(text, n);
        if (w > boxWidth && n > 0) {
            std::vector<int16_t> positions(size_t(n) + 1);
            n = std::max<int32_t>(WinMeasureText(int16_t(n), text, positions.data(), boxWidth), 1);
            w = Width(text, n);
        }
        MoveTo(int16_t(r.left + Offset(justification, boxWidth, w)), int16_t(r.top + fi.ascent));
        DrawText(text, 0, int16_t(n));
        return;
    }
    int32_t pos = 0;
    bool first = true;
    for (int32_t top = r.top; top < r.bottom && pos < length; top += lh) {
        const BoxLine line = NextLine(text, length, pos, boxWidth);
        int16_t w = 0;
        if (NeedsWidth(justification))
            w = Width(text + line.start, line.broken || !first ? WithoutTrailingBlanks(text, line) : line.count);
        MoveTo(int16_t(r.left + Offset(justification, boxWidth, w)), int16_t(top + fi.ascent));
        DrawText(text + line.start, 0, int16_t(line.count));
        pos = Skip(text, length, line.start + line.count);
        first = false;
    }
}

int16_t TextBoxSize(const uint8_t* text, int32_t length, int16_t* width, int16_t* height, int16_t maxWidth)
{
    FontInfo fi{};
    const int16_t lh = LineHeight(&fi);
    int32_t widest = 0, lines = 0;
    for (int32_t pos = 0; text && pos < length && lines < 32767 / std::max<int16_t>(lh, 1);) {
        const BoxLine line = NextLine(text, length, pos, maxWidth);
        widest = std::max<int32_t>(widest, Width(text + line.start, WithoutTrailingBlanks(text, line)));
        ++lines;
        pos = Skip(text, length, line.start + line.count);
    }
    *width = int16_t(widest);
    *height = int16_t(lines * lh);
    return lh;
}

int16_t StringBoxSize(const unsigned char* text, int16_t* width, int16_t* height, int16_t maxWidth)
{
    return TextBoxSize(text ? text + 1 : nullptr, text ? text[0] : 0, width, height, maxWidth);
}

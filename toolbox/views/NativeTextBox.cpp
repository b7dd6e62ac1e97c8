#include "toolbox/views/NativeTextBox.h"

#include <algorithm>
#include <vector>

#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/drawing/TextLayout.h"
#include "platform/text/ScriptManager.h"

namespace {

constexpr int32_t kMostLineBytes = 1000;

bool DoubleByteScript() { return platform::GetScriptManagerVariable(platform::smDoubleByte) != 0; }

// True when offset falls on the second byte of a two-byte character.
bool InsideCharacter(const uint8_t* bytes, int32_t offset)
{
    return offset > 0 && offset < 0x7FFF &&
           platform::CharacterByteType(bytes, int16_t(offset), platform::GetScriptManagerVariable(
                                                                 platform::smSysScript)) == platform::smLastByte;
}

enum class Flush { Left, Right, Centre };

Flush FlushOf(int16_t justification)
{
    if (justification == kJustRight) return Flush::Right;
    if (justification == kJustCentre) return Flush::Centre;
    return Flush::Left;
}

void DrawLine(const uint8_t* bytes, int32_t count, const platform::Rect& box, int16_t baseline, Flush flush)
{
    const int16_t width = int16_t(box.right - box.left);
    const int16_t textWidth = platform::TextWidth(bytes, 0, int16_t(count));
    int16_t x = 1;
    if (flush == Flush::Centre) x = int16_t((width - textWidth) / 2);
    if (flush == Flush::Right) x = int16_t(width - textWidth);
    platform::MoveTo(int16_t(box.left + x), baseline);
    platform::DrawText(bytes, 0, int16_t(count));
}

}  // namespace

int16_t WinMeasureText(int16_t count, const uint8_t* bytes, int16_t* positions, int16_t width)
{
    if (count <= 0 || !bytes) {
        if (positions) positions[0] = 0;
        return 0;
    }
    const bool doubleByte = DoubleByteScript();
    // The longest prefix whose width is still within the line.
    int16_t low = 0, high = count;
    while (low < high) {
        int16_t probe = int16_t((low + high + 1) / 2);
        if (doubleByte)
            while (probe > low + 1 && InsideCharacter(bytes, probe)) --probe;
        if (platform::TextWidth(bytes, 0, probe) <= width) {
            if (probe == low) break;
            low = probe;
        } else {
            high = int16_t(probe - 1);
        }
    }
    if (positions) platform::MeasureText(low, bytes, positions);
    return std::min(low, count);
}

int32_t TEGetLineBreak(const uint8_t* bytes, int32_t length, int16_t width)
{
    if (length <= 0 || !bytes) return 0;
    if (DoubleByteScript()) {
        platform::Fixed left = platform::Fixed(width) << 16;
        int32_t offset = 1;
        const platform::StyledLineBreakCode code =
            platform::StyledLineBreak(reinterpret_cast<platform::Ptr>(const_cast<uint8_t*>(bytes)), length, 0,
                                      length, 0, &left, &offset);
        return code == platform::smBreakOverflow ? length : std::max<int32_t>(offset, 1);
    }
    const int16_t count = int16_t(std::min(length, kMostLineBytes));
    std::vector<int16_t> positions(size_t(count) + 1);
    platform::MeasureText(count, bytes, positions.data());
    int32_t end = count;
    if (positions[size_t(count)] > width) {
        while (end > 0 && positions[size_t(end)] > width) --end;
        // Back to the last blank, when the line has one.
        int32_t blank = end;
        while (blank > 0 && bytes[blank - 1] > 0x20) --blank;
        if (blank > 0) end = blank;
    }
    return std::max<int32_t>(end, 1);
}

void MyTextBox(platform::CGrafPtr port, const platform::Rect& box, const platform::Rect* clip,
               const uint8_t* bytes, int32_t length, int16_t justification)
{
    if (!port || !bytes || length <= 0) return;
    platform::GrafPtr saved = nullptr;
    platform::GetPort(&saved);
    platform::SetPort(port);
    platform::RgnHandle savedClip = nullptr;
    if (clip && (savedClip = platform::NewRgn()) != nullptr) {
        platform::GetClip(savedClip);
        platform::ClipRect(clip);
    }
    const Flush flush = FlushOf(justification);
    platform::FontInfo info{};
    platform::GetFontInfo(&info);
    const int32_t lineHeight = info.ascent + info.descent + info.leading;
    const int16_t width = int16_t(box.right - box.left);
    const bool doubleByte = DoubleByteScript();

    if ((box.bottom - box.top) * 2 > lineHeight * 3) {
        int32_t at = 0, top = box.top;
        while (at < length && top + lineHeight <= box.bottom) {
            const uint8_t* line = bytes + at;
            const int32_t rest = length - at;
            const uint8_t* cr = std::find(line, line + std::min(rest, kMostLineBytes), uint8_t(13));
            int32_t count = TEGetLineBreak(line, rest, width);
            bool hardBreak = false;
            if (cr - line < count) {
                count = int32_t(cr - line);
                hardBreak = true;
            }
            int32_t shown = count;
            if (flush != Flush::Left && at + count < length)
                shown = platform::VisibleLength(reinterpret_cast<platform::Ptr>(const_cast<uint8_t*>(line)), count);
            DrawLine(line, shown, box, int16_t(top + info.ascent + info.leading), flush);
            at += count;
            if (hardBreak) {
                ++at;
            } else {
                while (at < length && bytes[at] < 0x21 && !(doubleByte && InsideCharacter(bytes, at))) ++at;
            }
            top += lineHeight;
        }
    } else {
        const int32_t most = std::min(length, kMostLineBytes);
        int32_t count = int32_t(std::find(bytes, bytes + most, uint8_t(13)) - bytes);
        if (platform::TextWidth(bytes, 0, int16_t(count)) > width) {
            std::vector<int16_t> positions(size_t(count) + 1);
            count = WinMeasureText(int16_t(count), bytes, positions.data(), width);
            if (doubleByte)
                while (count > 0 && InsideCharacter(bytes, count)) --count;
        }
        DrawLine(bytes, count, box, int16_t(box.top + info.ascent + info.leading), flush);
    }
    if (savedClip) {
        platform::SetClip(savedClip);
        platform::DisposeRgn(savedClip);
    }
    platform::SetPort(saved);
}

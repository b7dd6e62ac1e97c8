// Text from documents drawn, measured, cut and broken into lines: any
// bytes, in any family, size, face and transfer mode, with one-bit or grey
// glyphs. Nothing may be read or written outside the text or the world,
// positions must rise, and cut text must fit.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "platform/drawing/TextLayout.h"
#include "platform/drawing/ThemeText.h"
#include "platform/fonts/Fonts.h"

using namespace platform;

namespace {

constexpr int16_t kFamilies[] = {0, 1, 2, 3, 4, 20, 21, 22, 23, 102, 1024, 1100, -5};

GWorldPtr World()
{
    static GWorldPtr world = nullptr;
    if (!world) {
        Rect bounds{0, 0, 48, 96};
        if (NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0) != noErr) std::abort();
    }
    return world;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 6) return 0;
    SetGWorld(World(), nullptr);
    TextFont(kFamilies[data[0] % (sizeof kFamilies / sizeof kFamilies[0])]);
    TextSize(int16_t(data[1] % 64 - 2));
    TextFace(data[2]);
    TextMode(int16_t(data[3] % 40));
    SpaceExtra(Fixed(int8_t(data[4])) << 14);
    QDSwapTextFlags((data[5] & 1) ? kQDSupportedFlags : kQDUseTrueTypeScalerGlyphs);
    const uint8_t* text = data + 6;
    const int16_t length = int16_t(std::min<size_t>(size - 6, 2000));

    MoveTo(int16_t(int8_t(data[0])), int16_t(20 + int8_t(data[1]) / 4));
    DrawText(text, 0, length);
    const int16_t width = TextWidth(text, 0, length);
    std::vector<int16_t> locs(size_t(length) + 1);
    MeasureText(length, text, locs.data());
    for (int32_t i = 1; i <= length; ++i)
        if (locs[size_t(i)] < locs[size_t(i) - 1]) std::abort();
    if (length > 0 && locs[size_t(length)] != width) std::abort();

    std::vector<char> copy(text, text + length);
    int16_t cut = length;
    const int16_t limit = int16_t(data[1]);
    if (TruncText(limit, copy.data(), &cut, (data[2] & 1) ? truncMiddle : truncEnd) == truncated &&
        TextWidth(copy.data(), 0, cut) > limit)
        std::abort();
    if (cut > length) std::abort();

    // Lines over the whole text, as a text box would take them.
    int32_t start = 0;
    for (int lines = 0; start < length && lines < 4000; ++lines) {
        Fixed room = Fixed(limit) << 16;
        int32_t offset = 1;
        const StyledLineBreakCode code = StyledLineBreak(reinterpret_cast<Ptr>(const_cast<uint8_t*>(text)), length,
                                                         start, length, 0, &room, &offset);
        if (offset < start || offset > length) std::abort();
        if (code != smBreakOverflow && offset == start) std::abort();  // first on the line: progress
        start = offset;
    }
    if (VisibleLength(reinterpret_cast<Ptr>(const_cast<uint8_t*>(text)), length) > length) std::abort();

    std::u16string unicode;
    for (int32_t i = 0; i + 1 < length; i += 2) unicode.push_back(char16_t(text[i] << 8 | text[i + 1]));
    Point bounds{0, int16_t(limit)};
    GetThemeTextDimensions(unicode, ThemeFontID((data[3] & 1) ? kThemeCurrentPortFont : kThemeSmallSystemFont), 1,
                           (data[4] & 1) != 0, &bounds, nullptr);
    Rect box{4, 4, 44, int16_t(4 + limit / 3)};
    DrawThemeTextBox(unicode, kThemeCurrentPortFont, 1, (data[4] & 2) != 0, &box, int16_t(data[5] % 4 - 2), nullptr);
    Boolean truncatedFlag = false;
    TruncateThemeText(&unicode, kThemeSystemFont, 1, limit, truncEnd, &truncatedFlag);
    return 0;
}

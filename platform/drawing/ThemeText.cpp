#include "platform/drawing/ThemeText.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/core/Errors.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Raster.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/TextRuns.h"
#include "platform/fonts/Fonts.h"
#include "platform/theme/ThemeRecording.h"

namespace platform {

namespace {

struct ThemeFont {
    int16_t family;
    int16_t size;
    Style face;
};

bool Lookup(ThemeFontID id, ThemeFont* out)
{
    switch (id) {
    case kThemeSystemFont:
    case kThemeViewsFont:
    case kThemeMenuTitleFont:
    case kThemeMenuItemFont:
    case kThemeMenuItemMarkFont:
    case kThemeMenuItemCmdKeyFont:
    case kThemeWindowTitleFont:
    case kThemePushButtonFont:
    case kThemeUtilityWindowTitleFont: *out = {systemFont, 12, normal}; return true;
    case kThemeEmphasizedSystemFont:
    case kThemeAlertHeaderFont: *out = {systemFont, 12, bold}; return true;
    case kThemeSmallSystemFont:
    case kThemeLabelFont:
    case kThemeMiniSystemFont: *out = {systemFont, 10, normal}; return true;
    case kThemeSmallEmphasizedSystemFont: *out = {systemFont, 10, bold}; return true;
    case kThemeApplicationFont: *out = {applFont, 12, normal}; return true;
    case kThemeCurrentPortFont: {
        const GrafPtr port = GetQDGlobalsThePort();
        *out = {port ? port->txFont : systemFont, port && port->txSize > 0 ? port->txSize : GetDefFontSize(),
                port ? port->txFace : Style(normal)};
        return true;
    }
    default: return false;
    }
}

bool StyleOf(ThemeFontID id, TextStyle* style)
{
    ThemeFont f{};
    if (!Lookup(id, &f)) return false;
    const GrafPtr port = GetQDGlobalsThePort();
    *style = MakeTextStyle(f.family, f.size, f.face, id == kThemeCurrentPortFont && port ? port->spExtra : 0);
    return true;
}

std::u32string Decode(const std::u16string& text)
{
    std::u32string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            out.push_back(0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            out.push_back(0xFFFD);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::u16string Encode(const std::u32string& text)
{
    std::u16string out;
    for (char32_t c : text) {
        if (c >= 0x10000) {
            out.push_back(char16_t(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(char16_t(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(char16_t(c));
        }
    }
    return out;
}

bool IsLineEnd(char32_t c) { return c == U'\r' || c == U'\n'; }

int32_t Width(const TextStyle& style, const std::u32string& text, size_t from, size_t to)
{
    if (to <= from) return 0;
    return SpanWidth(style, {nullptr, text.data() + from, int32_t(to - from)});
}

// The lines of the text as [begin, end) ranges, wrapped to `width` at
// spaces (a word wider than a line is cut between characters).
std::vector<std::pair<size_t, size_t>> Lines(const TextStyle& style, const std::u32string& text, bool wrap,
                                             int32_t width)
{
    std::vector<std::pair<size_t, size_t>> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = start;
        while (end < text.size() && !IsLineEnd(text[end])) ++end;
        // One paragraph, wrapped.
        size_t begin = start;
        while (wrap && width > 0 && Width(style, text, begin, end) > width) {
            size_t cut = begin;
            size_t lastSpace = std::u32string::npos;
            while (cut < end && Width(style, text, begin, cut + 1) <= width) {
                if (text[cut] == U' ') lastSpace = cut;
                ++cut;
            }
            if (cut < end && text[cut] == U' ') lastSpace = cut;
            size_t lineEnd = lastSpace != std::u32string::npos && lastSpace > begin ? lastSpace : std::max(cut, begin + 1);
            lines.emplace_back(begin, lineEnd);
            begin = lineEnd;
            while (begin < end && text[begin] == U' ') ++begin;
        }
        lines.emplace_back(begin, end);
        if (end >= text.size()) break;
        // A return and line feed pair ends one line.
        start = end + 1;
        if (text[end] == U'\r' && start < text.size() && text[start] == U'\n') ++start;
    }
    return lines;
}

int32_t LineHeight(const TextStyle& style)
{
    const FontInfo info = StyleFontInfo(style);
    return info.ascent + info.descent + info.leading;
}

}  // namespace

OSStatus GetThemeFont(ThemeFontID fontID, ScriptCode script, Str255 outFontName, int16_t* outFontSize, Style* outStyle)
{
    (void)script;
    ThemeFont f{};
    if (!Lookup(fontID, &f)) return themeInvalidFontErr;
    if (outFontName) GetFontName(f.family, outFontName);
    if (outFontSize) *outFontSize = f.size;
    if (outStyle) *outStyle = f.face;
    return noErr;
}

static OSStatus GetThemeTextDimensionsUnguarded(const std::u16string& text, ThemeFontID fontID,
                                                ThemeDrawState state, Boolean wrapToWidth, Point* ioBounds,
                                                int16_t* outBaseline)
{
    (void)state;
    TextStyle style;
    if (!StyleOf(fontID, &style)) return themeInvalidFontErr;
    if (!ioBounds) return paramErr;
    const std::u32string chars = Decode(text);
    const auto lines = Lines(style, chars, wrapToWidth, ioBounds->h);
    int32_t widest = 0;
    for (const auto& [b, e] : lines) widest = std::max(widest, Width(style, chars, b, e));
    const int32_t height = LineHeight(style) * int32_t(lines.size());
    ioBounds->h = int16_t(std::min<int32_t>(widest, INT16_MAX));
    ioBounds->v = int16_t(std::min<int32_t>(height, INT16_MAX));
    const FontInfo info = StyleFontInfo(style);
    if (outBaseline) *outBaseline = int16_t(-(info.descent + info.leading));
    return noErr;
}

static OSStatus DrawThemeTextBoxUnguarded(const std::u16string& text, ThemeFontID fontID, ThemeDrawState state,
                                          Boolean wrapToWidth, const Rect* box, int16_t just, void* context)
{
    ReportThemeCall({"DrawThemeTextBox", box ? *box : Rect{}, fontID, int32_t(state), 0, just, 0, 0, 0});
    (void)state;
    (void)context;
    TextStyle style;
    if (!StyleOf(fontID, &style)) return themeInvalidFontErr;
    if (!box) return paramErr;
    const GrafPtr port = GetQDGlobalsThePort();
    if (!port || port->pnVis < 0) return noErr;
    const std::u32string chars = Decode(text);
    const int32_t width = box->right - box->left;
    const auto lines = Lines(style, chars, wrapToWidth, width);
    const FontInfo info = StyleFontInfo(style);

    pixman_region32_t inBox, area;
    pixman_region32_init_rect(&inBox, box->left, box->top, uint32_t(std::max(0, width)),
                              uint32_t(std::max(0, box->bottom - box->top)));
    pixman_region32_init(&area);
    const Surface surface = ClipToPort(port, &inBox, &area);
    TextPaint paint;
    paint.mode = srcOr;
    paint.fore = PackRGB(port->rgbFgColor);
    paint.back = PackRGB(port->rgbBkColor);
    int32_t baseline = box->top + info.ascent;
    for (const auto& [b, e] : lines) {
        const int32_t w = Width(style, chars, b, e);
        int32_t h = box->left;
        if (just == teCenter) h = box->left + (width - w) / 2;
        else if (just == teFlushRight) h = box->right - w;
        if (e > b) PaintSpan(surface, &area, style, {nullptr, chars.data() + b, int32_t(e - b)}, h, baseline, paint);
        baseline += info.ascent + info.descent + info.leading;
        if (baseline - info.ascent >= box->bottom) break;
    }
    pixman_region32_fini(&area);
    pixman_region32_fini(&inBox);
    return noErr;
}

static OSStatus TruncateThemeTextUnguarded(std::u16string* text, ThemeFontID fontID, ThemeDrawState state,
                                           int16_t pixelWidthLimit, TruncCode truncWhatWhere, Boolean* outTruncated)
{
    (void)state;
    TextStyle style;
    if (!StyleOf(fontID, &style)) return themeInvalidFontErr;
    if (!text || (truncWhatWhere != truncEnd && truncWhatWhere != truncMiddle)) return paramErr;
    if (outTruncated) *outTruncated = false;
    const std::u32string chars = Decode(*text);
    const int32_t limit = std::max<int32_t>(pixelWidthLimit, 0);
    if (Width(style, chars, 0, chars.size()) <= limit) return noErr;
    const std::u32string ellipsis = U"\u2026";
    const int32_t room = limit - Width(style, ellipsis, 0, 1);
    std::u32string out;
    if (room >= 0) {
        if (truncWhatWhere == truncMiddle) {
            size_t head = 0, tail = 0;
            bool grew = true;
            while (grew && head + tail < chars.size()) {
                grew = false;
                for (int side = 0; side < 2 && head + tail < chars.size(); ++side) {
                    const size_t h2 = head + (side == 0), t2 = tail + (side == 1);
                    if (Width(style, chars, 0, h2) + Width(style, chars, chars.size() - t2, chars.size()) <= room) {
                        head = h2;
                        tail = t2;
                        grew = true;
                    }
                }
            }
            out = chars.substr(0, head) + ellipsis + chars.substr(chars.size() - tail);
        } else {
            size_t keep = chars.size();
            while (keep > 0 && Width(style, chars, 0, keep) > room) --keep;
            out = chars.substr(0, keep) + ellipsis;
        }
    }
    *text = Encode(out);
    if (outTruncated) *outTruncated = true;
    return noErr;
}

OSStatus GetThemeTextColor(ThemeTextColor color, int16_t depth, Boolean isColorDevice, RGBColor* outColor)
{
    (void)depth;
    (void)isColorDevice;
    if (!outColor) return paramErr;
    constexpr RGBColor kBlackRGB{0, 0, 0}, kWhiteRGB{0xFFFF, 0xFFFF, 0xFFFF}, kGreyRGB{0x7F7F, 0x7F7F, 0x7F7F};
    switch (color) {
    case kThemeTextColorWhite:
    case kThemeTextColorRootMenuSelected:
    case kThemeTextColorMenuItemSelected: *outColor = kWhiteRGB; return noErr;
    case kThemeTextColorBlack: *outColor = kBlackRGB; return noErr;
    case kThemeTextColorRootMenuDisabled:
    case kThemeTextColorMenuItemDisabled: *outColor = kGreyRGB; return noErr;
    default: break;
    }
    if (color < 1 || color > kThemeTextColorSystemDetail) return themeBadTextColorErr;
    // Dialogs, alerts, headers (1 to 8) and window titles (23 to 30) come in
    // active and inactive pairs; placards, buttons and pop-ups (9 to 20) in
    // threes with "pressed".
    bool inactive = false;
    if (color <= 8 || (color >= 23 && color <= 30)) inactive = color % 2 == 0;
    else if (color >= 9 && color <= 20) inactive = (color - 9) % 3 == 1;
    else if (color == 38 || color == 42 || color == 43 || color == 46) inactive = true;
    *outColor = inactive ? kGreyRGB : kBlackRGB;
    return noErr;
}

OSStatus GetThemeTextDimensions(const std::u16string& text, ThemeFontID fontID, ThemeDrawState state,
                                Boolean wrapToWidth, Point* ioBounds, int16_t* outBaseline)
{
    return TextGuarded(OSStatus(memFullErr), [&] {
        return GetThemeTextDimensionsUnguarded(text, fontID, state, wrapToWidth, ioBounds, outBaseline);
    });
}

OSStatus DrawThemeTextBox(const std::u16string& text, ThemeFontID fontID, ThemeDrawState state,
                          Boolean wrapToWidth, const Rect* box, int16_t just, void* context)
{
    return TextGuarded(OSStatus(memFullErr), [&] {
        return DrawThemeTextBoxUnguarded(text, fontID, state, wrapToWidth, box, just, context);
    });
}

OSStatus TruncateThemeText(std::u16string* text, ThemeFontID fontID, ThemeDrawState state, int16_t pixelWidthLimit,
                           TruncCode truncWhatWhere, Boolean* outTruncated)
{
    return TextGuarded(OSStatus(memFullErr), [&] {
        return TruncateThemeTextUnguarded(text, fontID, state, pixelWidthLimit, truncWhatWhere, outTruncated);
    });
}

}  // namespace platform

// The editor's text boxes: drawn or measured with its style and
// justification without entering edit mode (unfocused transparent fields,
// the shared measuring frames, printing).
#include <algorithm>
#include <cstring>
#include <string>

#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/Shapes.h"
#include "platform/fonts/Fonts.h"
#include "toolbox/foundation/VText.h"
#include "toolbox/views/NativeTextBox.h"
#include "toolbox/views/NativeTextEditMac.h"

using namespace platform;

namespace {

constexpr int32_t kWide = 16000;

int16_t Clamp16(int32_t v) { return int16_t(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX)); }

std::u16string TextOf(const VText& text)
{
    std::u16string out(size_t(std::max(0, text.GetLength())), u'\0');
    if (!out.empty()) text.ToUniBlock(out.data(), 0, int32_t(out.size()));
    return out;
}

int32_t BoxWidth(const std::u16string& text, ATSUStyle style, TXNTextBoxOptionsData options)
{
    Rect box{0, 0, 0x7FFF, 0x7FFF};
    options.optionTags |= kTXNDontDrawTextMask | kTXNDontWrapTextMask;
    options.flushness = kATSUStartAlignment;
    if (TXNDrawUnicodeTextBox(reinterpret_cast<const UniChar*>(text.data()), UniCharCount(text.size()), &box, style,
                              &options) != noErr)
        return 0;
    return box.right - box.left;
}

}  // namespace

// --- style ---------------------------------------------------------------------

void NativeTextEditMac::UpdateStyle(bool drawing)
{
    if (fStyleUpToDate) return;
    fStyleUpToDate = true;
    if (!fStyle && ATSUCreateStyle(&fStyle) != noErr) {
        fStyle = nullptr;
        return;
    }
    RGBColor colour{0, 0, 0};
    Str255 name{};
    TXNTypeAttributes a[4] = {{kTXNQDFontColorAttribute, sizeof(RGBColor), {}},
                              {kTXNQDFontStyleAttribute, 2, {}},
                              {kTXNQDFontSizeAttribute, 2, {}},
                              {kTXNQDFontNameAttribute, sizeof(Str255), {}}};
    a[0].data.dataPtr = &colour;
    a[3].data.dataPtr = name;
    if (fObject) ContinuousAttributes(fObject, true, a, 4);
    int16_t family = 0;
    int32_t size = int32_t(a[2].data.dataValue);
    if (drawing && fFontName[0]) {
        GetFNum(fFontName, &family);
    } else {
        GetFNum(name, &family);
    }
    if (drawing && fFontSize > 0) size = fFontSize;
    if (size <= 0) size = 12;
    const uint32_t face = a[1].data.dataValue;
    ATSUFontID font = ATSUFontID(uint16_t(family));
    Fixed points = Fixed(size) << 16;
    Boolean bold = (face & 1) != 0, italic = (face & 2) != 0, underline = (face & 4) != 0;
    const ATSUAttributeTag tags[] = {kATSUFontTag, kATSUSizeTag, kATSUQDBoldfaceTag, kATSUQDItalicTag,
                                     kATSUQDUnderlineTag, kATSUColorTag};
    const ByteCount sizes[] = {sizeof font, sizeof points, sizeof bold, sizeof italic, sizeof underline,
                               sizeof colour};
    const ConstATSUAttributeValuePtr values[] = {&font, &points, &bold, &italic, &underline, &colour};
    ATSUSetAttributes(fStyle, 6, tags, sizes, values);
}

// --- text boxes ----------------------------------------------------------------

void NativeTextEditMac::_DrawTextBox(Rect& box, const VText* text, bool draw, bool)
{
    const int16_t justification = GetJustification();
    TXNTextBoxOptionsData options{kTXNSetFlushnessMask | kTXNSetJustificationMask | kTXNUseFontFallBackMask,
                                  kATSUStartAlignment, 0, 0, nullptr};
    if (justification == kJustRight) options.flushness = kATSUEndAlignment;
    if (justification == kJustCentre) options.flushness = kATSUCenterAlignment;
    const bool wrap = GetProperty(kPropWordWrap) != 0;
    const Rect given = box;
    Rect area = box;
    if (draw && !wrap) {
        options.optionTags |= kTXNDontWrapTextMask;
        if (options.flushness == kATSUStartAlignment) {
            area.right = Clamp16(area.right + kWide);
        } else if (options.flushness == kATSUEndAlignment) {
            area.left = Clamp16(area.left - kWide);
        } else {
            area.left = Clamp16(area.left - kWide / 2);
            area.right = Clamp16(area.right + kWide / 2);
        }
    } else if (!draw) {
        if (!wrap) {
            options.optionTags |= kTXNDontWrapTextMask;
            if (options.flushness != kATSUStartAlignment)
                area.right = area.left;
            else
                area = {area.top, area.left, 0x7FFF, 0x7FFF};
        }
        options.optionTags |= kTXNDontDrawTextMask;
    }
    if (draw && !fTransparent) {
        const RGBColor back{uint16_t((fBackColor & 0xFF) * 257), uint16_t(((fBackColor >> 8) & 0xFF) * 257),
                            uint16_t(((fBackColor >> 16) & 0xFF) * 257)};
        RGBColor saved{};
        platform::GetBackColor(&saved);
        RGBBackColor(&back);
        EraseRect(&given);
        RGBBackColor(&saved);
    }
    UpdateStyle(draw);
    std::u16string chars = text ? TextOf(*text) : GetText();

    if (draw && !wrap) {
        if (justification == kJustRight) {
            const int32_t width = BoxWidth(chars, fStyle, options);
            if (given.right - given.left < width) {
                // Too wide: shown from its start, as a left-aligned text.
                options.flushness = kATSUStartAlignment;
                area = given;
                area.right = Clamp16(area.right + kWide);
            } else if (!chars.empty() && chars.back() == u' ') {
                // Trailing spaces stay inside the box: their room is
                // measured before a mark, where the layout counts them.
                size_t kept = chars.size();
                while (kept > 0 && chars[kept - 1] == u' ') --kept;
                const int32_t spaces = BoxWidth(chars + u"|", fStyle, options) -
                                       BoxWidth(chars.substr(0, kept) + u"|", fStyle, options);
                area.right = Clamp16(given.right - std::max(0, spaces));
                area.left = Clamp16(area.right - (given.right - given.left) - kWide);
                chars.resize(kept);
            }
        }
        // The layout takes no more than a line's worth of characters.
        int32_t points = 12;
        if (fObject) {
            TXNTypeAttributes sizeAttr{kTXNQDFontSizeAttribute, 2, {}};
            ContinuousAttributes(fObject, true, &sizeAttr, 1);
            points = int32_t(sizeAttr.data.dataValue);
        }
        if (fFontSize > 0 && !fWindow) points = fFontSize;
        // A size of 0 stands for the default 12 points.
        if (points <= 0) points = 12;
        const size_t most = size_t(kWide / points);
        if (chars.size() > most) {
            if (options.flushness == kATSUEndAlignment)
                chars = chars.substr(chars.size() - most);
            else if (options.flushness == kATSUCenterAlignment)
                chars = chars.substr((chars.size() - most) / 2, most);
            else
                chars.resize(most);
        }
    }
    if (draw) options.optionTags |= kTXNDontUpdateBoxRectMask;
    Rect measured = area;
    if (TXNDrawUnicodeTextBox(reinterpret_cast<const UniChar*>(chars.data()), UniCharCount(chars.size()), &measured,
                              fStyle, &options) == noErr &&
        !draw)
        box = measured;
}

void NativeTextEditMac::GetTextBoxSize(int32_t& width, int32_t& height, const VText* text)
{
    width = height = 0;
    if (!text) {
        if (!fObject) return;
        NativeNoRedrawMac noRedraw(this);
        TXNLongRect dest{};
        TXNGetRectBounds(fObject, nullptr, &dest, nullptr);
        width = dest.right - dest.left;
        height = dest.bottom - dest.top;
        return;
    }
    Rect box = fViewRect;
    _DrawTextBox(box, text, false, false);
    width = box.right - box.left;
    height = box.bottom - box.top;
}

// --- drawing -------------------------------------------------------------------

void NativeTextEditMac::Draw(CGrafPtr port, const Rect& box, const Rect* clip, const VText* text, bool printing)
{
    GrafPtr saved = nullptr;
    GetPort(&saved);
    if (port) SetPort(port);
    RgnHandle savedClip = NewRgn(), area = NewRgn();
    GetClip(savedClip);
    RectRgn(area, clip ? clip : &box);
    if (clip) {
        RgnHandle boxRgn = NewRgn();
        RectRgn(boxRgn, &box);
        SectRgn(area, boxRgn, area);
        DisposeRgn(boxRgn);
    }
    SectRgn(area, savedClip, area);
    SetClip(area);
    Rect r = box;
    _DrawTextBox(r, text, true, printing);
    SetClip(savedClip);
    DisposeRgn(savedClip);
    DisposeRgn(area);
    SetPort(saved);
}

void NativeTextEditMac::Update(CGrafPtr port)
{
    if (!fObject) return;
    if (fDrawsWhenUnfocused && !fFocused) {
        if (fVisible) Draw(port, fViewRect, nullptr, nullptr, false);
        return;
    }
    if (!sSystem103 && !fFocused) {
        // Older systems draw an unfocused editor as a read-only one.
        const bool readOnly = GetReadOnly();
        if (!readOnly) SetControl(kTXNIOPrivilegesTag, 1);
        TXNDraw(fObject, port);
        if (!readOnly) SetControl(kTXNIOPrivilegesTag, 0);
        return;
    }
    TXNDraw(fObject, port);
}

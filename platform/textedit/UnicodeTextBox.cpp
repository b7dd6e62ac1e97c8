#include "platform/textedit/UnicodeTextBox.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/core/Errors.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/textedit/TextEngine.h"

namespace platform {

struct OpaqueATSUStyle {
    TextAttributes attr;
};

namespace {

TextAttributes DefaultBoxStyle()
{
    TextAttributes a;
    a.font = 1;
    a.size = 12;
    return a;
}

}  // namespace

OSStatus ATSUCreateStyle(ATSUStyle* style)
{
    if (!style) return paramErr;
    *style = new (std::nothrow) OpaqueATSUStyle{DefaultBoxStyle()};
    return *style ? noErr : memFullErr;
}

OSStatus ATSUDisposeStyle(ATSUStyle style)
{
    if (!style) return kATSUInvalidStyleErr;
    delete style;
    return noErr;
}

OSStatus ATSUSetAttributes(ATSUStyle style, ItemCount count, const ATSUAttributeTag tags[], const ByteCount sizes[],
                           const ConstATSUAttributeValuePtr values[])
{
    if (!style) return kATSUInvalidStyleErr;
    if (count > 0 && (!tags || !sizes || !values)) return paramErr;
    for (ItemCount i = 0; i < count; ++i) {
        const void* v = values[i];
        if (!v) return kATSUInvalidAttributeValueErr;
        auto flag = [&](Style bit) -> OSStatus {
            if (sizes[i] != 1) return kATSUInvalidAttributeSizeErr;
            const uint8_t on = *static_cast<const uint8_t*>(v);
            style->attr.face = on ? Style(style->attr.face | bit) : Style(style->attr.face & ~bit);
            return noErr;
        };
        OSStatus err = noErr;
        switch (tags[i]) {
        case kATSUQDBoldfaceTag: err = flag(bold); break;
        case kATSUQDItalicTag: err = flag(italic); break;
        case kATSUQDUnderlineTag: err = flag(underline); break;
        case kATSUQDCondensedTag: err = flag(condense); break;
        case kATSUQDExtendedTag: err = flag(extend); break;
        case kATSUFontTag: {
            if (sizes[i] != sizeof(ATSUFontID)) return kATSUInvalidAttributeSizeErr;
            ATSUFontID id = 0;
            std::memcpy(&id, v, sizeof id);
            style->attr.font = int16_t(id);
            break;
        }
        case kATSUSizeTag: {
            if (sizes[i] != sizeof(Fixed)) return kATSUInvalidAttributeSizeErr;
            Fixed size = 0;
            std::memcpy(&size, v, sizeof size);
            if (size < (1 << 16) || size > (512 << 16)) return kATSUInvalidAttributeValueErr;
            style->attr.size = int16_t(size >> 16);
            break;
        }
        case kATSUColorTag:
            if (sizes[i] != sizeof(RGBColor)) return kATSUInvalidAttributeSizeErr;
            std::memcpy(&style->attr.color, v, sizeof(RGBColor));
            break;
        default: return kATSUInvalidAttributeTagErr;
        }
        if (err != noErr) return err;
    }
    return noErr;
}

OSStatus TXNDrawUnicodeTextBox(const UniChar text[], UniCharCount length, Rect* box, ATSUStyle style,
                               const TXNTextBoxOptionsData* options)
{
    if (!box || (!text && length > 0)) return paramErr;
    const TXNTextBoxOptions tags = options ? options->optionTags : 0;
    const bool draw = !(tags & kTXNDontDrawTextMask);
    GrafPtr port = GetQDGlobalsThePort();
    if (draw && !port) return paramErr;
    try {
        const TextAttributes a = style ? style->attr : DefaultBoxStyle();
        TextEngine e(a);
        e.SetPlainText(std::u16string(text, text + length), a);
        e.dest = e.view = ToRect32(*box);
        e.wrap = !(tags & kTXNDontWrapTextMask);
        if (options && (tags & kTXNSetFlushnessMask)) {
            if (options->flushness >= kATSUEndAlignment)
                e.align = Alignment::Right;
            else if (options->flushness > kATSUStartAlignment)
                e.align = Alignment::Center;
        }
        e.port = port;
        e.selectionShown = false;
        e.eraseFirst = false;
        e.Layout();
        if (draw) e.DrawAll();
        if (!(tags & kTXNDontUpdateBoxRectMask)) {
            int32_t left = INT32_MAX, right = INT32_MIN;
            for (size_t i = 0; i < e.Lines().size(); ++i) {
                left = std::min(left, e.LineLeft(int32_t(i)));
                right = std::max(right, e.LineLeft(int32_t(i)) + e.Lines()[i].width);
            }
            *box = ClampToRect({box->top, left, box->top + e.TotalHeight(), right});
        }
        return noErr;
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

}  // namespace platform

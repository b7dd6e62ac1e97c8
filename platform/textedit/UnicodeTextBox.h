// Unicode text boxes drawn or measured without an editor object, in a
// style object that holds font, size, face and colour.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/textedit/MultilingualText.h"

namespace platform {

struct OpaqueATSUStyle;
using ATSUStyle = OpaqueATSUStyle*;
using ATSUAttributeTag = uint32_t;
using ATSUAttributeValuePtr = void*;
using ConstATSUAttributeValuePtr = const void*;
using ATSUFontID = uint32_t;  // a font family number here
using Fract = int32_t;        // 2.30 fixed point

enum : ATSUAttributeTag {
    kATSUQDBoldfaceTag = 256,   // Boolean
    kATSUQDItalicTag = 257,     // Boolean
    kATSUQDUnderlineTag = 258,  // Boolean
    kATSUQDCondensedTag = 259,  // Boolean
    kATSUQDExtendedTag = 260,   // Boolean
    kATSUFontTag = 261,         // ATSUFontID
    kATSUSizeTag = 262,         // Fixed
    kATSUColorTag = 263,        // RGBColor
};
constexpr OSStatus kATSUInvalidStyleErr = -8791;
constexpr OSStatus kATSUInvalidAttributeValueErr = -8794;
constexpr OSStatus kATSUInvalidAttributeSizeErr = -8795;
constexpr OSStatus kATSUInvalidAttributeTagErr = -8796;

OSStatus ATSUCreateStyle(ATSUStyle* style);
OSStatus ATSUDisposeStyle(ATSUStyle style);
// Sets each tag's value (sizes in bytes); stops at the first bad one.
OSStatus ATSUSetAttributes(ATSUStyle style, ItemCount count, const ATSUAttributeTag tags[], const ByteCount sizes[],
                           const ConstATSUAttributeValuePtr values[]);

using TXNTextBoxOptions = uint32_t;
enum : TXNTextBoxOptions {
    kTXNSetFlushnessMask = 1u << 0,
    kTXNSetJustificationMask = 1u << 1,
    kTXNUseFontFallBackMask = 1u << 2,
    kTXNDontUpdateBoxRectMask = 1u << 5,
    kTXNDontDrawTextMask = 1u << 6,
    kTXNDontWrapTextMask = 1u << 9,
};
constexpr Fract kATSUStartAlignment = 0;
constexpr Fract kATSUEndAlignment = 0x40000000;
constexpr Fract kATSUCenterAlignment = 0x20000000;
struct TXNTextBoxOptionsData {
    TXNTextBoxOptions optionTags;
    Fract flushness;
    Fract justification;
    Fixed rotation;
    void* options;
};

// Draws the text in the box in the current port (over what is there), or
// only measures it (kTXNDontDrawTextMask). Unless kTXNDontUpdateBoxRectMask
// is set the box becomes the text's bounds. A null style draws in the
// application font at 12 points.
OSStatus TXNDrawUnicodeTextBox(const UniChar text[], UniCharCount length, Rect* box, ATSUStyle style,
                               const TXNTextBoxOptionsData* options);

}  // namespace platform

// The editor's styles, of the selection or of all text, and its
// justification.
#include <algorithm>
#include <cstring>

#include "platform/drawing/QuickDrawTypes.h"
#include "toolbox/views/NativeFontScript.h"
#include "toolbox/views/NativeTextBox.h"
#include "toolbox/views/NativeTextEditMac.h"

using namespace platform;

namespace {

RGBColor ToRGB(int32_t color)
{
    return {uint16_t((color & 0xFF) * 257), uint16_t(((color >> 8) & 0xFF) * 257),
            uint16_t(((color >> 16) & 0xFF) * 257)};
}

int32_t FromRGB(const RGBColor& c)
{
    return int32_t((c.red / 257) | ((c.green / 257) << 8) | ((c.blue / 257) << 16));
}

// Calls fn(from, to, face) for each run of one face in [from, to): the
// longest range of one face from each start is found by halving. The
// selection is put back.
template <class F>
void ForEachFaceRun(TXNObject o, int32_t from, int32_t to, F fn)
{
    TXNOffset start = 0, end = 0;
    TXNGetSelection(o, &start, &end);
    TXNTypeAttributes face{kTXNQDFontStyleAttribute, 2, {}};
    auto faceOf = [&](int32_t a, int32_t b) {
        TXNSetSelection(o, TXNOffset(a), TXNOffset(b));
        TXNContinuousFlags flags = 0;
        TXNGetContinuousTypeAttributes(o, &flags, 1, &face);
        return (flags & kTXNStyleContinuousMask) != 0;
    };
    int32_t i = from;
    do {
        int32_t lo = std::min(i + 1, to), hi = to;
        while (lo < hi) {
            const int32_t mid = lo + (hi - lo + 1) / 2;
            if (faceOf(i, mid))
                lo = mid;
            else
                hi = mid - 1;
        }
        faceOf(i, lo);
        const uint32_t value = face.data.dataValue;
        TXNSetSelection(o, start, end);
        if (!fn(i, lo, value)) return;
        i = lo;
    } while (i < to);
    TXNSetSelection(o, start, end);
}

// The 'just' values of the editor's justification.
uint32_t ToPlatform(int16_t j)
{
    switch (j) {
    case kJustLeft: return kTXNFlushLeft;
    case kJustRight: return kTXNFlushRight;
    case kJustCentre: return kTXNCenter;
    default: return kTXNFlushDefault;
    }
}

int16_t FromPlatform(uint32_t j)
{
    switch (j) {
    case kTXNFlushLeft: return kJustLeft;
    case kTXNFlushRight: return kJustRight;
    case kTXNCenter: return kJustCentre;
    default: return kJustDefault;
    }
}

}  // namespace

TXNContinuousFlags ContinuousAttributes(TXNObject o, bool all, TXNTypeAttributes* attributes, ItemCount count)
{
    TXNContinuousFlags flags = 0;
    TXNOffset start = 0, end = 0;
    if (all) {
        TXNGetSelection(o, &start, &end);
        TXNSetSelection(o, kTXNStartOffset, kTXNEndOffset);
    }
    TXNGetContinuousTypeAttributes(o, &flags, count, attributes);
    if (all) TXNSetSelection(o, start, end);
    return flags;
}

// --- faces -------------------------------------------------------------------

int16_t NativeTextEditMac::GetFace(uint8_t bit, bool all) const
{
    if (!fObject) return 0;
    TXNTypeAttributes face{kTXNQDFontStyleAttribute, 2, {}};
    const TXNContinuousFlags flags = ContinuousAttributes(fObject, all, &face, 1);
    // The face read is what all the range has in common.
    if (face.data.dataValue & bit) return 1;
    if (flags & kTXNStyleContinuousMask) return 0;
    // Faces differ: mixed only when some run has the bit.
    TXNOffset start = 0, end = 0;
    TXNGetSelection(fObject, &start, &end);
    const int32_t from = all ? 0 : int32_t(start), to = all ? GetTextLen(3) : int32_t(end);
    bool some = false;
    ForEachFaceRun(fObject, from, to, [&](int32_t, int32_t, uint32_t value) {
        some = (value & bit) != 0;
        return !some;
    });
    return some ? 2 : 0;
}

void NativeTextEditMac::SetSelectionFace(uint8_t bit, bool on)
{
    fStyleUpToDate = false;
    if (!fObject) return;
    NativeReadOnlyMac readOnly(this);
    TXNTypeAttributes face{kTXNQDFontStyleAttribute, 2, {}};
    ContinuousAttributes(fObject, false, &face, 1);
    face.data.dataValue = on ? (face.data.dataValue | bit) : (face.data.dataValue & ~uint32_t(bit));
    TXNSetTypeAttributes(fObject, 1, &face, kTXNUseCurrentSelection, kTXNUseCurrentSelection);
}

void NativeTextEditMac::SetAllFace(uint8_t bit, bool on)
{
    fStyleUpToDate = false;
    if (!fObject) return;
    if (GetFace(bit, true) == (on ? 1 : 0)) return;
    NativeReadOnlyMac readOnly(this);
    // Run by run, so that each keeps its other faces.
    ForEachFaceRun(fObject, 0, GetTextLen(3), [&](int32_t from, int32_t to, uint32_t value) {
        TXNTypeAttributes face{kTXNQDFontStyleAttribute, 2, {}};
        face.data.dataValue = on ? (value | bit) : (value & ~uint32_t(bit));
        TXNSetTypeAttributes(fObject, 1, &face, TXNOffset(from), TXNOffset(to));
        return true;
    });
}

// --- colours -------------------------------------------------------------------

void NativeTextEditMac::SetTextSelectionColor(int32_t color)
{
    fStyleUpToDate = false;
    if (!fObject) return;
    NativeReadOnlyMac readOnly(this);
    RGBColor rgb = ToRGB(color);
    TXNTypeAttributes a{kTXNQDFontColorAttribute, sizeof(RGBColor), {}};
    a.data.dataPtr = &rgb;
    TXNSetTypeAttributes(fObject, 1, &a, kTXNUseCurrentSelection, kTXNUseCurrentSelection);
}

void NativeTextEditMac::SetAllTextColor(int32_t color)
{
    fStyleUpToDate = false;
    if (!fObject) return;
    RGBColor now{};
    TXNTypeAttributes get{kTXNQDFontColorAttribute, sizeof(RGBColor), {}};
    get.data.dataPtr = &now;
    const TXNContinuousFlags flags = ContinuousAttributes(fObject, true, &get, 1);
    RGBColor rgb = ToRGB(color);
    if ((flags & kTXNColorContinuousMask) && now.red == rgb.red && now.green == rgb.green && now.blue == rgb.blue)
        return;
    NativeReadOnlyMac readOnly(this);
    TXNTypeAttributes a{kTXNQDFontColorAttribute, sizeof(RGBColor), {}};
    a.data.dataPtr = &rgb;
    TXNSetTypeAttributes(fObject, 1, &a, kTXNStartOffset, kTXNEndOffset);
}

int32_t NativeTextEditMac::GetAllTextColor() const
{
    if (!fObject) return 0;
    RGBColor now{};
    TXNTypeAttributes get{kTXNQDFontColorAttribute, sizeof(RGBColor), {}};
    get.data.dataPtr = &now;
    ContinuousAttributes(fObject, true, &get, 1);
    return FromRGB(now);
}

// --- fonts ---------------------------------------------------------------------

void NativeTextEditMac::SetFont(const char* name, int32_t size, int32_t charset, bool all)
{
    fStyleUpToDate = false;
    if (!fObject) return;
    TXNTypeAttributes attributes[3]{};
    ItemCount count = 0;
    Str255 pascal{};
    if (name) {
        const size_t length = std::min<size_t>(std::strlen(name), 255);
        pascal[0] = uint8_t(length);
        std::memcpy(pascal + 1, name, length);
        attributes[count] = {kTXNQDFontNameAttribute, sizeof(Str255), {}};
        attributes[count++].data.dataPtr = pascal;
    }
    if (size != -1) {
        attributes[count] = {kTXNQDFontSizeAttribute, ByteCount(all ? 4 : 2), {}};
        attributes[count++].data.dataValue = all ? uint32_t(size << 16) : uint32_t(size);
    }
    if (charset != -1) {
        attributes[count] = {kTXNTextEncodingAttribute, 4, {}};
        attributes[count++].data.dataValue = uint32_t(MacFontScript(charset));
    }
    if (all && !fWindow) {
        // What the text box style of a window-less editor is drawn in.
        if (name && std::memcmp(pascal, fFontName, size_t(pascal[0]) + 1) != 0)
            std::memcpy(fFontName, pascal, size_t(pascal[0]) + 1);
        if (size != -1 && size != fFontSize) fFontSize = size;
    }
    if (!count) return;
    NativeReadOnlyMac readOnly(this);
    if (all)
        TXNSetTypeAttributes(fObject, count, attributes, kTXNStartOffset, kTXNEndOffset);
    else
        TXNSetTypeAttributes(fObject, count, attributes, kTXNUseCurrentSelection, kTXNUseCurrentSelection);
}

void NativeTextEditMac::GetAllTextFont(char* name, int32_t* size, int32_t* charset) const
{
    if (name) name[0] = 0;
    if (!fObject) return;
    Str255 pascal{};
    TXNTypeAttributes a[3] = {{kTXNQDFontNameAttribute, sizeof(Str255), {}},
                              {kTXNQDFontSizeAttribute, 2, {}},
                              {kTXNTextEncodingAttribute, 4, {}}};
    a[0].data.dataPtr = pascal;
    ContinuousAttributes(fObject, true, a, 3);
    if (name) {
        std::memcpy(name, pascal + 1, pascal[0]);
        name[pascal[0]] = 0;
    }
    if (size) *size = int32_t(a[1].data.dataValue);
    if (charset) *charset = WinFontScript(int32_t(a[2].data.dataValue));
}

// --- justification -------------------------------------------------------------

void NativeTextEditMac::SetJustification(int16_t justification, bool selectionOnly)
{
    if (IsCentredSingleLine() && justification == kJustCentre) return;
    _SetJustification(justification, selectionOnly);
    fCentredSingleLine = justification == kJustCentre;
}

void NativeTextEditMac::_SetJustification(int16_t justification, bool selectionOnly)
{
    if (!fObject) return;
    const uint32_t now = GetControl(kTXNJustificationTag);
    if (!selectionOnly && now == ToPlatform(justification)) return;
    fStyleUpToDate = false;
    NativeReadOnlyMac readOnly(this);
    TXNOffset start = 0, end = 0;
    TXNGetSelection(fObject, &start, &end);
    if (!selectionOnly && (sSystem103 || fWindow)) TXNSetSelection(fObject, kTXNStartOffset, kTXNEndOffset);
    SetControl(kTXNJustificationTag, ToPlatform(justification));
    TXNSetSelection(fObject, start, end);
    if (!fMultiline && fWindow) {
        if (justification == kJustCentre)
            _RecalcAndSetDestRect();
        else if (FromPlatform(now) == kJustCentre)
            TXNSetFrameBounds(fObject, fViewRect.top, fViewRect.left, fViewRect.bottom, fViewRect.right, fFrameID);
    }
}

int16_t NativeTextEditMac::GetJustification() const
{
    if (IsCentredSingleLine()) return kJustCentre;
    return FromPlatform(GetControl(kTXNJustificationTag));
}

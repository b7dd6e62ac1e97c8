// The editor's keys, mouse, focus, clipboard, undo and text.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/scrap/Scrap.h"
#include "platform/text/SingleByteSets.h"
#include "toolbox/foundation/intl/VIntlManagerRoot.h"
#include "toolbox/views/NativeTextBox.h"
#include "toolbox/views/NativeTextEditMac.h"
#include "toolbox/views/VKeySwitch.h"

using namespace platform;

namespace {

enum : uint8_t {
    kHomeKey = 1,
    kEnterKey = 3,
    kEndKey = 4,
    kBackspaceKey = 8,
    kTabKey = 9,
    kPageUpKey = 11,
    kPageDownKey = 12,
    kReturnKey = 13,
    kEscapeKey = 27,
    kLeftKey = 28,
    kDownKey = 31,
    kDeleteKey = 127,
};

bool IsNavigation(uint8_t c)
{
    return c == kHomeKey || c == kEndKey || c == kPageUpKey || c == kPageDownKey || (c >= kLeftKey && c <= kDownKey);
}

// The scrap's text as UTF-16: 'utxt' (big-endian) or else 'TEXT'.
bool ReadScrapText(std::u16string& text)
{
    ScrapRef scrap = nullptr;
    if (GetCurrentScrap(&scrap) != noErr) return false;
    Size size = 0;
    if (GetScrapFlavorSize(scrap, kTXNUnicodeTextData, &size) == noErr && size >= 0) {
        std::vector<uint8_t> bytes(size_t(size) + 1);
        if (GetScrapFlavorData(scrap, kTXNUnicodeTextData, &size, bytes.data()) != noErr) return false;
        text.resize(size_t(size) / 2);
        for (size_t i = 0; i < text.size(); ++i) text[i] = char16_t(ReadBE16(&bytes[i * 2]));
        return true;
    }
    if (GetScrapFlavorSize(scrap, kTXNTextData, &size) == noErr && size >= 0) {
        std::vector<uint8_t> bytes(size_t(size) + 1);
        if (GetScrapFlavorData(scrap, kTXNTextData, &size, bytes.data()) != noErr) return false;
        text.resize(size_t(size));
        for (size_t i = 0; i < text.size(); ++i) text[i] = MacRomanToUnicode(bytes[i]);
        return true;
    }
    return false;
}

// The program keeps Mac Roman: each character it lacks (a pair of
// surrogates is one) becomes "?". Whether there was one.
bool KeepAsMacRoman(std::u16string& text)
{
    std::vector<uint8_t> roman(text.size());
    const ConversionResult r = Utf16ToMacRoman(text.data(), int32_t(text.size()), roman.data(), int32_t(roman.size()));
    if (r.substituted == 0) return false;
    text.resize(size_t(r.produced));
    for (size_t i = 0; i < text.size(); ++i) text[i] = MacRomanToUnicode(roman[i]);
    return true;
}

}  // namespace

// --- keys and mouse ------------------------------------------------------------

bool NativeTextEditMac::DoKey(VKeySwitch& key)
{
    const EventRecord& event = key.GetEvent();
    if (!fObject || (event.what != keyDown && event.what != autoKey)) return false;
    const uint8_t c = uint8_t(event.message & charCodeMask);
    const bool command = (event.modifiers & cmdKey) != 0;
    if (IsNavigation(c) || c == kBackspaceKey || c == kDeleteKey) {
        // Arrows in an empty text do nothing, quietly.
        if (!(c >= kLeftKey && c <= kDownKey && TXNDataSize(fObject) == 0)) TXNKeyDown(fObject, &event);
        return true;
    }
    // Only characters a field holds go in: Escape, Enter, function keys,
    // other control characters and command keys belong to the window.
    bool takes = false;
    if (c == kReturnKey)
        takes = fMultiline || fWantReturn;
    else if (c == kTabKey)
        takes = fTabbable;
    else
        takes = !command && c >= 0x20 && (key.GetChar() == 0 || key.GetChar() >= 0x20);
    if (!takes || command) return false;
    const char16_t ch = key.GetChar() ? key.GetChar() : MacRomanToUnicode(c);
    if (c == kReturnKey || c == kTabKey || MacRomanToUnicode(c) == ch) {
        TXNKeyDown(fObject, &event);  // typing: grouped for undo
    } else if (!GetReadOnly()) {
        TXNSetData(fObject, kTXNUnicodeTextData, &ch, 2, kTXNUseCurrentSelection, kTXNUseCurrentSelection);
    }
    return true;
}

void NativeTextEditMac::DoMouse(const EventRecord& event)
{
    if (fObject) TXNClick(fObject, &event);
}

void NativeTextEditMac::DoAdjustCursor()
{
    if (fObject) TXNAdjustCursor(fObject, nullptr);
}

// --- focus -----------------------------------------------------------------

void NativeTextEditMac::SetFocus(bool on)
{
    fFocused = on;
    fDropCaret[0] = fDropCaret[1] = -1;
    if (!fObject) return;
    if (fDrawsWhenUnfocused && on && fVisible && !fNoRedraw) _SetVisible(true, false);
    if (fCentredSingleLine && !fMultiline) _SetJustification(on ? kJustDefault : kJustCentre, false);
    if (fDrawsWhenUnfocused && !on) _SetVisible(false, false);
    TXNFocus(fObject, on);
}

// --- clipboard and undo ----------------------------------------------------

void NativeTextEditMac::DoCut()
{
    if (!fObject) return;
    // A text of one font and size gets them back if the cut changed them; a
    // text of mixed ones keeps each run's.
    const TXNContinuousFlags flags = ContinuousAttributes(fObject, true, nullptr, 0);
    char name[256] = {};
    int32_t size = -1;
    GetAllTextFont(name, &size, nullptr);
    TXNCut(fObject);
    if ((flags & (kTXNFontContinuousMask | kTXNSizeContinuousMask)) !=
        (kTXNFontContinuousMask | kTXNSizeContinuousMask))
        return;
    char after[256] = {};
    int32_t afterSize = -1;
    GetAllTextFont(after, &afterSize, nullptr);
    if (std::strcmp(name, after) != 0 || size != afterSize) SetAllTextFont(name, size, -1);
}

void NativeTextEditMac::DoCopy()
{
    if (fObject) TXNCopy(fObject);
}

void NativeTextEditMac::DoPaste()
{
    if (!fObject || GetReadOnly()) return;
    std::u16string text;
    if (ReadScrapText(text)) {
        // One line only: what stands before the first return or line feed.
        const size_t cut = fMultiline ? std::u16string::npos : text.find_first_of(u"\r\n");
        if (cut != std::u16string::npos) text.resize(cut);
        // Composed first: a decomposed accent is a character Mac Roman holds.
        const int32_t bytes = VIntlManagerRoot::PrecomposeUnicodeBuffer(text.data(), int32_t(text.size() * 2));
        text.resize(size_t(bytes / 2));
        const bool substituted = KeepAsMacRoman(text);
        if (cut != std::u16string::npos || substituted) {
            SetUnicode(text.data(), int32_t(text.size()), true);
            Precompose();
            if (substituted) NoticeSubstitutedPaste();
            return;
        }
    }
    const int16_t justification = GetJustification();
    TXNPaste(fObject);
    if (GetJustification() != justification) _SetJustification(justification, false);
    Precompose();
}

void NativeTextEditMac::DoUndo()
{
    if (!fObject) return;
    TXNUndo(fObject);
    Precompose();
}

bool NativeTextEditMac::CanUndo() const { return fObject && TXNCanUndo(fObject, nullptr); }

void NativeTextEditMac::DoRedo()
{
    if (!fObject) return;
    TXNRedo(fObject);
    Precompose();
}

bool NativeTextEditMac::CanRedo() const { return fObject && TXNCanRedo(fObject, nullptr); }

void NativeTextEditMac::Precompose()
{
    std::u16string text = GetText();
    if (text.empty()) return;
    std::u16string composed = text;
    const int32_t bytes = VIntlManagerRoot::PrecomposeUnicodeBuffer(composed.data(), int32_t(composed.size() * 2));
    composed.resize(size_t(bytes / 2));
    if (composed.size() >= text.size()) return;
    // Only the part that changed is replaced, so that undo keeps its place.
    size_t head = 0;
    while (head < composed.size() && text[head] == composed[head]) ++head;
    size_t tail = 0;
    while (tail < composed.size() - head && text[text.size() - 1 - tail] == composed[composed.size() - 1 - tail])
        ++tail;
    int32_t start = 0, end = 0;
    GetSelection(start, end);
    const int32_t oldEnd = int32_t(text.size() - tail), newEnd = int32_t(composed.size() - tail);
    auto map = [&](int32_t o) { return o >= oldEnd ? o - (oldEnd - newEnd) : std::min(o, newEnd); };
    NativeReadOnlyMac readOnly(this);
    TXNSetData(fObject, kTXNUnicodeTextData, composed.data() + head, ByteCount((newEnd - int32_t(head)) * 2),
               TXNOffset(head), TXNOffset(oldEnd));
    Select(map(start), map(end));
}

// --- selection and text ------------------------------------------------------

void NativeTextEditMac::Select(int32_t start, int32_t end)
{
    if (fObject) TXNSetSelection(fObject, TXNOffset(std::max(0, start)), end < 0 ? kTXNEndOffset : TXNOffset(end));
}

void NativeTextEditMac::GetSelection(int32_t& start, int32_t& end) const
{
    start = end = 0;
    if (!fObject) return;
    TXNOffset s = 0, e = 0;
    TXNGetSelection(fObject, &s, &e);
    start = int32_t(s);
    end = int32_t(e);
}

void NativeTextEditMac::Clear(bool all)
{
    if (!fObject) return;
    if (all) Select(0, -1);
    SetUnicode(u"", 0, true);
}

std::u16string NativeTextEditMac::GetText(int32_t from, int32_t to) const
{
    std::u16string text;
    if (!fObject) return text;
    Handle h = nullptr;
    if (TXNGetDataEncoded(fObject, TXNOffset(std::max(0, from)), to < 0 ? kTXNEndOffset : TXNOffset(to), &h,
                          kTXNUnicodeTextData) != noErr ||
        !h)
        return text;
    text.resize(size_t(GetHandleSize(h)) / 2);
    if (!text.empty()) std::memcpy(text.data(), *h, text.size() * 2);
    DisposeHandle(h);
    return text;
}

int16_t NativeTextEditMac::GetUnicode(NativeBlob* blob, int32_t from, int32_t to) const
{
    if (!blob) return paramErr;
    const int32_t length = GetTextLen(3);
    from = std::clamp(from, 0, length);
    to = to < 0 ? length : std::clamp(to, from, length);
    // The caller's handle takes the range's size first.
    const Size size = Size(to - from) * 2;
    if (!blob->handle) {
        blob->handle = NewHandle(size);
        if (!blob->handle) return memFullErr;
    } else if (GetHandleSize(blob->handle) != size) {
        SetHandleSize(blob->handle, size);
        if (MemError() != noErr || GetHandleSize(blob->handle) != size) return memFullErr;
    }
    const std::u16string text = GetText(from, to);
    if (Size(text.size() * 2) != size) return memFullErr;
    if (size > 0) std::memcpy(*blob->handle, text.data(), size_t(size));
    blob->size = int32_t(size);
    return noErr;
}

int32_t NativeTextEditMac::GetTextLen(int32_t kind) const
{
    const int32_t bytes = fObject ? int32_t(TXNDataSize(fObject)) : 0;
    switch (kind) {
    case 2: return bytes;
    case 3: return bytes / 2;
    case 4: return std::min(bytes / 2, fMaxLength);
    default: return 0;
    }
}

void NativeTextEditMac::SetUnicode(const NativeBlob& blob, bool replaceSelection)
{
    if (!blob.handle || blob.size <= 0) {
        SetUnicode(u"", 0, replaceSelection);
        return;
    }
    const std::u16string text(reinterpret_cast<const char16_t*>(*blob.handle), size_t(blob.size) / 2);
    SetUnicode(text.data(), int32_t(text.size()), replaceSelection);
}

void NativeTextEditMac::SetUnicode(const char16_t* text, int32_t count, bool replaceSelection)
{
    if (!fObject) return;
    NativeReadOnlyMac readOnly(this);
    const bool centred = IsCentredSingleLine() && fWindow;
    const int32_t lengthBefore = GetTextLen(3);
    if (centred)
        TXNSetFrameBounds(fObject, fViewRect.top, fViewRect.left, fViewRect.bottom, fViewRect.right, fFrameID);
    int32_t linesBefore = 0, x0 = 0, y0 = 0;
    const bool keepsPlace = !replaceSelection && fMultiline && fWindow;
    if (keepsPlace) {
        linesBefore = GetLineCount();
        GetPosFromCharOffset(0, x0, y0);
    }
    const ByteCount bytes = ByteCount(std::max(0, count) * 2);
    if (replaceSelection)
        TXNSetData(fObject, kTXNUnicodeTextData, text, bytes, kTXNUseCurrentSelection, kTXNUseCurrentSelection);
    else
        TXNSetData(fObject, kTXNUnicodeTextData, text, bytes, kTXNStartOffset, kTXNEndOffset);
    if (centred) {
        NativeMoveOutScreenIfInvisibleMac away(this);
        _RecalcAndSetDestRect();
        if (lengthBefore == 0 && !replaceSelection) {
            TXNSetData(fObject, kTXNUnicodeTextData, text, bytes, kTXNStartOffset, kTXNEndOffset);
            _RecalcAndSetDestRect();
        }
    }
    if (replaceSelection || !fWindow) return;
    Select(0, 0);
    if (keepsPlace && GetLineCount() == linesBefore) {
        int32_t x1 = 0, y1 = 0;
        GetPosFromCharOffset(0, x1, y1);
        if (x1 != x0 || y1 != y0) ScrollBy(x1 - x0, y1 - y0);
    } else if (fMultiline || GetJustification() != kJustLeft) {
        ScrollToSelection(false, true, true);
    }
}

void NativeTextEditMac::_RecalcAndSetDestRect()
{
    if (!fObject) return;
    NativeNoRedrawMac noRedraw(this);
    Rect view{};
    TXNLongRect text{};
    TXNGetRectBounds(fObject, &view, nullptr, &text);
    const int32_t width = std::max<int32_t>(view.right - view.left, text.right - text.left);
    const TXNLongRect dest{view.top, view.left, view.bottom, view.left + width};
    TXNSetRectBounds(fObject, nullptr, &dest, false);
}

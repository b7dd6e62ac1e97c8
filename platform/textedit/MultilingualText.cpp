// The multilingual face: objects, their data, selection, keys and mouse,
// the clipboard, undo and redo, and the controls. Type attributes and
// metrics are in TxnAttributes.cpp, scroll bars in TxnScrollBars.cpp.
#include "platform/textedit/MultilingualText.h"

#include <algorithm>
#include <cstring>

#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/cursors/Cursors.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/scrap/Scrap.h"
#include "platform/text/SingleByteSets.h"
#include "platform/textedit/TxnObject.h"

namespace platform {

using namespace txn;

namespace {

bool gInitialized = false;
TextAttributes gDefaultStyle = [] {
    TextAttributes a;
    a.font = 1;
    a.size = 12;
    return a;
}();

int32_t Clamp(TXNObject o, TXNOffset offset)
{
    if (offset == kTXNUseCurrentSelection) return o->engine.SelStart();
    return int32_t(std::min<TXNOffset>(offset, TXNOffset(o->engine.Length())));
}

void Range(TXNObject o, TXNOffset start, TXNOffset end, int32_t* from, int32_t* to)
{
    if (start == kTXNUseCurrentSelection || end == kTXNUseCurrentSelection) {
        *from = o->engine.SelStart();
        *to = o->engine.SelEnd();
        return;
    }
    *from = Clamp(o, start);
    *to = Clamp(o, end);
    if (*from > *to) std::swap(*from, *to);
}

std::u16string FromUtf16Bytes(const void* data, ByteCount size)
{
    std::u16string out(size / 2, u'\0');
    if (!out.empty()) std::memcpy(out.data(), data, out.size() * 2);
    return out;
}

std::u16string FromMacRomanBytes(const void* data, ByteCount size)
{
    std::u16string out(size, u'\0');
    const auto* b = static_cast<const uint8_t*>(data);
    for (ByteCount i = 0; i < size; ++i) out[i] = MacRomanToUnicode(b[i]);
    return out;
}

std::vector<uint8_t> ToMacRomanBytes(const std::u16string& text)
{
    std::vector<uint8_t> out(text.size());
    const ConversionResult r = Utf16ToMacRoman(text.data(), int32_t(text.size()), out.data(), int32_t(out.size()));
    out.resize(size_t(r.produced));
    return out;
}

// The scrap's 'utxt' is big-endian UTF-16.
std::vector<uint8_t> ToScrapUtf16(const std::u16string& text)
{
    std::vector<uint8_t> out(text.size() * 2);
    for (size_t i = 0; i < text.size(); ++i) WriteBE16(&out[i * 2], text[i]);
    return out;
}

std::u16string FromScrapUtf16(const std::vector<uint8_t>& bytes)
{
    std::u16string out(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i) out[i] = char16_t(ReadBE16(&bytes[i * 2]));
    return out;
}

bool ReadScrap(ScrapRef scrap, ScrapFlavorType type, std::vector<uint8_t>* out)
{
    Size size = 0;
    if (GetScrapFlavorSize(scrap, type, &size) != noErr || size < 0) return false;
    out->assign(size_t(size), 0);
    if (size > 0 && GetScrapFlavorData(scrap, type, &size, out->data()) != noErr) return false;
    out->resize(size_t(size));
    return true;
}

// An unrecorded replacement of [from, to) that lies inside the text the
// last recorded action put in place becomes part of that action, so that
// undo and redo still find their text. Any other one would leave records
// that no longer describe the text: they go.
void Amend(TXNObject o, int32_t from, int32_t to, const std::u16string& text)
{
    TxnAction* a = o->placed == 1 && !o->undo.empty()   ? &o->undo.back()
                   : o->placed == 2 && !o->redo.empty() ? &o->redo.back()
                                                        : nullptr;
    std::u16string* held = !a ? nullptr : o->placed == 1 ? &a->inserted.text : &a->removed.text;
    if (!a || from < a->from || to > a->from + int32_t(held->size())) {
        if (from != to || !text.empty()) {
            o->undo.clear();
            o->redo.clear();
        }
        o->placed = 0;
        return;
    }
    std::u16string& kept = *held;
    kept.replace(size_t(from - a->from), size_t(to - from), text);
    auto& runs = o->placed == 1 ? a->inserted.runs : a->removed.runs;
    while (runs.size() > 1 && runs.back().first >= int32_t(kept.size())) runs.pop_back();
}

void Redraw(TXNObject o)
{
    o->engine.Layout();
    o->engine.DrawAll();
    DrawBars(o);
}

void Local(TXNObject o, Point* p)
{
    GrafPtr saved = nullptr;
    GetPort(&saved);
    if (o->engine.port) SetPort(o->engine.port);
    GlobalToLocal(p);
    SetPort(saved);
}

}  // namespace

namespace txn {

void ApplyGeometry(TXNObject o)
{
    TextEngine& e = o->engine;
    Rect32 view = o->frame;
    if (o->vbar) view.right = std::max(view.left, view.right - kBarWidth);
    if (o->hbar) view.bottom = std::max(view.top, view.bottom - kBarWidth);
    const int32_t scrollH = e.view.left - e.dest.left, scrollV = e.view.top - e.dest.top;
    const int32_t oldWidth = e.dest.right - e.dest.left;
    e.view = view;
    e.dest = {view.top - scrollV, view.left - scrollH, view.bottom - scrollV, view.right - scrollH};
    if (o->destWidth > e.dest.right - e.dest.left) e.dest.right = e.dest.left + o->destWidth;
    const bool wrap = !e.singleLine && o->wordWrap == 0;
    Alignment align = Alignment::Left;
    if (o->justification == kTXNFlushRight || (o->justification == kTXNFlushDefault && o->lineDirection == 1))
        align = Alignment::Right;
    else if (o->justification == kTXNCenter)
        align = Alignment::Center;
    if (wrap != e.wrap || align != e.align || oldWidth != e.dest.right - e.dest.left || o->echo != e.echo)
        e.Invalidate();
    e.wrap = wrap;
    e.align = align;
    e.echo = o->echo;
    e.readOnly = o->readOnly != 0;
    e.selectionShown = o->selectable != 0;
    e.visible = o->visible != 0 && o->window;
    e.outlineWhenInactive = o->drawSelectionInactive != 0;
    e.drawCaretWhenInactive = false;
}

void RecordEdit(TXNObject o, TXNActionKey kind, int32_t from, int32_t to, const StyledFragment& inserted)
{
    TxnAction a;
    a.kind = kind;
    a.from = from;
    a.removed = o->engine.Extract(from, to);
    a.inserted = inserted;
    o->undo.push_back(std::move(a));
    o->redo.clear();
    o->typingOpen = false;
    o->placed = 1;
}

void TypingHook(void* refCon, int32_t from, int32_t to, const std::u16string& typed)
{
    auto o = static_cast<TXNObject>(refCon);
    TxnAction* last = o->typingOpen && !o->undo.empty() && o->undo.back().kind == kTXNTypingAction ? &o->undo.back()
                                                                                                      : nullptr;
    const int32_t lastEnd = last ? last->from + int32_t(last->inserted.text.size()) : -1;
    if (last && !typed.empty() && from == to && from == lastEnd) {
        last->inserted.text += typed;
    } else if (last && typed.empty() && to == lastEnd && from >= last->from) {
        last->inserted.text.erase(size_t(from - last->from));
    } else {
        TxnAction a;
        a.from = from;
        a.removed = o->engine.Extract(from, to);
        a.inserted.text = typed;
        o->undo.push_back(std::move(a));
    }
    o->redo.clear();
    o->typingOpen = true;
    o->placed = 1;
}

void Edit(TXNObject o, TXNActionKey kind, int32_t from, int32_t to, const StyledFragment& inserted)
{
    StyledFragment kept = inserted;
    const int32_t n = int32_t(inserted.text.size());
    RecordEdit(o, kind, from, to, kept);
    o->engine.Replace(from, to, inserted);
    o->engine.SetSelection(from + n, from + n);
    o->engine.ShowSelection(true);
    DrawBars(o);
}

}  // namespace txn

OSStatus TXNInitTextension(const TXNMacOSPreferredFontDescription* defaults, ItemCount count, TXNInitOptions options)
{
    (void)options;
    if (gInitialized) return kTXNAlreadyInitializedErr;
    gInitialized = true;
    if (defaults && count > 0) {
        const TXNMacOSPreferredFontDescription& d = defaults[0];
        gDefaultStyle.font = d.fontID == 0 ? int16_t(1) : int16_t(d.fontID);
        gDefaultStyle.size = d.pointSize > 0 ? int16_t(d.pointSize >> 16) : int16_t(12);
        gDefaultStyle.face = d.fontStyle == Style(0xFF) ? Style(normal) : d.fontStyle;
        gDefaultStyle.encoding = d.encoding;
    }
    return noErr;
}

OSStatus TXNNewObject(const void* file, WindowRef window, const Rect* frame, TXNFrameOptions options,
                      TXNFrameType frameType, TXNFileType fileType, TXNPermanentTextEncodingType encoding,
                      TXNObject* object, TXNFrameID* frameID, TXNObjectRefcon refcon)
{
    (void)frameType;
    (void)fileType;
    (void)encoding;
    if (!object || file) return paramErr;
    *object = nullptr;
    try {
        gInitialized = true;
        auto* o = new OpaqueTXNObject(gDefaultStyle);
        o->window = window;
        o->refcon = refcon;
        o->options = options;
        o->frame = frame ? ToRect32(*frame) : Rect32{0, 0, 0, 0};
        o->vbar = (options & kTXNWantVScrollBarMask) != 0;
        o->hbar = (options & kTXNWantHScrollBarMask) != 0;
        o->mono = (options & kTXNMonostyledTextMask) != 0;
        o->readOnly = (options & kTXNReadOnlyMask) ? 1 : 0;
        o->selectable = (options & kTXNNoSelectionMask) ? 0 : 1;
        o->keyboardSync = (options & kTXNNoKeyboardSyncMask) ? 1 : 0;
        TextEngine& e = o->engine;
        e.singleLine = (options & kTXNSingleLineOnlyMask) != 0;
        e.port = window ? GetWindowPort(window) : nullptr;
        e.autoView = true;
        e.willType = TypingHook;
        e.willTypeRefCon = o;
        ApplyGeometry(o);
        e.Layout();
        *object = o;
        if (frameID) *frameID = 1;
        return noErr;
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

void TXNDeleteObject(TXNObject object) { delete object; }

OSStatus TXNSetData(TXNObject o, TXNDataType type, const void* data, ByteCount size, TXNOffset start, TXNOffset end)
{
    return Guard(o, [&]() -> OSStatus {
        if (!data && size > 0) return paramErr;
        StyledFragment f;
        if (type == kTXNUnicodeTextData)
            f.text = FromUtf16Bytes(data, size);  // an odd count drops its last byte
        else if (type == kTXNTextData)
            f.text = FromMacRomanBytes(data, size);
        else
            return kTXNDataTypeNotAllowedErr;
        int32_t from = 0, to = 0;
        Range(o, start, end, &from, &to);
        Amend(o, from, to, f.text);
        const int32_t n = o->engine.Replace(from, to, f);
        o->typingOpen = false;
        o->engine.SetSelection(from + n, from + n);
        DrawBars(o);
        return noErr;
    });
}

OSStatus TXNGetDataEncoded(TXNObject o, TXNOffset start, TXNOffset end, Handle* data, TXNDataType type)
{
    return Guard(o, [&]() -> OSStatus {
        if (!data) return paramErr;
        *data = nullptr;
        int32_t from = 0, to = 0;
        Range(o, start, end, &from, &to);
        const std::u16string text = o->engine.Text().substr(size_t(from), size_t(to - from));
        OSErr err = noErr;
        if (type == kTXNUnicodeTextData) {
            err = PtrToHand(text.data(), data, Size(text.size() * 2));
        } else if (type == kTXNTextData) {
            const std::vector<uint8_t> bytes = ToMacRomanBytes(text);
            err = PtrToHand(bytes.data(), data, Size(bytes.size()));
        } else {
            return kTXNDataTypeNotAllowedErr;
        }
        return err;
    });
}

OSStatus TXNGetData(TXNObject o, TXNOffset start, TXNOffset end, Handle* data)
{
    return TXNGetDataEncoded(o, start, end, data, kTXNUnicodeTextData);
}

ByteCount TXNDataSize(TXNObject o) { return o ? ByteCount(o->engine.Length()) * 2 : 0; }

uint32_t TXNGetChangeCount(TXNObject o) { return o ? o->engine.changeCount : 0; }

OSStatus TXNSetSelection(TXNObject o, TXNOffset start, TXNOffset end)
{
    return Guard(o, [&]() -> OSStatus {
        int32_t from = 0, to = 0;
        Range(o, start, end, &from, &to);
        o->engine.SetSelection(from, to);
        o->typingOpen = false;
        return noErr;
    });
}

void TXNGetSelection(TXNObject o, TXNOffset* start, TXNOffset* end)
{
    if (!o) return;
    if (start) *start = TXNOffset(o->engine.SelStart());
    if (end) *end = TXNOffset(o->engine.SelEnd());
}

void TXNShowSelection(TXNObject o, Boolean showEnd)
{
    Guard(o, [&]() -> OSStatus {
        o->engine.ShowSelection(showEnd != 0);
        DrawBars(o);
        return noErr;
    });
}

void TXNKeyDown(TXNObject o, const EventRecord* event)
{
    Guard(o, [&]() -> OSStatus {
        if (!event) return paramErr;
        const uint8_t c = uint8_t(event->message & charCodeMask);
        // Command keys are the menus' (arrows and deletes keep their moves).
        if ((event->modifiers & cmdKey) && c >= 0x20 && c != 127) return noErr;
        o->engine.Key(c, MacRomanToUnicode(c), event->modifiers);
        DrawBars(o);
        return noErr;
    });
}

void TXNClick(TXNObject o, const EventRecord* event)
{
    Guard(o, [&]() -> OSStatus {
        if (!event) return paramErr;
        Point p = event->where;
        Local(o, &p);
        o->typingOpen = false;
        if (TrackBars(o, p.h, p.v)) return noErr;
        const Rect32& v = o->engine.view;
        if (p.h < v.left || p.h >= v.right || p.v < v.top || p.v >= v.bottom) return noErr;
        o->engine.Click(p.h, p.v, (event->modifiers & shiftKey) != 0);
        DrawBars(o);
        return noErr;
    });
}

void TXNAdjustCursor(TXNObject o, RgnHandle cursorRegion)
{
    if (!o || !o->window) return;
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPort(o->engine.port);
    Point p{};
    GetMouse(&p);
    SetPort(saved);
    const Rect32& v = o->engine.view;
    const bool inText = p.h >= v.left && p.h < v.right && p.v >= v.top && p.v < v.bottom;
    SetThemeCursor(inText && o->selectable ? kThemeIBeamCursor : kThemeArrowCursor);
    if (cursorRegion && inText) SetRectRgn32(cursorRegion, v);
}

void TXNFocus(TXNObject o, Boolean focused)
{
    Guard(o, [&]() -> OSStatus {
        o->focused = focused != 0;
        o->engine.SetActive(o->focused);
        DrawBars(o);
        return noErr;
    });
}

OSStatus TXNActivate(TXNObject o, TXNFrameID frameID, TXNScrollBarState state)
{
    return Guard(o, [&]() -> OSStatus {
        if (frameID != 1) return kTXNInvalidFrameIDErr;
        o->barsAlwaysActive = state == kScrollBarsAlwaysActive;
        DrawBars(o);
        return noErr;
    });
}

void TXNIdle(TXNObject o)
{
    Guard(o, [&]() -> OSStatus {
        o->engine.Idle();
        return noErr;
    });
}

void TXNDraw(TXNObject o, GrafPtr port)
{
    Guard(o, [&]() -> OSStatus {
        GrafPtr own = o->engine.port;
        const bool visible = o->engine.visible;
        if (port) {
            o->engine.port = port;
            o->engine.visible = o->visible != 0;
        }
        o->engine.DrawAll();
        DrawBars(o);
        o->engine.port = own;
        o->engine.visible = visible;
        return noErr;
    });
}

OSStatus TXNCopy(TXNObject o)
{
    return Guard(o, [&]() -> OSStatus {
        if (o->echo) return kTXNCopyNotAllowedInEchoModeErr;
        if (o->engine.SelStart() == o->engine.SelEnd()) return noErr;
        const std::u16string text = o->engine.Extract(o->engine.SelStart(), o->engine.SelEnd()).text;
        OSStatus err = ClearCurrentScrap();
        ScrapRef scrap = nullptr;
        if (err == noErr) err = GetCurrentScrap(&scrap);
        const std::vector<uint8_t> utxt = ToScrapUtf16(text), roman = ToMacRomanBytes(text);
        if (err == noErr) err = PutScrapFlavor(scrap, kTXNUnicodeTextData, 0, Size(utxt.size()), utxt.data());
        if (err == noErr) err = PutScrapFlavor(scrap, kTXNTextData, 0, Size(roman.size()), roman.data());
        return err;
    });
}

OSStatus TXNCut(TXNObject o)
{
    return Guard(o, [&]() -> OSStatus {
        if (o->readOnly) return noErr;
        const OSStatus err = TXNCopy(o);
        if (err != noErr) return err;
        if (o->engine.SelStart() != o->engine.SelEnd())
            Edit(o, kTXNCutAction, o->engine.SelStart(), o->engine.SelEnd(), StyledFragment{});
        return noErr;
    });
}

OSStatus TXNPaste(TXNObject o)
{
    return Guard(o, [&]() -> OSStatus {
        if (o->readOnly) return noErr;
        ScrapRef scrap = nullptr;
        OSStatus err = GetCurrentScrap(&scrap);
        if (err != noErr) return err;
        std::vector<uint8_t> bytes;
        StyledFragment f;
        if (ReadScrap(scrap, kTXNUnicodeTextData, &bytes))
            f.text = FromScrapUtf16(bytes);
        else if (ReadScrap(scrap, kTXNTextData, &bytes))
            f.text = FromMacRomanBytes(bytes.data(), ByteCount(bytes.size()));
        else
            return noTypeErr;
        Edit(o, kTXNPasteAction, o->engine.SelStart(), o->engine.SelEnd(), f);
        return noErr;
    });
}

OSStatus TXNClear(TXNObject o)
{
    return Guard(o, [&]() -> OSStatus {
        if (o->readOnly) return noErr;
        if (o->engine.SelStart() != o->engine.SelEnd())
            Edit(o, kTXNClearAction, o->engine.SelStart(), o->engine.SelEnd(), StyledFragment{});
        return noErr;
    });
}

namespace {

// Applies an action backwards (undo) or forwards (redo).
void Apply(TXNObject o, const TxnAction& a, bool backwards)
{
    const StyledFragment& gone = backwards ? a.inserted : a.removed;
    const StyledFragment& back = backwards ? a.removed : a.inserted;
    o->engine.Replace(a.from, a.from + int32_t(gone.text.size()), back);
    o->engine.SetSelection(a.from, a.from + int32_t(back.text.size()));
    o->engine.ShowSelection(true);
    o->typingOpen = false;
    DrawBars(o);
}

}  // namespace

void TXNUndo(TXNObject o)
{
    Guard(o, [&]() -> OSStatus {
        if (o->undo.empty() || o->readOnly) return noErr;
        TxnAction a = std::move(o->undo.back());
        o->undo.pop_back();
        Apply(o, a, true);
        o->redo.push_back(std::move(a));
        o->placed = 2;
        return noErr;
    });
}

void TXNRedo(TXNObject o)
{
    Guard(o, [&]() -> OSStatus {
        if (o->redo.empty() || o->readOnly) return noErr;
        TxnAction a = std::move(o->redo.back());
        o->redo.pop_back();
        Apply(o, a, false);
        o->undo.push_back(std::move(a));
        o->placed = 1;
        return noErr;
    });
}

Boolean TXNCanUndo(TXNObject o, TXNActionKey* action)
{
    if (!o || o->undo.empty()) return false;
    if (action) *action = o->undo.back().kind;
    return true;
}

Boolean TXNCanRedo(TXNObject o, TXNActionKey* action)
{
    if (!o || o->redo.empty()) return false;
    if (action) *action = o->redo.back().kind;
    return true;
}

OSStatus TXNSetTXNObjectControls(TXNObject o, Boolean clearAll, ItemCount count, const TXNControlTag tags[],
                                 const TXNControlData data[])
{
    return Guard(o, [&]() -> OSStatus {
        if (count > 0 && (!tags || !data)) return paramErr;
        if (clearAll) {
            o->lineDirection = o->readOnly = o->drawSelectionInactive = o->wordWrap = o->keyboardSync = 0;
            o->selectable = o->visible = 1;
            o->justification = kTXNFlushDefault;
        }
        OSStatus err = noErr;
        for (ItemCount i = 0; i < count; ++i) {
            const uint32_t v = data[i].uValue;
            switch (tags[i]) {
            case kTXNLineDirectionTag: o->lineDirection = v; break;
            case kTXNIOPrivilegesTag: o->readOnly = v; break;
            case kTXNDrawSelectionWhenInactiveTag: o->drawSelectionInactive = v; break;
            case kTXNWordWrapStateTag: o->wordWrap = v; break;
            case kTXNSelectionStateTag: o->selectable = v; break;
            case kTXNKeyboardSyncStateTag: o->keyboardSync = v; break;
            case kTXNVisibilityTag: o->visible = v; break;
            case kTXNJustificationTag: o->justification = v; break;
            default: err = paramErr; break;
            }
        }
        ApplyGeometry(o);
        if (!o->engine.LaidOut()) Redraw(o);
        return err;
    });
}

OSStatus TXNGetTXNObjectControls(TXNObject o, ItemCount count, const TXNControlTag tags[], TXNControlData data[])
{
    if (!o || (count > 0 && (!tags || !data))) return paramErr;
    OSStatus err = noErr;
    for (ItemCount i = 0; i < count; ++i) {
        uint32_t v = 0;
        switch (tags[i]) {
        case kTXNLineDirectionTag: v = o->lineDirection; break;
        case kTXNIOPrivilegesTag: v = o->readOnly; break;
        case kTXNDrawSelectionWhenInactiveTag: v = o->drawSelectionInactive; break;
        case kTXNWordWrapStateTag: v = o->wordWrap; break;
        case kTXNSelectionStateTag: v = o->selectable; break;
        case kTXNKeyboardSyncStateTag: v = o->keyboardSync; break;
        case kTXNVisibilityTag: v = o->visible; break;
        case kTXNJustificationTag: v = o->justification; break;
        default: err = paramErr; break;
        }
        data[i].uValue = v;
    }
    return err;
}

OSStatus TXNEchoMode(TXNObject o, UniChar echoCharacter, TextEncoding encoding, Boolean on)
{
    (void)encoding;
    return Guard(o, [&]() -> OSStatus {
        o->echo = on ? echoCharacter : char16_t(0);
        ApplyGeometry(o);
        Redraw(o);
        return noErr;
    });
}

OSStatus TXNDragReceiver(TXNObject o, TXNFrameID frameID, WindowRef window, DragRef drag,
                         Boolean differentObjectSameWindow)
{
    (void)window;
    (void)differentObjectSameWindow;
    return Guard(o, [&]() -> OSStatus {
        if (frameID != 1) return kTXNInvalidFrameIDErr;
        if (o->readOnly) return dragNotAcceptedErr;
        DragItemRef item = 0;
        OSErr err = GetDragItemReferenceNumber(drag, 1, &item);
        if (err != noErr) return err;
        StyledFragment f;
        Size size = 0;
        if (GetFlavorDataSize(drag, item, kTXNUnicodeTextData, &size) == noErr && size >= 0) {
            std::vector<uint8_t> bytes(static_cast<size_t>(size));
            if ((err = GetFlavorData(drag, item, kTXNUnicodeTextData, bytes.data(), &size, 0)) != noErr) return err;
            bytes.resize(size_t(size));
            f.text = FromScrapUtf16(bytes);
        } else if (GetFlavorDataSize(drag, item, kTXNTextData, &size) == noErr && size >= 0) {
            std::vector<uint8_t> bytes(static_cast<size_t>(size));
            if ((err = GetFlavorData(drag, item, kTXNTextData, bytes.data(), &size, 0)) != noErr) return err;
            f.text = FromMacRomanBytes(bytes.data(), ByteCount(size));
        } else {
            return dragNotAcceptedErr;
        }
        // A single-line object takes the first line only.
        if (o->engine.singleLine) f.text.resize(std::min(f.text.size(), f.text.find_first_of(u"\r\n")));
        Point mouse{};
        if ((err = GetDragMouse(drag, &mouse, nullptr)) != noErr) return err;
        Local(o, &mouse);
        const int32_t at = o->engine.OffsetAt(mouse.h, mouse.v, nullptr);
        Edit(o, kTXNDragAction, at, at, f);
        o->engine.SetSelection(at, at + int32_t(f.text.size()));
        return noErr;
    });
}

void ResetMultilingualText()
{
    gInitialized = false;
    gDefaultStyle = TextAttributes{};
    gDefaultStyle.font = 1;
}

}  // namespace platform

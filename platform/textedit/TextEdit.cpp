// The classic face: records, their text, keys, mouse, drawing and
// scrolling. Styles and the scrap are in TextEditStyles.cpp.
#include "platform/textedit/TextEdit.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/core/Memory.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/drawing/TextRuns.h"
#include "platform/events/InputState.h"
#include "platform/text/SingleByteSets.h"
#include "platform/textedit/StyleLayouts.h"
#include "platform/textedit/TextEditRecord.h"

namespace platform {

namespace textedit {

namespace {

OSErr gLastError = noErr;

bool SameBytes(Handle h, const std::vector<uint8_t>& bytes)
{
    if (!h) return bytes.empty();
    const Size size = GetHandleSize(h);
    if (size != Size(bytes.size())) return false;
    return size == 0 || std::memcmp(*h, bytes.data(), size_t(size)) == 0;
}

void Store(Handle h, const std::vector<uint8_t>& bytes)
{
    SetHandleSize(h, Size(bytes.size()));
    if (MemError() != noErr) throw std::bad_alloc();
    if (!bytes.empty()) std::memcpy(*h, bytes.data(), bytes.size());
}

Alignment AlignmentOf(int16_t just)
{
    if (just == teCenter) return Alignment::Center;
    if (just == teFlushRight) return Alignment::Right;
    return Alignment::Left;
}

bool RunClickLoop(void* refCon)
{
    auto te = static_cast<TEHandle>(refCon);
    RecordState* s = StateOf(te);
    TEClickLoopUPP loop = (*te)->clickLoop;
    if (!s || !loop) return true;
    // The loop may call back into the editor (scrolling): it sees the
    // record as it stands, and its changes are taken afterwards.
    Publish(te);
    const bool go = loop(*te) != 0;
    Sync(te);
    return go;
}

// Reads the text, and a styled record's styles, from the record's handles.
void Import(TEHandle te, RecordState& s)
{
    TERec& r = **te;
    const Size size = r.hText ? GetHandleSize(r.hText) : 0;
    int32_t length = r.teLength;
    // A length that wrapped past 32,767 or exceeds the handle: the handle
    // says how much text there is.
    if (length < 0 || length > size) length = size;
    if (length > kTEMaxLength) {
        length = kTEMaxLength;
        SetLastError(teTextTooLongErr);
    }
    const std::u16string text = r.hText && length > 0 ? FromMacRoman(reinterpret_cast<const uint8_t*>(*r.hText), length)
                                                       : std::u16string();
    const int32_t selStart = r.selStart, selEnd = r.selEnd;
    s.engine.SetPlainText(text, s.base);
    if (s.styled) {
        std::vector<StyleRun> runs;
        std::vector<StyleSlot> slots;
        uint32_t refCon = 0;
        const auto* rec = s.styleHandle ? reinterpret_cast<const uint8_t*>(*s.styleHandle) : nullptr;
        const auto* tab = s.styleTable ? reinterpret_cast<const uint8_t*>(*s.styleTable) : nullptr;
        if (ReadStoredStyles(rec, s.styleHandle ? size_t(GetHandleSize(s.styleHandle)) : 0, tab,
                             s.styleTable ? size_t(GetHandleSize(s.styleTable)) : 0, int32_t(text.size()), &runs,
                             &slots, &refCon)) {
            s.engine.InstallStyles(std::move(runs), std::move(slots));
            s.styleRefCon = refCon;
        }
    }
    s.engine.AdoptSelection(selStart, selEnd);
    s.engine.Layout();
    s.publishedChange = ~0u;
}

}  // namespace

void SetLastError(OSErr err)
{
    if (err == noErr || gLastError == noErr) gLastError = err;
}

RecordState* StateOf(TEHandle te)
{
    if (!te || !*te || !(*te)->engine) return nullptr;
    return static_cast<RecordState*>((*te)->engine);
}

std::u16string FromMacRoman(const uint8_t* bytes, int32_t length)
{
    std::u16string out(size_t(std::max(0, length)), u'\0');
    for (int32_t i = 0; i < length; ++i) out[size_t(i)] = MacRomanToUnicode(bytes[i]);
    return out;
}

std::vector<uint8_t> ToMacRoman(const std::u16string& text)
{
    // Plain ASCII is most of any text: only the rest goes through the table.
    std::vector<uint8_t> out(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c < 0x80) {
            out[i] = uint8_t(c);
        } else if (!UnicodeToMacRoman(c, &out[i])) {
            out[i] = kSubstituteByte;
        }
    }
    return out;
}

void Sync(TEHandle te)
{
    RecordState& s = *StateOf(te);
    TERec& r = **te;
    TextEngine& e = s.engine;
    const Rect32 dest = ToRect32(r.destRect), view = ToRect32(r.viewRect);
    if (dest.right - dest.left != e.dest.right - e.dest.left) e.Invalidate();
    e.dest = dest;
    e.view = view;
    const Alignment align = AlignmentOf(r.just);
    const bool wrap = r.crOnly >= 0;
    if (align != e.align || wrap != e.wrap) e.Invalidate();
    e.align = align;
    e.wrap = wrap;
    e.port = r.inPort;
    e.clickLoop = r.clickLoop ? RunClickLoop : nullptr;
    e.clickLoopRefCon = te;
    const bool textChanged = r.teLength != s.length || !SameBytes(r.hText, s.text);
    const bool stylesChanged = s.styled && (!SameBytes(s.styleHandle, s.style) || !SameBytes(s.styleTable, s.table));
    // A plain record takes the font, face and size written into it.
    const bool restyled = !s.styled && (r.txFont != s.base.font || r.txFace != s.base.face ||
                                        (r.txSize > 0 && r.txSize != s.base.size));
    if (restyled) {
        s.base.font = r.txFont;
        s.base.face = r.txFace;
        if (r.txSize > 0) s.base.size = r.txSize;
    }
    if (textChanged || stylesChanged || restyled)
        Import(te, s);
    else
        e.AdoptSelection(r.selStart, r.selEnd);
    if (!e.LaidOut()) e.Layout();
}

void Publish(TEHandle te)
{
    RecordState& s = *StateOf(te);
    TERec& r = **te;
    TextEngine& e = s.engine;
    if (s.publishedChange != e.changeCount) {
        s.text = ToMacRoman(e.Text());
        Store(r.hText, s.text);
        s.length = int16_t(s.text.size());
        r.teLength = s.length;
        if (s.styled) {
            s.style = WriteStyleRecord(e.Runs(), e.Length(), s.styleRefCon, int32_t(e.Styles().size()));
            s.table = WriteStyleTable(e.Styles());
            Store(s.styleHandle, s.style);
            Store(s.styleTable, s.table);
        }
        s.publishedChange = e.changeCount;
    }
    if (!e.LaidOut()) e.Layout();
    s.lineStarts.clear();
    for (const LineBox& l : e.Lines()) s.lineStarts.push_back(int16_t(l.start));
    s.lineStarts.push_back(int16_t(e.Length()));
    r.nLines = int16_t(e.Lines().size());
    r.lineStarts = s.lineStarts.data();
    r.selStart = int16_t(e.SelStart());
    r.selEnd = int16_t(e.SelEnd());
    r.destRect = ClampToRect(e.dest);
    r.viewRect = ClampToRect(e.view);
    r.active = e.active ? 1 : 0;
    if (s.styled) {
        r.lineHeight = -1;
        r.fontAscent = -1;
    } else {
        const FontInfo fi = StyleFontInfo(MakeTextStyle(s.base.font, s.base.size, s.base.face, 0));
        r.lineHeight = int16_t(fi.ascent + fi.descent + fi.leading);
        r.fontAscent = fi.ascent;
    }
    int32_t h = 0, v = 0;
    e.PointOf(e.SelEnd(), &h, &v);
    r.selPoint = {ClampTo16(v), ClampTo16(h)};
    r.selRect = ClampToRect({v, h, v + e.LineHeightAt(e.SelEnd()), h + 1});
}

}  // namespace textedit

using namespace textedit;

OSErr TEGetLastError() { return gLastError; }

void TEInit() {}

namespace {

TEHandle NewRecord(const Rect* destRect, const Rect* viewRect, bool styled)
{
    SetLastError(noErr);
    if (!destRect || !viewRect) {
        SetLastError(paramErr);
        return nullptr;
    }
    TEHandle te = nullptr;
    RecordState* s = nullptr;
    try {
        te = reinterpret_cast<TEHandle>(NewHandleClear(Size(sizeof(TERec))));
        if (!te) throw std::bad_alloc();
        HLock(reinterpret_cast<Handle>(te));  // the record never moves
        TERec& r = **te;
        GrafPtr port = GetQDGlobalsThePort();
        TextAttributes base;
        if (port) {
            base.font = port->txFont;
            base.face = port->txFace;
            base.size = port->txSize > 0 ? port->txSize : int16_t(12);
            base.color = port->rgbFgColor;
        }
        s = new RecordState(base);
        s->styled = styled;
        s->engine.SetMaxLength(kTEMaxLength);
        r.engine = s;
        r.destRect = *destRect;
        r.viewRect = *viewRect;
        r.inPort = port;
        r.txFont = base.font;
        r.txFace = base.face;
        r.txSize = base.size;
        r.txMode = srcOr;
        r.just = teFlushDefault;
        r.hText = NewHandle(0);
        if (!r.hText) throw std::bad_alloc();
        if (styled) {
            s->styleHandle = NewHandle(0);
            s->styleTable = NewHandle(0);
            if (!s->styleHandle || !s->styleTable) throw std::bad_alloc();
        }
        s->engine.port = port;
        s->engine.dest = ToRect32(*destRect);
        s->engine.view = ToRect32(*viewRect);
        s->engine.Layout();
        Publish(te);
        return te;
    } catch (const std::bad_alloc&) {
        if (s) {
            DisposeHandle(s->styleHandle);
            DisposeHandle(s->styleTable);
            delete s;
        }
        if (te) {
            DisposeHandle((*te)->hText);
            DisposeHandle(reinterpret_cast<Handle>(te));
        }
        SetLastError(memFullErr);
        return nullptr;
    }
}

}  // namespace

TEHandle TENew(const Rect* destRect, const Rect* viewRect) { return NewRecord(destRect, viewRect, false); }

TEHandle TEStyleNew(const Rect* destRect, const Rect* viewRect) { return NewRecord(destRect, viewRect, true); }

void TEDispose(TEHandle te)
{
    RecordState* s = StateOf(te);
    if (!s) return;
    DisposeHandle((*te)->hText);
    DisposeHandle(s->styleHandle);
    DisposeHandle(s->styleTable);
    delete s;
    (*te)->engine = nullptr;
    DisposeHandle(reinterpret_cast<Handle>(te));
}

void TESetText(const void* text, int32_t length, TEHandle te)
{
    Entry(te, [&](RecordState& s) {
        if (length < 0 || (!text && length > 0)) length = 0;
        if (length > kTEMaxLength) {
            length = kTEMaxLength;
            SetLastError(teTextTooLongErr);
        }
        const TextAttributes style = s.engine.StyleAt(0);
        s.engine.SetPlainText(FromMacRoman(static_cast<const uint8_t*>(text), length), s.styled ? style : s.base);
        s.engine.Layout();
        s.engine.AdoptSelection(s.engine.Length(), s.engine.Length());
    });
}

CharsHandle TEGetText(TEHandle te)
{
    CharsHandle h = nullptr;
    Entry(te, [&](RecordState&) { h = (*te)->hText; });
    return h;
}

void TEInsert(const void* text, int32_t length, TEHandle te)
{
    Entry(te, [&](RecordState& s) {
        if (length <= 0 || !text) return;
        StyledFragment f;
        f.text = FromMacRoman(static_cast<const uint8_t*>(text), length);
        const int32_t at = s.engine.SelStart();
        if (s.engine.Replace(at, at, f) < length) SetLastError(teTextTooLongErr);
    });
}

void TEDelete(TEHandle te)
{
    Entry(te, [&](RecordState& s) {
        const int32_t from = s.engine.SelStart();
        s.engine.Replace(from, s.engine.SelEnd(), StyledFragment{});
        s.engine.SetSelection(from, from);
    });
}

void TEKey(int16_t key, TEHandle te)
{
    Entry(te, [&](RecordState& s) {
        const uint8_t c = uint8_t(key);
        const int32_t before = s.engine.Length();
        const bool refused = !s.engine.Key(c, MacRomanToUnicode(c), CurrentInput().modifiers);
        if (refused && before >= kTEMaxLength && c >= 0x20 && c != 127) SetLastError(teTextTooLongErr);
    });
}

void TEClick(Point pt, Boolean extend, TEHandle te)
{
    Entry(te, [&](RecordState& s) { s.engine.Click(pt.h, pt.v, extend != 0); });
}

void TESetClickLoop(TEClickLoopUPP clickLoop, TEHandle te)
{
    if (StateOf(te)) (*te)->clickLoop = clickLoop;
}

void TEIdle(TEHandle te)
{
    Entry(te, [&](RecordState& s) { s.engine.Idle(); });
}

void TEActivate(TEHandle te)
{
    Entry(te, [&](RecordState& s) { s.engine.SetActive(true); });
}

void TEDeactivate(TEHandle te)
{
    Entry(te, [&](RecordState& s) { s.engine.SetActive(false); });
}

void TEUpdate(const Rect* area, TEHandle te)
{
    Entry(te, [&](RecordState& s) {
        if (area) s.engine.Draw(ToRect32(*area));
    });
}

void TECalText(TEHandle te)
{
    Entry(te, [&](RecordState& s) { s.engine.Layout(); });
}

void TEScroll(int16_t dh, int16_t dv, TEHandle te)
{
    Entry(te, [&](RecordState& s) { s.engine.Scroll(dh, dv); });
}

void TEAutoView(Boolean autoView, TEHandle te)
{
    Entry(te, [&](RecordState& s) { s.engine.autoView = autoView != 0; });
}

void TESetSelect(int32_t selStart, int32_t selEnd, TEHandle te)
{
    Entry(te, [&](RecordState& s) {
        s.engine.SetSelection(selStart, selEnd);
        if (s.engine.autoView) s.engine.ShowSelection(true);
    });
}

int32_t TEGetHeight(int32_t endLine, int32_t startLine, TEHandle te)
{
    int32_t height = 0;
    Entry(te, [&](RecordState& s) {
        const auto& lines = s.engine.Lines();
        const int32_t n = int32_t(lines.size());
        int32_t a = std::clamp<int32_t>(std::min(startLine, endLine), 1, n);
        int32_t b = std::clamp<int32_t>(std::max(startLine, endLine), 1, n);
        for (int32_t i = a; i <= b; ++i) height += lines[size_t(i - 1)].height;
    });
    return height;
}

int16_t TEGetOffset(Point pt, TEHandle te)
{
    int16_t offset = 0;
    Entry(te, [&](RecordState& s) { offset = int16_t(s.engine.OffsetAt(pt.h, pt.v, nullptr)); });
    return offset;
}

}  // namespace platform

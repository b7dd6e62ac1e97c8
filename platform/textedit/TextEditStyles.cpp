// The classic face's styles, its scrap (cut, copy, paste through the
// editor's scrap and the system scrap) and its text box.
#include <algorithm>
#include <vector>

#include "platform/core/FourCC.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/scrap/Scrap.h"
#include "platform/textedit/StyleLayouts.h"
#include "platform/textedit/TextEdit.h"
#include "platform/textedit/TextEditRecord.h"

namespace platform {

using namespace textedit;

namespace {

// The editor's own scrap.
std::vector<uint8_t> gScrapText;
std::vector<uint8_t> gScrapStyles;
bool gScrapHasStyles = false;

TextAttributes FromTextStyle(const TETextStyle& ts)
{
    TextAttributes a;
    a.font = ts.tsFont;
    a.face = ts.tsFace;
    a.size = ts.tsSize;
    a.color = ts.tsColor;
    return a;
}

TETextStyle ToTextStyle(const TextAttributes& a)
{
    TETextStyle ts{};
    ts.tsFont = a.font;
    ts.tsFace = a.face;
    ts.tsSize = a.size;
    ts.tsColor = a.color;
    return ts;
}

bool ReadFlavor(ScrapRef scrap, ScrapFlavorType type, std::vector<uint8_t>* out)
{
    Size size = 0;
    if (GetScrapFlavorSize(scrap, type, &size) != noErr || size < 0) return false;
    out->assign(size_t(size), 0);
    if (size > 0 && GetScrapFlavorData(scrap, type, &size, out->data()) != noErr) return false;
    out->resize(size_t(size));
    return true;
}

OSErr PutOwnScrap()
{
    ScrapRef scrap = nullptr;
    OSStatus err = GetCurrentScrap(&scrap);
    if (err == noErr) err = PutScrapFlavor(scrap, FourCC("TEXT"), 0, Size(gScrapText.size()), gScrapText.data());
    if (err == noErr && gScrapHasStyles)
        err = PutScrapFlavor(scrap, FourCC("styl"), 0, Size(gScrapStyles.size()), gScrapStyles.data());
    return OSErr(err);
}

void CopySelection(RecordState& s)
{
    if (s.engine.SelStart() == s.engine.SelEnd()) return;
    const StyledFragment f = s.engine.Extract(s.engine.SelStart(), s.engine.SelEnd());
    gScrapText = ToMacRoman(f.text);
    gScrapHasStyles = s.styled;
    gScrapStyles = s.styled ? WriteStyleScrap(f) : std::vector<uint8_t>();
    ClearCurrentScrap();
    const OSErr err = PutOwnScrap();
    if (err != noErr) SetLastError(err);
}

// Pastes the system scrap's text (or the editor's scrap), with its
// styles when asked and they are sound. True when the text stood in for
// characters Mac Roman lacks and went into the active record.
bool Paste(RecordState& s, bool withStyles)
{
    std::vector<uint8_t> text, styles;
    bool haveStyles = false, substituted = false;
    ScrapRef scrap = nullptr;
    if (GetCurrentScrap(&scrap) == noErr && ReadFlavor(scrap, FourCC("TEXT"), &text)) {
        haveStyles = withStyles && ReadFlavor(scrap, FourCC("styl"), &styles);
        substituted = ScrapTextSubstitutes(scrap) > 0;
    } else {
        text = gScrapText;
        styles = gScrapStyles;
        haveStyles = withStyles && gScrapHasStyles;
    }
    StyledFragment f;
    f.text = FromMacRoman(text.data(), int32_t(text.size()));
    if (haveStyles && s.styled) ReadStyleScrap(styles.data(), styles.size(), int32_t(f.text.size()), &f.runs);
    const int32_t from = s.engine.SelStart();
    const int32_t n = s.engine.Replace(from, s.engine.SelEnd(), f);
    if (n < int32_t(f.text.size())) SetLastError(teTextTooLongErr);
    s.engine.SetSelection(from + n, from + n);
    if (s.engine.autoView) s.engine.ShowSelection(true);
    return substituted && !f.text.empty() && s.engine.active;
}

// Tells of a paste that put "?" for characters into the text being edited
// (the active record: not a record kept for an undo), once it is over.
void PasteThenNotice(TEHandle te, bool withStyles)
{
    bool substituted = false;
    Entry(te, [&](RecordState& s) { substituted = Paste(s, withStyles); });
    if (!substituted) return;
    const OSErr err = TEGetLastError();
    NoticeSubstitutedPaste();
    SetLastError(err);  // what the paste itself answered
}

}  // namespace

void TECut(TEHandle te)
{
    Entry(te, [&](RecordState& s) {
        CopySelection(s);
        const int32_t from = s.engine.SelStart();
        s.engine.Replace(from, s.engine.SelEnd(), StyledFragment{});
        s.engine.SetSelection(from, from);
    });
}

void TECopy(TEHandle te)
{
    Entry(te, [&](RecordState& s) { CopySelection(s); });
}

void TEPaste(TEHandle te) { PasteThenNotice(te, false); }

void TEStylePaste(TEHandle te) { PasteThenNotice(te, true); }

OSErr TEToScrap() { return PutOwnScrap(); }

OSErr TEFromScrap()
{
    ScrapRef scrap = nullptr;
    OSStatus err = GetCurrentScrap(&scrap);
    if (err != noErr) return OSErr(err);
    std::vector<uint8_t> text;
    if (!ReadFlavor(scrap, FourCC("TEXT"), &text)) return OSErr(noTypeErr);
    gScrapText = text;
    gScrapHasStyles = ReadFlavor(scrap, FourCC("styl"), &gScrapStyles);
    if (!gScrapHasStyles) gScrapStyles.clear();
    return noErr;
}

int32_t TEGetScrapLength() { return int32_t(gScrapText.size()); }

void TEGetStyle(int16_t offset, TETextStyle* style, int16_t* lineHeight, int16_t* fontAscent, TEHandle te)
{
    Entry(te, [&](RecordState& s) {
        const TextAttributes a = s.styled ? s.engine.StyleAt(offset) : s.base;
        int16_t height = 0, ascent = 0;
        for (const StyleSlot& slot : s.engine.Styles())
            if (slot.attr == a) {
                height = slot.height;
                ascent = slot.ascent;
            }
        if (style) *style = ToTextStyle(a);
        if (lineHeight) *lineHeight = height;
        if (fontAscent) *fontAscent = ascent;
    });
}

void TESetStyle(int16_t mode, const TETextStyle* style, Boolean redraw, TEHandle te)
{
    Entry(te, [&](RecordState& s) {
        if (!style) return;
        if (!s.styled) {
            SetLastError(teNotStyledErr);
            return;
        }
        const bool wasVisible = s.engine.visible;
        if (!redraw) s.engine.visible = false;
        s.engine.SetStyle(uint16_t(mode) & (kStyleAll | kStyleAddSize | kStyleToggle), FromTextStyle(*style),
                          s.engine.SelStart(), s.engine.SelEnd());
        s.engine.visible = wasVisible;
    });
}

Boolean TEContinuousStyle(int16_t* mode, TETextStyle* style, TEHandle te)
{
    Boolean all = true;
    Entry(te, [&](RecordState& s) {
        if (!mode) return;
        const uint16_t asked = uint16_t(*mode) & kStyleAll;
        TextAttributes a = s.base;
        uint16_t held = asked;
        if (s.styled) held = s.engine.ContinuousStyle(asked, s.engine.SelStart(), s.engine.SelEnd(), &a);
        *mode = int16_t(held);
        if (style) *style = ToTextStyle(a);
        all = held == asked;
    });
    return all;
}

TEStyleHandle TEGetStyleHandle(TEHandle te)
{
    RecordState* s = StateOf(te);
    return s && s->styled ? s->styleHandle : nullptr;
}

STHandle TEGetStyleTableHandle(TEHandle te)
{
    RecordState* s = StateOf(te);
    return s && s->styled ? s->styleTable : nullptr;
}

void TETextBox(const void* text, int32_t length, const Rect* box, int16_t just)
{
    SetLastError(noErr);
    GrafPtr port = GetQDGlobalsThePort();
    if (!box || !port || (!text && length > 0)) return;
    try {
        TextAttributes a;
        a.font = port->txFont;
        a.face = port->txFace;
        a.size = port->txSize > 0 ? port->txSize : int16_t(12);
        a.color = port->rgbFgColor;
        TextEngine e(a);
        e.SetPlainText(FromMacRoman(static_cast<const uint8_t*>(text), std::max<int32_t>(0, length)), a);
        e.dest = e.view = ToRect32(*box);
        e.align = just == teCenter ? Alignment::Center : just == teFlushRight ? Alignment::Right : Alignment::Left;
        e.port = port;
        e.selectionShown = false;
        e.Layout();
        e.DrawAll();
    } catch (const std::bad_alloc&) {
        SetLastError(memFullErr);
    }
}

void ResetTextEdit()
{
    gScrapText.clear();
    gScrapStyles.clear();
    gScrapHasStyles = false;
    SetLastError(noErr);
}

}  // namespace platform

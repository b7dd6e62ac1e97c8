// The text-edit frame: its editor's life, properties, styles, text, edit
// commands, keys, focus and geometry.
#include "toolbox/views/VFrameTextEdit.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/fonts/Fonts.h"
#include "toolbox/drawing/PrintEmulation.h"
#include "toolbox/foundation/VIntlMgr.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/foundation/VText.h"
#include "toolbox/views/NativeTextBox.h"
#include "toolbox/views/VKeySwitch.h"
#include "toolbox/views/VView.h"

using namespace platform;

namespace {

std::u16string UnitsOf(const VString& text, VIntlMgr* mgr)
{
    const int32_t room = std::max(0, text.GetLength()) * 2 + 1;
    std::u16string units(size_t(room), u'\0');
    units.resize(size_t(std::max(0, text.ToUniBlock(units.data(), 0, room, mgr))));
    return units;
}

}  // namespace

VFrameTextEdit::VFrameTextEdit(VView* parent, ENTE_properties properties, const VRect* rect, const VPoint*)
    : VFrame(parent, rect)
{
    fDragDropProperties.AddDropBit(1024);
    VStr<32> signature;
    signature.FromCString(reinterpret_cast<const uint8_t*>("__VFrameTextEdit__"));
    fDragDropProperties.AddSignature(true, true, signature);
    if (parent) fParentWindow = parent->GetParentMacHwnd();
    fIntlMgr = RetainIntlManager(0);
    MakeEditor(properties);
    if (properties & kEnteVisible) fEditor->SetVisible(true);
    fChanged = false;
    fDropHandler = nullptr;
    fDropHandlerData = nullptr;
}

VFrameTextEdit::~VFrameTextEdit()
{
    delete fEditor;
    if (fIntlMgr) fIntlMgr->Release();
}

void VFrameTextEdit::MakeEditor(ENTE_properties properties)
{
    fEditor = new NativeTextEditMac(WindowRect(), fParentWindow, _ConvertToNativeFlags(properties));
    fEditor->SetDropCallBack(myNativeTextEditDropCallBack, this);
    fEditor->SetOwnerFrame(this);
}

Rect VFrameTextEdit::WindowRect() const
{
    auto c = [](int64_t v) { return int16_t(std::clamp<int64_t>(v, INT16_MIN, INT16_MAX)); };
    return {c(fWindowY), c(fWindowX), c(int64_t(fWindowY) + fHeight), c(int64_t(fWindowX) + fWidth)};
}

void VFrameTextEdit::SetDialect(DialectCode dialect)
{
    VIntlMgr* mgr = RetainIntlManager(dialect);
    if (!mgr) return;
    if (fIntlMgr) fIntlMgr->Release();
    fIntlMgr = mgr;
}

// --- properties ----------------------------------------------------------------

int32_t VFrameTextEdit::_ConvertToNativeFlags(ENTE_properties properties)
{
    int32_t flags = 0;
    for (int k = 0; k <= 17; ++k)
        if (properties & (1 << k)) flags |= 1 << (k + 1);
    return flags | (properties & 0xF80000);
}

namespace {

// The native property of a single bit; 0 for visibility, -1 for none.
int32_t NativeOf(ENTE_properties property)
{
    for (int k = 0; k <= 23; ++k) {
        if (property != (1 << k)) continue;
        if (k <= 17) return k + 1;
        if (k == 18) return 0;
        return k;
    }
    return -1;
}

}  // namespace

void VFrameTextEdit::SetProperty(ENTE_properties property, int32_t value)
{
    const int32_t native = NativeOf(property);
    if (native < 0) return;
    if (native == 0) {
        fEditor->SetVisible(value != 0);
        return;
    }
    if (property == kEnteMultiline) {
        if ((value != 0) != (fEditor->GetProperty(kPropMultiline) != 0)) _CreateMultiline(value != 0);
        return;
    }
    // An explicit password is the owner's: the font rule no longer turns it off.
    if (property == kEntePassword) fPasswordFromFont = false;
    fEditor->SetProperty(native, value);
}

int32_t VFrameTextEdit::GetProperty(ENTE_properties property) const
{
    const int32_t native = NativeOf(property);
    if (native < 0) return 0;
    if (native == 0) return fEditor->GetVisible();
    return fEditor->GetProperty(native);
}

ENTE_properties VFrameTextEdit::GetProperties() const
{
    ENTE_properties all = 0;
    for (int k = 0; k <= 23; ++k) {
        const ENTE_properties bit = 1 << k;
        // Word wrap is not reported; 0x2000 stands for nothing.
        if (bit == kEnteWordWrap || bit == 0x2000) continue;
        if (GetProperty(bit)) all |= bit;
    }
    return all;
}

void VFrameTextEdit::_CreateMultiline(bool multiline)
{
    Rect view{};
    fEditor->GetViewRect(view);
    ENTE_properties properties = GetProperties();
    if (fEditor->GetProperty(kPropWordWrap)) properties |= kEnteWordWrap;
    const int32_t lines = kEnteMultiline | kEnteVAutoScroll | kEnteWantReturn | kEnteWordWrap;
    if (multiline)
        properties |= lines;
    else
        properties = (properties & ~lines) | kEnteHAutoScroll;

    char font[256] = {};
    int32_t size = -1;
    fEditor->GetAllTextFont(font, &size, nullptr);
    const int16_t bold = fEditor->GetAllTextBold(), italic = fEditor->GetAllTextItalic(),
                  underline = fEditor->GetAllTextUnderLine();
    const int32_t back = fEditor->GetBackColor(), colour = fEditor->GetAllTextColor();
    const int16_t justification = fEditor->GetJustification();
    const std::u16string text = fEditor->GetText();
    const bool visible = fEditor->GetVisible(), focused = fEditor->HasFocus();
    int32_t start = 0, end = 0;
    if (focused) fEditor->GetSelection(start, end);
    const bool changed = fChanged || NativeTextEditMac::sNeedsCompositing;
    NativeTextEditMac::sNeedsCompositing = false;

    delete fEditor;
    fEditor = nullptr;
    MakeEditor(properties);
    fEditor->SetAllTextFont(font[0] ? font : nullptr, size, -1);
    if (bold != 2) fEditor->SetAllTextBold(bold == 1);
    if (italic != 2) fEditor->SetAllTextItalic(italic == 1);
    if (underline != 2) fEditor->SetAllTextUnderLine(underline == 1);
    fEditor->SetBackColor(back);
    fEditor->SetAllTextColor(colour);
    fEditor->SetJustification(justification, false);
    fEditor->SetUnicode(text.data(), int32_t(text.size()), false);
    fEditor->SetVisible(visible);
    if (focused) {
        fEditor->SetFocus(true);
        fEditor->Select(start, end);
    }
    fChanged = changed;
}

// --- styles --------------------------------------------------------------------

void VFrameTextEdit::SetFont(int16_t fontID, ENTE_selection selection)
{
    if (fontID == kPasswordFontID) {
        if (!fEditor->GetProperty(kPropPassword)) {
            fEditor->SetProperty(kPropPassword, 1);
            fPasswordFromFont = true;
        }
    } else if (fPasswordFromFont) {
        // Only the echo the font turned on goes off.
        fEditor->SetProperty(kPropPassword, 0);
        fPasswordFromFont = false;
    }
    Str255 pascal{};
    GetFontName(fontID, pascal);
    if (!pascal[0]) return;
    char name[256] = {};
    std::memcpy(name, pascal + 1, pascal[0]);
    if (selection == kEnteSelection)
        fEditor->SetTextSelectionFont(name, -1, -1);
    else
        fEditor->SetAllTextFont(name, -1, -1);
}

void VFrameTextEdit::SetFontSize(int32_t size, ENTE_selection selection)
{
    if (size == 0) size = 12;
    if (selection == kEnteSelection)
        fEditor->SetTextSelectionFont(nullptr, size, -1);
    else
        fEditor->SetAllTextFont(nullptr, size, -1);
}

void VFrameTextEdit::SetBold(bool on, ENTE_selection selection)
{
    selection == kEnteSelection ? fEditor->SetTextSelectionBold(on) : fEditor->SetAllTextBold(on);
}

void VFrameTextEdit::SetItalic(bool on, ENTE_selection selection)
{
    selection == kEnteSelection ? fEditor->SetTextSelectionItalic(on) : fEditor->SetAllTextItalic(on);
}

void VFrameTextEdit::SetUnderLine(bool on, ENTE_selection selection)
{
    selection == kEnteSelection ? fEditor->SetTextSelectionUnderLine(on) : fEditor->SetAllTextUnderLine(on);
}

void VFrameTextEdit::SetStrikeOut(bool on, ENTE_selection selection)
{
    selection == kEnteSelection ? fEditor->SetTextSelectionStrikeOut(on) : fEditor->SetAllTextStrikeOut(on);
}

void VFrameTextEdit::SetTextColor(const RGBColor& color, ENTE_selection selection)
{
    SetTextColor(int32_t((color.red / 257) | ((color.green / 257) << 8) | ((color.blue / 257) << 16)), selection);
}

void VFrameTextEdit::SetTextColor(int32_t color, ENTE_selection selection)
{
    selection == kEnteSelection ? fEditor->SetTextSelectionColor(color) : fEditor->SetAllTextColor(color);
}

namespace {

int32_t Answer(int16_t got, int16_t& value)
{
    if (got == 2) return 1;
    value = got;
    return 0;
}

}  // namespace

int32_t VFrameTextEdit::GetBold(int16_t& value, ENTE_selection selection) const
{
    return Answer(selection == kEnteSelection ? fEditor->GetTextSelectionBold() : fEditor->GetAllTextBold(), value);
}

int32_t VFrameTextEdit::GetItalic(int16_t& value, ENTE_selection selection) const
{
    return Answer(selection == kEnteSelection ? fEditor->GetTextSelectionItalic() : fEditor->GetAllTextItalic(),
                  value);
}

int32_t VFrameTextEdit::GetUnderLine(int16_t& value, ENTE_selection selection) const
{
    return Answer(
        selection == kEnteSelection ? fEditor->GetTextSelectionUnderLine() : fEditor->GetAllTextUnderLine(), value);
}

void VFrameTextEdit::SetJustification(ENTE_justification justification, ENTE_selection selection)
{
    if (selection == kEnteAllText && justification == fJustification) return;
    _SetJustification(justification, selection);
}

void VFrameTextEdit::_SetJustification(ENTE_justification justification, ENTE_selection selection)
{
    fEditor->SetJustification(justification, selection == kEnteSelection);
    fJustification = selection == kEnteSelection ? ENTE_justification(-1) : justification;
}

ENTE_justification VFrameTextEdit::GetJustification() const { return fEditor->GetJustification(); }

// --- text ----------------------------------------------------------------------

void VFrameTextEdit::_SetText(const VString& text, bool replaceSelection)
{
    const std::u16string units = UnitsOf(text, fIntlMgr);
    fEditor->SetUnicode(units.data(), int32_t(units.size()), replaceSelection);
}

int32_t VFrameTextEdit::GetText(VString& text, int32_t from, int32_t to)
{
    const std::u16string units = fEditor->GetText(from, to);
    text.FromUniBlock(units.data(), 0, int32_t(units.size()), fIntlMgr);
    return int32_t(units.size());
}

void VFrameTextEdit::Select(int32_t start, int32_t end) { fEditor->Select(start, end); }

void VFrameTextEdit::GetSelection(int32_t& start, int32_t& end) const { fEditor->GetSelection(start, end); }

void VFrameTextEdit::GetTextBoxSize(int32_t& width, int32_t& height, const VString* text, bool)
{
    width = height = 0;
    if (!text) {
        fEditor->GetTextBoxSize(width, height, nullptr);
        return;
    }
    if (const auto* asText = dynamic_cast<const VText*>(text)) {
        fEditor->GetTextBoxSize(width, height, asText);
        return;
    }
    const VText converted(*text);
    fEditor->GetTextBoxSize(width, height, &converted);
}

// --- edit commands ---------------------------------------------------------------

void VFrameTextEdit::DoCut()
{
    fEditor->DoCut();
    fChanged = true;
}

void VFrameTextEdit::DoCopy() { fEditor->DoCopy(); }

void VFrameTextEdit::DoPaste()
{
    fEditor->DoPaste();
    fChanged = true;
}

void VFrameTextEdit::DoUndo()
{
    fEditor->DoUndo();
    fChanged = true;
}

bool VFrameTextEdit::CanUndo() { return fEditor->CanUndo(); }

void VFrameTextEdit::DoRedo()
{
    fEditor->DoRedo();
    fChanged = true;
}

bool VFrameTextEdit::CanRedo() { return fEditor->CanRedo(); }

void VFrameTextEdit::Clear(bool all)
{
    fEditor->Clear(all);
    fChanged = true;
}

// --- keys, mouse, focus --------------------------------------------------------

int32_t VFrameTextEdit::DoKey(VKeySwitch& key)
{
    TXNObject object = fEditor->GetObject();
    const uint32_t before = object ? TXNGetChangeCount(object) : 0;
    const bool taken = fEditor->DoKey(key);
    // Only a key that changed the text marks the field changed.
    if (object && TXNGetChangeCount(object) != before) fChanged = true;
    return taken ? 0 : 1;
}

bool VFrameTextEdit::DoLeftMouse(VClic& clic)
{
    if (!HasFocus() && CanTakeFocus()) AskFocus();
    DoMouse(clic);
    return true;
}

void VFrameTextEdit::DoMouse(VClic& clic) { fEditor->DoMouse(clic.GetEvent()); }

void VFrameTextEdit::DoActivate(bool on) { fEditor->Activate(on); }

void VFrameTextEdit::DoAdjustCursor() { fEditor->DoAdjustCursor(); }

void VFrameTextEdit::DoIdle(bool) { fEditor->DoIdle(); }

void VFrameTextEdit::DoTakeFocus()
{
    VFrame::DoTakeFocus();
    fSavedTransparent = fEditor->GetProperty(kPropTransparent);
    fEditor->SetProperty(kPropTransparent, 0);
    fEditor->SetFocus(true);
}

void VFrameTextEdit::DoLoseFocus(VFrame* newFocus)
{
    VFrame::DoLoseFocus(newFocus);
    if (fSavedTransparent) fEditor->SetProperty(kPropTransparent, 1);
    fEditor->SetFocus(false);
}

// --- geometry and painting -----------------------------------------------------

void VFrameTextEdit::SetPos(int32_t x, int32_t y, RedrawMode mode)
{
    VFrame::SetPos(x, y, mode);
    if (fEditor) fEditor->Move(WindowRect());
}

void VFrameTextEdit::SetSize(int32_t w, int32_t h, RedrawMode mode)
{
    VFrame::SetSize(w, h, mode);
    if (fEditor) fEditor->Move(WindowRect());
}

void VFrameTextEdit::UpdateCoords(bool parentScrolled)
{
    VFrame::UpdateCoords(parentScrolled);
    if (fEditor) fEditor->Move(WindowRect());
}

void VFrameTextEdit::DoPaint(VPainter* painter)
{
    if (!painter) return;
    // The editor draws in window coordinates; the painter's port may be an
    // offscreen world placed elsewhere. Read before binding resets it.
    int32_t ox = 0, oy = 0, sx = 0, sy = 0;
    painter->GetOffset(ox, oy);
    painter->GetOffscreenOffset(sx, sy);
    const int32_t dx = fWindowX - (ox - sx), dy = fWindowY - (oy - sy);
    painter->BeginPaint(painter->GetCurPort());
    CGrafPtr port = painter->GetCurPort();
    if (port) {
        GrafPtr saved = nullptr;
        GetPort(&saved);
        SetPort(port);
        Rect bounds{};
        GetPortBounds(port, &bounds);
        RgnHandle clip = NewRgn(), moved = NewRgn();
        GetClip(clip);
        CopyRgn(clip, moved);
        if (dx || dy) {
            SetOrigin(int16_t(bounds.left + dx), int16_t(bounds.top + dy));
            OffsetRgn(moved, int16_t(dx), int16_t(dy));
            SetClip(moved);
        }
        fEditor->Update(port);
        if (dx || dy) {
            SetOrigin(bounds.left, bounds.top);
            SetClip(clip);
        }
        DisposeRgn(clip);
        DisposeRgn(moved);
        SetPort(saved);
    }
    painter->EndPaint();
}

void VFrameTextEdit::Draw(VPainter* painter, const VRect& rect, bool printing, const VString* text)
{
    if (!painter) return;
    CGrafPtr port = painter->GetCurPort();
    if (!port) return;
    int32_t ox = 0, oy = 0, sx = 0, sy = 0;
    painter->GetOffset(ox, oy);
    painter->GetOffscreenOffset(sx, sy);
    VRect moved(rect.GetLeft() + ox - sx, rect.GetTop() + oy - sy, rect.GetWidth(), rect.GetHeight());
    Rect box{};
    moved.ToMacRect(box);
    std::unique_ptr<VText> converted;
    const VText* asText = text ? dynamic_cast<const VText*>(text) : nullptr;
    if (text && !asText) {
        converted = std::make_unique<VText>(*text);
        asText = converted.get();
    }
    if (!printing) {
        fEditor->Draw(port, box, nullptr, asText, false);
    } else if (GetMacPrintingFormat()) {
        // The QuickDraw print path: the frame's own text, line by line.
        VText own;
        GetText(own);
        const int32_t length = own.GetLength();
        std::vector<uint8_t> bytes(size_t(length) * 2 + 1, 0);
        own.ToCString(bytes.data(), int32_t(bytes.size()), kCharSetMac);
        MyTextBox(port, box, nullptr, bytes.data(), int32_t(std::strlen(reinterpret_cast<char*>(bytes.data()))),
                  fEditor->GetJustification());
    } else {
        fEditor->Print(port, box, nullptr, asText);
    }
}

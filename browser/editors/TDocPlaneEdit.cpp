// The documentation pane's commands: cut, copy, paste, clear, select all,
// the one-level undo through the window's two scratch records, and the
// font, size, face and colour of the selection with the style menu that
// shows them.
#include <algorithm>

#include "app/appl/CommandStacks.h"
#include "app/appl/Menus.h"
#include "app/appl/UndoRecords.h"
#include "app/windows/TMainWindow.h"
#include "browser/editors/EditorPanes.h"
#include "kernel/helpers/KernelColors.h"
#include "platform/core/FourCC.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/drawing/Palettes.h"
#include "platform/drawing/Shapes.h"
#include "platform/fonts/Fonts.h"
#include "platform/scrap/Scrap.h"
#include "platform/text/NumberStrings.h"
#include "toolbox/drawing/ScrapCalls.h"

using namespace platform;

namespace browser {

namespace {

constexpr int16_t kFontCommand = 100, kSizeCommand = 101, kStyleCommand = 102, kColourCommand = 103;

// Sets the window's undo to the code (text index 1: something to undo).
void BeginUndo(TWindow* w, int16_t code)
{
    if (w && w->fUndo) SetUndo(w->fUndo, 1, code);
}

}  // namespace

int16_t TDocPlane::Do_Func(int16_t command)
{
    if (fMode != 2 || !fTE) return -1;
    int16_t result = 0;
    InitDraw();
    switch (command) {
    case 21: StrUndo(); break;
    case 22: StrCut(); break;
    case 23: StrCopy(); break;
    case 24: StrPaste(); break;
    case 25: StrClear(); break;
    case 26: StrSelect(); break;
    case kFontCommand:
    case kSizeCommand:
    case kStyleCommand:
    case kColourCommand: {
        int16_t item = 0;
        if (PopInteger(&item)) break;  // no item chosen
        if (command == kFontCommand) SetDocFont(item);
        else if (command == kSizeCommand) SetDocSize(item);
        else if (command == kStyleCommand) SetDocStyle(item);
        else SetDocColor(item);
        break;
    }
    default: result = -1; break;
    }
    RestoreDraw();
    if (fWindow) fWindow->SetEditMenu();
    return result;
}

void TDocPlane::StrSaveUndo()
{
    TEditWindow* w = Editor();
    if (!w || !fTE) return;
    TEHandle a = w->fTexts[0], b = w->fTexts[1];
    if (!a || !b) return;
    TESetSelect(0, kMaxDocText, a);
    if (fStyled) TEStylePaste(a);
    else TEPaste(a);
    // Without the text kept, an undo would bring back an older one.
    if (!TextEditCopy(fTE, b) && w->fUndo) SetUndo(w->fUndo, kUndoNothing, kUndoNothing);
}

void TDocPlane::StrUndo()
{
    TEditWindow* w = Editor();
    if (!w || !fTE || !w->fTexts[0] || !w->fTexts[1]) return;
    if (w->fUndo && UndoCode(w->fUndo) == kUndoNothing) return;
    bool kept = false;
    if (!SwapUndoText(fTE, w->fTexts[0], w->fTexts[1], fStyled, false, &kept)) return;
    Rect head{}, text{};
    GetBox(&head, &text);
    EraseRect(&text);
    RestoreDraw();
    update();
    InitDraw();
    TurnUndo(w->fUndo, kept);
    fModified = true;
    w->SetEditMenu();
    UpdateHeight();
    DocSelView();
}

void TDocPlane::StrCut()
{
    BeginUndo(fWindow, kUndoCut);
    StrSaveUndo();
    fModified = true;
    TECut(fTE);
    UpdateHeight();
    DocSelView();
}

void TDocPlane::StrCopy()
{
    BeginUndo(fWindow, kUndoCopy);
    StrSaveUndo();
    TECopy(fTE);
}

void TDocPlane::StrPaste()
{
    const int32_t scrap = myGetScrap(nullptr, FourCC("TEXT"));
    if (scrap < 0) return;
    const TERec& r = **fTE;
    // The text after the paste must stay below the record's limit; one
    // that would not is refused whole, and said.
    if (int32_t(r.teLength) - (r.selEnd - r.selStart) + scrap >= kMaxDocText) {
        SayPastePastLimit(kPasteRefusedText);
        return;
    }
    BeginUndo(fWindow, kUndoPaste);
    StrSaveUndo();
    fModified = true;
    if (fStyled) TEStylePaste(fTE);
    else TEPaste(fTE);
    UpdateHeight();
    DocSelView();
}

void TDocPlane::StrClear()
{
    BeginUndo(fWindow, kUndoClear);
    StrSaveUndo();
    fModified = true;
    TEDelete(fTE);
    UpdateHeight();
    DocSelView();
}

void TDocPlane::StrSelect()
{
    // The view stays where it is while everything is selected.
    TEAutoView(false, fTE);
    TESetSelect(0, kMaxDocText, fTE);
    TEAutoView(true, fTE);
}

namespace {

// Applies one attribute of `style` to the selection of the pane's record,
// with the undo and the menus that go with a style change.
void ApplyStyle(TDocPlane* pane, int16_t mode, const TETextStyle& style)
{
    BeginUndo(pane->fWindow, kUndoStyle);
    pane->StrSaveUndo();
    TESetStyle(mode, &style, true, pane->fTE);
    pane->fModified = true;
    pane->UpdateHeight();
    pane->SetStyleMenu();
}

TETextStyle StyleAtStart(TEHandle te)
{
    TETextStyle s{};
    int16_t height = 0, ascent = 0;
    TEGetStyle((**te).selStart, &s, &height, &ascent, te);
    return s;
}

}  // namespace

void TDocPlane::SetDocFont(int16_t item)
{
    Str255 name;
    GetFuncItem(kFontCommand, item, name);
    if (!name[0]) return;
    TETextStyle s = StyleAtStart(fTE);
    GetFNum(name, &s.tsFont);
    ApplyStyle(this, doFont, s);
}

void TDocPlane::SetDocSize(int16_t item)
{
    Str255 text;
    GetFuncItem(kSizeCommand, item, text);
    int32_t size = 0;
    StringToNum(text, &size);
    if (size <= 0 || size > 512) return;
    TETextStyle s = StyleAtStart(fTE);
    s.tsSize = int16_t(size);
    ApplyStyle(this, doSize, s);
}

void TDocPlane::SetDocStyle(int16_t item)
{
    if (item < 1 || item > 8) return;
    TETextStyle s = StyleAtStart(fTE);
    // Item 1 is the plain face; the others turn one face bit over.
    s.tsFace = item == 1 ? Style(normal) : Style(s.tsFace ^ (1 << (item - 2)));
    ApplyStyle(this, doFace, s);
}

void TDocPlane::SetDocColor(int16_t item)
{
    RGBColor c{};
    if (item < 1 || !GetEntryColor(globpalette, int16_t(item - 1), &c)) return;
    TETextStyle s = StyleAtStart(fTE);
    s.tsColor = c;
    ApplyStyle(this, doColor, s);
}

void TDocPlane::SetStyleMenu()
{
    fMode == 2 ? EnableFunc(26) : DisableFunc(26);
    if (!fStyled || !fTE) return;
    const TETextStyle s = StyleAtStart(fTE);
    SetFuncMark(kStyleCommand, 1, s.tsFace == 0 ? checkMark : 0);
    for (int16_t k = 2; k <= 8; ++k) SetFuncMark(kStyleCommand, k, (s.tsFace & (1 << (k - 2))) ? checkMark : 0);
    for (int16_t i = 1, n = NbSFunc(kFontCommand); i <= n; ++i) {
        Str255 name;
        GetFuncItem(kFontCommand, i, name);
        int16_t number = 0;
        GetFNum(name, &number);
        SetFuncMark(kFontCommand, i, number == s.tsFont ? checkMark : 0);
    }
    for (int16_t i = 1, n = NbSFunc(kSizeCommand); i <= n; ++i) {
        Str255 text;
        GetFuncItem(kSizeCommand, i, text);
        int32_t size = 0;
        StringToNum(text, &size);
        SetFuncMark(kSizeCommand, i, size == s.tsSize ? checkMark : 0);
        SetFuncStyle(kSizeCommand, i, RealFont(s.tsFont, int16_t(size)) ? outline : normal);
    }
}

}  // namespace browser

// What both editor panes share: copying one text-edit record into another,
// the application's tool and style menus put into the bar and taken out,
// and the pane makers the program installs.
#include <algorithm>
#include <cstring>
#include <new>

#include "app/appl/Menus.h"
#include "app/appl/UndoRecords.h"
#include "app/dialogs/Messages.h"
#include "app/windows/TMainWindow.h"
#include "browser/editors/EditorPanes.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/scrap/Scrap.h"

using namespace platform;

namespace browser {

void SayPastePastLimit(int16_t item)
{
    Str255 text;
    MyGetIndString(text, 1036, item);
    XAlert(1000, text, kCautionAlert);
}

namespace {

// One handle of the target and the bytes it takes from the source.
struct CopyStep {
    Handle to = nullptr;
    Handle from = nullptr;
    Size size = 0;
    Size before = 0;
};

}  // namespace

bool TextEditCopy(TEHandle from, TEHandle to)
{
    if (!from || !to || !*from || !*to) return false;
    if (from == to) return true;
    const int16_t length = std::max<int16_t>(0, (**from).teLength);
    // The styles move with the text; each record keeps its own handles.
    const Handle fromStyle = TEGetStyleHandle(from), toStyle = TEGetStyleHandle(to);
    const bool styled = fromStyle && toStyle;
    CopyStep steps[3] = {
        {(**to).hText, (**from).hText, length},
        {styled ? TEGetStyleTableHandle(to) : nullptr, styled ? TEGetStyleTableHandle(from) : nullptr},
        {styled ? toStyle : nullptr, fromStyle},
    };
    if (!steps[0].to || (length && !steps[0].from)) return false;
    // Every handle of the target grows before anything is copied: memory
    // running short leaves the target as it was.
    for (CopyStep& step : steps) {
        if (!step.to || !step.from) continue;
        if (&step != &steps[0]) step.size = GetHandleSize(step.from);
        step.before = GetHandleSize(step.to);
        if (step.size <= step.before) continue;
        SetHandleSize(step.to, step.size);
        if (MemError() == noErr) continue;
        for (CopyStep* grown = steps; grown != &step; ++grown)
            if (grown->to && grown->from) SetHandleSize(grown->to, grown->before);
        return false;
    }
    for (CopyStep& step : steps) {
        if (!step.to || !step.from) continue;
        SetHandleSize(step.to, step.size);
        if (step.size) std::memcpy(*step.to, *step.from, size_t(step.size));
    }
    TERec& dst = **to;
    dst.teLength = length;
    dst.selStart = (**from).selStart;
    dst.selEnd = (**from).selEnd;
    TECalText(to);
    return true;
}

bool SwapUndoText(TEHandle te, TEHandle scrap, TEHandle saved, bool styled, bool emptyText, bool* keptForRedo)
{
    const Rect none{0, 0, 0, 0};
    TEHandle now = styled ? TEStyleNew(&none, &none) : TENew(&none, &none);
    TEHandle clip = styled ? TEStyleNew(&none, &none) : TENew(&none, &none);
    // The text is replaced only once the text as it is now is kept.
    if (!now || !clip || !TextEditCopy(te, now) || !TextEditCopy(saved, te)) {
        if (now) TEDispose(now);
        if (clip) TEDispose(clip);
        return false;
    }
    *keptForRedo = TextEditCopy(now, saved);
    TEDispose(now);
    if (styled) TEStylePaste(clip);
    else TEPaste(clip);
    if ((**scrap).teLength > 0) {
        TESetSelect(0, kMaxDocText, scrap);
        TECopy(scrap);
    } else {
        // The clipboard was empty when the step was taken: empty again.
        ClearCurrentScrap();
        ScrapRef ref = nullptr;
        if (emptyText && GetCurrentScrap(&ref) == noErr) PutScrapFlavor(ref, FourCC("TEXT"), 0, 0, nullptr);
        TEFromScrap();
    }
    TextEditCopy(clip, scrap);
    TEDispose(clip);
    return true;
}

void TurnUndo(Handle undo, bool keptForRedo)
{
    if (!undo) return;
    const int16_t code = UndoCode(undo);
    if (!keptForRedo) SetUndo(undo, kUndoNothing, kUndoNothing);
    else SetUndo(undo, 1, code == 6 || code == kUndoTyping ? kUndoRedoTyping : code == kUndoRedoTyping ? kUndoTyping : 1);
}

MenuRef FindAppMenu(int16_t id)
{
    for (int32_t k = 1; k <= NbMenus; ++k)
        if (TheMenus[k] && TheMenus[k]->menuId == id) return TheMenus[k]->menu;
    return nullptr;
}

void ShowAppMenu(int16_t id, bool shown)
{
    MenuRef menu = FindAppMenu(id);
    if (!menu) return;
    const bool there = GetMenuHandle(id) != nullptr;
    if (shown == there) return;
    if (shown) InsertMenu(menu, 0);
    else DeleteMenu(id);
    DrawMenuBar();
}

int16_t MakeDocPlane(TWindow* editor, TWindow* browser, ::TPlan** pane)
{
    (void)browser;
    *pane = nullptr;
    auto* doc = new (std::nothrow) TDocPlane;
    if (!doc) return memFullErr;
    if (const int16_t err = doc->ITPlane(Rect{0, 0, 100, 100}, editor, nullptr, nullptr, 0); err != 0) {
        doc->Dispose();
        return err;
    }
    *pane = doc;
    return 0;
}

int16_t MakeStrPlane(TWindow* editor, TObjQz* obj, ::TPlan** pane)
{
    *pane = nullptr;
    auto* strings = new (std::nothrow) TStrPlane;
    if (!strings) return memFullErr;
    strings->fObj = obj;
    if (const int16_t err = strings->ITPlane(Rect{0, 0, 100, 100}, editor, nullptr, nullptr, 0); err != 0) {
        strings->Dispose();
        return err;
    }
    *pane = strings;
    return 0;
}

}  // namespace browser

// What both editor panes share: copying one text-edit record into another,
// the application's tool and style menus put into the bar and taken out,
// and the pane makers the program installs.
#include <algorithm>
#include <cstring>
#include <new>

#include "app/appl/Menus.h"
#include "app/windows/TMainWindow.h"
#include "browser/editors/EditorPanes.h"
#include "platform/core/Memory.h"

using namespace platform;

namespace browser {

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

MenuRef FindAppMenu(int16_t id)
{
    for (int16_t k = 1; k <= NbMenus; ++k)
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

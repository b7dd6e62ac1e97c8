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

bool CopyHandle(Handle from, Handle to)
{
    if (!from || !to) return false;
    const Size size = GetHandleSize(from);
    SetHandleSize(to, size);
    if (MemError() != noErr) return false;
    if (size) std::memcpy(*to, *from, size_t(size));
    return true;
}

}  // namespace

void TextEditCopy(TEHandle from, TEHandle to)
{
    if (!from || !to || !*from || !*to || from == to) return;
    TERec& src = **from;
    TERec& dst = **to;
    const int16_t length = std::max<int16_t>(0, src.teLength);
    SetHandleSize(dst.hText, length);
    if (MemError() != noErr) return;
    if (length) std::memcpy(*dst.hText, *src.hText, size_t(length));
    dst.teLength = length;
    // The styles move with the text; each record keeps its own handles.
    Handle fromStyle = TEGetStyleHandle(from), toStyle = TEGetStyleHandle(to);
    if (fromStyle && toStyle) {
        CopyHandle(TEGetStyleTableHandle(from), TEGetStyleTableHandle(to));
        CopyHandle(fromStyle, toStyle);
    }
    dst.selStart = src.selStart;
    dst.selEnd = src.selEnd;
    TECalText(to);
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

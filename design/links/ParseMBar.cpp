// A menu bar's links: its menus, and through their items the project
// methods they run, the pictures they show and the string lists their
// texts refer to. Menus record nothing of their own.
#include <algorithm>
#include <vector>

#include "app/documents/MainDoc.h"
#include "app/dialogs/WaitDialog.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/links/ParseSupport.h"
#include "design/links/TokenAccess.h"
#include "design/links/XRef.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

namespace {

constexpr size_t kMenuHeaderSize = 24;
constexpr size_t kItemSize = 86;

// The string-list object a ":id,index" text refers to, or null.
TObjQz* StringListOf(TMainDoc* doc, const unsigned char* text)
{
    int16_t listId = 0, index = 0;
    if (!GetStrIndex(text, &listId, &index)) return nullptr;
    return SearchObj_Id(doc, 11, listId);
}

}  // namespace

std::vector<TObjQz*> MenuBarStringLists(TObjQz* bar)
{
    std::vector<TObjQz*> lists;
    if (!bar->owner) return lists;
    ParseResFile current(bar->owner);
    auto note = [&](const unsigned char* text) {
        TObjQz* list = StringListOf(bar->owner, text);
        if (list && std::find(lists.begin(), lists.end(), list) == lists.end()) lists.push_back(list);
    };
    platform::Handle stored = xget1res(platform::FourCC("BAQz"), bar->id);
    int16_t menuCount = 0;
    ByteView::Of(stored).S16(0, &menuCount);
    for (int32_t k = 1; k <= menuCount; ++k) {
        int16_t menuId = 0;
        if (!ByteView::Of(stored).S16(size_t(6 * k + 6), &menuId)) break;
        const ByteView menu = ByteView::Of(xget1res(platform::FourCC("MENQ"), menuId));
        unsigned char text[256];
        if (!menu.PStr(2, 16, text)) continue;
        note(text);
        int16_t itemCount = 0;
        menu.S16(0, &itemCount);
        for (int32_t i = 1; i <= itemCount && menu.Has(kMenuHeaderSize + size_t(i - 1) * kItemSize, kItemSize); ++i)
            if (menu.PStr(kMenuHeaderSize + size_t(i - 1) * kItemSize, 32, text)) note(text);
    }
    return lists;
}

int16_t TMBarObjQz::Parse()
{
    if (ParseOnce(this)) return 0;
    ParseResFile current(owner);
    if (ParseCancelled()) return kCancelledByUser;
    platform::Handle bar = xget1res(platform::FourCC("BAQz"), id);
    if (!bar) return 0;
    resTime = xgetrestimestamp(bar);
    resSize = uint32_t(platform::GetHandleSize(bar));
    if (!xiscryptedres(bar)) ShowProgress(7);
    int16_t result = 0;
    int16_t menuCount = 0;
    ByteView::Of(bar).S16(0, &menuCount);
    for (int32_t k = 1; k <= menuCount && result == 0; ++k) {
        int16_t menuId = 0;
        // The bar may have been released by loading the menus: view it anew.
        if (!ByteView::Of(bar).S16(size_t(6 * k + 6), &menuId)) break;
        platform::Handle menuRes = xget1res(platform::FourCC("MENQ"), menuId);
        const ByteView menuView = ByteView::Of(menuRes);
        unsigned char title[256];
        if (!menuView.PStr(2, 16, title)) continue;
        TObjQz* menu = NewObj_Id(owner, 6, title, menuId, false);
        if (!menu) {
            result = -108;
            break;
        }
        result = XRef(this, menu);
        if (result == 0) result = XRef(this, StringListOf(owner, title));
        int16_t itemCount = 0;
        menuView.S16(0, &itemCount);
        for (int32_t i = 1; i <= itemCount && result == 0; ++i) {
            const size_t item = kMenuHeaderSize + size_t(i - 1) * kItemSize;
            if (!menuView.Has(item, kItemSize)) break;
            unsigned char text[256], methodName[256];
            int32_t picture = -1;
            if (!menuView.PStr(item, 32, text)) text[0] = 0;
            if (!menuView.PStr(item + 32, 32, methodName)) methodName[0] = 0;
            menuView.S32(item + 82, &picture);
            if (methodName[0]) {
                if (TObjQz* method = SearchObj_Name(owner, 2, methodName)) {
                    result = XRef(menu, method);
                    if (result == 0) result = XRef(this, method);
                }
            }
            if (result == 0 && picture >= 0) {
                if (TObjQz* pict = SearchObj_Id(owner, 18, int16_t(picture & 0xFFFF))) {
                    result = XRef(menu, pict);
                    if (result == 0) result = XRef(this, pict);
                }
            }
            if (result == 0) result = XRef(this, StringListOf(owner, text));
        }
    }
    return CheckParseError(result);
}

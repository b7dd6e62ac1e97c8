// A choice list's links: the picture objects its items show, sub-lists
// included, depth first. A list that cannot be loaded whole links nothing.
#include <vector>

#include "app/documents/MainDoc.h"
#include "app/dialogs/WaitDialog.h"
#include "design/objects/ObjKinds.h"
#include "design/links/ParseSupport.h"
#include "design/links/XRef.h"
#include "forms/lists/ChoiceLists.h"
#include "forms/lists/ItemList.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

int16_t TListObjQz::ParseItem(ItemHandle items)
{
    // Each item, then its branch, then the next item.
    std::vector<ItemHandle> pending;
    if (items) pending.push_back(items);
    while (!pending.empty()) {
        ItemHandle item = pending.back();
        pending.pop_back();
        if (const int16_t err = XRef(this, GetPictObj(owner, (*item)->icon))) return err;
        if ((*item)->next) pending.push_back((*item)->next);
        if ((*item)->firstChild) pending.push_back((*item)->firstChild);
    }
    return 0;
}

int16_t TListObjQz::Parse()
{
    if (ParseOnce(this)) return 0;
    ParseResFile current(owner);
    if (ParseCancelled()) return kCancelledByUser;
    if (platform::Handle h = xget1res(platform::FourCC("List"), id)) {
        resTime = xgetrestimestamp(h);
        resSize = uint32_t(platform::GetHandleSize(h));
    }
    itemlistrec items{};
    initqlist(&items, 0, 255);
    int16_t result = 0;
    if (LoadList(id, &items, true) == 0) result = ParseItem(items.first);
    deinitqlist(&items);
    return CheckParseError(result);
}

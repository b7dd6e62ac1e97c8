// Laying an item list out: which items show as rows, at which level, and
// which sub-lists it shows.
#include <algorithm>

#include "forms/lists/HandleArray.h"
#include "forms/lists/ItemList.h"
#include "platform/controls/Controls.h"

using namespace forms;

namespace {

// Deeper nesting than this is a list that contains itself through its
// sub-lists: the layout stops there instead of recursing for ever.
constexpr int16_t kMaxLevels = 256;

// A live sub-list keeps its record; a dead one is dropped from the item.
itemlistrec* LiveSubList(ItemHandle item)
{
    itemlistrec* sub = (*item)->subList;
    if (sub && !isaList(sub)) {
        (*item)->subList = nullptr;
        return nullptr;
    }
    return sub;
}

void RememberSubList(itemlistrec* list, itemlistrec* sub)
{
    const int32_t n = HandleCount<itemlistrec*>(list->subLists);
    for (int32_t k = 0; k < n; ++k)
        if (HandleAt<itemlistrec*>(list->subLists, k) == sub) return;
    HandleAppend(&list->subLists, sub);
}

// A branch not shown: parents set, branches closed, sub-lists inside
// marked closed the same way.
void CloseBranch(itemlistrec* list, ItemHandle first, ItemHandle parent, int16_t level)
{
    if (level > kMaxLevels) return;
    for (ItemHandle item = first; item; item = (*item)->next) {
        (*item)->parent = parent;
        itemlistrec* sub = LiveSubList(item);
        if (sub) {
            (*item)->firstChild = sub->first;
            sub->count = 0;
            sub->needsLayout = 0;
        }
        if ((*item)->firstChild) {
            SetOpenState(list, item, false);
            CloseBranch(list, (*item)->firstChild, item, int16_t(level + 1));
        }
    }
}

// Appends the rows of a chain; answers how many it appended.
int32_t WalkChain(itemlistrec* list, ItemHandle first, int16_t level, ItemHandle parent)
{
    if (level > kMaxLevels) return 0;
    int32_t rows = 0;
    bool anyBranch = false;
    for (ItemHandle item = first; item; item = (*item)->next) {
        if ((*item)->skip) {
            // Its sub-list's items take its place, at its level.
            if (itemlistrec* sub = LiveSubList(item)) {
                RememberSubList(list, sub);
                rows += WalkChain(list, sub->first, level, parent);
            }
            continue;
        }
        SetItemLevel(list, item, level);
        (*item)->parent = parent;
        HandleAppend(&list->rows, item);
        ++rows;
        itemlistrec* sub = LiveSubList(item);
        if (sub) {
            (*item)->firstChild = sub->first;
            RememberSubList(list, sub);
        }
        ItemHandle branch = (*item)->firstChild;
        if (!branch) {
            if (sub) sub->count = 0;
            continue;
        }
        anyBranch = true;
        list->hasBranches = 1;
        if (IsOpen(list, item) || list->mode == 0) {
            const int32_t shown = WalkChain(list, branch, int16_t(level + 1), item);
            rows += shown;
            if (sub) sub->count = int16_t(std::min<int32_t>(shown, INT16_MAX));
        } else if (sub && sub->needsLayout) {
            CloseBranch(list, branch, item, int16_t(level + 1));
            sub->count = 0;
            sub->needsLayout = 0;
        } else if (sub) {
            sub->count = 0;
        }
    }
    for (ItemHandle item = first; item; item = (*item)->next) (*item)->hasBranch = anyBranch;
    return rows;
}

}  // namespace

void transliste(itemlistrec* list)
{
    list->dirty = 0;
    list->hasBranches = 0;
    HandleDispose(&list->rows);
    list->rows = platform::NewHandleClear(kArrayHeader);
    HandleDispose(&list->subLists);
    WalkChain(list, list->first, 0, nullptr);
    list->visibleCount = int16_t(std::min<int32_t>(HandleCount<ItemHandle>(list->rows), INT16_MAX));
    if (list->scrollBar && list->mode == 1) {
        const int32_t height = list->area.bottom - list->area.top;
        const int32_t fit = list->rowHeight == -1 ? height : list->rowHeight > 0 ? height / list->rowHeight : 0;
        const int32_t maximum = std::max<int32_t>(0, list->visibleCount - fit);
        platform::SetControlMaximum(list->scrollBar, int16_t(maximum));
        list->firstShown = std::min(list->firstShown, platform::GetControlValue(list->scrollBar));
    }
    list->needsLayout = 0;
    ++list->layoutCount;
    const int32_t n = HandleCount<itemlistrec*>(list->subLists);
    for (int32_t k = 0; k < n; ++k) HandleAt<itemlistrec*>(list->subLists, k)->needsLayout = 1;
}

bool checktransliste(itemlistrec* list)
{
    if (!list->needsLayout && !(list->first && !list->rows)) return false;
    transliste(list);
    return true;
}

// Laying an item list out: which items show as rows, at which level, and
// which sub-lists it shows.
#include <algorithm>
#include <new>
#include <unordered_set>
#include <vector>

#include "forms/lists/HandleArray.h"
#include "forms/lists/ItemDrawing.h"
#include "forms/lists/ItemList.h"
#include "platform/controls/Controls.h"

using namespace forms;

namespace {

// Deeper nesting than this is damage (a branch chain that leads back to
// an item above it): the walk stops there instead of recursing for ever.
constexpr int16_t kMaxLevels = 256;

// One layout: the list laid out, the sub-lists on the way down to the
// chain being walked (a sub-list met again on that way is the list shown
// inside itself, and is not expanded: each repeat would double the rows),
// and the sub-lists already remembered in the list's handle.
struct LayoutWalk {
    itemlistrec* list;
    std::vector<const itemlistrec*> path;
    std::unordered_set<const itemlistrec*> remembered;

    bool OnPath(const itemlistrec* sub) const { return std::find(path.begin(), path.end(), sub) != path.end(); }
    void Remember(itemlistrec* sub)
    {
        if (remembered.insert(sub).second) HandleAppend(&list->subLists, sub);
    }
};

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

// A branch not shown: parents set, branches closed, sub-lists inside
// marked closed the same way.
void false_tlist(LayoutWalk& walk, ItemHandle first, ItemHandle parent, int16_t level)
{
    if (level > kMaxLevels) return;
    for (ItemHandle item = first; item; item = (*item)->next) {
        (*item)->parent = parent;
        itemlistrec* sub = LiveSubList(item);
        if (sub && walk.OnPath(sub)) continue;
        if (sub) {
            (*item)->firstChild = sub->first;
            sub->count = 0;
            sub->needsLayout = 0;
        }
        if (!(*item)->firstChild) continue;
        SetOpenState(walk.list, item, false);
        if (sub) walk.path.push_back(sub);
        false_tlist(walk, (*item)->firstChild, item, int16_t(level + 1));
        if (sub) walk.path.pop_back();
    }
}

// Appends the rows of a chain; answers how many it appended.
int32_t transliste_tlist(LayoutWalk& walk, ItemHandle first, int16_t level, ItemHandle parent)
{
    itemlistrec* list = walk.list;
    if (level > kMaxLevels) return 0;
    int32_t rows = 0;
    bool anyBranch = false;
    for (ItemHandle item = first; item; item = (*item)->next) {
        itemlistrec* sub = LiveSubList(item);
        const bool looped = sub && walk.OnPath(sub);
        if ((*item)->skip) {
            // Its sub-list's items take its place, at its level.
            if (sub && !looped) {
                walk.Remember(sub);
                walk.path.push_back(sub);
                rows += transliste_tlist(walk, sub->first, level, parent);
                walk.path.pop_back();
            }
            continue;
        }
        SetItemLevel(list, item, level);
        (*item)->parent = parent;
        HandleAppend(&list->rows, item);
        ++rows;
        if (looped) continue;
        if (sub) {
            (*item)->firstChild = sub->first;
            walk.Remember(sub);
        }
        ItemHandle branch = (*item)->firstChild;
        if (!branch) {
            if (sub) sub->count = 0;
            continue;
        }
        anyBranch = true;
        list->hasBranches = 1;
        if (sub) walk.path.push_back(sub);
        if (IsOpen(list, item) || list->mode == 0) {
            const int32_t shown = transliste_tlist(walk, branch, int16_t(level + 1), item);
            if (sub) sub->count = int16_t(std::min<int32_t>(shown, INT16_MAX));
            rows += shown;
        } else if (sub && sub->needsLayout) {
            false_tlist(walk, branch, item, int16_t(level + 1));
            sub->count = 0;
            sub->needsLayout = 0;
        } else if (sub) {
            sub->count = 0;
        }
        if (sub) walk.path.pop_back();
    }
    for (ItemHandle item = first; item; item = (*item)->next) (*item)->hasBranch = anyBranch;
    return rows;
}

}  // namespace

void SetListCtlMax(itemlistrec* list)
{
    if (!list->scrollBar || list->mode != 1) return;
    const int32_t height = list->area.bottom - list->area.top;
    const int32_t fit = list->rowHeight == -1 ? height : list->rowHeight > 0 ? height / list->rowHeight : 0;
    const int32_t maximum = std::clamp<int32_t>(list->visibleCount - fit, 0, INT16_MAX);
    platform::SetControlMaximum(list->scrollBar, int16_t(maximum));
    list->firstShown = std::min(list->firstShown, platform::GetControlValue(list->scrollBar));
}

void transliste(itemlistrec* list)
{
    if (!list->keepEditing) StopEditInList(list);
    list->dirty = 0;
    list->hasBranches = 0;
    HandleDispose(&list->rows);
    list->rows = platform::NewHandleClear(kArrayHeader);
    HandleDispose(&list->subLists);
    try {
        LayoutWalk walk{list, {list}, {}};
        transliste_tlist(walk, list->first, 0, nullptr);
    } catch (const std::bad_alloc&) {
        // Out of memory: the rows laid out so far stand.
    }
    list->visibleCount = int16_t(std::min<int32_t>(HandleCount<ItemHandle>(list->rows), INT16_MAX));
    SetListCtlMax(list);
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

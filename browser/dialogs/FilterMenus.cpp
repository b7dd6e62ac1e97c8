// The filter menus of a browser window's panes after the filters changed.
#include "app/appl/Preferences.h"
#include "browser/Panes.h"
#include "browser/dialogs/FilterDialog.h"
#include "design/filters/FilterRecord.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"

using namespace platform;

namespace browser {

namespace {

TRefPlane* Emptied(::TPlan* pane)
{
    auto* p = dynamic_cast<TRefPlane*>(pane);
    if (!p) return nullptr;
    // The menu's ids follow a 2-byte head.
    if (p->fFilterMenu) SetHandleSize(p->fFilterMenu, 2);
    p->fMenuCount = 0;
    return p;
}

}  // namespace

void DoUpdateFilters(::TPlan* usedBy, ::TPlan* list, ::TPlan* uses)
{
    const int16_t saved = CurResFile();
    TRefPlane* usedByPane = Emptied(usedBy);
    TRefPlane* listPane = Emptied(list);
    TRefPlane* usesPane = Emptied(uses);
    const int16_t count = CountFilters();
    for (int32_t i = 1; i <= count; ++i) {
        const int16_t id = int16_t(127 + i);
        Handle filter = GetFilter(id);
        if (listPane && filterrec::TstFlag(filter, filterrec::kInListPane)) listPane->AddMenuFilter(id);
        if (usesPane && filterrec::TstFlag(filter, filterrec::kInUsesPane)) usesPane->AddMenuFilter(id);
        if (usedByPane && filterrec::TstFlag(filter, filterrec::kInUsedByPane)) usedByPane->AddMenuFilter(id);
    }
    for (TRefPlane* pane : {listPane, usesPane, usedByPane})
        if (pane) pane->SetDfltFilter(kDefaultFilter);
    UseResFile(saved);
}

}  // namespace browser

// The entry order of a form (TriZone): the objects that take entry move
// so that they follow each other by rows (tops within 4 pixels count as
// one row, the left edges decide within a row), by exchanges of
// neighbours as the stored order always was. That order is not
// consistent (rows chain: 0, 3 and 6 are each one row with their
// neighbour), so the passes are bounded by the number of objects: the
// sort is quadratic in the objects of one page and always ends.
#include <cstdlib>
#include <vector>

#include "forms/layout/PageTable.h"
#include "forms/model/LayoutEditor.h"
#include "forms/objects/EditableObjects.h"
#include "forms/objects/LayoutObject.h"
#include "forms/objects/ObjectIterators.h"

namespace {

constexpr int32_t kSameRow = 4;

bool IsEntryVariable(int32_t subType)
{
    switch (subType) {
    case 0: case 2: case 3: case 4: case 6: case 11: case 21: case 23: case 25: case 26: case 28: case 29: return true;
    default: return false;
    }
}

bool TakesPart(LayoutObject* o, int32_t depth = 0)
{
    if (o->IsField() || o->IsVar()) {
        auto* e = static_cast<EditableObject*>(o);
        if (e->entryAttributes && !e->GetEditable()) return false;
        return o->IsField() || IsEntryVariable(static_cast<VarObject*>(o)->subType);
    }
    if (o->IsSubForm() || o->GetObjectType() == 22) return true;
    if (!o->IsGroup() || depth > 64) return false;
    for (LayoutObject* m = o->GetFirst(); m; m = m->next)
        if (TakesPart(m, depth + 1)) return true;
    return false;
}

// a goes after b.
bool OutOfOrder(const LayoutObject* a, const LayoutObject* b)
{
    if (std::abs(int32_t(a->bounds[0]) - b->bounds[0]) <= kSameRow) return a->bounds[1] > b->bounds[1];
    return a->bounds[0] > b->bounds[0];
}

struct Chain {
    LayoutObject* first;
    LayoutObject* last;

    void Unlink(LayoutObject* o)
    {
        if (o->previous) o->previous->next = o->next;
        else first = o->next;
        if (o->next) o->next->previous = o->previous;
        else last = o->previous;
        o->next = o->previous = nullptr;
    }
    void InsertAfter(LayoutObject* o, LayoutObject* after)
    {
        o->previous = after;
        o->next = after ? after->next : first;
        if (o->next) o->next->previous = o;
        else last = o;
        if (after) after->next = o;
        else first = o;
    }
};

LayoutObject* NextTakingPart(LayoutObject* from, bool selectedOnly)
{
    for (LayoutObject* o = from; o; o = o->next)
        if ((!selectedOnly || o->selected) && TakesPart(o)) return o;
    return nullptr;
}

// One pass; true when a pair was exchanged.
bool Pass(Chain* chain, bool selectedOnly)
{
    bool exchanged = false;
    LayoutObject* a = NextTakingPart(chain->first, selectedOnly);
    while (a) {
        LayoutObject* b = NextTakingPart(a->next, selectedOnly);
        if (!b) break;
        if (OutOfOrder(a, b)) {
            // b takes a's place; a goes where b was.
            LayoutObject* beforeA = a->previous;
            LayoutObject* beforeB = b->previous == a ? b : b->previous;
            chain->Unlink(b);
            chain->InsertAfter(b, beforeA);
            chain->Unlink(a);
            chain->InsertAfter(a, beforeB);
            exchanged = true;
        } else {
            if (b->previous != a) {
                chain->Unlink(b);
                chain->InsertAfter(b, a);
            }
            a = b;
        }
    }
    return exchanged;
}

void SortChain(Chain* chain, bool selectedOnly)
{
    int32_t n = 0;
    for (LayoutObject* o = NextTakingPart(chain->first, selectedOnly); o; o = NextTakingPart(o->next, selectedOnly)) ++n;
    for (int32_t pass = 0; pass <= n && Pass(chain, selectedOnly); ++pass) {
    }
}

}  // namespace

void LayoutEditor::TriZone(bool selectedOnly)
{
    if (!selectedOnly && fInfo.fixedEntryOrder) return;
    StoreCurrentPage();
    for (int32_t p = LastPage(); p >= 0; --p) {
        if (selectedOnly && p != fCurrentPage) continue;
        PageEntry entry;
        if (!GetPage(fPages, p, &entry)) continue;
        Chain chain{entry.first, entry.last};
        SortChain(&chain, selectedOnly);
        SetPage(fPages, p, PageEntry{chain.first, chain.last});
    }
    LoadCurrentPage();
}

#include "design/links/XRef.h"

#include "design/objects/ObjQz.h"

namespace {

// Appends obj to *list, which does not hold it. *made says the list was
// made here, *added that obj was appended.
int16_t Append(ObjListHdl* list, TObjQz* obj, bool* made, bool* added)
{
    *made = *added = false;
    if (!*list) {
        if (const int16_t err = NewObjList(list, 10)) return err;
        *made = true;
    }
    if (const int16_t err = AddObjList(list, obj)) return err;
    *added = true;
    return 0;
}

void Undo(ObjListHdl* list, TObjQz* obj, bool made, bool added)
{
    if (added) DelObjList(*list, obj);
    if (made) {
        FreeObjList(*list);
        *list = nullptr;
    }
}

// A group's lists are the union of its members' (MakeCallList), not
// edges of the graph.
bool IsGroup(const TObjQz* o) { return o->kind == 23 || o->kind == 32 || o->kind == 33; }

}  // namespace

int16_t XRef(TObjQz* a, TObjQz* b)
{
    if (!a || !b) return 0;
    // Between two objects of the graph an edge is on both sides or on
    // neither, so the shorter list answers for both: an object used by
    // thousands is not walked for every user.
    bool inUsedBy = false, inUses = false;
    if (!IsGroup(a) && !IsGroup(b) && a->uses && b->usedBy) {
        inUses = inUsedBy =
            a->uses->Size() <= b->usedBy->Size() ? IsInList(a->uses, b) : IsInList(b->usedBy, a);
    } else {
        inUsedBy = IsInList(b->usedBy, a);
        inUses = IsInList(a->uses, b);
    }
    bool madeBy = false, addedBy = false;
    if (const int16_t err = inUsedBy ? 0 : Append(&b->usedBy, a, &madeBy, &addedBy)) {
        Undo(&b->usedBy, a, madeBy, addedBy);
        return err;
    }
    bool madeUses = false, addedUses = false;
    if (const int16_t err = inUses ? 0 : Append(&a->uses, b, &madeUses, &addedUses)) {
        // A half edge would outlive a deleted user: take the first half back.
        Undo(&a->uses, b, madeUses, addedUses);
        Undo(&b->usedBy, a, madeBy, addedBy);
        return err;
    }
    return 0;
}

void XDelRef(TObjQz* a, TObjQz* b)
{
    if (!a || !b) return;
    DelObjList(b->usedBy, a);
    DelObjList(a->uses, b);
}

void TObjQz::Unlink()
{
    while (uses && uses->Size() > 0) XDelRef(this, uses->At(0));
    while (usedBy && usedBy->Size() > 0) XDelRef(usedBy->At(0), this);
}

void TObjQz::MergeObj(TObjQz* other)
{
    if (!other || other == this || other->kind != kind) return;
    while (other->usedBy && other->usedBy->Size() > 0) {
        TObjQz* caller = other->usedBy->At(0);
        XDelRef(caller, other);
        // A caller that was other itself now uses this object.
        XRef(caller == other ? this : caller, this);
    }
    while (other->uses && other->uses->Size() > 0) {
        TObjQz* used = other->uses->At(0);
        XDelRef(other, used);
        XRef(this, used == other ? this : used);
    }
}

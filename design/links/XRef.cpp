#include "design/links/XRef.h"

#include "design/objects/ObjQz.h"

namespace {

// Appends obj to *list. *made says the list was made here, *added that obj
// was appended.
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

}  // namespace

int16_t XRef(TObjQz* a, TObjQz* b)
{
    if (!a || !b) return 0;
    // The two lists mirror each other, so the user's uses, which hold what
    // one object names, are searched: an object used by every form of a
    // document would make a search of its used-by list grow with the
    // document at each link.
    if (IsInList(a->uses, b)) return 0;
    bool madeBy = false, addedBy = false;
    if (const int16_t err = Append(&b->usedBy, a, &madeBy, &addedBy)) {
        Undo(&b->usedBy, a, madeBy, addedBy);
        return err;
    }
    bool madeUses = false, addedUses = false;
    if (const int16_t err = Append(&a->uses, b, &madeUses, &addedUses)) {
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

// Renaming sets, named selections and semaphores: names that exist only
// because method texts use them. With `all` the object takes the new name
// everywhere (an object that already had it is merged into this one);
// without, only the chosen users move to the object of the new name.
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/links/XRef.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/rename/RenameCommit.h"

namespace {
constexpr int16_t kUsersFilter = 5;
}

int16_t TNamedObjQz::Replace(TObjQz** out) { return AskAndRename(this, kUsersFilter, 0, id, nullptr, out); }

int16_t TNamedObjQz::DoReplace(const unsigned char* newName, bool all, ObjListHdl users, TObjQz** out, bool force)
{
    if (out) *out = this;
    unsigned char cut[256];
    CutName(cut, newName, MaxNameLen());
    if (const int16_t err = RenameInOneCommit(this, cut, users, force, nullptr)) {
        FreeObjList(users);
        ErrMsg(err);
        return err;
    }
    TObjQz* existing = SearchObj_Name(owner, kind, cut);
    if (existing == this) existing = nullptr;
    TObjQz* target = this;
    int16_t moved = 0;
    if (!all) {
        target = existing ? existing : GetObj_Name(owner, kind, cut, 0);
        // The new edge first: memory running out leaves the user on this one.
        for (int32_t i = 0; target && moved == 0 && users && i < users->Size(); ++i) {
            moved = XRef(users->At(i), target);
            if (moved == 0) XDelRef(users->At(i), this);
        }
    }
    FreeObjList(users);
    if (!target || moved != 0) {
        ErrMsg(-108);
        return -108;
    }
    if (all && existing) {
        MergeObj(existing);
        existing->DeleteObj(true);
    }
    if (target == this) TakeNewName(this, cut);
    if (out) *out = target;
    return 0;
}

#include "design/rename/RenameCommit.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "app/dialogs/BusyCursor.h"
#include "app/documents/MainDoc.h"
#include "design/links/ParseSupport.h"
#include "design/links/XRef.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/RenameHooks.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "resources/CPseudoResFile.h"
#include "resources/CPseudoResManager.h"
#include "resources/ResourceApi.h"
#include "resources/StoreBracket.h"

namespace {

constexpr int16_t kResourceMissing = 1003;

bool IsHeld(int16_t container)
{
    CPseudoResFile* file = g_resManager && container > 0 ? g_resManager->FindFile(container) : nullptr;
    return file && file->IsHeld();
}

int16_t StoreError() { return reserr ? reserr : platform::ioErr; }

// The list an object is looked up in by name; null for the kinds kept in
// another order (tables and their fields in reading order, commands by
// number) or kept by their owner (forms, methods of tables and forms).
ObjListHdl NamedList(TObjQz* obj)
{
    if (obj->kind == 9)
        if (auto* var = dynamic_cast<TVarObjQz*>(obj); var && var->method)
            return static_cast<TGnlProcObjQz*>(var->method)->locals;
    switch (obj->kind) {
    case 1:
    case 3:
    case 24:
    case 25:
    case 26:
    case 27:
    case 28:
    case 29: return nullptr;
    default: return obj->owner ? GetObjListe(obj->owner->fTypeList, obj->kind) : nullptr;
    }
}

}  // namespace

int16_t AskAndRename(TObjQz* obj, int16_t listFilter, uint8_t mode, int16_t number, TObjQz* ownerObj, TObjQz** out)
{
    *out = obj;
    unsigned char newName[256];
    obj->GetName(newName);
    ObjListHdl rewrite = nullptr;
    if (!GetReplace(listFilter, obj->owner, obj->kind, ownerObj, newName, number, &mode, obj->usedBy, &rewrite,
                    obj->MaxNameLen())) {
        FreeObjList(rewrite);
        return 0;
    }
    CursInstall(1, 5, 60);
    obj->DoReplace(newName, mode != 0, rewrite, out, false);
    CursRmve();
    return 1;
}

void CutName(unsigned char* out, const unsigned char* name, int16_t max)
{
    out[0] = uint8_t(std::clamp<int32_t>(name[0], 0, std::max<int16_t>(max, 0)));
    std::memmove(out + 1, name + 1, out[0]);
}

int16_t StoreChange::Begin(int16_t container)
{
    joined_ = IsHeld(container);
    return joined_ ? 0 : bracket_.Begin(container);
}

int16_t StoreChange::Commit() { return joined_ ? 0 : bracket_.Commit(); }

int16_t RenameInOneCommit(TObjQz* obj, const unsigned char* newName, ObjListHdl users, bool force,
                          const std::function<int16_t()>& storeName)
{
    if (!obj || !obj->owner) return 0;
    TMainDoc* doc = obj->owner;
    ParseResFile current(doc);
    StoreChange change;
    if (const int16_t err = change.Begin(doc->fResFile)) return err;
    int16_t err = 0;
    try {
        if (storeName) err = storeName();
        for (int32_t i = 0; err == 0 && users && i < users->Size(); ++i) {
            TObjQz* user = users->At(i);
            if (user && user != obj) err = user->RewriteForRename(obj, newName, force);
            // A user's rewrite may make another file current.
            useres(doc->fResFile);
        }
    } catch (const std::bad_alloc&) {
        err = platform::memFullErr;
    }
    if (err == 0) err = change.Commit();
    // Leaving without a commit drops every change made since Begin.
    if (err != 0) return err;
    // What each rewrote is what its size and date now say. A user that
    // kept the old name no longer names `obj`, as a read of it finds.
    ObjectRewritten(obj);
    LinkChanges together;
    for (int32_t i = 0; users && i < users->Size(); ++i) {
        TObjQz* user = users->At(i);
        ObjectRewritten(user);
        if (user && user != obj && user->KeepsOldName(obj, force)) XDelRef(user, obj);
    }
    return 0;
}

void PlaceByName(ObjListHdl list, TObjQz* obj)
{
    if (!list || !IsInList(list, obj)) return;
    DelObjList(list, obj);
    int32_t pos = 1;
    SearchInd_Obj(list, obj->name, &pos);
    // The slot just freed takes it: the list does not grow.
    AddSortedObjList(&list, obj, pos - 1);
}

void TakeNewName(TObjQz* obj, const unsigned char* newName)
{
    obj->SetName(newName);
    if (obj->kind == 24) {
        if (auto* table = dynamic_cast<TFileObjQz*>(obj->GetOwnerObj())) ShellSort(table->forms);
        return;
    }
    PlaceByName(NamedList(obj), obj);
}

int16_t EditStored(uint32_t type, int16_t id, bool missingIsError,
                   const std::function<int16_t(uint8_t* bytes, int32_t size)>& edit)
{
    platform::Handle h = xget1res(type, id);
    if (!h || !*h) {
        if (reserr == platform::memFullErr) return platform::memFullErr;
        return missingIsError ? kResourceMissing : 0;
    }
    const int32_t size = platform::GetHandleSize(h);
    platform::HLock(h);
    const int16_t err = edit(reinterpret_cast<uint8_t*>(*h), size);
    platform::HUnlock(h);
    if (err) return err;
    return xwriteres(h) ? 0 : StoreError();
}

void PutFixedName(uint8_t* at, int32_t room, const unsigned char* name)
{
    std::memset(at, 0, size_t(room));
    const int32_t n = std::min<int32_t>(name[0], room - 1);
    at[0] = uint8_t(n);
    std::memcpy(at + 1, name + 1, size_t(n));
}

// Plug-in routines and packages copied into another document: their code,
// bundle and bundle elements land in its companion file (the movers), and
// what they meet there by name decides the copy.
#include "app/appl/AppGlobals.h"
#include "app/documents/MainDoc.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/TransferHooks.h"
#include "design/transfer/ObjMove.h"

namespace {

constexpr int16_t kUseDest = 4, kReplace = 5, kCopy = 9;
constexpr int16_t kApplicationPackage = 14500;

// A package of the name (not one of a package's routines).
TObjQz* PackageNamed(TMainDoc* doc, const unsigned char* name)
{
    ObjListHdl list = doc ? GetObjListe(doc->fTypeList, 7) : nullptr;
    for (int32_t i = 0; list && i < list->Size(); ++i)
        if (!list->At(i)->GetOwnerObj() && ObjNamed(list->At(i), name)) return list->At(i);
    return nullptr;
}

template <class Copy, class Overwrite>
int16_t MovePlugIn(TExtObjQz* obj, TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj, Copy copy,
                   Overwrite overwrite)
{
    *newObj = nullptr;
    if (G_ModuleUpdate == 4 && obj->TstFlag(kFlagInComponent)) return caution();
    if (obj->unopenable != 0) return 0;
    if (const int16_t cancelled = obj->TObjQz::Move(doc, conflicts, newObj)) return cancelled;
    TConflict* record = C_SearchInChain(conflicts, obj);
    ConflictView view;
    int16_t result = 0;
    if (!GetConflictView(record, &view)) {
        result = copy();
        if (result == 0 && *newObj) result = RecordC_Ref(obj, *newObj, conflicts);
    } else if (view.choice == kReplace && view.destination) {
        TObjQz* target = view.destination;
        result = overwrite(&target);
        if (result == 0) *newObj = target;
    } else if (view.choice == kCopy) {
        result = copy();
    }
    if (result != 0 || !*newObj) return result;
    if (record) SetConflictDest(record, *newObj);
    doc->fCompilerDirty = true;
    return obj->MoveDoc(*newObj);
}

}  // namespace

int16_t TExternalObjQz::Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj)
{
    return MovePlugIn(
        this, doc, conflicts, newObj, [&] { return ::MoveExternal(owner, doc, this, newObj, nullptr); },
        [&](TObjQz** target) { return ::ReplaceExternal(owner, doc, this, target); });
}

int16_t TPackagesObjQz::Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj)
{
    return MovePlugIn(
        this, doc, conflicts, newObj, [&] { return ::MovePackage(owner, doc, this, newObj, nullptr); },
        [&](TObjQz** target) { return ::ReplacePackage(owner, doc, this, target); });
}

int16_t TExternalObjQz::Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    (void)list;
    if (noConflict) return 0;
    return NamesakeConflict(this, SearchObj_Name(doc, 8, name), 10, conflicts);
}

int16_t TExternalObjQz::Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    if (noConflict) return 0;
    return UsedObjConflict(this, SearchObj_Name(doc, 8, name), 113, conflicts, list);
}

int16_t TPackagesObjQz::Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    (void)list;
    if (noConflict || unopenable != 0 || ownerObj) return 0;
    TObjQz* namesake = PackageNamed(doc, name);
    const bool application = id == kApplicationPackage, locked = LockedPackage();
    TConflict* out = nullptr;
    if (namesake) {
        const int16_t code = application || locked ? 12 : 11;
        return RecordConflict(this, namesake, code, application ? kUseDest : Cc_Dflt(code), conflicts, &out);
    }
    if (!application && !locked) return 0;
    return RecordConflict(this, nullptr, 13, application ? kUseDest : Cc_Dflt(13), conflicts, &out);
}

int16_t TPackagesObjQz::Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    if (noConflict || unopenable != 0) return 0;
    // A routine of a package is the package's to settle.
    if (ownerObj) return ownerObj->Indir_Conflicts(doc, conflicts, list);
    return UsedObjConflict(this, PackageNamed(doc, name), LockedPackage() ? 115 : 114, conflicts, list);
}

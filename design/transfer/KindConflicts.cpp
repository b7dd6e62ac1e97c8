// What the copied kinds meet in the destination document: methods, menu
// bars and menus, help balloons, string lists, resources, styles and
// variables.
#include "app/appl/AppGlobals.h"
#include "app/documents/MainDoc.h"
#include "design/objects/Equality.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/TransferHooks.h"
#include "design/plugins/BundleLinks.h"
#include "design/transfer/ObjMove.h"

namespace {

constexpr int16_t kCopy = 9;
// A string list meeting a plug-in's list of its id: copied under a new id.
constexpr int16_t kPlugInsListCode = 26, kCopyNewId = 13;

TObjQz* Namesake(TMainDoc* doc, const TObjQz* obj) { return SearchObj_Name(doc, obj->kind, obj->name); }

}  // namespace

int16_t TProcObjQz::Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    (void)list;
    return NamesakeConflict(this, SearchObj_Name(doc, 2, name), 6, conflicts);
}

int16_t TProcObjQz::Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    if (IsInC_List(conflicts, this) || C_SearchInChain(conflicts, this) || IsInList(list, this)) return 0;
    TObjQz* found = SearchObj_Name(doc, 2, name);
    const int16_t code = found ? 111 : 110;
    TConflict* out = nullptr;
    return RecordConflict(this, found, code, Cc_Dflt(code), conflicts, &out);
}

int16_t TMBarObjQz::SelfAddObjList(ObjListHdl* list, int16_t mode)
{
    if (!list || !*list || IsInList(*list, this)) return 0;
    return TObjQz::SelfAddObjList(list, mode);
}

bool TMBarObjQz::IsInDoc(TMainDoc* doc) { return SearchEqualMBar(doc, this) != nullptr; }

int16_t TMBarObjQz::Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    (void)list;
    TObjQz* namesake = Namesake(doc, this);
    TConflict* out = nullptr;
    if (!namesake) return RecordConflict(this, nullptr, 0, kCopy, conflicts, &out);
    const int16_t code = SearchEqualMBar(doc, this) == namesake ? 14 : 18;
    return RecordConflict(this, namesake, code, Cc_Dflt(code), conflicts, &out);
}

int16_t TMBarObjQz::Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    if (IsInC_List(conflicts, this) || C_SearchInChain(conflicts, this) || IsInList(list, this)) return 0;
    TConflict* out = nullptr;
    if (TObjQz* equal = SearchEqualMBar(doc, this)) return RecordConflict(this, equal, 0, 4, conflicts, &out);
    ObjListHdl bars = doc && doc->fTypeList ? GetObjListe(doc->fTypeList, 5) : nullptr;
    const int16_t code = bars && bars->Size() > 0 ? 117 : 126;
    return RecordConflict(this, nullptr, code, Cc_Dflt(code), conflicts, &out);
}

int16_t TMenuObjQz::Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    (void)list;
    TObjQz* namesake = Namesake(doc, this);
    return NamesakeConflict(this, namesake && EqualMenu(this, namesake) ? namesake : nullptr, 15, conflicts);
}

// A menu its bar shows: an equal one there is used, any other copied with
// the bar (a bar copied without its menus would lose them).
int16_t TMenuObjQz::Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    (void)list;
    if (IsInC_List(conflicts, this) || C_SearchInChain(conflicts, this)) return 0;
    TObjQz* namesake = Namesake(doc, this);
    const bool equal = namesake && EqualMenu(this, namesake);
    TConflict* out = nullptr;
    return RecordConflict(this, equal ? namesake : nullptr, 0, equal ? 4 : kCopy, conflicts, &out);
}

int16_t TFieldBalloonObjQz::Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    (void)list;
    return NamesakeConflict(this, Namesake(doc, this), 8, conflicts);
}

int16_t TFieldBalloonObjQz::Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    return UsedObjConflict(this, Namesake(doc, this), 120, conflicts, list);
}

int16_t TSTRObjQz::Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    (void)list;
    TObjQz* found = SearchObj_Id(doc, 11, id);
    // A plug-in's own list is never replaced or used by a copied one.
    TConflict* out = nullptr;
    if (found && IsBundledStringList(doc, id))
        return RecordConflict(this, found, kPlugInsListCode, kCopyNewId, conflicts, &out);
    return NamesakeConflict(this, found, 9, conflicts);
}

int16_t TSTRObjQz::Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    TObjQz* found = SearchObj_Id(doc, 11, id);
    // A plug-in's own list is no list of this id to use.
    if (found && IsBundledStringList(doc, id)) found = nullptr;
    return UsedObjConflict(this, found, 116, conflicts, list);
}

bool TResourceObjQz::IsInDoc(TMainDoc* doc) { return SearchResource(doc, resType, id) != nullptr; }

int16_t TResourceObjQz::Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    (void)list;
    return NamesakeConflict(this, SearchResource(doc, resType, id), 25, conflicts);
}

int16_t TResourceObjQz::Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    return UsedObjConflict(this, SearchResource(doc, resType, id), 131, conflicts, list);
}

int16_t TStyleObjQz::Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    (void)list;
    return NamesakeConflict(this, Namesake(doc, this), 16, conflicts);
}

int16_t TStyleObjQz::Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    return UsedObjConflict(this, Namesake(doc, this), 118, conflicts, list);
}

int16_t TVarObjQz::Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    (void)list;
    if (G_ModuleUpdate == 4 || method) return 0;
    TObjQz* namesake = Namesake(doc, this);
    if (!namesake) return 0;
    TConflict* out = nullptr;
    return RecordConflict(this, namesake, 23, 0, conflicts, &out);
}

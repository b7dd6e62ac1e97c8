// Pictures and style sheets copied into another document: their data
// lives in shared tables ('PIC#' 128 with the 'PICT' resources, 'Stlx'
// 128), which the movers add to or overwrite.
#include "app/appl/AppGlobals.h"
#include "app/documents/MainDoc.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/TransferHooks.h"
#include "design/transfer/ObjMove.h"

namespace {

constexpr int16_t kNewId = 2, kReplace = 3, kUseDest = 4, kCopy = 9;

// Steps shared by both kinds: the component rules, the wait dialog, then
// `byChoice` (choice, or 0 without a record); the copy or overwritten
// object becomes the record's destination and gets the documentation.
template <class ByChoice>
int16_t MoveData(TObjQz* obj, TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj, ByChoice byChoice)
{
    *newObj = nullptr;
    if (G_ModuleUpdate == 4 && obj->TstFlag(kFlagInComponent)) return caution();
    if (const int16_t cancelled = obj->TObjQz::Move(doc, conflicts, newObj)) return cancelled;
    TConflict* record = C_SearchInChain(conflicts, obj);
    ConflictView view;
    const bool recorded = GetConflictView(record, &view);
    int16_t result = byChoice(recorded ? view.choice : 0, view.destination, record);
    if (result != 0 || !*newObj) return result;
    if (recorded) SetConflictDest(record, *newObj);
    else result = RecordC_Ref(obj, *newObj, conflicts);
    return result == 0 ? obj->MoveDoc(*newObj) : result;
}

}  // namespace

int16_t TPictObjQz::MoveData(TMainDoc* doc, TObjQz** newObj, bool newId)
{
    return MovePicture(owner, doc, this, newObj, newId);
}

int16_t TPictObjQz::ReplaceData(TMainDoc* doc, TObjQz** destObj) { return ReplacePicture(owner, doc, this, destObj); }

int16_t TPictObjQz::Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj)
{
    return ::MoveData(this, doc, conflicts, newObj, [&](int16_t choice, TObjQz* dest, TConflict* record) -> int16_t {
        if (choice == 0 || choice == kCopy || choice == kNewId) return MoveData(doc, newObj, choice == kNewId);
        if (choice != kReplace || !dest) return 0;
        if (ModuleUpDate(this, dest) != 1) {
            SetConflictChoice(record, kUseDest);
            return 0;
        }
        const int16_t err = ReplaceData(doc, &dest);
        if (err == 0) *newObj = dest;
        return err;
    });
}

int16_t TPictObjQz::Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    (void)list;
    if (TObjQz* same = SearchObj_Id(doc, 18, id)) return NamesakeConflict(this, same, 19, conflicts);
    if (G_ModuleUpdate == 4) return 0;
    TObjQz* namesake = SearchObj_Name(doc, 18, name);
    if (!namesake) return 0;
    TConflict* out = nullptr;
    return RecordConflict(this, namesake, 24, 7, conflicts, &out);
}

int16_t TPictObjQz::Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    if (IsInC_List(conflicts, this) || C_SearchInChain(conflicts, this) || IsInList(list, this)) return 0;
    TObjQz* same = SearchObj_Id(doc, 18, id);
    const int16_t code = same ? 128 : 127;
    TConflict* out = nullptr;
    return RecordConflict(this, same, code, Cc_Dflt(code), conflicts, &out);
}

int16_t TStyleSheetObjQz::MoveData(TMainDoc* doc, TObjQz** newObj, bool newId)
{
    (void)newId;
    return MoveStyleSheet(owner, doc, this, newObj, nullptr);
}

int16_t TStyleSheetObjQz::ReplaceData(TMainDoc* doc, TObjQz** destObj)
{
    return ReplaceStyleSheet(owner, doc, this, destObj);
}

int16_t TStyleSheetObjQz::Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj)
{
    return ::MoveData(this, doc, conflicts, newObj, [&](int16_t choice, TObjQz* dest, TConflict*) -> int16_t {
        if (choice == 0 || choice == kCopy) return MoveData(doc, newObj, false);
        if (choice != kReplace || !dest) return 0;
        const int16_t err = ReplaceData(doc, &dest);
        if (err == 0) *newObj = dest;
        return err;
    });
}

int16_t TStyleSheetObjQz::Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    (void)list;
    return NamesakeConflict(this, SearchObj_Name(doc, 19, name), 20, conflicts);
}

int16_t TStyleSheetObjQz::Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    if (IsInC_List(conflicts, this) || C_SearchInChain(conflicts, this) || IsInList(list, this)) return 0;
    TObjQz* namesake = SearchObj_Name(doc, 19, name);
    const int16_t code = namesake ? 130 : 129;
    TConflict* out = nullptr;
    return RecordConflict(this, namesake, code, Cc_Dflt(code), conflicts, &out);
}

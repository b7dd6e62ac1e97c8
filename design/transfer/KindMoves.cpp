// The copies of methods, menu bars, menus, help balloons, styles, string
// lists and resources into another document, and the documentation that
// follows a copy.
#include "app/appl/AppGlobals.h"
#include "app/documents/MainDoc.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/TransferHooks.h"
#include "design/transfer/ObjMove.h"

int16_t TProcObjQz::Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj)
{
    return MoveByChoice(this, doc, conflicts, newObj, {::MoveProc, ::ReplaceProc, 0, true});
}

int16_t TMBarObjQz::Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj)
{
    return MoveByChoice(this, doc, conflicts, newObj, {::MoveMBar, ::ReplaceMBar, 14, true});
}

// A menu is named by its title: it never takes another name.
int16_t TMenuObjQz::Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj)
{
    return MoveByChoice(this, doc, conflicts, newObj, {::MoveMenu, ::ReplaceMenu, 15, false});
}

int16_t TFieldBalloonObjQz::Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj)
{
    return MoveByChoice(this, doc, conflicts, newObj, {::MoveBalloon, ::ReplaceBalloon, 0, true});
}

int16_t TStyleObjQz::Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj)
{
    return MoveByChoice(this, doc, conflicts, newObj, {::MoveStyle, ::ReplaceStyle, 0, true});
}

namespace {

constexpr int16_t kReplace = 3, kCopy = 9, kCopyNewId = 13;

// String lists and resources live in the companion file, by id: no record
// or 9 copies under the same id, 13 under a new one, 3 overwrites (without
// the component rules); every other choice leaves the object.
template <class Copy, class Overwrite>
int16_t MoveById(TObjQz* obj, TMainDoc* dest, C_ListRec* conflicts, TObjQz** newObj, Copy copy, Overwrite overwrite)
{
    *newObj = nullptr;
    if (G_ModuleUpdate == 4 && obj->TstFlag(kFlagInComponent)) return 0;
    if (const int16_t stop = caution()) return stop;
    if (const int16_t cancelled = obj->TObjQz::Move(dest, conflicts, newObj)) return cancelled;
    TConflict* record = C_SearchInChain(conflicts, obj);
    ConflictView view;
    const bool recorded = GetConflictView(record, &view);
    int16_t result = 0;
    if (!recorded || view.choice == kCopy || view.choice == kCopyNewId) {
        result = copy(recorded && view.choice == kCopyNewId);
    } else if (view.choice == kReplace && view.destination) {
        TObjQz* target = view.destination;
        result = overwrite(&target);
        if (result == 0) *newObj = target;
    } else {
        return 0;
    }
    if (result != 0 || !*newObj) return result;
    dest->fCompilerDirty = true;
    if (recorded) SetConflictDest(record, *newObj);
    else result = RecordC_Ref(obj, *newObj, conflicts);
    return result == 0 ? obj->MoveDoc(*newObj) : result;
}

}  // namespace

int16_t TSTRObjQz::Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj)
{
    return MoveById(
        this, doc, conflicts, newObj, [&](bool newId) { return ::MoveStr(owner, doc, this, newObj, newId); },
        [&](TObjQz** target) { return ::ReplaceStr(owner, doc, this, target); });
}

int16_t TResourceObjQz::Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj)
{
    return MoveById(
        this, doc, conflicts, newObj, [&](bool) { return ::MoveResource(owner, doc, this, newObj, nullptr); },
        [&](TObjQz** target) { return ::ReplaceResource(owner, doc, this, target); });
}

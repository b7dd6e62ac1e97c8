#include "transfer/driver/DoMove.h"

#include <unordered_map>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/Messages.h"
#include "app/dialogs/WaitDialog.h"
#include "app/documents/MainDoc.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/Groups.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjList.h"
#include "design/objects/ObjQz.h"
#include "design/objects/ObjText.h"
#include "design/objects/OpenEditors.h"
#include "design/plugins/BundleTable.h"
#include "design/plugins/PlugInFiles.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "transfer/conflicts/ConflictDefaults.h"
#include "transfer/conflicts/ConflictRecording.h"
#include "transfer/conflicts/Conflicts.h"
#include "transfer/dialogs/ConflictDialog.h"
#include "transfer/driver/TransferSession.h"
#include "transfer/links/NotBrought.h"
#include "transfer/remap/ResIDMap.h"

namespace transfer {

ObjListHdl G_DeleteList = nullptr;

namespace {

constexpr int16_t kUseDest = 4;
constexpr int16_t kMaxGroupDepth = 255;

ModuleConflictsHook gModuleConflicts = nullptr;
InstallFinishHook gInstallFinish = nullptr;
void* gInstallFinishContext = nullptr;

// The reserve given up means memory is exhausted.
int16_t Reserve(int16_t err) { return err == 0 && !GromMemHdl ? platform::memFullErr : err; }

bool InModule(TObjQz* group, TObjQz* obj, int16_t depth)
{
    if (!group || !group->members || depth > kMaxGroupDepth) return false;
    for (int32_t i = 0; i < group->members->Size(); ++i) {
        TObjQz* m = group->members->At(i);
        if (m == obj) return true;
        if (m != group && IsGroupKind(m) && InModule(m, obj, int16_t(depth + 1)))
            return true;
    }
    return false;
}

void WaitTitle(TMainDoc* source, TMainDoc* dest, bool component, unsigned char* title)
{
    unsigned char part[256];
    if (component) {
        MyGetIndString(title, 1029, 2);
        PAppend(title, dest->fName);
        return;
    }
    MyGetIndString(title, 1001, 30);
    PAppend(title, source->fName);
    MyGetIndString(part, 1001, 31);
    PAppend(title, part);
    PAppend(title, dest->fName);
}

// Step 5: a direct conflict with a locked object of the destination, or a
// component or its folder, stops the transfer outside an install.
int16_t CheckLocked(C_ListHdl conflicts, bool install)
{
    int16_t err = 0;
    for (int32_t i = 0; i < conflicts->Size() && err == 0; ++i) {
        TConflict* record = conflicts->At(i);
        TObjQz* dest = record->fDest;
        if (dest && record->fCode < 101 && !install &&
            (dest->TstFlag(kFlagInComponent) || dest->kind == 33 || dest->kind == 32)) {
            unsigned char name[256];
            dest->GetStructName(name);
            XAlert(kLockedAlert, name, kCautionAlert);
            err = kCancelledByUser;
        }
        record->MajVis();
        err = Reserve(err);
        if (err == platform::memFullErr) ErrMsg(err);
    }
    return err;
}

// Once settled: a destination object that the choices replace (or merge
// with, for groups and plug-ins) must not be open in an editor, which would
// write its own copy back over the one copied.
bool ReplacesWhatAnEditorShows(C_ListHdl conflicts)
{
    constexpr int16_t kReplace = 3, kMergeOrReplace = 5;
    for (int32_t i = 0; conflicts && i < conflicts->Size(); ++i) {
        TConflict* record = conflicts->At(i);
        if (record->fDest && (record->fChoice == kReplace || record->fChoice == kMergeOrReplace) &&
            RefusedForOpenEditor(record->fDest))
            return true;
        if (record->IsMember(1) && ReplacesWhatAnEditorShows(static_cast<TRConflict*>(record)->fSubList)) return true;
    }
    return false;
}

constexpr int16_t kPlugInReplace = 5, kPlugInCopy = 9;
constexpr int16_t kListCopy = 9, kListCopyNewId = 13;
const uint32_t kStrList = platform::FourCC("STR#");

// The string lists that are bundle elements of a plug-in or package this
// transfer copies, each with that plug-in: they come only with that
// bundle, under the id the bundle's copy gives them; copied on their own
// too, the destination would hold each twice under the one name.
std::unordered_map<const TObjQz*, TExtObjQz*> ListsComingWithBundles(ObjListHdl list, C_ListHdl conflicts)
{
    std::unordered_map<const TObjQz*, TExtObjQz*> lists;
    for (int32_t i = 0; list && i < list->Size(); ++i) {
        auto* plugIn = dynamic_cast<TExtObjQz*>(list->At(i));
        if (!plugIn || plugIn->unopenable != 0 || !plugIn->uses) continue;
        if (G_ModuleUpdate == 4 && plugIn->TstFlag(kFlagInComponent)) continue;
        const TConflict* record = C_SearchInChain(conflicts, plugIn);
        if (record && record->fChoice != kPlugInCopy && !(record->fChoice == kPlugInReplace && record->fDest)) continue;
        for (int32_t u = 0; u < plugIn->uses->Size(); ++u)
            if (const TObjQz* used = plugIn->uses->At(u); used && used->kind == 11) lists.emplace(used, plugIn);
    }
    return lists;
}

// The entries of plug-ins' bundles in their files, read once each; none
// when a bundle cannot be read.
using Bundles = std::unordered_map<const TExtObjQz*, std::vector<BundleEntry>>;

const std::vector<BundleEntry>& BundleOf(TExtObjQz* plugIn, Bundles* read)
{
    const auto [at, fresh] = read->try_emplace(plugIn);
    if (!fresh) return at->second;
    CurrentResFile current(plugIn->GetPlugInFile());
    if (!current.Ok() || !ReadBundleTable(platform::Get1Resource(plugIn->GetBundleType(), plugIn->id), &at->second))
        at->second.clear();
    return at->second;
}

// A list left to its bundle's copy, which its own move would have copied
// (no record, or a copy under its id or a new one), is recorded as the
// list that copy made: the one of the copied bundle's entry at the place
// of the list's entry in the source's bundle. What names the list by
// number then names that one.
int16_t RecordBundledList(TObjQz* list, TExtObjQz* plugIn, TMainDoc* dest, C_ListHdl conflicts, Bundles* bundles)
{
    TConflict* record = C_SearchInChain(conflicts, list);
    const TConflict* plugInRecord = C_SearchInChain(conflicts, plugIn);
    auto* copy = plugInRecord ? dynamic_cast<TExtObjQz*>(plugInRecord->fDest) : nullptr;
    if ((record && record->fChoice != kListCopy && record->fChoice != kListCopyNewId) || !copy) return 0;
    const std::vector<BundleEntry>& from = BundleOf(plugIn, bundles);
    const std::vector<BundleEntry>& to = BundleOf(copy, bundles);
    size_t at = 0;
    while (at < from.size() && !(from[at].type == kStrList && from[at].id == list->id)) ++at;
    if (at >= from.size() || at >= to.size()) return 0;
    // The copy's bundle makes its lists, as reading the destination would.
    if (const int16_t err = copy->Parse()) return err;
    TObjQz* made = SearchObj_Id(dest, 11, to[at].id);
    if (!made) return 0;
    if (!record) return RecordC_Ref(list, made, conflicts);
    record->fDest = made;
    return 0;
}

// String lists go first: they keep their ids, which the conflicts found
// free, while a plug-in's bundle elements take the first free ids from
// 15000 as they are copied and would otherwise take such an id first.
int16_t MoveAll(ObjListHdl list, TMainDoc* dest, C_ListHdl conflicts, bool install)
{
    int16_t err = 0;
    const std::unordered_map<const TObjQz*, TExtObjQz*> bundled =
        install ? std::unordered_map<const TObjQz*, TExtObjQz*>{} : ListsComingWithBundles(list, conflicts);
    for (const bool lists : {true, false})
        for (int32_t i = 0; list && i < list->Size() && err == 0; ++i) {
            TObjQz* obj = list->At(i);
            if ((obj->kind == 11) != lists) continue;
            if (install && (obj->kind == 7 || obj->kind == 8)) continue;
            if (lists && bundled.count(obj)) continue;
            TObjQz* made = nullptr;
            err = Reserve(obj->Move(dest, conflicts, &made));
            if (made && err == 0) {
                made->moduleState = obj->moduleState;
                made->SetFlag(12, false);
            }
            if (err != 0) {
                // A Stop in the wait dialog needs no message.
                if (err != kCancelledByUser) ErrMsg(err);
            } else if (G_NetWorkErr != 0) {
                err = G_NetWorkErr;
            }
        }
    // The bundled lists, now that their bundles are copied.
    Bundles bundles;
    for (int32_t i = 0; list && i < list->Size() && err == 0; ++i)
        if (const auto it = bundled.find(list->At(i)); it != bundled.end()) {
            err = Reserve(RecordBundledList(list->At(i), it->second, dest, conflicts, &bundles));
            if (err != 0) ErrMsg(err);
        }
    return err;
}

int16_t LinkAll(ObjListHdl list, TMainDoc* dest, C_ListHdl conflicts)
{
    int16_t err = 0;
    for (int32_t i = 0; list && i < list->Size() && err == 0; ++i) {
        TObjQz* obj = list->At(i);
        if (G_WaitParam) ++G_WaitParam->current;
        TConflict* record = C_SearchInChain(conflicts, obj);
        if (!record || !record->fDest) continue;
        if (record->fChoice == kUseDest) {
            unsigned char line[256], full[256];
            MyGetIndString(line, 1011, 9);
            PAppendChar(line, ' ');
            record->fDest->GetFullName(full);
            PAppend(line, full);
            if (G_WaitParam) WaitMess(G_WaitParam, line);
        } else {
            NoteListsReadThere(obj, dest, conflicts);
            err = record->fDest->Parse_Link(obj, conflicts);
        }
        err = Reserve(err);
    }
    if (err != 0 && err != kCancelledByUser) ErrMsg(err);
    return err;
}

void DeleteReplaced(TModuleObjQz* module)
{
    if (!G_DeleteList) return;
    for (int32_t i = 0; i < G_DeleteList->Size(); ++i) {
        TObjQz* obj = G_DeleteList->At(i);
        if (!module || !InModule(module, obj, 0) || obj->Used()) continue;
        obj->ListRemove();
        obj->DeleteObj(true);
    }
}

}  // namespace

void SortByFileNum(ObjListHdl list) { (void)list; }

int16_t caution() { return 0; }

void SetModuleConflictsHook(ModuleConflictsHook hook) { gModuleConflicts = hook; }

void SetInstallFinishHook(InstallFinishHook hook, void* context)
{
    gInstallFinish = hook;
    gInstallFinishContext = context;
}

int16_t DoMove(TMainDoc* source, TMainDoc* dest, ObjListHdl* list, bool component, bool install,
               TModuleObjQz* module)
{
    // 1. The cushion, the conflict list and the bracket on the destination.
    platform::Handle cushion = platform::NewHandle(kCushionSize);
    C_ListHdl conflicts = nullptr;
    if (NewC_List(&conflicts, kC_ListRoom) != 0 || !list || !*list) {
        if (cushion) platform::DisposeHandle(cushion);
        DisposeC_List(conflicts);
        return kCancelledByUser;
    }
    TransferSession session;
    ForgetNotBrought();
    int16_t err = session.Begin(dest);
    bool settled = false;
    if (err != 0) {
        // The destination could not be committed as it stood: nothing moves.
        ErrMsg(err);
        if (cushion) platform::DisposeHandle(cushion);
        DisposeC_List(conflicts);
        return err;
    }

    // 2-4. Direct and indirect conflicts, and the copies the defaults pull in.
    for (int32_t i = 0; err == 0 && i < (*list)->Size(); ++i) {
        err = Reserve((*list)->At(i)->Dir_Conflicts(dest, conflicts, *list));
        if (err == platform::memFullErr) ErrMsg(err);
    }
    for (int32_t i = 0; err == 0 && i < (*list)->Size(); ++i) {
        err = Reserve((*list)->At(i)->DoInDir_Conflicts(dest, conflicts, *list));
        if (err == platform::memFullErr) ErrMsg(err);
    }
    if (err == 0) {
        err = Reserve(MakeDfltCopy(dest, list, conflicts));
        if (err == platform::memFullErr) ErrMsg(err);
    }
    // 5-6.
    if (err == 0) err = CheckLocked(conflicts, install);
    CursRmve();

    // 8-9. Settling.
    if (err == 0) {
        settled = install ? (!gModuleConflicts || gModuleConflicts(list, conflicts, source, dest, module))
                          : SolveConflicts(list, conflicts, source, dest);
        if (settled) {
            err = Reserve(0);
            if (err) ErrMsg(err);
        }
        if (settled && err == 0 && ReplacesWhatAnEditorShows(conflicts)) err = kCancelledByUser;
    }

    if (err == 0 && settled) {
        // 10. The wait dialog of a long list.
        SortByFileNum(*list);
        WaitParamRec wait;
        WaitParamRec* outer = G_WaitParam;
        const int32_t entries = (*list)->count;
        const bool waiting = entries > kWaitFromEntries;
        if (waiting) {
            unsigned char title[256];
            WaitTitle(source, dest, component, title);
            SetWaitDialog(&wait, 5, title, 0, 2 * entries, kTransferWaitDialog, 0);
            if (component && (install || module)) wait.showMessage = 0;
            G_WaitParam = &wait;
        }
        // 11-12. Moves, then links.
        // The transfer's own picture map (null when memory runs out); the
        // component commands' id map stays theirs.
        delete g_PictIDMapMgr;
        g_PictIDMapMgr = new ResIDMapMgr;
        err = MoveAll(*list, dest, conflicts, install);
        if (cushion) {
            platform::DisposeHandle(cushion);
            cushion = nullptr;
        }
        if (err == 0) {
            // The links name commands, which the factory finds by id.
            CommandsById byId(dest->fTypeList);
            err = LinkAll(*list, dest, conflicts);
            // A parse says its own failures.
            if (err == 0 && (err = Reserve(session.ParseUsersAgain())) == platform::memFullErr) ErrMsg(err);
        }
        if (err == 0 && install && gInstallFinish) {
            err = gInstallFinish(gInstallFinishContext);
            if (err != 0 && err != kCancelledByUser) ErrMsg(err);
        }
        if (waiting) {
            ReSetWaitDialog(&wait);
            G_WaitParam = outer;
        }
    }

    // 13. One commit, or nothing at all.
    if (err == 0 && settled) {
        err = session.Commit();
        if (err != 0) ErrMsg(err);
    } else {
        session.RollBack();
    }
    if (err == 0 && settled) DeleteReplaced(module);
    // What the copies name and could not bring, once they have landed and
    // the destination's windows show them: an install says it once its
    // document is read again.
    if (err == 0 && settled && !install && !component) dest->UpdateAll();
    if (err == 0 && settled && !install) ReportNotBrought();
    if (err != 0 || !settled || !install) ForgetNotBrought();
    delete g_PictIDMapMgr;
    g_PictIDMapMgr = nullptr;
    DisposeC_List(conflicts);
    if (G_Filters) {
        platform::DisposeHandle(G_Filters);
        G_Filters = nullptr;
    }
    if (cushion) platform::DisposeHandle(cushion);
    // 14.
    return settled ? err : kCancelledByUser;
}

}  // namespace transfer

// Objects leaving their document for good: project methods with their
// directory record, tables (kept as deleted tables), groups, components
// and folders with their member lists and records.
#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/choicelists/OneCommit.h"
#include "design/links/ParseSupport.h"
#include "design/objects/Groups.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "design/rename/ProjectMethods.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"

using platform::FourCC;

namespace {

// Removes (type, id) from the document's companion file, where older
// documents kept group lists and properties; true when one was there.
bool RemoveFromCompanion(TMainDoc* doc, uint32_t type, int16_t id)
{
    if (!doc || doc->fRsrFile < 0 || !platform::IsResFileOpen(doc->fRsrFile)) return false;
    const int16_t saved = platform::CurResFile();
    platform::UseResFile(doc->fRsrFile);
    platform::Handle h = platform::Get1Resource(type, id);
    if (h) {
        platform::RemoveResource(h);
        platform::UpdateResFile(doc->fRsrFile);
        platform::DisposeHandle(h);
    }
    platform::UseResFile(saved);
    return h != nullptr;
}

bool InStore(TMainDoc* doc, uint32_t type, int16_t id)
{
    if (!doc || doc->fResFile < 0) return false;
    ParseResFile current(doc);
    return xget1res(type, id) != nullptr;
}

using StoreResources = std::initializer_list<std::pair<uint32_t, int16_t>>;

// The store's resources of a deletion removed in one commit (OneCommit),
// with `rewrite` (when given) changing the kept `rewritten` resources in
// the same commit: 0, or the error of a step or of the commit, the store
// then holding every one of them as before. Inside a change that holds
// the store the commit is its.
int16_t RemoveFromStore(TMainDoc* doc, StoreResources resources, StoreResources rewritten = {},
                        int16_t (*rewrite)(int16_t) = nullptr, int16_t rewriteArg = 0)
{
    if (!doc || doc->fResFile < 0) return 0;
    ParseResFile current(doc);
    OneCommit change(doc->fResFile);
    for (StoreResources list : {resources, rewritten})
        for (const auto& [type, id] : list)
            if (!change.Keep(type, id)) return platform::memFullErr;
    bool changed = false;
    for (const auto& [type, id] : resources) changed = rmveresbyid(type, id, true) || changed;
    if (rewrite) {
        if (const int16_t err = rewrite(rewriteArg)) return err;
        changed = true;
    }
    if (changed && !updateres(doc->fResFile)) return reserr ? reserr : platform::ioErr;
    return change.Commit();
}

// The picture's entry out of the directory 'PIC#' 128 (current file): 0,
// or the error of its write.
int16_t DropPictureEntry(int16_t id)
{
    constexpr int32_t kEntry = 34, kIdAt = 32;
    platform::Handle dir = xget1res(FourCC("PIC#"), 128);
    if (!dir) return 0;
    const int32_t size = int32_t(platform::GetHandleSize(dir));
    auto* p = reinterpret_cast<uint8_t*>(*dir);
    const int32_t count = size >= 2 ? std::min<int32_t>(platform::ReadBES16(p), (size - 2) / kEntry) : 0;
    for (int32_t i = 0; i < count; ++i) {
        uint8_t* e = p + 2 + i * kEntry;
        if (platform::ReadBES16(e + kIdAt) != id) continue;
        std::memmove(e, e + kEntry, size_t((count - 1 - i) * kEntry));
        platform::WriteBE16(p, uint16_t(count - 1));
        platform::SetHandleSize(dir, platform::Size(2 + (count - 1) * kEntry));
        return xwriteres(dir) ? 0 : (reserr ? reserr : platform::ioErr);
    }
    return 0;
}

// A group, component or folder whose store resources are gone leaves its
// own group, the companion file and the document.
void ForgetGroup(TGroupObjQz* group)
{
    if (group->parent) group->DelGroup(false, false);
    RemoveFromCompanion(group->owner, group->GetOwnResType(), group->id);
    if (group->TstFlag(kFlagHasDoc)) group->DelDoc();
    if (group->owner) group->owner->DelObjMsg(group);
    group->ListRemove();
    group->Dispose();
}

}  // namespace

void TGroupObjQz::DeleteObj(bool really)
{
    if (!really) return;
    if (const int16_t err = RemoveFromStore(owner, {{GetOwnResType(), id}})) {
        // Still stored whole: the group stays.
        ErrMsg(err);
        return;
    }
    ForgetGroup(this);
}

void TModuleObjQz::DeleteObj(bool really)
{
    if (!really) return;
    const bool stored = InStore(owner, FourCC("moQz"), id);
    if (const int16_t err = RemoveFromStore(owner, {{FourCC("moQz"), id},
                                                    {FourCC("MODQ"), id},
                                                    {FourCC("MAPQ"), id},
                                                    {GetOwnResType(), id}})) {
        ErrMsg(err);
        return;
    }
    if (!stored) RemoveFromCompanion(owner, FourCC("moQz"), id);
    ForgetGroup(this);
}

namespace {

constexpr int32_t kMethodIdAt = 32;

int gTogetherDepth = 0;
// The records noted inside MethodRecordsLeaveTogether, by document.
std::unordered_map<TMainDoc*, std::unordered_set<int16_t>> gLeaving;

// Takes the records of those ids out of 'TPQz' 0 (the later ones move up)
// in one pass and commits.
void DropMethodRecords(TMainDoc* doc, const std::unordered_set<int16_t>& ids)
{
    ParseResFile current(doc);
    platform::Handle dir = xget1res(FourCC("TPQz"), 0);
    if (!dir) return;
    const int32_t records = int32_t(platform::GetHandleSize(dir)) / kProcRecordSize;
    auto* p = reinterpret_cast<uint8_t*>(*dir);
    // One method leaves at each deletion of a command of its own: its id
    // is compared, not looked up.
    const int16_t only = ids.size() == 1 ? *ids.begin() : 0;
    auto leaves = [&](int32_t i) {
        const int16_t id = platform::ReadBES16(p + i * kProcRecordSize + kMethodIdAt);
        return ids.size() == 1 ? id == only : ids.count(id) != 0;
    };
    // Each stretch of kept records moves up in one piece.
    int32_t kept = 0;
    for (int32_t i = 0; i < records;) {
        int32_t end = i;
        while (end < records && !leaves(end)) ++end;
        if (kept != i && end > i)
            std::memmove(p + kept * kProcRecordSize, p + i * kProcRecordSize, size_t(end - i) * kProcRecordSize);
        kept += end - i;
        i = end + 1;
    }
    if (kept != records) {
        platform::SetHandleSize(dir, platform::Size(kept * kProcRecordSize));
        if (xwriteres(dir)) updateres(doc->fResFile);
    }
    unloadres(FourCC("TPQz"), 0);
}

bool TableNamed(TMainDoc* doc, const TObjQz* except, const unsigned char* name)
{
    ObjListHdl tables = GetObjListe(doc->fTypeList, 1);
    for (int32_t i = 0; tables && i < tables->Size(); ++i) {
        TObjQz* t = tables->At(i);
        if (t != except && t->kind == 1 && ObjNamed(t, name)) return true;
    }
    return false;
}

// The objects of an owned list deleted one by one, the list freed.
void DeleteOwned(ObjListHdl* list)
{
    while (*list && (*list)->Size() > 0) {
        TObjQz* obj = (*list)->At(0);
        DelObjList(*list, obj);
        obj->DeleteObj(true);
    }
    FreeObjList(*list);
    *list = nullptr;
}

}  // namespace

void RemoveMethodRecord(TMainDoc* doc, int16_t id)
{
    if (gTogetherDepth > 0) {
        try {
            gLeaving[doc].insert(id);
            return;
        } catch (const std::bad_alloc&) {
        }
    }
    DropMethodRecords(doc, {id});
}

MethodRecordsLeaveTogether::MethodRecordsLeaveTogether() { ++gTogetherDepth; }

MethodRecordsLeaveTogether::~MethodRecordsLeaveTogether()
{
    if (--gTogetherDepth > 0) return;
    std::unordered_map<TMainDoc*, std::unordered_set<int16_t>> leaving;
    leaving.swap(gLeaving);
    for (const auto& [doc, ids] : leaving) DropMethodRecords(doc, ids);
}

void TProcObjQz::DeleteObj(bool really)
{
    if (!really) return;
    if (owner) RemoveMethodRecord(owner, id);
    TGnlProcObjQz::DeleteObj(really);
}

void TFileObjQz::DeleteObj(bool really)
{
    if (!really) return;
    // A table never leaves its document: its number stays taken.
    if (parent) DelGroup(false, false);
    MakeDeletedTable();
}

void TFileObjQz::MakeDeletedTable()
{
    if (!owner) return;
    unsigned char base[256], name[256];
    MyGetIndString(base, 1029, 14);
    std::memcpy(name, base, size_t(base[0]) + 1);
    for (int32_t n = 1; TableNamed(owner, this, name); ++n) {
        std::memcpy(name, base, size_t(base[0]) + 1);
        PAppend(name, std::to_string(n));
    }
    ObjListHdl users = nullptr;
    if (NewObjList(&users, 10) == 0)
        for (int32_t i = 0; usedBy && i < usedBy->Size(); ++i) AddObjList(&users, usedBy->At(i));
    TObjQz* renamed = nullptr;
    DoReplace(name, true, users, &renamed, false);
    {
        ParseResFile current(owner);
        platform::Handle record = xget1res(GetOwnResType(), id);
        if (record && xiscryptedres(record) && huncrypteres(record) && xwriteres(record))
            updateresNoMap(owner->fResFile);
    }
    DeleteOwned(&forms);
    DeleteOwned(&balloons);
    if (TObjQz* own = method) {
        method = nullptr;
        own->DeleteObj(true);
    }
}

void TMBarObjQz::DeleteObj(bool really)
{
    if (!really) return;
    if (owner && libaSlot > 0) {
        ParseResFile current(owner);
        platform::Handle dir = xget1res(FourCC("LIBA"), 0);
        const int32_t at = 2 * int32_t(libaSlot);
        if (dir && platform::GetHandleSize(dir) >= at + 2) {
            platform::WriteBE16(reinterpret_cast<uint8_t*>(*dir) + at, uint16_t(-1));
            if (xwriteres(dir)) updateresNoMap(owner->fResFile);
        }
    }
    DeleteResData();
    TObjQz::DeleteObj(really);
}

void TMenuObjQz::DeleteObj(bool really)
{
    if (!really) return;
    DeleteResData();
    TObjQz::DeleteObj(really);
}

void TPictObjQz::DeleteObj(bool really)
{
    if (!really) return;
    // The picture, its wizard record and its directory entry go in one
    // commit; still stored whole on a failure, the picture stays.
    if (const int16_t err = RemoveFromStore(owner, {{FourCC("PICT"), id}, {FourCC("PIWZ"), id}},
                                            {{FourCC("PIC#"), 128}}, DropPictureEntry, id)) {
        ErrMsg(err);
        return;
    }
    TObjQz::DeleteObj(really);
}

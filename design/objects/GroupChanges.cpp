#include "design/objects/GroupChanges.h"

#include <new>

#include "app/dialogs/WaitDialog.h"
#include "app/documents/MainDoc.h"
#include "design/links/XRef.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/rename/RenameCommit.h"
#include "platform/core/Errors.h"
#include "resources/ResourceApi.h"

namespace {

constexpr int16_t kGroupKind = 23;
constexpr int16_t kFolderType = 33;

// Where an object stood in a group, to be put back there.
struct Place {
    TObjQz* obj = nullptr;
    TGroupObjQz* group = nullptr;
    int32_t index = 0;
};

int32_t IndexIn(ObjListHdl list, TObjQz* obj)
{
    for (int32_t i = 0; list && i < list->Size(); ++i)
        if (list->At(i) == obj) return i;
    return -1;
}

// Puts an object back where it stood (its group's list kept its slot
// free: nothing grows).
void Rejoin(const Place& p)
{
    if (!p.group) return;
    if (p.obj->parent && p.obj->parent != p.group) p.obj->DelGroup(false, false);
    if (!IsInList(p.group->members, p.obj)) AddSortedObjList(&p.group->members, p.obj, p.index);
    p.obj->parent = p.group;
    p.obj->SetFlag(kFlagGrouped, true);
    p.obj->SetFlag(kFlagGrouped2, true);
    p.obj->level = uint8_t(p.group->level + 1);
    p.obj->MajRefLevel();
    GroupMembersChanged(p.group);
}

bool Counted()
{
    if (!G_WaitParam) return false;
    ++G_WaitParam->current;
    return ChkWait(G_WaitParam);
}

}  // namespace

bool SelfGrouping(TObjQz* dragged, TObjQz* target)
{
    for (TObjQz* g = target; g; g = g->parent) {
        if (g == dragged) return true;
        if (g->GetRType() != kFolderType) continue;
        const int16_t kind = dragged->kind;
        if (dragged->GetRType() == 16 || kind == kGroupKind || kind == 32 || kind == 33 || kind == 7 || kind == 8)
            return true;
    }
    return false;
}

int16_t NewGroupOf(TMainDoc* doc, const unsigned char* name, TGroupObjQz** out)
{
    *out = nullptr;
    if (!doc) return platform::paramErr;
    StoreChange change;
    if (const int16_t err = change.Begin(doc->fResFile)) return err;
    auto* group = dynamic_cast<TGroupObjQz*>(NewObj_Id(doc, kGroupKind, name, -1, true));
    if (!group) return platform::memFullErr;
    int16_t err = group->members ? 0 : NewObjList(&group->members, 10);
    if (!err) err = group->Write();
    if (!err) err = change.Commit();
    if (err) {
        group->ListRemove();
        group->Dispose();
        return err;
    }
    *out = group;
    return 0;
}

namespace {

// Every object moved into `group` back where it was.
void UndoAdd(TGroupObjQz* group, const std::vector<Place>& moved)
{
    for (auto p = moved.rbegin(); p != moved.rend(); ++p) {
        if (p->obj->parent == group) p->obj->DelGroup(false, false);
        Rejoin(*p);
    }
}

// AddToGroup inside a change the caller holds; `moved` says where each
// object that joined stood before, to be put back should the change fail.
int16_t AddInChange(TGroupObjQz* group, const std::vector<TObjQz*>& objects, bool takeFromGroups,
                    std::vector<Place>* moved)
{
    int16_t err = 0;
    try {
        moved->reserve(objects.size());
        for (TObjQz* obj : objects) {
            if (!obj || obj == group || !obj->Dragable() || IsInList(group->members, obj)) continue;
            if (!takeFromGroups && obj->TstFlag(kFlagGrouped)) continue;
            moved->push_back(Place{obj, obj->parent, obj->parent ? IndexIn(obj->parent->members, obj) : 0});
            err = obj->AddGroup(group, true);
            // A method's local variables are members beside it, as the
            // document's reader puts them.
            auto* method = dynamic_cast<TGnlProcObjQz*>(obj);
            for (int32_t i = 0; !err && method && method->locals && i < method->locals->Size(); ++i) {
                TObjQz* local = method->locals->At(i);
                moved->push_back(Place{local, local->parent, local->parent ? IndexIn(local->parent->members, local) : 0});
                err = local->AddGroup(group, true);
            }
            if (!err && Counted()) err = kCancelledByUser;
            if (err) break;
        }
        // The group's summaries have followed each member that joined.
        if (!err) {
            ShellSortFullName(group->members);
            err = group->LocalsBesideMethods();
        }
        if (!err) err = group->Write();
    } catch (const std::bad_alloc&) {
        err = platform::memFullErr;
    }
    return err;
}

}  // namespace

int16_t AddToGroup(TGroupObjQz* group, const std::vector<TObjQz*>& objects, bool takeFromGroups, int32_t* added)
{
    if (added) *added = 0;
    if (!group || !group->owner) return platform::paramErr;
    LinkChanges together;
    StoreChange change;
    if (const int16_t err = change.Begin(group->owner->fResFile)) return err;
    std::vector<Place> moved;
    int16_t err = AddInChange(group, objects, takeFromGroups, &moved);
    if (!err) err = change.Commit();
    if (err) {
        // Every object back where it was; the store drops what was written.
        UndoAdd(group, moved);
        return err;
    }
    if (added) *added = int32_t(moved.size());
    return 0;
}

int16_t MakeGroupOf(TMainDoc* doc, const unsigned char* name, const std::vector<TObjQz*>& objects,
                    bool takeFromGroups, TGroupObjQz** out)
{
    *out = nullptr;
    if (!doc) return platform::paramErr;
    LinkChanges together;
    StoreChange change;
    if (const int16_t err = change.Begin(doc->fResFile)) return err;
    TGroupObjQz* group = nullptr;
    std::vector<Place> moved;
    int16_t err = NewGroupOf(doc, name, &group);
    if (!err) err = AddInChange(group, objects, takeFromGroups, &moved);
    if (!err) err = change.Commit();
    if (err) {
        // A commit failing after the objects joined: they go back first.
        if (group) {
            UndoAdd(group, moved);
            group->ListRemove();
            group->Dispose();
        }
        return err;
    }
    *out = group;
    return 0;
}

int16_t Ungroup(TGroupObjQz* group)
{
    if (!group || !group->owner) return platform::paramErr;
    LinkChanges together;
    StoreChange change;
    if (const int16_t err = change.Begin(group->owner->fResFile)) return err;
    std::vector<Place> left;
    const Place own{group, group->parent, group->parent ? IndexIn(group->parent->members, group) : 0};
    int16_t err = 0;
    try {
        for (int32_t i = 0; group->members && i < group->members->Size(); ++i)
            left.push_back(Place{group->members->At(i), group, i});
        for (const Place& p : left) {
            err = p.obj->DelGroup(false, true);
            if (!err && Counted()) err = kCancelledByUser;
            if (err) break;
        }
        if (!err && group->parent) err = group->DelGroup(true, false);
        if (!err) {
            useres(group->owner->fResFile);
            if (!rmveresbyid(group->GetOwnResType(), group->id, true) && reserr == platform::memFullErr) err = reserr;
        }
        if (!err && group->TstFlag(kFlagHasDoc)) err = group->DelDoc();
    } catch (const std::bad_alloc&) {
        err = platform::memFullErr;
    }
    if (!err) err = change.Commit();
    if (err) {
        Rejoin(own);
        for (const Place& p : left) Rejoin(p);
        return err;
    }
    group->DeleteObj(true);
    return 0;
}

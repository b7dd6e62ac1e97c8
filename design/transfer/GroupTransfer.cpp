// Groups, components and component folders copied into another document:
// the group comes empty (MoveGroup) or merges with the destination's of
// its name; its members join it when the links are made.
#include <cstring>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "app/dialogs/WaitDialog.h"
#include "design/links/ParseSupport.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/TransferHooks.h"
#include "design/transfer/ObjMove.h"
#include "platform/core/Errors.h"

namespace {

constexpr int16_t kRename = 1, kMerge = 5, kLink = 8;

// Groups, components and folders share one list: the one of this kind.
TObjQz* NamedOfKind(TMainDoc* doc, int16_t kind, const unsigned char* name)
{
    ObjListHdl list = doc ? GetObjListe(doc->fTypeList, kind) : nullptr;
    for (int32_t i = 0; list && i < list->Size(); ++i)
        if (list->At(i)->kind == kind && ObjNamed(list->At(i), name)) return list->At(i);
    return nullptr;
}

// Steps 1 to 3 of a group's copy; *newObj is the copy (null for a merge).
int16_t MoveGroupByChoice(TGroupObjQz* group, TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj)
{
    *newObj = nullptr;
    if (G_ModuleUpdate == 4 && group->TstFlag(kFlagInComponent)) return 0;
    if (const int16_t stop = caution()) return stop;
    if (const int16_t cancelled = group->TObjQz::Move(doc, conflicts, newObj)) return cancelled;
    TConflict* record = C_SearchInChain(conflicts, group);
    ConflictView view;
    if (!GetConflictView(record, &view)) {
        int16_t err = MoveGroup(group->owner, doc, group, newObj, nullptr);
        if (err == 0 && *newObj) err = RecordC_Ref(group, *newObj, conflicts);
        return err;
    }
    if (view.choice != kRename) return 0;
    unsigned char name[256];
    FreeObjName(doc, group->kind, view.newName[0] ? view.newName : group->name, name);
    const int16_t err = MoveGroup(group->owner, doc, group, newObj, name);
    if (*newObj) SetConflictDest(record, *newObj);
    return err;
}

bool Contains(TObjQz* group, TObjQz* inner)
{
    for (TObjQz* g = inner ? inner->parent : nullptr; g; g = g->parent)
        if (g == group) return true;
    return false;
}

}  // namespace

int16_t TGroupObjQz::Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj)
{
    const int16_t err = MoveGroupByChoice(this, doc, conflicts, newObj);
    return err == 0 && *newObj ? MoveDoc(*newObj) : err;
}

int16_t TModuleObjQz::Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj)
{
    const int16_t err = MoveGroupByChoice(this, doc, conflicts, newObj);
    auto* made = dynamic_cast<TModuleObjQz*>(*newObj);
    if (err != 0 || !made) return err;
    copy = made;
    std::memcpy(made->date, date, sizeof date);
    made->versionNb = versionNb;
    made->prefixSet = prefixSet;
    std::memcpy(made->prefix, prefix, sizeof prefix);
    std::memcpy(made->comments, comments, sizeof comments);
    std::memcpy(made->version, version, sizeof version);
    return MoveDoc(made);
}

int16_t TModuleGroupObjQz::Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj)
{
    const int16_t err = MoveGroupByChoice(this, doc, conflicts, newObj);
    if (err != 0 || !*newObj) return err;
    copy = dynamic_cast<TModuleGroupObjQz*>(*newObj);
    return MoveDoc(*newObj);
}

int16_t TGroupObjQz::Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    (void)list;
    return NamesakeConflict(this, NamedOfKind(doc, kind, name), 5, conflicts);
}

int16_t TModuleObjQz::Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    (void)list;
    TObjQz* namesake = NamedOfKind(doc, 32, name);
    if (!namesake) return 0;
    TConflict* out = nullptr;
    return RecordConflict(this, namesake, namesake->IsModule() ? 21 : 5, Cc_Dflt(5), conflicts, &out);
}

int16_t TModuleGroupObjQz::Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    (void)list;
    auto* component = dynamic_cast<TModuleObjQz*>(parent);
    auto* there = component ? dynamic_cast<TModuleObjQz*>(NamedOfKind(doc, 32, component->name)) : nullptr;
    if (!there) return 0;
    TGroupObjQz* folder = IsPublic() ? there->publicFolder : IsProtected() ? there->protectedFolder
                        : IsPrivate() ? there->privateFolder : nullptr;
    if (!folder) return 0;
    TConflict* out = nullptr;
    return RecordConflict(this, folder, 5, kMerge, conflicts, &out);
}

int16_t TGroupObjQz::Parse_Link(TObjQz* src, C_ListRec* conflicts)
{
    ParseResFile current(owner);
    if (ParseCancelled()) return kCancelledByUser;
    ShowProgress(7);
    auto* from = dynamic_cast<TGroupObjQz*>(src);
    if (!from) return 0;
    if (!members)
        if (const int16_t err = NewObjList(&members, 10)) return err;
    int16_t err = 0;
    for (int32_t i = 0; from->members && i < from->members->Size() && err == 0; ++i) {
        TObjQz* member = from->members->At(i);
        TObjQz* there = nullptr;
        GetDestObj(conflicts, src->owner, owner, member, &there);
        if (!there || there == this || Contains(there, this) || IsInList(members, there)) continue;
        if (member->TstFlag(kFlagInComponent) && member->kind == 1) {
            ConflictView view;
            if (GetConflictView(C_SearchInChain(conflicts, member), &view) && view.choice == kLink) continue;
        }
        NoteGroupJoin(this, there);
        err = there->AddGroup(this, false);
    }
    // A method's locals are members beside it, as a read of the document
    // puts them (a member list never names them).
    for (int32_t i = 0; err == 0 && i < members->Size(); ++i)
        if (auto* method = dynamic_cast<TGnlProcObjQz*>(members->At(i)))
            for (int32_t l = 0; err == 0 && method->locals && l < method->locals->Size(); ++l) {
                TObjQz* local = method->locals->At(l);
                NoteGroupJoin(this, local);
                err = local->AddGroup(this, false);
            }
    if (err == 0) err = LocalsBesideMethods();
    if (err != 0) return err;
    // A component's copy knows its folders by the source's.
    if (auto* component = dynamic_cast<TModuleObjQz*>(this)) {
        auto* source = static_cast<TModuleObjQz*>(from);
        auto counterpart = [&](TGroupObjQz* folder) {
            TObjQz* found = nullptr;
            if (folder) GetDestObj(conflicts, src->owner, owner, folder, &found);
            return dynamic_cast<TModuleGroupObjQz*>(found);
        };
        if (auto* f = counterpart(source->publicFolder)) component->SetPublic(f);
        if (auto* f = counterpart(source->protectedFolder)) component->SetProtected(f);
        if (auto* f = counterpart(source->privateFolder)) component->SetPrivate(f);
    }
    MajRefLevel();
    return Write();
}

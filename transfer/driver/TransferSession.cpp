#include "transfer/driver/TransferSession.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/links/ParseAgain.h"
#include "design/links/XRef.h"
#include "design/objects/Groups.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/reading/ReadQzB.h"
#include "design/transfer/TableMembers.h"
#include "platform/core/Errors.h"
#include "resources/ResTypes.h"

namespace transfer {

namespace {

TransferSession* gCurrent = nullptr;

// The flags a copy of an object's documentation sets.
constexpr int16_t kDocFlags = (1 << kFlagHasDoc) | (1 << kFlagBlockOverride) | (1 << kFlagBlocked);

constexpr int16_t kListCount = 23;

template <class Visit>
void EachListed(TMainDoc* doc, Visit visit)
{
    if (!doc || !doc->fTypeList) return;
    for (int16_t k = 0; k < kListCount; ++k)
        if (ObjListHdl list = doc->fTypeList->lists[k])
            for (int32_t i = 0; i < list->Size(); ++i) visit(list->At(i));
}

// An object a mover takes out: nothing may point at it any more. Its group
// forgets it and keeps its stored members without it; the object keeps
// its group, where a roll-back puts it back.
void Detach(TObjQz* obj)
{
    if (obj->owner) obj->owner->DelObjMsg(obj);
    UnlinkWithOwned(obj);
    if (TGroupObjQz* group = obj->parent) {
        DelObjList(group->members, obj);
        GroupMembersChanged(group);
        group->Write();
    }
    obj->ListRemove();
}

// The list that holds `obj` in its document: a method's locals hold its
// local variables, the variables' list holds list boxes too. Null for an
// object no such list holds (a form, a method of a table or form).
ObjListHdl* HoldingList(TObjQz* obj)
{
    if (auto* var = dynamic_cast<TVarObjQz*>(obj); var && var->method)
        return &static_cast<TGnlProcObjQz*>(var->method)->locals;
    const int16_t k = ListKindOf(obj->kind == 21 ? 9 : obj->kind);
    if (!obj->owner || !obj->owner->fTypeList || k == 0) return nullptr;
    return &obj->owner->fTypeList->lists[k - 1];
}

// `obj` in its place by name in the list that holds it.
void PutInPlace(TObjQz* obj)
{
    ObjListHdl* list = HoldingList(obj);
    if (!list || (!*list && NewObjList(list, 10) != 0)) return;
    int32_t pos = 1;
    SearchInd_Obj(*list, obj->name, &pos);
    AddSortedObjList(list, obj, pos - 1);
}

// Back in name order after its name changed (the table list keeps its own).
void Resort(TObjQz* obj)
{
    ObjListHdl* list = HoldingList(obj);
    if (!list || !IsInList(*list, obj) || ListKindOf(obj->kind) == 1) return;
    DelObjList(*list, obj);
    PutInPlace(obj);
}

void PutBackInList(TObjQz* obj)
{
    PutInPlace(obj);
    if (TGroupObjQz* group = obj->parent) {
        AddObjList(&group->members, obj);
        GroupMembersChanged(group);
    }
}

std::vector<TObjQz*> Listed(ObjListHdl list)
{
    std::vector<TObjQz*> out;
    for (int32_t i = 0; list && i < list->Size(); ++i) out.push_back(list->At(i));
    return out;
}

// A list back to the entries it had (made when it had none).
void SetEntries(ObjListHdl* list, const std::vector<TObjQz*>& entries)
{
    if (!*list && entries.empty()) return;
    if (!*list && NewObjList(list, 10) != 0) return;
    SetObjListEntries(*list, entries.data(), int32_t(entries.size()));
}

}  // namespace

void UnlinkWithOwned(TObjQz* obj)
{
    if (!obj) return;
    obj->Unlink();
    EachOwned(obj, UnlinkWithOwned);
}

TransferSession* CurrentTransferSession() { return gCurrent; }

TransferSession::~TransferSession()
{
    if (fOpen) RollBack();
}

int16_t TransferSession::Begin(TMainDoc* dest)
{
    fDest = dest;
    try {
        fBefore.clear();
        fOrder.clear();
        EachListed(dest, [&](TObjQz* obj) { fBefore.insert(obj); });
        if (dest->fTypeList)
            for (ObjListHdl list : dest->fTypeList->lists) fOrder.push_back(Listed(list));
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
    if (const int16_t err = fStore.Begin(dest->fResFile)) return err;
    fCompilerDirty = dest->fCompilerDirty;
    fCompanion.Open(dest->fRsrFile, dest->fRemote ? platform::FSSpec{} : dest->fSpec);
    fLinks.emplace();
    fOpen = true;
    gCurrent = this;
    SetCurrentCompanionJournal(&fCompanion);
    return 0;
}

void TransferSession::NoteReplaced(TObjQz* obj)
{
    if (!fOpen || !obj || fReplacedObjs.count(obj)) return;
    Replaced r{obj, {}, {}, obj->id, int16_t(obj->flags & kDocFlags), obj->resTime, obj->resSize, {}, 0, {}};
    std::memcpy(r.name, obj->name, sizeof r.name);
    if (auto* style = dynamic_cast<TStyleObjQz*>(obj)) std::memcpy(r.description, style->description, sizeof r.description);
    if (auto* field = dynamic_cast<TCritObjQz*>(obj)) {
        r.words[0] = field->typeWord, r.words[1] = field->length, r.words[2] = field->third;
        r.fieldNumber = field->fieldNumber;
    } else if (auto* sub = dynamic_cast<TFileObjQz*>(obj)) {
        r.fieldNumber = sub->fieldNumber;
    } else if (auto* form = dynamic_cast<TLayoutObjQz*>(obj)) {
        r.words[0] = form->formMethodId, r.words[1] = form->mbarNumber, r.words[2] = form->formResId;
    }
    try {
        for (int32_t i = 0; obj->uses && i < obj->uses->Size(); ++i) r.uses.push_back(obj->uses->At(i));
        Noted(obj);
        for (TObjQz* used : r.uses) Noted(used);
        fReplacedObjs.insert(obj);
        fReplaced.push_back(std::move(r));
    } catch (const std::bad_alloc&) {
        fReplacedObjs.erase(obj);
    }
}

void TransferSession::Noted(const TObjQz* obj)
{
    if (obj) fNoted.insert(obj);
}

void TransferSession::Forget(const std::vector<TObjQz*>& objs)
{
    // Nothing a roll-back puts back may name them: not the links of another
    // object it restores, not a list or a group it refills. A method's
    // locals go with it, and may have joined a group.
    std::unordered_set<TObjQz*> gone;
    bool noted = false;
    try {
        for (TObjQz* obj : objs) {
            gone.insert(obj);
            if (auto* method = dynamic_cast<TGnlProcObjQz*>(obj))
                for (int32_t i = 0; method->locals && i < method->locals->Size(); ++i) gone.insert(method->locals->At(i));
        }
    } catch (const std::bad_alloc&) {
    }
    for (TObjQz* obj : gone) {
        fBefore.erase(obj);
        fReplacedObjs.erase(obj);
        if (fNoted.erase(obj) != 0) noted = true;
    }
    try {
        fForgotten.insert(gone.begin(), gone.end());
    } catch (const std::bad_alloc&) {
        // Only the order put back could then place another object there.
    }
    if (!noted) return;
    auto named = [&](TObjQz* obj) { return gone.count(obj) != 0; };
    auto drop = [&](std::vector<TObjQz*>& list) { list.erase(std::remove_if(list.begin(), list.end(), named), list.end()); };
    fReplaced.erase(std::remove_if(fReplaced.begin(), fReplaced.end(), [&](const Replaced& r) { return named(r.obj); }),
                    fReplaced.end());
    for (Replaced& r : fReplaced) drop(r.uses);
    fTables.erase(std::remove_if(fTables.begin(), fTables.end(), [&](const TableState& t) { return named(t.owner); }),
                  fTables.end());
    for (TableState& t : fTables) {
        drop(t.block);
        drop(t.members);
        drop(t.forms);
        drop(t.balloons);
        if (named(t.method)) t.method = nullptr;
    }
    fJoins.erase(std::remove_if(fJoins.begin(), fJoins.end(), [&](const Join& j) { return named(j.member); }),
                 fJoins.end());
    for (Join& j : fJoins)
        if (named(j.parent)) j.parent = nullptr;
    drop(fRetired);
    drop(fDropped);
}

void TransferSession::Retire(TObjQz* obj)
{
    Detach(obj);
    try {
        Noted(obj);
        fRetired.push_back(obj);
    } catch (const std::bad_alloc&) {
        // Kept nowhere: it leaves now, whatever becomes of the transfer.
        obj->Dispose();
    }
}

void TransferSession::NoteTable(TObjQz* owner)
{
    if (!fOpen || !owner || !fBefore.count(owner)) return;
    for (const TableState& t : fTables)
        if (t.owner == owner) return;
    auto* table = dynamic_cast<TFileObjQz*>(owner);
    // Each state noted with every object it names (a subtable's members
    // too), so that one freed meanwhile is forgotten there.
    auto note = [&](TObjQz* obj, std::vector<TObjQz*> block) {
        auto* t = dynamic_cast<TFileObjQz*>(obj);
        const TableState& noted = fTables.emplace_back(
            TableState{obj, std::move(block), Listed(obj->members), t ? Listed(t->forms) : std::vector<TObjQz*>{},
                       t ? Listed(t->balloons) : std::vector<TObjQz*>{}, t ? t->method : nullptr,
                       t ? t->methodId : int16_t(0)});
        Noted(noted.owner);
        Noted(noted.method);
        for (const auto* list : {&noted.block, &noted.members, &noted.forms, &noted.balloons})
            for (TObjQz* named : *list) Noted(named);
        // What its method's code named leaves with that code.
        if (t) NoteReplaced(t->method);
    };
    try {
        std::vector<TObjQz*> block = table && table->kind == 1 ? tables::BlockOf(table) : std::vector<TObjQz*>{};
        note(owner, block);
        NoteReplaced(owner);
        for (TObjQz* member : Listed(owner->members)) NoteReplaced(member);
        for (TObjQz* entry : block) {
            NoteReplaced(entry);
            if (entry->kind == 29) note(entry, {});
        }
    } catch (const std::bad_alloc&) {
    }
}

// Whether `obj` was in the destination before the moves: listed then, or
// held by what was (a method's locals, a form's methods).
bool TransferSession::Existed(TObjQz* obj) const
{
    for (int depth = 0; obj && depth < 64; ++depth) {
        if (fBefore.count(obj)) return true;
        auto* var = dynamic_cast<TVarObjQz*>(obj);
        obj = var ? var->method : obj->GetOwnerObj();
    }
    return false;
}

void TransferSession::NoteJoin(TObjQz* group, TObjQz* member)
{
    (void)group;
    if (!fOpen || !member || !Existed(member)) return;
    for (const Join& j : fJoins)
        if (j.member == member) return;
    try {
        Noted(member);
        Noted(member->parent);
        fJoins.push_back({member, member->parent, member->level, member->flags});
    } catch (const std::bad_alloc&) {
    }
}

void TransferSession::Dropped(TObjQz* obj)
{
    try {
        Noted(obj);
        fDropped.push_back(obj);
    } catch (const std::bad_alloc&) {
        UnlinkWithOwned(obj);
        obj->Dispose();
    }
}

void TransferSession::RestoreTable(const TableState& state, std::vector<TObjQz*>* gone)
{
    TObjQz* owner = state.owner;
    auto* table = dynamic_cast<TFileObjQz*>(owner);
    if (table && table->kind == 1) tables::SetBlock(table, state.block);
    // Members a mover took out of their kind's list go back (a table's
    // come back with its block).
    if (!table)
        for (TObjQz* member : state.members)
            if (ObjListHdl* list = HoldingList(member); list && !IsInList(*list, member)) PutInPlace(member);
    SetEntries(&owner->members, state.members);
    if (!table) return;
    for (TObjQz* form : Listed(table->forms))
        if (std::find(state.forms.begin(), state.forms.end(), form) == state.forms.end()) gone->push_back(form);
    SetEntries(&table->forms, state.forms);
    for (TObjQz* balloon : Listed(table->balloons))
        if (std::find(state.balloons.begin(), state.balloons.end(), balloon) == state.balloons.end())
            gone->push_back(balloon);
    SetEntries(&table->balloons, state.balloons);
    if (table->method != state.method) {
        if (table->method) gone->push_back(table->method);
        table->method = state.method;
    }
    table->methodId = state.methodId;
}

int16_t TransferSession::ParseUsersAgain()
{
    if (!fOpen) return 0;
    std::vector<TObjQz*> readers;
    try {
        // Those about to leave record nothing.
        std::unordered_set<const TObjQz*> seen(fDropped.begin(), fDropped.end());
        seen.insert(fRetired.begin(), fRetired.end());
        auto usersOf = [&](TObjQz* changed) {
            for (int32_t i = 0; changed->usedBy && i < changed->usedBy->Size(); ++i)
                for (TObjQz* reader : LinkReaders(changed->usedBy->At(i)))
                    if (seen.insert(reader).second) readers.push_back(reader);
        };
        for (const Replaced& r : fReplaced) usersOf(r.obj);
        for (TObjQz* obj : fDropped) usersOf(obj);
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
    for (TObjQz* reader : readers) {
        // What a roll-back gives back: nothing is parsed that it could not.
        try {
            for (TObjQz* obj : LinksParsedBy(reader)) {
                NoteReplaced(obj);
                if (!fReplacedObjs.count(obj)) return platform::memFullErr;
            }
        } catch (const std::bad_alloc&) {
            return platform::memFullErr;
        }
        if (const int16_t err = ParseAgain(reader)) return err;
    }
    return 0;
}

int16_t TransferSession::Commit()
{
    if (!fOpen) return 0;
    // The destination lists the companion's resources as a read of it would.
    int16_t err = ListCompanionChanges();
    // The companion first: a store committed before a companion that then
    // fails could not be taken back.
    if (err == 0) err = fCompanion.Commit();
    if (err == 0) err = fStore.Commit();
    if (err != 0) {
        RollBack(err);
        return err;
    }
    fCompanion.Finish();
    // Taken out first: each one freed is forgotten by this session too.
    std::vector<TObjQz*> retired, dropped;
    retired.swap(fRetired);
    dropped.swap(fDropped);
    // They left their groups when they were retired.
    for (TObjQz* obj : retired) obj->parent = nullptr;
    for (TObjQz* obj : retired) obj->Dispose();
    for (TObjQz* obj : dropped) {
        if (obj->owner) obj->owner->DelObjMsg(obj);
        UnlinkWithOwned(obj);
    }
    for (TObjQz* obj : dropped) obj->Dispose();
    // What the replaced objects' code alone named (a command, a variable)
    // leaves with that code, as a read would not make it.
    std::vector<TObjQz*> named;
    try {
        std::unordered_set<const TObjQz*> seen;
        for (const Replaced& r : fReplaced)
            for (TObjQz* used : r.uses)
                if (seen.insert(used).second) named.push_back(used);
    } catch (const std::bad_alloc&) {
        named.clear();
    }
    End();
    for (TObjQz* obj : named) DropIfUnnamed(obj);
    return 0;
}

int16_t TransferSession::ListCompanionChanges()
{
    std::vector<TObjQz*> gone;
    int16_t err = platform::memFullErr;
    try {
        err = ListCompanionResources(fDest, fCompanion.Noted(), &gone);
    } catch (const std::bad_alloc&) {
    }
    for (TObjQz* obj : gone) Retire(obj);
    return err;
}

// Objects that leave memory with all they own. First nothing may point at
// any of them any more: the windows, the links (a table frees its method
// and balloons, which its fields may still name), the document's lists
// (whatever list holds them: list boxes live with the variables). Then
// they go, in any order: a group and its members let go of each other.
void TransferSession::Free(const std::vector<TObjQz*>& found)
{
    std::unordered_set<const TObjQz*> freed;
    std::vector<TObjQz*> gone;
    for (TObjQz* obj : found)
        if (freed.insert(obj).second) gone.push_back(obj);
    for (TObjQz* obj : gone) {
        if (obj->owner) obj->owner->DelObjMsg(obj);
        UnlinkWithOwned(obj);
    }
    if (fDest && fDest->fTypeList)
        for (ObjListHdl list : fDest->fTypeList->lists) {
            std::vector<TObjQz*> kept;
            for (int32_t i = 0; list && i < list->Size(); ++i)
                if (!freed.count(list->At(i))) kept.push_back(list->At(i));
            if (list && int32_t(kept.size()) != list->Size()) SetEntries(&list, kept);
        }
    for (TObjQz* obj : gone) obj->Dispose();
}

void TransferSession::RollBack(int16_t said)
{
    if (!fOpen) return;
    // The objects the transfer made go (those listed, and the forms and
    // methods it gave the destination's tables), those it retired come back.
    std::vector<TObjQz*> gone;
    EachListed(fDest, [&](TObjQz* obj) {
        if (!fBefore.count(obj)) gone.push_back(obj);
    });
    for (auto it = fTables.rbegin(); it != fTables.rend(); ++it) RestoreTable(*it, &gone);
    for (auto it = fJoins.rbegin(); it != fJoins.rend(); ++it) {
        TObjQz* member = it->member;
        if (TGroupObjQz* joined = member->parent) {
            DelObjList(joined->members, member);
            GroupMembersChanged(joined);
        }
        member->parent = it->parent;
        member->level = it->level;
        member->flags = it->flags;
        if (it->parent && !IsInList(it->parent->members, member)) AddObjList(&it->parent->members, member);
        if (it->parent) GroupMembersChanged(it->parent);
    }
    fJoins.clear();
    fTables.clear();
    fDropped.clear();
    try {
        Free(gone);
    } catch (const std::bad_alloc&) {
    }
    for (TObjQz* obj : fRetired) PutBackInList(obj);
    fRetired.clear();
    // Changes that cannot be taken back leave memory and disk apart: said.
    const bool dropped = fStore.Drop();
    if (const int16_t undone = fCompanion.Abandon(); undone != 0 && undone != said) ErrMsg(undone);
    if (!dropped && said != kResAdrift) ErrMsg(kResAdrift);
    // Nothing changed for the compiler to count.
    fDest->fCompilerDirty = fCompilerDirty;
    for (Replaced& r : fReplaced) {
        const bool renamed = std::memcmp(r.obj->name, r.name, size_t(r.name[0]) + 1) != 0;
        std::memcpy(r.obj->name, r.name, sizeof r.name);
        if (renamed) Resort(r.obj);
        if (auto* style = dynamic_cast<TStyleObjQz*>(r.obj)) std::memcpy(style->description, r.description, sizeof r.description);
        r.obj->flags = int16_t((r.obj->flags & ~kDocFlags) | r.docFlags);
        r.obj->resTime = r.resTime, r.obj->resSize = r.resSize;
        if (r.obj->id != r.id) {
            r.obj->id = r.id;
            NoteObjIdChanged();
        }
        if (auto* field = dynamic_cast<TCritObjQz*>(r.obj)) {
            field->typeWord = r.words[0], field->length = r.words[1], field->third = r.words[2];
            field->fieldNumber = r.fieldNumber;
        } else if (auto* sub = dynamic_cast<TFileObjQz*>(r.obj)) {
            sub->fieldNumber = r.fieldNumber;
        } else if (auto* form = dynamic_cast<TLayoutObjQz*>(r.obj)) {
            form->formMethodId = r.words[0], form->mbarNumber = r.words[1], form->formResId = r.words[2];
        }
    }
    // Its links as they were when it was first overwritten.
    for (Replaced& r : fReplaced) {
        while (r.obj->uses && r.obj->uses->Size() > 0) XDelRef(r.obj, r.obj->uses->At(0));
        for (TObjQz* used : r.uses) XRef(r.obj, used);
    }
    RestoreOrder();
    End();
}

// Every list of the destination back in the order it had: a list the
// transfer sorted another way (the commands, by id, for the links) or
// whose objects it renamed and named back reads as it did.
void TransferSession::RestoreOrder()
{
    if (!fDest || !fDest->fTypeList) return;
    try {
        for (size_t k = 0; k < fOrder.size() && k < std::size(fDest->fTypeList->lists); ++k) {
            ObjListHdl list = fDest->fTypeList->lists[k];
            std::vector<TObjQz*> now = Listed(list);
            std::unordered_set<TObjQz*> held(now.begin(), now.end());
            std::vector<TObjQz*> order;
            for (TObjQz* obj : fOrder[k])
                if (!fForgotten.count(obj) && held.erase(obj)) order.push_back(obj);
            // Anything it holds that it did not hold then keeps its place after.
            for (TObjQz* obj : now)
                if (held.count(obj)) order.push_back(obj);
            if (order != now) SetEntries(&list, order);
        }
    } catch (const std::bad_alloc&) {
        // The lists keep the order they have.
    }
}

void TransferSession::End()
{
    fReplaced.clear();
    fReplacedObjs.clear();
    fTables.clear();
    fDropped.clear();
    fBefore.clear();
    fOrder.clear();
    fForgotten.clear();
    fNoted.clear();
    fOpen = false;
    if (gCurrent == this) gCurrent = nullptr;
    SetCurrentCompanionJournal(nullptr);
    // The summaries the transfer touched, as the files now have them.
    fLinks.reset();
}

void NoteReplacedObj(TObjQz* obj)
{
    if (TransferSession* s = CurrentTransferSession()) s->NoteReplaced(obj);
}

void ForgetObjInSession(TObjQz* obj)
{
    if (TransferSession* s = CurrentTransferSession()) s->Forget({obj});
}

void RetireObj(TObjQz* obj)
{
    if (TransferSession* s = CurrentTransferSession()) {
        s->Retire(obj);
        return;
    }
    Detach(obj);
    obj->Dispose();
}

void NoteChangedTable(TObjQz* owner)
{
    if (TransferSession* s = CurrentTransferSession()) s->NoteTable(owner);
}

void DropObjs(const std::vector<TObjQz*>& objs)
{
    TransferSession* s = CurrentTransferSession();
    for (TObjQz* obj : objs) {
        if (s) {
            s->Dropped(obj);
            continue;
        }
        UnlinkWithOwned(obj);
    }
    if (!s)
        for (TObjQz* obj : objs) obj->Dispose();
}

void RenameObj(TObjQz* obj, const unsigned char* name)
{
    NoteReplacedObj(obj);
    obj->SetName(name);
    Resort(obj);
}

void NoteGroupJoinInSession(TObjQz* group, TObjQz* member)
{
    if (TransferSession* s = CurrentTransferSession()) s->NoteJoin(group, member);
}

}  // namespace transfer

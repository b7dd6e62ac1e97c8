#include "transfer/driver/TransferSession.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "app/documents/MainDoc.h"
#include "design/links/XRef.h"
#include "design/objects/Groups.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "platform/core/Errors.h"

namespace transfer {

namespace {

TransferSession* gCurrent = nullptr;

constexpr int16_t kListCount = 23;

template <class Visit>
void EachListed(TMainDoc* doc, Visit visit)
{
    if (!doc || !doc->fTypeList) return;
    for (int16_t k = 0; k < kListCount; ++k)
        if (ObjListHdl list = doc->fTypeList->lists[k])
            for (int32_t i = 0; i < list->Size(); ++i) visit(list->At(i));
}

// An object that leaves: nothing may point at it any more. Its group
// forgets it, and keeps its stored members without it when asked.
void Detach(TObjQz* obj, bool writeGroup)
{
    if (obj->owner) obj->owner->DelObjMsg(obj);
    obj->Unlink();
    if (TGroupObjQz* group = obj->parent) {
        DelObjList(group->members, obj);
        if (writeGroup) {
            group->MakeCallList(false);
            group->Write();
        }
    }
    obj->ListRemove();
}

void PutBackInList(TObjQz* obj)
{
    if (!obj->owner || !obj->owner->fTypeList) return;
    ObjListHdl list = GetObjListe(obj->owner->fTypeList, obj->kind);
    if (!list) return;
    int32_t pos = 1;
    SearchInd_Obj(list, obj->name, &pos);
    if (AddSortedObjList(&list, obj, pos - 1) == 0) obj->owner->fTypeList->lists[ListKindOf(obj->kind) - 1] = list;
    if (TGroupObjQz* group = obj->parent) {
        AddObjList(&group->members, obj);
        group->MakeCallList(false);
    }
}

// Links the object's contents name again, as when its document was read.
void Reparse(TObjQz* obj)
{
    while (obj->uses && obj->uses->Size() > 0) XDelRef(obj, obj->uses->At(0));
    obj->SetFlag(kFlagParsed, false);
    obj->Parse();
    // A menu's links are recorded by the bars that hold it.
    for (int32_t i = 0; obj->kind == 6 && obj->usedBy && i < obj->usedBy->Size(); ++i) {
        TObjQz* bar = obj->usedBy->At(i);
        bar->SetFlag(kFlagParsed, false);
        bar->Parse();
    }
}

}  // namespace

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
        EachListed(dest, [&](TObjQz* obj) { fBefore.insert(obj); });
    } catch (const std::bad_alloc&) {
        return platform::memFullErr;
    }
    if (const int16_t err = fStore.Begin(dest->fResFile)) return err;
    fCompanion.Open(dest->fRsrFile);
    fOpen = true;
    gCurrent = this;
    SetCurrentCompanionJournal(&fCompanion);
    return 0;
}

void TransferSession::NoteReplaced(TObjQz* obj)
{
    if (!fOpen || !obj) return;
    for (const Replaced& r : fReplaced)
        if (r.obj == obj) return;
    Replaced r{obj, {}, {}};
    std::memcpy(r.name, obj->name, sizeof r.name);
    if (auto* style = dynamic_cast<TStyleObjQz*>(obj)) std::memcpy(r.description, style->description, sizeof r.description);
    try {
        fReplaced.push_back(r);
    } catch (const std::bad_alloc&) {
    }
}

void TransferSession::Retire(TObjQz* obj)
{
    Detach(obj, true);
    try {
        fRetired.push_back(obj);
    } catch (const std::bad_alloc&) {
        // Kept nowhere: it leaves now, whatever becomes of the transfer.
        obj->Dispose();
    }
}

int16_t TransferSession::Commit()
{
    if (!fOpen) return 0;
    // The companion first: a store committed before a companion that then
    // fails could not be taken back.
    int16_t err = fCompanion.Commit();
    if (err == 0) err = fStore.Commit();
    if (err != 0) {
        RollBack();
        return err;
    }
    fCompanion.Finish();
    for (TObjQz* obj : fRetired) obj->Dispose();
    fRetired.clear();
    End();
    return 0;
}

void TransferSession::RollBack()
{
    if (!fOpen) return;
    // The objects the transfer made go, those it retired come back.
    std::vector<TObjQz*> made;
    EachListed(fDest, [&](TObjQz* obj) {
        if (!fBefore.count(obj)) made.push_back(obj);
    });
    for (TObjQz* obj : made) {
        Detach(obj, false);
        obj->Dispose();
    }
    for (TObjQz* obj : fRetired) PutBackInList(obj);
    fRetired.clear();
    fStore.Drop();
    fCompanion.Abandon();
    for (Replaced& r : fReplaced) {
        std::memcpy(r.obj->name, r.name, sizeof r.name);
        if (auto* style = dynamic_cast<TStyleObjQz*>(r.obj)) std::memcpy(style->description, r.description, sizeof r.description);
        Reparse(r.obj);
    }
    End();
}

void TransferSession::End()
{
    fReplaced.clear();
    fBefore.clear();
    fOpen = false;
    if (gCurrent == this) gCurrent = nullptr;
    SetCurrentCompanionJournal(nullptr);
}

int16_t NoteCompanionChange(uint32_t type, int16_t id)
{
    CompanionJournal* journal = CurrentCompanionJournal();
    return journal ? journal->Note(type, id) : 0;
}

void NoteReplacedObj(TObjQz* obj)
{
    if (TransferSession* s = CurrentTransferSession()) s->NoteReplaced(obj);
}

void RetireObj(TObjQz* obj)
{
    if (TransferSession* s = CurrentTransferSession()) {
        s->Retire(obj);
        return;
    }
    Detach(obj, true);
    obj->Dispose();
}

}  // namespace transfer

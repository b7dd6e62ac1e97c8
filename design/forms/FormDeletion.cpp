// Deleting a form: its entry leaves its table's 'TFQz', its 'FOQz' and its
// methods' 'CCQz' are removed, all in one commit (OneCommit): after a crash
// or a failed commit the store holds the form whole, entry, data and
// methods, or none of them. A failure keeps the form in its table.
#include <unordered_set>
#include <vector>

#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/choicelists/OneCommit.h"
#include "design/forms/FormTable.h"
#include "design/links/ParseSupport.h"
#include "design/links/XRef.h"
#include "design/objects/Groups.h"
#include "design/objects/ObjKinds.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

namespace {

constexpr uint32_t kFormType = platform::FourCC("FOQz");
constexpr uint32_t kFormTableType = platform::FourCC("TFQz");
constexpr uint32_t kMethodType = platform::FourCC("CCQz");

// The form's entry out of the table's 'TFQz' (current file), *removed set
// when there was one; 0 when the table holds none.
int16_t RemoveEntry(int16_t tableId, int16_t formId, bool* removed)
{
    platform::Handle h = tableId == -1 ? nullptr : xget1res(kFormTableType, tableId);
    if (!h || !*h) return 0;
    const auto* p = reinterpret_cast<const uint8_t*>(*h);
    const std::vector<uint8_t> before(p, p + platform::GetHandleSize(h));
    const int32_t index = FindFormEntry(before, formId);
    if (index < 0) return 0;
    const std::vector<uint8_t> after = WithoutFormEntry(before, index);
    // Shrinking never fails: the bytes are in place before the size drops.
    std::copy(after.begin(), after.end(), reinterpret_cast<uint8_t*>(*h));
    platform::SetHandleSize(h, platform::Size(after.size()));
    *removed = true;
    return xwriteres(h) ? 0 : (reserr ? reserr : platform::ioErr);
}

// Every store change of the deletion, in one commit.
int16_t RemoveStored(TLayoutObjQz* form)
{
    // A document without a store holds nothing of the form.
    if (form->owner->fResFile < 0) return 0;
    ParseResFile current(form->owner);
    const int16_t tableId = FormTableIdOf(form->ownerObj);
    std::vector<int16_t> methods;
    if (form->formMethod) methods.push_back(form->formMethod->id);
    for (int32_t i = 0; form->objMethods && i < form->objMethods->Size(); ++i)
        methods.push_back(form->objMethods->At(i)->id);
    OneCommit change(form->owner->fResFile);
    bool kept = (tableId == -1 || change.Keep(kFormTableType, tableId)) && change.Keep(kFormType, form->formResId);
    for (int16_t id : methods) kept = kept && change.Keep(kMethodType, id);
    if (!kept) return platform::memFullErr;
    bool removed = false;
    if (const int16_t err = RemoveEntry(tableId, form->formResId, &removed)) return err;
    removed = rmveresbyid(kFormType, form->formResId, true) || removed;
    for (int16_t id : methods) removed = rmveresbyid(kMethodType, id, true) || removed;
    // Asked for here, the commit is carried out by the change (or, inside
    // a change that holds the store, by that one).
    if (removed && !updateres(form->owner->fResFile)) return reserr ? reserr : platform::ioErr;
    return change.Commit();
}

// What the form and its methods name that exists only through what names
// it, none of them a group's member.
std::vector<TObjQz*> NamedOnly(TLayoutObjQz* form)
{
    std::vector<TObjQz*> named;
    std::unordered_set<TObjQz*> seen;
    auto add = [&](TObjQz* user) {
        for (int32_t i = 0; user && user->uses && i < user->uses->Size(); ++i) {
            TObjQz* obj = user->uses->At(i);
            if (ExistsByBeingNamed(obj) && !obj->parent && seen.insert(obj).second) named.push_back(obj);
        }
    };
    add(form);
    add(form->formMethod);
    for (int32_t i = 0; form->objMethods && i < form->objMethods->Size(); ++i) add(form->objMethods->At(i));
    return named;
}

}  // namespace

void TGnlProcObjQz::DeleteObj(bool really)
{
    if (really) DeleteResData();
    TStructObjQz::DeleteObj(really);
}

void TLayoutObjQz::ListRemove()
{
    if (auto* table = dynamic_cast<TFileObjQz*>(ownerObj)) DelObjList(table->forms, this);
}

bool TLayoutObjQz::EnableDelete()
{
    if (TstFlag(kFlagInComponent)) return false;
    return !(owner && owner->fRemote);
}

void TLayoutObjQz::DeleteRefs()
{
    if (objMethods)
        for (int32_t i = objMethods->Size() - 1; i >= 0; --i) objMethods->At(i)->DeleteObj(true);
    FreeObjList(objMethods);
    objMethods = nullptr;
    if (formMethod) formMethod->DeleteObj(true);
    formMethod = nullptr;
}

void TLayoutObjQz::DeleteObj(bool really)
{
    if (really && owner) {
        if (const int16_t err = RemoveStored(this)) {
            ErrMsg(err);
            // Still stored whole: the form stays in its table.
            if (auto* table = dynamic_cast<TFileObjQz*>(ownerObj); table && table->forms && !IsInList(table->forms, this))
                if (AddObjList(&table->forms, this) == 0) ShellSort(table->forms);
            return;
        }
    }
    // The groups' summaries are remade once, when every object is gone.
    LinkChanges together;
    // A fresh read makes none of these once nothing names them.
    const std::vector<TObjQz*> named = really ? NamedOnly(this) : std::vector<TObjQz*>{};
    if (really) DeleteRefs();
    ListRemove();
    TStructObjQz::DeleteObj(really);
    for (TObjQz* obj : named) DropIfUnnamed(obj);
}
void TLayoutObjQz::SetTrashFlags(bool on)
{
    SetFlag(kFlagInTrash, on);
    if (formMethod) formMethod->SetTrashFlags(on);
    for (int32_t i = 0; objMethods && i < objMethods->Size(); ++i) objMethods->At(i)->SetTrashFlags(on);
}

// Deleting a form: (1) its entry leaves its table's 'TFQz', committed;
// (2) then its 'FOQz' and its methods' 'CCQz' are removed and committed.
// A crash between the two leaves a form no table lists, never a table
// naming a form whose data is gone; a failure at (1) deletes nothing.
#include <vector>

#include "app/documents/MainDoc.h"
#include "design/forms/FormTable.h"
#include "design/links/ParseSupport.h"
#include "design/objects/ObjKinds.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

namespace {

constexpr uint32_t kFormType = platform::FourCC("FOQz");
constexpr uint32_t kFormTableType = platform::FourCC("TFQz");

// The form's entry out of the 'TFQz' of `table` (current file); false when
// the table holds it and it could not be written.
bool RemoveEntry(TObjQz* table, int16_t formId)
{
    const int16_t tableId = FormTableIdOf(table);
    if (tableId == -1) return true;
    platform::Handle h = xget1res(kFormTableType, tableId);
    if (!h || !*h) return true;
    const auto* p = reinterpret_cast<const uint8_t*>(*h);
    const std::vector<uint8_t> before(p, p + platform::GetHandleSize(h));
    const int32_t index = FindFormEntry(before, formId);
    if (index < 0) return true;
    const std::vector<uint8_t> after = WithoutFormEntry(before, index);
    // Shrinking never fails: the bytes are in place before the size drops.
    std::copy(after.begin(), after.end(), reinterpret_cast<uint8_t*>(*h));
    platform::SetHandleSize(h, platform::Size(after.size()));
    return xwriteres(h);
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
        ParseResFile current(owner);
        const int16_t file = owner->fResFile;
        if (RemoveEntry(ownerObj, formResId) && updateres(file)) {
            rmveresbyid(kFormType, formResId, true);
            DeleteRefs();
            updateres(file);
        }
    } else if (really) {
        DeleteRefs();
    }
    ListRemove();
    TStructObjQz::DeleteObj(really);
}

void TLayoutObjQz::SetTrashFlags(bool on)
{
    SetFlag(kFlagInTrash, on);
    if (formMethod) formMethod->SetTrashFlags(on);
    for (int32_t i = 0; objMethods && i < objMethods->Size(); ++i) objMethods->At(i)->SetTrashFlags(on);
}

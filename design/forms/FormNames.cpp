// A form's names: how it is qualified, renamed and checked against its
// table's component, and when it may be renamed or rewritten.
#include <cstring>
#include <vector>

#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/Messages.h"
#include "app/dialogs/WaitDialog.h"
#include "app/documents/MainDoc.h"
#include "design/choicelists/OneCommit.h"
#include "design/forms/FormTable.h"
#include "design/links/ParseSupport.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "design/objects/RenameHooks.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

namespace {

constexpr uint32_t kFormType = platform::FourCC("FOQz");
constexpr uint32_t kFormTableType = platform::FourCC("TFQz");
constexpr int16_t kRenameFilter = 5;
constexpr int16_t kResourceMissing = 1003;
// The alert and the texts of a form outside its table's component.
constexpr int16_t kMessageAlert = 1000, kMessageKind = 3, kErrorList = 1002;
constexpr int16_t kAndItem = 67, kSameComponentItem = 68;

// The component whose folder holds the object, or null.
TObjQz* ComponentHolding(TObjQz* obj)
{
    TObjQz* folder = obj ? obj->parent : nullptr;
    if (!folder || folder->kind != 33 || !folder->parent || folder->parent->kind != 32) return nullptr;
    return folder->parent;
}

TObjQz* TopTable(TObjQz* obj)
{
    TObjQz* table = obj;
    for (int32_t depth = 0; table && table->GetOwnerObj() && depth < 64; ++depth) table = table->GetOwnerObj();
    return table;
}

}  // namespace

void TLayoutObjQz::GetStructName(unsigned char* out)
{
    unsigned char separator[256], own[256];
    MyGetIndString(separator, 1019, 2);
    if (ownerObj) ownerObj->GetStructName(out);
    else MyGetIndString(out, 1024, 3);
    GetName(own);
    std::string text = PString(out) + PString(separator) + PString(own);
    if (text.size() > 255) text.resize(255);
    PSet(out, text);
}

bool TLayoutObjQz::EnableReplace()
{
    if (TstFlag(kFlagControlChar) || TstFlag(kFlagInComponent)) return false;
    if (owner && owner->fRemote) return false;
    return !TstFlag(kFlagDocOpen);
}

bool TLayoutObjQz::EnableReplaceTxt()
{
    if (TstFlag(kFlagCiphered) || TstFlag(kFlagControlChar)) return false;
    return !(owner && owner->fRemote);
}

bool TLayoutObjQz::IsPresent()
{
    if (!owner || !owner->fRemote) return true;
    ParseResFile current(owner);
    if (xget1res(kFormType, formResId)) return true;
    SetFlag(kFlagHasDoc, false);
    return false;
}

int16_t TLayoutObjQz::Replace(TObjQz** out)
{
    *out = this;
    unsigned char newName[256];
    GetName(newName);
    uint8_t mode = 1;
    ObjListHdl rewrite = nullptr;
    if (!GetReplace(kRenameFilter, owner, kind, ownerObj, newName, -1, &mode, usedBy, &rewrite, MaxNameLen())) {
        FreeObjList(rewrite);
        return 0;
    }
    CursInstall();
    DoReplace(newName, mode != 0, rewrite, out, false);
    CursRmve();
    return 1;
}

void TLayoutObjQz::DoReplace(const unsigned char* newName, bool flag, ObjListHdl users, TObjQz** out, bool)
{
    if (out) *out = nullptr;
    unsigned char cut[kFormEntryNameMax + 1];
    cut[0] = uint8_t(newName[0] > kFormEntryNameMax ? kFormEntryNameMax : newName[0]);
    std::memcpy(cut + 1, newName + 1, cut[0]);
    int16_t err = owner ? 0 : platform::paramErr;
    if (owner) {
        ParseResFile current(owner);
        const int16_t tableId = FormTableIdOf(ownerObj);
        OneCommit change(owner->fResFile);
        if (!change.Keep(kFormTableType, tableId)) err = platform::memFullErr;
        for (int32_t i = 0; !err && users && i < users->Size(); ++i) {
            TObjQz* user = users->At(i);
            if (user && user->GetOwnResType() != kNoResType && !change.Keep(user->GetOwnResType(), user->id))
                err = platform::memFullErr;
        }
        platform::Handle h = tableId == -1 ? nullptr : xget1res(kFormTableType, tableId);
        if (!err && (!h || !*h)) err = kResourceMissing;
        if (!err) {
            const auto* p = reinterpret_cast<const uint8_t*>(*h);
            const std::vector<uint8_t> before(p, p + platform::GetHandleSize(h));
            const int32_t entry = FindFormEntry(before, formResId);
            if (entry < 0) err = kResourceMissing;
            const std::vector<uint8_t> after = WithFormName(before, entry, cut);
            std::copy(after.begin(), after.end(), reinterpret_cast<uint8_t*>(*h));
            if (!err && !xwriteres(h)) err = reserr ? reserr : platform::ioErr;
        }
        for (int32_t i = 0; !err && users && i < users->Size(); ++i)
            if (TObjQz* user = users->At(i)) user->XRefReplace(this, cut, flag);
        if (!err) err = change.Commit();
    }
    FreeObjList(users);
    if (err) {
        // Neither the table's entry nor any user changed: the name stays.
        ErrMsg(err);
        return;
    }
    if (out) *out = this;
    SetName(cut);
    if (auto* table = dynamic_cast<TFileObjQz*>(ownerObj)) ShellSort(table->forms);
}

bool TLayoutObjQz::CheckModuleProject()
{
    TObjQz* table = TopTable(ownerObj);
    if (!table || ComponentHolding(this) == ComponentHolding(table)) return true;
    unsigned char text[256], part[256];
    table->GetStructName(text);
    MyGetIndString(part, kErrorList, kAndItem);
    PAppend(text, part);
    GetStructName(part);
    PAppend(text, part);
    MyGetIndString(part, kErrorList, kSameComponentItem);
    PAppend(text, part);
    XAlert(kMessageAlert, text, kMessageKind);
    return false;
}

// A form's names: how it is qualified and checked against its table's
// component (its rename is in design/rename/KindRenames.cpp).
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

bool TLayoutObjQz::IsPresent()
{
    if (!owner || !owner->fRemote) return true;
    ParseResFile current(owner);
    if (xget1res(kFormType, formResId)) return true;
    SetFlag(kFlagHasDoc, false);
    return false;
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

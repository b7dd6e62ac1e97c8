// What a record does with the choice the user has just picked in the
// conflict list: the rename and link dialogs, the copy that pulls the
// object and what it uses into the transfer, and the members that follow
// a table's new choice.
#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/Messages.h"
#include "design/objects/ObjQz.h"
#include "design/objects/ObjText.h"
#include "platform/core/Errors.h"
#include "transfer/conflicts/ConflictDefaults.h"
#include "transfer/conflicts/Conflicts.h"
#include "transfer/dialogs/ConflictTexts.h"
#include "transfer/dialogs/RecordEdits.h"

namespace transfer {

int16_t CopyIntoTransfer(TObjQz* obj, ObjListHdl* transferList, C_ListHdl list, TMainDoc* dest)
{
    if (!obj || !transferList) return 0;
    int16_t err = JoinTransferList(transferList, obj);
    if (err == 0) err = obj->DoInDir_Conflicts(dest, list, *transferList);
    if (err == 0) err = MakeDfltCopy(dest, transferList, list);
    if (err != 0) ErrMsg(err);
    return err;
}

void UpdateSubList(TRConflict* record, ObjListHdl* transferList, C_ListHdl list, TMainDoc* dest)
{
    // Copies may chain more records: those present now are the members.
    C_ListHdl sub = record->fSubList;
    const int32_t members = sub ? sub->Size() : 0;
    for (int32_t i = 0; i < members; ++i) {
        TConflict* member = sub->At(i);
        member->C_Update(record, false);
        if (member->fChoice == 9 || member->fChoice == 12) CopyIntoTransfer(member->fSource, transferList, list, dest);
    }
}

void FallBackWithoutDest(TConflict* record)
{
    if (!record->fDest) record->fChoice = Cc_Dflt(record->fCode);
}

}  // namespace transfer

void TConflict::DrawEditDialog(platform::DialogRecord* dialog)
{
    unsigned char text[256], part[256];
    transfer::NamePrefix(fCode, text);
    transfer::GetFullName(fSource, part);
    PAppend(text, part);
    SetText(dialog, 3, text);
    if (fCode < 100) transfer::ListString(1016, fCode, text);
    else transfer::ListString(1017, int16_t(fCode - 100), text);
    SetText(dialog, 4, text);
    platform::SetDialogDefaultItem(dialog, 1);
}

bool TRConflict::Edit(ObjListHdl* transferList, C_ListHdl list, TMainDoc* source, TMainDoc* dest)
{
    switch (fChoice) {
    case 1: GetNewNameDialog(list, source, dest); return false;
    case 9: transfer::CopyIntoTransfer(fSource, transferList, list, dest); return true;
    default: return false;
    }
}

bool TFileConflict::Edit(ObjListHdl* transferList, C_ListHdl list, TMainDoc* source, TMainDoc* dest)
{
    switch (fChoice) {
    case 1:
        if (!GetNewNameDialog(list, source, dest)) fChoice = transfer::Cc_Dflt(fCode);
        break;
    case 8:
        FileLinkDialog(list, source, dest);
        transfer::FallBackWithoutDest(this);
        break;
    case 9: transfer::CopyIntoTransfer(fSource, transferList, list, dest); break;
    default: break;
    }
    transfer::UpdateSubList(this, transferList, list, dest);
    return true;
}

bool TCritConflict::Edit(ObjListHdl* transferList, C_ListHdl list, TMainDoc* source, TMainDoc* dest)
{
    switch (fChoice) {
    case 8:
        CritLinkDialog(list, source, dest);
        transfer::FallBackWithoutDest(this);
        break;
    case 12:
        if (transferList && fSource && transfer::JoinTransferList(transferList, fSource) != 0)
            ErrMsg(platform::memFullErr);
        break;
    default: break;
    }
    transfer::UpdateSubList(this, transferList, list, dest);
    return true;
}

bool TLayOutConflict::Edit(ObjListHdl* transferList, C_ListHdl list, TMainDoc* source, TMainDoc* dest)
{
    switch (fChoice) {
    case 1: GetNewNameDialog(list, source, dest); return false;
    case 8:
        LayOutLinkDialog(list, source, dest);
        transfer::FallBackWithoutDest(this);
        return false;
    case 9: transfer::CopyIntoTransfer(fSource, transferList, list, dest); return true;
    default: return false;
    }
}

bool TMBarConflict::Edit(ObjListHdl* transferList, C_ListHdl list, TMainDoc* source, TMainDoc* dest)
{
    switch (fChoice) {
    case 8:
        MBarLinkDialog(list, source, dest);
        transfer::FallBackWithoutDest(this);
        return false;
    case 9: transfer::CopyIntoTransfer(fSource, transferList, list, dest); return true;
    default: return false;
    }
}

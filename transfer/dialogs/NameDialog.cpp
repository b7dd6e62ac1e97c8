// The rename dialog (dialog 600): the name the copy will bear in the
// destination. Items: 1 OK, 2 Cancel, 3 and 4 the common items, 5 the
// choice's text, 6 the new name.
#include "app/appl/Menus.h"
#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/DrawingUtilities.h"
#include "app/dialogs/Messages.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/transfer/ObjMove.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"
#include "platform/core/FourCC.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/windows/Windows.h"
#include "transfer/conflicts/Conflicts.h"
#include "transfer/dialogs/ConflictTexts.h"
#include "transfer/dialogs/EditDialogs.h"

using namespace platform;

namespace transfer {

bool NameTaken(const TConflict* record, TMainDoc* dest, const unsigned char* name)
{
    if (!record->fSource || !dest) return false;
    if (record->fSource->kind == 24) {
        // Forms are named within their table: the destination table is the
        // one the form's table record names.
        TObjQz* table = record->fParent ? record->fParent->fDest : nullptr;
        if (!table || (table->kind != 1 && table->kind != 29)) return false;
        ObjListHdl forms = static_cast<TFileObjQz*>(table)->forms;
        for (int32_t i = 0; forms && i < forms->Size(); ++i) {
            unsigned char own[256];
            forms->At(i)->GetName(own);
            if (rel2str(own, name) == kEqual) return true;
        }
        return false;
    }
    return SearchObj_Name(dest, record->fSource->kind, name) != nullptr;
}

void FreeNewName(TRConflict* record, TMainDoc* dest)
{
    if (!record->fSource || !dest || !NameTaken(record, dest, record->fNewName)) return;
    unsigned char name[256];
    FreeName(record->fSource->kind, record->fNewName,
             [&](const unsigned char* candidate) { return NameTaken(record, dest, candidate); }, name);
    CopyObjName(record->fNewName, name);
}

void FreeNewNames(C_ListHdl list, TMainDoc* dest)
{
    for (int32_t i = 0; list && i < list->Size(); ++i) {
        TConflict* record = list->At(i);
        if (!record->IsMember(1)) continue;
        auto* named = static_cast<TRConflict*>(record);
        if (named->fChoice == 1) FreeNewName(named, dest);
        FreeNewNames(named->fSubList, dest);
    }
}

}  // namespace transfer

void TRConflict::Draw_GetNewNameDialog(DialogRecord* dialog)
{
    DrawEditDialog(dialog);
    unsigned char text[256];
    transfer::ListString(1018, 1, text);
    SetText(dialog, transfer::kNameChoiceItem, text);
    SetText(dialog, transfer::kNewNameItem, fNewName);
}

bool TRConflict::GetNewNameDialog(C_ListHdl list, TMainDoc* source, TMainDoc* dest)
{
    (void)list, (void)source;
    // The name proposed is one the copy can take.
    transfer::FreeNewName(this, dest);
    Handle dlog = nullptr, bits = nullptr;
    Rect saved{};
    DLogSaveScreen(FourCC("DLOG"), transfer::kNameDialog, &dlog, &bits, &saved);
    DialogRef dialog = MyGetNewDialog(transfer::kNameDialog, nullptr, reinterpret_cast<WindowRef>(-1));
    bool confirmed = false;
    if (dialog) {
        Draw_GetNewNameDialog(dialog);
        SetDlogEditMenu();
        ShowWindow(GetDialogWindow(dialog));
        SelectDialogItemText(dialog, transfer::kNewNameItem, 0, 32767);
        unsigned char name[256] = {0};
        int16_t hit = 0;
        for (;;) {
            MyModalDialog(nullptr, &hit);
            if (hit == 2) break;
            if (hit != 1) continue;
            GetText(name, dialog, transfer::kNewNameItem);
            // An empty name would give the copy its source's name: the very
            // clash the rename was chosen for.
            if (name[0] == 0) {
                SysBeep(1);
                continue;
            }
            if (transfer::NameTaken(this, dest, name)) {
                unsigned char message[256];
                transfer::ListString(1002, 23, message);
                XAlert(1000, message, kStopAlert);
                continue;
            }
            confirmed = true;
            break;
        }
        if (confirmed) CopyObjName(fNewName, name);
        MyDisposDialog(dialog);
    }
    DLogRestoreScreen(dlog, bits, &saved, false);
    return confirmed;
}

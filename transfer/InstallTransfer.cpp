#include "transfer/InstallTransfer.h"

#include "app/longlist/LongListHooks.h"
#include "browser/TransferDrop.h"
#include "design/objects/ObjQz.h"
#include "design/objects/TransferHooks.h"
#include "design/plugins/ParamLists.h"
#include "design/reading/ModuleManager.h"
#include "forms/walkers/FormCopy.h"
#include "platform/core/Memory.h"
#include "transfer/components/ComponentCommands.h"
#include "transfer/components/InstallRules.h"
#include "transfer/conflicts/ConflictChoices.h"
#include "transfer/conflicts/ConflictDefaults.h"
#include "transfer/conflicts/ConflictRecording.h"
#include "transfer/conflicts/Conflicts.h"
#include "transfer/dialogs/ConflictListDef.h"
#include "transfer/driver/DoMove.h"
#include "transfer/driver/MoveDropped.h"
#include "transfer/links/FormDestinations.h"
#include "transfer/links/ParseLinkProc.h"
#include "transfer/movers/Movers.h"
#include "transfer/modules/ModuleMgr.h"

namespace transfer {

namespace {

bool ViewConflict(TConflict* record, ConflictView* out)
{
    out->source = record->fSource;
    out->destination = record->fDest;
    out->code = record->fCode;
    out->choice = record->fChoice;
    if (record->IsMember(1))
        CopyObjName(out->newName, static_cast<TRConflict*>(record)->fNewName);
    return true;
}

// What each parameter of a plug-in routine names, from its package's
// parameter list in the current resource chain.
std::vector<std::pair<int16_t, int16_t>> RoutineParamKindsOfPackage(int16_t package, int16_t routine)
{
    std::vector<std::pair<int16_t, int16_t>> kinds;
    if (platform::Handle list = GetEPRM(package)) {
        kinds = RoutineParamKinds(list, routine);
        platform::DisposeHandle(list);
    }
    return kinds;
}

}  // namespace

void InstallTransfer()
{
    // A copied form's object methods move with it.
    InstallFormCopyWalks();
    // A copied form's references name the destination's objects.
    InstallFormDestinations();
    TransferHooks hooks = CurrentTransferHooks();
    hooks.recordConflict = transfer::RecordConflict;
    hooks.chainConflict = transfer::ChainConflict;
    hooks.recordC_Ref = transfer::RecordC_Ref;
    hooks.c_Search = [](C_ListRec* list, TObjQz* obj) { return transfer::C_Search(list, obj); };
    hooks.c_SearchInChain = [](C_ListRec* list, TObjQz* obj) { return transfer::C_SearchInChain(list, obj); };
    hooks.isInC_List = [](C_ListRec* list, TObjQz* obj) { return transfer::IsInC_List(list, obj); };
    hooks.c_Update = [](TConflict* record, TConflict* parent, bool quiet) { record->C_Update(parent, quiet); };
    hooks.viewConflict = ViewConflict;
    hooks.setConflictDest = [](TConflict* record, TObjQz* dest) { record->fDest = dest; };
    hooks.setConflictChoice = [](TConflict* record, int16_t choice) { record->fChoice = choice; };
    hooks.cc_Dflt = transfer::Cc_Dflt;
    hooks.maxChoix = transfer::MaxChoix;
    hooks.chooseNumber = transfer::ChooseNumber;
    hooks.chooseValue = transfer::ChooseValue;
    hooks.chooseNumStrListe = transfer::ChooseNumStrListe;
    hooks.caution = transfer::caution;
    SetTransferHooks(hooks);
    InstallMovers();
    browser::SetMoveObjectsHook(MoveDropped);
    InstallComponentCommands();
    SetModuleConflictsHook(ModuleConflicts);
    SetPlugInParamKinds(RoutineParamKindsOfPackage);

    // The conflict dialog's list rows hold records.
    LongListHooks rows = CurrentLongListHooks();
    rows.getConflict = [](void* entry, int16_t* code, bool* hasSecond, int16_t* previous, int16_t* current) {
        auto* record = static_cast<TConflict*>(entry);
        if (!record) return false;
        *code = record->fCode;
        *hasSecond = record->fSource != nullptr;
        *previous = record->fPrevChoice;
        *current = record->fChoice;
        return true;
    };
    rows.setConflictChoices = [](void* entry, int16_t previous, int16_t current) {
        auto* record = static_cast<TConflict*>(entry);
        record->fPrevChoice = previous;
        record->fChoice = current;
    };
    rows.conflictIndent = [](void* entry) { return transfer::RowIndent(static_cast<TConflict*>(entry)); };
    rows.maxChoix = transfer::MaxChoix;
    rows.chooseNumber = transfer::ChooseNumber;
    rows.chooseValue = transfer::ChooseValue;
    rows.chooseNumStrListe = transfer::ChooseNumStrListe;
    SetLongListHooks(rows);
    InstallModuleManager();
}

void InstallModuleManager()
{
    ModuleHooks modules;
    modules.newManager = [](TMainDoc* doc) -> IModuleManager* { return new ModuleMgr(doc); };
    SetModuleHooks(modules);
}

}  // namespace transfer

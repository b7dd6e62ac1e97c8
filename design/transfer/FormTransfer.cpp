// Forms copied into another document: what they meet there (under their
// table's record), the copy into the destination table by the choice of
// their record, and the copy's links bound to the destination's objects.
#include <algorithm>
#include <cstring>
#include <string>

#include "app/appl/AppGlobals.h"
#include "app/dialogs/Messages.h"
#include "app/dialogs/WaitDialog.h"
#include "app/documents/MainDoc.h"
#include "design/forms/FormTable.h"
#include "design/forms/StoredFormImage.h"
#include "design/links/FormLinkLookups.h"
#include "design/links/ParseSupport.h"
#include "design/links/XRef.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/TransferHooks.h"
#include "design/transfer/ObjMove.h"
#include "design/transfer/TableRecords.h"
#include "forms/walkers/ParseIFFForm.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

namespace {

constexpr int16_t kRename = 1, kReplace = 3, kUseDest = 4, kCopy = 9;
constexpr int16_t kNoTableRecord = 1005, kNoDestTable = 1012;
constexpr int16_t kDirectCode = 3, kIndirectCode = 107;
constexpr size_t kMenuBarAt = 34;
constexpr uint32_t kFormType = platform::FourCC("FOQz");

// Room to copy the form: its image has a size and three times it can be
// had, with the memory reserve still there.
int16_t RoomForCopy(TLayoutObjQz* form)
{
    ParseResFile current(form->owner);
    platform::Handle image = xget1res(kFormType, form->formResId);
    const platform::Size size = image && *image ? platform::GetHandleSize(image) : 0;
    if (size <= 0 || !GromMemHdl || !CheckMem(3 * size)) return platform::memFullErr;
    return 0;
}

// The form chained under its table's record with `code`, settled by it.
int16_t ChainUnderTable(TLayoutObjQz* form, C_ListRec* conflicts, int16_t code)
{
    TConflict* parent = C_SearchInChain(conflicts, form->ownerObj);
    TConflict* chained = nullptr;
    if (const int16_t err = ChainConflict(parent, form, code, &chained)) return err;
    C_Update(chained, parent, false);
    return 0;
}

// The menu bar in slot `slot` of the document's menu-bar directory.
TMBarObjQz* BarInSlot(TMainDoc* doc, int32_t slot)
{
    ObjListHdl bars = doc && doc->fTypeList ? GetObjListe(doc->fTypeList, 5) : nullptr;
    for (int32_t i = 0; bars && i < bars->Size(); ++i)
        if (auto* bar = dynamic_cast<TMBarObjQz*>(bars->At(i)); bar && bar->libaSlot == slot) return bar;
    return nullptr;
}

// The form's entry in its table's 'TFQz' given the menu bar number, and
// committed.
int16_t WriteMenuBarNumber(TLayoutObjQz* form, int16_t number)
{
    const int16_t tableId = FormTableIdOf(form->ownerObj);
    platform::Handle table = tableId == -1 ? nullptr : xget1res(tables::kFormTable, tableId);
    if (!table) return 0;
    std::vector<uint8_t> bytes(reinterpret_cast<uint8_t*>(*table),
                               reinterpret_cast<uint8_t*>(*table) + platform::GetHandleSize(table));
    const int32_t entry = FindFormEntry(bytes, form->formResId);
    if (entry < 0) return 0;
    platform::WriteBE16(reinterpret_cast<uint8_t*>(*table) + kFormTableHeader + size_t(entry) * kFormEntrySize + kMenuBarAt,
                        uint16_t(number));
    if (!xwriteres(table) || !updateresNoMap(form->owner->fResFile)) return reserr ? reserr : platform::ioErr;
    return 0;
}

}  // namespace

int16_t TLayoutObjQz::Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    TObjQz* table = ownerObj;
    if (!table) return 0;
    if (!C_SearchInChain(conflicts, table)) {
        const bool indirect = table->kind == 29 || G_ModuleUpdate == 4;
        const int16_t err = indirect ? table->Indir_Conflicts(doc, conflicts, list) : table->Dir_Conflicts(doc, conflicts, list);
        if (err) return err;
    }
    return ChainUnderTable(this, conflicts, kDirectCode);
}

int16_t TLayoutObjQz::Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    TObjQz* table = ownerObj;
    if (!table || C_SearchInChain(conflicts, this)) return 0;
    if (const int16_t err = table->Indir_Conflicts(doc, conflicts, list)) return err;
    return ChainUnderTable(this, conflicts, kIndirectCode);
}

int16_t TLayoutObjQz::DoInDir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    if (const int16_t err = TStructObjQz::DoInDir_Conflicts(doc, conflicts, list)) return err;
    if (formMethod)
        if (const int16_t err = formMethod->DoInDir_Conflicts(doc, conflicts, list)) return err;
    for (int32_t i = 0; objMethods && i < objMethods->Size(); ++i)
        if (const int16_t err = objMethods->At(i)->DoInDir_Conflicts(doc, conflicts, list)) return err;
    return 0;
}

int16_t TLayoutObjQz::Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj)
{
    *newObj = nullptr;
    if (G_ModuleUpdate == 4 && TstFlag(kFlagInComponent)) return 0;
    TConflict* record = C_SearchInChain(conflicts, this);
    ConflictView view;
    const bool recorded = GetConflictView(record, &view);
    // A form its record leaves where it is needs neither room nor a table.
    if (recorded && view.choice != kRename && view.choice != kReplace && view.choice != kCopy) return 0;
    if (const int16_t err = RoomForCopy(this)) return err;
    if (const int16_t stop = caution()) return stop;
    if (const int16_t cancelled = TObjQz::Move(doc, conflicts, newObj)) return cancelled;
    ConflictView tableView;
    if (!ownerObj || !GetConflictView(C_SearchInChain(conflicts, ownerObj), &tableView)) return kNoTableRecord;
    auto* destTable = dynamic_cast<TFileObjQz*>(tableView.destination);
    if (!destTable) return kNoDestTable;
    int16_t result = 0;
    if (!recorded || view.choice == kRename || view.choice == kCopy) {
        unsigned char newName[256];
        // No two forms of a table bear one name.
        FreeName(kind, recorded && view.choice == kRename && view.newName[0] ? view.newName : name,
                 [&](const unsigned char* candidate) { return SearchListObj_Name(destTable->forms, candidate) != nullptr; },
                 newName);
        result = MoveLayOut(owner, doc, this, destTable, newObj, newName);
        if (result == 0 && *newObj) result = recorded ? (SetConflictDest(record, *newObj), 0) : RecordC_Ref(this, *newObj, conflicts);
    } else if (view.destination) {
        if (ModuleUpDate(this, view.destination) != 1) {
            SetConflictChoice(record, kUseDest);
            return 0;
        }
        TObjQz* target = view.destination;
        if (auto* replaced = dynamic_cast<TLayoutObjQz*>(target)) replaced->DeleteRefs();
        result = ReplaceLayOut(owner, doc, this, &target);
        if (result == 0) {
            *newObj = target;
            SetConflictDest(record, target);
        }
    }
    if (result != 0 || !*newObj) return result;
    doc->fCompilerDirty = true;
    return MoveDoc(*newObj);
}

int16_t TLayoutObjQz::GetFormMover(int16_t resId, TLayoutObjQz* source, C_ListRec* conflicts)
{
    if (resId != formResId) return 0;
    return RewriteStoredForm(this, [&](platform::Handle image, platform::Handle output) {
        const int16_t err = ParseLinkIFFForm(image, output, this, source, conflicts);
        return err == 0 ? int16_t(0) : int16_t(platform::memFullErr);
    });
}

int16_t TLayoutObjQz::Parse_Link(TObjQz* src, C_ListRec* conflicts)
{
    ParseResFile current(owner);
    if (ParseCancelled()) return kCancelledByUser;
    ShowProgress(7);
    auto* source = dynamic_cast<TLayoutObjQz*>(src);
    if (!source) return 0;
    int16_t result = 0;
    if (formMethodId != 0 && !formMethod) {
        formMethod = NewOwnedObj(owner, 27, name, formMethodId);
        if (!formMethod) return platform::memFullErr;
        auto* m = static_cast<TGnlProcObjQz*>(formMethod);
        m->ownerObj = this;
        m->Read(nullptr);
        if (!m->table) m->table = dynamic_cast<TFileObjQz*>(ownerObj);
        result = XRef(this, formMethod);
    }
    InstallFormLinkLookups();
    if (result == 0) result = GetFormMover(formResId, source, conflicts);
    if (result == 0 && mbarNumber != 0) {
        // The source's bar of that number, by its counterpart, else by the
        // bar of the same name here.
        TObjQz* sourceBar = BarInSlot(source->owner, mbarNumber < 0 ? -int32_t(mbarNumber) : mbarNumber);
        TObjQz* bar = nullptr;
        if (sourceBar) GetDestObj(conflicts, source->owner, owner, sourceBar, &bar);
        if (!bar && sourceBar) bar = SearchObj_Name(owner, 5, sourceBar->name);
        auto* destBar = dynamic_cast<TMBarObjQz*>(bar);
        const int16_t slot = destBar ? destBar->libaSlot : int16_t(0);
        if (bar) result = XRef(this, bar);
        const int16_t number = int16_t(mbarNumber < 0 ? -slot : slot);
        if (result == 0 && number != mbarNumber) {
            result = WriteMenuBarNumber(this, number);
            if (result == 0) mbarNumber = number;
        }
    }
    // The methods' code names the source's objects until linked; a table's
    // references without a table are to the source form's table.
    if (result == 0 && formMethod) result = formMethod->Parse_Link(source->ownerObj, conflicts);
    for (int32_t i = 0; result == 0 && objMethods && i < objMethods->Size(); ++i) {
        result = objMethods->At(i)->Parse_Link(source->ownerObj, conflicts);
        if (result == 0 && ParseCancelled()) result = kCancelledByUser;
    }
    // Its size and date are those of the image as linked, as a read gives.
    if (result == 0) StampOwnResource();
    return result;
}

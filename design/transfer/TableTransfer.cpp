// Tables, subtables and fields copied into another document: what they
// meet there, the copy by the choice of their records, and the relations
// and choice lists of the copies bound to the destination's objects.
#include <algorithm>
#include <cstring>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/documents/MainDoc.h"
#include "app/dialogs/WaitDialog.h"
#include "design/links/ParseSupport.h"
#include "design/links/XRef.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/Equality.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/TransferHooks.h"
#include "design/transfer/ObjMove.h"
#include "design/reading/ReadQzB.h"
#include "design/transfer/TableRecords.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

namespace {

using namespace tables;

constexpr int16_t kRename = 1, kReplace = 3, kCopy = 9, kCopyWithTable = 12;

// Each member chained under the table's record (subtables with theirs)
// and settled quietly by it.
int16_t ChainMembers(TConflict* parent, TObjQz* table)
{
    ObjListHdl members = table->members;
    for (int32_t i = 0; parent && members && i < members->Size(); ++i) {
        TObjQz* m = members->At(i);
        TConflict* chained = nullptr;
        if (const int16_t err = ChainConflict(parent, m, m->kind == 29 ? 101 : 104, &chained)) return err;
        C_Update(chained, parent, true);
        if (chained && m->kind == 29)
            if (const int16_t err = ChainMembers(chained, m)) return err;
    }
    return 0;
}

// The destination of the record of the table that holds `obj`.
TObjQz* DestTableOf(C_ListRec* conflicts, TObjQz* obj, ConflictView* tableView)
{
    TObjQz* table = obj->GetOwnerObj();
    if (!table || !GetConflictView(C_SearchInChain(conflicts, table), tableView)) return nullptr;
    return tableView->destination;
}

// Whether the record made the destination a copy of the source (no
// record, or a copy or overwrite), so that the copy's entries are the
// source's.
bool IsCopyOf(C_ListRec* conflicts, TObjQz* src)
{
    ConflictView view;
    if (!GetConflictView(C_SearchInChain(conflicts, src), &view)) return true;
    return view.code == 0 || view.choice == kRename || view.choice == kReplace || view.choice == kCopy ||
           view.choice == kCopyWithTable;
}

bool LoadDefinition(TMainDoc* doc, int16_t id, std::vector<uint8_t>* out)
{
    ParseResFile current(doc);
    platform::Handle h = xget1res(kDefinition, id);
    if (!h) return false;
    const auto* p = reinterpret_cast<const uint8_t*>(*h);
    out->assign(p, p + platform::GetHandleSize(h));
    return FieldCount(*out) >= 0;
}

TObjQz* MemberAt(TObjQz* table, int32_t k)
{
    return table && table->members && k >= 1 && k <= table->members->Size() ? table->members->At(k - 1) : nullptr;
}

// Entry `k` of the destination's definition bound to the destination's
// objects, from entry `srcK` of the source's: its relation and its choice
// list; a subtable links its own entries.
struct EntryLinker {
    TFileObjQz* table;  // the destination's
    TFileObjQz* source;
    C_ListRec* conflicts;
    std::vector<uint8_t>* def;
    const std::vector<uint8_t>* srcDef;

    int16_t Link(int32_t k, int32_t srcK)
    {
        uint8_t* e = &(*def)[EntryAt(k)];
        const size_t srcEntry = EntryAt(srcK);
        if (e[kTypeAt] == kSubtableType) {
            TObjQz* sub = MemberAt(table, k);
            TObjQz* srcSub = MemberAt(source, srcK);
            return sub && srcSub && sub->kind == 29 && srcSub->kind == 29 ? sub->Parse_Link(srcSub, conflicts) : 0;
        }
        TObjQz* field = MemberAt(table, k);
        int16_t err = 0;
        if (S16(*srcDef, srcEntry + kRelTableAt) != 0) {
            const ByteView view{srcDef->data(), srcDef->size()};
            TObjQz* related = EntryRelatedField(source, view, srcEntry);
            TObjQz* target = nullptr;
            ChampOper there;
            if (related) GetDestRub(conflicts, source->owner, table->owner, related, &target, &there);
            if (!target || there.depth > kMaxPathDepth) there = ChampOper{};
            Put16(*def, EntryAt(k) + kRelTableAt, there.table);
            Put16(*def, EntryAt(k) + kRelFieldAt, there.field);
            Put16(*def, EntryAt(k) + kDepthAt, there.depth);
            for (int32_t l = 1; l <= kMaxPathDepth; ++l)
                Put16(*def, EntryAt(k) + kPathAt + size_t(l - 1) * 2, l <= there.depth ? there.path[l] : 0);
            if (target) {
                err = XRef(table, target);
                if (err == 0 && target->GetOwnerObj()) err = XRef(table, target->GetOwnerObj());
                if (err == 0 && field) err = XRef(field, target);
            }
        }
        const int16_t srcList = S16(*srcDef, srcEntry + kListAt);
        if (err == 0 && srcList != -1) {
            TObjQz* list = nullptr;
            GetDestObj(conflicts, source->owner, table->owner, SearchObj_Id(source->owner, 4, srcList), &list);
            // A list copied with the field (MoveCrit) is the one it uses.
            const int16_t now = S16(*def, EntryAt(k) + kListAt);
            if (!list && field && field->uses)
                for (int32_t i = 0; i < field->uses->Size() && !list; ++i)
                    if (field->uses->At(i)->kind == 4 && field->uses->At(i)->id == now) list = field->uses->At(i);
            Put16(*def, EntryAt(k) + kListAt, list ? list->id : int16_t(-1));
            if (list) {
                err = XRef(table, list);
                if (err == 0 && field) err = XRef(field, list);
            }
        }
        return err;
    }
};

// Entries `from` to `to` of the table's definition linked from the source's
// entries `srcFrom` on; written back and committed.
int16_t LinkEntries(TFileObjQz* table, TFileObjQz* source, C_ListRec* conflicts, int32_t from, int32_t to, int32_t srcFrom)
{
    std::vector<uint8_t> def, srcDef;
    if (!LoadDefinition(table->owner, table->id, &def) || !LoadDefinition(source->owner, source->id, &srcDef)) return 0;
    const int32_t count = FieldCount(def), srcCount = FieldCount(srcDef);
    EntryLinker linker{table, source, conflicts, &def, &srcDef};
    int16_t err = 0;
    for (int32_t k = from; k <= std::min(to, count) && err == 0; ++k) {
        const int32_t srcK = srcFrom + (k - from);
        if (srcK > srcCount) break;
        err = linker.Link(k, srcK);
    }
    if (err != 0) return err;
    ParseResFile current(table->owner);
    platform::Handle h = xget1res(kDefinition, table->id);
    if (!h || size_t(platform::GetHandleSize(h)) != def.size()) return kResourceMissing;
    std::memcpy(*h, def.data(), def.size());
    if (!xwriteres(h) || !updateresNoMap(table->owner->fResFile)) return reserr ? reserr : platform::ioErr;
    // The date the write gave it, as a read finds it.
    table->resTime = xgetrestimestamp(h);
    table->resSize = uint32_t(def.size());
    return 0;
}

int16_t ProgressAndCancel(TObjQz* obj, TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj)
{
    *newObj = nullptr;
    if (const int16_t stop = caution()) return stop;
    return obj->TObjQz::Move(doc, conflicts, newObj);
}

// A field or subtable copied into the destination table its table's
// record names (not the table's own copy, which holds it already).
int16_t MoveIntoDestTable(TObjQz* obj, TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj, int16_t copyChoice)
{
    TConflict* record = C_SearchInChain(conflicts, obj);
    ConflictView view, tableView;
    TObjQz* destTable = DestTableOf(conflicts, obj, &tableView);
    if (!destTable || !GetConflictView(record, &view) || view.choice != copyChoice) return 0;
    if (tableView.choice == kRename || tableView.choice == kReplace || tableView.choice == kCopy) return 0;
    const int16_t err = MoveCrit(obj->owner, doc, obj, destTable, newObj);
    if (err == 0 && *newObj) {
        destTable->MajRefLevel();
        SetConflictDest(record, *newObj);
    }
    return err;
}

}  // namespace

bool TFileObjQz::IsInDoc(TMainDoc* doc) { return kind == 1 && SearchEqualFile(doc, this) != nullptr; }

int16_t TFileObjQz::Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    (void)list;
    if (kind != 1) return 0;
    TObjQz* equal = SearchEqualFile(doc, this);
    TObjQz* namesake = equal ? equal : SearchObj_Name(doc, 1, name);
    const int16_t code = equal ? 1 : namesake ? 2 : 0;
    TConflict* record = nullptr;
    if (const int16_t err = RecordConflict(this, namesake, code, code ? Cc_Dflt(code) : kCopy, conflicts, &record))
        return err;
    return ChainMembers(record, this);
}

int16_t TFileObjQz::Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    if (kind == 29) {
        TObjQz* table = ownerObj;
        if (!table) return 0;
        if (const int16_t err = table->Indir_Conflicts(doc, conflicts, list)) return err;
        TConflict* parent = C_SearchInChain(conflicts, table);
        TConflict* chained = nullptr;
        if (const int16_t err = ChainConflict(parent, this, 101, &chained)) return err;
        C_Update(chained, parent, true);
        return 0;
    }
    if (IsInC_List(conflicts, this) || C_SearchInChain(conflicts, this) || IsInList(list, this)) return 0;
    TObjQz* equal = SearchEqualFile(doc, this);
    const int16_t code = equal ? 101 : SearchTableNumbered(doc->fTypeList, 1) ? 102 : 103;
    TConflict* out = nullptr;
    return RecordConflict(this, equal, code, Cc_Dflt(code), conflicts, &out);
}

int16_t TFileObjQz::DoInDir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    if (const int16_t err = TObjQz::DoInDir_Conflicts(doc, conflicts, list)) return err;
    return method ? method->DoInDir_Conflicts(doc, conflicts, list) : 0;
}

int16_t TFileObjQz::Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj)
{
    *newObj = nullptr;
    if (G_ModuleUpdate == 4 && TstFlag(kFlagInComponent)) return 0;
    if (const int16_t stop = ProgressAndCancel(this, doc, conflicts, newObj)) return stop;
    if (kind == 29) return MoveIntoDestTable(this, doc, conflicts, newObj, kCopy);
    TConflict* record = C_SearchInChain(conflicts, this);
    ConflictView view;
    const bool recorded = GetConflictView(record, &view);
    const int16_t choice = recorded ? view.choice : kCopy;
    int16_t result = 0;
    if (choice == kRename || choice == kCopy) {
        // A table's name is its own in the destination.
        unsigned char free[256];
        FreeObjName(doc, 1, choice == kRename && view.newName[0] ? view.newName : name, free);
        result = MoveQzFile(owner, doc, this, newObj, free);
        if (result == 0 && *newObj && !recorded) result = RecordC_Ref(this, *newObj, conflicts);
    } else if (choice == kReplace && view.destination) {
        TObjQz* target = view.destination;
        result = ReplaceFile(owner, doc, this, &target);
        if (result == 0) *newObj = target;
    }
    if (result != 0 || !*newObj) return result;
    if (recorded) SetConflictDest(record, *newObj);
    if (const int16_t err = ChainCrit(conflicts, this, *newObj)) return err;
    return MoveDoc(*newObj);
}

int16_t TFileObjQz::Parse_Link(TObjQz* src, C_ListRec* conflicts)
{
    ParseResFile current(owner);
    if (ParseCancelled()) return kCancelledByUser;
    ShowProgress(7);
    auto* source = dynamic_cast<TFileObjQz*>(src);
    // A table the transfer only links to keeps its definition.
    if (!source || (kind == 1 && !IsCopyOf(conflicts, src))) return 0;
    if (method && source->method)
        if (const int16_t err = method->Parse_Link(source->method, conflicts)) return err;
    return LinkEntries(this, source, conflicts, 1, kMaxFields, 1);
}

int16_t TCritObjQz::Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj)
{
    *newObj = nullptr;
    if (G_ModuleUpdate == 4 && TstFlag(kFlagInComponent)) return 0;
    if (const int16_t stop = ProgressAndCancel(this, doc, conflicts, newObj)) return stop;
    const int16_t err = MoveIntoDestTable(this, doc, conflicts, newObj, kCopyWithTable);
    return err == 0 && *newObj ? MoveDoc(*newObj) : err;
}

int16_t TCritObjQz::Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    TObjQz* table = ownerObj;
    if (!table) return 0;
    if (const int16_t err = table->Indir_Conflicts(doc, conflicts, list)) return err;
    TConflict* parent = C_SearchInChain(conflicts, table);
    TConflict* chained = nullptr;
    if (const int16_t err = ChainConflict(parent, this, 104, &chained)) return err;
    C_Update(chained, parent, true);
    return 0;
}

int16_t TCritObjQz::Parse_Link(TObjQz* src, C_ListRec* conflicts)
{
    ParseResFile current(owner);
    if (ParseCancelled()) return kCancelledByUser;
    ShowProgress(7);
    auto* table = dynamic_cast<TFileObjQz*>(ownerObj);
    auto* srcField = dynamic_cast<TCritObjQz*>(src);
    auto* srcTable = srcField ? dynamic_cast<TFileObjQz*>(srcField->ownerObj) : nullptr;
    if (!table || !srcTable) return 0;
    return LinkEntries(table, srcTable, conflicts, fieldNumber, fieldNumber, srcField->fieldNumber);
}

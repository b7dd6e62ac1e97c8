#include "transfer/links/DestLookups.h"

#include <vector>

#include "app/documents/MainDoc.h"
#include "design/objects/ObjKinds.h"
#include "transfer/conflicts/Conflicts.h"

namespace transfer {

namespace {

bool IsFieldLike(const TObjQz* obj) { return obj && (obj->kind == 28 || obj->kind == 29); }

int16_t PlaceOf(TObjQz* obj)
{
    if (auto* field = dynamic_cast<TCritObjQz*>(obj)) return field->fieldNumber;
    if (auto* sub = dynamic_cast<TFileObjQz*>(obj)) return sub->fieldNumber;
    return 0;
}

TObjQz* RecordDest(C_ListHdl list, TObjQz* obj)
{
    TConflict* record = C_SearchInChain(list, obj);
    return record ? record->fDest : nullptr;
}

// The routine of `package` that stands for `routine`: the one of its
// number when it bears its name (names may repeat), else the first of its
// name. A package met in the destination may list its routines in another
// order; none of the name gives none.
TObjQz* NamesakeRoutine(TObjQz* package, TObjQz* routine)
{
    ObjListHdl members = package ? package->members : nullptr;
    TObjQz* named = nullptr;
    for (int32_t i = 0; members && i < members->Size(); ++i) {
        TObjQz* m = members->At(i);
        if (!ObjNamed(m, routine->name)) continue;
        if (m->id == routine->id) return m;
        if (!named) named = m;
    }
    return named;
}

// The entries `table` owns directly, in the order of the table list.
std::vector<TObjQz*> Owned(TObjQz* table)
{
    std::vector<TObjQz*> out;
    ObjListHdl list = table && table->owner && table->owner->fTypeList ? table->owner->fTypeList->lists[0] : nullptr;
    int32_t at = 0;
    while (list && at < list->Size() && list->At(at) != table) ++at;
    for (++at; list && at < list->Size() && list->At(at)->kind != 1; ++at)
        if (list->At(at)->GetOwnerObj() == table) out.push_back(list->At(at));
    return out;
}

TObjQz* Search(TMainDoc* dest, const ChampOper& op)
{
    return dest && dest->fTypeList && op.field > 0 ? SearchCritObj(nullptr, dest->fTypeList, op) : nullptr;
}

}  // namespace

ChampOper MyGetChamp(TObjQz* obj)
{
    ChampOper op;
    std::vector<int16_t> places;
    TObjQz* at = obj;
    while (IsFieldLike(at) && at->GetOwnerObj()) {
        places.push_back(PlaceOf(at));
        at = at->GetOwnerObj();
    }
    auto* table = dynamic_cast<TFileObjQz*>(at);
    if (places.empty() || !table || table->kind != 1 || int32_t(places.size()) > ChampOper::kMaxDepth + 1)
        return ChampOper{};
    op.table = table->tableNumber;
    op.field = places.back();
    op.depth = int16_t(places.size() - 1);
    for (int32_t l = 1; l <= op.depth; ++l) op.path[l] = places[places.size() - 1 - size_t(l)];
    return op;
}

int16_t GetDestObj(C_ListHdl list, TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** out)
{
    (void)source, (void)dest;
    *out = list && obj ? RecordDest(list, obj) : nullptr;
    // A package's routine is its namesake in its package's counterpart.
    if (!*out && obj && obj->kind == 7 && obj->GetOwnerObj() && obj->GetOwnerObj()->kind == 7)
        *out = NamesakeRoutine(RecordDest(list, obj->GetOwnerObj()), obj);
    return 0;
}

int16_t GetDestForm(C_ListHdl list, TMainDoc* source, TMainDoc* dest, TObjQz* form, TObjQz** out)
{
    GetDestObj(list, source, dest, form, out);
    if (*out || !form) return 0;
    TObjQz* table = form->GetOwnerObj();
    TObjQz* destTable = nullptr;
    if (table && table->kind == 1) {
        GetDestObj(list, source, dest, table, &destTable);
    } else if (table && table->kind == 29) {
        ChampOper op;
        GetDestRub(list, source, dest, table, &destTable, &op);
    }
    auto* t = dynamic_cast<TFileObjQz*>(destTable);
    *out = t ? SearchListObj_Name(t->forms, form->name) : nullptr;
    return 0;
}

int16_t GetDestRub(C_ListHdl list, TMainDoc* source, TMainDoc* dest, TObjQz* obj, TObjQz** out,
                   ChampOper* designation)
{
    *out = nullptr;
    *designation = ChampOper{};
    if (!obj) return 0;
    if (obj->kind == 28) {
        if (TObjQz* own = RecordDest(list, obj)) {
            *out = own;
            *designation = MyGetChamp(own);
            return 0;
        }
        TObjQz* table = obj->GetOwnerObj();
        TObjQz* destTable = nullptr;
        ChampOper op;
        if (table && table->kind == 1) {
            GetDestObj(list, source, dest, table, &destTable);
            if (auto* t = dynamic_cast<TFileObjQz*>(destTable)) op.table = t->tableNumber;
        } else if (IsFieldLike(table)) {
            GetDestRub(list, source, dest, table, &destTable, &op);
        }
        if (!destTable || op.table == 0 || op.depth >= ChampOper::kMaxDepth) return 0;
        if (table->kind == 1) {
            op.field = PlaceOf(obj);
        } else {
            op.depth = int16_t(op.depth + 1);
            op.path[op.depth] = PlaceOf(obj);
        }
        if ((*out = Search(dest, op))) *designation = op;
        return 0;
    }
    if (obj->kind != 1 && obj->kind != 29) return 0;
    GetDestObj(list, source, dest, obj, out);
    if (*out) {
        auto* t = dynamic_cast<TFileObjQz*>(*out);
        if ((*out)->kind == 29) *designation = MyGetChamp(*out);
        else if (t) designation->table = t->tableNumber;
        return 0;
    }
    if (TConflict* chained = C_SearchInChain(list, obj); chained && chained->fDest) {
        *out = chained->fDest;
        *designation = MyGetChamp(*out);
        return 0;
    }
    // The source's own place under the destination of its main table.
    ChampOper op = MyGetChamp(obj);
    TObjQz* main = obj;
    while (main && main->kind != 1) main = main->GetOwnerObj();
    TObjQz* destMain = nullptr;
    if (main) GetDestObj(list, source, dest, main, &destMain);
    auto* t = dynamic_cast<TFileObjQz*>(destMain);
    if (!t || obj->kind == 1) return 0;
    op.table = t->tableNumber;
    if ((*out = Search(dest, op))) *designation = op;
    return 0;
}

int16_t ChainCrit(C_ListHdl list, TObjQz* sourceTable, TObjQz* destTable)
{
    const std::vector<TObjQz*> from = Owned(sourceTable), to = Owned(destTable);
    for (size_t i = 0; i < from.size() && i < to.size(); ++i) {
        TConflict* record = C_SearchInChain(list, from[i]);
        if (!record) continue;
        record->fDest = to[i];
        if (from[i]->kind == 29 && to[i]->kind == 29) ChainCrit(list, from[i], to[i]);
    }
    return 0;
}

}  // namespace transfer

// Tables, subtables and fields in the table list: each table is followed by
// its fields and subtables in reading order, and each of those names its
// owner.
#include <cstring>
#include <new>
#include <unordered_map>

#include "app/documents/MainDoc.h"
#include "app/dialogs/Messages.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"

namespace {

ObjListHdl TableList(TypeListHdl typeList) { return typeList ? typeList->lists[0] : nullptr; }

int16_t TableNumber(TObjQz* obj)
{
    auto* table = dynamic_cast<TFileObjQz*>(obj);
    return table ? table->tableNumber : 0;
}

// 0-based index of obj in the list, -1 when absent.
int32_t ScanIndexOf(ObjListHdl list, TObjQz* obj)
{
    for (int32_t i = 0; list && i < list->Size(); ++i)
        if (list->At(i) == obj) return i;
    return -1;
}

int32_t ScanTable(ObjListHdl list, int16_t number)
{
    for (int32_t i = 0; list && i < list->Size(); ++i)
        if (list->At(i)->kind == 1 && TableNumber(list->At(i)) == number) return i;
    return -1;
}

// Where each object and each table number first stands in the table list,
// kept while the list has the same entries and count. Reading a large
// structure looks up a table for every field reference of every method and
// form: a scan of the whole list each time made the read grow with the
// square of the structure. The places are gathered once a list has served
// a few look-ups unchanged (a list that changes between look-ups is
// scanned, as gathering would cost more), and a remembered place is used
// only when the entry there is still the one asked for.
struct TablePlaces {
    ObjListHdl list = nullptr;
    TObjQz** entries = nullptr;
    int32_t count = -1;
    int32_t lookups = 0;
    bool gathered = false;
    std::unordered_map<const TObjQz*, int32_t> objects;
    std::unordered_map<int16_t, int32_t> tables;
};

constexpr int32_t kLookupsBeforeGathering = 8;

TablePlaces gPlaces;

// The places of `list`, null while they are not worth gathering or there
// is no memory for them.
TablePlaces* PlacesOf(ObjListHdl list)
{
    TablePlaces& p = gPlaces;
    if (p.list != list || p.entries != list->entries || p.count != list->count) {
        p.list = list;
        p.entries = list->entries;
        p.count = list->count;
        p.lookups = 0;
        p.gathered = false;
        p.objects.clear();
        p.tables.clear();
    }
    if (p.gathered) return &p;
    if (++p.lookups < kLookupsBeforeGathering) return nullptr;
    try {
        for (int32_t i = 0; i < list->Size(); ++i) {
            TObjQz* e = list->At(i);
            p.objects.emplace(e, i);
            if (e->kind == 1) p.tables.emplace(TableNumber(e), i);
        }
    } catch (const std::bad_alloc&) {
        p.objects.clear();
        p.tables.clear();
        p.lookups = 0;
        return nullptr;
    }
    p.gathered = true;
    return &p;
}

int32_t IndexOf(ObjListHdl list, TObjQz* obj)
{
    if (!list) return -1;
    if (TablePlaces* p = PlacesOf(list)) {
        const auto found = p->objects.find(obj);
        if (found != p->objects.end() && found->second < list->Size() && list->At(found->second) == obj)
            return found->second;
    }
    return ScanIndexOf(list, obj);
}

int32_t FindTable(ObjListHdl list, TObjQz* given, int16_t number)
{
    if (number == 0) return IndexOf(list, given);
    if (!list) return -1;
    if (TablePlaces* p = PlacesOf(list)) {
        const auto found = p->tables.find(number);
        if (found != p->tables.end() && found->second < list->Size()) {
            TObjQz* e = list->At(found->second);
            if (e->kind == 1 && TableNumber(e) == number) return found->second;
        }
    }
    return ScanTable(list, number);
}

// From `at`, `times` steps forward to the next entry owned by the entry at
// `ownerAt`; -1 off the end. Zero steps stay put.
int32_t WalkOwned(ObjListHdl list, int32_t at, int32_t ownerAt, int32_t times)
{
    TObjQz* owner = list->At(ownerAt);
    for (int32_t n = 0; n < times; ++n) {
        do {
            if (++at >= list->Size()) return -1;
        } while (list->At(at)->GetOwnerObj() != owner);
    }
    return at;
}

// The index of each step of the walk: [0] the table, [1] the field, then
// one per level. False when a step fails.
bool Walk(ObjListHdl list, TObjQz* table, const ChampOper& op, int32_t* steps)
{
    if (!list || op.depth < 0 || op.depth > ChampOper::kMaxDepth || op.field < 1) return false;
    int32_t at = FindTable(list, table, op.table);
    if (at < 0) return false;
    steps[0] = at;
    at = WalkOwned(list, at, at, op.field);
    if (at < 0) return false;
    steps[1] = at;
    for (int32_t l = 1; l <= op.depth; ++l) {
        if (op.path[l] < 1) return false;
        at = WalkOwned(list, at, at, op.path[l]);
        if (at < 0) return false;
        steps[l + 1] = at;
    }
    return true;
}

}  // namespace

TObjQz* SearchCritObj(TObjQz* table, TypeListHdl typeList, const ChampOper& op)
{
    ObjListHdl list = TableList(typeList);
    int32_t steps[ChampOper::kMaxDepth + 2];
    if (!Walk(list, table, op, steps)) return nullptr;
    return list->At(steps[op.depth + 1]);
}

TObjQz* SearchTableNumbered(TypeListHdl typeList, int16_t number)
{
    ObjListHdl list = TableList(typeList);
    if (!list || number == 0) return nullptr;
    const int32_t at = FindTable(list, nullptr, number);
    return at < 0 ? nullptr : list->At(at);
}

void GetCritName(unsigned char* out, TObjQz* table, TypeListHdl typeList, const ChampOper& op)
{
    out[0] = 0;
    ObjListHdl list = TableList(typeList);
    if (!list) return;
    unsigned char part[256];
    int32_t at = FindTable(list, table, op.table);
    if (at < 0) return;
    if (op.table != 0) {
        MyGetIndString(part, 104, 2);
        PAppend(out, part);
        PAppend(out, list->At(at)->name);
        MyGetIndString(part, 104, 3);
        PAppend(out, part);
    }
    if (op.field == 0) return;
    int32_t steps[ChampOper::kMaxDepth + 2];
    if (!Walk(list, table, op, steps)) {
        out[0] = 0;
        return;
    }
    PAppend(out, list->At(steps[1])->name);
    MyGetIndString(part, 104, 6);
    for (int32_t l = 1; l <= op.depth; ++l) {
        PAppend(out, part);
        PAppend(out, list->At(steps[l + 1])->name);
    }
}

TObjQz* SearchFullNamedFileObj(TMainDoc* doc, const unsigned char* text)
{
    if (!doc || !doc->fTypeList || text[0] == 0) return nullptr;
    unsigned char left[256], right[256], name[256];
    MyGetIndString(left, 104, 2);
    MyGetIndString(right, 104, 3);
    if (left[0] == 0 || right[0] == 0 || text[1] != left[1]) return nullptr;
    int32_t i = 2;
    name[0] = 0;
    while (i <= text[0] && text[i] != right[1]) PAppendChar(name, char(text[i++]));
    ObjListHdl list = TableList(doc->fTypeList);
    TObjQz* table = SearchNamedFileObj(doc, name);
    if (!table) return nullptr;
    i += 2;  // the closing bracket and the character after it
    if (i > text[0]) return table;
    int32_t at = IndexOf(list, table);
    TObjQz* found = nullptr;
    while (i <= text[0]) {
        name[0] = 0;
        while (i <= text[0] && text[i] != '.') PAppendChar(name, char(text[i++]));
        ++i;
        found = nullptr;
        while (++at < list->Size() && list->At(at)->kind != 1) {
            TObjQz* e = list->At(at);
            if (e->kind == 29 && rel2str(e->name, name) == kEqual) {
                found = e;
                break;
            }
        }
        if (!found) return nullptr;
    }
    return found;
}

namespace {

TObjQz* ConstructCrit(int16_t kind)
{
    if (kind == 29) {
        // Subtables are tables of their own.
        TObjQz* obj = ConstructObjOfKind(1);
        return obj;
    }
    if (kind == 1 || kind == 28) return ConstructObjOfKind(kind);
    return ConstructObjOfKind(0);
}

}  // namespace

TObjQz* NewCritObj(TMainDoc* doc, int16_t kind, const unsigned char* name, int16_t id)
{
    if (!doc) return nullptr;
    ObjListHdl list = GetObjListe(doc->fTypeList, 1);
    if (!list) return nullptr;
    TObjQz* obj = ConstructCrit(kind);
    if (!obj) return nullptr;
    obj->kind = kind;
    obj->init(doc, name, id);
    if (AddObjList(&doc->fTypeList->lists[0], obj) != 0) {
        DestroyObj(obj);
        return nullptr;
    }
    return obj;
}

TObjQz* AddCritObj(TMainDoc* doc, const unsigned char* name, const ChampOper& op, int16_t kind, int16_t id)
{
    if (!doc) return nullptr;
    ObjListHdl list = GetObjListe(doc->fTypeList, 1);
    if (!list || op.depth < 0 || op.depth > ChampOper::kMaxDepth) return nullptr;
    int32_t insertAt = 0;
    TObjQz* owner = nullptr;
    if (op.table != 0) {
        const int32_t tableAt = FindTable(list, nullptr, op.table);
        if (tableAt < 0) return nullptr;
        // Down the levels to the table or subtable that gets the object;
        // then over the entries before its place.
        int32_t ownerAt = tableAt, at = tableAt;
        int32_t count = op.field;
        for (int32_t l = 1; l <= op.depth; ++l) {
            at = WalkOwned(list, ownerAt, ownerAt, count);
            if (at < 0) return nullptr;
            ownerAt = at;
            count = op.path[l];
        }
        if (count < 1) return nullptr;
        at = WalkOwned(list, ownerAt, ownerAt, count - 1);
        if (at < 0) return nullptr;
        insertAt = at + 1;
        owner = list->At(ownerAt);
    }
    TObjQz* obj = ConstructCrit(kind);
    if (!obj) return nullptr;
    obj->kind = kind;
    obj->init(doc, name, kind == 28 ? (op.depth > 0 ? op.path[op.depth] : op.field) : id);
    if (auto* s = dynamic_cast<TStructObjQz*>(obj)) s->ownerObj = owner;
    if (AddSortedObjList(&doc->fTypeList->lists[0], obj, insertAt) != 0) {
        DestroyObj(obj);
        return nullptr;
    }
    return obj;
}

// Look-ups by id, name, resource and variable scope.
#include <cstring>

#include "app/documents/MainDoc.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ListIndexes.h"
#include "design/objects/ObjKinds.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"

namespace {

ObjListHdl ListOf(TMainDoc* doc, int16_t kind)
{
    if (!doc || !doc->fTypeList) return nullptr;
    if (kind > 23 && kind != 32 && kind != 33) return nullptr;
    const int16_t k = ListKindOf(kind);
    return k ? doc->fTypeList->lists[k - 1] : nullptr;
}

// Identical names are equal under every collation; only others are compared.
bool SameName(TObjQz* obj, const unsigned char* name)
{
    if (obj->name[0] == name[0] && std::memcmp(obj->name + 1, name + 1, name[0]) == 0) return true;
    return rel2str(obj->name, name) == kEqual;
}

// The entries next to the 1-based place `from` going by `step` (-1 or +1)
// that are named `name` reach up to the place this answers (`from` itself
// when the next one is not). The list is kept sorted by name, so the run
// is measured by doubling strides, then halving ones: resource objects,
// named by their type, make runs of thousands.
int32_t RunEnd(ObjListHdl list, const unsigned char* name, int32_t from, int32_t step)
{
    auto inside = [&](int32_t p) { return p >= 1 && p <= list->Size(); };
    int32_t reached = from, stride = 1;
    while (inside(reached + step * stride) && SameName(list->At(reached + step * stride - 1), name)) {
        reached += step * stride;
        stride *= 2;
    }
    for (stride /= 2; stride >= 1; stride /= 2)
        if (inside(reached + step * stride) && SameName(list->At(reached + step * stride - 1), name))
            reached += step * stride;
    return reached;
}

}  // namespace

TObjQz* SearchInd_Obj(ObjListHdl list, const unsigned char* name, int32_t* pos)
{
    *pos = 1;
    if (!list) return nullptr;
    int32_t lo = 0, hi = list->count, mid = 0;
    bool after = true;
    while (hi - lo > 1) {
        mid = (lo + hi) / 2;
        const int16_t r = rel2str(name, list->At(mid - 1)->name);
        if (r == kEqual) {
            *pos = mid;
            return list->At(mid - 1);
        }
        after = r == kGreater;
        if (after)
            lo = mid;
        else
            hi = mid;
    }
    *pos = after ? mid + 1 : mid;
    return nullptr;
}

TObjQz* SearchInd_IdObj(ObjListHdl list, int16_t id, int32_t* pos)
{
    *pos = 1;
    if (!list) return nullptr;
    int32_t lo = 0, hi = list->count, mid = 0;
    bool after = true;
    while (hi - lo > 1) {
        mid = (lo + hi) / 2;
        const int16_t entry = list->At(mid - 1)->id;
        if (id == entry) {
            *pos = mid;
            return list->At(mid - 1);
        }
        after = id > entry;
        if (after)
            lo = mid;
        else
            hi = mid;
    }
    *pos = after ? mid + 1 : mid;
    return nullptr;
}

TObjQz* Search_With_ResId(ObjListHdl list, const unsigned char* name, int32_t* pos, int16_t id)
{
    if (!list || *pos < 1 || *pos > list->Size()) return nullptr;
    TObjQz* at = list->At(*pos - 1);
    if (id == -1 || at->id == id) return at;
    // The same-named entries before pos, backwards, then those after it.
    const int32_t first = RunEnd(list, name, *pos, -1);
    for (int32_t p = *pos - 1; p >= first; --p)
        if (list->At(p - 1)->id == id) {
            *pos = p;
            return list->At(p - 1);
        }
    const int32_t last = RunEnd(list, name, *pos, 1);
    for (int32_t p = *pos + 1; p <= last; ++p)
        if (list->At(p - 1)->id == id) {
            *pos = p;
            return list->At(p - 1);
        }
    return nullptr;
}

TObjQz* SearchTableName(ObjListHdl list, const unsigned char* name, int32_t* pos)
{
    *pos = 1;
    if (!list) return nullptr;
    // The tables are a few hundred among tens of thousands of fields.
    int32_t tables = 0;
    if (const int32_t* at = listindex::TablePlaces(list, &tables)) {
        for (int32_t i = 0; i < tables; ++i)
            if (SameName(list->At(at[i]), name)) return list->At(at[i]);
        return nullptr;
    }
    for (int32_t i = 0; i < list->Size(); ++i)
        if (list->At(i)->kind == 1 && SameName(list->At(i), name)) return list->At(i);
    return nullptr;
}

TObjQz* SearchListObj_Id(ObjListHdl list, int16_t id)
{
    if (!list) return nullptr;
    int32_t at = -1;
    if (listindex::FirstWithId(list, id, &at)) return at < 0 ? nullptr : list->At(at);
    for (int32_t i = 0; i < list->Size(); ++i)
        if (list->At(i)->id == id) return list->At(i);
    return nullptr;
}

TObjQz* SearchObj_Id(TMainDoc* doc, int16_t kind, int16_t id) { return SearchListObj_Id(ListOf(doc, kind), id); }

TObjQz* SearchListObj_Name(ObjListHdl list, const unsigned char* name)
{
    ObjName cut;
    CopyObjName(cut, name);
    int32_t pos = 0;
    return SearchInd_Obj(list, cut, &pos);
}

TObjQz* SearchObj_Name(TMainDoc* doc, int16_t kind, const unsigned char* name)
{
    ObjListHdl list = ListOf(doc, kind);
    if (!list) return nullptr;
    if (kind == 1) {
        int32_t pos = 0;
        return SearchTableName(list, name, &pos);
    }
    // Commands are kept in the order of their numbers: a walk finds them.
    if (kind == 3) {
        for (int32_t i = 0; i < list->Size(); ++i)
            if (SameName(list->At(i), name)) return list->At(i);
        return nullptr;
    }
    return SearchListObj_Name(list, name);
}

TObjQz* Search_GlobVar(TMainDoc* doc, const unsigned char* name) { return SearchObj_Name(doc, 9, name); }
TObjQz* Search_GlobGlobVar(TMainDoc* doc, const unsigned char* name) { return SearchObj_Name(doc, 9, name); }

TObjQz* Search_LocalVar(TObjQz* method, const unsigned char* name)
{
    if (!method) return nullptr;
    switch (method->kind) {
    case 2: case 16: case 25: case 26: case 27:
        return SearchListObj_Name(static_cast<TGnlProcObjQz*>(method)->locals, name);
    default: return nullptr;
    }
}

TObjQz* Search_GnlObj(TMainDoc* doc, int16_t kind, TObjQz* method, const unsigned char* name, int16_t scope)
{
    if (kind != 9) return SearchObj_Name(doc, kind, name);
    if (scope == 1) return Search_GlobVar(doc, name);
    if (scope == 2) return Search_GlobGlobVar(doc, name);
    return Search_LocalVar(method, name);
}

TObjQz* Search_Package(TMainDoc* doc, const unsigned char* name)
{
    ObjListHdl list = ListOf(doc, 7);
    if (!list) return nullptr;
    for (int32_t i = 0; i < list->Size(); ++i)
        if (SameName(list->At(i), name)) return list->At(i);
    return nullptr;
}

TObjQz* SearchNamedFileObj(TMainDoc* doc, const unsigned char* name)
{
    int32_t pos = 0;
    return SearchTableName(ListOf(doc, 1), name, &pos);
}

bool ObjNamed(TObjQz* obj, const unsigned char* name) { return SameName(obj, name); }

TObjQz* SearchNamedFieldObj(ObjListHdl list, const unsigned char* name)
{
    if (!list) return nullptr;
    for (int32_t i = 0; i < list->Size(); ++i)
        if (SameName(list->At(i), name)) return list->At(i);
    return nullptr;
}

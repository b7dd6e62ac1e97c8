// The factory: one object per kind, name and id, made at its sorted place.
#include "design/objects/ObjFactory.h"

#include <cstring>
#include <new>

#include "app/documents/MainDoc.h"
#include "design/objects/ObjBlocks.h"
#include "design/objects/ObjKinds.h"
#include "kernel/collation/CollationGlobals.h"
#include "kernel/collation/Compare.h"

namespace {

template <class T>
TObjQz* Make()
{
    void* block = NewObjBlock(sizeof(T));
    return block ? new (block) T : nullptr;
}

}  // namespace

TObjQz* ConstructObjOfKind(int16_t kind)
{
    switch (kind) {
    case 1: return Make<TFileObjQz>();
    case 2: return Make<TProcObjQz>();
    case 3: return Make<TCmdObjQz>();
    case 4: return Make<TListObjQz>();
    case 5: return Make<TMBarObjQz>();
    case 6: return Make<TMenuObjQz>();
    case 7: return Make<TPackagesObjQz>();
    case 8: return Make<TExternalObjQz>();
    case 9: return Make<TVarObjQz>();
    case 10: return Make<TFieldBalloonObjQz>();
    case 11: return Make<TSTRObjQz>();
    case 12: return Make<TStyleObjQz>();
    case 13: return Make<TSetObjQz>();
    case 14: return Make<TSelectObjQz>();
    case 15: return Make<TSemaphObjQz>();
    case 16: return Make<TDBMethodObjQz>();
    case 17: return Make<TConstantObjQz>();
    case 18: return Make<TPictObjQz>();
    case 19: return Make<TStyleSheetObjQz>();
    case 20: return Make<TResourceObjQz>();
    case 21: return Make<TListboxObjQz>();
    case 23: return Make<TGroupObjQz>();
    case 24: return Make<TLayoutObjQz>();
    case 25: return Make<TScriptObjQz>();
    case 26: return Make<TFileProcObjQz>();
    case 27: return Make<TLayOutProcObjQz>();
    case 28: return Make<TCritObjQz>();
    case 30: return Make<TFileBalloonObjQz>();
    case 32: return Make<TModuleObjQz>();
    case 33: return Make<TModuleGroupObjQz>();
    default: return Make<TObjQz>();
    }
}

void DestroyObj(TObjQz* obj)
{
    if (!obj) return;
    obj->~TObjQz();
    DisposeObjBlock(obj);
}

namespace {

// A new object of that kind, name and id put at the 1-based place `pos` of
// the list; null when memory is short.
TObjQz* MakeAt(TMainDoc* doc, ObjListHdl* list, int16_t kind, const unsigned char* name, int16_t id, int32_t pos)
{
    TObjQz* obj = ConstructObjOfKind(kind);
    if (!obj) return nullptr;
    obj->kind = kind;
    obj->init(doc, name, id);
    if (AddSortedObjList(list, obj, pos - 1) != 0) {
        DestroyObj(obj);
        return nullptr;
    }
    return obj;
}

}  // namespace

TObjQz* NewListObj_Id(TMainDoc* doc, ObjListHdl* list, int16_t kind, const unsigned char* name, int16_t id, bool force)
{
    ObjName cut;
    CopyObjName(cut, name);
    if (!list || !*list) return nullptr;
    int32_t pos = 1;
    TObjQz* found = nullptr;
    if (kind == 3) {
        found = SearchInd_IdObj(*list, id, &pos);
    } else {
        found = SearchInd_Obj(*list, cut, &pos);
        if (found) {
            int32_t runPos = pos;
            if (TObjQz* same = Search_With_ResId(*list, cut, &runPos, id)) {
                found = same;
                pos = runPos;
            } else {
                found = nullptr;
            }
        }
    }
    if (found && !force) return found;
    TObjQz* obj = MakeAt(doc, list, kind, cut, id, pos);
    return obj ? obj : found;
}

TObjQz* NewListObj_NewId(TMainDoc* doc, ObjListHdl* list, int16_t kind, const unsigned char* name, int16_t id)
{
    ObjName cut;
    CopyObjName(cut, name);
    if (!list || !*list) return nullptr;
    int32_t pos = 1;
    SearchInd_Obj(*list, cut, &pos);
    return MakeAt(doc, list, kind, cut, id, pos);
}

namespace {

ObjListHdl Commands(TypeListHdl types) { return types ? types->lists[ListKindOf(3) - 1] : nullptr; }

}  // namespace

CommandsById::CommandsById(TypeListHdl types) : types_(types) { Shell_IdSort(Commands(types_)); }

CommandsById::~CommandsById() { ShellStrictSort(Commands(types_)); }

TObjQz* NewObj_Id(TMainDoc* doc, int16_t kind, const unsigned char* name, int16_t id, bool force)
{
    if (!doc || ListKindOf(kind) == 0 || (kind > 23 && kind != 32 && kind != 33)) return nullptr;
    ObjListHdl list = GetObjListe(doc->fTypeList, kind);
    if (!list) return nullptr;
    return NewListObj_Id(doc, &doc->fTypeList->lists[ListKindOf(kind) - 1], kind, name, id, force);
}

TObjQz* GetObj_Name(TMainDoc* doc, int16_t kind, const unsigned char* name, int16_t id)
{
    if (kind == 17) {
        // A constant is found by the part of its name before the colon.
        ObjName key;
        CopyObjName(key, name);
        for (int i = 1; i <= key[0]; ++i)
            if (key[i] == ':') {
                key[0] = uint8_t(i - 1);
                break;
            }
        if (TObjQz* obj = SearchObj_Name(doc, kind, key)) return obj;
    } else if (TObjQz* obj = SearchObj_Name(doc, kind, name)) {
        return obj;
    }
    return NewObj_Id(doc, kind, name, id, false);
}

TObjQz* Get_GlobVar(TMainDoc* doc, const unsigned char* name)
{
    TObjQz* obj = NewObj_Id(doc, 9, name, 1, false);
    if (obj) static_cast<TVarObjQz*>(obj)->method = nullptr;
    return obj;
}

TObjQz* Get_GlobGlobVar(TMainDoc* doc, const unsigned char* name)
{
    TObjQz* obj = NewObj_Id(doc, 9, name, 2, false);
    if (obj) static_cast<TVarObjQz*>(obj)->method = nullptr;
    return obj;
}

namespace {

TGnlProcObjQz* AsMethod(TObjQz* method)
{
    if (!method) return nullptr;
    switch (method->kind) {
    case 2: case 16: case 25: case 26: case 27: return static_cast<TGnlProcObjQz*>(method);
    default: return nullptr;
    }
}

}  // namespace

TObjQz* Get_LocalVar(TObjQz* method, const unsigned char* name)
{
    TGnlProcObjQz* m = AsMethod(method);
    if (!m) return nullptr;
    if (!m->locals && NewObjList(&m->locals, 10) != 0) return nullptr;
    TObjQz* obj = NewListObj_Id(m->owner, &m->locals, 9, name, m->id, false);
    if (obj) static_cast<TVarObjQz*>(obj)->method = m;
    return obj;
}

void TGnlProcObjQz::Dispose()
{
    DisposeObjList(locals);
    locals = nullptr;
    TObjQz::Dispose();
}

TObjQz* NewOwnedObj(TMainDoc* doc, int16_t kind, const unsigned char* name, int16_t id)
{
    TObjQz* obj = ConstructObjOfKind(kind);
    if (!obj) return nullptr;
    obj->kind = kind;
    obj->init(doc, name, id);
    return obj;
}

TObjQz* NewResourceObj(TMainDoc* doc, uint32_t type, int16_t id)
{
    const unsigned char name[5] = {4, uint8_t(type >> 24), uint8_t(type >> 16), uint8_t(type >> 8), uint8_t(type)};
    return NewObj_Id(doc, 20, name, id, false);
}

TObjQz* SearchResource(TMainDoc* doc, uint32_t type, int16_t id)
{
    if (!doc || !doc->fTypeList) return nullptr;
    ObjListHdl list = doc->fTypeList->lists[20 - 1];
    const unsigned char name[5] = {4, uint8_t(type >> 24), uint8_t(type >> 16), uint8_t(type >> 8), uint8_t(type)};
    int32_t pos = 0;
    if (!SearchInd_Obj(list, name, &pos)) return nullptr;
    return Search_With_ResId(list, name, &pos, id);
}

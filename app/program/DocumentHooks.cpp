// The design layer's document functions behind the application's hooks.
#include "app/program/DocumentHooks.h"

#include "app/DocHooks.h"
#include "design/ObjFactory.h"
#include "design/ObjList.h"

namespace {

void SortKind(TypeListRec* list, int16_t kind)
{
    if (ObjListHdl objects = list ? GetObjListe(list, kind) : nullptr) ShellStrictSort(objects);
}

int32_t CountKind(TypeListRec* list, int16_t kind)
{
    ObjListHdl objects = list ? GetObjListe(list, kind) : nullptr;
    return objects ? objects->Size() : 0;
}

}  // namespace

void InstallDocumentHooks()
{
    AppDocHooks& hooks = DocHooks();
    hooks.newTypeList = NewTypeList;
    hooks.disposeTypeList = DisposeTypeList;
    hooks.sortKind = SortKind;
    hooks.countKind = CountKind;
    hooks.searchObjName = SearchObj_Name;
}

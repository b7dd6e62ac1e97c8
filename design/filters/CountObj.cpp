#include "design/filters/CountObj.h"

#include "design/filters/ObjFilter.h"
#include "design/objects/ObjKinds.h"

namespace {

// The kinds of the main list, in its display order.
constexpr int16_t kListedKinds[] = {1, 24, 2, 16, 26, 27, 25, 7, 8, 3, 4, 5, 6, 9, 10, 11, 12, 19, 13, 14, 15, 18, 17, 23};

int32_t Stored(ObjListHdl list) { return list ? list->count : 0; }

ObjListHdl ListOf(TypeListHdl lists, int16_t kind)
{
    const int16_t index = ListKindOf(kind);
    return lists && index > 0 ? lists->lists[index - 1] : nullptr;
}

// Calls `visit` for every table and subtable of the document.
template <class Visit>
void ForEachTable(TypeListHdl lists, Visit visit)
{
    ObjListHdl tables = ListOf(lists, 1);
    if (!tables) return;
    for (int32_t i = 0; i < tables->Size(); ++i) {
        TObjQz* obj = tables->At(i);
        if (!obj || (obj->kind != 1 && obj->kind != 29)) continue;
        if (auto* table = dynamic_cast<TFileObjQz*>(obj)) visit(*table);
    }
}

// Calls `visit` for every form of every table.
template <class Visit>
void ForEachForm(TypeListHdl lists, Visit visit)
{
    ForEachTable(lists, [&](TFileObjQz& table) {
        if (!table.forms) return;
        for (int32_t i = 0; i < table.forms->Size(); ++i)
            if (auto* form = dynamic_cast<TLayoutObjQz*>(table.forms->At(i))) visit(*form);
    });
}

int32_t LocalsOf(TObjQz* obj)
{
    auto* method = dynamic_cast<TGnlProcObjQz*>(obj);
    return method ? Stored(method->locals) : 0;
}

}  // namespace

int16_t Count_List(TypeListHdl lists, int16_t kind) { return int16_t(Stored(ListOf(lists, kind))); }

int32_t Count_LocalVar(TypeListHdl lists)
{
    int32_t sum = 0;
    if (ObjListHdl methods = ListOf(lists, 2))
        for (int32_t i = 0; i < methods->Size(); ++i) sum += LocalsOf(methods->At(i));
    ForEachTable(lists, [&](TFileObjQz& table) { sum += LocalsOf(table.method); });
    ForEachForm(lists, [&](TLayoutObjQz& form) {
        sum += LocalsOf(form.formMethod);
        if (form.objMethods)
            for (int32_t i = 0; i < form.objMethods->Size(); ++i) sum += LocalsOf(form.objMethods->At(i));
    });
    return sum;
}

int32_t Count_FileBalloon(TypeListHdl lists)
{
    int32_t sum = 0;
    ForEachTable(lists, [&](TFileObjQz& table) { sum += Stored(table.balloons); });
    return sum;
}

int32_t Count_Layout(TypeListHdl lists)
{
    int32_t sum = 0;
    ForEachTable(lists, [&](TFileObjQz& table) { sum += Stored(table.forms); });
    return sum;
}

int32_t Count_Scripts(TypeListHdl lists)
{
    int32_t sum = 0;
    ForEachForm(lists, [&](TLayoutObjQz& form) { sum += Stored(form.objMethods); });
    return sum;
}

int32_t Count_FileProc(TypeListHdl lists)
{
    int32_t sum = 0;
    ForEachTable(lists, [&](TFileObjQz& table) { sum += table.method ? 1 : 0; });
    return sum;
}

int32_t Count_LayOutProc(TypeListHdl lists)
{
    int32_t sum = 0;
    ForEachForm(lists, [&](TLayoutObjQz& form) { sum += form.formMethod ? 1 : 0; });
    return sum;
}

int32_t Count_Obj(platform::Handle filter, TypeListHdl lists)
{
    const uint32_t kinds = filter ? GetOrFlags(filter) : 0xFFFFFFFFu;
    int32_t sum = 0;
    for (int16_t kind : kListedKinds) {
        if (!(kinds & (0x80000000u >> kind))) continue;
        switch (kind) {
        case 9: sum += Count_List(lists, 9) + Count_LocalVar(lists); break;
        case 10: sum += Count_List(lists, 10) + Count_FileBalloon(lists); break;
        case 24: sum += Count_Layout(lists); break;
        case 25: sum += Count_Scripts(lists); break;
        case 26: sum += Count_FileProc(lists); break;
        case 27: sum += Count_LayOutProc(lists); break;
        default:
            if ((kind >= 1 && kind <= 8) || (kind >= 11 && kind <= 17) || kind == 23) sum += Count_List(lists, kind);
            break;
        }
    }
    return sum;
}

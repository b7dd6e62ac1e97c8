// What the walkers of stored forms find in a form's document: the objects
// by kind, id and name, the tables and fields of the structure (a table's
// list holds its fields and subtables), variables and object methods made
// when missing, and the uses graph.
#include "design/links/FormLinkLookups.h"

#include <algorithm>
#include <cstring>

#include "app/documents/MainDoc.h"
#include "design/links/XRef.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjList.h"
#include "forms/walkers/FormLinkHooks.h"
#include "platform/resfiles/Resources.h"

namespace {

TMainDoc* DocOf(TLayoutObjQz* form) { return form ? form->owner : nullptr; }

int16_t Link(TLayoutObjQz* form, TObjQz* from, TObjQz* to) { return XRef(from ? from : form, to); }

TObjQz* ById(TLayoutObjQz* form, int16_t kind, int16_t id)
{
    return DocOf(form) ? SearchObj_Id(DocOf(form), kind, id) : nullptr;
}

TObjQz* ByName(TLayoutObjQz* form, int16_t kind, const unsigned char* name)
{
    return DocOf(form) ? SearchObj_Name(DocOf(form), kind, name) : nullptr;
}

TObjQz* Package(TLayoutObjQz* form, const unsigned char* name)
{
    return DocOf(form) ? Search_Package(DocOf(form), name) : nullptr;
}

void NameOf(TObjQz* object, unsigned char* name) { std::memcpy(name, object->name, size_t(object->name[0]) + 1); }

TObjQz* TableNumbered(TLayoutObjQz* form, int16_t number)
{
    TMainDoc* doc = DocOf(form);
    return doc ? SearchTableNumbered(doc->fTypeList, number) : nullptr;
}

TObjQz* TableNamed(TLayoutObjQz* form, const unsigned char* name)
{
    return DocOf(form) ? SearchNamedFileObj(DocOf(form), name) : nullptr;
}

TObjQz* SubtableNumbered(TLayoutObjQz* form, int16_t fieldNumber)
{
    ObjListHdl members = form && form->ownerObj ? form->ownerObj->members : nullptr;
    for (int32_t i = 0; members && i < members->Size(); ++i) {
        auto* t = dynamic_cast<TFileObjQz*>(members->At(i));
        if (t && (t->kind == 29 || t->kind == 1) && t->fieldNumber == fieldNumber) return t;
    }
    return nullptr;
}

TObjQz* Field(TLayoutObjQz* form, int16_t tableNumber, int16_t fieldNumber)
{
    if (!DocOf(form)) return nullptr;
    ChampOper op;
    op.field = fieldNumber;
    op.table = tableNumber;
    return SearchCritObj(form->ownerObj, DocOf(form)->fTypeList, op);
}

TObjQz* FieldNumbered(TLayoutObjQz* form, TObjQz* table, int16_t fieldNumber)
{
    if (!DocOf(form)) return nullptr;
    ChampOper op;
    op.field = fieldNumber;
    return SearchCritObj(table, DocOf(form)->fTypeList, op);
}

TObjQz* FieldNamed(TLayoutObjQz*, TObjQz* table, const unsigned char* name)
{
    return SearchNamedFieldObj(table->members, name);
}

TObjQz* FormNamed(TObjQz* table, const unsigned char* name)
{
    auto* t = dynamic_cast<TFileObjQz*>(table);
    return t ? SearchListObj_Name(t->forms, name) : nullptr;
}

TObjQz* StringList(TLayoutObjQz* form, int16_t id) { return ById(form, 11, id); }

// The interprocess prefix in front of a name that lacks it.
void Prefixed(const unsigned char* name, unsigned char* out)
{
    unsigned char prefix[256];
    platform::GetIndString(prefix, 104, 39);
    const bool has = prefix[0] && name[0] >= prefix[0] && std::memcmp(name + 1, prefix + 1, prefix[0]) == 0;
    if (has) {
        std::memcpy(out, name, size_t(name[0]) + 1);
        return;
    }
    out[0] = uint8_t(std::min<int>(255, prefix[0] + name[0]));
    std::memcpy(out + 1, prefix + 1, prefix[0]);
    std::memcpy(out + 1 + prefix[0], name + 1, size_t(out[0] - prefix[0]));
}

TObjQz* Variable(TLayoutObjQz* form, const unsigned char* name, bool interprocess)
{
    TMainDoc* doc = DocOf(form);
    if (!doc) return nullptr;
    TObjQz* variable = nullptr;
    if (interprocess) {
        unsigned char full[256];
        Prefixed(name, full);
        variable = Get_GlobGlobVar(doc, full);
    } else {
        variable = Get_GlobVar(doc, name);
    }
    if (variable && form->moduleState == 0) variable->SetModuleState(0, false);
    return variable;
}

TObjQz* ListBoxVariable(TLayoutObjQz* form, const unsigned char* name, bool interprocess)
{
    TMainDoc* doc = DocOf(form);
    // List boxes are kept with the variables.
    if (!doc || !GetObjListe(doc->fTypeList, 9)) return nullptr;
    unsigned char cut[32];
    cut[0] = std::min<uint8_t>(name[0], 31);
    std::memcpy(cut + 1, name + 1, cut[0]);
    return NewListObj_Id(doc, &doc->fTypeList->lists[ListKindOf(9) - 1], 21, cut, interprocess ? 2 : 1, false);
}

TObjQz* ObjectMethod(TLayoutObjQz* form, const unsigned char* name, bool interprocess, int16_t methodId)
{
    TMainDoc* doc = DocOf(form);
    if (!doc) return nullptr;
    unsigned char full[256];
    if (interprocess) Prefixed(name, full);
    else std::memcpy(full, name, size_t(name[0]) + 1);
    if (!form->objMethods && NewObjList(&form->objMethods, 10) != 0) return nullptr;
    TObjQz* method = NewListObj_Id(doc, &form->objMethods, 25, full, methodId, false);
    if (!method) return nullptr;
    auto* m = static_cast<TGnlProcObjQz*>(method);
    m->ownerObj = form;
    m->Read(nullptr);
    if (!m->table) m->table = dynamic_cast<TFileObjQz*>(form->ownerObj);
    return method;
}

}  // namespace

void InstallFormLinkLookups()
{
    FormLinkHooks hooks;
    hooks.link = Link;
    hooks.byId = ById;
    hooks.byName = ByName;
    hooks.package = Package;
    hooks.ownerOf = [](TObjQz* object) { return object->GetOwnerObj(); };
    hooks.nameOf = NameOf;
    hooks.ownTable = [](TLayoutObjQz* form) { return form ? form->ownerObj : nullptr; };
    hooks.tableNumbered = TableNumbered;
    hooks.tableNamed = TableNamed;
    hooks.subtableNumbered = SubtableNumbered;
    hooks.field = Field;
    hooks.fieldNumbered = FieldNumbered;
    hooks.fieldNamed = FieldNamed;
    hooks.formNamed = FormNamed;
    hooks.stringList = StringList;
    hooks.variable = Variable;
    hooks.listBoxVariable = ListBoxVariable;
    hooks.objectMethod = ObjectMethod;
    hooks.kindOf = [](TObjQz* object) { return object->kind; };
    hooks.idOf = [](TObjQz* object) { return object->id; };
    hooks.tableNumberOf = [](TObjQz* table) {
        auto* t = dynamic_cast<TFileObjQz*>(table);
        return t && t->kind == 1 ? t->tableNumber : int16_t(0);
    };
    SetFormLinkHooks(hooks);
}

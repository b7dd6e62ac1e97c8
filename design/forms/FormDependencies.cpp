// What a form brings along into copies, components and groups: its table,
// its form method and its object methods.
#include "app/appl/AppGlobals.h"
#include "design/objects/ObjKinds.h"
#include "platform/core/Errors.h"

namespace {

// Runs `step` on the form method, then on each object method, until one
// answers non-zero; that answer.
template <class Step>
auto EachMethod(TLayoutObjQz* form, Step step) -> decltype(step(form))
{
    if (form->formMethod)
        if (auto r = step(form->formMethod)) return r;
    for (int32_t i = 0; form->objMethods && i < form->objMethods->Size(); ++i)
        if (auto r = step(form->objMethods->At(i))) return r;
    return {};
}

}  // namespace

int16_t TLayoutObjQz::SelfAddObjList(ObjListHdl* list, int16_t mode)
{
    if (!list || !*list) return platform::memFullErr;
    if (IsInList(*list, this)) return 0;
    if (G_ModuleUpdate != 4 && ownerObj)
        if (const int16_t err = ownerObj->SelfAddObjList(list, mode)) return err;
    if (const int16_t err = TStructObjQz::SelfAddObjList(list, mode)) return err;
    const int16_t depth = DependenciesBlocked() ? 0 : mode;
    return EachMethod(this, [&](TObjQz* m) { return m->SelfAddObjList(list, depth); });
}

bool TLayoutObjQz::HasPrivateDependencies(TModuleObjQz* module)
{
    if (TStructObjQz::HasPrivateDependencies(module)) return true;
    return EachMethod(this, [&](TObjQz* m) { return m->HasPrivateDependencies(module); });
}

void TLayoutObjQz::SetProtectedDependencies(TModuleObjQz* module)
{
    TStructObjQz::SetProtectedDependencies(module);
    EachMethod(this, [&](TObjQz* m) {
        m->SetProtectedDependencies(module);
        return false;
    });
}

int16_t TLayoutObjQz::AddGroup(TGroupObjQz* group, bool flag)
{
    if (const int16_t err = TStructObjQz::AddGroup(group, flag)) return err;
    return EachMethod(this, [&](TObjQz* m) { return m->AddGroup(group, flag); });
}

int16_t TLayoutObjQz::DelGroup(bool updateGroup, bool message)
{
    // Every method leaves too; the first error is answered.
    int16_t first = TStructObjQz::DelGroup(updateGroup, message);
    EachMethod(this, [&](TObjQz* m) {
        const int16_t err = m->DelGroup(updateGroup, message);
        if (first == 0) first = err;
        return false;
    });
    return first;
}

#include "design/plugins/PlugInLookup.h"

#include "app/documents/MainDoc.h"
#include "design/objects/ObjKinds.h"
#include "platform/core/Endian.h"

TPackagesObjQz* FindPackage(TMainDoc* doc, int16_t id)
{
    ObjListHdl list = doc ? GetObjListe(doc->fTypeList, 7) : nullptr;
    for (int32_t i = 0; list && i < list->Size(); ++i) {
        TObjQz* o = list->At(i);
        if (o->id == id && !o->GetOwnerObj()) return static_cast<TPackagesObjQz*>(o);
    }
    return nullptr;
}

TObjQz* PackageRoutine(TPackagesObjQz* package, int16_t routine)
{
    ObjListHdl members = package ? package->members : nullptr;
    for (int32_t i = 0; members && i < members->Size(); ++i)
        if (members->At(i)->id == routine) return members->At(i);
    return nullptr;
}

TPackagesObjQz* CalledPackage(TMainDoc* doc, const unsigned char* data)
{
    if (data[0] != 5 || data[1] != 2) return nullptr;
    return FindPackage(doc, int16_t(platform::ReadBE16(data + 2)));
}

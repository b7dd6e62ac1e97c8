#include "transfer/links/FormDestinations.h"

#include "design/objects/ObjKinds.h"
#include "forms/walkers/FormDestHooks.h"
#include "transfer/links/DestLookups.h"
#include "transfer/movers/DataMovers.h"

namespace transfer {

namespace {

TMainDoc* DocOf(TLayoutObjQz* form) { return form ? form->owner : nullptr; }

TObjQz* DestObj(C_ListRec* conflicts, TLayoutObjQz* source, TLayoutObjQz* target, TObjQz* obj)
{
    TObjQz* found = nullptr;
    GetDestObj(conflicts, DocOf(source), DocOf(target), obj, &found);
    return found;
}

TObjQz* DestForm(C_ListRec* conflicts, TLayoutObjQz* source, TLayoutObjQz* target, TObjQz* form)
{
    TObjQz* found = nullptr;
    GetDestForm(conflicts, DocOf(source), DocOf(target), form, &found);
    return found;
}

TObjQz* DestRub(C_ListRec* conflicts, TLayoutObjQz* source, TLayoutObjQz* target, TObjQz* obj, int16_t* tableNumber,
                int16_t* fieldNumber)
{
    TObjQz* found = nullptr;
    ChampOper there;
    GetDestRub(conflicts, DocOf(source), DocOf(target), obj, &found, &there);
    *tableNumber = there.table;
    *fieldNumber = there.field;
    return found;
}

int16_t MovePicture(TLayoutObjQz* source, TLayoutObjQz* target, int16_t id, int16_t* newId)
{
    *newId = id;
    if (!DocOf(source) || !DocOf(target)) return 0;
    return MovePictureFlipFlop(DocOf(source), DocOf(target), id, newId);
}

}  // namespace

void InstallFormDestinations()
{
    FormDestHooks hooks;
    hooks.destObj = DestObj;
    hooks.destForm = DestForm;
    hooks.destRub = DestRub;
    hooks.movePicture = MovePicture;
    SetFormDestHooks(hooks);
}

}  // namespace transfer

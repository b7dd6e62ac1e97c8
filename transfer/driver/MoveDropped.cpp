#include "transfer/driver/MoveDropped.h"

#include "app/appl/AppGlobals.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "design/objects/ObjList.h"
#include "design/objects/ObjQz.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"
#include "transfer/conflicts/ConflictDefaults.h"
#include "transfer/driver/DoMove.h"

namespace transfer {

int16_t MoveDropped(TMainDoc* source, TMainDoc* dest, TObjQz* const* rows, int32_t count, int16_t mode)
{
    if (G_Filters) platform::DisposeHandle(G_Filters);
    G_Filters = NewFilters();
    // Without the user's defaults or its lists nothing is copied: a copy
    // that went on without them would not be the one asked for.
    int16_t result = G_Filters ? MakeCc_Dflt(G_Filters) : int16_t(platform::memFullErr);
    if (result == 0) result = NewObjList(&G_DeleteList, kC_ListRoom);
    ObjListHdl list = nullptr;
    if (result == 0) result = NewObjList(&list, kC_ListRoom);
    if (result != 0) {
        ErrMsg(result);
    } else {
        int16_t err = 0;
        for (int32_t i = 0; i < count && err == 0; ++i) {
            TObjQz* obj = rows[i];
            if (obj->kind == 33 || obj->kind == 32 || !obj->Movable() || obj->TstFlag(kFlagInComponent)) continue;
            err = obj->SelfAddObjList(&list, mode);
            if (err == 0 && !GromMemHdl) err = platform::memFullErr;
        }
        if (err != 0) ErrMsg(err);
        else ShellSortType(list);
        // What was gathered before an error still goes.
        result = DoMove(source, dest, &list, false, false, nullptr);
        FreeObjList(list);
        // The links were found by id: the commands go back to the order a
        // read gives them, by name.
        ShellStrictSort(GetObjListe(dest->fTypeList, 3));
    }
    FreeObjList(G_DeleteList);
    G_DeleteList = nullptr;
    if (G_Filters) {
        platform::DisposeHandle(G_Filters);
        G_Filters = nullptr;
    }
    return result;
}

}  // namespace transfer

#include "transfer/dialogs/ConflictPreferences.h"

#include "app/appl/AppGlobals.h"
#include "app/dialogs/Messages.h"
#include "transfer/conflicts/ConflictChoices.h"
#include "transfer/conflicts/ConflictPrefs.h"
#include "transfer/dialogs/ConflictDialog.h"

namespace transfer {

int16_t C_Preferences()
{
    const bool hidden = G_C_Hide;
    G_TempBool = true;
    G_C_Hide = true;
    C_ListHdl list = nullptr;
    int16_t err = NewC_List(&list, kC_ListRoom);
    if (err == 0) err = MakeC_Pref(list);
    if (err == 0) {
        UpdateC_Pref(list);
        if (SolveC_Pref(list)) err = SaveC_Pref(list);
    }
    DisposeC_List(list);
    G_C_Hide = hidden;
    G_TempBool = false;
    if (err != 0) ErrMsg(err);
    return err;
}

}  // namespace transfer

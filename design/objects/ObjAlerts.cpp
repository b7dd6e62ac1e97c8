// The questions an object asks the person: a link it cannot parse, an
// older component object about to be replaced.
#include <cstring>

#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/Messages.h"
#include "app/dialogs/WaitDialog.h"
#include "design/objects/DesignGlobals.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/ObjText.h"
#include "platform/dialogs/Dialogs.h"

int16_t TObjQz::CheckParseError(int16_t err)
{
    if (err == 0 || err == kCancelledByUser) return err;
    if (err == -108) {
        ErrMsg(err);
        return kCancelledByUser;
    }
    unsigned char structName[256], message[256];
    GetStructName(structName);
    // Every code has its words: its own message, else the general one with
    // the code.
    ErrorMessage(err, message);
    platform::ParamText(structName, message, nullptr, nullptr);
    const int16_t cursor = CursPause();
    SetArrowCursor();
    const int16_t item = platform::StopAlert(1004, nullptr);
    CursResume(cursor);
    return item == 1 ? 0 : kCancelledByUser;
}

int16_t TObjQz::ModuleUpDate(TObjQz* newObj, TObjQz* oldObj)
{
    if (G_ModuleUpdate == 4 || G_ModuleUpdate == 2 || oldObj->moduleState != 1) return 1;
    if (G_ModuleUpdate == 1) return 0;
    auto* folder = oldObj->parent;
    if (!folder || folder->kind != 33 || !folder->parent || folder->parent->kind != 32) return 1;
    auto* module = static_cast<TModuleObjQz*>(static_cast<TObjQz*>(folder->parent));
    if (!module->hasRecord) return 1;
    const uint32_t time = oldObj->GetaTime();
    if (time == 0 || (time >= module->dateFrom && time <= module->dateTo)) return 1;
    unsigned char full[256], oldDate[256], newDate[256];
    oldObj->GetFullName(full);
    PSet(oldDate, ShortDate(time));
    PSet(newDate, ShortDate(newObj->GetaTime()));
    platform::ParamText(full, oldDate, newDate, nullptr);
    switch (platform::CautionAlert(1005, nullptr)) {
    case 2: G_ModuleUpdate = 2; return 1;
    case 3: G_ModuleUpdate = 1; return 0;
    case 4: return 1;
    default: return 0;
    }
}

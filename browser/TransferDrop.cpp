// The copy of dropped rows into another document.
#include "browser/TransferDrop.h"

#include <new>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/appl/CommandStacks.h"
#include "app/appl/MemoryShort.h"
#include "app/appl/Menus.h"
#include "app/dialogs/BusyCursor.h"
#include "app/dialogs/Messages.h"
#include "app/documents/MainDoc.h"
#include "app/longlist/LongList.h"
#include "browser/Panes.h"
#include "design/objects/ObjQz.h"
#include "platform/events/Events.h"

namespace browser {

namespace {

PaneTransferHooks gHooks;

}  // namespace

void SetPaneTransferHooks(const PaneTransferHooks& hooks) { gHooks = hooks; }
void ResetPaneTransferHooks() { gHooks = PaneTransferHooks{}; }
const PaneTransferHooks& CurrentPaneTransferHooks() { return gHooks; }
void SetMoveObjectsHook(MoveObjectsHook hook) { gHooks.moveObjects = hook; }

void PostDrop(::TPlan* source, ::TPlan* dest, uint16_t modifiers)
{
    // Nothing is posted unless every argument went on the stack.
    const uint32_t before = ArgumentBytes();
    if (PushInteger((modifiers & platform::optionKey) ? 1 : 0) != 0 || PushPtr(source) != 0 || PushPtr(dest) != 0) {
        DropArguments(ArgumentBytes() - before);
        return;
    }
    G_C_Hide = (modifiers & platform::controlKey) != 0;
    if (PostFunc(kDragObjCommand) != 0) DropArguments(ArgumentBytes() - before);
}

int16_t TRefPlane::MoveQzObj(TDocument* doc, int16_t option)
{
    auto* dest = dynamic_cast<TMainDoc*>(doc);
    TMainDoc* source = Doc();
    if (!dest || !source || !fList) return 0;
    if (dest->fRsrFile != -1 && CountTotResources(dest->fRsrFile) > kMaxDropResources) {
        ErrMsg(kTooManyResources);
        return 0;
    }
    SetMenusEnabled(false);
    CursInstall();
    int16_t result = 0;
    try {
        std::vector<TObjQz*> rows;
        for (int32_t row = 0; LongLGetSelect(true, &row, fList); ++row)
            if (auto* obj = static_cast<TObjQz*>(LongLRowObject(row, fList))) rows.push_back(obj);
        if (gHooks.moveObjects) result = gHooks.moveObjects(source, dest, rows.data(), int32_t(rows.size()), option);
    } catch (const std::bad_alloc&) {
        memoryshort::RanOut();
    }
    CursRmve();
    SetMenusEnabled(true);
    return result;
}

}  // namespace browser

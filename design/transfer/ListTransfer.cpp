// Choice lists copied into another document: what they meet there, the
// copy (with the icons their items show) by the choice of their record,
// and the copy's pictures bound to the destination's.
#include <vector>

#include "app/dialogs/WaitDialog.h"
#include "app/documents/MainDoc.h"
#include "design/links/ParseSupport.h"
#include "design/links/XRef.h"
#include "design/objects/ObjFactory.h"
#include "design/objects/ObjKinds.h"
#include "design/objects/TransferHooks.h"
#include "design/transfer/ObjMove.h"
#include "forms/lists/ChoiceLists.h"
#include "forms/lists/ItemList.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

namespace {

constexpr int16_t kListKind = 4, kPictureKind = 18;
constexpr int16_t kNamesakeCode = 7, kMissingCode = 119;
// An item's reference to a picture object of the structure: 2 in its high
// half; -1 when a copy found no counterpart.
constexpr uint32_t kStructurePicture = 2;
constexpr int32_t kNoPicture = -1;

}  // namespace

int16_t TListObjQz::Move(TMainDoc* doc, C_ListRec* conflicts, TObjQz** newObj)
{
    return MoveByChoice(this, doc, conflicts, newObj, {::MoveList, ::ReplaceList, 0, true});
}

int16_t TListObjQz::Dir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    (void)list;
    return NamesakeConflict(this, SearchObj_Name(doc, kListKind, name), kNamesakeCode, conflicts);
}

int16_t TListObjQz::Indir_Conflicts(TMainDoc* doc, C_ListRec* conflicts, ObjListHdl list)
{
    return UsedObjConflict(this, SearchObj_Name(doc, kListKind, name), kMissingCode, conflicts, list);
}

int16_t TListObjQz::ParseItem_Link(ItemHandle items, TMainDoc* source, C_ListRec* conflicts)
{
    // Each item before its branch, then the next item.
    std::vector<ItemHandle> pending;
    if (items) pending.push_back(items);
    while (!pending.empty()) {
        ItemHandle item = pending.back();
        pending.pop_back();
        const int32_t reference = (*item)->icon;
        if ((uint32_t(reference) >> 16) == kStructurePicture) {
            TObjQz* picture = source ? SearchObj_Id(source, kPictureKind, int16_t(reference & 0xFFFF)) : nullptr;
            TObjQz* counterpart = nullptr;
            if (picture) GetDestObj(conflicts, source, owner, picture, &counterpart);
            if (counterpart) {
                (*item)->icon = int32_t((uint32_t(reference) & 0xFFFF0000u) | uint16_t(counterpart->id));
                if (const int16_t err = XRef(this, counterpart)) return err;
            } else {
                (*item)->icon = kNoPicture;
            }
        }
        if ((*item)->next) pending.push_back((*item)->next);
        if ((*item)->firstChild) pending.push_back((*item)->firstChild);
    }
    return 0;
}

int16_t TListObjQz::Parse_Link(TObjQz* src, C_ListRec* conflicts)
{
    // Whether parsed or not: a list the copy replaced was parsed when its
    // document was read, and its items are the source's now all the same.
    ParseResFile current(owner);
    if (ParseCancelled()) return kCancelledByUser;
    ShowProgress(7);
    itemlistrec items{};
    initqlist(&items, 0, 255);
    int16_t result = 0;
    if (LoadList(id, &items, true) == 0) {
        result = ParseItem_Link(items.first, src ? src->owner : nullptr, conflicts);
        if (result == 0) result = SaveList(id, &items);
        if (result == 0 && !updateresNoMap(owner->fResFile)) result = reserr ? reserr : platform::ioErr;
        if (platform::Handle h = result == 0 ? xget1res(platform::FourCC("List"), id) : nullptr) {
            resTime = xgetrestimestamp(h);
            resSize = uint32_t(platform::GetHandleSize(h));
        }
    }
    deinitqlist(&items);
    return CheckParseError(result);
}

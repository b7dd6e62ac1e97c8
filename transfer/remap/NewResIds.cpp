#include "transfer/remap/NewResIds.h"

#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"

namespace transfer {

namespace {

using platform::FourCC;

// Probes without loading: a resource found this way has no data read.
template <class Lookup>
bool Probe(Lookup lookup)
{
    platform::SetResLoad(false);
    const bool found = lookup() != nullptr;
    platform::SetResLoad(true);
    return found;
}

template <class Taken>
int16_t FirstFree(Taken taken)
{
    for (int32_t id = kFirstCopyId; id <= INT16_MAX; ++id)
        if (!taken(int16_t(id))) return int16_t(id);
    return 0;
}

int16_t Record(platform::ResType type, int16_t oldId, int16_t newId)
{
    return g_ResIDMapMgr ? g_ResIDMapMgr->Add(type, oldId, newId) : 0;
}

}  // namespace

bool IdTaken(platform::ResType type, int16_t id)
{
    return Probe([&] { return platform::Get1Resource(type, id); });
}

int16_t FirstFreeFrom15000(platform::ResType type)
{
    return FirstFree([&](int16_t id) { return IdTaken(type, id); });
}

platform::ResType ItemResType(uint8_t itemType)
{
    switch (itemType & 127) {
    case 32: return FourCC("ICON");
    case 7: return FourCC("CNTL");
    case 64: return FourCC("PICT");
    default: return 0;
    }
}

int16_t NewBundleElementId(ResTableHdl table, platform::ResType type, int16_t oldId, int16_t* newId, bool* copy)
{
    if (IsMoved(table, type, oldId, newId)) {
        *copy = false;
        return 0;
    }
    *copy = true;
    *newId = FirstFreeFrom15000(type);
    if (*newId == 0) return platform::addResFailed;
    if (const int16_t err = AddMoveTable(table, type, oldId, *newId)) return err;
    return Record(type, oldId, *newId);
}

int16_t NewFontThemeId(ResTableHdl table, platform::ResType type, int16_t oldId, int16_t bundleNewId)
{
    if (const int16_t err = AddMoveTable(table, type, oldId, bundleNewId)) return err;
    return Record(type, oldId, bundleNewId);
}

int16_t NewCodeBundleId(platform::ResType code, platform::ResType bundle, bool package, int16_t oldId,
                        int16_t* newId)
{
    *newId = FirstFree([&](int16_t id) {
        return IdTaken(code, id) || IdTaken(bundle, id) ||
               (package && (IdTaken(FourCC("FON#"), id) || IdTaken(FourCC("THM#"), id)));
    });
    if (*newId == 0) return platform::addResFailed;
    if (const int16_t err = Record(code, oldId, *newId)) return err;
    return Record(bundle, oldId, *newId);
}

bool StrListIdFree(int16_t id) { return !IdTaken(FourCC("STR#"), id); }

int16_t NewPictureId(int16_t oldId, int16_t* newId, bool* copy)
{
    const platform::ResType pict = FourCC("PICT");
    *copy = true;
    if (!IdTaken(pict, oldId)) {
        *newId = oldId;
    } else if (g_PictIDMapMgr && g_PictIDMapMgr->GetMapResId(pict, oldId) != -1) {
        *newId = g_PictIDMapMgr->GetMapResId(pict, oldId);
        *copy = false;
        return 0;
    } else {
        // The id no open file holds, as a unique id of the whole chain.
        *newId = FirstFree([&](int16_t id) { return Probe([&] { return platform::GetResource(pict, id); }); });
        if (*newId == 0) return platform::addResFailed;
    }
    if (g_PictIDMapMgr)
        if (const int16_t err = g_PictIDMapMgr->Add(pict, oldId, int16_t(-*newId))) return err;
    return Record(pict, oldId, int16_t(-*newId));
}

int16_t NewStoreResId(platform::ResType type, int16_t oldId, int16_t* newId)
{
    *newId = uniqueresid(type);
    if (*newId == 0) return reserr ? reserr : platform::addResFailed;
    return Record(type, oldId, *newId);
}

}  // namespace transfer

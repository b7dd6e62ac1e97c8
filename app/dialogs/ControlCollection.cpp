#include "app/dialogs/ControlCollection.h"

#include <tuple>

#include "platform/collections/Collections.h"
#include "platform/core/Endian.h"
#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"

using namespace platform;

OSStatus ControlToCollectionProc(const Rect* bounds, int16_t value, Boolean visible, int16_t max, int16_t min,
                                 int16_t procID, uintptr_t refCon, ConstStr255Param title, void* collection)
{
    auto c = static_cast<Collection>(collection);
    if (!c || !bounds) return paramErr;
    uint8_t boun[8], valu[2], maxi[4], mini[4], idid[4];
    WriteBE16(boun, uint16_t(bounds->top));
    WriteBE16(boun + 2, uint16_t(bounds->left));
    WriteBE16(boun + 4, uint16_t(bounds->bottom));
    WriteBE16(boun + 6, uint16_t(bounds->right));
    WriteBE16(valu, uint16_t(value));
    WriteBE32(maxi, uint32_t(int32_t(max)));
    WriteBE32(mini, uint32_t(int32_t(min)));
    WriteBE32(idid, uint32_t(int32_t(procID)));
    const uint8_t visi = visible ? 1 : 0;
    const unsigned char noTitle[1] = {0};
    if (!title) title = noTitle;
    // The reference stays in memory order: it is a pointer of this process.
    OSErr err = noErr;
    for (auto [tag, size, data] : {std::tuple<OSType, int32_t, const void*>{FourCC("boun"), 8, boun},
                                   {FourCC("valu"), 2, valu},
                                   {FourCC("visi"), 1, &visi},
                                   {FourCC("max "), 4, maxi},
                                   {FourCC("min "), 4, mini},
                                   {FourCC("idid"), 4, idid},
                                   {FourCC("refc"), int32_t(sizeof refCon), &refCon},
                                   {FourCC("titl"), int32_t(title[0]), title + 1}}) {
        err = AddCollectionItem(c, tag, 0, size, data);
        if (err != noErr) return err;
    }
    return noErr;
}

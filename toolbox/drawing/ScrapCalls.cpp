#include "toolbox/drawing/ScrapCalls.h"

#include <cstring>

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/scrap/Scrap.h"
#include "toolbox/drawing/VImageParser.h"
#include "toolbox/foundation/system/VSystem.h"

using namespace platform;

namespace {

ScrapRef gSavedScrap = nullptr;

// The picture repair works on a handle: the bytes go through a copy and
// come back in place. Without memory for the copy they are put unchanged.
void RepairPictureBytes(void* data, int32_t size)
{
    Handle copy = nullptr;
    if (PtrToHand(data, &copy, size) != noErr || !copy) return;
    if (RepairPicture(copy) && GetHandleSize(copy) == size) std::memcpy(data, *copy, size_t(size));
    DisposeHandle(copy);
}

}  // namespace

int32_t myGetScrap(char** handle, uint32_t kind)
{
    ScrapRef scrap = nullptr;
    Size size = 0;
    OSStatus err = GetCurrentScrap(&scrap);
    if (err == noErr) err = GetScrapFlavorSize(scrap, kind, &size);
    if (err == noErr && (size < 0 || size > INT32_MAX)) err = memFullErr;
    if (err == noErr && handle) {
        SetHandleSize(handle, size);
        err = MemError();
        if (err == noErr) {
            const int8_t state = HGetState(handle);
            HLock(handle);
            Size given = size;
            err = GetScrapFlavorData(scrap, kind, &given, *handle);
            HSetState(handle, state);
            if (err == noErr && given != size) err = internalScrapErr;
        }
    }
    if (err != noErr) {
        if (handle) SetHandleSize(handle, 0);
        return err < 0 ? err : -err;
    }
    return int32_t(size);
}

int32_t myZeroScrap() { return ClearCurrentScrap(); }

int32_t myPutScrap(int32_t size, uint32_t kind, void* data)
{
    ScrapRef scrap = nullptr;
    OSStatus err = GetCurrentScrap(&scrap);
    if (err != noErr) return err;
    if (VSystem::GetVersion() >= 0x1030 && size > 0 && data && kind == FourCC("PICT"))
        RepairPictureBytes(data, size);
    return PutScrapFlavor(scrap, kind, kScrapFlavorMaskNone, size, data);
}

void mySaveScrapState()
{
    ScrapRef scrap = nullptr;
    if (GetCurrentScrap(&scrap) == noErr) gSavedScrap = scrap;
}

bool myScrapHasChanged()
{
    ScrapRef scrap = nullptr;
    return GetCurrentScrap(&scrap) != noErr || scrap != gSavedScrap;
}

void ResetScrapState() { gSavedScrap = nullptr; }

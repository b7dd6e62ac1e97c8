#include "toolbox/drawing/VClipScrap.h"

#include <new>

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/gestalt/Gestalt.h"
#include "platform/scrap/Scrap.h"
#include "toolbox/foundation/VMemoryMgr.h"

using namespace platform;

VClipScrap* gScrap = nullptr;

VClipScrap::VClipScrap()
{
    RegisterKind(FourCC("TEXT"));
    RegisterKind(FourCC("PICT"));
}

VClipScrap::~VClipScrap() = default;

int32_t VClipScrap::IndexOf(uint32_t kind) const
{
    for (size_t i = 0; i < fKinds.size(); ++i)
        if (fKinds[i].kind == kind) return int32_t(i);
    return -1;
}

bool VClipScrap::RegisterKind(uint32_t kind)
{
    if (const int32_t i = IndexOf(kind); i >= 0) {
        if (fKinds[size_t(i)].count < INT16_MAX) ++fKinds[size_t(i)].count;
        return true;
    }
    try {
        fKinds.push_back({kind, 1, false});
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

uint32_t VClipScrap::GetKind(int32_t n) const
{
    return n >= 1 && n <= CountKinds() ? fKinds[size_t(n - 1)].kind : 0;
}

int16_t VClipScrap::GetRegistrationCount(uint32_t kind) const
{
    const int32_t i = IndexOf(kind);
    return i >= 0 ? fKinds[size_t(i)].count : int16_t(0);
}

bool VClipScrap::WasAvailable(uint32_t kind) const
{
    const int32_t i = IndexOf(kind);
    return i >= 0 && fKinds[size_t(i)].available;
}

int32_t VClipScrap::CountAvailableKinds()
{
    int32_t count = 0;
    for (Entry& e : fKinds) {
        e.available = IsKindAvailable(e.kind);
        if (e.available) ++count;
    }
    return count;
}

bool VClipScrap::IsKindAvailable(uint32_t kind)
{
    ScrapRef scrap = nullptr;
    ScrapFlavorFlags flags = 0;
    return GetCurrentScrap(&scrap) == noErr && GetScrapFlavorFlags(scrap, kind, &flags) == noErr;
}

int32_t VClipScrap::GetDataSize(uint32_t kind)
{
    ScrapRef scrap = nullptr;
    Size size = 0;
    if (GetCurrentScrap(&scrap) != noErr || GetScrapFlavorSize(scrap, kind, &size) != noErr) return 0;
    return size > 0 && size <= INT32_MAX ? int32_t(size) : 0;
}

char** VClipScrap::GetData(uint32_t kind)
{
    ScrapRef scrap = nullptr;
    Size size = 0;
    if (GetCurrentScrap(&scrap) != noErr || GetScrapFlavorSize(scrap, kind, &size) != noErr || size < 0)
        return nullptr;
    Handle h = NewHandle(size);
    if (!h) return nullptr;
    HLock(h);
    Size given = size;
    const OSStatus err = GetScrapFlavorData(scrap, kind, &given, *h);
    HUnlock(h);
    if (err != noErr) {
        DisposeHandle(h);
        return nullptr;
    }
    if (given < size) SetHandleSize(h, given);
    return gMemory->InsertTrueHandle(h, 0);
}

bool VClipScrap::PutData(uint32_t kind, const void* data, int32_t size)
{
    ScrapRef scrap = nullptr;
    return GetCurrentScrap(&scrap) == noErr && PutScrapFlavor(scrap, kind, kScrapFlavorMaskNone, size, data) == noErr;
}

void MakeStartupScrap()
{
    if (!gScrap) gScrap = new VClipScrap;
}


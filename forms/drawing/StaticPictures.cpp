#include "forms/drawing/StaticPictures.h"

#include <cstring>
#include <new>

#include "kernel/formhooks/FormServices.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"
#include "resources/caches/APictArray.h"

using namespace platform;

namespace {

constexpr int16_t kLibraryId = 128;
constexpr int32_t kEntrySize = 34;
constexpr int32_t kNameSize = 32;

Handle gPictList = nullptr;  // owned copy of 'PIC#' 128

int32_t ListCount()
{
    if (!gPictList || !*gPictList || GetHandleSize(gPictList) < 2) return 0;
    return ReadBE16(reinterpret_cast<const uint8_t*>(*gPictList));
}

bool SameName(const uint8_t* stored, const unsigned char* name)
{
    const uint8_t length = stored[0] < kNameSize ? stored[0] : kNameSize - 1;
    return length == name[0] && std::memcmp(stored + 1, name + 1, length) == 0;
}

Handle KernelLookUp(int16_t id, int32_t) { return GetStaticPict(id, nullptr); }

}  // namespace

void SetupPictList()
{
    DisposePictList();
    Handle stored = xget1res(FourCC("PIC#"), kLibraryId);
    if (!stored || !*stored || GetHandleSize(stored) < 2) return;
    const int32_t count = ReadBE16(reinterpret_cast<const uint8_t*>(*stored));
    if (int64_t(2) + int64_t(count) * kEntrySize > GetHandleSize(stored)) return;
    Handle copy = stored;
    if (HandToHand(&copy) == noErr) gPictList = copy;
}

bool StaticPictIdByName(const unsigned char* name, int16_t* id)
{
    if (!name || !name[0]) return false;
    const int32_t count = ListCount();
    const auto* bytes = reinterpret_cast<const uint8_t*>(gPictList ? *gPictList : nullptr);
    for (int32_t i = 0; i < count; ++i) {
        const uint8_t* entry = bytes + 2 + i * kEntrySize;
        if (!SameName(entry, name)) continue;
        *id = int16_t(ReadBE16(entry + kNameSize));
        return true;
    }
    return false;
}

Handle GetStaticPict(int16_t id, const unsigned char* name)
{
    if (id >= 0) {
        if (Handle h = xgetres(FourCC("PICT"), id, false)) return h;
        int16_t named = 0;
        if (StaticPictIdByName(name, &named) && named != id) return xgetres(FourCC("PICT"), named, false);
        return nullptr;
    }
    if (Handle h = GetResource(FourCC("PICT"), int16_t(-id)); h && *h) return h;
    if (name && name[0]) return GetNamedResource(FourCC("PICT"), name);
    return nullptr;
}

Handle AccessStaticPictByID(int16_t id, const unsigned char* name)
{
    if (!gPictArray) gPictArray = new APictArray;
    if (!gPictArray) return nullptr;
    if (Handle h = gPictArray->aAccessResource(id, 0)) return h;
    int16_t named = 0;
    if (StaticPictIdByName(name, &named) && named != id) return gPictArray->aAccessResource(named, 0);
    return nullptr;
}

void ReleaseStaticPictByID(int16_t id, Handle picture)
{
    if (gPictArray) gPictArray->aReleaseResource(id, picture);
}

void InstallStaticPictures() { SetGetStaticPictProc(KernelLookUp); }

void DisposePictList()
{
    if (gPictList) DisposeHandle(gPictList);
    gPictList = nullptr;
}

#include "resources/caches/APictArray.h"

#include "kernel/formhooks/FormServices.h"
#include "platform/core/Memory.h"
#include "resources/ResourceApi.h"

APictArray* gPictArray = nullptr;

namespace {
constexpr int32_t kPictureFreedAmount = 4;
}

APictArray::APictArray(bool releaseWhenUnused) : ACachedResourceArray(5, VArray::kSorted, releaseWhenUnused) {}

APictArray::~APictArray() { xDeleteAll(); }

platform::Handle APictArray::_aGetResource(int16_t id, int32_t extra)
{
    platform::Handle h = GetStaticPict(id, extra);
    if (h == nullptr) return nullptr;
    if (id < 0)
        platform::HNoPurge(h);
    else
        hunpurgeres(h);
    return h;
}

int32_t APictArray::_aDeleteResource(platform::Handle handle, int16_t id)
{
    if (id < 0)
        platform::HPurge(handle);
    else
        hpurgeres(handle);
    return kPictureFreedAmount;
}

// The handles belong to the store file or to the form that holds the
// picture: disposing of them here would leave their owners with dead
// handles, so each goes back to its owner as a purge does.
void APictArray::xDeleteAll()
{
    for (int32_t i = 0; i < fCount; ++i) {
        ACachedResource* entry = EntryAt(i);
        if (entry->handle == nullptr) continue;
        platform::Handle h = entry->handle;
        entry->handle = nullptr;
        _aDeleteResource(h, entry->id);
    }
}

int32_t PurgeStaticPicts(int32_t amount) { return gPictArray ? gPictArray->aPurge(amount) : 0; }

void ResetStaticPicts()
{
    delete gPictArray;
    gPictArray = nullptr;
}

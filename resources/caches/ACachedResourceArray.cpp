#include "resources/caches/ACachedResourceArray.h"

#include <cstring>

ACachedResourceArray::ACachedResourceArray(int16_t growthStep, uint16_t flags, bool releaseWhenUnused)
    : VArray(int16_t(sizeof(ACachedResource)), growthStep, flags), fReleaseWhenUnused(releaseWhenUnused)
{
}

// Handles are released by the subclasses, which know their owners; the
// objects are ours.
ACachedResourceArray::~ACachedResourceArray()
{
    for (int32_t i = 0; i < fCount; ++i) DestroyObject(EntryAt(i));
}

void ACachedResourceArray::DestroyObject(ACachedResource* entry)
{
    VObject* object = entry->object;
    entry->object = nullptr;
    delete object;
}

void ACachedResourceArray::oReinitArray()
{
    for (int32_t i = 0; i < fCount; ++i) {
        ACachedResource* entry = EntryAt(i);
        DestroyObject(entry);
        if (entry->handle != nullptr) {
            platform::Handle h = entry->handle;
            entry->handle = nullptr;
            _aDeleteResource(h, entry->id);
        }
    }
    VArray::oReinitArray();
}

int32_t ACachedResourceArray::_oCompare(const void* a, const void* b)
{
    int16_t x;
    int16_t y;
    std::memcpy(&x, a, sizeof x);
    std::memcpy(&y, b, sizeof y);
    return x > y ? 1 : (x < y ? -1 : 0);
}

int32_t ACachedResourceArray::aFindByID(int16_t id)
{
    ACachedResource key;
    key.id = id;
    return oFindElem(&key);
}

ACachedResource ACachedResourceArray::aGetEntry(int32_t index)
{
    ACachedResource entry;
    if (index >= 0 && index < fCount) entry = *EntryAt(index);
    return entry;
}

platform::Handle ACachedResourceArray::aAccessResource(int16_t id, int32_t extra)
{
    int32_t index = aAccessResourceByIndex(id, extra);
    return index < 0 ? nullptr : EntryAt(index)->handle;
}

int32_t ACachedResourceArray::aAccessResourceByIndex(int16_t id, int32_t extra)
{
    int32_t index = aFindByID(id);
    if (index < 0) {
        platform::Handle h = _aGetResource(id, extra);
        if (h == nullptr) return -1;
        ACachedResource entry;
        entry.id = id;
        entry.useCount = 1;
        entry.handle = h;
        index = oAddElem(&entry);
        if (index < 0) _aDeleteResource(h, id);
        return index;
    }
    ACachedResource* entry = EntryAt(index);
    if (entry->handle != nullptr) {
        if (entry->useCount != kPinnedUseCount && entry->useCount < INT16_MAX) ++entry->useCount;
        return index;
    }
    oLockArray();
    platform::Handle h = _aGetResource(id, extra);
    oUnlockArray();
    if (h == nullptr) return -1;
    entry = EntryAt(index);
    entry->handle = h;
    if (entry->useCount != kPinnedUseCount) entry->useCount = 1;
    return index;
}

void ACachedResourceArray::aReleaseResource(int16_t id, platform::Handle handle)
{
    int32_t index = aFindByID(id);
    if (index < 0 && handle != nullptr) {
        oLockArray();
        for (int32_t i = 0; i < fCount && index < 0; ++i)
            if (EntryAt(i)->handle == handle) index = i;
        oUnlockArray();
    }
    if (index < 0) return;
    ACachedResource* entry = EntryAt(index);
    // An entry nobody uses stays at 0: a count below it would never be
    // purged again.
    if (entry->useCount == kPinnedUseCount || entry->useCount <= 0) return;
    if (--entry->useCount == 0 && fReleaseWhenUnused && entry->handle != nullptr) {
        platform::Handle h = entry->handle;
        entry->handle = nullptr;
        DestroyObject(entry);
        _aDeleteResource(h, entry->id);
    }
}

int32_t ACachedResourceArray::aPurge(int32_t amount)
{
    int32_t total = 0;
    oLockArray();
    for (int32_t i = 0; i < fCount; ++i) {
        if (amount > 0 && total >= amount) break;
        ACachedResource* entry = EntryAt(i);
        if (entry->useCount != 0 || entry->handle == nullptr) continue;
        platform::Handle h = entry->handle;
        entry->handle = nullptr;
        total += _aDeleteResource(h, entry->id);
        DestroyObject(entry);
    }
    oUnlockArray();
    return total;
}

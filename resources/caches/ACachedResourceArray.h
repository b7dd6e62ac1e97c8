// Resources loaded once and shared by id: each entry counts its users, is
// loaded on first use and purged or freed when no longer used.
#pragma once

#include <cstdint>

#include "kernel/arrays/VArray.h"
#include "platform/core/MacTypes.h"

// A use count that never changes: the entry stays loaded until the array
// is reinitialised.
constexpr int16_t kPinnedUseCount = -32000;

struct ACachedResource {
    int16_t id = 0;
    int16_t useCount = 0;
    platform::Handle handle = nullptr;  // null when not loaded or purged
    VObject* object = nullptr;          // owned, made from the resource
};

class ACachedResourceArray : public VArray {
public:
    // Entries kept in order of id when flags has kSorted.
    ACachedResourceArray(int16_t growthStep, uint16_t flags, bool releaseWhenUnused);
    ~ACachedResourceArray() override;

    // Destroys every entry's object, releases its handle, empties the array.
    void oReinitArray() override;
    int32_t _oCompare(const void* a, const void* b) override;
    // Loads the resource of that id; null when it cannot be loaded.
    virtual platform::Handle _aGetResource(int16_t id, int32_t extra) = 0;
    // Releases a handle; the amount of memory it reports freed.
    virtual int32_t _aDeleteResource(platform::Handle handle, int16_t id) = 0;

    // Counts one use; the entry's handle, null when it cannot be loaded.
    platform::Handle aAccessResource(int16_t id, int32_t extra);
    // Counts one use; the entry's index, -1 when it cannot be loaded.
    int32_t aAccessResourceByIndex(int16_t id, int32_t extra);
    // Drops one use of the entry of that id, else of the first entry
    // holding the handle (when given).
    void aReleaseResource(int16_t id, platform::Handle handle);
    // Frees unused entries in array order until the amount is reached (all
    // of them when amount <= 0); the total freed.
    int32_t aPurge(int32_t amount);
    // 0-based index, -1 when absent.
    int32_t aFindByID(int16_t id);

    // The entry at a 0-based index, zeroed outside the array.
    ACachedResource aGetEntry(int32_t index);
    bool GetReleaseWhenUnused() const { return fReleaseWhenUnused; }

protected:
    ACachedResource* EntryAt(int32_t index) const { return reinterpret_cast<ACachedResource*>(ElementAt(index)); }
    void DestroyObject(ACachedResource* entry);

private:
    bool fReleaseWhenUnused;
};

// The cache of static pictures: picture resources (ids from 0 up) and
// pictures held in memory (ids below 0), non-purgeable while cached.
#pragma once

#include "resources/caches/ACachedResourceArray.h"

class APictArray : public ACachedResourceArray {
public:
    // Kept in order of id, growing by 5; with releaseWhenUnused a picture
    // is purged as soon as its last user releases it.
    explicit APictArray(bool releaseWhenUnused = true);
    ~APictArray() override;

    platform::Handle _aGetResource(int16_t id, int32_t extra) override;
    // Makes the picture purgeable again; reports 4.
    int32_t _aDeleteResource(platform::Handle handle, int16_t id) override;

    // Gives every entry's handle back to its owner and clears it.
    void xDeleteAll();
};

// The program's picture cache; null until the forms layer first needs it.
extern APictArray* gPictArray;
// aPurge on gPictArray; 0 when there is none.
int32_t PurgeStaticPicts(int32_t amount);
// Deletes gPictArray (tests and shut-down).
void ResetStaticPicts();

// The resource store's entries that kernel code calls. The store sits above
// the kernel, so it installs them at start-up; until then there is no
// current store file and every look-up finds nothing.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

struct KernelStoreAccess {
    int16_t (*xcurres)() = nullptr;  // 0 when no file is current
    platform::Handle (*xgetres)(platform::ResType type, int16_t id, bool includeEnciphered) = nullptr;
    // The current file's own resource, never one further down the chain.
    platform::Handle (*xget1res)(platform::ResType type, int16_t id) = nullptr;
    bool (*xwriteres)(platform::Handle contents) = nullptr;
    bool (*xaddres)(platform::Handle contents, platform::ResType type, int16_t id) = nullptr;
    bool (*updateres)(int16_t fileNumber) = nullptr;
    bool (*hpurgeres)(platform::Handle contents) = nullptr;
    bool (*hunpurgeres)(platform::Handle contents) = nullptr;
    int16_t (*uniqueresid)(platform::ResType type) = nullptr;
    int16_t (*lasterror)() = nullptr;  // reserr
};

void SetKernelStoreAccess(const KernelStoreAccess& access);
const KernelStoreAccess& GetKernelStoreAccess();
// Whether the store is installed and has a current file.
bool StoreHasCurrentFile();

// The store file number of the current document's resources, kept by the
// design-object layer whenever it makes a document's resources current.
extern int16_t numresfalse;

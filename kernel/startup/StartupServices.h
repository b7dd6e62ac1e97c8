// What kernel start-up needs of the layers above the kernel (the resource
// store, the security manager, the looks and the forms), which install
// these before start-up runs. A service not installed is skipped.
#pragma once

#include "kernel/collation/CustRecord.h"  // cust

#include <cstdint>

#include "platform/core/MacTypes.h"


struct KernelStartupServices {
    void (*readCust)() = nullptr;             // fills cust
    void (*initResourceManager)() = nullptr;  // initresman
    void (*makeSecurityManager)() = nullptr;  // no base open
    void (*initLooks)() = nullptr;            // InitVI
    void (*initBitmapCache)() = nullptr;      // the forms layer's picture cache
};
void SetKernelStartupServices(const KernelStartupServices& services);
// The services installed so far: a layer fills its own slots over them.
const KernelStartupServices& InstalledKernelStartupServices();

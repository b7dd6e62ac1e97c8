#include "kernel/store/StoreAccess.h"

int16_t numresfalse = 0;

namespace {
KernelStoreAccess gAccess;
}

void SetKernelStoreAccess(const KernelStoreAccess& access) { gAccess = access; }

const KernelStoreAccess& GetKernelStoreAccess() { return gAccess; }

bool StoreHasCurrentFile() { return gAccess.xcurres && gAccess.xgetres && gAccess.xcurres() != 0; }

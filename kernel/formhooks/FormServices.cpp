#include "kernel/formhooks/FormServices.h"

#include "kernel/store/StoreAccess.h"
#include "platform/core/FourCC.h"
#include "platform/text/ScriptManager.h"

namespace {

platform::Handle DefaultGetStaticPict(int16_t id, int32_t)
{
    if (id < 0 || !StoreHasCurrentFile()) return nullptr;
    return GetKernelStoreAccess().xgetres(platform::FourCC("PICT"), id, false);
}

int16_t DefaultGetLowBAC() { return platform::GetSysDirection(); }

GetStaticPictProc gGetStaticPict = DefaultGetStaticPict;
GetLowBACProc gGetLowBAC = DefaultGetLowBAC;

}  // namespace

platform::Handle GetStaticPict(int16_t id, int32_t extra) { return gGetStaticPict(id, extra); }

int16_t GetLowBAC() { return gGetLowBAC(); }

void SetGetStaticPictProc(GetStaticPictProc proc) { gGetStaticPict = proc ? proc : DefaultGetStaticPict; }

void SetGetLowBACProc(GetLowBACProc proc) { gGetLowBAC = proc ? proc : DefaultGetLowBAC; }

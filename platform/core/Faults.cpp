#include "platform/core/Faults.h"

namespace platform {
namespace {

struct Fault {
    bool armed = false;
    int32_t after = 0;
    int32_t count = 0;
};

Fault gFaults[size_t(FaultKind::Count)];
FaultProbe gProbe = nullptr;

}  // namespace

void InjectFault(FaultKind kind, int32_t after, int32_t count)
{
    gFaults[size_t(kind)] = Fault{true, after < 0 ? 0 : after, count};
}

void ClearFault(FaultKind kind) { gFaults[size_t(kind)] = Fault{}; }

void ClearAllFaults()
{
    for (auto& f : gFaults) f = Fault{};
}

void SetFaultProbe(FaultProbe probe) { gProbe = probe; }

bool ShouldFail(FaultKind kind)
{
    if (gProbe) gProbe(kind);
    Fault& f = gFaults[size_t(kind)];
    if (!f.armed) return false;
    if (f.after > 0) {
        --f.after;
        return false;
    }
    if (f.count < 0) return true;
    if (f.count == 0) {
        f.armed = false;
        return false;
    }
    if (--f.count == 0) f.armed = false;
    return true;
}

bool IsFaultArmed(FaultKind kind) { return gFaults[size_t(kind)].armed; }

}  // namespace platform

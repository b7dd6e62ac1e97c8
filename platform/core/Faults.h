// Fault injection: tests make a platform service fail on purpose, so that
// every failure path of the code above can be reached.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

enum class FaultKind : uint8_t {
    Allocation,  // handle and pointer allocation and growth (memFullErr)
    DiskFull,    // file writes and growth (dskFulErr)
    FileBusy,    // file opens (fBsyErr / opWrErr)
    Count
};

// From now on, let `after` more operations of that kind succeed, then fail
// the next `count` of them (count < 0: fail all of them until cleared).
void InjectFault(FaultKind kind, int32_t after, int32_t count = 1);
void ClearFault(FaultKind kind);
void ClearAllFaults();

// Called by a service before an operation that may fail: true means the
// operation must fail as injected.
bool ShouldFail(FaultKind kind);

// Told of every operation that may fail, before ShouldFail answers: a test
// learns where in a command its file writes come. Null: none.
using FaultProbe = void (*)(FaultKind kind);
void SetFaultProbe(FaultProbe probe);

// True while an injected fault of that kind is still to come: a test that
// sweeps every operation stops when the fault no longer fires.
bool IsFaultArmed(FaultKind kind);

// Clears the fault for its kind when it goes out of scope.
class ScopedFault {
public:
    ScopedFault(FaultKind kind, int32_t after, int32_t count = 1) : kind_(kind)
    {
        InjectFault(kind, after, count);
    }
    ~ScopedFault() { ClearFault(kind_); }
    ScopedFault(const ScopedFault&) = delete;
    ScopedFault& operator=(const ScopedFault&) = delete;

private:
    FaultKind kind_;
};

}  // namespace platform

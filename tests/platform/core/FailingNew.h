// A test-only global operator new that can be told to throw
// std::bad_alloc at the Nth allocation from now, so that every place the
// code above lets memory run out in the standard library is reached. The
// operators themselves are in FailingNewDefinitions.h, which exactly one
// source file of a test program includes.
#pragma once

#include <cstdint>

namespace testfaults {

struct NewFaultState {
    int64_t countdown = -1;  // allocations still to pass; -1: none armed
};

inline NewFaultState gNewFault;

// The allocation after `after` more throws (once).
inline void FailNthNew(int64_t after) { gNewFault.countdown = after; }
inline void StopFailingNew() { gNewFault.countdown = -1; }
// True while the armed failure has not happened yet.
inline bool NewFailurePending() { return gNewFault.countdown >= 0; }

// Called by the operators: true when this allocation must throw.
inline bool NewMustFail()
{
    if (gNewFault.countdown < 0) return false;
    return gNewFault.countdown-- == 0;
}

}  // namespace testfaults

#include "platform/drawing/CallCounts.h"

#include <cstddef>

namespace platform {

namespace {

uint32_t gCounts[std::size_t(DrawingCall::Count)] = {};

}  // namespace

uint32_t DrawingCallCount(DrawingCall call) { return call < DrawingCall::Count ? gCounts[std::size_t(call)] : 0; }

void ResetDrawingCallCounts()
{
    for (uint32_t& n : gCounts) n = 0;
}

void CountDrawingCall(DrawingCall call)
{
    if (call < DrawingCall::Count) ++gCounts[std::size_t(call)];
}

}  // namespace platform

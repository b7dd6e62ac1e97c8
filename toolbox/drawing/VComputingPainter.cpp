#include "toolbox/drawing/VComputingPainter.h"

#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/windows/Windows.h"

using namespace platform;

namespace {

// Far from anything a window shows: stray drawing lands off the port.
constexpr int32_t kScratchOffset = 20000;

}  // namespace

VComputingPainter::VComputingPainter() : VPainter(nullptr, true)
{
    GetGWorld(&fCallerPort, &fCallerDevice);
    // Making the scratch port makes it current; the caller's stays so.
    _InitPortRef(CreateNewPort());
    SetGWorld(fCallerPort, fCallerDevice);
    fOffsetX = fOffsetY = kScratchOffset;
}

VComputingPainter::~VComputingPainter()
{
    CGrafPtr scratch = fOwnPort;
    _DeInitPortRef(true);
    if (IsValidPort(fCallerPort)) {
        SetGWorld(fCallerPort, fCallerDevice);
    } else if (WindowRef front = FrontWindow()) {
        SetGWorld(GetWindowPort(front), nullptr);
    } else {
        SetGWorld(nullptr, nullptr);
    }
    DisposePort(scratch);
}

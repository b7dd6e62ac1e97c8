// A painter on a private scratch port, for measuring text and layouts
// without drawing anywhere visible. The platform's current port is the
// caller's again once it is made and once it is gone.
#pragma once

#include "toolbox/drawing/VPainter.h"

class VComputingPainter : public VPainter {
public:
    VComputingPainter();
    ~VComputingPainter() override;

private:
    platform::CGrafPtr fCallerPort = nullptr;
    platform::GDHandle fCallerDevice = nullptr;
};

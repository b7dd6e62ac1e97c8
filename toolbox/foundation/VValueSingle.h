// The values that hold one datum (as opposed to arrays of them).
#pragma once

#include "toolbox/foundation/VValue.h"

class VValueSingle : public VValue {
public:
    ~VValueSingle() override;
};

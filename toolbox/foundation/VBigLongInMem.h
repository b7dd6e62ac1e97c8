// The argument type of ToBigLong and FromBigLong. No wide-integer value is
// built on it here; the single values use only its value operations
// (FromLong, FromReal, FromValue, GetLong, GetReal, IsNull, ToString).
#pragma once

#include "toolbox/foundation/VValueSingle.h"

class VBigLongInMem : public VValueSingle {
public:
    ~VBigLongInMem() override;
};

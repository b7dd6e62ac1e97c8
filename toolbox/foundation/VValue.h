// The root of the typed values. A value reads and writes its stored form
// through a stream with the tag 'VVAL' (leading kind long) or 0 (data only).
#pragma once

#include <cstdint>

#include "toolbox/foundation/VObject.h"

class VValue : public VObject {
public:
    ~VValue() override;
    int32_t ReadFromStream(VStream* stream, int32_t tag) override;
    int32_t WriteToStream(VStream* stream, int32_t tag) const override;
};

// An object with a kernel stream form of its own.
#pragma once

#include <cstdint>

#include "toolbox/foundation/VObject.h"

class VStreamableObject : public VObject {
public:
    ~VStreamableObject() override;
    virtual int32_t oReadFromStream(VStream* stream, int32_t length);
    virtual int32_t oWriteToStream(VStream* stream);
};

#include "toolbox/foundation/VValue.h"

VValue::~VValue() = default;

int32_t VValue::ReadFromStream(VStream* stream, int32_t tag) { return VObject::ReadFromStream(stream, tag); }

int32_t VValue::WriteToStream(VStream* stream, int32_t tag) const
{
    return VObject::WriteToStream(stream, tag);
}

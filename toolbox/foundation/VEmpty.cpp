#include "toolbox/foundation/VEmpty.h"

#include "toolbox/foundation/VStream.h"

VEmpty::VEmpty() { fIsNull = 1; }
VEmpty::~VEmpty() = default;

int32_t VEmpty::ReadFromStream(VStream* stream, int32_t) { return stream->GetError(); }

int32_t VEmpty::WriteToStream(VStream* stream, int32_t tag) const
{
    if (tag == kValueTag) stream->PutLong(kValueEmpty);
    return stream->GetError();
}

VValue* VEmpty::Clone() const { return new VEmpty; }
bool VEmpty::CanBeEvaluated() const { return false; }
void VEmpty::SetNull(uint8_t, int32_t) {}
ValueKind VEmpty::GetValueKind() const { return kValueEmpty; }
int32_t VEmpty::CompareTo(const VValue&, uint8_t, int32_t) const { return kValuesNotComparable; }

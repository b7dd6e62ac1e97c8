#include "toolbox/foundation/VValue.h"

#include "toolbox/foundation/VBigLongInMem.h"
#include "toolbox/foundation/VString.h"

VValue::~VValue() = default;

int32_t VValue::ReadFromStream(VStream* stream, int32_t tag) { return VObject::ReadFromStream(stream, tag); }

int32_t VValue::WriteToStream(VStream* stream, int32_t tag) const
{
    return VObject::WriteToStream(stream, tag);
}

bool VValue::IsAnArray() const { return false; }
bool VValue::IsNumeric() const { return false; }
void VValue::SetDirty(uint8_t) {}
bool VValue::IsDirty() const { return false; }

void VValue::SetNull(uint8_t null, int32_t)
{
    fIsNull = null;
    SetDirty(true);
}

bool VValue::IsNull(int32_t) const { return fIsNull != 0; }
void VValue::Clear() {}

bool VValue::GetBoolean(int32_t) const { return false; }
int16_t VValue::GetWord(int32_t) const { return 0; }
int32_t VValue::GetLong(int32_t) const { return 0; }
int64_t VValue::GetLong8(int32_t) const { return 0; }
int32_t VValue::GetHour(int32_t) const { return 0; }
double VValue::GetReal(int32_t) const { return 0.0; }
void VValue::ToBigLong(VBigLongInMem& target, int32_t) const { target.FromValue(*this); }
void VValue::ToDate(DateBlock& date, int32_t) const { date = DateBlock{}; }
void VValue::ToString(VString& target, VString*, int32_t) const
{
    VValue& value = target;
    value.Clear();
}
void VValue::ToValue(VValue& target, int32_t) const { target.Clear(); }

void VValue::FromBoolean(uint8_t, int32_t) {}
void VValue::FromWord(int16_t, int32_t) {}
void VValue::FromLong(int32_t, int32_t) {}
void VValue::FromLong8(int64_t, int32_t) {}
void VValue::FromHour(int32_t, int32_t) {}
void VValue::FromReal(double, int32_t) {}
void VValue::FromBigLong(const VBigLongInMem&, int32_t) {}
void VValue::FromDate(const DateBlock&, int32_t) {}
void VValue::FromString(const VString&, int32_t) {}
void VValue::FromValue(const VValue&, int32_t) {}

void* VValue::LoadFromPtr(void* data, uint8_t) { return data; }
void* VValue::WriteToPtr(void* data, uint8_t) const { return data; }
int32_t VValue::GetSpace() const { return 0; }

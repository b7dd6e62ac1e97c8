#include "toolbox/foundation/VHour.h"

#include <cstring>

#include "toolbox/foundation/RealTruncation.h"
#include "toolbox/foundation/VEngine.h"
#include "toolbox/foundation/VBigLongInMem.h"
#include "toolbox/foundation/VStream.h"
#include "toolbox/foundation/VString.h"

VHourInMem::~VHourInMem() = default;

int32_t VHourInMem::ReadFromStream(VStream* stream, int32_t)
{
    int32_t value = 0;
    const int16_t err = stream->GetLong(value);
    if (err == 0) Set(value);
    return err;
}

int32_t VHourInMem::WriteToStream(VStream* stream, int32_t tag) const
{
    if (tag == kValueTag) stream->PutLong(GetValueKind());
    return stream->PutLong(Get());
}

VValue* VHourInMem::Clone() const { return new VHour(Get()); }
bool VHourInMem::CanBeEvaluated() const { return true; }
bool VHourInMem::IsNumeric() const { return false; }

void VHourInMem::Clear()
{
    Set(0);
    SetNull(false);
}

ValueKind VHourInMem::GetValueKind() const { return kValueHour; }
bool VHourInMem::GetBoolean(int32_t) const { return false; }
int16_t VHourInMem::GetWord(int32_t) const { return static_cast<int16_t>(Get()); }
int32_t VHourInMem::GetLong(int32_t) const { return Get(); }
int64_t VHourInMem::GetLong8(int32_t) const { return Get(); }
int32_t VHourInMem::GetHour(int32_t) const { return Get(); }
double VHourInMem::GetReal(int32_t) const { return Get(); }
void VHourInMem::ToBigLong(VBigLongInMem& target, int32_t) const { target.FromLong(Get()); }

void VHourInMem::ToString(VString& target, VString* format, int32_t) const
{
    target.FromHour(Get(), static_cast<HourFormat>(format != nullptr ? format->GetLong() : 0));
}

void VHourInMem::ToValue(VValue& target, int32_t) const { target.FromHour(Get()); }

void VHourInMem::FromBoolean(uint8_t, int32_t) {}
void VHourInMem::FromWord(int16_t value, int32_t) { FromLong(value); }

void VHourInMem::FromLong(int32_t value, int32_t)
{
    Set(value);
    SetNull(false);
}

void VHourInMem::FromLong8(int64_t value, int32_t) { FromLong(static_cast<int32_t>(static_cast<uint32_t>(value))); }
void VHourInMem::FromHour(int32_t value, int32_t) { FromLong(value); }
void VHourInMem::FromReal(double value, int32_t) { FromLong(TruncateToLong(value)); }

void VHourInMem::FromBigLong(const VBigLongInMem& value, int32_t)
{
    SetNull(value.IsNull());
    if (!value.IsNull()) Set(value.GetLong());
}

void VHourInMem::FromString(const VString&, int32_t) {}

void VHourInMem::FromValue(const VValue& value, int32_t)
{
    Set(value.GetHour());
    SetNull(value.IsNull());
}

int32_t VHourInMem::CompareTo(const VValue& other, uint8_t, int32_t) const
{
    const int32_t mine = Get();
    const int32_t theirs = other.GetHour();
    return mine == theirs ? 0 : (mine > theirs ? 1 : -1);
}

void* VHourInMem::LoadFromPtr(void* data, uint8_t)
{
    int32_t value;
    std::memcpy(&value, data, sizeof value);
    Set(value);
    SetNull(false);
    return static_cast<char*>(data) + sizeof value;
}

void* VHourInMem::WriteToPtr(void* data, uint8_t) const
{
    const int32_t value = Get();
    std::memcpy(data, &value, sizeof value);
    return static_cast<char*>(data) + sizeof value;
}

int32_t VHourInMem::GetSpace() const { return 4; }

VHour::~VHour() = default;

void VHour::FromString(const VString& text, int32_t) { FromLong(VEngine::EvalTime(text)); }

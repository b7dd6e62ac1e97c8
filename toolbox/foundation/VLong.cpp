#include "toolbox/foundation/VLong.h"

#include <cstring>

#include "toolbox/foundation/RealTruncation.h"
#include "toolbox/foundation/VBigLongInMem.h"
#include "toolbox/foundation/VStream.h"
#include "toolbox/foundation/VString.h"

VLongInMem::~VLongInMem() = default;

int32_t VLongInMem::ReadFromStream(VStream* stream, int32_t)
{
    int32_t value = 0;
    const int16_t err = stream->GetLong(value);
    if (err == 0) Set(value);
    return err;
}

int32_t VLongInMem::WriteToStream(VStream* stream, int32_t tag) const
{
    if (tag == kValueTag) stream->PutLong(GetValueKind());
    return stream->PutLong(Get());
}

VValue* VLongInMem::Clone() const { return new VLong(Get()); }
bool VLongInMem::CanBeEvaluated() const { return true; }
bool VLongInMem::IsNumeric() const { return true; }

void VLongInMem::Clear()
{
    Set(0);
    SetNull(false);
}

ValueKind VLongInMem::GetValueKind() const { return kValueLong; }
bool VLongInMem::GetBoolean(int32_t) const { return Get() != 0; }
int16_t VLongInMem::GetWord(int32_t) const { return static_cast<int16_t>(Get()); }
int32_t VLongInMem::GetLong(int32_t) const { return Get(); }
int64_t VLongInMem::GetLong8(int32_t) const { return Get(); }
int32_t VLongInMem::GetHour(int32_t) const { return Get(); }
double VLongInMem::GetReal(int32_t) const { return Get(); }
void VLongInMem::ToBigLong(VBigLongInMem& target, int32_t) const { target.FromLong(Get()); }

void VLongInMem::ToString(VString& target, VString* format, int32_t) const
{
    target.FromLong(Get());
    if (format != nullptr) target.ApplyNumericFormat(*format);
}

void VLongInMem::ToValue(VValue& target, int32_t) const { target.FromLong(Get()); }

void VLongInMem::FromBoolean(uint8_t value, int32_t) { FromLong(value); }
void VLongInMem::FromWord(int16_t value, int32_t) { FromLong(value); }

void VLongInMem::FromLong(int32_t value, int32_t)
{
    Set(value);
    SetNull(false);
}

void VLongInMem::FromLong8(int64_t value, int32_t) { FromLong(static_cast<int32_t>(static_cast<uint32_t>(value))); }
void VLongInMem::FromHour(int32_t value, int32_t) { FromLong(value); }
void VLongInMem::FromReal(double value, int32_t) { FromLong(TruncateToLong(value)); }

void VLongInMem::FromBigLong(const VBigLongInMem& value, int32_t)
{
    SetNull(value.IsNull());
    if (!value.IsNull()) Set(value.GetLong());
}

void VLongInMem::FromString(const VString& text, int32_t)
{
    SetNull(text.IsNull());
    if (!text.IsNull()) Set(text.GetLong());
}

void VLongInMem::FromValue(const VValue& value, int32_t)
{
    Set(value.GetLong());
    SetNull(value.IsNull());
}

int32_t VLongInMem::CompareTo(const VValue& other, uint8_t, int32_t) const
{
    const int32_t mine = Get();
    const int32_t theirs = other.GetLong();
    return mine == theirs ? 0 : (mine > theirs ? 1 : -1);
}

void* VLongInMem::LoadFromPtr(void* data, uint8_t)
{
    int32_t value;
    std::memcpy(&value, data, sizeof value);
    Set(value);
    SetNull(false);
    return static_cast<char*>(data) + sizeof value;
}

void* VLongInMem::WriteToPtr(void* data, uint8_t) const
{
    const int32_t value = Get();
    std::memcpy(data, &value, sizeof value);
    return static_cast<char*>(data) + sizeof value;
}

int32_t VLongInMem::GetSpace() const { return 4; }

VLong::~VLong() = default;

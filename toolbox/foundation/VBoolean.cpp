#include "toolbox/foundation/VBoolean.h"

#include <cstring>

#include "toolbox/foundation/VBigLongInMem.h"
#include "toolbox/foundation/VStream.h"
#include "toolbox/foundation/VString.h"

VBoolInMem::~VBoolInMem() = default;

void VBoolInMem::Set(uint8_t value)
{
    if (fStorage) *fStorage = value;
}

int32_t VBoolInMem::ReadFromStream(VStream* stream, int32_t)
{
    int16_t word = 0;
    const int16_t err = stream->GetWord(word);
    if (err == 0) Set(word != 0 ? 1 : 0);
    return err;
}

int32_t VBoolInMem::WriteToStream(VStream* stream, int32_t tag) const
{
    if (tag == kValueTag) stream->PutLong(GetValueKind());
    return stream->PutWord(Get());
}

VValue* VBoolInMem::Clone() const { return new VBoolean(Get()); }
bool VBoolInMem::CanBeEvaluated() const { return true; }

void VBoolInMem::Clear()
{
    Set(0);
    SetNull(false);
}

ValueKind VBoolInMem::GetValueKind() const { return kValueBoolean; }
bool VBoolInMem::GetBoolean(int32_t) const { return Get() != 0; }
int16_t VBoolInMem::GetWord(int32_t) const { return Get(); }
int32_t VBoolInMem::GetLong(int32_t) const { return Get(); }
int64_t VBoolInMem::GetLong8(int32_t) const { return Get(); }
int32_t VBoolInMem::GetHour(int32_t) const { return Get(); }
double VBoolInMem::GetReal(int32_t) const { return Get(); }
void VBoolInMem::ToBigLong(VBigLongInMem& target, int32_t) const { target.FromLong(Get()); }

void VBoolInMem::ToString(VString& target, VString* format, int32_t) const
{
    target.FromBoolean(Get());
    if (format != nullptr) target.ApplyStringFormat(*format);
}

void VBoolInMem::ToValue(VValue& target, int32_t) const { target.FromBoolean(Get()); }

void VBoolInMem::FromBoolean(uint8_t value, int32_t)
{
    Set(value);
    SetNull(false);
}

void VBoolInMem::FromWord(int16_t value, int32_t) { FromBoolean(value != 0); }
void VBoolInMem::FromLong(int32_t value, int32_t) { FromBoolean(value != 0); }
void VBoolInMem::FromLong8(int64_t value, int32_t) { FromBoolean(value != 0); }
void VBoolInMem::FromHour(int32_t value, int32_t) { FromBoolean(value != 0); }
void VBoolInMem::FromReal(double value, int32_t) { FromBoolean(value != 0.0); }

void VBoolInMem::FromBigLong(const VBigLongInMem& value, int32_t)
{
    SetNull(value.IsNull());
    if (!value.IsNull()) Set(value.GetLong() != 0);
}

void VBoolInMem::FromString(const VString& text, int32_t)
{
    SetNull(text.IsNull());
    Set(text.GetBoolean());
}

void VBoolInMem::FromValue(const VValue& value, int32_t)
{
    Set(value.GetBoolean());
    SetNull(value.IsNull());
}

int32_t VBoolInMem::CompareTo(const VValue& other, uint8_t, int32_t) const
{
    // By truth, not by byte: a boolean stored as 2 equals true.
    const bool mine = Get() != 0;
    const bool theirs = other.GetBoolean();
    if (mine == theirs) return 0;
    return mine ? 1 : -1;
}

void* VBoolInMem::LoadFromPtr(void* data, uint8_t)
{
    Set(*static_cast<uint8_t*>(data));
    SetNull(false);
    return static_cast<uint8_t*>(data) + 1;
}

void* VBoolInMem::WriteToPtr(void* data, uint8_t) const
{
    *static_cast<uint8_t*>(data) = Get();
    return static_cast<uint8_t*>(data) + 1;
}

int32_t VBoolInMem::GetSpace() const { return 1; }

VBoolean& VBoolean::operator=(const VBoolean& other)
{
    fValue = other.fValue;
    fIsNull = other.fIsNull;
    return *this;
}

VBoolean::~VBoolean() = default;

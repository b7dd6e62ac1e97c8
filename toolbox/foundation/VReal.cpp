#include "toolbox/foundation/VReal.h"

#include <cstring>

#include "toolbox/foundation/KernelTextHooks.h"
#include "toolbox/foundation/RealTruncation.h"
#include "toolbox/foundation/VBigLongInMem.h"
#include "toolbox/foundation/VStream.h"
#include "toolbox/foundation/VString.h"

VRealInMem::~VRealInMem() = default;

int32_t VRealInMem::ReadFromStream(VStream* stream, int32_t)
{
    // Read through the stream's real even without storage, so a 68K
    // stream's 10-byte real is skipped whole.
    const double value = stream->GetReal();
    const int16_t err = stream->GetError();
    if (err == 0) Set(value);
    return err;
}

int32_t VRealInMem::WriteToStream(VStream* stream, int32_t tag) const
{
    if (tag == kValueTag) stream->PutLong(GetValueKind());
    return stream->PutReal(Get());
}

VValue* VRealInMem::Clone() const { return new VReal(Get()); }
bool VRealInMem::CanBeEvaluated() const { return true; }
bool VRealInMem::IsNumeric() const { return true; }

void VRealInMem::Clear()
{
    Set(0.0);
    SetNull(false);
}

ValueKind VRealInMem::GetValueKind() const { return kValueReal; }
bool VRealInMem::GetBoolean(int32_t) const { return Get() != 0.0; }
int16_t VRealInMem::GetWord(int32_t) const { return static_cast<int16_t>(TruncateToLong(Get())); }
int32_t VRealInMem::GetLong(int32_t) const { return TruncateToLong(Get()); }
int64_t VRealInMem::GetLong8(int32_t) const { return TruncateToLong8(Get()); }
int32_t VRealInMem::GetHour(int32_t) const { return TruncateToLong(Get()); }
double VRealInMem::GetReal(int32_t) const { return Get(); }
void VRealInMem::ToBigLong(VBigLongInMem& target, int32_t) const { target.FromReal(Get()); }

void VRealInMem::ToString(VString& target, VString* format, int32_t) const
{
    uint8_t text[256 + sizeof(double)] = {};
    const double value = Get();
    gKernelTextHooks.realToText(&value, text, 0);
    target.FromPString(text, kCharSetMac);
    if (format != nullptr) target.ApplyNumericFormat(*format);
}

void VRealInMem::ToValue(VValue& target, int32_t) const { target.FromReal(Get()); }

void VRealInMem::FromBoolean(uint8_t value, int32_t) { FromReal(value); }
void VRealInMem::FromWord(int16_t value, int32_t) { FromReal(value); }
void VRealInMem::FromLong(int32_t value, int32_t) { FromReal(value); }
void VRealInMem::FromLong8(int64_t value, int32_t) { FromReal(static_cast<double>(value)); }
void VRealInMem::FromHour(int32_t value, int32_t) { FromReal(value); }

void VRealInMem::FromReal(double value, int32_t)
{
    Set(value);
    SetNull(false);
}

void VRealInMem::FromBigLong(const VBigLongInMem& value, int32_t)
{
    SetNull(value.IsNull());
    if (!value.IsNull()) Set(value.GetReal());
}

void VRealInMem::FromString(const VString& text, int32_t)
{
    SetNull(text.IsNull());
    if (!text.IsNull()) Set(text.GetReal());
}

void VRealInMem::FromValue(const VValue& value, int32_t)
{
    Set(value.GetReal());
    SetNull(value.IsNull());
}

int32_t VRealInMem::CompareTo(const VValue& other, uint8_t, int32_t) const
{
    const double mine = Get();
    const double theirs = other.GetReal();
    if (mine == theirs) return 0;
    return mine > theirs ? 1 : -1;
}

void* VRealInMem::LoadFromPtr(void* data, uint8_t)
{
    double value;
    std::memcpy(&value, data, sizeof value);
    Set(value);
    SetNull(false);
    return static_cast<char*>(data) + sizeof value;
}

void* VRealInMem::WriteToPtr(void* data, uint8_t) const
{
    const double value = Get();
    std::memcpy(data, &value, sizeof value);
    return static_cast<char*>(data) + sizeof value;
}

int32_t VRealInMem::GetSpace() const { return 8; }

VReal::~VReal() = default;

#include "toolbox/foundation/VArrayBoolean.h"

#include <algorithm>
#include <cstring>

#include "toolbox/foundation/VBigLongInMem.h"
#include "toolbox/foundation/VMemoryMgr.h"
#include "toolbox/foundation/VStream.h"
#include "toolbox/foundation/VString.h"

VArrayBoolean::VArrayBoolean(int32_t count) : VArrayValue(0) { SetCount(count, 0); }
VArrayBoolean::VArrayBoolean(const VArrayBoolean& source) : VArrayValue(source) {}

VValue* VArrayBoolean::Clone() const { return new VArrayBoolean(*this); }
ValueKind VArrayBoolean::GetValueKind() const { return kValueBooleanArray; }
ValueKind VArrayBoolean::GetElemValueKind() const { return kValueBoolean; }

bool VArrayBoolean::Bit(int32_t i) const { return ((*fBlock)[(i - 1) / 8] >> ((i - 1) % 8)) & 1; }

void VArrayBoolean::SetBit(int32_t i, bool on)
{
    char& byte = (*fBlock)[(i - 1) / 8];
    const char mask = char(1 << ((i - 1) % 8));
    byte = on ? char(byte | mask) : char(byte & ~mask);
}

int32_t VArrayBoolean::SetCount(int32_t n, uint8_t shrink)
{
    n = std::max(n, 0);
    if (n == fCount) return 0;
    if (n > fAllocated || shrink != 0) {
        const int32_t allocated = int32_t((int64_t(n) + 7) / 8 * 8);
        if (fBlock == nullptr || !gMemory->SetHandleSizeClear(fBlock, uint32_t(allocated / 8)))
            return gMemory->GetLastError() != 0 ? gMemory->GetLastError() : -108;
        fAllocated = allocated;
    }
    fCount = n;
    fCurrent = std::min(fCurrent, n);
    return 0;
}

int32_t VArrayBoolean::Find(const VValue& value, int32_t start, uint8_t forward, CompareMethod method) const
{
    return Find(value.GetBoolean() ? 1 : 0, start, forward, method);
}

int32_t VArrayBoolean::Find(uint8_t value, int32_t start, uint8_t forward, CompareMethod) const
{
    if (start < 1 || start > fCount) return -1;
    const bool wanted = value != 0;
    if (forward != 0) {
        for (int32_t i = start; i <= fCount; ++i)
            if (Bit(i) == wanted) return i;
    } else {
        for (int32_t i = start; i >= 1; --i)
            if (Bit(i) == wanted) return i;
    }
    return -1;
}

void VArrayBoolean::Sort(uint8_t) {}
void VArrayBoolean::Unsort() {}

void VArrayBoolean::ReOrder(const int32_t* perm)
{
    char** old = gMemory->NewHandle(fBlock);
    if (old == nullptr) return;
    for (int32_t i = 0; i < fCount; ++i) {
        const int32_t from = perm[i];
        if (from >= 0 && from < fCount) SetBit(i + 1, ((*old)[from / 8] >> (from % 8)) & 1);
    }
    gMemory->DisposeHandle(old);
}

void VArrayBoolean::MoveElements(int32_t from, int32_t to, int32_t count)
{
    if (from < 1 || to < 1 || from > fCount || to > fCount || from == to || count < 1) return;
    if (int64_t(to - 1) + count > fAllocated || int64_t(from - 1) + count > fAllocated) return;
    // As in the other arrays, the part of the source run that the
    // destination does not cover is cleared: inserted elements start false.
    if (to > from) {
        for (int32_t k = count - 1; k >= 0; --k) SetBit(to + k, Bit(from + k));
        for (int32_t k = 0; k < std::min(count, to - from); ++k) SetBit(from + k, false);
    } else {
        for (int32_t k = 0; k < count; ++k) SetBit(to + k, Bit(from + k));
        const int32_t vacated = std::min(count, from - to);
        for (int32_t k = 0; k < vacated; ++k) SetBit(from + count - vacated + k, false);
    }
}

int32_t VArrayBoolean::CompareElements(const void*, const void*) const { return 0; }

bool VArrayBoolean::GetBoolean(int32_t index) const
{
    const int32_t i = Resolve(index);
    return i != 0 && Bit(i);
}
int16_t VArrayBoolean::GetWord(int32_t index) const { return GetBoolean(index) ? 1 : 0; }
int32_t VArrayBoolean::GetLong(int32_t index) const { return GetBoolean(index) ? 1 : 0; }
int64_t VArrayBoolean::GetLong8(int32_t index) const { return GetBoolean(index) ? 1 : 0; }
int32_t VArrayBoolean::GetHour(int32_t index) const { return GetBoolean(index) ? 1 : 0; }
double VArrayBoolean::GetReal(int32_t index) const { return GetBoolean(index) ? 1.0 : 0.0; }

void VArrayBoolean::ToBigLong(VBigLongInMem& target, int32_t index) const { target.FromLong(GetLong(index)); }
void VArrayBoolean::ToDate(DateBlock& date, int32_t) const { date = DateBlock(); }
void VArrayBoolean::ToString(VString& target, VString*, int32_t) const { target.Clear(); }
void VArrayBoolean::ToValue(VValue& target, int32_t index) const { target.FromBoolean(GetBoolean(index) ? 1 : 0); }

void VArrayBoolean::FromBoolean(uint8_t value, int32_t index)
{
    if (const int32_t i = Resolve(index)) SetBit(i, value != 0);
}
void VArrayBoolean::FromWord(int16_t value, int32_t index) { FromBoolean(value != 0, index); }
void VArrayBoolean::FromLong(int32_t value, int32_t index) { FromBoolean(value != 0, index); }
void VArrayBoolean::FromLong8(int64_t, int32_t) {}
void VArrayBoolean::FromHour(int32_t value, int32_t index) { FromBoolean(value != 0, index); }
void VArrayBoolean::FromReal(double value, int32_t index) { FromBoolean(value != 0.0, index); }
void VArrayBoolean::FromBigLong(const VBigLongInMem& value, int32_t index) { FromBoolean(value.GetLong() != 0, index); }
void VArrayBoolean::FromDate(const DateBlock&, int32_t) {}
void VArrayBoolean::FromString(const VString& text, int32_t index) { FromBoolean(text.GetBoolean() ? 1 : 0, index); }
void VArrayBoolean::FromValue(const VValue& value, int32_t index) { FromBoolean(value.GetBoolean() ? 1 : 0, index); }

int32_t VArrayBoolean::CompareTo(const VValue& other, uint8_t, int32_t index) const
{
    const bool mine = GetBoolean(index);
    if (mine == other.GetBoolean()) return 0;
    return mine ? 1 : -1;
}

int64_t VArrayBoolean::MinimumStreamBytes(int32_t count) const { return (int64_t(count) + 7) / 8; }

int32_t VArrayBoolean::WriteElements(VStream* stream) const
{
    return stream->PutBytes(*fBlock, int32_t((int64_t(fCount) + 7) / 8));
}

int32_t VArrayBoolean::ReadElements(VStream* stream)
{
    int32_t bytes = int32_t((int64_t(fCount) + 7) / 8);
    return stream->GetBytes(*fBlock, &bytes);
}

#include "toolbox/foundation/VArrayString.h"

#include "platform/core/FourCC.h"
#include "toolbox/foundation/VBigLongInMem.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/foundation/VStream.h"
#include "toolbox/foundation/VString.h"
#include "toolbox/foundation/VText.h"

namespace {
constexpr int32_t kNullElement = int32_t(platform::FourCC("NULL"));

template <int N>
VString* NewFixed()
{
    return new VStr<N>;
}
}  // namespace

VArrayString::VArrayString(int32_t count) : VArrayValue(int32_t(sizeof(VString*))) { SetCount(count, 0); }

VArrayString::VArrayString(const VArrayString& source) : VArrayValue(source) { CopyElements(); }

VArrayString::~VArrayString() { DeleteElements(1, fCount); }

VValue* VArrayString::Clone() const { return new VArrayString(*this); }
ValueKind VArrayString::GetValueKind() const { return kValueStringArray; }
ValueKind VArrayString::GetElemValueKind() const { return kValueString; }

int32_t VArrayString::SetCount(int32_t n, uint8_t shrink)
{
    if (n < fCount) DeleteElements(std::max(n, 0) + 1, fCount - std::max(n, 0));
    return VArrayValue::SetCount(n, shrink);
}

void VArrayString::CopyElements()
{
    for (int32_t i = 1; i <= fAllocated; ++i)
        if (VString*& e = Slot(i); e != nullptr) e = static_cast<VString*>(e->Clone());
}

void VArrayString::DeleteElements(int32_t from, int32_t count)
{
    for (int32_t i = std::max(from, 1); i < from + count && i <= fCount; ++i) {
        delete Slot(i);
        Slot(i) = nullptr;
    }
}

int32_t VArrayString::CompareElements(const void* a, const void* b) const
{
    const VString* x = *static_cast<VString* const*>(a);
    const VString* y = *static_cast<VString* const*>(b);
    if (x == nullptr || y == nullptr) return x == y ? 0 : (x == nullptr ? -1 : 1);
    return x->CompareTo(*y, 0);
}

VString* VArrayString::GetVString(int32_t index) const
{
    const int32_t i = Resolve(index);
    return i != 0 ? Slot(i) : nullptr;
}

void VArrayString::FromVString(VString* text, int32_t index)
{
    const int32_t i = Resolve(index);
    if (i == 0) {
        delete text;
        return;
    }
    delete Slot(i);
    Slot(i) = text;
}

int32_t VArrayString::AppendVString(VString* text, uint8_t all)
{
    int32_t saved;
    if (BeginAppend(all, &saved) == 0) {
        delete text;
        return 0;
    }
    FromVString(text, fCurrent);
    return EndAppend(saved);
}

int32_t VArrayString::Find(const VValue& value, int32_t start, uint8_t forward, CompareMethod method) const
{
    VStr<255> text;
    value.ToString(text);
    return Find(text, start, forward, method);
}

int32_t VArrayString::Find(const VString& value, int32_t start, uint8_t forward, CompareMethod method) const
{
    if (fCount == 0 || start < 1 || start > fCount) return -1;
    if (fAutoSort != 0 && start == 1 && forward != 0 && method == 0) return _QuickFind(value);
    if (method < -2 || method > 2) return start;
    auto meets = [&](int32_t i) {
        const VString* e = Slot(i);
        if (e == nullptr) return method < 0;
        const int32_t c = e->CompareTo(value, 0);
        switch (method) {
        case 0: return c == 0;
        case 1: return c > 0;
        case 2: return c >= 0;
        case -1: return c < 0;
        default: return c <= 0;
        }
    };
    if (forward != 0) {
        for (int32_t i = start; i <= fCount; ++i)
            if (meets(i)) return i;
    } else {
        for (int32_t i = start; i >= 1; --i)
            if (meets(i)) return i;
    }
    return -1;
}

int32_t VArrayString::_QuickFind(const VString& value) const
{
    int32_t lo = 0, hi = fCount - 1;
    while (lo <= hi) {
        const int32_t mid = lo + (hi - lo) / 2;
        const VString* e = Slot(mid + 1);
        const int32_t c = e == nullptr ? 1 : value.CompareTo(*e, 0);
        if (c == 0) return mid + 1;
        if (c < 0)
            hi = mid - 1;
        else
            lo = mid + 1;
    }
    return -1;
}

bool VArrayString::GetBoolean(int32_t index) const
{
    const VString* e = GetVString(index);
    return e != nullptr && e->GetBoolean();
}
int16_t VArrayString::GetWord(int32_t index) const
{
    const VString* e = GetVString(index);
    return e != nullptr ? e->GetWord() : 0;
}
int32_t VArrayString::GetLong(int32_t index) const
{
    const VString* e = GetVString(index);
    return e != nullptr ? e->GetLong() : 0;
}
int64_t VArrayString::GetLong8(int32_t index) const
{
    const VString* e = GetVString(index);
    return e != nullptr ? e->GetLong8() : 0;
}
int32_t VArrayString::GetHour(int32_t index) const
{
    const VString* e = GetVString(index);
    return e != nullptr ? e->GetHour() : 0;
}
double VArrayString::GetReal(int32_t index) const
{
    const VString* e = GetVString(index);
    return e != nullptr ? e->GetReal() : 0.0;
}

void VArrayString::ToBigLong(VBigLongInMem& target, int32_t index) const
{
    if (const VString* e = GetVString(index))
        target.FromString(*e);
    else
        target.Clear();
}

void VArrayString::ToDate(DateBlock& date, int32_t index) const
{
    date = DateBlock();
    if (const VString* e = GetVString(index)) e->ToDate(date);
}

void VArrayString::ToString(VString& target, VString* format, int32_t index) const
{
    const VString* e = GetVString(index);
    if (e == nullptr) {
        target.Clear();
        return;
    }
    target.FromVString(*e);
    if (format != nullptr) target.ApplyStringFormat(*format);
}

void VArrayString::ToValue(VValue& target, int32_t index) const
{
    if (const VString* e = GetVString(index))
        target.FromString(*e);
    else
        target.Clear();
}

template <class Make>
VString* VArrayString::Target(int32_t index, Make make, bool* existed)
{
    const int32_t i = Resolve(index);
    *existed = false;
    if (i == 0) return nullptr;
    if (Slot(i) != nullptr) {
        *existed = true;
        return Slot(i);
    }
    Slot(i) = make();
    return Slot(i);
}

void VArrayString::FromBoolean(uint8_t value, int32_t index)
{
    bool existed;
    if (VString* e = Target(index, NewFixed<31>, &existed)) {
        e->FromBoolean(value);
        if (existed) AutoSort();
    }
}

void VArrayString::FromWord(int16_t value, int32_t index)
{
    bool existed;
    if (VString* e = Target(index, NewFixed<31>, &existed)) {
        e->FromWord(value);
        if (existed) AutoSort();
    }
}

void VArrayString::FromLong(int32_t value, int32_t index)
{
    bool existed;
    if (VString* e = Target(index, NewFixed<31>, &existed)) {
        e->FromLong(value);
        if (existed) AutoSort();
    }
}

void VArrayString::FromLong8(int64_t, int32_t) {}

void VArrayString::FromHour(int32_t value, int32_t index)
{
    bool existed;
    if (VString* e = Target(index, NewFixed<80>, &existed)) e->FromHour(value);
}

void VArrayString::FromReal(double value, int32_t index)
{
    bool existed;
    if (VString* e = Target(index, NewFixed<80>, &existed)) {
        e->FromReal(value);
        if (existed) AutoSort();
    }
}

void VArrayString::FromBigLong(const VBigLongInMem& value, int32_t index)
{
    bool existed;
    if (VString* e = Target(index, NewFixed<80>, &existed)) value.ToString(*e);
}

void VArrayString::FromDate(const DateBlock& date, int32_t index)
{
    bool existed;
    if (VString* e = Target(index, NewFixed<80>, &existed)) e->FromDate(date);
}

void VArrayString::FromString(const VString& text, int32_t index)
{
    const int32_t i = Resolve(index);
    if (i == 0) return;
    VString*& e = Slot(i);
    if (e != nullptr && e->GetMaxLength() >= text.GetLength()) {
        e->FromString(text);
    } else {
        delete e;
        e = static_cast<VString*>(text.Clone());
    }
    AutoSort();
}

void VArrayString::FromValue(const VValue& value, int32_t index)
{
    bool existed;
    if (VString* e = Target(index, [] { return static_cast<VString*>(new VText); }, &existed)) e->FromValue(value);
}

int32_t VArrayString::CompareTo(const VValue& other, uint8_t option, int32_t index) const
{
    const VString* e = GetVString(index);
    if (e == nullptr) return -1;
    VText text;
    other.ToString(text);
    return e->CompareTo(text, option);
}

int64_t VArrayString::MinimumStreamBytes(int32_t count) const { return int64_t(count) * 4; }

int32_t VArrayString::WriteElements(VStream* stream) const
{
    for (int32_t i = 1; i <= fCount && stream->GetError() == 0; ++i) {
        const VString* e = Slot(i);
        if (e == nullptr) {
            stream->PutLong(kNullElement);
        } else {
            stream->PutLong(e->GetStringKind());
            e->WriteToStream(stream, 0);
        }
    }
    return stream->GetError();
}

int32_t VArrayString::ReadElements(VStream* stream)
{
    for (int32_t i = 1; i <= fCount && stream->GetError() == 0; ++i) {
        delete Slot(i);
        Slot(i) = nullptr;
        const int32_t kind = stream->GetLong();
        if (stream->GetError() != 0) break;
        VString* e = NewStringFromStringKind(kind);
        if (e == nullptr) continue;
        Slot(i) = e;
        // A text too long for its string is skipped whole; any other refusal
        // leaves the stream where the next element cannot be found.
        const int32_t err = e->ReadFromStream(stream, 0);
        if (err != 0 && err != kStringTooLong) return err;
    }
    return stream->GetError();
}

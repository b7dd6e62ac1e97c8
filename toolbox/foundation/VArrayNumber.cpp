#include "toolbox/foundation/VArrayNumber.h"

#include <cstring>

#include "toolbox/foundation/RealTruncation.h"
#include "toolbox/foundation/VBigLongInMem.h"
#include "toolbox/foundation/VStream.h"
#include "toolbox/foundation/VString.h"

namespace {
template <class T>
bool Meets(T e, T v, CompareMethod method)
{
    switch (method) {
    case 0: return e == v;
    case 1: return e < v;
    case 2: return e <= v;
    case -1: return e > v;
    case -2: return e >= v;
    default: return false;
    }
}

bool KnownMethod(CompareMethod m) { return m >= -2 && m <= 2; }
}  // namespace

template <class T>
T VArrayNumber<T>::Element(int32_t i) const
{
    T value;
    std::memcpy(&value, ElementAt(i), sizeof value);
    return value;
}

template <class T>
void VArrayNumber<T>::Store(T value, int32_t index)
{
    const int32_t i = Resolve(index);
    if (i == 0) return;
    std::memcpy(ElementAt(i), &value, sizeof value);
    AutoSort();
}

template <class T>
int32_t VArrayNumber<T>::Find(const VValue& value, int32_t start, uint8_t forward, CompareMethod method) const
{
    if constexpr (sizeof(T) == 2)
        return Find(value.GetWord(), start, forward, method);
    else
        return Find(value.GetLong(), start, forward, method);
}

template <class T>
int32_t VArrayNumber<T>::Find(T value, int32_t start, uint8_t forward, CompareMethod method) const
{
    if (fCount == 0 || start < 1 || start > fCount) return -1;
    if (fAutoSort != 0 && start == 1 && forward != 0 && method == 0) return _QuickFind(value);
    if (!KnownMethod(method)) return start;
    if (forward != 0) {
        for (int32_t i = start; i <= fCount; ++i)
            if (Meets(Element(i), value, method)) return i;
    } else {
        for (int32_t i = start; i >= 1; --i)
            if (Meets(Element(i), value, method)) return i;
    }
    return -1;
}

template <class T>
int32_t VArrayNumber<T>::_QuickFind(T value) const
{
    int32_t lo = 0, hi = fCount - 1;
    while (lo <= hi) {
        const int32_t mid = lo + (hi - lo) / 2;
        const T e = Element(mid + 1);
        if (e == value) return mid + 1;
        if (e > value)
            hi = mid - 1;
        else
            lo = mid + 1;
    }
    return -1;
}

template <class T>
int32_t VArrayNumber<T>::CompareElements(const void* a, const void* b) const
{
    T x, y;
    std::memcpy(&x, a, sizeof x);
    std::memcpy(&y, b, sizeof y);
    return x < y ? -1 : x > y ? 1 : 0;
}

template <class T>
bool VArrayNumber<T>::GetBoolean(int32_t index) const
{
    const int32_t i = Resolve(index);
    return i != 0 && Element(i) != 0;
}

template <class T>
int16_t VArrayNumber<T>::GetWord(int32_t index) const
{
    const int32_t i = Resolve(index);
    return i != 0 ? int16_t(Element(i)) : 0;
}

template <class T>
int32_t VArrayNumber<T>::GetLong(int32_t index) const
{
    const int32_t i = Resolve(index);
    return i != 0 ? int32_t(Element(i)) : 0;
}

template <class T>
int64_t VArrayNumber<T>::GetLong8(int32_t index) const
{
    return GetLong(index);
}

template <class T>
int32_t VArrayNumber<T>::GetHour(int32_t index) const
{
    return GetLong(index);
}

template <class T>
double VArrayNumber<T>::GetReal(int32_t index) const
{
    return GetLong(index);
}

template <class T>
void VArrayNumber<T>::ToBigLong(VBigLongInMem& target, int32_t index) const
{
    target.FromLong(GetLong(index));
}

template <class T>
void VArrayNumber<T>::ToDate(DateBlock& date, int32_t) const
{
    date = DateBlock();
}

template <class T>
void VArrayNumber<T>::ToString(VString& target, VString* format, int32_t index) const
{
    if constexpr (sizeof(T) == 2)
        target.FromWord(GetWord(index));
    else
        target.FromLong(GetLong(index));
    if (format != nullptr) target.ApplyNumericFormat(*format);
}

template <class T>
void VArrayNumber<T>::ToValue(VValue& target, int32_t index) const
{
    if constexpr (sizeof(T) == 2)
        target.FromWord(GetWord(index));
    else
        target.FromLong(GetLong(index));
}

template <class T>
void VArrayNumber<T>::FromBoolean(uint8_t value, int32_t index)
{
    Store(T(value), index);
}

template <class T>
void VArrayNumber<T>::FromWord(int16_t value, int32_t index)
{
    Store(T(value), index);
}

template <class T>
void VArrayNumber<T>::FromLong(int32_t value, int32_t index)
{
    Store(T(value), index);  // words keep the low 16 bits
}

template <class T>
void VArrayNumber<T>::FromLong8(int64_t, int32_t)
{
}

template <class T>
void VArrayNumber<T>::FromHour(int32_t value, int32_t index)
{
    FromLong(value, index);
}

template <class T>
void VArrayNumber<T>::FromReal(double value, int32_t index)
{
    Store(T(TruncateToLong(value)), index);
}

template <class T>
void VArrayNumber<T>::FromBigLong(const VBigLongInMem& value, int32_t index)
{
    FromLong(value.GetLong(), index);
}

template <class T>
void VArrayNumber<T>::FromDate(const DateBlock&, int32_t)
{
}

template <class T>
void VArrayNumber<T>::FromString(const VString& text, int32_t index)
{
    if constexpr (sizeof(T) == 2)
        FromWord(text.GetWord(), index);
    else
        FromLong(text.GetLong(), index);
}

template <class T>
void VArrayNumber<T>::FromValue(const VValue& value, int32_t index)
{
    if constexpr (sizeof(T) == 2)
        FromWord(value.GetWord(), index);
    else
        FromLong(value.GetLong(), index);
}

template <class T>
int32_t VArrayNumber<T>::CompareTo(const VValue& other, uint8_t, int32_t index) const
{
    const int32_t mine = GetLong(index);
    const int32_t theirs = sizeof(T) == 2 ? other.GetWord() : other.GetLong();
    return mine < theirs ? -1 : mine > theirs ? 1 : 0;
}

template <class T>
int32_t VArrayNumber<T>::WriteElements(VStream* stream) const
{
    if constexpr (sizeof(T) == 2)
        return stream->PutWords(reinterpret_cast<const int16_t*>(*fBlock), fCount);
    else
        return stream->PutLongs(reinterpret_cast<const int32_t*>(*fBlock), fCount);
}

template <class T>
int32_t VArrayNumber<T>::ReadElements(VStream* stream)
{
    int32_t count = fCount;
    if constexpr (sizeof(T) == 2)
        return stream->GetWords(reinterpret_cast<int16_t*>(*fBlock), &count);
    else
        return stream->GetLongs(reinterpret_cast<int32_t*>(*fBlock), &count);
}

template class VArrayNumber<int16_t>;
template class VArrayNumber<int32_t>;

VArrayWord::VArrayWord(int32_t count) { SetCount(count, 0); }
VArrayWord::VArrayWord(const VArrayWord& source) = default;
VValue* VArrayWord::Clone() const { return new VArrayWord(*this); }
ValueKind VArrayWord::GetValueKind() const { return kValueWordArray; }
ValueKind VArrayWord::GetElemValueKind() const { return kValueWord; }

VArrayLong::VArrayLong(int32_t count) { SetCount(count, 0); }
VArrayLong::VArrayLong(const VArrayLong& source) = default;
VValue* VArrayLong::Clone() const { return new VArrayLong(*this); }
ValueKind VArrayLong::GetValueKind() const { return kValueLongArray; }
ValueKind VArrayLong::GetElemValueKind() const { return kValueLong; }

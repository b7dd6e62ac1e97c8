#include "toolbox/foundation/VArrayValue.h"

#include <algorithm>
#include <cstring>
#include <typeinfo>

#include "platform/core/Memory.h"
#include "toolbox/foundation/VMemoryMgr.h"
#include "toolbox/foundation/VStack.h"
#include "toolbox/foundation/VStream.h"

namespace {
constexpr int32_t kMemFullErr = -108;

int32_t MemoryError()
{
    if (int32_t err = gMemory->GetLastError(); err != 0) return err;
    if (int32_t err = platform::MemError(); err != 0) return err;
    return kMemFullErr;
}
}  // namespace

VArrayValue::VArrayValue(int32_t elemSize) : VValueMultiple(-1), fElemSize(elemSize)
{
    fBlock = gMemory->NewHandleClear(0, 0);
}

VArrayValue::VArrayValue(const VArrayValue& source)
    : VValueMultiple(-1),
      fElemSize(source.fElemSize),
      fAllocated(source.fAllocated),
      fCount(source.fCount),
      fCurrent(source.fCount),
      fAutoSort(source.fAutoSort)
{
    fBlock = source.fBlock != nullptr ? gMemory->NewHandle(source.fBlock) : nullptr;
    if (fBlock == nullptr) {
        fBlock = gMemory->NewHandleClear(0, 0);
        fAllocated = fCount = fCurrent = 0;
    }
}

VArrayValue::~VArrayValue()
{
    SynchronizeWith(nullptr);
    if (fBlock != nullptr) gMemory->DisposeHandle(fBlock);
}

bool VArrayValue::IsAnArray() const { return true; }
bool VArrayValue::CanBeEvaluated() const { return true; }
void VArrayValue::Clear() { Delete(1, fCount); }
void* VArrayValue::LoadFromPtr(void* data, uint8_t) { return data; }
void* VArrayValue::WriteToPtr(void* data, uint8_t) const { return data; }
int32_t VArrayValue::GetSpace() const { return 0; }
int32_t VArrayValue::GetCount() const { return fCount; }
VItemRef* VArrayValue::NewItemRef() const { return nullptr; }

int32_t VArrayValue::Resolve(int32_t index) const
{
    if (index == -1) index = fCurrent;
    return (index >= 1 && index <= fCount) ? index : 0;
}

int32_t VArrayValue::SetCount(int32_t n, uint8_t shrink)
{
    n = std::max(n, 0);
    if (n == fCount) return 0;
    if (n > fAllocated || shrink != 0) {
        if (fBlock == nullptr || int64_t(n) * fElemSize > INT32_MAX ||
            !gMemory->SetHandleSizeClear(fBlock, uint32_t(n * fElemSize)))
            return MemoryError();
        fAllocated = n;
    }
    fCount = n;
    fCurrent = std::min(fCurrent, n);
    return 0;
}

void VArrayValue::Copy(VArrayValue* source)
{
    if (source == nullptr || source == this || typeid(*source) != typeid(*this)) return;
    char** block = gMemory->NewHandle(source->fBlock);
    if (block == nullptr) return;
    DeleteElements(1, fCount);
    gMemory->DisposeHandle(fBlock);
    fBlock = block;
    fElemSize = source->fElemSize;
    fAllocated = source->fAllocated;
    fCount = source->fCount;
    fCurrent = source->fCurrent;
    source->CopyElements();
}

void VArrayValue::SwapElements(int32_t i, int32_t j)
{
    if (i == j) return;
    char* a = *fBlock + i * fElemSize;
    char* b = *fBlock + j * fElemSize;
    for (int32_t k = 0; k < fElemSize; ++k) std::swap(a[k], b[k]);
}

void VArrayValue::Sort(uint8_t descending)
{
    if (fCount < 2) return;
    int32_t* perm = nullptr;
    if (fGroup != nullptr) {
        for (int32_t m = 1; m <= fGroup->GetCount(); ++m)
            if (static_cast<VArrayValue*>(fGroup->GetNth(m))->fCount != fCount) return;
        perm = reinterpret_cast<int32_t*>(gMemory->NewPtr(fCount * int32_t(sizeof(int32_t))));
        if (perm == nullptr) return;
        for (int32_t i = 0; i < fCount; ++i) perm[i] = i;
    }
    const int32_t d = descending != 0 ? -1 : 1;
    auto compare = [&](int32_t i, int32_t j) {
        return d * CompareElements(*fBlock + i * fElemSize, *fBlock + j * fElemSize);
    };
    auto exchange = [&](int32_t i, int32_t j) {
        if (i == j) return;
        SwapElements(i, j);
        if (perm != nullptr) std::swap(perm[i], perm[j]);
        if (fCurrent == i + 1)
            fCurrent = j + 1;
        else if (fCurrent == j + 1)
            fCurrent = i + 1;
    };
    VLongStack pending;
    int32_t lo = 0, hi = fCount - 1;
    for (;;) {
        while (hi > lo) {
            if (hi - lo > 4) exchange((lo + hi) / 2, hi);
            int32_t i = lo, j = hi - 1;
            for (;;) {
                while (i <= j && compare(i, hi) <= 0) ++i;
                while (j >= i && compare(j, hi) >= 0) --j;
                if (i < j) {
                    exchange(i, j);
                    continue;
                }
                exchange(i, hi);
                break;
            }
            const int32_t p = i;
            if (p - lo <= hi - p) {
                pending.Push(p + 1);
                pending.Push(hi);
                hi = p - 1;
            } else {
                pending.Push(lo);
                pending.Push(p - 1);
                lo = p + 1;
            }
        }
        if (pending.IsEmpty()) break;
        hi = pending.Pop();
        lo = pending.Pop();
    }
    if (perm != nullptr) {
        for (int32_t m = 1; m <= fGroup->GetCount(); ++m) {
            auto* other = static_cast<VArrayValue*>(fGroup->GetNth(m));
            if (other != this) other->ReOrder(perm);
        }
        gMemory->DisposePtr(reinterpret_cast<char*>(perm));
    }
}

void VArrayValue::Unsort()
{
    for (int32_t front = 1, back = fCount; front < back; front += 2, back -= 2) SwapElements(front - 1, back - 1);
}

void VArrayValue::ReOrder(const int32_t* perm)
{
    char** old = gMemory->NewHandle(fBlock);
    if (old == nullptr) return;
    for (int32_t i = 0; i < fCount; ++i)
        if (perm[i] >= 0 && perm[i] < fCount)
            std::memcpy(*fBlock + i * fElemSize, *old + perm[i] * fElemSize, size_t(fElemSize));
    gMemory->DisposeHandle(old);
}

void VArrayValue::MoveElements(int32_t from, int32_t to, int32_t count)
{
    if (from < 1 || to < 1 || from > fCount || to > fCount || from == to || count < 1) return;
    if (int64_t(to - 1) + count > fAllocated || int64_t(from - 1) + count > fAllocated) return;
    std::memmove(ElementAt(to), ElementAt(from), size_t(count) * size_t(fElemSize));
    // Zero the part of the source run that the destination does not cover.
    if (to > from)
        std::memset(ElementAt(from), 0, size_t(std::min(count, to - from)) * size_t(fElemSize));
    else {
        const int32_t vacated = std::min(count, from - to);
        std::memset(ElementAt(from + count - vacated), 0, size_t(vacated) * size_t(fElemSize));
    }
}

void VArrayValue::CopyElements() {}
void VArrayValue::DeleteElements(int32_t, int32_t) {}

void VArrayValue::AutoSort()
{
    if (fAutoSort != 0) Sort(0);
}

void VArrayValue::Insert(int32_t index, int32_t count, uint8_t noSort)
{
    if (count < 1) return;
    const int32_t n = fCount;
    SetCount(n + count, 0);
    if (fCount != n + count) return;
    if (index != n + 1) MoveElements(index, index + count, n + 1 - index);
    if (noSort == 0) AutoSort();
}

void VArrayValue::Delete(int32_t index, int32_t count)
{
    const int32_t n = fCount;
    if (n == 0) return;
    index = std::clamp(index, 1, n);
    count = std::min(count, n + 1 - index);
    if (count < 1) return;
    DeleteElements(index, count);
    const int32_t rest = n + 1 - index - count;
    if (rest > 0) MoveElements(index + count, index, rest);
    SetCount(n - count, 1);
}

void VArrayValue::SetAutoSort(uint8_t autoSort)
{
    const uint8_t flag = autoSort != 0 ? 1 : 0;
    if (flag == fAutoSort) return;
    fAutoSort = flag;
    if (flag != 0) Sort(0);
}

void VArrayValue::SetCurrent(int32_t index) { fCurrent = std::clamp(index, 0, fCount); }

void VArrayValue::SynchronizeWith(VArrayValue* other)
{
    if (fGroup != nullptr) {
        VChainListPtrOf<VObject*>* group = fGroup;
        group->Delete(this, kListForget);
        fGroup = nullptr;
        if (group->GetCount() < 2) {
            if (group->GetCount() == 1) static_cast<VArrayValue*>(group->GetFirst())->fGroup = nullptr;
            group->Destroy(kListForget);
            delete group;
        }
    }
    if (other == nullptr || other == this) return;
    if (other->fGroup == nullptr) {
        other->fGroup = new VChainListPtrOf<VObject*>;
        if (other->fGroup == nullptr) return;
        other->fGroup->Add(other);
    }
    fGroup = other->fGroup;
    fGroup->Add(this);
}

int32_t VArrayValue::BeginAppend(uint8_t all, int32_t* savedCurrent)
{
    *savedCurrent = fCurrent;
    const int32_t n = fCount;
    SetCount(n + 1, 0);
    if (fCount != n + 1) return 0;
    fCurrent = n + 1;
    if (all != 0 && fGroup != nullptr) {
        for (int32_t m = 1; m <= fGroup->GetCount(); ++m) {
            auto* other = static_cast<VArrayValue*>(fGroup->GetNth(m));
            if (other == this) continue;
            const int32_t otherCount = other->fCount;
            other->SetCount(otherCount + 1, 0);
            if (otherCount != n) other->MoveElements(n + 1, n + 2, otherCount - n);
        }
    }
    return n + 1;
}

int32_t VArrayValue::EndAppend(int32_t savedCurrent)
{
    const int32_t index = fCurrent;
    fCurrent = std::min(savedCurrent, fCount);
    return index;
}

int32_t VArrayValue::AppendBoolean(uint8_t value, uint8_t all)
{
    int32_t saved;
    if (BeginAppend(all, &saved) == 0) return 0;
    FromBoolean(value, fCurrent);
    return EndAppend(saved);
}

int32_t VArrayValue::AppendWord(int16_t value, uint8_t all)
{
    int32_t saved;
    if (BeginAppend(all, &saved) == 0) return 0;
    FromWord(value, fCurrent);
    return EndAppend(saved);
}

int32_t VArrayValue::AppendLong(int32_t value, uint8_t all)
{
    int32_t saved;
    if (BeginAppend(all, &saved) == 0) return 0;
    FromLong(value, fCurrent);
    return EndAppend(saved);
}

int32_t VArrayValue::AppendString(const VString& value, uint8_t all)
{
    int32_t saved;
    if (BeginAppend(all, &saved) == 0) return 0;
    FromString(value, fCurrent);
    return EndAppend(saved);
}

int64_t VArrayValue::MinimumStreamBytes(int32_t count) const { return int64_t(count) * fElemSize; }

int32_t VArrayValue::WriteToStream(VStream* stream, int32_t tag) const
{
    if (tag == kValueTag) stream->PutLong(GetValueKind());
    stream->PutLong(fCount);
    if (stream->GetError() != 0) return stream->GetError();
    WriteElements(stream);
    return stream->GetError();
}

int32_t VArrayValue::ReadFromStream(VStream* stream, int32_t)
{
    const int32_t count = stream->GetLong();
    if (stream->GetError() != 0) return stream->GetError();
    const int64_t remaining = int64_t(stream->GetSize()) - stream->GetPos();
    if (count < 0 || MinimumStreamBytes(count) > remaining) return kStreamEndOfData;
    SetCount(count, 0);
    if (fCount != count) return MemoryError();
    const int32_t err = ReadElements(stream);
    return err != 0 ? err : stream->GetError();
}

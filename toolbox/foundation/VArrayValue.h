// Typed value arrays: a sequence of booleans, words, longs or strings in one
// relocatable block, answering the value interface element by element (the
// trailing index of each accessor names the element, -1 the current one).
// Arrays may sort themselves and may be bound into a group whose members
// grow and sort together (the columns of a list box).
#pragma once

#include <cstdint>

#include "toolbox/foundation/VChainList.h"
#include "toolbox/foundation/VValueMultiple.h"

// The test of a linear search (see Find).
using CompareMethod = int32_t;

class VArrayValue : public VValueMultiple {
public:
    ~VArrayValue() override;

    bool IsAnArray() const override;
    bool CanBeEvaluated() const override;
    void Clear() override;
    void* LoadFromPtr(void* data, uint8_t swap = 0) override;
    void* WriteToPtr(void* data, uint8_t swap = 0) const override;
    int32_t GetSpace() const override;
    int32_t ReadFromStream(VStream* stream, int32_t tag) override;
    int32_t WriteToStream(VStream* stream, int32_t tag) const override;

    int32_t GetCount() const override;
    VItemRef* NewItemRef() const override;
    // Resizes to n elements (negative: 0); with `shrink` the block shrinks
    // too. A block that cannot grow leaves the count as it was.
    virtual int32_t SetCount(int32_t n, uint8_t shrink);
    // Converts the value to the element kind and searches from `start`;
    // `forward` is the direction. The index found or -1.
    virtual int32_t Find(const VValue& value, int32_t start, uint8_t forward, CompareMethod method) const = 0;
    // Takes over the elements of a source of the same class (see the .cpp).
    virtual void Copy(VArrayValue* source);
    virtual void Sort(uint8_t descending);
    virtual void Unsort();
    virtual ValueKind GetElemValueKind() const = 0;
    // Element i (0-based) becomes the old element perm[i].
    virtual void ReOrder(const int32_t* perm);
    virtual void MoveElements(int32_t from, int32_t to, int32_t count);
    virtual void CopyElements();
    virtual void DeleteElements(int32_t from, int32_t count);
    virtual int32_t CompareElements(const void* a, const void* b) const = 0;

    // Inserts count elements before index (count + 1 appends); sorts after
    // unless noSort when the array sorts itself.
    void Insert(int32_t index, int32_t count, uint8_t noSort);
    // Deletes count elements from index on, both clamped to the elements.
    void Delete(int32_t index, int32_t count);
    void SetAutoSort(uint8_t autoSort);
    bool GetAutoSort() const { return fAutoSort != 0; }
    void SetCurrent(int32_t index);
    int32_t GetCurrent() const { return fCurrent; }
    // Leaves the present group, then joins other's (null: only leaves).
    void SynchronizeWith(VArrayValue* other);
    bool IsSynchronized() const { return fGroup != nullptr; }

    // Append one element; `all` grows every bound array as well. The
    // result is the new element's index after any sort.
    int32_t AppendBoolean(uint8_t value, uint8_t all);
    int32_t AppendWord(int16_t value, uint8_t all);
    int32_t AppendLong(int32_t value, uint8_t all);
    int32_t AppendString(const VString& value, uint8_t all);

protected:
    explicit VArrayValue(int32_t elemSize);
    VArrayValue(const VArrayValue& source);

    // The element index an accessor names: `index`, or the current one for
    // -1; 0 when it names no element.
    int32_t Resolve(int32_t index) const;
    // Address of element i (1-based) in the block.
    char* ElementAt(int32_t i) const { return *fBlock + (i - 1) * fElemSize; }
    // Exchanges elements i and j (0-based).
    virtual void SwapElements(int32_t i, int32_t j);
    // Sorts after a change when the array sorts itself.
    void AutoSort();
    // Grows by one element at the end for the appends: the new index.
    int32_t BeginAppend(uint8_t all, int32_t* savedCurrent);
    int32_t EndAppend(int32_t savedCurrent);

    // Stream form of the elements.
    virtual int64_t MinimumStreamBytes(int32_t count) const;
    virtual int32_t WriteElements(VStream* stream) const = 0;
    virtual int32_t ReadElements(VStream* stream) = 0;

    int32_t fElemSize;
    int32_t fAllocated = 0;
    int32_t fCount = 0;
    int32_t fCurrent = 0;
    char** fBlock = nullptr;
    VChainListPtrOf<VObject*>* fGroup = nullptr;
    uint8_t fAutoSort = 0;
};

// A sparse map from 1-based indices (up to 31 bits) to object pointers: a
// 256-way tree of pages with storage only where entries lie. Entries are
// not owned unless a removal says kListDeleteData.
#pragma once

#include <cstdint>

#include "toolbox/foundation/VList.h"

class VIndexedList : public VValueMultiple {
public:
    // The depth follows from the largest index that must fit.
    explicit VIndexedList(int32_t maxIndex);
    // Pages are copied, entries shared.
    VIndexedList(const VIndexedList& other);
    VIndexedList& operator=(const VIndexedList&) = delete;
    ~VIndexedList() override;

    int32_t GetCount() const override { return fCount; }
    bool IsEmpty() const { return fCount == 0; }
    int32_t GetMaxIndex() const;

    // Indices outside 1..GetMaxIndex answer null and are never stored.
    VObject* GetNth(int32_t n) const;
    // Null clears the entry; the object that was there is neither deleted
    // nor returned. Nothing is stored when a page cannot be made.
    void SetNth(VObject* obj, int32_t n);
    // SetNth for an object the list is to own: false, and the object
    // deleted, when the list could not take it.
    bool AdoptNth(VObject* obj, int32_t n);
    void DeleteNth(int32_t n, ListDestroy d);
    void Destroy(ListDestroy d);

    // Opens k empty indices at `at`: entries at or after it move up by k.
    // Refused (nothing moves) when an entry would pass GetMaxIndex.
    void Insert(int32_t at, int32_t k);
    // Removes indices at..at+k-1; later entries move down by k.
    void Remove(int32_t at, int32_t k, ListDestroy d);
    // Changes the depth; refused when an entry lies beyond the new maximum.
    void SetMaxIndex(int32_t maxIndex);

    struct Page;

private:
    friend class VIndexedIterator;

    // The largest index in use, 0 when empty.
    int32_t GetLastIndex() const;

    static int32_t ShiftFor(int32_t maxIndex);
    // Rebuilds the entries into a tree of the given shift, index p moving to
    // map(p) (0 drops it, deleting the object when `dropped` says so); the
    // list is unchanged when that fails.
    template <class Map>
    bool Rebuild(int32_t shift, Map map, ListDestroy dropped);
    void Swap(VIndexedList& other);

    int32_t fShift;
    int32_t fCount = 0;
    Page* fRoot = nullptr;
};

class VIndexedIterator : public VObject {
public:
    explicit VIndexedIterator(const VIndexedList* list) { UseList(list); }

    void UseList(const VIndexedList* list);
    // The next entry in ascending index order; null at the end.
    VObject* Next();
    VObject* Current() const;
    int32_t GetPos() const { return fPos == -1 ? 0 : fPos; }

private:
    const VIndexedList* fList = nullptr;
    int32_t fPos = -1;
};

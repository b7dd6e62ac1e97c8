// Lists whose elements lie by value in one relocatable block of gMemory,
// growing ten elements past the need; the variant whose elements are owned
// object pointers; and the cursor over them by position.
#pragma once

#include <cstring>
#include <type_traits>

#include "toolbox/foundation/VList.h"

template <class T>
class VArrayIteratorOf;

template <class T>
class VArrayListOf : public VListOf<T> {
public:
    using VListOf<T>::GetNullData;

    explicit VArrayListOf(int16_t = 0) : VListOf<T>(-1), fHandle(gMemory->NewHandle()) {}
    VArrayListOf(const VArrayListOf&) = delete;
    VArrayListOf& operator=(const VArrayListOf&) = delete;

    ~VArrayListOf() override
    {
        Destroy(kListForget);
        if (fHandle) gMemory->DisposeHandle(fHandle);
    }

    int32_t GetCount() const override { return fCount; }
    bool IsEmpty() const override { return fCount == 0; }

    void Add(const T& e) override { AddNth(e, fCount + 1); }
    void AddTail(const T& e) override { AddNth(e, fCount + 1); }
    void AddHead(const T& e) override { AddNth(e, 1); }
    void AddAfter(const T& e, const T& anchor) override { AddNth(e, FindPos(anchor) + 1); }
    // An absent anchor puts e at the head.
    void AddBefore(const T& e, const T& anchor) override { AddNth(e, FindPos(anchor)); }

    void AddNth(const T& e, int32_t n) override
    {
        if (fUnique && FindPos(e) > 0) return;
        if (n < 1) n = 1;
        if (n > fCount + 1) n = fCount + 1;
        if (!xIncreaseSize(fCount + 1)) return;
        const bool wasLocked = gMemory->IsLocked(fHandle);
        char* base = gMemory->LockHandle(fHandle);
        if (!base) return;
        char* at = base + size_t(n - 1) * sizeof(T);
        if (n <= fCount) CopyBlock(at, at + sizeof(T), uint32_t(size_t(fCount - n + 1) * sizeof(T)));
        std::memcpy(at, &e, sizeof(T));
        if (!wasLocked) gMemory->UnlockHandle(fHandle);
        ++fCount;
    }

    T GetNth(int32_t n) const override
    {
        if (n < 1 || n > fCount) return GetNullData();
        T e;
        std::memcpy(&e, *fHandle + size_t(n - 1) * sizeof(T), sizeof(T));
        return e;
    }
    T GetFirst() const override { return GetNth(1); }
    T GetLast() const override { return GetNth(fCount); }

    // Positions outside 1..count are ignored.
    void SetNth(const T& e, int32_t n) override
    {
        if (n < 1 || n > fCount) return;
        std::memcpy(*fHandle + size_t(n - 1) * sizeof(T), &e, sizeof(T));
    }

    void DeleteNth(int32_t n, ListDestroy d) override
    {
        if (n < 1 || n > fCount) return;
        char* at = *fHandle + size_t(n - 1) * sizeof(T);
        if (d == kListDeleteData) DeleteData(reinterpret_cast<T*>(at));
        CopyBlock(at + sizeof(T), at, uint32_t(size_t(fCount - n) * sizeof(T)));
        --fCount;
    }

    void Delete(const T& e, ListDestroy d) override { DeleteNth(FindPos(e), d); }

    // Empties the list and its block; the block stays allocated.
    void Destroy(ListDestroy d) override
    {
        if (d == kListDeleteData && fCount > 0) {
            const bool wasLocked = gMemory->IsLocked(fHandle);
            char* base = gMemory->LockHandle(fHandle);
            for (int32_t i = fCount; i >= 1 && base; --i)
                DeleteData(reinterpret_cast<T*>(base + size_t(i - 1) * sizeof(T)));
            if (!wasLocked) gMemory->UnlockHandle(fHandle);
        }
        if (fHandle) gMemory->SetHandleSize(fHandle, 0);
        fCount = 0;
        fCapacity = 0;
    }

    int32_t FindPos(const T& e) const override
    {
        for (int32_t i = 1; i <= fCount; ++i) {
            const T* stored = reinterpret_cast<const T*>(*fHandle + size_t(i - 1) * sizeof(T));
            if (EqualData(&e, stored)) return i;
        }
        return 0;
    }
    T Find(const T& e) const override { return GetNth(FindPos(e)); }
    // For an absent e, the first element.
    T Next(const T& e) const override { return GetNth(FindPos(e) + 1); }
    T Previous(const T& e) const override { return GetNth(FindPos(e) - 1); }

    bool GetUnique() const override { return fUnique; }
    void SetUnique(bool unique) override { fUnique = unique; }

    bool EqualData(const T* a, const T* b) const override { return std::memcmp(a, b, sizeof(T)) == 0; }
    void DeleteData(T*) override {}

    VIteratorOf<T>* NewIterator(int32_t n) override
    {
        auto* it = new VArrayIteratorOf<T>(this);
        if (it) it->SetPos(n);
        return it;
    }

    // Locks the block and answers element 1's address, until Unlock.
    T* LockAndGetFirst() { return reinterpret_cast<T*>(gMemory->LockHandle(fHandle)); }
    void Unlock() { gMemory->UnlockHandle(fHandle); }

    // Makes room for n elements (ten more than asked); false when the block
    // cannot grow, which leaves the list as it was.
    bool xIncreaseSize(int32_t n)
    {
        if (n <= fCapacity) return true;
        const int64_t capacity = int64_t(n) + 10;
        const int64_t bytes = capacity * int64_t(sizeof(T));
        if (bytes > 0x7FFFFFFF) return false;
        if (!fHandle) {
            fHandle = gMemory->NewHandleClear(uint32_t(bytes), 0);
            if (!fHandle) return false;
        } else if (!gMemory->SetHandleSizeClear(fHandle, uint32_t(bytes))) {
            return false;
        }
        fCapacity = int32_t(capacity);
        return true;
    }

private:
    char** fHandle;
    int32_t fCount = 0;
    int32_t fCapacity = 0;
    bool fUnique = false;
};

// Elements are owned object pointers: compared by identity, deleted by
// DeleteData. The destructor only forgets them; an owner calls
// Destroy(kListDeleteData) first.
template <class P>
class VArrayListPtrOf : public VArrayListOf<P> {
    static_assert(std::is_pointer_v<P>, "VArrayListPtrOf holds object pointers");

public:
    explicit VArrayListPtrOf(int16_t objType = 0) : VArrayListOf<P>(objType) {}

    bool EqualData(const P* a, const P* b) const override { return *a == *b; }
    void DeleteData(P* e) override
    {
        if (*e) delete *e;
    }
};

template <class T>
class VArrayIteratorOf : public VIteratorOf<T> {
public:
    explicit VArrayIteratorOf(VListOf<T>* list) { UseList(list); }

    void UseList(VListOf<T>* list) override
    {
        fList = list;
        fPos = -1;
    }

    void SetPos(int32_t n) override
    {
        if (n == -1)
            fPos = -1;
        else if (fList && n >= 0 && n <= fList->GetCount())
            fPos = n;
        else
            fPos = 0;
    }
    int32_t GetPos() const override { return fPos; }

    T First() override
    {
        if (!fList || fList->GetCount() < 1) {
            fPos = 0;
            return VListOf<T>::GetNullData();
        }
        fPos = 1;
        return fList->GetNth(1);
    }

    T Last() override
    {
        if (!fList) return VListOf<T>::GetNullData();
        fPos = fList->GetCount();
        return fList->GetNth(fPos);
    }

    // From the end (position 0) the next call starts again at element 1.
    T Next() override
    {
        if (!fList) return VListOf<T>::GetNullData();
        if (fPos == -1) return First();
        if (fPos < fList->GetCount()) return fList->GetNth(++fPos);
        fPos = 0;
        return VListOf<T>::GetNullData();
    }

    T Previous() override
    {
        if (!fList) return VListOf<T>::GetNullData();
        if (fPos == -1) return Last();
        if (fPos < 2) {
            fPos = 0;
            return VListOf<T>::GetNullData();
        }
        return fList->GetNth(--fPos);
    }

    T Current() override
    {
        if (!fList || fPos == 0) return VListOf<T>::GetNullData();
        if (fPos == -1) return First();
        return fList->GetNth(fPos);
    }

    void SetCurrent(const T& e) override { fPos = fList ? fList->FindPos(e) : 0; }

private:
    VListOf<T>* fList = nullptr;
    int32_t fPos = -1;
};

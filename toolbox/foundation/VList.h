// The abstract list and cursor of the toolbox's generic lists. Positions
// are 1-based; a read outside the list answers the null datum (a T whose
// bytes are all zero) and a removal outside it does nothing.
#pragma once

#include <cstdint>
#include <type_traits>

#include "toolbox/foundation/VMemoryMgr.h"
#include "toolbox/foundation/VValueMultiple.h"

// How a removal treats the elements that leave the list.
enum ListDestroy : uint8_t {
    kListDeleteData = 0,  // DeleteData on each removed element
    kListForget = 1       // the elements are only forgotten
};

template <class T>
class VIteratorOf;

template <class T>
class VListOf : public VValueMultiple {
    static_assert(std::is_trivially_copyable_v<T>, "list elements are stored as bytes");

public:
    int32_t GetCount() const override = 0;
    VItemRef* NewItemRef() const override;
    virtual bool IsEmpty() const = 0;
    virtual void Add(const T& e) = 0;
    virtual void AddHead(const T& e) = 0;
    virtual void AddTail(const T& e) = 0;
    virtual void AddNth(const T& e, int32_t n) = 0;
    virtual T GetFirst() const = 0;
    virtual T GetLast() const = 0;
    virtual T GetNth(int32_t n) const = 0;
    virtual void SetNth(const T& e, int32_t n) = 0;
    virtual void DeleteNth(int32_t n, ListDestroy d) = 0;
    virtual void Destroy(ListDestroy d) = 0;
    // A new cursor placed with SetPos(n); the caller owns it (null when it
    // cannot be made).
    virtual VIteratorOf<T>* NewIterator(int32_t n) = 0;
    virtual void AddAfter(const T& e, const T& anchor) = 0;
    virtual void AddBefore(const T& e, const T& anchor) = 0;
    virtual int32_t FindPos(const T& e) const = 0;
    virtual T Find(const T& e) const = 0;
    virtual T Next(const T& e) const = 0;
    virtual T Previous(const T& e) const = 0;
    virtual void Delete(const T& e, ListDestroy d) = 0;
    virtual bool GetUnique() const = 0;
    virtual void SetUnique(bool unique) = 0;
    virtual bool EqualData(const T* a, const T* b) const = 0;
    virtual void DeleteData(T* e) = 0;

    static T GetNullData()
    {
        VMemoryMgr::Fill(reinterpret_cast<char*>(&sNullData), int32_t(sizeof(T)), 0);
        return sNullData;
    }

protected:
    explicit VListOf(int16_t objType) : VValueMultiple(objType) {}

private:
    static inline T sNullData;
};

template <class T>
class VIteratorOf : public VObject {
public:
    virtual void UseList(VListOf<T>* list) = 0;
    virtual T Next() = 0;
    virtual T Current() = 0;
    virtual T Previous() = 0;
    virtual T First() = 0;
    virtual T Last() = 0;
    virtual void SetCurrent(const T& e) = 0;
    // -1 not started, 0 off the list, else the 1-based position.
    virtual void SetPos(int32_t n) = 0;
    virtual int32_t GetPos() const = 0;
};

#include "toolbox/foundation/VItemRefOf.h"

template <class T>
VItemRef* VListOf<T>::NewItemRef() const
{
    return new VItemRefOf<T>(this);
}

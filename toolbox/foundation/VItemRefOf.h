// An item reference bound to a list of the toolbox's generic lists.
#pragma once

#include "toolbox/foundation/VValueMultiple.h"

template <class T>
class VListOf;

template <class T>
class VItemRefOf : public VItemRef {
public:
    // Sets only the list: references are obtained through the list's GetRoot.
    explicit VItemRefOf(const VListOf<T>* list) : fList(list) {}

    const VValueMultiple* GetList() const override { return fList; }

    int16_t GetObjType() const override
    {
        if (const VItemRef* sub = GetSubRef()) return sub->GetObjType();
        return fList ? fList->GetObjType() : 0;
    }

    VItemRef* Clone() const override
    {
        VItemRef* copy = fList ? fList->GetRoot(1, 0) : nullptr;
        if (copy) CopyStateTo(copy);
        return copy;
    }

    bool IsLast() const override { return fList && GetPosition() == fList->GetCount(); }
    bool IsFirst() const override { return GetPosition() == 1; }

private:
    const VListOf<T>* fList;
};

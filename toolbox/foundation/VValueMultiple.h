// The base of every value that holds several items (value arrays, lists,
// the indexed list), and the item reference: a cursor on one item that can
// also point into the child list of that item, level by level.
#pragma once

#include <cstdint>
#include <vector>

#include "toolbox/foundation/VValue.h"

class VItemRef;

// How VItemRef::Pos moves (0-15); see VItemRef::Pos.
using HLMoveSheme = int32_t;

class VValueMultiple : public VValue {
public:
    explicit VValueMultiple(int16_t objType);
    ~VValueMultiple() override;

    // A multiple value is neither copied, evaluated nor compared as a value.
    VValue* Clone() const override;
    bool CanBeEvaluated() const override;
    ValueKind GetValueKind() const override;
    int32_t CompareTo(const VValue& other, uint8_t option = 0, int32_t index = -1) const override;

    // A new reference placed with Init(pos, scheme); the caller owns it.
    // Null when the value gives no references.
    virtual VItemRef* GetRoot(int32_t pos, HLMoveSheme scheme) const;
    // The count of the items and of the items of every child list, recursively.
    virtual int32_t GetHCount() const;
    virtual int32_t GetCount() const = 0;
    virtual VItemRef* NewItemRef() const;

    int16_t GetObjType() const { return fObjType; }

    // Child lists of items (not owned). A null child detaches the item's list.
    void SetChildList(int32_t itemPos, const VValueMultiple* child);
    const VValueMultiple* GetChildList(int32_t itemPos) const;

    struct ChildEntry {
        int32_t itemPos;
        const VValueMultiple* child;
    };
    // In ascending item order; empty when no item has children.
    const std::vector<ChildEntry>& GetChildTable() const { return fChildren; }

protected:
    void SetObjType(int16_t objType) { fObjType = objType; }

private:
    std::vector<ChildEntry> fChildren;
    int16_t fObjType;
};

class VItemRef : public VObject {
public:
    ~VItemRef() override;

    // The level of the deepest reference (1 on the top list).
    virtual int32_t GetLevel() const;
    // Whether the deepest reference's item has a child list.
    virtual bool HasSons() const;
    virtual const VValueMultiple* GetList() const = 0;
    virtual int16_t GetObjType() const = 0;
    virtual VItemRef* Clone() const = 0;
    virtual bool IsLast() const = 0;
    virtual bool IsFirst() const = 0;

    // No sub-reference, position 0, level 1, null, then Pos(pos, scheme).
    void Init(int32_t pos, HLMoveSheme scheme);
    // Moves by the scheme; clears the null flag first.
    //  0 hierarchical position pos (depth-first count)   1 position pos of this level
    //  2, 3 as 0, 1 by the deepest reference             4, 5 next / previous depth-first
    //  6, 7 deepest next / previous                       8, 9 the same, climbing when exhausted
    //  10 descend into the first child                    11 descend to the last descendant
    //  12 up one level   13 top list position 1   14 deepest to 1   15 deepest to its last
    VItemRef* Pos(int32_t pos, HLMoveSheme scheme);
    // The deepest reference's null flag: set when the last move failed.
    bool NullRef() const;
    // The child list of the item this reference (at its own level) is on.
    const VValueMultiple* GetChildList() const;

    // This level's position and sub-reference.
    int32_t GetPosition() const { return fPos; }
    const VItemRef* GetSubRef() const { return fSub; }

protected:
    VItemRef() = default;
    // Copies level, position, null flag and a clone of the sub-reference.
    void CopyStateTo(VItemRef* target) const;

private:
    VItemRef* Deepest();
    const VItemRef* Deepest() const;
    // The reference whose sub-reference is `child`, or null.
    VItemRef* ParentOf(const VItemRef* child);
    void DropSub();
    int32_t ListCount() const;
    void MoveTo(int32_t pos);
    void MoveToHierarchical(int32_t pos);
    bool Descend();
    void DescendToLast();
    void StepNext(bool climb);
    void StepPrevious(bool climb);
    void NextDepthFirst();
    void PreviousDepthFirst();

    int16_t fLevel = 1;
    VItemRef* fSub = nullptr;
    int32_t fPos = 0;
    uint8_t fNull = 1;
};

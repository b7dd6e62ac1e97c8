// The kernel's ordered keyed collection: an AVL-balanced binary search tree
// of nodes that copy their key and data in and out and order themselves.
// Equal keys are allowed; iteration is by a cursor in key order.
#pragma once

#include <cstdint>

#include "toolbox/foundation/VObject.h"

class BinaryTreeNode : public VObject {
public:
    BinaryTreeNode() = default;
    ~BinaryTreeNode() override = default;

    virtual void CopyDataTo(void* data) const = 0;
    virtual void CopyDataFrom(const void* data) = 0;
    virtual void CopyKeyTo(void* key) const = 0;
    virtual void CopyKeyFrom(const void* key) = 0;
    // Whether this node orders before `other`.
    virtual bool isInf(const BinaryTreeNode* other) const = 0;
    virtual bool isEqual(const BinaryTreeNode* other) const = 0;

    BinaryTreeNode* LeftMost();
    // The in-order successor, null after the last node.
    BinaryTreeNode* Next();
    // The first node of this subtree, from the top, equal to `probe`.
    BinaryTreeNode* FindNode(const BinaryTreeNode* probe);
    // Frees this subtree, children before parents.
    void DisposeAll();

    BinaryTreeNode* fLeft = nullptr;
    BinaryTreeNode* fRight = nullptr;
    BinaryTreeNode* fParent = nullptr;
    // +1: the left subtree is one level taller; -1: the right one.
    int16_t fBalance = 0;

private:
    BinaryTreeNode* NextFather();
};

class OrderdByKeyCollection : public VObject {
public:
    virtual int16_t xPutAt(const void* key, const void* data) = 0;
    virtual int16_t xDeleteAt(const void* key) = 0;
    virtual int16_t xGetAt(const void* key, void* data) = 0;
    virtual void xAlterCurrent(const void* data) = 0;
    virtual int16_t PosToFirst() = 0;
    virtual int16_t xGetNext(void* data) = 0;
    virtual int16_t xGetNextEqual(void* data) = 0;
    virtual int32_t GetNbElem() = 0;
};

class BinaryTree : public OrderdByKeyCollection {
public:
    static constexpr int16_t kNotFound = -1000;
    static constexpr int16_t kNoMemory = -108;

    BinaryTree() = default;
    ~BinaryTree() override;
    BinaryTree(const BinaryTree&) = delete;
    BinaryTree& operator=(const BinaryTree&) = delete;

    int16_t xPutAt(const void* key, const void* data) override;
    // Removes one node equal to the key and rebalances: 0, -1000 when no
    // node has the key, -108 when no probe node could be made. A cursor on
    // the removed node moves back to its predecessor, so that xGetNext
    // goes on with the node that followed it.
    int16_t xDeleteAt(const void* key) override;
    int16_t xGetAt(const void* key, void* data) override;
    void xAlterCurrent(const void* data) override;
    int16_t PosToFirst() override;
    int16_t xGetNext(void* data) override;
    int16_t xGetNextEqual(void* data) override;
    int32_t GetNbElem() override { return fCount; }
    virtual BinaryTreeNode* NewNode() = 0;

    BinaryTreeNode* Root() const { return fRoot; }

protected:
    // Fills a search probe from a key and, when given, a data record.
    virtual void FillProbe(BinaryTreeNode* probe, const void* key, const void* data);

private:
    void Insert(BinaryTreeNode* node);
    void Remove(BinaryTreeNode* node);
    void Replace(BinaryTreeNode* old, BinaryTreeNode* by);
    // Restores the balance above a subtree of `parent` that became one level
    // lower (the left one when fromLeft).
    void RebalanceAfterShrink(BinaryTreeNode* parent, bool fromLeft);
    BinaryTreeNode* RotateUp(BinaryTreeNode* child);

    BinaryTreeNode* fRoot = nullptr;
    BinaryTreeNode* fCurrent = nullptr;
    int32_t fCount = 0;
};

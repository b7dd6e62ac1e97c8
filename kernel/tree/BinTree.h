// The tree bound to one record type whose key is part of the record: T
// answers Compare(other, flag) with -1, 0 or 1. Keys given to the tree are
// records too.
#pragma once

#include "kernel/tree/BinaryTree.h"

template <typename T>
class BinTreeNode : public BinaryTreeNode {
public:
    void CopyDataTo(void* data) const override { *static_cast<T*>(data) = fRecord; }
    void CopyDataFrom(const void* data) override { fRecord = *static_cast<const T*>(data); }
    void CopyKeyTo(void*) const override {}
    void CopyKeyFrom(const void*) override {}
    bool isInf(const BinaryTreeNode* other) const override
    {
        return fRecord.Compare(static_cast<const BinTreeNode*>(other)->fRecord, false) == -1;
    }
    bool isEqual(const BinaryTreeNode* other) const override
    {
        return fRecord.Compare(static_cast<const BinTreeNode*>(other)->fRecord, false) == 0;
    }

    T fRecord{};
};

template <typename T>
class BinTree : public BinaryTree {
public:
    BinaryTreeNode* NewNode() override { return new BinTreeNode<T>; }

protected:
    void FillProbe(BinaryTreeNode* probe, const void* key, const void* data) override
    {
        probe->CopyDataFrom(data ? data : key);
    }
};

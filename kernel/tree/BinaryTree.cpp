#include "kernel/tree/BinaryTree.h"

BinaryTreeNode* BinaryTreeNode::LeftMost()
{
    BinaryTreeNode* n = this;
    while (n->fLeft) n = n->fLeft;
    return n;
}

BinaryTreeNode* BinaryTreeNode::NextFather()
{
    BinaryTreeNode* n = this;
    while (n->fParent && n->fParent->fRight == n) n = n->fParent;
    return n->fParent;
}

BinaryTreeNode* BinaryTreeNode::Next() { return fRight ? fRight->LeftMost() : NextFather(); }

BinaryTreeNode* BinaryTreeNode::FindNode(const BinaryTreeNode* probe)
{
    BinaryTreeNode* n = this;
    while (n && !n->isEqual(probe)) n = n->isInf(probe) ? n->fRight : n->fLeft;
    return n;
}

void BinaryTreeNode::DisposeAll()
{
    if (fLeft) fLeft->DisposeAll();
    if (fRight) fRight->DisposeAll();
    delete this;
}

BinaryTree::~BinaryTree()
{
    if (fRoot) fRoot->DisposeAll();
}

void BinaryTree::FillProbe(BinaryTreeNode* probe, const void* key, const void* data)
{
    probe->CopyKeyFrom(key);
    if (data) probe->CopyDataFrom(data);
}

int16_t BinaryTree::xPutAt(const void* key, const void* data)
{
    BinaryTreeNode* node = NewNode();
    if (!node) return kNoMemory;
    node->CopyKeyFrom(key);
    node->CopyDataFrom(data);
    Insert(node);
    ++fCount;
    return 0;
}

int16_t BinaryTree::xGetAt(const void* key, void* data)
{
    if (!fRoot) return kNotFound;
    BinaryTreeNode* probe = NewNode();
    if (!probe) return kNoMemory;
    FillProbe(probe, key, data);
    BinaryTreeNode* found = fRoot->FindNode(probe);
    delete probe;
    if (!found) return kNotFound;
    fCurrent = found;
    found->CopyDataTo(data);
    return 0;
}

int16_t BinaryTree::xDeleteAt(const void* key)
{
    if (!fRoot) return kNotFound;
    BinaryTreeNode* probe = NewNode();
    if (!probe) return kNoMemory;
    FillProbe(probe, key, nullptr);
    BinaryTreeNode* found = fRoot->FindNode(probe);
    delete probe;
    if (!found) return kNotFound;
    if (fCurrent == found) {
        // Step back to the predecessor (null when it was the first node).
        BinaryTreeNode* prev = nullptr;
        if (found->fLeft) {
            prev = found->fLeft;
            while (prev->fRight) prev = prev->fRight;
        } else {
            BinaryTreeNode* n = found;
            while (n->fParent && n->fParent->fLeft == n) n = n->fParent;
            prev = n->fParent;
        }
        fCurrent = prev;
    }
    Remove(found);
    delete found;
    --fCount;
    return 0;
}

void BinaryTree::xAlterCurrent(const void* data)
{
    if (fCurrent) fCurrent->CopyDataFrom(data);
}

int16_t BinaryTree::PosToFirst()
{
    fCurrent = nullptr;
    return 0;
}

int16_t BinaryTree::xGetNext(void* data)
{
    BinaryTreeNode* next = fCurrent ? fCurrent->Next() : (fRoot ? fRoot->LeftMost() : nullptr);
    if (!next) return kNotFound;
    fCurrent = next;
    next->CopyDataTo(data);
    return 0;
}

int16_t BinaryTree::xGetNextEqual(void* data)
{
    if (!fCurrent) return kNotFound;
    BinaryTreeNode* next = fCurrent->Next();
    if (!next || !next->isEqual(fCurrent)) {
        fCurrent = nullptr;
        return kNotFound;
    }
    fCurrent = next;
    next->CopyDataTo(data);
    return 0;
}

// Puts `by` (may be null) where `old` hangs.
void BinaryTree::Replace(BinaryTreeNode* old, BinaryTreeNode* by)
{
    BinaryTreeNode* parent = old->fParent;
    if (!parent) fRoot = by;
    else if (parent->fLeft == old) parent->fLeft = by;
    else parent->fRight = by;
    if (by) by->fParent = parent;
}

// Lifts `child` above its parent, keeping the key order; balances are the
// caller's. Answers the child, now the subtree's root.
BinaryTreeNode* BinaryTree::RotateUp(BinaryTreeNode* child)
{
    BinaryTreeNode* parent = child->fParent;
    Replace(parent, child);
    if (parent->fLeft == child) {
        parent->fLeft = child->fRight;
        if (parent->fLeft) parent->fLeft->fParent = parent;
        child->fRight = parent;
    } else {
        parent->fRight = child->fLeft;
        if (parent->fRight) parent->fRight->fParent = parent;
        child->fLeft = parent;
    }
    parent->fParent = child;
    return child;
}

void BinaryTree::Insert(BinaryTreeNode* node)
{
    if (!fRoot) {
        fRoot = node;
        return;
    }
    // A node equal to one in the tree goes to its right.
    BinaryTreeNode* parent = fRoot;
    while (true) {
        BinaryTreeNode*& link = node->isInf(parent) ? parent->fLeft : parent->fRight;
        if (!link) {
            link = node;
            node->fParent = parent;
            break;
        }
        parent = link;
    }
    // Walk up while the subtree grew.
    for (BinaryTreeNode* child = node; parent; child = parent, parent = parent->fParent) {
        const bool left = parent->fLeft == child;
        if (parent->fBalance == 0) {
            parent->fBalance = left ? 1 : -1;
            continue;
        }
        if (parent->fBalance == (left ? -1 : 1)) {
            parent->fBalance = 0;
            return;
        }
        // Two levels taller on the side of `child`: rotate.
        const int16_t side = left ? 1 : -1;
        if (child->fBalance == side) {
            RotateUp(child);
            parent->fBalance = 0;
            child->fBalance = 0;
        } else {
            BinaryTreeNode* grand = left ? child->fRight : child->fLeft;
            RotateUp(grand);
            RotateUp(grand);
            parent->fBalance = grand->fBalance == side ? int16_t(-side) : 0;
            child->fBalance = grand->fBalance == -side ? side : 0;
            grand->fBalance = 0;
        }
        return;
    }
}

void BinaryTree::Remove(BinaryTreeNode* node)
{
    if (node->fLeft && node->fRight) {
        // The successor takes the node's place, shape and balance.
        BinaryTreeNode* next = node->fRight->LeftMost();
        BinaryTreeNode* from = next->fParent;
        bool fromLeft = true;
        if (from == node) {
            from = next;
            fromLeft = false;
        } else {
            from->fLeft = next->fRight;
            if (next->fRight) next->fRight->fParent = from;
            next->fRight = node->fRight;
            next->fRight->fParent = next;
        }
        Replace(node, next);
        next->fLeft = node->fLeft;
        next->fLeft->fParent = next;
        next->fBalance = node->fBalance;
        RebalanceAfterShrink(from, fromLeft);
        return;
    }
    BinaryTreeNode* parent = node->fParent;
    const bool fromLeft = parent && parent->fLeft == node;
    Replace(node, node->fLeft ? node->fLeft : node->fRight);
    if (parent) RebalanceAfterShrink(parent, fromLeft);
}

void BinaryTree::RebalanceAfterShrink(BinaryTreeNode* parent, bool fromLeft)
{
    while (parent) {
        const int16_t side = fromLeft ? 1 : -1;  // the balance that leaned to the shrunk side
        BinaryTreeNode* top = parent;
        if (parent->fBalance == side) {
            parent->fBalance = 0;  // lower by one: go on
        } else if (parent->fBalance == 0) {
            parent->fBalance = int16_t(-side);
            return;  // same height
        } else {
            BinaryTreeNode* other = fromLeft ? parent->fRight : parent->fLeft;
            if (other->fBalance == 0) {
                RotateUp(other);
                parent->fBalance = int16_t(-side);
                other->fBalance = side;
                return;  // same height
            }
            if (other->fBalance == -side) {
                top = RotateUp(other);
                parent->fBalance = 0;
                other->fBalance = 0;
            } else {
                BinaryTreeNode* grand = fromLeft ? other->fLeft : other->fRight;
                RotateUp(grand);
                top = RotateUp(grand);
                parent->fBalance = grand->fBalance == -side ? side : 0;
                other->fBalance = grand->fBalance == side ? int16_t(-side) : 0;
                grand->fBalance = 0;
            }
        }
        BinaryTreeNode* above = top->fParent;
        if (above) fromLeft = above->fLeft == top;
        parent = above;
    }
}

#include "kernel/tree/BinTree.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <vector>

namespace {

// A privilege-like record: three 16-bit fields ordered by the first.
struct Record {
    int16_t key = 0, a = 0, b = 0;
    int16_t Compare(const Record& other, bool) const { return key < other.key ? -1 : key > other.key ? 1 : 0; }
};

using Tree = BinTree<Record>;

Record R(int16_t key, int16_t a = 0) { return {key, a, int16_t(-key)}; }

int16_t KeyOf(const BinaryTreeNode* n) { return static_cast<const BinTreeNode<Record>*>(n)->fRecord.key; }

// Checks order, parent links and balances; answers the height.
int Check(const BinaryTreeNode* n, const BinaryTreeNode* parent, int32_t* count)
{
    if (!n) return 0;
    EXPECT_EQ(n->fParent, parent);
    if (n->fLeft) {
        EXPECT_LE(KeyOf(n->fLeft), KeyOf(n));
    }
    if (n->fRight) {
        EXPECT_GE(KeyOf(n->fRight), KeyOf(n));
    }
    int left = Check(n->fLeft, n, count), right = Check(n->fRight, n, count);
    EXPECT_EQ(n->fBalance, left - right);
    ++*count;
    return std::max(left, right) + 1;
}

// The tree searches with the record given as data, whose key is its first field.
int16_t Get(Tree& tree, int16_t key, Record* out)
{
    *out = R(key);
    return tree.xGetAt(out, out);
}

std::vector<int16_t> Keys(Tree& tree)
{
    std::vector<int16_t> keys;
    Record r;
    tree.PosToFirst();
    while (tree.xGetNext(&r) == 0) keys.push_back(r.key);
    return keys;
}

TEST(BinaryTree, RotationsOnInsertBalanceTheTree)
{
    for (auto order : {std::vector<int16_t>{3, 2, 1}, std::vector<int16_t>{1, 3, 2}, std::vector<int16_t>{1, 2, 3},
                       std::vector<int16_t>{3, 1, 2}}) {
        Tree tree;
        for (int16_t k : order) {
            Record r = R(k);
            ASSERT_EQ(tree.xPutAt(&r, &r), 0);
        }
        const BinaryTreeNode* root = tree.Root();
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(KeyOf(root), 2);
        EXPECT_EQ(KeyOf(root->fLeft), 1);
        EXPECT_EQ(KeyOf(root->fRight), 3);
        EXPECT_EQ(root->fBalance, 0);
        EXPECT_EQ(root->fLeft->fBalance, 0);
        EXPECT_EQ(root->fRight->fBalance, 0);
        EXPECT_EQ(tree.GetNbElem(), 3);
    }
}

TEST(BinaryTree, IterationAndLookUps)
{
    Tree tree;
    Record r;
    EXPECT_EQ(tree.xGetAt(&r, &r), BinaryTree::kNotFound);
    EXPECT_EQ(tree.xGetNext(&r), BinaryTree::kNotFound);
    EXPECT_EQ(tree.xDeleteAt(&r), BinaryTree::kNotFound);

    // Three records of key 5, told apart by their second field.
    for (int16_t k : {9, 5, 1, 5, 7, -3, 5}) {
        Record put = R(k, int16_t(tree.GetNbElem()));
        ASSERT_EQ(tree.xPutAt(&put, &put), 0);
    }
    EXPECT_EQ(Keys(tree), (std::vector<int16_t>{-3, 1, 5, 5, 5, 7, 9}));
    EXPECT_EQ(tree.xGetNext(&r), BinaryTree::kNotFound);
    EXPECT_EQ(tree.xGetNext(&r), BinaryTree::kNotFound);

    Record probe;
    ASSERT_EQ(Get(tree, 5, &r), 0);
    EXPECT_EQ(r.key, 5);
    std::vector<int16_t> seen = {r.a};
    while (tree.xGetNextEqual(&r) == 0) seen.push_back(r.a);
    EXPECT_EQ(seen.size() >= 1 && seen.size() <= 3, true);
    EXPECT_EQ(tree.xGetNextEqual(&r), BinaryTree::kNotFound);  // the cursor was cleared
    // From the first of the equal records, the walk sees all three in insertion order.
    tree.PosToFirst();
    tree.xGetNext(&r), tree.xGetNext(&r), tree.xGetNext(&r);
    seen = {r.a};
    while (tree.xGetNextEqual(&r) == 0) seen.push_back(r.a);
    EXPECT_EQ(seen, (std::vector<int16_t>{1, 3, 6}));

    EXPECT_EQ(Get(tree, 4, &r), BinaryTree::kNotFound);

    ASSERT_EQ(Get(tree, 7, &r), 0);
    Record changed = {7, 42, 0};
    tree.xAlterCurrent(&changed);
    ASSERT_EQ(Get(tree, 7, &r), 0);
    EXPECT_EQ(r.a, 42);

    // Deleting the record under the cursor: iteration goes on with the next one.
    probe = R(1);
    ASSERT_EQ(Get(tree, 1, &r), 0);
    ASSERT_EQ(tree.xDeleteAt(&probe), 0);
    ASSERT_EQ(tree.xGetNext(&r), 0);
    EXPECT_EQ(r.key, 5);
    EXPECT_EQ(Get(tree, 1, &r), BinaryTree::kNotFound);
    EXPECT_EQ(tree.GetNbElem(), 6);
}

TEST(BinaryTree, RandomInsertsAndDeletesMatchAMultimap)
{
    std::mt19937 rng(1234);
    std::uniform_int_distribution<int> keyDist(-300, 300), opDist(0, 99);
    Tree tree;
    std::multimap<int16_t, int16_t> model;
    for (int step = 0; step < 10000; ++step) {
        Record r = R(int16_t(keyDist(rng)));
        r.a = int16_t(r.key * 3);
        auto found = model.find(r.key);
        if (opDist(rng) < 45) {
            int16_t result = tree.xDeleteAt(&r);
            if (found == model.end()) {
                ASSERT_EQ(result, BinaryTree::kNotFound);
            } else {
                ASSERT_EQ(result, 0);
                model.erase(found);
            }
            Record out;
            EXPECT_EQ(Get(tree, r.key, &out) == 0, model.count(r.key) > 0);
        } else {
            ASSERT_EQ(tree.xPutAt(&r, &r), 0);
            model.emplace(r.key, r.a);
        }
        ASSERT_EQ(tree.GetNbElem(), int32_t(model.size()));
        if (step % 250 == 0) {
            int32_t count = 0;
            Check(tree.Root(), nullptr, &count);
            ASSERT_EQ(count, int32_t(model.size()));
            ASSERT_FALSE(::testing::Test::HasFailure());
        }
    }
    int32_t count = 0;
    int height = Check(tree.Root(), nullptr, &count);
    EXPECT_LE(height, 1.45 * std::log2(double(count) + 2));
    std::vector<int16_t> expected;
    for (const auto& [key, a] : model) expected.push_back(key);
    EXPECT_EQ(Keys(tree), expected);
}

}  // namespace

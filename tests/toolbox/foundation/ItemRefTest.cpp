#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "toolbox/foundation/VArrayList.h"
#include "toolbox/foundation/VChainList.h"

namespace {

std::unique_ptr<VArrayListOf<int32_t>> ListOf(int32_t count)
{
    auto list = std::make_unique<VArrayListOf<int32_t>>(0);
    for (int32_t i = 1; i <= count; ++i) list->Add(i * 10);
    return list;
}

// The positions of a reference from the top level down.
std::vector<int32_t> Path(const VItemRef* ref)
{
    std::vector<int32_t> out;
    for (; ref; ref = ref->GetSubRef()) out.push_back(ref->GetPosition());
    return out;
}

TEST(ItemRef, MovesWithinOneList)
{
    auto list = ListOf(5);
    std::unique_ptr<VItemRef> ref(list->GetRoot(3, 1));
    EXPECT_EQ(ref->GetPosition(), 3);
    EXPECT_EQ(ref->GetLevel(), 1);
    EXPECT_FALSE(ref->NullRef());
    ref->Pos(0, 6);
    ref->Pos(0, 6);
    EXPECT_FALSE(ref->NullRef());
    ref->Pos(0, 6);
    EXPECT_EQ(ref->GetPosition(), 5);
    EXPECT_TRUE(ref->NullRef());
    EXPECT_TRUE(ref->IsLast());

    ref->Pos(9, 1);
    EXPECT_EQ(ref->GetPosition(), 5);
    EXPECT_TRUE(ref->NullRef());
    ref->Pos(0, 1);
    EXPECT_EQ(ref->GetPosition(), 1);
    EXPECT_TRUE(ref->NullRef());
    EXPECT_TRUE(ref->IsFirst());
    ref->Pos(0, 7);
    EXPECT_TRUE(ref->NullRef());
    ref->Pos(2, 1);
    ref->Pos(0, 7);  // back from the second item reaches the first
    EXPECT_EQ(ref->GetPosition(), 1);
    EXPECT_FALSE(ref->NullRef());
    ref->Pos(0, 15);
    EXPECT_EQ(ref->GetPosition(), 5);
    EXPECT_FALSE(ref->NullRef());
    ref->Pos(0, 10);  // no children: the position stays
    EXPECT_EQ(ref->GetPosition(), 5);
    EXPECT_TRUE(ref->NullRef());
    ref->Pos(0, 99);
    EXPECT_FALSE(ref->NullRef());
    EXPECT_EQ(ref->Pos(2, 0)->GetPosition(), 2);  // no children: as scheme 1

    EXPECT_EQ(list->GetHCount(), 5);
    EXPECT_EQ(ref->GetObjType(), -1);
    VChainListOf<int32_t> chain(12);
    chain.Add(1);
    std::unique_ptr<VItemRef> chainRef(chain.GetRoot(1, 1));
    EXPECT_EQ(chainRef->GetObjType(), 12);
}

TEST(ValueMultiple, IsNeitherCopiedNorComparedAsAValue)
{
    auto list = ListOf(2);
    auto other = ListOf(2);
    EXPECT_EQ(list->Clone(), nullptr);
    EXPECT_FALSE(list->CanBeEvaluated());
    EXPECT_FALSE(list->IsNull());
    EXPECT_EQ(list->GetValueKind(), kValueEmpty);
    EXPECT_EQ(list->CompareTo(*other), kValuesNotComparable);
}

TEST(ItemRef, ClonesAreIndependent)
{
    auto list = ListOf(4);
    std::unique_ptr<VItemRef> ref(list->GetRoot(2, 1));
    std::unique_ptr<VItemRef> copy(ref->Clone());
    ref.reset();
    EXPECT_EQ(copy->GetPosition(), 2);
    copy->Pos(0, 6);
    EXPECT_EQ(copy->GetPosition(), 3);
    EXPECT_EQ(copy->GetList(), list.get());
}

// top: 3 items; item 2 has two children, the second of which has one.
class ItemRefTree : public ::testing::Test {
protected:
    ItemRefTree()
    {
        child->Add(1);
        child->Add(2);
        top->SetChildList(2, child.get());
        child->SetChildList(2, grandchild.get());
    }
    std::unique_ptr<VArrayListOf<int32_t>> top = ListOf(3);
    std::unique_ptr<VChainListOf<int16_t>> child = std::make_unique<VChainListOf<int16_t>>(5);
    std::unique_ptr<VArrayListOf<int32_t>> grandchild = ListOf(1);
};

TEST_F(ItemRefTree, CountsAndPlacesInDepthFirstOrder)
{
    EXPECT_EQ(top->GetHCount(), 6);
    // 1, 2, 2.1, 2.2, 2.2.1, 3
    const std::vector<std::vector<int32_t>> order = {{1}, {2}, {2, 1}, {2, 2}, {2, 2, 1}, {3}};
    for (int32_t n = 1; n <= 6; ++n) {
        std::unique_ptr<VItemRef> ref(top->GetRoot(n, 0));
        EXPECT_EQ(Path(ref.get()), order[size_t(n - 1)]) << n;
        EXPECT_FALSE(ref->NullRef());
    }

    std::unique_ptr<VItemRef> ref(top->GetRoot(1, 1));
    for (size_t i = 1; i < order.size(); ++i) {
        ref->Pos(0, 4);
        EXPECT_EQ(Path(ref.get()), order[i]);
    }
    EXPECT_EQ(ref->GetLevel(), 1);
    ref->Pos(0, 4);
    EXPECT_TRUE(ref->NullRef());
    for (size_t i = order.size() - 1; i > 0; --i) {
        ref->Pos(0, 5);
        EXPECT_EQ(Path(ref.get()), order[i - 1]);
    }
    ref->Pos(0, 5);
    EXPECT_TRUE(ref->NullRef());
}

TEST_F(ItemRefTree, DescendsClimbsAndReportsTheDeepestLevel)
{
    std::unique_ptr<VItemRef> ref(top->GetRoot(2, 1));
    EXPECT_TRUE(ref->HasSons());
    ref->Pos(0, 10);
    EXPECT_EQ(Path(ref.get()), (std::vector<int32_t>{2, 1}));
    EXPECT_EQ(ref->GetLevel(), 2);
    EXPECT_EQ(ref->GetObjType(), 5);
    EXPECT_FALSE(ref->HasSons());
    ref->Pos(0, 12);
    EXPECT_EQ(Path(ref.get()), (std::vector<int32_t>{2}));
    ref->Pos(0, 12);
    EXPECT_TRUE(ref->NullRef());

    ref->Pos(0, 11);
    EXPECT_EQ(Path(ref.get()), (std::vector<int32_t>{2, 2, 1}));
    EXPECT_EQ(ref->GetLevel(), 3);
    EXPECT_FALSE(ref->NullRef());
    std::unique_ptr<VItemRef> copy(ref->Clone());
    EXPECT_EQ(Path(copy.get()), (std::vector<int32_t>{2, 2, 1}));

    ref->Pos(0, 6);  // the deepest list is exhausted
    EXPECT_TRUE(ref->NullRef());
    EXPECT_EQ(Path(ref.get()), (std::vector<int32_t>{2, 2, 1}));
    ref->Pos(0, 8);  // climbs to the next item of the top list
    EXPECT_EQ(Path(ref.get()), (std::vector<int32_t>{3}));
    ref->Pos(3, 0);
    EXPECT_EQ(Path(ref.get()), (std::vector<int32_t>{2, 1}));
    ref->Pos(0, 9);  // from the first child up to the parent's previous item
    EXPECT_EQ(Path(ref.get()), (std::vector<int32_t>{1}));
    ref->Pos(4, 0);
    ref->Pos(0, 13);
    EXPECT_EQ(Path(ref.get()), (std::vector<int32_t>{1}));
}

}  // namespace

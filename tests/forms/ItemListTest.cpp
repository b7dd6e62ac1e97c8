// The item list model: rooms of item texts, layout of open, closed and
// skipped items, sub-lists shown inside another list, tear-down.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/lists/ItemList.h"
#include "platform/core/Faults.h"
#include "platform/core/Memory.h"

namespace {

std::basic_string<unsigned char> P(const std::string& s)
{
    std::basic_string<unsigned char> p(1, uint8_t(s.size()));
    p.append(s.begin(), s.end());
    return p;
}

std::string Text(ItemHandle item)
{
    const unsigned char* t = ItemText(item);
    return std::string(reinterpret_cast<const char*>(t + 1), t[0]);
}

platform::Size Room(ItemHandle item) { return platform::GetHandleSize(reinterpret_cast<platform::Handle>(item)); }

ItemHandle Add(itemlistrec* list, const std::string& text, ItemHandle* first, ItemHandle* last)
{
    return addqlist(list, P(text).c_str(), 0, 0, nullptr, nullptr, 0, 0, 0, first, last);
}

// The texts of the rows, each with its level.
std::vector<std::string> Rows(itemlistrec* list)
{
    std::vector<std::string> rows;
    for (int32_t n = 1; ItemHandle item = GetListItem(list, n); ++n)
        rows.push_back(std::to_string(GetItemLevel(list, item)) + Text(item));
    return rows;
}

using Strings = std::vector<std::string>;

// A, with branch A1 (whose branch is A1a) and A2; then B.
struct Tree {
    ItemHandle a, a1, a1a, a2, b;
    explicit Tree(itemlistrec* list)
    {
        ItemHandle first = nullptr, last = nullptr;
        a = Add(list, "A", &first, &last);
        b = Add(list, "B", &first, &last);
        ItemHandle bf = nullptr, bl = nullptr;
        a1 = Add(list, "A1", &bf, &bl);
        a2 = Add(list, "A2", &bf, &bl);
        ItemHandle cf = nullptr, cl = nullptr;
        a1a = Add(list, "A1a", &cf, &cl);
        (*a)->firstChild = a1;
        (*a1)->firstChild = a1a;
        list->first = first;
    }
};

}  // namespace

TEST(ItemList, TextRoomIsAtLeast35AndExactlyALongerText)
{
    itemlistrec list;
    initqlist(&list, 0, 255);
    ItemHandle first = nullptr, last = nullptr;
    ItemHandle empty = Add(&list, "", &first, &last);
    const auto fixed = Room(empty) - 36;
    ItemHandle shortItem = Add(&list, std::string(10, 'a'), &first, &last);
    ItemHandle longItem = Add(&list, std::string(40, 'b'), &first, &last);
    list.first = first;
    EXPECT_EQ(Room(shortItem), fixed + 1 + 35);
    EXPECT_EQ(Room(longItem), fixed + 1 + 40);
    EXPECT_EQ(Text(longItem), std::string(40, 'b'));
    EXPECT_EQ((*longItem)->colour, -1);

    // Texts are cut to the list's maximum; a resize that fails keeps the old text.
    list.maxTextLength = 50;
    SetListItemText(&list, shortItem, P(std::string(60, 'c')).c_str());
    EXPECT_EQ(Text(shortItem), std::string(50, 'c'));
    EXPECT_EQ(Room(shortItem), fixed + 1 + 50);
    {
        platform::ScopedFault fault(platform::FaultKind::Allocation, 0, -1);
        SetListItemText(&list, longItem, P(std::string(45, 'd')).c_str());
        EXPECT_EQ(newqlist(&list, P("x").c_str(), 0, 0, nullptr, nullptr, 0, 0, 0), nullptr);
    }
    EXPECT_EQ(Text(longItem), std::string(40, 'b'));
    SetListItemText(&list, longItem, P("e").c_str());
    EXPECT_EQ(Room(longItem), fixed + 1 + 35);
    EXPECT_EQ(Text(longItem), "e");
    deinitqlist(&list);
}

TEST(ItemList, LayoutShowsOpenBranchesOrEveryBranchInMode0)
{
    itemlistrec list;
    initqlist(&list, 0, 255);
    Tree t(&list);
    EXPECT_TRUE(checktransliste(&list));
    EXPECT_FALSE(checktransliste(&list));
    EXPECT_EQ(Rows(&list), (Strings{"0A", "0B"}));
    EXPECT_TRUE(list.hasBranches);
    EXPECT_TRUE((*t.a)->hasBranch && (*t.b)->hasBranch);
    EXPECT_EQ(list.visibleCount, 2);

    SetOpenState(&list, t.a, true);
    EXPECT_TRUE(checktransliste(&list));
    EXPECT_EQ(Rows(&list), (Strings{"0A", "1A1", "1A2", "0B"}));
    EXPECT_EQ((*t.a2)->parent, t.a);

    // Reopening a branch shows its inner items as they were left.
    SetOpenState(&list, t.a1, true);
    SetOpenState(&list, t.a, false);
    transliste(&list);
    EXPECT_EQ(Rows(&list), (Strings{"0A", "0B"}));
    SetOpenState(&list, t.a, true);
    transliste(&list);
    EXPECT_EQ(Rows(&list), (Strings{"0A", "1A1", "2A1a", "1A2", "0B"}));
    EXPECT_EQ(GetListItem(&list, 0), nullptr);
    EXPECT_EQ(GetListItem(&list, 6), nullptr);

    SetOpenState(&list, t.a, false);
    list.mode = 0;
    transliste(&list);
    EXPECT_EQ(Rows(&list), (Strings{"0A", "1A1", "2A1a", "1A2", "0B"}));
    EXPECT_EQ(list.layoutCount, 5);
    deinitqlist(&list);
}

TEST(ItemList, SubListsShowInsideAnotherListWithTheirOwnOpenState)
{
    itemlistrec outer;
    initqlist(&outer, 0, 255);
    auto* inner = reinterpret_cast<itemlistrec*>(platform::NewPtrClear(sizeof(itemlistrec)));
    initqlist(inner, 0, 255);
    Tree t(inner);
    auto* included = reinterpret_cast<itemlistrec*>(platform::NewPtrClear(sizeof(itemlistrec)));
    initqlist(included, 0, 255);
    ItemHandle f = nullptr, l = nullptr;
    Add(included, "I1", &f, &l);
    Add(included, "I2", &f, &l);
    included->first = f;

    ItemHandle first = nullptr, last = nullptr;
    ItemHandle holder = Add(&outer, "Holder", &first, &last);
    ItemHandle skipper = Add(&outer, "Skipped", &first, &last);
    Add(&outer, "End", &first, &last);
    (*holder)->subList = inner;
    (*skipper)->subList = included;
    (*skipper)->skip = 1;
    outer.first = first;

    transliste(&outer);
    EXPECT_EQ(Rows(&outer), (Strings{"0Holder", "0I1", "0I2", "0End"}));
    EXPECT_EQ((*holder)->firstChild, t.a);
    EXPECT_EQ(inner->count, 0);
    EXPECT_TRUE(inner->needsLayout);

    SetOpenState(&outer, holder, true);
    SetOpenState(&outer, t.a, true);
    transliste(&outer);
    EXPECT_EQ(Rows(&outer), (Strings{"0Holder", "1A", "2A1", "2A2", "1B", "0I1", "0I2", "0End"}));
    EXPECT_EQ(inner->count, 4);
    // The inner list keeps its own state of the same items.
    transliste(inner);
    EXPECT_EQ(Rows(inner), (Strings{"0A", "0B"}));

    // A dead sub-list is dropped from its item.
    itemlistrec dead;
    initqlist(&dead, 0, 255);
    deinitqlist(&dead);
    ItemHandle end = (*skipper)->next;
    (*end)->subList = &dead;
    transliste(&outer);
    EXPECT_EQ((*end)->subList, nullptr);

    // A list shown inside itself (directly, or through a list it shows) is
    // not expanded again: each repeat would double the rows.
    ItemHandle mirror = Add(&outer, "Mirror", &first, &last);
    ItemHandle mirror2 = Add(&outer, "Mirror2", &first, &last);
    (*mirror)->subList = &outer;
    (*mirror2)->subList = &outer;
    ItemHandle back = Add(included, "Back", &f, &l);
    (*back)->subList = &outer;
    SetOpenState(&outer, mirror, true);
    SetOpenState(&outer, mirror2, true);
    SetOpenState(&outer, back, true);
    transliste(&outer);
    EXPECT_EQ(Rows(&outer), (Strings{"0Holder", "1A", "2A1", "2A2", "1B", "0I1", "0I2", "0Back", "0End", "0Mirror",
                                     "0Mirror2"}));
    EXPECT_EQ((*mirror)->firstChild, nullptr);
    for (ItemHandle m : {mirror, mirror2, back}) (*m)->subList = nullptr;

    // Tearing the outer list down frees the items, the live sub-lists and their items.
    deinitqlist(&outer);
    EXPECT_FALSE(isaList(inner));
    EXPECT_FALSE(isaList(included));
    EXPECT_FALSE(isaList(&outer));
}

TEST(ItemList, ChainOfLiveListsAndSelection)
{
    itemlistrec a, b;
    initqlist(&a, 0, 255);
    initqlist(&b, 0, 255);
    EXPECT_EQ(RootList, &b);
    EXPECT_TRUE(isaList(&a));
    itemlistrec stranger{};
    deinitqlist(&stranger);  // not in the chain: nothing happens
    EXPECT_TRUE(isaList(&a) && isaList(&b));
    initqlist(&a, 0, 255);  // made live again: still once in the chain
    deinitqlist(&a);
    EXPECT_FALSE(isaList(&a));
    EXPECT_TRUE(isaList(&b));

    Tree t(&b);
    transliste(&b);
    b.selected = 2;
    EXPECT_TRUE(IsItemSelected(2, &b));
    EXPECT_FALSE(IsItemSelected(1, &b));
    b.multipleSelection[0] = b.multipleSelection[1] = 1;
    (*t.a)->selected = 1;
    EXPECT_TRUE(IsItemSelected(1, &b));
    EXPECT_FALSE(IsItemSelected(2, &b));

    // A list that owns its items alone frees their branches without
    // looking at sub-lists.
    const size_t handles = platform::LiveHandleCount();
    itemlistrec single;
    initqlist(&single, 0, 255);
    single.singleOwner = 1;
    Tree owned(&single);
    deinitqlist(&single);
    EXPECT_EQ(platform::LiveHandleCount(), handles);

    emptyqlist(&b);
    EXPECT_EQ(b.first, nullptr);
    EXPECT_EQ(GetListItem(&b, 1), nullptr);
    EXPECT_TRUE(b.needsLayout);
    deinitqlist(&b);
    EXPECT_EQ(RootList, nullptr);
}

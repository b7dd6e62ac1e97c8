// Object lists, type lists and the sorts.
#include <algorithm>
#include <random>
#include <vector>

#include "design/objects/ObjSorts.h"
#include "design/links/XRef.h"
#include "tests/design/DesignFixture.h"

namespace designtest {
namespace {

using ListTest = DesignFixture;

TEST_F(ListTest, CountersFollowAppendsAndGrowthByStep)
{
    ObjListHdl list = nullptr;
    ASSERT_EQ(NewObjList(&list, 10), 0);
    EXPECT_EQ(list->count, 1);
    EXPECT_EQ(list->free, 9);
    EXPECT_EQ(list->step, 10);
    TObjQz objs[10];
    for (TObjQz& o : objs) ASSERT_EQ(AddObjList(&list, &o), 0);
    EXPECT_EQ(list->count, 11);
    EXPECT_EQ(list->free, 9);
    EXPECT_EQ(list->At(10), nullptr);  // the terminator follows the entries
    for (int i = 0; i < 10; ++i) EXPECT_EQ(list->At(i), &objs[i]);
    // Entries set at once, within the room and past it: the count, the
    // terminator and the free slots follow.
    TObjQz* const some[] = {&objs[2], &objs[0], &objs[1]};
    for (const auto& [n, free] : {std::pair{3, 16}, std::pair{0, 19}}) {
        ASSERT_EQ(SetObjListEntries(list, some, n), 0);
        EXPECT_EQ(std::tuple(list->Size(), list->free, list->At(n)), std::tuple(n, free, nullptr)) << n;
        for (int i = 0; i < n; ++i) EXPECT_EQ(list->At(i), some[i]);
    }
    std::vector<TObjQz*> many(25, &objs[3]);
    ASSERT_EQ(SetObjListEntries(list, many.data(), 25), 0);
    EXPECT_EQ(std::tuple(list->Size(), list->room, list->free, list->At(25)), std::tuple(25, 36, 9, nullptr));
    EXPECT_EQ(SetObjListEntries(list, some, -1), -50);
    FreeObjList(list);
}

// Objects placed together land where one at a time would: in name order,
// after the entries of an equal name; those of one spelling keep their order.
TEST_F(ListTest, MergedObjectsKeepTheNameOrder)
{
    auto named = [](TObjQz* o, const std::string& n, int16_t id) {
        apptest::ToP(n, o->name);
        o->id = id;
        return o;
    };
    TObjQz held[4], added[6];
    ObjListHdl list = nullptr;
    ASSERT_EQ(NewObjList(&list, 3), 0);
    for (auto [i, n] : {std::pair{0, "b"}, {1, "d"}, {2, "d"}, {3, "f"}}) ASSERT_EQ(AddObjList(&list, named(&held[i], n, 0)), 0);
    const std::pair<const char*, int16_t> more[] = {{"d", 1}, {"a", 2}, {"g", 3}, {"D", 4}, {"d", 5}, {"c", 6}};
    std::vector<TObjQz*> batch;
    for (size_t i = 0; i < std::size(more); ++i) batch.push_back(named(&added[i], more[i].first, more[i].second));
    {
        // Memory running out leaves the list as it was.
        platform::ScopedFault fault(platform::FaultKind::Allocation, 0);
        EXPECT_EQ(MergeSortedObjList(&list, batch.data(), int32_t(batch.size())), -108);
    }
    EXPECT_EQ(list->Size(), 4);
    ASSERT_EQ(MergeSortedObjList(&list, batch.data(), int32_t(batch.size())), 0);
    std::vector<std::string> order;
    for (int32_t i = 0; i < list->Size(); ++i) order.push_back(P(list->At(i)->name) + std::to_string(list->At(i)->id));
    // "D" and "d" are equal names: the held ones first.
    EXPECT_EQ(order, (std::vector<std::string>{"a2", "b0", "c6", "d0", "d0", "d1", "d5", "D4", "f0", "g3"}));
    EXPECT_EQ(list->At(10), nullptr);
    EXPECT_EQ(list->free, 3);
    TObjQz last;
    ASSERT_EQ(AddObjList(&list, named(&last, "h", 7)), 0);  // room behind the terminator
    EXPECT_EQ(list->At(10), &last);
    FreeObjList(list);
}

TEST_F(ListTest, RoomZeroStillGrows)
{
    // A list made with room 0 once had free -1 and step 0: its first append
    // wrote past the slots.
    ObjListHdl list = nullptr;
    ASSERT_EQ(NewObjList(&list, 0), 0);
    EXPECT_GE(list->step, 1);
    EXPECT_GE(list->free, 0);
    TObjQz objs[5];
    for (TObjQz& o : objs) ASSERT_EQ(AddObjList(&list, &o), 0);
    EXPECT_EQ(list->Size(), 5);
    FreeObjList(list);
}

TEST_F(ListTest, AbsentDeletesAndPresentPointersChangeNothing)
{
    ObjListHdl list = nullptr;
    TObjQz a, b, c;
    ASSERT_EQ(AddSortPtrList(&list, &b), 0);
    ASSERT_EQ(AddSortPtrList(&list, &a), 0);
    ASSERT_EQ(AddSortPtrList(&list, &c), 0);
    ASSERT_EQ(AddSortPtrList(&list, &a), 0);
    EXPECT_EQ(list->Size(), 3);
    EXPECT_TRUE(std::less<TObjQz*>()(list->At(0), list->At(1)));
    EXPECT_TRUE(std::less<TObjQz*>()(list->At(1), list->At(2)));
    const int32_t freeBefore = list->free;
    TObjQz absent;
    EXPECT_EQ(DelObjList(list, &absent), 0);
    EXPECT_EQ(list->Size(), 3);
    EXPECT_EQ(list->free, freeBefore);
    EXPECT_EQ(DelObjList(list, &b), 0);
    EXPECT_EQ(list->Size(), 2);
    EXPECT_FALSE(IsInList(list, &b));
    EXPECT_FALSE(IsInList(nullptr, &a));
    EXPECT_EQ(DelObjList(nullptr, &a), 0);
    RazObjList(list);
    EXPECT_EQ(list->count, 1);
    EXPECT_EQ(list->free, list->step - 1);
    FreeObjList(list);
}

TEST_F(ListTest, GrowthFailureLeavesListAsItWas)
{
    ObjListHdl list = nullptr;
    ASSERT_EQ(NewObjList(&list, 1), 0);
    TObjQz a, b, c;
    ASSERT_EQ(AddObjList(&list, &a), 0);
    ASSERT_EQ(AddObjList(&list, &b), 0);
    {
        platform::ScopedFault fault(platform::FaultKind::Allocation, 0, -1);
        EXPECT_EQ(AddObjList(&list, &c), -108);
        EXPECT_EQ(AddSortedObjList(&list, &c, 0), -108);
    }
    EXPECT_EQ(list->count, 3);
    EXPECT_EQ(list->free, 0);
    EXPECT_EQ(list->At(0), &a);
    EXPECT_EQ(list->At(1), &b);
    EXPECT_EQ(AddSortedObjList(&list, &c, 0), 0);
    EXPECT_EQ(list->At(0), &c);
    FreeObjList(list);
}

// Free follows the step (step slots after each growth, one fewer per
// append) while long lists take their room in larger pieces; every change
// of entries or of their order gives a stamp never seen before, nothing
// else gives one.
TEST_F(ListTest, LongListsFollowTheStepAndStampEveryChange)
{
    std::vector<TObjQz> objs(3000);
    for (const int16_t step : {1, 10, 30}) {
        ObjListHdl list = nullptr;
        ASSERT_EQ(NewObjList(&list, step), 0);
        std::vector<uint64_t> seen = {list->stamp};
        auto moved = [&] { return seen.push_back(list->stamp), std::count(seen.begin(), seen.end(), list->stamp) == 1; };
        for (size_t i = 0; i < objs.size(); ++i) {
            const int32_t free = list->free;
            ASSERT_EQ(i % 2 ? AddObjList(&list, &objs[i]) : AddSortedObjList(&list, &objs[i], int32_t(i / 2)), 0);
            ASSERT_EQ(list->free, (free == 0 ? step : free) - 1) << step << " " << i;
            ASSERT_TRUE(moved());
        }
        for (int32_t i = 0; i < 3000; ++i) ASSERT_EQ(list->At(i), &objs[size_t(i < 1500 ? 2 * i : 2 * (i - 1500) + 1)]);
        DelObjList(list, nullptr);
        EXPECT_FALSE(moved()) << "deleting nothing";
        Shell_IdSort(list);
        EXPECT_TRUE(moved()) << "sorting";
        platform::ScopedFault fault(platform::FaultKind::Allocation, 0, -1);
        int16_t err = 0;  // appends take the room there is, then one fails to grow
        while (err == 0) seen.push_back(list->stamp), err = AddObjList(&list, &objs[0]);
        EXPECT_EQ(err, -108);
        EXPECT_FALSE(moved()) << "a failed growth";
        platform::ClearAllFaults();
        DelObjList(list, &objs[0]);
        EXPECT_TRUE(moved()) << "deleting";
        RazObjList(list);
        EXPECT_TRUE(moved()) << "emptying";
        FreeObjList(list);
    }
}

// Entries removed anywhere (the side before them moves when shorter), with
// appends and insertions between, the list growing out of its first block
// and emptied: it holds what a plain sequence does, in its order.
TEST_F(ListTest, RemovalsFromEitherSideKeepTheOrder)
{
    std::vector<TObjQz> objs(400);
    ObjListHdl list = nullptr;
    ASSERT_EQ(NewObjList(&list, 10), 0);
    std::vector<TObjQz*> model;
    std::mt19937 random(5);
    for (int step = 0; step < 3000; ++step) {
        TObjQz* obj = &objs[random() % objs.size()];
        const uint32_t at = random() % uint32_t(model.size() + 1), what = random() % 3;
        if (what == 0) {
            ASSERT_EQ(AddObjList(&list, obj), 0);
            model.push_back(obj);
        } else if (what == 1) {
            ASSERT_EQ(AddSortedObjList(&list, obj, int32_t(at)), 0);
            model.insert(model.begin() + at, obj);
        } else if (at < model.size()) {
            DelObjListAt(list, int32_t(at));
            model.erase(model.begin() + at);
        }
        if (step == 1500) RazObjList(list), model.clear();
        std::vector<TObjQz*> want = model;
        want.push_back(nullptr);  // the end mark
        ASSERT_EQ(std::vector<TObjQz*>(list->entries, list->entries + list->Size() + 1), want) << step;
    }
    FreeObjList(list);
}

// Lookups repeated on one list answer from a kept index; the answers stay
// those of a walk through every edit: ids changed, objects added or gone.
TEST_F(ListTest, RepeatedLookupsFollowIdChangesAndEdits)
{
    std::vector<TObjQz*> methods;
    for (int16_t id = 1; id <= 12; ++id) methods.push_back(Make(2, "m" + std::to_string(id), id));
    Make(1, "T1", 1);
    Make(28, "F1", 1);
    Make(1, "T2", 2);
    Make(28, "T3", 2);  // a field named like a table that is not there
    auto walk = [&](int16_t id) -> TObjQz* {
        for (TObjQz* m : methods)
            if (m->id == id) return m;
        return nullptr;
    };
    int32_t pos = 0;
    for (int round = 0; round < 3; ++round) {
        for (int pass = 0; pass < 10; ++pass) {
            for (int16_t id : {int16_t(1), int16_t(5), int16_t(12), int16_t(40 + round), int16_t(99)})
                ASSERT_EQ(SearchListObj_Id(List(2), id), walk(id)) << round << " " << pass << " " << id;
            ASSERT_EQ(P(SearchTableName(List(1), PName("T2"), &pos)->name), "T2") << pass;
            ASSERT_EQ(SearchTableName(List(1), PName("T3"), &pos), nullptr) << pass;
        }
        methods[4]->id = int16_t(40 + round + 1);  // renumbered in place
        NoteObjIdChanged();
    }
    methods.push_back(Make(2, "late", 99));
    EXPECT_EQ(SearchListObj_Id(List(2), 99), methods.back());
    DelObjList(List(2), methods[0]);
    EXPECT_EQ(SearchListObj_Id(List(2), 1), nullptr);
    DestroyObj(methods[0]);
}

// Membership tests of a long list answer from a kept set, taken along
// through appends; they stay those of a walk through every other edit.
TEST_F(ListTest, MembershipFollowsAppendsAndEveryOtherEdit)
{
    std::vector<TObjQz> objs(400);
    ObjListHdl list = nullptr;
    ASSERT_EQ(NewObjList(&list, 30), 0);
    auto agree = [&](const char* after) {
        for (int pass = 0; pass < 10; ++pass)
            for (size_t i = 0; i < objs.size(); i += 7) {
                const bool walked = std::find(list->entries, list->entries + list->Size(), &objs[i]) !=
                                    list->entries + list->Size();
                ASSERT_EQ(IsInList(list, &objs[i]), walked) << after << " " << i;
            }
    };
    for (size_t i = 0; i < 200; ++i) {
        ASSERT_EQ(AddObjList(&list, &objs[i]), 0);
        if (i % 50 == 49) agree("appends");
    }
    ASSERT_EQ(AddSortedObjList(&list, &objs[300], 3), 0);
    agree("an insert");
    ASSERT_EQ(DelObjList(list, &objs[7]), 0);
    agree("a deletion");
    list->entries[0] = &objs[301];  // rewritten in place, then stamped
    StampObjList(list);
    agree("a rewrite");
    ASSERT_EQ(AddObjList(&list, &objs[7]), 0);
    agree("an append after a rewrite");
    std::vector<TObjQz*> some;
    for (size_t i = 100; i < 180; ++i) some.push_back(&objs[i]);
    ASSERT_EQ(SetObjListEntries(list, some.data(), int32_t(some.size())), 0);
    agree("new entries");
    RazObjList(list);
    for (size_t i = 350; i < 400; ++i) ASSERT_EQ(AddObjList(&list, &objs[i]), 0);
    for (size_t i = 0; i < 30; ++i) ASSERT_EQ(AddObjList(&list, &objs[i]), 0);
    agree("emptied and filled again");
    FreeObjList(list);
}

TEST_F(ListTest, TypeListMapsSharedKinds)
{
    EXPECT_EQ(GetObjListe(doc_.fTypeList, 28), GetObjListe(doc_.fTypeList, 1));
    EXPECT_EQ(GetObjListe(doc_.fTypeList, 29), GetObjListe(doc_.fTypeList, 1));
    EXPECT_EQ(GetObjListe(doc_.fTypeList, 30), GetObjListe(doc_.fTypeList, 10));
    EXPECT_EQ(GetObjListe(doc_.fTypeList, 33), GetObjListe(doc_.fTypeList, 23));
    EXPECT_EQ(GetObjListe(doc_.fTypeList, 24), nullptr);
    EXPECT_EQ(GetObjListe(doc_.fTypeList, 0), nullptr);
    EXPECT_EQ(GetObjListe(doc_.fTypeList, 5)->free, 29);
}

TEST_F(ListTest, DisposingTypeListReleasesGroupedAndLinkedObjects)
{
    auto* group = static_cast<TGroupObjQz*>(Make(23, "G"));
    TObjQz* m = Make(2, "m");
    TObjQz* t = Make(1, "T");
    ASSERT_EQ(m->AddGroup(group, false), 0);
    ASSERT_EQ(XRef(m, t), 0);
    DisposeTypeList(doc_.fTypeList);  // clean under the sanitizers
    doc_.fTypeList = nullptr;
    EXPECT_EQ(G_ModuleUpdate, 4);
}

TEST_F(ListTest, DisposedInstalledMemberLeavesItsGroup)
{
    // An object of an installed component refuses to leave its group in
    // normal work; disposing of its list must still take it out.
    auto* group = static_cast<TGroupObjQz*>(Make(23, "G"));
    ObjListHdl own = nullptr;
    TObjQz* member = ConstructObjOfKind(2);
    member->kind = 2;
    member->init(&doc_, PName("m"), 1);
    ASSERT_EQ(AddObjList(&own, member), 0);
    ASSERT_EQ(member->AddGroup(group, false), 0);
    member->SetModuleState(1, false);
    DisposeObjList(own);
    EXPECT_EQ(group->members->Size(), 0);
}

TEST_F(ListTest, ShellSortPutsGroupsLastAndAtNamesFirst)
{
    ObjListHdl list = nullptr;
    ASSERT_EQ(NewObjList(&list, 10), 0);
    TObjQz* objs[] = {Make(23, "aaa"), Make(2, "zzz"), Make(2, "@x"), Make(23, "@b"), Make(2, "a"), Make(2, "b")};
    for (TObjQz* o : objs) ASSERT_EQ(AddObjList(&list, o), 0);
    ShellSort(list);
    std::vector<std::string> order;
    for (int i = 0; i < list->Size(); ++i) order.push_back(P(list->At(i)->name));
    EXPECT_EQ(order, (std::vector<std::string>{"@x", "a", "b", "zzz", "@b", "aaa"}));
    Shell_IdSort(list);
    ShellStrictSort(list);
    EXPECT_EQ(P(list->At(0)->name), "@x");
    EXPECT_EQ(list->At(5)->kind, 23);
    FreeObjList(list);
}

TEST_F(ListTest, ShellSortTypeOrdersMenuBarsBySlotAndKeepsOthers)
{
    ObjListHdl list = nullptr;
    auto* b1 = static_cast<TMBarObjQz*>(Make(5, "A", 1));
    auto* b2 = static_cast<TMBarObjQz*>(Make(5, "B", 2));
    auto* b3 = static_cast<TMBarObjQz*>(Make(5, "C", 3));
    b1->libaSlot = 3;
    b2->libaSlot = 1;
    b3->libaSlot = 2;
    TObjQz* m1 = Make(2, "z");
    TObjQz* m2 = Make(2, "a");
    for (TObjQz* o : std::initializer_list<TObjQz*>{b1, m1, b2, m2, b3}) ASSERT_EQ(AddObjList(&list, o), 0);
    ShellSortType(list);
    EXPECT_EQ(list->At(0), m1);
    EXPECT_EQ(list->At(1), m2);
    EXPECT_EQ(list->At(2), b2);
    EXPECT_EQ(list->At(3), b3);
    EXPECT_EQ(list->At(4), b1);
    FreeObjList(list);
}

}  // namespace
}  // namespace designtest

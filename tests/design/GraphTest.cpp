// The uses / used-by graph stays mirrored whatever happens to it.
#include <algorithm>
#include <optional>
#include <random>
#include <set>
#include <utility>

#include "design/links/XRef.h"
#include "tests/design/DesignFixture.h"

namespace designtest {
namespace {

using GraphTest = DesignFixture;

std::vector<TObjQz*> Entries(ObjListHdl list)
{
    std::vector<TObjQz*> out;
    if (list)
        for (int32_t i = 0; i < list->Size(); ++i) out.push_back(list->At(i));
    return out;
}

TEST_F(GraphTest, EdgesAreRecordedOnceAndSelfEdgesUnlink)
{
    TObjQz* a = Make(2, "a");
    TObjQz* b = Make(2, "b");
    ASSERT_EQ(XRef(a, b), 0);
    ASSERT_EQ(XRef(a, b), 0);
    EXPECT_EQ(Entries(a->uses), std::vector<TObjQz*>{b});
    EXPECT_EQ(Entries(b->usedBy), std::vector<TObjQz*>{a});
    EXPECT_EQ(XRef(nullptr, b), 0);
    XDelRef(b, a);  // no such edge
    EXPECT_EQ(Entries(a->uses), std::vector<TObjQz*>{b});
    ASSERT_EQ(XRef(a, a), 0);
    EXPECT_TRUE(IsInList(a->uses, a) && IsInList(a->usedBy, a));
    a->Unlink();
    EXPECT_TRUE(Entries(a->uses).empty());
    EXPECT_TRUE(Entries(a->usedBy).empty());
    EXPECT_TRUE(Entries(b->usedBy).empty());
}

TEST_F(GraphTest, MergeMovesEveryEdgeOnce)
{
    TObjQz* self = Make(2, "this");
    TObjQz* other = Make(2, "other");
    TObjQz* c1 = Make(2, "c1");
    TObjQz* c2 = Make(2, "c2");
    TObjQz* d = Make(1, "T");
    ASSERT_EQ(XRef(c1, other), 0);
    ASSERT_EQ(XRef(c1, self), 0);  // already a caller of this
    ASSERT_EQ(XRef(c2, other), 0);
    ASSERT_EQ(XRef(other, d), 0);
    self->MergeObj(other);
    EXPECT_TRUE(Entries(other->uses).empty());
    EXPECT_TRUE(Entries(other->usedBy).empty());
    EXPECT_EQ(Entries(c1->uses), std::vector<TObjQz*>{self});
    EXPECT_EQ(Entries(c2->uses), std::vector<TObjQz*>{self});
    EXPECT_EQ(Entries(self->usedBy), (std::vector<TObjQz*>{c1, c2}));
    EXPECT_EQ(Entries(self->uses), std::vector<TObjQz*>{d});
    EXPECT_EQ(Entries(d->usedBy), std::vector<TObjQz*>{self});
    d->MergeObj(self);  // another kind: nothing moves
    EXPECT_EQ(Entries(self->uses), std::vector<TObjQz*>{d});
}

TEST_F(GraphTest, FailedEdgeLeavesNothingBehind)
{
    TObjQz* a = Make(2, "a");
    TObjQz* b = Make(2, "b");
    TObjQz* c = Make(2, "c");
    ASSERT_EQ(XRef(a, c), 0);
    // Fill a's uses so that the second half must grow.
    std::vector<TObjQz*> filler;
    for (int i = 0; i < 8; ++i) {
        filler.push_back(Make(4, "f" + std::to_string(i)));
        ASSERT_EQ(XRef(a, filler.back()), 0);
    }
    ASSERT_EQ(a->uses->free, 0);
    {
        // b's new list is made (one block); a's uses cannot grow.
        platform::ScopedFault fault(platform::FaultKind::Allocation, 1, -1);
        EXPECT_EQ(XRef(a, b), -108);
    }
    EXPECT_FALSE(IsInList(a->uses, b));
    EXPECT_FALSE(IsInList(b->usedBy, a));
    // Deleting the user leaves no list pointing at it (checked by the sanitizers).
    a->DeleteObj(true);
    EXPECT_TRUE(Entries(b->usedBy).empty());
    EXPECT_TRUE(Entries(c->usedBy).empty());
    b->DeleteObj(true);
}

// A group uses what its members use and is used by what uses them, its
// own members and enciphered objects left out; whatever changes below it
// (an edge, a membership, an object deleted), its summaries follow, with
// nothing freed in them.
TEST_F(GraphTest, GroupsFollowTheirMembersLinks)
{
    std::mt19937 random(3);
    std::vector<TObjQz*> objs;
    for (int i = 0; i < 80; ++i) objs.push_back(Make(2, "n" + std::to_string(random() % 8), int16_t(i), true));
    for (int i = 0; i < 400; ++i) ASSERT_EQ(XRef(objs[random() % 80], objs[random() % 80]), 0);
    for (int i = 0; i < 80; i += 7) objs[size_t(i)]->SetFlag(kFlagCiphered, true);
    auto* outer = static_cast<TGroupObjQz*>(Make(23, "outer"));
    auto* inner = static_cast<TGroupObjQz*>(Make(23, "inner"));
    for (int i = 0; i < 30; ++i) objs[random() % 80]->AddGroup(random() % 3 ? outer : inner, false);
    ASSERT_EQ(inner->AddGroup(outer, false), 0);
    auto expect = [&](const std::string& when, bool rich = true) {
        for (TGroupObjQz* g : {inner, outer}) {
            std::set<TObjQz*> want[2];  // uses, users: the members', less the members
            for (TObjQz* m : Entries(g->members))
                for (int side = 0; side < 2; ++side)
                    for (TObjQz* o : Entries(side ? m->usedBy : m->uses))
                        if (side || !o->TstFlag(kFlagCiphered)) want[side].insert(o);
            for (int side = 0; side < 2; ++side) {
                for (TObjQz* m : Entries(g->members)) want[side].erase(m);
                const auto got = Entries(side ? g->usedBy : g->uses);
                EXPECT_EQ(std::set<TObjQz*>(got.begin(), got.end()), want[side]) << when << P(g->name) << side;
                EXPECT_EQ(std::set<TObjQz*>(got.begin(), got.end()).size(), got.size()) << when;
                if (rich) {
                    EXPECT_GT(want[side].size(), 2u) << when;
                }
            }
        }
    };
    expect("made: ");
    for (int i = 0; i < 60; ++i) XDelRef(objs[random() % 80], objs[random() % 80]);
    expect("edges gone: ");
    for (int i = 0; i < 6; ++i)
        if (TObjQz* m = outer->members->At(0); m != inner) m->DelGroup(false, false);
    expect("members gone: ");
    // Users and used objects deleted, members among them.
    for (int i = 0; i < 10; ++i) {
        objs.back()->DeleteObj(true);
        objs.pop_back();
    }
    expect("objects gone: ");
    // Then any mix of changes, one at a time or several in one command:
    // edges, members moving between the groups and leaving, objects
    // ciphered and deciphered, objects deleted.
    for (int round = 0; round < 60; ++round) {
        std::optional<LinkChanges> command;
        if (round % 3 == 0) command.emplace();
        for (int i = 0; i < 8; ++i) {
            TObjQz* a = objs[random() % objs.size()];
            TObjQz* b = objs[random() % objs.size()];
            switch (random() % 8) {
            case 0: XDelRef(a, b); break;
            case 1: a->AddGroup(random() % 2 ? outer : inner, false); break;
            case 2: a->DelGroup(false, false); break;
            case 3: a->SetModuleState(a->TstFlag(kFlagCiphered) ? 0 : 2, false); break;
            case 4:
                if (objs.size() > 40) {
                    objs.erase(std::find(objs.begin(), objs.end(), a));
                    a->DeleteObj(true);
                }
                break;
            default: ASSERT_EQ(XRef(a, b), 0);
            }
        }
        command.reset();
        expect("round " + std::to_string(round) + ": ", false);
    }
}

TEST_F(GraphTest, RandomOperationsKeepBothSidesMirrored)
{
    std::vector<TObjQz*> objs;
    for (int i = 0; i < 50; ++i) objs.push_back(Make(2, "o" + std::to_string(i)));
    std::set<std::pair<TObjQz*, TObjQz*>> model;
    std::mt19937 random(38);
    for (int step = 0; step < 10000; ++step) {
        TObjQz* a = objs[random() % 50];
        TObjQz* b = objs[random() % 50];
        switch (random() % 10) {
        case 0: {
            a->Unlink();
            for (auto it = model.begin(); it != model.end();)
                it = it->first == a || it->second == a ? model.erase(it) : std::next(it);
            break;
        }
        case 1: case 2: case 3:
            XDelRef(a, b);
            model.erase({a, b});
            break;
        default:
            ASSERT_EQ(XRef(a, b), 0);
            model.insert({a, b});
        }
    }
    std::set<std::pair<TObjQz*, TObjQz*>> uses, usedBy;
    for (TObjQz* o : objs) {
        const auto out = Entries(o->uses), in = Entries(o->usedBy);
        EXPECT_EQ(std::set<TObjQz*>(out.begin(), out.end()).size(), out.size());
        EXPECT_EQ(std::set<TObjQz*>(in.begin(), in.end()).size(), in.size());
        for (TObjQz* b : out) uses.insert({o, b});
        for (TObjQz* a : in) usedBy.insert({a, o});
    }
    EXPECT_EQ(uses, model);
    EXPECT_EQ(usedBy, model);
}

}  // namespace
}  // namespace designtest

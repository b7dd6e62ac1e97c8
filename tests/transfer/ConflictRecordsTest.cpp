// Conflict records and lists: the class each code makes, the list's
// growth, chaining, the look-ups, and memory running out at every step.
#include <random>
#include <typeindex>

#include "tests/transfer/TransferFixture.h"

namespace transfertest {
namespace {

using RecordsTest = TransferFixture;

TEST_F(RecordsTest, EachCodeMakesItsClassAndEveryClassCanHoldMembers)
{
    UseChoices(C_Pm({}));
    const std::type_index file = typeid(TFileConflict), layout = typeid(TLayOutConflict), plain = typeid(TRConflict),
                          pack = typeid(TPackConflict);
    std::vector<std::pair<std::vector<int16_t>, std::type_index>> rows = {
        {{0, 22, 105, 106, 108, 109, 110, 111, 112, 113, 114, 115, 116, 118, 119, 120, 121, 122, 123, 124, 125, 126,
          127, 128, 129, 130, 131, 14, 15, 16, 17, 18, 19, 20, 21, 23, 24, 25},
         plain},
        {{1, 2, 101, 102, 103}, file},
        {{3, 4, 107}, layout},
        {{104}, typeid(TCritConflict)},
        {{117}, typeid(TMBarConflict)},
        {{5}, typeid(TGroupConflict)},
        {{6}, typeid(TProcConflict)},
        {{7}, typeid(TListConflict)},
        {{8}, typeid(TBalloonConflict)},
        {{9}, typeid(TStrConflict)},
        {{10}, typeid(TExtConflict)},
        {{11, 12, 13}, pack},
    };
    C_ListHdl list = NewList();
    for (const auto& [codes, type] : rows)
        for (int16_t code : codes) {
            TConflict* r = Record(list, nullptr, code, 9);
            ASSERT_NE(r, nullptr);
            EXPECT_EQ(std::type_index(typeid(*r)), type) << code;
            EXPECT_TRUE(r->IsMember(1)) << code;
            EXPECT_TRUE(r->IsMember(0)) << code;
            EXPECT_FALSE(r->IsMember(2)) << code;
            EXPECT_EQ(r->fCode, code);
            EXPECT_EQ(r->fChoice, 9);
        }
    // No block for any code here: nothing is visible, code 0 least of all.
    EXPECT_FALSE(transfer::IsConflict(list));
    transfer::DisposeC_List(list);
}

TEST_F(RecordsTest, ARecordTakesItsSourcesNameCutTo33Characters)
{
    UseChoices(C_Pm({}));
    TObjQz source;
    const std::string long40(40, 'x');
    apptest::ToP(long40, source.name);
    source.name[0] = 40;  // as read from a longer stored name
    C_ListHdl list = NewList();
    auto* r = static_cast<TRConflict*>(Record(list, &source, 6, 1));
    EXPECT_EQ(apptest::P(r->fNewName), std::string(33, 'x'));
    EXPECT_EQ(r->fSource, &source);
    EXPECT_EQ(r->fPrevChoice, 0);
    EXPECT_FALSE(r->fClicked);
    auto* none = static_cast<TRConflict*>(Record(list, nullptr, 6, 1));
    EXPECT_EQ(none->fNewName[0], 0);
    transfer::DisposeC_List(list);
}

TEST_F(RecordsTest, AListOfRoom30GrowsBy30AtThe30thRecord)
{
    UseChoices(C_Pm({}));
    C_ListHdl list = NewList();
    EXPECT_EQ(list->count, 1);
    EXPECT_EQ(list->free, 29);
    EXPECT_EQ(list->step, 30);
    EXPECT_EQ(list->Capacity(), 31);  // 134 bytes as stored: 10 + 4 x 31
    std::vector<TConflict*> made;
    for (int i = 1; i <= 29; ++i) made.push_back(Record(list, nullptr, 6, 1));
    EXPECT_EQ(list->free, 0);
    EXPECT_EQ(list->Capacity(), 31);
    made.push_back(Record(list, nullptr, 6, 1));
    // (step + count) x 4 + 14 = 254 bytes: 61 slots.
    EXPECT_EQ(list->Capacity(), 61);
    EXPECT_EQ(list->count, 31);
    EXPECT_EQ(list->free, 29);
    for (int i = 0; i < 30; ++i) EXPECT_EQ(list->At(i), made[size_t(i)]);
    EXPECT_EQ(list->At(30), nullptr);

    C_ListHdl tiny = nullptr;
    ASSERT_EQ(transfer::NewC_List(&tiny, 0), 0);  // room 0 still grows
    for (int i = 0; i < 3; ++i) Record(tiny, nullptr, 6, 1);
    EXPECT_EQ(tiny->Size(), 3);
    transfer::DisposeC_List(tiny);
    transfer::DisposeC_List(list);
}

TEST_F(RecordsTest, ChainingFindsMembersAndRecordsEachOnce)
{
    UseChoices(C_Pm({}));
    TObjQz table, sub, field, other;
    C_ListHdl list = NewList();
    TConflict* t = Record(list, &table, 1, 4);
    TConflict* s = nullptr;
    TConflict* f = nullptr;
    ASSERT_EQ(transfer::ChainConflict(t, &sub, 101, &s), 0);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->fParent, t);
    EXPECT_EQ(s->fChoice, 0);
    EXPECT_EQ(s->fDest, nullptr);
    ASSERT_EQ(transfer::ChainConflict(s, &field, 104, &f), 0);

    // A second chaining of the same object makes nothing and says so.
    TConflict* again = reinterpret_cast<TConflict*>(1);
    EXPECT_EQ(transfer::ChainConflict(t, &sub, 101, &again), 0);
    EXPECT_EQ(again, nullptr);
    EXPECT_EQ(static_cast<TRConflict*>(t)->fSubList->Size(), 1);
    EXPECT_EQ(transfer::ChainConflict(nullptr, &other, 104, &again), 0);
    EXPECT_EQ(again, nullptr);

    EXPECT_EQ(transfer::C_SearchInChain(list, &field), f);  // two levels down
    EXPECT_EQ(transfer::C_Search(list, &field), nullptr);   // not at the top
    EXPECT_FALSE(transfer::IsInC_List(list, &field));
    EXPECT_TRUE(transfer::IsInC_List(list, &table));
    // An earlier top-level record of the same source wins over the chain.
    TConflict* top = Record(list, &field, 0, 9);
    EXPECT_EQ(transfer::C_SearchInChain(list, &field), f);
    C_ListHdl second = NewList();
    TConflict* early = Record(second, &field, 0, 9);
    TConflict* holder = Record(second, &table, 1, 4);
    TConflict* chained = nullptr;
    ASSERT_EQ(transfer::ChainConflict(holder, &field, 104, &chained), 0);
    EXPECT_EQ(transfer::C_SearchInChain(second, &field), early);
    EXPECT_EQ(transfer::C_Search(list, &field), top);
    EXPECT_EQ(transfer::C_SearchInChain(nullptr, &field), nullptr);
    EXPECT_EQ(transfer::C_SearchInChain(list, &other), nullptr);
    transfer::DisposeC_List(second);
    transfer::DisposeC_List(list);
}

// The walk the look-ups must agree with: depth first in list order.
TConflict* WalkFor(C_ListHdl list, const TObjQz* obj, bool deep)
{
    for (int32_t i = 0; list && i < list->Size(); ++i) {
        TConflict* r = list->At(i);
        if (r->fSource == obj) return r;
        if (deep && r->IsMember(1))
            if (TConflict* found = WalkFor(static_cast<TRConflict*>(r)->fSubList, obj, true)) return found;
    }
    return nullptr;
}

TEST_F(RecordsTest, LookUpsAnswerAsTheWalkOfTheListsWhateverOrderTheRecordsCameIn)
{
    UseChoices(C_Pm({}));
    TObjQz objects[5];
    const std::vector<TObjQz*> sources = {nullptr, &objects[0], &objects[1], &objects[2], &objects[3], &objects[4]};
    for (uint32_t seed : {1u, 7u, 42u}) {
        std::mt19937 rng(seed);
        auto pick = [&](size_t n) { return size_t(rng() % n); };
        C_ListHdl root = NewList();
        std::vector<TConflict*> all;
        std::vector<C_ListHdl> lists = {root};
        for (int step = 0; step < 300; ++step) {
            TObjQz* source = sources[pick(sources.size())];
            TConflict* made = nullptr;
            const size_t what = all.empty() ? 0 : pick(10);
            if (what < 4) {
                made = Record(root, source, 6, 1);
            } else if (what < 9) {
                // Chained under any record, a later one's namesake among them.
                TConflict* parent = all[pick(all.size())];
                ASSERT_EQ(transfer::ChainConflict(parent, source, 104, &made), 0);
                if (made && static_cast<TRConflict*>(parent)->fSubList->Size() == 1)
                    lists.push_back(static_cast<TRConflict*>(parent)->fSubList);
            } else {
                // A record that holds members before it joins a list.
                made = transfer::NewConflictOfCode(6);
                made->init(source, nullptr, 6, 1);
                TConflict* member = nullptr;
                ASSERT_EQ(transfer::ChainConflict(made, sources[pick(sources.size())], 104, &member), 0);
                ASSERT_EQ(transfer::AddC_List(lists[pick(lists.size())], made), 0);
                all.push_back(member);
                lists.push_back(static_cast<TRConflict*>(made)->fSubList);
            }
            if (made) all.push_back(made);
            for (C_ListHdl list : {root, lists[pick(lists.size())]})
                for (TObjQz* obj : sources) {
                    ASSERT_EQ(transfer::C_SearchInChain(list, obj), WalkFor(list, obj, true)) << seed << " " << step;
                    ASSERT_EQ(transfer::C_Search(list, obj), WalkFor(list, obj, false)) << seed << " " << step;
                }
        }
        transfer::DisposeC_List(root);
    }
}

TEST_F(RecordsTest, AVisibleRecordIsFoundUnderAnInvisibleParent)
{
    UseChoices(C_Pm({{6, {{1, transfer::kChoiceVisible | transfer::kChoiceShown}}}}));
    TObjQz table, method;
    C_ListHdl list = NewList();
    TConflict* t = Record(list, &table, 1, 4);  // no block for code 1: invisible
    EXPECT_FALSE(t->fVisible);
    EXPECT_FALSE(transfer::IsConflict(list));
    TConflict* m = nullptr;
    ASSERT_EQ(transfer::ChainConflict(t, &method, 6, &m), 0);
    m->fChoice = 1;
    m->DoMajVis();
    EXPECT_TRUE(m->fVisible);
    EXPECT_TRUE(transfer::IsConflict(list));
    EXPECT_FALSE(transfer::IsConflict(nullptr));
    transfer::DisposeC_List(list);
}

TEST_F(RecordsTest, AFormOfCode3Or4MarksItsTableAsCopyingForms)
{
    UseChoices(C_Pm({}));
    TObjQz table, form, field;
    C_ListHdl list = NewList();
    TConflict* t = Record(list, &table, 1, 4);
    TConflict* c = nullptr;
    EXPECT_FALSE(t->IsLayOutCopie());
    ASSERT_EQ(transfer::ChainConflict(t, &field, 104, &c), 0);
    EXPECT_FALSE(t->IsLayOutCopie());
    for (int16_t code : {3, 4, 107}) {
        c->fCode = code;
        EXPECT_EQ(t->IsLayOutCopie(), code != 107) << code;
    }
    transfer::DisposeC_List(list);
}

TEST_F(RecordsTest, RunningOutOfMemoryLeavesTheListAsItWasAndLeaksNothing)
{
    UseChoices(C_Pm({}));
    TObjQz table, member, source;
    // Each step is tried with every allocation it makes failing in turn.
    struct Step {
        const char* what;
        std::function<int16_t(C_ListHdl, TConflict*, TConflict*, TConflict**)> run;
    };
    const std::vector<Step> steps = {
        {"RecordConflict", [&](C_ListHdl l, TConflict*, TConflict*, TConflict** out) {
             return transfer::RecordConflict(&source, nullptr, 6, 1, l, out);
         }},
        {"RecordC_Ref", [&](C_ListHdl l, TConflict*, TConflict*, TConflict** out) {
             *out = nullptr;
             return transfer::RecordC_Ref(&source, &member, l);
         }},
        {"ChainConflict", [&](C_ListHdl, TConflict* parent, TConflict*, TConflict** out) {
             return transfer::ChainConflict(parent, &member, 104, out);
         }},
        {"AddC_List", [&](C_ListHdl l, TConflict*, TConflict* spare, TConflict** out) {
             *out = nullptr;
             return transfer::AddC_List(l, spare);
         }},
    };
    for (const Step& step : steps) {
        for (int32_t after = 0;; ++after) {
            // A full list, so that the step must grow it; a parent without a
            // sub-list, so that chaining must make one.
            C_ListHdl list = nullptr;
            ASSERT_EQ(transfer::NewC_List(&list, 3), 0);
            TConflict* parent = Record(list, &table, 1, 4);
            Record(list, &table, 1, 4);
            ASSERT_EQ(list->free, 0);
            TConflict* spare = transfer::NewConflictOfCode(6);
            spare->init(&source, nullptr, 6, 1);
            const size_t ptrs = platform::LivePtrCount();
            const int32_t capacity = list->Capacity();
            platform::InjectFault(platform::FaultKind::Allocation, after);
            TConflict* made = nullptr;
            const int16_t result = step.run(list, parent, spare, &made);
            const bool fired = !platform::IsFaultArmed(platform::FaultKind::Allocation);
            platform::ClearAllFaults();
            if (!fired) {
                EXPECT_EQ(result, 0) << step.what;
                if (list->At(list->Size() - 1) != spare) spare->Dispose();
                transfer::DisposeC_List(list);
                EXPECT_GT(after, 0) << step.what << " allocates nothing";
                break;
            }
            EXPECT_EQ(result, platform::memFullErr) << step.what << " after " << after;
            EXPECT_EQ(made, nullptr) << step.what;
            EXPECT_EQ(list->Size(), 2) << step.what;
            EXPECT_EQ(list->free, 0) << step.what;
            EXPECT_EQ(list->Capacity(), capacity) << step.what;
            EXPECT_EQ(list->At(2), nullptr) << step.what;
            EXPECT_EQ(static_cast<TRConflict*>(parent)->fSubList, nullptr) << step.what;
            EXPECT_EQ(platform::LivePtrCount(), ptrs) << step.what << " after " << after;
            spare->Dispose();
            transfer::DisposeC_List(list);
        }
    }
}

}  // namespace
}  // namespace transfertest

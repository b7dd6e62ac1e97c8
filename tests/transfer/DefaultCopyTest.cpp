// The copies the default choices pull in: which objects join the transfer
// list, in which order, without deep recursion, and what running out of
// memory answers.
#include <pthread.h>

#include "tests/platform/core/FailingNewDefinitions.h"
#include "tests/transfer/TransferFixture.h"

namespace transfertest {
namespace {

// A movable object whose indirect conflicts record each object it uses,
// once, with the choice that object carries.
class UsingObj : public TObjQz {
public:
    bool Movable() override { return true; }
    int16_t Indir_Conflicts(TMainDoc* doc, C_ListRec* list, ObjListHdl moved) override
    {
        (void)doc;
        ++gathered;
        if (transfer::C_SearchInChain(list, this) || IsInList(moved, this)) return 0;
        TConflict* r = nullptr;
        return transfer::RecordConflict(this, nullptr, 110, choice, list, &r);
    }
    int16_t choice = 9;
    static inline int32_t gathered = 0;
};

class DefaultCopyTest : public TransferFixture {
protected:
    void SetUp() override
    {
        TransferFixture::SetUp();
        UseChoices(C_Pm({}));
        UsingObj::gathered = 0;
        ASSERT_EQ(NewObjList(&transfer_, 10), 0);
        list_ = NewList();
    }
    void TearDown() override
    {
        transfer::DisposeC_List(list_);
        FreeObjList(transfer_);
        for (UsingObj* o : objs_) {
            FreeObjList(o->uses);
            delete o;
        }
        TransferFixture::TearDown();
    }
    UsingObj* Obj(int16_t kind, const std::string& name, int16_t choice = 9)
    {
        auto* o = new UsingObj;
        o->kind = kind;
        apptest::ToP(name, o->name);
        o->choice = choice;
        objs_.push_back(o);
        return o;
    }
    static void Uses(UsingObj* a, UsingObj* b) { ASSERT_EQ(AddObjList(&a->uses, b), 0); }
    std::vector<std::string> Joined() const
    {
        std::vector<std::string> names;
        for (int32_t i = 0; i < transfer_->Size(); ++i) names.push_back(apptest::P(transfer_->At(i)->name));
        return names;
    }

    std::vector<UsingObj*> objs_;
    ObjListHdl transfer_ = nullptr;
    C_ListHdl list_ = nullptr;
};

TEST_F(DefaultCopyTest, RecordsThatCopyNothingOnlySortTheList)
{
    UsingObj* group = Obj(23, "Team");
    UsingObj* method = Obj(2, "Run");
    UsingObj* table = Obj(1, "Items");
    Uses(method, table);
    for (UsingObj* o : {group, method}) ASSERT_EQ(AddObjList(&transfer_, o), 0);
    TConflict* kept = Record(list_, table, 110, 4);
    TConflict* subtable = Record(list_, Obj(29, "Sub"), 0, 9);
    TConflict* noSource = Record(list_, nullptr, 6, 9);
    ASSERT_EQ(transfer::MakeDfltCopy(nullptr, &transfer_, list_), 0);
    EXPECT_EQ(Joined(), (std::vector<std::string>{"Run", "Team"}));  // groups after every other kind
    EXPECT_EQ(UsingObj::gathered, 0);
    EXPECT_EQ(list_->Size(), 3);
    EXPECT_EQ(kept->fCode, 110);
    EXPECT_EQ(subtable->fCode, 0);
    EXPECT_EQ(noSource->fCode, 6);
}

TEST_F(DefaultCopyTest, ObjectsJoinDepthFirstWithEachRecordsMembersAfterWhatItPulledIn)
{
    UsingObj* a = Obj(2, "A");
    UsingObj* b = Obj(2, "B");
    UsingObj* a1 = Obj(2, "A1");
    UsingObj* a2 = Obj(2, "A2");
    UsingObj* s = Obj(2, "S");
    UsingObj* s1 = Obj(2, "S1");
    UsingObj* kept = Obj(2, "Kept", 4);
    Uses(a, a1), Uses(a1, a2), Uses(s, s1), Uses(b, kept);
    TConflict* ra = Record(list_, a, 6, 9);
    Record(list_, b, 6, 9);
    TConflict* rs = nullptr;
    ASSERT_EQ(transfer::ChainConflict(ra, s, 104, &rs), 0);
    rs->fChoice = 9;
    ra->fVisible = true;
    ASSERT_EQ(transfer::MakeDfltCopy(nullptr, &transfer_, list_), 0);
    EXPECT_EQ(Joined(), (std::vector<std::string>{"A", "B", "A1", "A2", "S", "S1"}));
    // A copied record is a plain, hidden copy; one that keeps the
    // destination's object stays as it was.
    EXPECT_EQ(ra->fCode, 0);
    EXPECT_FALSE(ra->fVisible);
    TConflict* rk = transfer::C_Search(list_, kept);
    ASSERT_NE(rk, nullptr);
    EXPECT_EQ(rk->fCode, 110);
    EXPECT_EQ(rk->fChoice, 4);
}

struct ChainRun {
    DefaultCopyTest* test;
    ObjListHdl* transfer;
    C_ListHdl list;
    int16_t result = -1;
};

TEST_F(DefaultCopyTest, ALongChainOfUsesJoinsWholeOnASmallStack)
{
    constexpr int kChain = 5000;
    std::vector<UsingObj*> chain;
    for (int i = 0; i < kChain; ++i) chain.push_back(Obj(2, "m" + std::to_string(i)));
    for (int i = 0; i + 1 < kChain; ++i) Uses(chain[size_t(i)], chain[size_t(i + 1)]);
    Record(list_, chain[0], 6, 9);
    // 256 KiB: a walk that recursed once per link would need megabytes.
    ChainRun run{this, &transfer_, list_};
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    ASSERT_EQ(pthread_attr_setstacksize(&attr, 256 * 1024), 0);
    pthread_t thread;
    ASSERT_EQ(pthread_create(
                  &thread, &attr,
                  [](void* p) -> void* {
                      auto* r = static_cast<ChainRun*>(p);
                      r->result = transfer::MakeDfltCopy(nullptr, r->transfer, r->list);
                      return nullptr;
                  },
                  &run),
              0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attr);
    EXPECT_EQ(run.result, 0);
    ASSERT_EQ(transfer_->Size(), kChain);
    for (int i = 0; i < kChain; ++i) ASSERT_EQ(transfer_->At(i), chain[size_t(i)]) << i;
    EXPECT_EQ(list_->Size(), kChain);
}

TEST_F(DefaultCopyTest, RunningOutOfMemoryAnswersMinus108NeverAListMissingObjects)
{
    auto build = [&] {
        for (UsingObj* o : objs_) FreeObjList(o->uses), o->uses = nullptr;
        transfer::DisposeC_List(list_);
        list_ = NewList();
        RazObjList(transfer_);
        UsingObj* prev = nullptr;
        for (int i = 0; i < 40; ++i) {
            UsingObj* o = i < int(objs_.size()) ? objs_[size_t(i)] : Obj(2, "m" + std::to_string(i));
            if (prev) Uses(prev, o);
            prev = o;
        }
        Record(list_, objs_[0], 6, 9);
    };
    int32_t failures = 0;
    for (bool platformFault : {true, false}) {
        for (int64_t after = 0;; ++after) {
            build();
            int16_t result = 0;
            bool fired = false;
            if (platformFault) {
                platform::InjectFault(platform::FaultKind::Allocation, int32_t(after));
                result = transfer::MakeDfltCopy(nullptr, &transfer_, list_);
                fired = !platform::IsFaultArmed(platform::FaultKind::Allocation);
                platform::ClearAllFaults();
            } else {
                testfaults::FailNthNew(after);
                result = transfer::MakeDfltCopy(nullptr, &transfer_, list_);
                fired = !testfaults::NewFailurePending();
                testfaults::StopFailingNew();
            }
            if (!fired) {
                EXPECT_EQ(result, 0);
                EXPECT_EQ(transfer_->Size(), 40);
                break;
            }
            ++failures;
            EXPECT_EQ(result, platform::memFullErr) << (platformFault ? "platform " : "new ") << after;
        }
    }
    EXPECT_GT(failures, 40);
    // The memory reserve gone: the copy stops as for memory running out.
    build();
    platform::DisposeHandle(GromMemHdl);
    GromMemHdl = nullptr;
    EXPECT_EQ(transfer::MakeDfltCopy(nullptr, &transfer_, list_), platform::memFullErr);
}

}  // namespace
}  // namespace transfertest

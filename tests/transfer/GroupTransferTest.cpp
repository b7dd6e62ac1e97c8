// Groups, components and component folders copied into another document:
// what they meet there, the copy by the choice of the group's record, and
// the members the copy gathers when linked.
#include "tests/transfer/CopyFixture.h"
#include "transfer/conflicts/ConflictList.h"
#include "transfer/conflicts/ConflictRecording.h"
#include "transfer/conflicts/Conflicts.h"

namespace transfertest {
namespace {

const char* kStudio = R"(structure Studio
table T
  field F longint
method Go id 30
  comment "go"
method Run id 31
  comment "run"
method Loose id 32
  comment "alone"
group Art
  table T
  method Go
  method Run
component Kit id 20 version "1.0" prefix "kt"
  public
    method Loose
)";

const char* kGallery = R"(structure Gallery
table T
  field F longint
method Go id 5
  comment "mine"
method Other id 6
  comment "other"
group Art
  method Other
component Kit id 21 version "0.9" prefix "kt"
  public
    method Other
)";

class GroupTransferTest : public CopyFixture {
protected:
    std::set<std::string> Members(TObjQz* group)
    {
        std::set<std::string> names;
        for (int32_t i = 0; group && group->members && i < group->members->Size(); ++i)
            names.insert(std::to_string(group->members->At(i)->kind) + ":" + readtest::P(group->members->At(i)->name));
        return names;
    }
};

// No record copies the group empty under its name; 1 under a name free
// there; 5 merges with the destination's namesake and 4 uses it: neither
// makes a group.
TEST_F(GroupTransferTest, AGroupByItsRecordsChoice)
{
    struct Case {
        int16_t choice;  // -1: no record
        const char* name;  // the copy's, null: none
    };
    for (const Case c : {Case{-1, "Art"}, Case{1, "Art_2"}, Case{5, nullptr}, Case{4, nullptr}}) {
        SCOPED_TRACE(c.choice);
        BuildPair(kStudio, kGallery);
        TObjQz* art = Src(23, "Art");
        TObjQz* theirs = Dst(23, "Art");
        ASSERT_TRUE(art && theirs);
        const std::set<std::string> theirMembers = Members(theirs);
        Conflicts conflicts;
        TConflict* record = nullptr;
        if (c.choice >= 0) {
            ASSERT_EQ(transfer::RecordConflict(art, theirs, 5, c.choice, conflicts.list, &record), 0);
        }
        TObjQz* made = Moved(art, conflicts.list);
        if (c.name) {
            ASSERT_NE(made, nullptr);
            EXPECT_NE(made, theirs);
            EXPECT_EQ(made->kind, 23);
            EXPECT_EQ(readtest::P(made->name), c.name);
            EXPECT_EQ(Members(made), std::set<std::string>{});
            TConflict* pair = record ? record : transfer::C_Search(conflicts.list, art);
            ASSERT_NE(pair, nullptr);
            EXPECT_EQ(pair->fDest, made);
        } else {
            EXPECT_EQ(made, nullptr);
            EXPECT_EQ(record->fDest, theirs);
        }
        EXPECT_EQ(Members(theirs), theirMembers);
        EXPECT_EQ(Members(art), (std::set<std::string>{"1:T", "2:Go", "2:Run"}));
        ClosePair();
    }
}

// Linked, the copy gathers the counterparts of the source's members; an
// installed component's table the transfer only links to (8) stays out,
// while a method linked so joins.
TEST_F(GroupTransferTest, TheCopyGathersTheMembersCounterparts)
{
    BuildPair(kStudio, kGallery);
    TObjQz* art = Src(23, "Art");
    Conflicts conflicts;
    TConflict* record = nullptr;
    ASSERT_EQ(transfer::RecordConflict(art, Dst(23, "Art"), 5, 1, conflicts.list, &record), 0);
    TObjQz* made = nullptr;
    ASSERT_EQ(art->Move(&dest_, conflicts.list, &made), 0);
    ASSERT_NE(made, nullptr);
    for (TObjQz* member : {Src(1, "T"), Src(2, "Go")}) {
        member->SetFlag(kFlagInComponent, true);
        ASSERT_EQ(transfer::RecordConflict(member, Dst(member->kind, readtest::P(member->name)), 0, 8, conflicts.list,
                                           &record),
                  0);
    }
    TObjQz* run = nullptr;
    ASSERT_EQ(Src(2, "Run")->Move(&dest_, conflicts.list, &run), 0);
    ASSERT_NE(run, nullptr);
    ASSERT_EQ(made->Parse_Link(art, conflicts.list), 0);
    EXPECT_EQ(Members(made), (std::set<std::string>{"2:Go", "2:Run"}));
    EXPECT_EQ(Dst(2, "Go")->parent, made);
    EXPECT_EQ(run->parent, made);
    // Linked again, no member joins twice.
    ASSERT_EQ(made->Parse_Link(art, conflicts.list), 0);
    EXPECT_EQ(made->members->Size(), 2);
    ReopenDest();
    EXPECT_EQ(Members(Dst(23, "Art_2")), (std::set<std::string>{"2:Go", "2:Run"}));
}

// A component meets a component of its name: 21 when that one is
// installed, else 5; its folders meet that component's folders (5,
// merged); without one, neither is recorded.
TEST_F(GroupTransferTest, AComponentAndItsFoldersMeetTheirNamesakes)
{
    struct Case {
        const char* dest;
        int16_t code;  // 0: no namesake
        bool installed;
    };
    for (const Case& c : {Case{kGallery, 5, false}, Case{kGallery, 21, true}, Case{"structure Gallery\n", 0, false}}) {
        const bool namesake = c.code != 0;
        SCOPED_TRACE(c.code);
        BuildPair(kStudio, c.dest);
        if (c.installed) Dst(32, "Kit")->SetFlag(kFlagInComponent, true);
        auto* kit = dynamic_cast<TModuleObjQz*>(Src(32, "Kit"));
        ASSERT_NE(kit, nullptr);
        ASSERT_NE(kit->publicFolder, nullptr);
        Conflicts conflicts;
        NoObjects none;
        ASSERT_EQ(kit->Dir_Conflicts(&dest_, conflicts.list, none.list), 0);
        ASSERT_EQ(kit->publicFolder->Dir_Conflicts(&dest_, conflicts.list, none.list), 0);
        if (!namesake) {
            EXPECT_EQ(conflicts.list->Size(), 0);
        } else {
            auto* theirs = dynamic_cast<TModuleObjQz*>(Dst(32, "Kit"));
            ASSERT_NE(theirs, nullptr);
            TConflict* record = transfer::C_Search(conflicts.list, kit);
            ASSERT_NE(record, nullptr);
            EXPECT_EQ(std::tuple(record->fCode, record->fChoice, record->fDest),
                      std::tuple(c.code, transfer::Cc_Dflt(5), static_cast<TObjQz*>(theirs)));
            TConflict* folder = transfer::C_Search(conflicts.list, kit->publicFolder);
            ASSERT_NE(folder, nullptr);
            EXPECT_EQ(std::tuple(folder->fCode, folder->fChoice, folder->fDest),
                      std::tuple(int16_t(5), int16_t(5), static_cast<TObjQz*>(theirs->publicFolder)));
        }
        ClosePair();
    }
}

// Every write of a merge into the destination's namesake failing in turn
// (Run joins it, Helper comes along): the namesake keeps its members and
// its summary of what they use, which names nothing the roll-back freed.
TEST_F(GroupTransferTest, AFailedMergeLeavesTheNamesakeAsItWas)
{
    BuildPair(R"(structure Studio
method Run id 31
  call Helper ( "x" )
method Helper id 32
  comment "helps"
group Art
  method Run
)",
              kGallery);
    CloseDest();
    const auto pristine = DestFiles();
    int32_t failed = 0;
    for (int32_t after = 0; after < 100; ++after) {
        OpenDest();
        TObjQz* theirs = Dst(23, "Art");
        const std::set<std::string> members = Members(theirs), uses = Uses(theirs);
        // The copy of Art merges with the destination's (choice 5).
        transfer::G_Filters = transfer::NewFilters();
        ASSERT_EQ(transfer::MakeCc_Dflt(transfer::G_Filters), 0);
        reinterpret_cast<int16_t*>(*transfer::G_Filters)[5 - 1] = 5;
        ObjListHdl list = nullptr;
        ASSERT_EQ(NewObjList(&list, 30), 0);
        ASSERT_EQ(Src(23, "Art")->SelfAddObjList(&list, 1), 0);
        platform::PushDialogAnswer(1);
        platform::InjectFault(platform::FaultKind::DiskFull, after);
        const int16_t result = transfer::DoMove(&doc_, &dest_, &list, false, false, nullptr);
        const bool fired = !platform::IsFaultArmed(platform::FaultKind::DiskFull);
        platform::ClearAllFaults();
        platform::ClearDialogAnswers();
        FreeObjList(list);
        if (result != 0) {
            ++failed;
            EXPECT_EQ(Members(theirs), members) << after;
            EXPECT_EQ(Uses(theirs), uses) << after;
        }
        CloseDest();
        if (result != 0) {
            EXPECT_EQ(DestFiles(), pristine) << after;
        }
        RestoreDest(pristine);
        if (!fired) break;
    }
    EXPECT_GE(failed, 2);
}

}  // namespace
}  // namespace transfertest

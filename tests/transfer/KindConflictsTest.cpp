// What the copied kinds meet in another document before a copy: the record
// each writes (its code, default choice and the destination's object) when
// dropped itself (direct) or pulled in by what uses it (indirect).
#include "tests/transfer/CopyFixture.h"
#include "transfer/conflicts/ConflictList.h"
#include "transfer/conflicts/ConflictRecording.h"
#include "transfer/conflicts/Conflicts.h"

namespace transfertest {
namespace {

const char* kShop = R"(structure Shop
method Go id 30
  var vTotal op 7 real 1
method Run id 31
  call Go
menu M id 1
  item "Go" method Go
menu N id 2
  item "x"
menubar A
  menu M
routine Sum id 15040
routine Mean id 15041
package Kit id 15010
  routine "Add(&R):R"
package Solo id 15020
  routine "Show"
strings Words id 1
  "w"
strings Notes id 20001
  "n"
)";

const char* kDepot = R"(structure Depot
method Go id 5
  var vTotal op 7 real 2
menu M id 1
  item "Other"
menubar A
  menu M
routine Sum id 15050
package Kit id 15030
  routine "Add(&R):R"
strings Other id 20001
  "o"
)";

class KindConflictsTest : public CopyFixture {};

TEST_F(KindConflictsTest, EachKindRecordsWhatItMeetsThere)
{
    struct Case {
        int16_t kind;
        const char* name;
        bool direct;
        int16_t update;    // G_ModuleUpdate
        int16_t code;      // -1: no record
        int16_t choice;    // -1: the code's default
        const char* dest;  // the destination's object, by name
    };
    const Case cases[] = {
        // Project methods: a namesake directly (6); indirectly 111 with
        // it, 110 without.
        {2, "Go", true, 0, 6, -1, "Go"},
        {2, "Run", true, 0, -1, 0, nullptr},
        {2, "Go", false, 0, 111, -1, "Go"},
        {2, "Run", false, 0, 110, -1, nullptr},
        // A menu bar the destination holds none equal to: 117 where it
        // has bars.
        {5, "A", false, 0, 117, -1, nullptr},
        // A menu without a namesake there is copied with what uses it.
        {6, "N", false, 0, 0, 9, nullptr},
        {6, "N", true, 0, -1, 0, nullptr},
        // A process variable of the name there: 23, nothing to choose;
        // none during a component update.
        {9, "vTotal", true, 0, 23, 0, "vTotal"},
        {9, "vTotal", true, 4, -1, 0, nullptr},
        // Older plug-in routines: a namesake directly (10); indirectly 0
        // using it, else 113.
        {8, "Sum", true, 0, 10, -1, "Sum"},
        {8, "Mean", true, 0, -1, 0, nullptr},
        {8, "Sum", false, 0, 0, 4, "Sum"},
        {8, "Mean", false, 0, 113, -1, nullptr},
        // Packages: a namesake directly (11); none without one unless
        // locked or the application's; indirectly 0 using it, else 114.
        {7, "_Kit", true, 0, 11, -1, "_Kit"},
        {7, "_Solo", true, 0, -1, 0, nullptr},
        {7, "_Kit", false, 0, 0, 4, "_Kit"},
        {7, "_Solo", false, 0, 114, -1, nullptr},
        // String lists: another list of the id directly (9). A package's
        // routine list of the id (Kit's, 1) is no list to replace or use:
        // directly 26, copied under a new id; indirectly as if not there.
        {11, "Notes", true, 0, 9, -1, "Other"},
        {11, "Words", true, 0, 26, 13, "Kit routines"},
        {11, "Words", false, 0, 116, -1, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + " " + c.name + (c.direct ? " direct" : " indirect") + " update " +
                     std::to_string(c.update));
        BuildPair(kShop, kDepot);
        TObjQz* source = Src(c.kind, c.name);
        ASSERT_NE(source, nullptr);
        Conflicts conflicts;
        NoObjects none;
        const int16_t savedUpdate = G_ModuleUpdate;
        G_ModuleUpdate = c.update;
        EXPECT_EQ(c.direct ? source->Dir_Conflicts(&dest_, conflicts.list, none.list)
                           : source->Indir_Conflicts(&dest_, conflicts.list, none.list),
                  0);
        G_ModuleUpdate = savedUpdate;
        TConflict* record = transfer::C_Search(conflicts.list, source);
        if (c.code < 0) {
            EXPECT_EQ(conflicts.list->Size(), 0);
        } else {
            ASSERT_NE(record, nullptr);
            EXPECT_EQ(conflicts.list->Size(), 1);
            EXPECT_EQ(record->fCode, c.code);
            EXPECT_EQ(record->fChoice, c.choice < 0 ? transfer::Cc_Dflt(c.code) : c.choice);
            EXPECT_EQ(record->fDest, c.dest ? Dst(c.kind, c.dest) : nullptr);
            if (c.dest) {
                EXPECT_NE(record->fDest, nullptr);
            }
            // Met again, it is not recorded twice.
            ASSERT_EQ(source->Indir_Conflicts(&dest_, conflicts.list, none.list), 0);
            EXPECT_EQ(conflicts.list->Size(), 1);
        }
        ClosePair();
    }
}

}  // namespace
}  // namespace transfertest

// Objects copied one at a time into another document by the choice of
// their conflict record: the object the copy is (a new one, the
// destination's own written over, or none), its name and id, the record's
// destination afterwards, and the source left as it was. Grouped by kind.
#include <algorithm>

#include "platform/resfiles/Resources.h"
#include "tests/transfer/CopyFixture.h"
#include "transfer/conflicts/ConflictList.h"
#include "transfer/conflicts/ConflictRecording.h"
#include "transfer/conflicts/Conflicts.h"

namespace transfertest {
namespace {

const char* kShop = R"(structure Shop
method Go id 30
  comment "go"
method Run id 31
  call Go
menu M id 1
  item "Go" method Go
menubar A
  menu M
strings Words id 20000
  "alpha"
picture Logo id 5 size 8 8
stylesheet Body id 3 font Geneva size 10
package Kit id 15010
  routine "Add(&R):R"
)";

const char* kDepot = R"(structure Depot
method Go id 5
  comment "mine"
menu M id 1
  item "Other"
menubar A
  menu M
strings Words id 20000
  "beta"
picture Logo id 6 size 4 4
stylesheet Body id 4 font Times size 12
package Kit id 15030
  routine "Add(&R):R"
)";

// What a case expects of the copy.
enum class Made { None, New, Namesake };

struct ChoiceCase {
    int16_t choice;  // -1: no record
    const char* newName;
    Made made;
    const char* name;  // the copy's name
};

class ChoiceCopyTest : public CopyFixture {
protected:
    // The object of `kind` named `name` copied by a record of `choice`
    // naming the destination's namesake; checks the copy, the record and
    // the source, and gives the copy.
    TObjQz* CopyByChoice(int16_t kind, const std::string& name, const ChoiceCase& c)
    {
        TObjQz* source = Src(kind, name);
        TObjQz* namesake = Dst(kind, name);
        EXPECT_NE(source, nullptr);
        EXPECT_NE(namesake, nullptr);
        if (!source || !namesake) return nullptr;
        const int16_t sourceId = source->id;
        const int32_t before = Count(kind);
        Conflicts conflicts;
        TConflict* record = nullptr;
        if (c.choice >= 0) {
            EXPECT_EQ(transfer::RecordConflict(source, namesake, 6, c.choice, conflicts.list, &record), 0);
            if (c.newName) apptest::ToP(c.newName, static_cast<TRConflict*>(record)->fNewName);
        }
        TObjQz* made = Moved(source, conflicts.list);
        switch (c.made) {
        case Made::None:
        case Made::Namesake:
            EXPECT_EQ(made, c.made == Made::None ? nullptr : namesake);
            EXPECT_EQ(Count(kind), before);
            if (record) {
                EXPECT_EQ(record->fDest, namesake);
            }
            break;
        case Made::New:
            EXPECT_NE(made, nullptr);
            EXPECT_NE(made, namesake);
            EXPECT_EQ(Count(kind), before + 1);
            if (record) {
                EXPECT_EQ(record->fDest, made);
            } else if (TConflict* pair = transfer::C_Search(conflicts.list, source)) {
                EXPECT_EQ(pair->fCode, 0);
                EXPECT_EQ(pair->fDest, made);
            } else {
                ADD_FAILURE() << "no record of the copy";
            }
            break;
        }
        if (made && c.name) {
            EXPECT_EQ(readtest::P(made->name), c.name);
        }
        if (made) {
            EXPECT_EQ(made->owner, &dest_);
        }
        EXPECT_EQ(readtest::P(source->name), name);
        EXPECT_EQ(source->id, sourceId);
        EXPECT_EQ(source->owner, &doc_);
        return made;
    }
    // CopyByChoice of an installed component's object in normal work
    // (G_ModuleUpdate 4) when `inComponent`, else of a plain one.
    TObjQz* CopyByChoice(int16_t kind, const std::string& name, const ChoiceCase& c, bool inComponent)
    {
        const int16_t savedUpdate = G_ModuleUpdate;
        if (inComponent) {
            G_ModuleUpdate = 4;
            Src(kind, name)->SetFlag(kFlagInComponent, true);
        }
        TObjQz* made = CopyByChoice(kind, name, c);
        G_ModuleUpdate = savedUpdate;
        return made;
    }
    int32_t Count(int16_t kind)
    {
        ObjListHdl list = GetObjListe(dest_.fTypeList, kind);
        int32_t n = 0;
        // A package's routines share its list.
        for (int32_t i = 0; list && i < list->Size(); ++i) n += list->At(i)->kind == kind && !list->At(i)->GetOwnerObj();
        return n;
    }
    // A string list of a document's companion, empty when missing.
    static Bytes Companion(TMainDoc* doc, int16_t id)
    {
        platform::UseResFile(doc->fRsrFile);
        platform::Handle h = platform::Get1Resource(FourCC("STR#"), id);
        return h && *h ? Bytes(*h, *h + platform::GetHandleSize(h)) : Bytes{};
    }
};

// A project method: no record or 9 copies it under its own name (the
// conflict dialog is where a namesake is settled), 1 under the record's
// name made free, 3 writes it over the destination's, every
// other choice leaves it.
TEST_F(ChoiceCopyTest, AMethodByItsRecordsChoice)
{
    const ChoiceCase cases[] = {
        {-1, nullptr, Made::New, "Go"}, {1, nullptr, Made::New, "Go_2"}, {1, "Start", Made::New, "Start"},
        {1, "Run", Made::New, "Run"},   {9, nullptr, Made::New, "Go"},   {3, nullptr, Made::Namesake, "Go"},
        {4, nullptr, Made::None, nullptr}, {2, nullptr, Made::None, nullptr}, {8, nullptr, Made::None, nullptr},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(std::to_string(c.choice) + (c.newName ? c.newName : ""));
        BuildPair(kShop, kDepot);
        const Bytes own = StoreRes(&dest_, FourCC("CCQz"), 5);
        TObjQz* made = CopyByChoice(2, "Go", c);
        // Written over, the destination's method keeps its id and takes
        // the source's code; else its code is its own.
        if (c.made == Made::Namesake) {
            EXPECT_EQ(made->id, 5);
            EXPECT_NE(StoreRes(&dest_, FourCC("CCQz"), 5), own);
        } else {
            EXPECT_EQ(StoreRes(&dest_, FourCC("CCQz"), 5), own);
        }
        ClosePair();
    }
}

// A menu bar copies under its own name by 14 as by 9; a menu, named by
// its title, by 15 and 9 only: a rename leaves it.
TEST_F(ChoiceCopyTest, MenuBarsAndMenusByTheirRecordsChoice)
{
    struct Case {
        int16_t kind;
        const char* name;
        ChoiceCase c;
    };
    const Case cases[] = {
        {5, "A", {14, nullptr, Made::New, nullptr}}, {5, "A", {9, nullptr, Made::New, nullptr}},
        {5, "A", {1, nullptr, Made::New, "A_2"}},    {5, "A", {3, nullptr, Made::Namesake, "A"}},
        {5, "A", {13, nullptr, Made::None, nullptr}}, {5, "A", {15, nullptr, Made::None, nullptr}},
        {5, "A", {4, nullptr, Made::None, nullptr}},  {6, "M", {15, nullptr, Made::New, nullptr}},
        {6, "M", {9, nullptr, Made::New, nullptr}},   {6, "M", {1, nullptr, Made::None, nullptr}},
        {6, "M", {14, nullptr, Made::None, nullptr}}, {6, "M", {4, nullptr, Made::None, nullptr}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.kind) + ":" + std::to_string(c.c.choice));
        BuildPair(kShop, kDepot);
        CopyByChoice(c.kind, c.name, c.c);
        ClosePair();
    }
}

// A string list lives in the companion by id: no record or 9 gives the
// destination's list of that id, 13 a copy under the first free id from
// 15000, 3 writes the source's strings over the destination's; every other
// choice, or an installed component's list in normal work, leaves it.
TEST_F(ChoiceCopyTest, AStringListByItsRecordsChoice)
{
    struct Case {
        ChoiceCase c;
        bool inComponent;
        int16_t id;          // the copy's, 0 none
        const char* first;   // the destination's list 20000 afterwards
    };
    const Case cases[] = {
        {{-1, nullptr, Made::Namesake, "Words"}, false, 20000, "beta"},
        {{9, nullptr, Made::Namesake, "Words"}, false, 20000, "beta"},
        {{13, nullptr, Made::New, "Words"}, false, 15000, "beta"},
        {{3, nullptr, Made::Namesake, "Words"}, false, 20000, "alpha"},
        {{4, nullptr, Made::None, nullptr}, false, 0, "beta"},
        {{1, nullptr, Made::None, nullptr}, false, 0, "beta"},
        {{13, nullptr, Made::None, nullptr}, true, 0, "beta"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.c.choice) + (c.inComponent ? " in a component" : ""));
        BuildPair(kShop, kDepot);
        dest_.fCompilerDirty = false;
        TObjQz* made = CopyByChoice(11, "Words", c.c, c.inComponent);
        EXPECT_EQ(made ? made->id : 0, c.id);
        EXPECT_EQ(dest_.fCompilerDirty, made != nullptr);
        const Bytes list = Companion(&dest_, 20000);
        const std::string text(c.first);
        EXPECT_NE(std::search(list.begin(), list.end(), text.begin(), text.end()), list.end()) << text;
        if (c.id == 15000) {
            EXPECT_EQ(Companion(&dest_, 15000), Companion(&doc_, 20000));
        }
        ClosePair();
    }
}

// A picture keeps its id where it is free (no record, 9), takes a new one
// by 2, and 3 writes it over the record's picture; an installed
// component's picture is not copied in normal work.
TEST_F(ChoiceCopyTest, APictureByItsRecordsChoice)
{
    struct Case {
        ChoiceCase c;
        bool inComponent;
        int16_t id;
    };
    const Case cases[] = {
        {{-1, nullptr, Made::New, nullptr}, false, 5}, {{9, nullptr, Made::New, nullptr}, false, 5},
        {{2, nullptr, Made::New, nullptr}, false, 15000}, {{3, nullptr, Made::Namesake, "Logo"}, false, 6},
        {{4, nullptr, Made::None, nullptr}, false, 0}, {{1, nullptr, Made::None, nullptr}, false, 0},
        {{9, nullptr, Made::None, nullptr}, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.c.choice) + (c.inComponent ? " in a component" : ""));
        BuildPair(kShop, kDepot);
        const Bytes own = StoreRes(&dest_, FourCC("PICT"), 6);
        TObjQz* made = CopyByChoice(18, "Logo", c.c, c.inComponent);
        EXPECT_EQ(made ? made->id : 0, c.id);
        if (made) {
            EXPECT_EQ(StoreRes(&dest_, FourCC("PICT"), c.id), StoreRes(&doc_, FourCC("PICT"), 5));
        }
        if (c.c.made != Made::Namesake) {
            EXPECT_EQ(StoreRes(&dest_, FourCC("PICT"), 6), own);
        }
        ClosePair();
    }
}

// A style sheet: no record or 9 adds it under the next id, 3 writes it
// over the record's, every other choice leaves it.
TEST_F(ChoiceCopyTest, AStyleSheetByItsRecordsChoice)
{
    const ChoiceCase cases[] = {
        {-1, nullptr, Made::New, "Body_2"}, {9, nullptr, Made::New, "Body_2"}, {3, nullptr, Made::Namesake, "Body"},
        {4, nullptr, Made::None, nullptr},  {2, nullptr, Made::None, nullptr},
    };
    for (const ChoiceCase& c : cases) {
        SCOPED_TRACE(c.choice);
        BuildPair(kShop, kDepot);
        TObjQz* made = CopyByChoice(19, "Body", c);
        EXPECT_EQ(made ? made->id : 0, c.made == Made::New ? 5 : c.made == Made::Namesake ? 4 : 0);
        ClosePair();
    }
}

// A package: no record or 9 copies its code and bundle under new ids, 5
// writes them over the record's package, every other choice leaves it;
// one that cannot be opened is never copied.
TEST_F(ChoiceCopyTest, APackageByItsRecordsChoice)
{
    struct Case {
        ChoiceCase c;
        bool unopenable;
    };
    const Case cases[] = {
        {{-1, nullptr, Made::New, nullptr}, false}, {{9, nullptr, Made::New, nullptr}, false},
        {{5, nullptr, Made::Namesake, "_Kit"}, false}, {{3, nullptr, Made::None, nullptr}, false},
        {{4, nullptr, Made::None, nullptr}, false}, {{-1, nullptr, Made::None, nullptr}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.c.choice) + (c.unopenable ? " unopenable" : ""));
        BuildPair(kShop, kDepot);
        auto* kit = dynamic_cast<TExtObjQz*>(Src(7, "_Kit"));
        ASSERT_NE(kit, nullptr);
        kit->unopenable = c.unopenable ? 1 : 0;
        dest_.fCompilerDirty = false;
        TObjQz* made = CopyByChoice(7, "_Kit", c.c);
        EXPECT_EQ(dest_.fCompilerDirty, made != nullptr);
        if (c.c.made == Made::New) {
            EXPECT_NE(made->id, 15030);
            platform::UseResFile(dest_.fRsrFile);
            EXPECT_NE(platform::Get1Resource(FourCC("QzPX"), made->id), nullptr);
        }
        kit->unopenable = 0;
        ClosePair();
    }
}

}  // namespace
}  // namespace transfertest

// Forms copied on their own into a table of another document by the choice
// of their record: the copy's name among the table's forms, the form
// written over, what the form and its methods meet there, and the copy's
// method made when linked.
#include "platform/resfiles/Resources.h"
#include "tests/transfer/CopyFixture.h"
#include "transfer/conflicts/ConflictList.h"
#include "transfer/conflicts/ConflictRecording.h"
#include "transfer/conflicts/Conflicts.h"

namespace transfertest {
namespace {

const char* kShop = R"(structure Shop
method Helper id 40
  comment "helps"
method Extra id 41
  comment "extra"
table Orders
  field Number longint
  form Entry iff
    field Number
    method
      call Helper
    variable bGo kind 1 method 45
      call Extra
)";

const char* kDepot = R"(structure Depot
table Stock
  field Code longint
  form Entry iff
    field Code
  form Card iff
    field Code
)";

class FormTransferTest : public CopyFixture {
protected:
    std::set<std::string> FormsOf(TMainDoc* doc, const std::string& table)
    {
        std::set<std::string> names;
        auto* t = dynamic_cast<TFileObjQz*>(In(doc, 1, table));
        for (int32_t i = 0; t && t->forms && i < t->forms->Size(); ++i) names.insert(readtest::P(t->forms->At(i)->name));
        return names;
    }
};

// Its table's record names Stock. No record or 9 copies the form under a
// name no form of Stock bears, 1 under the record's name made free there, 3
// writes it over the record's form; every other choice leaves it. A copy
// marks the destination for compiling; the source keeps its form.
TEST_F(FormTransferTest, AFormByItsRecordsChoice)
{
    struct Case {
        int16_t choice;  // -1: no record
        const char* newName;
        const char* made;  // the form made or written over, null: none
        std::set<std::string> forms;
    };
    const Case cases[] = {
        {-1, nullptr, "Entry_2", {"Entry", "Card", "Entry_2"}},
        {9, nullptr, "Entry_2", {"Entry", "Card", "Entry_2"}},
        {1, "Card", "Card_2", {"Entry", "Card", "Card_2"}},
        {1, "List", "List", {"Entry", "Card", "List"}},
        {3, nullptr, "Entry", {"Entry", "Card"}},
        {4, nullptr, nullptr, {"Entry", "Card"}},
        {8, nullptr, nullptr, {"Entry", "Card"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.choice) + (c.newName ? c.newName : ""));
        BuildPair(kShop, kDepot);
        TLayoutObjQz* entry = FormOf(&doc_, "Orders", "Entry");
        TLayoutObjQz* theirs = FormOf(&dest_, "Stock", "Entry");
        ASSERT_TRUE(entry && theirs);
        const int16_t theirId = theirs->formResId;
        const Bytes theirImage = StoreRes(&dest_, FourCC("FOQz"), theirId);
        const Bytes image = StoreRes(&doc_, FourCC("FOQz"), entry->formResId);
        Conflicts conflicts;
        TConflict* table = nullptr;
        TConflict* record = nullptr;
        ASSERT_EQ(transfer::RecordConflict(entry->ownerObj, Dst(1, "Stock"), 0, 4, conflicts.list, &table), 0);
        if (c.choice >= 0) {
            ASSERT_EQ(transfer::RecordConflict(entry, theirs, 3, c.choice, conflicts.list, &record), 0);
            if (c.newName) apptest::ToP(c.newName, static_cast<TRConflict*>(record)->fNewName);
        }
        dest_.fCompilerDirty = false;
        TObjQz* made = Moved(entry, conflicts.list);
        EXPECT_EQ(FormsOf(&dest_, "Stock"), c.forms);
        EXPECT_EQ(dest_.fCompilerDirty, c.made != nullptr);
        if (!c.made) {
            EXPECT_EQ(made, nullptr);
            EXPECT_EQ(record->fDest, theirs);
        } else {
            ASSERT_NE(made, nullptr);
            EXPECT_EQ(readtest::P(made->name), c.made);
            EXPECT_EQ(made->GetOwnerObj(), Dst(1, "Stock"));
            TConflict* pair = record ? record : transfer::C_Search(conflicts.list, entry);
            ASSERT_NE(pair, nullptr);
            EXPECT_EQ(pair->fDest, made);
            EXPECT_EQ(made == theirs, c.choice == 3);
            if (c.choice == 3) {
                EXPECT_EQ(static_cast<TLayoutObjQz*>(made)->formResId, theirId);
            }
        }
        EXPECT_EQ(StoreRes(&dest_, FourCC("FOQz"), theirId) == theirImage, c.choice != 3);
        EXPECT_EQ(FormsOf(&doc_, "Orders"), (std::set<std::string>{"Entry"}));
        EXPECT_EQ(StoreRes(&doc_, FourCC("FOQz"), entry->formResId), image);
        ClosePair();
    }
}

// A form whose image is missing is not copied, and nothing is written.
TEST_F(FormTransferTest, AFormWithoutItsImageIsNotCopied)
{
    BuildPair(kShop, kDepot);
    TLayoutObjQz* entry = FormOf(&doc_, "Orders", "Entry");
    ASSERT_NE(entry, nullptr);
    useres(doc_.fResFile);
    platform::Handle image = xget1res(FourCC("FOQz"), entry->formResId);
    ASSERT_NE(image, nullptr);
    platform::SetHandleSize(image, 0);
    Conflicts conflicts;
    TConflict* table = nullptr;
    ASSERT_EQ(transfer::RecordConflict(entry->ownerObj, Dst(1, "Stock"), 0, 4, conflicts.list, &table), 0);
    TObjQz* made = nullptr;
    EXPECT_EQ(entry->Move(&dest_, conflicts.list, &made), platform::memFullErr);
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(FormsOf(&dest_, "Stock"), (std::set<std::string>{"Entry", "Card"}));
}

// What the form's method and its object methods call comes along: each
// method the destination lacks is recorded (110), once.
TEST_F(FormTransferTest, TheMethodsOfAFormBringWhatTheyCall)
{
    BuildPair(kShop, kDepot);
    TLayoutObjQz* entry = FormOf(&doc_, "Orders", "Entry");
    ASSERT_NE(entry, nullptr);
    ASSERT_EQ(entry->Parse(), 0);
    ASSERT_NE(entry->formMethod, nullptr);
    ASSERT_NE(entry->objMethods, nullptr);
    Conflicts conflicts;
    NoObjects none;
    ASSERT_EQ(entry->DoInDir_Conflicts(&dest_, conflicts.list, none.list), 0);
    for (const char* name : {"Helper", "Extra"}) {
        TConflict* record = transfer::C_Search(conflicts.list, Src(2, name));
        ASSERT_NE(record, nullptr) << name;
        EXPECT_EQ(record->fCode, 110) << name;
        EXPECT_EQ(record->fDest, nullptr) << name;
    }
}

// Linked, the copy gets its form method, owned by it and bearing its name,
// which calls the destination's counterpart of what the source's called.
TEST_F(FormTransferTest, TheCopysMethodIsMadeWhenLinked)
{
    BuildPair(kShop, kDepot);
    TLayoutObjQz* entry = FormOf(&doc_, "Orders", "Entry");
    ASSERT_NE(entry, nullptr);
    Conflicts conflicts;
    TConflict* table = nullptr;
    ASSERT_EQ(transfer::RecordConflict(entry->ownerObj, Dst(1, "Stock"), 0, 4, conflicts.list, &table), 0);
    TObjQz* helper = nullptr;
    ASSERT_EQ(Src(2, "Helper")->Move(&dest_, conflicts.list, &helper), 0);
    TObjQz* made = nullptr;
    ASSERT_EQ(entry->Move(&dest_, conflicts.list, &made), 0);
    auto* copy = dynamic_cast<TLayoutObjQz*>(made);
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(copy->formMethodId, 0);
    ASSERT_EQ(copy->formMethod, nullptr);
    ASSERT_EQ(copy->Parse_Link(entry, conflicts.list), 0);
    ASSERT_NE(copy->formMethod, nullptr);
    EXPECT_EQ(copy->formMethod->kind, 27);
    EXPECT_EQ(copy->formMethod->id, copy->formMethodId);
    EXPECT_EQ(readtest::P(copy->formMethod->name), "Entry_2");
    EXPECT_EQ(copy->formMethod->GetOwnerObj(), copy);
    EXPECT_EQ(copy->formMethod->owner, &dest_);
    EXPECT_EQ(Uses(copy->formMethod), (std::set<std::string>{"2:Helper"}));
    EXPECT_TRUE(Uses(copy).count("27:Entry_2"));
    EXPECT_EQ(entry->formMethod ? entry->formMethod->owner : &doc_, &doc_);
}

}  // namespace
}  // namespace transfertest

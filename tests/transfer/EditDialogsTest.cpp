// The dialogs a record's Edit opens, run headless on the demo's conflicts
// with DemoTarget: the rename dialog's refusals and cut, the link dialogs'
// lists, preselection and fall-backs, and the copies Edit makes.
#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/DrawingUtilities.h"
#include "platform/dialogs/Dialogs.h"
#include "tests/platform/events/HeadlessFixture.h"
#include "tests/transfer/DemoConflictsFixture.h"
#include "transfer/dialogs/EditDialogs.h"

using namespace platform;
using platform::testing::HeadlessRun;

namespace transfertest {
namespace {

class EditTest : public DemoConflicts {
protected:
    template <class Call>
    auto Run(Script script, Call call)
    {
        HeadlessRun run(std::move(script));
        return call();
    }
    static Script Typed(const std::string& text, bool enter = true)
    {
        Script s;
        s.Type(text);
        if (enter) s.Key("return");
        return s;
    }
    std::vector<std::string> Listed(void (*build)(DialogRef, TObjQz*, TObjQz**, LongListHandle*), TObjQz* table)
    {
        DialogRef d = MyGetNewDialog(transfer::kLinkDialog, nullptr, reinterpret_cast<WindowRef>(-1));
        TObjQz* chosen = nullptr;
        LongListHandle rows = nullptr;
        build(d, table, &chosen, &rows);
        std::vector<std::string> names;
        for (int32_t r = 0; rows && r < rows->rowCount; ++r)
            names.push_back(readtest::P(static_cast<TObjQz*>(LongLRowObject(r, rows))->name));
        LongLDispose(rows);
        MyDisposDialog(d);
        return names;
    }
};

TEST_F(EditTest, RenameRefusesEmptyAndTakenNamesAndCutsAt33)
{
    auto* record = static_cast<TRConflict*>(Record(list_, Find(2, "Log_Event"), 6, 1, In(&target_, 2, "Log_Event")));
    // A method of the target's name: the alert, and the dialog stays.
    EXPECT_FALSE(Run(Typed("Open_Shop").Choose(1).Wait(3).Choose(2),
                     [&] { return record->GetNewNameDialog(list_, &doc_, &target_); }));
    EXPECT_EQ(LastAlert().alertId, 1000);
    EXPECT_EQ(AlertCount(), 1);
    // The name proposed is one the target does not hold, and OK takes it.
    EXPECT_EQ(readtest::P(record->fNewName), "Log_Event_2");
    EXPECT_TRUE(Run(Typed(""), [&] { return record->GetNewNameDialog(list_, &doc_, &target_); }));
    EXPECT_EQ(readtest::P(record->fNewName), "Log_Event_2");
    EXPECT_EQ(AlertCount(), 1);
    // Nothing at all: a beep, the dialog stays; a table's name: accepted.
    const uint32_t beeps = SysBeepCount();
    Script script;
    for (int i = 0; i < 11; ++i) script.Key("delete");
    script.Key("return");
    script.Type("Lines").Key("return");
    EXPECT_TRUE(Run(std::move(script), [&] { return record->GetNewNameDialog(list_, &doc_, &target_); }));
    EXPECT_EQ(readtest::P(record->fNewName), "Lines");
    EXPECT_EQ(SysBeepCount(), beeps + 1);
    EXPECT_EQ(AlertCount(), 1);

    const std::string longName(40, 'a');
    EXPECT_TRUE(Run(Typed(longName), [&] { return record->GetNewNameDialog(list_, &doc_, &target_); }));
    EXPECT_EQ(readtest::P(record->fNewName), std::string(33, 'a'));
    EXPECT_FALSE(Run(Typed("Other", false).Choose(2), [&] { return record->GetNewNameDialog(list_, &doc_, &target_); }));
    EXPECT_EQ(readtest::P(record->fNewName), std::string(33, 'a'));
}

TEST_F(EditTest, ANameIsTakenByAnObjectOfTheSameKindAFormsWithinItsTable)
{
    TConflict* table = Record(list_, Find(1, "Lines"), 1, 4, In(&target_, 1, "Lines"));
    TConflict* form = nullptr;
    ASSERT_EQ(transfer::ChainConflict(table, Members(&doc_, Find(1, "Lines")).back(), 3, &form), 0);
    TConflict* method = Record(list_, Find(2, "Log_Event"), 6, 1);
    const struct {
        TConflict* record;
        const char* name;
        bool taken;
    } cases[] = {{method, "Open_Shop", true}, {method, "open_shop", true}, {method, "Lines", false},
                 {form, "Line_Entry", true},  {form, "Entry", false},        {form, "Open_Shop", false}};
    for (const auto& c : cases) {
        unsigned char name[256];
        apptest::ToP(c.name, name);
        EXPECT_EQ(transfer::NameTaken(c.record, &target_, name), c.taken) << c.name;
    }
    table->fDest = nullptr;  // no destination table: no form can clash
    unsigned char entry[256];
    apptest::ToP("Line_Entry", entry);
    EXPECT_FALSE(transfer::NameTaken(form, &target_, entry));
}

TEST_F(EditTest, LinkListsHoldTheirObjectsAndOKLinksToThePreselectedOne)
{
    TObjQz* customers = Find(1, "Customers");
    // The demo's own table as the destination: Contacts and its fields
    // are a subtable's, not the table's.
    EXPECT_EQ(Listed(transfer::SetCritList, customers),
              (std::vector<std::string>{"Name", "Town", "Since", "Credit_Limit"}));
    EXPECT_EQ(Listed(transfer::SetFormList, customers), (std::vector<std::string>{"Card", "Entry", "Listing"}));
    EXPECT_EQ(Listed([](DialogRef d, TObjQz* t, TObjQz** c, LongListHandle* l) { transfer::SetFileList(d, t->owner, c, l); },
                     customers)
                  .size(),
              4u);  // Customers, Contacts, Invoices, Lines

    TObjQz* targetCustomers = In(&target_, 1, "Customers");
    TObjQz* firstTable = GetObjListe(target_.fTypeList, 1)->At(0);
    auto* table = static_cast<TFileConflict*>(Record(list_, customers, 2, 8));
    EXPECT_TRUE(Run(Script().Wait(3).Choose(1), [&] { return table->FileLinkDialog(list_, &doc_, &target_); }));
    EXPECT_EQ(table->fDest, firstTable);
    table->fDest = targetCustomers;
    EXPECT_TRUE(Run(Script().Wait(3).Choose(1), [&] { return table->FileLinkDialog(list_, &doc_, &target_); }));
    EXPECT_EQ(table->fDest, targetCustomers);

    // Cancelled: the destination stays; without one Edit falls back to the
    // code's default choice.
    EXPECT_FALSE(Run(Script().Wait(3).Choose(2), [&] { return table->FileLinkDialog(list_, &doc_, &target_); }));
    EXPECT_EQ(table->fDest, targetCustomers);
    table->fDest = nullptr;
    EXPECT_TRUE(Run(Script().Wait(3).Choose(2), [&] { return table->Edit(&transfer_, list_, &doc_, &target_); }));
    EXPECT_EQ(table->fDest, nullptr);
    EXPECT_EQ(table->fChoice, transfer::Cc_Dflt(2));

    // Fields and forms link within their table record's destination; none:
    // a beep and nothing changes.
    TConflict* field = nullptr;
    ASSERT_EQ(transfer::ChainConflict(table, Members(&doc_, customers)[0], 104, &field), 0);
    TConflict* form = nullptr;
    ASSERT_EQ(transfer::ChainConflict(table, Members(&doc_, customers).back(), 4, &form), 0);
    const uint32_t beeps = SysBeepCount();
    EXPECT_FALSE(static_cast<TCritConflict*>(field)->CritLinkDialog(list_, &doc_, &target_));
    EXPECT_FALSE(static_cast<TLayOutConflict*>(form)->LayOutLinkDialog(list_, &doc_, &target_));
    EXPECT_EQ(SysBeepCount(), beeps + 2);
    EXPECT_EQ(field->fDest, nullptr);
    table->fDest = targetCustomers;
    EXPECT_TRUE(Run(Script().Wait(3).Choose(1),
                    [&] { return static_cast<TCritConflict*>(field)->CritLinkDialog(list_, &doc_, &target_); }));
    EXPECT_EQ(readtest::P(field->fDest->name), "Name");
}

TEST_F(EditTest, AClickBelowTheRowsChoosesNothing)
{
    TObjQz* customers = Find(1, "Customers");
    auto* table = static_cast<TFileConflict*>(Record(list_, customers, 2, 8));
    // Where the dialog will show: centred as it is when it opens.
    Handle dlog = nullptr, bits = nullptr;
    Rect saved{};
    DLogSaveScreen(FourCC("DLOG"), transfer::kLinkDialog, &dlog, &bits, &saved);
    DialogRef probe = MyGetNewDialog(transfer::kLinkDialog, nullptr, reinterpret_cast<WindowRef>(-1));
    DialogItemType type = 0;
    Handle h = nullptr;
    Rect list{}, content{};
    GetDialogItem(probe, transfer::kLinkListItem, &type, &h, &list);
    GetWindowBounds(GetDialogWindow(probe), kWindowContentRgn, &content);
    MyDisposDialog(probe);
    DLogRestoreScreen(dlog, bits, &saved, false);
    const int16_t h2 = int16_t(content.left + list.left + 40);
    const int16_t row1 = int16_t(content.top + list.top + 1 + 16 + 8), below = int16_t(content.top + list.bottom - 4);
    EXPECT_TRUE(Run(Script().Click(h2, row1).Wait(3).Choose(1),
                    [&] { return table->FileLinkDialog(list_, &doc_, &target_); }));
    EXPECT_EQ(table->fDest, In(&target_, 1, "Customers"));  // the second table listed
    EXPECT_TRUE(Run(Script().Click(h2, below).Wait(3).Choose(1),
                    [&] { return table->FileLinkDialog(list_, &doc_, &target_); }));
    EXPECT_EQ(table->fDest, nullptr);
}

// An object that uses another and records it, with choice 9, as the
// objects' indirect conflicts do.
class UsingObj : public TObjQz {
public:
    bool Movable() override { return true; }
    int16_t Indir_Conflicts(TMainDoc*, C_ListRec* list, ObjListHdl moved) override
    {
        if (transfer::C_SearchInChain(list, this) || IsInList(moved, this)) return 0;
        TConflict* r = nullptr;
        return transfer::RecordConflict(this, nullptr, 110, 9, list, &r);
    }
};

TEST_F(EditTest, CopyPullsInWhatTheObjectUsesAndAFieldJoinsAlone)
{
    UsingObj method, used;
    method.kind = used.kind = 2;
    apptest::ToP("Caller", method.name);
    apptest::ToP("Called", used.name);
    ASSERT_EQ(AddObjList(&method.uses, &used), 0);
    TConflict* record = Record(list_, &method, 6, 9);
    EXPECT_TRUE(record->Edit(&transfer_, list_, &doc_, &target_));
    ASSERT_EQ(transfer_->Size(), 2);
    EXPECT_TRUE(IsInList(transfer_, &method));
    EXPECT_TRUE(IsInList(transfer_, &used));
    FreeObjList(method.uses);
    method.uses = nullptr;

    // A field that copies with its table joins alone: what it uses does not.
    RazObjList(transfer_);
    UsingObj field;
    field.kind = 28;
    apptest::ToP("Total", field.name);
    ASSERT_EQ(AddObjList(&field.uses, &used), 0);
    TConflict* record12 = Record(list_, &field, 104, 12);
    EXPECT_TRUE(record12->Edit(&transfer_, list_, &doc_, &target_));
    ASSERT_EQ(transfer_->Size(), 1);
    EXPECT_EQ(transfer_->At(0), &field);
    FreeObjList(field.uses);
    field.uses = nullptr;
}

}  // namespace
}  // namespace transfertest

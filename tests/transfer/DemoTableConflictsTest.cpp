// The demo's tables meeting DemoTarget's, as the tables record it: the
// codes, the chained members and how they follow the table's choice; and
// a copied method whose plug-in call names a style sheet bringing it.
#include <map>
#include <set>
#include <vector>

#include "tests/transfer/CopyFixture.h"
#include "tests/transfer/DemoConflictsFixture.h"
#include "transfer/dialogs/RecordEdits.h"
#include "transfer/driver/MoveDropped.h"

namespace transfertest {
namespace {

using Chain = std::map<std::string, std::pair<int16_t, std::string>>;  // member: code, destination

class DemoTableConflicts : public DemoConflicts {
protected:
    // The records chained under `record`: name, code, destination's name.
    static Chain ChainOf(TConflict* record)
    {
        Chain out;
        auto* holder = static_cast<TRConflict*>(record);
        for (int32_t i = 0; holder->fSubList && i < holder->fSubList->Size(); ++i) {
            TConflict* r = holder->fSubList->At(i);
            out[readtest::P(r->fSource->name)] = {r->fCode, r->fDest ? readtest::P(r->fDest->name) : ""};
        }
        return out;
    }
};

TEST_F(DemoTableConflicts, EqualAndNamesakeTablesWithTheirMembers)
{
    TObjQz* lines = In(&doc_, 1, "Lines");
    TObjQz* customers = In(&doc_, 1, "Customers");
    ASSERT_EQ(lines->Dir_Conflicts(&target_, list_, transfer_), 0);
    ASSERT_EQ(customers->Dir_Conflicts(&target_, list_, transfer_), 0);
    TConflict* equal = transfer::C_Search(list_, lines);
    TConflict* named = transfer::C_Search(list_, customers);
    ASSERT_NE(equal, nullptr);
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(equal->fCode, 1);
    EXPECT_EQ(equal->fDest, In(&target_, 1, "Lines"));
    EXPECT_EQ(named->fCode, 2);
    EXPECT_EQ(named->fChoice, transfer::Cc_Dflt(2));
    // Copied under a new name, its members have nothing to settle.
    for (const auto& [name, member] : ChainOf(named)) EXPECT_EQ(member.first, name == "Contacts" ? 121 : 0) << name;
    // Used as the destination's, they look for their counterparts there:
    // the same name and type (104), or none (105); the subtable finds no
    // equal one (102).
    named->fChoice = 4;
    transfer::UpdateSubList(static_cast<TRConflict*>(named), &transfer_, list_, &target_);
    EXPECT_EQ(ChainOf(named), (Chain{{"Name", {104, "Name"}},
                                     {"Town", {105, ""}},
                                     {"Since", {105, ""}},
                                     {"Credit_Limit", {105, ""}},
                                     {"Contacts", {102, ""}}}));
}

// Invoices uses Customers (a table of another definition there: 102);
// linked to DemoTarget's Customers, its field Name finds its counterpart.
TEST_F(DemoTableConflicts, LinkingAUsedTableSettlesItsFieldsAgain)
{
    TObjQz* invoices = In(&doc_, 1, "Invoices");
    ASSERT_EQ(invoices->Dir_Conflicts(&target_, list_, transfer_), 0);
    ASSERT_EQ(invoices->DoInDir_Conflicts(&target_, list_, transfer_), 0);
    TConflict* used = transfer::C_Search(list_, In(&doc_, 1, "Customers"));
    ASSERT_NE(used, nullptr);
    EXPECT_EQ(used->fCode, 102);
    EXPECT_EQ(used->fChoice, 9);
    EXPECT_EQ(ChainOf(used), (Chain{{"Name", {0, ""}}}));
    used->fChoice = 8;
    used->fDest = In(&target_, 1, "Customers");
    transfer::UpdateSubList(static_cast<TRConflict*>(used), &transfer_, list_, &target_);
    EXPECT_EQ(ChainOf(used), (Chain{{"Name", {104, "Name"}}}));
}

class PlugInParameterCopy : public DemoConflicts {};

// Recalculate calls Format_Amount, whose second parameter names a style
// sheet (the package's parameter list): copied with what it uses, the
// method brings the style sheet Standard, and its copy depends on it.
TEST_F(PlugInParameterCopy, ACallsStyleSheetArgumentComesAlong)
{
    transfer::DisposeC_List(list_);
    list_ = nullptr;
    platform::DisposeHandle(transfer::G_Filters);
    transfer::G_Filters = nullptr;
    ASSERT_EQ(In(&target_, 19, "Standard"), nullptr);
    TObjQz* recalculate = In(&doc_, 2, "Recalculate");
    ASSERT_TRUE(IsInList(recalculate->uses, In(&doc_, 19, "Standard")));
    platform::PushDialogAnswer(1);
    ASSERT_EQ(transfer::MoveDropped(&doc_, &target_, &recalculate, 1, 1), 0);
    platform::ClearDialogAnswers();
    TObjQz* sheet = In(&target_, 19, "Standard");
    TObjQz* copy = In(&target_, 2, "Recalculate");
    ASSERT_NE(sheet, nullptr);
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(IsInList(copy->uses, sheet));
    // The package came too, under the first free id; the calls name its
    // routines.
    TObjQz* package = In(&target_, 7, "_Invoicing_Tools");
    ASSERT_NE(package, nullptr);
    EXPECT_EQ(package->id, 15000);
    ASSERT_NE(package->members, nullptr);
    for (int32_t i = 0; i < package->members->Size(); ++i) EXPECT_TRUE(IsInList(copy->uses, package->members->At(i)));
}

}  // namespace
}  // namespace transfertest

namespace transfertest {
namespace {

class DemoDrop : public DemoConflicts {
protected:
    void SetUp() override
    {
        DemoConflicts::SetUp();
        // The drop makes its own conflict list and defaults.
        transfer::DisposeC_List(list_);
        list_ = nullptr;
        platform::DisposeHandle(transfer::G_Filters);
        transfer::G_Filters = nullptr;
    }
    int16_t Drop(std::vector<TObjQz*> rows, int16_t mode)
    {
        platform::PushDialogAnswer(1);
        const int16_t err = transfer::MoveDropped(&doc_, &target_, rows.data(), int32_t(rows.size()), mode);
        platform::ClearDialogAnswers();
        return err;
    }
    static std::set<std::string> Members(TObjQz* obj)
    {
        std::set<std::string> out;
        for (int32_t i = 0; obj && obj->members && i < obj->members->Size(); ++i)
            out.insert(readtest::P(obj->members->At(i)->name));
        return out;
    }
};

// Invoices dropped with Option on DemoTarget with the default choices
// arrives with its fields and the table its Customer field is related to;
// then the group Accounting and the package _Invoicing_Tools follow in a
// second drop.
TEST_F(DemoDrop, InvoicesThenTheGroupAndThePackage)
{
    ASSERT_EQ(In(&target_, 1, "Invoices"), nullptr);
    ASSERT_EQ(Drop({In(&doc_, 1, "Invoices")}, 1), 0);
    TObjQz* invoices = In(&target_, 1, "Invoices");
    ASSERT_NE(invoices, nullptr);
    EXPECT_EQ(Members(invoices), (std::set<std::string>{"Number", "Customer", "Issued", "Total", "Terms"}));
    TObjQz* customer = nullptr;
    for (int32_t i = 0; i < invoices->members->Size(); ++i)
        if (readtest::P(invoices->members->At(i)->name) == "Customer") customer = invoices->members->At(i);
    ASSERT_NE(customer, nullptr);
    ASSERT_NE(customer->uses, nullptr);
    ASSERT_EQ(customer->uses->Size(), 1);
    TObjQz* related = customer->uses->At(0);
    EXPECT_EQ(readtest::P(related->name), "Name");
    // By default the used Customers (another definition there) comes
    // under a free name, and the relation names that copy.
    EXPECT_EQ(related->GetOwnerObj(), In(&target_, 1, "Customers_2"));
    EXPECT_NE(In(&target_, 1, "Customers"), nullptr);

    ASSERT_EQ(In(&target_, 23, "Accounting"), nullptr);
    ASSERT_EQ(Drop({In(&doc_, 23, "Accounting"), In(&doc_, 7, "_Invoicing_Tools")}, 0), 0);
    TObjQz* group = In(&target_, 23, "Accounting");
    ASSERT_NE(group, nullptr);
    // Its members are the copies (Lines: DemoTarget's own, equal), with
    // Add_Tax's locals beside it as a read puts them; the form Line_Entry
    // comes into that Lines beside the one of its name.
    EXPECT_EQ(Members(group),
              (std::set<std::string>{"$0", "$1", "$Rate", "Add_Tax", "Line_Entry_2", "Lines", "Recalculate"}));
    EXPECT_EQ(In(&target_, 2, "Add_Tax")->parent, group);
    TObjQz* package = In(&target_, 7, "_Invoicing_Tools");
    ASSERT_NE(package, nullptr);
    EXPECT_EQ(package->id, 15000);
}

}  // namespace
}  // namespace transfertest

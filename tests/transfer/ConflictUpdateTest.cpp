// How a table's chained members settle against a destination document made
// by the document builder, and when records are shown.
#include "tests/design/ReadFixture.h"
#include "tests/transfer/TransferFixture.h"

namespace transfertest {
namespace {

// A table "Source" and three possible destinations: Twin (equal
// subtable, same field, same form), Other (other subtable, the field of
// another type, another form) and Bare (its field only in a subtable, no
// form).
const char* kDestination = R"(structure Dest
table Source
  field Name alpha 40
  field Note text
  subtable Lines
    field Item alpha 20
    field Qty integer
  form Entry
table Twin
  field Name alpha 40
  subtable Lines
    field Item alpha 20
    field Qty integer
  form Entry
table Other
  field Name text
  subtable Lines
    field Item alpha 20
  form Listing
table Bare
  field Name alpha 40
  subtable Inner
    field Note text
)";

class UpdateTest : public readtest::ReadFixture {
protected:
    void SetUp() override
    {
        ReadFixture::SetUp();
        G_C_Hide = false;
        // Every code's default tells which code it came from.
        transfer::G_Filters = transfer::NewFilters();
        for (int16_t code = 1; code <= transfer::kConflictCodes; ++code)
            reinterpret_cast<int16_t*>(*transfer::G_Filters)[code - 1] = int16_t(1000 + code);
        Open(Build(kDestination));
        ASSERT_EQ(Read(), 0);
        list_ = nullptr;
        ASSERT_EQ(transfer::NewC_List(&list_, transfer::kC_ListRoom), 0);
    }
    void TearDown() override
    {
        transfer::DisposeC_List(list_);
        platform::DisposeHandle(transfer::G_Filters);
        transfer::G_Filters = nullptr;
        ReadFixture::TearDown();
    }

    TObjQz* Table(const std::string& name) { return Find(1, name); }
    // A member of a table by kind and name (its fields, subtables and forms).
    TObjQz* Member(const std::string& table, int16_t kind, const std::string& name)
    {
        TObjQz* t = Table(table);
        if (kind == 24) {
            ObjListHdl forms = static_cast<TFileObjQz*>(t)->forms;
            for (int32_t i = 0; forms && i < forms->Size(); ++i)
                if (readtest::P(forms->At(i)->name) == name) return forms->At(i);
            return nullptr;
        }
        for (int32_t i = 0; i < List(1)->Size(); ++i) {
            TObjQz* o = List(1)->At(i);
            if (o->kind == kind && readtest::P(o->name) == name && o->GetOwnerObj() == t) return o;
        }
        return nullptr;
    }

public:
    struct Outcome {
        int16_t code, choice;
        TObjQz* dest;
    };

protected:
    // Chains `member` with `code` under a record (parent code, choice,
    // destination table) and settles it.
    Outcome Settle(TObjQz* member, int16_t code, int16_t parentCode, int16_t parentChoice, const char* destTable,
                   bool quiet = false)
    {
        TConflict* parent = nullptr;
        EXPECT_EQ(transfer::RecordConflict(Table("Source"), destTable ? Table(destTable) : nullptr, parentCode,
                                           parentChoice, list_, &parent),
                  0);
        TConflict* r = nullptr;
        EXPECT_EQ(transfer::ChainConflict(parent, member, code, &r), 0);
        if (!r) return {-1, -1, nullptr};
        r->C_Update(parent, quiet);
        return {r->fCode, r->fChoice, r->fDest};
    }

    C_ListHdl list_ = nullptr;
};

void Expect(const char* what, const UpdateTest::Outcome& got, int16_t code, int16_t choice, TObjQz* dest)
{
    EXPECT_EQ(got.code, code) << what;
    EXPECT_EQ(got.choice, choice) << what;
    EXPECT_EQ(got.dest, dest) << what;
}

TEST_F(UpdateTest, ASubtableFindsTheEqualSubtableOfTheTableItsParentNames)
{
    TObjQz* lines = Member("Source", 29, "Lines");
    TObjQz* twinLines = Member("Twin", 29, "Lines");
    ASSERT_NE(lines, nullptr);
    ASSERT_NE(twinLines, nullptr);
    Expect("(1, 4) Twin", Settle(lines, 101, 1, 4, "Twin"), 101, 1101, twinLines);
    Expect("(2, 4) Twin", Settle(lines, 101, 2, 4, "Twin"), 101, 1101, twinLines);
    Expect("(101, 8) Twin", Settle(lines, 101, 101, 8, "Twin"), 101, 1101, twinLines);
    Expect("(103, 8) Twin", Settle(lines, 101, 103, 8, "Twin"), 101, 1101, twinLines);
    Expect("(1, 4) Other", Settle(lines, 101, 1, 4, "Other"), 102, 1102, nullptr);
    Expect("(101, 6) Bare", Settle(lines, 101, 101, 6, "Bare"), 102, 1102, nullptr);
    // Choices that name no table: 7 leaves the members out, quiet asks
    // nothing, else the default of 101.
    Expect("(1, 7)", Settle(lines, 101, 1, 7, "Twin"), 125, 1125, nullptr);
    Expect("(1, 9) quiet", Settle(lines, 101, 1, 9, "Twin", true), 121, 0, nullptr);
    Expect("(102, 4)", Settle(lines, 101, 102, 4, "Twin"), 101, 1101, nullptr);
    Expect("(1, 4) without a destination", Settle(lines, 101, 1, 4, nullptr), 101, 1101, nullptr);
}

TEST_F(UpdateTest, AFieldFindsTheFieldOfItsNameAndTypeInTheTableItself)
{
    TObjQz* name = Member("Source", 28, "Name");
    TObjQz* note = Member("Source", 28, "Note");
    ASSERT_NE(name, nullptr);
    Expect("Name in Twin", Settle(name, 104, 2, 4, "Twin"), 104, 1104, Member("Twin", 28, "Name"));
    Expect("Name in Other (text)", Settle(name, 104, 2, 4, "Other"), 105, 1105, nullptr);
    Expect("Note in Bare's subtable", Settle(note, 104, 101, 6, "Bare"), 105, 1105, nullptr);
    Expect("(102, 8)", Settle(name, 104, 102, 8, "Twin"), 104, 1104, Member("Twin", 28, "Name"));
    // An equal table's fields are not searched.
    Expect("(1, 4)", Settle(name, 104, 1, 4, "Twin"), 104, 1104, nullptr);
    Expect("(1, 4) quiet", Settle(name, 104, 1, 4, "Twin", true), 0, 0, nullptr);
    Expect("(2, 7)", Settle(name, 104, 2, 7, "Twin"), 125, 1125, nullptr);
}

TEST_F(UpdateTest, AFormFindsItsNamesakeDirectAndUsedFormsApart)
{
    TObjQz* entry = Member("Source", 24, "Entry");
    TObjQz* twinEntry = Member("Twin", 24, "Entry");
    ASSERT_NE(entry, nullptr);
    ASSERT_NE(twinEntry, nullptr);
    // Direct, chained with code 3.
    Expect("direct (1, 4) Twin", Settle(entry, 3, 1, 4, "Twin"), 3, 1003, twinEntry);
    Expect("direct (2, 3) Twin", Settle(entry, 3, 2, 3, "Twin"), 3, 1003, twinEntry);
    Expect("direct (1, 4) Other", Settle(entry, 3, 1, 4, "Other"), 4, 1004, nullptr);
    Expect("direct (1, 7)", Settle(entry, 3, 1, 7, "Twin"), 17, 1017, nullptr);
    Expect("direct (1, 9)", Settle(entry, 3, 1, 9, "Twin"), 4, 1004, nullptr);
    // Used, chained with code 107.
    Expect("used (101, 6) Twin", Settle(entry, 107, 101, 6, "Twin"), 107, 1107, twinEntry);
    Expect("used (101, 6) Other", Settle(entry, 107, 101, 6, "Other"), 108, 1108, nullptr);
    Expect("used (101, 6) Bare", Settle(entry, 107, 101, 6, "Bare"), 109, 1108, nullptr);
    Expect("used (101, 7)", Settle(entry, 107, 101, 7, "Twin"), 124, 17, nullptr);
    Expect("used (101, 9)", Settle(entry, 107, 101, 9, "Twin"), 109, 1109, nullptr);
}

TEST_F(UpdateTest, AChainedRecordWithoutItsOwnRuleFollowsItsParentsChoice)
{
    TObjQz member;
    const std::pair<int16_t, int16_t> rows[] = {{1, 6}, {4, 6}, {6, 6}, {7, 7}, {8, 8}, {0, 5}, {2, 5},
                                                {3, 5}, {5, 5}, {9, 5}};
    for (auto [parentChoice, expected] : rows) {
        TConflict* parent = nullptr;
        ASSERT_EQ(transfer::RecordConflict(nullptr, nullptr, 6, parentChoice, list_, &parent), 0);
        TConflict* r = nullptr;
        ASSERT_EQ(transfer::ChainConflict(parent, &member, 110, &r), 0);
        r->fChoice = 5;
        r->C_Update(parent, true);
        EXPECT_EQ(r->fChoice, expected) << parentChoice;
        EXPECT_EQ(r->fCode, 110);
    }
}

using VisibilityTest = TransferFixture;

TEST_F(VisibilityTest, RecordsShowByTheirChoicesFlagsAndTheHideSwitch)
{
    using namespace transfer;
    const uint8_t v = kChoiceVisible, s = kChoiceShown;
    UseChoices(C_Pm({{6, {{1, v}, {3, uint8_t(v | s)}, {4, 0}, {16, v}, {5, s}}}, {17, {{16, 0}, {17, v}}}}));
    C_ListHdl list = NewList();
    struct Row {
        int16_t code, choice;
        bool hidden, shown;  // with G_C_Hide clear, set
    };
    const Row rows[] = {
        {6, 1, false, true},   // bit 0 alone: only when hidden records show
        {6, 3, true, true},    // bit 3
        {6, 4, false, false},  // no flag
        {6, 16, true, true},   // choice 16 with bit 0
        {6, 5, true, false},   // bit 3 without bit 0
        {17, 16, false, false},
        {6, 9, false, false},  // no entry for the choice
        {0, 1, false, false},  // code 0, never
        {12, 1, false, false}, // no block
    };
    for (const Row& row : rows) {
        for (bool hide : {false, true}) {
            G_C_Hide = hide;
            TConflict* r = Record(list, nullptr, row.code, row.choice);
            EXPECT_EQ(r->fVisible, hide ? row.shown : row.hidden) << row.code << "/" << row.choice << " hide " << hide;
        }
    }

    // A member of choice 16 or 17 shows its invisible holder unless hidden
    // records show; MajVis recomputes from the root down.
    G_C_Hide = false;
    TObjQz table, form;
    TConflict* holder = Record(list, &table, 6, 4);
    TConflict* member = nullptr;
    ASSERT_EQ(transfer::ChainConflict(holder, &form, 17, &member), 0);
    for (int16_t choice : {16, 17, 9}) {
        member->fChoice = choice;
        member->MajVis();
        EXPECT_EQ(holder->fVisible, choice != 9) << choice;
        EXPECT_FALSE(member->fVisible) << choice;  // 16 has no flag, 17 only bit 0
    }
    G_C_Hide = true;
    member->fChoice = 16;
    member->MajVis();
    EXPECT_FALSE(holder->fVisible);
    transfer::DisposeC_List(list);
}

}  // namespace
}  // namespace transfertest

// Tables, subtables and fields copied into another document: the records a
// table chains for its members, a field copied on its own into the table
// its table's record names, and the copy's choice lists bound to the
// destination's, down into its subtables.
#include "design/transfer/TableRecords.h"
#include "tests/transfer/CopyFixture.h"
#include "transfer/conflicts/ConflictList.h"
#include "transfer/conflicts/ConflictRecording.h"
#include "transfer/conflicts/Conflicts.h"

namespace transfertest {
namespace {

using namespace tables;

const char* kShop = R"(structure Shop
list Sizes
  item "S"
table Orders
  field Number longint
  field Size alpha 2 list Sizes
  subtable Lines
    field Qty longint
    field Kind alpha 2 list Sizes
  field Note text
)";

const char* kDepot = R"(structure Depot
list Colours
  item "red"
list Sizes
  item "X"
table Orders
  field Code longint
table Stock
  field Code longint
)";

class TableTransferTest : public CopyFixture {
protected:
    TObjQz* Member(TObjQz* table, const std::string& name)
    {
        for (int32_t i = 0; table && table->members && i < table->members->Size(); ++i)
            if (readtest::P(table->members->At(i)->name) == name) return table->members->At(i);
        return nullptr;
    }
    std::vector<std::string> MemberNames(TObjQz* table)
    {
        std::vector<std::string> names;
        for (int32_t i = 0; table && table->members && i < table->members->Size(); ++i)
            names.push_back(readtest::P(table->members->At(i)->name));
        return names;
    }
    // "code:name" of a record's sub-list, depth first.
    static void Chain(TConflict* record, std::vector<std::string>* out)
    {
        auto* r = dynamic_cast<TRConflict*>(record);
        for (int32_t i = 0; r && r->fSubList && i < r->fSubList->Size(); ++i) {
            TConflict* sub = r->fSubList->At(i);
            out->push_back(std::to_string(sub->fCode) + ":" + readtest::P(sub->fSource->name));
            Chain(sub, out);
        }
    }
};

// Met directly, a table of the name there gives 2 and every member is
// chained under it, settled quietly by it (fields 0, a subtable 121 with its
// own fields under it). A field met indirectly is chained under its
// table's record alone.
TEST_F(TableTransferTest, ATableChainsItsMembersUnderItsRecord)
{
    BuildPair(kShop, kDepot);
    Conflicts conflicts;
    NoObjects none;
    TObjQz* orders = Src(1, "Orders");
    ASSERT_EQ(orders->Dir_Conflicts(&dest_, conflicts.list, none.list), 0);
    TConflict* record = transfer::C_Search(conflicts.list, orders);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->fCode, 2);
    EXPECT_EQ(record->fDest, Dst(1, "Orders"));
    std::vector<std::string> chain;
    Chain(record, &chain);
    EXPECT_EQ(chain, (std::vector<std::string>{"0:Number", "0:Size", "121:Lines", "0:Qty", "0:Kind", "0:Note"}));
    EXPECT_EQ(conflicts.list->Size(), 1);

    Conflicts fieldOnly;
    TObjQz* size = Member(orders, "Size");
    ASSERT_NE(size, nullptr);
    ASSERT_EQ(size->Indir_Conflicts(&dest_, fieldOnly.list, none.list), 0);
    TConflict* tableRecord = transfer::C_Search(fieldOnly.list, orders);
    ASSERT_NE(tableRecord, nullptr);
    chain.clear();
    Chain(tableRecord, &chain);
    EXPECT_EQ(chain, (std::vector<std::string>{"0:Size"}));
}

// A field copied on its own lands in the table its table's record names
// when its record's choice is 12, a subtable when 9; no record, another
// choice, or a table that is copied whole (9) copy nothing of it.
TEST_F(TableTransferTest, AFieldJoinsTheTableItsTablesRecordNames)
{
    struct Case {
        const char* member;
        int16_t tableChoice;
        int16_t choice;  // -1: no record
        bool copied;
    };
    const Case cases[] = {
        {"Size", 4, 12, true},  {"Size", 8, 12, true},   {"Size", 4, 9, false}, {"Size", 4, -1, false},
        {"Size", 9, 12, false}, {"Lines", 4, 9, true},   {"Lines", 4, 12, false}, {"Lines", 4, -1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.member) + " " + std::to_string(c.tableChoice) + " " + std::to_string(c.choice));
        BuildPair(kShop, kDepot);
        TObjQz* orders = Src(1, "Orders");
        TObjQz* stock = Dst(1, "Stock");
        TObjQz* member = Member(orders, c.member);
        ASSERT_NE(member, nullptr);
        Conflicts conflicts;
        TConflict* table = nullptr;
        TConflict* record = nullptr;
        ASSERT_EQ(transfer::RecordConflict(orders, stock, 0, c.tableChoice, conflicts.list, &table), 0);
        if (c.choice >= 0) {
            ASSERT_EQ(transfer::RecordConflict(member, nullptr, 104, c.choice, conflicts.list, &record), 0);
        }
        TObjQz* made = Moved(member, conflicts.list);
        if (c.copied) {
            ASSERT_NE(made, nullptr);
            EXPECT_EQ(made->GetOwnerObj(), stock);
            EXPECT_EQ(readtest::P(made->name), c.member);
            EXPECT_EQ(MemberNames(stock), (std::vector<std::string>{"Code", c.member}));
            EXPECT_EQ(record->fDest, made);
            EXPECT_EQ(made->owner, &dest_);
        } else {
            EXPECT_EQ(made, nullptr);
            EXPECT_EQ(MemberNames(stock), (std::vector<std::string>{"Code"}));
            if (record) {
                EXPECT_EQ(record->fDest, nullptr);
            }
        }
        EXPECT_EQ(MemberNames(orders), (std::vector<std::string>{"Number", "Size", "Lines", "Note"}));
        ClosePair();
    }
}

// A copied table's fields, and its subtable's, use the copies of their
// choice lists once linked; a list without counterpart is cleared (-1).
TEST_F(TableTransferTest, ACopiedTablesListsNameTheDestinationsDownIntoItsSubtables)
{
    for (const bool listCopied : {true, false}) {
        SCOPED_TRACE(listCopied);
        BuildPair(kShop, kDepot);
        Conflicts conflicts;
        TObjQz* sizes = nullptr;
        if (listCopied) {
            ASSERT_EQ(Src(4, "Sizes")->Move(&dest_, conflicts.list, &sizes), 0);
            ASSERT_NE(sizes, nullptr);
            ASSERT_NE(sizes->id, Src(4, "Sizes")->id);
        }
        TObjQz* orders = Src(1, "Orders");
        TObjQz* made = nullptr;
        ASSERT_EQ(orders->Move(&dest_, conflicts.list, &made), 0);
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(readtest::P(made->name), "Orders_2");
        ASSERT_EQ(made->Parse_Link(orders, conflicts.list), 0);
        const int16_t expected = listCopied ? sizes->id : int16_t(-1);
        const Bytes def = StoreRes(&dest_, kDefinition, made->id);
        ASSERT_EQ(FieldCount(def), 4);
        EXPECT_EQ(S16(def, EntryAt(2) + kListAt), expected);
        EXPECT_EQ(S16(def, EntryAt(1) + kListAt), -1);
        const Bytes sub = StoreRes(&dest_, kDefinition, S16(def, EntryAt(3) + kSubIdAt));
        ASSERT_EQ(FieldCount(sub), 2);
        EXPECT_EQ(S16(sub, EntryAt(2) + kListAt), expected);
        EXPECT_EQ(S16(sub, EntryAt(1) + kListAt), -1);
        if (listCopied) {
            EXPECT_TRUE(Uses(made).count("4:Sizes"));
            EXPECT_TRUE(Uses(Member(made, "Size")).count("4:Sizes"));
        }
        // The source's definition is as it was.
        const Bytes own = StoreRes(&doc_, kDefinition, orders->id);
        EXPECT_EQ(S16(own, EntryAt(2) + kListAt), Src(4, "Sizes")->id);
        ClosePair();
    }
}

}  // namespace
}  // namespace transfertest

// Tables copied into another structure: the records the movers write, the
// limits they keep, the definitions they refuse, and the copies' names and
// links after a drop.
#include "design/transfer/TableMembers.h"
#include "design/transfer/TableRecords.h"
#include "platform/core/Endian.h"
#include "tests/transfer/CopyFixture.h"
#include "transfer/driver/TransferSession.h"
#include "transfer/movers/FormMovers.h"
#include "transfer/movers/ListMovers.h"
#include "transfer/movers/TableMovers.h"

namespace transfertest {
namespace {

using namespace tables;

const char* kShop = R"(structure Shop
list Sizes
  item "S"
  item "L"
table Customers
  field Name alpha 40 balloon "The full name"
    doc "Who buys."
  field Size alpha 2 list Sizes
  subtable Contacts
    field Phone alpha 20
    subtable Calls
      field When date
  method
    comment "capitals"
table Orders
  field Number longint
  field Buyer alpha 40 relation Customers.Name
)";

std::string Tables(int n, const std::string& extra = "")
{
    std::string s = "structure Big\n";
    for (int i = 1; i <= n; ++i) s += "table T" + std::to_string(i) + "\n  field F longint\n";
    return s + extra;
}

int16_t Word(const Bytes& b, size_t at) { return platform::ReadBES16(&b[at]); }

class TableCopyTest : public CopyFixture {
protected:
    int16_t Copy(const std::string& table, TObjQz** made, const unsigned char* name = nullptr)
    {
        return transfer::MoveQzFile(&doc_, &dest_, Src(1, table), made, name);
    }
};

TEST_F(TableCopyTest, ACopiedTableIsListedAndDefinedUnderNewIds)
{
    BuildPair(kShop, Tables(2));
    TObjQz* made = nullptr;
    ASSERT_EQ(Copy("Customers", &made), 0);
    ASSERT_NE(made, nullptr);
    const Bytes params = StoreRes(&dest_, kParams, 0), names = StoreRes(&dest_, kNames, 0);
    EXPECT_EQ(Word(params, 0), 3);
    // Entry 3 at 78 + 14 x 2 names the new definition; the name is slot 3.
    EXPECT_EQ(Word(params, 78 + 14 * 2), made->id);
    EXPECT_EQ(std::string(names.begin() + 64 + 1, names.begin() + 64 + 1 + names[64]), "Customers");
    const Bytes def = StoreRes(&dest_, kDefinition, made->id), src = StoreRes(&doc_, kDefinition, Src(1, "Customers")->id);
    ASSERT_EQ(def.size(), src.size());
    EXPECT_EQ(Word(def, kNumberAt), 3);
    // The method under a new id with the source's code; an empty form table.
    const int16_t method = Word(def, kMethodAt);
    EXPECT_NE(method, 0);
    EXPECT_EQ(StoreRes(&dest_, kCode, method), StoreRes(&doc_, kCode, Word(src, kMethodAt)));
    EXPECT_EQ(StoreRes(&dest_, kFormTable, Word(def, kFormTableAt)), Bytes(6, 0));
    // The subtable's definition copied, its new id in the field, and its own
    // subtable in turn.
    const int16_t sub = Word(def, EntryAt(3) + kSubIdAt);
    EXPECT_NE(sub, Word(src, EntryAt(3) + kSubIdAt));
    const Bytes subDef = StoreRes(&dest_, kDefinition, sub);
    ASSERT_EQ(FieldCount(subDef), 2);
    EXPECT_FALSE(StoreRes(&dest_, kDefinition, Word(subDef, EntryAt(2) + kSubIdAt)).empty());
    // The field's help and documentation follow under the new table id.
    EXPECT_EQ(StoreRes(&dest_, BalloonType(made->id), 1), StoreRes(&doc_, BalloonType(Src(1, "Customers")->id), 1));
    EXPECT_EQ(StoreRes(&dest_, FieldDocType(made->id), 1), StoreRes(&doc_, FieldDocType(Src(1, "Customers")->id), 1));
    // The objects: the fields and subtables after the table, in order.
    std::vector<std::string> block;
    for (TObjQz* o : BlockOf(made)) block.push_back(std::to_string(o->kind) + readtest::P(o->name));
    EXPECT_EQ(block, (std::vector<std::string>{"28Name", "28Size", "29Contacts", "28Phone", "29Calls", "28When"}));
    EXPECT_EQ(static_cast<TFileObjQz*>(made)->tableNumber, 3);
    ReopenDest();
    EXPECT_NE(Dst(1, "Customers"), nullptr);
}

// A field holding a relation is marked (bit 1 with the top bit), its word
// at +44 made -1; fields without relation keep their attributes.
TEST_F(TableCopyTest, RelationFieldsAreMarkedAsNew)
{
    BuildPair(kShop, Tables(1));
    TObjQz* made = nullptr;
    ASSERT_EQ(Copy("Orders", &made), 0);
    const Bytes def = StoreRes(&dest_, kDefinition, made->id), src = StoreRes(&doc_, kDefinition, Src(1, "Orders")->id);
    struct Case {
        int32_t k;
        uint8_t attributes;
    };
    for (const Case c : {Case{1, src[EntryAt(1) + kAttrAt]}, Case{2, uint8_t(src[EntryAt(2) + kAttrAt] | 0x02)}}) {
        EXPECT_EQ(def[EntryAt(c.k) + kAttrAt], c.attributes) << c.k;
        EXPECT_EQ(Word(def, EntryAt(c.k) + kNewWordAt), -1) << c.k;
    }
    EXPECT_EQ(src[EntryAt(2) + kAttrAt] & 0x80, 0x80);
}

TEST_F(TableCopyTest, TheTwoHundredFiftyFifthTableIsTheLast)
{
    for (const auto& [held, result] : {std::pair{254, 0}, std::pair{255, int(transfer::kTooManyTables)}}) {
        BuildPair(kShop, Tables(held));
        CloseDest();
        const auto before = DestFiles();
        OpenDest();
        TObjQz* made = nullptr;
        EXPECT_EQ(Copy("Orders", &made), result) << held;
        EXPECT_EQ(made != nullptr, result == 0) << held;
        if (result != 0) {
            CloseDest();
            EXPECT_EQ(DestFiles(), before);
        }
        ClosePair();
    }
}

// A subtable naming its own table, or two naming each other, would be
// copied for ever: 1003 before anything is written.
TEST_F(TableCopyTest, ASubtableMetAgainOnTheWayDownIsRefused)
{
    for (const int loop : {0, 1}) {
        BuildPair(kShop, Tables(1));
        const int16_t customers = Src(1, "Customers")->id;
        useres(doc_.fResFile);
        Bytes def = Stored(kDefinition, customers);
        const int16_t contacts = Word(def, EntryAt(3) + kSubIdAt);
        Bytes subDef = Stored(kDefinition, contacts);
        // 0: Contacts' Calls names Customers; 1: Calls names Contacts.
        platform::WriteBE16(&subDef[EntryAt(2) + kSubIdAt], uint16_t(loop ? contacts : customers));
        platform::Handle h = xget1res(kDefinition, contacts);
        std::memcpy(*h, subDef.data(), subDef.size());
        CloseDest();
        const auto before = DestFiles();
        OpenDest();
        TObjQz* made = nullptr;
        EXPECT_EQ(Copy("Customers", &made), transfer::kRecordMissing) << loop;
        EXPECT_EQ(made, nullptr);
        CloseDest();
        EXPECT_EQ(DestFiles(), before) << loop;
        ClosePair();
    }
}

TEST_F(TableCopyTest, TooLittleRoomWritesNothing)
{
    BuildPair(kShop, Tables(1));
    const int64_t need = 2 * int64_t(StoreRes(&doc_, kDefinition, Src(1, "Orders")->id).size());
    for (const auto& [room, result] : {std::pair{need - 1, int(platform::dskFulErr)}, std::pair{need, 0}}) {
        static int64_t free;
        free = room;
        transfer::SetRoomProbe([](TMainDoc*) { return free; });
        TObjQz* made = nullptr;
        EXPECT_EQ(Copy("Orders", &made), result) << room;
        EXPECT_EQ(Word(StoreRes(&dest_, kParams, 0), 0), result == 0 ? 2 : 1) << room;
    }
}

// A field copied on its own into a table: appended after its last field
// (after a subtable's own), its choice list copied with it.
TEST_F(TableCopyTest, AFieldJoinsATableWithItsChoiceList)
{
    BuildPair(kShop, R"(structure Target
list Sizes
  item "XL"
table People
  field Id longint
  subtable Notes
    field Text alpha 80
table After
  field X longint
)");
    TObjQz* people = Dst(1, "People");
    TObjQz* made = nullptr;
    ASSERT_EQ(transfer::MoveCrit(&doc_, &dest_, Src(28, "Size"), people, &made), 0);
    ASSERT_NE(made, nullptr);
    const Bytes def = StoreRes(&dest_, kDefinition, people->id);
    ASSERT_EQ(FieldCount(def), 3);
    EXPECT_EQ(std::string(def.begin() + EntryAt(3) + 1, def.begin() + EntryAt(3) + 5), "Size");
    const int16_t list = Word(def, EntryAt(3) + kListAt);
    TObjQz* copy = SearchObj_Id(&dest_, 4, list);
    ASSERT_NE(copy, nullptr);
    // The destination's Sizes is another list: the copy takes a free name.
    EXPECT_EQ(readtest::P(copy->name), "Sizes_2");
    EXPECT_EQ(StoreRes(&dest_, FourCC("List"), list), StoreRes(&doc_, FourCC("List"), Src(4, "Sizes")->id));
    EXPECT_TRUE(IsInList(made->uses, copy));
    std::vector<std::string> block;
    for (TObjQz* o : BlockOf(people)) block.push_back(readtest::P(o->name));
    EXPECT_EQ(block, (std::vector<std::string>{"Id", "Notes", "Text", "Size"}));
    EXPECT_EQ(static_cast<TCritObjQz*>(made)->fieldNumber, 3);
}

TEST_F(TableCopyTest, ATableOfFiveHundredElevenFieldsTakesNoMore)
{
    for (const auto& [fields, result] : {std::pair{510, 0}, std::pair{511, int(transfer::kTooManyFields)}}) {
        std::string target = "structure Wide\ntable W\n";
        for (int i = 1; i <= fields; ++i) target += "  field F" + std::to_string(i) + " longint\n";
        BuildPair(kShop, target);
        TObjQz* made = nullptr;
        EXPECT_EQ(transfer::MoveCrit(&doc_, &dest_, Src(28, "Number"), Dst(1, "W"), &made), result) << fields;
        EXPECT_EQ(FieldCount(StoreRes(&dest_, kDefinition, Dst(1, "W")->id)), result == 0 ? fields + 1 : fields);
        ClosePair();
    }
}

// Dropped where a table of its name exists, a table is copied under a free
// name, whether the choice was to copy it or to rename it without a name.
TEST_F(TableCopyTest, ACopyNeverTakesANameTheDestinationHas)
{
    for (const int16_t choice : {1, 9}) {
        BuildPair(kShop, "structure Target\ntable Orders\n  field Other alpha 3\n");
        transfer::G_Filters = transfer::NewFilters();
        ASSERT_EQ(transfer::MakeCc_Dflt(transfer::G_Filters), 0);
        reinterpret_cast<int16_t*>(*transfer::G_Filters)[2 - 1] = choice;
        ObjListHdl list = nullptr;
        ASSERT_EQ(NewObjList(&list, 10), 0);
        ASSERT_EQ(Src(1, "Orders")->SelfAddObjList(&list, 0), 0);
        platform::PushDialogAnswer(1);
        EXPECT_EQ(transfer::DoMove(&doc_, &dest_, &list, false, false, nullptr), 0) << choice;
        FreeObjList(list);
        platform::ClearDialogAnswers();
        EXPECT_NE(Dst(1, "Orders"), nullptr);
        EXPECT_NE(Dst(1, "Orders_2"), nullptr) << choice;
        ReopenDest();
        EXPECT_NE(Dst(1, "Orders_2"), nullptr) << choice;
        ClosePair();
    }
}

// A table's relation pulls the related table in (102, copied by
// default), and the copy's relation names the copy; linked to no table
// there (8), the relation is cleared.
TEST_F(TableCopyTest, ACopiedRelationNamesTheDestinationsTableOrNothing)
{
    for (const int16_t choice : {9, 8}) {
        BuildPair(kShop, Tables(2));
        transfer::G_Filters = transfer::NewFilters();
        ASSERT_EQ(transfer::MakeCc_Dflt(transfer::G_Filters), 0);
        reinterpret_cast<int16_t*>(*transfer::G_Filters)[102 - 1] = choice;
        ObjListHdl list = nullptr;
        ASSERT_EQ(NewObjList(&list, 10), 0);
        ASSERT_EQ(Src(1, "Orders")->SelfAddObjList(&list, 0), 0);
        platform::PushDialogAnswer(1);
        ASSERT_EQ(transfer::DoMove(&doc_, &dest_, &list, false, false, nullptr), 0) << choice;
        FreeObjList(list);
        platform::ClearDialogAnswers();
        TObjQz* orders = Dst(1, "Orders");
        ASSERT_NE(orders, nullptr);
        const Bytes def = StoreRes(&dest_, kDefinition, orders->id);
        const int16_t table = Word(def, EntryAt(2) + kRelTableAt), field = Word(def, EntryAt(2) + kRelFieldAt);
        TObjQz* customers = Dst(1, "Customers");
        EXPECT_EQ(customers != nullptr, choice == 9);
        EXPECT_EQ(table, customers ? static_cast<TFileObjQz*>(customers)->tableNumber : 0) << choice;
        EXPECT_EQ(field, customers ? 1 : 0) << choice;
        EXPECT_EQ(IsInList(orders->uses, customers), customers != nullptr);
        ClosePair();
    }
}

}  // namespace
}  // namespace transfertest

namespace transfertest {
namespace {

// Every store write failing in turn while Customers (fields, a subtable,
// two forms with a form method) is copied: each run leaves the
// destination's files and tables as they were; the run that lands leaves
// the whole table.
TEST_F(TableCopyTest, EveryFailingWriteOfATablesCopyLeavesTheDestinationAsItWas)
{
    BuildPair(R"(structure Shop
table Customers
  field Name alpha 40
  subtable Contacts
    field Phone alpha 20
  form Entry iff
    field Name
    method
      comment "entry"
  form Card iff
    field Name
)",
              Tables(1));
    CloseDest();
    const auto pristine = DestFiles();
    int32_t failed = 0;
    for (int32_t after = 0; after < 200; ++after) {
        OpenDest();
        const int32_t listed = GetObjListe(dest_.fTypeList, 1)->Size();
        // As the driver runs a table and its forms: one transfer.
        transfer::TransferSession session;
        ASSERT_EQ(session.Begin(&dest_), 0);
        platform::InjectFault(platform::FaultKind::DiskFull, after);
        auto* source = dynamic_cast<TFileObjQz*>(Src(1, "Customers"));
        TObjQz* table = nullptr;
        int16_t result = transfer::MoveQzFile(&doc_, &dest_, source, &table, nullptr);
        for (int32_t i = 0; result == 0 && source->forms && i < source->forms->Size(); ++i) {
            TObjQz* form = nullptr;
            result = transfer::MoveLayOut(&doc_, &dest_, source->forms->At(i), table, &form, nullptr);
        }
        if (result == 0) result = session.Commit();
        platform::ClearFault(platform::FaultKind::DiskFull);
        if (result != 0) session.RollBack();
        if (result == 0) {
            ReopenDest();
            auto* copy = dynamic_cast<TFileObjQz*>(Dst(1, "Customers"));
            ASSERT_NE(copy, nullptr) << after;
            EXPECT_EQ(copy->forms ? copy->forms->Size() : 0, 2) << after;
            EXPECT_EQ(FormCount(StoreRes(&dest_, kFormTable, Word(StoreRes(&dest_, kDefinition, copy->id), kFormTableAt))), 2);
            EXPECT_EQ(Word(StoreRes(&dest_, kParams, 0), 0), 2) << after;
            EXPECT_EQ(FieldCount(StoreRes(&dest_, kDefinition, copy->id)), 2) << after;
            CloseDest();
            break;
        }
        ++failed;
        EXPECT_EQ(result, platform::dskFulErr) << after;
        EXPECT_EQ(Dst(1, "Customers"), nullptr) << after;
        EXPECT_EQ(GetObjListe(dest_.fTypeList, 1)->Size(), listed) << after;
        CloseDest();
        EXPECT_EQ(DestFiles(), pristine) << after;
        RestoreDest(pristine);
    }
    EXPECT_GE(failed, 4);
}

}  // namespace
}  // namespace transfertest

namespace transfertest {
namespace {

// Replacing the destination's Customers: it keeps its id, number, form
// table and box, and takes the source's fields; its members follow.
TEST_F(TableCopyTest, AReplacedTableKeepsItsPlaceAndTakesTheFields)
{
    BuildPair(kShop, "structure Depot\ntable Stock\n  field Code longint\ntable Customers\n  field Old longint\n"
                     "  field Older real\n  form Card iff\n    field Old\n");
    TObjQz* target = Dst(1, "Customers");
    ASSERT_NE(target, nullptr);
    const int16_t id = target->id;
    const Bytes before = StoreRes(&dest_, kDefinition, id);
    ASSERT_EQ(transfer::ReplaceFile(&doc_, &dest_, Src(1, "Customers"), &target), 0);
    EXPECT_EQ(target->id, id);
    const Bytes after = StoreRes(&dest_, kDefinition, id), source = StoreRes(&doc_, kDefinition, Src(1, "Customers")->id);
    ASSERT_EQ(FieldCount(after), 3);
    for (size_t at : {kFormTableAt, kNumberAt, kBoxAt, kBoxAt + 2, kBoxAt + 4, kBoxAt + 6})
        EXPECT_EQ(Word(after, at), Word(before, at)) << at;
    for (int32_t k = 1; k <= 2; ++k)
        EXPECT_TRUE(std::equal(after.begin() + EntryAt(k), after.begin() + EntryAt(k) + kNameSize, source.begin() + EntryAt(k)))
            << k;
    std::set<std::string> members;
    for (int32_t i = 0; target->members && i < target->members->Size(); ++i)
        members.insert(readtest::P(target->members->At(i)->name));
    EXPECT_EQ(members, (std::set<std::string>{"Name", "Size", "Contacts"}));
}

// A choice list copied under a new id with its items byte for byte and a
// directory entry; replacing the destination's keeps its id.
TEST_F(TableCopyTest, AChoiceListIsCopiedOrReplacedWhole)
{
    BuildPair(kShop, "structure Depot\nlist Sizes\n  item \"X\"\n");
    TObjQz* own = Dst(4, "Sizes");
    ASSERT_NE(own, nullptr);
    const int16_t ownId = own->id;
    const Bytes items = StoreRes(&doc_, FourCC("List"), Src(4, "Sizes")->id);
    ASSERT_FALSE(items.empty());
    TObjQz* made = nullptr;
    const unsigned char name[] = "\x07" "Sizes_2";
    ASSERT_EQ(transfer::MoveList(&doc_, &dest_, Src(4, "Sizes"), &made, name), 0);
    ASSERT_NE(made, nullptr);
    EXPECT_NE(made->id, ownId);
    EXPECT_EQ(readtest::P(made->name), "Sizes_2");
    EXPECT_EQ(StoreRes(&dest_, FourCC("List"), made->id), items);
    const Bytes dir = StoreRes(&dest_, FourCC("LEQz"), 0);
    ASSERT_EQ(Word(dir, 0), 2);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&dir[6 + 34 + 1]), dir[6 + 34]), "Sizes_2");
    EXPECT_EQ(Word(dir, 6 + 34 + 32), made->id);
    ASSERT_EQ(transfer::ReplaceList(&doc_, &dest_, Src(4, "Sizes"), &own), 0);
    EXPECT_EQ(own->id, ownId);
    EXPECT_EQ(StoreRes(&dest_, FourCC("List"), ownId), items);
}

}  // namespace
}  // namespace transfertest

namespace transfertest {
namespace {

using namespace tables;

std::vector<std::string> NamesOf(const std::vector<TObjQz*>& objs)
{
    std::vector<std::string> names;
    for (TObjQz* o : objs) names.push_back(readtest::P(o->name));
    return names;
}

// After another definition was written over a table's, its members are
// rebuilt from it: the k-th member is kept (renamed, read again) while its
// kind fits, else made anew; members past the new count, or of another
// kind, leave through the dropped list; a subtable's fields follow it in
// the table list. A definition that does not fit its bytes changes nothing.
TEST_F(TableCopyTest, ReplaceUpdateRebuildsTheMembersFromTheNewDefinition)
{
    const char* kSources = R"(structure Sources
table One
  field A alpha 10
table Three
  field X longint
  field Y real
  field Z date
table Sub
  field K longint
  subtable S
    field P alpha 5
table Empty
)";
    struct Case {
        const char* source;
        std::vector<std::string> members, block, dropped;
        std::vector<int16_t> kinds;
        int32_t kept;  // leading members that stay the same objects
        int16_t result;
    };
    const Case cases[] = {
        {"One", {"A"}, {"A"}, {"Older"}, {28}, 1, 0},
        {"Three", {"X", "Y", "Z"}, {"X", "Y", "Z"}, {}, {28, 28, 28}, 2, 0},
        {"Sub", {"K", "S"}, {"K", "S", "P"}, {"Older"}, {28, 29}, 1, 0},
        {"Empty", {}, {}, {"Old", "Older"}, {}, 0, 0},
        {"damaged", {"Old", "Older"}, {"Old", "Older"}, {}, {28, 28}, 2, kResourceMissing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        BuildPair(kSources, "structure Depot\ntable Customers\n  field Old longint\n  field Older real\n");
        auto* target = dynamic_cast<TFileObjQz*>(Dst(1, "Customers"));
        ASSERT_NE(target, nullptr);
        const std::vector<TObjQz*> before = BlockOf(target);
        Bytes def;
        if (std::string(c.source) == "damaged") {
            def = StoreRes(&dest_, kDefinition, target->id);
            def.resize(EntryAt(2));  // room for one entry of the two it counts
        } else {
            int16_t copied = 0;
            ASSERT_EQ(transfer::MoveResQzCritere(&doc_, &dest_, Src(1, c.source)->id, &copied), 0);
            def = StoreRes(&dest_, kDefinition, copied);
        }
        ASSERT_EQ(transfer::PutStoreBytes(&dest_, kDefinition, target->id, def), 0);
        std::vector<TObjQz*> dropped;
        EXPECT_EQ(target->ReplaceUpdate(&dropped), c.result);
        std::vector<TObjQz*> members;
        std::vector<int16_t> kinds;
        for (int32_t i = 0; target->members && i < target->members->Size(); ++i) {
            members.push_back(target->members->At(i));
            kinds.push_back(target->members->At(i)->kind);
        }
        EXPECT_EQ(NamesOf(members), c.members);
        EXPECT_EQ(kinds, c.kinds);
        EXPECT_EQ(NamesOf(BlockOf(target)), c.block);
        EXPECT_EQ(NamesOf(dropped), c.dropped);
        for (int32_t k = 0; k < c.kept; ++k) EXPECT_EQ(members[size_t(k)], before[size_t(k)]) << k;
        for (size_t k = 0; k < members.size(); ++k) {
            if (auto* field = dynamic_cast<TCritObjQz*>(members[k])) {
                EXPECT_EQ(field->fieldNumber, int16_t(k + 1));
            }
        }
        transfer::DropObjs(dropped);
        ClosePair();
    }
}

// A table is an interface table while none of its members is used by
// another object; what uses the table itself does not count.
TEST_F(TableCopyTest, ATableIsAnInterfaceWhileNoMemberIsUsed)
{
    const char* kDepot = R"(structure Depot
table Bare
table Stock
  field Code longint
  subtable Bins
    field Bin alpha 4
method User id 40
  comment "u"
)";
    struct Case {
        const char* table;
        const char* used;  // a member the method uses, or the table itself
        bool interface;
    };
    for (const Case& c : {Case{"Bare", nullptr, true}, Case{"Stock", nullptr, true}, Case{"Stock", "Stock", true},
                          Case{"Stock", "Code", false}, Case{"Stock", "Bins", false}}) {
        BuildPair("structure Empty\n", kDepot);
        auto* table = dynamic_cast<TFileObjQz*>(Dst(1, c.table));
        ASSERT_NE(table, nullptr);
        if (c.used) {
            TObjQz* used = std::string(c.used) == c.table ? table : nullptr;
            for (int32_t i = 0; !used && table->members && i < table->members->Size(); ++i)
                if (readtest::P(table->members->At(i)->name) == c.used) used = table->members->At(i);
            ASSERT_NE(used, nullptr);
            ASSERT_EQ(XRef(Dst(2, "User"), used), 0);
        }
        EXPECT_EQ(table->IsInterfaceFile(), c.interface) << c.table << " " << (c.used ? c.used : "-");
        ClosePair();
    }
}

}  // namespace
}  // namespace transfertest

// Tables, subtables and fields: the table list walks, the stored table
// definitions and the equality of tables and menus between documents.
#include <cstring>

#include "design/objects/Equality.h"
#include "design/objects/NameRules.h"
#include "design/objects/TableDescriptions.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "tests/design/DesignFixture.h"

namespace designtest {
namespace {

using platform::FourCC;
using Bytes = std::vector<uint8_t>;

struct Field {
    std::string name;
    uint8_t type = 0;
    int16_t subtableId = 0;
};

// A 'FIQz' record: header, then 66-byte field entries.
Bytes TableDef(const std::vector<Field>& fields, int16_t formTable = 1)
{
    Bytes b(30 + 66 * fields.size(), 0);
    platform::WriteBE16(&b[0], uint16_t(fields.size()));
    platform::WriteBE16(&b[4], uint16_t(formTable));
    platform::WriteBE16(&b[6], 9);
    for (size_t k = 0; k < fields.size(); ++k) {
        uint8_t* e = &b[30 + 66 * k];
        apptest::ToP(fields[k].name, e);
        e[32] = fields[k].type;
        if (fields[k].type == 7) platform::WriteBE16(e + 48, uint16_t(fields[k].subtableId));
    }
    return b;
}

class StructureTest : public DesignFixture {
protected:
    TFileObjQz* Table(const std::string& name, int16_t number, int16_t id = 1)
    {
        auto* t = static_cast<TFileObjQz*>(NewCritObj(&doc_, 1, PName(name), id));
        t->tableNumber = number;
        return t;
    }
    TObjQz* Owned(int16_t kind, const std::string& name, TObjQz* owner)
    {
        TObjQz* obj = NewCritObj(&doc_, kind, PName(name), 1);
        static_cast<TStructObjQz*>(obj)->ownerObj = owner;
        return obj;
    }
    std::vector<std::string> TableListNames()
    {
        std::vector<std::string> out;
        for (int32_t i = 0; i < List(1)->Size(); ++i) out.push_back(P(List(1)->At(i)->name));
        return out;
    }
};

TEST_F(StructureTest, FieldOperandsWalkTheTableList)
{
    TFileObjQz* t1 = Table("T1", 1);
    TObjQz* a = Owned(28, "a", t1);
    TObjQz* sub = Owned(29, "Lines", t1);
    TObjQz* x = Owned(28, "x", sub);
    TObjQz* y = Owned(28, "y", sub);
    TObjQz* b = Owned(28, "b", t1);
    TFileObjQz* t2 = Table("T2", 2);
    TObjQz* c = Owned(28, "c", t2);
    EXPECT_EQ(TableListNames(), (std::vector<std::string>{"T1", "a", "Lines", "x", "y", "b", "T2", "c"}));

    ChampOper op;
    op.table = 1, op.field = 3;
    EXPECT_EQ(SearchCritObj(nullptr, doc_.fTypeList, op), b);
    op.field = 2, op.depth = 1, op.path[1] = 2;
    EXPECT_EQ(SearchCritObj(nullptr, doc_.fTypeList, op), y);
    unsigned char name[256];
    GetCritName(name, nullptr, doc_.fTypeList, op);
    EXPECT_EQ(P(name), "[T1]Lines.y");
    op.path[1] = 3;  // past the subtable's fields
    EXPECT_EQ(SearchCritObj(nullptr, doc_.fTypeList, op), nullptr);
    GetCritName(name, nullptr, doc_.fTypeList, op);
    EXPECT_EQ(P(name), "");
    ChampOper local;  // table number 0: the table at hand
    local.field = 1;
    EXPECT_EQ(SearchCritObj(t2, doc_.fTypeList, local), c);
    GetCritName(name, t2, doc_.fTypeList, local);
    EXPECT_EQ(P(name), "c");
    local.field = 2;
    EXPECT_EQ(SearchCritObj(t2, doc_.fTypeList, local), nullptr);
    op = ChampOper{};
    op.table = 7, op.field = 1;
    EXPECT_EQ(SearchCritObj(nullptr, doc_.fTypeList, op), nullptr);
    (void)a, (void)x;

    unsigned char full[256];
    y->GetStructName(full);
    EXPECT_EQ(P(full), "[T1]Lines.y");
    EXPECT_EQ(SearchFullNamedFileObj(&doc_, PName("[T2]")), t2);
    EXPECT_EQ(SearchFullNamedFileObj(&doc_, PName("[T1]:Lines")), sub);
    EXPECT_EQ(SearchFullNamedFileObj(&doc_, PName("[T2]:Lines")), nullptr);  // not T2's
    EXPECT_EQ(SearchFullNamedFileObj(&doc_, PName("T1")), nullptr);
}

// Look-ups remember where the tables stand once the list has served a few
// unchanged; whatever changes in the list, the answers stay those of a scan.
TEST_F(StructureTest, TableLookUpsFollowTheListAsItChanges)
{
    TFileObjQz* t1 = Table("T1", 1);
    TObjQz* a = Owned(28, "a", t1);
    TObjQz* b = Owned(28, "b", t1);
    TFileObjQz* t2 = Table("T2", 2);
    TObjQz* c = Owned(28, "c", t2);
    TFileObjQz* t3 = Table("T3", 3);
    TObjQz* d = Owned(28, "d", t3);
    auto field = [&](TObjQz* at, int16_t table, int16_t number) {
        ChampOper op;
        op.table = table, op.field = number;
        return SearchCritObj(at, doc_.fTypeList, op);
    };
    for (int i = 0; i < 12; ++i) {
        ASSERT_EQ(field(nullptr, 2, 1), c);
        ASSERT_EQ(field(nullptr, 3, 1), d);
        ASSERT_EQ(field(t1, 0, 2), b);
    }
    // Numbers changed in place: the list keeps its entries and count.
    t2->tableNumber = 5;
    EXPECT_EQ(field(nullptr, 2, 1), nullptr);
    EXPECT_EQ(field(nullptr, 5, 1), c);
    t1->tableNumber = 3, t3->tableNumber = 1;
    EXPECT_EQ(field(nullptr, 3, 1), a);
    EXPECT_EQ(field(nullptr, 1, 1), d);
    // A field put in front of T2's moves every place after it.
    ChampOper front;
    front.table = 5, front.field = 1;
    TObjQz* c0 = AddCritObj(&doc_, PName("c0"), front, 28, 0);
    ASSERT_NE(c0, nullptr);
    for (int i = 0; i < 12; ++i) {
        ASSERT_EQ(field(nullptr, 5, 2), c);
        ASSERT_EQ(field(nullptr, 1, 1), d);
    }
    // A table taken out and another put in: the same count again.
    ObjListHdl list = List(1);
    const int32_t count = list->count;
    ASSERT_EQ(DelObjList(list, t2), 0);
    TFileObjQz* t4 = Table("T4", 5);
    ASSERT_EQ(list->count, count);
    EXPECT_EQ(field(nullptr, 5, 1), nullptr);  // T4 is last and has no fields
    EXPECT_EQ(field(t4, 0, 1), nullptr);
    EXPECT_EQ(field(nullptr, 1, 1), d);
    EXPECT_EQ(field(t3, 0, 1), d);  // T3 moved up one place
    DelObjList(list, c0);
    DelObjList(list, c);
    DestroyObj(c0);
    DestroyObj(c);
    DestroyObj(t2);
}

TEST_F(StructureTest, AddedFieldsLandWhereTheOperandSays)
{
    TFileObjQz* t1 = Table("T1", 1);
    Owned(28, "a", t1);
    Owned(28, "b", t1);
    Table("T2", 2);
    ChampOper op;
    op.table = 1, op.field = 1;
    TObjQz* first = AddCritObj(&doc_, PName("new1"), op, 28, 0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->id, 1);
    EXPECT_EQ(first->GetOwnerObj(), t1);
    op.field = 4;  // after new1, a, b
    ASSERT_NE(AddCritObj(&doc_, PName("new4"), op, 28, 0), nullptr);
    EXPECT_EQ(TableListNames(), (std::vector<std::string>{"T1", "new1", "a", "b", "new4", "T2"}));
    op.field = 9;
    EXPECT_EQ(AddCritObj(&doc_, PName("far"), op, 28, 0), nullptr);
    ChampOper front;
    ASSERT_NE(AddCritObj(&doc_, PName("front"), front, 1, 5), nullptr);
    EXPECT_EQ(TableListNames().front(), "front");
}

class StoredStructureTest : public StructureTest {
protected:
    void SetUp() override
    {
        StructureTest::SetUp();
        OpenStore();
    }
};

TEST_F(StoredStructureTest, TablesDifferingInASubtableFieldAreNotEqual)
{
    AddStored(FourCC("FIQz"), 1, TableDef({{"Name", 0}, {"Lines", 7, 2}}));
    AddStored(FourCC("FIQz"), 2, TableDef({{"Qty", 1}, {"Price", 2}}));
    AddStored(FourCC("FIQz"), 3, TableDef({{"NAME", 0}, {"Lines", 7, 4}}));
    AddStored(FourCC("FIQz"), 4, TableDef({{"Qty", 1}, {"Price", 3}}));
    AddStored(FourCC("FIQz"), 5, TableDef({{"name", 0}, {"lines", 7, 2}}));
    TObjQz* t1 = Table("T", 1, 1);
    TObjQz* t3 = Table("T", 2, 3);
    TObjQz* t5 = Table("T", 3, 5);
    EXPECT_FALSE(EqualFiles(t1, t3));
    EXPECT_TRUE(EqualFiles(t1, t5));
    EXPECT_EQ(SearchEqualFile(&doc_, t5), t1);
    EXPECT_EQ(SearchEqualFile(&doc_, t3), t3);
    // A name whose length runs past its 32-byte field is read as the 31
    // bytes there: its last byte still counts, the length byte does not.
    auto overlong = [](char last, uint8_t length) {
        Bytes b = TableDef({{std::string(30, 'n') + last, 0}});
        b[30] = length;
        return b;
    };
    AddStored(FourCC("FIQz"), 6, overlong('a', 40));
    AddStored(FourCC("FIQz"), 7, overlong('b', 40));
    AddStored(FourCC("FIQz"), 8, overlong('a', 90));
    TObjQz* u6 = Table("U", 4, 6);
    EXPECT_FALSE(EqualFiles(u6, Table("U", 5, 7)));
    EXPECT_TRUE(EqualFiles(u6, Table("U", 6, 8)));
    // One field more, or a damaged negative count on both sides, is not equal.
    AddStored(FourCC("FIQz"), 9, TableDef({{"Qty", 1}}));
    Bytes negative = TableDef({{"Qty", 1}});
    platform::WriteBE16(&negative[0], 0xFFFF);
    AddStored(FourCC("FIQz"), 10, negative);
    EXPECT_FALSE(EqualFiles(Table("V", 7, 2), Table("V", 8, 9)));
    TObjQz* n10 = Table("N", 9, 10);
    EXPECT_FALSE(EqualFiles(n10, n10));
}

TEST_F(StoredStructureTest, SubtableThatHoldsItselfEndsTheWalks)
{
    // A damaged definition whose subtable is the table itself.
    AddStored(FourCC("FIQz"), 1, TableDef({{"Loop", 7, 1}}));
    AddStored(FourCC("TFQz"), 1, Bytes(6, 0));
    TObjQz* a = Table("A", 1, 1);
    EXPECT_FALSE(EqualFiles(a, a));
    std::unique_ptr<TabCrit> d;
    EXPECT_EQ(_lirecrit(&d, 1), -199);
    ASSERT_NE(d, nullptr);
}

TEST_F(StoredStructureTest, DescriptionsAreCopiesWithTheirSubtables)
{
    AddStored(FourCC("FIQz"), 10, TableDef({{"Name", 0}, {"Lines", 7, 11}}, 20));
    AddStored(FourCC("FIQz"), 11, TableDef({{"Qty", 1}}, 21));
    AddStored(FourCC("TFQz"), 20, Bytes(6, 0));
    AddStored(FourCC("TFQz"), 21, Bytes(6, 0));
    Bytes params(78 + 14 * 2, 0);
    platform::WriteBE16(&params[0], 2);
    platform::WriteBE16(&params[78], 10);
    platform::WriteBE16(&params[92], 11);
    AddStored(FourCC("PRQz"), 0, params);
    useres(doc_.fResFile);
    ASSERT_EQ(Init_ef(), 0);
    ASSERT_EQ(ef.size(), 3u);
    EXPECT_EQ(ef[1].value10, -1);
    EXPECT_EQ(ef[1].description->TableNumber(), 1);
    EXPECT_EQ(ef[2].description->TableNumber(), 2);
    ASSERT_EQ(ef[1].description->subtables.size(), 2u);
    EXPECT_EQ(ef[1].description->subtables[0], nullptr);
    ASSERT_NE(ef[1].description->subtables[1], nullptr);
    EXPECT_NE(ef[1].description->formTable, nullptr);
    // The loaded resource itself keeps its table number.
    platform::Handle stored = xget1res(FourCC("FIQz"), 10);
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(platform::ReadBES16(reinterpret_cast<uint8_t*>(*stored) + 6), 9);
    DisposeTableRecords();
    EXPECT_EQ(hparam, nullptr);
    EXPECT_TRUE(ef.empty());
    // A missing form table stops there with the store's error.
    AddStored(FourCC("FIQz"), 12, TableDef({{"F", 0}}, 99));
    std::unique_ptr<TabCrit> d;
    EXPECT_NE(_lirecrit(&d, 12), 0);
    EXPECT_NE(d->def, nullptr);
    EXPECT_EQ(d->formTable, nullptr);
    // A missing definition stops at once; one of no fields has no subtables
    // even where an entry would follow.
    EXPECT_NE(_lirecrit(&d, 77), 0);
    EXPECT_EQ(d->def, nullptr);
    Bytes none = TableDef({{"Sub", 7, 11}}, 20);
    platform::WriteBE16(&none[0], 0);
    AddStored(FourCC("FIQz"), 13, none);
    ASSERT_EQ(_lirecrit(&d, 13), 0);
    EXPECT_TRUE(d->subtables.empty());
}

// A menu: title and items (text, method).
Bytes Menu(const std::string& title, const std::vector<std::pair<std::string, std::string>>& items)
{
    Bytes b(24 + 86 * items.size(), 0);
    platform::WriteBE16(&b[0], uint16_t(items.size()));
    apptest::ToP(title, &b[2]);
    for (size_t k = 0; k < items.size(); ++k) {
        apptest::ToP(items[k].first, &b[24 + 86 * k]);
        apptest::ToP(items[k].second, &b[24 + 86 * k + 32]);
    }
    return b;
}

Bytes Bar(const std::vector<int16_t>& menus)
{
    Bytes b(8 + 6 * menus.size(), 0);
    platform::WriteBE16(&b[0], uint16_t(menus.size()));
    for (size_t k = 0; k < menus.size(); ++k) platform::WriteBE16(&b[6 * (k + 1) + 6], uint16_t(menus[k]));
    return b;
}

TEST_F(StoredStructureTest, MenuBarsNeedExactNamesAndCollationEqualItems)
{
    AddStored(FourCC("MENQ"), 1, Menu("File", {{"Open", "DoOpen"}, {"Close", ""}}));
    AddStored(FourCC("MENQ"), 2, Menu("file", {{"OPEN", "doopen"}, {"close", ""}}));
    AddStored(FourCC("MENQ"), 3, Menu("File", {{"Open", "DoOpen"}, {"Quit", ""}}));
    AddStored(FourCC("BAQz"), 1, Bar({1}));
    AddStored(FourCC("BAQz"), 2, Bar({2}));
    AddStored(FourCC("BAQz"), 3, Bar({3}));
    AddStored(FourCC("BAQz"), 4, Bar({2}));
    useres(doc_.fResFile);
    xsetresname(FourCC("BAQz"), 1, PName("Main"), false);
    xsetresname(FourCC("BAQz"), 2, PName("Main"), false);
    xsetresname(FourCC("BAQz"), 3, PName("Main"), false);
    xsetresname(FourCC("BAQz"), 4, PName("MAIN"), false);
    TObjQz* m1 = Make(6, "File", 1);
    TObjQz* m2 = Make(6, "file", 2);
    TObjQz* m3 = Make(6, "File3", 3);
    EXPECT_TRUE(EqualMenu(m1, m2));
    EXPECT_FALSE(EqualMenu(m1, m3));
    // Titles that fill their 16-byte field exactly are read whole.
    AddStored(FourCC("MENQ"), 7, Menu(std::string(14, 't') + "a", {}));
    AddStored(FourCC("MENQ"), 8, Menu(std::string(14, 't') + "b", {}));
    AddStored(FourCC("MENQ"), 9, Menu(std::string(14, 't') + "a", {}));
    TObjQz* m7 = Make(6, "T7", 7);
    EXPECT_FALSE(EqualMenu(m7, Make(6, "T8", 8)));
    EXPECT_TRUE(EqualMenu(m7, Make(6, "T9", 9)));
    EXPECT_FALSE(EqualMenu(nullptr, m1));
    EXPECT_FALSE(EqualFiles(m1, nullptr));
    TObjQz* b2 = Make(5, "Main", 2);
    TObjQz* b3 = Make(5, "Main3", 3);
    TObjQz* b4 = Make(5, "MAIN", 4);
    TObjQz* b1 = Make(5, "Main1", 1);
    (void)b3;
    EXPECT_EQ(SearchEqualMBar(&doc_, b1), b2);
    EXPECT_EQ(SearchEqualMBar(&doc_, b4), b4);  // only itself: "MAIN" is not "Main"
}

TEST_F(DesignFixture, VariableNamePrefixes)
{
    apptest::ToP("$", stlocalvar);
    apptest::ToP("<>", stglobglob);
    unsigned char name[256];
    apptest::ToP("count", name);
    EXPECT_FALSE(IsLocalVarName(name));
    LocVar(name);
    EXPECT_EQ(P(name), "$count");
    EXPECT_TRUE(IsLocalVarName(name));
    GetLocTrueName(name);
    GlobGlobVar(name);
    EXPECT_EQ(P(name), "<>count");
    EXPECT_TRUE(IsGlobalVarName(name));
    GetGlobTrueName(name);
    EXPECT_EQ(P(name), "count");
    apptest::ToP(std::string(255, 'x'), name);
    LocVar(name);
    EXPECT_EQ(name[0], 255);
    EXPECT_EQ(name[1], '$');
    c2pStrCopy("text", name);
    EXPECT_EQ(P(name), "text");
    apptest::ToP("", stlocalvar);  // no prefix: no name is local
    EXPECT_FALSE(IsLocalVarName(name));
    apptest::ToP("$", stlocalvar);
}

}  // namespace
}  // namespace designtest

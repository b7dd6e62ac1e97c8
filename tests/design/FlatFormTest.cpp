// Forms in the older flat layouts link what their records name; a damaged
// form ends the walk with 9001 and keeps the links made before.
#include <functional>
#include <string>
#include <tuple>
#include <utility>

#include "design/links/ParseSupport.h"
#include "tests/design/FlatFormBytes.h"
#include "tests/design/ParseFixture.h"

namespace designtest {
namespace {

using docbuilder::Bytes;
using docbuilder::ByteWriter;

class FlatForm : public ParseFixture {
protected:
    void SetUp() override
    {
        ParseFixture::SetUp();
        t1 = Table("T1", 1, 10);
        f1 = Field(t1, "f1", 1);
        t2 = Table("T2", 2, 11);
        form = Form(t1, "Input", 30);
        Form(t2, "List", 31);
        Form(t2, "Detail", 32);
    }
    TFileObjQz *t1 = nullptr, *t2 = nullptr;
    TObjQz* f1 = nullptr;
    TLayoutObjQz* form = nullptr;
};

TEST_F(FlatForm, RecordsLinkWhatTheyName)
{
    TObjQz* bold = Make(12, "Bold", 1);
    TObjQz* balloon = Make(10, "Help", 4);
    TObjQz* second = Make(4, "Second", 6);
    TObjQz* third = Make(4, "Third", 7);
    Make(4, "First", 5);
    TObjQz* strings = Make(11, "Strings", 20000);
    TObjQz* bar = Make(5, "Bar", 3);
    AddStored(platform::FourCC("LIBA"), 0, {0, 2, 0xFF, 0xFF, 0, 3});
    Trailer fieldTrailer;
    fieldTrailer.balloon = 4;
    fieldTrailer.block = true;
    fieldTrailer.firstOn = false;
    fieldTrailer.lists[0] = 5, fieldTrailer.lists[1] = 6, fieldTrailer.lists[2] = 7;
    Trailer varTrailer;
    varTrailer.balloon = 4;
    const Bytes paged = FormBytes([&](ByteWriter& w) {
        FieldRecord(w, 1, 1, 12, "*Bold", fieldTrailer);
        TextRecord(w, ":20000,2");
        VariableRecord(w, "vv", -1, 0, 13, "", varTrailer);
        SubformRecord(w, -2, "List", "Detail");
    });
    AddStored(platform::FourCC("FOQz"), 30, paged);
    form->mbarNumber = -2;

    EXPECT_EQ(form->Parse(), 0);
    EXPECT_EQ(Uses(form), (std::vector<std::string>{"28:f1", "25:f1", "12:Bold", "10:Help", "4:Second", "4:Third",
                                                    "11:Strings", "9:<>vv", "25:<>vv", "24:List", "24:Detail",
                                                    "5:Bar"}));
    EXPECT_EQ(Uses(f1), (std::vector<std::string>{"4:Second", "4:Third"}));
    TObjQz* method = SearchListObj_Id(form->objMethods, 12);
    ASSERT_NE(method, nullptr);
    EXPECT_EQ(P(method->name), "f1");
    EXPECT_EQ(method->GetOwnerObj(), form);
    EXPECT_TRUE(method->TstFlag(kFlagParsed));
    TObjQz* var = SearchObj_Name(&doc_, 9, PName("<>vv"));
    ASSERT_NE(var, nullptr);
    EXPECT_EQ(var->id, 2);
    EXPECT_TRUE(Linked(var, balloon));
    (void)bold, (void)second, (void)third, (void)strings, (void)bar;

    // The oldest layout, the same records as one list without the header,
    // links the same objects.
    TLayoutObjQz* oldest = Form(t1, "Oldest", 33);
    AddStored(platform::FourCC("FOQz"), 33, Bytes(paged.begin() + 4, paged.end()));
    oldest->mbarNumber = -2;
    EXPECT_EQ(oldest->Parse(), 0);
    EXPECT_EQ(Uses(oldest), Uses(form));
}

// Variables of kinds 2 to 4 take their title from a string list; others
// show the text as it is.
TEST_F(FlatForm, OnlyVariablesOfKinds2To4LinkTheStringListOfTheirTitle)
{
    TObjQz* strings = Make(11, "Strings", 20000);
    for (const auto& [kind, linked] : {std::pair{1, false}, {5, false}, {2, true}}) {
        AddStored(platform::FourCC("FOQz"), int16_t(50 + kind), FormBytes([&, kind = kind](ByteWriter& w) {
                      VariableRecord(w, "v", 1, uint8_t(kind), 0, ":20000,1", Trailer());
                  }));
        EXPECT_EQ(form->GetForm(int16_t(50 + kind)), 0) << kind;
        EXPECT_EQ(Linked(form, strings), linked) << kind;
    }
}

// The link parsers read stored bytes up to exactly their end; menu-bar
// slots count from 1.
TEST_F(FlatForm, StoredBytesAreReadUpToExactlyTheirEnd)
{
    const uint8_t bytes[] = {0, 2, 0xFF, 0xFE, 3, 'a', 'b', 'c'};
    const ByteView v{bytes, sizeof bytes};
    int16_t s16 = 0;
    int32_t s32 = 0;
    uint8_t u8 = 0;
    EXPECT_TRUE(v.S16(6, &s16) && s16 == int16_t('b' << 8 | 'c'));
    EXPECT_TRUE(v.S32(4, &s32) && s32 == 0x03616263);
    EXPECT_TRUE(v.U8(7, &u8) && u8 == 'c');
    EXPECT_FALSE(v.S16(7, &s16) || v.S32(5, &s32) || v.U8(8, &u8));
    EXPECT_EQ(std::tuple(s16, s32, u8), std::tuple(int16_t('b' << 8 | 'c'), 0x03616263, uint8_t('c')));
    unsigned char text[8] = {0};
    EXPECT_TRUE(v.PStr(4, 4, text));
    EXPECT_EQ(std::string(reinterpret_cast<char*>(text), 4), "\x03" "abc");
    EXPECT_FALSE(v.PStr(4, 3, text)) << "no room for all three characters";
    EXPECT_FALSE((ByteView{bytes, 7}.PStr(4, 8, text))) << "characters past the end";
    EXPECT_FALSE(v.PStr(8, 8, text));

    AddStored(platform::FourCC("LIBA"), 0, {0, 2, 0, 7, 0, 9});
    for (const auto& [slot, bar] : {std::pair{0, 0}, {1, 7}, {2, 9}, {3, 0}, {-1, 0}})
        EXPECT_EQ(MenuBarIdOfSlot(slot), bar) << slot;
}

TEST_F(FlatForm, OtherDataAndDamagedRecordsGive9001)
{
    AddStored(platform::FourCC("FOQz"), 40, {12, 0, 0, 1, 0, 0});
    EXPECT_EQ(form->GetForm(40), 9001);
    AddStored(platform::FourCC("FOQz"), 41, FormBytes([](ByteWriter& w) { w.U16(0x0C00); }));
    EXPECT_EQ(form->GetForm(41), 9001);
    EXPECT_EQ(form->GetForm(99), -108);
    AddStored(platform::FourCC("FOQz"), 42, {'F', 'O', 'R', 'M', 0, 0, 0, 4, 'L', 'A', 'Y', 'O'});
    EXPECT_EQ(form->GetForm(42), 0);

    // A subform name longer than its record: 9001, the field before it kept.
    Bytes overlong = FormBytes([](ByteWriter& w) {
        FieldRecord(w, 1, 1, 0, "", Trailer());
        SubformRecord(w, -2, "List", "");
    });
    overlong[overlong.size() - 2 - 18] = 33;
    AddStored(platform::FourCC("FOQz"), 43, overlong);
    EXPECT_EQ(form->GetForm(43), 9001);
    EXPECT_TRUE(Linked(form, f1));

    // Records cut at every length stop without reading past the resource.
    Trailer t;
    t.balloon = 4;
    t.block = true;
    const Bytes whole = FormBytes([&](ByteWriter& w) {
        FieldRecord(w, 1, 1, 0, "*Bold", t);
        VariableRecord(w, "vv", 1, 3, 0, ":20000,1", t);
        TextRecord(w, "text");
    });
    for (size_t n = 0; n < whole.size() - 2; ++n) {
        const Bytes cut(whole.begin(), whole.begin() + std::ptrdiff_t(n));
        EXPECT_EQ(WalkFlatForm(form, cut.data(), cut.size()), 9001) << n;
    }
    EXPECT_EQ(WalkFlatForm(form, whole.data(), whole.size()), 0);
}

}  // namespace
}  // namespace designtest

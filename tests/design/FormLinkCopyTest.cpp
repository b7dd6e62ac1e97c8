// A form copied into another document names the destination's objects:
// ParseLinkIFFForm with a fake conflict list (source objects mapped to
// others of the same document, which stand for the destination's). Each
// case gives the chunks copied and the chunks expected, written by hand.
#include <cstring>
#include <functional>
#include <map>
#include <set>

#include "design/links/FormLinkLookups.h"
#include "forms/walkers/FormDestHooks.h"
#include "forms/walkers/ParseIFFForm.h"
#include "kernel/startup/KernelGlobals.h"
#include "tests/design/ChunkFormBytes.h"
#include "tests/design/ParseFixture.h"
#include "tests/forms/IffBytes.h"

namespace designtest {
namespace {

using Strings = std::vector<std::string>;

std::map<TObjQz*, TObjQz*> gCounterparts;

TObjQz* Counterpart(TObjQz* obj)
{
    const auto found = gCounterparts.find(obj);
    return found == gCounterparts.end() ? nullptr : found->second;
}

void InstallFakeDestinations()
{
    FormDestHooks hooks;
    hooks.destObj = [](C_ListRec*, TLayoutObjQz*, TLayoutObjQz*, TObjQz* obj) { return Counterpart(obj); };
    hooks.destForm = hooks.destObj;
    hooks.destRub = [](C_ListRec*, TLayoutObjQz*, TLayoutObjQz*, TObjQz* obj, int16_t* table, int16_t* field) {
        TObjQz* dest = Counterpart(obj);
        auto* owner = dest ? dynamic_cast<TFileObjQz*>(dest->GetOwnerObj()) : nullptr;
        *table = owner ? owner->tableNumber : int16_t(0);
        *field = dest && dest->kind == 29 ? static_cast<TFileObjQz*>(dest)->fieldNumber : dest ? dest->id : int16_t(0);
        return dest;
    };
    hooks.movePicture = [](TLayoutObjQz*, TLayoutObjQz*, int16_t id, int16_t* newId) {
        *newId = int16_t(id + 100);
        return int16_t(0);
    };
    SetFormDestHooks(hooks);
}

class FormLinkCopy : public ParseFixture {
protected:
    void SetUp() override
    {
        ParseFixture::SetUp();
        // The source: T1 (the copied form's table) and T2.
        auto* t1 = Table("T1", 1, 10);
        for (const char* name : {"f1", "f2", "f3"}) Field(t1, name, int16_t(name[1] - '0'));
        auto* sub = static_cast<TFileObjQz*>(NewCritObj(&doc_, 29, PName("Sub"), 12));
        sub->ownerObj = t1;
        sub->fieldNumber = 4;
        AddObjList(&t1->members, sub);
        auto* t2 = Table("T2", 2, 11);
        TObjQz* total = Field(t2, "Total", 1);
        source = Form(t1, "Input", 30);
        TObjQz* invoice = Form(t2, "Invoice", 31);
        Form(t2, "Detail", 32);
        // The destination: Bills, its fields and subtable, its forms.
        bills = Table("Bills", 7, 13);
        TObjQz* sum = nullptr;
        for (const char* name : {"a", "b", "Sum", "d", "e"}) {
            TObjQz* f = Field(bills, name, int16_t(bills->members ? bills->members->Size() + 1 : 1));
            if (std::strcmp(name, "Sum") == 0) sum = f;
        }
        auto* parts = static_cast<TFileObjQz*>(NewCritObj(&doc_, 29, PName("Parts"), 14));
        parts->ownerObj = bills;
        parts->fieldNumber = 6;
        AddObjList(&bills->members, parts);
        target = Form(bills, "Copy", 33);
        TObjQz* invoice2 = Form(bills, "Invoice2", 34);
        // T1 and its f1 have none; f3 becomes Sum too.
        gCounterparts = {{t2, bills}, {total, sum}, {t1->members->At(2), sum}, {sub, parts}, {invoice, invoice2}};
        auto map = [&](int16_t kind, const char* from, int16_t fromId, const char* to, int16_t toId) {
            gCounterparts[Make(kind, from, fromId)] = Make(kind, to, toId);
        };
        map(19, "Titles", 3, "Heads", 9);
        map(18, "Logo", 5, "Seal", 8);
        map(11, "Strings", 20000, "Texts", 20001);
        // Styles are named, not numbered: the counterpart bears the name.
        TObjQz* bold = Make(12, "Bold", 1);
        gCounterparts[bold] = bold;
        map(10, "Help", 4, "Help2", 14);
        map(4, "First", 5, "L15", 15);
        map(4, "Second", 6, "L16", 16);
        map(4, "Third", 7, "L17", 17);
        Make(19, "Spare", 4);
        std::memcpy(stseparateur, "\x01;", 2);
        InstallFormLinkLookups();
        InstallFakeDestinations();
    }
    void TearDown() override
    {
        ResetFormDestHooks();
        gCounterparts.clear();
        ParseFixture::TearDown();
    }

    // The copy of `bytes`: its image (empty when the walk failed) and the
    // target's links, which are then undone.
    std::pair<Bytes, Strings> Copy(const Bytes& bytes, int16_t expect = 0)
    {
        platform::Handle in = ifftest::HandleOf(bytes);
        platform::Handle out = platform::NewHandle(0);
        EXPECT_EQ(ParseLinkIFFForm(in, out, target, source, nullptr), expect);
        Bytes written(reinterpret_cast<uint8_t*>(*out), reinterpret_cast<uint8_t*>(*out) + platform::GetHandleSize(out));
        platform::DisposeHandle(in);
        platform::DisposeHandle(out);
        Strings uses = Uses(target);
        while (target->uses && target->uses->Size()) XDelRef(target, target->uses->At(0));
        return {written, uses};
    }

    TFileObjQz* bills = nullptr;
    TLayoutObjQz *source = nullptr, *target = nullptr;
};

void Font(B& b, int16_t styleSheet) { Chunk(b, "FONT", [&](B& d) { d.W(3).W(12).W(0).W(0).W(uint16_t(styleSheet)).W(12); }); }
void Picture(B& b, int16_t id) { Chunk(b, "SPIC", [&](B& d) { d.W(0).W(0).W(9).W(9).W(uint16_t(id)).P("Logo").P("").U8(0); }); }

TEST_F(FormLinkCopy, EachReferenceNamesTheDestinationsObjectOrTakesItsRule)
{
    struct Case {
        const char* what;
        std::function<void(B&)> in, out;
        Strings uses;
    };
    auto text = [](std::string t) { return [t](B& b) { TextChunk(b, t); }; };
    const std::vector<Case> cases = {
        {"field reference by names", text("<?[T2]Total>"), text("<?[Bills]Sum>"), {"28:Sum"}},
        {"field reference by numbers", text("<?[2]1>"), text("<?[7]3>"), {"28:Sum"}},
        {"own table, field by name", text("<?f3>"), text("<?[7]Sum>"), {"28:Sum"}},
        {"field without counterpart removed", text("<?[T1]f1> and <?[2]1>"), text(" and <?[7]3>"), {"28:Sum"}},
        {"no table settled", text("<?[T9]x>!"), text("<?>!"), {}},
        {"numbers past any table or field", text("<?[99999999999999999999]1><?[2]99999999999999999999>"), text("<?>"),
         {}},
        {"not first: not looked into", text("x<?[2]1>"), text("x<?[2]1>"), {}},
        {"string list item", text(":20000,2"), text(":20001,2"), {"11:Texts"}},
        {"no index: no string list", text(":20000"), text(":20000"), {}},
        {"inherited form, flags block and last byte kept", [](B& b) { Flag(b, 2, "Invoice"); },
         [](B& b) { Flag(b, 7, "Invoice2"); }, {"1:Bills", "24:Invoice2"}},
        {"inherited form of a table without counterpart", [](B& b) { Flag(b, 1, "Input"); },
         [](B& b) { Flag(b, 1, "Input"); }, {}},
        {"older font written whole", [](B& b) { Chunk(b, "FONT", [](B& d) { d.W(3).W(12).W(0).W(0); }); },
         [](B& b) { Chunk(b, "FONT", [](B& d) { d.W(3).W(12).W(0).W(0).W(0xFFFF).W(0); }); }, {}},
        {"style sheet", [](B& b) { Font(b, 3); }, [](B& b) { Font(b, 9); }, {"19:Heads"}},
        {"style sheet without counterpart", [](B& b) { Font(b, 4); }, [](B& b) { Font(b, -1); }, {}},
        {"static picture", [](B& b) { Picture(b, 5); }, [](B& b) { Picture(b, 8); }, {"18:Seal"}},
        {"subform: list form absent there", [](B& b) { Subform(b, -2, "Invoice", "Detail"); },
         [](B& b) { Subform(b, -7, "Invoice", ""); }, {"1:Bills", "24:Invoice2"}},
        {"subform of a subtable", [](B& b) { Subform(b, 4, "", ""); }, [](B& b) { Subform(b, 6, "", ""); }, {"29:Parts"}},
        {"subform of a table without counterpart", [](B& b) { Subform(b, -1, "Input", ""); },
         [](B& b) { Subform(b, 0, "Input", ""); }, {}},
        {"field: lists, tip, method, style; an unset choice list kept",
         [](B& b) { Satt(b, 5, false, 6, 7); FieldChunk(b, 3, 0, 4, 12, "*Bold"); },
         [](B& b) { Satt(b, 5, false, 16, 17); FieldChunk(b, 3, 0, 14, 12, "*Bold"); },
         {"28:Sum", "25:Sum", "12:Bold", "10:Help2", "4:L16", "4:L17"}},
        {"field of another table, its set choice list", [](B& b) { Satt(b, 5, true, -1, -1); FieldChunk(b, 1, 2); },
         [](B& b) { Satt(b, 15, true, -1, -1); FieldChunk(b, 3, 7); }, {"28:Sum", "4:L15"}},
        {"field without counterpart: zeros, entry attributes as stored",
         [](B& b) { Satt(b, 5, true, 6, -1); FieldChunk(b, 2, 0, 4); },
         [](B& b) { Satt(b, 5, true, 6, -1); FieldChunk(b, 0, 0, 4); }, {}},
        {"entry attributes followed by nothing are dropped", [](B& b) { Satt(b, 5, true, -1, -1); }, [](B&) {}, {}},
        {"picture button", [](B& b) { VarChunk(b, "vB", false, 17, "a;b;?5;d"); },
         [](B& b) { VarChunk(b, "vB", false, 17, "a;b;?8;d"); }, {"9:vB", "18:Seal"}},
        {"picture button naming a resource: copied", [](B& b) { VarChunk(b, "vB", false, 27, "a;b;5;d"); },
         [](B& b) { VarChunk(b, "vB", false, 27, "a;b;105;d"); }, {"9:vB"}},
        {"picture of types 18 to 20 linked, not renumbered", [](B& b) { VarChunk(b, "vC", false, 18, "a;?5;c;d"); },
         [](B& b) { VarChunk(b, "vC", false, 18, "a;?5;c;d"); }, {"9:vC", "18:Seal"}},
        {"button title from a string list", [](B& b) { VarChunk(b, "vA", false, 2, ":20000,1"); },
         [](B& b) { VarChunk(b, "vA", false, 2, ":20001,1"); }, {"9:vA", "11:Texts"}},
        {"variable's tip and entry attributes",
         [](B& b) { Satt(b, 7, true, -1, -1); VarChunk(b, "vv", true, 0, "", 4, 13); },
         [](B& b) { Satt(b, 17, true, -1, -1); VarChunk(b, "vv", true, 0, "", 14, 13); },
         {"9:<>vv", "25:<>vv", "10:Help2", "4:L17"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto [written, uses] = Copy(ChunkForm(false, c.in));
        EXPECT_EQ(written, ChunkForm(false, c.out));
        EXPECT_EQ(uses, c.uses);
    }
}

TEST_F(FormLinkCopy, TheCopysLinksAreWhatItsImageNamesWhenParsedAgain)
{
    const Bytes bytes = ChunkForm(false, [](B& b) {
        Flag(b, 2, "Invoice");
        Font(b, 3);
        Picture(b, 5);
        TextChunk(b, "<?[T2]Total> <?[2]1> <?[T9]x>");
        TextChunk(b, ":20000,3");
        Subform(b, 4, "", "");
        Satt(b, 5, true, 6, 7);
        FieldChunk(b, 3, 0, 4, 12, "*Bold");
        VarChunk(b, "vB", false, 17, "a;b;?5;d", 4);
        ListBox(b, "alLines", 1, 21, {{"alA", "hA", 22}});
    });
    const auto [written, uses] = Copy(bytes);
    ASSERT_FALSE(written.empty());
    platform::Handle again = ifftest::HandleOf(written);
    ASSERT_EQ(ParseIFFForm(again, target), 0);
    platform::DisposeHandle(again);
    const Strings reparsed = Uses(target);
    EXPECT_EQ(std::set<std::string>(uses.begin(), uses.end()), std::set<std::string>(reparsed.begin(), reparsed.end()));
    EXPECT_EQ(uses.size(), 19u);
}

TEST_F(FormLinkCopy, AnImageItCannotWriteGivesAnEmptyOutput)
{
    // The other byte order is refused by a rewriting walk, as is a cut
    // image; an output handle is needed.
    EXPECT_TRUE(Copy(ChunkForm(true, [](B& b) { TextChunk(b, "<?[2]1>"); }), kFormWalkFailed).first.empty());
    Bytes cut = ChunkForm(false, [](B& b) { TextChunk(b, "<?[2]1>"); });
    cut.resize(cut.size() - 3);
    EXPECT_TRUE(Copy(cut, kFormWalkFailed).first.empty());
    platform::Handle in = ifftest::HandleOf(ChunkForm(false, [](B& b) { TextChunk(b, "x"); }));
    EXPECT_EQ(ParseLinkIFFForm(in, nullptr, target, source, nullptr), kFormWalkFailed);
    platform::DisposeHandle(in);
}

}  // namespace
}  // namespace designtest

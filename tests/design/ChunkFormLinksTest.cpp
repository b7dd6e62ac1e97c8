// Forms stored as chunk files link what their chunks name. The chunks are
// written here by hand, field by field, in either byte order; a form that
// cannot be read ends the walk with 9001 and keeps the links made before.
#include <cstring>
#include <functional>
#include <set>
#include <tuple>

#include "design/links/FormLinkLookups.h"
#include "platform/core/Faults.h"
#include "forms/walkers/ParseIFFForm.h"
#include "kernel/startup/KernelGlobals.h"
#include "tests/design/ChunkFormBytes.h"
#include "tests/design/ParseFixture.h"
#include "tests/forms/IffBytes.h"

namespace designtest {
namespace {

using ifftest::B;
using ifftest::Bytes;

class ChunkFormLinks : public ParseFixture {
protected:
    void SetUp() override
    {
        ParseFixture::SetUp();
        t1 = Table("T1", 1, 10);
        for (const char* name : {"f1", "f2", "f3"}) Field(t1, name, int16_t(name[1] - '0'));
        sub = static_cast<TFileObjQz*>(NewCritObj(&doc_, 29, PName("Sub"), 12));
        sub->ownerObj = t1;
        sub->fieldNumber = 4;
        AddObjList(&t1->members, sub);
        t2 = Table("T2", 2, 11);
        total = Field(t2, "Total", 1);
        form = Form(t1, "Input", 30);
        Form(t2, "Invoice", 31);
        Form(t2, "Detail", 32);
        Make(19, "Titles", 3), Make(18, "Logo", 5), Make(11, "Strings", 20000), Make(12, "Bold", 1);
        Make(10, "Help", 4), Make(4, "First", 5), Make(4, "Second", 6), Make(4, "Third", 7), Make(8, "Plug", 2);
        std::memcpy(stseparateur, "\x01;", 2);
        InstallFormLinkLookups();
    }

    // The form object's links after walking `bytes`.
    std::vector<std::string> Walk(const Bytes& bytes, int16_t expect = 0)
    {
        platform::Handle h = ifftest::HandleOf(bytes);
        EXPECT_EQ(ParseIFFForm(h, form), expect);
        platform::DisposeHandle(h);
        std::vector<std::string> uses = Uses(form);
        XRefs(form);
        return uses;
    }

    // Unlinks the form, so that the next case starts afresh.
    void XRefs(TObjQz* obj)
    {
        while (obj->uses && obj->uses->Size()) XDelRef(obj, obj->uses->At(0));
    }

    TFileObjQz *t1 = nullptr, *t2 = nullptr, *sub = nullptr;
    TObjQz* total = nullptr;
    TLayoutObjQz* form = nullptr;
};

TEST_F(ChunkFormLinks, EachChunkLinksWhatItNames)
{
    using Strings = std::vector<std::string>;
    struct Case {
        const char* what;
        std::function<void(B&)> chunks;
        Strings uses;
    };
    const std::vector<Case> cases = {
        {"inherited form", [](B& b) { Flag(b, 2, "Invoice"); }, {"1:T2", "24:Invoice"}},
        {"no inherited form", [](B& b) { Flag(b, 0, "Invoice"); }, {}},
        {"style sheet", [](B& b) { Chunk(b, "FONT", [](B& d) { d.W(3).W(12).W(0).W(0).W(3).W(12); }); }, {"19:Titles"}},
        {"no style sheet", [](B& b) { Chunk(b, "FONT", [](B& d) { d.W(3).W(12).W(0).W(0).W(0xFFFF).W(0); }); }, {}},
        {"older font", [](B& b) { Chunk(b, "FONT", [](B& d) { d.W(3).W(12).W(0).W(0); }); }, {}},
        {"static picture", [](B& b) { Chunk(b, "SPIC", [](B& d) { d.W(0).W(0).W(9).W(9).W(5).P("Logo").P("").U8(0); }); },
         {"18:Logo"}},
        {"string list", [](B& b) { TextChunk(b, ":20000,2"); }, {"11:Strings"}},
        {"no index", [](B& b) { TextChunk(b, ":20000"); }, {}},
        {"not first", [](B& b) { TextChunk(b, "x<vTotal>"); }, {}},
        {"variable", [](B& b) { TextChunk(b, "<vTotal>"); }, {"9:vTotal"}},
        {"fields by name and number", [](B& b) { TextChunk(b, "<?[T2]Total> <?[2]1> <?f3> <?[T9]x> <?[1]9>"); },
         {"28:Total", "28:f3"}},
        {"subform of a table", [](B& b) { Subform(b, -2, "Invoice", "Detail"); }, {"1:T2", "24:Invoice", "24:Detail"}},
        {"subform of a subtable", [](B& b) { Subform(b, 4, "Invoice", ""); }, {"29:Sub"}},
        {"subform of nothing", [](B& b) { Subform(b, 0, "Invoice", "Detail"); }, {}},
        {"field with its method, style, tip and lists",
         [](B& b) {
             Satt(b, 5, false, 6, 7);
             FieldChunk(b, 3, 0, 4, 12, "*Bold");
         },
         {"28:f3", "25:f3", "12:Bold", "10:Help", "4:Second", "4:Third"}},
        {"a choice list that is set", [](B& b) { Satt(b, 5, true, -1, -1); FieldChunk(b, 1, 2); }, {"28:Total", "4:First"}},
        {"entry attributes of a missing field", [](B& b) { Satt(b, 5, true, -1, -1); FieldChunk(b, 9, 0); }, {}},
        {"variable with a string-list title", [](B& b) { VarChunk(b, "vA", false, 2, ":20000,1"); },
         {"9:vA", "11:Strings"}},
        {"picture button title", [](B& b) { VarChunk(b, "vB", false, 17, "a;b;?5;d"); }, {"9:vB", "18:Logo"}},
        {"picture in the wrong part", [](B& b) { VarChunk(b, "vB", false, 17, "a;?5;c;d"); }, {"9:vB"}},
        {"plug-in area", [](B& b) { VarChunk(b, "vP", false, 11, "Plug"); }, {"8:Plug", "9:vP"}},
        {"interprocess variable, method, tip",
         [](B& b) {
             Satt(b, 7, true, -1, -1, "*Bold");
             VarChunk(b, "vv", true, 0, "", 4, 13);
         },
         {"9:<>vv", "25:<>vv", "10:Help", "4:Third", "12:Bold"}},
        {"interprocess variable named with its prefix", [](B& b) { VarChunk(b, "<>vw", true, 0, ""); }, {"9:<>vw"}},
    };
    for (bool little : {false, true})
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (little ? " (reversed)" : ""));
            EXPECT_EQ(Walk(ChunkForm(little, c.chunks)), c.uses);
        }
}

TEST_F(ChunkFormLinks, FieldsAndVariablesLinkTheirOwnListsAndTips)
{
    const Bytes bytes = ChunkForm(false, [](B& b) {
        Satt(b, 5, true, 6, -1);
        FieldChunk(b, 2, 1);
        Satt(b, 7, false, -1, 7);
        VarChunk(b, "vC", false, 0, "", 4);
    });
    platform::Handle h = ifftest::HandleOf(bytes);
    ASSERT_EQ(ParseIFFForm(h, form), 0);
    // Twice: every link once.
    ASSERT_EQ(ParseIFFForm(h, form), 0);
    platform::DisposeHandle(h);
    TObjQz* f2 = SearchListObj_Name(t1->members, PName("f2"));
    TObjQz* vc = SearchObj_Name(&doc_, 9, PName("vC"));
    EXPECT_EQ(Uses(form), (std::vector<std::string>{"28:f2", "4:First", "4:Second", "9:vC", "10:Help", "4:Third"}));
    EXPECT_EQ(Uses(f2), (std::vector<std::string>{"4:First", "4:Second"}));
    EXPECT_EQ(Uses(vc), (std::vector<std::string>{"10:Help", "4:Third"}));
}

TEST_F(ChunkFormLinks, ListBoxesLinkTheirVariablesAndColumnMethods)
{
    using Strings = std::vector<std::string>;
    for (bool little : {false, true}) {
        SCOPED_TRACE(little ? "reversed" : "big-endian");
        const Bytes bytes = ChunkForm(little, [](B& b) {
            ListBox(b, "alLines", 2, 14, {{"alA", "hA", 15}, {"alB", "hB", 0}});
            TextChunk(b, "<vTotal>");  // read after the columns
            ListBox(b, "alOther", 1, 0, {});
        });
        EXPECT_EQ(Walk(bytes), (Strings{"21:alLines", "25:<>alLines", "21:hA", "21:alA", "25:alA", "21:hB", "21:alB",
                                        "9:vTotal", "21:alOther"}));
    }
    // Kept with the variables: the interprocess one under id 2, the others 1.
    ObjListHdl variables = doc_.fTypeList->lists[8];
    ASSERT_NE(variables, nullptr);
    std::set<std::string> listBoxes;
    for (int32_t i = 0; i < variables->Size(); ++i)
        if (variables->At(i)->kind == 21) listBoxes.insert(P(variables->At(i)->name) + "/" + std::to_string(variables->At(i)->id));
    EXPECT_EQ(listBoxes, (std::set<std::string>{"alLines/2", "hA/1", "alA/1", "hB/1", "alB/1", "alOther/1"}));
    // The methods are the form's.
    ASSERT_NE(form->objMethods, nullptr);
    EXPECT_NE(SearchListObj_Id(form->objMethods, 15), nullptr);
}

TEST_F(ChunkFormLinks, AFormThatCannotBeReadGives9001AndKeepsItsLinks)
{
    AddStored(platform::FourCC("FOQz"), 40, {});
    EXPECT_EQ(form->GetForm(40), 9001);
    // The field chunk ends inside its display format.
    Bytes cut = ChunkForm(false, [](B& b) {
        Flag(b, 2, "Invoice");
        Chunk(b, "FILD", [](B& d) { d.W(0).W(0).W(0).W(0).U8(0).U8(0).W(0).W(0).W(0).U8(9).Raw("ab"); });
        TextChunk(b, "<vLater>");
    });
    AddStored(platform::FourCC("FOQz"), 41, cut);
    EXPECT_EQ(form->GetForm(41), 9001);
    EXPECT_EQ(Uses(form), (std::vector<std::string>{"1:T2", "24:Invoice"}));
    // A form whose own size passes the resource.
    cut.resize(cut.size() - 2);
    AddStored(platform::FourCC("FOQz"), 42, cut);
    EXPECT_EQ(form->GetForm(42), 9001);
    // A text whose length passes its chunk.
    AddStored(platform::FourCC("FOQz"), 43, ChunkForm(false, [](B& b) {
                  Chunk(b, "TEXT", [](B& d) { d.W(0).W(0).W(0).W(0).Zeros(8).U8(0).L(0x7FFFFFFF).Raw("<vX>"); });
              }));
    EXPECT_EQ(form->GetForm(43), 9001);
    EXPECT_EQ(SearchObj_Name(&doc_, 9, PName("vX")), nullptr);
}

TEST_F(ChunkFormLinks, MemoryRunningOutAnswers108AndLinksBothWaysOrNot)
{
    const Bytes bytes = ChunkForm(false, [](B& b) {
        Flag(b, 2, "Invoice");
        Satt(b, 5, true, 6, 7);
        FieldChunk(b, 3, 0, 4, 12, "*Bold");
        VarChunk(b, "vNew", false, 0, "", 4, 13);
        TextChunk(b, "<vOther>");
    });
    AddStored(platform::FourCC("FOQz"), 50, bytes);
    bool failed = false;
    for (int32_t after = 0; after < 200; ++after) {
        platform::InjectFault(platform::FaultKind::Allocation, after);
        const int16_t result = form->GetForm(50);
        const bool fired = !platform::IsFaultArmed(platform::FaultKind::Allocation);
        platform::ClearAllFaults();
        EXPECT_TRUE(result == 0 || result == -108) << after << ": " << result;
        failed = failed || result == -108;
        for (int32_t i = 0; form->uses && i < form->uses->Size(); ++i)
            EXPECT_TRUE(IsInList(form->uses->At(i)->usedBy, form)) << after;
        if (!fired) break;
    }
    EXPECT_TRUE(failed);
    // Then whole: every link once, whatever order the failed walks left.
    EXPECT_EQ(form->GetForm(50), 0);
    const std::vector<std::string> uses = Uses(form);
    EXPECT_EQ(std::set<std::string>(uses.begin(), uses.end()),
              (std::set<std::string>{"1:T2", "24:Invoice", "28:f3", "25:f3", "12:Bold", "10:Help", "4:First", "4:Second",
                                     "4:Third", "9:vNew", "25:vNew", "9:vOther"}));
    EXPECT_EQ(uses.size(), 12u);
}

}  // namespace
}  // namespace designtest

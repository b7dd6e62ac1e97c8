// The walkers that rename, replace, search and move to string lists the
// texts and names inside stored forms, with the design layer's hooks. Each
// rewrite is checked byte for byte against the form written anew with the
// changed fields: every other byte must come out as stored.
#include <cstring>
#include <functional>
#include <set>

#include "design/forms/FormRewriteLookups.h"
#include "design/links/FormLinkLookups.h"
#include "forms/layout/PageTable.h"
#include "forms/objects/LayoutObject.h"
#include "forms/reader/FormReader.h"
#include "forms/walkers/FormRewriters.h"
#include "kernel/startup/KernelGlobals.h"
#include "tests/design/ChunkFormBytes.h"
#include "tests/design/ListedForm.h"
#include "tests/design/ParseFixture.h"

namespace designtest {
namespace {

using Chunks = std::function<void(B&)>;
using Walk = std::function<int16_t(platform::Handle, platform::Handle)>;

Bytes Image(const Chunks& chunks) { return ChunkForm(false, chunks); }

class FormRewriters : public ParseFixture {
protected:
    void SetUp() override
    {
        ParseFixture::SetUp();
        customers = Table("Customers", 1, 10);
        invoices = Table("Invoices", 2, 11);
        entry = ParseFixture::Form(customers, "Entry", 30);
        ParseFixture::Form(invoices, "Entry", 31);
        std::memcpy(stseparateur, "\x01;", 2);
        InstallFormLinkLookups();
        InstallFormRewriteHooks();
    }

    struct Out {
        int16_t result;
        Bytes bytes;
    };
    static Out Run(const Bytes& in, const Walk& walk)
    {
        platform::Handle source = ifftest::HandleOf(in), output = ifftest::HandleOf({7, 7});
        Out out{walk(source, output), ifftest::BytesOf(output)};
        EXPECT_EQ(ifftest::BytesOf(source), in) << "the source is never changed";
        platform::DisposeHandle(source);
        platform::DisposeHandle(output);
        return out;
    }
    Out Rename(const Bytes& in, int16_t kind, const std::string& from, const std::string& to, TObjQz* owner = nullptr)
    {
        return Run(in, [&](platform::Handle s, platform::Handle o) {
            return ReplaceInIFFLayOut(s, o, kind, PName(from), PName(to), entry, owner);
        });
    }
    static Out Replace(const Bytes& in, const std::string& find, const std::string& by, int32_t* leftWhole = nullptr)
    {
        return Run(in, [&](platform::Handle s, platform::Handle o) {
            return ReplaceTxtIFF(s, o, PName(find), PName(by), leftWhole);
        });
    }
    static uint8_t Search(const Bytes& in, const std::string& text, int16_t mode)
    {
        platform::Handle h = ifftest::HandleOf(in);
        const uint8_t found = SearchTxtIFF(h, text.c_str(), mode);
        platform::DisposeHandle(h);
        return found;
    }
    TObjQz* Method(int16_t id, const std::string& name)
    {
        if (!entry->objMethods) NewObjList(&entry->objMethods, 4);
        return NewListObj_Id(&doc_, &entry->objMethods, 25, PName(name), id, false);
    }

    TFileObjQz *customers = nullptr, *invoices = nullptr;
    TLayoutObjQz* entry = nullptr;
};

struct RenameCase {
    const char* what;
    int16_t kind;
    const char *from, *to;
    Chunks in, out;  // out null: the form comes out as it went in
};

TEST_F(FormRewriters, RenamingRewritesOnlyWhatNamesTheRenamedObject)
{
    const std::string longName = "vA_name_of_eleven";
    const std::vector<RenameCase> cases = {
        {"table in a field reference", 1, "Customers", "Clients", [](B& b) { TextChunk(b, "<?[Customers]Name>"); },
         [](B& b) { TextChunk(b, "<?[Clients]Name>"); }},
        {"table by number, field of the old name", 1, "Customers", "Clients",
         [](B& b) { TextChunk(b, "<?[1]Name> <?[Customers]Customers>"); },
         [](B& b) { TextChunk(b, "<?[1]Name> <?[Clients]Customers>"); }},
        {"variable after a field reference", 9, "vCustomer_Count", "vCount",
         [](B& b) { TextChunk(b, "<?[Customers]Name>: <vCustomer_Count>"); },
         [](B& b) { TextChunk(b, "<?[Customers]Name>: <vCount>"); }},
        {"a text not beginning with <", 9, "vCustomer_Count", "vCount",
         [](B& b) { TextChunk(b, "Count: <vCustomer_Count>"); }, nullptr},
        {"a variable of another name", 9, "vA", "vB", [](B& b) { TextChunk(b, "<vAB>"); }, nullptr},
        {"variable object, its room grown", 9, "vA", "vA_longer_name",
         [](B& b) { VarChunk(b, "vA", false, 0, "", 0, 0); }, [](B& b) { VarChunk(b, "vA_longer_name", false, 0, ""); }},
        {"variable object, its room kept", 9, longName.c_str(), "vB",
         [&](B& b) { VarChunk(b, longName, false, 0, ""); }, [](B& b) { VarChunk(b, "vB", false, 0, "", 0, 0, 18); }},
        {"interprocess, the prefix kept", 9, "<>vv", "<>ww", [](B& b) { VarChunk(b, "vv", true, 0, ""); },
         [](B& b) { VarChunk(b, "ww", true, 0, ""); }},
        {"interprocess made process", 9, "<>vv", "ww", [](B& b) { VarChunk(b, "vv", true, 0, ""); },
         [](B& b) { VarChunk(b, "ww", false, 0, ""); }},
        {"process made interprocess", 9, "vv", "<>ww", [](B& b) { VarChunk(b, "vv", false, 0, ""); },
         [](B& b) { VarChunk(b, "ww", true, 0, ""); }},
        {"an interprocess one is not the process one", 9, "vv", "ww", [](B& b) { VarChunk(b, "vv", true, 0, ""); },
         nullptr},
        {"subform's list form alone", 24, "Entry", "Input", [](B& b) { Subform(b, -2, "Entry", "Detail"); },
         [](B& b) { Subform(b, -2, "Input", "Detail"); }},
        {"subform's detail form alone", 24, "Entry", "Input", [](B& b) { Subform(b, -2, "List", "Entry"); },
         [](B& b) { Subform(b, -2, "List", "Input"); }},
        {"inherited form", 24, "Entry", "Input", [](B& b) { Flag(b, 1, "Entry", "Text"); },
         [](B& b) { Flag(b, 1, "Input", "Text"); }},
        {"no inherited form", 24, "Entry", "Input", [](B& b) { Flag(b, 0, "Entry"); }, nullptr},
        {"style in an entry filter", 12, "Bold", "Heavy", [](B& b) { Satt(b, 5, true, -1, -1, "*Bold"); },
         [](B& b) { Satt(b, 5, true, -1, -1, "*Heavy"); }},
        {"style in a field's format", 12, "Bold", "Heavy", [](B& b) { FieldChunk(b, 1, 0, 0, 0, "*Bold"); },
         [](B& b) { FieldChunk(b, 1, 0, 0, 0, "*Heavy"); }},
        {"style in a variable's format", 12, "Bold", "Heavy", [](B& b) { VarChunk(b, "v", false, 0, "*Bold"); },
         [](B& b) { VarChunk(b, "v", false, 0, "*Heavy"); }},
        // A format whose text behind its first character happens to be the
        // style's name names no style.
        {"a format without the mark", 12, "Bold", "Heavy", [](B& b) { FieldChunk(b, 1, 0, 0, 0, "#Bold"); }, nullptr},
        {"another style", 12, "Bold", "Heavy", [](B& b) { VarChunk(b, "v", false, 0, "*Boldly"); }, nullptr},
        {"list box column variable", 21, "alA", "alZ",
         [](B& b) { ListBox(b, "alLines", 2, 0, {{"alA", "hA", 0}, {"alB", "alA", 0}}); },
         [](B& b) { ListBox(b, "alLines", 2, 0, {{"alZ", "hA", 0}, {"alB", "alZ", 0}}); }},
        {"interprocess list box variable", 9, "<>alLines", "<>alAll", [](B& b) { ListBox(b, "alLines", 2, 0, {}); },
         [](B& b) { ListBox(b, "alAll", 2, 0, {}); }},
        {"process variable of an interprocess list box", 9, "alLines", "alAll",
         [](B& b) { ListBox(b, "alLines", 2, 0, {}); }, nullptr},
        // A list box is renamed after variables only.
        {"a form named like a list box", 24, "alLines", "Other", [](B& b) { ListBox(b, "alLines", 1, 0, {}); },
         nullptr},
        {"a table named like a variable", 1, "vA", "vB", [](B& b) { TextChunk(b, "<vA>"); }, nullptr},
    };
    for (const RenameCase& c : cases) {
        SCOPED_TRACE(c.what);
        const Out out = Rename(Image(c.in), c.kind, c.from, c.to);
        EXPECT_EQ(out.result, 0);
        EXPECT_EQ(out.bytes, Image(c.out ? c.out : c.in));
    }
}

TEST_F(FormRewriters, RenamedVariablesTakeTheirObjectMethodsWithThem)
{
    TObjQz* varMethod = Method(13, "<>vv");
    TObjQz* boxMethod = Method(14, "alLines");
    TObjQz* columnMethod = Method(15, "<>alA");
    TObjQz* untouched = Method(16, "hA");
    Rename(Image([](B& b) { VarChunk(b, "vv", true, 0, "", 0, 13); }), 9, "<>vv", "<>ww");
    Rename(Image([](B& b) { ListBox(b, "alLines", 1, 14, {{"alA", "hA", 15}}); }), 21, "alLines", "alAll");
    Rename(Image([](B& b) { ListBox(b, "alLines", 1, 14, {{"alA", "hA", 15}}); }), 21, "alA", "alZ");
    EXPECT_EQ(P(varMethod->name), "<>ww");
    EXPECT_EQ(P(boxMethod->name), "alAll");
    EXPECT_EQ(P(columnMethod->name), "alZ");
    EXPECT_EQ(P(untouched->name), "hA");
}

TEST_F(FormRewriters, AFormIsRenamedOnlyWhereItsOwnTableNamesIt)
{
    // Customers holds form 1's Entry, Invoices another Entry.
    const Bytes in = Image([](B& b) {
        Subform(b, -1, "Entry", "Entry");
        Subform(b, -2, "Entry", "List");
        Flag(b, 2, "Entry");
    });
    EXPECT_EQ(Rename(in, 24, "Entry", "Input", customers).bytes, Image([](B& b) {
                  Subform(b, -1, "Input", "Input");
                  Subform(b, -2, "Entry", "List");
                  Flag(b, 2, "Entry");
              }));
    EXPECT_EQ(Rename(in, 24, "Entry", "Input", invoices).bytes, Image([](B& b) {
                  Subform(b, -1, "Entry", "Entry");
                  Subform(b, -2, "Input", "List");
                  Flag(b, 2, "Input");
              }));
}

TEST_F(FormRewriters, ReplacingKeepsTextsWithinWhatTheirFieldsHold)
{
    const std::string x252(252, 'x');
    const std::vector<RenameCase> cases = {
        {"every occurrence, the chunk longer", 0, "ab", "xyz", [](B& b) { TextChunk(b, "ab-ab-ab"); },
         [](B& b) { TextChunk(b, "xyz-xyz-xyz"); }},
        {"a group box", 0, "ab", "c", [](B& b) { Chunk(b, "GRPB", [](B& d) { d.Zeros(17).L(2).Raw("ab").P("G"); }); },
         [](B& b) { Chunk(b, "GRPB", [](B& d) { d.Zeros(17).L(1).Raw("c").P("G"); }); }},
        {"a static text past 255", 0, "ab", "abc", [&](B& b) { TextChunk(b, "ab" + x252 + "ab"); },
         [&](B& b) { TextChunk(b, "abc" + x252 + "abc"); }},
        {"a button title", 0, "ab", "xyz", [](B& b) { VarChunk(b, "ab", false, 2, "ab"); },
         [](B& b) { VarChunk(b, "ab", false, 2, "xyz"); }},
        {"a type-5 title", 0, "ab", "xyz", [](B& b) { VarChunk(b, "v", false, 5, "ab"); }, nullptr},
        {"the form text, not the size object", 0, "ab", "xyz", [](B& b) { Flag(b, 0, "ab", "ab", "ab"); },
         [](B& b) { Flag(b, 0, "ab", "xyz", "ab"); }},
        // Titles a Str255 cannot carry whole stay as they are.
        {"a column title past 255", 0, "ab", "x",
         [&](B& b) { ListBox(b, "al", 1, 0, {{"c", "h", 0}}, {"ab" + std::string(300, 'y')}); }, nullptr},
        {"a column title outside Mac Roman", 0, "ab", "x",
         [](B& b) {
             ListBox(b, "al", 1, 0, {});
             Chunk(b, "GCOL", [](B& d) { VStr(d, "c").W(1); VStr(d, "h").W(1).L(3).W('a').W('b').W(0x4E00).W(0).W(0); });
         },
         nullptr},
        {"a column title", 0, "ab", "xyz", [](B& b) { ListBox(b, "al", 1, 0, {{"c", "h", 0}}, {"ab"}); },
         [](B& b) { ListBox(b, "al", 1, 0, {{"c", "h", 0}}, {"xyz"}); }},
        {"a title made 255", 0, "ab", "abc", [&](B& b) { VarChunk(b, "v", false, 3, "ab" + x252); },
         [&](B& b) { VarChunk(b, "v", false, 3, "abc" + x252); }},
        {"a title made 256", 0, "ab", "abcd", [&](B& b) { VarChunk(b, "v", false, 3, "ab" + x252); }, nullptr},
        {"a form text made 256", 0, "ab", "abcd", [&](B& b) { Flag(b, 0, "", "ab" + x252); }, nullptr},
        {"a reference replaced as it stands", 0, ",2", ",3", [](B& b) { TextChunk(b, ":20000,2"); },
         [](B& b) { TextChunk(b, ":20000,3"); }},
    };
    // The texts the replacement would make too long are counted.
    const std::set<std::string> tooLong = {"a title made 256", "a form text made 256"};
    for (const RenameCase& c : cases) {
        SCOPED_TRACE(c.what);
        int32_t leftWhole = 0;
        const Out out = Replace(Image(c.in), c.from, c.to, &leftWhole);
        EXPECT_EQ(out.result, 0);
        EXPECT_EQ(out.bytes, Image(c.out ? c.out : c.in));
        EXPECT_EQ(leftWhole, tooLong.count(c.what) ? 1 : 0);
    }
}

TEST_F(FormRewriters, SearchingLooksAtWhatUsersRead)
{
    struct Case {
        const char* what;
        Chunks chunks;
        const char* text;
        int16_t mode;
        uint8_t found;
    };
    const std::vector<Case> cases = {
        {"a button title", [](B& b) { VarChunk(b, "vOK", false, 2, "Print"); }, "Print", 1, 1},
        {"a button's variable", [](B& b) { VarChunk(b, "Print", false, 2, "OK"); }, "Print", 1, 0},
        {"a type-5 variable", [](B& b) { VarChunk(b, "Print", false, 5, "OK"); }, "Print", 1, 1},
        {"equal", [](B& b) { TextChunk(b, "Hello World"); }, "Hello", 1, 0},
        {"contains", [](B& b) { TextChunk(b, "Hello World"); }, "lo Wo", 2, 1},
        {"contains (3)", [](B& b) { TextChunk(b, "Hello World"); }, "lo Wo", 3, 1},
        {"begins", [](B& b) { TextChunk(b, "Hello World"); }, "Hello", 4, 1},
        {"does not begin", [](B& b) { TextChunk(b, "Hello World"); }, "World", 4, 0},
        {"ends", [](B& b) { TextChunk(b, "Hello World"); }, "World", 5, 1},
        {"past 255", [](B& b) { TextChunk(b, std::string(300, 'x') + "Needle"); }, "Needle", 5, 1},
        {"equal past 255, a wildcard", [](B& b) { TextChunk(b, "y" + std::string(300, 'x')); }, "y@", 1, 1},
        {"not equal past 255", [](B& b) { TextChunk(b, "y" + std::string(300, 'x')); }, "x@", 1, 0},
        {"begins past 255", [](B& b) { TextChunk(b, "Needle" + std::string(300, 'x')); }, "Needle", 4, 1},
        {"contains past 255", [](B& b) { TextChunk(b, std::string(300, 'x') + "Needle" + "yy"); }, "Needle", 2, 1},
        {"inherited form name", [](B& b) { Flag(b, 2, "Parent", "Text"); }, "Parent", 1, 1},
        {"form text", [](B& b) { Flag(b, 0, "", "Text"); }, "Text", 1, 1},
        {"column title", [](B& b) { ListBox(b, "al", 1, 0, {{"c", "h", 0}}, {"Qty"}); }, "Qty", 1, 1},
        {"a field's format", [](B& b) { FieldChunk(b, 1, 0, 0, 0, "Print"); }, "Print", 1, 0},
        // The walk goes on after a match, which a damaged chunk then cannot undo.
        {"a match before damage", [](B& b) { TextChunk(b, "Print"); b.Id("TEXT").L(2).L(9); }, "Print", 1, 1},
        {"damage before a match", [](B& b) { b.Id("TEXT").L(2).L(9); TextChunk(b, "Print"); }, "Print", 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Search(Image(c.chunks), c.text, c.mode), c.found);
    }
    EXPECT_EQ(Search(ChunkForm(true, [](B& b) { VarChunk(b, "v", false, 2, "Print"); }), "Print", 1), 1)
        << "a form in the other byte order is searched";
    EXPECT_EQ(Search({}, "Print", 1), 0);
}

TEST_F(FormRewriters, TextsGoToStringListsAndComeBack)
{
    auto* listed = NewListedForm();
    ListedForm& form = *listed;
    form.init(&doc_, PName("Entry"), 30);
    form.ownerObj = customers;
    TObjQz* list = nullptr;
    unsigned char nameBuffer[256] = {};
    const Bytes texts = Image([](B& b) {
        Flag(b, 0, "", "one");
        TextChunk(b, "two");
        TextChunk(b, "<vA>");
        TextChunk(b, "a <b");
        TextChunk(b, std::string(255, 'x'));
        VarChunk(b, "v", false, 2, "three");
        VarChunk(b, "v", false, 2, "");
        VarChunk(b, "v", false, 5, "one");
        ListBox(b, "al", 1, 0, {{"c", "h", 0}}, {"two"});
    });
    const Bytes references = Image([](B& b) {
        Flag(b, 0, "", ":20000,1");
        TextChunk(b, ":20000,2");
        TextChunk(b, "<vA>");
        TextChunk(b, "a <b");
        TextChunk(b, std::string(255, 'x'));
        VarChunk(b, "v", false, 2, ":20000,3");
        VarChunk(b, "v", false, 2, "");
        VarChunk(b, "v", false, 5, "one");
        ListBox(b, "al", 1, 0, {{"c", "h", 0}}, {":20000,2"});
    });
    const Out to = Run(texts, [&](platform::Handle s, platform::Handle o) {
        return TxtToStrIFF(s, o, &list, nameBuffer, &form);
    });
    EXPECT_EQ(to.result, 0);
    EXPECT_EQ(to.bytes, references);
    EXPECT_EQ(form.offered, (std::vector<std::string>{"one", "two", "three", "two"}));
    const Out back = Run(references, StrToTxtIFF);
    EXPECT_EQ(back.result, 0);
    EXPECT_EQ(back.bytes, texts);

    // A reference whose list or item is missing keeps its text.
    const Bytes missing = Image([](B& b) {
        TextChunk(b, ":20000,4");
        TextChunk(b, ":20009,1");
        TextChunk(b, ":20000,0");
    });
    EXPECT_EQ(Run(missing, StrToTxtIFF).bytes, missing);

    // A text the list refuses: no form half converted.
    const Out refused = Run(Image([](B& b) {
                                TextChunk(b, "one");
                                TextChunk(b, "refused");
                            }),
                            [&](platform::Handle s, platform::Handle o) {
                                return TxtToStrIFF(s, o, &list, nameBuffer, &form);
                            });
    EXPECT_EQ(refused.result, kFormWalkFailed);
    EXPECT_EQ(refused.bytes, Bytes{});
    form.Dispose();
}

TEST_F(FormRewriters, EveryRewriteKeepsWhatItDoesNotEnterAndRefusesWhatItCannotRead)
{
    auto* listed = NewListedForm();
    ListedForm& form = *listed;
    form.init(&doc_, PName("Entry"), 30);
    TObjQz* list = nullptr;
    unsigned char nameBuffer[256] = {};
    const std::vector<std::pair<const char*, Walk>> walkers = {
        {"rename", [&](platform::Handle s, platform::Handle o) {
             return ReplaceInIFFLayOut(s, o, 9, PName("vA"), PName("vB"), entry, nullptr);
         }},
        {"replace", [](platform::Handle s, platform::Handle o) { return ReplaceTxtIFF(s, o, PName("a"), PName("b")); }},
        {"to lists", [&](platform::Handle s, platform::Handle o) { return TxtToStrIFF(s, o, &list, nameBuffer, &form); }},
        {"from lists", StrToTxtIFF},
    };
    const Bytes kept = B().Chunk("Xtra", {1, 2, 3})
                           .Group("CAT ", "OBJG", B().Group("FORM", "OBJG", B().Chunk("TEXT", {9}).b).b)
                           .Group("FORM", "XXXX", B().Chunk("TEXT", {9}).b)
                           .b;
    const Bytes image = Image([&](B& b) {
        b.Raw(kept);
        TextChunk(b, "a <vA>");
    });
    for (const auto& [what, walk] : walkers) {
        SCOPED_TRACE(what);
        const Out out = Run(image, walk);
        EXPECT_EQ(out.result, 0);
        // Only the static text may change; what precedes it is as stored.
        ASSERT_GE(out.bytes.size(), 12 + kept.size());
        EXPECT_EQ(Bytes(out.bytes.begin() + 12, out.bytes.begin() + 12 + int64_t(kept.size())), kept);
        for (const Bytes& bad : {Image([](B& b) { b.Id("TEXT").L(6).L(99).W(0); }), Bytes(10, 0),
                                 ChunkForm(true, [](B& b) { TextChunk(b, "a"); })}) {
            const Out refused = Run(bad, walk);
            EXPECT_EQ(refused.result, kFormWalkFailed);
            EXPECT_EQ(refused.bytes, Bytes{});
        }
    }
    form.Dispose();
}

TEST_F(FormRewriters, ARewrittenFormReadsToTheSameObjects)
{
    const Bytes in = Image([](B& b) {
        Flag(b, 0, "", "Title");
        Satt(b, 5, true, -1, -1, "*Bold");
        VarChunk(b, "vA", false, 2, "*Bold");
        TextChunk(b, "<vA> and <vA>");
        ListBox(b, "vA", 1, 0, {{"vA", "h", 0}});
        b.Chunk("PAG#", {0, 0});
        b.Chunk("PAGE", {0, 0});
    });
    auto objects = [](const Bytes& bytes) {
        CustomClientFrame frame;
        InitFormReadingFrame(&frame, nullptr);
        platform::Handle h = ifftest::HandleOf(bytes);
        EXPECT_EQ(ReadFormImage(h, &frame), IFF_OKAY);
        platform::DisposeHandle(h);
        std::vector<int16_t> types;
        PageEntry page;
        for (int32_t p = 0; GetPage(frame.pages, p, &page); ++p)
            for (LayoutObject* o = page.first; o; o = o->next) types.push_back(o->GetObjectType());
        DestroyPages(frame.pages);
        return types;
    };
    const Out renamed = Rename(in, 9, "vA", "vRenamed_variable");
    const Out styled = Rename(in, 12, "Bold", "Heavy_style");
    ASSERT_EQ(renamed.result, 0);
    ASSERT_EQ(styled.result, 0);
    EXPECT_EQ(objects(renamed.bytes), objects(in));
    EXPECT_EQ(objects(styled.bytes), objects(in));
    EXPECT_EQ(objects(in), (std::vector<int16_t>{9, 5, 22}));
}

}  // namespace
}  // namespace designtest

// A form object's searches and rewrites of its stored form: what lands in
// the store and on disk, what a form that cannot be read leaves (nothing),
// and the links to string lists that follow the texts.
#include <functional>

#include "app/appl/AppGlobals.h"
#include "design/links/FormLinkLookups.h"
#include "forms/objects/EditableObjects.h"
#include "forms/objects/FormObjects.h"
#include "forms/reader/FlatLayout.h"
#include "forms/reader/FormReader.h"
#include "forms/walkers/FormRewriteHooks.h"
#include "forms/walkers/FormRewriters.h"
#include "platform/core/Faults.h"
#include "platform/files/WholeFile.h"
#include "tests/design/ChunkFormBytes.h"
#include "tests/design/FlatFormBytes.h"
#include "tests/design/ListedForm.h"
#include "tests/design/ParseFixture.h"

namespace designtest {
namespace {

using ifftest::Bytes;
constexpr uint32_t kFormType = platform::FourCC("FOQz");
constexpr int16_t kFormId = 30;

class FormTexts : public ParseFixture {
protected:
    void SetUp() override
    {
        ParseFixture::SetUp();
        customers = Table("Customers", 1, 10);
        entry = Form(customers, "Entry", kFormId);
        strings = Make(11, "Strings", 20000);
        InstallFormLinkLookups();
    }

    void Store(const Bytes& bytes)
    {
        useres(doc_.fResFile);
        rmveresbyid(kFormType, kFormId, true);
        AddStored(kFormType, kFormId, bytes);
    }
    Bytes Stored()
    {
        useres(doc_.fResFile);
        platform::Handle h = xget1res(kFormType, kFormId);
        return h ? Bytes(*h, *h + platform::GetHandleSize(h)) : Bytes{};
    }
    // The form as the file holds it, read from a copy of the file.
    Bytes OnDisk()
    {
        std::vector<uint8_t> file;
        EXPECT_EQ(platform::ReadWholeFile(folder_ / "doc.qzb", &file), platform::noErr);
        const std::string copy = folder_ / "copy.qzb";
        EXPECT_EQ(platform::WriteFileAtomically(copy, file.data(), file.size()), platform::noErr);
        platform::FSSpec fileSpec;
        platform::FSMakeFSSpec(copy, &fileSpec);
        const int16_t f = openres(fileSpec, true);
        platform::Handle h = f > 0 ? xget1res(kFormType, kFormId) : nullptr;
        const Bytes bytes = h ? Bytes(*h, *h + platform::GetHandleSize(h)) : Bytes{};
        if (f > 0) closeres(f, false);
        useres(doc_.fResFile);
        return bytes;
    }

    TFileObjQz* customers = nullptr;
    TLayoutObjQz* entry = nullptr;
    TObjQz* strings = nullptr;
};

TEST_F(FormTexts, AReplacementLandsWholeUnderTheSameIdOrNotAtAll)
{
    const Bytes before = ChunkForm(false, [](B& b) { TextChunk(b, "ab-ab"); });
    const Bytes after = ChunkForm(false, [](B& b) { TextChunk(b, "xyz-xyz"); });
    Store(before);
    // The disk fails from one write on, as a crash there would leave it.
    int32_t write = 0;
    for (;; ++write) {
        ASSERT_LT(write, 50);
        int16_t result = 0;
        {
            platform::ScopedFault full(platform::FaultKind::DiskFull, write, -1);
            result = entry->ReplaceTxt(PName("ab"), PName("xyz"), nullptr);
        }
        const Bytes stored = Stored();
        if (result == 0) {
            EXPECT_EQ(stored, after);
            EXPECT_EQ(OnDisk(), after);
            break;
        }
        EXPECT_EQ(stored, before) << write;
        // The store stays held until a commit succeeds: the disk then takes
        // the form as it was.
        ASSERT_TRUE(holdres(doc_.fResFile, false));
        EXPECT_EQ(OnDisk(), before) << write;
    }
    EXPECT_GT(write, 0) << "a failing write was met";
    EXPECT_EQ(entry->ReplaceTxt(PName("none"), PName("x"), nullptr), 0);
    EXPECT_EQ(Stored(), after);
}

TEST_F(FormTexts, AFormThatCannotBeReadStaysByteForByte)
{
    // A text the walk rewrites, then a chunk cut short.
    const Bytes damaged = ChunkForm(false, [](B& b) {
        TextChunk(b, "<?[Customers]Name> ab");
        b.Id("TEXT").L(2).L(9);
    });
    const std::vector<std::pair<const char*, std::function<int16_t()>>> operations = {
        {"replace", [&] { return entry->ReplaceTxt(PName("ab"), PName("c"), nullptr); }},
        {"rename", [&] { return entry->RewriteForRename(customers, PName("Clients"), false); }},
        {"to lists", [&] { return entry->TxtToStr(&strings); }},
        {"from lists", [&] { return entry->StrToTxt(); }},
    };
    for (const auto& [what, operation] : operations) {
        SCOPED_TRACE(what);
        Store(damaged);
        EXPECT_EQ(operation(), platform::memFullErr);
        EXPECT_EQ(Stored(), damaged);
        EXPECT_EQ(OnDisk(), damaged);
    }
    // The rename shows its failure.
    const int32_t alerts = AlertCount();
    entry->XRefReplace(customers, PName("Clients"), false);
    EXPECT_EQ(AlertCount(), alerts + 1);
    EXPECT_EQ(Stored(), damaged);
}

TEST_F(FormTexts, AFormFollowsARenameUnlessItIsEncipheredAndNotForced)
{
    const Bytes before = ChunkForm(false, [](B& b) { TextChunk(b, "<?[Customers]Name> <?[1]Name>"); });
    const Bytes after = ChunkForm(false, [](B& b) { TextChunk(b, "<?[Clients]Name> <?[1]Name>"); });
    Store(before);
    entry->SetFlag(kFlagCiphered, true);
    entry->XRefReplace(customers, PName("Clients"), false);
    EXPECT_EQ(Stored(), before);
    entry->XRefReplace(customers, PName("Clients"), true);
    EXPECT_EQ(Stored(), after);
    EXPECT_EQ(OnDisk(), after);
}

TEST_F(FormTexts, SearchingReadsChunkFilesAndTheObjectsOfOlderForms)
{
    struct Case {
        const char* what;
        Bytes form;
        const char* text;
        int16_t found;
    };
    using docbuilder::ByteWriter;
    const Trailer none;
    const std::vector<Case> cases = {
        {"a button title", ChunkForm(false, [](B& b) { VarChunk(b, "vOK", false, 2, "Print"); }), "Print", 1},
        {"nothing", ChunkForm(false, [](B& b) { VarChunk(b, "vOK", false, 2, "OK"); }), "Print", 0},
        // Texts naming a string-list item match as they show: by the item.
        {"a static text's item", ChunkForm(false, [](B& b) { TextChunk(b, ":20000,3"); }), "three", 1},
        {"a static text's reference", ChunkForm(false, [](B& b) { TextChunk(b, ":20000,3"); }), ":20000,3", 0},
        {"a button title's item", ChunkForm(false, [](B& b) { VarChunk(b, "vOK", false, 2, ":20000,2"); }), "two", 1},
        {"a missing item's reference", ChunkForm(false, [](B& b) { TextChunk(b, ":20000,9"); }), ":20000,9", 1},
        {"flat text's item", FormBytes([&](ByteWriter& w) { TextRecord(w, ":20000,1"); }), "one", 1},
        {"flat label's item", FormBytes([&](ByteWriter& w) { VariableRecord(w, "vOK", 0, 2, 0, ":20000,3", none); }),
         "three", 1},
        {"flat label of kind 2", FormBytes([&](ByteWriter& w) { VariableRecord(w, "vOK", 0, 2, 0, "Print", none); }),
         "Print", 1},
        {"flat label of kind 5", FormBytes([&](ByteWriter& w) { VariableRecord(w, "vOK", 0, 5, 0, "Print", none); }),
         "Print", 0},
        {"flat variable name", FormBytes([&](ByteWriter& w) { VariableRecord(w, "Print", 0, 5, 0, "", none); }),
         "Print", 1},
        {"flat text", FormBytes([&](ByteWriter& w) {
             TextRecord(w, "Total");
             TextRecord(w, "Print here");
         }),
         "Print", 1},
        {"flat list past the declared one", FormBytes([&](ByteWriter& w) {
             TextRecord(w, "Total");
             w.U16(0);
             TextRecord(w, "Print here");
         }),
         "Print", 0},
        {"flat group member", FormBytes([&](ByteWriter& w) {
             w.U16(0x1200), w.Zeros(8);
             TextRecord(w, "Print");
             w.U16(0);
         }),
         "Print", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Store(c.form);
        // A search needs no replacement before it to match.
        ResetFormRewriteHooks();
        EXPECT_EQ(entry->SearchIn(PName(c.text), 1), c.found);
    }
    // A form that cannot be made a chunk file: said, the reserve given up,
    // no match.
    Store(Bytes{7, 7, 7, 7});
    const int32_t alerts = AlertCount();
    EXPECT_EQ(entry->SearchIn(PName("Print"), 2), 0);
    EXPECT_EQ(AlertCount(), alerts + 1);
    EXPECT_EQ(GromMemHdl, nullptr);
}

TEST_F(FormTexts, TextsBroughtBackLeaveLinksOnlyToListsStillNamed)
{
    const Bytes references = ChunkForm(false, [](B& b) {
        TextChunk(b, ":20000,1");
        VarChunk(b, "v", false, 2, ":20000,3");
    });
    Store(references);
    ASSERT_EQ(XRef(entry, strings), 0);
    EXPECT_EQ(entry->StrToTxt(), 0);
    EXPECT_EQ(Stored(), ChunkForm(false, [](B& b) {
                  TextChunk(b, "one");
                  VarChunk(b, "v", false, 2, "three");
              }));
    // Only the variable is named now.
    EXPECT_EQ(Uses(entry), std::vector<std::string>{"9:v"});
    // An item the list lacks keeps its reference, and the form its link.
    const Bytes missing = ChunkForm(false, [](B& b) { TextChunk(b, ":20000,9"); });
    Store(missing);
    ASSERT_EQ(XRef(entry, strings), 0);
    EXPECT_EQ(entry->StrToTxt(), 0);
    EXPECT_EQ(Stored(), missing);
    EXPECT_EQ(Uses(entry), (std::vector<std::string>{"9:v", "11:Strings"}));
    // In a component, nothing is converted.
    entry->SetFlag(kFlagInComponent, true);
    Store(references);
    EXPECT_EQ(entry->StrToTxt(), 0);
    EXPECT_EQ(Stored(), references);
}

TEST_F(FormTexts, ObjectsOfOlderFormsGiveTheirLabelsAndShortTextsToStringLists)
{
    using docbuilder::ByteWriter;
    const Trailer none;
    docbuilder::Bytes flat = FormBytes([&](ByteWriter& w) {
        VariableRecord(w, "vA", 0, 2, 0, "one", none);
        VariableRecord(w, "vB", 0, 5, 0, "two", none);
        TextRecord(w, "three");
        TextRecord(w, std::string(256, 'x'));
        w.U16(0x1200), w.Zeros(8);
        TextRecord(w, "two");
        w.U16(0);
    });
    char* data = reinterpret_cast<char*>(flat.data()) + 4;
    int32_t remaining = int32_t(flat.size()) - 4;
    LayoutObject* objects = ReadLayoutData(&data, &remaining, nullptr, nullptr);
    ListedForm* form = NewListedForm();
    form->init(&doc_, PName("Old"), 40);
    bool changed = false;
    EXPECT_EQ(form->Do_TxtToStr(objects, nullptr, &changed), 0);
    EXPECT_TRUE(changed);
    EXPECT_EQ(form->offered, (std::vector<std::string>{"one", "three", "two"}));
    std::vector<std::string> texts;
    for (LayoutObject* o = objects; o; o = o->next) {
        if (o->IsVar()) texts.push_back(P(static_cast<VarObject*>(o)->format));
        for (LayoutObject* t : {o, o->firstChild})
            if (t && t->GetObjectType() == 5) {
                platform::Handle h = static_cast<TextObject*>(t)->text;
                texts.push_back(std::string(*h, *h + std::min<int32_t>(12, platform::GetHandleSize(h))));
            }
    }
    EXPECT_EQ(texts, (std::vector<std::string>{":20000,1", "two", ":20000,3", std::string(12, 'x'), ":20000,2"}));
    DestroyObjects(objects);
    form->Dispose();
}

}  // namespace
}  // namespace designtest

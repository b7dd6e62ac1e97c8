// Forms the document builder stores as chunk files: the chunks of every
// object kind in order, their bytes where the stored layout fixes them, the
// other byte order, the links the manifest lists, and the refusals.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "kernel/byteswap/SwapTemplates.h"
#include "platform/core/Endian.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "resources/ResourceApi.h"
#include "tests/platform/files/TempFolder.h"
#include "tools/docbuilder/DocBuilder.h"

namespace {

using Bytes = std::vector<uint8_t>;
using platform::FourCC;
using platform::testing::TempFolder;

struct Chunk {
    std::string id;  // as read, in the file's order: "TCER" in a reversed file
    Bytes data;
    int depth;
};

// Every chunk of a chunk file, groups entered, by an independent walk.
void Walk(const Bytes& b, size_t from, size_t end, int depth, bool little, std::vector<Chunk>* out)
{
    auto u32 = [&](size_t at) { return little ? platform::ReadLE32(&b[at]) : platform::ReadBE32(&b[at]); };
    for (size_t at = from; at + 8 <= end;) {
        const std::string id(b.begin() + long(at), b.begin() + long(at + 4));
        const size_t size = u32(at + 4);
        if (at + 8 + size > end) return;
        out->push_back({id, Bytes(b.begin() + long(at + 8), b.begin() + long(at + 8 + size)), depth});
        if (id == "FORM" || id == "MROF") Walk(b, at + 12, at + 8 + size, depth + 1, little, out);
        at += 8 + size + (size & 1);
    }
}

class ChunkFormBuilder : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::ifstream in(std::string(std::getenv("QZ_TEST_SOURCE_DIR")) + "/resources/ByteSwap.txt", std::ios::binary);
        const Bytes text((std::istreambuf_iterator<char>(in)), {});
        ASSERT_EQ(InitTokensFromText(text.data(), int32_t(text.size())), 0);
        initresman();
    }
    void TearDown() override
    {
        ResetResManager();
        ResetSwapTemplates();
    }

    // The form resource `id` of the document the description gives.
    Bytes FormOf(const std::string& text, int16_t id, std::string* manifest = nullptr)
    {
        const docbuilder::BuildResult r = docbuilder::BuildDocument(text, "test.qzdoc", dir_.path());
        EXPECT_EQ(r.error, 0) << r.message;
        if (manifest) {
            std::ifstream in(r.manifestPath);
            std::stringstream s;
            s << in.rdbuf();
            *manifest = s.str();
        }
        platform::FSSpec spec;
        platform::FSMakeFSSpec(r.dataPath, &spec);
        const int16_t ref = openres(spec, false);
        Bytes out;
        if (Handle h = xget1res(FourCC("FOQz"), id)) {
            out.assign(reinterpret_cast<uint8_t*>(*h), reinterpret_cast<uint8_t*>(*h) + platform::GetHandleSize(h));
        }
        closeres(ref, false);
        return out;
    }

    TempFolder dir_;
};

const char* kEveryKind =
    "structure Kinds\n"
    "picture Logo id 5\n"
    "stylesheet Titles id 3\n"
    "list Towns id 9\n  item \"A\"\n"
    "table T id 1\n"
    "  field Name alpha 20\n"
    "  form Other iff id 2\n"
    "  form F iff id 1\n"
    "    layer 2 \"Back\"\n"
    "    page 0\n"
    "    rect name R\n"
    "    theme 1 2 3\n"
    "    page 1\n"
    "    roundrect\n"
    "    oval\n"
    "    line\n"
    "    matrix rows 3 columns 4\n"
    "    text \"Hi\" stylesheet Titles\n"
    "    groupbox \"Box\"\n"
    "    picture\n"
    "    staticpicture Logo\n"
    "    group\n"
    "      rect\n"
    "      group\n"
    "        oval\n"
    "    subform T Other\n"
    "    field Name list Towns\n"
    "    variable A dfst 0102\n"
    "    page 2\n"
    "    chunk ZZZZ 0A0B0C\n";

TEST_F(ChunkFormBuilder, EveryKindWritesItsChunksInOrder)
{
    const Bytes form = FormOf(kEveryKind, 1);
    ASSERT_GE(form.size(), 12u);
    std::vector<Chunk> chunks;
    Walk(form, 12, form.size(), 0, false, &chunks);
    std::string ids;
    for (const Chunk& c : chunks) ids += (c.depth ? std::string(size_t(c.depth), '>') : "") + c.id + " ";
    EXPECT_EQ(ids,
              "Vers KhPr Layr Nam# DRAW FONT FLAG PAG# RECT Thm# PAGE RRCT OVAL LINE GRID FONT TEXT FONT GRPB PICT SPIC "
              "GRUP FORM >RECT >GRUP >FORM >>OVAL MULT SATT FILD VAR  DfSt PAGE ZZZZ PAGE ");
    // Exact layouts: the rectangle, its themes last to first, the page
    // count, the variable's name in eight bytes, the raw chunk.
    auto data = [&](const std::string& id, int nth = 0) {
        for (const Chunk& c : chunks)
            if (c.id == id && nth-- == 0) return c.data;
        return Bytes{};
    };
    EXPECT_EQ(data("RECT"), (Bytes{0, 10, 0, 10, 0, 30, 0, 210, 1, 'R', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(data("Thm#"), (Bytes{0, 0, 0, 3, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1}));
    EXPECT_EQ(data("PAG#"), (Bytes{0, 2}));
    EXPECT_EQ(data("PAGE", 2), (Bytes{0, 2}));
    EXPECT_EQ(data("ZZZZ"), (Bytes{10, 11, 12}));
    EXPECT_EQ(data("DfSt"), (Bytes{1, 2}));
    const Bytes var = data("VAR ");
    ASSERT_GE(var.size(), 27u);
    // After 16 bytes and the empty display format with its pad.
    EXPECT_EQ(Bytes(var.begin() + 18, var.begin() + 27), (Bytes{8, 1, 'A', 0, 0, 0, 0, 0, 0}));
    const Bytes satt = data("SATT");
    ASSERT_GE(satt.size(), 10u);
    EXPECT_EQ(Bytes(satt.begin(), satt.begin() + 10), (Bytes{0, 9, 1, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF}));
    EXPECT_EQ(data("FONT", 1), (Bytes{0, 3, 0, 12, 0, 0, 0, 0, 0, 3, 0, 12}));
    const Bytes layers = data("Layr");
    EXPECT_NE(std::string(layers.begin(), layers.end()).find("\x04" "Back"), std::string::npos);
    const Bytes mult = data("MULT");
    ASSERT_GE(mult.size(), 24u);
    EXPECT_EQ(platform::ReadBE16(&mult[mult.size() - 23]), 0xFFFF);  // table 1, negated
}

TEST_F(ChunkFormBuilder, TheOtherByteOrderTurnsIdsSizesWordsAndLongs)
{
    std::string text = kEveryKind;
    text.insert(text.find("    layer"), "    order little\n");
    const Bytes form = FormOf(text, 1);
    ASSERT_GE(form.size(), 12u);
    EXPECT_EQ(std::string(form.begin(), form.begin() + 4), "MROF");
    EXPECT_EQ(std::string(form.begin() + 8, form.begin() + 12), "OYAL");
    std::vector<Chunk> chunks;
    Walk(form, 12, form.size(), 0, true, &chunks);
    ASSERT_GE(chunks.size(), 9u);
    EXPECT_EQ(chunks[0].id, "sreV");
    EXPECT_EQ(chunks[0].data, (Bytes{3, 0, 0, 0, 0, 0}));
    EXPECT_EQ(chunks[8].id, "TCER");
    EXPECT_EQ(chunks[8].data, (Bytes{10, 0, 10, 0, 30, 0, 210, 0, 1, 'R', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    // The other form of the document stays big-endian.
    EXPECT_EQ(FormOf(text, 2)[0], 'F');
}

TEST_F(ChunkFormBuilder, TheManifestListsWhatAReaderLinks)
{
    std::string manifest;
    FormOf("structure Links\n"
           "picture Logo id 5\nstylesheet Titles id 3\nstrings Texts id 2000\n  \"a\"\n"
           "style Heading \"Geneva 9\"\nballoon Tip id 4 \"help\"\nlist Towns id 9\n  item \"A\"\n"
           "table Lines id 3\n  field Qty integer\n  form Row iff\n"
           "table Invoices id 2\n  field Number longint\n  field Total real\n"
           "  form Invoice iff\n"
           "  form Summary iff\n"
           "    inherit Invoices Invoice\n"
           "    text \"T\" stylesheet Titles\n    staticpicture Logo\n    text \":2000,1\"\n"
           "    text \"<?[Invoices]Total> <?[1]1> <vSum> <?[Nowhere]X>\"\n    text \"x<vNot>\"\n"
           "    subform Lines Row\n"
           "    field Number style Heading balloon 4 list Towns method 12\n"
           "    variable vB kind 17 label \"a;b;?5;d\" balloon 4\n",
           1, &manifest);
    std::set<std::string> links;
    std::stringstream in(manifest);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> f;
        std::stringstream cells(line);
        for (std::string c; std::getline(cells, c, '\t');) f.push_back(c);
        if (f[0] == "link" && f.size() >= 8 && f[3] == "Summary") links.insert(f[5] + ":" + f[7]);
        if (f[0] == "link" && f.size() >= 8 && (f[3] == "Number" || f[3] == "vB")) links.insert(f[3] + ">" + f[5] + ":" + f[7]);
    }
    EXPECT_EQ(links, (std::set<std::string>{"1:Invoices", "24:Invoice", "19:Titles", "18:Logo", "11:Texts", "28:Total",
                                            "28:Qty", "9:vSum", "1:Lines", "24:Row", "28:Number", "25:Number",
                                            "12:Heading", "10:Tip", "4:Towns", "Number>4:Towns", "9:vB",
                                            "vB>10:Tip"}));
}

TEST_F(ChunkFormBuilder, StatementsOfChunkFormsAreRefusedElsewhere)
{
    const std::pair<std::string, std::string> cases[] = {
        {"structure S\ntable T\n  form F\n    rect\n    page 2\n", "test.qzdoc:5: this is written in a form stored as a chunk file ('form NAME iff')"},
        {"structure S\ntable T\n  form F\n    roundrect\n", "test.qzdoc:4: this is written in a form stored as a chunk file ('form NAME iff')"},
        {"structure S\ntable T\n  form F iff\n    theme 1\n", "test.qzdoc:4: 'theme' follows the object it belongs to"},
        {"structure S\ntable T\n  form F iff\n    end\n", "test.qzdoc:4: 'end' closes a group, and no group is open"},
        {"structure S\ntable T\n  form F iff\n    group\n    rect\n", "test.qzdoc:5: a group is not closed by 'end'"},
        {"structure S\ntable T\n  form F iff\n    text \"x\" stylesheet None\n", "test.qzdoc:4: the text names a missing style sheet 'None'"},
        {"structure S\ntable T\n  form F iff\n    inherit T G\n", "test.qzdoc:3: the form inherits from a missing form 'G'"},
        {"structure S\ntable T\n  form F iff\n    text \":7,1\"\n", "test.qzdoc:4: the text refers to a missing string list 7"},
    };
    for (const auto& [text, message] : cases) {
        TempFolder dir;
        const docbuilder::BuildResult r = docbuilder::BuildDocument(text, "test.qzdoc", dir.path());
        EXPECT_EQ(r.error, docbuilder::kDescriptionRefused) << message;
        EXPECT_EQ(r.message, message);
    }
    // The same objects under 'forms iff' are accepted, whatever line says so.
    TempFolder dir;
    EXPECT_EQ(docbuilder::BuildDocument("structure S\ntable T\n  form F\n    roundrect\nforms iff\n", "test.qzdoc", dir.path()).error, 0);
}

}  // namespace

// List boxes: their chunks written and read in both byte orders, the column
// operations, damaged chunks kept as they came, and the companions a form
// reader hands to the object before it (default styles, carried methods).
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "forms/layout/PageTable.h"
#include "forms/listbox/ListBox.h"
#include "forms/objects/FormObjects.h"
#include "forms/reader/FormReader.h"
#include "resources/ResourceApi.h"
#include "tests/forms/ObjectChunkSupport.h"
#include "tests/resources/StoreTestSupport.h"

namespace {

using namespace ifftest;

unsigned char* P(const std::string& s, unsigned char* out)
{
    out[0] = uint8_t(s.size());
    std::memcpy(out + 1, s.data(), s.size());
    return out;
}

std::string S(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

// The objects of page 0 (the form images here have no "PAG#").
struct Read {
    IFFP result = 0;
    CustomClientFrame frame;
    std::vector<LayoutObject*> objects;
    ~Read() { DestroyPages(frame.pages); }
};

void ReadImage(const Bytes& bytes, Read* r)
{
    InitFormReadingFrame(&r->frame, nullptr);
    platform::Handle h = HandleOf(bytes);
    r->result = ReadFormImage(h, &r->frame);
    platform::DisposeHandle(h);
    PageEntry page;
    if (GetPage(r->frame.pages, 0, &page))
        for (LayoutObject* o = page.first; o; o = o->next) r->objects.push_back(o);
}

std::string Describe(VLayoutGrid* g)
{
    unsigned char name[256];
    int16_t range = 0;
    g->GetFullVariableName(name, &range);
    std::string s = S(g->name) + " " + S(name) + "/" + std::to_string(range) + " m" + std::to_string(g->objectMethodID);
    VGridView& view = g->GetGridView();
    for (int32_t k = 1; k <= g->GetGridColumnCount(); ++k) {
        view.GetColHeaderVarName(k, name);
        s += " [" + S(name) + "/" + std::to_string(view.GetColHeaderVarRange(k));
        view.GetColumnHeader(k)->GetTitle(name);
        s += " \"" + S(name) + "\" ";
        view.GetColumnVarName(k, name);
        s += S(name) + "/" + std::to_string(view.GetColumnVarRange(k)) + " m" + std::to_string(g->GetColumnProc(k)) + "]";
    }
    return s;
}

VLayoutGrid* TwoColumns()
{
    auto* g = new VLayoutGrid;
    unsigned char p[256];
    P("Lines", g->name);
    g->SetVariableName(P("\xD7" "alLines", p), 1);
    g->objectMethodID = 3;
    VGridView& view = g->GetGridView();
    for (int k = 1; k <= 2; ++k) {
        g->AddColumn();
        view.SetColumnVarName(k, P("col" + std::to_string(k), p), 1);
        view.SetColHeaderVarName(k, P("head" + std::to_string(k), p), k == 2 ? 2 : 1);
        view.GetColumnHeader(k)->SetTitle(P("Title " + std::to_string(k), p));
        g->SetColumnProc(k, int16_t(40 + k));
    }
    return g;
}

TEST(ListBox, TwoColumnsComeBackWithTheirVariablesTitlesAndMethods)
{
    VLayoutGrid* g = TwoColumns();
    const std::string want = "Lines \xD7" "alLines/2 m3 [head1/1 \"Title 1\" col1/1 m41] [head2/2 \"Title 2\" col2/1 m42]";
    EXPECT_EQ(Describe(g), want);
    const Bytes form = Written(g);
    EXPECT_EQ(ChunkIds(form), (std::vector<std::string>{"DRAW", "FONT", "GDTL", "GCOL", "GCOL"}));
    // A column: its variable, range, the header's variable, range, title,
    // the method.
    const Bytes column = ChunkData(form, "GCOL");
    const Bytes head = {0, 0, 0, 4, 0, 'c', 0, 'o', 0, 'l', 0, '1', 0, 0, 0, 1};
    EXPECT_EQ(Bytes(column.begin(), column.begin() + long(head.size())), head);
    EXPECT_EQ(platform::ReadBE16(column.data() + column.size() - 2), 41);
    Read r;
    ReadImage(form, &r);
    ASSERT_EQ(r.result, IFF_OKAY);
    ASSERT_EQ(r.objects.size(), 1u);
    auto* back = dynamic_cast<VLayoutGrid*>(r.objects[0]);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetObjectKind(), 37);
    EXPECT_EQ(back->GetObjectType(), 22);
    EXPECT_EQ(Describe(back), want);
    // Its sub-objects: a header, then its column, for each column.
    std::vector<int16_t> kinds;
    for (LayoutObject* m = back->GetFirst(); m; m = m->next) {
        EXPECT_TRUE(m->IsSubObject());
        EXPECT_EQ(m->owner, back);
        kinds.push_back(m->GetSubObjectKind());
    }
    EXPECT_EQ(kinds, (std::vector<int16_t>{2, 1, 2, 1}));
    EXPECT_EQ(Written(back), form);
    // A copy holds columns of its own.
    std::unique_ptr<LayoutObject> copy(back->Duplicate());
    EXPECT_EQ(Describe(static_cast<VLayoutGrid*>(copy.get())), want);
    EXPECT_NE(static_cast<VLayoutGrid*>(copy.get())->GetGridView().GetColumn(1), back->GetGridView().GetColumn(1));
    delete g;
}

TEST(ListBox, ColumnOperationsAnswerNothingOutsideTheColumns)
{
    std::unique_ptr<VLayoutGrid> g(TwoColumns());
    VGridView& view = g->GetGridView();
    unsigned char name[256], p[256];
    for (int32_t k : {0, 3, -1}) {
        view.GetColumnVarName(k, name);
        EXPECT_EQ(std::vector<int>({name[0], view.GetColumnVarRange(k), g->GetColumnProc(k)}), std::vector<int>(3, 0));
        EXPECT_EQ(view.GetColumnHeader(k), nullptr) << k;
        view.SetColumnVarName(k, P("x", p), 1);  // changes nothing
        g->SetColumnProc(k, 9);
    }
    // kKeepRange keeps a range; the interprocess marker makes it 2.
    view.SetColumnVarName(2, P("renamed", p), kKeepRange);
    g->SetVariableName(P("plain", p), kKeepRange);
    EXPECT_EQ(Describe(g.get()), "Lines \xD7" "plain/2 m3 [head1/1 \"Title 1\" col1/1 m41] [head2/2 \"Title 2\" renamed/1 m42]");
    g->SetVariableName(P("plain", p), 1);
    int16_t range = 0;
    g->GetFullVariableName(name, &range);
    EXPECT_EQ(S(name) + "/" + std::to_string(range), "plain/1");
}

TEST(ListBox, ChunksThatDoNotHoldTheirItemsAreKeptAsTheyCame)
{
    // A "GDTL" whose variable claims more units than it holds, and a
    // "GCOL" that ends after its first variable.
    B gdtl;
    gdtl.W(1).W(2).W(3).W(4).U8(0).U8(0).W(0).W(0).W(0).U8(0).U8(0).L(0).W(0).P("L").L(500).W('x');
    B gcol;
    gcol.L(1).W('c').W(0).W(1);
    B inner;
    inner.Chunk("GDTL", gdtl.b).Chunk("GCOL", gcol.b).Chunk("GCOL", gcol.b);
    const Bytes image = B().Group("FORM", "LAYO", inner.b).b;
    Read r;
    ReadImage(image, &r);
    ASSERT_EQ(r.result, IFF_OKAY);
    ASSERT_EQ(r.objects.size(), 1u);
    auto* g = dynamic_cast<VLayoutGrid*>(r.objects[0]);
    ASSERT_NE(g, nullptr);
    ASSERT_NE(g->rawChunk, nullptr);
    EXPECT_EQ(g->GetGridColumnCount(), 2);
    const Bytes out = Written(g);
    EXPECT_EQ(ChunkIds(out), (std::vector<std::string>{"GDTL", "GCOL", "GCOL"}));
    EXPECT_EQ(ChunkData(out, "GDTL"), gdtl.b);
    EXPECT_EQ(ChunkData(out, "GCOL", 1), gcol.b);
    // A "GCOL" with no list box before it is passed over.
    B lone;
    lone.Chunk("GCOL", gcol.b);
    Read alone;
    ReadImage(B().Group("FORM", "LAYO", lone.b).b, &alone);
    EXPECT_EQ(alone.result, IFF_OKAY);
    EXPECT_TRUE(alone.objects.empty());
}

class FormCompanions : public storetest::StoreTest {};

TEST_F(FormCompanions, DefaultStylesAndCarriedMethodsGoToTheObjectsBeforeThem)
{
    ASSERT_NE(CreateFile("companions.qzb"), 0);
    {
        const Bytes method = {0, 1, 0, 2, 0, 3, 0, 4, 0, 0};
        B var;
        var.W(0).W(0).W(20).W(100).U8(0).U8(0).W(0).W(0).W(0).U8(0).U8(0).U8(8).P("v").Zeros(6);
        var.L(0).L(0).Zeros(6).W(0).W(0);
        B field;
        field.W(0).W(0).W(20).W(100).U8(0).U8(0).W(0).W(0).W(0).U8(0).U8(0).W(1).W(0).U8(0).U8(0);
        VLayoutGrid* g = TwoColumns();
        g->objectMethodID = 0;
        g->SetColumnProc(1, 0);
        const Bytes grid = Written(g);
        delete g;
        B inner;
        // A second "DfSt" replaces the first; one kept by a program of the
        // other byte order reads as a string list with its count turned.
        inner.Chunk("VAR ", var.b).Chunk("DfSt", {1, 2, 3}).Chunk("DfSt", {'#', 'R', 'T', 'S', 2, 0, 'x'});
        inner.Chunk("CCQz", method).Chunk("FILD", field.b).Chunk("CCQz", method);
        inner.Chunk("GDTL", ChunkData(grid, "GDTL")).Chunk("GCOL", ChunkData(grid, "GCOL"));
        inner.Chunk("GCOL", ChunkData(grid, "GCOL", 1)).Chunk("CCQz", method);
        Read r;
        ReadImage(B().Group("FORM", "LAYO", inner.b).b, &r);
        ASSERT_EQ(r.result, IFF_OKAY);
        ASSERT_EQ(r.objects.size(), 3u);
        auto* v = static_cast<VarObject*>(r.objects[0]);
        ASSERT_NE(v->defaultStyle, nullptr);
        EXPECT_EQ(BytesOf(v->defaultStyle), (Bytes{'S', 'T', 'R', '#', 0, 2, 'x'}));
        auto* f = static_cast<FieldObject*>(r.objects[1]);
        auto* list = static_cast<VLayoutGrid*>(r.objects[2]);
        const int16_t ids[] = {v->objectMethodID, f->objectMethodID, list->GetColumnProc(2)};
        for (int16_t id : ids) {
            ASSERT_NE(id, 0);
            platform::Handle stored = xget1res(platform::FourCC("CCQz"), id);
            ASSERT_NE(stored, nullptr);
            EXPECT_EQ(BytesOf(stored), method);
        }
        EXPECT_NE(ids[0], ids[1]);
        EXPECT_NE(ids[1], ids[2]);
        EXPECT_EQ(list->GetColumnProc(1), 0);
        EXPECT_EQ(list->objectMethodID, 0);

        // Copied, each object carries its method after its chunks.
        const Bytes copied = Written(list, true);
        EXPECT_EQ(ChunkIds(copied), (std::vector<std::string>{"DRAW", "FONT", "GDTL", "GCOL", "GCOL", "CCQz"}));
        const Bytes field2 = Written(f, true);
        EXPECT_EQ(ChunkData(field2, "CCQz"), method);
        f->objectMethodID = 777;  // no such method: the copy fails with the store's error
        EXPECT_TRUE(Written(f, true).empty());
    }
}

}  // namespace

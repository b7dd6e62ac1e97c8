// Objects read from chunks written by hand and by the document builder,
// written back by PackFormat and read again: the stored layouts byte for
// byte, the older and shorter chunks, the damaged ones, and round trips in
// both byte orders.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "forms/iff/ChunkFields.h"
#include "forms/layout/FormContainer.h"
#include "forms/layout/PageTable.h"
#include "forms/listbox/ListBox.h"
#include "forms/objects/EditableObjects.h"
#include "forms/objects/FormObjects.h"
#include "forms/objects/ObjectIterators.h"
#include "forms/objects/ObjectWriting.h"
#include "forms/reader/FormReader.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "tests/forms/IffBytes.h"
#include "tools/docbuilder/IffForm.h"

namespace {

using namespace ifftest;
using platform::FourCC;

// A form of the chunks given, in either byte order.
Bytes FormOf(bool little, const std::function<void(B&)>& chunks)
{
    B inner = little ? Little() : B();
    chunks(inner);
    return (little ? Little() : B()).Group("FORM", "LAYO", inner.b).b;
}

B Like(const B& b) { return b.little ? Little() : B(); }

void Chunk(B& b, const char* id, const std::function<void(B&)>& data)
{
    B d = Like(b);
    data(d);
    b.Chunk(id, d.b);
}

struct Read {
    IFFP result = 0;
    CustomClientFrame frame;
    std::vector<LayoutObject*> objects;  // every page, groups entered
    ~Read() { DestroyPages(frame.pages); }
};

void ReadBytes(const Bytes& bytes, Read* r)
{
    InitFormReadingFrame(&r->frame, nullptr);
    platform::Handle h = HandleOf(bytes);
    r->result = ReadFormImage(h, &r->frame);
    platform::DisposeHandle(h);
    for (int32_t p = 0; p <= LastPageIndex(r->frame.pages); ++p) {
        PageEntry e;
        if (GetPage(r->frame.pages, p, &e))
            for (LayoutObjectIterator it(e.first, false, true, false); it.Current(); it.SetNext())
                r->objects.push_back(it.Current());
    }
}

Bytes Packed(const Read& r)
{
    platform::Handle h = platform::NewHandle(0);
    int32_t counters[kNamingCounters];
    std::copy(objIndex4Name, objIndex4Name + kNamingCounters, counters);
    EXPECT_TRUE(PackFormat(h, r.frame.pages, r.frame.layoutInfo, counters));
    Bytes b = BytesOf(h);
    platform::DisposeHandle(h);
    return b;
}

// The object's fields in one line, to compare objects field by field.
std::string Describe(LayoutObject* o)
{
    std::ostringstream s;
    s << o->GetObjectKind() << " [" << o->bounds[0] << "," << o->bounds[1] << "," << o->bounds[2] << ","
      << o->bounds[3] << "] " << std::string(reinterpret_cast<char*>(o->name + 1), o->name[0]) << " look " << o->lookID
      << "/" << o->lookStyle << " o" << int(o->optionByte) << " l" << int(o->layer) << " " << int(o->flagA)
      << int(o->flagC) << int(o->flagD) << " c" << o->foreColor << "/" << o->backColor << " t";
    // Themes are stored last to first and read in the order stored: each
    // pass through a file turns the list round.
    std::vector<int32_t> themes = o->themes.Values();
    std::sort(themes.begin(), themes.end());
    for (int32_t v : themes) s << v << ",";
    if (o->owner) s << " in " << std::string(reinterpret_cast<char*>(o->owner->name + 1), o->owner->name[0]);
    if (auto* d = dynamic_cast<DrawingObject*>(o))
        s << " pen " << d->penWidth << "x" << d->penHeight << " " << int(d->hasFillPattern) << int(d->hasPenPattern)
          << int(d->laserWidth) << " " << int(d->fillPattern[0]) << "/" << int(d->penPattern[0]);
    if (auto* m = dynamic_cast<MatrixObject*>(o)) s << " grid " << m->rowCount << "x" << m->columnCount;
    if (auto* t = dynamic_cast<TextObject*>(o))
        s << " text " << (t->text ? std::string(*t->text, size_t(platform::GetHandleSize(t->text))) : "") << " f"
          << t->fontID << "/" << t->fontSize << "/" << t->face << "/" << t->justification << "/" << t->styleSheet;
    if (auto* i = dynamic_cast<ImageObject*>(o))
        s << " pict " << (i->picture ? platform::GetHandleSize(i->picture) : -1) << " " << int(i->imageOption1)
          << int(i->imageOption2) << int(i->imageOption3);
    if (auto* l = dynamic_cast<LibraryImageObject*>(o))
        s << " lib " << l->pictID << " " << std::string(reinterpret_cast<char*>(l->pictName + 1), l->pictName[0]);
    if (auto* e = dynamic_cast<EditableObject*>(o)) {
        unsigned char filter[256];
        e->GetEntryFilter(filter);
        s << " edit " << std::string(reinterpret_cast<char*>(e->format + 1), e->format[0]) << " m" << e->objectMethodID
          << " t" << e->tipKind << " list " << e->GetChoiceList() << "/" << e->GetRequestedList() << "/"
          << e->GetExcludedList() << " " << std::string(reinterpret_cast<char*>(filter + 1), filter[0]) << " s"
          << std::hex << e->scriptFlags << std::dec;
    }
    if (auto* f = dynamic_cast<FieldObject*>(o)) s << " field " << f->fieldNumber << "/" << f->tableNumber;
    if (auto* v = dynamic_cast<VarObject*>(o))
        s << " var " << std::string(reinterpret_cast<char*>(v->varName + 1), v->varName[0]) << " " << v->subType
          << " i" << int(v->interprocess) << " dfst " << (v->defaultStyle ? platform::GetHandleSize(v->defaultStyle) : -1);
    if (auto* g = dynamic_cast<VLayoutGrid*>(o)) {
        unsigned char name[256];
        int16_t range = 0;
        g->GetFullVariableName(name, &range);
        s << " listbox " << std::string(reinterpret_cast<char*>(name + 1), name[0]) << " columns";
        for (int32_t k = 1; k <= g->GetGridColumnCount(); ++k) {
            g->GetGridView().GetColumnVarName(k, name);
            s << " " << std::string(reinterpret_cast<char*>(name + 1), name[0]) << ":" << g->GetColumnProc(k);
        }
    }
    if (auto* m = dynamic_cast<SubFormObject*>(o))
        s << " sub " << m->subformFlags << " " << m->subformTable << " "
          << std::string(reinterpret_cast<char*>(m->formName1 + 1), m->formName1[0]) << "/"
          << std::string(reinterpret_cast<char*>(m->formName2 + 1), m->formName2[0]) << " " << int(m->subformValue1)
          << "," << int(m->subformValue2) << "," << m->subformOption << "," << int(m->autoSize);
    return s.str();
}

std::vector<std::string> Described(const Read& r)
{
    std::vector<std::string> out;
    for (LayoutObject* o : r.objects) out.push_back(Describe(o));
    return out;
}

void Rect(B& b, const std::function<void(B&)>& tail)
{
    Chunk(b, "RECT", [&](B& d) {
        d.W(10).W(20).W(30).W(40);
        tail(d);
    });
}

class FormReader : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetObjIndex();
        formTableCount = 3;
    }
    void TearDown() override { formTableCount = 0; }
};

TEST_F(FormReader, ARectangleIsStoredItemByItem)
{
    Read r;
    ReadBytes(FormOf(false, [](B& b) {
                  Chunk(b, "PAG#", [](B& d) { d.W(0); });
                  Rect(b, [](B& d) { d.P("R").L(2).W(1).U8(3).U8(4).U8(5).U8(6).U8(7); });
                  Chunk(b, "PAGE", [](B& d) { d.W(0); });
              }),
              &r);
    ASSERT_EQ(r.result, IFF_OKAY);
    ASSERT_EQ(r.objects.size(), 1u);
    // Back out: the container, then the object exactly as read.
    const Bytes packed = Packed(r);
    const Bytes rect = {'R', 'E', 'C', 'T', 0, 0, 0, 21, 0, 10, 0, 20, 0, 30, 0, 40, 1, 'R',
                        0,   0,   0,   2,   0, 1, 3, 4,  5, 6,  7,  0};
    EXPECT_NE(std::search(packed.begin(), packed.end(), rect.begin(), rect.end()), packed.end());

    // Shorter and other chunks: defaults, the last "DRAW", a look out of range.
    Read s;
    ReadBytes(FormOf(false, [](B& b) {
                  Chunk(b, "DRAW", [](B& d) { d.Zeros(16).W(3).W(4).L(0xFF).L(0x00FF00).U8(1).U8(0).U8(1).U8(0); });
                  Rect(b, [](B&) {});
                  Rect(b, [](B& d) { d.P(std::string(200, 'n')).L(9).W(0).U8(8); });
              }),
              &s);
    ASSERT_EQ(s.result, IFF_OKAY);
    ASSERT_EQ(s.objects.size(), 2u);
    auto* first = static_cast<RectObject*>(s.objects[0]);
    EXPECT_EQ(first->lookID, 0);
    EXPECT_EQ(first->layer, 0);
    EXPECT_EQ(first->penWidth, 3);
    EXPECT_EQ(first->foreColor, 0xFF);
    EXPECT_EQ(first->laserWidth, 1);
    auto* second = static_cast<RectObject*>(s.objects[1]);
    EXPECT_EQ(second->name[0], 31);
    EXPECT_EQ(second->lookID, -1);
    EXPECT_EQ(second->optionByte, 8);  // read in its place after the long name
}

TEST_F(FormReader, PropertiesAreWrittenBeforeAnObjectOnlyWhenTheyChange)
{
    platform::Handle pages = NewPageTable(0);
    auto* a = new RectObject;
    auto* b = new RectObject;
    auto* t1 = new TextObject;
    auto* t2 = new TextObject;
    for (RectObject* r : {a, b}) r->foreColor = 0xFF, r->hasFillPattern = 1;
    t1->fontID = 3, t1->fontSize = 12, t1->styleSheet = 2, t1->styleSheetHeight = 12;
    t2->fontID = 4, t2->fontSize = 9, t2->styleSheet = 2, t2->styleSheetHeight = 12;  // font and size not compared
    LayoutObject* chain[] = {a, b, t1, t2};
    for (int i = 0; i < 4; ++i) {
        if (i) chain[i]->previous = chain[i - 1], chain[i - 1]->next = chain[i];
    }
    SetPage(pages, 0, PageEntry{a, t2});
    LayoutInfo info;
    platform::Handle h = platform::NewHandle(0);
    ASSERT_TRUE(PackFormat(h, pages, info, nullptr));
    const Bytes bytes = BytesOf(h);
    std::string ids;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        ids += std::string(bytes.begin() + long(at), bytes.begin() + long(at + 4)) + " ";
        const uint32_t size = uint32_t(bytes[at + 4] << 24 | bytes[at + 5] << 16 | bytes[at + 6] << 8 | bytes[at + 7]);
        at += 8 + size + (size & 1);
    }
    EXPECT_EQ(ids, "Vers KhPr Layr Nam# DRAW FONT FLAG PAG# DRAW RECT RECT FONT TEXT TEXT PAGE ");
    platform::DisposeHandle(h);
    DestroyPages(pages);
}

TEST_F(FormReader, TextsFollowTheirStyleSheetsHeight)
{
    SetStyleSheetHeightProc([](int16_t id) -> int16_t { return id == 2 ? 15 : -1; });
    Read r;
    ReadBytes(FormOf(false, [](B& b) {
                  Chunk(b, "FONT", [](B& d) { d.W(3).W(12).W(0).W(0).W(2).W(12); });
                  Chunk(b, "TEXT", [](B& d) { d.W(100).W(0).W(124).W(50).Zeros(8).U8(0).L(2).Raw("ab"); });
                  Chunk(b, "GRPB", [](B& d) { d.W(100).W(0).W(124).W(50).Zeros(8).U8(0).L(0); });
              }),
              &r);
    SetStyleSheetHeightProc(nullptr);
    ASSERT_EQ(r.result, IFF_OKAY);
    ASSERT_EQ(r.objects.size(), 2u);
    EXPECT_EQ(r.objects[0]->bounds[2], 130);  // 100 + 15 x 24 / 12
    EXPECT_EQ(r.objects[1]->bounds[2], 124);  // a group box keeps its height
}

TEST_F(FormReader, PicturesAndLibraryPictures)
{
    Bytes picture(20);
    for (size_t i = 0; i < picture.size(); ++i) picture[i] = uint8_t(i);
    for (bool little : {false, true}) {
        Read r;
        ReadBytes(FormOf(little, [&](B& b) {
                      Chunk(b, "PICT", [](B& d) { d.W(0).W(0).W(9).W(9).L(0).P("never").U8(9); });
                      Chunk(b, "PICT", [&](B& d) { d.W(0).W(0).W(9).W(9).L(20).Raw(picture).P("P").U8(1); });
                  }),
                  &r);
        ASSERT_EQ(r.result, IFF_OKAY);
        ASSERT_EQ(r.objects.size(), 2u);
        auto* none = static_cast<ImageObject*>(r.objects[0]);
        EXPECT_EQ(none->picture, nullptr);
        EXPECT_EQ(none->imageOption1, 0);
        auto* with = static_cast<ImageObject*>(r.objects[1]);
        ASSERT_NE(with->picture, nullptr);
        const auto* p = reinterpret_cast<const uint8_t*>(*with->picture);
        // In the other byte order the size word and frame come turned.
        EXPECT_EQ(p[0], little ? 1 : 0);
        EXPECT_EQ(p[9], little ? 8 : 9);
        EXPECT_EQ(p[10], 10);
        EXPECT_EQ(with->imageOption1, 1);
    }
    // The writer cuts both names of a library picture to 31.
    LibraryImageObject l;
    unsigned char longName[64];
    longName[0] = 40;
    std::memset(longName + 1, 'p', 40);
    std::memcpy(l.pictName, longName, 32);
    l.pictName[0] = 40 > 31 ? 31 : 40;
    platform::Handle pages = NewPageTable(0);
    auto* copy = static_cast<LayoutObject*>(l.Duplicate());
    copy->name[0] = 31;
    std::memset(copy->name + 1, 'n', 31);
    SetPage(pages, 0, PageEntry{copy, copy});
    LayoutInfo info;
    platform::Handle h = platform::NewHandle(0);
    ASSERT_TRUE(PackFormat(h, pages, info, nullptr));
    Read back;
    ReadBytes(BytesOf(h), &back);
    ASSERT_EQ(back.objects.size(), 1u);
    EXPECT_EQ(static_cast<LibraryImageObject*>(back.objects[0])->pictName[0], 31);
    platform::DisposeHandle(h);
    DestroyPages(pages);
}

TEST_F(FormReader, SubformsOfOlderFormsTakeTheirFlagsConverted)
{
    struct Case {
        const char* what;
        uint8_t flags;
        std::function<void(B&)> tail;
        uint16_t wantFlags;
        int values[3];
        int16_t table, wantTable;
    };
    const std::vector<Case> cases = {
        {"ends after flag A, 0x18", 0x18, [](B& d) { d.U8(0).U8(0).U8(0).U8(0); }, 0x1A00, {12, 14, 0}, -2, -2},
        {"ends after flag A, 0x14", 0x14, [](B& d) { d.U8(0).U8(0).U8(0).U8(0); }, 0x0200, {30, 0, 1}, -2, -2},
        {"ends after the form names", 0x18, [](B&) {}, 0x1A07, {0, 0, 0}, 2, 2},
        {"a table beyond the structure's", 0x00, [](B& d) { d.U8(0).U8(0).U8(0).U8(0).U8(30).U8(99).U8(1); },
         0x0207, {30, 14, 1}, -7, 1},
    };
    for (const Case& c : cases) {
        Read r;
        ReadBytes(FormOf(false, [&](B& b) {
                      Chunk(b, "MULT", [&](B& d) {
                          d.W(0).W(0).W(9).W(9).P("S").L(0).W(0).U8(c.flags).U8(7).W(uint16_t(c.table)).P("L").P("D");
                          c.tail(d);
                      });
                  }),
                  &r);
        ASSERT_EQ(r.result, IFF_OKAY) << c.what;
        auto* s = static_cast<SubFormObject*>(r.objects.at(0));
        EXPECT_EQ(s->subformFlags, c.wantFlags) << c.what;
        EXPECT_EQ(std::vector<int>({s->subformValue1, s->subformValue2, int(s->subformOption)}),
                  std::vector<int>(c.values, c.values + 3))
            << c.what;
        EXPECT_EQ(s->subformTable, c.wantTable) << c.what;
    }
}

TEST_F(FormReader, ThemesAreStoredLastToFirst)
{
    Read r;
    ReadBytes(FormOf(false, [](B& b) {
                  Chunk(b, "Thm#", [](B& d) { d.L(1).L(5); });  // before any object: ignored
                  Rect(b, [](B&) {});
                  Chunk(b, "Thm#", [](B& d) { d.L(3).L(3).L(2).L(1); });
              }),
              &r);
    ASSERT_EQ(r.result, IFF_OKAY);
    ASSERT_EQ(r.objects.size(), 1u);
    EXPECT_EQ(r.objects[0]->themes.Values(), (std::vector<int32_t>{3, 2, 1}));
    const Bytes packed = Packed(r);
    const Bytes themes = {'T', 'h', 'm', '#', 0, 0, 0, 16, 0, 0, 0, 3, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3};
    EXPECT_NE(std::search(packed.begin(), packed.end(), themes.begin(), themes.end()), packed.end());
}

TEST_F(FormReader, DamagedFormsEndWithBadFormAndLeakNothing)
{
    const size_t handles = platform::LiveHandleCount();
    struct Case {
        const char* what;
        Bytes bytes;
        IFFP result;
    };
    const std::vector<Case> cases = {
        {"text length -1",
         FormOf(false, [](B& b) { Chunk(b, "TEXT", [](B& d) { d.W(0).W(0).W(0).W(0).Zeros(8).U8(0).L(0xFFFFFFFF); }); }),
         BAD_FORM},
        {"text past its chunk",
         FormOf(false, [](B& b) { Chunk(b, "TEXT", [](B& d) { d.W(0).W(0).W(0).W(0).Zeros(8).U8(0).L(100).Raw("ab"); }); }),
         BAD_FORM},
        {"picture past its chunk",
         FormOf(false, [](B& b) { Chunk(b, "PICT", [](B& d) { d.W(0).W(0).W(0).W(0).L(0x7FFFFFFF); }); }), BAD_FORM},
        {"themes past their chunk",
         FormOf(false, [](B& b) {
             Rect(b, [](B&) {});
             Chunk(b, "Thm#", [](B& d) { d.L(0x40000000).L(1); });
         }),
         BAD_FORM},
        // An item that begins is read whole: cut short, the chunk is short.
        {"a rectangle's look cut to two bytes", FormOf(false, [](B& b) { Rect(b, [](B& d) { d.P("R").W(0); }); }),
         SHORT_CHUNK},
        {"a static text's colours cut short",
         FormOf(false, [](B& b) { Chunk(b, "TEXT", [](B& d) { d.Zeros(17).L(0).P("").U8(0).L(0).W(0); }); }),
         SHORT_CHUNK},
        {"a subform's values cut short", FormOf(false, [](B& b) {
             Chunk(b, "MULT", [](B& d) { d.Zeros(8).P("S").L(0).W(0).W(0).W(1).P("L").P("D").Zeros(4).U8(12); });
         }),
         SHORT_CHUNK},
        {"a field's look cut to two bytes",
         FormOf(false, [](B& b) { Chunk(b, "FILD", [](B& d) { d.Zeros(18).W(1).W(1).U8(0).U8(0).W(0); }); }),
         SHORT_CHUNK},
        {"a field's script flags cut short", FormOf(false, [](B& b) {
             Chunk(b, "FILD", [](B& d) { d.Zeros(18).W(1).W(1).U8(0).U8(0).L(0).W(0).P("F").W(0); });
         }),
         SHORT_CHUNK},
        {"a negative page count", FormOf(false, [](B& b) { Chunk(b, "PAG#", [](B& d) { d.W(0xFFFF); }); }), BAD_FORM},
        {"a page first", FormOf(false, [](B& b) { Chunk(b, "PAGE", [](B& d) { d.W(0); }); }), BAD_FORM},
        {"a second page count after a page",
         FormOf(false, [](B& b) {
             Chunk(b, "PAG#", [](B& d) { d.W(1); });
             Rect(b, [](B&) {});
             Chunk(b, "PAGE", [](B& d) { d.W(0); });
             Chunk(b, "PAG#", [](B& d) { d.W(0); });
         }),
         BAD_FORM},
        {"members without a group",
         FormOf(false, [](B& b) {
             Rect(b, [](B&) {});
             b.Group("FORM", "OBJG", B().Chunk("OVAL", {0, 0, 0, 0, 0, 0, 0, 0}).b);
         }),
         BAD_FORM},
        {"two member groups after one group",
         FormOf(false, [](B& b) {
             Chunk(b, "GRUP", [](B& d) { d.W(0).W(0).W(9).W(9); });
             b.Group("FORM", "OBJG", B().Chunk("RECT", {0, 0, 0, 0, 0, 0, 0, 0}).b);
             b.Group("FORM", "OBJG", B().Chunk("OVAL", {0, 0, 0, 0, 0, 0, 0, 0}).b);
         }),
         IFF_OKAY},
        {"a page past the count, objects after the last",
         FormOf(false, [](B& b) {
             Chunk(b, "PAG#", [](B& d) { d.W(0); });
             Rect(b, [](B&) {});
             Chunk(b, "PAGE", [](B& d) { d.W(0); });
             Rect(b, [](B&) {});
             Chunk(b, "PAGE", [](B& d) { d.W(1); });
             Rect(b, [](B&) {});
         }),
         IFF_OKAY},
        // Wherever the read stops, what it made so far goes with it.
        {"a chunk cut after good objects",
         FormOf(false, [](B& b) {
             Rect(b, [](B&) {});
             Rect(b, [](B&) {});
             b.Id("OVAL").L(100).Zeros(8);
         }),
         BAD_IFF},
        {"a count past its bytes after good objects",
         FormOf(false, [](B& b) {
             Rect(b, [](B&) {});
             Rect(b, [](B&) {});
             Chunk(b, "TEXT", [](B& d) { d.W(0).W(0).W(0).W(0).Zeros(8).U8(0).L(100).Raw("ab"); });
         }),
         BAD_FORM},
        {"an object of an unknown kind, cut, after good objects",
         FormOf(false, [](B& b) {
             Rect(b, [](B&) {});
             Chunk(b, "GRUP", [](B& d) { d.W(0).W(0).W(9).W(9); });
             b.Id("BLOB").L(0x40).Zeros(6);
         }),
         BAD_IFF},
        {"an object of an unknown kind between good ones is passed over",
         FormOf(false, [](B& b) {
             Rect(b, [](B&) {});
             b.Chunk("BLOB", {1, 2, 3});
             Rect(b, [](B&) {});
             Rect(b, [](B&) {});
         }),
         IFF_OKAY},
        {"a group's members cut after some were made",
         FormOf(false, [](B& b) {
             Rect(b, [](B&) {});
             Chunk(b, "GRUP", [](B& d) { d.W(0).W(0).W(9).W(9); });
             b.Group("FORM", "OBJG", B().Chunk("RECT", {0, 0, 0, 0, 0, 0, 0, 0}).Id("OVAL").L(20).Zeros(4).b);
         }),
         BAD_IFF},
        {"a group in a group failing after members were made",
         FormOf(false, [](B& b) {
             Chunk(b, "GRUP", [](B& d) { d.W(0).W(0).W(9).W(9); });
             B inner;
             inner.Chunk("OVAL", {0, 0, 0, 0, 0, 0, 0, 0}).Chunk("GRUP", {0, 0, 0, 0, 0, 9, 0, 9});
             inner.Group("FORM", "OBJG", Bytes{'R', 'E', 'C', 'T', 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 'T', 'E', 'X', 'T',
                                             0, 0, 0, 2, 0, 0});
             b.Group("FORM", "OBJG", inner.b);
         }),
         SHORT_CHUNK},
        {"a page cut after pages were closed",
         FormOf(false, [](B& b) {
             Chunk(b, "PAG#", [](B& d) { d.W(2); });
             Rect(b, [](B&) {});
             Chunk(b, "PAGE", [](B& d) { d.W(0); });
             Rect(b, [](B&) {});
             Chunk(b, "PAGE", [](B& d) { d.W(1); });
             Rect(b, [](B&) {});
             b.Id("LINE").L(30).Zeros(2);
         }),
         BAD_IFF},
        {"objects outside any form, cut", B().Group("FORM", "OBJS", B().Chunk("RECT", {0, 0, 0, 0, 0, 0, 0, 0})
                                                                         .Id("RECT").L(8).Zeros(2).b).b,
         BAD_IFF},
        // Objects where a form was expected go to the form's only page.
        {"objects outside any form",
         B().Group("FORM", "OBJS",
                   B().Chunk("RECT", {0, 0, 0, 0, 0, 0, 0, 0})
                       .Chunk("OVAL", {0, 0, 0, 0, 0, 0, 0, 0})
                       .Chunk("LINE", {0, 0, 0, 0, 0, 0, 0, 0})
                       .b)
             .b,
         IFF_OKAY},
        {"a list of forms of objects",
         B().Group("LIST", "OBJS",
                   B().Group("FORM", "OBJS", B().Chunk("RECT", {0, 0, 0, 0, 0, 0, 0, 0}).b)
                       .Group("FORM", "OBJS",
                              B().Chunk("OVAL", {0, 0, 0, 0, 0, 0, 0, 0}).Chunk("LINE", {0, 0, 0, 0, 0, 0, 0, 0}).b)
                       .b)
             .b,
         IFF_OKAY},
        {"entry attributes left last in a group's members outside any form",
         B().Group("LIST", "OBJS",
                   B().Group("FORM", "OBJS",
                             B().Chunk("RECT", {0, 0, 0, 0, 0, 0, 0, 0}).Chunk("GRUP", {0, 0, 0, 0, 0, 9, 0, 9}).b)
                       .Group("FORM", "OBJG", B().Chunk("OVAL", {0, 0, 0, 0, 0, 0, 0, 0}).Chunk("SATT", [] {
                           B d;
                           d.W(5).U8(1).U8(0).W(6).W(0).W(7).U8(0).U8(0).Zeros(10).U8(0).U8(0).Zeros(10);
                           return d.U8(1).U8(0).P("").P("").b;
                       }()).b)
                       .b)
             .b,
         IFF_OKAY},
    };
    for (const Case& c : cases) {
        const size_t objects = LayoutObject::LiveCount();
        {
            Read r;
            ReadBytes(c.bytes, &r);
            EXPECT_EQ(r.result, c.result) << c.what;
            EXPECT_EQ(r.frame.firstObject, nullptr) << c.what;
            if (c.result == IFF_OKAY) {
                EXPECT_EQ(LastPageIndex(r.frame.pages), 0) << c.what;
                EXPECT_EQ(r.objects.size(), 3u) << c.what;
            } else {
                EXPECT_EQ(r.frame.pages, nullptr) << c.what;
                EXPECT_EQ(LayoutObject::LiveCount(), objects) << c.what;
            }
        }
        EXPECT_EQ(LayoutObject::LiveCount(), objects) << c.what;
    }
    EXPECT_EQ(platform::LiveHandleCount(), handles);
}

// Builder forms, every kind of this family on page 0 and two pages, groups
// three deep with an empty one: read, written, read again, the same
// objects field by field and the same bytes.
TEST_F(FormReader, FormsComeBackFieldByFieldInBothByteOrders)
{
    using Kind = docbuilder::FormItemSpec::Kind;
    auto object = [](Kind kind, int row) {
        docbuilder::IffObject o;
        o.kind = kind;
        o.bounds = {int16_t(10 + 20 * row), 5, int16_t(25 + 20 * row), 300};
        o.name = "Object" + std::to_string(row);
        return o;
    };
    docbuilder::IffFormLayout f;
    f.layers[2] = "Back";
    f.pages.resize(3);
    f.pages[0] = {object(Kind::Rect, 0), object(Kind::RoundRect, 1)};
    f.pages[0][0].themes = {4, 5};
    docbuilder::IffObject text = object(Kind::Text, 2);
    text.text = "Totals";
    text.styleSheet = 3;
    docbuilder::IffObject inner = object(Kind::Group, 3), middle = object(Kind::Group, 4), outer = object(Kind::Group, 5);
    inner.members = {object(Kind::Oval, 6)};
    middle.members = {inner, object(Kind::Line, 7), object(Kind::Group, 8)};  // the last one empty
    outer.members = {middle, object(Kind::Matrix, 9)};
    outer.themes = {1};
    docbuilder::IffObject sub = object(Kind::Subform, 10);
    sub.subformTable = -2, sub.text = "List", sub.detail = "Detail";
    docbuilder::IffObject lib = object(Kind::StaticPicture, 11);
    lib.pictureId = 7, lib.pictureName = "Logo";
    f.pages[1] = {text, outer, sub};
    // Fields, variables and list boxes with what they carry.
    docbuilder::IffObject field = object(Kind::Field, 14);
    field.fieldNumber = 2, field.tableNumber = 1, field.listId = 3, field.excludedId = 4, field.filter = "&9";
    field.methodId = 5, field.tip = 6, field.format = "###";
    docbuilder::IffObject variable = object(Kind::Variable, 15);
    variable.variable = "vAmount", variable.subType = 2, variable.format = "Yes", variable.interprocess = true;
    variable.bytes = {1, 2, 3};
    docbuilder::IffObject list = object(Kind::ListBox, 16);
    list.listVariable = "alLines", list.methodId = 7;
    list.listColumns = {{"alA", "hA", "A", 8}, {"alB", "hB", "B", 0}};
    f.pages[2] = {lib, object(Kind::Picture, 12), object(Kind::GroupBox, 13), field, variable, list};
    for (bool little : {false, true}) {
        SCOPED_TRACE(little ? "reversed" : "big-endian");
        f.little = little;
        ResetObjIndex();
        Read first;
        ReadBytes(docbuilder::IffForm(f), &first);
        ASSERT_EQ(first.result, IFF_OKAY);
        ASSERT_EQ(LastPageIndex(first.frame.pages), 2);
        ASSERT_EQ(first.objects.size(), 17u);
        const std::vector<std::string> described = Described(first);
        auto holds = [&](const std::string& part) {
            return std::any_of(described.begin(), described.end(),
                               [&](const std::string& d) { return d.find(part) != std::string::npos; });
        };
        EXPECT_TRUE(holds("edit ### m5 t6 list 3/-1/4 &9")) << described[14];
        EXPECT_TRUE(holds("var vAmount 2 i1 dfst 3"));
        EXPECT_TRUE(holds("listbox alLines columns alA:8 alB:0"));
        EXPECT_EQ(Describe(first.objects[5]).find(" in Object4") != std::string::npos, true);
        const Bytes packed = Packed(first);
        Read second;
        ReadBytes(packed, &second);
        ASSERT_EQ(second.result, IFF_OKAY);
        EXPECT_EQ(Described(second), Described(first));
        EXPECT_EQ(std::string(reinterpret_cast<char*>(second.frame.layoutInfo.layerNames[2] + 1), 4), "Back");
        Read third;
        ReadBytes(Packed(second), &third);
        EXPECT_EQ(Packed(third), packed);
    }
}

}  // namespace

namespace {

// The document builder's tiled pictures and disabled fields and variables
// read back as such; the plain ones scaled and editable.
TEST_F(FormReader, TiledPicturesAndDisabledEntriesReadBackSo)
{
    using Kind = docbuilder::FormItemSpec::Kind;
    struct Case {
        Kind kind;
        bool flag;
    };
    const Case cases[] = {{Kind::Picture, false}, {Kind::Picture, true}, {Kind::Field, false},
                          {Kind::Field, true},    {Kind::Variable, true}};
    for (const Case& c : cases) {
        docbuilder::IffObject o;
        o.kind = c.kind;
        o.bounds = {10, 10, 30, 210};
        o.fieldNumber = 1, o.tableNumber = 1, o.variable = "v";
        o.tiled = c.flag && c.kind == Kind::Picture;
        o.disabled = c.flag && c.kind != Kind::Picture;
        docbuilder::IffFormLayout f;
        f.pages.resize(2);
        f.pages[1] = {o};
        ResetObjIndex();
        Read read;
        ReadBytes(docbuilder::IffForm(f), &read);
        ASSERT_EQ(read.result, IFF_OKAY);
        ASSERT_EQ(read.objects.size(), 1u);
        if (auto* picture = dynamic_cast<ImageObject*>(read.objects[0])) {
            EXPECT_EQ(picture->imageOption2, c.flag ? 2 : 0);
            EXPECT_EQ(c.kind, Kind::Picture);
        } else {
            auto* editable = dynamic_cast<EditableObject*>(read.objects[0]);
            ASSERT_NE(editable, nullptr);
            EXPECT_EQ(editable->GetEditable(), !c.flag) << int(c.kind);
        }
    }
}

}  // namespace

// Fields and variables in their chunks: the stored bytes, the items older
// chunks lack, the rules applied after reading (table numbers, style-sheet
// heights, list formats, script flags), version upgrades, and every item
// written and read back.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "forms/layout/LayoutInfo.h"
#include "forms/layout/FormContainer.h"
#include "forms/layout/PageTable.h"
#include "forms/layout/SaisieAtt.h"
#include "forms/objects/EditableObjects.h"
#include "forms/objects/FormObjects.h"
#include "forms/objects/FormTables.h"
#include "forms/objects/ObjectWriting.h"
#include "forms/reader/FormReader.h"
#include "kernel/formhooks/FormSession.h"
#include "tests/forms/ObjectChunkSupport.h"

namespace {

using namespace ifftest;

unsigned char* P(const std::string& s, unsigned char* out)
{
    out[0] = uint8_t(s.size());
    std::memcpy(out + 1, s.data(), s.size());
    return out;
}

std::string S(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

// The common part of both chunks: bounds, options, record word, tip kind,
// method, then the padded format.
B& Common(B& d, const std::string& format = "", uint8_t entry = 0, uint8_t display = 0, int16_t method = 0)
{
    d.W(100).W(0).W(124).W(50).U8(entry).U8(display).W(0).W(0).W(uint16_t(method)).P(format);
    if ((format.size() + 1) % 2) d.U8(0);
    return d;
}

// A "VAR " up to its 18-byte record: a name room of 8.
B& VarHead(B& d, const std::string& name, uint32_t subType, bool interprocess = false)
{
    d.U8(8).P(name).Zeros(7 - name.size());
    return d.L(subType).L(0).U8(interprocess ? 1 : 0).Zeros(5).W(0).W(0);
}

Bytes One(bool little, const char* id, const B& data)
{
    B inner = little ? Little() : B();
    inner.Chunk(id, data.b);
    return (little ? Little() : B()).Group("FORM", "LAYO", inner.b).b;
}

// A stand-in for the form model: the tests only hand its address around.
char gModel;
LayoutEditor* const kModel = reinterpret_cast<LayoutEditor*>(&gModel);

class EditableChunks : public ::testing::Test {
protected:
    void SetUp() override
    {
        InitFormReadingFrame(&frame_, nullptr);
        own_ = FieldList(5, std::vector<uint8_t>(12, 1));
        for (int16_t t = 1; t <= 6; ++t) tables_.push_back(FieldList(t, {1, 2, 3, 4, 5, 6}));
        gTables = &tables_;
        gOwn = own_;
        SetTableFieldListProc([](int16_t n) { return (*gTables)[size_t(n - 1)]; });
        SetEditorCritRootProc([](LayoutEditor*) { return gOwn; });
        formTableCount = 6;
    }
    void TearDown() override
    {
        SetTableFieldListProc(nullptr);
        SetEditorCritRootProc(nullptr);
        SetStyleSheetHeightProc(nullptr);
        formTableCount = 0;
        kernelOption = 0;
        for (platform::Handle h : tables_) platform::DisposeHandle(h);
        platform::DisposeHandle(own_);
        if (frame_.entryAttributes) platform::DisposeHandle(frame_.entryAttributes);
    }

    static inline std::vector<platform::Handle>* gTables = nullptr;
    static inline platform::Handle gOwn = nullptr;
    CustomClientFrame frame_;
    platform::Handle own_ = nullptr;
    std::vector<platform::Handle> tables_;
};

TEST_F(EditableChunks, AVariablesNameIsStoredInARoomOfAtLeastEight)
{
    struct Case {
        std::string name;
        uint8_t room;
    };
    for (const Case& c : {Case{"A", 8}, Case{"Seven77", 8}, Case{"Eight888", 9}, Case{std::string(31, 'v'), 32}}) {
        VarObject v;
        P(c.name, v.varName);
        const Bytes data = ChunkData(Written(&v), "VAR ");
        ASSERT_GT(data.size(), 19u + c.room) << c.name;
        EXPECT_EQ(data[18], c.room) << c.name;
        Bytes want(c.room, 0);
        want[0] = uint8_t(c.name.size());
        std::memcpy(want.data() + 1, c.name.data(), c.name.size());
        EXPECT_EQ(Bytes(data.begin() + 19, data.begin() + 19 + c.room), want) << c.name;
    }
}

TEST_F(EditableChunks, AShortVariableChunkTakesTheDefaults)
{
    // A room of 40 is passed over: the record after it is read in place.
    B d;
    Common(d).U8(40).Raw(std::string(40, 'x')).L(5).L(0).U8(0).Zeros(5).W(0).W(0);
    VarObject skipped;
    P("kept", skipped.varName);
    ASSERT_EQ(ReadFirstChunk(&skipped, One(false, "VAR ", d), &frame_), IFF_OKAY);
    EXPECT_EQ(S(skipped.varName), "kept");
    EXPECT_EQ(skipped.subType, 5);

    // Ending after its record: no look, no name, the defaults of a process
    // variable (an interprocess one has its own).
    for (bool interprocess : {false, true}) {
        B e;
        VarHead(Common(e), "A", 0, interprocess);
        VarObject v;
        v.lookID = 3, v.lookStyle = 4;
        ASSERT_EQ(ReadFirstChunk(&v, One(false, "VAR ", e), &frame_), IFF_OKAY);
        EXPECT_EQ(v.lookID, 0);
        EXPECT_EQ(v.lookStyle, 0);
        EXPECT_EQ(v.name[0], 0);
        EXPECT_EQ(S(v.varName), "A");
        EXPECT_EQ(v.scriptFlags, interprocess ? 0x009801FA00000000ull : 0x009801F000000000ull);
    }
}

TEST_F(EditableChunks, NumbersKeptAsNamesTurnWithTheFile)
{
    // A name of five bytes beginning with 1 or 7 holds a long; the record's
    // first var word is stored as it is, the second in the file's order.
    for (uint8_t mark : {1, 7, 2}) {
        B d = Little();
        Common(d).U8(8).U8(5).U8(mark).U8(0x44).U8(0x33).U8(0x22).U8(0x11).Zeros(2);
        d.L(0).L(0).Zeros(6).U8(0x12).U8(0x34).W(0x5678);
        VarObject v;
        ASSERT_EQ(ReadFirstChunk(&v, One(true, "VAR ", d), &frame_), IFF_OKAY);
        const Bytes name(v.varName + 2, v.varName + 6);
        EXPECT_EQ(name, mark == 2 ? (Bytes{0x44, 0x33, 0x22, 0x11}) : (Bytes{0x11, 0x22, 0x33, 0x44})) << int(mark);
        EXPECT_EQ(v.varWord1, 0x1234);
        EXPECT_EQ(v.varWord2, 0x5678);
    }
}

TEST_F(EditableChunks, ColoursAndFontsAreWrittenOnlyWhenTheyChange)
{
    platform::Handle pages = NewPageTable(0);
    auto* a = new FieldObject;
    auto* b = new FieldObject;
    auto* c = new VarObject;
    auto* d = new VarObject;
    c->foreColor = 0xFF;                  // a colour of its own
    d->foreColor = 0xFF, d->fontSize = 9;  // and a size of its own
    a->next = b, b->previous = a, b->next = c, c->previous = b, c->next = d, d->previous = c;
    SetPage(pages, 0, PageEntry{a, d});
    LayoutInfo info;
    platform::Handle h = platform::NewHandle(0);
    ASSERT_TRUE(PackFormat(h, pages, info, nullptr));
    const std::vector<std::string> ids = ChunkIds(BytesOf(h));
    const std::vector<std::string> objects(ids.begin() + 8, ids.end());
    // The form's own "DRAW" holds the first field's colours; its "FONT" not
    // the fields' font.
    EXPECT_EQ(objects, (std::vector<std::string>{"FONT", "FILD", "FILD", "DRAW", "VAR ", "FONT", "VAR ", "PAGE"}));
    platform::DisposeHandle(h);
    DestroyPages(pages);
}

TEST_F(EditableChunks, AFieldChunkBeginsWithItsStoredParts)
{
    FieldObject f(kModel);
    const int16_t bounds[4] = {10, 20, 30, 40};
    std::memcpy(f.bounds, bounds, sizeof bounds);
    f.entryOption = 1, f.displayOption = 2, f.objectMethodID = 12;
    f.fieldNumber = 3, f.tableNumber = 5, f.fieldOption = 7;
    const Bytes data = ChunkData(Written(&f), "FILD");
    const Bytes want = {0x00, 0x0A, 0x00, 0x14, 0x00, 0x1E, 0x00, 0x28, 0x01, 0x02, 0x00, 0x00,
                        0x00, 0x00, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x03, 0x00, 0x05, 0x00, 0x07};
    ASSERT_GE(data.size(), want.size());
    EXPECT_EQ(Bytes(data.begin(), data.begin() + long(want.size())), want);

    // The same in a form of the other byte order: the option bytes come
    // back as they were, the words turned.
    B little = Little();
    little.W(10).W(20).W(30).W(40).U8(1).U8(2).W(0).W(0).W(12).U8(0).U8(0).W(3).W(5).U8(0).U8(7);
    FieldObject back(kModel);
    ASSERT_EQ(ReadFirstChunk(&back, One(true, "FILD", little), &frame_), IFF_OKAY);
    EXPECT_EQ(back.entryOption, 1);
    EXPECT_EQ(back.displayOption, 2);
    EXPECT_EQ(back.objectMethodID, 12);
    EXPECT_EQ(back.fieldNumber, 3);
    EXPECT_EQ(back.tableNumber, 5);
    EXPECT_EQ(back.fieldOption, 7);
}

TEST_F(EditableChunks, FieldNumbersSettleOnTablesTheStructureHolds)
{
    // The form's own table is 5 (12 fields); the structure has 6 tables.
    struct Case {
        int16_t table, field, wantTable, wantField;
    };
    const Case cases[] = {{0, 3, 5, 3}, {9, 40, 5, 1}, {9, 4, 5, 4}, {7, 3, 5, 3}, {6, 3, 6, 3},
                          {-1, 3, 5, 3}, {2, 0, 2, 1}, {2, -4, 2, 1}, {2, 40, 2, 40}};
    for (const Case& c : cases) {
        B d;
        Common(d).W(uint16_t(c.field)).W(uint16_t(c.table)).U8(0).U8(0);
        FieldObject f(kModel);
        ASSERT_EQ(ReadFirstChunk(&f, One(false, "FILD", d), &frame_), IFF_OKAY);
        EXPECT_EQ(f.tableNumber, c.wantTable) << c.table << "/" << c.field;
        EXPECT_EQ(f.fieldNumber, c.wantField) << c.table << "/" << c.field;
    }
    // Without a form model the own table is not known.
    B d;
    Common(d).W(3).W(0).U8(0).U8(0);
    FieldObject free;
    ASSERT_EQ(ReadFirstChunk(&free, One(false, "FILD", d), &frame_), IFF_OKAY);
    EXPECT_EQ(free.tableNumber, 0);
}

TEST_F(EditableChunks, AFieldShowsItsValueUnlessItsTypeIsShownOtherwise)
{
    // Table 1's fields are of types 1 to 6.
    struct Case {
        int16_t field;
        uint8_t display, written;
    };
    for (const Case& c : {Case{1, 0, 1}, Case{2, 0, 0}, Case{3, 0, 0}, Case{4, 0, 1}, Case{1, 5, 5}}) {
        FieldObject f(kModel);
        f.tableNumber = 1, f.fieldNumber = c.field, f.displayOption = c.display;
        const Bytes data = ChunkData(Written(&f), "FILD");
        ASSERT_GT(data.size(), 9u);
        EXPECT_EQ(data[9], c.written) << "field " << c.field;
    }
    // A field of the form's own table is written with the table's number.
    FieldObject own(kModel);
    own.fieldNumber = 2;
    const Bytes data = ChunkData(Written(&own), "FILD");
    EXPECT_EQ(platform::ReadBE16(data.data() + 20), 5);
}

TEST_F(EditableChunks, HeightsFollowTheStyleSheetByKind)
{
    SetStyleSheetHeightProc([](int16_t id) -> int16_t { return id == 2 ? 15 : -1; });
    // The "FONT" read last: style sheet 2, written when it was 12 high.
    frame_.curFont = FontSpecs{3, 12, 0, 0, 2, 12};
    struct Case {
        const char* what;
        const char* id;
        uint32_t subType;
        int16_t field;
        std::string format;
        int16_t bottom, styleSheet;
    };
    const Case cases[] = {
        {"a list taller than its line stays", "VAR ", 2, 0, "", 124, 2},
        {"an entry area in proportion", "VAR ", 0, 0, "", 130, 2},
        {"a standard format of code 20 stays", "VAR ", 0, 0, "\x01\x14", 124, 2},
        {"a standard format of code 25 follows", "VAR ", 0, 0, "\x01\x19", 130, 2},
        {"a radio button shrinks only", "VAR ", 3, 0, "", 124, 2},
        {"a field in proportion", "FILD", 0, 1, "", 130, 2},
        {"a boolean field stays", "FILD", 0, 6, "", 124, 2},
        {"no style sheet", "VAR ", 0, 0, "", 124, -1},
    };
    for (const Case& c : cases) {
        frame_.curFont.styleSheet = c.styleSheet;
        B d;
        Common(d, c.format);
        if (std::string(c.id) == "FILD") d.W(uint16_t(c.field)).W(1).U8(0).U8(0);
        else VarHead(d, "v", c.subType);
        FieldObject field(kModel);
        VarObject variable(kModel);
        EditableObject* o = std::string(c.id) == "FILD" ? static_cast<EditableObject*>(&field) : &variable;
        ASSERT_EQ(ReadFirstChunk(o, One(false, c.id, d), &frame_), IFF_OKAY) << c.what;
        EXPECT_EQ(o->bounds[2], c.bottom) << c.what;
        if (c.styleSheet != -1) {
            EXPECT_EQ(o->styleSheetHeight, 15) << c.what;
        }
    }
    // The variable of the edge case: 14 high, grows by 3.
    B d;
    d.W(100).W(0).W(114).W(50).Zeros(8).U8(0).U8(0);
    VarHead(d, "v", 2);
    VarObject list;
    frame_.curFont.styleSheet = 2;
    ASSERT_EQ(ReadFirstChunk(&list, One(false, "VAR ", d), &frame_), IFF_OKAY);
    EXPECT_EQ(list.bounds[2], 117);
}

TEST_F(EditableChunks, ListKindsGetAFormatOfTwelveEntries)
{
    struct Case {
        uint32_t subType;
        std::string format, want;
    };
    const Case cases[] = {
        {18, "", ";;;;;;1;;;;;"},
        {19, "x", "x;;;;;;1;;;;;"},
        {20, "a;b;c;d;e", "a;b;c;d;e;;;;;;;0"},
        {18, "1;2;3;4;5;6;7;8;9;10;11;12", "1;2;3;4;5;6;7;8;9;10;11;12"},
        {18, "1;2;3;4;5;6;7;8;9;10;11;12;13;14", "1;2;3;4;5;6;7;8;9;10;11;0"},
        {17, "", ""},
    };
    for (const Case& c : cases) {
        B d;
        VarHead(Common(d, c.format), "v", c.subType);
        VarObject v;
        ASSERT_EQ(ReadFirstChunk(&v, One(false, "VAR ", d), &frame_), IFF_OKAY) << c.format;
        EXPECT_EQ(S(v.format), c.want) << c.subType << " " << c.format;
    }
    // Counting: empty, one, separators only.
    VarObject v;
    for (auto [text, n] : {std::pair{"", 0}, std::pair{"a", 1}, std::pair{";", 2}, std::pair{"a;;b", 3}}) {
        P(text, v.format);
        EXPECT_EQ(v.CountFormatStrings(), n) << text;
    }
    // A long format is held to 255 bytes.
    P(std::string(250, 'w'), v.format);
    v.SetFormatNthLong(123456, 2, 12);
    EXPECT_EQ(v.format[0], 255);

    // Sub-type 23 takes look style 1 when the chunk's marker asks for it.
    struct Marker {
        int marker;  // -1: not in the chunk
        int16_t style, want;
    };
    for (const Marker& m : {Marker{1, 0, 1}, Marker{0, 0, 0}, Marker{-1, 0, 1}, Marker{1, 3, 3}}) {
        B e;
        VarHead(Common(e), "v", 23).L(0).W(uint16_t(m.style)).P("").L(0).U8(0).U8(0).U8(0).L(0).U8(0).L(0).U8(0);
        if (m.marker >= 0) e.U8(uint32_t(m.marker));
        VarObject t;
        ASSERT_EQ(ReadFirstChunk(&t, One(false, "VAR ", e), &frame_), IFF_OKAY);
        EXPECT_EQ(t.lookStyle, m.want) << m.marker << "/" << m.style;
    }
}

TEST_F(EditableChunks, OlderVersionsSetTheEventFlags)
{
    struct Case {
        bool field;
        int16_t version;
        int32_t subType;
        uint8_t option, flag1, flag2, want1, want2;
    };
    const Case cases[] = {
        {true, 0, 0, 0, 0, 0, 1, 1},  {true, 2, 0, 0, 1, 0, 1, 1},  {true, 2, 0, 0, 0, 1, 0, 0},
        {true, 3, 0, 0, 1, 0, 1, 0},  {false, 0, 0, 0, 0, 0, 1, 1}, {false, 2, 5, 0, 1, 0, 0, 1},
        {false, 2, 0, 0, 1, 0, 1, 1}, {false, 2, 26, 0, 1, 0, 1, 1}, {false, 2, 5, 1, 1, 0, 1, 1},
        {false, 3, 5, 0, 1, 0, 1, 0},
    };
    for (const Case& c : cases) {
        kernelOption = c.option;
        FieldObject f;
        VarObject v;
        EditableObject* o = c.field ? static_cast<EditableObject*>(&f) : &v;
        v.subType = c.subType;
        o->flag1 = c.flag1, o->flag2 = c.flag2;
        o->AdjustVersion(c.version);
        EXPECT_EQ(std::make_pair(o->flag1, o->flag2), std::make_pair(c.want1, c.want2))
            << (c.field ? "field" : "variable") << " version " << c.version << " sub-type " << c.subType;
    }
}

TEST_F(EditableChunks, EntryAttributesAreStoredWithTheirExtendedReals)
{
    FieldObject f;
    f.SetChoiceList(4);
    f.SetRequestedList(-1);
    f.SetExcludedList(-1);
    platform::Handle r = f.entryAttributes;
    ASSERT_NE(r, nullptr);
    (*r)[satt::kMinType] = 1;
    const double value = 2.5;
    uint64_t bits = 0;
    std::memcpy(&bits, &value, 8);
    platform::WriteBE64(*r + satt::kMinValue, bits);
    const Bytes form = Written(&f);
    EXPECT_EQ(ChunkIds(form), (std::vector<std::string>{"DRAW", "FONT", "SATT", "FILD"}));
    const Bytes satt = ChunkData(form, "SATT");
    const Bytes want = {0x00, 0x04, 0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x01,
                        0x00, 0x40, 0x00, 0xA0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    ASSERT_GE(satt.size(), want.size());
    EXPECT_EQ(Bytes(satt.begin(), satt.begin() + long(want.size())), want);

    // Read back in either byte order: the words turned, the real converted.
    for (bool little : {false, true}) {
        B d = little ? Little() : B();
        d.W(4).U8(1).U8(0).W(0xFFFF).W(0).W(0xFFFF).U8(1).U8(0);
        Bytes real(satt.begin() + 12, satt.begin() + 22);
        if (little) std::reverse(real.begin(), real.end());
        d.Raw(real).U8(0).U8(0).Zeros(10).U8(1).U8(0).P("").P("##").U8(0).U8(2);
        B field = little ? Little() : B();
        Common(field).W(1).W(0).U8(0).U8(0);
        B inner = little ? Little() : B();
        inner.Chunk("SATT", d.b).Chunk("FILD", field.b);
        const Bytes image = (little ? Little() : B()).Group("FORM", "LAYO", inner.b).b;
        CustomClientFrame frame;
        InitFormReadingFrame(&frame, nullptr);
        platform::Handle h = HandleOf(image);
        ASSERT_EQ(ReadFormImage(h, &frame), IFF_OKAY);
        platform::DisposeHandle(h);
        PageEntry page;
        ASSERT_TRUE(GetPage(frame.pages, 0, &page));
        auto* back = static_cast<FieldObject*>(page.first);
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->GetChoiceList(), 4) << little;
        EXPECT_EQ(back->GetRequestedList(), -1);
        double read = 0;
        const uint64_t readBits = platform::ReadBE64(*back->entryAttributes + satt::kMinValue);
        std::memcpy(&read, &readBits, 8);
        EXPECT_EQ(read, 2.5) << little;
        unsigned char filter[256];
        EXPECT_TRUE(back->GetEntryFilter(filter));
        EXPECT_EQ(S(filter), "##");
        DestroyPages(frame.pages);
    }
}

TEST_F(EditableChunks, ALongDefaultTextKeepsTheFilterWhole)
{
    // A default text of 60 characters, the filter "&9", then a repeated
    // length that claims more than the filter.
    B d;
    d.W(0xFFFF).U8(0).U8(0).W(0xFFFF).W(0).W(0xFFFF).U8(0).U8(0).Zeros(10).U8(0).U8(0).Zeros(10).U8(1).U8(0);
    d.P(std::string(60, 't')).P("&9").U8(7).U8(200);
    platform::Handle h = HandleOf(One(false, "SATT", d));
    IOFile* io = MemoryOpen(h, 0);
    _GroupContext top, group;
    ASSERT_EQ(OpenRIFF(io, &top, &frame_.client), IFF_OKAY);
    ASSERT_EQ(GetChunkHdr(&top), ID_FORM);
    ASSERT_EQ(OpenRGroup(&top, &group), IFF_OKAY);
    ASSERT_EQ(GetChunkHdr(&group), IFFP(platform::FourCC("SATT")));
    IFFP result = 0;
    platform::Handle record = ReadSaisieAtt(&group, &result);
    FClose(io);
    platform::DisposeHandle(h);
    ASSERT_NE(record, nullptr);
    unsigned char text[256];
    SattText(record, satt::kDefaultText, text);
    EXPECT_EQ(S(text), std::string(31, 't'));
    FieldObject f;
    f.entryAttributes = record;
    EXPECT_TRUE(f.GetEntryFilter(text));
    EXPECT_EQ(S(text), "&9");
    EXPECT_EQ(SattByte(record, satt::kBeforeFilter), 7);
}

// Every item of both chunks written and read back.
std::string Describe(EditableObject* o)
{
    std::ostringstream s;
    for (int16_t v : o->bounds) s << v << ",";
    s << " e" << int(o->entryOption) << " d" << int(o->displayOption) << " w" << o->recordWord1 << " t" << o->tipKind
      << "/" << o->tipID1 << "/" << o->tipID2 << " m" << o->objectMethodID << " f" << S(o->format) << " look "
      << o->lookID << "/" << o->lookStyle << " n" << S(o->name) << " s" << std::hex << o->scriptFlags << std::dec
      << " flags " << int(o->flag1) << int(o->flag2) << int(o->flag3) << int(o->flag4) << " o" << int(o->optionByte)
      << " sb" << int(o->vScrollBar) << int(o->hScrollBar) << " eo" << int(o->editOption2) << "/" << o->editOption1
      << "/" << int(o->editOption3) << "/" << int(o->editOption4) << " l" << int(o->layer) << " " << int(o->flagA)
      << int(o->flagC) << int(o->flagD);
    if (auto* f = dynamic_cast<FieldObject*>(o))
        s << " field " << f->fieldNumber << "/" << f->tableNumber << "/" << int(f->fieldOption) << "/"
          << int(f->fieldOption2);
    if (auto* v = dynamic_cast<VarObject*>(o))
        s << " var " << S(v->varName) << " " << v->subType << "/" << v->varOption << " i" << int(v->interprocess)
          << " b" << int(v->varByte1) << int(v->varByte2) << int(v->varByte3) << int(v->varByte4) << int(v->varByte5)
          << int(v->varByte6) << int(v->varByte7) << " w" << v->varWord1 << "/" << v->varWord2;
    return s.str();
}

template <typename T>
void Fill(T* o, int seed)
{
    const int16_t bounds[4] = {int16_t(seed), 2, int16_t(seed + 20), 300};
    std::memcpy(o->bounds, bounds, sizeof bounds);
    o->entryOption = 3, o->displayOption = 4, o->recordWord1 = -5, o->tipKind = 6, o->tipID1 = 7, o->tipID2 = 8;
    o->objectMethodID = 9;
    unsigned char p[256];
    o->SetDisplayFormat(P("###0.00", p));
    o->lookID = 2, o->lookStyle = 3;
    o->SetName(P("Object" + std::to_string(seed), p));
    o->scriptFlags = 0x0123456789ABCDEFull;
    o->flag1 = 1, o->flag3 = 1, o->optionByte = 11;
    o->vScrollBar = 0, o->hScrollBar = 0, o->editOption2 = 12, o->editOption1 = -13;
    o->editOption3 = 14, o->editOption4 = 15, o->layer = 6, o->flagA = 16, o->flagC = 17, o->flagD = 18;
}

TEST_F(EditableChunks, EveryItemComesBack)
{
    kernelOption = 1;  // tips are taken
    FieldObject f(kModel);
    Fill(&f, 10);
    f.fieldNumber = 4, f.tableNumber = 2, f.fieldOption = 19, f.fieldOption2 = 20;
    VarObject v(kModel);
    Fill(&v, 40);
    unsigned char p[256];
    v.SetVarName(P("vTotal", p));
    v.subType = 5, v.varOption = 21, v.interprocess = 1, v.varByte2 = 22, v.varByte4 = 23, v.varByte5 = 24;
    v.varByte6 = 25, v.varByte7 = 26, v.varWord1 = -27, v.varWord2 = 28;
    VarObject scrolled(kModel);
    Fill(&scrolled, 70);
    scrolled.hScrollBar = 1, scrolled.editOption2 = 0;
    for (EditableObject* o : {static_cast<EditableObject*>(&f), static_cast<EditableObject*>(&v),
                              static_cast<EditableObject*>(&scrolled)}) {
        const Bytes form = Written(o);
        const char* id = o->IsField() ? "FILD" : "VAR ";
        FieldObject field(kModel);
        VarObject variable(kModel);
        EditableObject* back = o->IsField() ? static_cast<EditableObject*>(&field) : &variable;
        ASSERT_EQ(ReadFirstChunk(back, One(false, id, B{ChunkData(form, id)}), &frame_), IFF_OKAY);
        EXPECT_EQ(Describe(back), Describe(o));
    }
    // Tips are read only while the kernel asks for them.
    kernelOption = 0;
    VarObject noTip(kModel);
    ASSERT_EQ(ReadFirstChunk(&noTip, One(false, "VAR ", B{ChunkData(Written(&v), "VAR ")}), &frame_), IFF_OKAY);
    EXPECT_EQ(noTip.tipID1, 0);
    EXPECT_EQ(noTip.tipKind, 6);
}

}  // namespace

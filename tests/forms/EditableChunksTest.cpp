// Fields and variables in their chunks: the stored bytes, the items older
// chunks lack, the rules applied after reading (table numbers, style-sheet
// heights, list formats, script flags), version upgrades, and every item
// written and read back.
#include <gtest/gtest.h>

#include <array>
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
        FormModelHooks model;
        model.critRoot = [](LayoutEditor*) { return gOwn; };
        SetFormModelHooks(model);
        formTableCount = 6;
    }
    void TearDown() override
    {
        SetTableFieldListProc(nullptr);
        ResetFormModelHooks();
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

TEST_F(EditableChunks, VariableNamesAndShortChunks)
{
    // Written: N = the name's length + 1, at least 8, then the name's room.
    for (auto [name, room] : {std::pair<std::string, uint8_t>{"A", 8}, {"Eight888", 9}, {std::string(31, 'v'), 32}}) {
        VarObject v;
        P(name, v.varName);
        const Bytes data = ChunkData(Written(&v), "VAR ");
        Bytes want(room, 0);
        want[0] = uint8_t(name.size());
        std::memcpy(want.data() + 1, name.data(), name.size());
        ASSERT_EQ(data[18], room) << name;
        EXPECT_EQ(Bytes(data.begin() + 19, data.begin() + 19 + room), want) << name;
    }
    // A room of 40 is passed over and the record after it read in place.
    B d;
    Common(d).U8(40).Raw(std::string(40, 'x')).L(5).L(0).U8(0).Zeros(5).W(0).W(0);
    VarObject skipped;
    P("kept", skipped.varName);
    ASSERT_EQ(ReadFirstChunk(&skipped, One(false, "VAR ", d), &frame_), IFF_OKAY);
    EXPECT_EQ(S(skipped.varName) + "/" + std::to_string(skipped.subType), "kept/5");
    // Ending after its record: no look, no name, the script flags of a
    // process (or an interprocess) variable.
    for (bool interprocess : {false, true}) {
        B e;
        VarHead(Common(e), "A", 0, interprocess);
        VarObject v;
        v.lookID = 3, v.lookStyle = 4;
        ASSERT_EQ(ReadFirstChunk(&v, One(false, "VAR ", e), &frame_), IFF_OKAY);
        EXPECT_EQ(std::vector<int>({v.lookID, v.lookStyle, v.name[0]}), std::vector<int>({0, 0, 0}));
        EXPECT_EQ(v.scriptFlags, interprocess ? 0x009801FA00000000ull : 0x009801F000000000ull);
    }
    // In the other byte order a 5-byte name beginning with 1 or 7 holds a
    // long; var word 1 is stored as it is, word 2 in the file's order.
    for (uint8_t mark : {1, 7, 2}) {
        B n = Little();
        Common(n).U8(8).U8(5).U8(mark).U8(0x44).U8(0x33).U8(0x22).U8(0x11).Zeros(2);
        n.L(0).L(0).Zeros(6).U8(0x12).U8(0x34).W(0x5678);
        VarObject v;
        ASSERT_EQ(ReadFirstChunk(&v, One(true, "VAR ", n), &frame_), IFF_OKAY);
        EXPECT_EQ(v.varName[2], mark == 2 ? 0x44 : 0x11) << int(mark);
        EXPECT_EQ(std::make_pair(v.varWord1, v.varWord2), std::make_pair(int16_t(0x1234), int16_t(0x5678)));
    }
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
    EXPECT_EQ(Bytes(data.begin(), data.begin() + long(want.size())), want);
    // In a form of the other byte order the option bytes come back as they
    // were, the words turned.
    B little = Little();
    little.W(10).W(20).W(30).W(40).U8(1).U8(2).W(0).W(0).W(12).U8(0).U8(0).W(3).W(5).U8(0).U8(7);
    FieldObject back(kModel);
    ASSERT_EQ(ReadFirstChunk(&back, One(true, "FILD", little), &frame_), IFF_OKAY);
    EXPECT_EQ(std::vector<int>({back.entryOption, back.displayOption, back.objectMethodID, back.fieldNumber,
                                back.tableNumber, back.fieldOption}),
              std::vector<int>({1, 2, 12, 3, 5, 7}));
}

TEST_F(EditableChunks, FieldNumbersSettleOnTablesTheStructureHolds)
{
    // The form's own table is 5 (12 fields); the structure has 6 tables.
    const int16_t cases[][4] = {{0, 3, 5, 3},  {9, 40, 5, 1}, {9, 4, 5, 4}, {7, 3, 5, 3},  {6, 3, 6, 3},
                                {-1, 3, 5, 3}, {2, 0, 2, 1},  {2, -4, 2, 1}, {2, 40, 2, 40}};
    for (const auto& c : cases) {
        B d;
        Common(d).W(uint16_t(c[1])).W(uint16_t(c[0])).U8(0).U8(0);
        FieldObject f(kModel);
        ASSERT_EQ(ReadFirstChunk(&f, One(false, "FILD", d), &frame_), IFF_OKAY);
        EXPECT_EQ(std::make_pair(f.tableNumber, f.fieldNumber), std::make_pair(c[2], c[3])) << c[0] << "/" << c[1];
    }
    // Written: display option 0 becomes 1 unless the field (table 1: types
    // 1 to 6) is of type 2 or 3; table 0 is written as the own table.
    for (auto [field, display, written] : {std::array<int, 3>{1, 0, 1}, {2, 0, 0}, {3, 0, 0}, {4, 0, 1}, {1, 5, 5}}) {
        FieldObject f(kModel);
        f.tableNumber = 1, f.fieldNumber = int16_t(field), f.displayOption = uint8_t(display);
        EXPECT_EQ(ChunkData(Written(&f), "FILD")[9], written) << "field " << field;
    }
    FieldObject own(kModel);
    own.fieldNumber = 2;
    EXPECT_EQ(platform::ReadBE16(ChunkData(Written(&own), "FILD").data() + 20), 5);
}

TEST_F(EditableChunks, HeightsFollowTheStyleSheetByKind)
{
    SetStyleSheetHeightProc([](int16_t id) -> int16_t { return id == 2 ? 15 : -1; });
    // The "FONT" read last: style sheet 2, written when it was 12 high.
    frame_.curFont = FontSpecs{3, 12, 0, 0, 2, 12};
    struct Case {
        const char* what;
        bool field;
        uint32_t subType;  // or the field of table 1 (types 1 to 6)
        std::string format;
        int16_t top, bottom, want, styleSheet;
    };
    const Case cases[] = {
        {"a list grows by the difference", false, 2, "", 100, 114, 117, 2},
        {"a list taller than its line stays", false, 2, "", 100, 124, 124, 2},
        {"an entry area in proportion", false, 0, "", 100, 124, 130, 2},
        {"a standard format of code 20 stays", false, 0, "\x01\x14", 100, 124, 124, 2},
        {"a standard format of code 25 follows", false, 0, "\x01\x19", 100, 124, 130, 2},
        {"a radio button shrinks only", false, 3, "", 100, 124, 124, 2},
        {"a field in proportion", true, 1, "", 100, 124, 130, 2},
        {"a boolean field stays", true, 6, "", 100, 124, 124, 2},
        {"no style sheet", false, 0, "", 100, 124, 124, -1},
    };
    for (const Case& c : cases) {
        frame_.curFont.styleSheet = c.styleSheet;
        B d;
        d.W(uint16_t(c.top)).W(0).W(uint16_t(c.bottom)).W(50).Zeros(8).P(c.format);
        if ((c.format.size() + 1) % 2) d.U8(0);
        if (c.field) d.W(uint16_t(c.subType)).W(1).U8(0).U8(0);
        else VarHead(d, "v", c.subType);
        FieldObject field(kModel);
        VarObject variable(kModel);
        EditableObject* o = c.field ? static_cast<EditableObject*>(&field) : &variable;
        ASSERT_EQ(ReadFirstChunk(o, One(false, c.field ? "FILD" : "VAR ", d), &frame_), IFF_OKAY) << c.what;
        EXPECT_EQ(o->bounds[2], c.want) << c.what;
    }
}

TEST_F(EditableChunks, ListKindsGetAFormatOfTwelveEntries)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", ";;;;;;1;;;;;"},
        {"x", "x;;;;;;1;;;;;"},
        {"a;b;c;d;e", "a;b;c;d;e;;;;;;;0"},
        {"1;2;3;4;5;6;7;8;9;10;11;12", "1;2;3;4;5;6;7;8;9;10;11;12"},
        {"1;2;3;4;5;6;7;8;9;10;11;12;13", "1;2;3;4;5;6;7;8;9;10;11;0"},
    };
    for (uint32_t subType : {18, 19, 20, 17})
        for (const auto& [format, want] : cases) {
            B d;
            VarHead(Common(d, format), "v", subType);
            VarObject v;
            ASSERT_EQ(ReadFirstChunk(&v, One(false, "VAR ", d), &frame_), IFF_OKAY);
            EXPECT_EQ(S(v.format), subType == 17 ? format : want) << subType << " " << format;
        }
    // Sub-type 23 takes look style 1 when the chunk's marker (-1: absent,
    // counting as 1) asks for it and its style is 0.
    for (auto [marker, style, want] : {std::array<int, 3>{1, 0, 1}, {0, 0, 0}, {-1, 0, 1}, {1, 3, 3}}) {
        B e;
        VarHead(Common(e), "v", 23).L(0).W(uint16_t(style)).P("").L(0).U8(0).U8(0).U8(0).L(0).U8(0).L(0).U8(0);
        if (marker >= 0) e.U8(uint32_t(marker));
        VarObject t;
        ASSERT_EQ(ReadFirstChunk(&t, One(false, "VAR ", e), &frame_), IFF_OKAY);
        EXPECT_EQ(t.lookStyle, want) << marker << "/" << style;
    }
}

TEST_F(EditableChunks, OlderVersionsSetTheEventFlags)
{
    // field?, version, sub-type, kernel option, flags 1 and 2 before, after.
    const int cases[][8] = {{1, 0, 0, 0, 0, 0, 1, 1}, {1, 2, 0, 0, 1, 0, 1, 1},  {1, 2, 0, 0, 0, 1, 0, 0},
                            {1, 3, 0, 0, 1, 0, 1, 0}, {0, 0, 0, 0, 0, 0, 1, 1},  {0, 2, 5, 0, 1, 0, 0, 1},
                            {0, 2, 0, 0, 1, 0, 1, 1}, {0, 2, 26, 0, 1, 0, 1, 1}, {0, 2, 5, 1, 1, 0, 1, 1},
                            {0, 3, 5, 0, 1, 0, 1, 0}};
    for (const auto& c : cases) {
        kernelOption = uint8_t(c[3]);
        FieldObject f;
        VarObject v;
        EditableObject* o = c[0] ? static_cast<EditableObject*>(&f) : &v;
        v.subType = c[2];
        o->flag1 = uint8_t(c[4]), o->flag2 = uint8_t(c[5]);
        o->AdjustVersion(int16_t(c[1]));
        EXPECT_EQ(std::make_pair(int(o->flag1), int(o->flag2)), std::make_pair(c[6], c[7]))
            << (c[0] ? "field" : "variable") << " version " << c[1] << " sub-type " << c[2];
    }
}

TEST_F(EditableChunks, EntryAttributesAreStoredWithTheirExtendedReals)
{
    FieldObject f;
    f.SetChoiceList(4);
    f.SetRequestedList(-1);
    f.SetExcludedList(-1);
    (*f.entryAttributes)[saisieatt::kMinType] = 1;
    const double value = 2.5;
    uint64_t bits = 0;
    std::memcpy(&bits, &value, 8);
    platform::WriteBE64(*f.entryAttributes + saisieatt::kMinValue, bits);
    const Bytes form = Written(&f);
    EXPECT_EQ(ChunkIds(form), (std::vector<std::string>{"DRAW", "FONT", "SATT", "FILD"}));
    const Bytes satt = ChunkData(form, "SATT");
    const Bytes want = {0x00, 0x04, 0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x01,
                        0x00, 0x40, 0x00, 0xA0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(Bytes(satt.begin(), satt.begin() + long(want.size())), want);

    // Read back in either byte order (the words turned, the real
    // converted); a default text of 60 keeps 31, and a repeated filter
    // length that claims more than the filter is not taken.
    for (bool little : {false, true}) {
        B d = little ? Little() : B();
        Bytes real(satt.begin() + 12, satt.begin() + 22);
        if (little) std::reverse(real.begin(), real.end());
        d.W(4).U8(1).U8(0).W(0xFFFF).W(0).W(0xFFFF).U8(1).U8(0).Raw(real).U8(0).U8(0).Zeros(10).U8(1).U8(0);
        d.P(std::string(60, 't')).P("##").U8(7).U8(200);
        B field = little ? Little() : B();
        Common(field).W(1).W(0).U8(0).U8(0);
        B inner = little ? Little() : B();
        inner.Chunk("SATT", d.b).Chunk("FILD", field.b);
        CustomClientFrame frame;
        InitFormReadingFrame(&frame, nullptr);
        platform::Handle h = HandleOf((little ? Little() : B()).Group("FORM", "LAYO", inner.b).b);
        ASSERT_EQ(ReadFormImage(h, &frame), IFF_OKAY);
        platform::DisposeHandle(h);
        PageEntry page;
        ASSERT_TRUE(GetPage(frame.pages, 0, &page));
        auto* back = static_cast<FieldObject*>(page.first);
        EXPECT_EQ(std::make_pair(back->GetChoiceList(), back->GetRequestedList()), std::make_pair(int16_t(4), int16_t(-1)));
        double read = 0;
        const uint64_t readBits = platform::ReadBE64(*back->entryAttributes + saisieatt::kMinValue);
        std::memcpy(&read, &readBits, 8);
        EXPECT_EQ(read, 2.5) << little;
        unsigned char text[256];
        SattText(back->entryAttributes, saisieatt::kDefaultText, text);
        EXPECT_EQ(S(text), std::string(31, 't'));
        EXPECT_TRUE(back->GetEntryFilter(text));
        EXPECT_EQ(S(text), "##");
        EXPECT_EQ(SattByte(back->entryAttributes, saisieatt::kBeforeFilter), 7);
        DestroyPages(frame.pages);
    }
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

// Forms of the older flat layout: each record field by field, the entry
// attributes block, fields the structure lacks, the end of a run, nested
// groups, and every record cut short at every length.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "forms/layout/FormContainer.h"
#include "forms/layout/SaisieAtt.h"
#include "forms/objects/EditableObjects.h"
#include "forms/objects/FormObjects.h"
#include "forms/objects/FormTables.h"
#include "forms/objects/ObjectIterators.h"
#include "forms/reader/FlatLayout.h"
#include "forms/reader/FormReader.h"
#include "kernel/formhooks/FormSession.h"
#include "kernel/helpers/KernelColors.h"
#include "platform/core/Memory.h"
#include "tests/forms/ObjectChunkSupport.h"
#include "tools/docbuilder/FormLayout.h"

namespace {

using namespace ifftest;

std::string S(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p + 1), p[0]); }

// A length-prefixed string in a field of `width` bytes.
B& Fixed(B& b, const std::string& s, size_t width, uint8_t length)
{
    b.U8(length).Raw(s.substr(0, width - 1));
    return b.Zeros(width - 1 - std::min(s.size(), width - 1));
}

B& Bounds(B& b, int16_t top) { return b.W(uint16_t(top)).W(10).W(uint16_t(top + 20)).W(200); }

B& Padded(B& b, const std::string& s)
{
    b.P(s);
    if ((s.size() + 1) % 2) b.U8(0);
    return b;
}

B& Drawing(B& b, uint8_t type, int16_t top, uint16_t fore = 0, uint16_t back = 0)
{
    Bounds(b.U8(type).U8(0), top).W(2).W(3).U8(1).U8(1).Raw(std::string(8, '\x55')).Raw(std::string(8, '\xAA'));
    return b.W(fore).W(back);
}

// The attributes word and block: choice list, set, required and excluded
// lists, a minimum of type 1 (an 80-bit 2.5), a default text whose length
// byte says `textLength`, and the filter.
B& Attributes(B& b, int16_t list, uint8_t textLength, const std::string& filter)
{
    b.W(1).W(uint16_t(list)).U8(1).U8(9).W(0xFFFF).W(0x0A0B).W(0xFFFF).U8(1).U8(0);
    b.Raw(std::string("\x40\x00\xA0\x00\x00\x00\x00\x00\x00\x00", 10)).U8(0).U8(0).Zeros(10).U8(1).U8(0);
    Fixed(b, std::string(31, 'd'), 32, textLength);
    return Padded(b, filter);
}

B& Variable(B& b, int16_t top, const std::string& name, int16_t size, bool tip, bool attributes)
{
    Bounds(b.U8(9).U8(0), top);
    Fixed(b, name, 12, uint8_t(name.size())).W(4).U8(1).U8(0).W(uint16_t(size)).U8(2).U8(0xFF).W(0).W(0);
    b.U8(6).U8(7).W(33).U8(1).U8(0).W(8).W(9);
    Padded(b, "Title");
    if (tip) b.W(0xFFFE).W(12);
    if (attributes) return Attributes(b, 4, 31, "##");
    return b.W(0);
}

B& Field(B& b, int16_t top, int16_t field, uint8_t table, const std::string& format = "")
{
    Bounds(b.U8(1).U8(0), top).U8(1).U8(0).W(3).W(12).W(uint16_t(field)).U8(2).U8(table).U8(0).U8(1).U8(1).U8(0);
    b.W(0).W(0).W(34);
    return Padded(b, format);
}

struct FlatRun {
    LayoutObject* first = nullptr;
    LayoutObject* last = nullptr;
    int32_t remaining = 0;
    size_t consumed = 0;
    ~FlatRun() { DestroyObjects(first); }
    std::vector<LayoutObject*> Objects() const
    {
        std::vector<LayoutObject*> out;
        for (LayoutObjectIterator it(first, false, true, false); it.Current(); it.SetNext()) out.push_back(it.Current());
        return out;
    }
};

// The bytes read from a block of exactly their size, so that a read past
// them is caught.
void ReadRun(const Bytes& bytes, FlatRun* r, LayoutEditor* editor = nullptr)
{
    std::unique_ptr<char[]> block(new char[bytes.size() ? bytes.size() : 1]);
    if (!bytes.empty()) std::memcpy(block.get(), bytes.data(), bytes.size());
    char* at = block.get();
    r->remaining = int32_t(bytes.size());
    r->first = ReadLayoutData(&at, &r->remaining, editor, &r->last);
    r->consumed = size_t(at - block.get());
}

char gModel;
LayoutEditor* const kModel = reinterpret_cast<LayoutEditor*>(&gModel);
platform::Handle gOwn = nullptr;

class FlatLayout : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetObjIndex();
        formTableCount = 3;
        gOwn = FieldList(2, std::vector<uint8_t>(5, 1));
        FormModelHooks model;
        model.critRoot = [](LayoutEditor*) { return gOwn; };
        SetFormModelHooks(model);
        SetTableFieldListProc([](int16_t n) { return n == 2 ? gOwn : nullptr; });
    }
    void TearDown() override
    {
        ResetFormModelHooks();
        SetTableFieldListProc(nullptr);
        platform::DisposeHandle(gOwn);
        formTableCount = 0;
        showReadError = checkBadFieldErr = 0;
    }
};

TEST_F(FlatLayout, DrawingsTextsPicturesAndSubformsReadFieldByField)
{
    B b;
    Drawing(b, 2, 10);
    Drawing(b, 19, 40, 205, 30).W(3).W(4);
    Bounds(b.U8(5).U8(0), 70).Raw(std::string(8, '\x11')).W(1).W(4).W(9).W(0xFFFF).W(0).W(0).W(3).Raw("abc").U8(0);
    Bounds(b.U8(10).U8(0), 100).L(3).Raw("pic").U8(0);
    Bounds(b.U8(11).U8(0), 130).L(0x08000000).W(uint16_t(-2));
    Fixed(b, std::string(40, 'l'), 16, 200);
    Fixed(b, "Detail", 18, 6);
    b.W(0);
    FlatRun r;
    ReadRun(b.b, &r);
    EXPECT_EQ(r.remaining, 0);
    const std::vector<LayoutObject*> o = r.Objects();
    ASSERT_EQ(o.size(), 5u);

    int32_t fore = 0, back = 0;
    OldCol2New(0, 0, &fore, &back);
    auto* rect = dynamic_cast<RectObject*>(o[0]);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(std::make_pair(rect->foreColor, rect->backColor), std::make_pair(fore, back));
    EXPECT_EQ(std::vector<int>({rect->hasPenPattern, rect->penWidth, rect->penHeight, rect->fillPattern[0],
                                rect->penPattern[7], rect->name[0] > 0}),
              std::vector<int>({1, 2, 3, 0x55, 0xAA, 1}));
    auto* matrix = dynamic_cast<MatrixObject*>(o[1]);
    ASSERT_NE(matrix, nullptr);
    OldCol2New(205, 30, &fore, &back);
    EXPECT_EQ(std::vector<int>({matrix->rowCount, matrix->columnCount, matrix->foreColor}),
              std::vector<int>({3, 4, fore}));
    auto* text = dynamic_cast<TextObject*>(o[2]);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(*text->text, 3), "abc");
    EXPECT_EQ(std::vector<int>({text->face, text->fontID, text->fontSize, text->justification, text->hasFillPattern}),
              std::vector<int>({1, 4, 9, -1, 1}));
    auto* picture = dynamic_cast<ImageObject*>(o[3]);
    ASSERT_TRUE(picture && picture->picture);
    EXPECT_EQ(platform::GetHandleSize(picture->picture), 3);
    auto* subform = dynamic_cast<SubFormObject*>(o[4]);
    ASSERT_NE(subform, nullptr);
    EXPECT_EQ(std::vector<int>({subform->subformTable, subform->subformFlags}), std::vector<int>({-2, 0x1A00}));
    EXPECT_EQ(S(subform->formName2), std::string(15, 'l'));  // its field holds 15
    EXPECT_EQ(S(subform->formName1), "Detail");
}

TEST_F(FlatLayout, VariablesAndFieldsWithTheirTipsAndAttributes)
{
    B b;
    Variable(b, 10, "vTotal", -12, true, true);
    Variable(b, 40, std::string(20, 'n'), 9, false, false);
    Field(b, 70, 3, 0, "\x01\x14").W(0);  // a standard format of code 20 keeps 4
    b.W(0);
    FlatRun r;
    ReadRun(b.b, &r);
    EXPECT_EQ(r.remaining, 0);
    const std::vector<LayoutObject*> o = r.Objects();
    ASSERT_EQ(o.size(), 3u);

    auto* v = dynamic_cast<VarObject*>(o[0]);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(S(v->varName) + "/" + S(v->format), "vTotal/Title");
    EXPECT_EQ(std::vector<int>({v->fontSize, v->interprocess, v->justification, v->subType, v->varOption,
                                v->objectMethodID, v->varWord2, v->tipKind}),
              std::vector<int>({12, 1, -1, 6, 7, 33, 9, 12}));
    EXPECT_EQ(v->scriptFlags, 0x009801F000000000ull);  // legacy byte 0
    // The attributes block: 72 bytes and the filter, bytes 7, 68 and 69
    // cleared, the 80-bit minimum made an 8-byte real.
    ASSERT_NE(v->entryAttributes, nullptr);
    EXPECT_EQ(platform::GetHandleSize(v->entryAttributes), 72 + 2);
    EXPECT_EQ(std::vector<int>({v->GetChoiceList(), SattByte(v->entryAttributes, 6), SattByte(v->entryAttributes, 7)}),
              std::vector<int>({4, 0x0A, 0}));
    double minimum = 0;
    const uint64_t bits = platform::ReadBE64(*v->entryAttributes + saisieatt::kMinValue);
    std::memcpy(&minimum, &bits, 8);
    EXPECT_EQ(minimum, 2.5);
    unsigned char filter[256];
    EXPECT_TRUE(v->GetEntryFilter(filter));
    EXPECT_EQ(S(filter), "##");
    EXPECT_EQ(dynamic_cast<VarObject*>(o[1])->varName[0], 11);  // its field holds 11
    auto* f = dynamic_cast<FieldObject*>(o[2]);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(std::vector<int>({f->fieldNumber, f->tableNumber, f->objectMethodID, f->format[2]}),
              std::vector<int>({3, 0, 34, 4}));
    EXPECT_EQ(f->scriptFlags, 0x009801FA00000000ull);
    EXPECT_EQ(f->entryAttributes, nullptr);
}

TEST_F(FlatLayout, FieldsTheStructureLacksAreLeftOut)
{
    // The own table (2) has 5 fields; the structure 3 tables.
    struct Case {
        const char* what;
        int16_t field;
        uint8_t table;
        bool kept;
    };
    const Case cases[] = {
        {"the own table's field 5", 5, 0, true},     {"the own table's field 6", 6, 0, false},
        {"table 2's field 5", 5, 2, true},           {"table 4 of 3", 1, 4, false},
        {"field 0", 0, 0, false},                    {"table 3, its fields unknown", 40, 3, true},
    };
    for (const Case& c : cases) {
        showReadError = 1, checkBadFieldErr = 1;
        B b;
        Drawing(b, 2, 10);
        Field(b, 40, c.field, c.table).W(0);
        Drawing(b, 4, 70).W(0);
        FlatRun r;
        ReadRun(b.b, &r, kModel);
        EXPECT_EQ(r.remaining, 0) << c.what;
        const std::vector<LayoutObject*> o = r.Objects();
        ASSERT_EQ(o.size(), c.kept ? 3u : 2u) << c.what;
        EXPECT_EQ(o.back()->GetObjectKind(), 3) << c.what;
        EXPECT_EQ(o.back()->previous, o[o.size() - 2]) << c.what;
        EXPECT_EQ(checkBadFieldErr, c.kept ? 1 : 0) << c.what;
        showReadError = 0;
    }
}

TEST_F(FlatLayout, ARunEndsAtATypeItCannotRead)
{
    for (uint8_t end : {0, 7, 13, 200}) {
        B b;
        Drawing(b, 2, 10);
        b.U8(end).U8(0);
        Drawing(b, 2, 40);
        FlatRun r;
        ReadRun(b.b, &r);
        EXPECT_EQ(r.Objects().size(), 1u) << int(end);
        EXPECT_EQ(r.consumed, 38u) << int(end);
        EXPECT_EQ(r.remaining, 36) << int(end);
    }
}

TEST_F(FlatLayout, GroupsHoldTheirRunsAndNestAtMost64Deep)
{
    B b;
    Bounds(b.U8(18).U8(0), 10);
    Drawing(b, 2, 20);
    Bounds(b.U8(18).U8(0), 30);
    Drawing(b, 4, 40).W(0).W(0);
    Drawing(b, 6, 50).W(0);
    FlatRun r;
    ReadRun(b.b, &r);
    EXPECT_EQ(r.remaining, 0);
    ASSERT_NE(r.first, nullptr);
    ASSERT_TRUE(r.first->IsGroup());
    EXPECT_EQ(r.first->next, r.last);
    LayoutObject* inner = r.first->GetFirst()->next;
    ASSERT_NE(inner, nullptr);
    EXPECT_TRUE(inner->IsGroup());
    EXPECT_EQ(inner->owner, r.first);
    EXPECT_EQ(inner->GetFirst()->owner, inner);
    EXPECT_EQ(r.Objects().size(), 5u);

    for (int depth : {64, 65}) {
        B n;
        for (int d = 0; d < depth; ++d) Bounds(n.U8(18).U8(0), 10);
        Drawing(n, 2, 20);
        for (int d = 0; d <= depth; ++d) n.W(0);
        FlatRun deep;
        ReadRun(n.b, &deep);
        EXPECT_EQ(deep.remaining, depth == 64 ? 0 : -1) << depth;
        EXPECT_EQ(deep.Objects().size(), depth == 64 ? 65u : 64u) << depth;
    }
}

TEST_F(FlatLayout, EveryRecordCutShortEndsTheRunCleanly)
{
    B b;
    Drawing(b, 3, 10);
    Drawing(b, 19, 20).W(2).W(2);
    Bounds(b.U8(20).U8(0), 30).Zeros(20).W(5).Raw("Group").U8(0);
    Bounds(b.U8(10).U8(0), 40).L(4).Raw("pict");
    Bounds(b.U8(11).U8(0), 50).L(0).W(uint16_t(-1));
    Fixed(b, "L", 16, 1);
    Fixed(b, "D", 18, 1);
    Bounds(b.U8(18).U8(0), 60);
    Variable(b, 70, "v", 10, true, true);
    b.W(0);
    Field(b, 80, 2, 0, "##").W(0xFFFE).W(3);
    Attributes(b, 1, 200, "&9");
    b.W(0);
    const size_t handles = platform::LiveHandleCount();
    size_t whole = 0;
    for (size_t length = 0; length <= b.b.size(); ++length) {
        FlatRun r;
        ReadRun(Bytes(b.b.begin(), b.b.begin() + long(length)), &r, kModel);
        // Either the run ended in the data, or the record that did not fit
        // ended it with -1; the list holds what came before.
        EXPECT_TRUE(r.remaining >= 0 || r.remaining == -1) << length;
        EXPECT_LE(r.consumed, length);
        LayoutObject* previous = nullptr;
        for (LayoutObject* o = r.first; o; o = o->next) {
            EXPECT_EQ(o->previous, previous) << length;
            previous = o;
        }
        EXPECT_EQ(r.last, previous) << length;
        if (length == b.b.size()) whole = r.Objects().size();
    }
    EXPECT_EQ(whole, 8u);
    EXPECT_EQ(platform::LiveHandleCount(), handles);
}

TEST_F(FlatLayout, BuilderFormsReadPageByPage)
{
    using docbuilder::FormItemSpec;
    std::vector<docbuilder::FormRecord> records(4);
    records[0].kind = FormItemSpec::Field, records[0].fieldNumber = 1, records[0].listId = 3;
    records[1].kind = FormItemSpec::Variable, records[1].name = "vA", records[1].page = 2;
    records[2].kind = FormItemSpec::Text, records[2].text = "Label", records[2].page = 2;
    records[3].kind = FormItemSpec::Picture, records[3].page = 3;
    const docbuilder::Bytes paged = docbuilder::FlatForm(records);
    ASSERT_EQ(std::vector<int>({paged[0], platform::ReadBE16(paged.data() + 2)}), std::vector<int>({13, 3}));
    FlatRun pages;
    ReadRun(docbuilder::Bytes(paged.begin() + 4, paged.end()), &pages, kModel);
    EXPECT_EQ(pages.Objects().size(), 1u);  // page 1 alone: its run ends at its type 0
    FlatRun one;
    ReadRun(docbuilder::FlatForm(records, docbuilder::ByteOrder::Big, true), &one, kModel);
    EXPECT_EQ(std::make_pair(one.remaining, one.Objects().size()), std::make_pair(0, size_t(4)));
}

}  // namespace

// The kernel's form records: what each constructor makes, the page access
// of a form header, and every form object turned into its record.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/kernel/KernelConversion.h"
#include "forms/kernel/KernelRecords.h"
#include "forms/layout/SaisieAtt.h"
#include "forms/objects/EditableObjects.h"
#include "forms/objects/FormObjects.h"
#include "kernel/formhooks/FormSession.h"
#include "kernel/helpers/ResourceStrings.h"
#include "platform/core/Memory.h"
#include "platform/resfiles/Resources.h"
#include "tests/kernel/AppResourceFile.h"
#include "tests/platform/files/TempFolder.h"

namespace {

using namespace objrec;

std::string Text(ObjHandle h, int32_t at)
{
    unsigned char t[256];
    RecText(h, at, t);
    return std::string(reinterpret_cast<const char*>(t) + 1, t[0]);
}

void SetP(unsigned char* out, const std::string& s)
{
    out[0] = uint8_t(s.size());
    std::memcpy(out + 1, s.data(), s.size());
}

struct Freed {
    ObjHandle h;
    ~Freed() { ClearObj(h); }
};

TEST(KernelRecords, EachConstructorMakesItsKindAtItsSize)
{
    struct Case {
        const char* what;
        std::function<ObjHandle()> make;
        int16_t kind;
        int32_t size;
    };
    const Case cases[] = {
        {"field", newsais, kField, 398},      {"rectangle", newrect, kRect, 102},
        {"rounded", newetiq, kRoundRect, 102}, {"oval", newcerc, kOval, 102},
        {"text", newtexte, kText, 104},        {"line", newtrai, kLine, 102},
        {"variable", newlien, kVariable, 474}, {"picture", newpict, kPicture, 112},
        {"subform", newmulti, kSubform, 146},  {"group", newgroup, kGroup, 76},
        {"matrix", newgrille, kMatrix, 106},   {"group box", NewGroupObj, kGroupBox, 104},
        {"header of 3 pages", [] { return newdebut(3); }, kHeader, 176 + 4 * 16},
        {"header of no page", [] { return newdebut(-2); }, kHeader, 176 + 16},
    };
    for (const Case& c : cases) {
        Freed r{c.make()};
        ASSERT_NE(r.h, nullptr) << c.what;
        EXPECT_EQ(ObjKind(r.h), c.kind) << c.what;
        EXPECT_EQ(platform::GetHandleSize(r.h), c.size) << c.what;
    }
    Freed text{newtexte()}, var{newlien()}, head{newdebut(3)};
    EXPECT_EQ(RecByte(text.h, text::kHasFill), 1);
    EXPECT_EQ(RecWord(var.h, variable::kCurrentItem), -2);
    EXPECT_EQ(RecWord(var.h, variable::kShownList), -1);
    EXPECT_EQ(uint32_t(RecLong(head.h, header::kScriptFlags)), 0x1EBD3FFFu);
    EXPECT_EQ(RecLong(head.h, header::kScriptFlags + 4), 0);
    EXPECT_EQ(RecWord(head.h, header::kStyle1), -1);
    EXPECT_EQ(RecWord(head.h, header::kMaxWidth), 32767);
    EXPECT_EQ(FormPageCount(head.h), 3);

    SetObjFlags(var.h, 0xFFFF);
    SetObjNext(var.h, text.h);
    initNewObjHandle(var.h);
    EXPECT_EQ(ObjFlags(var.h), 0x3F);
    EXPECT_EQ(ObjNext(var.h), nullptr);
}

TEST(KernelRecords, APageJoinsPageZeroInFrontAndPageZeroCutsTheJoin)
{
    ObjHandle form = newdebut(2);
    ObjHandle shared = newrect(), own = newcerc(), other = newtrai();
    SetFormPage(form, 0, shared, shared);
    SetFormPage(form, 1, own, own);
    SetFormPage(form, 2, other, other);
    EXPECT_EQ(GotoPage(form, 2), shared);
    EXPECT_EQ(ObjNext(shared), other);
    EXPECT_EQ(GotoPage(form, 1), shared);
    EXPECT_EQ(ObjNext(shared), own);
    EXPECT_EQ(GotoPage(form, 0), shared);
    EXPECT_EQ(ObjNext(shared), nullptr);
    EXPECT_EQ(GotoPage(form, 3), nullptr);
    EXPECT_EQ(GotoPage(own, 1), own);
    // Freed page by page: the join is no double free.
    GotoPage(form, 1);
    effform(&form);
    EXPECT_EQ(form, nullptr);
}

class Conversion : public ::testing::Test {
protected:
    void TearDown() override
    {
        kernelOption = 0;
        kernelFormCritRoot = nullptr;
    }
    template <class T>
    ObjHandle Convert(T& o)
    {
        held_.push_back(o.Convert2Obj());
        return held_.back();
    }
    ~Conversion() override
    {
        for (ObjHandle h : held_) ClearObj(h);
    }
    std::vector<ObjHandle> held_;
};

TEST_F(Conversion, LinesKeepTheirDirectionAndWidenByThePen)
{
    struct Case {
        int16_t top, left, bottom, right, penWidth, penHeight, lookStyle;
        platform::Rect rect;
        uint8_t direction;
    };
    const Case cases[] = {
        {50, 10, 10, 60, 1, 1, 1, {10, 10, 50, 60}, 1},  // bottom-left to top-right
        {10, 60, 50, 10, 1, 1, 1, {10, 10, 50, 60}, 1},
        {10, 10, 50, 60, 1, 1, 1, {10, 10, 50, 60}, 0},
        {20, 10, 20, 100, 1, 2, 0, {20, 10, 22, 100}, 0},  // horizontal: pen height down
        {20, 10, 20, 100, 1, 2, 1, {20, 10, 20, 100}, 0},  // a look draws it as it is
        {5, 30, 40, 30, 3, 2, 0, {5, 30, 40, 33}, 0},      // vertical: pen width right
    };
    for (const Case& c : cases) {
        LineObject line;
        int16_t b[4] = {c.top, c.left, c.bottom, c.right};
        std::memcpy(line.bounds, b, sizeof b);
        line.penWidth = c.penWidth, line.penHeight = c.penHeight, line.lookStyle = c.lookStyle;
        ObjHandle h = Convert(line);
        const platform::Rect r = ObjBounds(h);
        EXPECT_EQ(std::vector<int>({r.top, r.left, r.bottom, r.right}),
                  std::vector<int>({c.rect.top, c.rect.left, c.rect.bottom, c.rect.right}))
            << c.top << "," << c.left;
        EXPECT_EQ(RecByte(h, drawing::kFill), c.direction) << c.top << "," << c.left;
    }
}

TEST_F(Conversion, DrawingsCarryTheirPensPatternsAndCommonFields)
{
    RectObject rect;
    SetP(rect.name, "Frame");
    rect.flagA = 3, rect.flagC = 1, rect.optionByte = 9;
    rect.foreColor = 0x112233, rect.backColor = 0x445566;
    std::memset(rect.penPattern, 0xAA, 8);
    ObjHandle h = Convert(rect);
    EXPECT_EQ(Text(h, kName), "Frame");
    EXPECT_EQ(RecByte(h, kFlagByte), 3);
    EXPECT_EQ(RecByte(h, kOption), 9);
    EXPECT_EQ(ObjFlags(h) & kFlagC, kFlagC);
    EXPECT_EQ(RecLong(h, drawing::kBack), 0x445566);
    // No pen pattern: the marker 01 02 03 04.
    const uint8_t none[4] = {1, 2, 3, 4};
    EXPECT_EQ(std::memcmp(*h + drawing::kPenPattern, none, 4), 0);
    rect.hasPenPattern = 1;
    ObjHandle with = Convert(rect);
    EXPECT_EQ(uint8_t((*with)[drawing::kPenPattern]), 0xAA);
    // Neither look nor style: no look; a look 0 with a style keeps both.
    EXPECT_EQ(ObjLookHandler(h), nullptr);
    rect.lookStyle = 2;
    ObjHandle styled = Convert(rect);
    EXPECT_EQ(RecWord(styled, kLookStyle), 2);
    MatrixObject grid;
    grid.rowCount = 3, grid.columnCount = 2;
    ObjHandle m = Convert(grid);
    EXPECT_EQ(ObjKind(m), kMatrix);
    EXPECT_EQ(RecWord(m, drawing::kRows), 3);
    EXPECT_EQ(RecWord(m, drawing::kColumns), 2);
}

TEST_F(Conversion, TextsTakeTheStringListItemTheyNameAndPicturesTheirIds)
{
    platform::testing::TempFolder dir;
    platform::ResetResourceManager();
    ResetStringCache();
    ASSERT_NE(kerneltest::OpenAppFile(dir.path() + "/app.rsrc",
                                      {{platform::FourCC("STR#"), 5, false, "", 0,
                                        kerneltest::StrList({"one", "two", "Town"})}}),
              -1);
    for (const auto& [text, shown] : std::vector<std::pair<std::string, std::string>>{
             {":5,3", "Town"}, {":5,4", ""}, {":", ":"}, {"5,3", "5,3"}, {"Plain", "Plain"}}) {
        TextObject t;
        t.SetText(reinterpret_cast<const unsigned char*>((std::string(1, char(text.size())) + text).c_str()));
        ObjHandle h = Convert(t);
        platform::Handle moved = RecHandle(h, text::kText);
        ASSERT_NE(moved, nullptr) << text;
        EXPECT_EQ(std::string(*moved, size_t(platform::GetHandleSize(moved))), shown) << text;
        EXPECT_EQ(t.text, nullptr) << text;
    }
    GroupBoxObj box;
    EXPECT_EQ(ObjKind(Convert(box)), kGroupBox);
    LibraryImageObject pict;
    pict.pictID = 15000;
    SetP(pict.pictName, "Logo");
    ObjHandle p = Convert(pict);
    EXPECT_EQ(ObjKind(p), kLibraryPicture);
    EXPECT_EQ(RecWord(p, picture::kPictId), 15000);
    EXPECT_EQ(Text(p, picture::kPictName), "Logo");
    ImageObject image;
    image.picture = platform::NewHandle(12);
    platform::Handle owned = image.picture;
    EXPECT_EQ(RecHandle(Convert(image), picture::kPicture), owned);
    EXPECT_EQ(image.picture, nullptr);
    ResetStringCache();
    platform::ResetResourceManager();
}

TEST_F(Conversion, FieldsTakeTheirOwnTableEditOptionsAndScrollBars)
{
    std::vector<uint8_t> list(30 + 66, 0);
    list[7] = 7;  // the own table is table 7
    platform::Handle own = nullptr;
    platform::PtrToHand(list.data(), &own, platform::Size(list.size()));
    kernelFormCritRoot = own;
    FieldObject f;
    f.fieldNumber = 1;
    f.backColor = 0xFFFFFF;
    f.editOption2 = 1;
    ObjHandle plain = Convert(f);
    EXPECT_EQ(RecByte(plain, field::kTable), 7);
    EXPECT_EQ(RecLong(plain, field::kBack), -2);
    EXPECT_EQ(RecByte(plain, field::kPlainEdit), 1);
    EXPECT_EQ(RecHandle(plain, field::kAttributes), nullptr);
    f.vScrollBar = 1;
    f.tableNumber = 3;
    ObjHandle scrolled = Convert(f);
    EXPECT_EQ(RecByte(scrolled, field::kTable), 3);
    EXPECT_EQ(RecByte(scrolled, field::kPlainEdit), 0);
    platform::Handle attributes = RecHandle(scrolled, field::kAttributes);
    ASSERT_NE(attributes, nullptr);
    EXPECT_EQ((*attributes)[7], 1);
    EXPECT_EQ((*attributes)[68], 0);
    platform::DisposeHandle(own);
}

TEST_F(Conversion, VariablesSetTheirFlagsBySubTypeAndOption)
{
    struct Case {
        int32_t subType, varOption;
        int16_t look;
        uint8_t flag1, flag2;
        uint8_t first, second;
    };
    const Case cases[] = {
        {0, 0, 0, 1, 1, 1, 0},    // any other sub-type clears the second
        {21, 0, 0, 1, 0, 1, 1},   // 21 and 23 copy the first into the second
        {23, 0, 0, 0, 1, 0, 0},
        {25, 0, 0, 0, 0, 1, 1},   // 25 sets both
        {26, 0, 1, 1, 0, 1, 1},   // a drop-down list keeps the first in both
        {26, 0, 2, 1, 1, 0, 0},   // drawn as a combo box: both cleared
        {2, 12, 0, 1, 0, 0, 0},   // option 12 clears the first
        {2, 33, 0, 1, 0, 0, 0},
        {2, 15, 0, 1, 0, 1, 0},
    };
    for (const Case& c : cases) {
        VarObject v;
        v.subType = c.subType, v.varOption = c.varOption, v.lookID = c.look;
        v.flag1 = c.flag1, v.flag2 = c.flag2;
        ObjHandle h = Convert(v);
        EXPECT_EQ(RecByte(h, variable::kFlag1), c.first) << c.subType << "/" << c.varOption;
        EXPECT_EQ(RecByte(h, variable::kFlag2), c.second) << c.subType << "/" << c.varOption;
    }
    VarObject v;
    SetP(v.varName, "vTotal");
    v.varName[7] = 'x';
    v.subType = 4, v.varByte4 = 9, v.lookID = -1;
    kernelOption = 1;
    ObjHandle h = Convert(v);
    EXPECT_EQ(Text(h, variable::kName), "vTotal");
    EXPECT_EQ(RecByte(h, variable::kName + 7), 0);
    EXPECT_EQ(RecByte(h, variable::kOptionSlot), 9);
    EXPECT_EQ(RecWord(h, kLook), 6);
    EXPECT_EQ(v.lookID, 6);
}

}  // namespace

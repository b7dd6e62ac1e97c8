// What the form objects ask of the form model that owns them: names free
// in the form for copies, the form's look, the variable's method renamed,
// subform previews by table, object methods carried by copied groups and
// stored in the model's file; and a text's font metrics.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "forms/listbox/ListBox.h"
#include "forms/objects/FormObjects.h"
#include "forms/objects/ObjectWriting.h"
#include "forms/reader/FormReader.h"
#include "looks/LookManager.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Text.h"
#include "resources/ResourceApi.h"
#include "tests/forms/ModelStandIn.h"
#include "tests/forms/ObjectChunkSupport.h"
#include "tests/resources/StoreTestSupport.h"

namespace {

using formtest::ModelStandIn;
using namespace ifftest;

std::string Name(const unsigned char* p) { return ModelStandIn::Text(p); }
template <class T>
T* Named(T* o, const std::string& n)
{
    o->name[0] = uint8_t(n.size());
    std::memcpy(o->name + 1, n.data(), n.size());
    return o;
}

class ModelSeam : public ::testing::Test {
protected:
    void SetUp() override { ModelStandIn::Install(); }
    void TearDown() override { ResetFormModelHooks(); }
    ModelStandIn form_;
};

TEST_F(ModelSeam, CopiesTakeNamesFreeInTheFormAndAmongThemselves)
{
    auto* box = Named(new RectObject(form_.Model()), "Box");
    auto* group = Named(new GroupObject(form_.Model()), "G");
    group->AddSubObject(Named(new OvalObject(form_.Model()), "A"));
    group->AddSubObject(Named(new OvalObject(form_.Model()), "A1"));
    box->next = group;
    form_.outside = box;
    EXPECT_EQ(Name(std::unique_ptr<LayoutObject>(box->Duplicate())->name), "Box1");
    // "A" and "A1" would both become "A2" without the second look.
    std::unique_ptr<LayoutObject> copy(group->Duplicate());
    EXPECT_EQ(Name(copy->name) + Name(copy->GetFirst()->name) + Name(copy->GetFirst()->next->name), "G1A3A2");
    // A list box's column, and an object of no form, keep their names.
    VGridSubObject column(form_.Model(), 1);
    RectObject free;
    EXPECT_EQ(Name(std::unique_ptr<LayoutObject>(Named(&column, "Box")->Duplicate())->name), "Box");
    EXPECT_EQ(Name(std::unique_ptr<LayoutObject>(Named(&free, "Box")->Duplicate())->name), "Box");
    form_.outside = nullptr;
    delete box;
    delete group;
}

TEST_F(ModelSeam, LooksAndVariableNamesAnswerToTheForm)
{
    VI_Handler formLook, own;
    form_.handler = &formLook;
    RectObject inForm(form_.Model()), alone;
    EXPECT_EQ(inForm.GetVIProc(), &formLook);
    EXPECT_EQ(alone.GetVIProc(), nullptr);
    inForm.lookHandler = &own;
    EXPECT_EQ(inForm.GetVIProc(), &own);
    // The same look again changes nothing; another takes its handler, a
    // negative style becoming 0.
    alone.lookStyle = -2;
    alone.SetLook(0);
    EXPECT_EQ(alone.lookHandler, nullptr);
    alone.SetLook(5);
    EXPECT_EQ(alone.lookHandler, VI_Manager::GetHandler(5));
    EXPECT_EQ(alone.lookStyle, 0);

    struct Case {
        std::string given;
        int16_t method;
        LayoutEditor* model;
        std::string told;
    };
    const std::string marked = "\xD7vShared";
    for (const Case& c : std::vector<Case>{{marked, 9, form_.Model(), "rename 9 " + marked + ";changed;"},
                                           {"vTotal", 4, form_.Model(), "rename 4 vTotal;changed;"},
                                           {"vTotal", 0, form_.Model(), "changed;"},
                                           {"vTotal", 4, nullptr, ""}}) {
        form_.told.clear();
        VarObject v(c.model);
        v.objectMethodID = c.method;
        v.SetVarName(Named(&alone, c.given)->name);
        EXPECT_EQ(Name(v.varName), c.given == marked ? "vShared" : c.given);
        EXPECT_EQ(form_.told, c.told) << c.given;
    }
    // A new variable's default name is no change to the form.
    form_.told.clear();
    VarObject(form_.Model()).NameDfltVar();
    EXPECT_EQ(form_.told, "");
}

TEST_F(ModelSeam, SubformPreviewsComeFromTheTablesTheListsHold)
{
    form_.tables = {5, 7, 9};
    formTableCount = 3;
    struct Case {
        int16_t table;
        const char* detail;
        std::string told;  // empty: no preview
    };
    for (const Case& c : std::vector<Case>{{2, "Detail", "picture 7 Detail 40;"}, {3, "", "picture 9 List 40;"},
                                           {4, "Detail", ""}, {-3, "", "picture 3 List 40;"}, {-4, "Detail", ""},
                                           {0, "Detail", ""}}) {
        form_.told.clear();
        SubFormObject s(form_.Model());
        s.bounds[1] = 10, s.bounds[3] = 50;
        s.subformTable = c.table;
        std::memcpy(s.formName1, "\x04List", 5);
        std::memcpy(s.formName2, Named(&s, c.detail)->name, 32);
        s.BuildPicture();
        s.BuildPicture();  // a preview made stays
        EXPECT_EQ(form_.told, c.told) << c.table;
    }
    formTableCount = 0;
}

TEST_F(ModelSeam, ATextsBaseLineAndHeightAreItsFonts)
{
    platform::ResetDrawingState();
    platform::CGrafPtr port = platform::CreateNewPort();
    platform::SetPort(port);
    platform::TextFont(4), platform::TextSize(24), platform::TextFace(platform::bold);
    platform::FontInfo info{};
    platform::GetFontInfo(&info);
    platform::DisposePort(port);
    platform::ResetDrawingState();
    TextObject t;
    t.fontID = 4, t.fontSize = 24, t.face = platform::bold, t.bounds[0] = 100;
    int16_t ascent = 0, height = 0;
    t.GetFontHeight(&ascent, &height);
    EXPECT_EQ(ascent * 1000 + height, info.ascent * 1000 + info.ascent + info.descent + info.leading);
    EXPECT_EQ(t.GetBaseLine(), 100 + info.ascent + info.leading);
    // A style sheet's line height, when known, is the text's and kept.
    SetStyleSheetHeightProc([](int16_t id) -> int16_t { return id == 2 ? 15 : -1; });
    t.styleSheet = 2;
    t.GetFontHeight(&ascent, &height);
    EXPECT_EQ(height * 100 + t.styleSheetHeight, 1515);
    SetStyleSheetHeightProc(nullptr);
}

class CarriedMethods : public storetest::StoreTest {
protected:
    void SetUp() override { storetest::StoreTest::SetUp(), ModelStandIn::Install(); }
    void TearDown() override { ResetFormModelHooks(), storetest::StoreTest::TearDown(); }
    ModelStandIn form_;
};

TEST_F(CarriedMethods, ACopiedGroupCarriesItsMembersMethodsIntoTheModelsFile)
{
    const int16_t methods = CreateFile("methods.qzb");
    const Bytes method = {0, 1, 0, 2};
    ASSERT_TRUE(xaddres(HandleOf(method), platform::FourCC("CCQz"), 5));
    GroupObject group, inner;
    auto* field = new FieldObject;
    field->objectMethodID = 5;
    field->themes.Append(3);
    group.AddSubObject(field);
    group.AddSubObject(new VarObject);  // no method
    group.AddSubObject(new GroupObject(inner));
    auto* deep = new VarObject;
    deep->objectMethodID = 5;
    group.lastChild->AddSubObject(deep);
    // The members' chunk ids inside the group's FORM 'OBJG'.
    auto members = [](const Bytes& written) {
        Bytes framed = {'F', 'O', 'R', 'M', 0, 0, 0, 0};
        const Bytes objg = ChunkData(written, "FORM");
        framed.insert(framed.end(), objg.begin(), objg.end());
        std::string ids;
        for (const std::string& id : ChunkIds(framed)) ids += id + " ";
        return ids;
    };
    EXPECT_EQ(members(Written(&group)).find("CCQz"), std::string::npos);
    const Bytes copied = Written(&group, true);
    EXPECT_EQ(members(copied), "DRAW FONT FILD Thm# CCQz VAR  GRUP FORM ");
    deep->objectMethodID = 77;  // missing: the copy stops
    EXPECT_TRUE(Written(&group, true).empty());

    // Read back in another current file: the method goes to the model's.
    const int16_t other = CreateFile("other.qzb");
    form_.methodFile = methods;
    Bytes objs = copied;
    std::memcpy(objs.data() + 8, "OBJS", 4);
    CustomClientFrame frame;
    InitFormReadingFrame(&frame, form_.Model());
    platform::Handle h = HandleOf(objs);
    IOFile* io = MemoryOpen(h, 0);
    ASSERT_EQ(ReadIFF(io, &frame.client), IFF_OKAY);
    FClose(io);
    platform::DisposeHandle(h);
    EXPECT_EQ(xcurres(), other);
    const int16_t id = static_cast<EditableObject*>(frame.firstObject->GetFirst())->objectMethodID;
    EXPECT_EQ(xget1res(platform::FourCC("CCQz"), id), nullptr);
    ASSERT_TRUE(useres(methods));
    ASSERT_NE(xget1res(platform::FourCC("CCQz"), id), nullptr);
    EXPECT_EQ(BytesOf(xget1res(platform::FourCC("CCQz"), id)), method);
    DestroyObjects(frame.firstObject);
}

}  // namespace

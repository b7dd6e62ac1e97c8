// What the form objects ask of the form model that owns them: names free
// in the form for copies, the form's look for objects without one, the
// variable's method renamed, subform previews by table, object methods
// carried by copied groups and stored in the model's file; and a text's
// font metrics.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "forms/iff/ChunkFields.h"
#include "forms/listbox/ListBox.h"
#include "forms/objects/EditableObjects.h"
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
using platform::FourCC;

std::string Name(const unsigned char* p) { return ModelStandIn::Text(p); }

void SetP(unsigned char* out, const std::string& s)
{
    out[0] = uint8_t(s.size());
    std::memcpy(out + 1, s.data(), s.size());
}

class ModelSeam : public ::testing::Test {
protected:
    void SetUp() override
    {
        ModelStandIn::Install();
        form_.pages = NewPageTable(0);
    }
    void TearDown() override
    {
        ResetFormModelHooks();
        DestroyPages(form_.pages);
        formTableCount = 0;
    }
    ModelStandIn form_;
};

TEST_F(ModelSeam, CopiesTakeNamesFreeInTheForm)
{
    auto* box = new RectObject(form_.Model());
    SetP(box->name, "Box");
    auto* group = new GroupObject(form_.Model());
    SetP(group->name, "G");
    for (const char* n : {"A", "A1"}) {
        auto* m = new OvalObject(form_.Model());
        SetP(m->name, n);
        group->AddSubObject(m);
    }
    box->next = group, group->previous = box;
    SetPage(form_.pages, 0, PageEntry{box, group});

    std::unique_ptr<LayoutObject> boxCopy(box->Duplicate());
    EXPECT_EQ(Name(boxCopy->name), "Box1");
    // Each member takes a name free in the form and among the other copies:
    // "A" and "A1" would otherwise both become "A2".
    std::unique_ptr<LayoutObject> groupCopy(group->Duplicate());
    EXPECT_EQ(Name(groupCopy->name), "G1");
    ASSERT_NE(groupCopy->GetFirst(), nullptr);
    EXPECT_EQ(Name(groupCopy->GetFirst()->name), "A3");
    EXPECT_EQ(Name(groupCopy->GetFirst()->next->name), "A2");
    // A list box's column keeps its name, even one an object of the form has.
    VGridSubObject column(form_.Model(), 1);
    SetP(column.name, "Box");
    std::unique_ptr<LayoutObject> columnCopy(column.Duplicate());
    EXPECT_EQ(Name(columnCopy->name), "Box");
    // An object of no form keeps its name.
    RectObject free;
    SetP(free.name, "Box");
    std::unique_ptr<LayoutObject> freeCopy(free.Duplicate());
    EXPECT_EQ(Name(freeCopy->name), "Box");
}

TEST_F(ModelSeam, ObjectsWithoutALookDrawWithTheForms)
{
    VI_Handler formLook, own;
    form_.handler = &formLook;
    form_.layer = 6;
    RectObject inForm(form_.Model()), alone;
    EXPECT_EQ(inForm.layer, 6);
    struct Case {
        LayoutObject* object;
        VI_Handler* handler;
        VI_Handler* drawsWith;
    };
    for (const Case& c : std::vector<Case>{
             {&inForm, nullptr, &formLook}, {&inForm, &own, &own}, {&alone, nullptr, nullptr}, {&alone, &own, &own}}) {
        c.object->lookHandler = c.handler;
        EXPECT_EQ(c.object->GetVIProc(), c.drawsWith);
    }
    // The same look again changes nothing; another takes the look manager's
    // handler, a negative style becoming 0.
    inForm.lookHandler = nullptr;
    inForm.lookStyle = -2;
    inForm.SetLook(0);
    EXPECT_EQ(inForm.lookHandler, nullptr);
    EXPECT_EQ(inForm.lookStyle, -2);
    inForm.SetLook(5);
    EXPECT_EQ(inForm.lookID, 5);
    EXPECT_EQ(inForm.lookHandler, VI_Manager::GetHandler(5));
    EXPECT_EQ(inForm.lookStyle, 0);
}

TEST_F(ModelSeam, ARenamedVariableRenamesItsMethodAndMarksTheForm)
{
    struct Case {
        const char* what;
        std::string given;
        int16_t method;
        bool inForm;
        std::string kept;
        uint8_t interprocess;
        std::vector<std::string> told;
    };
    const std::string marked = std::string(1, char(0xD7)) + "vShared";
    const std::vector<Case> cases = {
        {"interprocess with a method", marked, 9, true, "vShared", 1, {"rename 9 " + marked, "changed"}},
        {"plain with a method", "vTotal", 4, true, "vTotal", 0, {"rename 4 vTotal", "changed"}},
        {"without a method", "vTotal", 0, true, "vTotal", 0, {"changed"}},
        {"of no form", "vTotal", 4, false, "vTotal", 0, {}},
        {"cut to 31", std::string(40, 'v'), 0, true, std::string(31, 'v'), 0, {"changed"}},
    };
    for (const Case& c : cases) {
        form_.told.clear();
        VarObject v(c.inForm ? form_.Model() : nullptr);
        v.objectMethodID = c.method;
        unsigned char given[256];
        SetP(given, c.given);
        v.SetVarName(given);
        EXPECT_EQ(Name(v.varName), c.kept) << c.what;
        EXPECT_EQ(v.interprocess, c.interprocess) << c.what;
        EXPECT_EQ(form_.told, c.told) << c.what;
    }
    // A new variable's default name is no change to the form.
    form_.told.clear();
    VarObject fresh(form_.Model());
    fresh.NameDfltVar();
    EXPECT_TRUE(form_.told.empty());
}

TEST_F(ModelSeam, SubformPreviewsComeFromTheTablesTheListsHold)
{
    form_.tables = {5, 7, 9};
    formTableCount = 3;
    struct Case {
        int16_t table;
        const char* detail;
        std::string told;  // empty: no preview asked for
    };
    for (const Case& c : std::vector<Case>{{2, "Detail", "picture 7 Detail 40"},
                                           {3, "", "picture 9 List 40"},
                                           {4, "Detail", ""},
                                           {-2, "Detail", "picture 2 Detail 40"},
                                           {-3, "", "picture 3 List 40"},
                                           {-4, "Detail", ""},
                                           {0, "Detail", ""}}) {
        form_.told.clear();
        SubFormObject s(form_.Model());
        s.bounds[1] = 10, s.bounds[3] = 50;
        s.subformTable = c.table;
        SetP(s.formName1, "List");
        SetP(s.formName2, c.detail);
        s.BuildPicture();
        EXPECT_EQ(form_.told, c.told.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.told})
            << c.table;
        EXPECT_EQ(s.preview != nullptr, !c.told.empty()) << c.table;
        // A preview made stays.
        s.BuildPicture();
        EXPECT_EQ(form_.told.size(), c.told.empty() ? 0u : 1u) << c.table;
    }
}

TEST_F(ModelSeam, ATextsBaseLineAndHeightAreItsFonts)
{
    struct Case {
        int16_t font, size, face;
    };
    for (const Case& c : std::vector<Case>{{0, 12, 0}, {1, 9, 0}, {4, 24, platform::bold}}) {
        platform::ResetDrawingState();
        platform::CGrafPtr port = platform::CreateNewPort();
        platform::SetPort(port);
        platform::TextFont(c.font);
        platform::TextSize(c.size);
        platform::TextFace(platform::Style(c.face));
        platform::FontInfo info{};
        platform::GetFontInfo(&info);
        platform::DisposePort(port);
        TextObject t;
        t.fontID = c.font, t.fontSize = c.size, t.face = c.face;
        t.bounds[0] = 100;
        int16_t ascent = 0, height = 0;
        t.GetFontHeight(&ascent, &height);
        EXPECT_EQ(ascent, info.ascent) << c.size;
        EXPECT_EQ(height, info.ascent + info.descent + info.leading) << c.size;
        EXPECT_EQ(t.GetBaseLine(), 100 + info.ascent + info.leading) << c.size;
        EXPECT_EQ(t.styleSheetHeight, 0) << c.size;
    }
    // With a style sheet its line height, when known, is the text's.
    SetStyleSheetHeightProc([](int16_t id) -> int16_t { return id == 2 ? 15 : -1; });
    TextObject sheet;
    sheet.fontSize = 12;
    for (int16_t id : {int16_t(2), int16_t(3)}) {
        sheet.styleSheet = id;
        int16_t ascent = 0, height = 0;
        sheet.GetFontHeight(&ascent, &height);
        EXPECT_EQ(sheet.styleSheetHeight, 15) << id;  // 3 is not known: the last one stays
        if (id == 2) {
            EXPECT_EQ(height, 15);
        }
    }
    SetStyleSheetHeightProc(nullptr);
    platform::ResetDrawingState();
}

// The chunk ids inside the group's FORM 'OBJG'.
std::vector<std::string> MemberIds(const Bytes& written)
{
    const Bytes objg = ChunkData(written, "FORM");
    Bytes framed = {'F', 'O', 'R', 'M', 0, 0, 0, 0};
    framed.insert(framed.end(), objg.begin(), objg.end());
    return ChunkIds(framed);
}

class CarriedMethods : public storetest::StoreTest {
protected:
    void SetUp() override
    {
        storetest::StoreTest::SetUp();
        ModelStandIn::Install();
    }
    void TearDown() override
    {
        ResetFormModelHooks();
        storetest::StoreTest::TearDown();
    }
    ModelStandIn form_;
};

TEST_F(CarriedMethods, ACopiedGroupCarriesItsMembersMethodsIntoTheModelsFile)
{
    const int16_t methods = CreateFile("methods.qzb");
    ASSERT_NE(methods, 0);
    const Bytes method = {0, 1, 0, 2, 0, 3};
    platform::Handle stored = platform::NewHandle(int32_t(method.size()));
    std::memcpy(*stored, method.data(), method.size());
    ASSERT_TRUE(xaddres(stored, FourCC("CCQz"), 5));
    ASSERT_TRUE(xwriteres(stored));

    GroupObject group;
    auto* field = new FieldObject;
    field->objectMethodID = 5;
    field->themes.Append(3);
    auto* plain = new VarObject;  // no method
    auto* inner = new GroupObject;
    auto* deep = new VarObject;
    deep->objectMethodID = 5;
    inner->AddSubObject(deep);
    group.AddSubObject(field);
    group.AddSubObject(plain);
    group.AddSubObject(new RectObject);
    group.AddSubObject(inner);

    // Written into a form, no method; copied, each after its member's themes.
    const std::vector<std::string> written = MemberIds(Written(&group));
    EXPECT_EQ(std::count(written.begin(), written.end(), "CCQz"), 0);
    const Bytes copied = Written(&group, true);
    const std::vector<std::string> ids = MemberIds(copied);
    const auto at = std::find(ids.begin(), ids.end(), "FILD");
    ASSERT_LE(at + 3, ids.end());
    EXPECT_EQ(std::vector<std::string>(at, at + 3), (std::vector<std::string>{"FILD", "Thm#", "CCQz"}));
    EXPECT_EQ(std::count(ids.begin(), ids.end(), "CCQz"), 1);  // the nested one is in its own group
    // A missing method stops the copy.
    deep->objectMethodID = 77;
    EXPECT_TRUE(Written(&group, true).empty());
    deep->objectMethodID = 5;

    // Read into a form whose model keeps its methods in another file than
    // the current one: the methods go there, the current file stays.
    const int16_t other = CreateFile("other.qzb");
    ASSERT_NE(other, 0);
    ASSERT_EQ(xcurres(), other);
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
    ASSERT_NE(frame.firstObject, nullptr);
    LayoutObject* readField = frame.firstObject->GetFirst();
    ASSERT_TRUE(readField && readField->IsField());
    const int16_t id = static_cast<EditableObject*>(readField)->objectMethodID;
    ASSERT_NE(id, 0);
    ASSERT_NE(id, 5);
    EXPECT_EQ(xget1res(FourCC("CCQz"), id), nullptr);  // not in the current file
    ASSERT_TRUE(useres(methods));
    platform::Handle kept = xget1res(FourCC("CCQz"), id);
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(BytesOf(kept), method);
    DestroyObjects(frame.firstObject);
}

}  // namespace

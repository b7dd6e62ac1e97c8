// The form object family: kinds, record types and sub-types, what a new
// object holds, scaling, the iterator over nested groups, naming and the
// area an updater gathers.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms/objects/EditableObjects.h"
#include "forms/objects/FormModelHooks.h"
#include "forms/objects/FormObjects.h"
#include "forms/objects/ObjectIterators.h"
#include "forms/reader/FormReader.h"
#include "forms/reader/ObjectUpdater.h"
#include "forms/layout/PageTable.h"
#include "platform/drawing/Rects.h"
#include "platform/resfiles/Resources.h"
#include "tests/forms/ModelStandIn.h"
#include "tests/kernel/AppResourceFile.h"
#include "tests/platform/files/TempFolder.h"

namespace {

using platform::FourCC;

std::string Name(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p) + 1, p[0]); }

void SetP(unsigned char* out, const std::string& s)
{
    out[0] = uint8_t(s.size());
    std::memcpy(out + 1, s.data(), s.size());
}

TEST(FormObjects, KindsAndRecordTypes)
{
    struct Case {
        const char* what;
        std::function<LayoutObject*()> make;
        int16_t kind, type;
    };
    const std::vector<Case> cases = {
        {"rectangle", [] { return new RectObject; }, 1, 2},      {"rounded", [] { return new RoundRectObject; }, 2, 3},
        {"oval", [] { return new OvalObject; }, 3, 3},          {"line", [] { return new LineObject; }, 4, 6},
        {"matrix", [] { return new MatrixObject; }, 9, 19},     {"picture", [] { return new ImageObject; }, 5, 10},
        {"library picture", [] { return new LibraryImageObject; }, 6, 10},
        {"text", [] { return new TextObject; }, 7, 5},           {"group box", [] { return new GroupBoxObj; }, 8, 20},
        {"group", [] { return new GroupObject; }, 10, 18},      {"subform", [] { return new SubFormObject; }, 11, 11},
        {"field", [] { return new FieldObject; }, 12, 1},
    };
    for (const Case& c : cases) {
        std::unique_ptr<LayoutObject> o(c.make());
        EXPECT_EQ(o->GetObjectKind(), c.kind) << c.what;
        EXPECT_EQ(o->GetObjectType(), c.type) << c.what;
        // Everything a constructor does not set is zero.
        EXPECT_EQ(o->next, nullptr) << c.what;
        EXPECT_EQ(o->backColor, 0) << c.what;
        EXPECT_EQ(o->lookHandler, nullptr) << c.what;
        EXPECT_EQ(o->name[0] + o->layer + o->flagA + o->optionByte + o->lookID, 0) << c.what;
        EXPECT_EQ(o->themes.Count(), 0) << c.what;
    }
    VarObject v;
    for (const auto& [subType, kind] : std::vector<std::pair<int32_t, int16_t>>{
             {0, 13}, {3, 22}, {16, 31}, {29, 36}, {30, 38}, {31, 0}, {-1, 0}}) {
        v.SetSousType(subType, true);
        EXPECT_EQ(v.GetObjectKind(), kind) << subType;
    }
    v.SetSousType(15, true);
    EXPECT_EQ(v.subType, 0);
    v.SetSousType(29);
    EXPECT_TRUE(v.IsSplitter());
    v.SetSousType(7);
    EXPECT_FALSE(v.IsSplitter());
    v.varOption = 16;
    EXPECT_TRUE(v.IsSplitter());
    // An editor's object starts white, in the editor's current layer.
    FormModelHooks model;
    model.currentLayer = [](LayoutEditor*) -> uint8_t { return 4; };
    SetFormModelHooks(model);
    RectObject owned(reinterpret_cast<LayoutEditor*>(&v));
    ResetFormModelHooks();
    EXPECT_EQ(owned.backColor, 0x00FFFFFF);
    EXPECT_EQ(owned.layer, 4);
    TextObject t;
    EXPECT_EQ(t.styleSheet, -1);
    MatrixObject m;
    EXPECT_EQ(m.rowCount * 10 + m.columnCount, 22);
}

TEST(FormObjects, ScalingHoldsCoordinatesInSixteenBits)
{
    struct Case {
        int16_t percent, from, to;
    };
    for (const Case& c : std::vector<Case>{{200, 30000, 32767}, {200, -30000, -32768}, {50, -3, -1}, {100, 123, 123},
                                           {150, 7, 10}}) {
        RectObject r;
        r.bounds[0] = r.bounds[3] = c.from;
        r.ScaleObj(c.percent, 0);
        EXPECT_EQ(r.bounds[0], c.to) << c.percent << " " << c.from;
        EXPECT_EQ(r.bounds[3], c.to) << c.percent << " " << c.from;
    }
    // An editable object without a style sheet scales its font size too.
    FieldObject f;
    f.fontSize = 12;
    f.ScaleObj(50, 0);
    EXPECT_EQ(f.fontSize, 6);
    f.styleSheet = 2;
    f.ScaleObj(50, 0);
    EXPECT_EQ(f.fontSize, 6);
}

// Scroll bars drawn beside an object (16 wide): a subform's to the right,
// a field's to the right and below; held to 16 bits.
TEST(FormObjects, FullBoundsTakeInTheScrollBars)
{
    FieldObject f;
    SubFormObject s;
    for (auto [v, h, right, bottom, fieldRight, subformRight] : std::vector<std::array<int16_t, 6>>{
             {0, 0, 40, 30, 40, 56}, {1, 0, 40, 30, 56, 56}, {0, 1, 40, 46, 40, 56}, {1, 1, 32760, 46, 32767, 32767}}) {
        f.vScrollBar = uint8_t(v), f.hScrollBar = uint8_t(h);
        f.bounds[2] = s.bounds[2] = 30, f.bounds[3] = s.bounds[3] = right;
        const platform::Rect r = f.GetFullBounds();
        EXPECT_EQ(std::vector<int16_t>({r.bottom, r.right, s.GetFullBounds().right}),
                  std::vector<int16_t>({bottom, fieldRight, subformRight})) << right;
    }
}

TEST(FormObjects, CopiesOwnTheirHandlesAndGroupsCopyTheirMembers)
{
    GroupObject g;
    auto* text = new TextObject;
    text->SetText(reinterpret_cast<const unsigned char*>("\x02hi"));
    g.AddSubObject(text);
    g.AddSubObject(new OvalObject);
    g.themes.Append(7);
    std::unique_ptr<LayoutObject> copy(g.Duplicate());
    ASSERT_NE(copy->GetFirst(), nullptr);
    auto* copied = static_cast<TextObject*>(copy->GetFirst());
    EXPECT_NE(copied, text);
    EXPECT_NE(copied->text, text->text);
    EXPECT_EQ(copied->owner, copy.get());
    EXPECT_EQ(copied->next->GetObjectKind(), 3);
    EXPECT_EQ(copy->themes.Values(), std::vector<int32_t>{7});
    g.RemoveSubObject(text);
    EXPECT_EQ(g.GetFirst()->GetObjectKind(), 3);
}

TEST(FormObjects, EntryAttributesAreMadeWhenSetAndDroppedWhenDefault)
{
    FieldObject f;
    EXPECT_EQ(f.GetChoiceList(), -1);
    EXPECT_EQ(f.GetRequestedList(), -1);
    EXPECT_TRUE(f.GetEditable());
    f.SetChoiceList(5);
    EXPECT_EQ(f.GetChoiceList(), 5);
    f.SetEntryFilter(reinterpret_cast<const unsigned char*>("\x03" "abc"));
    unsigned char filter[256];
    EXPECT_TRUE(f.GetEntryFilter(filter));
    EXPECT_EQ(Name(filter), "abc");
    f.SetChoiceList(-1);
    EXPECT_EQ(f.GetChoiceList(), -1);
    // A record holding only defaults goes.
    FieldObject d;
    d.SetRequestedList(-1);
    platform::Handle record = d.entryAttributes;
    d.entryAttributes = nullptr;
    d.SetSatt(record);
    EXPECT_EQ(d.entryAttributes, nullptr);
}

// Groups nested 70 deep: every member is reached once, and the walk ends.
TEST(FormObjects, TheIteratorReachesEveryMemberOfDeepGroups)
{
    auto* top = new GroupObject;
    GroupObject* g = top;
    int made = 1;
    for (int depth = 0; depth < 70; ++depth) {
        g->AddSubObject(new RectObject);
        auto* inner = new GroupObject;
        g->AddSubObject(inner);
        g->AddSubObject(new OvalObject);
        g = inner;
        made += 3;
    }
    RectObject after;
    top->next = &after;
    int seen = 0, selected = 0;
    for (LayoutObjectIterator it(top, false, true, false); it.Current(); it.SetNext()) ++seen;
    EXPECT_EQ(seen, made + 1);
    for (LayoutObjectIterator it(top, false, false, false); it.Current(); it.SetNext()) ++selected;
    EXPECT_EQ(selected, 2);
    after.selected = 1;
    selected = 0;
    for (LayoutObjectIterator it(top, true, true, false); it.Current(); it.SetNext()) ++selected;
    EXPECT_EQ(selected, 1);
    // A group iterator ends at its stop object.
    int before = 0;
    for (LayoutGroupIterator it(top, &after, false, false); it.Current(); it.SetNext()) ++before;
    EXPECT_EQ(before, 1);
    top->next = nullptr;
    delete top;
}

class Naming : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::ResetResourceManager();
        std::vector<std::string> items(67, "");
        items[33] = "Rectangle";
        items[66] = "vVariable";
        ASSERT_NE(kerneltest::OpenAppFile(dir_.path() + "/app.rsrc",
                                          {{FourCC("STR#"), 803, false, "", 0, List(items)}}),
                  -1);
    }
    void TearDown() override { platform::ResetResourceManager(); }
    static std::vector<uint8_t> List(const std::vector<std::string>& items)
    {
        std::vector<uint8_t> b = {uint8_t(items.size() >> 8), uint8_t(items.size())};
        for (const std::string& s : items) {
            b.push_back(uint8_t(s.size()));
            b.insert(b.end(), s.begin(), s.end());
        }
        return b;
    }
    platform::testing::TempFolder dir_;
};

TEST_F(Naming, DefaultNamesTakeTheKindsItemAndACounter)
{
    int32_t counters[21] = {};
    counters[2] = 2;
    RectObject r;
    NameObject(2, &r, counters, nullptr);
    EXPECT_EQ(Name(r.name), "Rectangle3");
    EXPECT_EQ(counters[2], 3);
    NameObject(2, &r, counters, nullptr);  // named already
    EXPECT_EQ(counters[2], 3);
    // A type without an item, or past the counters (a list box), is not
    // named and counts nothing.
    RectObject listBox, text;
    NameObject(22, &listBox, counters, nullptr);
    EXPECT_EQ(Name(listBox.name), "");
    NameObject(7, &text, counters, nullptr);
    EXPECT_EQ(Name(text.name), "");
    EXPECT_EQ(counters[7], 0);
    VarObject v;
    v.NameDfltVar();
    const std::string first = Name(v.varName);
    v.NameDfltVar();
    EXPECT_EQ(first.substr(0, 9), "vVariable");
    EXPECT_NE(Name(v.varName), first);
}

TEST_F(Naming, NamesAreCleanedAndMadeUnique)
{
    // Names taken on two pages, inside a group, and outside the pages.
    formtest::ModelStandIn form;
    formtest::ModelStandIn::Install();
    form.pages = NewPageTable(1);
    auto* x = new RectObject;
    auto* x1 = new OvalObject;
    auto* name12 = new LineObject;
    SetP(x->name, "X");
    SetP(x1->name, "X1");
    SetP(name12->name, "Name12");
    x->next = x1;
    x1->previous = x;
    auto* group = new GroupObject;
    group->AddSubObject(name12);
    SetPage(form.pages, 0, PageEntry{x, x1});
    SetPage(form.pages, 1, PageEntry{group, group});
    RectObject outside;
    SetP(outside.name, "Kept");
    form.outside = &outside;
    struct Case {
        std::string given, kept;
    };
    const std::string base31(31, 'b');
    for (const Case& c : std::vector<Case>{{"X", "X2"},
                                           {"Name12", "Name1"},
                                           {"Y", "Y"},
                                           {"Kept", "Kept1"},
                                           {std::string("A\x01\x7F" "B", 4), "AB"},
                                           {base31, base31}}) {
        RectObject o;
        unsigned char given[256];
        SetP(given, c.given);
        AcceptObjectName(given, &o, form.Model());
        EXPECT_EQ(Name(o.name), c.kept) << c.given;
    }
    // The object itself does not count; without a model no name is taken.
    AcceptObjectName(x->name, x, form.Model());
    EXPECT_EQ(Name(x->name), "X");
    AcceptObjectName(x->name, x1, nullptr);
    EXPECT_EQ(Name(x1->name), "X");
    unsigned char longName[64];
    SetP(longName, base31);
    MakeNewName(longName, 12);
    EXPECT_EQ(Name(longName), std::string(29, 'b') + "12");
    ResetFormModelHooks();
    DestroyPages(form.pages);
}

TEST(ObjectUpdaterTest, EachRectGrowsByFiveAndTheUnionBySixteen)
{
    ObjectUpdater u(nullptr, 100, 50);
    RectObject a, b;
    a.bounds[0] = 10, a.bounds[1] = 10, a.bounds[2] = 20, a.bounds[3] = 20;
    b.bounds[0] = 40, b.bounds[1] = 30, b.bounds[2] = 30, b.bounds[3] = 25;  // corners out of order
    u.AddObject(&a);
    u.AddObject(&b);
    ASSERT_TRUE(u.HasArea());
    EXPECT_EQ(u.Area().top, 55);
    EXPECT_EQ(u.Area().left, 105);
    EXPECT_EQ(u.Area().bottom, 95);
    EXPECT_EQ(u.Area().right, 135);
}

}  // namespace

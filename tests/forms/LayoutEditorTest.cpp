// The form model: reading every layout with its access flags, moving
// between pages, the entry order, the form's size, scaling and the mapping
// to the window, and the answers it gives its objects.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "forms/layout/PageTable.h"
#include "forms/model/LayoutEditor.h"
#include "forms/objects/EditableObjects.h"
#include "forms/objects/FormModelHooks.h"
#include "forms/objects/FormObjects.h"
#include "forms/reader/FormReader.h"
#include "looks/LookManager.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/events/DialogAnswers.h"
#include "platform/resfiles/Resources.h"
#include "tests/resources/StoreTestSupport.h"
#include "tools/docbuilder/FormLayout.h"
#include "tools/docbuilder/IffForm.h"

namespace {

using Kind = docbuilder::FormItemSpec::Kind;
constexpr uint32_t kFOQz = platform::FourCC("FOQz");

std::string Name(const unsigned char* p) { return std::string(reinterpret_cast<const char*>(p) + 1, p[0]); }

void SetP(unsigned char* out, const std::string& s)
{
    out[0] = uint8_t(s.size());
    std::memcpy(out + 1, s.data(), s.size());
}

// An object that notes the pages it is told about.
class Probe : public RectObject {
public:
    using RectObject::RectObject;
    void DoPageOpened(int16_t page) override { told += "opened " + std::to_string(page) + ";"; }
    void DoPageClosed(int16_t page) override { told += "closed " + std::to_string(page) + ";"; }
    std::string told;
};

template <class T = RectObject>
T* Placed(LayoutEditor* model, int16_t top, int16_t left, const std::string& name = "")
{
    T* o = new T(model);
    const int16_t b[4] = {top, left, int16_t(top + 10), int16_t(left + 10)};
    std::memcpy(o->bounds, b, sizeof b);
    SetP(o->name, name);
    return o;
}

std::string gShown;
void NoteShown(platform::DialogRef d)
{
    unsigned char text[256];
    platform::GetDialogItemShownText(d, 2, text);
    gShown += Name(text) + ";";
}

class FormModel : public storetest::StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        InstallFormModelHooks();
        file_ = CreateFile("forms");
        ASSERT_GT(file_, 0);
    }
    void TearDown() override
    {
        testlockres = 0;
        platform::ClearDialogAnswers();
        ResetFormModelHooks();
        StoreTest::TearDown();
    }
    void Add(int16_t id, const storetest::Bytes& bytes) { ASSERT_TRUE(xaddres(storetest::MakeHandle(bytes), kFOQz, id)); }
    static std::vector<docbuilder::FormRecord> OnPages(std::vector<int16_t> pages)
    {
        std::vector<docbuilder::FormRecord> records(pages.size());
        for (size_t i = 0; i < pages.size(); ++i) records[i].kind = Kind::Rect, records[i].page = pages[i];
        return records;
    }
    int16_t file_ = 0;
};

TEST_F(FormModel, EveryLayoutReadsWithinItsResource)
{
    docbuilder::IffFormLayout chunks;
    chunks.look = 3;
    chunks.pages = {{}, {docbuilder::IffObject{}}};
    storetest::Bytes paged = docbuilder::FlatForm(OnPages({1, 2, 3, 3}));
    storetest::Bytes cut = paged, none = {13, 0, 0, 0};
    cut.resize(cut.size() - 4);
    // What a copy puts on the clipboard: two rectangles.
    storetest::Bytes objects = {'F', 'O', 'R', 'M', 0, 0, 0, 36, 'O', 'B', 'J', 'S'};
    for (int k = 0; k < 2; ++k) {
        const uint8_t rect[16] = {'R', 'E', 'C', 'T', 0, 0, 0, 8, 0, 0, 0, 0, 0, 9, 0, 9};
        objects.insert(objects.end(), rect, rect + 16);
    }
    struct Case {
        const char* what;
        storetest::Bytes bytes;
        bool whole;
        std::vector<int32_t> perPage;  // objects of pages 0 to the last
    };
    const Case cases[] = {
        {"chunk file", docbuilder::IffForm(chunks), true, {0, 1}},
        {"paged flat", paged, true, {0, 1, 1, 2}},
        {"paged flat cut short", cut, false, {0, 0}},
        {"no page", none, true, {0, 0}},
        {"oldest flat", docbuilder::FlatForm(OnPages({1, 1}), docbuilder::ByteOrder::Big, true), true, {0, 2}},
        {"a type no object reads", {7, 7, 7, 7}, false, {0, 0}},
        {"a byte after the last page", [&] { auto b = paged; b.push_back(0); return b; }(), false, {0, 1, 1, 2}},
        {"objects where a form belongs", objects, true, {2, 0}},
    };
    for (int16_t i = 0; i < int16_t(std::size(cases)); ++i) {
        const size_t live = LayoutObject::LiveCount();
        {
            Add(int16_t(10 + i), cases[i].bytes);
            LayoutEditor model(int16_t(10 + i), 0, file_);
            EXPECT_EQ(model.ReadLayout(), cases[i].whole) << cases[i].what;
            EXPECT_EQ(model.CurrentPage(), 1) << cases[i].what;
            std::vector<int32_t> perPage;
            for (int16_t p = 0; p <= model.LastPage(); ++p) perPage.push_back(model.CountPageObjects(p));
            EXPECT_EQ(perPage, cases[i].perPage) << cases[i].what;
        }
        EXPECT_EQ(LayoutObject::LiveCount(), live) << cases[i].what;
    }
    LayoutEditor iff(10, 0, file_);
    iff.ReadLayout();
    EXPECT_EQ(iff.fLookNumber, 3);
    EXPECT_EQ(iff.fLookHandler, VI_Manager::GetHandler(3));
    LayoutEditor flat(11, 0, file_);
    flat.ReadLayout();
    EXPECT_EQ(flat.fInfo.scriptFlags[0], 0x1EBD3FFFu);
    EXPECT_EQ(flat.fInfo.scriptFlags[1], 0u);
    EXPECT_EQ(std::vector<int>({flat.fInfo.optionA, flat.fInfo.optionB, flat.fInfo.optionC, flat.fInfo.optionD,
                                flat.fInfo.lastByte}),
              std::vector<int>(5, 0));
    LayoutEditor missing(99, 0, file_);
    EXPECT_FALSE(missing.ReadLayout());
    EXPECT_EQ(missing.LastPage(), -1);
}

TEST_F(FormModel, TheVersionAndTheLockDecideWhetherItMayBeModified)
{
    docbuilder::IffFormLayout f;
    f.pages = {{}, {}};
    storetest::Bytes versioned = docbuilder::IffForm(f);
    const auto at = std::search(versioned.begin(), versioned.end(), std::begin("Vers"), std::end("Vers") - 1);
    ASSERT_NE(at, versioned.end());
    *(at + 8 + 5) = 1;  // the version long
    Add(1, docbuilder::IffForm(f));
    Add(2, versioned);
    struct Case {
        int16_t id;
        uint8_t lockTest, override;
        bool lock, byVersion, mayModify;
    };
    const Case cases[] = {
        {1, 0, 0, true, true, true},
        {2, 0, 0, true, false, false},
        {2, 0, 1, true, true, true},
        {1, 1, 0, false, true, false},  // a file of our own grants no lock
    };
    for (const Case& c : cases) {
        testlockres = c.lockTest;
        LayoutEditor model(c.id, 0, file_);
        model.fOverride = c.override;
        model.ReadLayout();
        EXPECT_EQ(model.LockObtained(), c.lock) << c.id << "/" << int(c.lockTest);
        EXPECT_EQ(model.EditableByVersion(), c.byVersion) << c.id << "/" << int(c.override);
        EXPECT_EQ(model.MayModify(), c.mayModify) << c.id;
        EXPECT_EQ(testlockres, 0);
    }
}

TEST_F(FormModel, PagesAreClampedToldAndAskedFor)
{
    const int16_t app = platform::OpenResFile(QZ_APP_RESOURCES, platform::fsRdPerm, platform::ResFileFork::Data);
    ASSERT_GT(app, 0);
    LayoutEditor model(1, 0, file_);
    model.fPages = NewPageTable(3);
    Probe* one = Placed<Probe>(&model, 0, 0);
    Probe* three = Placed<Probe>(&model, 0, 0);
    SetPage(model.fPages, 1, PageEntry{one, one});
    SetPage(model.fPages, 3, PageEntry{three, three});
    model.fCurrentPage = 1;
    model.fFirst = model.fLast = one;
    struct Case {
        int16_t asked, now;
    };
    for (const Case& c : {Case{99, 3}, Case{-5, 1}, Case{2, 2}, Case{3, 3}}) {
        model.GotoPage(c.asked, 1);
        EXPECT_EQ(model.CurrentPage(), c.now) << c.asked;
    }
    EXPECT_EQ(one->told, "closed 3;opened 3;closed 2;");
    EXPECT_EQ(three->told, "opened 1;closed 1;opened 2;");
    platform::PushDialogAnswer(2);  // Cancel
    model.GotoPage(-1, 1);
    EXPECT_EQ(model.CurrentPage(), 3);
    int16_t left = 0;
    EXPECT_FALSE(platform::TakeDialogAnswer(&left)) << "the page prompt did not show";
    // A page outside the table: said once, however often asked.
    gShown.clear();
    platform::SetScriptedAnswerObserver(NoteShown);
    platform::PushDialogAnswer(1);
    platform::PushDialogAnswer(1);
    EXPECT_EQ(model.GetFirstOfPage(7), nullptr);
    EXPECT_EQ(model.GetFirstOfPage(-2), nullptr);
    platform::SetScriptedAnswerObserver(nullptr);
    EXPECT_EQ(gShown, "Page is invalid!;");
    EXPECT_TRUE(platform::TakeDialogAnswer(&left));
    EXPECT_FALSE(platform::TakeDialogAnswer(&left));
    EXPECT_EQ(model.GetFirstOfPage(-1), three);
    EXPECT_EQ(model.CountObjects(), 2);
    platform::CloseResFile(app);
}

TEST_F(FormModel, TheEntryOrderGoesByRowsThenLeftEdges)
{
    struct Case {
        const char* what;
        std::vector<std::pair<int16_t, int16_t>> fields;  // top, left, in chain order
        bool rectBetween;
        uint8_t fixed;
        std::string order;
    };
    const Case cases[] = {
        {"tops 3 apart: by left", {{3, 50}, {0, 10}}, false, 0, "B A"},
        {"tops 5 apart: by top", {{0, 50}, {5, 10}}, false, 0, "A B"},
        {"tops 5 apart, reversed", {{5, 10}, {0, 50}}, false, 0, "B A"},
        {"a rectangle between stays", {{0, 10}, {40, 10}}, true, 0, "A B R"},
        {"fixed order", {{3, 50}, {0, 10}}, false, 1, "A B"},
    };
    for (const Case& c : cases) {
        LayoutEditor model(1, 0, file_);
        model.fPages = NewPageTable(1);
        model.fCurrentPage = 1;
        model.fInfo.fixedEntryOrder = c.fixed;
        std::string label = "A";
        for (const auto& [top, left] : c.fields) {
            model.InsertObject(Placed<FieldObject>(&model, top, left, label), kAfterLastObject);
            if (c.rectBetween && label == "A") model.InsertObject(Placed(&model, 20, 0, "R"), kAfterLastObject);
            label = "B";
        }
        model.TriZone(false);
        std::string order;
        for (LayoutObject* o = model.FirstObject(); o; o = o->next) order += (order.empty() ? "" : " ") + Name(o->name);
        EXPECT_EQ(order, c.order) << c.what;
    }
    // A group holding a field takes part; rows that chain (0, 3, 6) end.
    LayoutEditor model(1, 0, file_);
    model.fPages = NewPageTable(1);
    model.fCurrentPage = 1;
    auto* group = Placed<GroupObject>(&model, 0, 90, "G");
    group->AddSubObject(Placed<FieldObject>(&model, 0, 90));
    model.InsertObject(group, kAfterLastObject);
    model.InsertObject(Placed<FieldObject>(&model, 3, 40, "B"), kAfterLastObject);
    model.InsertObject(Placed<FieldObject>(&model, 6, 0, "C"), kAfterLastObject);
    model.TriZone(false);
    std::string order;
    for (LayoutObject* o = model.FirstObject(); o; o = o->next) order += Name(o->name);
    EXPECT_EQ(order, "BGC");
}

TEST_F(FormModel, TheFormsSizeIsHeldTo32767)
{
    struct Case {
        const char* what;
        std::string sizeObject;
        int16_t hSize, vSize;
        std::vector<std::array<int16_t, 4>> objects;
        int16_t width, height;
    };
    const Case cases[] = {
        {"nothing", "", 0, 0, {}, 640, 480},
        {"size object", "Frame", 5, -6, {{10, 20, 300, 400}}, 405, 306},
        {"sizes alone", "", 500, -300, {{0, 0, 900, 900}}, 500, 300},
        {"largest object", "", -10, 20, {{0, 0, 50, 60}, {5, 200, 30, 100}}, 210, 70},
        {"past 32767", "", -1000, 0, {{0, 0, 10, 32000}}, 32767, 10},
        {"size object past 32767", "Frame", 1000, 0, {{0, 0, 10, 32000}}, 32767, 10},
    };
    for (const Case& c : cases) {
        LayoutEditor model(1, 0, file_);
        model.fPages = NewPageTable(1);
        model.fCurrentPage = 1;
        SetP(model.fInfo.sizeObjectName, c.sizeObject);
        model.fInfo.hSize = c.hSize, model.fInfo.vSize = c.vSize;
        for (const auto& b : c.objects) {
            RectObject* r = Placed(&model, 0, 0, "Frame");
            std::memcpy(r->bounds, b.data(), sizeof r->bounds);
            model.InsertObject(r, kAfterLastObject);
        }
        model.MakeLimits(nullptr);
        EXPECT_EQ(model.FormWidth(), c.width) << c.what;
        EXPECT_EQ(model.FormHeight(), c.height) << c.what;
    }
}

TEST_F(FormModel, ScalingAndTheMappingToTheWindowRoundTowardZero)
{
    LayoutEditor model(1, 0, file_);
    model.fPages = NewPageTable(2);
    model.fCurrentPage = 1;
    RectObject* r = Placed(&model, 0, 0);
    const int16_t b[4] = {-7, 9, 31, 101};
    std::memcpy(r->bounds, b, sizeof b);
    model.InsertObject(r, kAfterLastObject);
    RectObject* other = Placed(&model, 40, 40);
    SetPage(model.fPages, 2, PageEntry{other, other});
    model.fInfo.hSize = 301, model.fInfo.vSize = -51;
    model.Brz_DoScale(50, 0);
    EXPECT_EQ(std::vector<int16_t>(r->bounds, r->bounds + 4), (std::vector<int16_t>{-3, 4, 15, 50}));
    EXPECT_EQ(other->bounds[0], 20);
    EXPECT_EQ(model.fInfo.hSize, 150);
    EXPECT_EQ(model.fInfo.vSize, -25);
    model.fZoom = 1.5;
    model.fContentRect = platform::Rect{100, 10, 400, 500};
    EXPECT_EQ(model.FormToScreen(3, true), 14);
    EXPECT_EQ(model.FormToScreen(-3, true), 6);
    model.fScrollV = -20, model.fOffset = 2;
    const platform::Point p = model.FormToScreen(platform::Point{10, 0});
    EXPECT_EQ(p.v, 100 - 20 + 2 + 15);
    EXPECT_EQ(p.h, 10 + 2);
}

TEST_F(FormModel, ObjectsAskTheirModelForItsAnswers)
{
    LayoutEditor model(7, 0, file_);
    model.fPages = NewPageTable(2);
    model.fCurrentPage = 2;
    model.fInfo.currentLayer = 4;
    LayoutObject* shared = Placed(&model, 0, 0, "Same");
    SetPage(model.fPages, 0, PageEntry{shared, shared});
    model.InsertObject(Placed(&model, 0, 0, "Mine"), nullptr);
    auto* copy = Placed(&model, 0, 0);
    EXPECT_EQ(copy->layer, 4);
    AcceptObjectName(reinterpret_cast<const unsigned char*>("\x04Same"), copy, &model);
    EXPECT_EQ(Name(copy->name), "Same1") << "taken on page 0";
    AcceptObjectName(reinterpret_cast<const unsigned char*>("\x04Mine"), copy, &model);
    EXPECT_EQ(Name(copy->name), "Mine1") << "taken on the current page";
    delete copy;
    EXPECT_EQ(ModelMethodFile(&model), file_);
    RenameModelObjectMethod(&model, 12, reinterpret_cast<const unsigned char*>("\x02vA"));
    RenameModelObjectMethod(&model, 12, reinterpret_cast<const unsigned char*>("\x02vB"));
    ASSERT_EQ(model.RenamedMethods().size(), 1u);
    EXPECT_EQ(model.RenamedMethods()[0].second, "vB");
}

}  // namespace

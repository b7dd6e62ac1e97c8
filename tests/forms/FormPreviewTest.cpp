// A form's preview: its size held to 4000 each way, the inherited forms
// drawn once each behind it, the display types, the 72 dpi header, and its
// pixels against the same frames drawn by the platform's calls.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "forms/drawing/FormPreview.h"
#include "forms/drawing/LayoutBackground.h"
#include "forms/model/LayoutEditor.h"
#include "forms/objects/FormModelHooks.h"
#include "forms/objects/FormObjects.h"
#include "forms/objects/FormTables.h"
#include "looks/VIHandler.h"
#include "platform/core/Endian.h"
#include "platform/core/Memory.h"
#include "platform/drawing/CallCounts.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Raster.h"
#include "platform/drawing/Shapes.h"
#include "platform/pictures/Pictures.h"
#include "platform/resfiles/Resources.h"
#include "tests/resources/StoreTestSupport.h"
#include "toolbox/drawing/VLookHandler.h"
#include "toolbox/drawing/VPainter.h"
#include "tools/docbuilder/IffForm.h"

using namespace platform;

namespace {

using docbuilder::IffObject;
using Kind = docbuilder::FormItemSpec::Kind;
constexpr uint32_t kFOQz = FourCC("FOQz");

Handle gFormList = nullptr;

// A form list ('TFQz') of table 1 naming forms by id.
Handle FormList(const std::vector<std::pair<std::string, int16_t>>& forms)
{
    std::vector<uint8_t> b(6, 0);
    b[1] = uint8_t(forms.size());
    for (const auto& [name, id] : forms) {
        std::vector<uint8_t> e(270, 0);
        e[0] = uint8_t(name.size());
        std::memcpy(&e[1], name.data(), name.size());
        e[32] = uint8_t(id >> 8), e[33] = uint8_t(id);
        b.insert(b.end(), e.begin(), e.end());
    }
    return storetest::MakeHandle(b);
}

IffObject Box(int16_t top, int16_t left, int16_t bottom, int16_t right)
{
    IffObject o;
    o.kind = Kind::Rect;
    o.bounds = {top, left, bottom, right};
    return o;
}

class FormPreview : public storetest::StoreTest {
protected:
    void SetUp() override
    {
        StoreTest::SetUp();
        InstallFormModelHooks();
        ASSERT_GT(CreateFile("previews"), 0);
        formTableCount = 1;
        SetTableFormListProc([](int16_t table) { return table == 1 ? gFormList : nullptr; });
        gFormList = FormList({{"A", 1}, {"B", 2}, {"C", 3}});
    }
    void TearDown() override
    {
        SetTableFormListProc(nullptr);
        formTableCount = 0;
        DisposeHandle(gFormList);
        gFormList = nullptr;
        ResetFormModelHooks();
        StoreTest::TearDown();
    }
    void Add(int16_t id, const std::vector<std::vector<IffObject>>& pages, const std::string& inherit = "",
             uint32_t look = 0)
    {
        docbuilder::IffFormLayout f;
        f.pages = pages;
        f.look = look;
        if (!inherit.empty()) f.inheritTable = 1, f.inheritName = inherit;
        ASSERT_TRUE(xaddres(storetest::MakeHandle(docbuilder::IffForm(f)), kFOQz, id));
    }
    // The preview of form `id` (page `page`) and its frame.
    Handle Preview(int16_t id, int16_t type, Rect* frame, int16_t page = 1)
    {
        LayoutEditor model(id, 0, 0);
        EXPECT_TRUE(model.ReadLayout());
        if (page != 1) model.GotoPage(page, 0);
        Handle picture = NewBuildPictFromLayout(&model, type);
        if (picture) QDGetPictureBounds(picture, frame);
        return picture;
    }
};

// The world's pixels (0xRRGGBB, row by row); the world is disposed.
std::vector<uint32_t> Pixels(GWorldPtr world, int16_t width, int16_t height)
{
    std::vector<uint32_t> out;
    const auto surface = MakeSurface(GetPortBitMapForCopyBits(world));
    for (int v = 0; v < height; ++v)
        for (int h = 0; h < width; ++h) out.push_back(surface.ReadRGB(h, v) & 0xFFFFFF);
    DisposeGWorld(world);
    return out;
}

// The pixels of a picture played into a world of its frame's size.
std::vector<uint32_t> Played(Handle picture)
{
    Rect frame{};
    QDGetPictureBounds(picture, &frame);
    GWorldPtr world = nullptr;
    CGrafPtr saved = nullptr;
    GDHandle device = nullptr;
    GetGWorld(&saved, &device);
    EXPECT_EQ(NewGWorld(&world, 32, &frame, nullptr, nullptr, 0), noErr);
    SetGWorld(world, nullptr);
    DrawPicture(picture, &frame);
    SetGWorld(saved, device);
    return Pixels(world, int16_t(frame.right - frame.left), int16_t(frame.bottom - frame.top));
}

// The form's background in the default look (white without it) with black
// frames of `boxes`, drawn by the platform's calls.
std::vector<uint32_t> Expected(int16_t width, int16_t height, const std::vector<Rect>& boxes,
                               bool background = true)
{
    const Rect r{0, 0, height, width};
    GWorldPtr world = nullptr;
    CGrafPtr saved = nullptr;
    GDHandle device = nullptr;
    GetGWorld(&saved, &device);
    EXPECT_EQ(NewGWorld(&world, 32, &r, nullptr, nullptr, 0), noErr);
    SetGWorld(world, nullptr);
    if (background) {
        EraseLayoutBackground(&r, VI_Manager::GetHandler(0), nullptr);
    } else {
        EraseRect(&r);
    }
    const RGBColor black{0, 0, 0};
    RGBForeColor(&black);
    PenNormal();
    for (const Rect& b : boxes) FrameRect(&b);
    SetGWorld(saved, device);
    return Pixels(world, width, height);
}

TEST_F(FormPreview, SizesAreTheFormsHeldTo4000EachWay)
{
    struct Case {
        const char* what;
        std::vector<std::vector<IffObject>> pages;
        int16_t width, height;
    };
    const Case cases[] = {
        {"no objects", {{}, {}}, 640, 480},
        {"3999 wide", {{}, {Box(0, 0, 10, 3999)}}, 3999, 10},
        {"4000 wide", {{}, {Box(0, 0, 10, 4000)}}, 4000, 10},
        {"5000 wide", {{}, {Box(0, 0, 10, 5000)}}, 4000, 10},
        {"30000 tall", {{}, {Box(0, 0, 30000, 10)}}, 10, 4000},
        {"an object wholly past 4000", {{}, {Box(2, 2, 10, 10), Box(4000, 0, 4100, 5), Box(32767, 32767, 32767, 32767)}},
         10, 10},
    };
    for (int16_t i = 0; i < int16_t(std::size(cases)); ++i) {
        Add(int16_t(10 + i), cases[i].pages);
        Rect frame{};
        Handle picture = Preview(int16_t(10 + i), kDisplayDrawing, &frame);
        ASSERT_NE(picture, nullptr) << cases[i].what;
        EXPECT_EQ(frame.right - frame.left, cases[i].width) << cases[i].what;
        EXPECT_EQ(frame.bottom - frame.top, cases[i].height) << cases[i].what;
        KillPicture(picture);
    }
}

TEST_F(FormPreview, ThePictureIsRecordedAt72Dpi)
{
    Add(1, {{}, {Box(0, 0, 10, 20)}});
    Rect frame{};
    Handle picture = Preview(1, kDisplayDrawing, &frame);
    ASSERT_NE(picture, nullptr);
    ASSERT_GE(GetHandleSize(picture), 40);
    const auto* b = reinterpret_cast<const uint8_t*>(*picture);
    EXPECT_EQ(ReadBE16(b + 10), 0x0011u);  // version 2
    EXPECT_EQ(ReadBE16(b + 14), 0x0C00u);  // its header
    EXPECT_EQ(ReadBE32(b + 20), 72u << 16);
    EXPECT_EQ(ReadBE32(b + 24), 72u << 16);
    KillPicture(picture);
}

TEST_F(FormPreview, InheritedFormsAreDrawnBehindOnceEach)
{
    // A inherits B, B inherits A: each is drawn once, behind the form shown.
    Add(1, {{}, {Box(2, 2, 10, 10)}}, "B");
    Add(2, {{}, {Box(20, 20, 30, 30)}}, "A");
    Add(3, {{Box(0, 40, 5, 45)}, {Box(12, 12, 18, 18)}, {Box(0, 0, 4, 4)}});
    struct Case {
        const char* what;
        int16_t id, type, page;
        std::vector<Rect> boxes;
    };
    const Case cases[] = {
        {"drawing", 1, kDisplayDrawing, 1, {{20, 20, 30, 30}, {2, 2, 10, 10}}},
        {"outline drops the inherited form", 1, kDisplayOutline, 1, {{2, 2, 10, 10}}},
        {"the other way", 2, kDisplayDrawing, 1, {{2, 2, 10, 10}, {20, 20, 30, 30}}},
        {"page 0 under page 1", 3, kDisplayDrawing, 1, {{0, 40, 5, 45}, {12, 12, 18, 18}}},
        {"page 0 under page 2", 3, kDisplayText, 2, {{0, 40, 5, 45}, {0, 0, 4, 4}}},
        {"outline of page 2", 3, kDisplayOutline, 2, {{0, 0, 4, 4}}},
    };
    for (const Case& c : cases) {
        ResetDrawingCallCounts();
        Rect frame{};
        Handle picture = Preview(c.id, c.type, &frame, c.page);
        ASSERT_NE(picture, nullptr) << c.what;
        const int16_t w = int16_t(frame.right - frame.left), h = int16_t(frame.bottom - frame.top);
        EXPECT_EQ(Played(picture), Expected(w, h, c.boxes)) << c.what;
        KillPicture(picture);
    }
    // Drawing form 1 builds two worlds: its own and its inherited form's.
    ResetDrawingCallCounts();
    Rect frame{};
    Handle picture = Preview(1, kDisplayDrawing, &frame);
    EXPECT_EQ(DrawingCallCount(DrawingCall::NewGWorld), 2u);
    KillPicture(picture);
}

// A subform naming its own form, or a form that holds it, shows no
// picture of it: each form is built once, and the preview ends.
TEST_F(FormPreview, ASubformOfAFormBeingBuiltIsNotBuiltAgain)
{
    auto sub = [](const std::string& form) {
        IffObject o = Box(5, 5, 40, 40);
        o.kind = Kind::Subform;
        o.subformTable = -1;
        o.text = form;
        return o;
    };
    Add(1, {{}, {sub("A"), Box(50, 50, 60, 60)}});  // A holds itself
    Add(2, {{}, {sub("C")}});                       // B holds C, C holds B
    Add(3, {{}, {sub("B")}});
    struct Case {
        const char* what;
        int16_t id;
        uint32_t worlds;  // the form's own and each subform built
    };
    const Case cases[] = {{"itself", 1, 1}, {"a form holding it", 2, 2}, {"the other way", 3, 2}};
    for (const Case& c : cases) {
        ResetDrawingCallCounts();
        Rect frame{};
        Handle picture = Preview(c.id, kDisplayDrawing, &frame);
        ASSERT_NE(picture, nullptr) << c.what;
        EXPECT_EQ(DrawingCallCount(DrawingCall::NewGWorld), c.worlds) << c.what;
        KillPicture(picture);
    }
}

TEST_F(FormPreview, ACopysOrAPrintedPagesPictureHoldsWhatWasAsked)
{
    Add(1, {{}, {Box(2, 2, 10, 10)}}, "B");
    Add(2, {{}, {Box(20, 20, 30, 30)}}, "A");
    Add(3, {{Box(0, 40, 5, 45)}, {Box(12, 12, 18, 18), Box(30, 30, 36, 36)}, {Box(0, 0, 4, 4)}});
    struct Case {
        const char* what;
        int16_t id, page;
        bool selectedOnly, background;
        std::vector<Rect> boxes;
    };
    // Form 3's second object of page 1 is the selected one.
    const Case cases[] = {
        {"the current page whole", 3, -1, false, true, {{0, 40, 5, 45}, {12, 12, 18, 18}, {30, 30, 36, 36}}},
        {"another page, the current one kept", 3, 2, false, true, {{0, 40, 5, 45}, {0, 0, 4, 4}}},
        {"the selection alone on white", 3, -1, true, false, {{30, 30, 36, 36}}},
        {"the selection over the background", 3, -1, true, true, {{0, 40, 5, 45}, {30, 30, 36, 36}}},
        {"no inherited form without the background", 1, -1, false, false, {{2, 2, 10, 10}}},
        {"the inherited form behind", 1, -1, false, true, {{20, 20, 30, 30}, {2, 2, 10, 10}}},
    };
    for (const Case& c : cases) {
        LayoutEditor model(c.id, 0, 0);
        ASSERT_TRUE(model.ReadLayout()) << c.what;
        model.GotoPage(1, 0);
        if (c.id == 3) model.FirstObject()->next->selected = 1;
        Handle picture = FormPagePreview(&model, c.page, c.selectedOnly, c.background);
        ASSERT_NE(picture, nullptr) << c.what;
        Rect frame{};
        QDGetPictureBounds(picture, &frame);
        const int16_t w = int16_t(frame.right - frame.left), h = int16_t(frame.bottom - frame.top);
        EXPECT_EQ(Played(picture), Expected(w, h, c.boxes, c.background)) << c.what;
        EXPECT_EQ(model.CurrentPage(), 1) << c.what;
        KillPicture(picture);
    }
}

TEST_F(FormPreview, TheBackgroundIsTheFormLooksPanel)
{
    VPainter::Init();
    std::vector<uint32_t> corners;
    for (uint32_t look : {1u, 2u, 4u}) {
        const int16_t id = int16_t(20 + look);
        Add(id, {{}, {}}, "", look);
        Rect frame{};
        Handle picture = Preview(id, kDisplayDrawing, &frame);
        ASSERT_NE(picture, nullptr);
        const std::vector<uint32_t> shown = Played(picture);
        KillPicture(picture);
        // The look's panel painted by the toolbox look over the same size.
        GWorldPtr world = nullptr;
        ASSERT_EQ(NewGWorld(&world, 32, &frame, nullptr, nullptr, 0), noErr);
        {
            VPainter painter(world, false);
            painter.SetLook(int16_t(look));
            painter.BeginPaint(world);
            GetLookHandler(int16_t(look))
                ->Paint(&painter, kPaintPanel, kStatusNormal, 0, 0, frame.right, frame.bottom, nullptr, nullptr);
            painter.EndPaint();
        }
        const std::vector<uint32_t> panel = Pixels(world, frame.right, frame.bottom);
        EXPECT_EQ(shown, panel) << "look " << look;
        corners.push_back(shown.at(0));
    }
    // Looks whose panels differ: the form's look is the one drawn.
    EXPECT_NE(corners[0], corners[2]);
    EXPECT_NE(corners[1], corners[2]);
    ResetLookHandlers();
}

}  // namespace

// Dragging: auto-scroll on the way, drop signatures, the properties' block
// and the flavour and outline of a desktop drag.
#include "tests/toolbox/views/ViewsTestSupport.h"

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/drag/Drag.h"
#include "platform/events/InputState.h"
#include "toolbox/foundation/VStr.h"
#include "toolbox/views/VDragDropProperties.h"
#include "toolbox/views/VDragScrap.h"
#include "toolbox/views/VDragger.h"
#include "toolbox/views/VScrolledView.h"
#include "toolbox/views/VViewScroller.h"

using namespace viewstest;

namespace {

class DragTest : public ViewsTest {
protected:
    void TearDown() override
    {
        delete window;
        platform::ResetDragManager();
        ViewsTest::TearDown();
    }
    VWindow* window = nullptr;
};

struct Scrolls : VViewScroller {
    using VViewScroller::VViewScroller;
    void Scroll(int32_t dx, int32_t dy, RedrawMode mode) override
    {
        asked.push_back({dx, dy});
        VViewScroller::Scroll(dx, dy, mode);
    }
    std::vector<std::pair<int32_t, int32_t>> asked;
};

struct Droppable : Probe {
    using Probe::Probe;
    VDragDropProperties* GetDragDropProperties() override { return &props; }
    VDragDropProperties props;
};

// A frame that drags the old way, scrolling the view on the way.
struct DragSource : Probe {
    DragSource(VView* parent, VScrolledView* view) : Probe(parent, 0, 0, 10, 10), view_(view) {}
    bool DoLeftMouse(VClic& clic) override
    {
        VDragger dragger(this, clic);
        dragger.SetScrollView(view_, false, true);
        dragger.SetWatchKeys(watchCtrl, false, false);
        dragger.RunTheOldWay();
        return true;
    }
    VScrolledView* view_;
    bool watchCtrl = false;
};

std::string Text(const VString& s)
{
    std::string out;
    for (int32_t i = 1; i <= s.GetLength(); ++i) out += char(s.GetChar(i));
    return out;
}

}  // namespace

TEST_F(DragTest, AnOldWayDragPastTheLeftEdgeScrollsAStepThenAPageAndStopsAtZero)
{
    window = MakeWindow(100, 100, 400, 100);
    const VRect all(0, 0, 400, 100);
    auto* root = new VView(window, &all);
    auto* scroller = new Scrolls(root, false, false, false);
    scroller->SetPos(100, 0, kRedrawNone);
    auto* view = new VScrolledView(scroller);
    scroller->SetUserFrame(view, false);
    scroller->SetSize(200, 100, kRedrawNone);
    view->SetVirtualSize(2000, 100, true, kRedrawNone);
    view->SetVirtualPos(400, 0, false, kRedrawNone);
    auto* source = new DragSource(root, view);
    source->SetPos(150, 40, kRedrawNone);

    // The view's left edge is at 100 + 100 on the desktop.
    platform::Script s;
    s.Press(100 + 155, 100 + 45).Wait(3).Move(200 - 20, 150).Wait(3).Move(200 - 20, 160).Wait(3);
    s.Move(200 - 40, 150).Wait(3).Release();
    RunScript(s);
    ASSERT_EQ(scroller->asked.size(), 3u);
    EXPECT_EQ(scroller->asked[0].first, -20);
    EXPECT_EQ(scroller->asked[1].first, -20) << "a step a move";
    EXPECT_EQ(scroller->asked[2].first, -190) << "farther than 32 pixels: a page";
    EXPECT_EQ(view->GetVirtualX(), 400 - 230);

    view->SetVirtualPos(0, 0, false, kRedrawNone);
    scroller->asked.clear();
    RunScript(platform::Script().Press(100 + 155, 100 + 45).Move(200 - 20, 150).Move(200 - 40, 150).Release());
    EXPECT_TRUE(scroller->asked.empty()) << "nothing to the left of offset 0";

    // A watched key that stays as it was drags nothing while the mouse rests.
    source->watchCtrl = true;
    view->SetVirtualPos(400, 0, false, kRedrawNone);
    scroller->asked.clear();
    RunScript(platform::Script().Press(100 + 155, 100 + 45).Wait(3).Move(200 - 20, 150).Wait(10).Release());
    EXPECT_EQ(scroller->asked.size(), 1u);
}

TEST_F(DragTest, ATargetAcceptsOnlyWhatTheSourceSends)
{
    window = MakeWindow(100, 100, 300, 100);
    const VRect all(0, 0, 300, 100);
    auto* root = new VView(window, &all);
    auto* source = new Droppable(root, 0, 0, 100, 100);
    auto* target = new Droppable(root, 150, 0, 100, 100);
    VStr<255> sig;
    sig.FromCString(reinterpret_cast<const uint8_t*>("rows"));
    target->props.AddDropBit(1);
    target->props.AddSignature(false, true, sig);
    source->props.AddSignature(false, true, sig);
    VDragDropDragger dragger(source, VClic(5, 5), 1);
    EXPECT_FALSE(target->CanAcceptDrop(&dragger, VPoint(5, 5))) << "the source only receives it";
    EXPECT_EQ(window->GetDragDropFrame(&dragger, VPoint(160, 10)), nullptr);

    source->props.AddSignature(true, false, sig);
    EXPECT_TRUE(target->CanAcceptDrop(&dragger, VPoint(5, 5)));
    EXPECT_EQ(window->GetDragDropFrame(&dragger, VPoint(160, 10)), target);
    // Margins widen the accepting area.
    EXPECT_EQ(window->GetDragDropFrame(&dragger, VPoint(146, 10)), nullptr);
    target->props.SetMargins(5, 0, 0, 0);
    EXPECT_EQ(window->GetDragDropFrame(&dragger, VPoint(146, 10)), target);

    VDragDropDragger otherKind(source, VClic(5, 5), 2);
    EXPECT_FALSE(target->CanAcceptDrop(&otherKind, VPoint(5, 5))) << "no kind in common";

    target->SetVisible(false);
    EXPECT_EQ(window->GetDragDropFrame(&dragger, VPoint(160, 10)), nullptr);
}

TEST_F(DragTest, ASignatureAddedTwiceKeepsOneRecordWithBothFlagsEvenWhenLong)
{
    VDragDropProperties props;
    EXPECT_EQ(props.GetSize(), 96);
    VStr<255> longName;
    longName.FromCString(reinterpret_cast<const uint8_t*>("0123456789012345678901234567890123456789"));
    ASSERT_TRUE(props.AddSignature(true, false, longName));
    ASSERT_TRUE(props.AddSignature(false, true, longName));
    EXPECT_EQ(props.CountSignatures(), 1);
    EXPECT_EQ(props.GetSize(), 96);
    bool sends = false, receives = false;
    VStr<255> name;
    ASSERT_TRUE(props.GetSignature(1, sends, receives, name));
    EXPECT_TRUE(sends);
    EXPECT_TRUE(receives);
    EXPECT_EQ(Text(name), "01234567890123456789012345678901") << "cut to 32 characters";

    VStr<255> other;
    other.FromCString(reinterpret_cast<const uint8_t*>("text"));
    ASSERT_TRUE(props.AddSignature(false, true, other));
    EXPECT_EQ(props.GetSize(), 166);
    EXPECT_EQ(props.CountSignatures(), 2);

    // Records that only receive go; the others stop receiving.
    props.KillDropSignatures();
    EXPECT_EQ(props.CountSignatures(), 1);
    ASSERT_TRUE(props.GetSignature(1, sends, receives, name));
    EXPECT_TRUE(sends);
    EXPECT_FALSE(receives);

    // Read back from its bytes; damaged blocks are refused untouched.
    VDragDropProperties copy;
    EXPECT_TRUE(copy.FromBlock(props.GetBlock().data(), props.GetBlock().size()));
    EXPECT_EQ(copy.CountSignatures(), 1);
    std::vector<uint8_t> bad = props.GetBlock();
    bad[25] = 9;  // more records than room
    EXPECT_FALSE(copy.FromBlock(bad.data(), bad.size()));
    EXPECT_EQ(copy.CountSignatures(), 1);
    EXPECT_FALSE(copy.FromBlock(bad.data(), 20));
}

TEST_F(DragTest, ADesktopDragCarriesOneToolboxFlavourNamingALiveDragger)
{
    window = MakeWindow(100, 100, 200, 100);
    const VRect all(0, 0, 200, 100);
    auto* root = new VView(window, &all);
    auto* source = new Probe(root, 0, 0, 50, 50);
    std::vector<uint8_t> flavour;
    uint32_t id = 0;
    // Ids past 255: every byte of the id counts.
    for (int i = 0; i < 512; ++i) {
        VDragger earlier(source, VClic(5, 5));
        if (((earlier.GetDragId() + 1) >> 8 & 0xFF) != 0) break;
    }
    {
        VDragger dragger(source, VClic(5, 5));
        ASSERT_NE(dragger.GetDragId() >> 8 & 0xFF, 0u);
        dragger.SetDragWorld(3);
        // The mouse is over the window; the outline of the source follows it
        // from the click.
        platform::Point mouse{};
        platform::GetGlobalMouse(&mouse);
        platform::InputMouseMoved(platform::Point{120, 120});
        std::vector<int32_t> marks;
        auto note = [](platform::DragTrackingMessage message, platform::WindowRef, void* refCon, platform::DragRef) {
            if (message == platform::kDragTrackingInWindow)
                static_cast<std::vector<int32_t>*>(refCon)->push_back(
                    paintertest::CountNot(platform::GetOverlayPort(), 0x000000, 0, 0, 400, 400));
            return platform::noErr;
        };
        platform::InstallTrackingHandler(note, nullptr, &marks);
        dragger.Run();
        platform::InputMouseMoved(mouse);
        EXPECT_EQ(marks, std::vector<int32_t>{(50 * 4 - 4) / 2}) << "the grey frame of the source's rectangle";
        platform::DragRef drag = dragger.GetDragRef();
        uint16_t items = 0;
        ASSERT_EQ(platform::CountDragItems(drag, &items), platform::noErr);
        EXPECT_EQ(items, 1);
        platform::DragItemRef item = 0;
        ASSERT_EQ(platform::GetDragItemReferenceNumber(drag, 1, &item), platform::noErr);
        EXPECT_EQ(item, 1u);
        uint16_t flavours = 0;
        platform::CountDragItemFlavors(drag, item, &flavours);
        EXPECT_EQ(flavours, 1);
        platform::FlavorFlags flags = 0;
        ASSERT_EQ(platform::GetFlavorFlags(drag, item, kToolboxDragFlavor, &flags), platform::noErr);
        EXPECT_EQ(flags, 5u);
        platform::Size size = 0;
        platform::GetFlavorDataSize(drag, item, kToolboxDragFlavor, &size);
        ASSERT_EQ(size, 8);
        flavour.resize(8);
        platform::GetFlavorData(drag, item, kToolboxDragFlavor, flavour.data(), &size, 0);
        EXPECT_EQ(VDragger::FromToolboxFlavor(flavour.data(), flavour.size()), &dragger);
        std::vector<uint8_t> tail(flavour);
        tail[6] = 1;
        EXPECT_EQ(VDragger::FromToolboxFlavor(tail.data(), tail.size()), nullptr) << "its last four bytes are zeros";
        id = dragger.GetDragId();
    }
    EXPECT_NE(id, 0u);
    EXPECT_EQ(VDragger::FromToolboxFlavor(flavour.data(), flavour.size()), nullptr) << "no longer alive";
    const uint8_t unknown[8] = {0x7F, 0, 0, 1, 0, 0, 0, 0};
    EXPECT_EQ(VDragger::FromToolboxFlavor(unknown, 8), nullptr);
    EXPECT_EQ(VDragger::FromToolboxFlavor(unknown, 4), nullptr);
}

TEST_F(DragTest, TheDragScrapListsReadsAndAddsTheDragsFlavours)
{
    window = MakeWindow(100, 100, 200, 100);
    const VRect all(0, 0, 200, 100);
    auto* root = new VView(window, &all);
    auto* source = new Probe(root, 0, 0, 50, 50);
    VDragDropDragger dragger(source, VClic(5, 5), 1);
    VDragScrap* scrap = dragger.GetScrap();
    ASSERT_NE(scrap, nullptr);
    EXPECT_EQ(dragger.GetScrap(), scrap) << "made once";
    EXPECT_EQ(scrap->CountAvailableKinds(), 0);
    const char text[] = "two rows";
    ASSERT_TRUE(scrap->PutData(platform::FourCC("TEXT"), text, 8));
    ASSERT_TRUE(scrap->PutData(platform::FourCC("rows"), text, 3));
    EXPECT_EQ(scrap->CountAvailableKinds(), 2);
    platform::DragItemRef item = 0;
    platform::FlavorFlags flags = 9;
    ASSERT_EQ(platform::GetDragItemReferenceNumber(dragger.GetDragRef(), 1, &item), platform::noErr);
    ASSERT_EQ(platform::GetFlavorFlags(dragger.GetDragRef(), item, platform::FourCC("rows"), &flags), platform::noErr);
    EXPECT_EQ(flags, 0u) << "plain data, no flags";
    VArrayLong kinds;
    scrap->GetAvailableKinds(kinds);
    ASSERT_EQ(kinds.GetCount(), 2);
    EXPECT_EQ(uint32_t(kinds.GetLong(1)), uint32_t(platform::FourCC("TEXT")));
    EXPECT_TRUE(scrap->IsKindAvailable(platform::FourCC("rows")));
    EXPECT_FALSE(scrap->IsKindAvailable(platform::FourCC("PICT")));
    EXPECT_EQ(scrap->GetDataSize(platform::FourCC("TEXT")), 8);
    EXPECT_EQ(scrap->GetDataSize(platform::FourCC("PICT")), 0);
    char** data = scrap->GetData(platform::FourCC("TEXT"));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(std::string(*data, 8), "two rows");
    platform::DisposeHandle(data);
    EXPECT_EQ(scrap->GetData(platform::FourCC("PICT")), nullptr);

    VDragScrap none(nullptr);
    EXPECT_EQ(none.CountAvailableKinds(), 0);
    EXPECT_FALSE(none.PutData(platform::FourCC("TEXT"), text, 1));
}

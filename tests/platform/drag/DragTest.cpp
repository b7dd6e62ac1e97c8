// Drag and drop across windows, and grey-outline dragging.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/core/FourCC.h"
#include "platform/drag/Drag.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Regions.h"
#include "platform/screen/Screen.h"
#include "tests/platform/windows/WindowFixture.h"

namespace platform {
namespace {

std::vector<uint32_t> Pixels()
{
    const PixMap* pm = ComposeScreen();
    const auto* p = reinterpret_cast<const uint32_t*>(pm->baseAddr);
    const size_t words = size_t(pm->rowBytes & kRowBytesMask) / 4 * size_t(pm->bounds.bottom - pm->bounds.top);
    return std::vector<uint32_t>(p, p + words);
}

struct Log {
    std::vector<std::pair<WindowRef, DragTrackingMessage>> tracking;
    int received = 0;
    int sends = 0;
    std::string text, picture;
    bool hiliteShown = false;
};

OSErr Tracking(DragTrackingMessage message, WindowRef window, void* refCon, DragRef drag)
{
    auto* log = static_cast<Log*>(refCon);
    // Consecutive in-window messages count once.
    if (log->tracking.empty() || log->tracking.back() != std::make_pair(window, message))
        log->tracking.emplace_back(window, message);
    if (message == kDragTrackingEnterWindow) {
        SetPort(GetWindowPort(window));
        RgnHandle r = NewRgn();
        SetRectRgn(r, 0, 0, 50, 50);
        ShowDragHilite(drag, r, true);
        DisposeRgn(r);
        log->hiliteShown = true;
    } else if (message == kDragTrackingLeaveWindow) {
        HideDragHilite(drag);
    }
    return noErr;
}

std::string Read(DragRef drag, DragItemRef item, FlavorType type)
{
    Size size = 0;
    if (GetFlavorDataSize(drag, item, type, &size) != noErr) return "?";
    char buf[64] = {};
    size = 64;
    if (GetFlavorData(drag, item, type, buf, &size, 0) != noErr) return "!";
    return std::string(buf, size_t(size));
}

OSErr Receive(WindowRef, void* refCon, DragRef drag)
{
    auto* log = static_cast<Log*>(refCon);
    ++log->received;
    uint16_t items = 0, flavors = 0;
    CountDragItems(drag, &items);
    DragItemRef item = 0;
    GetDragItemReferenceNumber(drag, 1, &item);
    CountDragItemFlavors(drag, item, &flavors);
    if (items != 1 || flavors != 2) return dragNotAcceptedErr;
    log->text = Read(drag, item, FourCC("TEXT"));
    log->picture = Read(drag, item, FourCC("PICT"));
    Read(drag, item, FourCC("PICT"));  // a second read is not sent again
    return noErr;
}

OSErr Send(FlavorType type, void* refCon, DragItemRef item, DragRef drag)
{
    ++static_cast<Log*>(refCon)->sends;
    return SetDragItemFlavorData(drag, item, type, "pict", 4, 0);
}

class DragTest : public testing::WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ResetDragManager();
        SetScreenCursorVisible(false);
        Rect ra{100, 100, 300, 300}, rb{100, 400, 300, 600};
        a = NewCWindow(nullptr, &ra, testing::PStr("A").get(), true, documentProc, kFirstWindowOfClass, true, 0);
        b = NewCWindow(nullptr, &rb, testing::PStr("B").get(), true, documentProc, kFirstWindowOfClass, true, 0);
        Settle();
    }
    void TearDown() override
    {
        ResetDragManager();
        SetScreenCursorVisible(true);
        WindowTest::TearDown();
    }
    OSErr Drop(int16_t toH, int16_t toV, DragRef drag)
    {
        Play(Script().Drag(200, 200, toH, toV, 20));
        EventRecord e{};
        if (!testing::NextEvent(mDownMask, &e)) return -1;
        RgnHandle outline = NewRgn();
        SetRectRgn(outline, 150, 150, 250, 250);
        OSErr err = TrackDrag(drag, &e, outline);
        DisposeRgn(outline);
        return err;
    }
    WindowRef a = nullptr;
    WindowRef b = nullptr;
};

TEST_F(DragTest, HandlersFollowTheDragAndTheReceiverReadsEveryFlavour)
{
    Log log;
    ASSERT_EQ(InstallTrackingHandler(Tracking, a, &log), noErr);
    ASSERT_EQ(InstallTrackingHandler(Tracking, b, &log), noErr);
    EXPECT_EQ(InstallTrackingHandler(Tracking, b, &log), duplicateHandlerErr);
    ASSERT_EQ(InstallReceiveHandler(Receive, b, &log), noErr);
    DragRef drag = nullptr;
    ASSERT_EQ(NewDrag(&drag), noErr);
    ASSERT_EQ(AddDragItemFlavor(drag, 7, FourCC("TEXT"), "hello", 5, 0), noErr);
    ASSERT_EQ(AddDragItemFlavor(drag, 7, FourCC("PICT"), nullptr, 0, 0), noErr);
    EXPECT_EQ(AddDragItemFlavor(drag, 7, FourCC("TEXT"), "x", 1, 0), duplicateFlavorErr);
    FlavorFlags flags = 0;
    GetFlavorFlags(drag, 7, FourCC("PICT"), &flags);
    EXPECT_TRUE(flags & flavorDataPromised);
    SetDragSendProc(drag, Send, &log);
    SetDragAllowableActions(drag, kDragActionCopy | kDragActionGeneric | kDragActionMove, true);
    DragActions actions = 0;
    GetDragAllowableActions(drag, &actions);
    EXPECT_EQ(actions, 21u);

    const std::vector<uint32_t> before = Pixels();
    EXPECT_EQ(Drop(500, 200, drag), noErr);
    EXPECT_TRUE(Pixels() == before);  // outline and hilite are gone
    EXPECT_TRUE(log.hiliteShown);

    using M = std::vector<std::pair<WindowRef, DragTrackingMessage>>;
    const M expected{{a, kDragTrackingEnterHandler}, {a, kDragTrackingEnterWindow}, {a, kDragTrackingInWindow},
                     {a, kDragTrackingLeaveWindow},  {a, kDragTrackingLeaveHandler}, {b, kDragTrackingEnterHandler},
                     {b, kDragTrackingEnterWindow},  {b, kDragTrackingInWindow},     {b, kDragTrackingLeaveWindow},
                     {b, kDragTrackingLeaveHandler}};
    EXPECT_EQ(log.tracking, expected);
    EXPECT_EQ(log.received, 1);
    EXPECT_EQ(log.text, "hello");
    EXPECT_EQ(log.picture, "pict");
    EXPECT_EQ(log.sends, 1);
    DragAttributes attributes = 0;
    GetDragAttributes(drag, &attributes);
    EXPECT_TRUE(attributes & kDragHasLeftSenderWindow);
    Point mouse;
    GetDragMouse(drag, &mouse, nullptr);
    EXPECT_EQ(mouse.h, 500);
    EXPECT_EQ(DisposeDrag(drag), noErr);
    EXPECT_EQ(DisposeDrag(drag), badDragRefErr);
}

TEST_F(DragTest, DropOnTheDesktopIsCancelledWithoutReceiving)
{
    Log log;
    InstallReceiveHandler(Receive, nullptr, &log);
    DragRef drag = nullptr;
    ASSERT_EQ(NewDrag(&drag), noErr);
    AddDragItemFlavor(drag, 1, FourCC("TEXT"), "x", 1, 0);
    const std::vector<uint32_t> before = Pixels();
    EXPECT_EQ(Drop(700, 500, drag), userCanceledErr);
    EXPECT_EQ(log.received, 0);
    EXPECT_TRUE(Pixels() == before);
    // A promised flavour without a send procedure cannot be read.
    AddDragItemFlavor(drag, 1, FourCC("PICT"), nullptr, 0, 0);
    char buf[4];
    Size size = 4;
    EXPECT_EQ(GetFlavorData(drag, 1, FourCC("PICT"), buf, &size, 0), cantGetFlavorErr);
    DisposeDrag(drag);
}

int gActions = 0;
void CountAction() { ++gActions; }

TEST_F(DragTest, GrayRegionKeepsItsAxisAndAnswersOutsideTheSlop)
{
    SetPort(GetWindowPort(a));  // local coordinates: the window's
    RgnHandle r = NewRgn();
    SetRectRgn(r, 10, 10, 30, 30);
    const Rect limit{0, 0, 200, 200}, slop{-20, -20, 220, 220};
    const std::vector<uint32_t> before = Pixels();
    gActions = 0;
    Play(Script().Drag(120, 120, 150, 170, 10));
    EventRecord e{};
    ASSERT_TRUE(testing::NextEvent(mDownMask, &e));
    EXPECT_EQ(DragGrayRgn(r, Point{20, 20}, &limit, &slop, vAxisOnly, CountAction), 50 << 16);
    EXPECT_GT(gActions, 5);
    EXPECT_TRUE(Pixels() == before);

    // The mouse is pinned to the limit; the answer stays inside it.
    Play(Script().Drag(120, 120, 120, 400, 10));
    ASSERT_TRUE(testing::NextEvent(mDownMask, &e));
    EXPECT_EQ(DragGrayRgn(r, Point{20, 20}, &limit, nullptr, noConstraint, nullptr), 179 << 16);

    Play(Script().Drag(120, 120, 500, 120, 10));
    ASSERT_TRUE(testing::NextEvent(mDownMask, &e));
    EXPECT_EQ(DragGrayRgn(r, Point{20, 20}, &limit, &slop, hAxisOnly, nullptr), int32_t(0x80008000));
    EXPECT_TRUE(Pixels() == before);
    DisposeRgn(r);
}

}  // namespace
}  // namespace platform

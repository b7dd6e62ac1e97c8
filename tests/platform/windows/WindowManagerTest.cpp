#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/core/Errors.h"
#include "platform/drawing/Regions.h"
#include "platform/screen/Screen.h"
#include "tests/platform/windows/WindowFixture.h"

using namespace platform;
using namespace platform::testing;

namespace {

Point Pt(int16_t h, int16_t v) { return Point{v, h}; }

Point Center(const Rect& r) { return Pt(int16_t((r.left + r.right) / 2), int16_t((r.top + r.bottom) / 2)); }

Rect BoundsOf(WindowRef w, WindowRegionCode code)
{
    Rect r{};
    EXPECT_EQ(GetWindowBounds(w, code, &r), noErr);
    return r;
}

// The application's handling of a mouse-down in a window's frame.
void HandleMouseDown(const EventRecord& e)
{
    WindowRef w = nullptr;
    switch (FindWindow(e.where, &w)) {
    case inDrag: {
        Rect limits = ScreenBounds();
        DragWindow(w, e.where, &limits);
        break;
    }
    case inGrow: {
        Rect limits{50, 50, 2000, 2000};
        uint32_t size = GrowWindow(w, e.where, &limits);
        if (size) SizeWindow(w, int16_t(size & 0xFFFF), int16_t(size >> 16), true);
        break;
    }
    case inContent:
        if (w != FrontWindow()) SelectWindow(w);
        break;
    default:
        break;
    }
}

}  // namespace

TEST_F(WindowTest, FindWindowAnswersEachPart)
{
    WindowRef w = Document(100, 100, 400, 300);
    ASSERT_NE(w, nullptr);
    WindowRef found = nullptr;
    EXPECT_EQ(FindWindow(Pt(5, 5), &found), inMenuBar);
    EXPECT_EQ(found, nullptr);
    EXPECT_EQ(FindWindow(Pt(700, 500), &found), inDesk);
    EXPECT_EQ(FindWindow(Center(BoundsOf(w, kWindowDragRgn)), &found), inDrag);
    EXPECT_EQ(found, w);
    EXPECT_EQ(FindWindow(Center(BoundsOf(w, kWindowCloseBoxRgn)), &found), inGoAway);
    EXPECT_EQ(FindWindow(Center(BoundsOf(w, kWindowZoomBoxRgn)), &found), inZoomOut);
    EXPECT_EQ(FindWindow(Pt(398, 298), &found), inGrow);
    EXPECT_EQ(FindWindow(Pt(200, 200), &found), inContent);
    Rect title = BoundsOf(w, kWindowTitleBarRgn);
    EXPECT_EQ(title.bottom, 100);
    EXPECT_LT(title.top, 100);

    // An inactive window's boxes are only frame.
    WindowRef front = Document(500, 100, 700, 300);
    EXPECT_EQ(FindWindow(Center(BoundsOf(w, kWindowCloseBoxRgn)), &found), inDrag);
    EXPECT_EQ(FindWindow(Pt(398, 298), &found), inContent);
    (void)front;
}

TEST_F(WindowTest, DraggingByTheTitleBarMovesTheWindowAndUpdatesWhatItUncovers)
{
    WindowRef back = Document(100, 100, 500, 400, "Back");
    WindowRef front = Document(200, 150, 450, 350, "Front");
    const Point grip = Center(BoundsOf(front, kWindowDragRgn));
    Play(Script().Click(grip.h, grip.v).Drag(grip.h, grip.v, 400, 300, 30));
    Settle();
    EventRecord e{};
    ASSERT_TRUE(NextEvent(mDownMask, &e));  // the click
    HandleMouseDown(e);
    Settle();
    ASSERT_TRUE(NextEvent(mDownMask, &e));
    HandleMouseDown(e);

    Rect content = BoundsOf(front, kWindowContentRgn);
    EXPECT_EQ(content.left, 200 + (400 - grip.h));
    EXPECT_EQ(content.top, 150 + (300 - grip.v));
    WindowRef found = nullptr;
    EXPECT_EQ(FindWindow(Pt(400, 300), &found), inDrag);
    EXPECT_EQ(found, front);

    std::vector<EventRecord> events = Drain();
    EXPECT_EQ(CountEvents(events, updateEvt, back), 1);
    EXPECT_EQ(CountEvents(events, updateEvt, front), 0);
    // The window below is asked to draw what was uncovered, once.
    RgnHandle update = NewRgn();
    GetWindowRegion(back, kWindowUpdateRgn, update);
    EXPECT_TRUE(PtInRgn(Pt(210, 200), update));
    EXPECT_FALSE(PtInRgn(Pt(110, 110), update));
    DisposeRgn(update);
    EXPECT_TRUE(Drain().empty());
}

TEST_F(WindowTest, UpdatesComeOncePerInvalidatedAreaAndBeginUpdateServesThem)
{
    WindowRef w = Document(100, 100, 300, 300);
    Play(Script().Wait(100));
    std::vector<EventRecord> events = Drain();
    EXPECT_EQ(CountEvents(events, updateEvt, w), 1);  // shown: the whole content
    EXPECT_EQ(CountEvents(events, activateEvt, w), 1);
    // Nobody served it: it is not sent again.
    EXPECT_TRUE(Drain().empty());
    Rect r{10, 10, 20, 20};
    InvalWindowRect(w, &r);
    events = Drain();
    ASSERT_EQ(CountEvents(events, updateEvt, w), 1);
    SetPortWindowPort(w);
    BeginUpdate(w);
    RgnHandle vis = NewRgn();
    GetPortVisibleRegion(GetWindowPort(w), vis);
    EXPECT_TRUE(PtInRgn(Pt(15, 15), vis));
    EndUpdate(w);
    GetPortVisibleRegion(GetWindowPort(w), vis);
    EXPECT_TRUE(PtInRgn(Pt(150, 150), vis));  // the limit is lifted
    DisposeRgn(vis);
    InvalWindowRect(w, &r);
    ValidWindowRect(w, &r);
    EXPECT_TRUE(Drain().empty());
}

TEST_F(WindowTest, SelectingActivatesAndFloatingAndHelpWindowsKeepTheirLevels)
{
    WindowRef a = Document(100, 100, 300, 300, "A");
    WindowRef b = Document(150, 150, 350, 350, "B");
    Rect fr{60, 600, 200, 800};
    WindowRef floater = NewCWindow(nullptr, &fr, PStr("Tools").get(), true, floatProc, kFirstWindowOfClass, true, 0);
    WindowRef help = nullptr;
    ASSERT_EQ(CreateNewWindow(kHelpWindowClass, 0, &fr, &help), noErr);
    ShowWindow(help);
    Play(Script().Wait(10));
    Drain();
    EXPECT_EQ(FrontWindow(), b);
    EXPECT_EQ(GetWindowList(), help);
    EXPECT_EQ(GetNextWindow(help), floater);

    SelectWindow(a);
    std::vector<EventRecord> events = Drain();
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0].what, activateEvt);
    EXPECT_EQ(events[0].message, reinterpret_cast<uintptr_t>(b));
    EXPECT_EQ(events[0].modifiers & activeFlag, 0);
    EXPECT_EQ(events[1].what, activateEvt);
    EXPECT_EQ(events[1].message, reinterpret_cast<uintptr_t>(a));
    EXPECT_EQ(events[1].modifiers & activeFlag, activeFlag);
    EXPECT_TRUE(IsWindowHilited(a));
    EXPECT_FALSE(IsWindowHilited(b));
    EXPECT_TRUE(IsWindowHilited(floater));
    EXPECT_FALSE(IsWindowHilited(help));
    EXPECT_EQ(GetNextWindow(floater), a);  // documents stay below floating windows
    BringToFront(b);
    EXPECT_EQ(GetNextWindow(floater), b);
    SendBehind(b, a);
    EXPECT_EQ(FrontWindow(), a);

    // Hidden: never found, never front.
    HideWindow(a);
    EXPECT_EQ(FrontWindow(), b);
    WindowRef found = nullptr;
    FindWindow(Pt(110, 110), &found);
    EXPECT_NE(found, a);
    HideWindow(b);
    EXPECT_EQ(FrontWindow(), nullptr);
    EXPECT_EQ(FindWindow(Pt(200, 200), &found), inDesk);
    DisposeWindow(floater);
    EXPECT_FALSE(IsValidWindowPtr(floater));
    EXPECT_EQ(GetWRefCon(floater), 0u);  // a stale window is refused, not read
}

TEST_F(WindowTest, GrowZoomAndCloseBoxTracking)
{
    WindowRef w = Document(100, 100, 300, 300);
    const Point zoom = Center(BoundsOf(w, kWindowZoomBoxRgn));
    const Point close = Center(BoundsOf(w, kWindowCloseBoxRgn));
    Play(Script().Drag(298, 298, 398, 348, 10).Click(int16_t(zoom.h + 100), zoom.v).Drag(close.h, close.v, 600, 600, 5)
             .Click(close.h, close.v));
    Settle();
    EventRecord e{};
    ASSERT_TRUE(NextEvent(mDownMask, &e));
    HandleMouseDown(e);
    Rect c = BoundsOf(w, kWindowContentRgn);
    EXPECT_EQ(c.right - c.left, 300);
    EXPECT_EQ(c.bottom - c.top, 250);
    RgnHandle update = NewRgn();
    GetWindowRegion(w, kWindowUpdateRgn, update);
    EXPECT_TRUE(PtInRgn(Pt(100 + 250, 100 + 5), update));  // gained on the right
    EXPECT_FALSE(PtInRgn(Pt(100 + 10, 100 + 10), update));
    DisposeRgn(update);

    ASSERT_TRUE(NextEvent(mDownMask, &e));
    WindowRef found = nullptr;
    ASSERT_EQ(FindWindow(e.where, &found), inZoomOut);
    ASSERT_TRUE(TrackBox(w, e.where, inZoomOut));
    ZoomWindow(w, inZoomOut, false);
    Rect std{};
    GetWindowStandardState(w, &std);
    EXPECT_EQ(BoundsOf(w, kWindowContentRgn).right, std.right);
    Point zoomNow = Center(BoundsOf(w, kWindowZoomBoxRgn));
    EXPECT_EQ(FindWindow(zoomNow, &found), inZoomIn);
    ZoomWindow(w, inZoomIn, false);
    EXPECT_EQ(BoundsOf(w, kWindowContentRgn).right, c.right);

    ASSERT_TRUE(NextEvent(mDownMask, &e));
    EXPECT_FALSE(TrackGoAway(w, e.where));  // released outside
    ASSERT_TRUE(NextEvent(mDownMask, &e));
    EXPECT_TRUE(TrackGoAway(w, e.where));
}

// However the button goes down and up over a box, its pressed outline is
// gone once the tracking ends: the title bar and the desktop beside it are
// as they were.
TEST_F(WindowTest, TrackedBoxesLeaveTheScreenAsTheyFoundIt)
{
    WindowRef w = Document(100, 100, 300, 300);
    Settle();
    SetScreenCursorVisible(false);
    auto pixels = [](const Rect& r) {
        const PixMap* screen = ComposeScreen();
        const int32_t row = screen->rowBytes & kRowBytesMask;
        std::vector<uint32_t> out;
        for (int16_t v = r.top; v < r.bottom; ++v)
            for (int16_t h = r.left; h < r.right; ++h) {
                uint32_t px = 0;
                std::memcpy(&px, screen->baseAddr + v * row + h * 4, 4);
                out.push_back(px & 0xFFFFFF);
            }
        return out;
    };
    struct Case {
        const char* what;
        bool zoom;
        bool away;  // the pointer leaves the box while the button is down
        bool back;  // and comes back into it
        bool chosen;
    } cases[] = {
        {"close box clicked", false, false, false, true},
        {"close box left", false, true, false, false},
        {"close box left and entered again", false, true, true, true},
        {"zoom box clicked", true, false, false, true},
        {"zoom box left", true, true, false, false},
        {"zoom box left and entered again", true, true, true, true},
    };
    const Rect around{80, 90, 110, 310};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<uint32_t> before = pixels(around);
        const Point at = Center(BoundsOf(w, c.zoom ? kWindowZoomBoxRgn : kWindowCloseBoxRgn));
        Script s;
        s.Press(at.h, at.v).Wait(2);
        if (c.away) s.Move(int16_t(at.h + 40), at.v).Wait(2);
        if (c.back) s.Move(at.h, at.v).Wait(2);
        s.Release();
        Play(std::move(s));
        EventRecord e{};
        ASSERT_TRUE(NextEvent(mDownMask, &e));
        EXPECT_EQ(c.zoom ? TrackBox(w, e.where, inZoomOut) : TrackGoAway(w, e.where), c.chosen);
        EXPECT_TRUE(pixels(around) == before) << "an outline stays";
    }
}

TEST_F(WindowTest, CreationKindsTitlesAndReferencesAndBadInput)
{
    Rect r{100, 100, 200, 300};
    WindowRef w = nullptr;
    EXPECT_EQ(CreateNewWindow(kDocumentWindowClass, kWindowStandardDocumentAttributes, &r, &w), noErr);
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_EQ(CreateNewWindow(99, 0, &r, &w), paramErr);
    EXPECT_EQ(w, nullptr);
    EXPECT_EQ(CreateNewWindow(kDocumentWindowClass, 1u << 30, &r, &w), errUnsupportedWindowAttributesForClass);
    EXPECT_EQ(CreateNewWindow(kDocumentWindowClass, 0, nullptr, &w), paramErr);
    EXPECT_EQ(NewCWindow(nullptr, nullptr, nullptr, true, 0, nullptr, false, 0), nullptr);

    int anchor = 0;
    WindowRef d = NewCWindow(nullptr, &r, PStr("Title").get(), false, dBoxProc, nullptr, false,
                             reinterpret_cast<uintptr_t>(&anchor));
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(GetWRefCon(d), reinterpret_cast<uintptr_t>(&anchor));
    EXPECT_EQ(GetWindowKind(d), dialogKind);
    SetWindowKind(d, userKind);
    EXPECT_EQ(GetWindowKind(d), userKind);
    WindowClass c = 0;
    GetWindowClass(d, &c);
    EXPECT_EQ(c, kModalWindowClass);
    Str255 title;
    GetWTitle(d, title);
    EXPECT_EQ(title[0], 5);
    EXPECT_EQ(title[1], 'T');
    EXPECT_EQ(GetWindowFromPort(GetWindowPort(d)), d);
    WindowRef found = nullptr;
    ShowWindow(d);
    EXPECT_EQ(FindWindow(Pt(99, 99), &found), inContent);  // a dialog's frame is not a drag region

    // Local coordinates of the window's port follow the content.
    SetPortWindowPort(d);
    Point p{0, 0};
    LocalToGlobal(&p);
    EXPECT_EQ(p.h, 100);
    EXPECT_EQ(p.v, 100);
    MoveWindow(d, 150, 160, true);
    p = Point{0, 0};
    LocalToGlobal(&p);
    EXPECT_EQ(p.h, 150);
    EXPECT_EQ(p.v, 160);

    DisposeWindow(d);
    DisposeWindow(d);  // twice: ignored
    ShowWindow(nullptr);
    SelectWindow(nullptr);
    InvalWindowRect(nullptr, &r);
    EXPECT_EQ(GetWindowBounds(nullptr, kWindowContentRgn, &r), errInvalidWindowRef);
    EXPECT_EQ(GetWindowBounds(w, 999, &r), errInvalidWindowRef);
}

TEST_F(WindowTest, SizingWithoutUpdateLeavesTheNewStripsToTheCaller)
{
    WindowRef back = Document(50, 50, 500, 500, "Back");
    WindowRef w = Document(100, 100, 300, 300);
    Play(Script().Wait(100));
    Settle();
    SizeWindow(w, 300, 250, false);
    RgnHandle update = NewRgn();
    GetWindowRegion(w, kWindowUpdateRgn, update);
    EXPECT_TRUE(EmptyRgn(update));
    std::vector<EventRecord> events = Drain();
    EXPECT_EQ(CountEvents(events, updateEvt, w), 0);

    // Shrinking uncovers the window behind, which is told either way.
    SizeWindow(w, 100, 100, false);
    GetWindowRegion(back, kWindowUpdateRgn, update);
    EXPECT_TRUE(PtInRgn(Pt(350, 150), update));
    GetWindowRegion(w, kWindowUpdateRgn, update);
    EXPECT_TRUE(EmptyRgn(update));
    events = Drain();
    EXPECT_EQ(CountEvents(events, updateEvt, back), 1);
    EXPECT_EQ(CountEvents(events, updateEvt, w), 0);

    // With update, the gained strips are the window's to redraw.
    SizeWindow(w, 150, 100, true);
    GetWindowRegion(w, kWindowUpdateRgn, update);
    EXPECT_TRUE(PtInRgn(Pt(100 + 120, 100 + 50), update));
    EXPECT_FALSE(PtInRgn(Pt(100 + 50, 100 + 50), update));
    DisposeRgn(update);
}

TEST_F(WindowTest, GrowWindowKeepsTheMinimumWhenTheLimitsCross)
{
    WindowRef w = Document(100, 100, 300, 300);
    Play(Script().Drag(298, 298, 398, 398, 10));
    Settle();
    EventRecord e{};
    ASSERT_TRUE(NextEvent(mDownMask, &e));
    Rect crossed{300, 300, 100, 100};  // minimum 300 x 300, maximum 100 x 100
    uint32_t size = GrowWindow(w, e.where, &crossed);
    EXPECT_EQ(size & 0xFFFF, 300u);
    EXPECT_EQ(size >> 16, 300u);
}

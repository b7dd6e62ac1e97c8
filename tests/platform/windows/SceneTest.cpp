#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/core/Errors.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/windows/WindowFrames.h"
#include "tests/platform/files/TempFolder.h"
#include "tests/platform/windows/WindowFixture.h"

using namespace platform;
using namespace platform::testing;

namespace {

// A tiny application: two windows, typed characters drawn as blocks in the
// front window, frames dragged and grown, a screenshot at the end.
struct Scene {
    WindowRef left = nullptr;
    WindowRef right = nullptr;
    std::string typed;
    int updates = 0;

    void Draw(WindowRef w)
    {
        SetPortWindowPort(w);
        Rect all = GetWindowPort(w)->portRect;
        EraseRect(&all);
        if (w != right) return;
        for (size_t i = 0; i < typed.size(); ++i) {
            Rect block{10, int16_t(10 + 8 * i), 20, int16_t(16 + 8 * i)};
            PaintRect(&block);
        }
        DrawGrowIcon(w);
    }

    void Run()
    {
        EventRecord e{};
        for (int guard = 0; guard < 100000; ++guard) {
            if (!WaitNextEvent(everyEvent, &e, 1, nullptr)) continue;
            if (e.what == kHighLevelEvent && HighLevelEventID(e) == kAEQuitApplication) return;
            if (e.what == keyDown) {
                typed += char(e.message & charCodeMask);
                if (WindowRef w = FrontWindow()) InvalWindowRect(w, &GetWindowPort(w)->portRect);
            } else if (e.what == updateEvt) {
                WindowRef w = reinterpret_cast<WindowRef>(e.message);
                ++updates;
                BeginUpdate(w);
                Draw(w);
                EndUpdate(w);
            } else if (e.what == mouseDown) {
                WindowRef w = nullptr;
                switch (FindWindow(e.where, &w)) {
                case inDrag: {
                    Rect limits = ScreenBounds();
                    DragWindow(w, e.where, &limits);
                    break;
                }
                case inGrow: {
                    Rect limits{50, 50, 700, 1000};
                    if (uint32_t size = GrowWindow(w, e.where, &limits))
                        SizeWindow(w, int16_t(size & 0xFFFF), int16_t(size >> 16), true);
                    break;
                }
                case inContent:
                    SelectWindow(w);
                    break;
                default:
                    break;
                }
            }
        }
    }
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class SceneTest : public WindowTest {
protected:
    std::string PlayScene(const std::string& shot, Scene* out)
    {
        ResetWindowManager();
        Scene scene;
        Rect a{60, 40, 300, 340}, b{100, 400, 340, 700};
        scene.left = NewCWindow(nullptr, &a, PStr("Left").get(), true, zoomDocProc, kFirstWindowOfClass, true, 0);
        scene.right = NewCWindow(nullptr, &b, PStr("Right").get(), true, zoomDocProc, kFirstWindowOfClass, true, 0);
        // Type into the right window, drag the left one by its title bar,
        // bring the right one front again and grow it.
        Play(Script()
                 .WaitIdle()
                 .Type("Qz!")
                 .WaitIdle()
                 .Drag(150, 50, 250, 450, 20)
                 .Click(600, 200)
                 .Drag(698, 338, 748, 398, 10)
                 .WaitIdle()
                 .Screenshot(shot)
                 .End());
        scene.Run();
        EXPECT_EQ(run->backend->ScreenshotFailures(), 0);
        *out = scene;
        return ReadFile(shot);
    }
};

}  // namespace

TEST_F(SceneTest, TwoWindowsTypingDragAndGrowGiveTheSamePixelsEveryRun)
{
    const TempFolder dir;
    Scene first, second;
    std::string one = PlayScene(dir / "scene1.png", &first);
    ASSERT_FALSE(one.empty());
    // Typed text reached the front window.
    EXPECT_EQ(first.typed, "Qz!");
    EXPECT_GT(first.updates, 2);

    Rect left{}, right{};
    GetWindowBounds(first.left, kWindowContentRgn, &left);
    GetWindowBounds(first.right, kWindowContentRgn, &right);
    EXPECT_EQ(left.left, 140);  // dragged 100 right
    EXPECT_EQ(left.top, 460);   // and 400 down
    EXPECT_EQ(right.right - right.left, 350);  // grown by 50
    EXPECT_EQ(right.bottom - right.top, 300);  // and 60
    EXPECT_EQ(FrontWindow(), first.right);

    // What the screen shows: the typed blocks, the desktop, an active and an
    // inactive title bar, the menu bar.
    EXPECT_EQ(ScreenPixel(int16_t(right.left + 12), int16_t(right.top + 15)), 0x000000u);
    EXPECT_EQ(ScreenPixel(int16_t(right.left + 40), int16_t(right.top + 15)), 0xFFFFFFu);
    EXPECT_EQ(ScreenPixel(int16_t(right.left + 12 + 16), int16_t(right.top + 15)), 0x000000u);
    EXPECT_EQ(ScreenPixel(1000, 600), 0x5F6F87u);
    EXPECT_EQ(ScreenPixel(int16_t(right.left + 30), int16_t(right.top - 11)), kTitleStripeColor);
    EXPECT_EQ(ScreenPixel(int16_t(left.left + 30), int16_t(left.top - 10)), kInactiveTitleColor);
    EXPECT_EQ(ScreenPixel(500, 5), 0xFFFFFFu);
    EXPECT_EQ(ScreenPixel(500, 19), 0x000000u);

    std::string two = PlayScene(dir / "scene2.png", &second);
    EXPECT_EQ(one, two);
}

TEST_F(WindowTest, OverlayXorsOverTheScreenAndDrawingTwiceTakesItAway)
{
    const uint32_t before = ScreenPixel(700, 400);
    SetPort(GetOverlayPort());
    PenMode(patXor);
    Rect r{390, 690, 410, 710};
    PaintRect(&r);
    EXPECT_EQ(ScreenPixel(700, 400), before ^ 0xFFFFFFu);
    PaintRect(&r);
    EXPECT_EQ(ScreenPixel(700, 400), before);
    EXPECT_EQ(InitScreen(10, 10), paramErr);
    EXPECT_EQ(InitScreen(640, 480), noErr);
    EXPECT_EQ(ScreenBounds().right, 640);
    EXPECT_EQ(MenuBarRect().bottom, 20);
}

// The scroll bar's thumb at its edges: the mouse may stray 32 pixels and
// half a bar across the track and no further, and a track one pixel long
// still spans the whole range.
#include "tests/toolbox/views/ViewsTestSupport.h"

#include "toolbox/views/VScrollBar.h"
#include "toolbox/views/VScrolledView.h"
#include "toolbox/views/VViewScroller.h"

using namespace viewstest;

namespace {

class ScrollEdges : public ViewsTest {
protected:
    void TearDown() override
    {
        delete window;
        ViewsTest::TearDown();
    }
    // A window at (100, 100) holding a scroller with a vertical bar only.
    VScrollBar* Make(int32_t height, int32_t virtualHeight)
    {
        window = new VWindow(nullptr, 5, false, false, false);
        window->SetPos(100, 100, kRedrawNone);
        window->SetSize(200, height, kRedrawNone);
        window->SetVisible(true);
        auto* scroller = new VViewScroller(window, true, false, false);
        view = new VScrolledView(scroller);
        scroller->SetUserFrame(view, false);
        scroller->SetSize(200, height, kRedrawNone);
        view->SetVirtualSize(200, virtualHeight, true, kRedrawNone);
        return scroller->GetVScrollBar();
    }
    // Presses on the thumb and drags it `down` pixels with the mouse `h`
    // (global) pixels from the window's left.
    void Drag(VScrollBar* bar, int16_t h, int32_t down)
    {
        int32_t start = 0, length = 0;
        bar->GetThumbCoords(start, length);
        platform::Script script;
        script.Press(100 + 190, int16_t(100 + start + 5)).Wait(3).Move(int16_t(h), int16_t(100 + start + 5 + down));
        script.Wait(3).Release();
        RunScript(script);
    }
    VWindow* window = nullptr;
    VScrolledView* view = nullptr;
};

TEST_F(ScrollEdges, TheThumbFollowsAMouseUpTo32PixelsAndHalfABarAside)
{
    // The bar is 16 wide at x 184: its middle at 192, 100 + 192 global.
    struct Case {
        int16_t h;
        int32_t value;
    };
    for (const Case& k : {Case{100 + 192 - 40, 166}, Case{100 + 192 - 41, 0}, Case{100 + 192 + 40, 166},
                          Case{100 + 192 + 41, 0}}) {
        VScrollBar* bar = Make(100, 1000);
        Drag(bar, k.h, 10);
        EXPECT_EQ(bar->GetValue(), k.value) << k.h;
        delete window;
        window = nullptr;
    }
}

TEST_F(ScrollEdges, ATrackOfOnePixelSpansTheWholeRange)
{
    VScrollBar* bar = Make(47, 1047);
    ASSERT_EQ(bar->GetTrackLength(), 1);
    Drag(bar, 100 + 192, 1);
    EXPECT_EQ(bar->GetValue(), 1000);
}

}  // namespace

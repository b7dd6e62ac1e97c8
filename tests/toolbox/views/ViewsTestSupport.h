// Views under test: a screen, a look answering the platform's numbers
// (16 for behaviours 2, 3, 5 and 8; 0 for 0, 4 and 6), the cursor, the
// compiled key names and undo words, recording frames, and a small
// dispatcher that feeds platform events to toolbox windows.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/drawing/Regions.h"
#include "platform/events/Events.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/Resources.h"
#include "platform/screen/Screen.h"
#include "tests/platform/events/HeadlessFixture.h"
#include "tests/platform/files/TempFolder.h"
#include "tests/toolbox/drawing/PainterTestSupport.h"
#include "tools/rescompile/ResourceCompiler.h"
#include "toolbox/foundation/VRect.h"
#include "toolbox/foundation/VRegion.h"
#include "toolbox/views/VCursor.h"
#include "toolbox/views/VFocusMgr.h"
#include "toolbox/views/VKeySwitch.h"
#include "toolbox/views/VView.h"
#include "toolbox/views/VWindow.h"

namespace viewstest {

using paintertest::PixelAt;

// Answers the platform look's numbers; paints every part as a box filled
// with the part's method number as a colour, so tests can see the parts.
class PlatformNumbersLook : public paintertest::TestLook {
public:
    int32_t GetStdBehaviour(StdBehaviour b) override { return b == 2 || b == 3 || b == 5 || b == 8 ? 16 : 0; }
    bool Paint(VPainter* painter, PaintMethod method, PaintStatus status, int32_t x, int32_t y, int32_t w, int32_t h,
               const VString*, void*) override
    {
        painter->SetFillColor(uint32_t(method) * 0x050301u + (status == kStatusPushed ? 0x800000u : 0u));
        painter->FillVRect(x, y, w, h);
        return true;
    }
};

// A frame that records what reaches it and paints one colour.
class Probe : public VFrame {
public:
    Probe(VView* parent, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour = 0x0000FF)
        : VFrame(parent, nullptr), colour_(colour)
    {
        SetPos(x, y, kRedrawNone);
        SetSize(w, h, kRedrawNone);
    }
    bool DoLeftMouse(VClic& c) override
    {
        int32_t x = 0, y = 0;
        c.GetPos(x, y);
        clicks.push_back({x, y});
        return takes;
    }
    bool DoRightMouse(VClic&) override
    {
        ++rightClicks;
        return true;
    }
    void DoMouseWheel(VClic& c) override
    {
        ++wheels;
        if (passWheel) VFrame::DoMouseWheel(c);
    }
    void DoPaint(VPainter* p) override
    {
        ++paints;
        p->SetFillColor(colour_);
        p->FillVRect(0, 0, fWidth, fHeight);
    }
    void DoIdle(bool) override { ++idles; }
    int32_t DoKey(VKeySwitch& k) override
    {
        keys.push_back(k.GetChar());
        return takesKeys ? 0 : 1;
    }
    bool CanLoseFocus() override { return canLose; }
    void DoFocusNotify(VFrame* o, VFrame* n) override
    {
        notices.push_back({o, n});
        if (stopNoticesOnce) {
            stopNoticesOnce = false;
            SetFocusNotify(false);
        }
    }
    void DoCursorIn(VPoint& p) override
    {
        log->push_back("In(" + name + ")");
        VFrame::DoCursorIn(p);
    }
    void DoCursorMove(VPoint&) override { log->push_back("Move(" + name + ")"); }
    void DoCursorOut() override { log->push_back("Out(" + name + ")"); }

    struct Pt {
        int32_t x, y;
    };
    std::vector<Pt> clicks;
    std::vector<char16_t> keys;
    std::vector<std::pair<VFrame*, VFrame*>> notices;
    int32_t rightClicks = 0, wheels = 0, paints = 0, idles = 0;
    bool takes = true, takesKeys = false, canLose = true, passWheel = false, stopNoticesOnce = false;
    std::string name;
    std::vector<std::string> ownLog;
    std::vector<std::string>* log = &ownLog;

private:
    uint32_t colour_;
};

// A view that records the commands that climb to it and its own wheel.
class RecordingView : public VView {
public:
    RecordingView(VView* parent, const VRect* r) : VView(parent, r) {}
    intptr_t DoCommand(VObject* sender, int32_t command, intptr_t param) override
    {
        commands.push_back({command, param});
        return VView::DoCommand(sender, command, param);
    }
    void DoMouseWheel(VClic& c) override
    {
        ++ownWheels;
        VView::DoMouseWheel(c);
    }
    std::vector<std::pair<int32_t, intptr_t>> commands;
    int32_t ownWheels = 0;
};

class ViewsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::ResetDrawingState();
        platform::ResetWindowManager();
        platform::ResetResourceManager();
        ResetLookHandlers();
        ASSERT_EQ(platform::InitScreen(), platform::noErr);
        for (int16_t i = 1; i < kLookSlotCount; ++i) gLookHandlers[i] = new PlatformNumbersLook;
        InstallFrameHooks();
        delete gCursor;
        gCursor = new VCursor;
        OpenAppStrings();
        gCurFocus = nullptr;
    }
    void TearDown() override
    {
        delete gCursor;
        gCursor = nullptr;
        gCurFocus = nullptr;
        ResetLookHandlers();
        platform::ResetResourceManager();
        platform::ResetWindowManager();
        platform::DisposeScreen();
        platform::ResetDrawingState();
    }

    // The application's strings (key names, undo words) in the resource chain.
    void OpenAppStrings()
    {
        const char* root = std::getenv("QZ_TEST_SOURCE_DIR");
        std::ifstream in(std::string(root ? root : ".") + "/resources/app/startup.r");
        std::stringstream text;
        text << in.rdbuf();
        platform::ResourceFileImage image;
        std::string error;
        ASSERT_TRUE(rescompile::CompileSource(text.str(), "startup.r", &image, &error)) << error;
        std::vector<uint8_t> bytes;
        ASSERT_EQ(platform::BuildResourceFile(image, &bytes), platform::noErr);
        const std::string path = dir / "startup.rsrc";
        ASSERT_EQ(platform::WriteFileAtomically(path, bytes.data(), bytes.size()), platform::noErr);
        ASSERT_NE(platform::OpenResFile(path, platform::fsRdPerm, platform::ResFileFork::Data), -1);
    }

    // A shown document window at (x, y) of that content size.
    static VWindow* MakeWindow(int32_t x, int32_t y, int32_t w, int32_t h, WindowStyle style = 5)
    {
        auto* window = new VWindow(nullptr, style, true, true, true);
        window->SetPos(x, y, kRedrawNone);
        window->SetSize(w, h, kRedrawNone);
        window->SetVisible(true);
        return window;
    }

    static platform::EventRecord KeyEvent(uint8_t charCode, uint8_t scan, uint16_t modifiers = 0)
    {
        platform::EventRecord e{};
        e.what = platform::keyDown;
        e.message = uint32_t(charCode) | (uint32_t(scan) << 8);
        e.modifiers = modifiers;
        return e;
    }

    // The window's pending update area, in its content's coordinates.
    static VRect UpdateArea(VWindow* window)
    {
        platform::RgnHandle rgn = platform::NewRgn();
        platform::GetWindowRegion(window->GetParentMacHwnd(), platform::kWindowUpdateRgn, rgn);
        platform::Rect r{};
        platform::GetRegionBounds(rgn, &r);
        platform::DisposeRgn(rgn);
        if (r.right <= r.left) return VRect(0, 0, 0, 0);
        return VRect(r.left - window->GetX(), r.top - window->GetY(), r.right - r.left, r.bottom - r.top);
    }

    static uint32_t Pixel(VWindow* window, int32_t x, int32_t y)
    {
        return PixelAt(platform::GetWindowPort(window->GetParentMacHwnd()), x, y);
    }

    platform::testing::TempFolder dir;
};

// What the application's loop does with one platform event, as far as the
// views need: clicks, the wheel and keys to the window under them or the
// front one, updates painted through the window's painter.
inline void Dispatch(const platform::EventRecord& e)
{
    using namespace platform;
    WindowRef hit = nullptr;
    switch (e.what) {
    case mouseDown:
    case mouseUp:
    case kMouseWheelEvent: {
        FindWindow(e.where, &hit);
        VWindow* w = VWindow::FindWindow(hit);
        if (!w) return;
        VClic clic(e, hit);
        if (e.what == kMouseWheelEvent) {
            w->DoMouseWheelChildren(clic);
        } else {
            clic.Register();
            w->DoMouseChildren(clic);
        }
        return;
    }
    case keyDown:
    case autoKey: {
        VWindow* w = VWindow::FindWindow(FrontWindow());
        static VKeySwitch key;
        if (w && key.FromEvent(e, true)) w->DoKey(key);
        return;
    }
    case updateEvt: {
        auto window = reinterpret_cast<WindowRef>(e.message);
        VWindow* w = VWindow::FindWindow(window);
        BeginUpdate(window);
        if (w) {
            if (VPainter* p = w->GetPainter()) {
                w->DoPaintChildren(p);
                w->ReleasePainter();
            }
        }
        EndUpdate(window);
        return;
    }
    default:
        return;
    }
}

// Plays the script's events until it is over; each turn of the loop also
// runs `each` (the cursor tracking of the application's null events).
inline void RunScript(platform::Script script, const std::function<void()>& each = {})
{
    platform::testing::HeadlessRun run(std::move(script.End()));
    platform::EventRecord e{};
    for (int i = 0; i < 2000 && !run.backend->Ended(); ++i) {
        const bool got = platform::WaitNextEvent(0xFFFF, &e, 1, nullptr);
        if (got && e.what == platform::kHighLevelEvent) break;
        if (got) Dispatch(e);
        if (each) each();
    }
}

}  // namespace viewstest

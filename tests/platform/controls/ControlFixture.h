// A headless screen with one document window for control, dialog and list
// tests, and the managers' state reset around each test.
#pragma once

#include <functional>
#include <string>

#include "platform/controls/Controls.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/lists/Lists.h"
#include "platform/resfiles/Resources.h"
#include "tests/platform/windows/WindowFixture.h"

namespace platform::testing {

class ControlTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        ResetControlDefinitions();
        ResetListDefinitions();
        ResetDialogManager();
    }
    void TearDown() override
    {
        ResetDialogManager();
        ResetControlDefinitions();
        ResetListDefinitions();
        WindowTest::TearDown();
        ResetResourceManager();
    }
    // A window whose content's top-left is at (100, 100) global.
    WindowRef Window()
    {
        WindowRef w = Document(100, 100, 500, 460);
        Settle();
        SetPortWindowPort(w);
        return w;
    }
    // Plays the script; `probe` runs at each "screenshot" step.
    void PlayWithProbe(Script script, std::function<void(const std::string&)> probe)
    {
        HeadlessOptions options;
        options.screenshot = [probe](const std::string& path) {
            probe(path);
            return noErr;
        };
        Play(std::move(script), std::move(options));
    }
    // The next mouse-down, in the window's local coordinates.
    Point NextClick()
    {
        EventRecord e{};
        EXPECT_TRUE(NextEvent(mDownMask, &e));
        Point p = e.where;
        GlobalToLocal(&p);
        return p;
    }
};

inline constexpr int16_t kOrigin = 100;  // local to global

}  // namespace platform::testing

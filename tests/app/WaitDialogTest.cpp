#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "app/dialogs/DialogUtilities.h"
#include "app/dialogs/WaitDialog.h"
#include "platform/core/Clock.h"
#include "platform/events/Events.h"
#include "platform/events/Modals.h"
#include "platform/textedit/TextEdit.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Shapes.h"
#include "platform/drawing/Text.h"
#include "app/appl/AppGlobals.h"
#include "platform/filedialogs/NavServices.h"
#include "platform/screen/Screen.h"
#include "tests/app/AppFixture.h"
#include "tests/app/Fakes.h"
#include "tests/platform/events/HeadlessFixture.h"

using namespace apptest;
using namespace platform;

namespace {

// A wait dialog of 120 x 360 centred on the 1280 x 800 screen: its content
// starts at (460, 340); Stop is at (770, 436) on the screen.
const char* kWaitResources = R"(
'STR#' 1011 { "Working" "Searching" }
'DLOG' 300 { bounds 0 0 120 360 title "" proc 5 invisible items 300 }
'DITL' 300 {
    button 86 270 106 344 "Stop"
    control 62 16 74 344 300
    static 12 16 30 344 ""
    user 34 16 56 344
}
'CNTL' 300 { $"003E 0010 004A 0158 0000 0100 0064 0000 0050 0000 0000 00" }
'DLOG' 301 { bounds 0 0 100 200 title "" proc 5 visible items 301 }
'DITL' 301 { button 60 110 80 190 "OK" static 10 10 50 190 "Question" }
)";
constexpr int16_t kStopH = 770, kStopV = 436;

class WaitDialogTest : public AppFixture {
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        ASSERT_EQ(InitScreen(), noErr);
        UseAppResources(kWaitResources);
    }

    // Runs an operation of `ticks` ticks polling ChkWait; its result.
    int16_t Operate(WaitParamRec* rec, uint32_t ticks)
    {
        const uint32_t start = TickCount();
        while (TickCount() - start < ticks) {
            ++rec->current;
            if (ChkWait(rec)) return kCancelledByUser;
            if (rec->dialog && IsWindowVisible(GetDialogWindow(rec->dialog)) && firstShown == 0)
                firstShown = TickCount() - start;
            if (rec->lastPoll != lastPoll) {
                polls.push_back(rec->lastPoll);
                lastPoll = rec->lastPoll;
            }
        }
        return 0;
    }

    uint32_t firstShown = 0;
    uint32_t lastPoll = 0;
    std::vector<uint32_t> polls;
};

TEST_F(WaitDialogTest, TheDialogWaitsForItsDelay)
{
    {
        platform::testing::HeadlessRun run(Script().Wait(5000));
        WaitParamRec rec;
        SetWaitDialog(&rec, 1, nullptr, 0, 1000, 300, 60);
        ASSERT_NE(rec.dialog, nullptr);
        EXPECT_EQ(Operate(&rec, 50), 0);
        EXPECT_EQ(firstShown, 0u) << "over by tick 50: never shown";
        ReSetWaitDialog(&rec);
        EXPECT_EQ(rec.dialog, nullptr);
        ReSetWaitDialog(&rec);  // nothing up: nothing happens
    }
    {
        platform::testing::HeadlessRun run(Script().Wait(5000));
        WaitParamRec rec;
        SetWaitDialog(&rec, 1, nullptr, 0, 1000, 300, -1);
        EXPECT_EQ(Operate(&rec, 300), 0);
        EXPECT_EQ(firstShown, 0u) << "a negative delay: never shown";
        ReSetWaitDialog(&rec);
    }
    {
        platform::testing::HeadlessRun run(Script().Wait(5000));
        WaitParamRec rec;
        firstShown = 0;
        polls.clear();
        SetWaitDialog(&rec, 1, nullptr, 0, 100000, 300, 60);
        EXPECT_EQ(Operate(&rec, 300), 0);
        EXPECT_GT(firstShown, 60u);
        ASSERT_GE(polls.size(), 3u);
        for (size_t i = 1; i < polls.size(); ++i) EXPECT_GT(polls[i] - polls[i - 1], 20u) << "one event per 20 ticks";
        ReSetWaitDialog(&rec);
        EXPECT_EQ(rec.shownPercent, 100);
    }
}

// The message area (item 4) as the dialog's port holds it.
std::vector<uint32_t> MessagePixels(const WaitParamRec& rec)
{
    DialogItemType type = 0;
    Handle h = nullptr;
    Rect box{};
    GetDialogItem(rec.dialog, 4, &type, &h, &box);
    const BitMap* bm = GetPortBitMapForCopyBits(GetWindowPort(GetDialogWindow(rec.dialog)));
    const int row = bm->rowBytes & kRowBytesMask;
    std::vector<uint32_t> out;
    for (int v = box.top; v < box.bottom; ++v)
        for (int x = box.left; x < box.right; ++x) {
            uint32_t px = 0;
            std::memcpy(&px, reinterpret_cast<const uint8_t*>(bm->baseAddr) + (v - bm->bounds.top) * row +
                                 (x - bm->bounds.left) * 4, 4);
            out.push_back(px & 0xFFFFFF);
        }
    return out;
}

// The message area drawn afresh with `text`, as the dialog shows a message.
std::vector<uint32_t> FreshMessage(const WaitParamRec& rec, const std::string& text)
{
    GrafPtr saved = nullptr;
    GetPort(&saved);
    SetPortWindowPort(GetDialogWindow(rec.dialog));
    DialogItemType type = 0;
    Handle h = nullptr;
    Rect box{};
    GetDialogItem(rec.dialog, 4, &type, &h, &box);
    EraseRect(&box);
    TextFont(MyApplFont);
    TextSize(MyApplSize);
    TextFace(0);
    TextMode(srcOr);
    TETextBox(text.data(), int32_t(text.size()), &box, teFlushLeft);
    SetPort(saved);
    return MessagePixels(rec);
}

// The clock stands still unless the test moves it.
struct StillClock {
    VirtualClock clock{1000};
    StillClock() { SetClock(&clock); }
    ~StillClock() { SetClock(nullptr); }
};

TEST_F(WaitDialogTest, TheMessageIsDrawnOnceATickAndTheLastOneIsOnScreen)
{
    struct Case {
        const char* what;
        int32_t delay;
        // Messages, each with the ticks the clock moves before it.
        std::vector<std::pair<uint32_t, std::string>> messages;
        // Ticks before one more ChkWait (0: none).
        uint32_t pollAfter;
        std::string onScreen;
    };
    const std::vector<Case> cases = {
        {"three in one tick: the first stays", 0, {{0, "Reading form one"}, {0, "Reading form two"}, {0, "Reading form six"}}, 0,
         "Reading form one"},
        {"the clock moved: the newest", 0, {{0, "Reading form one"}, {0, "Reading form two"}, {1, "Reading form six"}}, 0,
         "Reading form six"},
        {"the next poll draws what waits", 0, {{0, "Reading form one"}, {0, "Reading form two"}}, 21, "Reading form two"},
        {"hidden, then shown with the last", 60, {{0, "Reading form one"}, {5, "Reading form two"}, {5, "Reading form six"}},
         61, "Reading form six"},
        {"shown before the next poll, with the last", 10, {{0, "Reading form one"}, {5, "Reading form six"}}, 6,
         "Reading form six"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        platform::testing::HeadlessRun run(Script().Wait(5000));
        StillClock still;
        WaitParamRec rec;
        SetWaitDialog(&rec, 1, nullptr, 0, 100, 300, c.delay);
        ASSERT_NE(rec.dialog, nullptr);
        for (const auto& [ticks, text] : c.messages) {
            still.clock.Advance(ticks);
            Str255 p;
            apptest::ToP(text, p);
            WaitMess(&rec, p);
        }
        if (c.delay > 0) {
            EXPECT_FALSE(IsWindowVisible(GetDialogWindow(rec.dialog))) << "nothing shown yet";
        }
        if (c.pollAfter) {
            still.clock.Advance(c.pollAfter);
            EXPECT_FALSE(ChkWait(&rec));
        }
        ASSERT_TRUE(IsWindowVisible(GetDialogWindow(rec.dialog)));
        const std::vector<uint32_t> shown = MessagePixels(rec);
        EXPECT_EQ(shown, FreshMessage(rec, c.onScreen));
        EXPECT_NE(shown, FreshMessage(rec, "Reading form")) << "the texts draw apart";
        // The bar shows how far the work went.
        rec.current = 40;
        DrawWait(&rec);
        ControlRef bar = nullptr;
        GetDialogItemAsControl(rec.dialog, 2, &bar);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(GetControlValue(bar), 40);
        ReSetWaitDialog(&rec);
    }
}

TEST(WaitProgress, PercentIsSafeForAnyMaximum)
{
    WaitParamRec rec;
    rec.maximum = 0;
    rec.current = 5;
    EXPECT_EQ(WaitPercent(rec), 0) << "maximum 0 shows 0";
    rec.maximum = -3;
    EXPECT_EQ(WaitPercent(rec), 0);
    rec.maximum = 40000000;
    rec.current = 30000000;
    EXPECT_EQ(WaitPercent(rec), 75) << "no overflow past 21 million";
    rec.current = 90000000;
    EXPECT_EQ(WaitPercent(rec), 100);
    rec.current = -1;
    EXPECT_EQ(WaitPercent(rec), 0);
}

TEST_F(WaitDialogTest, CommandPeriodStopsTheOperation)
{
    platform::testing::HeadlessRun run(Script().Wait(100).Key(uint8_t('.'), 0x2F, cmdKey).Wait(5000));
    WaitParamRec rec;
    SetWaitDialog(&rec, 2, nullptr, 0, 100, 300, 0);
    EXPECT_EQ(Operate(&rec, 1000), kCancelledByUser) << "the mouse is elsewhere";
    EXPECT_TRUE(ChkWait(&rec)) << "it stays cancelled";
    EXPECT_TRUE(ChkWait(&rec));
    ReSetWaitDialog(&rec);
}

TEST_F(WaitDialogTest, StopCountsOnlyWhenReleasedOverIt)
{
    {
        Script script;
        script.Wait(60).Press(kStopH, kStopV).Wait(40).Move(kStopH, 600).Wait(5).Release().Wait(5000);
        platform::testing::HeadlessRun run(std::move(script));
        WaitParamRec rec;
        SetWaitDialog(&rec, 1, nullptr, 0, 100, 300, 0);
        EXPECT_EQ(rec.stopArea.left, 270);
        EXPECT_EQ(Operate(&rec, 400), 0) << "released outside";
        ReSetWaitDialog(&rec);
    }
    {
        Script script;
        script.Wait(60).Press(kStopH, kStopV).Wait(40).Release().Wait(5000);
        platform::testing::HeadlessRun run(std::move(script));
        WaitParamRec rec;
        SetWaitDialog(&rec, 1, nullptr, 0, 100, 300, 0);
        EXPECT_EQ(Operate(&rec, 400), kCancelledByUser) << "released inside";
        ReSetWaitDialog(&rec);
    }
}

TEST_F(WaitDialogTest, OtherWindowsStayDrawnAndAQuitWaitsForTheMainLoop)
{
    FakeWindow window;
    Script script;
    script.Wait(50).Send(kAEQuitApplication).Wait(5000);
    platform::testing::HeadlessRun run(std::move(script));
    WaitParamRec rec;
    SetWaitDialog(&rec, 1, nullptr, 0, 100, 300, 0);
    const Rect all{0, 0, 100, 100};
    InvalWindowRect(window.fWindow, &all);
    const int before = window.updates;
    EXPECT_EQ(Operate(&rec, 300), 0);
    EXPECT_GT(window.updates, before) << "the window behind was redrawn";
    ReSetWaitDialog(&rec);
    EventRecord e{};
    EXPECT_TRUE(EventAvail(highLevelEventMask, &e)) << "the quit is still queued";
    EXPECT_EQ(HighLevelEventID(e), kAEQuitApplication);
}

TEST_F(WaitDialogTest, TheSystemsRequestToEndStopsTheOperationAndIsNamedWhileUp)
{
    // SIGTERM stops the operation at its next poll, shown or not yet; the
    // request stays for the main loop. A shown dialog is the modal named.
    for (const int32_t delay : {0, 10000}) {
        platform::testing::HeadlessRun run(Script().Wait(5000));
        WaitParamRec rec;
        SetWaitDialog(&rec, 1, reinterpret_cast<const unsigned char*>("\x07" "Big.QzB"), 0, 100, 300, delay);
        EXPECT_EQ(Operate(&rec, 30), 0);
        EXPECT_EQ(CurrentModal() ? *CurrentModal() : "", delay ? "" : "wait dialog 'Big.QzB'");
        PostTerminationRequest();
        EXPECT_EQ(Operate(&rec, 300), kCancelledByUser) << delay;
        ReSetWaitDialog(&rec);
        EXPECT_EQ(CurrentModal(), nullptr);
        EXPECT_TRUE(TerminationRequestPending());
    }
}

TEST_F(WaitDialogTest, TheDefaultFilterAnswersReturnAndServesUpdates)
{
    platform::testing::HeadlessRun run(Script().Wait(5000));
    FakeWindow window;
    DialogRef dialog = MyGetNewDialog(301, nullptr, reinterpret_cast<WindowRef>(-1));
    ASSERT_NE(dialog, nullptr);
    EventRecord e{};
    e.what = keyDown;
    e.message = 13;
    DialogItemIndex item = 0;
    const uint32_t before = TickCount();
    EXPECT_TRUE(DefaultFilter(dialog, &e, &item));
    EXPECT_EQ(item, 1);
    EXPECT_GE(TickCount() - before, 8u) << "the button flashed";
    SetHiLight(dialog, 1, 255);
    EXPECT_EQ(GetHiLight(dialog, 1), 255);
    item = 0;
    e.message = 3;  // Enter
    EXPECT_TRUE(DefaultFilter(dialog, &e, &item));
    EXPECT_EQ(item, 0) << "an inactive default button answers nothing";
    e.what = updateEvt;
    e.message = reinterpret_cast<uintptr_t>(window.fWindow);
    EXPECT_FALSE(DefaultFilter(dialog, &e, &item));
    EXPECT_EQ(window.updates, 1);

    unsigned char text[256];
    SetText(dialog, 2, reinterpret_cast<const unsigned char*>("\x03" "abc"));
    GetText(text, dialog, 2);
    EXPECT_EQ(P(text), "abc");
    MyDisposDialog(dialog);
}

TEST_F(WaitDialogTest, ACancelledSaveAnswers233)
{
    Script script;
    script.AnswerFileDialog("cancel");
    platform::testing::HeadlessRun run(std::move(script));
    FSSpec fileSpec;
    EXPECT_EQ(MacPutFile(nullptr, reinterpret_cast<const unsigned char*>("\x04" "name"), &fileSpec), 233);
}

TEST_F(WaitDialogTest, TheOpenDialogAnswersOneFile)
{
    std::ofstream(folder_ / "one.txt") << "x";
    Script script;
    script.AnswerFileDialog(folder_ / "one.txt");
    platform::testing::HeadlessRun run(std::move(script));
    FSSpec fileSpec;
    EXPECT_EQ(MacGetFile(&fileSpec, nullptr, nullptr), 0);
    EXPECT_EQ(fileSpec.path, folder_ / "one.txt");
}

}  // namespace

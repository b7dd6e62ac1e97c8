#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "platform/core/Clock.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/events/Events.h"
#include "platform/events/HostKeys.h"
#include "platform/events/Modals.h"
#include "tests/platform/events/HeadlessFixture.h"

using namespace platform;
using platform::testing::HeadlessRun;
using platform::testing::NextEvent;

namespace {

// The caller's rule for a click series: within the double-click time and
// less than 5 in the summed moves.
bool IsDoubleClick(const EventRecord& first, const EventRecord& second)
{
    int32_t moved = (second.where.v - first.where.v) + (second.where.h - first.where.h);
    return second.when - first.when < GetDblTime() && std::abs(moved) < 5;
}

}  // namespace

TEST(HeadlessInput, DoubleClicksAreTwoMouseDownsWithinTheTimeAndDistance)
{
    HeadlessRun run(Script().DoubleClick(100, 120).Wait(40).Click(104, 116).Click(108, 112).Click(150, 120));
    EventRecord a{}, b{}, c{}, d{};
    ASSERT_TRUE(NextEvent(mDownMask, &a));
    ASSERT_TRUE(NextEvent(mDownMask, &b));
    EXPECT_EQ(a.where.h, 100);
    EXPECT_EQ(a.where.v, 120);
    EXPECT_TRUE(IsDoubleClick(a, b));
    ASSERT_TRUE(NextEvent(mDownMask, &c));
    EXPECT_FALSE(IsDoubleClick(b, c));  // too late
    ASSERT_TRUE(NextEvent(mDownMask, &d));
    EXPECT_EQ(c.where.h, 104);
    EXPECT_TRUE(IsDoubleClick(c, d));  // 4 right and 4 up: the same place
    EventRecord e{};
    ASSERT_TRUE(NextEvent(mDownMask, &e));
    EXPECT_FALSE(IsDoubleClick(d, e));  // too far
    EXPECT_EQ(d.modifiers & btnState, 0);
}

TEST(HeadlessInput, TrackingLoopSeesTheButtonHeldForTheScriptedTicks)
{
    HeadlessRun run(Script().Press(10, 30).Wait(29).Release().Drag(50, 50, 80, 110, 30));
    for (int round = 0; round < 2; ++round) {
        EventRecord down{};
        ASSERT_TRUE(NextEvent(mDownMask, &down));
        uint32_t start = TickCount();
        uint32_t end = start;
        Point p{};
        while (StillDown()) {
            GetGlobalMouse(&p);
            end = TickCount();
        }
        EventRecord up{};
        ASSERT_TRUE(NextEvent(mUpMask, &up));
        EXPECT_EQ(up.when - down.when, 30u);
        EXPECT_LE(end - start, 30u);
        EXPECT_GE(end - start, 27u);
    }
}

TEST(HeadlessInput, StillDownCountsEveryHeldTick)
{
    HeadlessRun run(Script().Press(10, 30).Wait(29).Release());
    EventRecord down{};
    ASSERT_TRUE(NextEvent(mDownMask, &down));
    uint32_t polls = 0;
    while (StillDown()) ++polls;
    EXPECT_EQ(polls, 30u);
    EXPECT_FALSE(Button());
    EXPECT_FALSE(WaitMouseUp());
    EventRecord e{};
    EXPECT_FALSE(EventAvail(mUpMask, &e));  // WaitMouseUp took the mouse-up
}

TEST(HeadlessInput, DragMovesTheMouseStepByStep)
{
    HeadlessRun run(Script().Drag(0, 0, 100, 50, 10));
    EventRecord down{};
    ASSERT_TRUE(NextEvent(mDownMask, &down));
    Point p{};
    std::vector<int16_t> hs;
    while (WaitMouseUp()) {
        GetGlobalMouse(&p);
        hs.push_back(p.h);
    }
    ASSERT_FALSE(hs.empty());
    for (size_t i = 1; i < hs.size(); ++i) EXPECT_GE(hs[i], hs[i - 1]);
    GetGlobalMouse(&p);
    EXPECT_EQ(p.h, 100);
    EXPECT_EQ(p.v, 50);
}

TEST(HeadlessInput, TypedTextAndKeysCarryCharacterKeyCodeAndModifiers)
{
    Script script;
    script.Type("Hi\r");
    ASSERT_TRUE(script.Key("c", cmdKey));
    ASSERT_TRUE(script.Key("left"));
    EXPECT_FALSE(script.Key("nosuchkey"));
    // Text input: what Mac Roman holds arrives, Japanese and an emoji are
    // refused with one beep, never typed as another character.
    script.Text("\xC3\xA9\xC3\xBC\xC3\x9F\xE2\x82\xAC\xE6\x97\xA5\xE6\x9C\xAC\xF0\x9F\x98\x80!");
    const uint32_t beeps = SysBeepCount();
    HeadlessRun run(std::move(script));

    struct Want { uint8_t ch; uint8_t code; uint16_t mods; };
    const Want want[] = {{'H', 0x04, shiftKey}, {'i', 0x22, 0},  {13, vkey::kReturn, 0}, {'c', 0x08, cmdKey},
                         {28, vkey::kLeft, 0},  {0x8E, 0, 0},    {0x9F, 0, 0},           {0xA7, 0, 0},
                         {0xDB, 0, 0},          {'!', 0, 0}};
    for (const Want& w : want) {
        EventRecord e{};
        ASSERT_TRUE(NextEvent(keyDownMask, &e));
        EXPECT_EQ(e.message & charCodeMask, w.ch);
        EXPECT_EQ((e.message & keyCodeMask) >> 8, w.code);
        EXPECT_EQ(e.modifiers & (cmdKey | shiftKey | optionKey | controlKey), w.mods);
    }
    EXPECT_EQ(SysBeepCount(), beeps + 1);
    EventRecord e{};
    EXPECT_FALSE(NextEvent(keyDownMask, &e, 10));
    EXPECT_TRUE(NextEvent(keyUpMask, &e));
}

TEST(HeadlessInput, GetKeysShowsAHeldKey)
{
    Script script;
    script.Key(0, vkey::kCommand, cmdKey);
    HeadlessRun run(std::move(script));
    EventRecord e{};
    ASSERT_TRUE(NextEvent(keyDownMask, &e));
    KeyMap keys = {};
    GetKeys(keys);
    EXPECT_TRUE(IsKeyDown(keys, vkey::kCommand));
    GetKeys(keys);
    EXPECT_FALSE(IsKeyDown(keys, vkey::kCommand));
}

TEST(HeadlessInput, HighLevelEventsAnswersAndEnd)
{
    HeadlessRun run(Script().Send(kAEOpenDocuments, {"/tmp/a doc", "/tmp/b"}).AnswerFileDialog("/tmp/x").End());
    EventRecord e{};
    ASSERT_TRUE(NextEvent(highLevelEventMask, &e));
    EXPECT_EQ(e.message, kCoreEventClass);
    EXPECT_EQ(HighLevelEventID(e), kAEOpenDocuments);
    EXPECT_EQ(LastHighLevelEvent().documents, (std::vector<std::string>{"/tmp/a doc", "/tmp/b"}));
    ASSERT_TRUE(NextEvent(highLevelEventMask, &e));
    EXPECT_EQ(HighLevelEventID(e), kAEQuitApplication);
    EXPECT_TRUE(LastHighLevelEvent().documents.empty());
    std::string path;
    EXPECT_TRUE(TakeFileDialogAnswer(&path));
    EXPECT_EQ(path, "/tmp/x");
    EXPECT_FALSE(TakeFileDialogAnswer(&path));
    EXPECT_TRUE(run.backend->ScriptOver());
}

TEST(HeadlessInput, IdleStepWaitsForTheProgramToRunOutOfEvents)
{
    HeadlessRun run(Script().Type("ab").WaitIdle().Click(5, 5));
    // Busy with something else: the keys queue up, the click does not come.
    for (int i = 0; i < 100; ++i) (void)TickCount();
    EventRecord e{};
    ASSERT_TRUE(EventAvail(keyDownMask, &e));
    EXPECT_FALSE(EventAvail(mDownMask, &e));
    while (GetNextEvent(keyDownMask | keyUpMask, &e)) {
    }
    // The program found nothing: the script goes on.
    ASSERT_TRUE(NextEvent(mDownMask, &e));
    EXPECT_EQ(e.where.h, 5);
}

TEST(HeadlessInput, WaitSleepsUntilTheNextScriptedInput)
{
    HeadlessRun run(Script().Wait(500).Click(1, 1));
    const uint32_t start = TickCount();
    EventRecord e{};
    EXPECT_TRUE(WaitNextEvent(everyEvent, &e, 10000, nullptr));
    EXPECT_EQ(e.what, mouseDown);
    EXPECT_EQ(e.when, 500u);
    EXPECT_GE(start, 0u);
    uint32_t t0 = TickCount();
    EXPECT_FALSE(WaitNextEvent(keyDownMask, &e, 20, nullptr));
    EXPECT_EQ(e.when - t0, 21u);  // the sleep and the poll of TickCount
}

TEST(HeadlessInput, PollingTickCountLetsTimePass)
{
    HeadlessRun run(Script().Wait(1000));
    uint32_t until = TickCount() + 100;
    int reads = 0;
    while (TickCount() < until) ++reads;
    EXPECT_EQ(reads, 99);
    uint32_t final = 0;
    Delay(30, &final);
    EXPECT_EQ(final, until + 1 + 30);
}

TEST(HeadlessInput, WatchdogEndsARunThatWaitsAfterTheScript)
{
    HeadlessOptions options;
    options.watchdogTicks = 120;
    HeadlessRun run(Script().Click(3, 3), options);
    EventRecord e{};
    int waits = 0;
    while (!run.backend->Ended() && waits < 100000) {
        WaitNextEvent(everyEvent, &e, 0xFFFFFFFF, nullptr);
        ++waits;
    }
    EXPECT_TRUE(run.backend->Ended());
    EXPECT_LT(waits, 10);
    EXPECT_NE(run.watchdogMessage.find("still waiting for input"), std::string::npos);
}

TEST(HeadlessInput, AQuitWaitingInTheQueueKeepsTheWatchdogAwayAndAModalIsNamed)
{
    HeadlessOptions options;
    options.watchdogTicks = 20;
    HeadlessRun run(Script().Click(3, 3), options);
    EventRecord e{};
    // A loop leaving the quit queued (a long operation) is busy, not waiting.
    PostHighLevelEvent(kCoreEventClass, kAEQuitApplication, {});
    for (int i = 0; i < 100; ++i) WaitNextEvent(uint16_t(everyEvent & ~highLevelEventMask), &e, 1, nullptr);
    EXPECT_TRUE(run.watchdogMessage.empty());
    ASSERT_TRUE(GetNextEvent(highLevelEventMask, &e));
    ModalScope outer("dialog 'Find'"), inner("alert 1002 \"Save?\"");
    for (int i = 0; i < 100 && !run.backend->Ended(); ++i) WaitNextEvent(everyEvent, &e, 1, nullptr);
    EXPECT_NE(run.watchdogMessage.find("in the alert 1002 \"Save?\""), std::string::npos) << run.watchdogMessage;
}

TEST(HeadlessInput, NobodyAnsweringAModalEndsTheRunWithinASecond)
{
    // Well before the watchdog's 600 ticks of a run waiting in no modal:
    // once 60 ticks were waited after the script, whatever the modal loop
    // sleeps for (15 ticks, as the dialogs' loop).
    HeadlessRun run(Script().Click(3, 3));
    EventRecord e{};
    ModalScope modal("dialog 'Find'");
    for (int i = 0; i < 100 && !run.backend->Ended(); ++i) WaitNextEvent(everyEvent, &e, 15, nullptr);
    EXPECT_TRUE(run.backend->Ended());
    unsigned ended = 0, stopped = 0;
    ASSERT_EQ(std::sscanf(run.watchdogMessage.c_str(),
                          "headless run: the script ended at tick %u and the program was still waiting for input at "
                          "tick %u",
                          &ended, &stopped),
              2)
        << run.watchdogMessage;
    EXPECT_EQ(stopped - ended, 61u) << run.watchdogMessage;
    EXPECT_NE(run.watchdogMessage.find("in the dialog 'Find'"), std::string::npos) << run.watchdogMessage;
}

TEST(HeadlessInput, AHeldRunWaitsForOutsideEventsWithoutTheWatchdog)
{
    HeadlessOptions options;
    options.watchdogTicks = 12;
    HeadlessRun run(Script().Click(3, 3).Hold(), options);
    EventRecord e{};
    int mouseEvents = 0;
    // Well past the watchdog's ticks, in real time.
    for (int i = 0; i < 6; ++i)
        if (WaitNextEvent(everyEvent, &e, 6, nullptr) && e.what != kHighLevelEvent) ++mouseEvents;
    EXPECT_EQ(mouseEvents, 2);
    EXPECT_FALSE(run.backend->Ended());
    EXPECT_TRUE(run.watchdogMessage.empty());
    PostHighLevelEvent(kCoreEventClass, kAEQuitApplication, {});
    ASSERT_TRUE(WaitNextEvent(everyEvent, &e, 60, nullptr));
    EXPECT_EQ(e.what, kHighLevelEvent);
}

TEST(HeadlessInput, WatchdogCatchesAPollingLoopAfterTheScript)
{
    HeadlessOptions options;
    options.watchdogTicks = 50;
    HeadlessRun run(Script().Move(9, 9), options);
    int polls = 0;
    while (!Button() && !run.backend->Ended()) ++polls;
    EXPECT_TRUE(run.backend->Ended());
    EXPECT_LE(polls, 60);
}

TEST(HeadlessInput, TrackingLoopsEndWhenTheScriptLeavesTheButtonHeldOrWaitsForIdle)
{
    {
        // The script ends with the button down: the watchdog lets go of it.
        HeadlessOptions options;
        options.watchdogTicks = 50;
        HeadlessRun run(Script().Press(10, 10), options);
        EventRecord e{};
        ASSERT_TRUE(NextEvent(mDownMask, &e));
        int polls = 0;
        while (WaitMouseUp() && polls < 100000) ++polls;
        EXPECT_TRUE(run.backend->Ended());
        EXPECT_LE(polls, 60);
        EXPECT_FALSE(Button());
    }
    {
        // A script waiting for idle goes on while the program tracks the mouse.
        HeadlessRun run(Script().Press(10, 10).WaitIdle().Move(40, 30).Release());
        EventRecord e{};
        ASSERT_TRUE(NextEvent(mDownMask, &e));
        int polls = 0;
        while (WaitMouseUp() && polls < 100000) ++polls;
        EXPECT_LT(polls, 100);
        EXPECT_FALSE(run.backend->Ended());
        EXPECT_EQ(MouseReleasePoint().h, 40);
        EXPECT_EQ(MouseReleasePoint().v, 30);
    }
    {
        // The same with a loop that polls Button.
        HeadlessRun run(Script().Press(10, 10).WaitIdle().Release());
        EventRecord e{};
        ASSERT_TRUE(NextEvent(mDownMask, &e));
        int polls = 0;
        while (Button() && polls < 100000) ++polls;
        EXPECT_LT(polls, 100);
    }
}

#include <gtest/gtest.h>

#include "platform/events/EventQueue.h"
#include "platform/events/Events.h"
#include "platform/events/InputState.h"

using namespace platform;

namespace {

EventRecord Ev(uint16_t what, uint32_t message)
{
    EventRecord e{};
    e.what = what;
    e.message = message;
    return e;
}

}  // namespace

TEST(EventQueue, TakesByMaskInOrderAndFlushesUpToTheStopKind)
{
    EventQueue q;
    q.Post(Ev(keyDown, 'a'));
    q.Post(Ev(mouseDown, 1));
    q.Post(Ev(keyDown, 'b'));
    q.Post(Ev(mouseUp, 2));
    q.Post(Ev(keyDown, 'c'));

    EventRecord e{};
    ASSERT_TRUE(q.Take(mUpMask | mDownMask, &e, false));
    EXPECT_EQ(e.what, mouseDown);
    EXPECT_EQ(q.Count(), 5u);  // peeking leaves it there

    // Key-downs before the mouse-up go; the one after it stays.
    q.Flush(keyDownMask, mUpMask);
    ASSERT_TRUE(q.Take(keyDownMask, &e, true));
    EXPECT_EQ(e.message, uintptr_t('c'));
    EXPECT_FALSE(q.Has(keyDownMask));
    EXPECT_TRUE(q.Has(mDownMask));
    EXPECT_FALSE(q.Take(updateMask, &e, true));
}

TEST(EventQueue, FullQueueDropsItsOldestEvent)
{
    EventQueue q;
    for (uint32_t i = 0; i < EventQueue::kCapacity + 3; ++i) q.Post(Ev(keyDown, i));
    EXPECT_EQ(q.Count(), EventQueue::kCapacity);
    EventRecord e{};
    ASSERT_TRUE(q.Take(everyEvent, &e, true));
    EXPECT_EQ(e.message, 3u);
}

TEST(EventQueue, AFullQueueDropsInputButKeepsEveryRequest)
{
    // Requests posted first, at the end, and with the queue already full
    // of requests: none is ever dropped, the oldest input goes instead.
    struct Case {
        const char* name;
        uint32_t requestsFirst, inputs, requestsLast;
        size_t count;
    };
    const uint32_t cap = uint32_t(EventQueue::kCapacity);
    for (const Case& c : {Case{"quit before a flood of keys", 1, cap + 10, 0, cap},
                          Case{"quit into a full queue", 0, cap, 1, cap},
                          Case{"only requests", cap + 2, 0, 0, cap + 2},
                          Case{"requests around input", 3, cap, 3, cap}}) {
        EventQueue q;
        auto request = [&](uint32_t i, bool termination) {
            EventRecord e = Ev(kHighLevelEvent, kCoreEventClass);
            e.where = {int16_t(kAEQuitApplication >> 16), int16_t(kAEQuitApplication & 0xFFFF)};
            e.when = i;
            q.Post(e, {}, termination);
        };
        for (uint32_t i = 0; i < c.requestsFirst; ++i) request(i, i == 0);
        for (uint32_t i = 0; i < c.inputs; ++i) q.Post(Ev(keyDown, i));
        for (uint32_t i = 0; i < c.requestsLast; ++i) request(100 + i, false);
        EXPECT_EQ(q.Count(), c.count) << c.name;
        uint32_t requests = 0;
        EventRecord e{};
        while (q.Take(highLevelEventMask, &e, true)) ++requests;
        EXPECT_EQ(requests, c.requestsFirst + c.requestsLast) << c.name;
        if (c.inputs > 0) {
            // The newest input survives; what went was the oldest.
            uint32_t last = 0;
            while (q.Take(keyDownMask, &e, true)) last = uint32_t(e.message);
            EXPECT_EQ(last, c.inputs - 1) << c.name;
        }
    }
}

TEST(EventManager, QuitAndTerminationRequestsWaitUntilTaken)
{
    ResetEventManager();
    EXPECT_FALSE(QuitRequestPending());
    PostHighLevelEvent(kCoreEventClass, kAEOpenApplication, {});
    EXPECT_FALSE(QuitRequestPending());  // only a quit counts
    PostHighLevelEvent(kCoreEventClass, kAEQuitApplication, {});
    EXPECT_TRUE(QuitRequestPending());
    EXPECT_FALSE(TerminationRequestPending());  // a quit event, not the system's
    PostTerminationRequest();
    EXPECT_TRUE(TerminationRequestPending());
    EventRecord e{};
    int quits = 0;
    while (GetNextEvent(highLevelEventMask, &e))
        if (HighLevelEventID(e) == kAEQuitApplication) ++quits;
    EXPECT_EQ(quits, 2);
    EXPECT_FALSE(QuitRequestPending());
    EXPECT_FALSE(TerminationRequestPending());
}

TEST(EventQueue, MasksOfTheOddKinds)
{
    EXPECT_EQ(MaskForKind(kHighLevelEvent), highLevelEventMask);
    EXPECT_EQ(MaskForKind(kMouseWheelEvent), kMouseWheelMask);
    EXPECT_EQ(MaskForKind(osEvt), osMask);
    EXPECT_EQ(MaskForKind(200), 0);
}

TEST(EventManager, PostEventAcceptsOnlyPostableKindsAndNeedsNoBackend)
{
    ResetEventManager();
    EXPECT_EQ(PostEvent(updateEvt, 0), evtNotEnb);
    EXPECT_EQ(PostEvent(kHighLevelEvent, 0), evtNotEnb);
    EXPECT_EQ(PostEvent(keyDown, 'x'), noErr);
    EventRecord e{};
    EXPECT_TRUE(EventAvail(keyDownMask, &e));
    EXPECT_TRUE(GetNextEvent(everyEvent, &e));
    EXPECT_EQ(e.what, keyDown);
    EXPECT_EQ(e.modifiers & btnState, btnState);  // the button is up
    EXPECT_FALSE(WaitNextEvent(everyEvent, &e, 10, nullptr));
    EXPECT_EQ(e.what, nullEvent);
}

TEST(EventManager, KeyMapBitsFollowKeyCodes)
{
    KeyMap keys = {};
    reinterpret_cast<uint8_t*>(keys)[0x37 >> 3] = uint8_t(1u << (0x37 & 7));
    EXPECT_TRUE(IsKeyDown(keys, 0x37));
    EXPECT_FALSE(IsKeyDown(keys, 0x38));
}

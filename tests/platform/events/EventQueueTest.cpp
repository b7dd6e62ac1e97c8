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

TEST(EventManager, RequestsWaitUntilTakenAndAFullQueueDropsInputNotThem)
{
    ResetEventManager();
    PostHighLevelEvent(kCoreEventClass, kAEOpenApplication, {});
    EXPECT_FALSE(QuitRequestPending());  // only a quit counts
    PostHighLevelEvent(kCoreEventClass, kAEQuitApplication, {});
    PostTerminationRequest();
    for (uint32_t i = 0; i < EventQueue::kCapacity + 10; ++i) PostEvent(keyDown, i);
    EXPECT_TRUE(QuitRequestPending());
    EXPECT_TRUE(TerminationRequestPending());
    EventRecord e{};
    int requests = 0, keys = 0;
    uint32_t lastKey = 0;
    while (GetNextEvent(everyEvent, &e)) {
        if (e.what == kHighLevelEvent) ++requests;
        if (e.what == keyDown) ++keys, lastKey = uint32_t(e.message);
    }
    EXPECT_EQ(requests, 3);
    EXPECT_EQ(keys, int(EventQueue::kCapacity) - 3);  // the oldest input went
    EXPECT_EQ(lastKey, EventQueue::kCapacity + 9);
    EXPECT_FALSE(QuitRequestPending());
    EXPECT_TRUE(TerminationRequestPending()) << "taken: the program is ending";
    ResetEventManager();
    PostHighLevelEvent(kCoreEventClass, kAEQuitApplication, {});
    EXPECT_FALSE(TerminationRequestPending());  // a quit event is not the system's
    ASSERT_TRUE(GetNextEvent(highLevelEventMask, &e));
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

// A headless run with a fresh screen and window list.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "platform/drawing/Ports.h"
#include "platform/screen/Screen.h"
#include "platform/windows/Windows.h"
#include "tests/platform/events/HeadlessFixture.h"

namespace platform::testing {

// A length-prefixed copy of a C string.
struct PStr {
    explicit PStr(const char* s)
    {
        size_t n = std::strlen(s);
        bytes[0] = uint8_t(n);
        std::memcpy(bytes + 1, s, n);
    }
    const unsigned char* get() const { return bytes; }
    unsigned char bytes[256] = {};
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDrawingState();
        ResetWindowManager();
        ASSERT_EQ(InitScreen(), noErr);
    }
    void TearDown() override
    {
        run.reset();
        ResetWindowManager();
        DisposeScreen();
    }
    void Play(Script script, HeadlessOptions options = {})
    {
        run.reset();
        run = std::make_unique<HeadlessRun>(std::move(script), std::move(options));
    }
    // Takes the waiting update and activate events, serving the updates.
    void Settle()
    {
        for (const EventRecord& e : Drain()) {
            if (e.what != updateEvt) continue;
            WindowRef w = reinterpret_cast<WindowRef>(e.message);
            BeginUpdate(w);
            EndUpdate(w);
        }
    }
    // Takes the events waiting now, without waiting for more.
    std::vector<EventRecord> Drain()
    {
        std::vector<EventRecord> out;
        EventRecord e{};
        while (GetNextEvent(updateMask | activMask, &e)) out.push_back(e);
        return out;
    }
    WindowRef Document(int16_t left, int16_t top, int16_t right, int16_t bottom, const char* title = "Doc")
    {
        Rect r{top, left, bottom, right};
        return NewCWindow(nullptr, &r, PStr(title).get(), true, zoomDocProc, kFirstWindowOfClass, true, 0);
    }
    std::unique_ptr<HeadlessRun> run;
};

inline int CountEvents(const std::vector<EventRecord>& events, uint16_t what, WindowRef w)
{
    int n = 0;
    for (const EventRecord& e : events)
        if (e.what == what && e.message == reinterpret_cast<uintptr_t>(w)) ++n;
    return n;
}

}  // namespace platform::testing

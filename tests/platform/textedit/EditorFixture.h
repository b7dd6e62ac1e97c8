// An offscreen port with one-bit glyphs and a headless run whose scripted
// clicks and keys are handed to an editor, as an application's event loop
// would.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "platform/drawing/GWorlds.h"
#include "platform/drawing/Modes.h"
#include "platform/drawing/Ports.h"
#include "platform/drawing/Text.h"
#include "platform/events/Events.h"
#include "platform/scrap/Scrap.h"
#include "platform/textedit/TextEdit.h"
#include "tests/platform/events/HeadlessFixture.h"

namespace platform::testing {

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetDrawingState();
        ResetScrap();
        ResetTextEdit();
        oldFlags = QDSwapTextFlags(0);  // one-bit glyphs: exact pixels
        Rect bounds{0, 0, 200, 300};
        ASSERT_EQ(NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0), noErr);
        SetGWorld(world, nullptr);
        TextFont(1);
        TextSize(12);
    }
    void TearDown() override
    {
        run.reset();
        DisposeGWorld(world);
        QDSwapTextFlags(oldFlags);
        ResetScrap();
        ResetTextEdit();
    }
    // Plays the script, handing each mouse-down and key to the handlers.
    void Play(Script script, const std::function<void(const EventRecord&)>& onEvent)
    {
        run.reset();
        run = std::make_unique<HeadlessRun>(std::move(script));
        EventRecord e{};
        for (int idle = 0; idle < 50;) {
            if (WaitNextEvent(mDownMask | keyDownMask | autoKeyMask, &e, 1, nullptr)) {
                idle = 0;
                SetGWorld(world, nullptr);
                onEvent(e);
            } else if (run->backend->ScriptOver()) {
                ++idle;
            }
        }
    }
    // Hands events to a classic record.
    void PlayInto(Script script, TEHandle te)
    {
        Play(std::move(script), [te](const EventRecord& e) {
            if (e.what == mouseDown) {
                Point p = e.where;
                GlobalToLocal(&p);
                TEClick(p, (e.modifiers & shiftKey) != 0, te);
            } else {
                TEKey(int16_t(e.message & charCodeMask), te);
            }
        });
    }
    uint32_t Pixel(int32_t h, int32_t v) const
    {
        Surface s = MakeSurface(GetPortBitMapForCopyBits(world));
        return s.ReadRGB(h, v);
    }
    std::string Pixels() const
    {
        Surface s = MakeSurface(GetPortBitMapForCopyBits(world));
        std::string out;
        for (int32_t v = s.bounds.top; v < s.bounds.bottom; ++v)
            out.append(reinterpret_cast<const char*>(s.Row32(v)), size_t(s.bounds.right - s.bounds.left) * 4);
        return out;
    }

    GWorldPtr world = nullptr;
    uint32_t oldFlags = 0;
    std::unique_ptr<HeadlessRun> run;
};

inline std::string TextOf(TEHandle te)
{
    return std::string(*(*te)->hText, size_t((*te)->teLength));
}

}  // namespace platform::testing

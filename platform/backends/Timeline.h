// Plays a script on the virtual clock: expands each step into timed input
// actions when it starts and applies those that are due.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "platform/backends/Script.h"

namespace platform {

class Timeline {
public:
    // Writes a screenshot; answers noErr or an error code.
    using ScreenshotWriter = std::function<OSErr(const std::string& path)>;

    Timeline(Script script, uint32_t start, ScreenshotWriter screenshot);

    // Applies every action due at or before `now`, in order.
    void RunUntil(uint32_t now);
    // When the next action is due; none while the script waits for the
    // program to go idle, or once it is over.
    std::optional<uint32_t> NextDue() const;
    // The program asked for an event and found none.
    void NoteIdle(uint32_t now);
    bool Over() const { return over_; }
    // The script ended on `hold`: the run waits for outside events.
    bool Held() const { return held_ && over_; }
    uint32_t OverAt() const { return overAt_; }
    int ScreenshotFailures() const { return screenshotFailures_; }

private:
    struct Action {
        enum class Op { Mouse, Down, Up, KeyDown, KeyUp, Text, Wheel, Screenshot, Answer, Choose, Send, Clipboard, Quit };
        uint32_t at;
        Op op;
        Point where{0, 0};
        uint16_t modifiers = 0;
        uint8_t charCode = 0;
        uint8_t keyCode = 0;
        const ScriptStep* step = nullptr;
    };

    // Starts a step at `start`: queues its actions; answers its length.
    uint32_t Expand(const ScriptStep& step, uint32_t start);
    void Apply(const Action& action);

    Script script_;
    ScreenshotWriter screenshot_;
    size_t next_ = 0;
    uint32_t nextStepAt_;
    bool waitingIdle_ = false;
    bool over_ = false;
    bool held_ = false;
    uint32_t overAt_ = 0;
    int screenshotFailures_ = 0;
    std::deque<Action> pending_;
    Point mouse_{0, 0};
};

}  // namespace platform

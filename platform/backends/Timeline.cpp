#include "platform/backends/Timeline.h"

#include <cstdio>

#include "platform/dialogs/Dialogs.h"
#include "platform/events/Events.h"
#include "platform/events/DialogAnswers.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/scrap/Scrap.h"
#include "platform/events/HostKeys.h"
#include "platform/events/InputState.h"

namespace platform {
namespace {

bool IsDue(uint32_t at, uint32_t now) { return int32_t(at - now) <= 0; }

Point Between(Point a, Point b, uint32_t i, uint32_t n)
{
    if (n == 0) return b;
    auto lerp = [&](int16_t x, int16_t y) {
        return int16_t(int32_t(x) + (int32_t(y) - int32_t(x)) * int64_t(i) / int64_t(n));
    };
    return {lerp(a.v, b.v), lerp(a.h, b.h)};
}

}  // namespace

Timeline::Timeline(Script script, uint32_t start, ScreenshotWriter screenshot)
    : script_(std::move(script)), screenshot_(std::move(screenshot)), nextStepAt_(start)
{
    mouse_ = CurrentInput().mouse;
}

std::optional<uint32_t> Timeline::NextDue() const
{
    if (!pending_.empty()) return pending_.front().at;
    if (waitingIdle_ || over_ || next_ >= script_.Steps().size()) return std::nullopt;
    return nextStepAt_;
}

void Timeline::NoteIdle(uint32_t now)
{
    if (!waitingIdle_ || !pending_.empty()) return;
    waitingIdle_ = false;
    nextStepAt_ = now;
}

void Timeline::RunUntil(uint32_t now)
{
    for (;;) {
        if (!pending_.empty()) {
            if (!IsDue(pending_.front().at, now)) return;
            Action a = pending_.front();
            pending_.pop_front();
            Apply(a);
            continue;
        }
        if (over_ || waitingIdle_) return;
        if (next_ >= script_.Steps().size()) {
            over_ = true;
            overAt_ = now;
            return;
        }
        if (!IsDue(nextStepAt_, now)) return;
        const ScriptStep& step = script_.Steps()[next_++];
        nextStepAt_ += Expand(step, nextStepAt_);
    }
}

uint32_t Timeline::Expand(const ScriptStep& step, uint32_t t)
{
    using Op = Action::Op;
    using Kind = ScriptStep::Kind;
    auto push = [&](uint32_t at, Op op, Point where = {0, 0}, uint16_t mods = 0) {
        Action a{at, op, where, mods};
        a.step = &step;
        pending_.push_back(a);
        return &pending_.back();
    };
    switch (step.kind) {
    case Kind::Move:
        push(t, Op::Mouse, step.to);
        return 1;
    case Kind::Press:
        push(t, Op::Down, step.to, step.modifiers);
        return 1;
    case Kind::Release:
        push(t, Op::Up, mouse_, step.modifiers);
        return 1;
    case Kind::Click:
        push(t, Op::Down, step.to, step.modifiers);
        push(t + 1, Op::Up, step.to, step.modifiers);
        return 2;
    case Kind::DoubleClick:
        push(t, Op::Down, step.to, step.modifiers);
        push(t + 1, Op::Up, step.to, step.modifiers);
        push(t + 3, Op::Down, step.to, step.modifiers);
        push(t + 4, Op::Up, step.to, step.modifiers);
        return 5;
    case Kind::Drag:
        push(t, Op::Down, step.from, step.modifiers);
        for (uint32_t i = 1; i < step.ticks; ++i)
            push(t + i, Op::Mouse, Between(step.from, step.to, i, step.ticks), step.modifiers);
        push(t + step.ticks, Op::Mouse, step.to, step.modifiers);
        push(t + step.ticks, Op::Up, step.to, step.modifiers);
        return step.ticks + 1;
    case Kind::Type: {
        uint32_t at = t;
        for (char c : step.text) {
            uint8_t code = uint8_t(c);
            uint8_t keyCode = 0xFF;
            bool shift = false;
            KeyForCharacter(code, &keyCode, &shift);
            uint16_t mods = shift ? shiftKey : 0;
            Action* down = push(at, Op::KeyDown, {0, 0}, mods);
            down->charCode = code;
            down->keyCode = keyCode;
            Action* up = push(at + 1, Op::KeyUp, {0, 0}, mods);
            up->charCode = code;
            up->keyCode = keyCode;
            at += 2;
        }
        return at - t;
    }
    case Kind::Key: {
        Action* down = push(t, Op::KeyDown, {0, 0}, step.modifiers);
        down->charCode = step.charCode;
        down->keyCode = step.keyCode;
        Action* up = push(t + 1, Op::KeyUp, {0, 0}, step.modifiers);
        up->charCode = step.charCode;
        up->keyCode = step.keyCode;
        return 2;
    }
    case Kind::Text:
        push(t, Op::Text);
        return 2;
    case Kind::Wheel:
        push(t, Op::Wheel, mouse_, step.modifiers);
        return 1;
    case Kind::Wait:
        return step.ticks;
    case Kind::WaitIdle:
        waitingIdle_ = true;
        return 0;
    case Kind::Screenshot:
        push(t, Op::Screenshot);
        return 0;
    case Kind::AnswerFileDialog:
        push(t, Op::Answer);
        return 0;
    case Kind::ChooseItem:
        push(t, Op::Choose);
        return 0;
    case Kind::SendHighLevel:
        push(t, Op::Send);
        return 0;
    case Kind::Clipboard:
        push(t, Op::Clipboard);
        return 0;
    case Kind::End:
        push(t, Op::Quit);
        next_ = script_.Steps().size();
        return 0;
    case Kind::Hold:
        held_ = true;
        next_ = script_.Steps().size();
        return 0;
    }
    return 0;
}

void Timeline::Apply(const Action& a)
{
    using Op = Action::Op;
    switch (a.op) {
    case Op::Mouse:
        mouse_ = a.where;
        InputMouseMoved(a.where);
        break;
    case Op::Down:
    case Op::Up:
        mouse_ = a.where;
        InputButton(a.op == Op::Down, a.where, a.op == Op::Down ? a.modifiers : 0);
        break;
    case Op::KeyDown:
    case Op::KeyUp:
        InputKey(a.op == Op::KeyDown, false, a.charCode, a.keyCode, a.op == Op::KeyDown ? a.modifiers : 0);
        break;
    case Op::Text:
        if (InputText(a.step->text, 0, 0) > 0) SysBeep(1);
        break;
    case Op::Wheel: {
        // The modifiers hold for the wheel's event only, as a key held
        // while turning it; the horizontal wheel reads as shift.
        const uint16_t before = CurrentInput().modifiers;
        InputModifiers(a.modifiers);
        InputWheel(a.step->lines, a.step->horizontal);
        InputModifiers(before);
        break;
    }
    case Op::Screenshot:
        if (!screenshot_ || screenshot_(a.step->text) != noErr) {
            ++screenshotFailures_;
            std::fprintf(stderr, "headless run: could not write the screenshot %s\n", a.step->text.c_str());
        }
        break;
    case Op::Answer: {
        FileDialogAnswer answer;
        if (ParseFileDialogAnswer(a.step->text, &answer))
            PushFileDialogAnswer(std::move(answer));
        break;
    }
    case Op::Choose:
        PushDialogAnswer(int16_t(a.step->ticks));
        break;
    case Op::Send:
        PostHighLevelEvent(kCoreEventClass, a.step->eventID, a.step->documents);
        break;
    case Op::Clipboard:
        // Another program's text as it comes: its line ends (a script's \n
        // is a return) are the scrap's to read.
        ExternalClipboardChanged(a.step->text);
        break;
    case Op::Quit:
        PostHighLevelEvent(kCoreEventClass, kAEQuitApplication, {});
        break;
    }
}

}  // namespace platform

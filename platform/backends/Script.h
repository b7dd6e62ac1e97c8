// A headless run's input: timed steps played on the virtual clock. Tests
// build scripts with the calls below; runs of the program read the same
// steps from a text file (ParseScript).
//
// Each step starts when the one before it is over:
//   move H V                      the mouse to (H, V); 1 tick
//   press H V [mods]              button down at (H, V); 1 tick
//   release [mods]                button up; 1 tick
//   click H V [mods]              down, held 1 tick, up; 2 ticks
//   doubleclick H V [mods]        two clicks 3 ticks apart; 5 ticks
//   drag H1 V1 H2 V2 N [mods]     down at the first point, the mouse moves one
//                                 step a tick, up at the second after N ticks
//   type "TEXT"                   each character down and up; 2 ticks each
//   text "TEXT"                   the desktop's text input gives TEXT (UTF-8,
//                                 as from any layout or input method): a
//                                 key-down for each character Mac Roman
//                                 holds, a beep for the others; 2 ticks
//   key NAME [mods]               one key down and up; 2 ticks
//   wheel LINES [horizontal] [mods]  the wheel turns LINES lines (negative:
//                                 towards the user); horizontal for the
//                                 sideways wheel; 1 tick
//   wait N                        N ticks pass
//   idle                          until the program asks for an event and
//                                 finds none pending
//   screenshot PATH               the screen to a PNG file
//   answer PATH                   the next file dialog answers PATH
//   choose N                      the next modal dialog or alert answers
//                                 item N once drawn
//   send ID [PATH...]             a high-level event (oapp, odoc, pdoc, quit)
//   clipboard "TEXT"              another program copies TEXT (UTF-8, as
//                                 for text)
//   end                           asks the program to quit; the script is over
//   hold                          the script is over and the program waits in
//                                 real time for what comes from outside (a
//                                 quit signal); no watchdog ends the run
// Modifiers: cmd, shift, option, control, capslock. In TEXT, \" \\ \n (return)
// \t and \xNN (a Mac Roman byte) may be used. Lines starting with # are
// comments.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/MacTypes.h"

namespace platform {

struct ScriptStep {
    enum class Kind {
        Move, Press, Release, Click, DoubleClick, Drag, Type, Key, Wait, WaitIdle,
        Screenshot, AnswerFileDialog, ChooseItem, SendHighLevel, Clipboard, End, Wheel, Hold, Text,
    };
    Kind kind = Kind::Wait;
    Point from{0, 0};
    Point to{0, 0};
    uint32_t ticks = 0;
    uint16_t modifiers = 0;
    uint8_t keyCode = 0;
    uint8_t charCode = 0;
    int16_t lines = 0;        // wheel
    bool horizontal = false;  // wheel
    std::string text;  // typed Mac Roman text, input UTF-8 text, or a path
    OSType eventID = 0;
    std::vector<std::string> documents;
};

class Script {
public:
    Script& Move(int16_t h, int16_t v);
    Script& Press(int16_t h, int16_t v, uint16_t modifiers = 0);
    Script& Release(uint16_t modifiers = 0);
    Script& Click(int16_t h, int16_t v, uint16_t modifiers = 0);
    Script& DoubleClick(int16_t h, int16_t v, uint16_t modifiers = 0);
    Script& Drag(int16_t h1, int16_t v1, int16_t h2, int16_t v2, uint32_t ticks, uint16_t modifiers = 0);
    // Mac Roman text.
    Script& Type(std::string_view text);
    // UTF-8 text from the desktop's text input.
    Script& Text(std::string_view utf8);
    Script& Key(uint8_t charCode, uint8_t keyCode, uint16_t modifiers = 0);
    // A key by its script name ("return", "left", "c"...); false when unknown.
    bool Key(std::string_view name, uint16_t modifiers = 0);
    // The wheel over the mouse's place; horizontal for the sideways wheel.
    Script& Wheel(int16_t lines, bool horizontal = false, uint16_t modifiers = 0);
    Script& Wait(uint32_t ticks);
    Script& WaitIdle();
    Script& Screenshot(std::string path);
    // The next dialog's answer: a path, "cancel", "choose" or "button N".
    Script& AnswerFileDialog(std::string path);
    Script& Choose(int16_t item);
    Script& Send(OSType eventID, std::vector<std::string> documents = {});
    // Another program puts UTF-8 text on the system clipboard.
    Script& Clipboard(std::string text);
    Script& End();
    Script& Hold();

    const std::vector<ScriptStep>& Steps() const { return steps_; }
    void Add(ScriptStep step) { steps_.push_back(std::move(step)); }

private:
    std::vector<ScriptStep> steps_;
};

// Reads a script's text. On a bad line answers false with the line number
// and what is wrong in *error.
bool ParseScript(std::string_view text, Script* script, std::string* error);
bool LoadScriptFile(const std::string& path, Script* script, std::string* error);

}  // namespace platform

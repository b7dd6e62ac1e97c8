#include "platform/backends/Script.h"

#include "platform/events/FileDialogAnswers.h"

#include <charconv>
#include <fstream>
#include <sstream>

#include "platform/events/Events.h"
#include "platform/events/HostKeys.h"
#include "platform/text/Utf8.h"

namespace platform {

Script& Script::Move(int16_t h, int16_t v)
{
    ScriptStep s;
    s.kind = ScriptStep::Kind::Move;
    s.to = {v, h};
    Add(s);
    return *this;
}

Script& Script::Press(int16_t h, int16_t v, uint16_t modifiers)
{
    ScriptStep s;
    s.kind = ScriptStep::Kind::Press;
    s.to = {v, h};
    s.modifiers = modifiers;
    Add(s);
    return *this;
}

Script& Script::Release(uint16_t modifiers)
{
    ScriptStep s;
    s.kind = ScriptStep::Kind::Release;
    s.modifiers = modifiers;
    Add(s);
    return *this;
}

Script& Script::Click(int16_t h, int16_t v, uint16_t modifiers)
{
    ScriptStep s;
    s.kind = ScriptStep::Kind::Click;
    s.to = {v, h};
    s.modifiers = modifiers;
    Add(s);
    return *this;
}

Script& Script::DoubleClick(int16_t h, int16_t v, uint16_t modifiers)
{
    ScriptStep s;
    s.kind = ScriptStep::Kind::DoubleClick;
    s.to = {v, h};
    s.modifiers = modifiers;
    Add(s);
    return *this;
}

Script& Script::Drag(int16_t h1, int16_t v1, int16_t h2, int16_t v2, uint32_t ticks, uint16_t modifiers)
{
    ScriptStep s;
    s.kind = ScriptStep::Kind::Drag;
    s.from = {v1, h1};
    s.to = {v2, h2};
    s.ticks = ticks;
    s.modifiers = modifiers;
    Add(s);
    return *this;
}

Script& Script::Type(std::string_view text)
{
    ScriptStep s;
    s.kind = ScriptStep::Kind::Type;
    s.text = std::string(text);
    Add(s);
    return *this;
}

Script& Script::Text(std::string_view utf8)
{
    ScriptStep s;
    s.kind = ScriptStep::Kind::Text;
    s.text = std::string(utf8);
    Add(s);
    return *this;
}

Script& Script::Key(uint8_t charCode, uint8_t keyCode, uint16_t modifiers)
{
    ScriptStep s;
    s.kind = ScriptStep::Kind::Key;
    s.charCode = charCode;
    s.keyCode = keyCode;
    s.modifiers = modifiers;
    Add(s);
    return *this;
}

bool Script::Key(std::string_view name, uint16_t modifiers)
{
    MacKey key;
    if (!NamedKey(name, &key)) return false;
    Key(key.charCode, key.keyCode, modifiers);
    return true;
}

Script& Script::Wheel(int16_t lines, bool horizontal, uint16_t modifiers)
{
    ScriptStep s;
    s.kind = ScriptStep::Kind::Wheel;
    s.lines = lines;
    s.horizontal = horizontal;
    s.modifiers = modifiers;
    Add(s);
    return *this;
}

Script& Script::Wait(uint32_t ticks)
{
    ScriptStep s;
    s.kind = ScriptStep::Kind::Wait;
    s.ticks = ticks;
    Add(s);
    return *this;
}

Script& Script::WaitIdle()
{
    ScriptStep s;
    s.kind = ScriptStep::Kind::WaitIdle;
    Add(s);
    return *this;
}

Script& Script::Screenshot(std::string path)
{
    ScriptStep s;
    s.kind = ScriptStep::Kind::Screenshot;
    s.text = std::move(path);
    Add(s);
    return *this;
}

Script& Script::AnswerFileDialog(std::string path)
{
    ScriptStep s;
    s.kind = ScriptStep::Kind::AnswerFileDialog;
    s.text = std::move(path);
    Add(s);
    return *this;
}

Script& Script::Send(OSType eventID, std::vector<std::string> documents)
{
    ScriptStep s;
    s.kind = ScriptStep::Kind::SendHighLevel;
    s.eventID = eventID;
    s.documents = std::move(documents);
    Add(s);
    return *this;
}

Script& Script::Choose(int16_t item)
{
    ScriptStep s;
    s.kind = ScriptStep::Kind::ChooseItem;
    s.ticks = uint32_t(uint16_t(item));
    steps_.push_back(std::move(s));
    return *this;
}

Script& Script::Clipboard(std::string text)
{
    ScriptStep s;
    s.kind = ScriptStep::Kind::Clipboard;
    s.text = std::move(text);
    Add(s);
    return *this;
}

Script& Script::End()
{
    ScriptStep s;
    s.kind = ScriptStep::Kind::End;
    Add(s);
    return *this;
}

Script& Script::Hold()
{
    ScriptStep s;
    s.kind = ScriptStep::Kind::Hold;
    Add(s);
    return *this;
}

namespace {

OSType CodeFromText(const std::string& s)
{
    OSType code = 0;
    for (char c : s) code = (code << 8) | uint8_t(c);
    return code;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Splits a line into words; a quoted word keeps its spaces and takes escapes.
bool SplitWords(std::string_view line, std::vector<std::string>* words, std::string* error)
{
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
        if (i >= line.size()) break;
        std::string word;
        if (line[i] != '"') {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') word += line[i++];
            words->push_back(word);
            continue;
        }
        ++i;
        bool closed = false;
        while (i < line.size()) {
            char c = line[i++];
            if (c == '"') {
                closed = true;
                break;
            }
            if (c != '\\') {
                word += c;
                continue;
            }
            if (i >= line.size()) break;
            char e = line[i++];
            if (e == 'n') word += '\r';
            else if (e == 't') word += '\t';
            else if (e == 'x') {
                int hi = i < line.size() ? HexDigit(line[i]) : -1;
                int lo = i + 1 < line.size() ? HexDigit(line[i + 1]) : -1;
                if (hi < 0 || lo < 0) {
                    *error = "bad \\x escape";
                    return false;
                }
                word += char(hi * 16 + lo);
                i += 2;
            } else word += e;
        }
        if (!closed) {
            *error = "unclosed quote";
            return false;
        }
        words->push_back(word);
    }
    return true;
}

bool ParseInt(const std::string& s, int32_t lo, int32_t hi, int32_t* out)
{
    int32_t v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || v < lo || v > hi) return false;
    *out = v;
    return true;
}

bool ParseModifiers(const std::vector<std::string>& words, size_t from, uint16_t* mods, std::string* error)
{
    *mods = 0;
    for (size_t i = from; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "cmd") *mods |= cmdKey;
        else if (w == "shift") *mods |= shiftKey;
        else if (w == "option") *mods |= optionKey;
        else if (w == "control") *mods |= controlKey;
        else if (w == "capslock") *mods |= alphaLock;
        else {
            *error = "unknown modifier '" + w + "'";
            return false;
        }
    }
    return true;
}

bool ParseLine(const std::vector<std::string>& w, Script* script, std::string* error)
{
    const std::string& op = w[0];
    int32_t n[5] = {};
    auto ints = [&](size_t count) {
        if (w.size() < count + 1) {
            *error = "'" + op + "' needs " + std::to_string(count) + " numbers";
            return false;
        }
        for (size_t i = 0; i < count; ++i) {
            int32_t lo = (op == "drag" && i == 4) ? 0 : -32768;
            int32_t hi = (op == "drag" && i == 4) ? 100000 : 32767;
            if (op == "wait") lo = 0, hi = 0x7FFFFFFF;
            if (!ParseInt(w[i + 1], lo, hi, &n[i])) {
                *error = "bad number '" + w[i + 1] + "'";
                return false;
            }
        }
        return true;
    };
    uint16_t mods = 0;
    auto h = [&](int i) { return int16_t(n[i]); };
    if (op == "move") {
        if (!ints(2)) return false;
        if (w.size() > 3) return *error = "too many words", false;
        script->Move(h(0), h(1));
    } else if (op == "press") {
        if (!ints(2) || !ParseModifiers(w, 3, &mods, error)) return false;
        script->Press(h(0), h(1), mods);
    } else if (op == "release") {
        if (!ParseModifiers(w, 1, &mods, error)) return false;
        script->Release(mods);
    } else if (op == "click" || op == "doubleclick") {
        if (!ints(2) || !ParseModifiers(w, 3, &mods, error)) return false;
        if (op == "click") script->Click(h(0), h(1), mods);
        else script->DoubleClick(h(0), h(1), mods);
    } else if (op == "drag") {
        if (!ints(5) || !ParseModifiers(w, 6, &mods, error)) return false;
        script->Drag(h(0), h(1), h(2), h(3), uint32_t(n[4]), mods);
    } else if (op == "type") {
        if (w.size() != 2) return *error = "'type' takes one text", false;
        script->Type(w[1]);
    } else if (op == "text") {
        if (w.size() != 2) return *error = "'text' takes one text", false;
        script->Text(w[1]);
    } else if (op == "key") {
        if (w.size() < 2) return *error = "'key' needs a key name", false;
        if (!ParseModifiers(w, 2, &mods, error)) return false;
        if (!script->Key(w[1], mods)) return *error = "unknown key '" + w[1] + "'", false;
    } else if (op == "wheel") {
        if (!ints(1)) return false;
        size_t next = 2;
        bool horizontal = w.size() > 2 && w[2] == "horizontal";
        if (horizontal) ++next;
        if (!ParseModifiers(w, next, &mods, error)) return false;
        script->Wheel(h(0), horizontal, mods);
    } else if (op == "wait") {
        if (w.size() != 2 || !ints(1)) return *error = "'wait' takes a tick count", false;
        script->Wait(uint32_t(n[0]));
    } else if (op == "idle" || op == "end" || op == "hold") {
        if (w.size() != 1) return *error = "'" + op + "' takes nothing", false;
        if (op == "idle") script->WaitIdle();
        else if (op == "end") script->End();
        else script->Hold();
    } else if (op == "answer") {
        std::string text;
        for (size_t i = 1; i < w.size(); ++i) text += (i > 1 ? " " : "") + w[i];
        if (!ParseFileDialogAnswer(text, nullptr))
            return *error = "'answer' takes a path, 'cancel', 'choose', 'button N', 'popup N' or 'files PATH | PATH'", false;
        script->AnswerFileDialog(text);
    } else if (op == "screenshot") {
        if (w.size() != 2) return *error = "'screenshot' takes one path", false;
        script->Screenshot(w[1]);
    } else if (op == "choose") {
        if (w.size() != 2 || !ints(1) || n[0] < 1 || n[0] > 32767) return *error = "'choose' takes an item number", false;
        script->Choose(int16_t(n[0]));
    } else if (op == "clipboard") {
        if (w.size() != 2 || !IsUtf8(w[1])) return *error = "'clipboard' takes one text, in UTF-8", false;
        script->Clipboard(w[1]);
    } else if (op == "send") {
        if (w.size() < 2 || w[1].size() != 4) return *error = "'send' needs a four-character event", false;
        script->Send(CodeFromText(w[1]), std::vector<std::string>(w.begin() + 2, w.end()));
    } else {
        *error = "unknown step '" + op + "'";
        return false;
    }
    return true;
}

}  // namespace

bool ParseScript(std::string_view text, Script* script, std::string* error)
{
    std::string scratch;
    if (!error) error = &scratch;
    int lineNumber = 0;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        ++lineNumber;
        // A comment line is passed over whole, whatever it holds.
        const size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string_view::npos || line[first] == '#') continue;
        std::vector<std::string> words;
        std::string why;
        bool ok = SplitWords(line, &words, &why);
        if (ok) ok = ParseLine(words, script, &why);
        if (!ok) {
            *error = "line " + std::to_string(lineNumber) + ": " + why;
            return false;
        }
    }
    return true;
}

bool LoadScriptFile(const std::string& path, Script* script, std::string* error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error) *error = "cannot read " + path;
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    return ParseScript(text.str(), script, error);
}

}  // namespace platform

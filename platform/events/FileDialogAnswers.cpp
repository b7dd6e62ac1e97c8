#include "platform/events/FileDialogAnswers.h"

#include <deque>

namespace platform {
namespace {

std::deque<FileDialogAnswer>& Answers()
{
    static auto* answers = new std::deque<FileDialogAnswer>;
    return *answers;
}

}  // namespace

bool ParseFileDialogAnswer(std::string_view text, FileDialogAnswer* answer)
{
    FileDialogAnswer a;
    if (text.empty())
        return false;
    if (text == "cancel") {
        a.kind = FileDialogAnswer::Kind::Cancel;
    } else if (text == "choose") {
        a.kind = FileDialogAnswer::Kind::Choose;
    } else if (text.substr(0, 6) == "button" && (text.size() == 6 || text[6] == ' ')) {
        std::string_view n = text.size() > 7 ? text.substr(7) : std::string_view();
        if (n.size() != 1 || n[0] < '1' || n[0] > '9')
            return false;
        a.kind = FileDialogAnswer::Kind::Button;
        a.button = int16_t(n[0] - '0');
    } else if (text.substr(0, 6) == "popup " && text.size() > 6 && text.size() <= 9) {
        std::string_view n = text.substr(6);
        int16_t entry = 0;
        for (char c : n) {
            if (c < '0' || c > '9')
                return false;
            entry = int16_t(entry * 10 + (c - '0'));
        }
        if (entry < 1)
            return false;
        a.kind = FileDialogAnswer::Kind::Popup;
        a.button = entry;
    } else if (text.substr(0, 6) == "files ") {
        std::string_view rest = text.substr(6);
        while (true) {
            const size_t bar = rest.find(" | ");
            std::string_view one = rest.substr(0, bar);
            if (one.empty())
                return false;
            a.paths.emplace_back(one);
            if (bar == std::string_view::npos)
                break;
            rest = rest.substr(bar + 3);
        }
        a.kind = FileDialogAnswer::Kind::Paths;
    } else {
        a.path = std::string(text);
    }
    if (answer)
        *answer = std::move(a);
    return true;
}

void PushFileDialogAnswer(FileDialogAnswer answer) { Answers().push_back(std::move(answer)); }

bool TakeFileDialogAnswer(FileDialogAnswer* answer)
{
    if (Answers().empty())
        return false;
    if (answer)
        *answer = std::move(Answers().front());
    Answers().pop_front();
    return true;
}

bool HasFileDialogAnswer() { return !Answers().empty(); }

void PushFileDialogAnswer(std::string path)
{
    FileDialogAnswer a;
    a.path = std::move(path);
    PushFileDialogAnswer(std::move(a));
}

bool TakeFileDialogAnswer(std::string* path)
{
    FileDialogAnswer a;
    if (!TakeFileDialogAnswer(&a))
        return false;
    if (path)
        *path = a.kind == FileDialogAnswer::Kind::Path ? a.path : std::string();
    return true;
}

void ClearFileDialogAnswers() { Answers().clear(); }

}  // namespace platform

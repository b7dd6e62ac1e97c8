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

#include "platform/events/FileDialogAnswers.h"

#include <deque>

namespace platform {
namespace {

std::deque<DialogAnswer>& Answers()
{
    static auto* answers = new std::deque<DialogAnswer>;
    return *answers;
}

}  // namespace

bool ParseDialogAnswer(std::string_view text, DialogAnswer* answer)
{
    DialogAnswer a;
    if (text.empty())
        return false;
    if (text == "cancel") {
        a.kind = DialogAnswer::Kind::Cancel;
    } else if (text == "choose") {
        a.kind = DialogAnswer::Kind::Choose;
    } else if (text.substr(0, 6) == "button" && (text.size() == 6 || text[6] == ' ')) {
        std::string_view n = text.size() > 7 ? text.substr(7) : std::string_view();
        if (n.size() != 1 || n[0] < '1' || n[0] > '9')
            return false;
        a.kind = DialogAnswer::Kind::Button;
        a.button = int16_t(n[0] - '0');
    } else {
        a.path = std::string(text);
    }
    if (answer)
        *answer = std::move(a);
    return true;
}

void PushDialogAnswer(DialogAnswer answer) { Answers().push_back(std::move(answer)); }

bool TakeDialogAnswer(DialogAnswer* answer)
{
    if (Answers().empty())
        return false;
    if (answer)
        *answer = std::move(Answers().front());
    Answers().pop_front();
    return true;
}

bool HasDialogAnswer() { return !Answers().empty(); }

void PushFileDialogAnswer(std::string path)
{
    DialogAnswer a;
    a.path = std::move(path);
    PushDialogAnswer(std::move(a));
}

bool TakeFileDialogAnswer(std::string* path)
{
    DialogAnswer a;
    if (!TakeDialogAnswer(&a))
        return false;
    if (path)
        *path = a.kind == DialogAnswer::Kind::Path ? a.path : std::string();
    return true;
}

void ClearFileDialogAnswers() { Answers().clear(); }

}  // namespace platform

#include "platform/events/FileDialogAnswers.h"

#include <deque>

namespace platform {
namespace {

std::deque<std::string>& Answers()
{
    static auto* answers = new std::deque<std::string>;
    return *answers;
}

}  // namespace

void PushFileDialogAnswer(std::string path) { Answers().push_back(std::move(path)); }

bool TakeFileDialogAnswer(std::string* path)
{
    if (Answers().empty()) return false;
    if (path) *path = Answers().front();
    Answers().pop_front();
    return true;
}

void ClearFileDialogAnswers() { Answers().clear(); }

}  // namespace platform

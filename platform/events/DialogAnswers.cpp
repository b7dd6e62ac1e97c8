#include "platform/events/DialogAnswers.h"

#include <deque>
#include <new>

namespace platform {
namespace {

std::deque<int16_t>& Answers()
{
    static auto* answers = new std::deque<int16_t>;
    return *answers;
}

}  // namespace

void PushDialogAnswer(int16_t item)
{
    try {
        Answers().push_back(item);
    } catch (const std::bad_alloc&) {
        // The script's answer is lost; the dialog waits for input instead.
    }
}

bool TakeDialogAnswer(int16_t* item)
{
    if (Answers().empty()) return false;
    if (item) *item = Answers().front();
    Answers().pop_front();
    return true;
}

void ClearDialogAnswers() { Answers().clear(); }

}  // namespace platform

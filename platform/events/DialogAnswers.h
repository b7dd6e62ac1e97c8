// Answers for modal dialogs and alerts, queued by headless scripts
// ("choose N"): the next dialog, once drawn, answers the item instead of
// waiting for the user.
#pragma once

#include <cstdint>

namespace platform {

void PushDialogAnswer(int16_t item);
// Takes the oldest queued answer; false when there is none.
bool TakeDialogAnswer(int16_t* item);
void ClearDialogAnswers();

}  // namespace platform

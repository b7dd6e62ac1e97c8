// Answers for the file dialogs, queued by headless scripts: a dialog that
// finds one takes it instead of asking the user.
#pragma once

#include <string>

namespace platform {

void PushFileDialogAnswer(std::string path);
// Takes the oldest queued answer; false when there is none.
bool TakeFileDialogAnswer(std::string* path);
void ClearFileDialogAnswers();

}  // namespace platform

// Answers for the file, page set-up and print dialogs, queued by headless
// scripts: a dialog that finds one takes it instead of asking the user.
// A script writes them as "answer PATH", "answer cancel", "answer button N"
// (a dialog's own extra button), "answer choose" (accept the dialog as
// it stands), "answer popup N" (pick entry N of the type pop-up, 1-based,
// and wait for the next answer) and "answer files PATH | PATH ..." (open
// several files of one folder at once).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct FileDialogAnswer {
    enum class Kind : uint8_t { Path, Cancel, Button, Choose, Popup, Paths };
    Kind kind = Kind::Path;
    std::string path;
    int16_t button = 0;               // Button: the button; Popup: the entry
    std::vector<std::string> paths;  // Paths
};

// Reads the words after "answer"; false (and nothing made) for "button"
// without a number from 1 to 9, "popup" without one from 1 to 999, "files"
// with an empty path, or an empty text.
bool ParseFileDialogAnswer(std::string_view text, FileDialogAnswer* answer);
void PushFileDialogAnswer(FileDialogAnswer answer);
// Takes the oldest queued answer; false when there is none.
bool TakeFileDialogAnswer(FileDialogAnswer* answer);
bool HasFileDialogAnswer();

// For callers that only take paths: every other answer reads as an empty
// path (the dialog was cancelled).
void PushFileDialogAnswer(std::string path);
bool TakeFileDialogAnswer(std::string* path);
void ClearFileDialogAnswers();

}  // namespace platform

// Headless scripts, with the file dialogs' answers among their steps.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/backends/Script.h"
#include "platform/events/FileDialogAnswers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    platform::Script script;
    std::string error;
    platform::ParseScript(text, &script, &error);
    platform::FileDialogAnswer answer;
    platform::ParseFileDialogAnswer(text, &answer);
    return 0;
}

#include "toolbox/files/PartDialogHooks.h"

#include <string>

#include "platform/events/FileDialogAnswers.h"
#include "platform/files/ColonPath.h"
#include "toolbox/files/FileNames.h"
#include "toolbox/files/VFile.h"
#include "toolbox/foundation/VText.h"

namespace {

PartDialogHooks& Hooks()
{
    static PartDialogHooks hooks;
    return hooks;
}

VFile* TakeScriptedAnswer(const VString&)
{
    std::string answer;
    if (!platform::TakeFileDialogAnswer(&answer) || answer.empty()) return nullptr;
    std::string colon = answer;
    if (answer[0] == '/' && platform::PosixPathToColon(answer, &colon) != 0) return nullptr;
    VText path;
    FromUtf8(colon, path);
    return new VFile(path);
}

}  // namespace

void SetPartDialogHooks(const PartDialogHooks& hooks) { Hooks() = hooks; }
void ResetPartDialogHooks() { Hooks() = PartDialogHooks{}; }

VFile* LocateMissingPart(const VString& expectedName)
{
    auto f = Hooks().locatePart;
    return f ? f(expectedName) : TakeScriptedAnswer(expectedName);
}

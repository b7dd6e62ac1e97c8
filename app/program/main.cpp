// qzbrowser: the structure browser. No arguments but documents to open
// ("--print" to print their lists too); input from the live window, or
// from the script that QZ_SCRIPT names. A command line it does not take
// ends the run at once with status 2.
#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/documents/DocHooks.h"
#include "app/appl/CommandHooks.h"
#include "app/appl/LastResort.h"
#include "app/dialogs/Messages.h"
#include "app/appl/TAppl.h"
#include "app/program/Backends.h"
#include "app/program/DocumentHooks.h"
#include "browser/Panes.h"
#include "browser/dialogs/BlockingDialog.h"
#include "browser/doctext/DocText.h"
#include "forms/drawing/FormPreview.h"
#include "forms/drawing/StaticPictures.h"
#include "forms/model/LayoutEditor.h"
#include "looks/LookManager.h"
#include "platform/appleevents/EventSources.h"
#include "platform/core/Memory.h"
#include "transfer/InstallTransfer.h"
#include "transfer/dialogs/ConflictPreferences.h"

namespace {

constexpr int kUsageExitStatus = 2;
constexpr const char* kUsage =
    "usage: qzbrowser [--print] [--] [DOCUMENT...]\n"
    "  DOCUMENT  a structure (.QzB) or library (.QTL) to open\n"
    "  --print   open the documents and print the list of each, as File > Print List... does\n"
    "  --        what follows is a document, even when it begins with -\n";

int RunWithInput(const std::vector<std::string>& arguments, ProgramInput* input);

int RunProgram(int argc, char** argv)
{
    std::string note, error;
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (!platform::CheckCommandLine(arguments, &error)) {
        std::fprintf(stderr, "qzbrowser: %s\n%s", error.c_str(), kUsage);
        return kUsageExitStatus;
    }
    std::unique_ptr<ProgramInput> input = StartInput(&note, &error);
    if (!input) {
        std::fprintf(stderr, "qzbrowser: %s\n", error.c_str());
        return 1;
    }
    if (!note.empty()) std::fprintf(stderr, "qzbrowser: %s\n", note.c_str());
    platform::InstallQuitSignals();
    // Memory running out where no command takes it back: the windows are
    // still there to keep the editors' typing and say that the program ends.
    try {
        return RunWithInput(arguments, input.get());
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "qzbrowser: not enough memory to go on.\n");
        lastresort::EndForWantOfMemory();
        return 1;
    }
}

int RunWithInput(const std::vector<std::string>& arguments, ProgramInput* input)
{
    std::string error;
    InstallSecurityStart();
    if (const int16_t err = ApplInitAll(); err != 0) {
        std::fprintf(stderr, "qzbrowser: %s (error %d)\n", ApplInitAllMessage(), int(err));
        return 1;
    }
    if (!platform::PostCommandLineEvents(arguments, &error)) {
        std::fprintf(stderr, "qzbrowser: %s\n", error.c_str());
        return 1;
    }
    auto* appl = new (std::nothrow) TAppl;
    if (!appl) {
        std::fprintf(stderr, "qzbrowser: not enough memory to start.\n");
        return 1;
    }
    MyAppl = appl;
    InstallDocumentHooks();
    // The form objects answer to their form models, are drawn by the look
    // manager and find the structure's static pictures.
    InstallFormModelHooks();
    InitVI();
    InstallStaticPictures();
    // Copies of a form's objects and printed forms carry their pictures.
    SetFormPreviewProc(FormPagePreview);
    // Documentation bodies are read and written with their styles.
    DocHooks().styleHteToRes = browser::StyleHteToRes;
    DocHooks().styleResToHte = browser::StyleResToHte;
    DocHooks().plainHteToRes = browser::HteToRes;
    DocHooks().plainResToHte = browser::ResToHte;
    browser::InstallBrowserPanes();
    transfer::InstallTransfer();
    CommandHooks().conflictPreferences = transfer::C_Preferences;
    CommandHooks().blockingPreferences = browser::BlockingPref;
    const int16_t result = appl->ITAppl();
    if (result != 0) {
        std::fprintf(stderr, "qzbrowser: memory is too short to go on (error %d).\n", int(result));
        delete appl;
        ApplDisposeAll();
        return 1;
    }
    lastresort::Prepare();
    DelTempFiles();
    appl->Run();
    delete appl;
    ApplDisposeAll();
    return input->EndStatus();
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        return RunProgram(argc, argv);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "qzbrowser: not enough memory to go on.\n");
        return 1;
    }
}

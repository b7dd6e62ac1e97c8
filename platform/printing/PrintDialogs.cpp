// The page set-up and print dialogs. Each runs to its end inside the call
// that shows it; as a sheet it calls its completion procedure once, before
// that call returns, so a caller waiting for the sheet finds it done.
#include "platform/events/Backend.h"
#include "platform/events/Events.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/printing/PrintObjects.h"

namespace platform {

namespace {

enum class Outcome : uint8_t { Accepted, Cancelled };

// A queued answer: "choose" or button 1 accepts, "cancel" or button 2
// cancels; a path accepts the print dialog with that PDF file as the
// destination. The dialog waits for its answer while the run goes on; a
// run that is over (or has no input at all) cancels it.
Outcome RunDialog(PMPrintSession, PMPrintSettings settings)
{
    DialogAnswer answer;
    while (!TakeDialogAnswer(&answer)) {
        Backend* backend = CurrentBackend();
        if (!backend || backend->Ended())
            return Outcome::Cancelled;
        EventRecord event;
        WaitNextEvent(everyEvent, &event, 30, nullptr);
    }
    switch (answer.kind) {
    case DialogAnswer::Kind::Choose: return Outcome::Accepted;
    case DialogAnswer::Kind::Cancel: return Outcome::Cancelled;
    case DialogAnswer::Kind::Button: return answer.button == 1 ? Outcome::Accepted : Outcome::Cancelled;
    case DialogAnswer::Kind::Path:
        if (!settings || answer.path.empty())
            return Outcome::Cancelled;
        settings->destination = kPMDestinationFile;
        settings->destinationFormat = kPMDocumentFormatPDF;
        settings->destinationLocation = answer.path;
        return Outcome::Accepted;
    }
    return Outcome::Cancelled;
}

void Finish(PMPrintSession session, bool accepted, Boolean* result)
{
    if (result)
        *result = accepted;
    if (session->useSheets && session->sheetDone)
        session->sheetDone(session, session->sheetWindow, accepted);
}

}  // namespace

OSStatus PMSessionUseSheets(PMPrintSession session, WindowRecord* documentWindow, PMSheetDoneProcPtr done)
{
    if (!session)
        return kPMInvalidParameter;
    session->useSheets = documentWindow != nullptr;
    session->sheetWindow = documentWindow;
    session->sheetDone = documentWindow ? done : nullptr;
    return kPMNoError;
}

OSStatus PMSessionPageSetupDialog(PMPrintSession session, PMPageFormat format, Boolean* accepted)
{
    if (!session || !format)
        return kPMInvalidParameter;
    if (accepted)
        *accepted = false;
    ValidateFormat(format);
    bool ok = RunDialog(session, nullptr) == Outcome::Accepted;
    Finish(session, ok, accepted);
    return kPMNoError;
}

OSStatus PMSessionPrintDialog(PMPrintSession session, PMPrintSettings settings, PMPageFormat format,
                              Boolean* accepted)
{
    if (!session || !settings)
        return kPMInvalidParameter;
    if (accepted)
        *accepted = false;
    ValidateSettings(settings);
    if (format)
        ValidateFormat(format);
    PMSettingsObject before = *settings;
    bool ok = RunDialog(session, settings) == Outcome::Accepted;
    if (!ok) {
        // A cancelled dialog leaves the settings as they were.
        settings->destination = before.destination;
        settings->destinationFormat = before.destinationFormat;
        settings->destinationLocation = before.destinationLocation;
    }
    Finish(session, ok, accepted);
    return kPMNoError;
}

}  // namespace platform

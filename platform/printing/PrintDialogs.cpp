// The page set-up and print dialogs. Each runs to its end inside the call
// that shows it; as a sheet it calls its completion procedure once, before
// that call returns, so a caller waiting for the sheet finds it done.
//
// A script's answer ("answer choose", "answer cancel", "answer button N",
// or a path, which prints to that PDF file) answers the dialog; without
// one the dialog is shown and run modally.
#include <cstdlib>
#include <string>

#include "platform/controls/Controls.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/events/Backend.h"
#include "platform/events/Events.h"
#include "platform/events/FileDialogAnswers.h"
#include "platform/events/Modals.h"
#include "platform/filedialogs/ItemImage.h"
#include "platform/filedialogs/NavServices.h"
#include "platform/printing/PrintObjects.h"
#include "platform/screen/Screen.h"
#include "platform/windows/Windows.h"

namespace platform {

namespace {

enum class Outcome : uint8_t { Accepted, Cancelled, NotShown };

// Items of both dialogs.
enum : DialogItemIndex {
    kOK = 1,
    kCancel = 2,
    // page set-up
    kLetter = 4,
    kA4 = 5,
    kPortrait = 7,
    kLandscape = 8,
    kScale = 10,
    // print
    kSaveAsPDF = 3,
    kCopies = 5,
    kAllPages = 7,
    kSomePages = 8,
    kFromPage = 9,
    kToPage = 11,
};

// The Print button prints to the printer, whatever an earlier Save as PDF
// chose.
DialogItemIndex ToPrinter(PMPrintSettings settings)
{
    if (settings) {
        settings->destination = kPMDestinationPrinter;
        settings->destinationFormat.clear();
        settings->destinationLocation.clear();
    }
    return kOK;
}

// What a queued answer does to the dialog: the item it stands for, and
// for a path the PDF file to print to.
DialogItemIndex ItemFor(const FileDialogAnswer& answer, PMPrintSettings settings)
{
    switch (answer.kind) {
    case FileDialogAnswer::Kind::Choose: return ToPrinter(settings);
    case FileDialogAnswer::Kind::Cancel: return kCancel;
    case FileDialogAnswer::Kind::Button: return answer.button == 1 ? ToPrinter(settings) : DialogItemIndex(kCancel);
    case FileDialogAnswer::Kind::Path:
        if (!settings || answer.path.empty())
            return kCancel;
        settings->destination = kPMDestinationFile;
        settings->destinationFormat = kPMDocumentFormatPDF;
        settings->destinationLocation = answer.path;
        return kOK;
    case FileDialogAnswer::Kind::Popup:  // answers meant for file dialogs
    case FileDialogAnswer::Kind::Paths:
        return kCancel;
    }
    return kCancel;
}

PMPrintSettings filterSettings = nullptr;

// The modal loop's filter: a script's answer arriving while the dialog shows.
Boolean AnswerFilter(DialogRef, EventRecord*, DialogItemIndex* item)
{
    FileDialogAnswer answer;
    if (!TakeFileDialogAnswer(&answer))
        return false;
    *item = ItemFor(answer, filterSettings);
    return true;
}

Handle ItemHandle(DialogRef d, DialogItemIndex item)
{
    DialogItemType type;
    Handle h = nullptr;
    Rect box;
    GetDialogItem(d, item, &type, &h, &box);
    return h;
}

// The item's text as a whole number; -1 when it is none.
int32_t Number(DialogRef d, DialogItemIndex item)
{
    Str255 text{};
    if (Handle h = ItemHandle(d, item))
        GetDialogItemText(h, text);
    if (text[0] == 0 || text[0] > 6)
        return -1;
    int32_t n = 0;
    for (int i = 1; i <= text[0]; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        n = n * 10 + (text[i] - '0');
    }
    return n;
}

void SetValue(DialogRef d, DialogItemIndex item, int16_t value)
{
    ControlRef c = nullptr;
    if (GetDialogItemAsControl(d, item, &c) == noErr && c)
        SetControlValue(c, value);
}

DialogRef MakeDialog(const ItemList& items, const char* title, int16_t height)
{
    Handle ditl = items.Make();
    if (!ditl)
        return nullptr;
    const Rect screen = ScreenBounds();
    const int16_t left = int16_t((screen.right - screen.left - 360) / 2), top = int16_t(screen.top + 80);
    Rect bounds{top, left, int16_t(top + height), int16_t(left + 360)};
    DialogRef d = NewDialog(nullptr, &bounds, PString(title).data(), true, movableDBoxProc,
                            reinterpret_cast<WindowRef>(-1), false, 0, ditl);
    DisposeHandle(ditl);
    if (d) {
        SetDialogDefaultItem(d, kOK);
        SetDialogCancelItem(d, kCancel);
    }
    return d;
}

// The page set-up dialog: paper, orientation and scale.
Outcome RunPageSetup(PMPageFormat format)
{
    ItemList items;
    items.Add({150, 270, 170, 346}, kButtonDialogItem, "OK");
    items.Add({150, 180, 170, 256}, kButtonDialogItem, "Cancel");
    items.Add({16, 14, 32, 110}, kStaticTextDialogItem | itemDisable, "Paper:");
    items.Add({16, 120, 32, 230}, kRadioButtonDialogItem, "US Letter");
    items.Add({16, 240, 32, 340}, kRadioButtonDialogItem, "A4");
    items.Add({48, 14, 64, 110}, kStaticTextDialogItem | itemDisable, "Orientation:");
    items.Add({48, 120, 64, 230}, kRadioButtonDialogItem, "Portrait");
    items.Add({48, 240, 64, 340}, kRadioButtonDialogItem, "Landscape");
    items.Add({84, 14, 100, 110}, kStaticTextDialogItem | itemDisable, "Scale:");
    items.Add({84, 122, 100, 170}, kEditTextDialogItem, std::to_string(int32_t(format->scale)));
    items.Add({84, 176, 100, 200}, kStaticTextDialogItem | itemDisable, "%");
    DialogRef d = MakeDialog(items, "Page Setup", 184);
    if (!d)
        return Outcome::NotShown;
    bool a4 = format->paper == PMPaper::A4, landscape = format->orientation == kPMLandscape;
    Outcome outcome = Outcome::Cancelled;
    for (;;) {
        SetValue(d, kLetter, !a4);
        SetValue(d, kA4, a4);
        SetValue(d, kPortrait, !landscape);
        SetValue(d, kLandscape, landscape);
        DialogItemIndex hit = 0;
        ModalDialog(AnswerFilter, &hit);
        if (hit == kLetter || hit == kA4)
            a4 = hit == kA4;
        else if (hit == kPortrait || hit == kLandscape)
            landscape = hit == kLandscape;
        else if (hit == kOK) {
            int32_t scale = Number(d, kScale);
            if (scale < 25 || scale > 400) {
                SysBeep(1);
                SelectDialogItemText(d, kScale, 0, 32767);
                continue;
            }
            format->paper = a4 ? PMPaper::A4 : PMPaper::Letter;
            format->orientation = landscape ? kPMLandscape : kPMPortrait;
            format->scale = scale;
            outcome = Outcome::Accepted;
            break;
        } else if (hit == kCancel || hit == 0)
            break;
    }
    DisposeDialog(d);
    return outcome;
}

// The print dialog: copies, pages, and the printer or a PDF file.
Outcome RunPrint(PMPrintSettings settings)
{
    ItemList items;
    items.Add({150, 270, 170, 346}, kButtonDialogItem, "Print");
    items.Add({150, 180, 170, 256}, kButtonDialogItem, "Cancel");
    items.Add({150, 14, 170, 130}, kButtonDialogItem, "Save as PDF\xC9");
    items.Add({16, 14, 32, 80}, kStaticTextDialogItem | itemDisable, "Copies:");
    items.Add({16, 92, 32, 140}, kEditTextDialogItem, std::to_string(settings->copies));
    items.Add({48, 14, 64, 80}, kStaticTextDialogItem | itemDisable, "Pages:");
    items.Add({48, 90, 64, 150}, kRadioButtonDialogItem, "All");
    items.Add({72, 90, 88, 150}, kRadioButtonDialogItem, "From:");
    items.Add({72, 156, 88, 204}, kEditTextDialogItem, std::to_string(settings->firstPage));
    items.Add({72, 212, 88, 236}, kStaticTextDialogItem | itemDisable, "to:");
    items.Add({72, 242, 88, 290}, kEditTextDialogItem,
              settings->lastPage == kPMPrintAllPages ? std::string() : std::to_string(settings->lastPage));
    items.Add({108, 14, 140, 346}, kStaticTextDialogItem | itemDisable,
              "Printer: PDF, into the documents folder");
    DialogRef d = MakeDialog(items, "Print", 184);
    if (!d)
        return Outcome::NotShown;
    bool some = settings->firstPage != 1 || settings->lastPage != kPMPrintAllPages;
    Outcome outcome = Outcome::Cancelled;
    for (;;) {
        SetValue(d, kAllPages, !some);
        SetValue(d, kSomePages, some);
        DialogItemIndex hit = 0;
        ModalDialog(AnswerFilter, &hit);
        if (hit == kAllPages || hit == kSomePages) {
            some = hit == kSomePages;
            continue;
        }
        if (hit == kCancel || hit == 0)
            break;
        if (hit != kOK && hit != kSaveAsPDF)
            continue;
        const int32_t copies = Number(d, kCopies);
        const int32_t from = some ? Number(d, kFromPage) : 1;
        int32_t to = some ? Number(d, kToPage) : -1;
        if (copies < 1 || copies > 999 || from < 1 || (some && to != -1 && to < from)) {
            SysBeep(1);
            continue;
        }
        if (hit == kSaveAsPDF) {
            // The file comes from a save dialog in front of this one.
            NavDialogCreationOptions options;
            NavGetDefaultDialogCreationOptions(&options);
            options.saveFileName = PdfFileName(*settings, 1);
            NavDialogRef save = nullptr;
            NavReplyRecord reply;
            bool chosen = false;
            if (NavCreatePutFileDialog(&options, 0, 0, nullptr, nullptr, &save) == noErr && NavDialogRun(save) == noErr &&
                NavDialogGetReply(save, &reply) == noErr) {
                FSRef folder;
                if (AEGetNthPtr(&reply.selection, 1, typeFSRef, nullptr, nullptr, &folder, Size(sizeof folder),
                                nullptr) == noErr) {
                    settings->destination = kPMDestinationFile;
                    settings->destinationFormat = kPMDocumentFormatPDF;
                    settings->destinationLocation =
                        folder.path + (folder.path == "/" ? "" : "/") + reply.saveFileName;
                    chosen = true;
                }
                NavDisposeReply(&reply);
            }
            NavDialogDispose(save);
            if (!chosen)
                continue;
        } else {
            ToPrinter(settings);
        }
        settings->copies = uint32_t(copies);
        settings->firstPage = uint32_t(from);
        settings->lastPage = some && to > 0 ? uint32_t(to) : kPMPrintAllPages;
        outcome = Outcome::Accepted;
        break;
    }
    DisposeDialog(d);
    return outcome;
}

// An answer queued before the dialog shows answers it at once; otherwise
// the dialog runs on the screen; with no screen it waits for an answer
// while the run goes on. A run that is over cancels it.
Outcome RunDialog(PMPageFormat format, PMPrintSettings settings)
{
    FileDialogAnswer answer;
    if (TakeFileDialogAnswer(&answer))
        return ItemFor(answer, settings) == kOK ? Outcome::Accepted : Outcome::Cancelled;
    if (ModalMustCancel())
        return Outcome::Cancelled;
    filterSettings = settings;
    Outcome outcome = settings ? RunPrint(settings) : RunPageSetup(format);
    filterSettings = nullptr;
    if (outcome != Outcome::NotShown)
        return outcome;
    ModalScope modal(settings ? "print dialog (unseen)" : "page setup dialog (unseen)");
    while (outcome == Outcome::NotShown) {
        if (TakeFileDialogAnswer(&answer))
            return ItemFor(answer, settings) == kOK ? Outcome::Accepted : Outcome::Cancelled;
        if (ModalMustCancel())
            return Outcome::Cancelled;
        EventRecord event;
        WaitNextEvent(uint16_t(everyEvent & ~highLevelEventMask), &event, 30, nullptr);
    }
    return outcome;
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
    return PMGuarded([&]() -> OSStatus {
        if (!session || !format)
            return kPMInvalidParameter;
        if (accepted)
            *accepted = false;
        ValidateFormat(format);
        bool ok = RunDialog(format, nullptr) == Outcome::Accepted;
        Finish(session, ok, accepted);
        return kPMNoError;
    });
}

OSStatus PMSessionPrintDialog(PMPrintSession session, PMPrintSettings settings, PMPageFormat format,
                              Boolean* accepted)
{
    return PMGuarded([&]() -> OSStatus {
        if (!session || !settings)
            return kPMInvalidParameter;
        if (accepted)
            *accepted = false;
        ValidateSettings(settings);
        if (format)
            ValidateFormat(format);
        PMSettingsObject before = *settings;
        bool ok = RunDialog(format, settings) == Outcome::Accepted;
        if (!ok) {
            // A cancelled dialog leaves the settings as they were.
            settings->copies = before.copies;
            settings->firstPage = before.firstPage;
            settings->lastPage = before.lastPage;
            settings->destination = before.destination;
            settings->destinationFormat = before.destinationFormat;
            settings->destinationLocation = before.destinationLocation;
        }
        Finish(session, ok, accepted);
        return kPMNoError;
    });
}

}  // namespace platform

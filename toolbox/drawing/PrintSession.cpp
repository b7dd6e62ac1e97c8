// The shared printing session, its last error, the dialogs, and the
// printer and destination a record keeps.
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "platform/files/FileSpec.h"
#include "platform/text/CFString.h"
#include "toolbox/drawing/PrintInternal.h"
#include "toolbox/files/VFile.h"
#include "toolbox/foundation/VEngine.h"

using namespace platform;

namespace print_emulation {
namespace {

// What a dialog run as a sheet hands back to the caller waiting for it.
struct SheetDialogRec {
    uint8_t done = 0;
    uint8_t accepted = 0;
};

// The sheet windows of dialogs running now, each with its record.
std::vector<std::pair<WindowRecord*, SheetDialogRec*>>& Sheets()
{
    static std::vector<std::pair<WindowRecord*, SheetDialogRec*>> sheets;
    return sheets;
}

void SheetDone(PMPrintSession, WindowRecord* window, Boolean accepted)
{
    for (auto& [w, rec] : Sheets())
        if (w == window) {
            rec->accepted = accepted ? 1 : 0;
            rec->done = 1;
        }
}

// The checks of a sheet's wait are bounded: the dialogs complete before
// they return, so a sheet still open afterwards will not finish.
constexpr int32_t kSheetChecks = 3600;

// Runs the page set-up (`job` false) or print dialog on the record's
// settings and page format; whether the user accepted.
bool RunDialog(const MyPrintRecord& f, bool job)
{
    PMPrintSession session = Session().session;
    SheetDialogRec sheet;
    bool asSheet = false;
    if (f.sheetWindow && session) {
        Sheets().emplace_back(f.sheetWindow, &sheet);
        asSheet = PMSessionUseSheets(session, f.sheetWindow, SheetDone) == noErr;
        if (!asSheet) Sheets().pop_back();
    }
    Boolean accepted = false;
    const OSStatus err = job ? PMSessionPrintDialog(session, f.settings, f.pageFormat, &accepted)
                             : PMSessionPageSetupDialog(session, f.pageFormat, &accepted);
    Note(err);
    if (asSheet) {
        for (int32_t n = 0; err == noErr && !sheet.done && n < kSheetChecks; ++n) {
            VEngine::PutTaskToSleep(120, 0);
            VEngine::GiveHand(1);
        }
        accepted = sheet.done && sheet.accepted;
        for (auto it = Sheets().begin(); it != Sheets().end(); ++it)
            if (it->second == &sheet) {
                Sheets().erase(it);
                break;
            }
        PMSessionUseSheets(session, nullptr, nullptr);
    }
    return err == noErr && accepted;
}

// The record holds `printer` in place of the one it held.
void HoldPrinter(MyPrintRecord* f, PMPrinter printer)
{
    PMRetain(printer);
    PMRelease(f->printer);
    f->printer = printer;
}

struct DestinationRow {
    int32_t kind;
    PMDestinationType type;
    const char* format;
};

constexpr DestinationRow kDestinations[] = {
    {kPrintDestinationPrinter, kPMDestinationPrinter, ""},
    {kPrintDestinationPostScript, kPMDestinationFile, kPMDocumentFormatPostScript},
    {kPrintDestinationPDF, kPMDestinationFile, kPMDocumentFormatPDF},
    {kPrintDestinationPICT, kPMDestinationFile, kPMDocumentFormatPICT},
    {kPrintDestinationPreview, kPMDestinationPreview, ""},
    {kPrintDestinationFax, kPMDestinationFax, ""},
};

}  // namespace

SessionState& Session()
{
    static SessionState state;
    return state;
}

void Note(OSStatus err)
{
    if (err != noErr) PrSetError(int16_t(err < INT16_MIN ? INT16_MIN : err > INT16_MAX ? INT16_MAX : err));
}

SessionResFile::SessionResFile() : saved_(CurResFile())
{
    if (Session().resFile != -1) UseResFile(Session().resFile);
}

SessionResFile::~SessionResFile()
{
    if (saved_ != -1) UseResFile(saved_);
}

const char* CopyText(const char* text)
{
    if (!text) return nullptr;
    const size_t length = std::strlen(text);
    char* copy = new (std::nothrow) char[length + 1];
    if (copy) std::memcpy(copy, text, length + 1);
    return copy;
}

void FreeText(const char*& text)
{
    delete[] text;
    text = nullptr;
}

void ResetPrinterInfo(MyPrintRecord* f)
{
    f->printer = nullptr;
    f->printerID = nullptr;
    f->customPrinter = false;
    f->customDestination = false;
    f->destinationKind = kPrintDestinationPrinter;
    f->destinationPath = nullptr;
}

void ApplyCustomPrinter(const MyPrintRecord& f)
{
    if (f.customPrinter && f.printerID && Session().session)
        Note(PMSessionSetCurrentPrinter(Session().session, f.printerID));
}

void _GetCurrentPrinter(MyPrintRecord* f)
{
    if (f->customPrinter) return;
    PMPrinter printer = nullptr;
    const OSStatus err = PMSessionGetCurrentPrinter(Session().session, &printer);
    Note(err);
    if (err != noErr) return;
    HoldPrinter(f, printer);
    FreeText(f->printerID);
    f->printerID = CopyText(PMPrinterGetID(printer).c_str());
}

void _GetPrintDestination(MyPrintRecord* f)
{
    FreeText(f->destinationPath);
    f->destinationKind = kPrintDestinationOtherFile;
    f->customDestination = false;
    PMPrintSession session = Session().session;
    PMDestinationType type = kPMDestinationInvalid;
    const OSStatus err = PMSessionGetDestinationType(session, f->settings, &type);
    Note(err);
    if (err != noErr) return;
    switch (type) {
    case kPMDestinationPrinter: f->destinationKind = kPrintDestinationPrinter; break;
    case kPMDestinationFile: {
        std::string format;
        PMSessionCopyDestinationFormat(session, f->settings, &format);
        for (const DestinationRow& row : kDestinations)
            if (row.type == kPMDestinationFile && format == row.format) f->destinationKind = row.kind;
        break;
    }
    case kPMDestinationFax: f->destinationKind = kPrintDestinationFax; break;
    case kPMDestinationPreview: f->destinationKind = kPrintDestinationPreview; break;
    default: f->destinationKind = kPrintDestinationUnknown; break;
    }
    std::string location;
    if (PMSessionCopyDestinationLocation(session, f->settings, &location) == noErr && !location.empty())
        f->destinationPath = CopyText(location.c_str());
}

bool ApplyCustomDestination(const MyPrintRecord& f)
{
    if (!f.customDestination) return true;
    PMDestinationType type = kPMDestinationInvalid;
    const char* format = "";
    for (const DestinationRow& row : kDestinations)
        if (row.kind == f.destinationKind) type = row.type, format = row.format;
    std::string location;
    if (f.destinationPath) {
        location = f.destinationPath;
        // The file is made when missing. One that exists keeps its bytes
        // until the finished document replaces it: a job that fails on the
        // way must not have emptied it.
        FSSpec fileSpec;
        if (FSMakeFSSpec(location, &fileSpec) == fnfErr) {
            VFile file(fileSpec);
            if (file.Create(false) == 0) file.Close();
        }
    }
    const OSStatus err = PMSessionSetDestination(Session().session, f.settings, type, format, location);
    Note(err);
    return err == noErr;
}

}  // namespace print_emulation

using namespace print_emulation;

void PrOpen()
{
    SessionState& s = Session();
    if (!s.session) {
        PMPrintSession session = nullptr;
        const OSStatus err = PMCreateSession(&session);
        if (err != noErr || !session) {
            Note(err != noErr ? err : OSStatus(memFullErr));
            return;
        }
        s.session = session;
        s.resFile = CurResFile();
        s.level = 0;
    } else {
        PMRetain(s.session);
    }
    ++s.level;
}

void PrClose()
{
    SessionState& s = Session();
    if (!s.session) return;
    const OSStatus last = PMSessionError(s.session);
    PMPrintSession session = s.session;
    if (--s.level <= 0) {
        s.session = nullptr;
        s.level = 0;
        s.resFile = -1;
        s.pageOpen = false;
        s.documentOpen = false;
        // The last error stays readable once the session is gone.
        s.errorWithoutSession = last;
    }
    PMRelease(session);
}

int16_t PrError()
{
    const SessionState& s = Session();
    const OSStatus err = s.session ? PMSessionError(s.session) : s.errorWithoutSession;
    return int16_t(err < INT16_MIN ? INT16_MIN : err > INT16_MAX ? INT16_MAX : err);
}

void PrSetError(int16_t error)
{
    SessionState& s = Session();
    if (s.session) PMSessionSetError(s.session, error);
    else s.errorWithoutSession = error;
}

PMPrintSession GetPrintSession() { return Session().session; }

bool PrStlDialog(THPrint record)
{
    return Guarded(false, [&] {
        MyPrintRecord f;
        if (!Prepare(record, &f, nullptr)) return false;
        SessionResFile inSessionFile;
        const bool accepted = RunDialog(f, false);
        if (accepted) {
            _GetCurrentPrinter(&f);
            f.changed = true;
            _CreateTHPrintData(&f);
        }
        Store(record, f);
        return accepted;
    });
}

bool PrJobDialog(THPrint record)
{
    return Guarded(false, [&] {
        MyPrintRecord f;
        if (!Prepare(record, &f, nullptr)) return false;
        SessionResFile inSessionFile;
        const bool accepted = RunDialog(f, true);
        if (!accepted) {
            Store(record, f);
            return false;
        }
        PMPrinter printer = nullptr;
        if (PMSessionGetCurrentPrinter(Session().session, &printer) == noErr) {
            HoldPrinter(&f, printer);
            Store(record, f);
            SetTargetPrinter(record, PMPrinterGetID(printer).c_str());
            Load(record, &f);
        }
        _GetPrintDestination(&f);
        f.changed = true;
        _CreateTHPrintData(&f);
        Store(record, f);
        return true;
    });
}

int16_t SetTargetPrinter(THPrint record, const char* printerID)
{
    if (!record) {
        Note(paramErr);
        return paramErr;
    }
    return Guarded<int16_t>(memFullErr, [&]() -> int16_t {
        MyPrintRecord f;
        if (!Prepare(record, &f, nullptr)) return paramErr;
        OSStatus result = paramErr;
        bool kept = false;
        if (printerID) {
            f.customPrinter = true;
            PrOpen();
            PMPrintSession session = Session().session;
            if (session) PMSessionSetCurrentPrinter(session, printerID);
            PMPrinter printer = nullptr;
            result = PMSessionGetCurrentPrinter(session, &printer);
            if (result == noErr) {
                HoldPrinter(&f, printer);
                kept = CFStringCompare(CFStringCreateWithUTF8(PMPrinterGetID(printer)),
                                       CFStringCreateWithUTF8(printerID)) == kCFCompareEqualTo;
                if (!kept) result = paramErr;
            }
            PrClose();
        }
        FreeText(f.printerID);
        if (kept) f.printerID = CopyText(printerID);
        if (!f.printerID) {
            f.customPrinter = false;
            if (kept) result = memFullErr;
        }
        Store(record, f);
        return int16_t(result);
    });
}

int32_t GetMacPrintingFormat() { return 0; }

void ResetPrintEmulation()
{
    SessionState& s = Session();
    while (s.session) PrClose();
    s = SessionState{};
    Sheets().clear();
}

// The printing service: sessions, print settings, page formats, one
// printer ("PDF") and its destinations, the page set-up and print dialogs,
// and the documents themselves. Each page is drawn into a port of its own
// whose drawing is recorded as a picture; when the page ends the picture is
// played onto a PDF page (and, on request, into a PNG file).
//
// Objects are reference counted: every PMCreate... answers one reference,
// PMRetain adds one, PMRelease drops one. Settings and page formats belong
// to no session and may outlive it.
#pragma once

#include <string>
#include <vector>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"

namespace platform {

struct WindowRecord;

struct PMSessionObject;
struct PMSettingsObject;
struct PMFormatObject;
struct PMPrinterObject;
using PMPrintSession = PMSessionObject*;
using PMPrintSettings = PMSettingsObject*;
using PMPageFormat = PMFormatObject*;
using PMPrinter = PMPrinterObject*;
using PMObject = const void*;

struct PMRect {
    double top, left, bottom, right;
};

using PMOrientation = uint16_t;
constexpr PMOrientation kPMPortrait = 1;
constexpr PMOrientation kPMLandscape = 2;

using PMDestinationType = uint16_t;
constexpr PMDestinationType kPMDestinationInvalid = 0;
constexpr PMDestinationType kPMDestinationPrinter = 1;
constexpr PMDestinationType kPMDestinationFile = 2;
constexpr PMDestinationType kPMDestinationFax = 3;
constexpr PMDestinationType kPMDestinationPreview = 4;

// Result codes.
constexpr OSStatus kPMNoError = 0;
constexpr OSStatus kPMGeneralError = -30870;
constexpr OSStatus kPMOutOfScope = -30871;
constexpr OSStatus kPMInvalidParameter = -50;
constexpr OSStatus kPMNoDefaultPrinter = -30872;
constexpr OSStatus kPMNotImplemented = -30873;
constexpr OSStatus kPMNoSuchEntry = -30874;
constexpr OSStatus kPMInvalidPrintSettings = -30875;
constexpr OSStatus kPMInvalidPageFormat = -30876;
constexpr OSStatus kPMValueOutOfRange = -30877;
constexpr OSStatus kPMInvalidPrinter = -30882;
constexpr OSStatus kPMCancel = 128;

// Document formats and graphics contexts.
inline constexpr const char* kPMDocumentFormatDefault = "default";
inline constexpr const char* kPMDocumentFormatPDF = "application/pdf";
inline constexpr const char* kPMDocumentFormatPostScript = "application/postscript";
inline constexpr const char* kPMDocumentFormatPICT = "application/vnd.apple.printing-pict";
inline constexpr const char* kPMGraphicsContextQuickDraw = "quickdraw";
inline constexpr const char* kPMGraphicsContextDefault = kPMGraphicsContextQuickDraw;

// The one printer and its paper.
inline constexpr const char* kPMPDFPrinterID = "PDF";
constexpr double kPMPDFPrinterMargin = 18.0;  // points, on every side
enum class PMPaper : uint8_t { Letter, A4 };

// Objects.
OSStatus PMRetain(PMObject object);
OSStatus PMRelease(PMObject object);

// Sessions.
OSStatus PMCreateSession(PMPrintSession* session);
OSStatus PMSessionError(PMPrintSession session);
OSStatus PMSessionSetError(PMPrintSession session, OSStatus error);

// Settings and page formats: made empty, then defaulted or validated
// against a session.
OSStatus PMCreatePrintSettings(PMPrintSettings* settings);
OSStatus PMCreatePageFormat(PMPageFormat* format);
OSStatus PMSessionDefaultPrintSettings(PMPrintSession session, PMPrintSettings settings);
OSStatus PMSessionDefaultPageFormat(PMPrintSession session, PMPageFormat format);
// `changed` tells whether anything had to be corrected.
OSStatus PMSessionValidatePrintSettings(PMPrintSession session, PMPrintSettings settings, Boolean* changed);
OSStatus PMSessionValidatePageFormat(PMPrintSession session, PMPageFormat format, Boolean* changed);

// The fields of settings and page formats.
// The job's name: the name on disk (UTF-8) of the file printed and the
// words after it. The PDF files the print dialog proposes and the printer
// spools are named so, the file's name cut to fit ("Print" without one).
OSStatus PMPrintSettingsSetJobName(PMPrintSettings settings, const std::string& fileName, const std::string& words);
OSStatus PMGetCopies(PMPrintSettings settings, uint32_t* copies);
OSStatus PMSetCopies(PMPrintSettings settings, uint32_t copies, Boolean lock);
OSStatus PMGetFirstPage(PMPrintSettings settings, uint32_t* first);
OSStatus PMSetFirstPage(PMPrintSettings settings, uint32_t first, Boolean lock);
OSStatus PMGetLastPage(PMPrintSettings settings, uint32_t* last);
OSStatus PMSetLastPage(PMPrintSettings settings, uint32_t last, Boolean lock);
constexpr uint32_t kPMPrintAllPages = 0xFFFFFFFF;
OSStatus PMGetOrientation(PMPageFormat format, PMOrientation* orientation);
OSStatus PMSetOrientation(PMPageFormat format, PMOrientation orientation, Boolean lock);
OSStatus PMGetScale(PMPageFormat format, double* percent);
OSStatus PMSetScale(PMPageFormat format, double percent);  // 25 .. 400
OSStatus PMGetPaper(PMPageFormat format, PMPaper* paper);
OSStatus PMSetPaper(PMPageFormat format, PMPaper paper);
// The drawable page and the whole sheet in the page's own coordinates
// (points divided by the scale; the page's top-left is (0, 0)).
OSStatus PMGetAdjustedPageRect(PMPageFormat format, PMRect* pageRect);
OSStatus PMGetAdjustedPaperRect(PMPageFormat format, PMRect* paperRect);

// Printers: the session's current printer is the "PDF" printer.
OSStatus PMSessionGetCurrentPrinter(PMPrintSession session, PMPrinter* printer);
// Only the id of a printer we have is accepted (kPMInvalidPrinter).
OSStatus PMSessionSetCurrentPrinter(PMPrintSession session, const std::string& printerID);
// The printer's id; `name` gives its name.
std::string PMPrinterGetID(PMPrinter printer);
std::string PMPrinterGetName(PMPrinter printer);

// Destinations: the printer spools a PDF into the documents folder; a file
// destination of format "application/pdf" writes the file at `location`.
// Any other type or format is refused (kPMInvalidParameter).
OSStatus PMSessionSetDestination(PMPrintSession session, PMPrintSettings settings, PMDestinationType type,
                                 const std::string& format, const std::string& location);
OSStatus PMSessionGetDestinationType(PMPrintSession session, PMPrintSettings settings, PMDestinationType* type);
// An empty format or location: none set.
OSStatus PMSessionCopyDestinationFormat(PMPrintSession session, PMPrintSettings settings, std::string* format);
OSStatus PMSessionCopyDestinationLocation(PMPrintSession session, PMPrintSettings settings,
                                          std::string* location);
// The spool format: the default (or PDF) format with the QuickDraw context.
OSStatus PMSessionSetDocumentFormatGeneration(PMPrintSession session, const std::string& format,
                                              const std::vector<std::string>& graphicsContexts);

// Dialogs. Each runs to its end inside the call. With sheets in use the
// completion procedure is called once, before the call returns.
using PMSheetDoneProcPtr = void (*)(PMPrintSession session, WindowRecord* documentWindow, Boolean accepted);
OSStatus PMSessionUseSheets(PMPrintSession session, WindowRecord* documentWindow, PMSheetDoneProcPtr done);
OSStatus PMSessionPageSetupDialog(PMPrintSession session, PMPageFormat format, Boolean* accepted);
OSStatus PMSessionPrintDialog(PMPrintSession session, PMPrintSettings settings, PMPageFormat format,
                              Boolean* accepted);

// Documents and pages. The page's port is asked with
// PMSessionGetGraphicsContext(kPMGraphicsContextQuickDraw) between
// BeginPage and EndPage; its port rectangle is the adjusted page.
OSStatus PMSessionBeginDocument(PMPrintSession session, PMPrintSettings settings, PMPageFormat format);
OSStatus PMSessionEndDocument(PMPrintSession session);
OSStatus PMSessionBeginPage(PMPrintSession session, PMPageFormat format, const PMRect* pageFrame);
OSStatus PMSessionEndPage(PMPrintSession session);
OSStatus PMSessionGetGraphicsContext(PMPrintSession session, const char* kind, void** context);
// Also writes each page as "<prefix><page number>.png" at `dpi` (0 stops).
OSStatus PMSessionSetPageImages(PMPrintSession session, const std::string& prefix, double dpi);
// The file the last document was written to (empty when none).
std::string PMSessionLastDocumentPath(PMPrintSession session);

// The classic 120-byte print record, made from settings and a page format
// and read back into new ones (every field checked; one out of range takes
// its default).
constexpr int32_t kPMOldPrintRecordSize = 120;
OSStatus PMSessionMakeOldPrintRecord(PMPrintSession session, PMPrintSettings settings, PMPageFormat format,
                                     Handle* record);
OSStatus PMSessionConvertOldPrintRecord(PMPrintSession session, Handle record, PMPrintSettings* settings,
                                        PMPageFormat* format);


}  // namespace platform

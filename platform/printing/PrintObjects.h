// The objects behind the printing service's handles, for its own files.
#pragma once

#include <cairo.h>

#include <memory>
#include <new>
#include <string>

#include "platform/core/Errors.h"
#include "platform/files/TemporaryFile.h"
#include "platform/printing/Printing.h"

namespace platform {

// Every object starts with its kind and reference count, so that
// PMRetain and PMRelease can take any of them.
enum class PMKind : uint32_t { Session = 0x53455353, Settings = 0x53455454, Format = 0x464F524D, Printer = 0x50524E54 };

struct PMObjectHeader {
    PMKind kind;
    int32_t references = 1;
    explicit PMObjectHeader(PMKind k) : kind(k) {}
};

struct PMSettingsObject : PMObjectHeader {
    PMSettingsObject() : PMObjectHeader(PMKind::Settings) {}
    bool valid = false;  // defaulted or validated once
    uint32_t copies = 1;
    uint32_t firstPage = 1;
    uint32_t lastPage = kPMPrintAllPages;
    PMDestinationType destination = kPMDestinationPrinter;
    std::string destinationFormat;    // empty: the printer's own (PDF)
    std::string destinationLocation;  // a POSIX path, empty: none
    std::string jobFile, jobWords;    // the job's name; kept by defaults and validation
};

struct PMFormatObject : PMObjectHeader {
    PMFormatObject() : PMObjectHeader(PMKind::Format) {}
    bool valid = false;
    PMPaper paper = PMPaper::Letter;
    PMOrientation orientation = kPMPortrait;
    double scale = 100.0;  // percent
};

struct PMPrinterObject : PMObjectHeader {
    PMPrinterObject() : PMObjectHeader(PMKind::Printer) {}
};

struct PMPageRecording;

struct PMSessionObject : PMObjectHeader {
    PMSessionObject() : PMObjectHeader(PMKind::Session) {}
    OSStatus error = kPMNoError;
    bool useSheets = false;
    WindowRecord* sheetWindow = nullptr;
    PMSheetDoneProcPtr sheetDone = nullptr;
    std::string spoolFormat = kPMDocumentFormatDefault;
    // Page images on request.
    std::string imagePrefix;
    double imageDpi = 0;
    // The document being written.
    bool inDocument = false;
    cairo_surface_t* pdf = nullptr;
    // The PDF is written to a temporary made beside its path, and takes the
    // path only once whole and on disk; a spooled file never replaces one.
    std::unique_ptr<TemporaryFile> pdfFile;
    OSErr pdfWriteError = noErr;  // the first failed write or commit of the PDF
    bool spooled = false;
    std::string pdfPath, lastPath;
    PMSettingsObject docSettings;
    PMFormatObject docFormat;
    uint32_t pageNumber = 0;
    PMPageRecording* page = nullptr;
};

// Runs an entry's body: running out of memory answers memFullErr instead
// of leaving the call as an exception.
template <class F>
OSStatus PMGuarded(F&& body)
{
    try {
        return body();
    } catch (const std::bad_alloc&) {
        return memFullErr;
    }
}

// Paper size in points, portrait.
void PaperSize(PMPaper paper, double* width, double* height);
// The sheet's size in points as it lies (landscape swaps the sides).
void SheetSize(const PMFormatObject& format, double* width, double* height);
// Reset to the printer's defaults.
void DefaultSettings(PMSettingsObject* settings);
void DefaultFormat(PMFormatObject* format);
// Corrects what is out of range; answers whether anything changed.
bool ValidateSettings(PMSettingsObject* settings);
bool ValidateFormat(PMFormatObject* format);
// The name of the job's PDF file, the `n`th of its name in a folder
// (numbered from the second on).
std::string PdfFileName(const PMSettingsObject& settings, int32_t n);
// Whether the destination can be written by our one printer.
bool DestinationSupported(PMDestinationType type, const std::string& format);

}  // namespace platform

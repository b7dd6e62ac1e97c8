#include "platform/printing/PrintObjects.h"

#include <cmath>
#include <new>

#include "platform/core/Errors.h"
#include "platform/files/MacNames.h"

namespace platform {

namespace {

PMPrinterObject thePrinter;

PMObjectHeader* HeaderOf(PMObject object) { return static_cast<PMObjectHeader*>(const_cast<void*>(object)); }

bool KnownKind(PMKind k)
{
    return k == PMKind::Session || k == PMKind::Settings || k == PMKind::Format || k == PMKind::Printer;
}

}  // namespace

void SessionFree(PMSessionObject* session);  // PrintSession.cpp

OSStatus PMRetain(PMObject object)
{
    if (!object || !KnownKind(HeaderOf(object)->kind))
        return kPMInvalidParameter;
    PMObjectHeader* h = HeaderOf(object);
    if (h->kind != PMKind::Printer)
        ++h->references;
    return kPMNoError;
}

OSStatus PMRelease(PMObject object)
{
    if (!object)
        return kPMNoError;
    PMObjectHeader* h = HeaderOf(object);
    if (!KnownKind(h->kind))
        return kPMInvalidParameter;
    if (h->kind == PMKind::Printer || --h->references > 0)
        return kPMNoError;
    switch (h->kind) {
    case PMKind::Session: SessionFree(static_cast<PMSessionObject*>(h)); break;
    case PMKind::Settings: delete static_cast<PMSettingsObject*>(h); break;
    case PMKind::Format: delete static_cast<PMFormatObject*>(h); break;
    case PMKind::Printer: break;
    }
    return kPMNoError;
}

OSStatus PMCreatePrintSettings(PMPrintSettings* settings)
{
    if (!settings)
        return kPMInvalidParameter;
    *settings = new (std::nothrow) PMSettingsObject;
    return *settings ? kPMNoError : OSStatus(memFullErr);
}

OSStatus PMCreatePageFormat(PMPageFormat* format)
{
    if (!format)
        return kPMInvalidParameter;
    *format = new (std::nothrow) PMFormatObject;
    return *format ? kPMNoError : OSStatus(memFullErr);
}

void PaperSize(PMPaper paper, double* width, double* height)
{
    if (paper == PMPaper::A4)
        *width = 595, *height = 842;
    else
        *width = 612, *height = 792;
}

void SheetSize(const PMFormatObject& format, double* width, double* height)
{
    PaperSize(format.paper, width, height);
    if (format.orientation == kPMLandscape)
        std::swap(*width, *height);
}

void DefaultSettings(PMSettingsObject* s)
{
    s->valid = true;
    s->copies = 1;
    s->firstPage = 1;
    s->lastPage = kPMPrintAllPages;
    s->destination = kPMDestinationPrinter;
    s->destinationFormat.clear();
    s->destinationLocation.clear();
}

void DefaultFormat(PMFormatObject* f)
{
    f->valid = true;
    f->paper = PMPaper::Letter;
    f->orientation = kPMPortrait;
    f->scale = 100.0;
}

std::string PdfFileName(const PMSettingsObject& s, int32_t n)
{
    const std::string numbered = n <= 1 ? ".pdf" : " " + std::to_string(n) + ".pdf";
    return s.jobFile.empty() ? "Print" + numbered : ProposedFileName(s.jobFile, s.jobWords + numbered);
}

bool DestinationSupported(PMDestinationType type, const std::string& format)
{
    if (type == kPMDestinationPrinter)
        return format.empty() || format == kPMDocumentFormatPDF;
    return type == kPMDestinationFile && format == kPMDocumentFormatPDF;
}

bool ValidateSettings(PMSettingsObject* s)
{
    bool changed = !s->valid;
    s->valid = true;
    if (s->copies < 1 || s->copies > 999)
        s->copies = 1, changed = true;
    if (s->firstPage < 1)
        s->firstPage = 1, changed = true;
    if (s->lastPage < s->firstPage)
        s->lastPage = kPMPrintAllPages, changed = true;
    if (!DestinationSupported(s->destination, s->destinationFormat) ||
        (s->destination == kPMDestinationFile && s->destinationLocation.empty())) {
        s->destination = kPMDestinationPrinter;
        s->destinationFormat.clear();
        s->destinationLocation.clear();
        changed = true;
    }
    return changed;
}

bool ValidateFormat(PMFormatObject* f)
{
    bool changed = !f->valid;
    f->valid = true;
    if (f->paper != PMPaper::Letter && f->paper != PMPaper::A4)
        f->paper = PMPaper::Letter, changed = true;
    if (f->orientation != kPMPortrait && f->orientation != kPMLandscape)
        f->orientation = kPMPortrait, changed = true;
    if (!(f->scale >= 25.0 && f->scale <= 400.0))
        f->scale = 100.0, changed = true;
    return changed;
}

OSStatus PMSessionDefaultPrintSettings(PMPrintSession session, PMPrintSettings settings)
{
    if (!session || !settings)
        return kPMInvalidParameter;
    DefaultSettings(settings);
    return kPMNoError;
}

OSStatus PMSessionDefaultPageFormat(PMPrintSession session, PMPageFormat format)
{
    if (!session || !format)
        return kPMInvalidParameter;
    DefaultFormat(format);
    return kPMNoError;
}

OSStatus PMSessionValidatePrintSettings(PMPrintSession session, PMPrintSettings settings, Boolean* changed)
{
    if (!session || !settings)
        return kPMInvalidPrintSettings;
    bool c = ValidateSettings(settings);
    if (changed)
        *changed = c;
    return kPMNoError;
}

OSStatus PMSessionValidatePageFormat(PMPrintSession session, PMPageFormat format, Boolean* changed)
{
    if (!session || !format)
        return kPMInvalidPageFormat;
    bool c = ValidateFormat(format);
    if (changed)
        *changed = c;
    return kPMNoError;
}

OSStatus PMPrintSettingsSetJobName(PMPrintSettings s, const std::string& fileName, const std::string& words)
{
    if (!s)
        return kPMInvalidParameter;
    return PMGuarded([&]() -> OSStatus {
        s->jobFile = fileName;
        s->jobWords = words;
        return kPMNoError;
    });
}

OSStatus PMGetCopies(PMPrintSettings s, uint32_t* copies)
{
    if (!s || !copies)
        return kPMInvalidParameter;
    *copies = s->copies;
    return kPMNoError;
}

OSStatus PMSetCopies(PMPrintSettings s, uint32_t copies, Boolean)
{
    if (!s)
        return kPMInvalidParameter;
    if (copies < 1 || copies > 999)
        return kPMValueOutOfRange;
    s->copies = copies;
    return kPMNoError;
}

OSStatus PMGetFirstPage(PMPrintSettings s, uint32_t* first)
{
    if (!s || !first)
        return kPMInvalidParameter;
    *first = s->firstPage;
    return kPMNoError;
}

OSStatus PMSetFirstPage(PMPrintSettings s, uint32_t first, Boolean)
{
    if (!s)
        return kPMInvalidParameter;
    if (first < 1)
        return kPMValueOutOfRange;
    s->firstPage = first;
    if (s->lastPage < first)
        s->lastPage = kPMPrintAllPages;
    return kPMNoError;
}

OSStatus PMGetLastPage(PMPrintSettings s, uint32_t* last)
{
    if (!s || !last)
        return kPMInvalidParameter;
    *last = s->lastPage;
    return kPMNoError;
}

OSStatus PMSetLastPage(PMPrintSettings s, uint32_t last, Boolean)
{
    if (!s)
        return kPMInvalidParameter;
    if (last < s->firstPage)
        return kPMValueOutOfRange;
    s->lastPage = last;
    return kPMNoError;
}

OSStatus PMGetOrientation(PMPageFormat f, PMOrientation* orientation)
{
    if (!f || !orientation)
        return kPMInvalidParameter;
    *orientation = f->orientation;
    return kPMNoError;
}

OSStatus PMSetOrientation(PMPageFormat f, PMOrientation orientation, Boolean)
{
    if (!f || (orientation != kPMPortrait && orientation != kPMLandscape))
        return kPMInvalidParameter;
    f->orientation = orientation;
    return kPMNoError;
}

OSStatus PMGetScale(PMPageFormat f, double* percent)
{
    if (!f || !percent)
        return kPMInvalidParameter;
    *percent = f->scale;
    return kPMNoError;
}

OSStatus PMSetScale(PMPageFormat f, double percent)
{
    if (!f)
        return kPMInvalidParameter;
    if (!(percent >= 25.0 && percent <= 400.0))
        return kPMValueOutOfRange;
    f->scale = percent;
    return kPMNoError;
}

OSStatus PMGetPaper(PMPageFormat f, PMPaper* paper)
{
    if (!f || !paper)
        return kPMInvalidParameter;
    *paper = f->paper;
    return kPMNoError;
}

OSStatus PMSetPaper(PMPageFormat f, PMPaper paper)
{
    if (!f || (paper != PMPaper::Letter && paper != PMPaper::A4))
        return kPMInvalidParameter;
    f->paper = paper;
    return kPMNoError;
}

OSStatus PMGetAdjustedPageRect(PMPageFormat f, PMRect* r)
{
    if (!f || !r)
        return kPMInvalidParameter;
    double w, h;
    SheetSize(*f, &w, &h);
    double k = 100.0 / f->scale, m = kPMPDFPrinterMargin;
    *r = {0, 0, (h - 2 * m) * k, (w - 2 * m) * k};
    return kPMNoError;
}

OSStatus PMGetAdjustedPaperRect(PMPageFormat f, PMRect* r)
{
    if (!f || !r)
        return kPMInvalidParameter;
    double w, h;
    SheetSize(*f, &w, &h);
    double k = 100.0 / f->scale, m = kPMPDFPrinterMargin;
    *r = {-m * k, -m * k, (h - m) * k, (w - m) * k};
    return kPMNoError;
}

OSStatus PMSessionGetCurrentPrinter(PMPrintSession session, PMPrinter* printer)
{
    if (!session || !printer)
        return kPMInvalidParameter;
    *printer = &thePrinter;
    return kPMNoError;
}

OSStatus PMSessionSetCurrentPrinter(PMPrintSession session, const std::string& printerID)
{
    if (!session)
        return kPMInvalidParameter;
    return printerID == kPMPDFPrinterID ? kPMNoError : kPMInvalidPrinter;
}

std::string PMPrinterGetID(PMPrinter printer) { return printer ? kPMPDFPrinterID : ""; }
std::string PMPrinterGetName(PMPrinter printer) { return printer ? "PDF" : ""; }

}  // namespace platform

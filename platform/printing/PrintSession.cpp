// Sessions, destinations, documents and pages.
#include <cairo-pdf.h>

#include <cmath>
#include <cstdio>
#include <new>

#include <unistd.h>

#include "platform/core/Faults.h"
#include "platform/core/Memory.h"
#include "platform/drawing/GWorlds.h"
#include "platform/drawing/PngExport.h"
#include "platform/drawing/Ports.h"
#include "platform/files/FileSpec.h"
#include "platform/files/SpecialFolders.h"
#include "platform/printing/OldPrintRecord.h"
#include "platform/printing/PagePlayer.h"
#include "platform/printing/PrintObjects.h"

namespace platform {

// The page being drawn: its port records a picture.
struct PMPageRecording {
    GWorldPtr port = nullptr;
    PicHandle picture = nullptr;
    Rect frame{};
};

namespace {

OSStatus Fail(PMPrintSession session, OSStatus err)
{
    if (session)
        session->error = err;
    return err;
}

void DropPage(PMPrintSession session)
{
    PMPageRecording* page = session->page;
    if (!page)
        return;
    if (page->port) {
        CGrafPtr savedPort;
        GDHandle savedDevice;
        GetGWorld(&savedPort, &savedDevice);
        SetGWorld(page->port, nullptr);
        if (IsPortPictureBeingDefined(page->port))
            ClosePicture();
        SetGWorld(savedPort == page->port ? nullptr : savedPort, savedDevice);
        DisposeGWorld(page->port);
    }
    if (page->picture)
        KillPicture(page->picture);
    delete page;
    session->page = nullptr;
}

// The error a cairo status stands for: a failed write is the file's own.
OSErr CairoError(PMPrintSession session, cairo_status_t status)
{
    if (status == CAIRO_STATUS_NO_MEMORY)
        return memFullErr;
    if (status == CAIRO_STATUS_WRITE_ERROR && session->pdfWriteError != noErr)
        return session->pdfWriteError;
    return ioErr;
}

// Ends the document; with `keep` its file replaces the destination. The
// error of writing it (noErr when there was none); *written whether it
// replaced the destination.
OSErr DropDocument(PMPrintSession session, bool keep, bool* written)
{
    *written = false;
    DropPage(session);
    if (session->pdf) {
        cairo_surface_finish(session->pdf);
        const cairo_status_t status = cairo_surface_status(session->pdf);
        if (status != CAIRO_STATUS_SUCCESS && session->pdfWriteError == noErr)
            session->pdfWriteError = CairoError(session, status);
        cairo_surface_destroy(session->pdf);
        session->pdf = nullptr;
    }
    if (session->pdfFile) {
        // The finished file replaces the destination only once it is whole
        // and flushed; otherwise the temporary goes with its object.
        if (keep && session->pdfWriteError == noErr) {
            const OSErr err = session->pdfFile->Commit(session->spooled);
            if (err == noErr) {
                session->lastPath = session->pdfPath;
                *written = true;
            } else {
                session->pdfWriteError = err;
            }
        }
        session->pdfFile.reset();
    }
    const OSErr err = session->pdfWriteError;
    session->pdfWriteError = noErr;
    session->inDocument = false;
    return err;
}

// Cairo's output goes to the document's temporary; a failed write fails
// the document and is kept as its error.
cairo_status_t WritePdf(void* closure, const unsigned char* data, unsigned int length)
{
    auto* session = static_cast<PMSessionObject*>(closure);
    if (session->pdfWriteError == noErr) {
        if (!session->pdfFile)
            session->pdfWriteError = ioErr;
        else if (ShouldFail(FaultKind::DiskFull))
            session->pdfWriteError = dskFulErr;
        else
            session->pdfWriteError = session->pdfFile->Write(data, length);
    }
    return session->pdfWriteError == noErr ? CAIRO_STATUS_SUCCESS : CAIRO_STATUS_WRITE_ERROR;
}

// A new file in the documents folder for the printer's spool, named after
// the job.
OSStatus SpoolPath(const PMSettingsObject& settings, std::string* path)
{
    FSSpec folder;
    if (OSErr err = FindSpecialFolder(SpecialFolder::Documents, true, &folder))
        return err;
    for (int32_t n = 1; n < 10000; ++n) {
        const std::string name = PdfFileName(settings, n);
        std::string candidate = folder.path + (folder.path.empty() || folder.path.back() != '/' ? "/" : "") + name;
        if (::access(candidate.c_str(), F_OK) != 0) {
            *path = candidate;
            return kPMNoError;
        }
    }
    return dupFNErr;
}

}  // namespace

void SessionFree(PMSessionObject* session)
{
    bool written = false;
    DropDocument(session, false, &written);
    delete session;
}

OSStatus PMCreateSession(PMPrintSession* session)
{
    if (!session)
        return kPMInvalidParameter;
    *session = new (std::nothrow) PMSessionObject;
    return *session ? kPMNoError : OSStatus(memFullErr);
}

OSStatus PMSessionError(PMPrintSession session) { return session ? session->error : kPMInvalidParameter; }

OSStatus PMSessionSetError(PMPrintSession session, OSStatus error)
{
    if (!session)
        return kPMInvalidParameter;
    session->error = error;
    return kPMNoError;
}

OSStatus PMSessionSetDestination(PMPrintSession session, PMPrintSettings settings, PMDestinationType type,
                                 const std::string& format, const std::string& location)
{
    return PMGuarded([&]() -> OSStatus {
        if (!session || !settings)
            return Fail(session, kPMInvalidParameter);
        if (!DestinationSupported(type, format) || (type == kPMDestinationFile && location.empty()))
            return Fail(session, kPMInvalidParameter);
        settings->destination = type;
        settings->destinationFormat = format;
        settings->destinationLocation = type == kPMDestinationFile ? location : std::string();
        return kPMNoError;
    });
}

OSStatus PMSessionGetDestinationType(PMPrintSession session, PMPrintSettings settings, PMDestinationType* type)
{
    if (!session || !settings || !type)
        return kPMInvalidParameter;
    *type = settings->destination;
    return kPMNoError;
}

OSStatus PMSessionCopyDestinationFormat(PMPrintSession session, PMPrintSettings settings, std::string* format)
{
    return PMGuarded([&]() -> OSStatus {
        if (!session || !settings || !format)
            return kPMInvalidParameter;
        *format = settings->destination == kPMDestinationFile ? settings->destinationFormat : std::string();
        return kPMNoError;
    });
}

OSStatus PMSessionCopyDestinationLocation(PMPrintSession session, PMPrintSettings settings, std::string* location)
{
    return PMGuarded([&]() -> OSStatus {
        if (!session || !settings || !location)
            return kPMInvalidParameter;
        *location = settings->destinationLocation;
        return kPMNoError;
    });
}

OSStatus PMSessionSetDocumentFormatGeneration(PMPrintSession session, const std::string& format,
                                              const std::vector<std::string>& graphicsContexts)
{
    return PMGuarded([&]() -> OSStatus {
        if (!session)
            return kPMInvalidParameter;
        if (format != kPMDocumentFormatDefault && format != kPMDocumentFormatPDF)
            return Fail(session, kPMInvalidParameter);
        for (const std::string& context : graphicsContexts)
            if (context != kPMGraphicsContextQuickDraw)
                return Fail(session, kPMInvalidParameter);
        session->spoolFormat = format;
        return kPMNoError;
    });
}

OSStatus PMSessionSetPageImages(PMPrintSession session, const std::string& prefix, double dpi)
{
    return PMGuarded([&]() -> OSStatus {
        if (!session || dpi < 0 || dpi > 1200 || (dpi > 0 && prefix.empty()))
            return kPMInvalidParameter;
        session->imagePrefix = prefix;
        session->imageDpi = dpi;
        return kPMNoError;
    });
}

std::string PMSessionLastDocumentPath(PMPrintSession session) { return session ? session->lastPath : ""; }

OSStatus PMSessionBeginDocument(PMPrintSession session, PMPrintSettings settings, PMPageFormat format)
{
    return PMGuarded([&]() -> OSStatus {
        if (!session || !settings || !format)
            return Fail(session, kPMInvalidParameter);
        if (session->inDocument)
            return Fail(session, kPMOutOfScope);
        if (!DestinationSupported(settings->destination, settings->destinationFormat))
            return Fail(session, kPMInvalidParameter);
        session->docSettings.copies = settings->copies;
        session->docSettings.firstPage = settings->firstPage;
        session->docSettings.lastPage = settings->lastPage;
        session->docFormat.paper = format->paper;
        session->docFormat.orientation = format->orientation;
        session->docFormat.scale = format->scale;
        ValidateSettings(&session->docSettings);
        ValidateFormat(&session->docFormat);

        std::string path;
        if (settings->destination == kPMDestinationFile) {
            if (settings->destinationLocation.empty())
                return Fail(session, kPMInvalidParameter);
            path = settings->destinationLocation;
        } else if (OSStatus err = SpoolPath(*settings, &path)) {
            return Fail(session, err);
        }
        double w, h;
        SheetSize(session->docFormat, &w, &h);
        session->pdfPath = path;
        session->spooled = settings->destination != kPMDestinationFile;
        // Made anew under a name of its own (never through a link planted
        // at a guessable name), beside the path so that the rename stays in
        // one file system.
        session->pdfFile = std::make_unique<TemporaryFile>();
        session->pdfWriteError = noErr;
        if (OSErr err = session->pdfFile->Create(path, 0666)) {
            session->pdfFile.reset();
            return Fail(session, err);
        }
        session->pdf = cairo_pdf_surface_create_for_stream(WritePdf, session, w, h);
        if (cairo_surface_status(session->pdf) != CAIRO_STATUS_SUCCESS) {
            cairo_surface_destroy(session->pdf);
            session->pdf = nullptr;
            session->pdfFile.reset();
            return Fail(session, ioErr);
        }
        session->inDocument = true;
        session->pageNumber = 0;
        session->error = kPMNoError;
        return kPMNoError;
    });
}

OSStatus PMSessionEndDocument(PMPrintSession session)
{
    return PMGuarded([&]() -> OSStatus {
        if (!session)
            return kPMInvalidParameter;
        if (!session->inDocument)
            return Fail(session, kPMOutOfScope);
        bool pageOpen = session->page != nullptr;
        // A cancelled, failed or unfinished document leaves the destination
        // as it was. Only this document's own file counts: an earlier one
        // printed to the same place says nothing of this one.
        bool written = false;
        const OSErr writeError = DropDocument(session, session->error == kPMNoError && !pageOpen, &written);
        if (pageOpen)
            return Fail(session, kPMOutOfScope);
        if (!written)
            return Fail(session, writeError ? writeError : session->error ? session->error : OSStatus(ioErr));
        return kPMNoError;
    });
}

OSStatus PMSessionBeginPage(PMPrintSession session, PMPageFormat format, const PMRect* pageFrame)
{
    return PMGuarded([&]() -> OSStatus {
        if (!session)
            return kPMInvalidParameter;
        if (!session->inDocument || session->page)
            return Fail(session, kPMOutOfScope);
        PMFormatObject f = session->docFormat;
        if (format)
            f.paper = format->paper, f.orientation = format->orientation, f.scale = format->scale;
        PMRect r;
        PMGetAdjustedPageRect(&f, &r);
        auto* page = new (std::nothrow) PMPageRecording;
        if (!page)
            return Fail(session, memFullErr);
        session->page = page;
        Rect bounds{0, 0, int16_t(r.bottom), int16_t(r.right)};
        if (NewGWorld(&page->port, 1, &bounds, nullptr, nullptr, 0) != noErr || !page->port) {
            DropPage(session);
            return Fail(session, memFullErr);
        }
        page->frame = bounds;
        if (pageFrame && pageFrame->right > pageFrame->left && pageFrame->bottom > pageFrame->top &&
            std::abs(pageFrame->top) < 32767 && std::abs(pageFrame->left) < 32767 && std::abs(pageFrame->bottom) < 32767 &&
            std::abs(pageFrame->right) < 32767)
            page->frame = {int16_t(pageFrame->top), int16_t(pageFrame->left), int16_t(pageFrame->bottom),
                           int16_t(pageFrame->right)};
        CGrafPtr savedPort;
        GDHandle savedDevice;
        GetGWorld(&savedPort, &savedDevice);
        SetGWorld(page->port, nullptr);
        page->picture = OpenPicture(&page->frame);
        SetGWorld(savedPort, savedDevice);
        if (!page->picture) {
            DropPage(session);
            return Fail(session, memFullErr);
        }
        ++session->pageNumber;
        return kPMNoError;
    });
}

OSStatus PMSessionEndPage(PMPrintSession session)
{
    return PMGuarded([&]() -> OSStatus {
        if (!session)
            return kPMInvalidParameter;
        PMPageRecording* page = session->page;
        if (!page)
            return Fail(session, kPMOutOfScope);
        CGrafPtr savedPort;
        GDHandle savedDevice;
        GetGWorld(&savedPort, &savedDevice);
        SetGWorld(page->port, nullptr);
        ClosePicture();
        // A recording that ran out of memory is no page to print.
        const OSErr recorded = QDError();
        SetGWorld(savedPort == page->port ? nullptr : savedPort, savedDevice);

        OSStatus result = recorded == memFullErr ? OSStatus(memFullErr) : kPMNoError;
        const PMSettingsObject& s = session->docSettings;
        const bool inRange = session->pageNumber >= s.firstPage && session->pageNumber <= s.lastPage;
        if (inRange && result == kPMNoError) {
            double w, h;
            SheetSize(session->docFormat, &w, &h);
            const double k = session->docFormat.scale / 100.0;
            for (uint32_t copy = 0; copy < s.copies && result == kPMNoError; ++copy) {
                cairo_pdf_surface_set_size(session->pdf, w, h);
                cairo_t* cr = cairo_create(session->pdf);
                cairo_translate(cr, kPMPDFPrinterMargin, kPMPDFPrinterMargin);
                cairo_scale(cr, k, k);
                cairo_translate(cr, -page->frame.left, -page->frame.top);
                if (OSErr err = PlayPageOnCairo(cr, page->picture, page->frame))
                    result = err;
                cairo_show_page(cr);
                if (cairo_status(cr) != CAIRO_STATUS_SUCCESS)
                    result = CairoError(session, cairo_status(cr));
                cairo_destroy(cr);
            }
            if (result == kPMNoError && session->imageDpi > 0) {
                GWorldPtr world = nullptr;
                OSErr err = RenderPageImage(page->picture, page->frame, session->imageDpi, &world);
                if (world) {
                    std::string file = session->imagePrefix + std::to_string(session->pageNumber) + ".png";
                    if (err == noErr)
                        err = WritePortPNG(world, file.c_str());
                    DisposeGWorld(world);
                }
                if (err)
                    result = err;
            }
        }
        DropPage(session);
        return result ? Fail(session, result) : kPMNoError;
    });
}

OSStatus PMSessionGetGraphicsContext(PMPrintSession session, const char* kind, void** context)
{
    if (!session || !context)
        return kPMInvalidParameter;
    *context = nullptr;
    if (kind && std::string(kind) != kPMGraphicsContextQuickDraw)
        return Fail(session, kPMInvalidParameter);
    if (!session->page)
        return Fail(session, kPMOutOfScope);
    *context = session->page->port;
    return kPMNoError;
}

OSStatus PMSessionMakeOldPrintRecord(PMPrintSession session, PMPrintSettings settings, PMPageFormat format,
                                     Handle* record)
{
    if (!session || !settings || !format || !record)
        return kPMInvalidParameter;
    *record = NewHandleClear(kPMOldPrintRecordSize);
    if (!*record)
        return Fail(session, memFullErr);
    MakeOldPrintRecord(*settings, *format, reinterpret_cast<uint8_t*>(**record));
    return kPMNoError;
}

OSStatus PMSessionConvertOldPrintRecord(PMPrintSession session, Handle record, PMPrintSettings* settings,
                                        PMPageFormat* format)
{
    if (!session || !record || !*record || !settings || !format)
        return kPMInvalidParameter;
    if (GetHandleSize(record) < kPMOldPrintRecordSize)
        return Fail(session, kPMInvalidParameter);
    PMPrintSettings s = nullptr;
    PMPageFormat f = nullptr;
    if (PMCreatePrintSettings(&s) || PMCreatePageFormat(&f)) {
        PMRelease(s);
        PMRelease(f);
        return Fail(session, memFullErr);
    }
    ReadOldPrintRecord(reinterpret_cast<const uint8_t*>(*record), s, f);
    *settings = s;
    *format = f;
    return kPMNoError;
}

}  // namespace platform

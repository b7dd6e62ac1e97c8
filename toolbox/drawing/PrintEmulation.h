// Printing through calls shaped like the old print manager's, over the
// platform's printing sessions: a print record handle, one session shared
// by every caller with a nesting count, the page set-up and print dialogs,
// documents and pages, and a last error.
//
// A record is a 120-byte handle, the size of an old stored print record,
// so that a stored one can be placed in it: such bytes are converted into
// settings and a page format on first use. A handle shorter than 120 bytes
// is refused with -50 (paramErr) in the last error and left untouched, as
// is a null record or context. Nothing throws.
#pragma once

#include <cstdint>
#include <string>

#include "platform/core/MacTypes.h"
#include "platform/drawing/QuickDrawTypes.h"
#include "platform/printing/Printing.h"

namespace platform {
struct WindowRecord;
}

using THPrint = char**;

// Where a document goes.
enum PrintDestinationKind : int32_t {
    kPrintDestinationUnknown = -1,
    kPrintDestinationOtherFile = 0,
    kPrintDestinationPrinter = 1,
    kPrintDestinationPostScript = 2,
    kPrintDestinationPDF = 3,
    kPrintDestinationPICT = 4,
    kPrintDestinationPreview = 5,  // the platform's destination type 4
    kPrintDestinationFax = 6,      // the platform's destination type 3
};

// The fields a record handle holds (in its own layout, never stored).
struct MyPrintRecord {
    uint8_t oldRecordMarker = 0;  // non-zero: the bytes are a stored record
    bool hasPlatformData = false;
    bool changed = false;
    platform::PMPrintSettings settings = nullptr;
    platform::PMPageFormat pageFormat = nullptr;
    char** oldRecord = nullptr;  // the old 120-byte record made from them
    char** spare = nullptr;
    int16_t reserved1 = 0;
    uint8_t reserved2 = 0;
    uint8_t reserved3 = 0;
    bool customPrinter = false;
    bool customDestination = false;
    platform::PMPrinter printer = nullptr;
    const char* printerID = nullptr;  // owned by the record
    int32_t destinationKind = kPrintDestinationPrinter;
    const char* destinationPath = nullptr;  // owned by the record
    platform::WindowRecord* sheetWindow = nullptr;
};

// A document being printed: made by PrOpenDoc, freed by PrCloseDoc.
struct MyPrintContextRecord {
    int32_t reserved = 0;
    platform::CGrafPtr port = nullptr;  // null: the page's own port
};

// Records. NewPrintRecord answers null when memory is short.
THPrint NewPrintRecord();
void InitPrintRecord(THPrint record);
// Clears the caller's handle and frees the record with what it holds.
void DisposePrintRecord(THPrint& record);
// Creates settings and page format where missing; whether any was made.
bool PrintDefault(THPrint record);
// 1 when settings or page format had to be made, corrected or defaulted.
int16_t PrValidate(THPrint record);
// The drawable page, each edge truncated toward zero; empty when unknown.
void GetPrintRecordPageRect(THPrint record, platform::Rect* rect);
platform::Rect TruncatePageRect(const platform::PMRect& pageRect);
// The record's fields; false (and defaults) for a handle that holds none
// yet: a null or short handle, or stored bytes not converted.
bool GetPrintRecordFields(THPrint record, MyPrintRecord* fields);
// The window on which the dialogs run as sheets (null: none).
void SetPrintRecordSheetWindow(THPrint record, platform::WindowRecord* window);
// A destination chosen by the program, applied when a document starts; a
// path (UTF-8, POSIX) names the file to write, null for none.
void SetPrintRecordDestination(THPrint record, int32_t kind, const char* path);

// The name of the record's job: the name on disk (UTF-8) of the file
// printed and the words after it, which name the PDF files the print
// dialog proposes and the printer writes.
void SetPrintRecordJobName(THPrint record, const std::string& fileName, const std::string& words);

// The session: PrOpen makes it or adds one level; PrClose takes one away
// and ends it at the last.
void PrOpen();
void PrClose();
int16_t PrError();
void PrSetError(int16_t error);
// The shared session, null when none (tests give it page images).
platform::PMPrintSession GetPrintSession();

// The dialogs answer whether the user accepted. Both run in the resource
// file current when the session was made and restore the caller's.
bool PrStlDialog(THPrint record);
bool PrJobDialog(THPrint record);

// Documents and pages. The context and the third argument of PrOpenDoc are
// not used; PrOpenDoc answers a new context, null (PrError saying why) for
// a null record or a document that could not begin.
MyPrintContextRecord* PrOpenDoc(THPrint record, MyPrintContextRecord* context, void* ioBuffer);
void PrOpenPage(MyPrintContextRecord* context, const platform::Rect* pageFrame);
void PrClosePage(MyPrintContextRecord* context);
// Ends the document and frees the context.
void PrCloseDoc(MyPrintContextRecord* context);
// The port to draw the open page into; null without a context or page.
platform::CGrafPtr GetPrintContextPort(MyPrintContextRecord* context);
int32_t GetMacPrintingFormat();

// Makes the printer of that id the record's own; -50 when the session does
// not take it (the record then has no printer of its own).
int16_t SetTargetPrinter(THPrint record, const char* printerID);

// Ends the session and forgets every state (tests).
void ResetPrintEmulation();

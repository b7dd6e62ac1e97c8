// Text-services documents: the inline-input context an application opens
// for its text. Input methods are not driven here; a document records its
// interface types and reference so that the code above can open, activate
// and close one.
#pragma once

#include "platform/core/Errors.h"
#include "platform/core/MacTypes.h"

namespace platform {

using TSMDocumentID = struct OpaqueTSMDocumentID*;
using InterfaceTypeList = const OSType*;

constexpr OSErr tsmInvalidDocIDErr = -2511;
constexpr OSType kUnicodeDocumentInterfaceType = 0x75646F63;  // 'udoc'

// A new document for count interface types; memFullErr when memory runs
// out, paramErr for no type or no place for the id.
OSErr NewTSMDocument(int16_t count, InterfaceTypeList types, TSMDocumentID* id, void* refcon);
OSErr DeleteTSMDocument(TSMDocumentID id);
OSErr ActivateTSMDocument(TSMDocumentID id);
OSErr DeactivateTSMDocument(TSMDocumentID id);
// The active document, or null.
TSMDocumentID TSMGetActiveDocument();
// The document's reference value; null for an unknown id.
void* TSMGetDocumentRefcon(TSMDocumentID id);
// Open documents (for leak checks).
int32_t TSMCountDocuments();

}  // namespace platform

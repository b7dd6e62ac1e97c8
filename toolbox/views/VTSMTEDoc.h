// The text-services document the system object holds for its whole life:
// the platform's Unicode inline-input document with this object as its
// reference.
#pragma once

#include <cstdint>

#include "platform/textedit/TextServices.h"
#include "toolbox/foundation/VObject.h"

class VTSMTEDoc : public VObject {
public:
    explicit VTSMTEDoc(uint8_t flag);
    ~VTSMTEDoc() override;
    VTSMTEDoc(const VTSMTEDoc&) = delete;
    VTSMTEDoc& operator=(const VTSMTEDoc&) = delete;

    uint8_t GetFlag() const { return fFlag; }
    // The platform document; null when it could not be made.
    platform::TSMDocumentID GetDocID() const { return fDocID; }
    // Documents alive now.
    static int32_t CountOpen() { return sOpen; }

    // The document in use (null: none).
    static VTSMTEDoc* sCurrentTSMDoc;

private:
    platform::TSMDocumentID fDocID = nullptr;
    uint8_t fFlag;
    static int32_t sOpen;
};

// How the system object makes and releases its document.
void InstallTextServicesDoc();

// The text-services document the system object holds for its whole life.
#pragma once

#include <cstdint>

#include "toolbox/foundation/VObject.h"

class VTSMTEDoc : public VObject {
public:
    explicit VTSMTEDoc(uint8_t flag);
    ~VTSMTEDoc() override;
    VTSMTEDoc(const VTSMTEDoc&) = delete;
    VTSMTEDoc& operator=(const VTSMTEDoc&) = delete;

    uint8_t GetFlag() const { return fFlag; }
    // Documents alive now.
    static int32_t CountOpen() { return sOpen; }

private:
    uint8_t fFlag;
    static int32_t sOpen;
};

// How the system object makes and releases its document.
void InstallTextServicesDoc();

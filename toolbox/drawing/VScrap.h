// The clipboard by kind: four-character flavour types whose data can be
// asked for, measured and put. VClipScrap serves the system clipboard; the
// views layer adds one over a drag in progress.
#pragma once

#include <cstdint>

#include "toolbox/foundation/VObject.h"

class VScrap : public VObject {
public:
    VScrap() = default;

    // The number of known kinds the clipboard holds now.
    virtual int32_t CountAvailableKinds() = 0;
    virtual bool IsKindAvailable(uint32_t kind) = 0;
    // A new handle the caller owns, or null when the kind is absent.
    virtual char** GetData(uint32_t kind) = 0;
    // The kind's size in bytes, 0 when absent.
    virtual int32_t GetDataSize(uint32_t kind) = 0;
    // Adds the kind's data; what is already there stays.
    virtual bool PutData(uint32_t kind, const void* data, int32_t size) = 0;
};

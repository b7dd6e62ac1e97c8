// A new, empty structure document in the scratch folder, for the targets
// that hand design objects resources of any bytes.
#pragma once

#include <cstdint>

#include "app/documents/MainDoc.h"
#include "fuzz/support/FuzzSupport.h"

namespace fuzz {

// Resets the resource layer and makes structure.qzb afresh with the
// document's type list; the destructor frees the list and resets the
// resource layer again.
class ScratchStructure {
public:
    ScratchStructure();
    ~ScratchStructure();
    ScratchStructure(const ScratchStructure&) = delete;
    ScratchStructure& operator=(const ScratchStructure&) = delete;

    // False when the file or the type list could not be made.
    bool Ready() const { return ready_; }
    TMainDoc& Doc() { return doc_; }
    // Adds the bytes as resource `type` `id` of the current file; bytes that
    // cannot be added are dropped.
    static void Add(const Bytes& bytes, uint32_t type, int16_t id);
    // Makes the document's file current again.
    void Use() const;

private:
    TMainDoc doc_;
    bool ready_ = false;
};

// A Pascal string literal ("\x02T1") as the design calls take it.
inline const unsigned char* PName(const char* text) { return reinterpret_cast<const unsigned char*>(text); }

}  // namespace fuzz

// The byte target of a chunk file: a growable memory handle read and
// written at a mark. Only memory targets exist here; a record that names a
// platform file answers DOS_ERROR to every call.
//
// dosErr keeps the first memory or position error met since the last
// MemoryOpen: a later error never hides the first one.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"

struct IOFile {
    int16_t fileRef = 0;                 // 0: a memory target
    platform::Handle handle = nullptr;   // holds the data (the caller's)
    int32_t base = 0;                    // where the chunk file begins in the handle
    int32_t mark = 0;                    // relative to base
    int32_t logicalEnd = 0;              // data bytes, relative to base
    int32_t physicalEnd = 0;             // room before the handle must grow
    uint32_t tag = 0;                    // 'BPTR' while open
};

extern int16_t dosErr;

// Seek origins of FSeek.
enum : int16_t { kSeekFromStart = 1, kSeekFromEnd = 2, kSeekFromMark = 3 };

// A target over `h` from `base` on, or null (no handle, a base outside it,
// no memory). Clears dosErr.
IOFile* MemoryOpen(platform::Handle h, int32_t base);
// Trims the handle to base + logical end and frees the record; the handle
// stays the caller's.
int16_t FClose(IOFile* io);
// Resizes the handle to base + logical end when it differs.
int16_t AdjustHandle2Logical(IOFile* io);
// The bytes read (at most logical end - mark), or a negative code.
int32_t FRead(IOFile* io, void* buffer, int32_t count);
// Grows the handle when the write passes its room: by what is needed plus
// as much again as the target holds (at least 4000 bytes), so that runs of
// small writes resize it seldom; by what is needed plus 4000 when memory
// is short of that.
int16_t FWrite(IOFile* io, const void* buffer, int32_t count);
int16_t FGetEOF(IOFile* io, int32_t* length);
// Past the logical end: the mark goes there and -39; before 0: mark 0 and
// -40.
int16_t FSeek(IOFile* io, int32_t offset, int16_t mode);
// The logical end, or DOS_ERROR.
int32_t FileLength(IOFile* io);

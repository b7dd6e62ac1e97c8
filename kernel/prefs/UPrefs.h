// The kernel preferences file: a resource file of type 'pref' in the
// preferences folder, named by item 6 of 'STR#' 1000, opened and closed
// with nesting. GetPrefData, SetPrefData and SetPrefLong read and write one
// resource as a block of bytes there or, with the in-structure flag, in
// the current store file.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"

// The application's creator code.
extern platform::OSType createur;

class UPrefs {
public:
    // Finds the file, creating it when missing; true when it is known.
    static bool Init();
    static bool Open(int16_t permission);
    static bool Close();
    // Forgets everything and closes the file (tests).
    static void Reset();

    static bool fInited;
    static platform::FSSpec fSpec;
    static int16_t fResFile;
    static int16_t fSavedResFile;
    static int32_t fCount;
};

// 0; -1 the file is not open or no store file is current; -2 no such
// resource; -3 the resource is shorter than size (the buffer is left alone).
int16_t GetPrefData(platform::ResType type, int16_t id, void* buffer, int32_t size, uint8_t inStructure);
// 0, a resource or memory error, or -1 as above.
int16_t SetPrefData(platform::ResType type, int16_t id, const void* data, int32_t size, uint8_t inStructure);
// The value as 4 big-endian bytes; a negative id writes into the structure.
int16_t SetPrefLong(platform::ResType type, int16_t id, int32_t value);

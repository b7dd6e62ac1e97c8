// Making a new, empty structure or library document and moving a document
// file with its companion.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"
#include "resources/Companion.h"


// Creates the document files: `isLibrary` 1 a library, 0 a structure. Both
// files are closed on return. On failure nothing it made is left on disk.
int16_t CreateQzLib(const platform::FSSpec& fileSpec, uint8_t isLibrary);
// Moves a document and its companion to `dest`. The destination is
// replaced only once both copies are complete; on failure the sources and
// any existing destination are as they were. Once it is replaced the move
// answers 0, even when a source could not be deleted (it stays, a copy).
int16_t CopyFile(const platform::FSSpec& source, const platform::FSSpec& dest);
// Copies the rest of the open file `source` into `dest` in blocks of
// `blockSize` through `buffer` (at least that size).
int16_t DoCopy(int16_t source, int16_t dest, int32_t blockSize, platform::Handle buffer);
// `dest` receives `source` cut to `maxLength`, never inside a two-byte
// character; it needs room for the characters kept only.
void copytruncate(const unsigned char* source, unsigned char* dest, int16_t maxLength);

// The kernel's file routines: writing with one retry, positions and
// lengths, the lock test, full paths and long colon names. Each sets
// erreure as stated.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"

using platform::FSSpec;

// Writes count bytes at the mark; after an input/output error (-36) waits
// 10 ticks and writes once more from the same place.
void writef(const void* buffer, int32_t count, int16_t refNum);
void closef(int16_t refNum);
void seekf(int32_t position, int16_t refNum);
// True when the fork cannot be written; nothing is written to find out.
bool isflocked(const FSSpec& fileSpec, bool resourceFork);
// Writes what the system still holds of the volume's files to the disk
// before it returns (one thread, so nothing is left to finish later); an
// unknown volume does nothing. The name is not used.
void FlushVolAsync(const unsigned char* name, int16_t vRefNum);
// The colon path as a length-prefixed string; empty when longer than 255.
void converttofullpath(unsigned char* destination, const FSSpec& fileSpec);
int16_t BGGetEOF(int16_t refNum, int32_t* length);
int16_t BGGetFPos(int16_t refNum, int32_t* position);
int16_t BGSetFPos(int16_t refNum, int16_t mode, int32_t offset);
// Second writes that succeeded after an input/output error.
extern int32_t writeretries;

// Splits at the last ':' that is a single-byte character (the second byte
// of a two-byte character never splits); the folder keeps it. Without one the folder is
// empty and the file is the whole path.
void longname_SplitPathFile(const unsigned char* path, unsigned char* folder, unsigned char* file);
// The volume and directory references of the classic file system have no
// counterpart here: `path` is a full colon path and they are not used.
// fnfErr (-43) when the folder is missing; else the platform's answer
// (0 when the file exists), with the file reference filled in either way.
int16_t longname_GetFSSpecIfFileExists(int16_t vRefNum, int32_t dirID, const unsigned char* path, FSSpec* fileSpec);
// Creates the file (replacing an existing one when asked, else using it)
// and sets its type and creator.
int16_t longname_CreateFile(int16_t vRefNum, int32_t dirID, const unsigned char* path, bool replace,
                            platform::OSType fileType, platform::OSType creator, FSSpec* fileSpec);

// Opening and closing a structure or library document: its container (the
// tool's resource store) and its companion resource file. A refused open
// leaves nothing open; every out file number is then -1.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"

// Opens the document; `isStructure` 1 for a structure, 0 for a library.
// On 0: *rsrFile the companion resource file, *container the store's file
// (also numresfalse, current), *otherFile -1, `password` (16 bytes) the
// administrator password accepted, empty when none was asked. On failure
// all three are -1, nothing is left open and the password is empty.
// Results: -1302 not a file (a pipe, a device, a folder), -49 file busy, -108 memory, 1001 declined or cancelled, 1002
// written by a newer version, 1003 damaged container, 1016/1018 a
// structure/library needing conversion in the other byte order, else the
// error of the conversion or of making the container current.
int16_t OpenQzB(uint8_t isStructure, const platform::FSSpec& fileSpec, int16_t* rsrFile, int16_t* container,
                int16_t* otherFile, unsigned char* password);
// The document's files stay held from its open (nothing the open or the
// read changes reaches the disk) until it is accepted: then the put-off
// Finder information, the container's commit and the companion's changes
// are written, in that order. 0, or the error of writing them (the files
// then stay held). Nothing to do for files not held.
int16_t AcceptQzB(int16_t rsrFile, int16_t container);
// Closes each file that is not -1 (a held one without writing): the container (committed), its own
// parameter record, then the companion, the other resource file and the
// data file; drops curStyles.
void CloseQzB(int16_t rsrFile, int16_t container, int16_t otherFile, int16_t dataFile);

// Asks whether an older document may be converted: a structure never (stop
// alert), a library when the user agrees (caution alert, item 1).
bool OkConvert(uint8_t isStructure);
// Raises the current library's parameter record to level 15 and writes it.
int16_t ConvertLibTo2004();
// Replaces a companion's version record 5 by the running program's 6.
void UpdateINQz5To6(int16_t rsrFile);
// Stamps a companion file with the running program's version record.
void UpdateQzIN(int16_t rsrFile);
// Opens the resource fork of `fileSpec`, else the "RSR" sibling's; -1 when
// neither opens. erreure takes the resource manager's error.
int16_t OpenResFile(const platform::FSSpec& fileSpec, platform::SInt8 permission);
// The administrator password dialog (257). `superPass` asks the server's
// test instead of the local tables. True with `password` (16 bytes) when a
// password was accepted, false when cancelled.
bool CheckPassword(bool superPass, unsigned char* password);

// The compilation state of `container`: 0 not compiled (or changed since),
// 1 compiled without method sources, 2 compiled with them and unchanged.
int16_t GetDBType(int16_t container);
bool basecompilee();
bool IsDatabaseDirtyForCompiler();
void SetDatabaseDirtyForCompiler();
void FlushAll();

// Level of the current format and the version numbers involved.
constexpr uint8_t kCurrentLevel = 15;

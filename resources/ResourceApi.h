// The C-style resource API over the single CPseudoResManager. Every entry
// leaves its outcome in reserr; handles come back null and numbers 0 on
// failure.
#pragma once

#include <cstdint>

#include "kernel/arrays/VTypedArrays.h"
#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"
#include "resources/CPseudoResManager.h"

using platform::FSSpec;
using platform::Handle;
using platform::OSType;
using platform::ResType;

void initresman();
// Closes every file without committing and forgets the manager (tests).
void ResetResManager();

int16_t openres(const FSSpec& fileSpec, bool readOnly);
// Client mode: asks the server for its files (request 194) and opens its
// structure file as a server-backed file whose cache is the container at
// `cacheSpec`. The new file becomes first and current; its number, or 0
// (reserr says why). The flag is kept for callers and not used.
int16_t openres2(const FSSpec& cacheSpec, bool flag);
int16_t createres(const FSSpec& fileSpec, OSType creator, OSType fileType);
bool closeres(int16_t fileNumber, bool update);
bool updateres(int16_t fileNumber);
bool updateresNoMap(int16_t fileNumber);
// Puts off the file's commits (hold) or carries out the one put off
// (release); see CPseudoResFile::Hold.
bool holdres(int16_t fileNumber, bool hold);
// Ends the file's hold dropping every change made during it (see
// CPseudoResFile::DropHeld).
bool dropres(int16_t fileNumber);
// What the last change of a server's file that failed on the way left on
// the server (CPseudoResFile::ServerChangeLeft; 0 for any other file),
// until the file's readers have read it again and forget it.
int16_t serverchangeleft(int16_t fileNumber);
void forgetserverchange(int16_t fileNumber);
// The same of the last such change of any file, once: for its message.
int16_t takeserverchangenote();
bool useres(int16_t fileNumber);
bool setdefaultresfile(int16_t fileNumber);
int16_t xcurres();

Handle xget1res(ResType type, int16_t id);
// Loads every resource of the type in the current file, as xget1res of
// each would, with far fewer reads: for a reader about to get them all.
void loadallres(ResType type);
Handle xgetres(ResType type, int16_t id, bool includeEnciphered);
Handle xgetindres(ResType type, int32_t index, bool flag);
int32_t xgetallindres(ResType type, int32_t count, VPtrArray* handles, VWordArray* ids, VPtrArray* names);
bool xaddres(Handle contents, ResType type, int16_t id);
bool xaddres_NOSWAP(Handle contents, ResType type, int16_t id);
bool xwriteres(Handle contents);
bool rmveres(Handle contents);
bool rmveresbyid(ResType type, int16_t id, bool includeEnciphered);

bool hlockres(Handle contents);
bool hunlockres(Handle contents);
bool hpurgeres(Handle contents);
bool hunpurgeres(Handle contents);
bool detachres(Handle contents);
bool hcrypteres(Handle contents, bool keyVariant);
bool huncrypteres(Handle contents);
bool xiscryptedres(Handle contents);
bool xiscryptedindres(ResType type, int32_t index, int16_t* id);

uint32_t xgetrestimestamp(Handle contents);
void xgetresinfo(Handle contents, int16_t* id, ResType* type);
bool xgetresname(ResType type, int16_t id, unsigned char* name, bool flag);
// Whether the current file (alone, not the files after it) holds (type,
// id), from its map: nothing is loaded.
bool xhas1res(ResType type, int16_t id);
bool xsetresname(ResType type, int16_t id, const unsigned char* name, bool flag);
int32_t comptetypes();
ResType xgetindtyp(int32_t index);
int16_t compteres(ResType type, bool includeEnciphered);
int16_t uniqueresid(ResType type);

bool unloadres(ResType type, int16_t id);
bool reloadres(Handle contents);
Handle xgetreslock(ResType type, int16_t id, bool* locked, bool flag);
// Applies a server action to the open file with that server number; reserr
// is left as it was.
void execresaction(ResType type, int16_t id, uint32_t serverFileNumber, int16_t action);
bool islocalres(int16_t fileNumber);
// The platform resource file `companion` is the other file of the local
// container's document: a write of either first looks whether both are
// still the files opened (platform::BindForks). False when either is not
// open for writing.
bool bindcompanion(int16_t fileNumber, int16_t companion);
bool IsNatif(int16_t fileNumber);

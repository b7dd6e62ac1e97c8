// The resource manager: typed, numbered and named resources in resource
// files, kept in a chain of open files with a current file.
//
// Look-ups without "1" search from the current file down to the oldest open
// file; the "1" variants search the current file alone. Resources come back
// as handles with the resource bit set; the same resource always answers
// the same handle until it is released, detached or its file is closed.
//
// A resource file lives in a file's resource fork or in the data fork of a
// plain file. Asked for the resource fork, the calls take the sidecar's
// when there is one, else the file itself when its bytes are a resource
// file; new resources go into the file itself when it holds nothing else,
// so that copying the visible file keeps them. Changes are kept in memory and reach
// the disk when the file is updated or closed, by writing the whole file
// anew and renaming it over the old one. A file opened for reading only
// refuses every change with wrPermErr. Every call sets ResError().
#pragma once

#include <vector>

#include "platform/core/Errors.h"
#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"

namespace platform {

constexpr OSErr resNotFound = -192;
constexpr OSErr resFNotFound = -193;
constexpr OSErr addResFailed = -194;
constexpr OSErr rmvResFailed = -196;
constexpr OSErr resAttrErr = -198;
constexpr OSErr mapReadErr = -199;
// Ours: the file would outgrow what its layout reaches (ResourceFileSize).
constexpr OSErr resFileFullErr = -1940;
// Ours: changes to the file could not be taken back (SetResFileAdrift).
constexpr OSErr resFileAdriftErr = -1941;

// Resource attributes.
constexpr int16_t resSysHeap = 64;
constexpr int16_t resPurgeable = 32;
constexpr int16_t resLocked = 16;
constexpr int16_t resProtected = 8;
constexpr int16_t resPreload = 4;
constexpr int16_t resChanged = 2;

// Resource file attributes.
constexpr uint16_t mapReadOnly = 128;
constexpr uint16_t mapCompact = 64;
constexpr uint16_t mapChanged = 32;

enum class ResFileFork : uint8_t { Resource, Data };

// Opens a resource file and puts it on top of the chain as the current
// file; -1 when it cannot be opened (see ResError: fnfErr, eofErr for an
// empty fork, mapReadErr for a damaged file, opWrErr when another writer
// has it). A file already open answers its reference number again and the
// current file stays as it was.
int16_t FSpOpenResFile(const FSSpec& fileSpec, SInt8 permission, ResFileFork where = ResFileFork::Resource);
int16_t OpenResFile(const std::string& posixPath, SInt8 permission = fsCurPerm,
                    ResFileFork where = ResFileFork::Resource);
// Creates the file if needed and an empty resource map in the fork;
// dupFNErr when the fork already holds resources.
void FSpCreateResFile(const FSSpec& fileSpec, OSType creator, OSType fileType, ScriptCode scriptTag = 0,
                      ResFileFork where = ResFileFork::Resource);
// Whether the file's resource map is open, in either fork (the resource
// fork's when both are): its reference number and whether it is in the
// chain of open files (always, here). Either pointer may be null.
Boolean FSpResourceFileAlreadyOpen(const FSSpec& resourceFile, Boolean* inChain, int16_t* refNum);
void CloseResFile(int16_t refNum);
void UpdateResFile(int16_t refNum);
// While a file is held its changes stay in memory: updating writes
// nothing and closing drops them. Releasing writes what is pending.
void HoldResFile(int16_t refNum, bool hold);
// The bytes that writing the file's pending changes would give it, built
// now without writing; empty when nothing is pending.
OSErr PendingResFileBytes(int16_t refNum, std::vector<uint8_t>* bytes);
// Changes to the file could not be taken back: what memory holds must not
// reach the disk. The file stays held for good: updating or releasing it
// fails with resFileAdriftErr, and closing it writes nothing.
void SetResFileAdrift(int16_t refNum);
// The open fork the file is written through (Forks.h); 0 for a file opened
// for reading only, or none.
int16_t ResFileForkRef(int16_t refNum);

// The current file (-1 when none is open). UseResFile(0) makes the oldest
// open file, the bottom of the chain, current.
int16_t CurResFile();
void UseResFile(int16_t refNum);

void SetResLoad(bool load);
OSErr ResError();
// For readers of resource layouts: a resource found but damaged.
void SetResError(OSErr error);

Handle GetResource(ResType type, int16_t id);
Handle Get1Resource(ResType type, int16_t id);
Handle GetNamedResource(ResType type, ConstStr255Param name);
Handle Get1NamedResource(ResType type, ConstStr255Param name);
// 1-based indices.
Handle GetIndResource(ResType type, int16_t index);
Handle Get1IndResource(ResType type, int16_t index);
int16_t CountResources(ResType type);
int16_t Count1Resources(ResType type);
int16_t CountTypes();
int16_t Count1Types();
void GetIndType(ResType* type, int16_t index);
void Get1IndType(ResType* type, int16_t index);
// The smallest id from 128 up that the type does not use.
int16_t UniqueID(ResType type);
int16_t Unique1ID(ResType type);

// Any of id, type and name may be null.
void GetResInfo(Handle resource, int16_t* id, ResType* type, StringPtr name);
// A null name keeps the present one.
void SetResInfo(Handle resource, int16_t id, ConstStr255Param name);
int16_t GetResAttrs(Handle resource);
void SetResAttrs(Handle resource, int16_t attrs);
int16_t HomeResFile(Handle resource);
int32_t GetResourceSizeOnDisk(Handle resource);
void LoadResource(Handle resource);

// Makes an ordinary handle a resource of the current file (name may be null).
void AddResource(Handle data, ResType type, int16_t id, ConstStr255Param name);
void ChangedResource(Handle resource);
// Takes a changed resource's handle contents into the file's image.
void WriteResource(Handle resource);
// Removes the resource from its file; the handle becomes the caller's.
void RemoveResource(Handle resource);
// The handle becomes the caller's; the resource stays in its file.
void DetachResource(Handle resource);
// Frees the handle (refused with resAttrErr while the resource has changes).
void ReleaseResource(Handle resource);

// The index-th string (1-based) of the 'STR#' resource `listId`; an empty
// string when the list or the item is missing.
void GetIndString(StringPtr text, int16_t listId, int16_t index);

// A read-only file made from an image in memory, put below every open file
// (the system file); the current file stays unless none was open.
struct ResourceFileImage;
int16_t OpenResFileImageBelow(const ResourceFileImage& image);
// A file made from an image in memory that takes changes but never writes
// them (as if held for good), put on top of the chain as the current file.
int16_t OpenResFileInMemory(const ResourceFileImage& image);
bool IsResFileOpen(int16_t refNum);
// What tells this opening of the file from any other: reference numbers are
// reused once a file closes, serials never are. 0 when no file has the number.
uint64_t ResFileSerial(int16_t refNum);
// How many files the chain holds.
int32_t CountOpenResFiles();

// A file opened with fsRdWrShPerm may be written by other programs too.
// Its update takes the file as it stands on disk then, under a lock on its
// name, and writes into it only what changed here since this program last
// read or wrote it: resources added, changed, renamed or removed. A
// resource changed here that another program changed too is written as
// held here, unless its type has a merge: `merge` then makes its bytes of
// `base` (as last read or written here), `ours` and `theirs` (on disk), or
// answers false to keep ours. One added here that another program added
// too merges the same way, its base the bytes it was added with. A null
// merge removes the type's.
using ResourceMerge = bool (*)(const std::vector<uint8_t>& base, const std::vector<uint8_t>& ours,
                               const std::vector<uint8_t>& theirs, std::vector<uint8_t>* merged);
void SetResourceMerge(ResType type, ResourceMerge merge);

// Closes every file without writing and resets the state: for tests.
void ResetResourceManager();

// Makes the file current for the life of the guard, then the one current
// before it again.
class UsingResFile {
public:
    explicit UsingResFile(int16_t refNum) : saved_(CurResFile()) { UseResFile(refNum); }
    ~UsingResFile() { UseResFile(saved_); }
    UsingResFile(const UsingResFile&) = delete;
    UsingResFile& operator=(const UsingResFile&) = delete;

private:
    int16_t saved_;
};

}  // namespace platform

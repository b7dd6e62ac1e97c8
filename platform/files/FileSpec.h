// FSSpecs and the catalogue: making FSSpecs, asking what
// an item is, creating, deleting, renaming, moving and copying items, and
// their Finder information and permissions. Sidecars travel with their item.
#pragma once

#include <string>

#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"

namespace platform {

// An FSSpec from an absolute POSIX path (made lexically normal).
// noErr when the item exists; fnfErr when its folder exists but it does not
// (the FSSpec is still made, so the item can be created); dirNFErr
// when the folder is missing; bdNamErr for a relative path or a sidecar name.
OSErr FSMakeFSSpec(const std::string& posixPath, FSSpec* fileSpec);
// The item `name` (one whole UTF-8 name) in `folder`; the same results.
OSErr FSMakeFSSpec(const FSSpec& folder, const std::string& name, FSSpec* fileSpec);
// From a colon path, through the one colon-path mapping.
OSErr FSMakeFSSpecFromColonPath(const std::string& colonPath, FSSpec* fileSpec);
// The colon path of an item; a folder's ends with ':'.
OSErr FSpGetColonPath(const FSSpec& fileSpec, std::string* colonPath);

// A reference from an FSSpec: fnfErr when nothing stands at the path (a
// link, even a broken one, is an item of its own).
OSErr FSpMakeFSRef(const FSSpec& fileSpec, FSRef* ref);
FSSpec FSRefMakeFSSpec(const FSRef& ref);

// The last name of the path (empty for the root) and the folder holding it.
std::string FSpGetName(const FSSpec& fileSpec);
FSSpec FSpGetParent(const FSSpec& fileSpec);

// Whether `name` may name an item: not empty, at most 255 bytes, no '/' or
// NUL, not "." or "..", not a sidecar name.
bool IsValidItemName(const std::string& name);

bool FSpExists(const FSSpec& fileSpec, bool* isFolder = nullptr);
OSErr FSpGetCatInfo(const FSSpec& fileSpec, CatInfo* info);

// Finder information: from the sidecar when there is one, else from the
// extension (type and creator), else zero. Setting information that the
// extension implies removes the need for a sidecar.
OSErr FSpGetFInfo(const FSSpec& fileSpec, FInfo* info);
OSErr FSpSetFInfo(const FSSpec& fileSpec, const FInfo& info);

OSErr FSpGetPermissions(const FSSpec& fileSpec, uint16_t* mode);
OSErr FSpSetPermissions(const FSSpec& fileSpec, uint16_t mode);

// Creates an empty file (dupFNErr when the name is taken) with its type and
// creator; a sidecar is written only when the extension does not imply them.
OSErr FSpCreate(const FSSpec& fileSpec, OSType creator, OSType fileType, ScriptCode scriptTag = 0);
OSErr FSpDirCreate(const FSSpec& fileSpec);
// Deletes a file, a link or an empty folder with its sidecar; fBsyErr when
// a fork of the file is open or the folder is not empty.
OSErr FSpDelete(const FSSpec& fileSpec);
// Renames within the same folder; dupFNErr when the new name is taken.
OSErr FSpRename(const FSSpec& fileSpec, const std::string& newName);
// Renames `source` to the name of `target` in the same folder, replacing
// the item there in one step (its sidecar is replaced or removed with it);
// fBsyErr when a fork of the target is open, notAFileErr when either is a
// folder, bdNamErr when the source has a sidecar and the target's name is
// too long for one: then nothing has moved.
OSErr FSpRenameOver(const FSSpec& source, const FSSpec& target);
// Moves an item into another folder under the same name.
OSErr FSpCatMove(const FSSpec& fileSpec, const FSSpec& destFolder);
// Copies a file (both forks and the Finder information) to a new item.
OSErr FSpCopyFile(const FSSpec& source, const FSSpec& dest);

// Symbolic links stand in for aliases. Resolving follows chains; a broken
// link gives fnfErr.
OSErr FSpIsLink(const FSSpec& fileSpec, bool* isLink);
OSErr FSpResolveLink(const FSSpec& fileSpec, FSSpec* target, bool* targetIsFolder);
// Where the links lead, whether or not anything is there at the end (the
// item itself when it is no link): the place to make the file a broken
// link names. fnfErr for links that lead round in a loop.
OSErr FSpLinkDestination(const FSSpec& fileSpec, FSSpec* destination);

// Free and total bytes of the file system holding the item.
OSErr FSpGetFreeSpace(const FSSpec& fileSpec, int64_t* freeBytes, int64_t* totalBytes = nullptr);

}  // namespace platform

// Alias files by file reference. Symbolic links stand in for aliases (the
// file layer's rule): resolving follows a chain of links to its end; a
// link whose target is missing gives fnfErr.
#pragma once

#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"

namespace platform {

// folderFlag: whether the item (a link's target) is a folder.
OSErr FSIsAliasFile(const FSRef& ref, bool* aliasFileFlag, bool* folderFlag);
// Replaces *ref by the target of an alias file; anything else stays as it
// is (wasAliased false). resolveAliasChains is always honoured: Linux
// follows the whole chain at once.
OSErr FSResolveAliasFile(FSRef* ref, bool resolveAliasChains, bool* targetIsFolder, bool* wasAliased);
// The same; no volume is ever mounted, so the flags change nothing.
constexpr uint32_t kResolveAliasFileNoUI = 0x00000001;
OSErr FSResolveAliasFileWithMountFlags(FSRef* ref, bool resolveAliasChains, bool* targetIsFolder, bool* wasAliased,
                                       uint32_t mountFlags);

}  // namespace platform

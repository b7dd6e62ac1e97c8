// The AppleDouble sidecar "._name" beside an item, which carries its Finder
// information and resource fork. Nothing depends on a sidecar being there.
#pragma once

#include <cstddef>
#include <string>

#include "platform/core/MacTypes.h"
#include "platform/files/AppleDouble.h"

namespace platform {

std::string SidecarPath(const std::string& itemPath);
// The longest name of an item that can have a sidecar (whose name is two
// bytes longer): longer names keep only the information their extension
// implies.
constexpr size_t kLongestSidecarItemName = 253;
// Whether an item's sidecar holding `doc` can be left out when its name is
// too long for one: it holds the Finder information alone, which the
// extension then answers. A resource fork, or anything else, cannot be.
bool SidecarMayBeLeftOut(const AppleDouble& doc);
// True for names that are sidecars (and so never listed or opened as files).
bool IsSidecarName(const std::string& name);

// Reads the item's sidecar: *present is false (and *doc empty) when there
// is none (as for a name too long for one); a damaged sidecar gives ioErr.
OSErr ReadSidecar(const std::string& itemPath, AppleDouble* doc, bool* present);
// Writes the item's sidecar crash-safely; an empty document removes it. An
// item whose name is too long for one goes without it when it may
// (SidecarMayBeLeftOut), else bdNamErr.
OSErr WriteSidecar(const std::string& itemPath, const AppleDouble& doc);
// Removes the item's sidecar, if any.
OSErr RemoveSidecar(const std::string& itemPath);
// Removes the sidecars in a folder whose items are gone (left by copies
// from other systems): they are never listed, so they must not keep an
// otherwise empty folder from being deleted.
void RemoveOrphanSidecars(const std::string& folderPath);

}  // namespace platform

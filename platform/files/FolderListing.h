// Listing a folder: a snapshot of its entries, sorted by name (bytewise) so
// that every run sees the same order. Sidecars never appear.
#pragma once

#include <string>
#include <vector>

#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"

namespace platform {

enum class EntryKind : uint8_t { File, Folder, Other };

struct FolderEntry {
    std::string name;
    FSSpec fileSpec;
    EntryKind kind = EntryKind::Other;  // of the link's target for a link
    bool isLink = false;
    bool brokenLink = false;            // a link whose target is missing (kind Other)
    bool hidden = false;                // a dot name or the invisible Finder flag
};

OSErr FSpListFolder(const FSSpec& folder, std::vector<FolderEntry>* entries);

// The names of a folder's entries as the system lists them, "." and ".."
// left out; false (errno says why) when the folder cannot be read.
bool NamesIn(const std::string& folder, std::vector<std::string>* names);

}  // namespace platform

// What the catalogue needs to know of open forks (internal to the file service).
#pragma once

#include <string>

namespace platform {

// True when a fork of the item at `path` is open.
bool IsItemOpen(const std::string& path);
// True when the item is open here, or another program holds it for
// writing (its write lock: a document open there).
bool IsItemHeld(const std::string& path);
// Open forks of an item that was renamed or moved follow it.
void ItemPathChanged(const std::string& oldPath, const std::string& newPath);
// Where the file open as `fd` is now, when the system tells and it is
// elsewhere than `path` (empty for a file deleted since).
std::string OpenFileMovedTo(int fd, const std::string& path);

}  // namespace platform

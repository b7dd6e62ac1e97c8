// What the catalogue needs to know of open forks (internal to the file service).
#pragma once

#include <string>

namespace platform {

// True when a fork of the item at `path` is open.
bool IsItemOpen(const std::string& path);
// Open forks of an item that was renamed or moved follow it.
void ItemPathChanged(const std::string& oldPath, const std::string& newPath);

}  // namespace platform

// The folders the file dialogs were last left in, one per preference key,
// kept in the preferences folder so that a dialog reopens there in the
// next run too. The file holds one line per key: eight hex digits, a space
// and the folder's path.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace platform {

constexpr const char* kNavFoldersFileName = "Qz Dialog Folders";

// Reads the lines; a line that is not a key and an absolute path is skipped.
void ParseNavFolders(std::string_view text, std::map<uint32_t, std::string>* folders);
std::string FormatNavFolders(const std::map<uint32_t, std::string>& folders);

// The folder remembered under the key (read from the file on first use);
// empty when none.
std::string NavRememberedFolder(uint32_t key);
// Remembers it, and writes the file (a failure to write only loses the
// memory for later runs).
void NavRememberFolder(uint32_t key, const std::string& folder);
// Forgets what was read, so that the next question reads the file again.
void NavReloadFolders();
// Forgets every folder and removes the file.
void NavForgetFolders();

}  // namespace platform

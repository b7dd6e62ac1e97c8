// The recent-documents list: 'SP2#' 0 of the preferences file, big-endian.
// 84 bytes not read here, the added byte (1 once the list is in the
// preferences file), a spare byte, the entry count (0 to 5), then the
// entries, most recent first, with room for one more: name (Str255), folder
// path ending in ':' (Str255, the full path), folder number (0), Finder
// type, and six bytes moved along unread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/MacTypes.h"

constexpr int16_t kMaxOpenSpecial = 5;

struct OpenSpecialItem {
    std::string name;  // Mac Roman
    std::string path;
    int32_t folder = 0;
    platform::OSType type = 0;
};

// The entries the bytes really hold: the stored count, cut to five and to
// the whole entries present.
int16_t OpenSpecialCount(const uint8_t* bytes, size_t size);
bool OpenSpecialEntry(const uint8_t* bytes, size_t size, int16_t index, OpenSpecialItem* item);
// Puts the document first in the list's bytes (an empty vector is a new
// list); false, nothing changed, when the path or the name is too long for
// its field.
bool AddToOpenSpecial(std::vector<uint8_t>* bytes, const std::string& path, const std::string& name,
                      platform::OSType type);
// The menu text of an entry: path and name, or past 64 characters the path
// up to its last ':' within the first 60 - name length characters, "..:"
// and the name.
void OpenSpecialText(const std::string& path, const std::string& name, std::string* text);

// The list in the preferences file, then its menu (command 11).
void AddOpenSpecial(const std::string& path, const std::string& name, platform::OSType type);
void UpdateOpenSpecialMenu();

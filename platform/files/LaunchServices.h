// What the desktop knows of an item: its kind flags, Finder type and
// creator, and the extension of its name.
#pragma once

#include <string>

#include "platform/files/FileTypes.h"

namespace platform {

using LSRequestedInfo = uint32_t;
constexpr LSRequestedInfo kLSRequestExtension = 0x00000001;
constexpr LSRequestedInfo kLSRequestTypeCreator = 0x00000002;
constexpr LSRequestedInfo kLSRequestBasicFlagsOnly = 0x00000004;
constexpr LSRequestedInfo kLSRequestAllInfo = 0xFFFFFFFF;

using LSItemInfoFlags = uint32_t;
constexpr LSItemInfoFlags kLSItemInfoIsPlainFile = 0x00000001;
constexpr LSItemInfoFlags kLSItemInfoIsPackage = 0x00000002;
constexpr LSItemInfoFlags kLSItemInfoIsContainer = 0x00000008;

struct LSItemInfoRecord {
    LSItemInfoFlags flags = 0;
    OSType filetype = 0;  // files only
    OSType creator = 0;
    std::string extension;  // without its '.'; empty when the name has none
};

// Fills what was asked for; fnfErr when the item does not exist, paramErr
// without a reference or record.
OSStatus LSCopyItemInfoForRef(const FSRef* ref, LSRequestedInfo which, LSItemInfoRecord* info);

}  // namespace platform

// Types and constants of the file service: FSSpecs over POSIX
// paths, Finder information, catalogue information, access permissions.
#pragma once

#include <cstdint>
#include <string>

#include "platform/core/Errors.h"
#include "platform/core/MacTypes.h"

namespace platform {

// Result codes the core table does not hold.
constexpr OSErr badMovErr = -122;      // a move across file systems or into itself
constexpr OSErr notAFileErr = -1302;   // a folder where a file was expected
constexpr OSErr lockNameErr = -1303;   // a folder, link or special file at a lock file's name
constexpr OSErr lockDeniedErr = -1304; // a lock file this user may not open (another user's)
constexpr OSErr fileBoundsErr = -1309; // a size or position too large for the caller
// An open file that is no longer the file at its name, alone: moved,
// renamed, replaced, deleted or linked under a second name behind the
// program's back.
constexpr OSErr fileMovedErr = -1310;

// A file reference: the absolute, lexically normal POSIX path (UTF-8)
// of an item that may or may not exist. Names are kept whole.
struct FSSpec {
    std::string path;

    bool operator==(const FSSpec&) const = default;
};

// A reference to an item that exists (its absolute, lexically normal
// POSIX path); an FSSpec may also name an item still to be made.
struct FSRef {
    std::string path;

    bool operator==(const FSRef&) const = default;
};

// Access permissions of FSpOpenDF / FSpOpenRF.
constexpr SInt8 fsCurPerm = 0;     // whatever is allowed: read and write, else read
constexpr SInt8 fsRdPerm = 1;
constexpr SInt8 fsWrPerm = 2;
constexpr SInt8 fsRdWrPerm = 3;
constexpr SInt8 fsRdWrShPerm = 4;  // read and write, shared with other writers

// Position modes of SetFPos.
constexpr int16_t fsAtMark = 0;
constexpr int16_t fsFromStart = 1;
constexpr int16_t fsFromLEOF = 2;
constexpr int16_t fsFromMark = 3;

// Finder flags.
constexpr uint16_t kIsOnDesk = 0x0001;
constexpr uint16_t kHasBeenInited = 0x0100;
constexpr uint16_t kHasCustomIcon = 0x0400;
constexpr uint16_t kIsStationery = 0x0800;
constexpr uint16_t kNameLocked = 0x1000;
constexpr uint16_t kHasBundle = 0x2000;
constexpr uint16_t kIsInvisible = 0x4000;
constexpr uint16_t kIsAlias = 0x8000;

// Finder information of a file (the first 16 bytes of the stored record).
struct FInfo {
    OSType fdType = 0;
    OSType fdCreator = 0;
    uint16_t fdFlags = 0;
    Point fdLocation = {0, 0};
    int16_t fdFldr = 0;

    bool operator==(const FInfo& o) const
    {
        return fdType == o.fdType && fdCreator == o.fdCreator && fdFlags == o.fdFlags &&
               fdLocation.v == o.fdLocation.v && fdLocation.h == o.fdLocation.h &&
               fdFldr == o.fdFldr;
    }
};

// What the catalogue knows of one item.
struct CatInfo {
    bool isFolder = false;
    bool isLink = false;         // the item itself is a symbolic link (followed for the rest)
    bool isHidden = false;       // a dot name or the invisible Finder flag
    int64_t dataSize = 0;        // logical size of the data fork
    int64_t rsrcSize = 0;        // size of the resource fork held in the sidecar
    FInfo finderInfo;            // from the sidecar, else from the extension
    uint16_t permissions = 0;    // POSIX mode bits (0777 and the sticky/set-id bits)
    uint32_t createDate = 0;     // seconds since 1904, local time
    uint32_t modDate = 0;
    uint64_t nodeId = 0;         // the inode number
    uint64_t volumeId = 0;       // the device number
};

}  // namespace platform

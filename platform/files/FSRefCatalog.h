// The catalogue by file reference: references from paths and names, what
// the catalogue knows of an item, making, deleting and renaming items, the
// special folders, and the parameter-block catalogue and volume calls.
// Thin calls over the FSSpec catalogue (FileSpec.h): an FSRef is the path of
// an item that exists.
//
// Unicode names are catalogue names: a '/' in one stands for a ':' in the
// Linux name, as in colon paths (ColonPath.h).
//
// A symbolic link is an alias file: its node flags and sizes are those of
// its target (as the FSSpec catalogue answers them), and its Finder flags
// carry kIsAlias. The Finder flags of a dot name carry kIsInvisible.
#pragma once

#include <cstdint>
#include <string>

#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"

namespace platform {

constexpr OSErr errFSNoMoreItems = -1417;
constexpr OSErr errFSBadFSRef = -1401;

// A catalogue name: at most 255 UTF-16 units.
struct HFSUniStr255 {
    uint16_t length = 0;
    char16_t unicode[255] = {};
};
HFSUniStr255 MakeHFSUniStr255(const std::u16string& name);

using FSCatalogInfoBitmap = uint32_t;
constexpr FSCatalogInfoBitmap kFSCatInfoNone = 0;
constexpr FSCatalogInfoBitmap kFSCatInfoNodeFlags = 0x00000002;
constexpr FSCatalogInfoBitmap kFSCatInfoVolume = 0x00000004;
constexpr FSCatalogInfoBitmap kFSCatInfoParentDirID = 0x00000008;
constexpr FSCatalogInfoBitmap kFSCatInfoNodeID = 0x00000010;
constexpr FSCatalogInfoBitmap kFSCatInfoCreateDate = 0x00000020;
constexpr FSCatalogInfoBitmap kFSCatInfoContentMod = 0x00000040;
constexpr FSCatalogInfoBitmap kFSCatInfoPermissions = 0x00000400;
constexpr FSCatalogInfoBitmap kFSCatInfoFinderInfo = 0x00000800;
constexpr FSCatalogInfoBitmap kFSCatInfoDataSizes = 0x00004000;
constexpr FSCatalogInfoBitmap kFSCatInfoRsrcSizes = 0x00008000;
constexpr FSCatalogInfoBitmap kFSCatInfoGettableInfo = 0x0003FFFF;
// What FSSetCatalogInfo can change here: the mode and the Finder information.
constexpr FSCatalogInfoBitmap kFSCatInfoSettableInfo = kFSCatInfoPermissions | kFSCatInfoFinderInfo;

constexpr uint16_t kFSNodeIsDirectoryMask = 0x0010;

// Only the fields the bitmap asks for are filled; the others are zero.
struct FSCatalogInfo {
    uint16_t nodeFlags = 0;
    int16_t volume = 0;
    int32_t parentDirID = 0;
    int32_t nodeID = 0;  // a folder's directory id; 0 for a file
    uint32_t createDate = 0;
    uint32_t contentModDate = 0;
    uint16_t permissions = 0;  // the POSIX mode bits
    FInfo finderInfo;
    int64_t dataLogicalSize = 0;
    int64_t rsrcLogicalSize = 0;
};

// From a POSIX path (UTF-8): fnfErr when nothing stands there.
OSErr FSPathMakeRef(const std::string& posixPath, FSRef* ref, bool* isDirectory = nullptr);
// The item `name` in the folder `parent`: fnfErr when it does not exist
// (the parent must); bdNamErr for a name Linux cannot take.
OSErr FSMakeFSRefUnicode(const FSRef& parent, int32_t nameLength, const char16_t* name, FSRef* newRef);
// Any of info, outName, fileSpec and parentRef may be null.
OSErr FSGetCatalogInfo(const FSRef& ref, FSCatalogInfoBitmap which, FSCatalogInfo* info, HFSUniStr255* outName,
                       FSSpec* fileSpec, FSRef* parentRef);
// Sets the permissions and the Finder information the bitmap names; other
// bits are ignored.
OSErr FSSetCatalogInfo(const FSRef& ref, FSCatalogInfoBitmap which, const FSCatalogInfo& info);
// A new empty file or folder; its catalogue information (the Finder
// information of a file, the permissions of either) when info is given.
// dupFNErr when the name is taken. newRef and newSpec may be null.
OSErr FSCreateFileUnicode(const FSRef& parent, int32_t nameLength, const char16_t* name, FSCatalogInfoBitmap which,
                          const FSCatalogInfo* info, FSRef* newRef, FSSpec* newSpec);
OSErr FSCreateDirectoryUnicode(const FSRef& parent, int32_t nameLength, const char16_t* name,
                               FSCatalogInfoBitmap which, const FSCatalogInfo* info, FSRef* newRef, FSSpec* newSpec,
                               int32_t* newDirID);
// fBsyErr for a file with an open fork or a folder that is not empty.
OSErr FSDeleteObject(const FSRef& ref);
// In place; newRef (may be null) names the renamed item.
OSErr FSRenameUnicode(const FSRef& ref, int32_t nameLength, const char16_t* name, FSRef* newRef);

// Special folders by domain and type: 'docs' in the user domain is the
// documents folder, 'empz' in the local domain the extensions folder,
// 'pref' the preferences and 'cach' the cache folder in any domain; other
// types give fnfErr.
constexpr int16_t kUserDomain = -32763;
constexpr int16_t kLocalDomain = -32765;
OSErr FSFindFolder(int16_t domain, OSType folderType, bool createFolder, FSRef* ref);

// The classic catalogue parameter block. In: ioVRefNum, ioDirID and
// ioNamePtr (a Mac Roman name, or empty), or with ioFDirIndex < 0 the
// folder ioDirID itself. Out: ioFlAttrib (0x10 a folder), the Finder
// information of a file, ioDrDirID (a folder's id) and ioDrParID.
struct CInfoPBRec {
    const uint8_t* ioNamePtr = nullptr;
    int16_t ioVRefNum = 0;
    int16_t ioFDirIndex = 0;
    int32_t ioDirID = 0;
    uint8_t ioFlAttrib = 0;
    FInfo ioFlFndrInfo;
    int32_t ioDrDirID = 0;
    int32_t ioDrParID = 0;
    OSErr ioResult = noErr;
};
OSErr PBGetCatInfoSync(CInfoPBRec* pb);

// The one volume: its name (empty: the root has none), number and space.
struct HVolumeParam {
    uint8_t* ioNamePtr = nullptr;  // room for a Str255, or null
    int16_t ioVRefNum = 0;         // in: 0, -1 or a volume index below
    int16_t ioVolIndex = 0;        // in: > 0 the n-th volume
    int64_t ioVFreeBytes = 0;
    int64_t ioVTotalBytes = 0;
    OSErr ioResult = noErr;
};
OSErr PBHGetVInfoSync(HVolumeParam* pb);

}  // namespace platform

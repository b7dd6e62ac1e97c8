// Finding the plug-ins a structure can use while it is read: packages
// (kind 7) with their routines (kind-7 members) and older plug-in routines
// (kind 8), from the application's own resource file, the document's two
// companion files and the plug-in folders (network/PlugInFolders.h), whose
// items are plain resource files or bundles (platform/resfiles/Bundles.h).
//
// A plug-in file stays open while an object made from it lives; a file
// from which no object was made is closed at once (design/plugins/PlugInFiles.h).
// Results: 0; -108 when an object cannot be made or memory runs out
// (nothing of the file stays open then); -1 and -2 as told below.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/MacTypes.h"
#include "platform/files/FileTypes.h"

class TMainDoc;
class TObjQz;
struct PlugInBatch;

// The state of one search. The objects a search makes join their kind's
// list together when the outermost search call ends (one merge, not one
// insertion each); until then `batch` holds them.
struct ReadObjLink {
    TMainDoc* doc = nullptr;
    platform::Handle resource = nullptr;  // the last resource read
    int16_t id = 0;
    platform::ResType type = 0;
    unsigned char name[256] = {0};
    unsigned char shortName[33] = {0};     // the name cut to 32
    TObjQz* made = nullptr;                // the last object made
    PlugInBatch* batch = nullptr;
    std::vector<std::string> leftOutRoutines;  // of the file read last: another plug-in's have their names
};

constexpr platform::OSType kPackageFileType = 0x517A4342;  // 'QzCB'
constexpr platform::OSType kRoutineFileType = 0x517A6578;  // 'Qzex'

// Kind 7, in this order: the bundles of the application's own file (a
// duplicate there ends the kind with -1), the 'QzPX' packages of the two
// companions, the plug-in folders. 1001 when the wait dialog was stopped.
int16_t ReadPlugInPackages(TMainDoc* doc);
// Kind 8: the 'QzEX' routines of the two companions, then the folders
// (whose items hold no such routine). 1001 when stopped.
int16_t ReadPlugInRoutines(TMainDoc* doc);

// One kind-8 object per 'QzEX' of the file, named by its routine name.
int16_t ReadObj_SearchExternals(int16_t file, ReadObjLink* link);
// One package per 'QzPX' of the file ("_" and its name), with a routine
// per string of the routine list of its 'QBNX' (none when either is
// missing or damaged), empty strings and "@" included.
int16_t ReadObj_SearchPackages(int16_t file, ReadObjLink* link);
// One package per sound 'QBNX' bundle of the file, named by the bundle,
// its 'THM#', that one's first string or `defaultName`, with a routine per
// string of its routine list but those beginning with "@", the empty ones
// and, in a plug-in file, those whose name a routine made before has (left
// out, their names in link->leftOutRoutines). A bundle whose table, list or name does not fit, or whose list is
// missing, is passed over. -1 when a package of the name exists (the
// bundle is passed over); -2 when the file does not go with the
// application's and the bundle's id is one reserved for the application's
// own packages. In the application's own file a -1 passes over every later
// bundle; elsewhere each bundle decides afresh. The last bundle's answer.
int16_t ReadObj_SearchExtFolderPack(int16_t file, ReadObjLink* link, const unsigned char* defaultName);
// Opens one folder item (an alias is followed; a folder is opened as a
// bundle) and, for the package file types, reads its bundles. 0 or -108.
int16_t brz_TryToLoadOnePack(ReadObjLink* link, platform::OSType fileType, const platform::FSSpec& item);
// Offers every item of the folder, in name order, until the wait dialog
// is stopped. 1, or -108.
int16_t LoadPlugIns(ReadObjLink* link, platform::OSType fileType, int16_t vRefNum, int32_t dirID);
platform::OSErr brz_NativePlugInsFolderRefs(int16_t location, int16_t* vRefNum, int32_t* dirID);
// Loads the plug-ins of the folder at `location` when there is one. 1, or -108.
int16_t brz_LookupPluginsFolder(ReadObjLink* link, platform::OSType fileType, int16_t location, bool flag);
// The folders at locations 5, 3, 0, 1 and 2, each once. 0, or -108.
int16_t ReadObj_SearchExtFolder(ReadObjLink* link, platform::OSType fileType);

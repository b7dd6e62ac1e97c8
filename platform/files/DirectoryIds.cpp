#include "platform/files/DirectoryIds.h"

#include <map>

#include "platform/core/Errors.h"
#include "platform/files/FileSpec.h"

namespace platform {
namespace {

struct IdTable {
    std::map<std::string, int32_t> byPath;
    std::map<int32_t, std::string> byId;
    int32_t next = kRootDirID + 1;
};

IdTable& Table()
{
    static IdTable table;
    return table;
}

}  // namespace

OSErr FSpGetDirID(const FSSpec& folder, int16_t* vRefNum, int32_t* dirID)
{
    if (vRefNum) *vRefNum = 0;
    if (dirID) *dirID = 0;
    bool isFolder = false;
    if (!FSpExists(folder, &isFolder) || !isFolder) return dirNFErr;
    int32_t id = kRootDirID;
    if (folder.path != "/") {
        IdTable& t = Table();
        auto it = t.byPath.find(folder.path);
        if (it != t.byPath.end()) {
            id = it->second;
        } else {
            if (t.next == INT32_MAX) return tmfoErr;
            id = t.next++;
            t.byPath.emplace(folder.path, id);
            t.byId.emplace(id, folder.path);
        }
    }
    if (vRefNum) *vRefNum = kOnlyVolume;
    if (dirID) *dirID = id;
    return noErr;
}

OSErr FSMakeFSSpecFromDirID(int16_t vRefNum, int32_t dirID, const std::string& name, FSSpec* fileSpec)
{
    if (vRefNum != kOnlyVolume && vRefNum != 0) return nsvErr;
    std::string folder = "/";
    if (dirID != kRootDirID) {
        auto it = Table().byId.find(dirID);
        if (it == Table().byId.end()) return dirNFErr;
        folder = it->second;
    }
    if (name.empty()) return FSMakeFSSpec(folder, fileSpec);
    return FSMakeFSSpec(FSSpec{folder}, name, fileSpec);
}

void ResetDirectoryIds() { Table() = IdTable{}; }

}  // namespace platform

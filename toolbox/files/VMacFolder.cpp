#include "toolbox/files/VMacFolder.h"

#include <string>
#include <vector>

#include "platform/core/Errors.h"
#include "platform/files/DirectoryIds.h"
#include "platform/files/FileSpec.h"
#include "platform/files/SpecialFolders.h"
#include "toolbox/files/VFolder.h"

using namespace platform;

VFolder_Mac::VFolder_Mac(VFolder* owner) : fOwner(owner) {}

VFolder_Mac::~VFolder_Mac() = default;

VObject* VFolder_Mac::_GetOwner() { return fOwner; }

int16_t VFolder_Mac::Init(eFolderKind kind)
{
    SpecialFolder which;
    bool create;
    switch (kind) {
    case kDocumentsFolderKind: which = SpecialFolder::Documents, create = false; break;
    case kSharedFolderKind: which = SpecialFolder::Extensions, create = true; break;
    default: return 0;
    }
    ClearPending();
    fOnDisk = false;
    fRef = FSRef{};
    FSSpec fileSpec;
    OSErr err = FindSpecialFolder(which, create, &fileSpec);
    if (err == noErr) SetOnDisk(FSRef{fileSpec.path});
    return MapFileError(err);
}

int16_t VFolder_Mac::Init(int16_t vRefNum, int32_t dirID, const VString& name)
{
    std::u16string units = name.GetCFString();
    // A name holding ':' but not opening with one is a full path.
    if (!units.empty() && units[0] != u':' && units.find(u':') != std::u16string::npos) return Init(name);
    FSSpec fileSpec;
    OSErr err = FSMakeFSSpecFromDirID(vRefNum, dirID, std::string(), &fileSpec);
    // A relative path (":Sub:Folder:"): each name in turn from the
    // directory; every further ':' ("::") climbs to the parent.
    if (!units.empty() && units[0] == u':') units.erase(0, 1);
    std::vector<std::u16string> parts;
    for (size_t start = 0;;) {
        const size_t colon = units.find(u':', start);
        parts.push_back(units.substr(start, colon == std::u16string::npos ? std::u16string::npos : colon - start));
        if (colon == std::u16string::npos) break;
        start = colon + 1;
    }
    if (parts.back().empty()) parts.pop_back();  // the folder's own trailing ':'
    for (size_t i = 0; i < parts.size() && err == noErr; ++i) {
        if (parts[i].empty()) {
            if (fileSpec.path != "/") fileSpec = FSpGetParent(fileSpec);
            continue;
        }
        VText partName;
        partName.FromCFString(parts[i]);
        std::string posixName;
        if (!PosixName(partName, &posixName)) {
            err = bdNamErr;
            break;
        }
        FSSpec next;
        err = FSMakeFSSpec(fileSpec, posixName, &next);
        // Only the last name may be missing: the folder is then still to make.
        if (err == noErr || (err == fnfErr && i + 1 == parts.size()))
            fileSpec = next;
        else if (err == fnfErr)
            err = dirNFErr;
    }
    if (err != noErr && err != fnfErr) {
        ClearPending();
        fOnDisk = false;
        fRef = FSRef{};
        return MapFileError(err);
    }
    return Init(fileSpec);
}

int16_t VFolder_Mac::_Create()
{
    if (fOnDisk) return 0;
    FSSpec fileSpec;
    if (!fParent || !fName || GetFSSpec(&fileSpec) != 0 || !fParent->MAC_GetFolder().IsOnDisk())
        return MapFileError(fnfErr);
    OSErr err = FSpDirCreate(fileSpec);
    if (err == noErr) SetOnDisk(FSRef{fileSpec.path});
    return MapFileError(err);
}

int16_t VFolder_Mac::GetDirectoryID(int32_t* dirID, int16_t* vRefNum, bool resolveAlias)
{
    if (dirID) *dirID = 0;
    if (vRefNum) *vRefNum = 0;
    if (!fOnDisk) return MapFileError(fnfErr);
    FSSpec fileSpec{fRef.path};
    if (resolveAlias) {
        bool isFolder = false;
        FSSpec target;
        OSErr err = FSpResolveLink(fileSpec, &target, &isFolder);
        if (err != noErr) return MapFileError(err);
        if (!isFolder) return MapFileError(paramErr);
        fileSpec = target;
    }
    return MapFileError(FSpGetDirID(fileSpec, vRefNum, dirID));
}

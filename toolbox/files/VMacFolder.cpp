#include "toolbox/files/VMacFolder.h"

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
    std::string posixName;
    if (name.GetLength() > 0 && !PosixName(name, &posixName)) return MapFileError(bdNamErr);
    FSSpec fileSpec;
    OSErr err = FSMakeFSSpecFromDirID(vRefNum, dirID, posixName, &fileSpec);
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

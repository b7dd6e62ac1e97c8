#include "toolbox/files/VMacFileObject.h"

#include <string>

#include "platform/core/Errors.h"
#include "platform/files/ColonPath.h"
#include "platform/files/FileSpec.h"
#include "toolbox/files/FileNames.h"
#include "toolbox/files/VFolder.h"
#include "toolbox/files/VPath.h"

using namespace platform;

int16_t MapFileError(int16_t osErr, VFileErrorStack* stack)
{
    int16_t code;
    switch (osErr) {
    case noErr: return 0;
    case dskFulErr: code = kFileErrDiskFull; break;
    case eofErr: code = kFileErrEndOfData; break;
    case fnfErr:
    case dirNFErr:
    case -1401: code = kFileErrMissing; break;
    case fLckdErr:
    case vLckdErr:
    case afpAccessDenied: code = kFileErrLocked; break;
    case permErr:
    case opWrErr:
    case fBsyErr: code = kFileErrBusy; break;
    case dupFNErr: code = kFileErrExists; break;
    case memFullErr: code = kFileErrMemory; break;
    case -128: code = kFileErrCancelled; break;
    default: code = kFileErrOther; break;
    }
    RecordFileError(osErr, code, stack);
    return code;
}

void RecordFileError(int16_t osErr, int16_t toolboxErr, VFileErrorStack* stack)
{
    if (!stack || osErr == noErr) return;
    auto* error = new VFileError;
    if (!error) return;
    error->SetOSError(uint32_t(int32_t(osErr)));
    error->SetVError(uint32_t(int32_t(toolboxErr)));
    VText description;
    FromUtf8("OSErr =" + std::to_string(osErr), description);
    error->SetFullDescription(description);
    stack->Add(error);
}

int16_t MAC_FSSpecToFullPath(const FSSpec& fileSpec, VString& path)
{
    std::string colon;
    OSErr err = FSpGetColonPath(fileSpec, &colon);
    if (err != noErr) {
        path.SetNull(false);
        path.ClearString(false);
        return err;
    }
    FromUtf8(colon, path);
    return noErr;
}

// --- modes ---------------------------------------------------------------

VFileObject_Mac::VFileObject_Mac() = default;

VFileObject_Mac::~VFileObject_Mac() { ClearPending(); }

void VFileObject_Mac::ClearPending()
{
    delete fParent;
    fParent = nullptr;
    delete fName;
    fName = nullptr;
}

void VFileObject_Mac::SetOnDisk(const FSRef& ref)
{
    ClearPending();
    fRef = ref;
    fOnDisk = true;
}

void VFileObject_Mac::SetPending(const FSSpec& folder, const std::string& posixName)
{
    ClearPending();
    fOnDisk = false;
    fRef = FSRef{};
    fParent = new VFolder(FSRef{folder.path});
    fName = new VText;
    if (!fParent || !fName) {
        ClearPending();
        return;
    }
    FromUtf8(PosixNameToColon(posixName), *fName);
}

bool VFileObject_Mac::PosixName(const VString& name, std::string* posixName)
{
    *posixName = ColonNameToPosix(ToUtf8(name));
    return IsValidItemName(*posixName);
}

int16_t VFileObject_Mac::Init(const VString& path)
{
    ClearPending();
    fOnDisk = false;
    fRef = FSRef{};
    FSRef ref;
    if (HFSPathToFSRef(path, &ref)) {
        SetOnDisk(ref);
        return 0;
    }
    VText parent;
    VPath::GetParentPath(path, parent, kPathColon);
    bool isFolder = false;
    if (parent.GetLength() > 0 && HFSPathToFSRef(parent, &ref, &isFolder) && isFolder) {
        VText name;
        VPath::GetTargetName(path, name);
        std::string posixName;
        if (PosixName(name, &posixName)) {
            SetPending(FSSpec{ref.path}, posixName);
            if (fParent) return 0;
        }
    }
    return kFileErrNoPlace;
}

int16_t VFileObject_Mac::Init(const VFolder& folder, const VString& name)
{
    ClearPending();
    fOnDisk = false;
    fRef = FSRef{};
    FSRef folderRef;
    if (!folder.MAC_GetFolder().GetFSRef(&folderRef)) return MapFileError(fnfErr);
    std::string posixName;
    if (!PosixName(name, &posixName)) return MapFileError(bdNamErr);
    FSSpec fileSpec;
    OSErr err = FSMakeFSSpec(FSSpec{folderRef.path}, posixName, &fileSpec);
    if (err == noErr)
        SetOnDisk(FSRef{fileSpec.path});
    else if (err == fnfErr)
        SetPending(FSSpec{folderRef.path}, posixName);
    return MapFileError(err);
}

int16_t VFileObject_Mac::Init(const FSSpec& fileSpec)
{
    ClearPending();
    fOnDisk = false;
    fRef = FSRef{};
    FSRef ref;
    if (FSpMakeFSRef(fileSpec, &ref) == noErr) {
        SetOnDisk(ref);
    } else if (!fileSpec.path.empty() && fileSpec.path != "/") {
        bool isFolder = false;
        if (FSpExists(FSpGetParent(fileSpec), &isFolder) && isFolder) SetPending(FSpGetParent(fileSpec), FSpGetName(fileSpec));
    }
    return 0;
}

int16_t VFileObject_Mac::Init(const FSRef& ref)
{
    SetOnDisk(ref);
    return 0;
}

int16_t VFileObject_Mac::Init(const VFileObject_Mac& other)
{
    if (&other == this) return 0;
    ClearPending();
    fOnDisk = other.fOnDisk;
    fRef = other.fRef;
    if (other.fParent) fParent = new VFolder(*other.fParent);
    if (other.fName) fName = new VText(*other.fName);
    if (bool(fParent) != bool(other.fParent) || bool(fName) != bool(other.fName)) {
        ClearPending();
        return kFileErrMemory;
    }
    return 0;
}

// --- questions -----------------------------------------------------------

bool VFileObject_Mac::CheckIfExists(bool* isFolder)
{
    if (isFolder) *isFolder = false;
    FSSpec fileSpec;
    if (GetFSSpec(&fileSpec) != 0) return false;
    bool folder = false;
    const bool exists = FSpExists(fileSpec, &folder);
    if (exists && !fOnDisk) {
        SetOnDisk(FSRef{fileSpec.path});
    } else if (!exists && fOnDisk && fileSpec.path != "/") {
        // Gone from under us: keep the place, so it can be made again.
        SetPending(FSpGetParent(fileSpec), FSpGetName(fileSpec));
    }
    if (isFolder) *isFolder = folder;
    return exists;
}

bool VFileObject_Mac::GetFSRef(FSRef* ref) const
{
    *ref = fRef;
    return fOnDisk;
}

int16_t VFileObject_Mac::GetFSSpec(FSSpec* fileSpec) const
{
    *fileSpec = FSSpec{};
    if (fOnDisk) {
        fileSpec->path = fRef.path;
        return 0;
    }
    if (!fParent || !fName) return fnfErr;
    FSSpec folder;
    if (fParent->MAC_GetFolder().GetFSSpec(&folder) != 0) return fnfErr;
    std::string posixName;
    if (!PosixName(*fName, &posixName)) return bdNamErr;
    OSErr err = FSMakeFSSpec(folder, posixName, fileSpec);
    return err == noErr || err == fnfErr || err == dirNFErr ? 0 : err;
}

int16_t VFileObject_Mac::GetName(VString& name) const
{
    name.SetNull(false);
    name.ClearString(false);
    if (fOnDisk) {
        FromUtf8(PosixNameToColon(FSpGetName(FSSpec{fRef.path})), name);
        return 0;
    }
    if (!fName) return kFileErrMissing;
    name.FromVString(*fName);
    return 0;
}

VFolder* VFileObject_Mac::GetParent() const
{
    if (fOnDisk) {
        if (fRef.path.empty() || fRef.path == "/") return nullptr;
        return new VFolder(FSRef{FSpGetParent(FSSpec{fRef.path}).path});
    }
    return fParent ? new VFolder(*fParent) : nullptr;
}

bool VFileObject_Mac::GetHFSPath(VText& path) const
{
    if (fOnDisk) return FSRefToHFSPath(fRef, path);
    FSSpec fileSpec;
    if (GetFSSpec(&fileSpec) != 0) {
        path.SetNull(false);
        path.ClearString(false);
        return false;
    }
    return FSSpecToHFSPath(fileSpec, path);
}

bool VFileObject_Mac::GetUnixPath(VText& path) const
{
    if (fOnDisk) return FSRefToUnixPath(fRef, path);
    FSSpec fileSpec;
    if (GetFSSpec(&fileSpec) != 0) {
        path.SetNull(false);
        path.ClearString(false);
        return false;
    }
    return FSSpecToUnixPath(fileSpec, path);
}

int16_t VFileObject_Mac::GetPermissions(uint16_t* mode)
{
    *mode = 0;
    if (!fOnDisk) return MapFileError(fnfErr);
    return MapFileError(FSpGetPermissions(FSSpec{fRef.path}, mode));
}

// --- changes -------------------------------------------------------------

int16_t VFileObject_Mac::SetPermissions(uint16_t mode, bool add)
{
    if (!fOnDisk) return MapFileError(fnfErr);
    const FSSpec fileSpec{fRef.path};
    uint16_t current = 0;
    OSErr err = FSpGetPermissions(fileSpec, &current);
    if (err == noErr) err = FSpSetPermissions(fileSpec, add ? uint16_t(current | mode) : mode);
    return MapFileError(err);
}

int16_t VFileObject_Mac::_Create() { return kFileErrUnsupported; }

int16_t VFileObject_Mac::_Delete()
{
    if (!fOnDisk) return MapFileError(fnfErr);
    const FSSpec fileSpec{fRef.path};
    OSErr err = FSpDelete(fileSpec);
    if (err == noErr) SetPending(FSpGetParent(fileSpec), FSpGetName(fileSpec));
    return MapFileError(err);
}

int16_t VFileObject_Mac::_Rename(const VString& name)
{
    if (!fOnDisk) return MapFileError(fnfErr);
    std::string posixName;
    if (!PosixName(name, &posixName)) return MapFileError(bdNamErr);
    const FSSpec fileSpec{fRef.path};
    OSErr err = FSpRename(fileSpec, posixName);
    if (err == noErr) {
        FSSpec renamed;
        FSMakeFSSpec(FSpGetParent(fileSpec), posixName, &renamed);
        fRef.path = renamed.path;
    }
    return MapFileError(err);
}

VObject* VFileObject_Mac::_GetOwner() { return nullptr; }

// --- path conversions ----------------------------------------------------

bool VFileObject_Mac::FSRefToHFSPath(const FSRef& ref, VString& path) { return FSSpecToHFSPath(FSSpec{ref.path}, path); }

bool VFileObject_Mac::FSRefToUnixPath(const FSRef& ref, VString& path) { return FSSpecToUnixPath(FSSpec{ref.path}, path); }

bool VFileObject_Mac::FSSpecToFSRef(const FSSpec& fileSpec, FSRef* ref) { return FSpMakeFSRef(fileSpec, ref) == noErr; }

bool VFileObject_Mac::FSSpecToUnixPath(const FSSpec& fileSpec, VString& path)
{
    path.SetNull(false);
    path.ClearString(false);
    if (fileSpec.path.empty()) return false;
    FromUtf8(fileSpec.path, path);
    return true;
}

bool VFileObject_Mac::FSSpecToHFSPath(const FSSpec& fileSpec, VString& path)
{
    return !fileSpec.path.empty() && MAC_FSSpecToFullPath(fileSpec, path) == noErr;
}

bool VFileObject_Mac::HFSPathToFSRef(const VString& path, FSRef* ref, bool* isFolder)
{
    *ref = FSRef{};
    if (isFolder) *isFolder = false;
    FSSpec fileSpec;
    if (FSMakeFSSpecFromColonPath(ToUtf8(path), &fileSpec) != noErr) return false;
    if (FSpMakeFSRef(fileSpec, ref) != noErr) return false;
    if (isFolder) FSpExists(fileSpec, isFolder);
    return true;
}

bool VFileObject_Mac::MAC_GetFSRefFromPath(int16_t, int32_t, const uint8_t* pPath, FSRef* ref, bool* isFolder)
{
    *ref = FSRef{};
    if (!pPath) return false;
    VText path;
    path.FromMacPString(pPath);
    return HFSPathToFSRef(path, ref, isFolder);
}

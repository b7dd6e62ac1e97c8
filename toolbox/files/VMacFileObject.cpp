#include "toolbox/files/VMacFileObject.h"

#include <algorithm>
#include <optional>
#include <string>

#include "platform/core/Errors.h"
#include "platform/files/CFURL.h"
#include "platform/files/ColonPath.h"
#include "platform/files/FSRefAliases.h"
#include "platform/files/FSRefCatalog.h"
#include "platform/files/FileSpec.h"
#include "platform/text/Utf8.h"
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

namespace {

// Whether the referenced item is there: an alias file whose target is
// missing counts as gone, as a path that leads nowhere does.
bool ItemExists(const FSRef& ref, bool* isFolder)
{
    *isFolder = false;
    FSCatalogInfo info;
    if (FSGetCatalogInfo(ref, kFSCatInfoNodeFlags | kFSCatInfoFinderInfo, &info, nullptr, nullptr, nullptr) != noErr)
        return false;
    if (info.finderInfo.fdFlags & kIsAlias) {
        FSRef target = ref;
        bool targetIsFolder = false, aliased = false;
        if (FSResolveAliasFile(&target, true, &targetIsFolder, &aliased) != noErr) return false;
    }
    *isFolder = (info.nodeFlags & kFSNodeIsDirectoryMask) != 0;
    return true;
}

std::string NameFromUnicode(const HFSUniStr255& name)
{
    return CFStringGetUTF8(CFStringCreateWithCharacters(name.unicode, name.length));
}

}  // namespace

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
    const std::u16string units = name.GetCFString();
    if (units.size() > 255) return MapFileError(bdNamErr);
    FSRef ref;
    OSErr err = FSMakeFSRefUnicode(folderRef, int32_t(units.size()), units.data(), &ref);
    if (err == noErr) {
        SetOnDisk(ref);
    } else if (err == fnfErr) {
        std::string posixName;
        PosixName(name, &posixName);
        SetPending(FSSpec{folderRef.path}, posixName);
    }
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
    bool folder = false;
    if (!fOnDisk) {
        FSRef parentRef, ref;
        if (!fParent || !fName || !fParent->MAC_GetFolder().GetFSRef(&parentRef)) return false;
        const std::u16string units = fName->GetCFString();
        if (units.size() > 255 || FSMakeFSRefUnicode(parentRef, int32_t(units.size()), units.data(), &ref) != noErr ||
            !ItemExists(ref, &folder))
            return false;
        SetOnDisk(ref);
    } else if (!ItemExists(fRef, &folder)) {
        // Gone from under us: keep the place, so it can be made again.
        const FSSpec fileSpec = FSRefMakeFSSpec(fRef);
        if (fileSpec.path != "/") SetPending(FSpGetParent(fileSpec), FSpGetName(fileSpec));
        return false;
    }
    if (isFolder) *isFolder = folder;
    return true;
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
        HFSUniStr255 catalogName;
        if (FSGetCatalogInfo(fRef, kFSCatInfoNone, nullptr, &catalogName, nullptr, nullptr) == noErr)
            FromUtf8(NameFromUnicode(catalogName), name);
        else  // gone since: the reference still names it
            FromUtf8(PosixNameToColon(FSpGetName(FSRefMakeFSSpec(fRef))), name);
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
        FSRef parentRef;
        if (FSGetCatalogInfo(fRef, kFSCatInfoNone, nullptr, nullptr, nullptr, &parentRef) != noErr)
            parentRef = FSRef{FSpGetParent(FSRefMakeFSSpec(fRef)).path};
        return new VFolder(parentRef);
    }
    return fParent ? new VFolder(*fParent) : nullptr;
}

bool VFileObject_Mac::GetHFSPath(VText& path) const
{
    // A reference whose item has gone still names its place.
    if (fOnDisk) return FSRefToHFSPath(fRef, path) || FSSpecToHFSPath(FSRefMakeFSSpec(fRef), path);
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
    if (fOnDisk) return FSRefToUnixPath(fRef, path) || FSSpecToUnixPath(FSRefMakeFSSpec(fRef), path);
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
    FSCatalogInfo info;
    OSErr err = FSGetCatalogInfo(fRef, kFSCatInfoPermissions, &info, nullptr, nullptr, nullptr);
    if (err == noErr) *mode = info.permissions;
    return MapFileError(err);
}

// --- changes -------------------------------------------------------------

int16_t VFileObject_Mac::SetPermissions(uint16_t mode, bool add)
{
    if (!fOnDisk) return MapFileError(fnfErr);
    FSCatalogInfo info;
    OSErr err = FSGetCatalogInfo(fRef, kFSCatInfoPermissions, &info, nullptr, nullptr, nullptr);
    if (err == noErr) {
        info.permissions = add ? uint16_t(info.permissions | mode) : mode;
        err = FSSetCatalogInfo(fRef, kFSCatInfoPermissions, info);
    }
    return MapFileError(err);
}

int16_t VFileObject_Mac::_Create() { return kFileErrUnsupported; }

int16_t VFileObject_Mac::_Delete()
{
    if (!fOnDisk) return MapFileError(fnfErr);
    HFSUniStr255 catalogName;
    FSRef parentRef;
    OSErr err = FSGetCatalogInfo(fRef, kFSCatInfoNone, nullptr, &catalogName, nullptr, &parentRef);
    if (err == noErr) err = FSDeleteObject(fRef);
    if (err == noErr) SetPending(FSRefMakeFSSpec(parentRef), ColonNameToPosix(NameFromUnicode(catalogName)));
    return MapFileError(err);
}

int16_t VFileObject_Mac::_Rename(const VString& name)
{
    if (!fOnDisk) return MapFileError(fnfErr);
    const std::u16string units = name.GetCFString();
    if (units.size() > 255) return MapFileError(bdNamErr);
    FSRef renamed;
    OSErr err = FSRenameUnicode(fRef, int32_t(units.size()), units.data(), &renamed);
    if (err == noErr) fRef = renamed;
    return MapFileError(err);
}

VObject* VFileObject_Mac::_GetOwner() { return nullptr; }

// --- path conversions ----------------------------------------------------

bool VFileObject_Mac::FSRefToHFSPath(const FSRef& ref, VString& path)
{
    path.SetNull(false);
    path.ClearString(false);
    const std::optional<CFURL> url = CFURLCreateFromFSRef(ref);
    if (!url) return false;
    const CFString colon = CFURLCopyFileSystemPath(*url, kCFURLHFSPathStyle);
    path.FromCFString(colon.units);
    return !colon.units.empty();
}

bool VFileObject_Mac::FSRefToUnixPath(const FSRef& ref, VString& path)
{
    path.SetNull(false);
    path.ClearString(false);
    const std::optional<CFURL> url = CFURLCreateFromFSRef(ref);
    if (!url) return false;
    path.FromCFString(CFURLCopyFileSystemPath(*url, kCFURLPOSIXPathStyle).units);
    return true;
}

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
    std::u16string units = path.GetCFString();
    if (units.size() > 2048) units.resize(2048);
    const std::optional<CFURL> url = CFURLCreateWithFileSystemPath(CFString{units}, kCFURLHFSPathStyle, false);
    if (!url || !CFURLGetFSRef(*url, ref)) {
        // The classic road, for what the URL service refuses.
        uint8_t pascal[256];
        const std::string roman = Utf8ToMacRomanString(ToUtf8(path));
        if (roman.size() > 255) return false;
        pascal[0] = uint8_t(roman.size());
        std::copy(roman.begin(), roman.end(), pascal + 1);
        return MAC_GetFSRefFromPath(0, 0, pascal, ref, isFolder);
    }
    if (isFolder) {
        FSCatalogInfo info;
        if (FSGetCatalogInfo(*ref, kFSCatInfoNodeFlags, &info, nullptr, nullptr, nullptr) == noErr)
            *isFolder = (info.nodeFlags & kFSNodeIsDirectoryMask) != 0;
    }
    return true;
}

bool VFileObject_Mac::MAC_GetFSRefFromPath(int16_t, int32_t, const uint8_t* pPath, FSRef* ref, bool* isFolder)
{
    *ref = FSRef{};
    if (isFolder) *isFolder = false;
    if (!pPath) return false;
    std::string posix;
    if (ColonPathToPosix(MacRomanToUtf8String(pPath + 1, pPath[0]), &posix) != noErr) return false;
    return FSPathMakeRef(posix.empty() ? "/" : posix, ref, isFolder) == noErr;
}

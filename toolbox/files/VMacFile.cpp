#include "toolbox/files/VMacFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/core/Errors.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"
#include "toolbox/files/FileKindHooks.h"
#include "toolbox/files/FileNames.h"
#include "toolbox/files/VFile.h"
#include "toolbox/files/VFolder.h"

using namespace platform;

namespace {

bool IsLinkPath(const std::string& path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// Marks a new file as stationery when its kind is a template kind.
OSErr MarkStationery(const FSSpec& fileSpec, uint32_t kind)
{
    if (!IsTemplateFileKind(kind)) return noErr;
    FInfo info;
    OSErr err = FSpGetFInfo(fileSpec, &info);
    if (err != noErr) return err;
    info.fdFlags |= kIsStationery;
    return FSpSetFInfo(fileSpec, info);
}

}  // namespace

VFile_Mac::VFile_Mac(VFile* owner) : fOwner(owner) {}

VFile_Mac::~VFile_Mac()
{
    if (fForkRef) FSClose(fForkRef);
}

VObject* VFile_Mac::_GetOwner() { return fOwner; }

bool VFile_Mac::CheckIfExists(bool* isFolder)
{
    if (isFolder) *isFolder = false;
    FSSpec fileSpec;
    if (GetFSSpec(&fileSpec) == 0 && IsLinkPath(fileSpec.path)) {
        if (!fOnDisk) SetOnDisk(FSRef{fileSpec.path});
        return true;
    }
    return VFileObject_Mac::CheckIfExists(isFolder);
}

int16_t VFile_Mac::_Create()
{
    if (fOnDisk) return 0;
    FSSpec fileSpec;
    if (!fParent || !fName || !fOwner || GetFSSpec(&fileSpec) != 0 || !fParent->MAC_GetFolder().IsOnDisk())
        return MapFileError(fnfErr, fErrorStack);
    const uint32_t kind = fOwner->GetKind();
    const uint32_t macType = MacKindFromVirtualKind(kind) ? MacKindFromVirtualKind(kind) : kind;
    OSErr err = FSpCreate(fileSpec, fOwner->GetCreator(), macType);
    if (err == noErr) {
        SetOnDisk(FSRef{fileSpec.path});
        err = MarkStationery(fileSpec, kind);
    }
    return MapFileError(err, fErrorStack);
}

int16_t VFile_Mac::CreateAsDataFile(bool open)
{
    int16_t err = _Create();
    if (err == 0 && open) err = Open(kAccessReadWrite, false);
    return err;
}

int16_t VFile_Mac::CreateOver()
{
    FSSpec target;
    if (!fOnDisk || !fOwner || fForkRef || GetFSSpec(&target) != 0) return kFileErrNotDeleted;
    const FSSpec folder = FSpGetParent(target);
    FSSpec temp;
    static uint32_t counter = 0;
    OSErr err = dupFNErr;
    for (int attempt = 0; attempt < 100 && err == dupFNErr; ++attempt) {
        const std::string name = ".qz-new-" + std::to_string(::getpid()) + "-" + std::to_string(++counter);
        if (FSMakeFSSpec(folder, name, &temp) != fnfErr) continue;
        const uint32_t kind = fOwner->GetKind();
        const uint32_t macType = MacKindFromVirtualKind(kind) ? MacKindFromVirtualKind(kind) : kind;
        err = FSpCreate(temp, fOwner->GetCreator(), macType);
        if (err == noErr) err = MarkStationery(temp, kind);
    }
    int16_t ref = 0;
    if (err == noErr) err = FSpOpenDF(temp, fsRdWrPerm, &ref);
    if (err == noErr) err = FSpRenameOver(temp, target);
    if (err != noErr) {
        if (ref) FSClose(ref);
        FSpDelete(temp);
        RecordFileError(err, kFileErrNotDeleted, fErrorStack);
        return kFileErrNotDeleted;
    }
    SetOnDisk(FSRef{target.path});
    fForkRef = ref;
    return 0;
}

int16_t VFile_Mac::Rename(const VString& name, VText* newPath)
{
    if (newPath) {
        newPath->SetNull(false);
        newPath->ClearString(false);
    }
    if (!fOnDisk) return MapFileError(fnfErr, fErrorStack);
    std::string posixName;
    if (!PosixName(name, &posixName)) return MapFileError(bdNamErr, fErrorStack);
    const FSSpec fileSpec{fRef.path};
    OSErr err = FSpRename(fileSpec, posixName);
    if (err == noErr) {
        FSSpec renamed;
        FSMakeFSSpec(FSpGetParent(fileSpec), posixName, &renamed);
        fRef.path = renamed.path;
        if (newPath) GetHFSPath(*newPath);
    }
    return MapFileError(err, fErrorStack);
}

// --- forks ---------------------------------------------------------------

int16_t VFile_Mac::Open(FileAccess access, bool resourceFork)
{
    if (!fOnDisk) return kFileErrMissing;
    if (fForkRef) return kFileErrBusy;
    if (access < kAccessRead || access > kAccessSharedReadWrite) return kFileErrUnsupported;
    const FSSpec fileSpec{fRef.path};
    const SInt8 permission = SInt8(access);  // 1..4 are the platform's permissions
    OSErr err = resourceFork ? FSpOpenRF(fileSpec, permission, &fForkRef) : FSpOpenDF(fileSpec, permission, &fForkRef);
    if (err != noErr) fForkRef = 0;
    return MapFileError(err, fErrorStack);
}

int16_t VFile_Mac::Close()
{
    if (!fForkRef) return 0;
    OSErr err = FSClose(fForkRef);
    fForkRef = 0;
    return MapFileError(err, fErrorStack);
}

int16_t VFile_Mac::Flush()
{
    if (!fForkRef) return 0;
    return MapFileError(FSFlush(fForkRef), fErrorStack);
}

int16_t VFile_Mac::GetData(void* buffer, uint32_t* count)
{
    if (!fForkRef) {
        *count = 0;
        return kFileErrNotOpen;
    }
    int64_t n = *count;
    OSErr err = FSRead(fForkRef, &n, buffer);
    *count = uint32_t(n);
    return MapFileError(err, fErrorStack);
}

int16_t VFile_Mac::PutData(const void* buffer, uint32_t count)
{
    if (!fForkRef) return kFileErrNotOpen;
    int64_t n = count;
    return MapFileError(FSWrite(fForkRef, &n, buffer), fErrorStack);
}

int16_t VFile_Mac::SetPos(int64_t position, bool fromStart)
{
    if (!fForkRef) return kFileErrNotOpen;
    return MapFileError(SetFPos(fForkRef, fromStart ? fsFromStart : fsAtMark, position), fErrorStack);
}

int16_t VFile_Mac::GetSize(ForkType fork, int64_t* size)
{
    *size = -1;
    OSErr err;
    if (fForkRef) {
        err = GetEOF(fForkRef, size);
    } else if (!fOnDisk) {
        err = fnfErr;
    } else {
        CatInfo info;
        err = FSpGetCatInfo(FSSpec{fRef.path}, &info);
        if (err == noErr)
            *size = fork == kDataFork       ? info.dataSize
                    : fork == kResourceFork ? info.rsrcSize
                                            : info.dataSize + info.rsrcSize;
    }
    if (err != noErr) *size = -1;
    return MapFileError(err, fErrorStack);
}

int16_t VFile_Mac::SetSize(int64_t size)
{
    if (!fForkRef) return kFileErrNotOpen;
    return MapFileError(SetEOF(fForkRef, size), fErrorStack);
}

int16_t VFile_Mac::ReadKindAndCreator(uint32_t* kind, uint32_t* creator)
{
    if (kind) *kind = 0;
    if (creator) *creator = 0;
    if (!fOnDisk) return kFileErrMissing;
    FInfo info;
    OSErr err = FSpGetFInfo(FSSpec{fRef.path}, &info);
    if (err == noErr) {
        VText name;
        GetName(name);
        if (kind) *kind = VirtualKindFromMacKind(info.fdType, info.fdFlags & kIsStationery, name);
        if (creator) *creator = info.fdCreator;
    }
    return MapFileError(err, fErrorStack);
}

bool VFile_Mac::IsAliasFile()
{
    bool isLink = false;
    return fOnDisk && FSpIsLink(FSSpec{fRef.path}, &isLink) == noErr && isLink;
}

VPath* VFile_Mac::ResolveAlias()
{
    if (!fOnDisk) return nullptr;
    FSSpec target;
    bool isFolder = false;
    OSErr err = FSpResolveLink(FSSpec{fRef.path}, &target, &isFolder);
    if (err == fnfErr) return nullptr;
    if (err != noErr) return new VFile(fRef);
    if (isFolder) return new VFolder(FSRef{target.path});
    return new VFile(FSRef{target.path});
}

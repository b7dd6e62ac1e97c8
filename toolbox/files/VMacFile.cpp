#include "toolbox/files/VMacFile.h"

#include <unistd.h>

#include <string>

#include "platform/core/Errors.h"
#include "platform/files/FSRefAliases.h"
#include "platform/files/FSRefCatalog.h"
#include "platform/files/FSRefForks.h"
#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"
#include "toolbox/files/FileKindHooks.h"
#include "toolbox/files/FileNames.h"
#include "toolbox/files/VFile.h"
#include "toolbox/files/VFolder.h"

using namespace platform;

namespace {

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
    if (fForkRef) FSCloseFork(fForkRef);
}

VObject* VFile_Mac::_GetOwner() { return fOwner; }

bool VFile_Mac::CheckIfExists(bool* isFolder)
{
    if (isFolder) *isFolder = false;
    FSSpec fileSpec;
    FSRef ref;
    bool isAlias = false, targetIsFolder = false;
    if (GetFSSpec(&fileSpec) == 0 && FSpMakeFSRef(fileSpec, &ref) == noErr &&
        FSIsAliasFile(ref, &isAlias, &targetIsFolder) == noErr && isAlias) {
        if (!fOnDisk) SetOnDisk(ref);
        return true;
    }
    return VFileObject_Mac::CheckIfExists(isFolder);
}

int16_t VFile_Mac::_Create()
{
    if (fOnDisk) return 0;
    FSRef parentRef;
    if (!fParent || !fName || !fOwner || !fParent->MAC_GetFolder().GetFSRef(&parentRef))
        return MapFileError(fnfErr, fErrorStack);
    const uint32_t kind = fOwner->GetKind();
    FSCatalogInfo info;
    info.finderInfo.fdType = MacKindFromVirtualKind(kind) ? MacKindFromVirtualKind(kind) : kind;
    info.finderInfo.fdCreator = fOwner->GetCreator();
    info.finderInfo.fdFlags = IsTemplateFileKind(kind) ? kIsStationery : 0;
    const std::u16string units = fName->GetCFString();
    if (units.size() > 255) return MapFileError(bdNamErr, fErrorStack);
    FSRef ref;
    OSErr err = FSCreateFileUnicode(parentRef, int32_t(units.size()), units.data(), kFSCatInfoFinderInfo, &info, &ref,
                                    nullptr);
    if (err == noErr || !ref.path.empty()) SetOnDisk(ref);
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
    const std::u16string units = name.GetCFString();
    if (units.size() > 255) return MapFileError(bdNamErr, fErrorStack);
    FSRef renamed;
    OSErr err = FSRenameUnicode(fRef, int32_t(units.size()), units.data(), &renamed);
    if (err == noErr) {
        fRef = renamed;
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
    HFSUniStr255 forkName;
    if (resourceFork)
        FSGetResourceForkName(&forkName);
    else
        FSGetDataForkName(&forkName);
    const SInt8 permission = SInt8(access);  // 1..4 are the platform's permissions
    OSErr err = FSOpenFork(fRef, forkName.length, forkName.unicode, permission, &fForkRef);
    if (err != noErr) fForkRef = 0;
    return MapFileError(err, fErrorStack);
}

int16_t VFile_Mac::Close()
{
    if (!fForkRef) return 0;
    OSErr err = FSCloseFork(fForkRef);
    fForkRef = 0;
    return MapFileError(err, fErrorStack);
}

int16_t VFile_Mac::Flush()
{
    if (!fForkRef) return 0;
    return MapFileError(FSFlushFork(fForkRef), fErrorStack);
}

int16_t VFile_Mac::GetData(void* buffer, uint32_t* count)
{
    if (!fForkRef) {
        *count = 0;
        return kFileErrNotOpen;
    }
    uint32_t read = 0;
    OSErr err = FSReadFork(fForkRef, fsAtMark, 0, *count, buffer, &read);
    *count = read;
    return MapFileError(err, fErrorStack);
}

int16_t VFile_Mac::PutData(const void* buffer, uint32_t count)
{
    if (!fForkRef) return kFileErrNotOpen;
    return MapFileError(FSWriteFork(fForkRef, fsAtMark, 0, count, buffer, nullptr), fErrorStack);
}

int16_t VFile_Mac::SetPos(int64_t position, bool fromStart)
{
    if (!fForkRef) return kFileErrNotOpen;
    return MapFileError(FSSetForkPosition(fForkRef, fromStart ? fsFromStart : fsAtMark, position), fErrorStack);
}

int16_t VFile_Mac::GetSize(ForkType fork, int64_t* size)
{
    *size = -1;
    OSErr err;
    if (fForkRef) {
        err = FSGetForkSize(fForkRef, size);
    } else if (!fOnDisk) {
        err = fnfErr;
    } else {
        FSCatalogInfo info;
        err = FSGetCatalogInfo(fRef, kFSCatInfoDataSizes | kFSCatInfoRsrcSizes, &info, nullptr, nullptr, nullptr);
        if (err == noErr)
            *size = fork == kDataFork       ? info.dataLogicalSize
                    : fork == kResourceFork ? info.rsrcLogicalSize
                                            : info.dataLogicalSize + info.rsrcLogicalSize;
    }
    if (err != noErr) *size = -1;
    return MapFileError(err, fErrorStack);
}

int16_t VFile_Mac::SetSize(int64_t size)
{
    if (!fForkRef) return kFileErrNotOpen;
    return MapFileError(FSSetForkSize(fForkRef, fsFromStart, size), fErrorStack);
}

int16_t VFile_Mac::ReadKindAndCreator(uint32_t* kind, uint32_t* creator)
{
    if (kind) *kind = 0;
    if (creator) *creator = 0;
    if (!fOnDisk) return kFileErrMissing;
    FSCatalogInfo info;
    OSErr err = FSGetCatalogInfo(fRef, kFSCatInfoFinderInfo, &info, nullptr, nullptr, nullptr);
    if (err == noErr) {
        VText name;
        GetName(name);
        if (kind) *kind = VirtualKindFromMacKind(info.finderInfo.fdType, info.finderInfo.fdFlags & kIsStationery, name);
        if (creator) *creator = info.finderInfo.fdCreator;
    }
    return MapFileError(err, fErrorStack);
}

bool VFile_Mac::IsAliasFile()
{
    bool isAlias = false, isFolder = false;
    return fOnDisk && FSIsAliasFile(fRef, &isAlias, &isFolder) == noErr && isAlias;
}

VPath* VFile_Mac::ResolveAlias()
{
    if (!fOnDisk) return nullptr;
    FSRef target = fRef;
    bool isFolder = false, aliased = false;
    OSErr err = FSResolveAliasFile(&target, true, &isFolder, &aliased);
    if (err == fnfErr) return nullptr;
    if (err != noErr) return new VFile(fRef);
    if (isFolder) return new VFolder(target);
    return new VFile(target);
}

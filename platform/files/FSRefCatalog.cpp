#include "platform/files/FSRefCatalog.h"

#include <algorithm>

#include "platform/core/FourCC.h"
#include "platform/files/ColonPath.h"
#include "platform/files/DirectoryIds.h"
#include "platform/files/FileSpec.h"
#include "platform/files/SpecialFolders.h"
#include "platform/text/CFString.h"
#include "platform/text/Utf8.h"

namespace platform {

namespace {

// The Linux name of a catalogue name; false when Linux cannot take it.
bool PosixNameOf(int32_t length, const char16_t* name, std::string* posixName)
{
    if (length < 0 || length > 255 || (length > 0 && !name)) return false;
    *posixName = ColonNameToPosix(CFStringGetUTF8(CFStringCreateWithCharacters(name, length)));
    return IsValidItemName(*posixName);
}

// The existing folder of a reference; dirNFErr when it is not one.
OSErr FolderSpec(const FSRef& parent, FSSpec* folder)
{
    bool isFolder = false;
    if (parent.path.empty()) return errFSBadFSRef;
    if (!FSpExists(FSRefMakeFSSpec(parent), &isFolder) || !isFolder) return dirNFErr;
    *folder = FSRefMakeFSSpec(parent);
    return noErr;
}

OSErr ChildSpec(const FSRef& parent, int32_t nameLength, const char16_t* name, FSSpec* child)
{
    FSSpec folder;
    if (OSErr err = FolderSpec(parent, &folder); err != noErr) return err;
    std::string posixName;
    if (!PosixNameOf(nameLength, name, &posixName)) return bdNamErr;
    return FSMakeFSSpec(folder, posixName, child);
}

OSErr SetCatalogInfo(const FSSpec& fileSpec, FSCatalogInfoBitmap which, const FSCatalogInfo* info)
{
    if (!info) return noErr;
    if (which & kFSCatInfoFinderInfo) {
        if (OSErr err = FSpSetFInfo(fileSpec, info->finderInfo); err != noErr) return err;
    }
    if (which & kFSCatInfoPermissions) return FSpSetPermissions(fileSpec, info->permissions);
    return noErr;
}

}  // namespace

HFSUniStr255 MakeHFSUniStr255(const std::u16string& name)
{
    HFSUniStr255 out;
    out.length = uint16_t(std::min<size_t>(name.size(), 255));
    std::copy_n(name.data(), out.length, out.unicode);
    return out;
}

OSErr FSPathMakeRef(const std::string& posixPath, FSRef* ref, bool* isDirectory)
{
    *ref = FSRef{};
    if (isDirectory) *isDirectory = false;
    FSSpec fileSpec;
    OSErr err = FSMakeFSSpec(posixPath, &fileSpec);
    if (err != noErr) return err == dirNFErr ? fnfErr : err;
    err = FSpMakeFSRef(fileSpec, ref);
    if (err == noErr && isDirectory) FSpExists(fileSpec, isDirectory);
    return err;
}

OSErr FSMakeFSRefUnicode(const FSRef& parent, int32_t nameLength, const char16_t* name, FSRef* newRef)
{
    *newRef = FSRef{};
    FSSpec child;
    OSErr err = ChildSpec(parent, nameLength, name, &child);
    if (err != noErr) return err;
    return FSpMakeFSRef(child, newRef);
}

OSErr FSGetCatalogInfo(const FSRef& ref, FSCatalogInfoBitmap which, FSCatalogInfo* info, HFSUniStr255* outName,
                       FSSpec* fileSpec, FSRef* parentRef)
{
    if (ref.path.empty()) return errFSBadFSRef;
    const FSSpec item = FSRefMakeFSSpec(ref);
    CatInfo cat;
    if (OSErr err = FSpGetCatInfo(item, &cat); err != noErr) return err;
    if (info) {
        *info = FSCatalogInfo{};
        if (which & kFSCatInfoNodeFlags) info->nodeFlags = cat.isFolder ? kFSNodeIsDirectoryMask : 0;
        if (which & (kFSCatInfoVolume | kFSCatInfoNodeID)) {
            int16_t volume = kOnlyVolume;
            int32_t id = 0;
            if (cat.isFolder) FSpGetDirID(item, &volume, &id);
            if (which & kFSCatInfoVolume) info->volume = kOnlyVolume;
            if (which & kFSCatInfoNodeID) info->nodeID = id;
        }
        if ((which & kFSCatInfoParentDirID) && item.path != "/") {
            int16_t volume = 0;
            FSpGetDirID(FSpGetParent(item), &volume, &info->parentDirID);
        }
        if (which & kFSCatInfoCreateDate) info->createDate = cat.createDate;
        if (which & kFSCatInfoContentMod) info->contentModDate = cat.modDate;
        if (which & kFSCatInfoPermissions) info->permissions = cat.permissions;
        if (which & kFSCatInfoFinderInfo) {
            info->finderInfo = cat.finderInfo;
            if (cat.isLink) info->finderInfo.fdFlags |= kIsAlias;
            // A dot name is the Linux way of hiding an item.
            if (cat.isHidden) info->finderInfo.fdFlags |= kIsInvisible;
        }
        if (which & kFSCatInfoDataSizes) info->dataLogicalSize = cat.dataSize;
        if (which & kFSCatInfoRsrcSizes) info->rsrcLogicalSize = cat.rsrcSize;
    }
    if (outName) *outName = MakeHFSUniStr255(CFStringCreateWithUTF8(PosixNameToColon(FSpGetName(item))).units);
    if (fileSpec) *fileSpec = item;
    if (parentRef) *parentRef = item.path == "/" ? FSRef{} : FSRef{FSpGetParent(item).path};
    return noErr;
}

OSErr FSSetCatalogInfo(const FSRef& ref, FSCatalogInfoBitmap which, const FSCatalogInfo& info)
{
    if (ref.path.empty()) return errFSBadFSRef;
    const FSSpec item = FSRefMakeFSSpec(ref);
    if (which & kFSCatInfoFinderInfo) {
        if (OSErr err = FSpSetFInfo(item, info.finderInfo); err != noErr) return err;
    }
    if (which & kFSCatInfoPermissions) return FSpSetPermissions(item, info.permissions);
    return noErr;
}

OSErr FSCreateFileUnicode(const FSRef& parent, int32_t nameLength, const char16_t* name, FSCatalogInfoBitmap which,
                          const FSCatalogInfo* info, FSRef* newRef, FSSpec* newSpec)
{
    FSSpec child;
    OSErr err = ChildSpec(parent, nameLength, name, &child);
    if (err == noErr) return dupFNErr;
    if (err != fnfErr) return err;
    const bool typed = info && (which & kFSCatInfoFinderInfo);
    err = FSpCreate(child, typed ? info->finderInfo.fdCreator : 0, typed ? info->finderInfo.fdType : 0);
    if (err != noErr) return err;
    // The type and creator went in with the file; the flags follow.
    if (typed && info->finderInfo.fdFlags == 0) which &= ~kFSCatInfoFinderInfo;
    // A failure here leaves the new file in place, as it is.
    if (newRef) *newRef = FSRef{child.path};
    if (newSpec) *newSpec = child;
    return SetCatalogInfo(child, which, info);
}

OSErr FSCreateDirectoryUnicode(const FSRef& parent, int32_t nameLength, const char16_t* name,
                               FSCatalogInfoBitmap which, const FSCatalogInfo* info, FSRef* newRef, FSSpec* newSpec,
                               int32_t* newDirID)
{
    FSSpec child;
    OSErr err = ChildSpec(parent, nameLength, name, &child);
    if (err == noErr) return dupFNErr;
    if (err != fnfErr) return err;
    if ((err = FSpDirCreate(child)) != noErr) return err;
    if (newRef) *newRef = FSRef{child.path};
    if (newSpec) *newSpec = child;
    if (newDirID) {
        int16_t volume = 0;
        FSpGetDirID(child, &volume, newDirID);
    }
    return SetCatalogInfo(child, which & kFSCatInfoPermissions, info);
}

OSErr FSDeleteObject(const FSRef& ref)
{
    if (ref.path.empty()) return errFSBadFSRef;
    return FSpDelete(FSRefMakeFSSpec(ref));
}

OSErr FSRenameUnicode(const FSRef& ref, int32_t nameLength, const char16_t* name, FSRef* newRef)
{
    if (ref.path.empty()) return errFSBadFSRef;
    std::string posixName;
    if (!PosixNameOf(nameLength, name, &posixName)) return bdNamErr;
    const FSSpec item = FSRefMakeFSSpec(ref);
    OSErr err = FSpRename(item, posixName);
    if (err == noErr && newRef) {
        FSSpec renamed;
        FSMakeFSSpec(FSpGetParent(item), posixName, &renamed);
        *newRef = FSRef{renamed.path};
    }
    return err;
}

OSErr FSFindFolder(int16_t domain, OSType folderType, bool createFolder, FSRef* ref)
{
    *ref = FSRef{};
    SpecialFolder which;
    if (folderType == FourCC("docs") && domain == kUserDomain)
        which = SpecialFolder::Documents;
    else if (folderType == FourCC("empz") && domain == kLocalDomain)
        which = SpecialFolder::Extensions;
    else if (folderType == FourCC("pref"))
        which = SpecialFolder::Preferences;
    else if (folderType == FourCC("cach"))
        which = SpecialFolder::Cache;
    else
        return fnfErr;
    FSSpec folder;
    OSErr err = FindSpecialFolder(which, createFolder, &folder);
    if (err == noErr) *ref = FSRef{folder.path};
    return err;
}

OSErr PBGetCatInfoSync(CInfoPBRec* pb)
{
    if (!pb) return paramErr;
    pb->ioFlAttrib = 0;
    pb->ioFlFndrInfo = FInfo{};
    pb->ioDrDirID = pb->ioDrParID = 0;
    const bool self = pb->ioFDirIndex < 0 || !pb->ioNamePtr || pb->ioNamePtr[0] == 0;
    const std::string name = self ? std::string() : MacRomanToUtf8String(pb->ioNamePtr + 1, pb->ioNamePtr[0]);
    FSSpec item;
    OSErr err = FSMakeFSSpecFromDirID(pb->ioVRefNum, pb->ioDirID, ColonNameToPosix(name), &item);
    CatInfo cat;
    if (err == noErr) err = FSpGetCatInfo(item, &cat);
    if (err == noErr) {
        int16_t volume = 0;
        if (cat.isFolder) {
            pb->ioFlAttrib = 0x10;
            FSpGetDirID(item, &volume, &pb->ioDrDirID);
        } else {
            pb->ioFlFndrInfo = cat.finderInfo;
        }
        if (item.path != "/") FSpGetDirID(FSpGetParent(item), &volume, &pb->ioDrParID);
    }
    return pb->ioResult = err;
}

OSErr PBHGetVInfoSync(HVolumeParam* pb)
{
    if (!pb) return paramErr;
    // One volume: the default (0), its number, or the first by index.
    const bool ours = pb->ioVolIndex > 0 ? pb->ioVolIndex == 1 : pb->ioVRefNum == 0 || pb->ioVRefNum == kOnlyVolume;
    if (!ours) return pb->ioResult = nsvErr;
    pb->ioVRefNum = kOnlyVolume;
    if (pb->ioNamePtr) pb->ioNamePtr[0] = 0;
    return pb->ioResult = FSpGetFreeSpace(FSSpec{"/"}, &pb->ioVFreeBytes, &pb->ioVTotalBytes);
}

}  // namespace platform

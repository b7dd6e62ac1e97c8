#include "toolbox/files/VMacFolder.h"

#include <string>
#include <vector>

#include "platform/core/Errors.h"
#include "platform/core/FourCC.h"
#include "platform/files/DirectoryIds.h"
#include "platform/files/FSRefAliases.h"
#include "platform/files/FSRefCatalog.h"
#include "platform/files/FileSpec.h"
#include "toolbox/files/VFolder.h"

using namespace platform;

VFolder_Mac::VFolder_Mac(VFolder* owner) : fOwner(owner) {}

VFolder_Mac::~VFolder_Mac() = default;

VObject* VFolder_Mac::_GetOwner() { return fOwner; }

int16_t VFolder_Mac::Init(eFolderKind kind)
{
    int16_t domain;
    OSType type;
    bool create;
    switch (kind) {
    case kDocumentsFolderKind: domain = kUserDomain, type = FourCC("docs"), create = false; break;
    case kSharedFolderKind: domain = kLocalDomain, type = FourCC("empz"), create = true; break;
    default: return 0;
    }
    ClearPending();
    fOnDisk = false;
    fRef = FSRef{};
    FSRef ref;
    OSErr err = FSFindFolder(domain, type, create, &ref);
    if (err == noErr) SetOnDisk(ref);
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
    FSRef parentRef;
    if (!fParent || !fName || !fParent->MAC_GetFolder().GetFSRef(&parentRef)) return MapFileError(fnfErr);
    const std::u16string units = fName->GetCFString();
    if (units.size() > 255) return MapFileError(bdNamErr);
    FSRef ref;
    OSErr err = FSCreateDirectoryUnicode(parentRef, int32_t(units.size()), units.data(), kFSCatInfoNone, nullptr, &ref,
                                         nullptr, nullptr);
    if (err == noErr) SetOnDisk(ref);
    return MapFileError(err);
}

int16_t VFolder_Mac::GetDirectoryID(int32_t* dirID, int16_t* vRefNum, bool resolveAlias)
{
    if (dirID) *dirID = 0;
    if (vRefNum) *vRefNum = 0;
    if (!fOnDisk) return MapFileError(fnfErr);
    FSRef ref = fRef;
    if (resolveAlias) {
        bool isFolder = false, aliased = false;
        OSErr err = FSResolveAliasFile(&ref, true, &isFolder, &aliased);
        if (err != noErr) return MapFileError(err);
        if (!isFolder) return MapFileError(paramErr);
    }
    FSCatalogInfo info;
    OSErr err = FSGetCatalogInfo(ref, kFSCatInfoNodeFlags | kFSCatInfoNodeID | kFSCatInfoVolume, &info, nullptr,
                                 nullptr, nullptr);
    if (err == noErr && !(info.nodeFlags & kFSNodeIsDirectoryMask)) err = dirNFErr;
    if (err == noErr) {
        if (dirID) *dirID = info.nodeID;
        if (vRefNum) *vRefNum = info.volume;
    }
    return MapFileError(err);
}

#include "toolbox/files/VFolder.h"

#include "platform/files/FileSpec.h"
#include "toolbox/files/VFile.h"
#include "toolbox/files/VFileIterator.h"

VFolder::VFolder(const uint8_t* cPath, CharSet set) : VPath(cPath, set), fMac(this)
{
    EndPathWithColon();
    fMac.Init(fPath);
}

VFolder::VFolder(const VString& path) : VPath(path), fMac(this)
{
    EndPathWithColon();
    fMac.Init(fPath);
}

VFolder::VFolder(const VFolder& source) : VPath(source), fMac(this)
{
    fMac.Init(source.fMac);
    EndPathWithColon();
}

VFolder::VFolder(const platform::FSRef& ref) : fMac(this)
{
    fMac.Init(ref);
    PathFromPlatform();
}

VFolder::VFolder(int16_t vRefNum, int32_t dirID, const uint8_t* pName) : fMac(this)
{
    VText name;
    if (pName) name.FromMacPString(pName);
    if (vRefNum == 0 && dirID == 0) {
        fPath.FromVString(name);
        EndPathWithColon();
        fMac.Init(fPath);
    } else {
        fMac.Init(vRefNum, dirID, name);
        PathFromPlatform();
    }
}

VFolder::VFolder(int16_t vRefNum, int32_t dirID, const VString& name) : fMac(this)
{
    if (vRefNum == 0 && dirID == 0) {
        fPath.FromVString(name);
        EndPathWithColon();
        fMac.Init(fPath);
    } else {
        fMac.Init(vRefNum, dirID, name);
        PathFromPlatform();
    }
}

VFolder::VFolder(eFolderKind kind) : fMac(this)
{
    fMac.Init(kind);
    PathFromPlatform();
}

VFolder::VFolder(const VFolder& parent, const VString& name) : VPath(parent, name), fMac(this)
{
    EndPathWithColon();
    fMac.Init(parent, name);
}

VFolder::~VFolder() = default;

void VFolder::EndPathWithColon()
{
    fPath.SetNull(false);
    const int32_t length = fPath.GetLength();
    if (length == 0 || fPath.GetChar(length) != u':') fPath.AppendUniChar(u':');
}

void VFolder::PathFromPlatform()
{
    VText path;
    if (fMac.GetHFSPath(path)) fPath.FromVString(path);
    EndPathWithColon();
}

bool VFolder::Exists()
{
    if (fStatus == kPathUnknown) {
        bool isFolder = false;
        const bool found = fMac.CheckIfExists(&isFolder);
        fStatus = !found ? kPathMissing : isFolder ? kPathExists : kPathOtherKind;
    }
    return fStatus >= kPathExists;
}

int16_t VFolder::GetName(VString& name) { return fMac.GetName(name); }

int16_t VFolder::GetFullPath(VText& path)
{
    if (!fMac.GetHFSPath(path)) path.FromVString(fPath);
    const int32_t length = path.GetLength();
    if (length == 0 || path.GetChar(length) != u':') path.AppendUniChar(u':');
    return 0;
}

VFolder* VFolder::GetParent() { return fMac.GetParent(); }

int16_t VFolder::MAC_GetFSSpec(platform::FSSpec& fileSpec) { return fMac.GetFSSpec(&fileSpec); }

int16_t VFolder::GetUnixPath(VText& path) { return fMac.GetUnixPath(path) ? 0 : kFileErrMissing; }

int16_t VFolder::MakeWritableByAll() { return fMac.SetPermissions(kWritableByAll, true); }

bool VFolder::IsWritableByAll()
{
    uint16_t mode = 0;
    return fMac.GetPermissions(&mode) == 0 && (mode & kWritableByAll) == kWritableByAll;
}

int16_t VFolder::GetDirectoryID(int32_t* dirID, int16_t* vRefNum, bool resolveAlias)
{
    return fMac.GetDirectoryID(dirID, vRefNum, resolveAlias);
}

VFolder* VFolder::GetSubFolder(const VString& name) const { return new VFolder(*this, name); }

int16_t VFolder::Create(bool replace)
{
    if (Exists()) {
        if (!replace) return kFileErrExists;
        fStatus = kPathUnknown;
        if (int16_t err = fMac._Delete(); err != 0) return err;
    }
    fStatus = kPathUnknown;
    int16_t err = fMac._Create();
    if (err == 0) fStatus = kPathExists;
    return err;
}

namespace {

bool IsLink(VPath& item)
{
    platform::FSSpec fileSpec;
    bool isLink = false;
    return item.MAC_GetFSSpec(fileSpec) == 0 && platform::FSpIsLink(fileSpec, &isLink) == 0 && isLink;
}

}  // namespace

int16_t VFolder::DeleteContents(bool recursive)
{
    if (!Exists()) return kFileErrMissing;
    // The iterator lists a snapshot taken at its first item, so deleting
    // as we go skips nothing.
    VFileIterator items(*this, kIterateFolders | kIterateFiles | kIterateInvisible, 0);
    int16_t err = 0;
    // The first failure ends the walk before another item is made.
    for (VPath* item = items.First(); item; item = err == 0 ? items.Next() : nullptr) {
        if (item->IsAFolder()) {
            auto* folder = static_cast<VFolder*>(item);
            // A link is removed itself: never followed out of this folder.
            if (!IsLink(*folder) && recursive) err = folder->DeleteContents(true);
            if (err == 0) err = folder->fMac._Delete();
            if (err == 0) folder->fStatus = kPathMissing;
        } else {
            err = static_cast<VFile*>(item)->Delete();
        }
        delete item;
    }
    return err;
}

int16_t VFolder::Destroy(bool keepFolder)
{
    if (!Exists()) return kFileErrMissing;
    if (IsLink(*this) && !keepFolder) {
        // Destroying a link removes the link, not what it points to.
        int16_t err = fMac._Delete();
        if (err == 0) fStatus = kPathMissing;
        return err;
    }
    int16_t err = DeleteContents(true);
    if (err != 0 || keepFolder) return err;
    err = fMac._Delete();
    if (err == 0) fStatus = kPathMissing;
    return err;
}

VFolder* VFolder::CreateRecursive(const VString& path, int16_t* err)
{
    if (err) *err = 0;
    std::u16string units = path.GetCFString();
    if (units.empty() || units.back() != u':') units.push_back(u':');
    size_t start = 0;
    if (units[0] == u'\\') {
        // A network path: the first three separators belong to the server.
        start = 1;
        for (int skipped = 0; skipped < 3 && start < units.size(); ++start)
            if (units[start] == u':') ++skipped;
    }
    VFolder* last = nullptr;
    int16_t code = 0;
    for (size_t i = start; i < units.size() && code == 0; ++i) {
        if (units[i] != u':' || i == 0) continue;
        VText prefix;
        prefix.FromCFString(units.substr(0, i));
        delete last;
        last = new VFolder(prefix);
        if (!last) {
            code = kFileErrMemory;
            break;
        }
        last->Exists();
        if (last->fStatus == kPathOtherKind)
            code = kFileErrExists;
        else if (last->fStatus == kPathMissing)
            code = last->Create(false);
    }
    if (code != 0 || !last) {
        delete last;
        if (err) *err = code != 0 ? code : kFileErrMissing;
        return nullptr;
    }
    return last;
}

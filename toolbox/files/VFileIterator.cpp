#include "toolbox/files/VFileIterator.h"

#include "platform/files/ColonPath.h"
#include "platform/files/FileSpec.h"
#include "toolbox/files/FileKindHooks.h"
#include "toolbox/files/FileNames.h"
#include "toolbox/files/VFile.h"
#include "toolbox/files/VFolder.h"

using namespace platform;

VFileIterator_Root::VFileIterator_Root(FileIteratorOptions options)
    : fResolveAliases(options & kIterateResolveAliases),
      fListInvisible(options & kIterateInvisible),
      fListFolders(options & kIterateFolders),
      fListFiles(options & kIterateFiles),
      fPlainCatalog(options & kIteratePlainCatalog)
{
}

VFileIterator_Root::~VFileIterator_Root() { delete fFilter; }

void VFileIterator_Root::UseList(VListOf<VPath*>*) {}
VPath* VFileIterator_Root::Next() { return nullptr; }
VPath* VFileIterator_Root::Current() { return nullptr; }
VPath* VFileIterator_Root::Previous() { return nullptr; }
VPath* VFileIterator_Root::First() { return nullptr; }
VPath* VFileIterator_Root::Last() { return nullptr; }
void VFileIterator_Root::SetCurrent(VPath* const&) {}
void VFileIterator_Root::SetPos(int32_t) {}
int32_t VFileIterator_Root::GetPos() const { return 0; }
bool VFileIterator_Root::IsEnd() { return true; }

void VFileIterator_Root::SetFilter(VFileFilter* filter)
{
    if (filter == fFilter) return;
    delete fFilter;
    fFilter = filter;
}

bool VFileIterator_Root::FilterFile(uint32_t kind) const { return !fFilter || fFilter->AcceptsKind(kind); }

VFileIterator::VFileIterator(const VFolder& folder, FileIteratorOptions options, uint32_t kind)
    : VFileIterator_Root(options)
{
    if (kind != 0) fFilter = new VFileFilter(nullptr, kind, 0);
    fFolderOnDisk = folder.MAC_GetFolder().GetFSRef(&fFolderRef);
}

VFileIterator::~VFileIterator() = default;

VPath* VFileIterator::First()
{
    if (!fFolderOnDisk) return nullptr;
    fNextEntry = 0;
    fListed = FSpListFolder(FSRefMakeFSSpec(fFolderRef), &fEntries) == noErr;
    if (!fListed) fEntries.clear();
    VPath* item = FetchNext();
    fPos = item ? 1 : 0;
    fEnd = !item;
    return item;
}

VPath* VFileIterator::Next()
{
    if (!fFolderOnDisk || fEnd) return nullptr;
    if (fPos == 0) return First();
    VPath* item = FetchNext();
    if (item)
        ++fPos;
    else
        fEnd = true;
    return item;
}

VPath* VFileIterator::FetchNext()
{
    while (fNextEntry < fEntries.size()) {
        const FolderEntry& entry = fEntries[fNextEntry++];
        FSSpec fileSpec = entry.fileSpec;
        bool isFolder = entry.kind == EntryKind::Folder && !entry.isLink;
        bool hidden = entry.hidden;
        if (entry.isLink && fResolveAliases) {
            // A link that leads nowhere is passed over; the walk goes on.
            FSSpec target;
            if (entry.brokenLink || FSpResolveLink(fileSpec, &target, &isFolder) != noErr) continue;
            fileSpec = target;
            CatInfo info;
            if (FSpGetCatInfo(fileSpec, &info) == noErr && (info.finderInfo.fdFlags & kIsInvisible)) hidden = true;
        }
        // Without resolving, a link is an alias file whatever it points to.
        if (hidden && !fListInvisible) continue;
        if (isFolder) {
            if (!fListFolders) continue;
            if (auto* folder = new VFolder(FSRef{fileSpec.path})) return folder;
            continue;
        }
        if (!fListFiles) continue;
        FInfo info;
        FSpGetFInfo(fileSpec, &info);
        VText name;
        FromUtf8(PosixNameToColon(FSpGetName(fileSpec)), name);
        const uint32_t kind = VirtualKindFromMacKind(info.fdType, info.fdFlags & kIsStationery, name);
        if (!FilterFile(kind)) continue;
        if (auto* file = new VFile(FSRef{fileSpec.path}, kind, info.fdCreator)) return file;
    }
    return nullptr;
}

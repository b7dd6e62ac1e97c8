#include "toolbox/files/VFileIterator.h"

#include "platform/files/ColonPath.h"
#include "platform/files/FSRefAliases.h"
#include "platform/files/FSRefCatalog.h"
#include "platform/text/CFString.h"
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

bool xFilterFile(const VFileFilter* filter, uint32_t kind) { return !filter || filter->AcceptsKind(kind); }

VFileIterator::VFileIterator(const VFolder& folder, FileIteratorOptions options, uint32_t kind)
    : VFileIterator_Root(options)
{
    if (kind != 0) fFilter = new VFileFilter(nullptr, kind, 0);
    fFolderOnDisk = folder.MAC_GetFolder().GetFSRef(&fFolderRef);
}

VFileIterator::~VFileIterator() { CloseCatalogIterator(); }

void VFileIterator::CloseCatalogIterator()
{
    if (fIterator) FSCloseIterator(fIterator);
    fIterator = nullptr;
}

VPath* VFileIterator::First()
{
    if (!fFolderOnDisk) return nullptr;
    CloseCatalogIterator();
    // The platform's flags: 2 for the listing a folder's owner walks, 0 for
    // the plain one; both list every item once here.
    if (FSOpenIterator(fFolderRef, fPlainCatalog ? kFSIterateFlat : kFSIterateDelete, &fIterator) != noErr)
        fIterator = nullptr;
    VPath* item = _GetCatalogInfo();
    fPos = item ? 1 : 0;
    fEnd = !item;
    return item;
}

VPath* VFileIterator::Next()
{
    if (!fFolderOnDisk || fEnd) return nullptr;
    if (fPos == 0) return First();
    VPath* item = _GetCatalogInfo();
    if (item)
        ++fPos;
    else
        fEnd = true;
    return item;
}

VPath* VFileIterator::_GetCatalogInfo()
{
    if (!fIterator) return nullptr;
    constexpr FSCatalogInfoBitmap kWanted = kFSCatInfoNodeFlags | kFSCatInfoFinderInfo;
    for (;;) {
        uint32_t count = 0;
        FSCatalogInfo info;
        FSRef ref;
        HFSUniStr255 name;
        if (FSGetCatalogInfoBulk(fIterator, 1, &count, nullptr, kWanted, &info, &ref, nullptr, &name) != noErr ||
            count != 1)
            return nullptr;
        // An alias file is a file until it is resolved, whatever it points to.
        const bool alias = (info.finderInfo.fdFlags & kIsAlias) != 0;
        bool isFolder = (info.nodeFlags & kFSNodeIsDirectoryMask) != 0 && !alias;
        bool hidden = (info.finderInfo.fdFlags & kIsInvisible) != 0;
        if (alias && fResolveAliases) {
            // An alias that leads nowhere is passed over; the walk goes on.
            bool aliased = false;
            if (FSResolveAliasFileWithMountFlags(&ref, true, &isFolder, &aliased, kResolveAliasFileNoUI) != noErr ||
                FSGetCatalogInfo(ref, kWanted, &info, &name, nullptr, nullptr) != noErr)
                continue;
            hidden = hidden || (info.finderInfo.fdFlags & kIsInvisible);
        }
        if (hidden && !fListInvisible) continue;
        if (isFolder) {
            if (!fListFolders) continue;
            if (auto* folder = new VFolder(ref)) return folder;
            continue;
        }
        if (!fListFiles) continue;
        VText text;
        text.FromCFString(std::u16string(name.unicode, name.length));
        const uint32_t kind =
            VirtualKindFromMacKind(info.finderInfo.fdType, info.finderInfo.fdFlags & kIsStationery, text);
        if (!FilterFile(kind)) continue;
        if (auto* file = new VFile(ref, kind, info.finderInfo.fdCreator)) return file;
    }
}

#include "platform/files/FSRefIterator.h"

#include <new>
#include <vector>

#include "platform/files/FolderListing.h"

namespace platform {

struct OpaqueFSIterator {
    std::vector<FolderEntry> entries;
    size_t next = 0;
};

OSErr FSOpenIterator(const FSRef& container, FSIteratorFlags flags, FSIterator* iterator)
{
    *iterator = nullptr;
    if (flags & kFSIterateSubtree) return paramErr;
    if (container.path.empty()) return errFSBadFSRef;
    auto* it = new (std::nothrow) OpaqueFSIterator;
    if (!it) return memFullErr;
    if (OSErr err = FSpListFolder(FSSpec{container.path}, &it->entries); err != noErr) {
        delete it;
        return err;
    }
    *iterator = it;
    return noErr;
}

OSErr FSGetCatalogInfoBulk(FSIterator iterator, uint32_t maximumObjects, uint32_t* actualObjects,
                           bool* containerChanged, FSCatalogInfoBitmap whichInfo, FSCatalogInfo* catalogInfos,
                           FSRef* refs, FSSpec* specs, HFSUniStr255* names)
{
    *actualObjects = 0;
    if (containerChanged) *containerChanged = false;
    if (!iterator) return paramErr;
    uint32_t n = 0;
    while (n < maximumObjects && iterator->next < iterator->entries.size()) {
        const FolderEntry& entry = iterator->entries[iterator->next++];
        const FSRef ref{entry.fileSpec.path};
        FSCatalogInfo info;
        OSErr err = FSGetCatalogInfo(ref, whichInfo, &info, names ? &names[n] : nullptr, nullptr, nullptr);
        if (err == fnfErr) {
            if (containerChanged) *containerChanged = true;
            continue;
        }
        if (err != noErr) return err;
        if (catalogInfos) catalogInfos[n] = info;
        if (refs) refs[n] = ref;
        if (specs) specs[n] = entry.fileSpec;
        ++n;
    }
    *actualObjects = n;
    return n == 0 && maximumObjects > 0 ? errFSNoMoreItems : noErr;
}

OSErr FSCloseIterator(FSIterator iterator)
{
    if (!iterator) return paramErr;
    delete iterator;
    return noErr;
}

}  // namespace platform

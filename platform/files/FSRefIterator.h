// Catalogue iteration by file reference over one folder. The iterator
// takes the folder's listing when it opens (FolderListing.h: name order,
// bytewise, no sidecars), so changes made while walking skip nothing.
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/files/FSRefCatalog.h"
#include "platform/files/FileTypes.h"

namespace platform {

struct OpaqueFSIterator;
using FSIterator = OpaqueFSIterator*;

// Only flat iteration exists; the flags choose nothing else here.
using FSIteratorFlags = uint32_t;
constexpr FSIteratorFlags kFSIterateFlat = 0;
constexpr FSIteratorFlags kFSIterateSubtree = 1;  // refused: paramErr
constexpr FSIteratorFlags kFSIterateDelete = 2;

OSErr FSOpenIterator(const FSRef& container, FSIteratorFlags flags, FSIterator* iterator);
// errFSNoMoreItems (and *actualObjects 0) at the end. Up to maximumObjects
// items a call; each array (may be null) has room for that many. An item
// that vanished since the listing is passed over.
OSErr FSGetCatalogInfoBulk(FSIterator iterator, uint32_t maximumObjects, uint32_t* actualObjects,
                           bool* containerChanged, FSCatalogInfoBitmap whichInfo, FSCatalogInfo* catalogInfos,
                           FSRef* refs, FSSpec* specs, HFSUniStr255* names);
OSErr FSCloseIterator(FSIterator iterator);

}  // namespace platform

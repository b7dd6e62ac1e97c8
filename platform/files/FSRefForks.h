// Forks by file reference: a fork is named by HFSUniStr255 (the data
// fork's name is empty, the resource fork's "RESOURCE_FORK") and opened,
// read, written, sized and positioned through the open-fork calls of
// Forks.h, whose rules it keeps (one writer, the resource fork in the
// sidecar unless the file is a plain resource file).
#pragma once

#include <cstdint>

#include "platform/core/MacTypes.h"
#include "platform/files/FSRefCatalog.h"
#include "platform/files/FileTypes.h"

namespace platform {

OSErr FSGetDataForkName(HFSUniStr255* name);
OSErr FSGetResourceForkName(HFSUniStr255* name);

// permissions: fsRdPerm .. fsRdWrShPerm. A fork name other than the two
// gives errFSForkNotFound.
constexpr OSErr errFSForkNotFound = -1430;
OSErr FSOpenFork(const FSRef& ref, int32_t forkNameLength, const char16_t* forkName, SInt8 permissions,
                 int16_t* forkRefNum);
// positionMode: fsAtMark, fsFromStart, fsFromLEOF, fsFromMark. A read
// that meets the end gives eofErr with *actualCount the bytes read.
// actualCount may be null.
OSErr FSReadFork(int16_t forkRefNum, uint16_t positionMode, int64_t positionOffset, uint32_t requestCount,
                 void* buffer, uint32_t* actualCount);
OSErr FSWriteFork(int16_t forkRefNum, uint16_t positionMode, int64_t positionOffset, uint32_t requestCount,
                  const void* buffer, uint32_t* actualCount);
OSErr FSSetForkPosition(int16_t forkRefNum, uint16_t positionMode, int64_t positionOffset);
OSErr FSGetForkPosition(int16_t forkRefNum, int64_t* position);
OSErr FSGetForkSize(int16_t forkRefNum, int64_t* forkSize);
OSErr FSSetForkSize(int16_t forkRefNum, uint16_t positionMode, int64_t positionOffset);
OSErr FSFlushFork(int16_t forkRefNum);
OSErr FSCloseFork(int16_t forkRefNum);

}  // namespace platform

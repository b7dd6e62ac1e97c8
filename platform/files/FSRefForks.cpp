#include "platform/files/FSRefForks.h"

#include <algorithm>
#include <string>

#include "platform/files/FileSpec.h"
#include "platform/files/Forks.h"

namespace platform {

namespace {

constexpr char16_t kResourceForkName[] = u"RESOURCE_FORK";

bool IsName(int32_t length, const char16_t* name, const std::u16string& wanted)
{
    return length == int32_t(wanted.size()) && (length == 0 || std::equal(name, name + length, wanted.begin()));
}

// Moves the mark as the position mode says; fsAtMark leaves it.
OSErr Position(int16_t forkRefNum, uint16_t positionMode, int64_t positionOffset)
{
    if (positionMode == fsAtMark) return noErr;
    return SetFPos(forkRefNum, int16_t(positionMode), positionOffset);
}

}  // namespace

OSErr FSGetDataForkName(HFSUniStr255* name)
{
    if (!name) return paramErr;
    *name = HFSUniStr255{};
    return noErr;
}

OSErr FSGetResourceForkName(HFSUniStr255* name)
{
    if (!name) return paramErr;
    *name = MakeHFSUniStr255(kResourceForkName);
    return noErr;
}

OSErr FSOpenFork(const FSRef& ref, int32_t forkNameLength, const char16_t* forkName, SInt8 permissions,
                 int16_t* forkRefNum)
{
    *forkRefNum = 0;
    if (ref.path.empty()) return errFSBadFSRef;
    const FSSpec fileSpec = FSRefMakeFSSpec(ref);
    if (IsName(forkNameLength, forkName, u"")) return FSpOpenDF(fileSpec, permissions, forkRefNum);
    if (IsName(forkNameLength, forkName, kResourceForkName)) return FSpOpenRF(fileSpec, permissions, forkRefNum);
    return errFSForkNotFound;
}

OSErr FSReadFork(int16_t forkRefNum, uint16_t positionMode, int64_t positionOffset, uint32_t requestCount,
                 void* buffer, uint32_t* actualCount)
{
    if (actualCount) *actualCount = 0;
    if (OSErr err = Position(forkRefNum, positionMode, positionOffset); err != noErr) return err;
    int64_t count = requestCount;
    OSErr err = FSRead(forkRefNum, &count, buffer);
    if (actualCount) *actualCount = uint32_t(count);
    return err;
}

OSErr FSWriteFork(int16_t forkRefNum, uint16_t positionMode, int64_t positionOffset, uint32_t requestCount,
                  const void* buffer, uint32_t* actualCount)
{
    if (actualCount) *actualCount = 0;
    // Writing may start past the end: the mark goes there, the gap reads as zeros.
    if (positionMode != fsAtMark) {
        OSErr err = Position(forkRefNum, positionMode, positionOffset);
        if (err == eofErr && positionMode == fsFromStart) {
            if ((err = SetEOF(forkRefNum, positionOffset)) == noErr) err = SetFPos(forkRefNum, fsFromStart, positionOffset);
        }
        if (err != noErr) return err;
    }
    int64_t count = requestCount;
    OSErr err = FSWrite(forkRefNum, &count, buffer);
    if (actualCount) *actualCount = uint32_t(count);
    return err;
}

OSErr FSSetForkPosition(int16_t forkRefNum, uint16_t positionMode, int64_t positionOffset)
{
    return Position(forkRefNum, positionMode, positionOffset);
}

OSErr FSGetForkPosition(int16_t forkRefNum, int64_t* position) { return GetFPos(forkRefNum, position); }

OSErr FSGetForkSize(int16_t forkRefNum, int64_t* forkSize) { return GetEOF(forkRefNum, forkSize); }

OSErr FSSetForkSize(int16_t forkRefNum, uint16_t positionMode, int64_t positionOffset)
{
    int64_t size = positionOffset;
    if (positionMode == fsFromLEOF || positionMode == fsFromMark || positionMode == fsAtMark) {
        int64_t base = 0;
        OSErr err = positionMode == fsFromLEOF ? GetEOF(forkRefNum, &base) : GetFPos(forkRefNum, &base);
        if (err != noErr) return err;
        size = base + (positionMode == fsAtMark ? 0 : positionOffset);
    }
    if (size < 0) return posErr;
    return SetEOF(forkRefNum, size);
}

OSErr FSFlushFork(int16_t forkRefNum) { return FSFlush(forkRefNum); }

OSErr FSCloseFork(int16_t forkRefNum) { return FSClose(forkRefNum); }

}  // namespace platform

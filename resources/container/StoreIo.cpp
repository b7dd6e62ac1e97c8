#include "resources/container/StoreIo.h"

#include "platform/core/Errors.h"
#include "platform/files/Forks.h"

namespace container {

using namespace platform;

namespace {

StoreIoHooks gHooks;

}  // namespace

void SetStoreIoHooks(const StoreIoHooks& hooks) { gHooks = hooks; }
void ResetStoreIoHooks() { gHooks = StoreIoHooks{}; }

OSErr StoreWrite(int16_t refNum, uint64_t offset, const IoPiece* pieces, uint32_t count)
{
    return gHooks.write ? gHooks.write(refNum, offset, pieces, count) : PlatformWrite(refNum, offset, pieces, count);
}

OSErr StoreSetSize(int16_t refNum, uint64_t size)
{
    return gHooks.setSize ? gHooks.setSize(refNum, size) : PlatformSetSize(refNum, size);
}

OSErr StoreFlush(int16_t refNum) { return gHooks.flush ? gHooks.flush(refNum) : PlatformFlush(refNum); }

OSErr PlatformWrite(int16_t refNum, uint64_t offset, const IoPiece* pieces, uint32_t count)
{
    OSErr err = SetFPos(refNum, fsFromStart, int64_t(offset));
    for (uint32_t i = 0; err == noErr && i < count; ++i) {
        int64_t moved = pieces[i].size;
        err = FSWrite(refNum, &moved, pieces[i].data);
        if (err == noErr && moved != int64_t(pieces[i].size)) err = ioErr;
    }
    return err;
}

OSErr PlatformSetSize(int16_t refNum, uint64_t size) { return SetEOF(refNum, int64_t(size)); }

OSErr PlatformFlush(int16_t refNum) { return FSFlush(refNum); }

}  // namespace container

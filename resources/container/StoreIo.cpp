#include "resources/container/StoreIo.h"

#include <new>
#include <vector>

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
    // One gathered write; a few pieces need no allocation.
    constexpr uint32_t kOnStack = 8;
    ForkSlice few[kOnStack];
    std::vector<ForkSlice> many;
    ForkSlice* slices = few;
    if (count > kOnStack) {
        try {
            many.resize(count);
        } catch (const std::bad_alloc&) {
            return memFullErr;
        }
        slices = many.data();
    }
    for (uint32_t i = 0; i < count; ++i) slices[i] = ForkSlice{pieces[i].data, int64_t(pieces[i].size)};
    return FSWriteAt(refNum, int64_t(offset), slices, int32_t(count));
}

OSErr PlatformSetSize(int16_t refNum, uint64_t size) { return SetEOF(refNum, int64_t(size)); }

OSErr PlatformFlush(int16_t refNum) { return FSFlush(refNum); }

}  // namespace container

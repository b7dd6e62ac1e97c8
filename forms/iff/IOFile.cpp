#include "forms/iff/IOFile.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "forms/iff/IffCodes.h"
#include "platform/core/Errors.h"
#include "platform/core/Memory.h"

int16_t dosErr = 0;

namespace {

constexpr uint32_t kOpenTag = platform::FourCC("BPTR");
// Slack added whenever a write passes the handle's room.
constexpr int32_t kGrowSlack = 4000;

int16_t Keep(int16_t err)
{
    if (err != 0 && dosErr == 0) dosErr = err;
    return err;
}

bool IsMemory(const IOFile* io) { return io && io->tag == kOpenTag && io->fileRef == 0 && io->handle; }

}  // namespace

IOFile* MemoryOpen(platform::Handle h, int32_t base)
{
    dosErr = 0;
    if (!h || base < 0) return nullptr;
    const int32_t size = int32_t(platform::GetHandleSize(h));
    if (base > size) return nullptr;
    auto* io = new (std::nothrow) IOFile;
    if (!io) {
        Keep(platform::memFullErr);
        return nullptr;
    }
    io->handle = h;
    io->base = base;
    io->logicalEnd = io->physicalEnd = size - base;
    io->tag = kOpenTag;
    return io;
}

int16_t AdjustHandle2Logical(IOFile* io)
{
    if (!IsMemory(io)) return DOS_ERROR;
    const int64_t want = int64_t(io->base) + io->logicalEnd;
    if (platform::GetHandleSize(io->handle) == want) return 0;
    platform::SetHandleSize(io->handle, platform::Size(want));
    if (const int16_t err = platform::MemError()) return Keep(err);
    io->physicalEnd = io->logicalEnd;
    return 0;
}

int16_t FClose(IOFile* io)
{
    if (!io || io->tag != kOpenTag) return Keep(DOS_ERROR);
    // Only memory targets are made; a file reference cannot be closed here.
    const int16_t err = io->fileRef != 0 ? int16_t(DOS_ERROR) : AdjustHandle2Logical(io);
    io->tag = 0;
    delete io;
    return Keep(err);
}

int32_t FRead(IOFile* io, void* buffer, int32_t count)
{
    if (!IsMemory(io)) return Keep(DOS_ERROR);
    if (count <= 0) return 0;
    const int32_t left = io->logicalEnd - io->mark;
    const int32_t n = count < left ? count : (left > 0 ? left : 0);
    if (n > 0) std::memcpy(buffer, *io->handle + io->base + io->mark, size_t(n));
    io->mark += n;
    return n;
}

int16_t FWrite(IOFile* io, const void* buffer, int32_t count)
{
    if (!IsMemory(io)) return Keep(DOS_ERROR);
    if (count < 0) return Keep(DOS_ERROR);
    if (count == 0) return 0;
    const int64_t end = int64_t(io->mark) + count;
    if (end > io->physicalEnd) {
        // As much again as the target holds, so that a long run of writes
        // resizes it a number of times that grows with the log of its
        // size; what is needed and the slack when that much is not there.
        const int64_t least = end + kGrowSlack;
        if (int64_t(io->base) + least > INT32_MAX) return Keep(platform::memFullErr);
        int64_t room = std::min<int64_t>(end + std::max<int64_t>(kGrowSlack, io->physicalEnd), INT32_MAX - io->base);
        platform::SetHandleSize(io->handle, platform::Size(io->base + room));
        if (platform::MemError() != 0 && room > least) {
            room = least;
            platform::SetHandleSize(io->handle, platform::Size(io->base + room));
        }
        if (const int16_t err = platform::MemError()) return Keep(err);
        io->physicalEnd = int32_t(room);
    }
    std::memcpy(*io->handle + io->base + io->mark, buffer, size_t(count));
    io->mark = int32_t(end);
    if (io->logicalEnd < io->mark) io->logicalEnd = io->mark;
    return 0;
}

int16_t FGetEOF(IOFile* io, int32_t* length)
{
    if (!IsMemory(io)) return Keep(DOS_ERROR);
    *length = io->logicalEnd;
    return 0;
}

int16_t FSeek(IOFile* io, int32_t offset, int16_t mode)
{
    if (!IsMemory(io)) return Keep(DOS_ERROR);
    int64_t at = offset;
    if (mode == kSeekFromEnd) at += io->logicalEnd;
    else if (mode == kSeekFromMark) at += io->mark;
    else if (mode != kSeekFromStart) return Keep(platform::paramErr);
    if (at > io->logicalEnd) {
        io->mark = io->logicalEnd;
        return Keep(platform::eofErr);
    }
    if (at < 0) {
        io->mark = 0;
        return Keep(platform::posErr);
    }
    io->mark = int32_t(at);
    return 0;
}

int32_t FileLength(IOFile* io)
{
    int32_t length = 0;
    return FGetEOF(io, &length) == 0 ? length : DOS_ERROR;
}

#include "resources/container/ContainerFork.h"

#include <algorithm>

#include "platform/core/Errors.h"
#include "platform/files/Forks.h"
#include "resources/container/ContainerLayout.h"
#include "resources/container/StoreIo.h"

namespace container {

using namespace platform;

ContainerFork::~ContainerFork() { Close(); }

OSErr ContainerFork::OpenRealFile(const FSSpec& fileSpec, bool writable)
{
    Close();
    int16_t ref = 0;
    OSErr err = fnfErr;
    if (writable) {
        err = FSpOpenDF(fileSpec, fsRdWrPerm, &ref);
        if (err == noErr) {
            writable_ = true;
        } else if (err == permErr || err == wrPermErr || err == fLckdErr || err == vLckdErr ||
                   err == wPrErr || err == afpAccessDenied) {
            writable = false;
        }
    }
    if (!writable) {
        err = FSpOpenDF(fileSpec, fsRdPerm, &ref);
        writable_ = false;
    }
    if (err != noErr) return err;
    int64_t eof = 0;
    err = GetEOF(ref, &eof);
    if (err != noErr) {
        FSClose(ref);
        writable_ = false;
        return err;
    }
    refNum_ = ref;
    length_ = eof > 0 ? uint64_t(eof) : 0;
    return noErr;
}

OSErr ContainerFork::Close()
{
    if (refNum_ == 0) return noErr;
    OSErr err = FSClose(refNum_);
    refNum_ = 0;
    writable_ = false;
    length_ = 0;
    return err;
}

OSErr ContainerFork::PhysicalSize(uint64_t* size) const
{
    *size = length_;
    return refNum_ == 0 ? rfNumErr : noErr;
}

OSErr ContainerFork::ReadAt(uint64_t offset, void* buffer, uint32_t count)
{
    if (refNum_ == 0) return rfNumErr;
    int64_t moved = count;
    OSErr err = FSReadAt(refNum_, int64_t(offset), &moved, buffer);
    if (err == noErr && moved != int64_t(count)) err = eofErr;
    return err;
}

OSErr ContainerFork::WriteAt(uint64_t offset, const void* buffer, uint32_t count, uint32_t logicalEnd)
{
    const IoPiece piece{buffer, count};
    return WriteAt(offset, &piece, 1, logicalEnd);
}

OSErr ContainerFork::WriteAt(uint64_t offset, const IoPiece* pieces, uint32_t count, uint32_t logicalEnd)
{
    if (refNum_ == 0) return rfNumErr;
    if (!writable_) return wrPermErr;
    if (offset > length_ && offset >= uint64_t(logicalEnd) + kPageBytes) return eofErr;
    uint64_t total = 0;
    for (uint32_t i = 0; i < count; ++i) total += pieces[i].size;
    OSErr err = StoreWrite(refNum_, offset, pieces, count);
    if (err == noErr) {
        length_ = std::max(length_, offset + total);
    } else {
        // Part of the write may have landed: learn the length again.
        int64_t eof = 0;
        if (GetEOF(refNum_, &eof) == noErr) length_ = eof > 0 ? uint64_t(eof) : 0;
    }
    return err;
}

OSErr ContainerFork::Flush()
{
    if (refNum_ == 0) return rfNumErr;
    if (!writable_) return noErr;
    return StoreFlush(refNum_);
}

}  // namespace container

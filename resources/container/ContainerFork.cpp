#include "resources/container/ContainerFork.h"

#include "platform/core/Errors.h"
#include "platform/files/Forks.h"
#include "resources/container/ContainerLayout.h"
#include "resources/container/StoreIo.h"

namespace container {

using namespace platform;

ContainerFork::~ContainerFork() { Close(); }

OSErr ContainerFork::Open(const FSSpec& fileSpec, bool writable)
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
    refNum_ = ref;
    return noErr;
}

OSErr ContainerFork::Close()
{
    if (refNum_ == 0) return noErr;
    OSErr err = FSClose(refNum_);
    refNum_ = 0;
    writable_ = false;
    return err;
}

OSErr ContainerFork::PhysicalSize(uint64_t* size) const
{
    int64_t eof = 0;
    OSErr err = GetEOF(refNum_, &eof);
    *size = err == noErr && eof > 0 ? uint64_t(eof) : 0;
    return err;
}

OSErr ContainerFork::Reach(uint64_t offset, uint32_t logicalEnd)
{
    uint64_t end = 0;
    OSErr err = PhysicalSize(&end);
    if (err != noErr || offset <= end) return err;
    if (offset >= uint64_t(logicalEnd) + kPageBytes) return eofErr;
    // Extend the file with zeros (whole 512-byte blocks) up to the target.
    return StoreSetSize(refNum_, end + RoundUp(offset - end, kPageBytes));
}

OSErr ContainerFork::ReadAt(uint64_t offset, void* buffer, uint32_t count)
{
    if (refNum_ == 0) return rfNumErr;
    OSErr err = SetFPos(refNum_, fsFromStart, int64_t(offset));
    if (err != noErr) return err;
    int64_t moved = count;
    err = FSRead(refNum_, &moved, buffer);
    if (err == noErr && moved != int64_t(count)) err = eofErr;
    return err;
}

OSErr ContainerFork::WriteAt(uint64_t offset, const void* buffer, uint32_t count, uint32_t logicalEnd)
{
    if (refNum_ == 0) return rfNumErr;
    if (!writable_) return wrPermErr;
    OSErr err = Reach(offset, logicalEnd);
    if (err != noErr) return err;
    const IoPiece piece{buffer, count};
    return StoreWrite(refNum_, offset, &piece, 1);
}

OSErr ContainerFork::Flush()
{
    if (refNum_ == 0) return rfNumErr;
    if (!writable_) return noErr;
    return StoreFlush(refNum_);
}

}  // namespace container

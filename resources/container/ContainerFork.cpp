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
    written_ = false;
    return noErr;
}

OSErr ContainerFork::Close()
{
    if (refNum_ == 0) return noErr;
    OSErr err = FSClose(refNum_);
    refNum_ = 0;
    writable_ = false;
    length_ = 0;
    EndUndo();
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

OSErr ContainerFork::WriteForGood(uint64_t offset, const void* buffer, uint32_t count, uint32_t logicalEnd)
{
    const bool undoing = undoing_;
    undoing_ = false;
    const OSErr err = WriteAt(offset, buffer, count, logicalEnd);
    undoing_ = undoing;
    return err;
}

OSErr ContainerFork::WriteAt(uint64_t offset, const IoPiece* pieces, uint32_t count, uint32_t logicalEnd)
{
    if (refNum_ == 0) return rfNumErr;
    if (!writable_) return wrPermErr;
    if (offset > length_ && offset >= uint64_t(logicalEnd) + kPageBytes) return eofErr;
    uint64_t total = 0;
    for (uint32_t i = 0; i < count; ++i) total += pieces[i].size;
    // A file moved or deleted behind the program's back takes no write:
    // it would land where nobody finds it.
    if (OSErr moved = CheckForkPath(refNum_); moved != noErr) return moved;
    if (undoing_)
        if (OSErr kept = KeepBeforeWrite(offset, total); kept != noErr) return kept;
    written_ = true;
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

OSErr ContainerFork::KeepBeforeWrite(uint64_t offset, uint64_t total)
{
    const uint64_t end = std::min(offset + total, undoLength_);
    if (offset >= end) return noErr;
    try {
        std::vector<uint8_t> before(size_t(end - offset));
        OSErr err = ReadAt(offset, before.data(), uint32_t(before.size()));
        if (err != noErr) return err;
        kept_.emplace_back(offset, std::move(before));
    } catch (...) {
        return memFullErr;
    }
    return noErr;
}

void ContainerFork::StartUndo()
{
    kept_.clear();
    undoing_ = refNum_ != 0 && writable_;
    undoLength_ = length_;
}

OSErr ContainerFork::RollBack()
{
    if (!undoing_) return noErr;
    undoing_ = false;
    OSErr err = noErr;
    for (auto it = kept_.rbegin(); it != kept_.rend(); ++it) {
        const IoPiece piece{it->second.data(), uint32_t(it->second.size())};
        const OSErr e = StoreWrite(refNum_, it->first, &piece, 1);
        if (err == noErr) err = e;
    }
    if (length_ > undoLength_) {
        const OSErr e = StoreSetSize(refNum_, undoLength_);
        if (e == noErr) length_ = undoLength_;
        if (err == noErr) err = e;
    }
    const OSErr flushed = StoreFlush(refNum_);
    if (err == noErr) err = flushed;
    kept_.clear();
    return err;
}

void ContainerFork::EndUndo()
{
    undoing_ = false;
    kept_.clear();
}

OSErr ContainerFork::Flush()
{
    if (refNum_ == 0) return rfNumErr;
    if (!writable_) return noErr;
    return StoreFlush(refNum_);
}

}  // namespace container

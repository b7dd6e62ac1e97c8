#include "toolbox/files/VFileStream.h"

#include <cstring>

#include "platform/files/FileTypes.h"
#include "toolbox/files/VFile.h"
#include "toolbox/files/VMacFileObject.h"
#include "toolbox/foundation/VMemoryMgr.h"

namespace {

constexpr uint32_t kDefaultCapacity = 65536;
constexpr uint32_t kFindWindow = 1024;

}  // namespace

VFileStream::VFileStream(VFile* file, bool resourceFork) : fResourceFork(resourceFork), fFile(file) {}

VFileStream::~VFileStream()
{
    if (fOpen) {
        if (fWriting)
            CloseWriting(0);
        else
            CloseReading();
    }
    ReleaseBuffer();
}

void VFileStream::AllocateBuffer(bool reading)
{
    if (fBufferCapacity == 0) return;
    if (reading && fBufferCapacity > fSize) fBufferCapacity = fSize;
    while (fBufferCapacity != 0 && !fBuffer) {
        fBuffer = gMemory->NewPtr(int32_t(fBufferCapacity));
        if (!fBuffer) fBufferCapacity /= 2;
    }
    fBufferStart = fBufferLength = 0;
    if (fSize != 0 && !fBuffer) fError = kStreamNoWriteAddress;
}

void VFileStream::ReleaseBuffer()
{
    if (fBuffer) gMemory->DisposePtr(fBuffer);
    fBuffer = nullptr;
    fBufferStart = fBufferLength = fBufferCapacity = 0;
}

void VFileStream::CopyFileError()
{
    VFileErrorStack& errors = fFile->GetFileErrorStack();
    if (VFileError* last = errors.GetFileError(errors.GetCount())) fErrorStack.Add(*last);
}

int16_t VFileStream::Fail(int16_t err)
{
    CopyFileError();
    fError = err;
    return err;
}

bool VFileStream::ReadForkSize(uint32_t* size)
{
    *size = fFile->GetSize(kDataFork);
    return *size != 0xFFFFFFFF;
}

// --- open and close --------------------------------------------------------

int16_t VFileStream::OpenReading()
{
    if (fOpen) return kStreamAlreadyOpen;
    if (!fFile) return kStreamNoHandle;
    if (fFile->GetStatus() < kPathOpenRead && fFile->Open(kAccessRead, fResourceFork) == 0) fOpenedByMe = true;
    if (fFile->GetStatus() < kPathOpenRead) return kFileErrNoAccessMode;
    uint32_t size = 0;
    if (!ReadForkSize(&size)) {
        CopyFileError();
        if (fOpenedByMe) fFile->Close(true);
        fOpenedByMe = false;
        return kFileErrOther;
    }
    fError = 0;
    fOpen = true;
    fWriting = false;
    fPos = fBufferStart = fBufferLength = 0;
    fSize = size;
    if (fBufferCapacity == 0) fBufferCapacity = kDefaultCapacity;
    AllocateBuffer(true);
    return fError;
}

int16_t VFileStream::OpenWriting()
{
    if (fOpen) return kStreamAlreadyOpen;
    if (!fFile) return kFileErrNoAccessMode;
    if (fFile->GetWriter() && fFile->GetWriter() != this) return kFileErrBusy;
    if (fFile->GetStatus() == kPathOpenRead) return kFileErrNotWritable;
    if (fFile->GetStatus() < kPathOpenRead && fFile->Open(kAccessWrite, fResourceFork) == 0) fOpenedByMe = true;
    if (fFile->GetStatus() < kPathOpenWrite) return kFileErrNoAccessMode;
    uint32_t size = 0;
    if (!ReadForkSize(&size)) {
        CopyFileError();
        if (fOpenedByMe) fFile->Close(true);
        fOpenedByMe = false;
        return kFileErrOther;
    }
    fError = 0;
    fOpen = fWriting = true;
    fPos = 0;
    fSize = size;
    fFile->SetWriter(this);
    if (fBufferCapacity == 0) fBufferCapacity = kDefaultCapacity;
    AllocateBuffer(false);
    return fError;
}

int16_t VFileStream::CloseReading()
{
    if (!fOpen) return fError;
    if (fWriting) return kStreamOpenForWriting;
    ReleaseBuffer();
    fOpen = false;
    int16_t result = 0;
    if (fOpenedByMe) result = fFile->Close(true);
    fOpenedByMe = false;
    fError = kStreamNotOpen;
    return result;
}

int16_t VFileStream::CloseWriting(uint8_t setSize)
{
    if (!fOpen) return fError;
    if (!fWriting) return kStreamOpenForReading;
    // Bytes that could not be written make the close fail, never vanish.
    int16_t result = fError != 0 ? fError : FlushOut();
    if (fFile->GetWriter() == this) fFile->SetWriter(nullptr);
    ReleaseBuffer();
    fOpen = fWriting = false;
    if (setSize && result == 0) {
        result = fFile->SetSize(fSize);
        if (result != 0) CopyFileError();
    }
    if (fOpenedByMe) {
        const int16_t closed = fFile->Close(true);
        if (result == 0) result = closed;
    }
    fOpenedByMe = false;
    fError = kStreamNotOpen;
    return result;
}

// --- reading ---------------------------------------------------------------

int16_t VFileStream::GetData(void* buffer, uint32_t* length)
{
    const uint32_t wanted = *length;
    *length = 0;
    if (fError != 0) return fError;
    if (fWriting) return kStreamOpenForWriting;
    auto* out = static_cast<char*>(buffer);

    VFileStream* writer = fFile->GetWriter();
    if (writer && writer != this) {
        // Another stream writes this file: read what it wrote, flushed.
        // Bytes it could not write are not there to read: the reader
        // takes its failure rather than the gap it left.
        if (int16_t err = writer->FlushOut(); err != 0) {
            fError = err;
            return fError;
        }
        fFile->SetSize(writer->GetSize());
        fSize = fFile->GetSize(kDataFork);
        uint32_t count = wanted;
        int16_t err = fFile->SetPos(fPos);
        if (err == 0) err = fFile->GetData(out, &count);
        if (err != 0 && err != kFileErrEndOfData) count = 0;
        fError = err;
        *length = count;
        fPos += count;
        return fError;
    }

    const uint64_t end = uint64_t(fPos) + wanted;
    if (fPos >= fBufferStart && end <= uint64_t(fBufferStart) + fBufferLength) {
        if (wanted) std::memcpy(out, fBuffer + (fPos - fBufferStart), wanted);
        fPos += wanted;
        *length = wanted;
        return fError;
    }

    if (wanted <= fBufferCapacity) {
        fBufferStart = fPos;
        fBufferLength = 0;
        uint32_t count = fBufferCapacity;
        int16_t err = fFile->SetPos(fPos);
        if (err == 0) err = fFile->GetData(fBuffer, &count);
        if (err != 0 && err != kFileErrEndOfData) {
            fBufferLength = 0;
            return Fail(err);
        }
        fBufferLength = count;
        uint32_t delivered = wanted;
        if (fBufferLength < wanted) {
            delivered = fBufferLength;
            fError = kStreamEndOfData;
        }
        if (delivered) std::memcpy(out, fBuffer, delivered);
        fPos += delivered;
        *length = delivered;
        return fError;
    }

    // Larger than the buffer: straight into the caller's memory.
    uint32_t count = wanted;
    int16_t err = fFile->SetPos(fPos);
    if (err == 0) err = fFile->GetData(out, &count);
    if (err != 0 && err != kFileErrEndOfData) count = 0;
    fError = err;
    *length = count;
    fPos += count;
    return fError;
}

// --- writing ---------------------------------------------------------------

int16_t VFileStream::FlushOut()
{
    if (!fWriting || fBufferLength == 0 || fError > 0) return fError > 0 ? fError : 0;
    int16_t err = fFile->SetPos(fBufferStart);
    if (err == 0) err = fFile->PutData(fBuffer, fBufferLength);
    fBufferStart = fPos;
    fBufferLength = 0;
    return err != 0 ? Fail(err) : 0;
}

int16_t VFileStream::PutData(const void* data, uint32_t length)
{
    if (fError != 0) return fError;
    if (!fWriting) return kStreamOpenForReading;
    if (uint64_t(fPos) + length > 0xFFFFFFFFu) {
        // Past what a 32-bit position can say: refused, not wrapped.
        fFile->MAC_GetFile().Fail(platform::fileBoundsErr);
        return Fail(kFileErrOther);
    }
    const uint64_t windowEnd = uint64_t(fBufferStart) + fBufferCapacity;
    if (fPos < fBufferStart || fPos + uint64_t(length) > windowEnd) {
        if (int16_t err = FlushOut(); err != 0) return err;
    }
    if (fBufferLength == 0) fBufferStart = fPos;
    if (fPos + uint64_t(length) > uint64_t(fBufferStart) + fBufferCapacity) {
        int16_t err = fFile->SetPos(fPos);
        if (err == 0) err = fFile->PutData(data, length);
        if (err != 0) return Fail(err);
    } else if (length) {
        std::memcpy(fBuffer + (fPos - fBufferStart), data, length);
        const uint32_t covered = fPos - fBufferStart + length;
        if (covered > fBufferLength) fBufferLength = covered;
    }
    fPos += length;
    if (fSize < fPos) fSize = fPos;
    if (fBufferLength == 0) fBufferStart = fPos;
    return fError;
}

int16_t VFileStream::SetSize(uint32_t size)
{
    if (fError != 0) return fError;
    if (!fWriting) return kStreamOpenForReading;
    fSize = size;
    if (fBufferStart >= size)
        fBufferLength = 0;
    else if (uint64_t(fBufferStart) + fBufferLength > size)
        fBufferLength = size - fBufferStart;
    const int16_t err = fFile->SetSize(size);
    return err != 0 ? Fail(err) : 0;
}

// --- position --------------------------------------------------------------

int32_t VFileStream::GetPos()
{
    if (!fOpen || (fError != 0 && fError != kStreamEndOfData)) return -1;
    return int32_t(fPos);
}

int16_t VFileStream::SetPos(uint32_t pos)
{
    if (fError > kStreamEndOfData || !fOpen) return fOpen ? fError : kStreamNotOpen;
    fPos = pos;
    if (fWriting) {
        if (uint64_t(pos) > uint64_t(fBufferStart) + fBufferLength) {
            if (int16_t err = FlushOut(); err != 0) return err;
        }
        if (pos > fSize) {
            const int16_t err = fFile->SetSize(pos);
            if (err != 0) return Fail(err);
            fSize = pos;
        }
        return fError;
    }
    fError = pos > fSize ? kStreamEndOfData : 0;
    return fError;
}

int16_t VFileStream::SetPosByOffset(uint32_t offset) { return SetPos(fPos + offset); }

// --- searching ---------------------------------------------------------------

uint32_t VFileStream::Find(const void* value, uint32_t size)
{
    if (!fOpen || fWriting || fError != 0) return 0;
    char window[kFindWindow];
    uint32_t windowStart = 0;
    uint32_t windowLength = 0;
    for (uint64_t offset = fPos; offset + size <= fSize; ++offset) {
        const char* at;
        if (offset >= fBufferStart && offset + size <= uint64_t(fBufferStart) + fBufferLength) {
            at = fBuffer + (offset - fBufferStart);
        } else {
            if (!(offset >= windowStart && offset + size <= uint64_t(windowStart) + windowLength)) {
                uint32_t count = kFindWindow;
                int16_t err = fFile->SetPos(uint32_t(offset));
                if (err == 0) err = fFile->GetData(window, &count);
                if (err != 0 && err != kFileErrEndOfData) return 0;
                windowStart = uint32_t(offset);
                windowLength = count;
                if (windowLength < size) return 0;
            }
            at = window + (offset - windowStart);
        }
        if (std::memcmp(at, value, size) == 0) return uint32_t(offset + 1);
    }
    return 0;
}

uint32_t VFileStream::FindByte(char value) { return Find(&value, 1); }
uint32_t VFileStream::FindWord(int16_t value) { return Find(&value, 2); }
uint32_t VFileStream::FindLong(int32_t value) { return Find(&value, 4); }

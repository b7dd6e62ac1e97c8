// A stream over one fork of a file, reading or writing through one memory
// buffer (at most 64 KB, halved until it can be had), so typed transfers
// cost one platform call per buffer. Between an open and a close a stream
// either reads or writes. Errors are sticky until the stream is reopened.
#pragma once

#include <cstdint>

#include "toolbox/foundation/VStream.h"

class VFile;

class VFileStream : public VStream {
public:
    // The file is not opened yet and is never destroyed by the stream.
    explicit VFileStream(VFile* file, bool resourceFork = false);
    // An open writer is flushed and detached from its file; a file the
    // stream opened is closed.
    ~VFileStream() override;

    int16_t OpenReading() override;
    int16_t OpenWriting() override;
    int16_t CloseReading() override;
    // Answers the first failure since the open (a failed flush included);
    // with setSize the fork is cut to the stream's size.
    int16_t CloseWriting(uint8_t setSize) override;
    int16_t PutData(const void* data, uint32_t length) override;
    int16_t GetData(void* buffer, uint32_t* length) override;
    uint32_t GetSize() override { return fSize; }
    int32_t GetPos() override;
    int16_t SetSize(uint32_t size) override;
    int16_t SetPos(uint32_t pos) override;
    int16_t SetPosByOffset(uint32_t offset) override;
    uint32_t FindByte(char value) override;
    uint32_t FindWord(int16_t value) override;
    uint32_t FindLong(int32_t value) override;

    // Writes the buffered bytes to the file; a failure stays as the error.
    int16_t FlushOut();
    VFile* GetFile() const { return fFile; }
    uint32_t GetBufferCapacity() const { return fBufferCapacity; }

private:
    void AllocateBuffer(bool reading);
    void ReleaseBuffer();
    // Keeps the file's latest recorded error in the stream's own stack.
    void CopyFileError();
    int16_t Fail(int16_t err);
    uint32_t Find(const void* value, uint32_t size);
    // The fork's size, or false (error recorded) when it has none a 32-bit
    // size can express.
    bool ReadForkSize(uint32_t* size);

    bool fOpenedByMe = false;
    bool fOpen = false;
    bool fWriting = false;
    bool fResourceFork;
    VFile* fFile;
    uint32_t fPos = 0;
    uint32_t fSize = 0;
    uint32_t fBufferStart = 0;
    uint32_t fBufferLength = 0;
    uint32_t fBufferCapacity = 0;
    char* fBuffer = nullptr;
};

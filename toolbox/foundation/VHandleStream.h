// A stream over a relocatable memory block that grows as it is written.
// The handle stays locked while the stream is open.
#pragma once

#include "toolbox/foundation/VStream.h"

class VHandleStream : public VStream {
public:
    // handleRef holds the handle to work on; when it holds null an empty
    // handle is made and stored there (it then belongs to the caller). A
    // null handleRef makes an empty handle that the stream owns and frees.
    explicit VHandleStream(char*** handleRef);
    ~VHandleStream() override;

    int16_t OpenReading() override;
    // Writing starts at offset 0 with no data: CloseWriting(true) leaves
    // exactly the bytes written.
    int16_t OpenWriting() override;
    int16_t CloseReading() override;
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

private:
    uint32_t Find(const void* value, uint32_t size);
    // Resizes the unlocked handle, then locks it again; false on failure.
    bool Resize(uint32_t size);
    void Reset();

    uint8_t fOpen = 0;
    uint8_t fWriting = 0;
    uint8_t fOwnsHandle = 0;
    char** fHandle = nullptr;
    char* fData = nullptr;  // null while open for writing with no block yet
    uint32_t fPos = 0;
    uint32_t fSize = 0;
    uint32_t fAllocated = 0;
};

// A read-only stream over a caller's buffer, which must outlive it.
#pragma once

#include "toolbox/foundation/VStream.h"

class VPtrStream : public VStream {
public:
    VPtrStream(char* data, int32_t size);

    int16_t OpenReading() override;
    int16_t OpenWriting() override { return kStreamNotSupported; }
    int16_t CloseReading() override;
    int16_t CloseWriting(uint8_t) override { return kStreamNotSupported; }
    int16_t PutData(const void*, uint32_t) override { return kStreamNotSupported; }
    int16_t GetData(void* buffer, uint32_t* length) override;
    uint32_t GetSize() override { return fSize; }
    int32_t GetPos() override;
    int16_t SetSize(uint32_t) override { return kStreamNotSupported; }
    // A position beyond the size answers 200.
    int16_t SetPos(uint32_t pos) override;
    int16_t SetPosByOffset(uint32_t offset) override;
    uint32_t FindByte(char value) override;
    uint32_t FindWord(int16_t value) override;
    uint32_t FindLong(int32_t value) override;

private:
    uint32_t Find(const void* value, uint32_t size);

    uint8_t fOpen = 0;
    const char* fData;
    uint32_t fPos = 0;
    uint32_t fSize;
};

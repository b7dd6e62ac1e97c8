// Spreads consecutive 2048-byte chunks over blocks of 3n + 1 chunks, chunk
// k of a block going to slot (k × n) mod (3n + 1), so that a burst of
// damage falls on chunks far apart in the data. Block record:
//  off  size
//    0     4  'INTR' ('RTNI': the inner stream turns little-endian)   other: 220
//    4     4  block number, 1, 2, 3...                               other: 220
//    8     4  data length, at most (3n + 1) × 2048                   more: 220
//   12   ...  the block; slots past the data hold zeros
// n runs from 1 to 4096. A stream always ends with a block, maybe empty.
#pragma once

#include "toolbox/files/VSequentialStream.h"

class VInterlacingStream : public VSequentialStream {
public:
    static constexpr uint32_t kChunkSize = 2048;

    // The inner stream stays the caller's.
    VInterlacingStream(VStream* inner, uint32_t stride);
    ~VInterlacingStream() override;

    int16_t OpenReading() override;
    int16_t OpenWriting() override;
    int16_t CloseReading() override;
    int16_t CloseWriting(uint8_t setSize) override;
    int16_t PutData(const void* data, uint32_t length) override;
    int16_t GetData(void* buffer, uint32_t* length) override;
    uint32_t GetSize() override { return 0; }
    int32_t GetPos() override { return 0; }

private:
    int16_t Allocate();
    void FreeBuffers();
    uint32_t SlotOf(uint32_t chunk) const { return uint32_t(uint64_t(chunk) * fStride % fChunksPerBlock); }
    int16_t _InterlacingBuffer(bool last);
    int16_t _DeInterlacingBuffer();

    VStream* fInner;
    uint32_t fStride;
    uint32_t fChunksPerBlock = 0;
    uint32_t fBlockSize = 0;
    uint32_t fPlaced = 0;
    uint32_t fBlockCounter = 0;
    uint8_t* fBlock = nullptr;
    uint8_t* fOrdered = nullptr;
    uint8_t* fChunk = nullptr;
    uint32_t fChunkFill = 0;
    uint32_t fDataLength = 0;
    uint32_t fReadPos = 0;
    // Reading: bytes of the next block record received so far.
    uint32_t fRecordHave = 0;
    uint8_t fRecordHead[12];
};

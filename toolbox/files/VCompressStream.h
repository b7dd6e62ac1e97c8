// Blocks of at most 32768 bytes, each compressed by the host's coder and
// stored behind a 48-byte header (numbers in the inner stream's order):
//  off size
//   0   4   'Comp' ('pmoC': the numbers of this header little-endian)
//   4   4   method, handed to the host coder
//   8   4   stored size            above 65536 or the plain size: 220
//  12   4   plain size, 1..32768   above 32768, or 0 with stored bytes: 220
//  16  16   MD5 of the plain bytes
//  32  16   MD5 of the stored bytes (equal sizes: the plain digest again)
// Every block is checked against its digests, stored blocks too. A stream
// always ends with a block of fewer than 32768 plain bytes, maybe none.
#pragma once

#include "toolbox/files/VChecksumMD5.h"
#include "toolbox/files/VSequentialStream.h"

class VCompressStream : public VSequentialStream {
public:
    static constexpr uint32_t kBlockSize = 32768;
    static constexpr uint32_t kStoredCapacity = 65536;
    static constexpr uint32_t kHeaderSize = 48;

    // The inner stream stays the caller's.
    VCompressStream(VStream* inner, uint32_t method);
    ~VCompressStream() override;

    int16_t OpenReading() override;
    int16_t OpenWriting() override;
    int16_t CloseReading() override;
    int16_t CloseWriting(uint8_t setSize) override;
    int16_t PutData(const void* data, uint32_t length) override;
    int16_t GetData(void* buffer, uint32_t* length) override;

    // True when every byte of the blocks read so far was delivered and the
    // last block was full: the writer then put an empty block behind it.
    bool EndsOnFullBlock() const { return fPlainSize == 0 && fLastPlainSize == kBlockSize; }
    // Reads the empty block a writer puts behind a full last block (220
    // when the next block is not empty).
    int16_t ReadEmptyTail();

private:
    bool AllocateBuffers();
    void FreeBuffers();
    int16_t _CompressInternalBuffer(bool last);
    // Reads and checks the next block into the plain buffer.
    int16_t ReadBlock();
    int16_t ReadInner(uint8_t* into, uint32_t wanted, uint32_t* have);

    VStream* fInner;
    uint32_t fMethod;
    uint8_t* fStored = nullptr;
    uint8_t* fPlain = nullptr;
    uint32_t fFill = 0;        // writing: bytes buffered; reading: bytes delivered of the block
    uint32_t fStoredSize = 0;  // of the block in hand
    uint32_t fPlainSize = 0;   // of the block in hand (0: none)
    uint32_t fLastPlainSize = 0;
    uint32_t fStoredHave = 0;  // stored bytes of the block being read
    uint8_t fHeader[kHeaderSize];
    uint32_t fHeaderHave = 0;
    bool fHeaderParsed = false;
    uint8_t fPlainDigest[16];
    uint8_t fStoredDigest[16];
    VChecksumMD5 fChecksum;
};

// The records of the redundancy stream. A record is 2048 bytes:
//  off  size
//    0     4  'SCB2'
//    4     4  length of the data used, 0..2024 (big-endian)
//    8  2024  data; bytes past the length are what the writer left there
// 2032    16  MD5 of the 2024 data bytes followed by the length's 4 bytes
// The older form 'SCBK' holds a 16-bit sequence number and a 16-bit length
// at 4 and 6, and its digest covers the data followed by four zero bytes.
// The parity record has the same form: the XOR of a group's records.
#pragma once

#include <cstdint>

#include "toolbox/files/VChecksumMD5.h"
#include "toolbox/foundation/VObject.h"

class VStream;

constexpr uint32_t kSecuredDataSize = 2024;
constexpr uint32_t kSecuredRecordSize = 2048;

// One data record being filled and written.
class VSecuredBlock : public VObject {
public:
    VSecuredBlock();
    ~VSecuredBlock() override;
    VSecuredBlock(const VSecuredBlock&) = delete;
    VSecuredBlock& operator=(const VSecuredBlock&) = delete;

    // Appends what the room left and the stream's remaining bytes allow;
    // an empty block is cleared to zeros first.
    int16_t FromStream(VStream* stream);
    // Writes the record and empties the block.
    int16_t ToStream(VStream* stream);
    // Empties the block and clears its data.
    void Clear();

    uint8_t* GetData() { return fData; }
    uint32_t GetLength() const { return fLength; }
    void SetLength(uint32_t length) { fLength = length; }
    uint32_t GetCount() const { return fCount; }

private:
    uint8_t* fData;
    uint32_t fLength = 0;
    uint32_t fCount = 0;
    VChecksumMD5 fChecksum;
    uint8_t fDigest[16] = {};
};

// The parity record of a group: the XOR of its data records.
class VSecuredChecksumBlock : public VObject {
public:
    VSecuredChecksumBlock();
    ~VSecuredChecksumBlock() override;
    VSecuredChecksumBlock(const VSecuredChecksumBlock&) = delete;
    VSecuredChecksumBlock& operator=(const VSecuredChecksumBlock&) = delete;

    void Fold(const uint8_t* data, uint32_t length);
    int16_t ToStream(VStream* stream);
    void Reset();
    uint32_t GetCount() const { return fCount; }

private:
    uint8_t* fData;
    uint32_t fCount = 0;
    uint32_t fLength = 0;
};

// The digest of a record's data and its length, as stored in the record.
void SecuredDigest(const uint8_t* data, uint32_t length, uint8_t digest[16]);

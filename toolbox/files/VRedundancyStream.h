// Groups of n checked data records and one parity record:
//   'RDCY' ('YCDR' accepted), n records of 2048 bytes, the parity record
// (VSecuredBlock.h), 4 + 2048 × (n + 1) bytes. Records sit at fixed places.
// One damaged data record per group (its data, digest, marker or length)
// is rebuilt from the others and the parity, which must check itself; two
// make the read fail (220), as does a group without its marker. n runs
// from 1 to 4096. The last group is completed with empty records, so a
// stream always ends with a whole group.
#pragma once

#include "toolbox/files/VSecuredBlock.h"
#include "toolbox/files/VSequentialStream.h"

class VRedundancyStream : public VSequentialStream {
public:
    // The inner stream stays the caller's.
    VRedundancyStream(VStream* inner, uint32_t blocksPerGroup);
    ~VRedundancyStream() override;

    int16_t OpenReading() override;
    int16_t OpenWriting() override;
    int16_t CloseReading() override;
    int16_t CloseWriting(uint8_t setSize) override;
    int16_t PutData(const void* data, uint32_t length) override;
    int16_t GetData(void* buffer, uint32_t* length) override;
    uint32_t GetSize() override { return 0; }
    int32_t GetPos() override { return 0; }

    uint32_t GetGroupSize() const { return 4 + kSecuredRecordSize * (fBlocksPerGroup + 1); }

private:
    void FreeBuffers();
    int16_t WriteStagedBlock(uint32_t length);
    // Checks the group in hand, rebuilding one damaged record.
    int16_t _BlocksAreValid();
    void _CopyToBuffer();

    VStream* fInner;
    uint32_t fBlocksPerGroup;
    VSecuredBlock fBlock;
    VSecuredChecksumBlock fParity;
    uint8_t* fStaging = nullptr;
    uint32_t fStaged = 0;
    uint8_t* fGroup = nullptr;
    uint8_t* fDecoded = nullptr;
    uint32_t fGroupHave = 0;
    uint32_t fDecodedCount = 0;
    uint32_t fReadPos = 0;
};

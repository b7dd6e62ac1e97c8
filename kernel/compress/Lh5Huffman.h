// Canonical Huffman codes of the -lh5- stream: codes are assigned in order
// of length, and within one length in symbol order, most significant bit
// first.
#pragma once

#include <cstdint>

#include "kernel/compress/Lh5Format.h"

namespace lh5 {

// Code lengths of at most 16 bits for freq[0..n). Returns the number of
// symbols used; when it is below 2 every length is 0 and *single is the one
// symbol used (0 when none).
int32_t BuildCodeLengths(const uint32_t* freq, int32_t n, uint8_t* lens, int32_t* single);

void BuildCodes(const uint8_t* lens, int32_t n, uint16_t* codes);

// A decoder for one alphabet. Plain data: it lives in zeroed per-call memory
// and is set up by Build or SetSingle before use.
class HuffmanDecoder {
public:
    // False when the lengths do not form one complete prefix code.
    bool Build(const uint8_t* lens, int32_t n, int32_t tableBits);
    // Every code is this symbol, in zero bits.
    void SetSingle(int32_t symbol);
    // Decodes from the next 16 bits of the stream (most significant first);
    // *len receives the bits used.
    int32_t Decode(uint32_t next16, int32_t* len) const
    {
        if (single_ >= 0) {
            *len = 0;
            return single_;
        }
        const uint16_t entry = table_[next16 >> (kMaxCodeLen - tableBits_)];
        if (entry) {
            *len = entry & 31;
            return entry >> 5;
        }
        return DecodeLong(next16, len);
    }

private:
    // Codes longer than the table, bit by bit.
    int32_t DecodeLong(uint32_t next16, int32_t* len) const;

    int32_t single_;
    int32_t tableBits_;
    uint16_t count_[kMaxCodeLen + 1];
    uint16_t sorted_[kNMax];
    // symbol << 5 | length for codes within tableBits_; 0 sends the lookup
    // to the bit-by-bit walk.
    uint16_t table_[1 << kCTableBits];
};

}  // namespace lh5

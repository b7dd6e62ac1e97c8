// -lh5- decoder. Every table read from the stream is checked before use, and
// a stream that runs past its end, refers before the start of the output or
// holds an impossible code is refused.
#include <cstring>

#include "kernel/compress/Lh5.h"
#include "kernel/compress/Lh5Bits.h"
#include "kernel/compress/Lh5Huffman.h"
#include "kernel/compress/WorkBlock.h"

using namespace lh5;

namespace {

struct DecoderState {
    HuffmanDecoder c;  // literals and lengths
    HuffmanDecoder p;  // position bits
    HuffmanDecoder t;  // code lengths of the literal-and-length code
    uint8_t cLen[kNC];
    uint8_t ptLen[kNT];
};

class Decoder {
public:
    Decoder(BitReader& in, DecoderState& s) : in_(in), s_(s) {}

    bool ReadBlockHeader(uint32_t* blockSize);
    bool DecodeC(int32_t* c) { return Decode(s_.c, c); }
    bool DecodeP(uint32_t* distance);

private:
    bool Decode(const HuffmanDecoder& h, int32_t* symbol)
    {
        int32_t len = 0;
        *symbol = h.Decode(in_.Peek16(), &len);
        in_.Skip(len);
        return !in_.Overrun();
    }
    bool ReadPtLengths(HuffmanDecoder& h, int32_t nn, int32_t nbit, int32_t special);
    bool ReadCLengths();

    BitReader& in_;
    DecoderState& s_;
};

bool Decoder::ReadPtLengths(HuffmanDecoder& h, int32_t nn, int32_t nbit, int32_t special)
{
    const int32_t n = int32_t(in_.Get(nbit));
    if (n == 0) {
        const int32_t c = int32_t(in_.Get(nbit));
        if (c >= nn) return false;
        h.SetSingle(c);
        return true;
    }
    if (n > nn) return false;
    std::memset(s_.ptLen, 0, sizeof s_.ptLen);
    int32_t i = 0;
    while (i < n) {
        int32_t c = int32_t(in_.Peek16() >> 13);
        if (c == 7) {
            uint32_t mask = 1u << 12;
            const uint32_t bits = in_.Peek16();
            while (mask && (bits & mask)) {
                mask >>= 1;
                ++c;
            }
            if (c > kMaxCodeLen) return false;
        }
        in_.Skip(c < 7 ? 3 : c - 3);
        s_.ptLen[i++] = uint8_t(c);
        if (i == special) {
            const int32_t zeros = int32_t(in_.Get(2));
            if (i + zeros > nn) return false;
            i += zeros;  // those lengths are already 0
        }
    }
    if (in_.Overrun()) return false;
    return h.Build(s_.ptLen, nn, kPTTableBits);
}

bool Decoder::ReadCLengths()
{
    const int32_t n = int32_t(in_.Get(kCBit));
    if (n == 0) {
        const int32_t c = int32_t(in_.Get(kCBit));
        if (c >= kNC) return false;
        s_.c.SetSingle(c);
        return true;
    }
    if (n > kNC) return false;
    std::memset(s_.cLen, 0, sizeof s_.cLen);
    int32_t i = 0;
    while (i < n) {
        int32_t c = 0;
        if (!Decode(s_.t, &c)) return false;
        if (c > 2) {
            s_.cLen[i++] = uint8_t(c - 2);
            continue;
        }
        int32_t run = 1;
        if (c == 1)
            run = int32_t(in_.Get(4)) + 3;
        else if (c == 2)
            run = int32_t(in_.Get(kCBit)) + 20;
        if (i + run > n) return false;
        i += run;  // zero lengths
    }
    if (in_.Overrun()) return false;
    return s_.c.Build(s_.cLen, kNC, kCTableBits);
}

bool Decoder::ReadBlockHeader(uint32_t* blockSize)
{
    *blockSize = in_.Get(16);
    return ReadPtLengths(s_.t, kNT, kTBit, 3) && ReadCLengths() &&
           ReadPtLengths(s_.p, kNP, kPBit, -1) && !in_.Overrun();
}

bool Decoder::DecodeP(uint32_t* distance)
{
    int32_t j = 0;
    if (!Decode(s_.p, &j)) return false;
    uint32_t d = uint32_t(j);
    if (j > 1) d = (1u << (j - 1)) + in_.Get(j - 1);
    *distance = d;
    return !in_.Overrun();
}

}  // namespace

int32_t ARDECOMPACTE(const void* src, void* dst, int32_t dstLen, int32_t srcLen)
{
    if (dstLen <= 0) return 0;
    if (srcLen <= 0) return kDamagedBlockErr;
    WorkBlock<DecoderState> state(1);
    if (!state) return kCompressNoMemory;

    BitReader in(static_cast<const uint8_t*>(src), srcLen);
    Decoder decoder(in, *state.data());
    auto* out = static_cast<uint8_t*>(dst);
    int32_t pos = 0;
    uint32_t blockLeft = 0;
    while (pos < dstLen) {
        if (blockLeft == 0) {
            if (!decoder.ReadBlockHeader(&blockLeft)) return kDamagedBlockErr;
            continue;
        }
        --blockLeft;
        int32_t c = 0;
        if (!decoder.DecodeC(&c)) return kDamagedBlockErr;
        if (c < 256) {
            out[pos++] = uint8_t(c);
            continue;
        }
        uint32_t distance = 0;
        if (!decoder.DecodeP(&distance)) return kDamagedBlockErr;
        const int32_t from = pos - int32_t(distance) - 1;
        if (from < 0) return kDamagedBlockErr;
        int32_t len = c - kLengthBias;
        if (len > dstLen - pos) len = dstLen - pos;
        for (int32_t k = 0; k < len; ++k) out[pos + k] = out[from + k];
        pos += len;
    }
    return dstLen;
}

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

// Decodes codes of the current block until it or the output ends; returns
// the new output position or -1 for a damaged stream. The reader works on
// a copy: stores into the output may alias anything, and would otherwise
// keep its state out of registers. Its consumed count only grows, so one
// check for a run past the end at the close covers every code.
int32_t DecodeCodes(BitReader& reader, const DecoderState& s, uint8_t* out, int32_t pos, int32_t dstLen,
                    uint32_t* blockLeft)
{
    BitReader in = reader;
    uint32_t left = *blockLeft;
    for (; left > 0 && pos < dstLen; --left) {
        int32_t bits = 0;
        const int32_t c = s.c.Decode(in.Peek16(), &bits);
        in.Skip(bits);
        if (c < 256) {
            out[pos++] = uint8_t(c);
            continue;
        }
        const int32_t j = s.p.Decode(in.Peek16(), &bits);
        in.Skip(bits);
        uint32_t distance = uint32_t(j);
        if (j > 1) distance = (1u << (j - 1)) + in.Get(j - 1);
        const int32_t from = pos - int32_t(distance) - 1;
        if (from < 0) return -1;
        int32_t len = c - kLengthBias;
        if (len > dstLen - pos) len = dstLen - pos;
        int32_t k = 0;
        if (pos - from >= 8)  // eight bytes at a time cannot overlap
            for (; k + 8 <= len; k += 8) std::memcpy(out + pos + k, out + from + k, 8);
        for (; k < len; ++k) out[pos + k] = out[from + k];
        pos += len;
    }
    if (in.Overrun()) return -1;
    reader = in;
    *blockLeft = left;
    return pos;
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
        pos = DecodeCodes(in, *state.data(), out, pos, dstLen, &blockLeft);
        if (pos < 0) return kDamagedBlockErr;
    }
    return dstLen;
}

// -lh5- compressor: LZSS with one step of lazy matching over a hash-chained
// dictionary, codes collected in a buffer and sent block by block.
#include <bit>
#include <cstring>

#include "kernel/compress/Lh5.h"
#include "kernel/compress/Lh5Bits.h"
#include "kernel/compress/Lh5Huffman.h"
#include "kernel/compress/WorkBlock.h"

using namespace lh5;

namespace {

constexpr int32_t kHashBits = 15;
constexpr int32_t kHashSize = 1 << kHashBits;
constexpr int32_t kMaxChain = 256;  // candidates tried per position

// Frequencies, lengths and codes of the block being built.
struct BlockTables {
    uint32_t cFreq[kNC];
    uint32_t pFreq[kNP];
    uint32_t tFreq[kNT];
    uint8_t cLen[kNC];
    uint8_t pLen[kNP];
    uint8_t tLen[kNT];
    uint16_t cCode[kNC];
    uint16_t pCode[kNP];
    uint16_t tCode[kNT];
};

int32_t BitLength(uint32_t v) { return int32_t(std::bit_width(v)); }

class Encoder {
public:
    Encoder(const uint8_t* src, int32_t srcLen, BitWriter& out, BlockTables& t, int32_t* head,
            int32_t* prev, uint8_t* codeBuffer, int32_t codeBufferSize)
        : src_(src), n_(srcLen), out_(out), t_(t), head_(head), prev_(prev), buf_(codeBuffer),
          bufSize_(codeBufferSize)
    {
        std::memset(head_, 0xFF, sizeof(int32_t) * kHashSize);
    }

    void Run();

private:
    uint32_t Hash(int32_t pos) const
    {
        const uint8_t* p = src_ + pos;
        return ((uint32_t(p[0]) << 10) ^ (uint32_t(p[1]) << 5) ^ p[2]) & (kHashSize - 1);
    }
    void Insert(int32_t pos);
    void FindMatch(int32_t pos, int32_t* len, int32_t* matchPos) const;
    void Output(uint32_t c, uint32_t p);
    void SendBlock();
    void WriteTLengths(const uint8_t* lens, int32_t n, int32_t nbit, int32_t special);
    void CountTFreq();
    void WriteCLengths();
    void EncodeP(uint32_t p);

    const uint8_t* src_;
    int32_t n_;
    BitWriter& out_;
    BlockTables& t_;
    int32_t* head_;
    int32_t* prev_;
    uint8_t* buf_;
    int32_t bufSize_;
    int32_t bufPos_ = 0;
    int32_t flagPos_ = 0;
    uint32_t flagMask_ = 0;
};

void Encoder::Insert(int32_t pos)
{
    if (pos + kThreshold > n_) return;
    const uint32_t h = Hash(pos);
    prev_[pos & (kDicSize - 1)] = head_[h];
    head_[h] = pos;
}

// Length of the common start of c and p, at most maxLen bytes (both
// readable that far). Eight bytes at a time where the machine allows.
inline int32_t CommonLength(const uint8_t* c, const uint8_t* p, int32_t maxLen)
{
    int32_t l = 0;
    if constexpr (std::endian::native == std::endian::little) {
        for (; l + 8 <= maxLen; l += 8) {
            uint64_t a = 0, b = 0;
            std::memcpy(&a, c + l, 8);
            std::memcpy(&b, p + l, 8);
            if (const uint64_t x = a ^ b) return l + (std::countr_zero(x) >> 3);
        }
    }
    while (l < maxLen && c[l] == p[l]) ++l;
    return l;
}

inline uint32_t Load32(const uint8_t* p)
{
    uint32_t v = 0;
    std::memcpy(&v, p, 4);
    return v;
}

// Longest earlier match within the window; the nearest wins among equals.
void Encoder::FindMatch(int32_t pos, int32_t* len, int32_t* matchPos) const
{
    *len = 0;
    if (pos + kThreshold > n_) return;
    const int32_t maxLen = n_ - pos < kMaxMatch ? n_ - pos : kMaxMatch;
    const uint8_t* p = src_ + pos;
    int32_t best = 0;
    // Only a candidate that agrees with p up to and including byte `best`
    // can do better; once best >= 3 the four bytes ending there are
    // compared at once (best < maxLen, so they are readable).
    uint32_t tail = 0;
    const uint32_t head = maxLen >= 4 ? Load32(p) : 0;
    int32_t q = head_[Hash(pos)];
    for (int32_t chain = kMaxChain; q >= 0 && pos - q < kDicSize && chain > 0; --chain) {
        const uint8_t* c = src_ + q;
        const bool candidate = best >= 3 ? ((Load32(c + best - 3) ^ tail) | (Load32(c) ^ head)) == 0
                                         : c[best] == p[best] && c[0] == p[0];
        if (candidate) {
            const int32_t l = CommonLength(c, p, maxLen);
            if (l > best) {
                best = l;
                *matchPos = q;
                if (l == maxLen) break;
                if (best >= 3) tail = Load32(p + best - 3);
            }
        }
        q = prev_[q & (kDicSize - 1)];
    }
    *len = best >= kThreshold ? best : 0;
}

void Encoder::Run()
{
    int32_t pos = 0;
    int32_t len = 0, matchPos = 0;
    FindMatch(pos, &len, &matchPos);
    Insert(pos);
    while (pos < n_ && !out_.Full()) {
        const int32_t lastLen = len, lastPos = matchPos;
        ++pos;
        FindMatch(pos, &len, &matchPos);
        Insert(pos);
        if (len > lastLen || lastLen < kThreshold) {
            Output(src_[pos - 1], 0);
            continue;
        }
        Output(uint32_t(lastLen + kLengthBias), uint32_t(pos - lastPos - 2) & (kDicSize - 1));
        // The rest of the match is only entered into the dictionary; the
        // position after it is searched.
        for (int32_t k = 1; k < lastLen - 1; ++k) Insert(++pos);
        ++pos;
        FindMatch(pos, &len, &matchPos);
        Insert(pos);
    }
    if (bufPos_ > 0 && !out_.Full()) SendBlock();
    out_.Flush();
}

void Encoder::Output(uint32_t c, uint32_t p)
{
    if ((flagMask_ >>= 1) == 0) {
        flagMask_ = 0x80;
        if (bufPos_ >= bufSize_ - 24) {
            SendBlock();
            bufPos_ = 0;
        }
        flagPos_ = bufPos_++;
        buf_[flagPos_] = 0;
    }
    buf_[bufPos_++] = uint8_t(c);
    t_.cFreq[c]++;
    if (c >= 256) {
        buf_[flagPos_] |= uint8_t(flagMask_);
        buf_[bufPos_++] = uint8_t(p >> 8);
        buf_[bufPos_++] = uint8_t(p);
        t_.pFreq[BitLength(p)]++;
    }
}

// Code lengths of the T and P alphabets: 3 bits up to 6, longer ones as a
// run of ones ended by a zero. After `special` lengths a 2-bit count of
// zero lengths follows.
void Encoder::WriteTLengths(const uint8_t* lens, int32_t n, int32_t nbit, int32_t special)
{
    while (n > 0 && lens[n - 1] == 0) --n;
    out_.Put(nbit, uint32_t(n));
    int32_t i = 0;
    while (i < n) {
        const int32_t k = lens[i++];
        if (k <= 6)
            out_.Put(3, uint32_t(k));
        else
            out_.Put(k - 3, (1u << (k - 3)) - 2);
        if (i == special) {
            while (i < 6 && lens[i] == 0) ++i;
            out_.Put(2, uint32_t(i - 3) & 3);
        }
    }
}

// Literal-and-length code lengths are sent with the T code: symbols 0-2
// are runs of zero lengths, 3.. a length plus 2.
void Encoder::CountTFreq()
{
    std::memset(t_.tFreq, 0, sizeof t_.tFreq);
    int32_t n = kNC;
    while (n > 0 && t_.cLen[n - 1] == 0) --n;
    int32_t i = 0;
    while (i < n) {
        const int32_t k = t_.cLen[i++];
        if (k != 0) {
            t_.tFreq[k + 2]++;
            continue;
        }
        int32_t run = 1;
        while (i < n && t_.cLen[i] == 0) ++i, ++run;
        if (run <= 2)
            t_.tFreq[0] += uint32_t(run);
        else if (run <= 18)
            t_.tFreq[1]++;
        else if (run == 19)
            t_.tFreq[0]++, t_.tFreq[1]++;
        else
            t_.tFreq[2]++;
    }
}

void Encoder::WriteCLengths()
{
    int32_t n = kNC;
    while (n > 0 && t_.cLen[n - 1] == 0) --n;
    out_.Put(kCBit, uint32_t(n));
    int32_t i = 0;
    while (i < n) {
        const int32_t k = t_.cLen[i++];
        if (k != 0) {
            out_.Put(t_.tLen[k + 2], t_.tCode[k + 2]);
            continue;
        }
        int32_t run = 1;
        while (i < n && t_.cLen[i] == 0) ++i, ++run;
        if (run <= 2) {
            for (int32_t r = 0; r < run; ++r) out_.Put(t_.tLen[0], t_.tCode[0]);
        } else if (run <= 18) {
            out_.Put(t_.tLen[1], t_.tCode[1]);
            out_.Put(4, uint32_t(run - 3));
        } else if (run == 19) {
            out_.Put(t_.tLen[0], t_.tCode[0]);
            out_.Put(t_.tLen[1], t_.tCode[1]);
            out_.Put(4, 15);
        } else {
            out_.Put(t_.tLen[2], t_.tCode[2]);
            out_.Put(kCBit, uint32_t(run - 20));
        }
    }
}

void Encoder::EncodeP(uint32_t p)
{
    const int32_t np = BitLength(p);
    out_.Put(t_.pLen[np], t_.pCode[np]);
    if (np > 1) out_.Put(np - 1, p & ((1u << (np - 1)) - 1));
}

void Encoder::SendBlock()
{
    uint32_t codes = 0;
    for (uint32_t f : t_.cFreq) codes += f;
    out_.Put(16, codes);

    int32_t single = 0;
    if (BuildCodeLengths(t_.cFreq, kNC, t_.cLen, &single) >= 2) {
        BuildCodes(t_.cLen, kNC, t_.cCode);
        CountTFreq();
        int32_t singleT = 0;
        if (BuildCodeLengths(t_.tFreq, kNT, t_.tLen, &singleT) >= 2) {
            BuildCodes(t_.tLen, kNT, t_.tCode);
            WriteTLengths(t_.tLen, kNT, kTBit, 3);
        } else {
            out_.Put(kTBit, 0);
            out_.Put(kTBit, uint32_t(singleT));
        }
        WriteCLengths();
    } else {
        out_.Put(kTBit, 0);
        out_.Put(kTBit, 0);
        out_.Put(kCBit, 0);
        out_.Put(kCBit, uint32_t(single));
        std::memset(t_.cCode, 0, sizeof t_.cCode);
    }

    int32_t singleP = 0;
    if (BuildCodeLengths(t_.pFreq, kNP, t_.pLen, &singleP) >= 2) {
        BuildCodes(t_.pLen, kNP, t_.pCode);
        WriteTLengths(t_.pLen, kNP, kPBit, -1);
    } else {
        out_.Put(kPBit, 0);
        out_.Put(kPBit, uint32_t(singleP));
        std::memset(t_.pCode, 0, sizeof t_.pCode);
    }

    int32_t pos = 0;
    uint32_t flags = 0;
    for (uint32_t i = 0; i < codes && !out_.Full(); ++i) {
        if ((i & 7) == 0) flags = buf_[pos++];
        if (flags & (0x80u >> (i & 7))) {
            const uint32_t c = buf_[pos] + 256u;
            const uint32_t p = (uint32_t(buf_[pos + 1]) << 8) | buf_[pos + 2];
            pos += 3;
            out_.Put(t_.cLen[c], t_.cCode[c]);
            EncodeP(p);
        } else {
            const uint32_t c = buf_[pos++];
            out_.Put(t_.cLen[c], t_.cCode[c]);
        }
    }
    std::memset(t_.cFreq, 0, sizeof t_.cFreq);
    std::memset(t_.pFreq, 0, sizeof t_.pFreq);
}

}  // namespace

int32_t ARCOMPACTE(const void* src, void* dst, int32_t srcLen, int32_t dstCapacity)
{
    if (srcLen <= 0 || dstCapacity <= 0) return 0;
    WorkBlock<BlockTables> tables(1);
    if (!tables) return kCompressNoMemory;
    WorkBlock<int32_t> head(kHashSize);
    WorkBlock<int32_t> prev(kDicSize);
    if (!head || !prev) return kCompressNoMemory;

    // The code buffer gives up a tenth of its size per failed request, down
    // to a floor below which blocks would be too small to pay.
    int32_t bufSize = kCodeBufferSize;
    platform::Ptr codeBuffer = platform::NewPtr(bufSize);
    while (!codeBuffer) {
        bufSize = bufSize / 10 * 9;
        if (bufSize < kCodeBufferFloor) return kCompressNoMemory;
        codeBuffer = platform::NewPtr(bufSize);
    }

    BitWriter out(static_cast<uint8_t*>(dst), dstCapacity);
    Encoder encoder(static_cast<const uint8_t*>(src), srcLen, out, *tables.data(), head.data(),
                    prev.data(), reinterpret_cast<uint8_t*>(codeBuffer), bufSize);
    encoder.Run();
    platform::DisposePtr(codeBuffer);
    return out.Full() ? 0 : out.Length();
}

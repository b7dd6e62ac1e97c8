#include "kernel/compress/Lzrw3a.h"

#include <bit>
#include <cstring>

#include "kernel/compress/WorkBlock.h"

namespace {

constexpr int32_t kHeaderSize = 4;
constexpr uint8_t kFlagCompressed = 0;
constexpr uint8_t kFlagCopy = 1;
constexpr int32_t kMaxRawItem = 18;  // longest copy
constexpr int32_t kMinCopy = 3;
constexpr int32_t kGroupItems = 16;
constexpr uint32_t kTopWord = 0xFFFF0000u;
constexpr uint32_t kDepthMask = 7;

// Every table entry starts out pointing at this text, so that the first
// lookups compare against something harmless.
const uint8_t kStartString[kMaxRawItem] = {'1', '2', '3', '4', '5', '6', '7', '8', '9',
                                           '0', '1', '2', '3', '4', '5', '6', '7', '8'};

// First slot of the partition that the three bytes at p hash to.
inline uint32_t PartitionBase(const uint8_t* p)
{
    const uint32_t key = (uint32_t(p[0]) << 8) ^ (uint32_t(p[1]) << 4) ^ p[2];
    return (((40543u * key) >> 4) & 0x1FF) << 3;
}

// Length of the common start of q and p, at most kMaxRawItem; both have
// kMaxRawItem readable bytes. Compares eight bytes at a time.
inline int32_t CommonLength(const uint8_t* q, const uint8_t* p)
{
    if constexpr (std::endian::native == std::endian::little) {
        uint64_t a = 0, b = 0;
        std::memcpy(&a, q, 8);
        std::memcpy(&b, p, 8);
        if (const uint64_t x = a ^ b) return std::countr_zero(x) >> 3;
        std::memcpy(&a, q + 8, 8);
        std::memcpy(&b, p + 8, 8);
        if (const uint64_t x = a ^ b) return 8 + (std::countr_zero(x) >> 3);
        return q[16] != p[16] ? 16 : q[17] != p[17] ? 17 : 18;
    } else {
        int32_t len = 0;
        while (len < kMaxRawItem && q[len] == p[len]) ++len;
        return len;
    }
}

void FillTable(Lz3aTable& table)
{
    for (auto& entry : table) entry = kStartString;
}

// Writes into the next round-robin slot of a partition.
class TableUpdater {
public:
    explicit TableUpdater(Lz3aTable& table) : table_(table) {}
    void Put(uint32_t base, const uint8_t* position)
    {
        table_[base + cycle_] = position;
        cycle_ = (cycle_ + 1) & kDepthMask;
    }

private:
    Lz3aTable& table_;
    uint32_t cycle_ = 0;
};

void WriteCopyForm(const uint8_t* src, int32_t srcLen, uint8_t* dst, int32_t dstCapacity,
                   int32_t* dstLen)
{
    if (srcLen + kHeaderSize > dstCapacity) {
        *dstLen = 0;
        return;
    }
    dst[0] = kFlagCopy;
    dst[1] = dst[2] = dst[3] = 0;
    fast_copy(src, dst + kHeaderSize, srcLen);
    *dstLen = srcLen + kHeaderSize;
}

}  // namespace

void fast_copy(const void* src, void* dst, int32_t count)
{
    const auto* s = static_cast<const uint8_t*>(src);
    auto* d = static_cast<uint8_t*>(dst);
    for (; count >= 8; count -= 8, s += 8, d += 8) std::memcpy(d, s, 8);
    for (; count > 0; --count) *d++ = *s++;
}

// The output is exactly what an unbounded coder would write; whenever that
// would not fit dstCapacity the copy form is written instead.
void compress_compress4(Lz3aTable& table, const uint8_t* src, int32_t srcLen, uint8_t* dst,
                        int32_t dstCapacity, int32_t* dstLen)
{
    if (srcLen <= 0 || dstCapacity < kHeaderSize + 2) {
        WriteCopyForm(src, srcLen < 0 ? 0 : srcLen, dst, dstCapacity, dstLen);
        return;
    }
    dst[0] = kFlagCompressed;
    dst[1] = dst[2] = dst[3] = 0;
    FillTable(table);
    TableUpdater update(table);

    const uint8_t* p = src;
    const uint8_t* const end = src + srcLen;
    int32_t out = kHeaderSize;
    // The control word of a group is reserved when its first item is
    // written; `wordPending` tells that the next item starts a new group.
    int32_t controlPos = 0;
    bool wordPending = true;
    uint32_t control = kTopWord;
    // Partitions of the one or two literals just emitted, whose positions go
    // into the table once three bytes follow them (-1: none).
    int32_t h1 = -1, h2 = -1;

    auto room = [&](int32_t bytes) { return out + bytes <= dstCapacity; };

    while (p != end) {
        // The coder counts the reserved control word as written.
        if (out + (wordPending ? 2 : 0) > srcLen) {
            WriteCopyForm(src, srcLen, dst, dstCapacity, dstLen);
            return;
        }
        const int32_t remaining = int32_t(end - p);
        int32_t items = remaining >= kGroupItems * kMaxRawItem ? kGroupItems : 1;
        const bool tail = remaining < kMaxRawItem;

        for (; items > 0; --items) {
            if (wordPending) {
                if (!room(2)) return WriteCopyForm(src, srcLen, dst, dstCapacity, dstLen);
                controlPos = out;
                out += 2;
                wordPending = false;
            }
            if (tail) {  // the last few bytes: literals, no more lookups
                if (!room(1)) return WriteCopyForm(src, srcLen, dst, dstCapacity, dstLen);
                dst[out++] = *p++;
                control &= ~0x10000u;
            } else {
                const uint32_t base = PartitionBase(p);
                int32_t bestLen = 0;
                uint32_t bestSlot = 0;
                for (uint32_t slot = 0; slot <= kDepthMask; ++slot) {
                    const int32_t len = CommonLength(table[base + slot], p);
                    if (len > bestLen) {
                        bestLen = len;
                        bestSlot = slot;
                    }
                }
                if (bestLen < kMinCopy) {
                    if (!room(1)) return WriteCopyForm(src, srcLen, dst, dstCapacity, dstLen);
                    dst[out++] = *p++;
                    control &= ~0x10000u;
                    if (h2 >= 0) update.Put(uint32_t(h2), p - 3);
                    h2 = h1;
                    h1 = int32_t(base);
                } else {
                    if (!room(2)) return WriteCopyForm(src, srcLen, dst, dstCapacity, dstLen);
                    const uint32_t index = base + bestSlot;
                    dst[out++] = uint8_t(((index >> 4) & 0xF0) | uint32_t(bestLen - kMinCopy));
                    dst[out++] = uint8_t(index);
                    if (h1 >= 0) {
                        if (h2 >= 0) {
                            update.Put(uint32_t(h2), p - 2);
                            h2 = -1;
                        }
                        update.Put(uint32_t(h1), p - 1);
                        h1 = -1;
                    }
                    update.Put(base, p);
                    p += bestLen;
                }
            }
            control >>= 1;
            if ((control & kTopWord) == 0) {
                dst[controlPos] = uint8_t(control);
                dst[controlPos + 1] = uint8_t(control >> 8);
                control = kTopWord;
                wordPending = true;
            }
            if (p == end) break;
        }
    }
    if (!wordPending) {
        while (control & kTopWord) control >>= 1;
        dst[controlPos] = uint8_t(control);
        dst[controlPos + 1] = uint8_t(control >> 8);
    }
    *dstLen = out;
}

int32_t compress_decompress4(Lz3aTable& table, const uint8_t* src, int32_t srcLen, uint8_t* dst,
                             int32_t dstCapacity, int32_t* dstLen)
{
    *dstLen = 0;
    if (srcLen < kHeaderSize) return kDamagedBlockErr;
    if (src[0] == kFlagCopy) {
        const int32_t n = srcLen - kHeaderSize;
        if (n > dstCapacity) return kDamagedBlockErr;
        fast_copy(src + kHeaderSize, dst, n);
        *dstLen = n;
        return 0;
    }
    if (src[0] != kFlagCompressed) return kDamagedBlockErr;

    FillTable(table);
    TableUpdater update(table);
    int32_t in = kHeaderSize;
    int32_t out = 0;
    // Output positions of the one or two literals whose table entries wait
    // for the bytes that follow them (-1: none).
    int32_t lit1 = -1, lit2 = -1;

    while (in < srcLen) {
        if (srcLen - in < 2) return kDamagedBlockErr;
        uint32_t control = uint32_t(src[in]) | (uint32_t(src[in + 1]) << 8);
        in += 2;
        for (int32_t item = 0; item < kGroupItems && in < srcLen; ++item, control >>= 1) {
            if (control & 1) {
                if (srcLen - in < 2) return kDamagedBlockErr;
                const int32_t len = (src[in] & 0x0F) + kMinCopy;
                const uint32_t index = (uint32_t(src[in] & 0xF0) << 4) | src[in + 1];
                in += 2;
                if (len > dstCapacity - out) return kDamagedBlockErr;
                // The entry is the start text or a position already written;
                // a forward byte copy reads only written bytes.
                const uint8_t* from = table[index];
                for (int32_t k = 0; k < len; ++k) dst[out + k] = from[k];
                if (lit1 >= 0) {
                    if (lit2 >= 0) {
                        update.Put(PartitionBase(dst + lit2), dst + lit2);
                        lit2 = -1;
                    }
                    update.Put(PartitionBase(dst + lit1), dst + lit1);
                    lit1 = -1;
                }
                update.Put(index & ~kDepthMask, dst + out);
                out += len;
            } else {
                if (out >= dstCapacity) return kDamagedBlockErr;
                dst[out] = src[in++];
                if (lit2 >= 0) update.Put(PartitionBase(dst + lit2), dst + lit2);
                lit2 = lit1;
                lit1 = out;
                ++out;
            }
        }
    }
    *dstLen = out;
    return 0;
}

int32_t compLZ3A(const void* src, void* dst, int32_t srcLen, int32_t dstCapacity)
{
    WorkBlock<const uint8_t*> work(kLz3aTableSize);
    if (!work) return kCompressNoMemory;
    int32_t len = 0;
    compress_compress4(*static_cast<Lz3aTable*>(static_cast<void*>(work.data())), static_cast<const uint8_t*>(src),
                       srcLen, static_cast<uint8_t*>(dst), dstCapacity, &len);
    return len;
}

int32_t decompLZ3A(const void* src, void* dst, int32_t dstCapacity, int32_t srcLen)
{
    WorkBlock<const uint8_t*> work(kLz3aTableSize);
    if (!work) return kCompressNoMemory;
    int32_t len = 0;
    const int32_t err = compress_decompress4(*static_cast<Lz3aTable*>(static_cast<void*>(work.data())),
                                             static_cast<const uint8_t*>(src), srcLen,
                                             static_cast<uint8_t*>(dst),
                                             dstCapacity < 0 ? 0 : dstCapacity, &len);
    return err ? err : len;
}

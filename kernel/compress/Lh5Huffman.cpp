#include "kernel/compress/Lh5Huffman.h"

#include <algorithm>
#include <cstring>

namespace lh5 {
namespace {

// Huffman code lengths without a limit; returns the longest.
int32_t UnlimitedLengths(const uint32_t* freq, const int32_t* symbols, int32_t m, uint8_t* lens)
{
    // Two queues: the sorted leaves, and the internal nodes, which are made
    // in order of weight. Nodes 0..m-1 are leaves, m.. internal.
    uint64_t weight[2 * kNMax];
    int32_t parent[2 * kNMax];
    for (int32_t i = 0; i < m; ++i) weight[i] = freq[symbols[i]];
    int32_t nextLeaf = 0, nextInner = m, made = m;
    auto takeSmallest = [&]() {
        if (nextLeaf < m && (nextInner >= made || weight[nextLeaf] <= weight[nextInner]))
            return nextLeaf++;
        return nextInner++;
    };
    for (int32_t k = 0; k < m - 1; ++k) {
        const int32_t a = takeSmallest();
        const int32_t b = takeSmallest();
        weight[made] = weight[a] + weight[b];
        parent[a] = parent[b] = made;
        ++made;
    }
    int32_t depth[2 * kNMax];
    depth[made - 1] = 0;
    for (int32_t node = made - 2; node >= 0; --node) depth[node] = depth[parent[node]] + 1;
    int32_t longest = 0;
    for (int32_t i = 0; i < m; ++i) {
        lens[symbols[i]] = uint8_t(std::min(depth[i], 255));
        longest = std::max(longest, depth[i]);
    }
    return longest;
}

}  // namespace

int32_t BuildCodeLengths(const uint32_t* freq, int32_t n, uint8_t* lens, int32_t* single)
{
    std::memset(lens, 0, size_t(n));
    int32_t symbols[kNMax];
    int32_t m = 0;
    for (int32_t i = 0; i < n; ++i)
        if (freq[i]) symbols[m++] = i;
    *single = m == 1 ? symbols[0] : 0;
    if (m < 2) return m;

    uint32_t scaled[kNMax];
    std::memcpy(scaled, freq, sizeof(uint32_t) * size_t(n));
    for (;;) {
        std::stable_sort(symbols, symbols + m,
                         [&](int32_t a, int32_t b) { return scaled[a] < scaled[b]; });
        if (UnlimitedLengths(scaled, symbols, m, lens) <= kMaxCodeLen) return m;
        // Too deep: flatten the frequencies and try again.
        for (int32_t i = 0; i < m; ++i) scaled[symbols[i]] = (scaled[symbols[i]] + 1) / 2;
    }
}

void BuildCodes(const uint8_t* lens, int32_t n, uint16_t* codes)
{
    uint32_t count[kMaxCodeLen + 2] = {};
    for (int32_t i = 0; i < n; ++i) count[lens[i]]++;
    uint32_t next[kMaxCodeLen + 2] = {};
    for (int32_t len = 1; len <= kMaxCodeLen; ++len) next[len + 1] = (next[len] + count[len]) << 1;
    for (int32_t i = 0; i < n; ++i) codes[i] = lens[i] ? uint16_t(next[lens[i]]++) : 0;
}

bool HuffmanDecoder::Build(const uint8_t* lens, int32_t n, int32_t tableBits)
{
    single_ = -1;
    tableBits_ = tableBits;
    std::memset(count_, 0, sizeof count_);
    for (int32_t i = 0; i < n; ++i) {
        if (lens[i] > kMaxCodeLen) return false;
        count_[lens[i]]++;
    }
    uint32_t kraft = 0;
    for (int32_t len = 1; len <= kMaxCodeLen; ++len) kraft += uint32_t(count_[len]) << (kMaxCodeLen - len);
    if (kraft != (1u << kMaxCodeLen)) return false;

    uint16_t offset[kMaxCodeLen + 2] = {};
    for (int32_t len = 1; len <= kMaxCodeLen; ++len) offset[len + 1] = uint16_t(offset[len] + count_[len]);
    for (int32_t i = 0; i < n; ++i)
        if (lens[i]) sorted_[offset[lens[i]]++] = uint16_t(i);

    std::memset(table_, 0, sizeof(uint16_t) * (size_t(1) << tableBits));
    uint32_t code = 0;
    int32_t index = 0;
    for (int32_t len = 1; len <= tableBits; ++len) {
        for (int32_t k = 0; k < count_[len]; ++k, ++code) {
            const uint32_t first = code << (tableBits - len);
            const uint16_t entry = uint16_t((sorted_[index++] << 5) | len);
            for (uint32_t e = 0; e < (1u << (tableBits - len)); ++e) table_[first + e] = entry;
        }
        code <<= 1;
    }
    return true;
}

void HuffmanDecoder::SetSingle(int32_t symbol)
{
    single_ = symbol;
}

int32_t HuffmanDecoder::DecodeLong(uint32_t next16, int32_t* len) const
{
    int32_t code = 0, first = 0, index = 0;
    for (int32_t l = 1; l <= kMaxCodeLen; ++l) {
        code |= int32_t((next16 >> (kMaxCodeLen - l)) & 1);
        const int32_t count = count_[l];
        if (code - first < count) {
            *len = l;
            return sorted_[index + code - first];
        }
        index += count;
        first = (first + count) << 1;
        code <<= 1;
    }
    *len = 0;  // not reached for a complete code
    return 0;
}

}  // namespace lh5

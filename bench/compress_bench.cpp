// Throughput and ratio of the two block compressors beside their zlib peers
// (LZRW3-A beside level 1, -lh5- beside level 6), on a 10 MiB mixed corpus
// cut into 32 KiB blocks as the compressed streams do. A block that does not
// shrink is stored as it is, for every coder alike.
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "kernel/compress/Lh5.h"
#include "kernel/compress/Lzrw3a.h"

namespace {

constexpr size_t kCorpusSize = 10 * 1024 * 1024;
constexpr size_t kBlockSize = 32768;
constexpr int kRounds = 5;

std::string Word(std::mt19937& rng)
{
    static const char* const kWords[] = {
        "the", "table", "field", "form", "method", "of", "and", "to", "a", "record", "structure",
        "index", "value", "when", "is", "not", "every", "list", "name", "object", "customer",
        "invoice", "total", "date", "number", "entry", "selection", "with", "from", "into"};
    return kWords[rng() % 30];
}

void AppendText(std::string& out, size_t n, std::mt19937& rng)
{
    const size_t end = out.size() + n;
    while (out.size() < end) {
        std::string w = Word(rng);
        if (rng() % 12 == 0) w[0] = char(w[0] - 32);
        out += w;
        const uint32_t r = rng() % 14;
        out += r == 0 ? ".\r" : r == 1 ? ", " : " ";
    }
}

// Lines of method text: declarations, assignments, loops and calls.
void AppendMethod(std::string& out, size_t n, std::mt19937& rng)
{
    const size_t end = out.size() + n;
    auto add = [&out](std::initializer_list<std::string_view> parts) {
        for (std::string_view part : parts) out.append(part);
    };
    while (out.size() < end) {
        std::string var(1, '$');
        var.append(Word(rng)).append(std::to_string(rng() % 20));
        std::string table("[Table_");
        table.append(std::to_string(rng() % 40)).append("]");
        const std::string word = Word(rng), other = Word(rng), number = std::to_string(rng() % 1000);
        switch (rng() % 5) {
        case 0: add({"C_LONGINT(", var, ")\r"}); break;
        case 1: add({var, ":=Records in table(", table, ")\r"}); break;
        case 2: add({"For ($i;1;", var, ")\r\tGOTO RECORD(", table, ";$i)\rEnd for\r"}); break;
        case 3: add({"If (", table, word, "=", number, ")\r"}); break;
        default: add({"QUERY(", table, ";", table, word, "=\"", other, "\")\r"});
        }
    }
}

std::vector<uint8_t> MakeCorpus()
{
    std::mt19937 rng(20240601);
    std::string s;
    while (s.size() < kCorpusSize) {
        const size_t chunk = 4096 + rng() % 60000;
        switch (rng() % 10) {
        case 0:
        case 1:
            for (size_t i = 0; i < chunk; ++i) s += char(rng() >> 24);
            break;
        case 2:
        case 3:
        case 4:
        case 5: AppendMethod(s, chunk, rng); break;
        default: AppendText(s, chunk, rng);
        }
    }
    s.resize(kCorpusSize);
    return {s.begin(), s.end()};
}

struct Coder {
    const char* name;
    // Returns the compressed length, 0 when the block does not shrink.
    std::function<int32_t(const uint8_t*, int32_t, uint8_t*, int32_t)> compress;
    // Returns the plain length.
    std::function<int32_t(const uint8_t*, int32_t, uint8_t*, int32_t)> expand;
};

struct Block {
    size_t offset;
    int32_t plain;
    std::vector<uint8_t> stored;  // empty: kept uncompressed
};

struct Figures {
    double ratio = 0;
    double compressMiBs = 0;
    double expandMiBs = 0;
};

double Seconds(std::chrono::steady_clock::duration d) { return std::chrono::duration<double>(d).count(); }

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

Figures Measure(const Coder& coder, const std::vector<uint8_t>& corpus)
{
    std::vector<Block> blocks;
    std::vector<uint8_t> scratch(2 * kBlockSize + 64);
    std::vector<double> compressTimes, expandTimes;
    size_t storedBytes = 0;
    for (int round = 0; round < kRounds; ++round) {
        blocks.clear();
        storedBytes = 0;
        const auto t0 = std::chrono::steady_clock::now();
        for (size_t off = 0; off < corpus.size(); off += kBlockSize) {
            const int32_t n = int32_t(std::min(kBlockSize, corpus.size() - off));
            const int32_t c = coder.compress(corpus.data() + off, n, scratch.data(), int32_t(scratch.size()));
            Block b{off, n, {}};
            if (c > 0 && c < n) b.stored.assign(scratch.begin(), scratch.begin() + c);
            storedBytes += b.stored.empty() ? size_t(n) : size_t(c);
            blocks.push_back(std::move(b));
        }
        compressTimes.push_back(Seconds(std::chrono::steady_clock::now() - t0));

        std::vector<uint8_t> plain(kBlockSize);
        const auto t1 = std::chrono::steady_clock::now();
        for (const Block& b : blocks) {
            if (b.stored.empty()) {
                std::memcpy(plain.data(), corpus.data() + b.offset, size_t(b.plain));
                continue;
            }
            if (coder.expand(b.stored.data(), int32_t(b.stored.size()), plain.data(), b.plain) != b.plain ||
                std::memcmp(plain.data(), corpus.data() + b.offset, size_t(b.plain)) != 0) {
                std::fprintf(stderr, "compress_bench: %s: the block at %zu does not round-trip\n", coder.name, b.offset);
                return {};
            }
        }
        expandTimes.push_back(Seconds(std::chrono::steady_clock::now() - t1));
    }
    const double mib = double(corpus.size()) / (1024.0 * 1024.0);
    Figures f{double(storedBytes) / double(corpus.size()), mib / Median(compressTimes), mib / Median(expandTimes)};
    std::printf("%-10s %8.3f %16.1f %16.1f\n", coder.name, f.ratio, f.compressMiBs, f.expandMiBs);
    return f;
}

Coder Zlib(const char* name, int level)
{
    return {name,
            [level](const uint8_t* s, int32_t n, uint8_t* d, int32_t cap) {
                uLongf out = uLongf(cap);
                return compress2(d, &out, s, uLong(n), level) == Z_OK ? int32_t(out) : 0;
            },
            [](const uint8_t* s, int32_t n, uint8_t* d, int32_t len) {
                uLongf out = uLongf(len);
                return uncompress(d, &out, s, uLong(n)) == Z_OK ? int32_t(out) : -1;
            }};
}

// Ours beside its peer, on the same blocks in the same run; false when a
// coder's blocks did not round-trip (said).
bool Compare(const Coder& ours, const Coder& peer, const std::vector<uint8_t>& corpus)
{
    const Figures a = Measure(ours, corpus);
    const Figures b = Measure(peer, corpus);
    if (a.compressMiBs <= 0 || b.compressMiBs <= 0) return false;
    if (b.expandMiBs > 0)
        std::printf("  %s / %s: compress speed %.2fx, expand speed %.2fx, stored size %.2fx\n\n", ours.name,
                    peer.name, a.compressMiBs / b.compressMiBs, a.expandMiBs / b.expandMiBs, a.ratio / b.ratio);
    return true;
}

}  // namespace

int main()
{
    const std::vector<uint8_t> corpus = MakeCorpus();
    const Coder lzrw3a{"lzrw3a",
                       [](const uint8_t* s, int32_t n, uint8_t* d, int32_t cap) {
                           const int32_t r = compLZ3A(s, d, n, cap);
                           return r > 0 && d[0] == 1 ? 0 : r;
                       },
                       [](const uint8_t* s, int32_t n, uint8_t* d, int32_t len) { return decompLZ3A(s, d, len, n); }};
    const Coder lh5{"lh5",
                    [](const uint8_t* s, int32_t n, uint8_t* d, int32_t cap) { return ARCOMPACTE(s, d, n, cap); },
                    [](const uint8_t* s, int32_t n, uint8_t* d, int32_t len) { return ARDECOMPACTE(s, d, len, n); }};
    std::printf("corpus %.1f MiB in %zu KiB blocks, median of %d rounds; speeds in MiB/s of plain data\n",
                double(corpus.size()) / (1024.0 * 1024.0), kBlockSize / 1024, kRounds);
    std::printf("%-10s %8s %16s %16s\n", "coder", "ratio", "compress MiB/s", "expand MiB/s");
    const bool first = Compare(lzrw3a, Zlib("zlib-1", 1), corpus);
    const bool second = Compare(lh5, Zlib("zlib-6", 6), corpus);
    return first && second ? 0 : 1;
}

// Archive streams beside their references, on the same work in one run:
//  - MD5 over 256 MB in 32 KB updates, ours and OpenSSL's;
//  - the compression stream (method 0) writing and reading 10 MB of mixed
//    data, and the raw -lh5- coder on the same 32 KB blocks;
//  - unpacking a 50 MB archive (compressed, redundancy 2, interlacing 4),
//    and only checking the same archive.
#include <openssl/evp.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "kernel/compress/Lh5.h"
#include "kernel/hostentry/HostEntry.h"
#include "platform/files/ColonPath.h"
#include "toolbox/files/FileNames.h"
#include "toolbox/files/VChecksumMD5.h"
#include "toolbox/files/VCompressStream.h"
#include "toolbox/files/VFile.h"
#include "toolbox/files/VFileFolderUnStream.h"
#include "toolbox/files/VFileStreamCutter.h"
#include "toolbox/files/VInterlacingStream.h"
#include "toolbox/files/VRedundancyStream.h"
#include "toolbox/foundation/VEngine.h"

namespace {

using Bytes = std::vector<uint8_t>;
constexpr size_t kBlock = 32768;
constexpr double kMB = 1024.0 * 1024.0;

double Seconds(const std::function<void()>& work)
{
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        const auto t0 = std::chrono::steady_clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return best;
}

// Words and method-like lines, with a fifth of incompressible chunks.
Bytes Mixed(size_t n, uint32_t seed)
{
    static const char* const kWords[] = {"the ", "table ", "field ", "form ", "QUERY(", "[Customers]", ";",
                                         "$total:=", "For ($i;1;10)\r", "End for\r", "record ", "value "};
    std::mt19937 rng(seed);
    Bytes out;
    out.reserve(n);
    while (out.size() < n) {
        const size_t chunk = 2048 + rng() % 30000;
        if (rng() % 5 == 0) {
            for (size_t i = 0; i < chunk && out.size() < n; ++i) out.push_back(uint8_t(rng() >> 24));
        } else {
            for (size_t i = 0; i < chunk && out.size() < n;) {
                const char* w = kWords[rng() % 12];
                for (; *w && out.size() < n; ++w, ++i) out.push_back(uint8_t(*w));
            }
        }
    }
    return out;
}

class MemoryStream : public VStream {
public:
    Bytes data;
    size_t pos = 0;
    int16_t OpenReading() override { pos = 0; return fError = 0; }
    int16_t OpenWriting() override { data.clear(); return fError = 0; }
    int16_t CloseReading() override { return 0; }
    int16_t CloseWriting(uint8_t) override { return 0; }
    int16_t PutData(const void* p, uint32_t n) override
    {
        data.insert(data.end(), static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + n);
        return 0;
    }
    int16_t GetData(void* p, uint32_t* n) override
    {
        const size_t give = std::min<size_t>(*n, data.size() - pos);
        std::memcpy(p, data.data() + pos, give);
        pos += give;
        const bool shortRead = give < *n;
        *n = uint32_t(give);
        return fError = shortRead ? kStreamEndOfData : 0;
    }
    uint32_t GetSize() override { return uint32_t(data.size()); }
    int32_t GetPos() override { return int32_t(pos); }
    int16_t SetSize(uint32_t) override { return -2; }
    int16_t SetPos(uint32_t) override { return -2; }
    int16_t SetPosByOffset(uint32_t) override { return -2; }
    uint32_t FindByte(char) override { return 0; }
    uint32_t FindWord(int16_t) override { return 0; }
    uint32_t FindLong(int32_t) override { return 0; }
};

VText ColonOf(const std::string& posix)
{
    std::string colon;
    platform::PosixPathToColon(posix, &colon);
    VText text;
    FromUtf8(colon, text);
    return text;
}

// Each part answers whether its work was done; a failure is said on stderr
// and gives no figures.
bool Md5Bench()
{
    const Bytes data = Mixed(256 * 1024 * 1024, 1);
    uint8_t ours[16], theirs[16];
    const double tOurs = Seconds([&] {
        VChecksumMD5 md5;
        for (size_t off = 0; off < data.size(); off += kBlock) md5.Update(&data[off], uint32_t(kBlock));
        md5.GetChecksum(ours);
    });
    const double tTheirs = Seconds([&] {
        EVP_MD_CTX* ctx = EVP_MD_CTX_new();
        EVP_DigestInit_ex(ctx, EVP_md5(), nullptr);
        for (size_t off = 0; off < data.size(); off += kBlock) EVP_DigestUpdate(ctx, &data[off], kBlock);
        unsigned int len = 16;
        EVP_DigestFinal_ex(ctx, theirs, &len);
        EVP_MD_CTX_free(ctx);
    });
    if (std::memcmp(ours, theirs, 16) != 0) {
        std::fprintf(stderr, "archive_bench: the MD5 digests differ\n");
        return false;
    }
    const double mb = double(data.size()) / kMB;
    std::printf("MD5, 256 MB in 32 KB updates\n");
    std::printf("  ours %8.1f MB/s   OpenSSL %8.1f MB/s   ratio %.2f\n", mb / tOurs, mb / tTheirs, tTheirs / tOurs);
    return true;
}

bool CompressBench()
{
    const Bytes data = Mixed(10 * 1024 * 1024, 2);
    MemoryStream inner;
    const double tWrite = Seconds([&] {
        VCompressStream s(&inner, 0);
        s.OpenWriting();
        for (size_t off = 0; off < data.size(); off += kBlock)
            s.PutData(&data[off], uint32_t(std::min(kBlock, data.size() - off)));
        s.CloseWriting(1);
    });
    Bytes back(data.size());
    bool same = false;
    const double tRead = Seconds([&] {
        VCompressStream s(&inner, 0);
        s.OpenReading();
        uint32_t n = uint32_t(back.size());
        s.GetData(back.data(), &n);
        s.CloseReading();
        same = n == back.size() && back == data;
    });
    std::vector<Bytes> packed;
    const double tRawWrite = Seconds([&] {
        packed.clear();
        Bytes scratch(kBlock);
        for (size_t off = 0; off < data.size(); off += kBlock) {
            const int32_t n = int32_t(std::min(kBlock, data.size() - off));
            const int32_t c = ARCOMPACTE(&data[off], scratch.data(), n, n);
            packed.emplace_back(scratch.begin(), scratch.begin() + (c > 0 ? c : 0));
        }
    });
    const double tRawRead = Seconds([&] {
        Bytes plain(kBlock);
        size_t off = 0;
        for (const Bytes& p : packed) {
            const int32_t n = int32_t(std::min(kBlock, data.size() - off));
            if (!p.empty()) ARDECOMPACTE(p.data(), plain.data(), n, int32_t(p.size()));
            off += kBlock;
        }
    });
    if (!same) {
        std::fprintf(stderr, "archive_bench: the compression stream did not give back what was written\n");
        return false;
    }
    const double mb = double(data.size()) / kMB;
    std::printf("Compression stream, 10 MB mixed (stored %.3f of plain)\n", double(inner.data.size()) / double(data.size()));
    std::printf("  write %8.1f MB/s   raw -lh5- %8.1f MB/s   ratio %.2f\n", mb / tWrite, mb / tRawWrite, tRawWrite / tWrite);
    std::printf("  read  %8.1f MB/s   raw -lh5- %8.1f MB/s   ratio %.2f\n", mb / tRead, mb / tRawRead, tRawRead / tRead);
    return true;
}

int16_t WriteArchive(const std::string& posix, const std::vector<Bytes>& files)
{
    VFile file(ColonOf(posix));
    VFileStreamCutter splitter(&file, 0);
    {
        VCompressStream header(&splitter, 0);
        header.OpenWriting();
        header.PutLong(int32_t(platform::FourCC("VFFS")));
        header.PutLong(2);
        header.PutByte(1);
        header.PutLong(2);
        header.PutLong(4);
        header.PutLong(int32_t(files.size()));
        for (size_t i = 0; i < files.size(); ++i) {
            const std::string path = "./data/file" + std::to_string(i);
            header.PutLong(int32_t(path.size()));
            header.PutLong(0);
            header.PutBytes(path.c_str(), int32_t(path.size() + 1));
            header.PutLong(int32_t(platform::FourCC("ttxt")));
            header.PutLong(int32_t(platform::FourCC("TEXT")));
            header.PutLong(int32_t(files[i].size()));
            header.PutLong(0);
        }
        if (int16_t err = header.CloseWriting(1); err != 0) return err;
    }
    VInterlacingStream interlacing(&splitter, 4);
    VRedundancyStream redundancy(&interlacing, 2);
    VCompressStream content(&redundancy, 0);
    content.OpenWriting();
    for (const Bytes& f : files) {
        content.PutLong(int32_t(platform::FourCC("File")));
        content.PutData(f.data(), uint32_t(f.size()));
    }
    return content.CloseWriting(1);
}

bool ExtractBench()
{
    char templ[] = "/tmp/qz-archive-bench-XXXXXX";
    if (!::mkdtemp(templ)) {
        std::fprintf(stderr, "archive_bench: no folder for the archive: %s\n", std::strerror(errno));
        return false;
    }
    const std::string root = templ;
    std::error_code ec;
    std::vector<Bytes> files;
    for (uint32_t i = 0; i < 10; ++i) files.push_back(Mixed(5 * 1024 * 1024, 10 + i));
    if (const int16_t err = WriteArchive(root + "/a.zip", files); err != 0) {
        std::fprintf(stderr, "archive_bench: the archive could not be written: %d\n", int(err));
        std::filesystem::remove_all(root, ec);
        return false;
    }
    const uintmax_t archiveSize = std::filesystem::file_size(root + "/a.zip");
    int16_t extracted = 0, checked = 0;
    const double tExtract = Seconds([&] {
        VFileFolderUnStream reader;
        VText input = ColonOf(root + "/a.zip"), dest = ColonOf(root + "/out/");
        reader.SetInputFile(input);
        reader.SetDestinationFolder(dest);
        extracted = reader.Proceed();
    });
    const double tCheck = Seconds([&] {
        VFileFolderUnStream reader;
        VText input = ColonOf(root + "/a.zip");
        reader.SetInputFile(input);
        checked = reader.Proceed();
    });
    std::filesystem::remove_all(root, ec);
    if (extracted || checked) {
        std::fprintf(stderr, "archive_bench: the archive did not unpack: extract %d, check %d\n", int(extracted),
                     int(checked));
        return false;
    }
    const double mb = 50.0;
    std::printf("Unpacking a 50 MB archive (compressed, redundancy 2, interlacing 4; %.1f MB on disk)\n",
                double(archiveSize) / kMB);
    std::printf("  extract %8.1f MB/s   check only %8.1f MB/s   ratio %.2f\n", mb / tExtract, mb / tCheck,
                tCheck / tExtract);
    return true;
}

}  // namespace

int main()
{
    gCallQz = entreeexterne;
    const bool md5 = Md5Bench(), stream = CompressBench(), archive = ExtractBench();
    return md5 && stream && archive ? 0 : 1;
}

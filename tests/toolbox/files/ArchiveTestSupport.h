// An in-memory stream under the archive streams, digests as text, and the
// archive writer of the tests: archives are made by code, through the
// writing side of the streams.
#pragma once

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/core/Random.h"
#include "tests/toolbox/files/FileTestSupport.h"
#include "toolbox/files/VChecksumMD5.h"
#include "toolbox/files/VCompressStream.h"
#include "toolbox/files/VFile.h"
#include "toolbox/files/VFileStreamCutter.h"
#include "toolbox/files/VInterlacingStream.h"
#include "toolbox/files/VRedundancyStream.h"
#include "toolbox/foundation/VStream.h"

namespace archive_testing {

using Bytes = std::vector<uint8_t>;

// Bytes written are kept; reading delivers them from the start, at most
// `available` in all (200 past them), so a test can feed a reader by parts.
class MemoryStream : public VStream {
public:
    Bytes data;
    size_t pos = 0;
    size_t available = SIZE_MAX;
    uint32_t maxPiece = UINT32_MAX;  // most bytes one read delivers
    int opens = 0;

    int16_t OpenReading() override { ++opens; pos = 0; return fError = 0; }
    int16_t OpenWriting() override { ++opens; data.clear(); return fError = 0; }
    int16_t CloseReading() override { return 0; }
    int16_t CloseWriting(uint8_t) override { return 0; }
    int16_t PutData(const void* p, uint32_t n) override
    {
        data.insert(data.end(), static_cast<const uint8_t*>(p), static_cast<const uint8_t*>(p) + n);
        return fError = 0;
    }
    int16_t GetData(void* p, uint32_t* n) override
    {
        const size_t end = available < data.size() ? available : data.size();
        size_t give = *n;
        if (give > maxPiece) give = maxPiece;
        if (give > end - pos) give = end - pos;
        std::memcpy(p, data.data() + pos, give);
        pos += give;
        const bool shortRead = give < *n && give < maxPiece;
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

inline std::string Hex(const uint8_t* p, size_t n)
{
    std::string s;
    char two[3];
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(two, sizeof two, "%02x", p[i]);
        s += two;
    }
    return s;
}

inline std::string Md5Hex(const void* p, uint32_t n)
{
    uint8_t digest[16];
    VChecksumMD5().NewChecksum(p, n, digest);
    return Hex(digest, 16);
}

inline uint32_t BE32(const Bytes& b, size_t at)
{
    return uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 | uint32_t(b[at + 2]) << 8 | b[at + 3];
}

// Text-like bytes that the coder shrinks, mixed with noise it cannot.
inline Bytes MixedBytes(size_t n, uint32_t seed)
{
    Bytes out(n);
    uint32_t x = seed * 2654435761u + 1;
    for (size_t i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        out[i] = (i / 4096) % 2 ? uint8_t(x >> 16) : uint8_t("the quick brown fox "[(i + (x >> 28)) % 20]);
    }
    return out;
}

// Everything written through a stream, read back through the same kind.
inline int16_t ReadAll(VStream& s, Bytes& out, size_t n, uint32_t piece)
{
    out.assign(n, 0);
    size_t got = 0;
    while (got < n) {
        uint32_t want = uint32_t(n - got < piece ? n - got : piece);
        const int16_t err = s.GetData(out.data() + got, &want);
        got += want;
        if (err != 0) {
            out.resize(got);
            return err;
        }
    }
    return 0;
}

struct ArchiveEntry {
    std::string path;  // as stored, "./a"
    uint32_t creator = 0;
    uint32_t type = 0;
    Bytes data;
    Bytes resource;
    bool hasResource = false;
};

struct ArchiveLayout {
    int8_t compressed = 0;
    uint32_t redundancy = 0;
    uint32_t interlacing = 0;
    uint32_t maxPart = 0;
    bool little = false;  // numbers and markers as an Intel writer puts them
};

inline void PutPath(VStream& s, const std::string& path)
{
    s.PutLong(int32_t(path.size()));
    if (path.empty()) return;
    s.PutLong(0);  // Mac Roman
    s.PutBytes(path.c_str(), int32_t(path.size() + 1));
}

// Writes the archive to the colon path; 0 or the first failure.
inline int16_t WriteArchive(const VText& colonPath, const ArchiveLayout& layout,
                            const std::vector<ArchiveEntry>& entries)
{
    VFile file(colonPath);
    VFileStreamCutter splitter(&file, layout.maxPart);
    if (layout.little) splitter.SetCpuKind(kCpuSelectIntel, kCpuUnchanged);
    {
        VCompressStream header(&splitter, 0);
        if (layout.little) header.SetCpuKind(kCpuSelectIntel, kCpuUnchanged);
        if (int16_t err = header.OpenWriting(); err != 0) return err;
        header.PutLong(int32_t(platform::FourCC("VFFS")));
        header.PutLong(2);
        header.PutByte(char(layout.compressed));
        header.PutLong(int32_t(layout.redundancy));
        header.PutLong(int32_t(layout.interlacing));
        header.PutLong(int32_t(entries.size()));
        for (const auto& e : entries) {
            PutPath(header, e.path);
            header.PutLong(int32_t(e.creator));
            header.PutLong(int32_t(e.type));
            header.PutLong(int32_t(e.data.size()));
            header.PutLong(int32_t(e.hasResource ? e.resource.size() : 0));
        }
        if (int16_t err = header.CloseWriting(1); err != 0) return err;
    }
    std::vector<std::unique_ptr<VStream>> stack;
    VStream* top = &splitter;
    if (layout.interlacing) stack.emplace_back(top = new VInterlacingStream(top, layout.interlacing));
    if (layout.redundancy) stack.emplace_back(top = new VRedundancyStream(top, layout.redundancy));
    if (layout.compressed) stack.emplace_back(top = new VCompressStream(top, 0));
    if (layout.little) top->SetCpuKind(kCpuSelectIntel, kCpuUnchanged);
    if (int16_t err = top->OpenWriting(); err != 0) return err;
    for (const auto& e : entries) {
        top->PutLong(int32_t(platform::FourCC("File")));
        top->PutData(e.data.data(), uint32_t(e.data.size()));
        if (e.hasResource && !e.resource.empty()) {
            top->PutLong(int32_t(platform::FourCC("File")));
            top->PutData(e.resource.data(), uint32_t(e.resource.size()));
        }
    }
    return top->CloseWriting(1);
}

inline Bytes ReadFile(const std::string& posix)
{
    std::FILE* f = std::fopen(posix.c_str(), "rb");
    Bytes out;
    if (!f) return out;
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.insert(out.end(), buf, buf + n);
    std::fclose(f);
    return out;
}

inline void WriteFile(const std::string& posix, const Bytes& bytes)
{
    std::FILE* f = std::fopen(posix.c_str(), "wb");
    if (!f) return;
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

inline Bytes BytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

}  // namespace archive_testing

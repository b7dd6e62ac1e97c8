// The container store beside SQLite: 100,000 resources of 16 bytes to
// 64 KiB (log-uniform sizes) added and committed, the file reopened and
// every resource read, one in ten rewritten and committed. SQLite runs
// twice: with its default page cache, and with a cache that holds the whole
// working set, so that like the store it writes nothing before the commit.
// Each side runs in a process of its own. Prints the time of each step, the
// file size, the peak memory each side adds and its peak disk use beyond the
// file it leaves, then the ratios.
// Then naming: 1,000, 10,000 and 100,000 resources of a committed file each
// given a name and committed, beside SQLite updating the name column of as
// many rows in one transaction; the ratio, and how the time grows with the
// count (the exponent of a power law between two counts).
//
//   store_bench [count] [folder]
//   store_bench names [folder]      (naming only)
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "resources/ResourceApi.h"

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// A line of /proc/self/status in KiB ("VmRSS:", "VmHWM:").
uint64_t StatusKiB(const char* key)
{
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == key) {
            uint64_t value = 0;
            status >> value;
            return value;
        }
    return 0;
}

// Peak resident memory from here on: the kernel's high-water mark is reset
// to the present size.
struct MemoryWatch {
    uint64_t startKiB = 0;
    MemoryWatch()
    {
        std::ofstream("/proc/self/clear_refs") << "5";
        startKiB = StatusKiB("VmRSS:");
    }
    uint64_t PeakAddedBytes() const
    {
        const uint64_t peak = StatusKiB("VmHWM:");
        return peak > startKiB ? (peak - startKiB) * 1024 : 0;
    }
};

// Bytes the files of a folder take on disk.
uint64_t FolderBytes(const std::string& folder)
{
    uint64_t total = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        struct stat st {};
        if (::stat(entry.path().c_str(), &st) == 0) total += uint64_t(st.st_blocks) * 512;
    }
    return total;
}

// Samples a folder's disk use every few milliseconds and keeps the peak.
class DiskWatch {
public:
    explicit DiskWatch(std::string folder) : folder_(std::move(folder)), thread_([this] { Run(); }) {}
    ~DiskWatch() { Stop(); }
    uint64_t Stop()
    {
        if (thread_.joinable()) {
            done_ = true;
            thread_.join();
        }
        return peak_;
    }

private:
    void Run()
    {
        while (!done_) {
            peak_ = std::max<uint64_t>(peak_, FolderBytes(folder_));
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        peak_ = std::max<uint64_t>(peak_, FolderBytes(folder_));
    }

    std::string folder_;
    std::atomic<bool> done_{false};
    std::atomic<uint64_t> peak_{0};
    std::thread thread_;
};

struct Item {
    ResType type;
    int16_t id;
    uint32_t size;
};

std::vector<Item> MakeItems(int32_t count)
{
    std::mt19937 random(12345);
    std::uniform_real_distribution<double> exponent(std::log(16.0), std::log(65536.0));
    std::vector<Item> items;
    for (int32_t i = 0; i < count; ++i) {
        const char base[5] = {'B', 'N', char('A' + i / 10000 % 26), char('A' + i / 260000), 0};
        items.push_back({platform::FourCC(reinterpret_cast<const char(&)[5]>(base)), int16_t(i % 10000 + 1),
                         uint32_t(std::lround(std::exp(exponent(random))))});
    }
    return items;
}

void Fill(uint8_t* p, uint32_t size, uint32_t seed)
{
    for (uint32_t i = 0; i < size; ++i) p[i] = uint8_t(seed * 131 + i);
}

// Resources to name: up to 10,000 ids per type.
std::vector<Item> NamedItems(int32_t count)
{
    std::vector<Item> items;
    for (int32_t i = 0; i < count; ++i) {
        const char code[5] = {'N', 'M', char('A' + i / 10000 % 26), char('A' + i / 260000), 0};
        items.push_back({platform::FourCC(reinterpret_cast<const char(&)[5]>(code)), int16_t(i % 10000 + 1), 16});
    }
    return items;
}

std::string NameOf(const Item& item) { return "object " + std::to_string(item.type % 256) + "-" + std::to_string(item.id); }

// Set by a step that failed (said on stderr as it fails): the figures of
// work that was not done are not given.
bool gFailed = false;

void Failed(const char* what, int code)
{
    std::fprintf(stderr, "store_bench: %s failed: %d\n", what, code);
    gFailed = true;
}

struct Result {
    double add = 0, commit = 0, reopen = 0, read = 0, rewrite = 0, recommit = 0;
    uint64_t fileBytes = 0, payload = 0, peakMemory = 0, peakDisk = 0, readWhileOpening = 0;
};

// Bytes this process has read through system calls so far.
uint64_t BytesRead()
{
    std::ifstream io("/proc/self/io");
    std::string key;
    uint64_t value = 0;
    while (io >> key >> value)
        if (key == "rchar:") return value;
    return 0;
}

Result RunContainer(const std::vector<Item>& items, const std::string& folder)
{
    Result r;
    const std::string path = folder + "/store_bench.qzb";
    MemoryWatch memory;
    DiskWatch disk(folder);
    initresman();
    FSSpec fileSpec;
    platform::FSMakeFSSpec(path, &fileSpec);

    auto start = Clock::now();
    int16_t ref = createres(fileSpec, platform::FourCC("QzBw"), platform::FourCC("QzDB"));
    for (size_t i = 0; i < items.size(); ++i) {
        Handle h = platform::NewHandle(platform::Size(items[i].size));
        Fill(reinterpret_cast<uint8_t*>(*h), items[i].size, uint32_t(i));
        if (!xaddres(h, items[i].type, items[i].id)) Failed("an add", reserr);
    }
    r.add = Since(start);
    start = Clock::now();
    if (!closeres(ref, true)) Failed("a commit", reserr);
    r.commit = Since(start);

    const uint64_t before = BytesRead();
    start = Clock::now();
    ref = openres(fileSpec, false);
    r.reopen = Since(start);
    r.readWhileOpening = BytesRead() - before;

    start = Clock::now();
    for (const Item& item : items) {
        Handle h = xget1res(item.type, item.id);
        if (!h) {
            Failed("a get", reserr);
            continue;
        }
        r.payload += uint64_t(platform::GetHandleSize(h));
        detachres(h);
        platform::DisposeHandle(h);
    }
    r.read = Since(start);

    start = Clock::now();
    for (size_t i = 0; i < items.size(); i += 10) {
        Handle h = xget1res(items[i].type, items[i].id);
        if (!h) {
            Failed("a get", reserr);
            continue;
        }
        Fill(reinterpret_cast<uint8_t*>(*h), uint32_t(platform::GetHandleSize(h)), uint32_t(i) + 7);
        xwriteres(h);
    }
    r.rewrite = Since(start);
    start = Clock::now();
    if (!updateres(ref)) Failed("a commit", reserr);
    r.recommit = Since(start);
    closeres(ref, true);
    ResetResManager();
    r.peakDisk = disk.Stop();
    r.peakMemory = memory.PeakAddedBytes();
    r.fileBytes = std::filesystem::file_size(path);
    return r;
}

void Check(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "store_bench: sqlite: %s\n", sqlite3_errmsg(db));
        gFailed = true;
    }
}

// cacheKiB 0: SQLite's default page cache.
sqlite3* OpenSqlite(const std::string& path, uint64_t cacheKiB)
{
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    if (cacheKiB > 0) {
        const std::string pragma = "PRAGMA cache_size = -" + std::to_string(cacheKiB);
        Check(sqlite3_exec(db, pragma.c_str(), nullptr, nullptr, nullptr), db);
    }
    return db;
}

Result RunSqlite(const std::vector<Item>& items, const std::string& folder, uint64_t cacheKiB)
{
    Result r;
    const std::string path = folder + "/store_bench.sqlite";
    MemoryWatch memory;
    DiskWatch disk(folder);
    std::vector<uint8_t> buffer(65536);

    auto start = Clock::now();
    sqlite3* db = OpenSqlite(path, cacheKiB);
    Check(sqlite3_exec(db, "CREATE TABLE res(type INTEGER, id INTEGER, data BLOB, PRIMARY KEY(type, id))", nullptr,
                       nullptr, nullptr),
          db);
    Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO res VALUES(?, ?, ?)", -1, &insert, nullptr);
    for (size_t i = 0; i < items.size(); ++i) {
        Fill(buffer.data(), items[i].size, uint32_t(i));
        sqlite3_bind_int64(insert, 1, items[i].type);
        sqlite3_bind_int(insert, 2, items[i].id);
        sqlite3_bind_blob(insert, 3, buffer.data(), int(items[i].size), SQLITE_STATIC);
        Check(sqlite3_step(insert), db);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    r.add = Since(start);
    start = Clock::now();
    Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
    r.commit = Since(start);

    start = Clock::now();
    db = OpenSqlite(path, cacheKiB);
    r.reopen = Since(start);
    start = Clock::now();
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db, "SELECT data FROM res WHERE type = ? AND id = ?", -1, &select, nullptr);
    for (const Item& item : items) {
        sqlite3_bind_int64(select, 1, item.type);
        sqlite3_bind_int(select, 2, item.id);
        if (sqlite3_step(select) == SQLITE_ROW) {
            const void* blob = sqlite3_column_blob(select, 0);
            int size = sqlite3_column_bytes(select, 0);
            std::vector<uint8_t> copy(static_cast<const uint8_t*>(blob), static_cast<const uint8_t*>(blob) + size);
            r.payload += copy.size();
        }
        sqlite3_reset(select);
    }
    sqlite3_finalize(select);
    r.read = Since(start);

    start = Clock::now();
    Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    sqlite3_stmt* update = nullptr;
    sqlite3_prepare_v2(db, "UPDATE res SET data = ? WHERE type = ? AND id = ?", -1, &update, nullptr);
    for (size_t i = 0; i < items.size(); i += 10) {
        Fill(buffer.data(), items[i].size, uint32_t(i) + 7);
        sqlite3_bind_blob(update, 1, buffer.data(), int(items[i].size), SQLITE_STATIC);
        sqlite3_bind_int64(update, 2, items[i].type);
        sqlite3_bind_int(update, 3, items[i].id);
        Check(sqlite3_step(update), db);
        sqlite3_reset(update);
    }
    sqlite3_finalize(update);
    r.rewrite = Since(start);
    start = Clock::now();
    Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    r.recommit = Since(start);
    sqlite3_close(db);
    r.peakDisk = disk.Stop();
    r.peakMemory = memory.PeakAddedBytes();
    r.fileBytes = std::filesystem::file_size(path);
    return r;
}

// Naming: a file of `count` small resources, committed, then every one
// named and the names committed (timed).
double NameInContainer(int32_t count, const std::string& folder)
{
    const std::string path = folder + "/names_bench.qzb";
    std::filesystem::remove(path);
    initresman();
    FSSpec fileSpec;
    platform::FSMakeFSSpec(path, &fileSpec);
    int16_t ref = createres(fileSpec, platform::FourCC("QzBw"), platform::FourCC("QzDB"));
    const std::vector<Item> items = NamedItems(count);
    for (const Item& item : items) {
        Handle h = platform::NewHandle(16);
        Fill(reinterpret_cast<uint8_t*>(*h), 16, uint32_t(item.id));
        if (!xaddres(h, item.type, item.id)) Failed("an add", reserr);
    }
    if (!closeres(ref, true)) Failed("a commit", reserr);
    ref = openres(fileSpec, false);
    const auto start = Clock::now();
    for (const Item& item : items) {
        const std::string name = NameOf(item);
        unsigned char pname[256] = {uint8_t(name.size())};
        std::memcpy(pname + 1, name.data(), name.size());
        if (!xsetresname(item.type, item.id, pname, false)) Failed("a naming", reserr);
    }
    if (!updateres(ref)) Failed("a commit", reserr);
    const double seconds = Since(start);
    closeres(ref, true);
    ResetResManager();
    return seconds;
}

double NameInSqlite(int32_t count, const std::string& folder)
{
    const std::string path = folder + "/names_bench.sqlite";
    std::filesystem::remove(path);
    sqlite3* db = OpenSqlite(path, 0);
    Check(sqlite3_exec(db, "CREATE TABLE res(type INTEGER, id INTEGER, data BLOB, name TEXT, PRIMARY KEY(type, id))",
                       nullptr, nullptr, nullptr),
          db);
    const std::vector<Item> items = NamedItems(count);
    uint8_t data[16];
    Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO res VALUES(?, ?, ?, NULL)", -1, &insert, nullptr);
    for (const Item& item : items) {
        Fill(data, 16, uint32_t(item.id));
        sqlite3_bind_int64(insert, 1, item.type);
        sqlite3_bind_int(insert, 2, item.id);
        sqlite3_bind_blob(insert, 3, data, 16, SQLITE_STATIC);
        Check(sqlite3_step(insert), db);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
    db = OpenSqlite(path, 0);
    const auto start = Clock::now();
    Check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db);
    sqlite3_stmt* update = nullptr;
    sqlite3_prepare_v2(db, "UPDATE res SET name = ? WHERE type = ? AND id = ?", -1, &update, nullptr);
    for (const Item& item : items) {
        const std::string name = NameOf(item);
        sqlite3_bind_text(update, 1, name.c_str(), int(name.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int64(update, 2, item.type);
        sqlite3_bind_int(update, 3, item.id);
        Check(sqlite3_step(update), db);
        sqlite3_reset(update);
    }
    sqlite3_finalize(update);
    Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    const double seconds = Since(start);
    sqlite3_close(db);
    return seconds;
}

// Runs one side in a child process of its own, so that its peak memory is
// not hidden by what an earlier side left to the allocator.
template <typename F>
auto InChild(F run) -> decltype(run())
{
    using Result = decltype(run());
    int fds[2];
    if (::pipe(fds) != 0) return run();
    std::fflush(stdout);
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return run();
    }
    if (pid == 0) {
        ::close(fds[0]);
        const Result r = run();
        const ssize_t written = ::write(fds[1], &r, sizeof r);
        std::fflush(stdout);
        ::_exit(written == ssize_t(sizeof r) && !gFailed ? 0 : 1);
    }
    ::close(fds[1]);
    Result r{};
    const bool got = ::read(fds[0], &r, sizeof r) == ssize_t(sizeof r);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!got || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "store_bench: a side of the benchmark failed\n");
        gFailed = true;
    }
    return r;
}

double MiB(uint64_t bytes) { return double(bytes) / (1024.0 * 1024.0); }

}  // namespace

// Naming 1,000, 10,000 and 100,000 resources on both sides, in a folder
// of its own.
bool CompareNaming(const std::string& folder)
{
    std::filesystem::create_directories(folder);
    const int32_t counts[] = {1000, 10000, 100000};
    double ours[3] = {}, theirs[3] = {};
    std::printf("naming N resources + commit, against SQLite UPDATE of N rows + COMMIT\n");
    std::printf("%10s %12s %12s %8s\n", "N", "container", "SQLite", "ratio");
    for (int i = 0; i < 3; ++i) {
        ours[i] = InChild([&] { return NameInContainer(counts[i], folder); });
        theirs[i] = InChild([&] { return NameInSqlite(counts[i], folder); });
        if (gFailed) {
            std::filesystem::remove_all(folder);
            return false;
        }
        std::printf("%10d %10.1f ms %10.1f ms %7.2fx\n", counts[i], ours[i] * 1000, theirs[i] * 1000,
                    ours[i] / theirs[i]);
    }
    auto exponent = [&](const double* t, int from, int to) {
        return std::log(t[to] / t[from]) / std::log(double(counts[to]) / counts[from]);
    };
    std::printf("growth exponent    container  SQLite\n");
    std::printf("  1,000 -> 10,000     %5.2f   %5.2f\n", exponent(ours, 0, 1), exponent(theirs, 0, 1));
    std::printf("  10,000 -> 100,000   %5.2f   %5.2f\n", exponent(ours, 1, 2), exponent(theirs, 1, 2));
    std::printf("  1,000 -> 100,000    %5.2f   %5.2f\n", exponent(ours, 0, 2), exponent(theirs, 0, 2));
    std::filesystem::remove_all(folder);
    return true;
}

int main(int argc, char** argv)
{
    const bool namesOnly = argc > 1 && std::strcmp(argv[1], "names") == 0;
    const int32_t count = argc > 1 && !namesOnly ? std::atoi(argv[1]) : 100000;
    const std::string base = argc > 2 ? argv[2] : std::filesystem::temp_directory_path().string();
    if (namesOnly) return CompareNaming(base + "/store_bench." + std::to_string(::getpid())) ? 0 : 1;
    const std::vector<Item> items = MakeItems(count);
    uint64_t payload = 0;
    for (const Item& item : items) payload += item.size;

    // Each side works in a folder of its own, so that its disk use is its own.
    const std::string folder = base + "/store_bench." + std::to_string(::getpid());
    const std::string ours = folder + "/store", small = folder + "/sqlite", large = folder + "/sqlite-cache";
    for (const std::string& f : {ours, small, large}) std::filesystem::create_directories(f);

    const Result c = InChild([&] { return RunContainer(items, ours); });
    std::filesystem::remove_all(ours);
    const Result s = InChild([&] { return RunSqlite(items, small, 0); });
    std::filesystem::remove_all(small);
    // The whole working set: the payload with a quarter more for pages and
    // the index.
    const uint64_t cacheKiB = payload / 1024 * 5 / 4 + 64 * 1024;
    const Result l = InChild([&] { return RunSqlite(items, large, cacheKiB); });
    std::filesystem::remove_all(folder);
    if (c.payload != payload || s.payload != payload || l.payload != payload) {
        std::fprintf(stderr, "store_bench: the payload read back differs: %" PRIu64 " %" PRIu64 " %" PRIu64 " of %" PRIu64 "\n",
                     c.payload, s.payload, l.payload, payload);
        gFailed = true;
    }
    if (gFailed) return 1;

    std::printf("%d resources, %" PRIu64 " payload bytes; SQLite %s, one row per resource\n", count, payload,
                sqlite3_libversion());
    std::printf("%-26s %12s %12s %14s\n", "", "container", "SQLite", "SQLite large");
    auto line = [](const char* what, double a, double b, double cc) {
        std::printf("%-26s %10.3f s %10.3f s %12.3f s\n", what, a, b, cc);
    };
    line("create and add", c.add, s.add, l.add);
    line("commit and close", c.commit, s.commit, l.commit);
    line("add + commit", c.add + c.commit, s.add + s.commit, l.add + l.commit);
    line("reopen", c.reopen, s.reopen, l.reopen);
    line("read every resource", c.read, s.read, l.read);
    line("rewrite 10 %", c.rewrite, s.rewrite, l.rewrite);
    line("commit", c.recommit, s.recommit, l.recommit);
    auto size = [](const char* what, uint64_t a, uint64_t b, uint64_t cc) {
        std::printf("%-26s %8.1f MiB %8.1f MiB %10.1f MiB\n", what, MiB(a), MiB(b), MiB(cc));
    };
    size("file size", c.fileBytes, s.fileBytes, l.fileBytes);
    size("peak memory added", c.peakMemory, s.peakMemory, l.peakMemory);
    size("peak disk", c.peakDisk, s.peakDisk, l.peakDisk);
    auto beyond = [](const Result& r) { return r.peakDisk > r.fileBytes ? r.peakDisk - r.fileBytes : 0; };
    size("temporary disk", beyond(c), beyond(s), beyond(l));
    std::printf("%-26s %8.1f MiB\n", "read while opening", MiB(c.readWhileOpening));
    std::printf("SQLite large cache: %" PRIu64 " MiB\n", cacheKiB / 1024);
    std::printf("container / SQLite (default cache, large cache):\n");
    std::printf("  add + commit               %.2fx %.2fx\n", (c.add + c.commit) / (s.add + s.commit),
                (c.add + c.commit) / (l.add + l.commit));
    std::printf("  reopen + read every one    %.2fx %.2fx\n", (c.reopen + c.read) / (s.reopen + s.read),
                (c.reopen + c.read) / (l.reopen + l.read));
    std::printf("  rewrite 10 %% + commit      %.2fx %.2fx\n", (c.rewrite + c.recommit) / (s.rewrite + s.recommit),
                (c.rewrite + c.recommit) / (l.rewrite + l.recommit));
    return CompareNaming(folder) ? 0 : 1;
}

// The container store beside SQLite: 100,000 resources of 16 bytes to
// 64 KiB (log-uniform sizes), commit, reopen, read every resource, rewrite
// one in ten, commit. Prints the time of each step and the file sizes.
//
//   store_bench [count] [folder]
#include <sqlite3.h>

#include <chrono>
#include <cmath>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "resources/ResourceApi.h"

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

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

void Report(const char* what, double seconds) { std::printf("  %-28s %9.3f s\n", what, seconds); }

void RunContainer(const std::vector<Item>& items, const std::string& path)
{
    std::printf("container store\n");
    std::filesystem::remove(path);
    initresman();
    FSSpec fileSpec;
    platform::FSMakeFSSpec(path, &fileSpec);

    auto start = Clock::now();
    int16_t ref = createres(fileSpec, platform::FourCC("QzBw"), platform::FourCC("QzDB"));
    for (size_t i = 0; i < items.size(); ++i) {
        Handle h = platform::NewHandle(platform::Size(items[i].size));
        Fill(reinterpret_cast<uint8_t*>(*h), items[i].size, uint32_t(i));
        if (!xaddres(h, items[i].type, items[i].id)) std::printf("add failed: %d\n", reserr);
    }
    Report("create and add", Since(start));
    start = Clock::now();
    if (!closeres(ref, true)) std::printf("commit failed: %d\n", reserr);
    Report("commit and close", Since(start));

    const uint64_t before = BytesRead();
    start = Clock::now();
    ref = openres(fileSpec, false);
    Report("reopen", Since(start));
    std::printf("  %-28s %9" PRIu64 " bytes\n", "read while opening", (uint64_t)(BytesRead() - before));

    start = Clock::now();
    uint64_t total = 0;
    for (const Item& item : items) {
        Handle h = xget1res(item.type, item.id);
        if (!h) {
            std::printf("get failed: %d\n", reserr);
            continue;
        }
        total += uint64_t(platform::GetHandleSize(h));
        detachres(h);
        platform::DisposeHandle(h);
    }
    Report("read every resource", Since(start));

    start = Clock::now();
    for (size_t i = 0; i < items.size(); i += 10) {
        Handle h = xget1res(items[i].type, items[i].id);
        Fill(reinterpret_cast<uint8_t*>(*h), uint32_t(platform::GetHandleSize(h)), uint32_t(i) + 7);
        xwriteres(h);
    }
    Report("rewrite 10 %", Since(start));
    start = Clock::now();
    if (!updateres(ref)) std::printf("commit failed: %d\n", reserr);
    Report("commit", Since(start));
    closeres(ref, true);
    ResetResManager();
    std::printf("  %-28s %9" PRIu64 " bytes (payload %" PRIu64 ")\n", "file size",
                (uint64_t)std::filesystem::file_size(path), (uint64_t)total);
}

void Check(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) std::printf("sqlite: %s\n", sqlite3_errmsg(db));
}

void RunSqlite(const std::vector<Item>& items, const std::string& path)
{
    std::printf("SQLite %s (one row per resource)\n", sqlite3_libversion());
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    std::vector<uint8_t> buffer(65536);

    auto start = Clock::now();
    sqlite3_open(path.c_str(), &db);
    Check(sqlite3_exec(db, "CREATE TABLE res(type INTEGER, id INTEGER, data BLOB, PRIMARY KEY(type, id))", nullptr, nullptr, nullptr), db);
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
    Report("create and add", Since(start));
    start = Clock::now();
    Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
    Report("commit and close", Since(start));

    start = Clock::now();
    sqlite3_open(path.c_str(), &db);
    Report("reopen", Since(start));
    start = Clock::now();
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db, "SELECT data FROM res WHERE type = ? AND id = ?", -1, &select, nullptr);
    uint64_t total = 0;
    for (const Item& item : items) {
        sqlite3_bind_int64(select, 1, item.type);
        sqlite3_bind_int(select, 2, item.id);
        if (sqlite3_step(select) == SQLITE_ROW) {
            const void* blob = sqlite3_column_blob(select, 0);
            int size = sqlite3_column_bytes(select, 0);
            std::vector<uint8_t> copy(static_cast<const uint8_t*>(blob), static_cast<const uint8_t*>(blob) + size);
            total += copy.size();
        }
        sqlite3_reset(select);
    }
    sqlite3_finalize(select);
    Report("read every resource", Since(start));

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
    Report("rewrite 10 %", Since(start));
    start = Clock::now();
    Check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db);
    Report("commit", Since(start));
    sqlite3_close(db);
    std::printf("  %-28s %9" PRIu64 " bytes (payload %" PRIu64 ")\n", "file size",
                (uint64_t)std::filesystem::file_size(path), (uint64_t)total);
}

}  // namespace

int main(int argc, char** argv)
{
    const int32_t count = argc > 1 ? std::atoi(argv[1]) : 100000;
    const std::string folder = argc > 2 ? argv[2] : std::filesystem::temp_directory_path().string();
    const std::vector<Item> items = MakeItems(count);
    uint64_t payload = 0;
    for (const Item& item : items) payload += item.size;
    std::printf("%d resources, %" PRIu64 " payload bytes\n", count, (uint64_t)payload);
    RunContainer(items, folder + "/store_bench.qzb");
    RunSqlite(items, folder + "/store_bench.sqlite");
    std::filesystem::remove(folder + "/store_bench.qzb");
    std::filesystem::remove(folder + "/store_bench.sqlite");
    return 0;
}

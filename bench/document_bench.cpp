// Opening and reading a structure document beside SQLite reading the same
// bytes. The document builder writes a 10,000- and a 100,000-object
// structure (`generate N`, its forms stored as chunk files); each is opened
// (OpenQzB), read with every object parsed for its links (ReadQzB) and
// closed (CloseQzB) headless, five times. SQLite holds every resource of
// the container and of the companion as a row (type, id, bytes) of one
// table and reads every row back, also five times. Times are medians of
// processor time.
// Every run is a process of its own, whose peak resident memory the kernel
// reports when it ends (wait4). Then how each step grows: e = ln(time
// ratio) / ln(object ratio), 1 is linear.
//
// Then an SQL schema script of 255 tables of 100 columns is parsed into
// its schema and report, beside the same bytes split into words with
// std::string_view (median of 21).
//
// Then a structure with 50 installed components of 1,000 members each
// (500 methods and 500 choice lists, public, so that the read needs no
// keys) is opened and read with the program's module manager, beside the
// same open with the stand-in manager that knows no component.
//
// Then plug-in discovery over a plug-in folder of 200 resource files of
// 10 package bundles each (5 routines a bundle): the packages' pass (every
// file opened, its bundles read, 12,000 objects made in their sorted
// list), the routines' pass and the disposal that closes the files,
// beside opening and closing the same 200 files; with 100
// files too, for the growth. Processor time of the thread, medians of 21.
//
//   document_bench [count...] [--keep FOLDER]
//   document_bench --sql          (the SQL script alone)
//   document_bench --plugins      (the plug-in folder alone)
//   document_bench --read FILE    (one open, read and close of a kept
//                                  structure in this process, for a profiler)
//   document_bench --save FILE [N] (N rounds, 21 by default, on a kept
//                                  structure as a person makes them: open
//                                  and read it, save its first string list
//                                  of id 15000 or more, close it; then the
//                                  same rounds without the read. Medians of
//                                  processor time)
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/appl/AppGlobals.h"
#include "app/documents/MainDoc.h"
#include "app/dialogs/Messages.h"
#include "app/appl/Preferences.h"
#include "design/objects/DesignGlobals.h"
#include "design/documents/DocResources.h"
#include "design/objects/ObjList.h"
#include "design/documents/OpenQzB.h"
#include "design/documents/Passwords.h"
#include "design/reading/ReadQzB.h"
#include "design/plugins/PlugInDiscovery.h"
#include "design/sql/SqlScript.h"
#include "bench/BenchApplication.h"
#include "bench/BenchTiming.h"
#include "kernel/byteswap/SwapTemplates.h"
#include "kernel/prefs/UPrefs.h"
#include "platform/backends/HeadlessBackend.h"
#include "platform/core/Clock.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/files/WholeFile.h"
#include "platform/resfiles/ResourceFileFormat.h"
#include "platform/resfiles/Resources.h"
#include "resources/ResourceApi.h"
#include "tools/docbuilder/DocBuilder.h"
#include "design/reading/ModuleManager.h"
#include "transfer/InstallTransfer.h"

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Processor time of the process in seconds: on a machine shared with other
// work, waiting for a processor is not the code's own time.
double CpuNow()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// What one child process sends back through its pipe.
struct Report {
    int16_t error = 0;
    double build = 0, open = 0, read = 0, close = 0, dispose = 0;
    int64_t objects = 0, rows = 0, payload = 0;
    int64_t startKiB = 0;  // resident memory before the timed work
    int64_t peakKiB = 0;   // filled in by the parent from wait4
};

int64_t ResidentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == "VmRSS:") {
            int64_t value = 0;
            status >> value;
            return value;
        }
    return 0;
}

// Runs `work` in a child process; its report with the child's peak resident
// memory. The parent stays small, so a child starts from little.
template <typename F>
Report InChild(F work)
{
    Report r;
    int fds[2];
    if (::pipe(fds) != 0) {
        r.error = -1;
        return r;
    }
    std::fflush(stdout);
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        r.error = -1;
        return r;
    }
    if (pid == 0) {
        ::close(fds[0]);
        const Report out = work();
        const ssize_t written = ::write(fds[1], &out, sizeof out);
        std::fflush(stdout);
        ::_exit(written == ssize_t(sizeof out) ? 0 : 1);
    }
    ::close(fds[1]);
    if (::read(fds[0], &r, sizeof r) != ssize_t(sizeof r)) r.error = -2;
    ::close(fds[0]);
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) r.error = r.error ? r.error : -3;
    r.peakKiB = int64_t(usage.ru_maxrss);
    return r;
}

struct Paths {
    std::string folder, data, companion, sqlite;
};

// The document: built by the builder (in a child, so that the parent stays
// small).
Report Build(int32_t count, const std::string& folder, Paths* paths)
{
    const std::string name = "Bench" + std::to_string(count);
    paths->folder = folder;
    paths->data = folder + "/" + name + ".QzB";
    paths->companion = folder + "/" + name + ".RSR";
    paths->sqlite = folder + "/" + name + ".sqlite";
    return InChild([&] {
        Report r;
        const std::string description = "structure " + name + " seed 7\nforms iff\ngenerate " + std::to_string(count) + "\n";
        const auto start = Clock::now();
        const docbuilder::BuildResult built = docbuilder::BuildDocument(description, name + ".qzdoc", folder);
        r.build = Since(start);
        r.error = built.error;
        if (built.error) std::printf("build failed: %s\n", built.message.c_str());
        return r;
    });
}

int64_t CountObjects(const TypeListRec* types)
{
    int64_t n = 0;
    for (ObjListHdl list : types->lists)
        if (list) n += list->Size();
    return n;
}

// What the last alert nobody answered said (its text as the watchdog
// names it), for the words of the failure it ended.
std::string gUnanswered;

// The headless program a run reads in. No input comes: the read's checks
// for a cancel poll an empty queue, which the watchdog must not take for a
// stuck program; an alert is left unanswered, which ends the work it asks
// about. Time is as a person has it: the wait dialog shows after a
// second and draws its message at most once a tick of the real clock (the
// headless clock lets a tick pass at every read of it).
class QuietHeadless {
public:
    QuietHeadless() : backend_(platform::Script{}, Options())
    {
        backend_.Install();
        platform::SetClock(nullptr);
    }

private:
    static platform::HeadlessOptions Options()
    {
        platform::HeadlessOptions options;
        options.watchdogTicks = UINT32_MAX / 2;
        options.onWatchdog = [](const std::string& message) {
            const size_t from = message.find('"'), to = message.rfind('"');
            gUnanswered = from < to ? message.substr(from + 1, to - from - 1) : message;
        };
        return options;
    }
    platform::HeadlessBackend backend_;
};

// One run of ours: open, read and parse every object, close.
Report RunDocument(const Paths& paths)
{
    Report r;
    QuietHeadless headless;
    if (!SetUpBenchApplication(paths.folder, QZ_APP_RESOURCES, QZ_SOURCE_DIR)) {
        r.error = -4;
        return r;
    }
    TMainDoc doc;
    if (NewTypeList(&doc.fTypeList) != 0) {
        r.error = -108;
        return r;
    }
    platform::FSSpec fileSpec;
    platform::FSMakeFSSpec(paths.data, &fileSpec);
    int16_t other = -1;
    unsigned char password[16] = {0};
    r.startKiB = ResidentKiB();

    double start = CpuNow();
    r.error = OpenQzB(1, fileSpec, &doc.fRsrFile, &doc.fResFile, &other, password);
    r.open = CpuNow() - start;
    if (r.error) {
        SayBenchFailure("opening " + paths.data, r.error, gUnanswered);
        return r;
    }

    start = CpuNow();
    r.error = ReadQzB(&doc, 1, 1);
    r.read = CpuNow() - start;
    r.objects = CountObjects(doc.fTypeList);
    if (r.error) SayBenchFailure("reading " + paths.data, r.error, gUnanswered);

    start = CpuNow();
    CloseQzB(doc.fRsrFile, doc.fResFile, other, -1);
    r.close = CpuNow() - start;

    start = CpuNow();
    DisposeTypeList(doc.fTypeList);
    doc.fTypeList = nullptr;
    r.dispose = CpuNow() - start;
    return r;
}

struct Row {
    uint32_t type;
    int16_t id;
    std::vector<uint8_t> bytes;
};

// Every resource of the container (through the store) and of the companion
// (through the resource files), as stored.
bool CollectRows(const Paths& paths, std::vector<Row>* rows)
{
    initresman();
    platform::FSSpec fileSpec;
    platform::FSMakeFSSpec(paths.data, &fileSpec);
    const int16_t container = openres(fileSpec, true);
    if (container == 0) return false;
    for (int32_t t = 1; t <= comptetypes(); ++t) {
        const ResType type = xgetindtyp(t);
        const int16_t n = compteres(type, true);
        for (int32_t i = 1; i <= n; ++i) {
            Handle h = xgetindres(type, i, true);
            if (!h) continue;
            int16_t id = 0;
            ResType got = 0;
            xgetresinfo(h, &id, &got);
            const auto* p = reinterpret_cast<const uint8_t*>(*h);
            rows->push_back({type, id, std::vector<uint8_t>(p, p + platform::GetHandleSize(h))});
            unloadres(type, id);
        }
    }
    closeres(container, false);

    platform::FSSpec companionSpec;
    platform::FSMakeFSSpec(paths.companion, &companionSpec);
    const int16_t companion = platform::FSpOpenResFile(companionSpec, platform::fsRdPerm);
    if (companion == -1) return false;
    for (int32_t t = 1; t <= platform::Count1Types(); ++t) {
        ResType type = 0;
        platform::Get1IndType(&type, t);
        for (int32_t i = 1; i <= platform::Count1Resources(type); ++i) {
            Handle h = platform::Get1IndResource(type, i);
            if (!h) continue;
            int16_t id = 0;
            platform::GetResInfo(h, &id, nullptr, nullptr);
            const auto* p = reinterpret_cast<const uint8_t*>(*h);
            rows->push_back({type, id, std::vector<uint8_t>(p, p + platform::GetHandleSize(h))});
            platform::ReleaseResource(h);
        }
    }
    platform::CloseResFile(companion);
    return true;
}

bool Exec(sqlite3* db, const char* sql)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK) return true;
    std::printf("sqlite: %s\n", message ? message : "?");
    sqlite3_free(message);
    return false;
}

// Setup of the peer: the table loaded with every resource of both files.
Report LoadTable(const Paths& paths)
{
    return InChild([&] {
        Report r;
        std::vector<Row> rows;
        if (!CollectRows(paths, &rows)) {
            r.error = -5;
            return r;
        }
        std::filesystem::remove(paths.sqlite);
        sqlite3* db = nullptr;
        if (sqlite3_open(paths.sqlite.c_str(), &db) != SQLITE_OK ||
            !Exec(db, "CREATE TABLE res(type INTEGER, id INTEGER, data BLOB, PRIMARY KEY(type, id))") ||
            !Exec(db, "BEGIN")) {
            r.error = -6;
            sqlite3_close(db);
            return r;
        }
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO res VALUES(?, ?, ?)", -1, &insert, nullptr);
        for (const Row& row : rows) {
            sqlite3_bind_int64(insert, 1, row.type);
            sqlite3_bind_int(insert, 2, row.id);
            sqlite3_bind_blob(insert, 3, row.bytes.data(), int(row.bytes.size()), SQLITE_STATIC);
            if (sqlite3_step(insert) != SQLITE_DONE) {
                // Container and companion may share a type and id: the
                // companion's row is keyed by its id plus 65536.
                sqlite3_reset(insert);
                sqlite3_bind_int(insert, 2, row.id + 65536);
                if (sqlite3_step(insert) != SQLITE_DONE) r.error = -7;
            }
            sqlite3_reset(insert);
            r.rows += 1;
            r.payload += int64_t(row.bytes.size());
        }
        sqlite3_finalize(insert);
        if (!Exec(db, "COMMIT")) r.error = -8;
        sqlite3_close(db);
        return r;
    });
}

// One run of the peer: open, read every row (type, id and a copy of its
// bytes), close.
Report RunSqlite(const Paths& paths)
{
    Report r;
    r.startKiB = ResidentKiB();
    double start = CpuNow();
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(paths.sqlite.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        r.error = -9;
        return r;
    }
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db, "SELECT type, id, data FROM res", -1, &select, nullptr);
    r.open = CpuNow() - start;

    start = CpuNow();
    std::vector<Row> rows;
    while (sqlite3_step(select) == SQLITE_ROW) {
        const auto* blob = static_cast<const uint8_t*>(sqlite3_column_blob(select, 2));
        const int size = sqlite3_column_bytes(select, 2);
        rows.push_back({uint32_t(sqlite3_column_int64(select, 0)), int16_t(sqlite3_column_int(select, 1)),
                        std::vector<uint8_t>(blob, blob + size)});
        r.payload += size;
    }
    r.rows = int64_t(rows.size());
    r.read = CpuNow() - start;

    start = CpuNow();
    sqlite3_finalize(select);
    sqlite3_close(db);
    rows.clear();
    rows.shrink_to_fit();
    r.close = CpuNow() - start;
    return r;
}

constexpr int kRuns = 5;

// Five runs, each in a process of its own: the median of each time, and
// the largest peak memory seen.
template <typename F>
Report MedianOf5(F run)
{
    std::vector<Report> runs;
    for (int i = 0; i < kRuns; ++i) {
        const Report r = InChild(run);
        if (r.error) return r;
        runs.push_back(r);
    }
    Report out = runs.front();
    auto median = [&](double Report::*field) {
        std::vector<double> v;
        for (const Report& r : runs) v.push_back(r.*field);
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    for (double Report::*field : {&Report::open, &Report::read, &Report::close, &Report::dispose})
        out.*field = median(field);
    for (const Report& r : runs)
        if (r.peakKiB > out.peakKiB) {
            out.peakKiB = r.peakKiB;
            out.startKiB = r.startKiB;
        }
    return out;
}

double MiB(int64_t bytes) { return double(bytes) / (1024.0 * 1024.0); }

int64_t FileBytes(const std::string& path)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    return ec ? 0 : int64_t(size);
}

// 50 components of 500 methods and 500 choice lists each.
Report BuildComponents(const std::string& folder, Paths* paths)
{
    paths->folder = folder;
    paths->data = folder + "/Components.QzB";
    paths->companion = folder + "/Components.RSR";
    return InChild([&] {
        Report r;
        std::string d = "structure Components seed 7\n";
        for (int c = 0; c < 50; ++c)
            for (int i = 0; i < 500; ++i) {
                const std::string n = std::to_string(c) + "_" + std::to_string(i);
                d += "method m" + n + "\n  comment \"member\"\nlist l" + n + "\n  item \"x\"\n";
            }
        for (int c = 0; c < 50; ++c) {
            d += "component C" + std::to_string(c) + " installed\n  public\n";
            for (int i = 0; i < 500; ++i) {
                const std::string n = std::to_string(c) + "_" + std::to_string(i);
                d += "    method m" + n + "\n    list l" + n + "\n";
            }
        }
        const auto start = Clock::now();
        const docbuilder::BuildResult built = docbuilder::BuildDocument(d, "Components.qzdoc", folder);
        r.build = Since(start);
        r.error = built.error;
        if (built.error) std::printf("build failed: %s\n", built.message.c_str());
        return r;
    });
}

bool MeasureComponents(const std::string& base)
{
    const std::string folder = base + "/components";
    std::filesystem::create_directories(folder);
    Paths paths;
    if (BuildComponents(folder, &paths).error) return false;
    const Report real = MedianOf5([&] {
        transfer::InstallModuleManager();
        return RunDocument(paths);
    });
    const Report standIn = MedianOf5([&] {
        ResetModuleHooks();
        return RunDocument(paths);
    });
    if (real.error || standIn.error) {
        std::printf("components: the read failed (%d, %d)\n", real.error, standIn.error);
        return false;
    }
    const double a = real.open + real.read + real.close, b = standIn.open + standIn.read + standIn.close;
    std::printf("50 installed components of 1,000 members (%" PRId64 " objects read), medians of 5\n", real.objects);
    std::printf("  open + read + close, module manager   %.4f s\n", a);
    std::printf("  open + read + close, stand-in manager %.4f s\n", b);
    std::printf("  module manager / stand-in             %.2fx\n", b > 0 ? a / b : 0.0);
    return true;
}

struct SizeResult {
    int32_t count = 0;
    Report build, ours, load, peer;
    int64_t dataBytes = 0, companionBytes = 0, sqliteBytes = 0;
};

bool Measure(int32_t count, const std::string& base, SizeResult* out)
{
    out->count = count;
    const std::string folder = base + "/" + std::to_string(count);
    std::filesystem::create_directories(folder);
    Paths paths;
    out->build = Build(count, folder, &paths);
    if (out->build.error) return false;
    out->dataBytes = FileBytes(paths.data);
    out->companionBytes = FileBytes(paths.companion);
    out->ours = MedianOf5([&] { return RunDocument(paths); });
    if (out->ours.error) {
        std::printf("%d objects: the read failed (%d)\n", count, out->ours.error);
        return false;
    }
    out->load = LoadTable(paths);
    if (out->load.error) {
        std::printf("%d objects: loading the table failed (%d)\n", count, out->load.error);
        return false;
    }
    out->sqliteBytes = FileBytes(paths.sqlite);
    out->peer = MedianOf5([&] { return RunSqlite(paths); });
    if (out->peer.error) {
        std::printf("%d objects: reading the table failed (%d)\n", count, out->peer.error);
        return false;
    }
    if (out->peer.payload != out->load.payload || out->peer.rows != out->load.rows)
        std::printf("%d objects: SQLite read back %" PRId64 " rows of %" PRId64 " bytes, not %" PRId64 " of %" PRId64 "\n",
                    count, out->peer.rows, out->peer.payload, out->load.rows, out->load.payload);
    return true;
}

void Print(const std::vector<SizeResult>& results)
{
    std::printf("document_bench: SQLite %s; processor times, medians of %d, each run a process of its own\n", sqlite3_libversion(),
                kRuns);
    std::printf("%-34s", "");
    for (const SizeResult& s : results) std::printf(" %14d", s.count);
    std::printf("\n");
    auto line = [&](const char* what, auto value) {
        std::printf("%-34s", what);
        for (const SizeResult& s : results) std::printf(" %14s", value(s).c_str());
        std::printf("\n");
    };
    auto seconds = [](double t) {
        char b[32];
        std::snprintf(b, sizeof b, "%.4f s", t);
        return std::string(b);
    };
    auto mib = [](double m) {
        char b[32];
        std::snprintf(b, sizeof b, "%.1f MiB", m);
        return std::string(b);
    };
    auto number = [](int64_t n) { return std::to_string(n); };
    auto ratio = [](double a, double b) {
        char t[32];
        std::snprintf(t, sizeof t, "%.2fx", b > 0 ? a / b : 0.0);
        return std::string(t);
    };
    line("objects read", [&](const SizeResult& s) { return number(s.ours.objects); });
    line("resources (rows)", [&](const SizeResult& s) { return number(s.load.rows); });
    line("payload", [&](const SizeResult& s) { return mib(MiB(s.load.payload)); });
    line("structure file", [&](const SizeResult& s) { return mib(MiB(s.dataBytes)); });
    line("companion file", [&](const SizeResult& s) { return mib(MiB(s.companionBytes)); });
    line("SQLite file", [&](const SizeResult& s) { return mib(MiB(s.sqliteBytes)); });
    line("build (document builder)", [&](const SizeResult& s) { return seconds(s.build.build); });
    line("OpenQzB", [&](const SizeResult& s) { return seconds(s.ours.open); });
    line("ReadQzB", [&](const SizeResult& s) { return seconds(s.ours.read); });
    line("CloseQzB", [&](const SizeResult& s) { return seconds(s.ours.close); });
    line("open + read + close", [&](const SizeResult& s) { return seconds(s.ours.open + s.ours.read + s.ours.close); });
    line("(disposing of the objects)", [&](const SizeResult& s) { return seconds(s.ours.dispose); });
    line("SQLite open", [&](const SizeResult& s) { return seconds(s.peer.open); });
    line("SQLite read every row", [&](const SizeResult& s) { return seconds(s.peer.read); });
    line("SQLite close", [&](const SizeResult& s) { return seconds(s.peer.close); });
    line("SQLite open + read + close", [&](const SizeResult& s) { return seconds(s.peer.open + s.peer.read + s.peer.close); });
    line("peak memory, ours", [&](const SizeResult& s) { return mib(double(s.ours.peakKiB) / 1024); });
    line("  added by the read", [&](const SizeResult& s) { return mib(double(s.ours.peakKiB - s.ours.startKiB) / 1024); });
    line("peak memory, SQLite", [&](const SizeResult& s) { return mib(double(s.peer.peakKiB) / 1024); });
    line("  added by the read", [&](const SizeResult& s) { return mib(double(s.peer.peakKiB - s.peer.startKiB) / 1024); });
    std::printf("ours / SQLite\n");
    line("  open + read + close", [&](const SizeResult& s) {
        return ratio(s.ours.open + s.ours.read + s.ours.close, s.peer.open + s.peer.read + s.peer.close);
    });
    line("  read", [&](const SizeResult& s) { return ratio(s.ours.read, s.peer.read); });
    line("  memory added", [&](const SizeResult& s) {
        return ratio(double(s.ours.peakKiB - s.ours.startKiB), double(s.peer.peakKiB - s.peer.startKiB));
    });
    line("  file size (both files)", [&](const SizeResult& s) {
        return ratio(double(s.dataBytes + s.companionBytes), double(s.sqliteBytes));
    });
    line("file overhead (beyond the payload)", [&](const SizeResult& s) {
        return mib(MiB(s.dataBytes + s.companionBytes - s.load.payload));
    });
    if (results.size() >= 2) {
        const SizeResult& a = results.front();
        const SizeResult& b = results.back();
        const double objects = double(b.ours.objects) / double(std::max<int64_t>(a.ours.objects, 1));
        std::printf("growth from %d to %d objects (objects x%.1f); e = ln(ratio) / ln(x%.1f), 1 is linear\n", a.count,
                    b.count, objects, objects);
        auto grow = [&](const char* what, double x, double y) {
            const double e = x > 0 && y > 0 ? std::log(y / x) / std::log(objects) : 0.0;
            std::printf("  %-32s x%-6.1f e = %.2f\n", what, x > 0 ? y / x : 0.0, e);
        };
        grow("OpenQzB", a.ours.open, b.ours.open);
        grow("ReadQzB", a.ours.read, b.ours.read);
        grow("CloseQzB", a.ours.close, b.ours.close);
        grow("open + read + close", a.ours.open + a.ours.read + a.ours.close,
             b.ours.open + b.ours.read + b.ours.close);
        grow("(disposing of the objects)", a.ours.dispose, b.ours.dispose);
        grow("SQLite read every row", a.peer.read, b.peer.read);
        grow("peak memory added, ours", double(a.ours.peakKiB - a.ours.startKiB), double(b.ours.peakKiB - b.ours.startKiB));
        grow("structure + companion size", double(a.dataBytes + a.companionBytes), double(b.dataBytes + b.companionBytes));
        grow("file overhead", double(a.dataBytes + a.companionBytes - a.load.payload),
             double(b.dataBytes + b.companionBytes - b.load.payload));
    }
}

// One open, read and close of a kept structure, in this process: what a
// profiler is pointed at. Its companion is the file beside it ending in
// ".RSR".
int ReadOnce(const std::string& data)
{
    std::filesystem::path path(data);
    Paths paths;
    paths.folder = path.parent_path().string();
    paths.data = data;
    paths.companion = (path.parent_path() / path.stem()).string() + ".RSR";
    const Report r = RunDocument(paths);
    if (r.error) return 1;
    std::printf("%s: %" PRId64 " objects\n", data.c_str(), r.objects);
    std::printf("  OpenQzB %.4f s, ReadQzB %.4f s, CloseQzB %.4f s, disposing %.4f s\n", r.open, r.read, r.close,
                r.dispose);
    return r.error ? 1 : 0;
}

constexpr int16_t kNoStringList = -192;

// The first string list a person may edit (the generated structures number
// theirs from 1, where no list is editable: the first of them there), its
// bytes changed (the first string's first character flipped between two
// letters) and the companion written, as a save of its editor does.
int16_t SaveStringList(int16_t companion)
{
    const int16_t saved = platform::CurResFile();
    platform::UseResFile(companion);
    Handle list = nullptr, first = nullptr;
    for (int16_t i = 1; !list && i <= platform::Count1Resources(platform::FourCC("STR#")); ++i) {
        Handle h = platform::Get1IndResource(platform::FourCC("STR#"), i);
        int16_t id = 0;
        if (!h || platform::GetHandleSize(h) <= 3 || (*h)[1] == 0 || (*h)[2] == 0) continue;
        platform::GetResInfo(h, &id, nullptr, nullptr);
        if (id >= 15000)
            list = h;
        else if (!first)
            first = h;
    }
    if (!list) list = first;
    int16_t err = kNoStringList;
    if (list) {
        (*list)[3] = char((*list)[3] == 'A' ? 'B' : 'A');
        platform::ChangedResource(list);
        platform::UpdateResFile(companion);
        err = platform::ResError();
    }
    platform::UseResFile(saved);
    return err;
}

int SaveRounds(const std::string& data, int rounds)
{
    QuietHeadless headless;
    if (!SetUpBenchApplication(std::filesystem::path(data).parent_path().string(), QZ_APP_RESOURCES, QZ_SOURCE_DIR))
        return 1;
    platform::FSSpec fileSpec;
    platform::FSMakeFSSpec(data, &fileSpec);
    // The first failure, in words: what failed and the error.
    std::string failed;
    int16_t error = 0;
    const auto round = [&](bool read) {
        if (error) return;
        TMainDoc doc;
        int16_t other = -1;
        unsigned char password[16] = {0};
        int16_t err = NewTypeList(&doc.fTypeList);
        if (!err && (err = OpenQzB(1, fileSpec, &doc.fRsrFile, &doc.fResFile, &other, password)) != 0)
            failed = "opening " + data;
        if (!err && (err = AcceptQzB(doc.fRsrFile, doc.fResFile)) != 0) failed = "opening " + data;
        if (!err && read && (err = ReadQzB(&doc, 1, 1)) != 0) failed = "reading " + data;
        if (!err && (err = SaveStringList(doc.fRsrFile)) != 0) failed = "saving a string list of " + data;
        if (doc.fResFile > 0) CloseQzB(doc.fRsrFile, doc.fResFile, other, -1);
        if (doc.fTypeList) DisposeTypeList(doc.fTypeList);
        doc.fTypeList = nullptr;
        error = err;
    };
    round(true);
    double whole = 0, unread = 0;
    if (!error) whole = bench::MedianCpuMs(rounds, [&] { round(true); });
    if (!error) unread = bench::MedianCpuMs(rounds, [&] { round(false); });
    if (error == kNoStringList) {
        std::fprintf(stderr, "%s: the structure has no string list to save\n", data.c_str());
        return 1;
    }
    if (error) {
        SayBenchFailure(failed.empty() ? data : failed, error, gUnanswered);
        return 1;
    }
    std::printf("%s: open, read, save a string list, close: %.3f ms; without the read: %.3f ms (medians of %d)\n",
                data.c_str(), whole, unread, rounds);
    return 0;
}

}  // namespace

// The SQL script's parse beside splitting its bytes into words; false
// (said) when the script is not read whole.
bool SqlScriptParse()
{
    std::string script;
    for (int t = 0; t < 255; ++t) {
        script += "CREATE TABLE Table_" + std::to_string(t) + " (\n";
        for (int c = 0; c < 100; ++c)
            script += "    Column_" + std::to_string(c) + (c % 3 == 0 ? " CHAR(40) NOT NULL" : c % 3 == 1 ? " INTEGER" : " DATE") +
                      (c < 99 ? ",\n" : "\n");
        script += ");\n";
    }
    size_t words = 0, tables = 0;
    int16_t error = 0;
    const double parse = bench::MedianMs(21, [&] {
        sql::Schema schema;
        std::string report;
        error = sql::ParseSQLText(script, &schema, &report);
        tables = error ? 0 : schema.tables.size();
    });
    if (error || tables != 255) {
        std::fprintf(stderr, "the SQL script was not read whole: error %d, %zu tables of 255\n", int(error), tables);
        return false;
    }
    const double split = bench::MedianMs(21, [&] {
        words = 0;
        std::string_view rest(script);
        for (;;) {
            const size_t start = rest.find_first_not_of(" \t\r\n(),;");
            if (start == std::string_view::npos) break;
            rest.remove_prefix(start);
            const size_t end = std::min(rest.find_first_of(" \t\r\n(),;"), rest.size());
            ++words;
            rest.remove_prefix(end);
        }
    });
    std::printf("\nSQL script of 255 tables of 100 columns (%zu bytes, %zu words): %zu tables read\n", script.size(),
                words, tables);
    std::printf("  split into words (string_view)     %8.2f ms\n", split);
    std::printf("  parsed into the schema and report  %8.2f ms   ratio %.2f\n", parse, parse / split);
    return true;
}

namespace {

// A plug-in file of `bundles` package bundles of 5 routines each, every
// routine of its own name (a name met before is left out).
bool WritePlugInFile(const std::string& path, int32_t file, int32_t bundles)
{
    platform::ResourceFileImage image;
    auto add = [&](const char (&type)[5], int16_t id, std::string name, std::vector<uint8_t> data) {
        platform::ResourceImage r;
        r.type = platform::FourCC(type);
        r.id = id;
        r.hasName = !name.empty();
        r.name = std::move(name);
        r.data = std::move(data);
        image.resources.push_back(std::move(r));
    };
    for (int32_t b = 0; b < bundles; ++b) {
        const int16_t id = int16_t(20000 + b);
        add("QBNX", id, "Tools_" + std::to_string(file) + "_" + std::to_string(b),
            {0, 1, 'S', 'T', 'R', '#', 0, 1, uint8_t(id >> 8), uint8_t(id)});
        std::vector<uint8_t> list = {0, 5};
        for (int r = 1; r <= 5; ++r) {
            const std::string text =
                "Routine_" + std::to_string(file) + "_" + std::to_string(b) + "_" + std::to_string(r) + "(&R;&S):S";
            list.push_back(uint8_t(text.size()));
            list.insert(list.end(), text.begin(), text.end());
        }
        add("STR#", id, "", list);
    }
    std::vector<uint8_t> bytes;
    return platform::BuildResourceFile(image, &bytes) == 0 &&
           platform::WriteFileAtomically(path, bytes.data(), bytes.size()) == 0;
}

// Processor time of this thread in milliseconds: on a machine shared with
// other work, waiting for a processor is not the code's own time.
double CpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

struct PlugInTimes {
    double packages = 0, routines = 0, dispose = 0, peer = 0;
    int64_t objects = 0;
};

PlugInTimes MeasurePlugIns(const std::string& folder, int32_t files)
{
    PlugInTimes t;
    const std::string plugins = folder + "/ext/Plugins";
    std::filesystem::remove_all(folder + "/ext");
    std::filesystem::create_directories(plugins);
    std::vector<std::string> paths;
    for (int32_t f = 0; f < files; ++f) {
        paths.push_back(plugins + "/Tools " + std::to_string(f) + ".rsrc");
        if (!WritePlugInFile(paths.back(), f, 10)) return t;
    }
    setenv("QZ_EXTENSIONS_DIR", (folder + "/ext").c_str(), 1);
    for (const char* other : {"QZ_USER_DATA_DIR", "QZ_SYSTEM_DATA_DIR", "QZ_APPLICATION_DIR"})
        setenv(other, (folder + "/none").c_str(), 1);
    std::vector<double> packages, routines, dispose;
    for (int run = 0; run < 21; ++run) {
        TMainDoc doc;
        if (NewTypeList(&doc.fTypeList) != 0) return t;
        double start = CpuMs();
        ReadPlugInPackages(&doc);
        packages.push_back(CpuMs() - start);
        start = CpuMs();
        ReadPlugInRoutines(&doc);
        routines.push_back(CpuMs() - start);
        t.objects = CountObjects(doc.fTypeList);
        start = CpuMs();
        DisposeTypeList(doc.fTypeList);
        dispose.push_back(CpuMs() - start);
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    t.packages = median(packages);
    t.routines = median(routines);
    t.dispose = median(dispose);
    std::vector<double> peer;
    for (int run = 0; run < 21; ++run) {
        const double start = CpuMs();
        for (const std::string& p : paths) {
            const int16_t ref = platform::OpenResFile(p, platform::fsRdPerm);
            if (ref > 0) platform::CloseResFile(ref);
        }
        peer.push_back(CpuMs() - start);
    }
    t.peer = median(peer);
    return t;
}

bool PlugInFolder(const std::string& base)
{
    const std::string folder = base + "/plugins";
    std::filesystem::create_directories(folder);
    if (!SetUpBenchApplication(folder, QZ_APP_RESOURCES, QZ_SOURCE_DIR)) return false;
    const PlugInTimes small = MeasurePlugIns(folder, 100), big = MeasurePlugIns(folder, 200);
    if (big.objects == 0) {
        std::printf("the plug-in folder could not be made\n");
        return false;
    }
    std::printf("\nPlug-in folder of 200 files of 10 bundles (5 routines each): %" PRId64 " objects, processor time\n",
                big.objects);
    std::printf("  open and close the 200 files               %8.2f ms\n", big.peer);
    std::printf("  packages' pass (open, read, make objects)  %8.2f ms   ratio %.2f\n", big.packages,
                big.packages / big.peer);
    std::printf("  routines' pass (open and close each)       %8.2f ms   ratio %.2f\n", big.routines,
                big.routines / big.peer);
    std::printf("  disposal (objects freed, files closed)     %8.2f ms\n", big.dispose);
    std::printf("  whole discovery and disposal               %8.2f ms   ratio %.2f\n",
                big.packages + big.routines + big.dispose, (big.packages + big.routines + big.dispose) / big.peer);
    auto e = [](double a, double b) { return std::log(b / a) / std::log(2.0); };
    std::printf("  growth from 100 to 200 files: packages e %.2f, routines e %.2f, disposal e %.2f, peer e %.2f\n",
                e(small.packages, big.packages), e(small.routines, big.routines), e(small.dispose, big.dispose),
                e(small.peer, big.peer));
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    // The structures are read as the program reads them: with its module
    // manager (the demo's components are read through it).
    transfer::InstallModuleManager();
    std::vector<int32_t> counts;
    std::string keep;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--keep") == 0 && i + 1 < argc)
            keep = argv[++i];
        else if (std::strcmp(argv[i], "--read") == 0 && i + 1 < argc)
            return ReadOnce(argv[++i]);
        else if (std::strcmp(argv[i], "--save") == 0 && i + 1 < argc)
            return SaveRounds(argv[i + 1], i + 2 < argc ? std::atoi(argv[i + 2]) : 21);
        else if (std::strcmp(argv[i], "--sql") == 0)
            counts.push_back(0);
        else if (std::strcmp(argv[i], "--plugins") == 0)
            counts.push_back(-1);
        else
            counts.push_back(std::atoi(argv[i]));
    }
    if (counts == std::vector<int32_t>{0}) return SqlScriptParse() ? 0 : 1;
    if (counts.empty()) counts = {10000, 100000};
    if (counts == std::vector<int32_t>{-1}) {
        const std::string folder = std::filesystem::temp_directory_path().string() + "/document_bench." + std::to_string(::getpid());
        const bool done = PlugInFolder(folder);
        std::filesystem::remove_all(folder);
        return done ? 0 : 1;
    }
    const std::string base = keep.empty() ? std::filesystem::temp_directory_path().string() + "/document_bench." +
                                                std::to_string(::getpid())
                                          : keep;
    std::filesystem::create_directories(base);
    std::vector<SizeResult> results;
    bool ok = true;
    for (int32_t count : counts) {
        SizeResult s;
        if (!Measure(count, base, &s)) {
            ok = false;
            break;
        }
        results.push_back(s);
    }
    Print(results);
    if (ok) ok = SqlScriptParse();
    if (ok) ok = MeasureComponents(base);
    if (ok) ok = PlugInFolder(base);
    if (keep.empty()) std::filesystem::remove_all(base);
    return ok ? 0 : 1;
}

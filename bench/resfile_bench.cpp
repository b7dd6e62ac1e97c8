// Resource files changed one resource at a time, as companions are by the
// commands that copy and renumber many objects: in each file N resources
// added (each after a look-up of its id, as a command checks it is free),
// each looked up, each given a new id, the file closed (written); then,
// the file opened again, each resource removed. A file's layout holds
// about 5,400 resources, so N is 500 and 5,000 per file (ids spread over
// four types), in 40 files: 20,000 and 200,000 resources in all.
// Processor time of each step, one file open at a time, medians of seven
// runs; then how each step grows with the file: e = ln(time ratio) /
// ln(10), 1 is linear.
//
//   resfile_bench [folder]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/BenchTiming.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/resfiles/Resources.h"

namespace {

using namespace platform;

constexpr int32_t kFiles = 40;
constexpr int kRuns = 7;
constexpr int kSteps = 5;
const char* const kStepNames[kSteps] = {"add", "look-up", "renumber", "close", "removal"};

struct Layout {
    int32_t perType;
    ResType TypeOf(int32_t i) const { return FourCC("TST0") + uint32_t(i / perType); }
    int16_t IdOf(int32_t i) const { return int16_t(i % perType + 1); }
    // The new id: above every first id of its type.
    int16_t NewIdOf(int32_t i) const { return int16_t(IdOf(i) + perType); }
};

// Processor time of `step` over every file, added to `total`.
template <class Step>
void Timed(double* total, Step step)
{
    const double start = bench::CpuMs();
    step();
    *total += bench::CpuMs() - start;
}

// The time of each step over the files, each file of `n` resources; one
// file is open at a time.
void RunOnce(const std::string& folder, int32_t n, double (&times)[kSteps])
{
    const Layout layout{n / 4};
    auto each = [&](auto body) {
        for (int32_t i = 0; i < n; ++i) body(i);
    };
    for (double& t : times) t = 0;
    for (int32_t f = 0; f < kFiles; ++f) {
        FSSpec spec;
        FSMakeFSSpec(folder + "/Bench" + std::to_string(f) + ".rsrc", &spec);
        std::filesystem::remove(spec.path);
        FSpCreateResFile(spec, 0, 0, 0, ResFileFork::Data);
        int16_t ref = FSpOpenResFile(spec, fsRdWrPerm, ResFileFork::Data);
        if (ref <= 0) std::abort();
        Timed(&times[0], [&] {
            each([&](int32_t i) {
                if (Get1Resource(layout.TypeOf(i), layout.IdOf(i))) std::abort();
                Handle h = NewHandle(16);
                std::memset(*h, int(i), 16);
                AddResource(h, layout.TypeOf(i), layout.IdOf(i), nullptr);
                if (ResError() != noErr) std::abort();
            });
        });
        Timed(&times[1], [&] {
            each([&](int32_t i) {
                if (!Get1Resource(layout.TypeOf(i), layout.IdOf(i))) std::abort();
            });
        });
        Timed(&times[2], [&] {
            each([&](int32_t i) {
                SetResInfo(Get1Resource(layout.TypeOf(i), layout.IdOf(i)), layout.NewIdOf(i), nullptr);
            });
        });
        Timed(&times[3], [&] {
            CloseResFile(ref);
            if (ResError() != noErr) std::abort();
        });
        ref = FSpOpenResFile(spec, fsRdWrPerm, ResFileFork::Data);
        Timed(&times[4], [&] {
            each([&](int32_t i) {
                Handle h = Get1Resource(layout.TypeOf(i), layout.NewIdOf(i));
                RemoveResource(h);
                DisposeHandle(h);
            });
            if (ResError() != noErr || Count1Types() != 0) std::abort();
        });
        CloseResFile(ref);
    }
}

// The median time of each step over several runs.
void Median(const std::string& folder, int32_t n, double (&times)[kSteps])
{
    std::vector<double> runs[kSteps];
    for (int run = 0; run < kRuns; ++run) {
        double once[kSteps];
        RunOnce(folder, n, once);
        for (int s = 0; s < kSteps; ++s) runs[s].push_back(once[s]);
    }
    for (int s = 0; s < kSteps; ++s) {
        std::sort(runs[s].begin(), runs[s].end());
        times[s] = runs[s][runs[s].size() / 2];
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string folder =
        argc > 1 ? argv[1] : (std::filesystem::temp_directory_path() / "resfile_bench").string();
    std::filesystem::create_directories(folder);
    const int32_t counts[2] = {500, 5000};
    double times[2][kSteps];
    for (int k = 0; k < 2; ++k) Median(folder, counts[k], times[k]);
    for (int s = 0; s < kSteps; ++s) {
        std::printf("%-8s %d files of %5d resources %9.2f ms, of %5d resources %9.2f ms: growth 10x, e %.2f\n",
                    kStepNames[s], kFiles, counts[0], times[0][s], counts[1], times[1][s],
                    std::log(times[1][s] / times[0][s]) / std::log(double(counts[1]) / counts[0]));
    }
    std::filesystem::remove_all(folder);
    return 0;
}

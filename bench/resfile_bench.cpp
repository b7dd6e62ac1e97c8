// A resource file's list changed one resource at a time, as companions are
// by the commands that copy and renumber many objects: N resources added to
// a new file (each after a look-up of its id, as a command checks it is
// free), each looked up and each given a new id, beside a hash map of the
// same keys and bytes doing the same. N is 10,000 and 100,000 (ids spread
// over four types), processor time, medians of three; then how each side
// grows: e = ln(time ratio) / ln(10), 1 is linear. Then the same with each
// resource removed at the end, for 1,000 and 5,000 resources: a removal
// costs the resources of the file, and a resource file's map holds about
// 5,000 at the most.
//
//   resfile_bench [folder]
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include "bench/BenchTiming.h"
#include "platform/core/FourCC.h"
#include "platform/core/Memory.h"
#include "platform/files/FileSpec.h"
#include "platform/resfiles/Resources.h"

namespace {

using namespace platform;

constexpr int32_t kPerType = 25000;

ResType TypeOf(int32_t i) { return FourCC("TST0") + uint32_t(i / kPerType); }
int16_t IdOf(int32_t i) { return int16_t(i % kPerType + 1); }
// The new id: above every first id of its type.
int16_t NewIdOf(int32_t i) { return int16_t(IdOf(i) + kPerType); }

double Ours(const std::string& folder, int32_t n, bool removes)
{
    return bench::MedianCpuMs(3, [&] {
        FSSpec file;
        FSMakeFSSpec(folder + "/Bench.rsrc", &file);
        std::filesystem::remove(file.path);
        FSpCreateResFile(file, 0, 0, 0, ResFileFork::Data);
        const int16_t ref = FSpOpenResFile(file, fsRdWrPerm, ResFileFork::Data);
        for (int32_t i = 0; i < n; ++i) {
            if (Get1Resource(TypeOf(i), IdOf(i))) std::abort();
            Handle h = NewHandle(16);
            std::memset(*h, int(i), 16);
            AddResource(h, TypeOf(i), IdOf(i), nullptr);
        }
        for (int32_t i = 0; i < n; ++i)
            if (!Get1Resource(TypeOf(i), IdOf(i))) std::abort();
        for (int32_t i = 0; i < n; ++i) SetResInfo(Get1Resource(TypeOf(i), IdOf(i)), NewIdOf(i), nullptr);
        if (removes) {
            for (int32_t i = 0; i < n; ++i) RemoveResource(Get1Resource(TypeOf(i), NewIdOf(i)));
            if (ResError() != noErr || Count1Types() != 0) std::abort();
        }
        CloseResFile(ref);
    });
}

double Peer(int32_t n, bool removes)
{
    return bench::MedianCpuMs(3, [&] {
        std::unordered_map<uint64_t, std::vector<uint8_t>> map;
        auto key = [](ResType type, int16_t id) { return (uint64_t(type) << 16) | uint16_t(id); };
        for (int32_t i = 0; i < n; ++i) {
            if (map.count(key(TypeOf(i), IdOf(i)))) std::abort();
            map.emplace(key(TypeOf(i), IdOf(i)), std::vector<uint8_t>(16, uint8_t(i)));
        }
        for (int32_t i = 0; i < n; ++i)
            if (!map.count(key(TypeOf(i), IdOf(i)))) std::abort();
        for (int32_t i = 0; i < n; ++i) {
            auto node = map.extract(key(TypeOf(i), IdOf(i)));
            node.key() = key(TypeOf(i), NewIdOf(i));
            map.insert(std::move(node));
        }
        if (removes) {
            for (int32_t i = 0; i < n; ++i) map.erase(key(TypeOf(i), NewIdOf(i)));
            if (!map.empty()) std::abort();
        }
    });
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string folder =
        argc > 1 ? argv[1] : (std::filesystem::temp_directory_path() / "resfile_bench").string();
    std::filesystem::create_directories(folder);
    auto compare = [&](const char* what, int32_t small, int32_t large, bool removes) {
        double ours[2], peer[2];
        const int32_t counts[2] = {small, large};
        for (int k = 0; k < 2; ++k) {
            ours[k] = Ours(folder, counts[k], removes);
            peer[k] = Peer(counts[k], removes);
            std::printf("%s, %6d resources: resource file %9.2f ms, hash map %8.2f ms, ratio %6.2f\n", what, counts[k],
                        ours[k], peer[k], ours[k] / peer[k]);
        }
        const double x = std::log(double(large) / small);
        std::printf("%s, growth %d -> %d: resource file e %.2f, hash map e %.2f\n", what, small, large,
                    std::log(ours[1] / ours[0]) / x, std::log(peer[1] / peer[0]) / x);
    };
    compare("added, looked up, renumbered", 10000, 100000, false);
    compare("and removed", 1000, 5000, true);
    std::filesystem::remove_all(folder);
    return 0;
}

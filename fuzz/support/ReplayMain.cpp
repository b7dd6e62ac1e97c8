// Replays seed files through a fuzz target's entry without libFuzzer, so that
// the ordinary sanitizer build checks every committed seed. Every target is
// linked into this one program under its own entry name (the build renames
// each target's libFuzzer entry); the first argument names the target, the
// others are files or folders (every regular file inside, in name order). A
// run with no seed at all fails: a target's corpus must not be lost silently.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <cstring>

#define QZ_REPLAY_TARGET(name)                                                   \
    extern "C" int QzFuzzEntry_##name(const uint8_t* data, size_t size);         \
    extern "C" __attribute__((weak)) int QzFuzzInit_##name(int* argc, char*** argv);
#include "ReplayTargets.inc"
#undef QZ_REPLAY_TARGET

namespace {

struct ReplayTarget {
    const char* name;
    int (*entry)(const uint8_t*, size_t);
    int (*init)(int*, char***);
};

const ReplayTarget kTargets[] = {
#define QZ_REPLAY_TARGET(name) {#name, QzFuzzEntry_##name, QzFuzzInit_##name},
#include "ReplayTargets.inc"
#undef QZ_REPLAY_TARGET
};

bool ReadSeed(const std::filesystem::path& path, std::vector<uint8_t>& bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

int main(int argc, char** argv)
{
    const ReplayTarget* target = nullptr;
    for (const ReplayTarget& t : kTargets)
        if (argc > 1 && std::strcmp(t.name, argv[1]) == 0)
            target = &t;
    if (!target) {
        std::fprintf(stderr, "replay: the first argument names no fuzz target\n");
        return 2;
    }
    // The target sees its seeds as its own arguments.
    argv[1] = argv[0];
    --argc;
    ++argv;
    if (target->init)
        target->init(&argc, &argv);

    std::vector<std::filesystem::path> seeds;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        std::filesystem::path arg(argv[i]);
        if (std::filesystem::is_directory(arg, ec)) {
            for (const auto& entry : std::filesystem::directory_iterator(arg, ec))
                if (entry.is_regular_file())
                    seeds.push_back(entry.path());
        } else if (std::filesystem::is_regular_file(arg, ec)) {
            seeds.push_back(arg);
        } else {
            std::fprintf(stderr, "replay: %s is neither a file nor a folder\n", argv[i]);
            return 2;
        }
    }
    std::sort(seeds.begin(), seeds.end());
    if (seeds.empty()) {
        std::fprintf(stderr, "replay: no seed to replay\n");
        return 2;
    }

    std::vector<uint8_t> bytes;
    for (const auto& seed : seeds) {
        if (!ReadSeed(seed, bytes)) {
            std::fprintf(stderr, "replay: cannot read %s\n", seed.c_str());
            return 2;
        }
        std::fprintf(stderr, "replay: %s (%zu bytes)\n", seed.filename().c_str(), bytes.size());
        // A block of exactly the seed's size (a valid pointer even when it is
        // empty), so that the sanitizers see any read past its end.
        std::unique_ptr<uint8_t[]> exact(new uint8_t[bytes.size()]);
        std::copy(bytes.begin(), bytes.end(), exact.get());
        target->entry(exact.get(), bytes.size());
    }
    std::printf("replay: %zu seeds\n", seeds.size());
    return 0;
}

#include "platform/core/Random.h"

namespace platform {

namespace {

int32_t gSeed = 1;

}  // namespace

int16_t Random()
{
    constexpr int64_t kModulus = 2147483647;
    gSeed = int32_t((int64_t(gSeed) * 16807) % kModulus);
    if (gSeed == 0) gSeed = 1;
    const int32_t low = gSeed & 0xFFFF;
    // -32768 is never answered, as on the classic system.
    return low == 0x8000 ? 0 : int16_t(uint16_t(low));
}

void SetRandomSeed(int32_t seed) { gSeed = seed == 0 ? 1 : (seed < 0 ? -(seed + 1) + 1 : seed); }

int32_t GetRandomSeed() { return gSeed; }

}  // namespace platform

// The system's pseudo-random numbers: a multiplicative congruential
// generator (16807 modulo 2^31 - 1) answering signed 16-bit values, the
// same sequence for the same seed in every run.
#pragma once

#include <cstdint>

namespace platform {

int16_t Random();
void SetRandomSeed(int32_t seed);
int32_t GetRandomSeed();

}  // namespace platform

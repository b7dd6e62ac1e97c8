// Results shared by the two block compressors.
#pragma once

#include <cstdint>

// Not enough memory for the coder's working arrays.
constexpr int32_t kCompressNoMemory = -108;
// The compressed block is damaged: it would read past its end, write past
// the destination or refer to data it does not have. Nothing was written
// outside the destination.
constexpr int32_t kDamagedBlockErr = -194;

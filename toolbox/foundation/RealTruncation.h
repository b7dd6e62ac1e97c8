// Reals cut toward zero into integers, saturating at the target's limits;
// NaN gives the most negative value.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

template <typename Int>
Int TruncateReal(double value)
{
    if (std::isnan(value)) return std::numeric_limits<Int>::min();
    const double t = std::trunc(value);
    // The upper limit as a double may round up past the maximum, so test >=.
    if (t >= static_cast<double>(std::numeric_limits<Int>::max())) return std::numeric_limits<Int>::max();
    if (t <= static_cast<double>(std::numeric_limits<Int>::min())) return std::numeric_limits<Int>::min();
    return static_cast<Int>(t);
}

inline int32_t TruncateToLong(double value) { return TruncateReal<int32_t>(value); }
inline int64_t TruncateToLong8(double value) { return TruncateReal<int64_t>(value); }

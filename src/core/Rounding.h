#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace pipeloop
{

// Every real-to-integer conversion in the program goes through these helpers.
// Symbol geometry, snapped coordinates and lengths shown to the user depend on
// halves going to the even neighbour (2.5 -> 2, 3.5 -> 4), which std::lround
// does not do.

// Round half to even, saturating at the int64 range; NaN gives 0.
inline int64_t RoundToInt64(double value)
{
    if (std::isnan(value))
        return 0;
    // 2^63 and -2^63 exactly: every double between them is a valid int64.
    if (value >= 9223372036854775808.0)
        return std::numeric_limits<int64_t>::max();
    if (value <= -9223372036854775808.0)
        return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(std::nearbyint(value)); // default FE_TONEAREST: halves to even
}

// Round half to even into an int32; values beyond the range saturate.
inline int32_t Round(double value)
{
    const int64_t r = RoundToInt64(value);
    if (r > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (r < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(r);
}

// Truncation toward zero into an int32, saturating; NaN gives 0.
inline int32_t Trunc(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

// Whether a real rounds into the int32 range without saturating. Halves go to
// the even neighbour: 2147483647.5 rounds up to 2^31 (too large), -2147483648.5
// rounds to -2^31 (still in range).
inline bool FitsInt32(double value)
{
    return !std::isnan(value) && value < 2147483647.5 && value >= -2147483648.5;
}

} // namespace pipeloop

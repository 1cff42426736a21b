#pragma once
// Conversions of evaluated formula values to the integers the calibration keeps: truncation
// toward zero as the processor's conversion does it (out of range and NaN give INT32_MIN)
// then, for 16-bit targets, the low 16 bits.

#include <cmath>
#include <cstdint>
#include <limits>

namespace korvath {

inline std::int32_t TruncToInt32(double v) {
    if (!(v > -2147483649.0 && v < 2147483648.0)) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(v);
}

inline std::int16_t TruncToInt16(double v) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint32_t>(TruncToInt32(v)) & 0xFFFF));
}

}  // namespace korvath

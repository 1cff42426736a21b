#pragma once
// Number rules of the graph layout: conversions to pixels truncate toward zero and never round.
// Values that do not fit (a huge point value, a plot too small to divide) are held to a range
// that every later pixel computation can take without overflowing.

#include <cstdint>

namespace korvath::graph {

constexpr float kPixelLimit = 1.0e9f;

inline int Trunc(float v) {
    if (!(v == v)) return 0;  // NaN
    if (v > kPixelLimit) return static_cast<int>(kPixelLimit);
    if (v < -kPixelLimit) return -static_cast<int>(kPixelLimit);
    return static_cast<int>(v);
}

inline std::int16_t ToInt16(int v) {
    if (v > 32767) return 32767;
    if (v < -32768) return -32768;
    return static_cast<std::int16_t>(v);
}

}  // namespace korvath::graph

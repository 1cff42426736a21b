#pragma once
// How much of a definition element's texts is kept: the names, the short texts shown in the status
// bar and tooltips, and help texts. Longer values are cut, never overrun.

#include <cstddef>

namespace korvath {

inline constexpr std::size_t kLogicalNameLength = 50;
inline constexpr std::size_t kDisplayNameLength = 80;
inline constexpr std::size_t kShortTextLength = 80;
inline constexpr std::size_t kHelpTextLength = 1000;

}  // namespace korvath

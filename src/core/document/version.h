#pragma once
// The program's version, shown as "3.31" followed by the package revision letter.

namespace korvath {
inline constexpr int kProgramVersionMajor = 3;
inline constexpr int kProgramVersionMinor = 31;
}  // namespace korvath

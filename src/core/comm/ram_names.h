#pragma once
// The controller's named RAM variables.

#include <cstdint>
#include <span>
#include <string_view>

namespace korvath {

struct RamName {
    const char* name;
    std::uint16_t address;
};

// The 78 names the controller's firmware places at fixed RAM addresses.
std::span<const RamName> RamNameTable();

// Fixed RAM addresses the tool writes itself.
inline constexpr std::uint16_t kRamEepromPage = 68;        // MEHIADR: EEPROM page and write-enable codes
inline constexpr std::uint16_t kRamTableWritten = 69;      // EEHIADR
inline constexpr std::uint16_t kRamFlashTableWritten = 0x1045;

}  // namespace korvath

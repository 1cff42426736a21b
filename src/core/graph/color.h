#pragma once
// Colours as definition files give them: 32-bit values 0x00BBGGRR, red in the low byte.
// Every conversion between this form and red/green/blue components goes through here.

#include <cstdint>

namespace korvath {

using Color = std::uint32_t;

constexpr Color MakeColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return static_cast<Color>(red) | (static_cast<Color>(green) << 8) | (static_cast<Color>(blue) << 16);
}
constexpr std::uint8_t RedOf(Color c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GreenOf(Color c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t BlueOf(Color c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

}  // namespace korvath

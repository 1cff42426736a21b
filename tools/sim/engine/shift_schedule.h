#pragma once
// The shift speeds the demo controller's firmware reads from its calibration, as a real firmware
// does: it knows its own memory map. EEPROM table #1 holds 96 bytes of scalars, then the curve
// tables of 19 cells each (a point in every second cell, the midpoints between), one byte a
// cell in 0.5 mph steps, against the throttle in ten columns (0 ... 100 %). The first six are the
// 1-2 up, 2-1 down, 2-3 up, 3-2 down, 3-4 up and 4-3 down curves.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace korvath::sim {

inline constexpr std::size_t kShiftTablesStart = 96;
inline constexpr std::size_t kShiftTableCells = 19;
inline constexpr int kShiftColumns = 10;

class ShiftSchedule {
public:
    using Table = std::array<std::uint8_t, kShiftTableCells>;

    // The schedule of an EEPROM table; none when it holds no calibration's curves (an upshift
    // point of 0x00 or 0xFF, as in a cleared or an erased table).
    static std::optional<ShiftSchedule> FromEeprom(const std::array<std::uint8_t, 256>& eeprom);

    // The speed (mph) at which `from` shifts up to from + 1 (1 ... 3), at `throttle` 0 ... 1.
    double UpshiftMph(int from, double throttle) const { return Speed(up_[Index(from)], throttle); }
    // The speed (mph) below which `from` shifts down to from - 1 (2 ... 4), at `throttle`.
    double DownshiftMph(int from, double throttle) const { return Speed(down_[Index(from - 1)], throttle); }

    // The gear a car in `gear` is in at `mph` and `throttle` once the curves have had their say:
    // up while the next upshift speed is reached, down while below the downshift speed.
    int GearAt(int gear, double mph, double throttle) const;

private:
    static std::size_t Index(int from) { return static_cast<std::size_t>(from < 1 ? 0 : from > 3 ? 2 : from - 1); }
    static double Speed(const Table& table, double throttle);
    std::array<Table, 3> up_{}, down_{};
};

}  // namespace korvath::sim

#include "engine/shift_schedule.h"

#include <algorithm>
#include <cmath>

namespace korvath::sim {

std::optional<ShiftSchedule> ShiftSchedule::FromEeprom(const std::array<std::uint8_t, 256>& eeprom) {
    ShiftSchedule schedule;
    for (std::size_t pair = 0; pair < 3; ++pair) {
        const auto up = eeprom.begin() + static_cast<std::ptrdiff_t>(kShiftTablesStart + 2 * pair * kShiftTableCells);
        const auto down = up + static_cast<std::ptrdiff_t>(kShiftTableCells);
        std::copy(up, up + static_cast<std::ptrdiff_t>(kShiftTableCells), schedule.up_[pair].begin());
        std::copy(down, down + static_cast<std::ptrdiff_t>(kShiftTableCells), schedule.down_[pair].begin());
        for (std::size_t cell = 0; cell < kShiftTableCells; cell += 2)
            if (schedule.up_[pair][cell] == 0 || schedule.up_[pair][cell] == 0xFF) return std::nullopt;
    }
    return schedule;
}

double ShiftSchedule::Speed(const Table& table, double throttle) {
    // Columns 0 ... 9 for 0 ... 100 %, and the half columns between them.
    const double cell = std::clamp(throttle, 0.0, 1.0) * (kShiftColumns - 1) * 2.0;
    return table[static_cast<std::size_t>(std::lround(cell))] / 2.0;
}

int ShiftSchedule::GearAt(int gear, double mph, double throttle) const {
    gear = std::clamp(gear, 1, 4);
    while (gear < 4 && mph >= UpshiftMph(gear, throttle)) ++gear;
    while (gear > 1 && mph < DownshiftMph(gear, throttle)) --gear;
    return gear;
}

}  // namespace korvath::sim

#pragma once
// A car driven in a loop: idle, pull away through the four gears, cruise, coast down through the
// gears, stop. The state is a pure function of the time, so a test can set any moment and see
// the same values every run.

#include <cstdint>

namespace korvath::sim {

// Raw scalings of the RAM variables the drive writes (what a definition's formulas undo):
//   TPS        throttle, 0-255 for 0-100 %
//   GEAR       current gear 1-4; OLDGEAR the gear before the last shift; CGEAR the commanded gear
//   VSS_NEW    (VSS_NEW_H * 256 + VSS_NEW_L) vehicle speed in 0.1 mph; VSS_OLD the previous sample
//   VSSFRQ     speed-sensor frequency in 4 Hz steps (about 1 mph = 1.11 Hz), 0-255
//   ECT        coolant temperature in degrees C + 40; TOT oil temperature in degrees C + 40
//   VBATX      battery voltage in 1/16 V (14.0 V = 224); VREF the 5 V reference in 1/16 V (80)
//   CCLUTCH    1 while the converter clutch is applied
//   MLPS       line pressure duty 0-255, rising with throttle
//   SOLPATN1   shift solenoid pattern of the current gear (bit 0 = A, bit 1 = B)
struct DriveState {
    std::uint8_t tps = 0;
    std::uint8_t gear = 1;
    std::uint8_t old_gear = 1;
    std::uint16_t speed_tenths_mph = 0;
    std::uint16_t previous_speed_tenths_mph = 0;
    std::uint8_t vss_frequency = 0;
    std::uint8_t ect = 0;
    std::uint8_t tot = 0;
    std::uint8_t vbatx = 0;
    std::uint8_t vref = 80;
    std::uint8_t converter_clutch = 0;
    std::uint8_t line_pressure = 0;
    std::uint8_t solenoid_pattern = 0;
};

// Length of one drive loop in milliseconds.
inline constexpr std::uint64_t kDriveCycleMs = 60000;

class ShiftSchedule;

// The state at `ms` milliseconds after the controller was powered up. With a schedule the gears
// change where its curves say; without, at the drive's own fixed speeds.
DriveState DriveAt(std::uint64_t ms, const ShiftSchedule* schedule = nullptr);

// RAM addresses of the variables above.
namespace ram {
inline constexpr std::uint16_t kTps = 44;
inline constexpr std::uint16_t kGear = 47;
inline constexpr std::uint16_t kOldGear = 48;
inline constexpr std::uint16_t kVssNewH = 49;
inline constexpr std::uint16_t kVssNewL = 50;
inline constexpr std::uint16_t kVssOldH = 51;
inline constexpr std::uint16_t kVssOldL = 52;
inline constexpr std::uint16_t kErrFlag = 53;
inline constexpr std::uint16_t kConverterClutch = 54;
inline constexpr std::uint16_t kCommandedGear = 57;
inline constexpr std::uint16_t kEepromPage = 68;   // MEHIADR: page select and write-enable codes
inline constexpr std::uint16_t kTableWritten = 69;  // EEHIADR: written by the tool after a table write
inline constexpr std::uint16_t kVssFrequency = 82;
inline constexpr std::uint16_t kBaseTps = 95;
inline constexpr std::uint16_t kSolenoidPattern1 = 120;
inline constexpr std::uint16_t kLinePressure = 123;
inline constexpr std::uint16_t kEct = 124;
inline constexpr std::uint16_t kTot = 160;
inline constexpr std::uint16_t kVref = 161;
inline constexpr std::uint16_t kVbatx = 162;
inline constexpr std::uint16_t kFlashTableWritten = 0x1045;  // written after a flash table write
}  // namespace ram

}  // namespace korvath::sim

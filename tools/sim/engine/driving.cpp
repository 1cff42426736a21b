#include "engine/driving.h"

#include <algorithm>
#include <cmath>

#include "engine/shift_schedule.h"

namespace korvath::sim {
namespace {

// Phases of the loop, in ms from its start.
constexpr double kPullAway = 4000;
constexpr double kCruise = 26000;
constexpr double kCoast = 38000;
constexpr double kStopped = 56000;
constexpr double kTopMph = 62.0;
constexpr double kCruiseMph = 60.0;

enum class Phase { Idle, Accelerate, Cruise, Coast };

struct Moment {
    Phase phase;
    double mph;
    double throttle;  // 0..1
};

Moment MomentAt(double t) {
    if (t < kPullAway) return {Phase::Idle, 0.0, 0.0};
    if (t < kCruise) {
        double u = (t - kPullAway) / (kCruise - kPullAway);
        double mph = kTopMph * (1.0 - (1.0 - u) * (1.0 - u));
        double throttle = 0.58 + 0.06 * std::sin(t / 700.0);
        return {Phase::Accelerate, mph, throttle};
    }
    if (t < kCoast) {
        double u = (t - kCruise) / (kCoast - kCruise);
        double mph = kTopMph + (kCruiseMph - kTopMph) * std::sin(u * 3.14159265358979 / 2.0);
        double throttle = 0.22 + 0.03 * std::sin(t / 1100.0);
        return {Phase::Cruise, mph, throttle};
    }
    if (t < kStopped) {
        double u = (t - kCoast) / (kStopped - kCoast);
        double mph = kCruiseMph * std::pow(1.0 - u, 1.3);
        return {Phase::Coast, mph, 0.0};
    }
    return {Phase::Idle, 0.0, 0.0};
}

struct Gears {
    int gear, old_gear;
};

// The gears under a schedule at `t` ms into the loop: the car starts the loop in first and the
// curves are applied every step since, so that a gear holds between its up and down curves as a
// transmission's does, while the state stays a function of the time alone.
constexpr double kShiftStepMs = 100;

Gears ScheduledGears(const ShiftSchedule& schedule, double t) {
    Gears g{1, 2};
    for (double at = 0;; at = std::min(at + kShiftStepMs, t)) {
        const Moment m = MomentAt(at);
        const int next = schedule.GearAt(g.gear, m.mph, m.throttle);
        if (next != g.gear) g = {next, g.gear};
        if (at >= t) return g;
    }
}

int GearFor(const Moment& m) {
    switch (m.phase) {
        case Phase::Idle: return 1;
        case Phase::Accelerate: return m.mph < 14 ? 1 : m.mph < 28 ? 2 : m.mph < 44 ? 3 : 4;
        case Phase::Cruise: return 4;
        case Phase::Coast: return m.mph >= 30 ? 4 : m.mph >= 18 ? 3 : m.mph >= 8 ? 2 : 1;
    }
    return 1;
}

int OldGearFor(const Moment& m, int gear) {
    switch (m.phase) {
        case Phase::Idle: return 2;  // the last shift of the previous loop was 2-1
        case Phase::Accelerate: return std::max(1, gear - 1);
        case Phase::Cruise: return 3;
        case Phase::Coast: return gear == 4 ? 3 : gear + 1;
    }
    return 1;
}

std::uint8_t Byte(double value) {
    return static_cast<std::uint8_t>(std::clamp(value + 0.5, 0.0, 255.0));
}

std::uint16_t Tenths(double mph) {
    return static_cast<std::uint16_t>(std::clamp(mph * 10.0 + 0.5, 0.0, 65535.0));
}

}  // namespace

DriveState DriveAt(std::uint64_t ms, const ShiftSchedule* schedule) {
    const double t = static_cast<double>(ms % kDriveCycleMs);
    const double since_power_up = static_cast<double>(ms);
    Moment now = MomentAt(t);
    Moment before = MomentAt(t >= 100 ? t - 100 : t);

    DriveState s;
    s.tps = Byte(now.throttle * 255.0);
    if (schedule) {
        const Gears g = ScheduledGears(*schedule, t);
        s.gear = static_cast<std::uint8_t>(g.gear);
        s.old_gear = static_cast<std::uint8_t>(g.old_gear);
    } else {
        s.gear = static_cast<std::uint8_t>(GearFor(now));
        s.old_gear = static_cast<std::uint8_t>(OldGearFor(now, s.gear));
    }
    s.speed_tenths_mph = Tenths(now.mph);
    s.previous_speed_tenths_mph = Tenths(before.mph);
    s.vss_frequency = Byte(now.mph * 1.11 / 4.0);

    // Warm-up from 20 C: the coolant within a few minutes, the oil more slowly and with load.
    double ect_c = 20.0 + 68.0 * (1.0 - std::exp(-since_power_up / 90000.0));
    double tot_c = 20.0 + 62.0 * (1.0 - std::exp(-since_power_up / 240000.0)) + 6.0 * now.throttle;
    s.ect = Byte(ect_c + 40.0);
    s.tot = Byte(tot_c + 40.0);

    double volts = (now.phase == Phase::Idle ? 13.8 : 14.1) + 0.05 * std::sin(since_power_up / 300.0);
    s.vbatx = Byte(volts * 16.0);
    s.vref = 80;

    s.converter_clutch = (s.gear == 4 && now.mph > 45 && now.throttle < 0.4) ? 1 : 0;
    s.line_pressure = Byte(40.0 + now.throttle * 150.0);
    static constexpr std::uint8_t kPatterns[] = {0, 0x01, 0x03, 0x02, 0x00};
    s.solenoid_pattern = kPatterns[s.gear];
    return s;
}

}  // namespace korvath::sim

#include "app/deadline_timer.h"

#include <sys/timerfd.h>
#include <time.h>
#include <unistd.h>

namespace korvath::sim::app {

std::uint64_t MonotonicNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<std::uint64_t>(t.tv_sec) * 1'000'000'000ull + static_cast<std::uint64_t>(t.tv_nsec);
}

DeadlineTimer::DeadlineTimer() : fd_(timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC)) {}

DeadlineTimer::~DeadlineTimer() {
    if (fd_ >= 0) ::close(fd_);
}

void DeadlineTimer::ArmAt(std::uint64_t monotonic_ns) {
    itimerspec deadline{};
    // A zero value would disarm: the earliest deadline is one nanosecond.
    const std::uint64_t at = monotonic_ns == 0 ? 1 : monotonic_ns;
    deadline.it_value.tv_sec = static_cast<time_t>(at / 1'000'000'000ull);
    deadline.it_value.tv_nsec = static_cast<long>(at % 1'000'000'000ull);
    timerfd_settime(fd_, TFD_TIMER_ABSTIME, &deadline, nullptr);
}

void DeadlineTimer::Disarm() {
    itimerspec deadline{};
    timerfd_settime(fd_, 0, &deadline, nullptr);
}

void DeadlineTimer::Clear() {
    std::uint64_t expirations = 0;
    (void)::read(fd_, &expirations, sizeof expirations);
}

}  // namespace korvath::sim::app

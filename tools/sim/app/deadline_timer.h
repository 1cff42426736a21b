#pragma once
// A wake-up at an absolute time of CLOCK_MONOTONIC, as a file descriptor to poll with the port:
// the line's character times then do not drift by the time spent between reading the clock and
// going to sleep, as a relative time-out would.

#include <cstdint>

namespace korvath::sim::app {

// Nanoseconds of CLOCK_MONOTONIC.
std::uint64_t MonotonicNs();

class DeadlineTimer {
public:
    DeadlineTimer();
    ~DeadlineTimer();
    DeadlineTimer(const DeadlineTimer&) = delete;
    DeadlineTimer& operator=(const DeadlineTimer&) = delete;

    bool ok() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    // Readable from the deadline on (at once when it has passed).
    void ArmAt(std::uint64_t monotonic_ns);
    void Disarm();
    // Takes the expiry, so that the descriptor is no longer readable.
    void Clear();

private:
    int fd_ = -1;
};

}  // namespace korvath::sim::app

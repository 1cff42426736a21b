#pragma once
// A serial device opened raw with POSIX termios: 8N1, no flow control, DTR and RTS held
// inactive, exclusive use, and reads bounded by an inter-byte and a total time-out.

#include <chrono>
#include <cstdint>
#include <string>

namespace korvath {

struct TtyTimeouts {
    unsigned readIntervalMs = 50;       // longest gap between two received bytes
    unsigned readTotalMultiplierMs = 5;  // per byte asked for
    unsigned readTotalConstantMs = 100;
    unsigned writeTotalMultiplierMs = 50;
    unsigned writeTotalConstantMs = 10;
};

class TtyDevice {
public:
    // Where an open failed: the open itself (with errno), or reading or applying the line settings.
    enum class OpenStage { None, Open, GetState, SetState };

    TtyDevice() = default;
    ~TtyDevice() { Close(); }
    TtyDevice(const TtyDevice&) = delete;
    TtyDevice& operator=(const TtyDevice&) = delete;

    // Opens path for exclusive use at the baud rate. On failure returns false and sets
    // failedStage and error (an errno value); EBUSY stands for "held by another program".
    bool Open(const std::string& path, int baud, OpenStage& failedStage, int& error);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

    // Reads up to n bytes; returns when n bytes arrived, when more than the interval passes
    // between two bytes, or when the total time-out (constant + multiplier * n) has passed.
    // The time-outs count from when the characters written before have left at the line's
    // speed, as they would after waiting for them. Zero bytes are dropped on the way in.
    std::int32_t Read(unsigned char* buffer, std::int32_t n);
    // Writes n bytes; returns the count written. It does not wait until they have left: every
    // character is answered by its echo, and a USB adapter's driver would otherwise poll its
    // transmitter (at a timer tick of up to 4 ms) for each one.
    std::int32_t Write(const unsigned char* data, std::int32_t n);
    // Drops everything received and not yet read; what was written still goes out first.
    bool Purge();

    void SetTimeouts(const TtyTimeouts& timeouts) { timeouts_ = timeouts; }

private:
    using Clock = std::chrono::steady_clock;

    int fd_ = -1;
    bool exclusive_ = false;
    TtyTimeouts timeouts_;
    Clock::duration characterTime_{};  // 10 bits at the baud rate
    Clock::time_point writtenLeaveBy_{};  // when everything written has left at the latest
};

}  // namespace korvath

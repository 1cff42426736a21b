#pragma once
// The communication trace as a text file: one line per burst (the bytes one direction carries
// before the other speaks), with the milliseconds since the trace began, ">" for bytes to the
// controller and "<" for bytes from it, and the bytes in hexadecimal; a line for each open,
// close and time-out. The file stops growing at kLimitBytes, says so in its last line and
// tells the owner.

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "comm/link_trace.h"

namespace korvath {

class TraceFile final : public LinkTrace {
public:
    static constexpr std::uintmax_t kLimitBytes = 10u * 1024u * 1024u;

    explicit TraceFile(std::uintmax_t limitBytes = kLimitBytes) : limit_(limitBytes) {}
    ~TraceFile() override { Stop(); }
    TraceFile(const TraceFile&) = delete;
    TraceFile& operator=(const TraceFile&) = delete;

    // Starts a trace into path (replacing the file); false with why when it cannot be written.
    bool Start(const std::string& path, std::string& why);
    // Writes what is pending and closes the file; nothing when no trace runs.
    void Stop();
    bool active() const { return file_ != nullptr; }
    const std::string& path() const { return path_; }
    // Called once when the trace stops because the file is full.
    void SetLimitHandler(std::function<void()> handler) { onLimit_ = std::move(handler); }

    void Opened(std::string_view device) override;
    void OpenFailed(std::string_view device, std::string_view why) override;
    void Closed() override;
    void Sent(const unsigned char* data, std::size_t n) override { Burst('>', data, n); }
    void Received(const unsigned char* data, std::size_t n) override { Burst('<', data, n); }
    void TimedOut(std::size_t asked, std::size_t got) override;

private:
    using Clock = std::chrono::steady_clock;

    void Burst(char direction, const unsigned char* data, std::size_t n);
    // Writes the burst under way as its line.
    void EndBurst();
    // "<ms> <text>" as one line, unless the limit stops the trace first.
    void Event(std::string_view text);
    void WriteLine(Clock::time_point at, std::string_view text);
    void Close();

    std::uintmax_t limit_;
    std::FILE* file_ = nullptr;
    std::string path_;
    Clock::time_point start_{};
    std::uintmax_t written_ = 0;
    char burstDirection_ = 0;  // 0: no burst under way
    Clock::time_point burstStart_{};
    std::string burst_;  // " 4D 30" ...
    std::string line_;
    std::function<void()> onLimit_;
};

}  // namespace korvath

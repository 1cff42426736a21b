#include "comm/trace_file.h"

#include <cerrno>
#include <cstring>
#include <ctime>

namespace korvath {
namespace {

constexpr char kHeaderFormat[] = "# communication trace, started %s; times in milliseconds since then\n";
constexpr char kLimitLine[] = "trace stopped: the file reached its size limit";
constexpr char kEndLine[] = "trace ended";
// The longest time stamp a line starts with, and the room kept for the limit's line.
constexpr std::size_t kStampRoom = 24;

std::string WallClockNow() {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &utc);
    return text;
}

// A line's text without line ends (an error text may hold several lines).
std::string OneLine(std::string_view text) {
    std::string line(text);
    for (char& c : line)
        if (c == '\n' || c == '\r') c = ' ';
    return line;
}

}  // namespace

bool TraceFile::Start(const std::string& path, std::string& why) {
    Stop();
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file) {
        why = std::strerror(errno);
        return false;
    }
    file_ = file;
    path_ = path;
    start_ = Clock::now();
    written_ = 0;
    burstDirection_ = 0;
    burst_.clear();
    char header[128];
    const int length = std::snprintf(header, sizeof header, kHeaderFormat, WallClockNow().c_str());
    if (length > 0) {
        std::fputs(header, file_);
        std::fflush(file_);
        written_ += static_cast<std::uintmax_t>(length);
    }
    return true;
}

void TraceFile::Stop() {
    if (!file_) return;
    EndBurst();
    Event(kEndLine);
    Close();
}

void TraceFile::Close() {
    if (!file_) return;
    std::fclose(file_);
    file_ = nullptr;
}

void TraceFile::Opened(std::string_view device) { Event("open " + OneLine(device)); }

void TraceFile::OpenFailed(std::string_view device, std::string_view why) {
    Event("open failed " + OneLine(device) + ": " + OneLine(why));
}

void TraceFile::Closed() { Event("close"); }

void TraceFile::TimedOut(std::size_t asked, std::size_t got) {
    Event("timeout after " + std::to_string(got) + " of " + std::to_string(asked) + " bytes");
}

void TraceFile::Burst(char direction, const unsigned char* data, std::size_t n) {
    if (!file_ || n == 0) return;
    if (direction != burstDirection_) {
        EndBurst();
        burstDirection_ = direction;
        burstStart_ = Clock::now();
    }
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::size_t at = burst_.size();
    burst_.resize(at + 3 * n);
    char* out = burst_.data() + at;
    for (std::size_t i = 0; i < n; ++i) {
        *out++ = ' ';
        *out++ = kHex[data[i] >> 4];
        *out++ = kHex[data[i] & 0x0F];
    }
}

void TraceFile::EndBurst() {
    if (burstDirection_ == 0) return;
    line_.clear();
    line_.push_back(burstDirection_);
    line_.append(burst_);
    burstDirection_ = 0;
    burst_.clear();
    WriteLine(burstStart_, line_);
}

void TraceFile::Event(std::string_view text) {
    if (!file_) return;
    EndBurst();
    WriteLine(Clock::now(), text);
}

void TraceFile::WriteLine(Clock::time_point at, std::string_view text) {
    if (!file_) return;
    const double ms = std::chrono::duration<double, std::milli>(at - start_).count();
    char stamp[kStampRoom];
    int length = std::snprintf(stamp, sizeof stamp, "%10.3f ", ms);
    if (length < 0) length = 0;
    const std::size_t stampLength = static_cast<std::size_t>(length) < sizeof stamp ? static_cast<std::size_t>(length) : sizeof stamp - 1;
    const std::uintmax_t lineSize = stampLength + text.size() + 1;
    // The limit's own line always fits: the trace stops before a line would crowd it out.
    const std::uintmax_t reserve = kStampRoom + sizeof kLimitLine;
    if (written_ + lineSize + reserve > limit_) {
        std::fprintf(file_, "%10.3f %s\n", ms, kLimitLine);
        Close();
        if (onLimit_) onLimit_();
        return;
    }
    std::fwrite(stamp, 1, stampLength, file_);
    std::fwrite(text.data(), 1, text.size(), file_);
    std::fputc('\n', file_);
    // Every line is on disk at once: a trace is read while the program runs, or after it crashed.
    std::fflush(file_);
    written_ += lineSize;
}

}  // namespace korvath

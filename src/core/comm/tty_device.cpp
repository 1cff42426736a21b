#include "comm/tty_device.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <linux/serial.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace korvath {
namespace {

using Clock = std::chrono::steady_clock;

struct LineSpeed {
    int baud;
    speed_t code;
};

// A rate the table does not hold opens at 9600 baud, the controller's rate.
LineSpeed SpeedFor(int baud) {
    static constexpr LineSpeed kSpeeds[] = {{1200, B1200},   {2400, B2400},   {4800, B4800},    {9600, B9600},
                                            {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}};
    for (const LineSpeed& s : kSpeeds)
        if (s.baud == baud) return s;
    return {9600, B9600};
}

int MillisecondsUntil(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return 0;
    // Round up so that a wait never ends just before the deadline and spins.
    return static_cast<int>(left) + 1;
}

// USB serial adapters hold received bytes for their latency timer (16 ms on common chips)
// before passing them on, and every echo waits for that. Drivers that know low latency shorten
// it; a pseudo-terminal or a plain UART refuses the request, which changes nothing.
void RequestLowLatency(int fd) {
    serial_struct serial{};
    if (::ioctl(fd, TIOCGSERIAL, &serial) != 0) return;
    serial.flags |= ASYNC_LOW_LATENCY;
    (void)::ioctl(fd, TIOCSSERIAL, &serial);
}

}  // namespace

bool TtyDevice::Open(const std::string& path, int baud, OpenStage& failedStage, int& error) {
    Close();
    failedStage = OpenStage::None;
    error = 0;
    int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        failedStage = OpenStage::Open;
        error = errno;
        return false;
    }
    // One user at a time: an advisory lock that other serial programs honour, and the tty's
    // exclusive mode, which refuses further opens.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        failedStage = OpenStage::Open;
        error = EBUSY;
        ::close(fd);
        return false;
    }
    fd_ = fd;
    exclusive_ = ::ioctl(fd_, TIOCEXCL) == 0;

    termios settings{};
    if (::tcgetattr(fd_, &settings) != 0) {
        failedStage = OpenStage::GetState;
        error = errno;
        Close();
        return false;
    }
    ::cfmakeraw(&settings);
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS | HUPCL);
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | ISTRIP | IGNBRK | BRKINT | PARMRK);
    settings.c_cc[VMIN] = 0;
    settings.c_cc[VTIME] = 0;
    const LineSpeed speed = SpeedFor(baud);
    ::cfsetispeed(&settings, speed.code);
    ::cfsetospeed(&settings, speed.code);
    if (::tcsetattr(fd_, TCSANOW, &settings) != 0) {
        failedStage = OpenStage::SetState;
        error = errno;
        Close();
        return false;
    }
    // DTR and RTS held inactive; a pseudo-terminal has no modem lines, which is fine.
    int lines = TIOCM_DTR | TIOCM_RTS;
    (void)::ioctl(fd_, TIOCMBIC, &lines);
    RequestLowLatency(fd_);
    characterTime_ = std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(10'000'000'000LL / speed.baud));
    writtenLeaveBy_ = Clock::now();
    return true;
}

void TtyDevice::Close() {
    if (fd_ < 0) return;
    // The exclusive mode outlives this descriptor when another one stays open on the tty
    // (a simulator holding its own end), so it is cleared before closing.
    if (exclusive_) (void)::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
    exclusive_ = false;
}

std::int32_t TtyDevice::Read(unsigned char* buffer, std::int32_t n) {
    if (fd_ < 0 || n <= 0) return 0;
    const auto start = std::max(Clock::now(), writtenLeaveBy_);
    const auto total = start + std::chrono::milliseconds(timeouts_.readTotalConstantMs +
                                                          timeouts_.readTotalMultiplierMs * static_cast<unsigned>(n));
    const auto interval = std::chrono::milliseconds(timeouts_.readIntervalMs);
    std::int32_t count = 0;
    Clock::time_point lastByte{};
    while (count < n) {
        auto deadline = total;
        if (count > 0 && lastByte + interval < deadline) deadline = lastByte + interval;
        int wait = MillisecondsUntil(deadline);
        if (wait == 0) break;
        pollfd p{fd_, POLLIN, 0};
        int ready = ::poll(&p, 1, wait);
        if (ready < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (ready == 0) continue;  // the loop re-checks the deadlines
        unsigned char chunk[256];
        std::size_t want = static_cast<std::size_t>(n - count);
        if (want > sizeof chunk) want = sizeof chunk;
        ssize_t got = ::read(fd_, chunk, want);
        if (got < 0) {
            if (errno == EAGAIN || errno == EINTR) continue;
            break;  // the other side has gone (EIO on a pseudo-terminal)
        }
        if (got == 0) {
            if (p.revents & POLLHUP) break;
            continue;
        }
        bool any = false;
        for (ssize_t i = 0; i < got; ++i) {
            if (chunk[i] == 0) continue;  // the controller link never carries zero bytes
            buffer[count++] = chunk[i];
            any = true;
        }
        if (any) lastByte = Clock::now();
    }
    return count;
}

std::int32_t TtyDevice::Write(const unsigned char* data, std::int32_t n) {
    if (fd_ < 0 || n <= 0) return 0;
    const auto deadline =
        Clock::now() + std::chrono::milliseconds(timeouts_.writeTotalConstantMs +
                                                 timeouts_.writeTotalMultiplierMs * static_cast<unsigned>(n));
    std::int32_t sent = 0;
    while (sent < n) {
        ssize_t w = ::write(fd_, data + sent, static_cast<std::size_t>(n - sent));
        if (w > 0) {
            sent += static_cast<std::int32_t>(w);
            continue;
        }
        if (w < 0 && errno != EAGAIN && errno != EINTR) break;
        int wait = MillisecondsUntil(deadline);
        if (wait == 0) break;
        pollfd p{fd_, POLLOUT, 0};
        if (::poll(&p, 1, wait) < 0 && errno != EINTR) break;
    }
    if (sent > 0) writtenLeaveBy_ = std::max(Clock::now(), writtenLeaveBy_) + sent * characterTime_;
    return sent;
}

bool TtyDevice::Purge() {
    if (fd_ < 0) return false;
    if (Clock::now() < writtenLeaveBy_) (void)::tcdrain(fd_);
    return ::tcflush(fd_, TCIOFLUSH) == 0;
}

}  // namespace korvath

#pragma once
// A pseudo-terminal pair for transport tests: the test plays the controller on the master side.

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace korvath::test {

class PtyPair {
public:
    PtyPair() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return;
        const char* name = ptsname(master_);
        if (name) slavePath_ = name;
        termios t{};
        if (tcgetattr(master_, &t) == 0) {
            cfmakeraw(&t);
            tcsetattr(master_, TCSANOW, &t);
        }
    }
    ~PtyPair() {
        if (master_ >= 0) close(master_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0 && !slavePath_.empty(); }
    const std::string& slave() const { return slavePath_; }
    int master() const { return master_; }

    void Send(const std::string& bytes) const {
        std::size_t done = 0;
        while (done < bytes.size()) {
            ssize_t w = write(master_, bytes.data() + done, bytes.size() - done);
            if (w <= 0) return;
            done += static_cast<std::size_t>(w);
        }
    }
    // What the tool sent, waiting at most timeoutMs for the first byte.
    std::string Receive(int timeoutMs = 200) const {
        std::string got;
        pollfd p{master_, POLLIN, 0};
        while (poll(&p, 1, got.empty() ? timeoutMs : 20) > 0) {
            char buffer[256];
            ssize_t r = read(master_, buffer, sizeof buffer);
            if (r <= 0) break;
            got.append(buffer, static_cast<std::size_t>(r));
        }
        return got;
    }

private:
    int master_ = -1;
    std::string slavePath_;
};

inline long long ElapsedMs(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace korvath::test

// korvath-sim: a simulated transmission controller served on a pseudo-terminal.

#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "app/deadline_timer.h"
#include "app/options.h"
#include "app/pty_port.h"
#include "engine/controller.h"
#include "engine/line_pacer.h"
#include "engine/memory_files.h"

namespace {

using korvath::sim::Controller;
using korvath::sim::LinePacer;
using korvath::sim::app::Options;
using korvath::sim::app::PtyPort;

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
// While nobody has the port open the master reports a hang-up at once; look again this often.
constexpr std::uint64_t kClosedPollNs = 20'000'000;
constexpr const char* kPtyLineFormat = "PTY %s\n";

volatile sig_atomic_t g_stop = 0;

void OnStopSignal(int) { g_stop = 1; }

std::uint64_t NowNs(std::uint64_t start) { return korvath::sim::app::MonotonicNs() - start; }

bool LoadImages(const Options& options, Controller& controller) {
    for (int table = 0; table < 2; ++table) {
        std::vector<std::uint8_t> image;
        std::string error;
        if (!options.eeprom[table].empty()) {
            if (!korvath::sim::ReadImageFile(options.eeprom[table], Controller::kEepromTableSize, &image, &error) ||
                !controller.LoadEeprom(table, image)) {
                std::fprintf(stderr, "korvath-sim: EEPROM table #%d: %s\n", table + 1, error.c_str());
                return false;
            }
        }
        if (!options.flash_table[table].empty()) {
            if (!korvath::sim::ReadImageFile(options.flash_table[table], controller.Config().cal_nvm_page_size,
                                             &image, &error) ||
                !controller.LoadFlashTable(table, image)) {
                std::fprintf(stderr, "korvath-sim: flash table #%d: %s\n", table + 1, error.c_str());
                return false;
            }
        }
    }
    return true;
}

// Serves the controller on the pty until a stop signal, an unplug fault, or (when asked) until
// the port has stayed closed long enough after being used.
void Serve(const Options& options, PtyPort& port, Controller& controller) {
    LinePacer line(options.baud);
    std::vector<std::uint8_t> unwritten;  // transmitted by the line, not yet taken by the pty
    const std::uint64_t start = korvath::sim::app::MonotonicNs();
    // The default timer slack (50 us) would be added to nearly every character of a paced line.
    (void)prctl(PR_SET_TIMERSLACK, 1UL);
    korvath::sim::app::DeadlineTimer deadline;
    if (!deadline.ok()) {
        std::fprintf(stderr, "korvath-sim: timerfd: %s\n", std::strerror(errno));
        return;
    }
    bool closed = false;                  // the other side had the port open and closed it
    std::uint64_t closed_since = 0;
    const auto exit_after_ns = static_cast<std::uint64_t>(options.exit_when_closed * 1e9);

    sigset_t blocked, during_wait;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    sigprocmask(SIG_BLOCK, &blocked, &during_wait);
    sigdelset(&during_wait, SIGINT);
    sigdelset(&during_wait, SIGTERM);

    while (!g_stop) {
        std::uint64_t now = NowNs(start);
        // Each byte is taken at the time its last bit arrived, and the echo or answer it causes
        // leaves from then: a late wake-up must not delay the line.
        while (auto in = line.NextReceived(now)) {
            controller.SetTime(in->at / 1'000'000);
            controller.Receive(in->byte);
            if (controller.Unplugged()) return;
            line.Queue(controller.TakeOutput(), in->at);
        }
        controller.SetTime(now / 1'000'000);
        line.Queue(controller.TakeOutput(), now);
        auto sent = line.Transmitted(now);
        unwritten.insert(unwritten.end(), sent.begin(), sent.end());
        while (!unwritten.empty()) {
            ssize_t n = ::write(port.fd(), unwritten.data(), unwritten.size());
            if (n <= 0) break;
            unwritten.erase(unwritten.begin(), unwritten.begin() + n);
        }

        // How long to wait for the next thing to do.
        std::optional<std::uint64_t> wake = line.NextEvent();
        if (auto due = controller.NextOutputTime()) {
            std::uint64_t due_ns = *due * 1'000'000;
            wake = wake ? std::min(*wake, due_ns) : due_ns;
        }
        if (closed) wake = wake ? std::min(*wake, now + kClosedPollNs) : now + kClosedPollNs;
        // The wake-up is a deadline on the line's own clock, not a delay from now.
        if (wake)
            deadline.ArmAt(start + *wake);
        else
            deadline.Disarm();

        pollfd fds[2] = {{deadline.fd(), POLLIN, 0},
                         {port.fd(), static_cast<short>(POLLIN | (unwritten.empty() ? 0 : POLLOUT)), 0}};
        // While closed the master signals a hang-up at once, so only sleep, then look again.
        int ready = ppoll(fds, closed ? 1 : 2, nullptr, &during_wait);
        if (ready < 0 && errno != EINTR) {
            std::fprintf(stderr, "korvath-sim: poll: %s\n", std::strerror(errno));
            return;
        }
        if (fds[0].revents & POLLIN) deadline.Clear();
        pollfd& pfd = fds[1];
        if (closed) {
            pfd.revents = 0;
            if (poll(&pfd, 1, 0) < 0) continue;
        }
        now = NowNs(start);

        if (pfd.revents & POLLIN) {
            std::uint8_t buffer[512];
            ssize_t n;
            while ((n = ::read(port.fd(), buffer, sizeof buffer)) > 0) line.Arrive(buffer, static_cast<std::size_t>(n), now);
        }
        if (pfd.revents & (POLLHUP | POLLERR)) {
            if (!closed) {
                // The other side closed the port: the line drops, whatever was under way is lost.
                closed = true;
                closed_since = now;
                controller.ResetLink();
                line.Clear();
                unwritten.clear();
            } else if (exit_after_ns > 0 && now - closed_since >= exit_after_ns) {
                return;
            }
        } else if (closed && !(pfd.revents & POLLNVAL)) {
            closed = false;  // opened again
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    auto parsed = korvath::sim::app::ParseOptions(args, &error);
    if (!parsed) {
        std::fprintf(stderr, "korvath-sim: %s\nTry 'korvath-sim --help'.\n", error.c_str());
        return kExitUsage;
    }
    const Options& options = *parsed;
    if (options.help) {
        std::fputs(korvath::sim::app::UsageText().c_str(), stdout);
        return kExitOk;
    }

    Controller controller(options.controller);
    if (!LoadImages(options, controller)) return kExitFailure;

    struct sigaction action{};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    signal(SIGPIPE, SIG_IGN);

    PtyPort port;
    if (!port.Open(&error)) {
        std::fprintf(stderr, "korvath-sim: %s\n", error.c_str());
        return kExitFailure;
    }
    if (!options.link.empty() && !port.Link(options.link, &error)) {
        std::fprintf(stderr, "korvath-sim: %s\n", error.c_str());
        return kExitFailure;
    }
    std::printf(kPtyLineFormat, port.path().c_str());
    std::fflush(stdout);

    Serve(options, port, controller);
    port.Close();

    int status = kExitOk;
    if (!options.save_on_exit.empty() && !korvath::sim::SaveMemories(controller, options.save_on_exit, &error)) {
        std::fprintf(stderr, "korvath-sim: save on exit: %s\n", error.c_str());
        status = kExitFailure;
    }
    if (options.stats) std::fprintf(stderr, "%s\n", controller.StatsJson().c_str());
    return status;
}

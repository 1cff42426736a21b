#pragma once
// Runs korvath-sim for a test: starts the program, reads its "PTY <path>" line, and stops it
// (SIGTERM) when the test is done. Standard error is kept in a file for the --stats line.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace korvath::test {

inline std::string SimulatorPath() { return std::string(KORVATH_BIN_DIR) + "/korvath-sim"; }

class SimProcess {
public:
    // drive: the simulated car drives (otherwise its RAM stays still).
    explicit SimProcess(const std::vector<std::string>& options, bool drive = false) {
        errPath_ = std::filesystem::temp_directory_path() /
                   ("korvath-sim-err-" + std::to_string(getpid()) + "-" + std::to_string(++Counter()));
        int out[2];
        if (pipe(out) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            std::FILE* err = std::fopen(errPath_.c_str(), "w");
            if (err) dup2(fileno(err), STDERR_FILENO);
            close(out[0]);
            close(out[1]);
            std::vector<std::string> argv{SimulatorPath()};
            if (!drive) argv.push_back("--no-drive");
            argv.insert(argv.end(), options.begin(), options.end());
            std::vector<char*> raw;
            for (auto& a : argv) raw.push_back(a.data());
            raw.push_back(nullptr);
            execv(raw[0], raw.data());
            _exit(127);
        }
        close(out[1]);
        // The first line: "PTY <path>".
        std::string line;
        char c;
        while (read(out[0], &c, 1) == 1 && c != '\n') line.push_back(c);
        outFd_ = out[0];
        if (line.rfind("PTY ", 0) == 0) pty_ = line.substr(4);
    }
    ~SimProcess() {
        Stop();
        std::error_code ec;
        std::filesystem::remove(errPath_, ec);
    }
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const std::string& pty() const { return pty_; }

    // Stops the simulator and returns what it wrote on standard error (the --stats line).
    std::string Stop() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            int status = 0;
            waitpid(pid_, &status, 0);
            pid_ = -1;
        }
        if (outFd_ >= 0) close(outFd_);
        outFd_ = -1;
        std::ifstream in(errPath_);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

private:
    static int& Counter() {
        static int n = 0;
        return n;
    }
    pid_t pid_ = -1;
    int outFd_ = -1;
    std::string pty_;
    std::filesystem::path errPath_;
};

}  // namespace korvath::test

#pragma once
// Runs a program of the build through the shell and keeps its exit status and output.

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "support/recording_host.h"

namespace korvath::testing {

struct CommandResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// `arguments` is appended to the program path as shell text; KORVATH_HOME and KORVATH_SETTINGS
// point into `home` so that no user settings are read or written.
inline CommandResult RunProgram(const std::string& program, const std::string& arguments, const TempDir& home) {
    const std::string errFile = home.File("stderr.txt");
    const std::string command = "KORVATH_HOME='" + std::string(KORVATH_BIN_DIR) + "' KORVATH_SETTINGS='" +
                                home.File("test.INI") + "' '" + std::string(KORVATH_BIN_DIR) + "/" + program + "' " +
                                arguments + " 2>'" + errFile + "' </dev/null";
    CommandResult result;
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
        const int status = ::pclose(pipe);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::ifstream err(errFile);
    std::stringstream s;
    s << err.rdbuf();
    result.err = s.str();
    return result;
}

// As RunProgram, with standard error on a pseudo-terminal (raw: line feeds stay as they are);
// err is what the terminal received.
inline CommandResult RunProgramOnTerminal(const std::string& program, const std::string& arguments,
                                          const TempDir& home) {
    CommandResult result;
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) return result;
    const std::string slave = ::ptsname(master);
    termios raw{};
    ::tcgetattr(master, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(master, TCSANOW, &raw);
    const std::string command = "KORVATH_HOME='" + std::string(KORVATH_BIN_DIR) + "' KORVATH_SETTINGS='" +
                                home.File("test.INI") + "' '" + std::string(KORVATH_BIN_DIR) + "/" + program + "' " +
                                arguments + " 2>'" + slave + "' </dev/null";
    if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
        const int status = ::pclose(pipe);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    // Everything the program wrote is waiting on the master side.
    pollfd ready{master, POLLIN, 0};
    char buffer[4096];
    while (::poll(&ready, 1, 0) > 0 && (ready.revents & POLLIN)) {
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n <= 0) break;
        result.err.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(master);
    return result;
}

}  // namespace korvath::testing

#pragma once
// Runs a program of the build through the shell and keeps its exit status and output.

#include <sys/wait.h>

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

}  // namespace korvath::testing

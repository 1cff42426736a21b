#pragma once
// Subcommands of korvath-cli register themselves here, one file per subcommand, so that
// adding a command touches no other file.

#include <string>
#include <vector>

namespace korvath::cli {

struct GlobalOptions {
    std::string home;      // --home DIR: the program directory
    std::string settings;  // --settings FILE: the INI file
    bool verbose = false;  // --verbose: status texts on standard error
    std::string trace;     // --trace FILE: the communication trace of the command
    std::string command;   // the subcommand that runs, for the lines it prints
};

// Exit status of a subcommand.
inline constexpr int kSuccess = 0;
inline constexpr int kFailure = 1;
inline constexpr int kUsageError = 2;

struct Command {
    const char* name;
    const char* usage;  // one line: arguments and options
    const char* summary;
    int (*run)(const GlobalOptions& options, const std::vector<std::string>& args);
};

// Keeps the command for the dispatcher; use through a static CommandRegistration.
void RegisterCommand(const Command& command);
const std::vector<Command>& Commands();

struct CommandRegistration {
    explicit CommandRegistration(const Command& command) { RegisterCommand(command); }
};

// Prints "usage: korvath-cli <usage>" to standard error and returns kUsageError.
int UsageError(const Command& command, const std::string& why);

}  // namespace korvath::cli

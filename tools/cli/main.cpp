// korvath-cli: the tuning system's core driven from the command line for workshop scripts.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cli_command.h"
#include "cli_link.h"
#include "comm/trace_file.h"

namespace korvath::cli {

namespace {
std::vector<Command>& Registry() {
    static std::vector<Command> commands;
    return commands;
}
}  // namespace

void RegisterCommand(const Command& command) { Registry().push_back(command); }
const std::vector<Command>& Commands() { return Registry(); }

int UsageError(const Command& command, const std::string& why) {
    if (!why.empty()) std::fprintf(stderr, "korvath-cli %s: %s\n", command.name, why.c_str());
    std::fprintf(stderr, "usage: korvath-cli [--home DIR] [--settings FILE] %s %s\n", command.name, command.usage);
    return kUsageError;
}

}  // namespace korvath::cli

namespace {

void PrintHelp(std::FILE* out) {
    std::fprintf(out,
                 "usage: korvath-cli [--home DIR] [--settings FILE] [--verbose] [--trace FILE] COMMAND [ARGS]\n\n"
                 "Global options:\n"
                 "  --home DIR       program directory (holds the PID<n>/<fw> definition folders)\n"
                 "  --settings FILE  settings file (INI)\n"
                 "  --verbose        print status texts on standard error\n"
                 "  --trace FILE     write every exchange with the controller to FILE\n\n"
                 "Commands:\n");
    for (const auto& c : korvath::cli::Commands())
        std::fprintf(out, "  %-12s %s\n  %-12s   %s %s\n", c.name, c.summary, "", c.name, c.usage);
    std::fprintf(out, "\nExit status: 0 success, 1 the operation failed, 2 usage error.\n");
}

// The first argument that looks like an option ("--name") but is none of the command's: the
// options a command takes are the "--name" words of its usage line.
std::string UnknownOption(const korvath::cli::Command& command, const std::vector<std::string>& args) {
    const std::string_view usage = command.usage;
    for (const auto& a : args) {
        if (!a.starts_with("--")) continue;
        bool known = false;
        for (std::size_t at = usage.find(a); at != std::string_view::npos && !known; at = usage.find(a, at + 1)) {
            const std::size_t end = at + a.size();
            known = (at == 0 || usage[at - 1] == ' ' || usage[at - 1] == '[') &&
                    (end == usage.size() || usage[end] == ' ' || usage[end] == ']');
        }
        if (!known) return a;
    }
    return {};
}

}  // namespace

int main(int argc, char** argv) {
    using namespace korvath::cli;
    GlobalOptions options;
    int i = 1;
    for (; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--help" || a == "-h") {
            PrintHelp(stdout);
            return kSuccess;
        } else if ((a == "--home" || a == "--settings") && i + 1 < argc) {
            (a == "--home" ? options.home : options.settings) = argv[++i];
        } else if (a == "--verbose") {
            options.verbose = true;
        } else if (a == "--trace" && i + 1 < argc) {
            options.trace = argv[++i];
        } else if (!a.empty() && a[0] == '-') {
            std::fprintf(stderr, "korvath-cli: unknown option %s\n", a.c_str());
            PrintHelp(stderr);
            return kUsageError;
        } else {
            break;
        }
    }
    if (i >= argc) {
        PrintHelp(stderr);
        return kUsageError;
    }
    // The core looks these up itself, as the GUI's core does.
    if (!options.home.empty()) setenv("KORVATH_HOME", options.home.c_str(), 1);
    if (!options.settings.empty()) setenv("KORVATH_SETTINGS", options.settings.c_str(), 1);

    korvath::TraceFile trace;
    if (!options.trace.empty()) {
        std::string why;
        if (!trace.Start(options.trace, why)) {
            std::fprintf(stderr, "korvath-cli: cannot write the trace %s: %s\n", options.trace.c_str(), why.c_str());
            return kFailure;
        }
        trace.SetLimitHandler([&options] {
            std::fprintf(stderr, "korvath-cli: the trace %s reached 10 MiB and stopped\n", options.trace.c_str());
        });
        SetCommandTrace(&trace);
    }

    std::string name = argv[i];
    std::vector<std::string> args(argv + i + 1, argv + argc);
    for (const auto& c : Commands()) {
        if (name == c.name) {
            for (const auto& a : args)
                if (a == "--help") {
                    std::printf("usage: korvath-cli %s %s\n%s\n", c.name, c.usage, c.summary);
                    return kSuccess;
                }
            if (const std::string unknown = UnknownOption(c, args); !unknown.empty())
                return UsageError(c, "unknown option " + unknown);
            options.command = c.name;
            const int status = c.run(options, args);
            SetCommandTrace(nullptr);
            trace.Stop();
            return status;
        }
    }
    std::fprintf(stderr, "korvath-cli: unknown command %s\n", name.c_str());
    PrintHelp(stderr);
    return kUsageError;
}

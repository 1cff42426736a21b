// korvath-cli get FILE NAME...

#include <cstdio>
#include <string>
#include <vector>

#include "cli_calibration.h"
#include "cli_command.h"
#include "cli_json.h"
#include "calibration/calibration_values.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"get", "FILE NAME...",
                       "print declared variables and trace points (trace.N[i], store units) of a calibration as JSON",
                       &Run};
const CommandRegistration kRegistration{kCommand};

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    if (args.size() < 2) return UsageError(kCommand, "a calibration file and at least one name expected");
    for (const auto& a : args)
        if (a.starts_with("--")) return UsageError(kCommand, "unknown option " + a);
    CalibrationSession session(options);
    if (!session.Open(args[0])) return kFailure;
    nlohmann::ordered_json out = nlohmann::ordered_json::object();
    for (std::size_t i = 1; i < args.size(); ++i) {
        DiffValue value;
        std::string error;
        if (!GetCalibrationValue(session.doc(), args[i], value, error)) {
            std::fprintf(stderr, "korvath-cli get: %s\n", error.c_str());
            return kFailure;
        }
        out[args[i]] = DiffValueJson(value);
    }
    PrintJson(out);
    return kSuccess;
}

}  // namespace
}  // namespace korvath::cli

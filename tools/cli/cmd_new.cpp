// korvath-cli new OUT.qvr

#include <cstdio>
#include <string>
#include <vector>

#include "cli_calibration.h"
#include "cli_command.h"
#include "calibration/calibration_file.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"new", "OUT.qvr", "save the calibration that File New makes (on generic.init of the "
                                         "remembered controller) as OUT.qvr", &Run};
const CommandRegistration kRegistration{kCommand};

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    if (args.size() != 1 || args[0].starts_with("--")) return UsageError(kCommand, "one output file expected");
    CalibrationSession session(options);
    // The document starts as a new calibration, as File New leaves it.
    return SaveCalibrationFile(session.doc(), args[0]) ? kSuccess : kFailure;
}

}  // namespace
}  // namespace korvath::cli

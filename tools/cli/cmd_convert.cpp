// korvath-cli convert IN OUT.qvr

#include <string>
#include <vector>

#include "cli_calibration.h"
#include "cli_command.h"
#include "calibration/calibration_file.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"convert", "IN OUT.qvr",
                       "open IN (a calibration of either format) as File Open does and save it as OUT.qvr", &Run};
const CommandRegistration kRegistration{kCommand};

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    if (args.size() != 2 || args[0].starts_with("--") || args[1].starts_with("--"))
        return UsageError(kCommand, "an input and an output file expected");
    CalibrationSession session(options);
    if (!session.Open(args[0])) return kFailure;
    return SaveCalibrationFile(session.doc(), args[1]) ? kSuccess : kFailure;
}

}  // namespace
}  // namespace korvath::cli

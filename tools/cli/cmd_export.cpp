// korvath-cli export FILE --csv [OUT]

#include <cstdio>
#include <string>
#include <vector>

#include "cli_calibration.h"
#include "cli_command.h"
#include "calibration/curve_export.h"
#include "platform/atomic_file.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"export", "FILE --csv [OUT]",
                       "every bound trace (ten points in display units, with its name) and every scalar variable "
                       "as CSV, to OUT or standard output",
                       &Run};
const CommandRegistration kRegistration{kCommand};

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    std::vector<std::string> positional;
    bool csv = false;
    for (const auto& a : args) {
        if (a == "--csv")
            csv = true;
        else if (a.starts_with("--"))
            return UsageError(kCommand, "unknown option " + a);
        else
            positional.push_back(a);
    }
    if (!csv) return UsageError(kCommand, "--csv is the one format");
    if (positional.empty() || positional.size() > 2) return UsageError(kCommand, "a calibration file expected");
    CalibrationSession session(options);
    if (!session.Open(positional[0])) return kFailure;
    const std::string text = ExportCsv(ExportRows(session.doc()));
    if (positional.size() == 1) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        return kSuccess;
    }
    std::string why;
    if (!WriteFileAtomically(positional[1], text, &why)) {
        std::fprintf(stderr, "korvath-cli export: cannot write %s\n", why.c_str());
        return kFailure;
    }
    return kSuccess;
}

}  // namespace
}  // namespace korvath::cli

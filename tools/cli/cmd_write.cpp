// korvath-cli write FILE [--table 1|2] [--backup] [--port N | --device PATH]

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_link.h"
#include "cli_calibration.h"
#include "cli_restore_points.h"
#include "cli_transfer.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"write", "FILE [--table 1|2] [--backup] [--port N | --device PATH]",
                       "write FILE's calibration into a table of the controller (the file's own table unless "
                       "--table names one); --backup reads a flash table first to keep it as a restore point",
                       &Run};
const CommandRegistration kRegistration{kCommand};

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    LinkOptions link;
    int table = 0;
    std::string why;
    if (!TakeLinkOptions(rest, link, why) || !TakeTableOption(rest, table, why)) return UsageError(kCommand, why);
    const bool backup = TakeFlag(rest, "--backup");
    if (rest.size() != 1 || rest[0].starts_with("--")) return UsageError(kCommand, "one calibration file is needed");

    CalibrationSession session(options, &link);
    CQRNDoc& doc = session.doc();
    if (!session.Open(rest[0])) {
        std::fprintf(stderr, "korvath-cli write: cannot open %s\n", rest[0].c_str());
        return kFailure;
    }
    if (table != 0) doc.OnSelectTable(table - 1);
    CliRestorePoints restorePoints(doc);
    doc.SetReadFlashTableBeforeWriting(backup);
    return doc.TransferCalibration(1) ? kSuccess : kFailure;
}

}  // namespace
}  // namespace korvath::cli

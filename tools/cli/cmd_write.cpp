// korvath-cli write FILE [--table 1|2] [--backup] [--force] [--port N | --device PATH]

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_link.h"
#include "cli_calibration.h"
#include "cli_restore_points.h"
#include "cli_transfer.h"
#include "cli_write_check.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"write", "FILE [--table 1|2] [--backup] [--force] [--port N | --device PATH]",
                       "write FILE's calibration into a table of the controller (the file's own table unless "
                       "--table names one); --backup reads a flash table first to keep it as a restore point; "
                       "what the check before the write finds refuses the write unless --force",
                       &Run};
const CommandRegistration kRegistration{kCommand};

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    TransferArguments taken;
    std::string why;
    if (!TakeTransferArguments(args, taken, why)) return UsageError(kCommand, why);
    std::vector<std::string>& rest = taken.rest;
    const bool backup = TakeFlag(rest, "--backup");
    const bool force = TakeFlag(rest, "--force");
    if (rest.size() != 1 || rest[0].starts_with("--")) return UsageError(kCommand, "one calibration file is needed");

    CalibrationSession session(options, &taken.link);
    CQRNDoc& doc = session.doc();
    if (!session.Open(rest[0])) {
        std::fprintf(stderr, "korvath-cli write: cannot open %s\n", rest[0].c_str());
        return kFailure;
    }
    if (taken.table != 0) doc.OnSelectTable(taken.table - 1);
    CliRestorePoints restorePoints(doc);
    // A write that could keep no restore point stops before anything is sent, the check's reads
    // included.
    if (!restorePoints.CheckRoom(doc)) return kFailure;
    if (const auto findings = CheckBeforeWrite(doc); !findings.empty() && !force) {
        std::fprintf(stderr, "korvath-cli write: the check before the write found:\n");
        for (const auto& f : findings) std::fprintf(stderr, "  %s\n", f.c_str());
        std::fprintf(stderr, "Nothing was written (--force writes anyway).\n");
        return kFailure;
    }
    doc.SetReadFlashTableBeforeWriting(backup);
    return doc.TransferCalibration(1) ? kSuccess : kFailure;
}

}  // namespace
}  // namespace korvath::cli

// korvath-cli read OUT.qvr [--from FILE] [--table 1|2] [--choose N] [--port N | --device PATH]

#include <cstdio>
#include <string>
#include <vector>

#include "cli_command.h"
#include "cli_link.h"
#include "cli_calibration.h"
#include "cli_restore_points.h"
#include "cli_transfer.h"
#include "calibration/calibration_file.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"read", "OUT.qvr [--from FILE] [--table 1|2] [--choose N] [--port N | --device PATH]",
                       "read a calibration table from the controller into FILE's calibration (or a new one) and "
                       "save it (--choose: the entry of the transmission list when several match)",
                       &Run};
const CommandRegistration kRegistration{kCommand};

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    std::vector<std::string> rest = args;
    LinkOptions link;
    int table = 0, choice = 0;
    std::string from, why;
    bool fromGiven = false;
    if (!TakeLinkOptions(rest, link, why) || !TakeTableOption(rest, table, why) || !TakeChooseOption(rest, choice, why))
        return UsageError(kCommand, why);
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == "--from" && i + 1 < rest.size() && !fromGiven) {
            from = rest[i + 1];
            fromGiven = true;
            rest.erase(rest.begin() + static_cast<std::ptrdiff_t>(i), rest.begin() + static_cast<std::ptrdiff_t>(i) + 2);
            break;
        }
    }
    if (rest.size() != 1 || rest[0].starts_with("--")) return UsageError(kCommand, "one output file is needed");

    CalibrationSession session(options, &link);
    CQRNDoc& doc = session.doc();
    OptionChooser chooser(choice);
    doc.SetReadbackChooser(&chooser);
    if (fromGiven && !session.Open(from)) {
        std::fprintf(stderr, "korvath-cli read: cannot open %s\n", from.c_str());
        return kFailure;
    }
    if (table != 0) doc.OnSelectTable(table - 1);
    CliRestorePoints restorePoints(doc);
    const bool read = doc.TransferCalibration(0);
    // A choice outside the list offered takes in nothing: no calibration is saved.
    if (!chooser.refusal().empty()) return UsageError(kCommand, chooser.refusal());
    if (!read) return kFailure;
    if (!SaveCalibrationFile(doc, rest[0])) {
        std::fprintf(stderr, "korvath-cli read: cannot write %s\n", rest[0].c_str());
        return kFailure;
    }
    return kSuccess;
}

}  // namespace
}  // namespace korvath::cli

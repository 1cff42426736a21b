// korvath-cli restore ID [--table 1|2] [--port N | --device PATH]

#include <cstdio>
#include <string>
#include <vector>

#include "cli_calibration.h"
#include "cli_command.h"
#include "cli_link.h"
#include "cli_restore_points.h"
#include "cli_transfer.h"

namespace korvath::cli {
namespace {

int Run(const GlobalOptions& options, const std::vector<std::string>& args);

const Command kCommand{"restore", "ID [--table 1|2] [--port N | --device PATH]",
                       "write restore point ID back into the controller (its own table unless --table names one), "
                       "keeping a restore point of what it overwrites",
                       &Run};
const CommandRegistration kRegistration{kCommand};

int Run(const GlobalOptions& options, const std::vector<std::string>& args) {
    TransferArguments taken;
    std::string why;
    if (!TakeTransferArguments(args, taken, why)) return UsageError(kCommand, why);
    std::vector<std::string>& rest = taken.rest;
    if (rest.size() != 1 || rest[0].starts_with("--")) return UsageError(kCommand, "one restore point id is needed");

    CalibrationSession session(options, &taken.link);
    CQRNDoc& doc = session.doc();
    CliRestorePoints restorePoints(doc);
    const auto point = restorePoints.store().Find(rest[0]);
    if (!point) {
        std::fprintf(stderr, "korvath-cli restore: no restore point %s in %s (korvath-cli restore-points lists them)\n",
                     rest[0].c_str(), restorePoints.store().directory().c_str());
        return kFailure;
    }
    if (!session.Open(point->path)) {
        std::fprintf(stderr, "korvath-cli restore: cannot open %s\n", point->path.c_str());
        return kFailure;
    }
    if (!point->complete()) {
        // Of an EEPROM table the bytes it knows are written and the rest left as it is; a flash
        // table is burnt in whole blocks, so an incomplete one is not written.
        if (doc.layout().NVMType != 0 || point->knownBytes == 0) {
            std::fprintf(stderr, "korvath-cli restore: restore point %s is incomplete (%zu of %zu bytes known)\n",
                         point->id.c_str(), point->knownBytes, point->image.size());
            return kFailure;
        }
        std::fprintf(stderr, "korvath-cli restore: restore point %s knows the first %zu of %zu bytes; only those "
                     "are written\n", point->id.c_str(), point->knownBytes, point->image.size());
    }
    doc.OnSelectTable((taken.table != 0 ? taken.table : point->table) - 1);
    doc.SetImageToWrite(point->image, point->knownBytes);
    return doc.TransferCalibration(1) ? kSuccess : kFailure;
}

}  // namespace
}  // namespace korvath::cli

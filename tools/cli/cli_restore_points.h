#pragma once
// The restore points the transfer subcommands (read, write, restore) keep: each one made is
// named on standard error as "restore point: PATH".

#include "calibration/restore_points.h"
#include "document/qrndoc.h"

namespace korvath::cli {

class CliRestorePoints {
public:
    // Keeps the document's reads and writes in the user's restore-point folder from now on.
    explicit CliRestorePoints(CQRNDoc& doc);
    RestorePointStore& store() { return store_; }
    // Why no restore point could be kept now, shown as the write shows it; true when one can.
    bool CheckRoom(CQRNDoc& doc);

private:
    RestorePointStore store_;
    RestorePointKeeper keeper_;
};

}  // namespace korvath::cli

#include "cli_restore_points.h"

#include <cstdio>

namespace korvath::cli {

CliRestorePoints::CliRestorePoints(CQRNDoc& doc)
    : keeper_(
          store_, [](const RestorePointInfo& p) { std::fprintf(stderr, "restore point: %s\n", p.path.c_str()); },
          [](const std::string& why) { std::fprintf(stderr, "%s\n", why.c_str()); }) {
    doc.SetRestorePointSink(&keeper_);
}

}  // namespace korvath::cli

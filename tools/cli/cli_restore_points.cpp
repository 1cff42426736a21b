#include "cli_restore_points.h"

#include <algorithm>
#include <cstdio>

#include "document/transfer.h"
#include "platform/message_style.h"

namespace korvath::cli {

CliRestorePoints::CliRestorePoints(CQRNDoc& doc)
    : keeper_(
          store_, [](const RestorePointInfo& p) { std::fprintf(stderr, "restore point: %s\n", p.path.c_str()); },
          [](const std::string& why) { std::fprintf(stderr, "%s\n", why.c_str()); }) {
    doc.SetRestorePointSink(&keeper_);
}

bool CliRestorePoints::CheckRoom(CQRNDoc& doc) {
    const std::string why = keeper_.CheckRoom(doc, static_cast<std::size_t>(std::max(doc.layout().TotalBlockSize, 0)));
    if (!why.empty()) doc.ShowMessage(why, transfer_text::kWriteCaption, MessageStyle::IconError | MessageStyle::TaskModal);
    return why.empty();
}

}  // namespace korvath::cli

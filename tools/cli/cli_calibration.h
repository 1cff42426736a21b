#pragma once
// A document for the subcommands that open and save calibrations. It has a graph engine and a
// stand-in for the graphical tuning bar, so that opening a file binds the traces of its
// definition as the program does (the text-calibration import converts its tables with them).

#include <memory>
#include <string>

#include "cli_command.h"
#include "cli_host.h"
#include "document/qrndoc.h"
#include "document/view_host.h"
#include "graph/graphengine.h"

namespace korvath::cli {

class CalibrationSession : private ViewHost {
public:
    explicit CalibrationSession(const GlobalOptions& options);
    CQRNDoc& doc() { return *doc_; }
    // Opens a calibration of either format as the File Open command does.
    bool Open(const std::string& path);

private:
    void RebuildBars() override { doc_->BindGraphicalTuningTraces(); }
    void RedrawView() override {}
    void RefreshSheetPages(void*) override {}
    void RefreshSettingsSheet(int) override {}

    TerminalHost terminal_;
    std::unique_ptr<SettingsStore> settings_;
    CGraphEngine graph_;
    std::unique_ptr<CQRNDoc> doc_;
};

}  // namespace korvath::cli

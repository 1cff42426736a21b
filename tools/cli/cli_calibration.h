#pragma once
// A document for the subcommands that work on calibrations. It has a graph engine and a
// stand-in for the graphical tuning bar, so that the traces of a definition are bound as the
// program binds them (the conversions and the text-calibration import need them), and, when
// asked, a link to the controller.

#include <memory>
#include <string>

#include "cli_command.h"
#include "cli_host.h"
#include "cli_link.h"
#include "document/qrndoc.h"
#include "document/view_host.h"
#include "graph/graphengine.h"

namespace korvath::cli {

class CalibrationSession : private ViewHost {
public:
    // link: the controller link to open (none: the document has no controller).
    explicit CalibrationSession(const GlobalOptions& options, const LinkOptions* link = nullptr);
    CQRNDoc& doc() { return *doc_; }
    // Opens a calibration of either format as the File Open command does.
    bool Open(const std::string& path);
    // A fresh variable table, layout and trace bindings from one definition file. False (after a
    // line on standard error) when the file cannot be read; declarationsRead() says whether its
    // "[Declarations]" were usable.
    bool LoadDefinition(const std::string& path, int applyDefaults);
    bool declarationsRead() const { return declarationsRead_; }

private:
    void RebuildBars() override { doc_->BindGraphicalTuningTraces(); }
    void RedrawView() override {}
    void RefreshSheetPages(void*) override {}
    void RefreshSettingsSheet(int) override {}

    TerminalHost terminal_;
    std::unique_ptr<SettingsStore> settings_;
    CGraphEngine graph_;
    std::unique_ptr<CQRNDoc> doc_;
    bool declarationsRead_ = false;
};

}  // namespace korvath::cli

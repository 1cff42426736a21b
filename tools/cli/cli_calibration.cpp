#include "cli_calibration.h"

#include <cstdio>

#include "calibration/calibration_file.h"
#include "platform/paths.h"

namespace korvath::cli {

CalibrationSession::CalibrationSession(const GlobalOptions& options, const LinkOptions* link)
    : terminal_(options.verbose), settings_(OpenSettings()) {
    doc_ = std::make_unique<CQRNDoc>(DocumentHost{terminal_, terminal_, *settings_}, ProgramDirectory(),
                                     link ? MakeTransport(*link, *settings_) : nullptr);
    doc_->SetGraph(&graph_);
    doc_->SetViewHost(this);
    if (link) {
        ReportOpenFailure(doc_->monitor(), options.command);
        doc_->RefreshViews(1);
    }
}

bool CalibrationSession::Open(const std::string& path) { return OpenCalibrationFile(*doc_, path); }

bool CalibrationSession::LoadDefinition(const std::string& path, int applyDefaults) {
    CQRNDoc& doc = *doc_;
    doc.ResetVariableTable(2);
    if (!doc.LoadDefinitionFile(path)) {
        std::fprintf(stderr, "korvath-cli: cannot read %s\n", path.c_str());
        return false;
    }
    doc.ReadApplicationID();
    declarationsRead_ = doc.ReadDeclarations(applyDefaults);
    doc.BindGraphicalTuningTraces();
    return true;
}

}  // namespace korvath::cli

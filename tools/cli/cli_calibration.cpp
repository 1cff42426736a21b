#include "cli_calibration.h"

#include "document/calibration_file.h"
#include "platform/paths.h"

namespace korvath::cli {

CalibrationSession::CalibrationSession(const GlobalOptions& options)
    : terminal_(options.verbose), settings_(OpenSettings()) {
    doc_ = std::make_unique<CQRNDoc>(DocumentHost{terminal_, terminal_, *settings_}, ProgramDirectory());
    doc_->SetGraph(&graph_);
    doc_->SetViewHost(this);
}

bool CalibrationSession::Open(const std::string& path) { return OpenCalibrationFile(*doc_, path); }

}  // namespace korvath::cli

#include "calibration/compared_calibration.h"

#include <array>

#include "calibration/calibration_file.h"

namespace korvath {

ComparedCalibration::ComparedCalibration(DocumentHost host, const std::string& programDirectory)
    : doc_(std::make_unique<CQRNDoc>(host, programDirectory)) {
    doc_->SetGraph(&graph_);
    doc_->SetViewHost(this);
}

ComparedCalibration::~ComparedCalibration() {
    doc_->SetViewHost(nullptr);
    doc_->SetGraph(nullptr);
}

bool ComparedCalibration::Open(const std::string& path) {
    // No controller is asked and no settings sheet is refreshed for a compared file.
    OpenHooks hooks{.identify = [](CQRNDoc&) {}, .refreshSettingsSheet = [](CQRNDoc&) {}};
    if (!OpenCalibrationFile(*doc_, path, hooks)) return false;
    path_ = path;
    return true;
}

int ComparedCalibration::ShowAsOverlays(CGraphEngine& target, bool converted) {
    target.ClearOverlays();
    const ViewStateBlock& view = doc_->calibration().viewState;
    int shown = 0;
    std::array<float, kPointsPerTrace> values{};
    for (int t = 0; t < kNumTraces && t < target.TraceCount(); ++t) {
        if (doc_->traceBinding(t).TraceMode == TraceModes::None || !view.TraceVisible(t)) continue;
        for (int c = 0; c < kPointsPerTrace; ++c) {
            values[static_cast<std::size_t>(c)] =
                converted ? doc_->DisplayPointValue(t, c)
                          : doc_->calibration().points[static_cast<std::size_t>(t)][static_cast<std::size_t>(c)];
        }
        if (target.PointCount() != kPointsPerTrace) continue;
        target.SetOverlayValues(t, values.data());
        ++shown;
    }
    return shown;
}

CalibrationDiff ComparedCalibration::DifferencesFrom(CQRNDoc& edited) {
    return CompareCalibrations(edited, *doc_, false);
}

}  // namespace korvath

#include "calibration/compared_calibration.h"

#include <array>

#include "calibration/calibration_file.h"
#include "calibration/diff_in_page_words.h"

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

namespace {
// No controller is asked and no settings sheet is refreshed for a compared calibration.
OpenHooks QuietHooks() { return {.identify = [](CQRNDoc&) {}, .refreshSettingsSheet = [](CQRNDoc&) {}}; }
}  // namespace

bool ComparedCalibration::Open(const std::string& path) {
    if (!OpenCalibrationFile(*doc_, path, QuietHooks())) return false;
    path_ = path;
    shown_.reset();
    return true;
}

bool ComparedCalibration::OpenCopyOf(const CQRNDoc& doc) {
    shown_.reset();
    return OpenCalibrationData(*doc_, CalibrationFileBytes(doc), QuietHooks());
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

CalibrationDiff ComparedCalibration::DifferencesFrom(CQRNDoc& edited, bool includeEqual) {
    CalibrationDiff diff = CompareCalibrations(edited, *doc_, includeEqual);
    if (!shown_) shown_ = ShownSettingsOf(*doc_);
    NameInPageWords(diff, ShownSettingsOf(edited), *shown_, edited.graph());
    return diff;
}

}  // namespace korvath

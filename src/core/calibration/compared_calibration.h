#pragma once
// A second calibration opened read-only beside the one being edited, to compare with it. It is
// a document of its own (its definition, conversions and trace bindings), so nothing of it can
// reach the edited calibration; the edited one's graph only receives copies of its curves as
// overlays.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "calibration/calibration_diff.h"
#include "document/qrndoc.h"
#include "document/view_host.h"
#include "graph/graphengine.h"
#include "layout/shown_settings.h"

namespace korvath {

class ComparedCalibration : private ViewHost {
public:
    // `host`: where its messages go (a damaged file is refused with a message); it has no
    // controller link.
    ComparedCalibration(DocumentHost host, const std::string& programDirectory);
    ComparedCalibration(const ComparedCalibration&) = delete;
    ComparedCalibration& operator=(const ComparedCalibration&) = delete;
    ~ComparedCalibration() override;

    // Opens a calibration of either format as File Open does, without asking the controller.
    bool Open(const std::string& path);
    // Opens a copy of `doc` as it is now (unsaved edits included), to read what its settings pages
    // settle without touching it.
    bool OpenCopyOf(const CQRNDoc& doc);
    CQRNDoc& doc() { return *doc_; }
    const std::string& path() const { return path_; }

    // Puts the curves this calibration shows (bound by its definition, marked visible) into
    // `target` as overlays, in display units when `converted`; every other overlay is removed.
    // Returns the number of overlays.
    int ShowAsOverlays(CGraphEngine& target, bool converted);
    // What differs from `edited` (the edited calibration is side a), in the pages' words; the
    // equal items too when `includeEqual`.
    CalibrationDiff DifferencesFrom(CQRNDoc& edited, bool includeEqual = false);

private:
    void RebuildBars() override { doc_->BindGraphicalTuningTraces(); }
    void RedrawView() override {}
    void RefreshSheetPages(void*) override {}
    void RefreshSettingsSheet(int) override {}

    CGraphEngine graph_;
    std::unique_ptr<CQRNDoc> doc_;
    std::string path_;
    std::optional<std::vector<ShownSetting>> shown_;  // what its pages show, read once
};

}  // namespace korvath

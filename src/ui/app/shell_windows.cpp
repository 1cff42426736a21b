#include "ui/app/shell_windows.h"

#include "document/qrndoc.h"

namespace korvath::ui {

void ShellWindows::RebuildTuningBar(QWidget* bar, CQRNDoc& doc) {
    (void)bar;
    CGraphEngine* graph = doc.graph();
    if (!graph) return;
    doc.BindGraphicalTuningTraces();
    // A trace that the definition binds is shown when the calibration marks it visible.
    const ViewStateBlock& view = doc.calibration().viewState;
    for (int t = 0; t < kNumTraces; ++t) {
        if (doc.traceBinding(t).TraceMode != TraceModes::None) graph->SetTraceVisible(t, view.TraceVisible(t) ? 1 : 0);
    }
}

}  // namespace korvath::ui

#pragma once
// Tools > Calibration Report: the report of the open calibration (edits not yet saved included),
// saved as a PDF or printed, with the changes from a second calibration when one is chosen.

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "calibration/calibration_report.h"
#include "ui/graph/curve_plot.h"

class QAction;
class QMainWindow;
class QPagedPaintDevice;

namespace korvath {
class CGraphEngine;
class CQRNDoc;
}  // namespace korvath

namespace korvath::ui {

class CompareTool;
class CQRNView;
class ToolsMenu;

class ReportTool final : public QObject {
    Q_OBJECT
public:
    ReportTool(QMainWindow& frame, CQRNDoc& doc, CQRNView& view, CompareTool& compare,
               std::function<QString()> documentName, ToolsMenu& menu);

    // The report, with the changes from the calibration at `comparePath` when it is not empty,
    // whose curves are put into `behind` as overlays when given; none, after the open's message,
    // when that file cannot be read.
    std::optional<CalibrationReport> BuildReport(const QString& comparePath, CGraphEngine* behind = nullptr);
    // Saves the report as a PDF; false, after a message box, when it cannot be made or written.
    bool SaveReport(const QString& pdfPath, const QString& comparePath);
    // Paints the report on a printer (or any paged device open for painting).
    bool PrintReport(QPagedPaintDevice& device, const QString& comparePath);

    QAction* action() const { return action_; }

private:
    void AskAndReport();
    // The report and its curves, with the compared calibration's curves behind them, made once.
    bool Paint(const QString& comparePath, const std::function<bool(const CalibrationReport&, const CurvePlot&)>& out);

    QMainWindow& frame_;
    CQRNDoc& doc_;
    CQRNView& view_;
    CompareTool& compare_;
    std::function<QString()> documentName_;
    QAction* action_ = nullptr;
};

}  // namespace korvath::ui

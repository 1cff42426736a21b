#include "ui/tools/report_tool.h"

#include <QAction>
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QPrintDialog>
#include <QPrinter>
#include <memory>

#include "calibration/compared_calibration.h"
#include "document/qrndoc.h"
#include "graph/graphengine.h"
#include "platform/message_style.h"
#include "ui/app/qt_hosts.h"
#include "ui/graph/qrnview.h"
#include "ui/tools/compare_tool.h"
#include "ui/tools/report_dialog.h"
#include "ui/tools/report_painter.h"
#include "ui/tools/tools_menu.h"
#include "ui/tools/tools_texts.h"

namespace korvath::ui {
namespace {
QString Text(const char* text) { return QString::fromUtf8(text); }
}  // namespace

ReportTool::ReportTool(QMainWindow& frame, CQRNDoc& doc, CQRNView& view, CompareTool& compare,
                       std::function<QString()> documentName, ToolsMenu& menu)
    : QObject(&menu), frame_(frame), doc_(doc), view_(view), compare_(compare), documentName_(std::move(documentName)) {
    action_ = menu.AddItem(texts::kReportItem, texts::kReportStatus, [this] { AskAndReport(); });
    action_->setObjectName(QStringLiteral("CalibrationReport"));
}

std::optional<CalibrationReport> ReportTool::BuildReport(const QString& comparePath, CGraphEngine* behind) {
    ReportRequest request{.fileName = documentName_().toStdString(),
                          .when = ReportDateText(QDateTime::currentDateTime()).toStdString()};
    std::unique_ptr<ComparedCalibration> compared;
    if (!comparePath.isEmpty()) {
        compared = std::make_unique<ComparedCalibration>(doc_.host(), doc_.programDirectory());
        if (!compared->Open(comparePath.toStdString())) return std::nullopt;
        request.comparedWith = &compared->doc();
        if (behind) compared->ShowAsOverlays(*behind, doc_.showConverted());
        request.comparedName = QFileInfo(comparePath).fileName().toStdString();
    }
    return BuildCalibrationReport(doc_, request);
}

bool ReportTool::Paint(const QString& comparePath,
                       const std::function<bool(const CalibrationReport&, const CurvePlot&)>& out) {
    const CGraphEngine& graph = view_.graph();
    // Only the report's own comparison lies behind its curves, not the Differences panel's.
    CGraphEngine behind(graph.TraceCount(), graph.PointCount());
    const std::optional<CalibrationReport> report = BuildReport(comparePath, &behind);
    if (!report) return false;
    CurvePlot curves;
    curves.source = &graph;
    curves.overlays = &behind;
    curves.traces = VisibleTraces(graph);
    curves.title = PlotTitle(documentName_(), QDateTime::currentDateTime());
    return out(*report, curves);
}

bool ReportTool::SaveReport(const QString& pdfPath, const QString& comparePath) {
    QString error;
    const bool opened = Paint(comparePath, [&](const CalibrationReport& report, const CurvePlot& curves) {
        return WriteCalibrationReport(report, curves, pdfPath, error);
    });
    if (error.isEmpty()) return opened;
    ShowMessageBox(&frame_, error, Text(texts::kReportFailedCaption), MessageStyle::IconError);
    return false;
}

bool ReportTool::PrintReport(QPagedPaintDevice& device, const QString& comparePath) {
    return Paint(comparePath, [&](const CalibrationReport& report, const CurvePlot& curves) {
        return PaintCalibrationReport(device, report, curves);
    });
}

void ReportTool::AskAndReport() {
    ReportDialog dialog(&frame_, compare_.comparing() ? compare_.comparedPath() : QString());
    const int choice = dialog.exec();
    if (choice == ReportDialog::SavePdf) {
        const QString path = QFileDialog::getSaveFileName(&frame_, Text(texts::kReportTitle), QString(),
                                                          Text(texts::kReportFilter));
        if (!path.isEmpty()) SaveReport(path, dialog.comparePath());
    } else if (choice == ReportDialog::Print) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(documentName_());
        QPrintDialog ask(&printer, &frame_);
        if (ask.exec() == QDialog::Accepted) PrintReport(printer, dialog.comparePath());
    }
}

}  // namespace korvath::ui

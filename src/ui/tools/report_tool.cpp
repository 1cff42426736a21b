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

std::optional<CalibrationReport> ReportTool::BuildReport(const QString& comparePath) {
    ReportRequest request{.fileName = documentName_().toStdString(),
                          .when = ReportDateText(QDateTime::currentDateTime()).toStdString()};
    std::unique_ptr<ComparedCalibration> compared;
    if (!comparePath.isEmpty()) {
        compared = std::make_unique<ComparedCalibration>(doc_.host(), doc_.programDirectory());
        if (!compared->Open(comparePath.toStdString())) return std::nullopt;
        request.comparedWith = &compared->doc();
        request.comparedName = QFileInfo(comparePath).fileName().toStdString();
    }
    return BuildCalibrationReport(doc_, request);
}

CurvePlot ReportTool::Curves() const {
    CurvePlot curves;
    curves.source = &view_.graph();
    curves.traces = VisibleTraces(view_.graph());
    curves.title = PlotTitle(documentName_(), QDateTime::currentDateTime());
    return curves;
}

bool ReportTool::SaveReport(const QString& pdfPath, const QString& comparePath) {
    const std::optional<CalibrationReport> report = BuildReport(comparePath);
    if (!report) return false;
    QString error;
    if (WriteCalibrationReport(*report, Curves(), pdfPath, error)) return true;
    ShowMessageBox(&frame_, error, Text(texts::kReportFailedCaption), MessageStyle::IconError);
    return false;
}

bool ReportTool::PrintReport(QPagedPaintDevice& device, const QString& comparePath) {
    const std::optional<CalibrationReport> report = BuildReport(comparePath);
    return report && PaintCalibrationReport(device, *report, Curves());
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

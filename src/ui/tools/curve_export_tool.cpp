#include "ui/tools/curve_export_tool.h"

#include <QAction>
#include <QDateTime>
#include <QFileDialog>
#include <QMainWindow>

#include "platform/message_style.h"
#include "ui/app/qt_hosts.h"
#include "ui/graph/curve_plot.h"
#include "ui/graph/qrnview.h"
#include "ui/tools/tools_menu.h"
#include "ui/tools/tools_texts.h"

namespace korvath::ui {

CurveExportTool::CurveExportTool(QMainWindow& frame, CQRNView& view, std::function<QString()> documentName,
                                 ToolsMenu& menu)
    : QObject(&menu), frame_(frame), view_(view), documentName_(std::move(documentName)) {
    QAction* item = menu.AddItem(texts::kExportCurvesItem, texts::kExportCurvesStatus, [this] { AskAndExport(); },
                                 true);
    item->setObjectName(QStringLiteral("ExportCurves"));
}

void CurveExportTool::AskAndExport() {
    const QString path = QFileDialog::getSaveFileName(&frame_, QString::fromUtf8(texts::kExportTitle), QString(),
                                                      QString::fromUtf8(texts::kPictureFilter));
    if (!path.isEmpty()) ExportCurves(path);
}

bool CurveExportTool::ExportCurves(const QString& path) {
    CurvePlot plot;
    plot.source = &view_.graph();
    plot.traces = VisibleTraces(view_.graph());
    // The picture shows the calibration as it is now, edits not yet saved included.
    plot.title = PlotTitle(documentName_(), QDateTime::currentDateTime());
    // As large as the view, within the picture's limits.
    plot.size = view_.size().expandedTo(QSize(kMinPlotSide, kMinPlotSide)).boundedTo(QSize(kMaxPlotSide, kMaxPlotSide));
    QString error;
    if (WriteCurvePlot(plot, path, error)) return true;
    ShowMessageBox(&frame_, error, QString::fromUtf8(texts::kExportFailedCaption), MessageStyle::IconError);
    return false;
}

}  // namespace korvath::ui

#include "ui/tools/curve_export_tool.h"

#include <QAction>
#include <QDateTime>
#include <QFileDialog>
#include <QMainWindow>

#include "calibration/curve_export.h"
#include "platform/atomic_file.h"
#include "platform/file_filters.h"
#include "platform/message_style.h"
#include "ui/app/qt_hosts.h"
#include "ui/graph/curve_plot.h"
#include "ui/graph/qrnview.h"
#include "ui/tools/tools_menu.h"
#include "ui/tools/tools_texts.h"

namespace korvath::ui {

CurveExportTool::CurveExportTool(QMainWindow& frame, CQRNDoc& doc, CQRNView& view,
                                 std::function<QString()> documentName, ToolsMenu& menu)
    : QObject(&menu), frame_(frame), doc_(doc), view_(view), documentName_(std::move(documentName)) {
    QAction* item = menu.AddItem(texts::kExportCurvesItem, texts::kExportCurvesStatus, [this] { AskAndExport(); },
                                 true);
    item->setObjectName(QStringLiteral("ExportCurves"));
}

void CurveExportTool::AskAndExport() {
    QString filter;
    const QString path = QFileDialog::getSaveFileName(&frame_, QString::fromUtf8(texts::kExportTitle), QString(),
                                                      QString::fromUtf8(texts::kExportFilter), &filter);
    if (!path.isEmpty())
        ExportCurves(QString::fromStdString(WithFilterExtension(path.toStdString(), filter.toStdString())));
}

bool CurveExportTool::ExportTable(const QString& path, QString& error) {
    std::string why;
    if (WriteFileAtomically(path.toStdString(), ExportCsv(ExportRows(doc_)), &why)) return true;
    error = QString::fromStdString(why);
    return false;
}

bool CurveExportTool::ExportCurves(const QString& path) {
    QString error;
    const bool written =
        path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ? ExportTable(path, error) : ExportPicture(path, error);
    if (!written) ShowMessageBox(&frame_, error, QString::fromUtf8(texts::kExportFailedCaption), MessageStyle::IconError);
    return written;
}

bool CurveExportTool::ExportPicture(const QString& path, QString& error) {
    CurvePlot plot;
    plot.source = &view_.graph();
    plot.traces = VisibleTraces(view_.graph());
    // The picture shows the calibration as it is now, edits not yet saved included.
    plot.title = PlotTitle(documentName_(), QDateTime::currentDateTime());
    // As large as the view, within the picture's limits.
    plot.size = view_.size().expandedTo(QSize(kMinPlotSide, kMinPlotSide)).boundedTo(QSize(kMaxPlotSide, kMaxPlotSide));
    return WriteCurvePlot(plot, path, error);
}

}  // namespace korvath::ui

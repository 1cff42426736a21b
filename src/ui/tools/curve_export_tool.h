#pragma once
// Export Curves: the curves the view shows (and compared ones behind them) as a PNG, SVG or
// PDF picture, written as the command line's plot writes it, or the calibration's curves and
// values as the command line's CSV export.

#include <QObject>
#include <QString>
#include <functional>

class QMainWindow;

namespace korvath {
class CQRNDoc;
}

namespace korvath::ui {

class CQRNView;
class ToolsMenu;

class CurveExportTool final : public QObject {
    Q_OBJECT
public:
    CurveExportTool(QMainWindow& frame, CQRNDoc& doc, CQRNView& view, std::function<QString()> documentName,
                    ToolsMenu& menu);

    // Writes the picture, or the CSV table for a path ending in ".csv"; false, after a message
    // box, when it cannot be written.
    bool ExportCurves(const QString& path);

private:
    void AskAndExport();

    bool ExportPicture(const QString& path, QString& error);
    bool ExportTable(const QString& path, QString& error);

    QMainWindow& frame_;
    CQRNDoc& doc_;
    CQRNView& view_;
    std::function<QString()> documentName_;
};

}  // namespace korvath::ui

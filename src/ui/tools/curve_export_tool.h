#pragma once
// Export Curves: the curves the view shows (and compared ones behind them) as a PNG, SVG or
// PDF picture, written as the command line's plot writes it.

#include <QObject>
#include <QString>
#include <functional>

class QMainWindow;

namespace korvath::ui {

class CQRNView;
class ToolsMenu;

class CurveExportTool final : public QObject {
    Q_OBJECT
public:
    CurveExportTool(QMainWindow& frame, CQRNView& view, std::function<QString()> documentName, ToolsMenu& menu);

    // Writes the picture; false, after a message box, when it cannot be written.
    bool ExportCurves(const QString& path);

private:
    void AskAndExport();

    QMainWindow& frame_;
    CQRNView& view_;
    std::function<QString()> documentName_;
};

}  // namespace korvath::ui

#pragma once
// The Tools menu of the main window, between View and Help. The program's tools are made here
// and add their items to it, so the frame creates the whole menu in one line.

#include <QObject>
#include <functional>

class QAction;
class QDockWidget;
class QMainWindow;
class QMenu;

namespace korvath {
class CQRNDoc;
class SettingsStore;
}  // namespace korvath

namespace korvath::ui {

class CQRNView;
class CommunicationTraceTool;
class CompareTool;
class CrosshairTrailTool;
class CurveExportTool;
class CurveValuesTool;
class EditHistory;
class DataLogTool;
class ReportTool;
class RestorePointsTool;
struct RestorePointActions;

class ToolsMenu final : public QObject {
    Q_OBJECT
public:
    // documentName: the edited document's name, as the title bar shows it. dashboardBar: the bar
    // that holds the dashboard (a data log keeps it on), may be null.
    ToolsMenu(QMainWindow& frame, CQRNDoc& doc, CQRNView& view, SettingsStore& settings,
              std::function<QString()> documentName, QDockWidget* dashboardBar = nullptr,
              const RestorePointActions* restorePointActions = nullptr);
    ~ToolsMenu() override;

    QMenu* menu() const { return menu_; }
    // An item at the end of the menu; `run` is called when it is chosen.
    QAction* AddItem(const char* text, const char* statusTip, std::function<void()> run, bool separatorBefore = false);
    // Called before the menu shows, to enable and check the items.
    void OnAboutToShow(std::function<void()> update);

    CompareTool& compare() const { return *compare_; }
    CurveExportTool& curveExport() const { return *export_; }
    ReportTool& report() const { return *report_; }
    DataLogTool& dataLog() const { return *dataLog_; }
    CrosshairTrailTool& trail() const { return *trail_; }
    // Null when the window gave no actions for it.
    RestorePointsTool* restorePoints() const { return restorePoints_; }
    CommunicationTraceTool& communicationTrace() const { return *trace_; }
    EditHistory& history() const { return *history_; }
    CurveValuesTool& curveValues() const { return *curveValues_; }

private:
    QMenu* menu_ = nullptr;
    CompareTool* compare_ = nullptr;
    CurveExportTool* export_ = nullptr;
    ReportTool* report_ = nullptr;
    DataLogTool* dataLog_ = nullptr;
    CrosshairTrailTool* trail_ = nullptr;
    RestorePointsTool* restorePoints_ = nullptr;
    CommunicationTraceTool* trace_ = nullptr;
    EditHistory* history_ = nullptr;
    CurveValuesTool* curveValues_ = nullptr;
};

}  // namespace korvath::ui

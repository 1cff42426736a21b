#pragma once
// Data logs in the program: Start Data Log records the live data of a drive into a CSV file
// (the status bar shows its name, elapsed time and rows meanwhile, and the dashboard stays on,
// since the poller reads only while it is built); Open Data Log replays one onto the curves and
// the dashboard.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <memory>

#include "datalog/data_log_recorder.h"

class QAction;
class QDockWidget;
class QLabel;
class QMainWindow;

namespace korvath {
class CQRNDoc;
}

namespace korvath::ui {

class CDashboard;
class CQRNView;
class ReplayPanel;
class ToolsMenu;

class LogViewerWindow;
class ShiftMarkersOverlay;

class DataLogTool final : public QObject {
    Q_OBJECT
public:
    static constexpr int kStatusPeriodMs = 500;
    static constexpr int kSavedMessageMs = 8000;

    DataLogTool(QMainWindow& frame, CQRNDoc& doc, CQRNView& view, QDockWidget* dashboardBar, ToolsMenu& menu);
    ~DataLogTool() override;

    // Starts recording into `path`; false, after a message box, when it cannot.
    bool StartLogging(const QString& path);
    void StopLogging();
    bool logging() const { return recorder_.running(); }
    // Replays the log; false, after a message box, when it cannot be read or is another
    // definition's.
    bool OpenLog(const QString& path);
    // Shows the log in the viewer and, when it is this definition's, replays it under the
    // viewer's cursor; false, after a message box, when it cannot be read.
    bool ViewLog(const QString& path);

    const datalog::DataLogRecorder& recorder() const { return recorder_; }
    ReplayPanel* replay() const { return replay_; }
    LogViewerWindow* viewer() const;
    ShiftMarkersOverlay* shiftMarkers() const { return shiftMarkers_; }
    QLabel* statusLabel() const { return status_; }
    QAction* startAction() const { return startAction_; }
    QAction* stopAction() const { return stopAction_; }
    QAction* openAction() const { return openAction_; }
    QAction* viewAction() const { return viewAction_; }
    // The folder and file name Start Data Log proposes.
    static QString DefaultLogPath();

private:
    void AskAndStart();
    void AskAndOpen();
    void AskAndView();
    QString AskLogToOpen(const char* title);
    // Replays the log when the open definition's items wrote it; the message why not otherwise.
    bool StartReplay(const QString& path, std::string& why);
    void ShowStatus();
    // The status bar and the menu items as they are when no log runs.
    void ShowNotLogging();
    // Says that the log ended before it was stopped, and why.
    void ShowLogEnded();
    CDashboard* ShownDashboard();
    void Message(const QString& text, const char* caption);

    QMainWindow& frame_;
    ToolsMenu& menu_;
    CQRNDoc& doc_;
    CQRNView& view_;
    QDockWidget* dashboardBar_;
    datalog::DataLogRecorder recorder_;
    QString fileName_;
    QLabel* status_ = nullptr;
    QTimer statusTimer_;
    ReplayPanel* replay_ = nullptr;
    QAction* startAction_ = nullptr;
    QAction* stopAction_ = nullptr;
    QAction* openAction_ = nullptr;
    QAction* viewAction_ = nullptr;
    QPointer<LogViewerWindow> viewer_;
    ShiftMarkersOverlay* shiftMarkers_ = nullptr;
};

}  // namespace korvath::ui

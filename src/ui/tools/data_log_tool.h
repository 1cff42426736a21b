#pragma once
// Data logs in the program: Start Data Log records the live data of a drive into a CSV file
// (the status bar shows its name, elapsed time and rows meanwhile, and the dashboard stays on,
// since the poller reads only while it is built); Open Data Log replays one onto the curves and
// the dashboard.

#include <QObject>
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

    const datalog::DataLogRecorder& recorder() const { return recorder_; }
    ReplayPanel* replay() const { return replay_; }
    QLabel* statusLabel() const { return status_; }
    QAction* startAction() const { return startAction_; }
    QAction* stopAction() const { return stopAction_; }
    QAction* openAction() const { return openAction_; }
    // The folder and file name Start Data Log proposes.
    static QString DefaultLogPath();

private:
    void AskAndStart();
    void AskAndOpen();
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
};

}  // namespace korvath::ui

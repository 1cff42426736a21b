#include "ui/tools/data_log_tool.h"

#include <QAction>
#include <QCoreApplication>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <ctime>

#include "datalog/log_naming.h"
#include "datalog/replay_frame.h"
#include "datalog/shift_events.h"
#include "document/qrndoc.h"
#include "platform/message_style.h"
#include "platform/user_folders.h"
#include "ui/app/app_texts.h"
#include "ui/app/qt_hosts.h"
#include "ui/dashboard/dashboard.h"
#include "ui/graph/qrnview.h"
#include "ui/tools/crosshair_trail_tool.h"
#include "ui/tools/log_viewer_window.h"
#include "ui/tools/replay_panel.h"
#include "ui/tools/shift_markers_overlay.h"
#include "ui/tools/tools_menu.h"
#include "ui/tools/tools_texts.h"

namespace korvath::ui {
namespace {
QString Text(const char* text) { return QString::fromUtf8(text); }
QString Text(const std::string& text) { return QString::fromStdString(text); }
}  // namespace

DataLogTool::DataLogTool(QMainWindow& frame, CQRNDoc& doc, CQRNView& view, QDockWidget* dashboardBar,
                         ToolsMenu& menu)
    : QObject(&menu), frame_(frame), menu_(menu), doc_(doc), view_(view), dashboardBar_(dashboardBar) {
    startAction_ = menu.AddItem(texts::kStartLogItem, texts::kStartLogStatus, [this] { AskAndStart(); }, true);
    startAction_->setObjectName(QStringLiteral("StartDataLog"));
    stopAction_ = menu.AddItem(texts::kStopLogItem, texts::kStopLogStatus, [this] { StopLogging(); });
    stopAction_->setObjectName(QStringLiteral("StopDataLog"));
    stopAction_->setEnabled(false);
    openAction_ = menu.AddItem(texts::kOpenLogItem, texts::kOpenLogStatus, [this] { AskAndOpen(); });
    openAction_->setObjectName(QStringLiteral("OpenDataLog"));
    viewAction_ = menu.AddItem(texts::kViewerItem, texts::kViewerStatus, [this] { AskAndView(); });
    viewAction_->setObjectName(QStringLiteral("DataLogViewer"));
    menu.OnAboutToShow([this] {
        startAction_->setEnabled(!logging());
        stopAction_->setEnabled(logging());
    });

    status_ = new QLabel(frame.statusBar());
    status_->setObjectName(QStringLiteral("DataLogStatus"));
    status_->setAccessibleName(Text(texts::kLogStatusName));
    frame.statusBar()->addPermanentWidget(status_);
    status_->hide();
    statusTimer_.setInterval(kStatusPeriodMs);
    connect(&statusTimer_, &QTimer::timeout, this, &DataLogTool::ShowStatus);

    replay_ = new ReplayPanel(&frame, view);
    shiftMarkers_ = new ShiftMarkersOverlay(view, this);
    connect(replay_, &ReplayPanel::stopped, shiftMarkers_, &ShiftMarkersOverlay::Clear);
    // The trail shows one drive: the replayed one, or the live one around it.
    connect(replay_, &ReplayPanel::started, this, [this] { menu_.trail().Clear(); });
    connect(replay_, &ReplayPanel::stopped, this, [this] { menu_.trail().Clear(); });
    // Above the curves, the whole width: the dashboard's row stays as it is below them.
    frame.addDockWidget(Qt::TopDockWidgetArea, replay_);
    replay_->hide();

    // The poller reads only while the dashboard is built: it stays on while a log is recorded.
    if (dashboardBar_)
        connect(dashboardBar_, &QDockWidget::visibilityChanged, this, [this](bool visible) {
            if (!visible && logging() && dashboardBar_->isHidden())
                QTimer::singleShot(0, dashboardBar_, [bar = dashboardBar_] { bar->show(); });
        });
}

DataLogTool::~DataLogTool() { recorder_.Stop(); }

LogViewerWindow* DataLogTool::viewer() const { return viewer_; }

QString DataLogTool::DefaultLogPath() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return Text(datalog::DefaultLogDirectory()) + QLatin1Char('/') + Text(datalog::DefaultLogFileName(local));
}

void DataLogTool::Message(const QString& text, const char* caption) {
    ShowMessageBox(&frame_, text, Text(caption), MessageStyle::IconError);
}

CDashboard* DataLogTool::ShownDashboard() {
    if (!dashboardBar_) return nullptr;
    if (dashboardBar_->isHidden()) {
        dashboardBar_->show();  // which builds the dashboard
        QCoreApplication::processEvents();
    }
    return dashboardBar_->findChild<CDashboard*>();
}

void DataLogTool::AskAndStart() {
    std::string why;
    MakeDirectories(datalog::DefaultLogDirectory(), why);  // the dialog says so when it is missing
    const QString path =
        QFileDialog::getSaveFileName(&frame_, Text(texts::kStartLogTitle), DefaultLogPath(), Text(texts::kLogFilter));
    if (!path.isEmpty()) StartLogging(path);
}

bool DataLogTool::StartLogging(const QString& path) {
    if (logging()) StopLogging();
    ShownDashboard();
    CTCS_Monitor* monitor = doc_.monitor();
    if (!monitor || monitor->item_count() == 0) {
        Message(Text(texts::kNoLogItems), texts::kStartLogFailedCaption);
        return false;
    }
    std::string why;
    if (!recorder_.Start(*monitor, path.toStdString(), datalog::DefinitionOfDocument(doc_), why)) {
        Message(Text(texts::kCannotWriteLogFormat).arg(path, Text(why)), texts::kStartLogFailedCaption);
        return false;
    }
    fileName_ = QFileInfo(path).fileName();
    startAction_->setEnabled(false);
    stopAction_->setEnabled(true);
    status_->show();
    ShowStatus();
    statusTimer_.start();
    return true;
}

void DataLogTool::StopLogging() {
    if (!logging()) return;
    const bool complete = recorder_.Stop();
    ShowNotLogging();
    if (!complete) {
        ShowLogEnded();
        return;
    }
    frame_.statusBar()->showMessage(
        Text(texts::kLogSavedFormat).arg(Text(recorder_.path())).arg(static_cast<qulonglong>(recorder_.rows())),
        kSavedMessageMs);
}

void DataLogTool::ShowStatus() {
    if (!recorder_.running()) {  // it ended on its own: the disk refused, the items changed
        ShowNotLogging();
        ShowLogEnded();
        return;
    }
    recorder_.Tick();
    status_->setText(Text(datalog::LogStatusText(fileName_.toStdString(), recorder_.elapsedMs(), recorder_.rows(),
                                                 recorder_.linkUp())));
}

void DataLogTool::ShowNotLogging() {
    statusTimer_.stop();
    status_->hide();
    startAction_->setEnabled(true);
    stopAction_->setEnabled(false);
}

void DataLogTool::ShowLogEnded() {
    Message(Text(texts::kLogEndedFormat).arg(Text(recorder_.path()), Text(recorder_.error())), texts::kLogStoppedCaption);
}

QString DataLogTool::AskLogToOpen(const char* title) {
    const QString filter = Text(texts::kLogFilter) + QStringLiteral(";;") + Text(texts::kAllFilesFilter);
    return QFileDialog::getOpenFileName(&frame_, Text(title), Text(datalog::DefaultLogDirectory()), filter);
}

void DataLogTool::AskAndOpen() {
    const QString path = AskLogToOpen(texts::kOpenLogTitle);
    if (!path.isEmpty()) OpenLog(path);
}

void DataLogTool::AskAndView() {
    const QString path = AskLogToOpen(texts::kViewerItem);
    if (!path.isEmpty()) ViewLog(path);
}

bool DataLogTool::StartReplay(const QString& path, std::string& why) {
    auto log = std::make_unique<datalog::DataLogReader>();
    if (!log->Open(path.toStdString(), why)) {
        why = Text(texts::kCannotOpenLogFormat).arg(path, Text(why)).toStdString();
        return false;
    }
    std::vector<DataItem> items = ReadDataItems(doc_);
    const QString name = QFileInfo(path).fileName();
    if (!datalog::CheckReplayable(log->layout(), name.toStdString(), datalog::DefinitionOfDocument(doc_), items, why))
        return false;
    replay_->Start(std::move(log), std::move(items), ShownDashboard(), name);
    // The replayed drive's shifts on the curves (none when the log has no gear channel).
    datalog::DataLogReader shiftLog;
    datalog::ShiftAnalysis shifts;
    std::string noShifts;
    if (shiftLog.Open(path.toStdString(), noShifts) && datalog::AnalyseShifts(shiftLog, "", shifts, noShifts))
        shiftMarkers_->Show(std::move(shifts.shifts));
    return true;
}

bool DataLogTool::OpenLog(const QString& path) {
    std::string why;
    if (StartReplay(path, why)) return true;
    Message(Text(why), texts::kOpenLogFailedCaption);
    return false;
}

bool DataLogTool::ViewLog(const QString& path) {
    auto* viewer = new LogViewerWindow(&frame_);
    QString why;
    if (!viewer->Open(path, why)) {
        delete viewer;
        Message(Text(texts::kCannotOpenLogFormat).arg(path, why), texts::kViewerFailedCaption);
        return false;
    }
    if (viewer_) viewer_->close();
    viewer_ = viewer;
    // Another definition's log is shown by its columns only: there is nothing to replay it on.
    std::string notReplayable;
    if (StartReplay(path, notReplayable)) {
        connect(viewer, &LogViewerWindow::cursorMoved, replay_, [this](qint64 ms) { replay_->SeekTime(ms); });
        connect(replay_, &ReplayPanel::positionChanged, viewer, &LogViewerWindow::SetCursorTime);
        // Until another log is replayed, or the replay is closed.
        connect(replay_, &ReplayPanel::stopped, viewer, [this, viewer] {
            disconnect(replay_, nullptr, viewer, nullptr);
            disconnect(viewer, nullptr, replay_, nullptr);
        });
    }
    viewer->show();
    return true;
}

}  // namespace korvath::ui

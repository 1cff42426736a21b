#pragma once
// The "Data Log Viewer" window: the chosen channels of a data log stacked on one time axis (text
// channels as steps with their texts, lost links as gaps), a channel list with check boxes and
// every channel's value at the cursor, and the log's shifts. Zoom, pan and the axes are the
// plotting library's; the cursor is this window's, and it says where it moved so that the
// replay follows it.

#include <QPoint>
#include <QSharedPointer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

#include "datalog/log_channels.h"
#include "datalog/shift_events.h"
#include "ui/tools/qcustomplot_include.h"

class QLabel;
class QListWidget;
class QMouseEvent;
class QPushButton;
class QTreeWidget;

namespace korvath::ui {

class LogViewerWindow final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClickSlopPx = 3;

    explicit LogViewerWindow(QWidget* parent = nullptr);
    ~LogViewerWindow() override;

    // Reads the log; false, with why, when it is none. A log without a gear channel still shows.
    bool Open(const QString& path, QString& why);
    // The cursor at `ms` (from the log's start), without saying so: the replay moved it.
    void SetCursorTime(std::int64_t ms);
    void Fit();
    // Shows or hides a channel's plot, as its check box does.
    void ShowChannel(std::size_t channel, bool shown);

    std::int64_t cursorTime() const { return cursorMs_; }
    const datalog::LogChannels& channels() const { return channels_; }
    const datalog::ShiftAnalysis& shifts() const { return shifts_; }
    QCustomPlot* plot() const { return plot_; }
    QTreeWidget* channelList() const { return channelList_; }
    QListWidget* shiftList() const { return shiftList_; }
    QPushButton* fitButton() const { return fit_; }
    QLabel* cursorLabel() const { return cursorLabel_; }

Q_SIGNALS:
    // The user moved the cursor (a click on the plots, a shift chosen).
    void cursorMoved(qint64 ms);

private:
    void BuildPlots();
    void FillChannelList();
    void FillShiftList(const QString& whyNone);
    void MoveCursor(std::int64_t ms);
    void ShowCursor();
    void SyncTimeAxes(const QCPRange& range);
    void OnPress(QMouseEvent* event);
    void OnRelease(QMouseEvent* event);

    std::unique_ptr<datalog::DataLogReader> log_;
    datalog::LogChannels channels_;
    datalog::ShiftAnalysis shifts_;
    std::vector<QSharedPointer<QCPGraphDataContainer>> data_;
    std::vector<bool> shown_;
    std::vector<QCPItemStraightLine*> cursorLines_;
    std::int64_t cursorMs_ = 0;
    bool syncing_ = false;
    QPoint pressAt_;
    QCustomPlot* plot_ = nullptr;
    QTreeWidget* channelList_ = nullptr;
    QListWidget* shiftList_ = nullptr;
    QPushButton* fit_ = nullptr;
    QLabel* cursorLabel_ = nullptr;
};

}  // namespace korvath::ui

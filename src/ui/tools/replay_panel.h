#pragma once
// The "Data Log Replay" panel: plays a data log onto the dashboard and the crosshair with play
// and pause, a speed of x1, x4 or x16 and a position slider. The controller link is left alone:
// the dashboard only stops showing the poller's values while a log is replayed.

#include <QDockWidget>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <vector>

#include "comm/data_items.h"
#include "datalog/data_log_reader.h"
#include "datalog/replay_clock.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSlider;

namespace korvath::ui {

class CDashboard;
class CQRNView;

class ReplayPanel final : public QDockWidget {
    Q_OBJECT
public:
    static constexpr int kFramePeriodMs = 40;
    static constexpr int kMinSliderWidth = 240;

    ReplayPanel(QWidget* parent, CQRNView& view);
    ~ReplayPanel() override;

    // Replays the log (already checked against the definition) onto `dashboard` (may be null:
    // the crosshair only). Shows the first row, paused.
    void Start(std::unique_ptr<datalog::DataLogReader> log, std::vector<DataItem> items, CDashboard* dashboard,
               const QString& name);
    void Stop();
    bool replaying() const { return log_ != nullptr; }

    void Play();
    void Pause();
    void SetSpeed(int factor);
    // Moves on by `wallMs` of real time (the frame timer does this).
    void Advance(std::int64_t wallMs);
    void SeekSlider(int value);
    // Moves the position to `ms` from the log's start (the viewer's cursor does this).
    void SeekTime(std::int64_t ms);

    const datalog::ReplayClock& clock() const { return clock_; }
    std::size_t shownRow() const { return shownRow_; }
    QPushButton* playButton() const { return play_; }
    QComboBox* speedBox() const { return speed_; }
    QSlider* slider() const { return slider_; }
    QLabel* timeLabel() const { return time_; }

Q_SIGNALS:
    void started();
    void stopped();
    // The position shown, in ms from the log's start.
    void positionChanged(qint64 ms);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ShowPosition(bool force);
    void ShowRow(std::size_t row);
    void ShowControls();

    CQRNView& view_;
    std::unique_ptr<datalog::DataLogReader> log_;
    std::vector<DataItem> items_;
    QPointer<CDashboard> dashboard_;
    datalog::ReplayClock clock_;
    std::size_t shownRow_ = static_cast<std::size_t>(-1);
    QTimer frames_;
    QElapsedTimer wall_;
    QLabel* name_ = nullptr;
    QPushButton* play_ = nullptr;
    QComboBox* speed_ = nullptr;
    QSlider* slider_ = nullptr;
    QLabel* time_ = nullptr;
    QPushButton* close_ = nullptr;
};

}  // namespace korvath::ui

#include "ui/tools/replay_panel.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "datalog/replay_frame.h"
#include "ui/dashboard/dashboard.h"
#include "ui/graph/qrnview.h"
#include "ui/tools/tools_texts.h"

namespace korvath::ui {
namespace {
QString Text(const char* text) { return QString::fromUtf8(text); }
constexpr std::size_t kNoRow = static_cast<std::size_t>(-1);
}  // namespace

ReplayPanel::ReplayPanel(QWidget* parent, CQRNView& view) : QDockWidget(Text(texts::kReplayTitle), parent), view_(view) {
    setObjectName(QStringLiteral("ReplayPanel"));
    auto* content = new QWidget(this);
    auto* row = new QHBoxLayout(content);
    name_ = new QLabel(content);
    name_->setObjectName(QStringLiteral("ReplayFile"));
    play_ = new QPushButton(Text(texts::kPlay), content);
    play_->setObjectName(QStringLiteral("ReplayPlay"));
    speed_ = new QComboBox(content);
    speed_->setObjectName(QStringLiteral("ReplaySpeed"));
    speed_->setAccessibleName(Text(texts::kSpeed));
    for (int factor : datalog::ReplayClock::kSpeeds) speed_->addItem(Text(texts::kSpeedFormat).arg(factor), factor);
    slider_ = new QSlider(Qt::Horizontal, content);
    slider_->setObjectName(QStringLiteral("ReplayPosition"));
    slider_->setAccessibleName(Text(texts::kPosition));
    slider_->setRange(0, datalog::ReplayClock::kSliderSteps);
    slider_->setPageStep(datalog::ReplayClock::kSliderSteps / 20);
    slider_->setMinimumWidth(kMinSliderWidth);
    time_ = new QLabel(content);
    time_->setObjectName(QStringLiteral("ReplayTime"));
    time_->setAccessibleName(Text(texts::kReplayTime));
    close_ = new QPushButton(Text(texts::kCloseReplay), content);
    close_->setObjectName(QStringLiteral("ReplayClose"));
    row->addWidget(name_);
    row->addWidget(play_);
    row->addWidget(speed_);
    row->addWidget(slider_, 1);
    row->addWidget(time_);
    row->addWidget(close_);
    setWidget(content);

    connect(play_, &QPushButton::clicked, this, [this] { clock_.playing() ? Pause() : Play(); });
    connect(speed_, &QComboBox::activated, this, [this](int index) { SetSpeed(speed_->itemData(index).toInt()); });
    connect(slider_, &QSlider::valueChanged, this, [this](int value) {
        if (value != clock_.SliderValue()) SeekSlider(value);
    });
    connect(close_, &QPushButton::clicked, this, &ReplayPanel::Stop);
    frames_.setInterval(kFramePeriodMs);
    connect(&frames_, &QTimer::timeout, this, [this] {
        const std::int64_t elapsed = wall_.restart();
        Advance(elapsed);
    });
    hide();
}

ReplayPanel::~ReplayPanel() {
    if (dashboard_) dashboard_->SetReplaying(false);
}

void ReplayPanel::Start(std::unique_ptr<datalog::DataLogReader> log, std::vector<DataItem> items,
                        CDashboard* dashboard, const QString& name) {
    Stop();
    log_ = std::move(log);
    items_ = std::move(items);
    dashboard_ = dashboard;
    if (dashboard_) dashboard_->SetReplaying(true);
    clock_ = datalog::ReplayClock{};
    clock_.SetDuration(log_->durationMs());
    name_->setText(name);
    speed_->setCurrentIndex(0);
    shownRow_ = kNoRow;
    Q_EMIT started();
    ShowPosition(true);
    show();
}

void ReplayPanel::Stop() {
    frames_.stop();
    if (!log_) {
        hide();
        return;
    }
    log_.reset();
    clock_.Pause();
    if (dashboard_) {
        dashboard_->SetReplaying(false);
        // Back to what the link says: its next value shows again.
        dashboard_->SetConnected(0);
    } else if (view_.graph().SetCrosshair(-1.0f, -1.0f)) {
        view_.Redraw();
    }
    hide();
    Q_EMIT stopped();
}

void ReplayPanel::closeEvent(QCloseEvent* event) {
    Stop();
    QDockWidget::closeEvent(event);
}

void ReplayPanel::Play() {
    if (!log_) return;
    clock_.Play();
    wall_.start();
    if (clock_.playing()) frames_.start();
    ShowPosition(false);
}

void ReplayPanel::Pause() {
    clock_.Pause();
    frames_.stop();
    ShowControls();
}

void ReplayPanel::SetSpeed(int factor) {
    clock_.SetSpeed(factor);
    ShowControls();
}

void ReplayPanel::Advance(std::int64_t wallMs) {
    if (!log_) return;
    clock_.Advance(wallMs);
    if (!clock_.playing()) frames_.stop();
    ShowPosition(false);
}

void ReplayPanel::SeekSlider(int value) {
    if (!log_) return;
    clock_.SeekSlider(value);
    ShowPosition(false);
}

void ReplayPanel::SeekTime(std::int64_t ms) {
    if (!log_) return;
    clock_.Seek(ms);
    ShowPosition(false);
}

void ReplayPanel::ShowPosition(bool force) {
    if (log_ && log_->rowCount() > 0) {
        const std::size_t row = log_->RowAtTime(clock_.position());
        if (force || row != shownRow_) ShowRow(row);
    }
    ShowControls();
}

void ReplayPanel::ShowRow(std::size_t row) {
    datalog::LogRow cells;
    if (!log_->ReadRow(row, cells)) return;
    shownRow_ = row;
    const datalog::ReplayFrame frame = datalog::FrameOfRow(log_->layout(), items_, cells);
    if (!dashboard_) {
        const float x = frame.linkLost ? -1.0f : frame.crosshairX.value_or(-1000.0f);
        const float y = frame.linkLost ? -1.0f : frame.crosshairY.value_or(-1000.0f);
        if (view_.graph().SetCrosshair(x, y)) view_.RepaintCrosshair();
        return;
    }
    if (frame.linkLost) {
        dashboard_->OnLiveData(live_data::kLinkLostIndex, "", nullptr);
        return;
    }
    for (const auto& [index, text] : frame.texts) dashboard_->OnLiveData(index, text.c_str(), nullptr);
    if (frame.crosshairX) dashboard_->OnLiveData(live_data::kCrosshairXIndex, nullptr, &*frame.crosshairX);
    if (frame.crosshairY) dashboard_->OnLiveData(live_data::kCrosshairYIndex, nullptr, &*frame.crosshairY);
}

void ReplayPanel::ShowControls() {
    const QString action = Text(clock_.playing() ? texts::kPause : texts::kPlay);
    play_->setText(action);
    play_->setAccessibleName(action);
    play_->setEnabled(log_ != nullptr);
    const QSignalBlocker block(slider_);
    slider_->setValue(clock_.SliderValue());
    time_->setText(QString::fromStdString(datalog::ReplayTimeText(clock_.position(), clock_.duration())));
    if (log_) Q_EMIT positionChanged(clock_.position());
}

}  // namespace korvath::ui

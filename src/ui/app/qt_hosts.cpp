#include "ui/app/qt_hosts.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QThread>

#include "platform/message_style.h"

namespace korvath::ui {
namespace {

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

struct ButtonSet {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
    QMessageBox::StandardButton escapeButton;
};

ButtonSet ButtonsFor(unsigned style) {
    using B = QMessageBox;
    switch (style & MessageStyle::ButtonMask) {
        case MessageStyle::OkCancel: return {B::Ok | B::Cancel, B::Ok, B::Cancel};
        case MessageStyle::AbortRetryIgnore: return {B::Abort | B::Retry | B::Ignore, B::Abort, B::Ignore};
        case MessageStyle::YesNoCancel: return {B::Yes | B::No | B::Cancel, B::Yes, B::Cancel};
        case MessageStyle::YesNo: return {B::Yes | B::No, B::Yes, B::No};
        case MessageStyle::RetryCancel: return {B::Retry | B::Cancel, B::Retry, B::Cancel};
        default: return {B::Ok, B::Ok, B::Ok};
    }
}

QMessageBox::Icon IconFor(unsigned style) {
    switch (style & MessageStyle::IconMask) {
        case MessageStyle::IconError: return QMessageBox::Critical;
        case MessageStyle::IconQuestion: return QMessageBox::Question;
        case MessageStyle::IconExclamation: return QMessageBox::Warning;
        case MessageStyle::IconInformation: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

int ResultFor(int button) {
    switch (button) {
        case QMessageBox::Ok: return MessageResult::Ok;
        case QMessageBox::Cancel: return MessageResult::Cancel;
        case QMessageBox::Abort: return MessageResult::Abort;
        case QMessageBox::Retry: return MessageResult::Retry;
        case QMessageBox::Ignore: return MessageResult::Ignore;
        case QMessageBox::Yes: return MessageResult::Yes;
        case QMessageBox::No: return MessageResult::No;
        default: return MessageResult::Cancel;
    }
}

// Room a title bar takes beside its text: the window's icon and its buttons.
constexpr int kTitleBarAllowance = 120;

// A box is as wide as its text, and a window manager elides a title wider than the window
// ("Communication Setup Successful!" over "Found controller on COM9."): the box is made wide
// enough for its title in a bold face, as title bars often draw it.
void MakeRoomForTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleBarAllowance;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

}  // namespace

int ShowMessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned style) {
    const ButtonSet set = ButtonsFor(style);
    QMessageBox box(IconFor(style), caption, text, set.buttons, owner);
    MakeRoomForTitle(box);
    box.setDefaultButton(set.defaultButton);
    box.setEscapeButton(set.escapeButton);
    const int pressed = box.exec();
    return ResultFor(pressed);
}

int QtMessageHost::ShowMessage(std::string_view text, std::string_view caption, unsigned style) {
    return ShowMessageBox(owner_.data(), ToQString(text), ToQString(caption), style);
}

void QtStatusHost::Attach(QStatusBar* bar, QProgressBar* progress) {
    bar_ = bar;
    progress_ = progress;
}

void QtStatusHost::SetStatusText(std::string_view text) {
    if (!bar_) return;
    if (text.empty())
        bar_->clearMessage();
    else
        bar_->showMessage(ToQString(text));
    Pump();
}

void QtStatusHost::SetProgress(std::uint32_t done, std::uint32_t total) {
    if (!progress_) return;
    if (total == 0 || done >= total) {
        progress_->hide();
        progress_->reset();
    } else {
        // The bar counts in thousandths so that any total fits its int range.
        progress_->setRange(0, 1000);
        progress_->setValue(static_cast<int>(static_cast<std::uint64_t>(done) * 1000 / total));
        progress_->show();
    }
    Pump();
}

QString QtStatusHost::CurrentText() const { return bar_ ? bar_->currentMessage() : QString(); }

void QtStatusHost::Pump() {
    // A transfer runs inside a command handler: every window takes its window-system events
    // (exposure after a closed menu, resizing) and paints, but user input waits until the
    // transfer ends and the link's poller does not tick in the middle of it. At most every
    // 30 ms, so that a fast transfer is not slowed down by painting.
    if (lastPump_.isValid() && lastPump_.elapsed() < 30) return;
    lastPump_.restart();
    if (bar_ && bar_->isVisible()) bar_->repaint();
    if (linkTimer_) linkTimer_->Hold(true);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
    if (linkTimer_) linkTimer_->Hold(false);
}

QtTimerHost::QtTimerHost() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (tick_ && !held_) tick_();
    });
}

void QtTimerHost::StartTimer(unsigned periodMs, std::function<void()> tick) {
    tick_ = std::move(tick);
    timer_.start(static_cast<int>(periodMs));
}

void QtTimerHost::StopTimer() { timer_.stop(); }

void QtClockHost::SleepMs(unsigned ms) {
    // No events are dispatched while the link waits (see QtStatusHost::Pump).
    QThread::msleep(ms);
}

}  // namespace korvath::ui

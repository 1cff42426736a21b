#pragma once
// The core's host interfaces on Qt: message boxes, the status bar, the poll timer and the clock.

#include <QElapsedTimer>
#include <QPointer>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "platform/host.h"

namespace korvath::ui {

// Modal message boxes. The box runs a nested event loop, so timers (the link's poller) keep
// ticking under it. The owner is the main window once there is one.
class QtMessageHost final : public MessageHost {
public:
    void SetOwner(QWidget* owner) { owner_ = owner; }
    int ShowMessage(std::string_view text, std::string_view caption, unsigned style) override;

private:
    QPointer<QWidget> owner_;
};

// The message pane of the status bar and the progress of long operations. A long transfer runs
// on the user-interface thread; each status text or progress step lets the window paint (with
// user input held back until the transfer ends).
class QtStatusHost final : public StatusHost {
public:
    void Attach(QStatusBar* bar, QProgressBar* progress);
    void SetStatusText(std::string_view text) override;
    void SetProgress(std::uint32_t done, std::uint32_t total) override;
    // The text shown now ("" when the idle text shows).
    QString CurrentText() const;

private:
    void Pump();

    QPointer<QStatusBar> bar_;
    QPointer<QProgressBar> progress_;
    QElapsedTimer lastPump_;
};

class QtTimerHost final : public TimerHost {
public:
    QtTimerHost();
    void StartTimer(unsigned periodMs, std::function<void()> tick) override;
    void StopTimer() override;
    bool IsActive() const { return timer_.isActive(); }
    int Interval() const { return timer_.interval(); }

private:
    QTimer timer_;
    std::function<void()> tick_;
};

// Monotonic time; waiting blocks the user-interface thread as the link expects.
class QtClockHost final : public ClockHost {
public:
    QtClockHost() { clock_.start(); }
    std::uint64_t NowMs() override { return static_cast<std::uint64_t>(clock_.elapsed()); }
    void SleepMs(unsigned ms) override;

private:
    QElapsedTimer clock_;
};

// The Qt message-box parts of a classic style.
int ShowMessageBox(QWidget* owner, const QString& text, const QString& caption, unsigned style);

}  // namespace korvath::ui

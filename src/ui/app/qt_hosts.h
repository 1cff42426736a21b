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

class QtTimerHost;

// The message pane of the status bar and the progress of long operations. A long transfer runs
// on the user-interface thread; each status text or progress step lets every window paint (with
// user input held back until the transfer ends, and the link's poll ticks held off).
class QtStatusHost final : public StatusHost {
public:
    void Attach(QStatusBar* bar, QProgressBar* progress);
    // The link's poll timer, whose ticks must not run in the middle of a transfer.
    void SetLinkTimer(QtTimerHost* timer) { linkTimer_ = timer; }
    void SetStatusText(std::string_view text) override;
    void SetProgress(std::uint32_t done, std::uint32_t total) override;
    // The text shown now ("" when the idle text shows).
    QString CurrentText() const;

private:
    void Pump();

    QPointer<QStatusBar> bar_;
    QPointer<QProgressBar> progress_;
    QtTimerHost* linkTimer_ = nullptr;
    QElapsedTimer lastPump_;
};

class QtTimerHost final : public TimerHost {
public:
    QtTimerHost();
    void StartTimer(unsigned periodMs, std::function<void()> tick) override;
    void StopTimer() override;
    bool IsActive() const { return timer_.isActive(); }
    int Interval() const { return timer_.interval(); }
    // While held, ticks are dropped; the timer keeps its period and ticks again afterwards.
    void Hold(bool held) { held_ = held; }

private:
    QTimer timer_;
    std::function<void()> tick_;
    bool held_ = false;
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

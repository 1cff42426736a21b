#pragma once
// Start-up measurement: with KORVATH_STARTUP_PROBE set, the program writes one line to standard
// output when the main window has been painted for the first time ("first-paint-ms=<time since
// the process started> rss-kib=<resident memory>") and ends. The start-up benchmark runs the
// program this way.

#include <QObject>

class QWidget;

namespace korvath::ui {

class StartupProbe final : public QObject {
    Q_OBJECT
public:
    StartupProbe();
    bool enabled() const { return enabled_; }
    void Watch(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool enabled_ = false;
    bool reported_ = false;
};

// Resident memory of this process in KiB (VmRSS), 0 when unknown.
long ResidentKib();
// Milliseconds since this process started.
double MillisecondsSinceProcessStart();

}  // namespace korvath::ui

#pragma once
// A picture of the running program for the demo and for machines without a screen. With
// KORVATH_SCREENSHOT=FILE the program waits until the controller answers (at most
// KORVATH_SCREENSHOT_WAIT seconds, default 30), then, with KORVATH_DEMO_TRANSFER=1, reads the
// calibration from the controller and writes it back through the menu commands, waits until the
// dashboard shows live values and the crosshair stands on the curves, saves the main window as
// the PNG file FILE, prints "screenshot FILE" on standard output and ends: exit
// status 0 when the controller answered, 1 otherwise (the picture is written either way).
// Dialogs that open meanwhile are confirmed with their default button.

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

namespace korvath::ui {

class CQRNApp;

class DemoCapture final : public QObject {
    Q_OBJECT
public:
    explicit DemoCapture(CQRNApp& app);
    bool enabled() const { return !file_.isEmpty(); }
    // Starts watching once the main window is up.
    void Start();

private:
    void Tick();
    void ConfirmDialogs();
    void Capture(bool connected);

    enum class Stage { Waiting, Transferring, Transferred, Done };
    CQRNApp& app_;
    QString file_;
    int waitSeconds_ = 30;
    bool transfer_ = false;
    bool busy_ = false;
    Stage stage_ = Stage::Waiting;
    QTimer timer_;
    QElapsedTimer clock_;
};

}  // namespace korvath::ui

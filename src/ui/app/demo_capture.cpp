#include "ui/app/demo_capture.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <cstdio>

#include "ui/app/command_table.h"
#include "ui/app/controller_commands.h"
#include "ui/app/mainfrm.h"
#include "ui/app/qrn.h"
#include "ui/dashboard/dashboard.h"
#include "ui/dynui/dynamicstatic.h"
#include "ui/graph/qrnview.h"

namespace korvath::ui {
namespace {

// Time for the window to show the read calibration and the status texts before the picture.
constexpr int kSettleMs = 1500;

// The dashboard shows a value in every display and the crosshair stands on the curves.
bool LiveValuesShown(CMainFrame* frame) {
    const CDashboard* dashboard = frame ? frame->findChild<CDashboard*>() : nullptr;
    if (!dashboard || dashboard->displays().empty() || dashboard->state().connected() != 1) return false;
    for (const CDynamicStatic* display : dashboard->displays())
        if (display->text() == QLatin1String(dashboard::kNoValueText)) return false;
    const CGraphEngine& graph = frame->view()->graph();
    return graph.CrosshairX() != graph::kHidden && graph.CrosshairY() != graph::kHidden;
}

}  // namespace

DemoCapture::DemoCapture(CQRNApp& app) : app_(app) {
    file_ = qEnvironmentVariable("KORVATH_SCREENSHOT");
    bool ok = false;
    const int wait = qEnvironmentVariableIntValue("KORVATH_SCREENSHOT_WAIT", &ok);
    if (ok && wait > 0) waitSeconds_ = wait;
    transfer_ = qEnvironmentVariableIntValue("KORVATH_DEMO_TRANSFER") == 1;
    timer_.setInterval(200);
    connect(&timer_, &QTimer::timeout, this, &DemoCapture::Tick);
}

void DemoCapture::Start() {
    if (!enabled()) return;
    clock_.start();
    timer_.start();
}

void DemoCapture::ConfirmDialogs() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        std::fprintf(stderr, "demo: [%s] %s\n", qPrintable(box->windowTitle()), qPrintable(box->text()));
        QAbstractButton* button = box->defaultButton() ? box->defaultButton() : box->buttons().value(0);
        if (button) QTimer::singleShot(0, button, &QAbstractButton::click);
    } else if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        QTimer::singleShot(0, dialog, &QDialog::accept);
    }
}

void DemoCapture::Tick() {
    ConfirmDialogs();
    if (busy_ || stage_ == Stage::Done || stage_ == Stage::Transferring) return;
    busy_ = true;
    const bool connected = app_.controller().IsConnected();
    if (stage_ == Stage::Waiting && connected) {
        // The transfer runs outside this tick: a timer does not fire again while its own
        // handler runs, and the ticks must confirm the transfer's dialogs.
        stage_ = Stage::Transferring;
        QTimer::singleShot(0, this, [this] {
            if (transfer_ && app_.mainFrame()) {
                app_.mainFrame()->OnCommand(cmd::ReadCalibration);
                app_.mainFrame()->OnCommand(cmd::WriteCalibration);
            }
            stage_ = Stage::Transferred;
            clock_.restart();
        });
    } else if (stage_ == Stage::Transferred && clock_.elapsed() >= kSettleMs &&
               (LiveValuesShown(app_.mainFrame()) || clock_.elapsed() >= waitSeconds_ * 1000)) {
        // Taken once live values have arrived (or, without them, after the wait).
        Capture(true);
    } else if (stage_ == Stage::Waiting && clock_.elapsed() >= waitSeconds_ * 1000) {
        Capture(false);
    }
    busy_ = false;
}

void DemoCapture::Capture(bool connected) {
    stage_ = Stage::Done;
    timer_.stop();
    bool saved = false;
    if (CMainFrame* frame = app_.mainFrame()) saved = frame->grab().save(file_, "PNG");
    if (saved) std::printf("screenshot %s\n", qPrintable(file_));
    if (CMainFrame* frame = app_.mainFrame()) std::printf("window title: %s\n", qPrintable(frame->windowTitle()));
    if (!connected) std::fprintf(stderr, "demo: the controller did not answer\n");
    std::fflush(stdout);
    QCoreApplication::exit(connected && saved ? 0 : 1);
}

}  // namespace korvath::ui

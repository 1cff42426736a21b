#pragma once
// The program as it runs, inside a test: its own start-up boxes, port dialog and controller
// commands, a home folder of its own (the desktop launcher goes there), a program folder whose
// definitions are the demo ones, and the simulated controller behind the link.

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#include "document/qrndoc.h"
#include "engine/controller.h"
#include "support/recording_host.h"
#include "support/sim_transport.h"
#include "ui/app/mainfrm.h"
#include "ui/app/qrn.h"

#include "support/qt_test_app.h"

namespace korvath::testing {

inline const std::string kBinDir = KORVATH_BIN_DIR;

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) saved_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (saved_)
            setenv(name_, saved_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> saved_;
};

struct SeenWindow {
    QString kind;  // the class name
    QString title;
    QString text;  // a message box's text
    bool frameExisted = false;
};

// Handles the modal windows as they open, in order, and records each one. The handler decides
// what to do with the window; none: message boxes take their escape button, dialogs are
// rejected.
class ModalAnswerer {
public:
    using Handler = std::function<void(QWidget*, std::size_t index)>;
    explicit ModalAnswerer(std::function<bool()> frameExists = {}, Handler handler = {})
        : frameExists_(std::move(frameExists)), handler_(std::move(handler)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }
    std::vector<SeenWindow> seen;

    static void Escape(QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            QAbstractButton* button = box->escapeButton() ? box->escapeButton() : box->buttons().value(0);
            QTimer::singleShot(0, button, &QAbstractButton::click);
        } else if (auto* dialog = qobject_cast<QDialog*>(w)) {
            QTimer::singleShot(0, dialog, &QDialog::reject);
        }
    }
    static void Click(QWidget* w, QMessageBox::StandardButton which) {
        auto* box = qobject_cast<QMessageBox*>(w);
        if (QAbstractButton* b = box ? box->button(which) : nullptr) QTimer::singleShot(0, b, &QAbstractButton::click);
        else Escape(w);
    }

private:
    void Poll() {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible() || w == last_) return;
        last_ = w;
        SeenWindow s{QString::fromLatin1(w->metaObject()->className()), w->windowTitle(), {},
                     frameExists_ && frameExists_()};
        if (auto* box = qobject_cast<QMessageBox*>(w)) s.text = box->text();
        seen.push_back(s);
        if (handler_)
            handler_(w, seen.size() - 1);
        else
            Escape(w);
    }
    std::function<bool()> frameExists_;
    Handler handler_;
    QTimer timer_;
    // Cleared when the window goes, so a dialog made again at the same address counts as new.
    QPointer<QWidget> last_;
};

// A home folder (HOME and XDG_CONFIG_HOME, with a desktop folder), a program folder that holds
// the demo definitions (and receives RAMDump.txt), the settings file, and the simulated
// controller that the program's link reaches.
class ProgramEnv {
public:
    explicit ProgramEnv(bool portChosen = true)
        : homeEnv_("HOME", home.path()), configEnv_("XDG_CONFIG_HOME", home.path() + "/.config") {
        TestApp();
        std::filesystem::create_directories(home.File("Desktop"));
        std::filesystem::create_symlink(kBinDir + "/PID2", program.File("PID2"));
        if (portChosen)
            home.Write("korvath.INI",
                       "[Communication Settings]\nCOMPortNumber=9\n[AboutBox]\nShowAtStartup=0\n[StartBox]\n"
                       "ShowAtStartup=0\n");
        sim::ControllerConfig config;
        config.drive = false;
        controller = std::make_unique<sim::Controller>(config);
        static std::atomic<int> counter{0};
        options.programDirectory = program.path();
        options.settingsPath = home.File("korvath.INI");
        options.instanceKey = QStringLiteral("korvath-cmdtest-%1-%2").arg(::getpid()).arg(++counter);
        options.lockDirectory = QString::fromStdString(home.path());
        options.transport = [this](SettingsStore&, const std::string&) {
            auto t = std::make_unique<SimTransport>(*controller);
            link = t.get();
            return std::unique_ptr<ByteTransport>(std::move(t));
        };
    }

    TempDir home;
    TempDir program;
    std::unique_ptr<sim::Controller> controller;
    SimTransport* link = nullptr;
    ui::AppOptions options;

private:
    ScopedEnv homeEnv_;
    ScopedEnv configEnv_;
};

// Runs the event loop until `done` holds or about `ms` have passed; returns `done()`.
inline bool WaitFor(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

}  // namespace korvath::testing

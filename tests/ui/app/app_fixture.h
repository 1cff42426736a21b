#pragma once
// Running the program's shell inside a test: a QApplication on the offscreen platform, a home
// directory with a settings file, an instance key of its own, the demo calibration, and an
// answerer for the modal message boxes the program shows.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "calibration/calibration_file.h"
#include "document/qrndoc.h"
#include "support/recording_host.h"
#include "ui/app/controller_commands.h"
#include "ui/app/mainfrm.h"
#include "ui/app/qrn.h"
#include "ui/app/shell_windows.h"
#include "ui/graph/qrnview.h"

#include "support/qt_test_app.h"

namespace korvath::testing {

inline const std::string kBinDir = KORVATH_BIN_DIR;
inline const std::string kDemoDefinition = kBinDir + "/PID2/3/KV4.def";

// A calibration on the demo definition (two shift curves visible), saved as `path`.
inline bool WriteDemoCalibration(const std::string& path) {
    RecordingHost host;
    MemorySettings settings;
    CQRNDoc doc(DocumentHost{host, host, settings}, kBinDir);
    if (!doc.LoadDefinitionFile(kDemoDefinition)) return false;
    doc.ReadApplicationID();
    doc.ReadDeclarations(1);
    doc.calibration().application.DefinitionFileName = "KV4.def";
    return SaveCalibrationFile(doc, path);
}

// Shell windows that count what was asked of them.
class CountingShell : public ui::ShellWindows {
public:
    void ShowAboutBox(QWidget*) override { calls.push_back("about"); }
    void ShowStartBox(QWidget*) override { calls.push_back("start"); }
    void RunComPortDialog(QWidget*) override { calls.push_back("com"); }
    void RunSetupWizard(QWidget*, CQRNDoc&) override { calls.push_back("wizard"); }
    void BuildDashboard(QWidget*, CQRNDoc&) override { calls.push_back("build-dashboard"); }
    void TeardownDashboard(QWidget*) override { calls.push_back("teardown-dashboard"); }
    void ShowHelpTopics(QWidget*) override { calls.push_back("help-topics"); }
    int Count(const std::string& what) const {
        int n = 0;
        for (const auto& c : calls) n += c == what ? 1 : 0;
        return n;
    }
    std::vector<std::string> calls;
};

class FakeController : public ui::ControllerCommands {
public:
    bool IsConnected() override { return connected; }
    bool IsUsb() override { return usb; }
    void WriteCalibration() override { ++writes; }
    void ReadCalibration() override { ++reads; }
    void Suspend() override { ++suspends; }
    bool connected = false;
    bool usb = false;
    int writes = 0, reads = 0, suspends = 0;
};

struct SeenBox {
    QString caption;
    QString text;
    int width = 0;
};

// Answers the modal message boxes as they open, in order, with the given buttons, and records
// each box's caption and text. A box beyond the list is answered with its escape button.
class BoxAnswerer {
public:
    explicit BoxAnswerer(std::vector<QMessageBox::StandardButton> answers = {}) : answers_(std::move(answers)) {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }
    std::vector<SeenBox> seen;

private:
    void Poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible() || box == last_) return;
        last_ = box;
        seen.push_back({box->windowTitle(), box->text(), box->width()});
        const std::size_t index = seen.size() - 1;
        QAbstractButton* button = index < answers_.size() ? box->button(answers_[index]) : box->escapeButton();
        if (!button) button = box->buttons().value(0);
        // Clicked after this poll returns, from the box's own event loop.
        QTimer::singleShot(0, button, &QAbstractButton::click);
    }
    std::vector<QMessageBox::StandardButton> answers_;
    QTimer timer_;
    QMessageBox* last_ = nullptr;
};

// A home directory with a settings file in which a port has been chosen (so no first-run
// prompt), and the options to run the shell from it.
class ShellHome {
public:
    explicit ShellHome(bool portChosen = true) {
        TestApp();
        if (portChosen) home.Write("korvath.INI", "[Communication Settings]\nCOMPortNumber=1\n");
        static std::atomic<int> counter{0};
        options.programDirectory = kBinDir;
        options.settingsPath = home.File("korvath.INI");
        options.instanceKey = QStringLiteral("korvath-test-%1-%2").arg(::getpid()).arg(++counter);
        options.lockDirectory = QString::fromStdString(home.path());
        options.controller = &controller;
        options.shell = &shell;
        // No controller link: the stand-in commands above answer for it.
        options.transport = [](SettingsStore&, const std::string&) { return std::unique_ptr<ByteTransport>(); };
    }
    TempDir home;
    CountingShell shell;
    FakeController controller;
    ui::AppOptions options;
};

// The application with its file dialogs answered by `nextFileName`.
class TestShellApp : public ui::CQRNApp {
public:
    using ui::CQRNApp::CQRNApp;
    QString nextFileName;
    int fileDialogs = 0;

protected:
    QString PromptFileName(bool, const QString&) override {
        ++fileDialogs;
        return nextFileName;
    }
};

}  // namespace korvath::testing
